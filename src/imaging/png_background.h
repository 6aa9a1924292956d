#pragma once
// The colour a PNG's bKGD chunk names, as 0x00BBGGRR.

#include <cstdint>
#include <vector>

namespace tavo::imaging {

// `bkgd` is the chunk's data, `palette` the PLTE chunk's. A chunk of the
// wrong size for the colour type, or naming a level or index out of range,
// gives 0 (black).
int32_t BkgdChunkColor(const std::vector<uint8_t>& bkgd, int colorType, int depth, const std::vector<uint8_t>& palette);

}  // namespace tavo::imaging
