#include "skin/skin_painter.h"

#include "imaging/core/surface_image.h"
#include "platform/ansi_text.h"
#include "platform/bounded_file.h"
#include "platform/picture_box.h"
#include "skin/skin_blend.h"
#include "skin/skin_colour.h"
#include "skin/skin_module.h"

#include <QtEndian>

#include <algorithm>

namespace fs = std::filesystem;

namespace tavo {

namespace {

constexpr const char* kFaceFiles[3] = {"A.png", "B.png", "C.png"};

QRect Scaled(const QRect& r, int scale) { return QRect(r.x() * scale, r.y() * scale, r.width() * scale, r.height() * scale); }

QImage WithRatio(QImage image, int scale) {
    image.setDevicePixelRatio(scale);
    return image;
}

// The part of `image` under `r` (pixels), black where `r` leaves the image.
QImage Cut(const QImage& image, const QRect& r) {
    if (r.isEmpty()) return {};
    QImage out = image.copy(r);
    out.setDevicePixelRatio(1);
    return out.format() == QImage::Format_RGB32 ? out : out.convertToFormat(QImage::Format_RGB32);
}

// The same as Cut for a part inside an RGB32 image, without a copy: the
// part reads the image's own pixels and keeps them alive. Changing either
// afterwards copies it first, as with any shared picture.
QImage SharedCut(const QImage& image, const QRect& r) {
    if (r.isEmpty() || image.format() != QImage::Format_RGB32 || !image.rect().contains(r)) return Cut(image, r);
    auto* keep = new QImage(image);
    const uchar* first = keep->constScanLine(r.y()) + r.x() * 4;
    return QImage(
        first, r.width(), r.height(), keep->bytesPerLine(), QImage::Format_RGB32,
        [](void* held) { delete static_cast<QImage*>(held); }, keep);
}

// A face image file read once: its bytes and its size from the header.
struct FaceFile {
    QByteArray bytes;
    QSize size;     // invalid when the header cannot be read
    bool failed = false;  // decoding painted nothing: not tried again
};

FaceFile ReadFaceFile(const fs::path& file) {
    FaceFile f;
    f.bytes = platform::ReadFileUpTo(file, SkinModule::kMaxFaceFileBytes).bytes;
    if (f.bytes.isEmpty()) {
        f.failed = true;
        return f;
    }
    // Signature, then the IHDR chunk: length, type, width, height.
    if (f.bytes.size() >= 24 && f.bytes.mid(12, 4) == "IHDR") {
        const auto* p = reinterpret_cast<const uchar*>(f.bytes.constData());
        const quint32 w = qFromBigEndian<quint32>(p + 16), h = qFromBigEndian<quint32>(p + 20);
        if (w > 0 && h > 0 && w <= 4096 && h <= 4096) f.size = QSize(static_cast<int>(w), static_cast<int>(h));
    }
    return f;
}

// One face: `file` blended over `under` (the background under the button)
// by the decoder through its drawing surface `box`. The image is blended
// at its own size (the background brought to that size first) and the
// result brought back to the button's size.
QImage Face(imaging::LoadPNG& decoder, platform::PictureBox& box, FaceFile& file, const QImage& under) {
    if (file.failed || under.isNull()) return under;
    const QImage in = file.size.isValid() ? Stretched(under, file.size) : under;
    const int tpx = platform::TwipsPerPixelX(), tpy = platform::TwipsPerPixelY();
    box.SetWidth(in.width() * tpx);
    box.SetHeight(in.height() * tpy);
    box.SetPicture({});
    // The face covers the whole box: no clearing first.
    box.DrawImage(QRect(QPoint(0, 0), in.size()), imaging::FromQImage(in));
    decoder.OpenPNGfromBytes(file.bytes);
    if (box.Picture().IsNull()) {  // nothing painted
        file.failed = true;
        return under;
    }
    return Stretched(imaging::ToQImage(box.Image()), under.size());
}

}  // namespace

std::array<FrameBand, 10> FrameBands(const QSize& s) {
    const int W = s.width(), H = s.height();
    return {{
        {QRect(0, 0, W, 1), 150},
        {QRect(0, 2, W, 28), 70},
        {QRect(0, 0, 1, H), 150},
        {QRect(W - 2, 0, 2, H), 150},
        {QRect(1, H - 22, W - 2, 22), 80},
        {QRect(0, H - 1, W, 1), 120},
        {QRect(0, 0, 4, 2), 150},
        {QRect(0, 2, 2, 2), 150},
        {QRect(W - 5, 0, 4, 2), 150},
        {QRect(W - 3, 2, 2, 2), 150},
    }};
}

std::vector<ControlColour> ControlColours(const SkinColours& c) {
    using R = ColourRole;
    std::vector<ControlColour> t = {
        {QStringLiteral("Label2"), R::Text, c.TitleTextColor},
        {QStringLiteral("Label3"), R::Text, c.TitleTextColor},
    };
    for (int i : {4, 5, 6, 13, 14, 15}) t.push_back({QStringLiteral("PageA%1").arg(i), R::Text, c.DropButtonTextColor});
    t.push_back({QStringLiteral("Label6"), R::Text, c.TitleTextColor});
    t.push_back({QStringLiteral("Label1"), R::Text, c.TitleTextColor});
    for (int i : {7, 8, 9}) t.push_back({QStringLiteral("PageA%1").arg(i), R::Text, c.TitleTextColor});
    // The paging buttons go with the page number between them, the month
    // buttons with the calendar's header.
    for (int i : {0, 1, 2, 3}) t.push_back({QStringLiteral("PageA%1").arg(i), R::Text, c.PageNumberColor});
    for (int i : {10, 11, 12}) t.push_back({QStringLiteral("PageA%1").arg(i), R::Text, c.CalendarWeekColor});
    for (const char* combo : {"Combo1", "Combo2", "PHcombo"}) {
        t.push_back({QString::fromLatin1(combo), R::Back, c.DropBackColor});
        t.push_back({QString::fromLatin1(combo), R::Text, c.DropTextColor});
    }
    t.push_back({QStringLiteral("LoadLabel"), R::Text, c.SongListTextColor});
    t.push_back({QStringLiteral("Shape4"), R::Border, c.PlayStateBackColor});
    t.push_back({QStringLiteral("subsocl"), R::Back, c.PlayStateProgressColor});
    t.push_back({QStringLiteral("Shape5"), R::Border, c.VolumeBackColor});
    t.push_back({QStringLiteral("Yl"), R::Back, c.VolumeColor});
    for (const char* label : {"NLlabel", "YMlabel", "Label7"}) t.push_back({QString::fromLatin1(label), R::Text, c.CalendarWeekColor});
    t.push_back({QStringLiteral("Label4"), R::Text, c.PageNumberColor});
    t.push_back({QStringLiteral("socl"), R::Text, c.CalendarTextColor});
    t.push_back({QStringLiteral("Label5"), R::Text, c.CalendarWeekColor});
    t.push_back({QStringLiteral("Picture1"), R::Text, c.SongListTextColor});
    return t;
}

QColor SymbolColourOn(const QImage& face) {
    if (face.isNull()) return QColor(250, 252, 255);
    // Mean luminance of the middle half, where the symbol sits.
    const QRect mid(face.width() / 4, face.height() / 4, std::max(1, face.width() / 2), std::max(1, face.height() / 2));
    long long sum = 0, n = 0;
    for (int y = mid.top(); y <= mid.bottom() && y < face.height(); ++y)
        for (int x = mid.left(); x <= mid.right() && x < face.width(); ++x) {
            const QRgb p = face.pixel(x, y);
            sum += 299 * qRed(p) + 587 * qGreen(p) + 114 * qBlue(p);
            ++n;
        }
    const double lum = n ? sum / (1000.0 * n) : 0;
    return lum > 150 ? QColor(36, 48, 66) : QColor(250, 252, 255);
}

QImage PictureUnder(const SkinPictures& pictures, const QRect& r) {
    if (pictures.window.isNull()) return {};
    return WithRatio(Cut(pictures.window, Scaled(r, pictures.scale)), pictures.scale);
}

SkinPictures PaintSkin(const SkinColours& c, const QImage& background, const fs::path& skinFolder,
                       const SkinLayout& layout, int scale, imaging::LoadPNG& decoder) {
    SkinPictures out;
    scale = scale == 2 ? 2 : 1;
    out.scale = scale;
    const QSize windowPx = layout.window * scale;
    if (windowPx.isEmpty()) return out;

    // Colours.
    out.colours = ControlColours(c);

    // Window background.
    QImage window = background.isNull() ? QImage() : Stretched(background, windowPx);
    if (window.isNull()) {
        window = QImage(windowPx, QImage::Format_RGB32);
        window.fill(ToQColor(c.BackgroundColor));
    }

    // List background and its ten rows.
    out.list = WithRatio(Cut(window, Scaled(layout.list, scale)), scale);
    for (int i = 0; i < kListRows; ++i) {
        const QRect row(0, i * layout.rowHeight, layout.list.width(), layout.rowHeight);
        out.rows[static_cast<size_t>(i)] = WithRatio(SharedCut(out.list, Scaled(row, scale)), scale);
    }

    // Frame colour and the page buttons' edges.
    const QRgb frame = ToQColor(c.HeadTailBorderColor).rgb();
    out.pageABorder = c.FloatBorderColor;

    // Frame bands, then the lyrics window.
    for (const FrameBand& band : FrameBands(layout.window)) BlendColour(window, Scaled(band.rect, scale), frame, band.opacity);
    if (!layout.lyrics.isEmpty()) {
        if (background.isNull()) {
            out.lyrics = QImage(layout.lyrics * scale, QImage::Format_RGB32);
            out.lyrics.fill(ToQColor(c.BackgroundColor));
        } else {
            out.lyrics = Stretched(background, layout.lyrics * scale);
        }
        out.lyrics.setDevicePixelRatio(scale);
    }
    out.lyricsFrame = QColor::fromRgb(window.pixel(0, std::min(40 * scale, window.height() - 1)));
    out.lyricsText = ToQColor(c.LyricsTextColor);

    // Page buttons: the window under each.
    for (int i = 0; i < kPageButtons; ++i) {
        const QRect& r = layout.pageA[static_cast<size_t>(i)];
        if (!r.isEmpty()) out.pageA[static_cast<size_t>(i)] = WithRatio(Cut(window, Scaled(r, scale)), scale);
    }

    // The decoder blends over whatever its drawing surface holds.
    platform::PictureBox box(1, 1);
    decoder.PicBox(&box);
    decoder.SetToBkgrnd(false, 0, 0);
    decoder.BackgroundPicture(&box);
    decoder.SetAlpha(true);
    decoder.SetTrans(true);
    const int64_t keptLimit = decoder.MaxPixels();
    decoder.SetMaxPixels(int64_t{4096} * 4096);

    // Playback buttons.
    std::array<FaceFile, 3> files;
    for (size_t k = 0; k < 3; ++k)
        files[k] = ReadFaceFile(SkinModule::ImageForScale(skinFolder / kFaceFiles[k], scale, nullptr));
    for (int i = 0; i < kPlayButtons; ++i) {
        const QRect& r = layout.playS[static_cast<size_t>(i)];
        if (r.isEmpty()) continue;
        const QImage under = Cut(window, Scaled(r, scale));
        ButtonFaces& f = out.playS[static_cast<size_t>(i)];
        f.normal = WithRatio(Face(decoder, box, files[0], under), scale);
        f.hot = WithRatio(Face(decoder, box, files[1], under), scale);
        f.down = WithRatio(Face(decoder, box, files[2], under), scale);
        out.playSymbol[static_cast<size_t>(i)] = SymbolColourOn(f.normal);
    }
    for (size_t k = 0; k < 3; ++k) out.facesDecoded[k] = !files[k].failed;
    decoder.SetMaxPixels(keptLimit);
    decoder.PicBox(nullptr);
    decoder.BackgroundPicture(nullptr);
    decoder.ReleaseBuffers();  // the next skin change is far off

    out.window = WithRatio(std::move(window), scale);
    return out;
}

SkinPictures PaintCurrentSkin(const SkinLayout& layout) {
    return PaintSkin(SkinModule::Colours, SkinModule::Image1, SkinModule::SkinFolder(SkinModule::CurrentSkin), layout,
                     SkinModule::Scale, SkinModule::Decoder());
}

}  // namespace tavo
