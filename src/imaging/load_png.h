#pragma once
// LoadPNG: the program's own PNG decoder. A holder keeps one instance, points
// it at a picture box (PicBox) and a background picture, and calls OpenPNG
// for each image; the decoder reads the file, decodes it with its own
// inflate, and paints the result into the picture box through CBitmap.
//
// Calling order used by the skin painter: PicBox, SetToBkgrnd(false, 0, 0),
// BackgroundPicture, SetAlpha(true), SetTrans(true), then OpenPNG per image.
// Switches and references persist between calls.
//
// ErrorNumber (set only on failure; a successful open leaves it as it was):
//   1  not a PNG: the first 8 bytes are not the signature (also a file that
//      cannot be opened)
//   3  a chunk's data runs past the end of the file, or its length is 2^31
//      or more (also a file without IEND)
//   4  IEND reached without any IDAT data
//   5  image too large: width or height not positive, or more pixels than
//      MaxPixels (64 Mi by default) -- refused before anything is allocated
// A decompression failure shows its message (see inflate.h) and paints
// nothing. An unsupported colour type or bit depth, a compression method
// other than 0 or an interlace method other than 0 and 1 paints nothing and
// reports nothing.

#include "imaging/inflate.h"
#include "platform/picture_box.h"

#include <QByteArrayView>
#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

namespace tavo::imaging {

class LoadPNG {
public:
    static constexpr int32_t kErrorNotPng = 1;
    static constexpr int32_t kErrorChunkPastEnd = 3;
    static constexpr int32_t kErrorNoImageData = 4;
    static constexpr int32_t kErrorTooLarge = 5;
    static constexpr int64_t kDefaultMaxPixels = int64_t{64} * 1024 * 1024;

    // Read, decode and paint a PNG file; the outcome is in ErrorNumber.
    // Always returns 0.
    int32_t OpenPNG(const QString& filename);
    // The same for a PNG held as a program resource: Qt resource
    // ":/<ResTyp>/<Id>".
    int32_t OpenPNGfromRes(const QString& Id, const QString& ResTyp);
    // The same for PNG bytes already in memory.
    int32_t OpenPNGfromBytes(QByteArrayView bytes);

    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }
    int32_t Bitdepht() const { return bitDepth_; }
    int32_t ColorType() const { return colorType_; }
    int32_t Compression() const { return compression_; }
    int32_t Filter() const { return filter_; }
    int32_t Interlacing() const { return interlacing_; }
    int32_t ErrorNumber() const { return errorNumber_; }
    bool HaveAlpha() const { return haveAlpha_; }
    bool HaveTransparence() const { return haveTransparence_; }
    bool HasBKGDChunk() const { return hasBkgd_; }
    int32_t BkgdColor() const { return bkgdColor_; }
    const QString& Text() const { return text_; }
    const QString& zText() const { return zText_; }
    const QString& ModiTime() const { return modiTime_; }
    double gama() const { return gamma_ / 100000.0; }

    void SetTrans(bool on) { transOn_ = on; }
    void SetAlpha(bool on) { alphaOn_ = on; }
    void BackgroundPicture(platform::PictureBox* picture) { background_ = picture; }
    void PicBox(platform::PictureBox* box) { picBox_ = box; }
    void SetOwnBkgndColor(bool OwnBkgndOn, int32_t BackColor = 0) {
        ownBkgndOn_ = OwnBkgndOn;
        ownBkgndColor_ = BackColor;
    }
    void SetToBkgrnd(bool SetToBG, int32_t x = 0, int32_t y = 0) {
        setToBkgrnd_ = SetToBG;
        x_ = x;
        y_ = y;
    }

    // The pixel limit behind error 5.
    void SetMaxPixels(int64_t pixels) { maxPixels_ = pixels; }
    int64_t MaxPixels() const { return maxPixels_; }

    // Gives back the buffers kept between images (the compressed stream and
    // the inflated rows): called once a run of images is done.
    void ReleaseBuffers();

private:
    void ReadChunks(const uint8_t* file, size_t size);
    void ComputeBkgdColor();
    void AppendZText(const uint8_t* data, size_t len);
    void Decode();

    std::vector<uint8_t> stream_;   // concatenated IDAT data
    std::vector<uint8_t> palette_;  // PLTE as stored
    Inflater inflater_;
    int32_t outputBits_ = 0;
    int32_t width_ = 0, height_ = 0;
    int32_t bitDepth_ = 0, colorType_ = 0, compression_ = 0, filter_ = 0, interlacing_ = 0;
    int32_t errorNumber_ = 0;
    bool alphaOn_ = false;
    bool haveAlpha_ = false;
    std::vector<uint8_t> trns_;
    bool haveTransparence_ = false;
    bool transOn_ = false;
    int32_t paletteEntryCount_ = 0;
    std::vector<uint8_t> bkgd_;
    bool hasBkgd_ = false;
    int32_t bkgdColor_ = 0;
    QString text_;
    QString modiTime_;
    QString zText_;
    int32_t gamma_ = 0;
    int32_t x_ = 0, y_ = 0;
    platform::PictureBox* background_ = nullptr;
    bool ownBkgndOn_ = false;
    int32_t ownBkgndColor_ = 0;
    platform::PictureBox* picBox_ = nullptr;
    bool setToBkgrnd_ = false;
    int64_t maxPixels_ = kDefaultMaxPixels;
    static constexpr size_t kKeptScratch = size_t{16} << 20;
    std::unique_ptr<uint8_t[]> scratch_;
    size_t scratchSize_ = 0;
};

}  // namespace tavo::imaging
