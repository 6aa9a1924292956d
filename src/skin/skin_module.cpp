#include "skin/skin_module.h"

#include "imaging/core/surface_image.h"
#include "platform/ansi_text.h"
#include "platform/bounded_file.h"
#include "platform/message_box.h"
#include "platform/picture_box.h"
#include "platform/program_folder.h"
#include "skin/skin_colour.h"
#include "sources/get_song_list.h"
#include "sources/services.h"

#include <QBuffer>
#include <QImageReader>
#include <QPainter>

#include <memory>
#include <system_error>

namespace fs = std::filesystem;

namespace tavo::SkinModule {

namespace {

constexpr int kMaxPictureSide = 4096;
constexpr int64_t kMaxPicturePixels = int64_t{kMaxPictureSide} * kMaxPictureSide;
constexpr std::uintmax_t kMaxPictureFileBytes = 64u << 20;

bool IsFolder(const fs::path& p) {
    std::error_code ec;
    return fs::is_directory(p, ec);
}

bool IsFile(const fs::path& p) {
    std::error_code ec;
    return fs::is_regular_file(p, ec);
}

bool LooksLikePng(const QByteArray& bytes) { return bytes.startsWith("\x89PNG\r\n\x1a\n"); }

QImage DecodePng(const QByteArray& bytes, int32_t backColour) {
    imaging::LoadPNG& png = Decoder();
    platform::PictureBox box(1, 1);
    const int64_t keptLimit = png.MaxPixels();
    png.SetMaxPixels(kMaxPicturePixels);
    png.PicBox(&box);
    png.BackgroundPicture(nullptr);
    png.SetToBkgrnd(false, 0, 0);
    png.SetOwnBkgndColor(true, backColour);
    png.SetAlpha(true);
    png.SetTrans(true);
    box.SetPicture({});
    png.OpenPNGfromBytes(bytes);
    png.SetMaxPixels(keptLimit);
    png.SetOwnBkgndColor(false, 0);
    // The decoder makes what it painted the box's picture; nothing there
    // means it could not decode the file.
    if (box.Picture().IsNull()) return {};
    return imaging::ToQImage(box.Image());
}

QImage DecodeOther(const QByteArray& bytes, int32_t backColour) {
    QByteArray data = bytes;
    QBuffer buffer(&data);
    QImageReader reader(&buffer);
    const QSize size = reader.size();
    if (!size.isValid() || size.width() > kMaxPictureSide || size.height() > kMaxPictureSide) return {};
    QImage read;
    if (!reader.read(&read)) return {};
    QImage out(read.size(), QImage::Format_RGB32);
    out.fill(ToQColor(backColour));
    QPainter p(&out);
    p.drawImage(0, 0, read);
    return out;
}

}  // namespace

int ScaleForDevicePixelRatio(double dpr) { return dpr > 1.5 ? 2 : 1; }

imaging::LoadPNG& Decoder() {
    static std::unique_ptr<imaging::LoadPNG> decoder;
    if (!decoder) decoder = std::make_unique<imaging::LoadPNG>();
    return *decoder;
}

void SetDefaultSkinColours() { SetDefaultColours(Colours); }

bool IsSafeSkinName(const QString& name) {
    return !name.isEmpty() && !name.contains(u'/') && !name.contains(u'\\') && !name.contains(QLatin1String("..")) &&
           !name.contains(QChar(u'\0'));
}

fs::path SkinRoot() { return platform::InProgramFolder("skin"); }

fs::path SkinFolder(const QString& name) { return SkinRoot() / platform::QStringToPath(name); }

fs::path PicturePath(const fs::path& skinFolder, const QString& value) {
    if (value.isEmpty()) return {};
    if (value.startsWith(u'/')) return platform::QStringToPath(value);
    if (value.size() >= 2 && value.at(1) == u':') return {};  // a drive of another system
    QString relative = value;
    relative.replace(u'\\', u'/');
    return skinFolder / platform::QStringToPath(relative);
}

fs::path DoubledPath(const fs::path& file) {
    fs::path out = file;
    out.replace_filename(file.stem().native() + "@2x" + file.extension().native());
    return out;
}

fs::path ImageForScale(const fs::path& file, int scale, int* usedScale) {
    if (scale == 2) {
        const fs::path doubled = DoubledPath(file);
        if (IsFile(doubled)) {
            if (usedScale) *usedScale = 2;
            return doubled;
        }
    }
    if (usedScale) *usedScale = 1;
    return file;
}

QImage ReadPicture(const fs::path& file, int32_t backColour) {
    if (file.empty() || !IsFile(file)) return {};
    // A picture file has a size; device-like files (which may never end)
    // and huge files are not pictures.
    std::error_code ec;
    const auto bytesOnDisk = fs::file_size(file, ec);
    if (ec || bytesOnDisk == 0 || bytesOnDisk > kMaxPictureFileBytes) return {};
    const std::optional<QByteArray> bytes = platform::ReadFileBytes(file);
    if (!bytes || bytes->isEmpty()) return {};
    return LooksLikePng(*bytes) ? DecodePng(*bytes, backColour) : DecodeOther(*bytes, backColour);
}

void LoadSkin(const QString& skinName) {
    // The skin in use has lost its folder: say so, and make it again
    // (inside the skin folder only).
    if (!IsSafeSkinName(CurrentSkin)) CurrentSkin = kDefaultSkin;
    const fs::path current = SkinFolder(CurrentSkin);
    if (!IsFolder(current)) {
        platform::Messages().Show(QStringLiteral("缺少必须的皮肤文件，会影响使用效果，请到 ") + Services().makerSite +
                                      QStringLiteral("下载重新安装。"),
                                  QStringLiteral("缺少皮肤"), platform::MsgButtons::Ok, platform::MsgIcon::Exclamation);
        MakePath(platform::PathToQString(current) + QLatin1Char('/'));
    }

    // The requested skin must exist.
    if (!IsSafeSkinName(skinName)) return;
    const fs::path folder = SkinFolder(skinName);
    if (!IsFolder(folder)) return;

    // From here on the picture belongs to this skin.
    Image1 = QImage();
    const platform::BoundedRead ini = platform::ReadFileUpTo(folder / "skin.ini", kMaxSkinIniBytes);
    if (ini.error == platform::BoundedReadError::TooLarge)
        platform::Messages().Show(QStringLiteral("皮肤“%1”的 skin.ini 过大（超过 256 KB），未读取，使用默认颜色。").arg(skinName),
                                  QStringLiteral("皮肤文件过大"), platform::MsgButtons::Ok, platform::MsgIcon::Exclamation);
    for (const char* face : {"A.png", "B.png", "C.png"}) {
        std::error_code ec;
        const auto bytes = fs::file_size(folder / face, ec);
        if (!ec && bytes > static_cast<std::uintmax_t>(kMaxFaceFileBytes))
            platform::Messages().Show(QStringLiteral("皮肤“%1”的按钮图片 %2 过大（超过 8 MB），未读取。").arg(skinName, QLatin1String(face)),
                                      QStringLiteral("皮肤文件过大"), platform::MsgButtons::Ok, platform::MsgIcon::Exclamation);
    }
    if (ini.error != platform::BoundedReadError::None) {
        SetDefaultSkinColours();
        return;
    }
    const std::optional<QStringList> lines = platform::DecodeTextLines(ini.bytes);

    // The lines, then the last picture that can be read.
    QStringList pictures;
    ReadSkinLines(*lines, Colours, pictures);
    for (qsizetype i = pictures.size() - 1; i >= 0; --i) {
        const fs::path file = PicturePath(folder, pictures.at(i));
        if (file.empty() || !IsFile(file)) continue;
        int used = 1;
        QImage picture = ReadPicture(ImageForScale(file, Scale, &used), BackgroundColor);
        if (picture.isNull() && used == 2) picture = ReadPicture(file, BackgroundColor), used = 1;
        if (picture.isNull()) continue;
        picture.setDevicePixelRatio(used);
        Image1 = picture;
        break;
    }
}

}  // namespace tavo::SkinModule
