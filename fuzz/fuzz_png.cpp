// Arbitrary bytes as a PNG file, painted over a background picture with
// alpha and transparency on (as the skin painter does) and with them off:
// no out-of-bounds access, no hang, and a painted picture always has the
// header's size.
#include "imaging/load_png.h"
#include "platform/message_box.h"
#include "platform/picture_box.h"

#include <QByteArrayView>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool init = [] {
        tavo::platform::SetMessages(std::make_unique<tavo::platform::ConsoleMessageBox>(nullptr));
        return true;
    }();
    (void)init;
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    for (int pass = 0; pass < 2; ++pass) {
        tavo::imaging::LoadPNG png;
        png.SetMaxPixels(1 << 20);  // keep single runs fast; the limit itself is tested
        tavo::platform::PictureBox box;
        tavo::platform::PictureBox background(16, 16);
        png.PicBox(&box);
        png.SetToBkgrnd(false, pass, pass);
        png.BackgroundPicture(pass == 0 ? &background : nullptr);
        png.SetAlpha(pass == 0);
        png.SetTrans(pass == 0);
        if (png.OpenPNGfromBytes(bytes) != 0) std::abort();
        const tavo::imaging::PixelSurface& picture = box.Picture();
        if (!picture.IsNull() && (picture.Width() < png.Width() || picture.Height() < png.Height())) std::abort();
        (void)png.Text();
        (void)png.zText();
    }
    return 0;
}
