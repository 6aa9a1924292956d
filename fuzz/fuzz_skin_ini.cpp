// Arbitrary bytes as a skin's colour file, read the way a skin change reads
// it (from the skin folder, pictures looked up): no out-of-bounds access,
// no hang, colours stay 24-bit, the calendar switch stays a 16-bit boolean,
// and the file gives the same colours as its lines read directly.
#include "platform/ansi_text.h"
#include "platform/message_box.h"
#include "platform/program_folder.h"
#include "skin/skin_module.h"

#include <QByteArrayView>
#include <QGuiApplication>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <memory>

#include <unistd.h>

namespace fs = std::filesystem;
using namespace tavo;

namespace {

fs::path Init() {
    static int argc = 1;
    static char name[] = "fuzz_skin_ini";
    static char* argv[] = {name, nullptr};
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static QGuiApplication app(argc, argv);
    platform::SetMessages(std::make_unique<platform::ConsoleMessageBox>(nullptr));
    char tmpl[] = "/tmp/fuzz-skin-XXXXXX";
    static const fs::path home = mkdtemp(tmpl);
    std::atexit([] {
        std::error_code ec;
        fs::remove_all(home, ec);
    });
    fs::create_directories(home / "skin" / "fz");
    platform::SetProgramFolder(home);
    return home / "skin" / "fz" / "skin.ini";
}

void CheckColours(const SkinColours& c) {
    for (const SkinKey& k : SkinKeys())
        if (k.colour && (c.*k.colour < 0 || c.*k.colour > 0xFFFFFF)) std::abort();
    if (c.ShowCalendar != True16 && c.ShowCalendar != False16) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const fs::path ini = Init();
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));

    SkinColours direct;
    SetDefaultColours(direct);
    QStringList pictures;
    ReadSkinLines(platform::DecodeTextLines(bytes), direct, pictures);
    CheckColours(direct);
    for (const QString& value : pictures) (void)SkinModule::PicturePath(ini.parent_path(), value);

    std::ofstream(ini, std::ios::binary | std::ios::trunc).write(reinterpret_cast<const char*>(data),
                                                                  static_cast<std::streamsize>(size));
    SkinModule::SetDefaultSkinColours();
    SkinModule::BackgroundColor = 0;
    SkinModule::FloatBorderColor = 0;
    SkinModule::CurrentSkin = QStringLiteral("fz");
    SkinModule::LoadSkin(QStringLiteral("fz"));
    CheckColours(SkinModule::Colours);
    if (!(SkinModule::Colours == direct)) std::abort();
    const QImage& picture = SkinModule::Image1;
    if (!picture.isNull() && (picture.width() > 4096 || picture.height() > 4096)) std::abort();
    return 0;
}
