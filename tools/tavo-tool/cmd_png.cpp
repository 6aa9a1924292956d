// png: the decoder's painted result, or what it read from a file.
//   tavo-tool png FILE [--background R,G,B] [--no-alpha] [--no-trans] > out.ppm
//   tavo-tool png --info FILE
// The picture is what the skin painter gets: SetAlpha and SetTrans on
// (unless switched off), blended over a background picture of the given
// colour, or without one over the bKGD colour or black. It is written as a
// binary PPM (P6, 8 bits a channel).
#include "command.h"
#include "json.h"

#include "imaging/load_png.h"
#include "platform/message_box.h"
#include "platform/picture_box.h"

#include <cstdio>
#include <memory>
#include <span>
#include <vector>

namespace tavo::tool {
namespace {

constexpr const char* kUsage = "png FILE [--background R,G,B] [--no-alpha] [--no-trans] | png --info FILE";

int Info(imaging::LoadPNG& png, const QString& file) {
    platform::PictureBox box;
    png.PicBox(&box);
    png.SetAlpha(true);
    png.SetTrans(true);
    png.OpenPNG(file);
    JsonObject o;
    o.add("Width", png.Width())
        .add("Height", png.Height())
        .add("Bitdepht", png.Bitdepht())
        .add("ColorType", png.ColorType())
        .add("Compression", png.Compression())
        .add("Filter", png.Filter())
        .add("Interlacing", png.Interlacing())
        .add("ErrorNumber", png.ErrorNumber())
        .addBool("HaveAlpha", png.HaveAlpha())
        .addBool("HaveTransparence", png.HaveTransparence())
        .addBool("HasBKGDChunk", png.HasBKGDChunk())
        .add("BkgdColor", png.BkgdColor())
        .add("Text", png.Text())
        .add("zText", png.zText())
        .add("ModiTime", png.ModiTime())
        .add("gama", png.gama());
    PrintLine(o.str());
    return 0;
}

int Run(const QStringList& args) {
    platform::SetMessages(std::make_unique<platform::ConsoleMessageBox>());
    imaging::LoadPNG png;
    if (args.size() == 2 && args[0] == QLatin1String("--info")) return Info(png, args[1]);

    QString file;
    bool alpha = true, trans = true, haveBackground = false;
    imaging::Argb background = 0;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--no-alpha")) {
            alpha = false;
        } else if (a == QLatin1String("--no-trans")) {
            trans = false;
        } else if (a == QLatin1String("--background") && i + 1 < args.size()) {
            const QStringList parts = args[++i].split(QLatin1Char(','));
            int c[3];
            bool ok = parts.size() == 3;
            for (int k = 0; ok && k < 3; ++k) {
                c[k] = parts[k].trimmed().toInt(&ok);
                ok = ok && c[k] >= 0 && c[k] <= 255;
            }
            if (!ok) return UsageError(kUsage);
            background = imaging::Rgb(c[0], c[1], c[2]);
            haveBackground = true;
        } else if (!a.startsWith(QLatin1String("--")) && file.isEmpty()) {
            file = a;
        } else {
            return UsageError(kUsage);
        }
    }
    if (file.isEmpty()) return UsageError(kUsage);

    platform::PictureBox box;
    platform::PictureBox backgroundBox(1, 1);
    backgroundBox.SetBackColor(background);
    backgroundBox.Cls();
    png.PicBox(&box);
    png.SetToBkgrnd(false, 0, 0);
    png.BackgroundPicture(haveBackground ? &backgroundBox : nullptr);
    png.SetAlpha(alpha);
    png.SetTrans(trans);
    png.OpenPNG(file);
    const imaging::PixelSurface picture = box.Picture();
    if (picture.IsNull())
        return Fail(QStringLiteral("nothing painted (ErrorNumber %1)").arg(png.ErrorNumber()));
    const QByteArray header = QStringLiteral("P6\n%1 %2\n255\n").arg(picture.Width()).arg(picture.Height()).toLatin1();
    std::fwrite(header.constData(), 1, static_cast<size_t>(header.size()), stdout);
    std::vector<uint8_t> rgb(static_cast<size_t>(picture.Width()) * 3);
    for (int y = 0; y < picture.Height(); ++y) {
        const std::span<const imaging::Argb> line = picture.Row(y);
        for (size_t x = 0; x < line.size(); ++x) {
            rgb[3 * x] = static_cast<uint8_t>(imaging::Red(line[x]));
            rgb[3 * x + 1] = static_cast<uint8_t>(imaging::Green(line[x]));
            rgb[3 * x + 2] = static_cast<uint8_t>(imaging::Blue(line[x]));
        }
        std::fwrite(rgb.data(), 1, rgb.size(), stdout);
    }
    std::fflush(stdout);
    return 0;
}

const Registration reg{"png", kUsage, "decode a PNG as the skin painter does (PPM out), or --info", &Run};

}  // namespace
}  // namespace tavo::tool
