// libmpv opened at run time: by the name of the client API the program was
// built against, with every function the player calls.
#include "platform/core/mpv_library.h"

#include "platform/core/media_player.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <string>

namespace tavo::platform {
namespace {

TEST(MpvLibrary, OpensTheBuiltAgainstVersionWithEveryFunction) {
    EXPECT_EQ(std::string(MpvLibraryName()), "libmpv.so." + std::to_string(MPV_CLIENT_API_VERSION >> 16));
    const MpvApi& api = Mpv();
    ASSERT_TRUE(api.Loaded()) << "every function found";
    // Opened once: the same table from any later call.
    EXPECT_EQ(&Mpv(), &api);
    // The opened library works: a handle comes and goes.
    mpv_handle* h = api.create();
    ASSERT_NE(h, nullptr);
    api.terminate_destroy(h);
}

// The player opens libmpv once the event loop turns, or at the first call
// that needs it; one that ends before either never opens it.
TEST(MpvPlayerStart, StartsWhenTheLoopTurnsOrWhenFirstNeeded) {
    MpvOptions options;
    options.audioOutput = QStringLiteral("null");
    for (const bool loopTurns : {true, false}) {
        MpvMediaPlayer player(options);
        if (loopTurns) QCoreApplication::processEvents();
        EXPECT_TRUE(player.Available()) << "loop turned " << loopTurns;
    }
    { MpvMediaPlayer unused(options); }  // ends at once, without waiting
    QCoreApplication::processEvents();   // its queued start died with it
}

}  // namespace
}  // namespace tavo::platform
