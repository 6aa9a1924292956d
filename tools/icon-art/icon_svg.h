#pragma once
// The program's icon as SVG text: a deep-blue glass tile with a pair of
// beamed notes and a small golden crescent (the lunar calendar beside the
// music). The text is deterministic, so a regenerated icon can be compared
// byte for byte with the committed one.

#include <QString>

namespace tavo::art {

enum class IconDetail {
    Full,   // the scalable icon and every size from 48 px up
    Small,  // 16 and 32 px: no gloss line or crescent, bolder shapes
};

QString IconSvg(IconDetail detail);

}  // namespace tavo::art
