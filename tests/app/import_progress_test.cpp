#include "app/ui/import_progress.h"

#include "app/local_import.h"
#include "support/event_loop.h"
#include "support/temp_dir.h"
#include "support/core/test_media.h"

#include <gtest/gtest.h>

#include <QPushButton>

namespace tavo {
namespace {

// The dialog follows the import's own progress and its cancel button
// reaches the worker; the result closes it either way.
TEST(ImportProgress, FollowsProgressCancelsAndClosesOnTheResult) {
    LocalImport import;
    ImportProgressDialog dialog(import);
    dialog.show();
    emit import.Progress(import.CurrentId(), 0, 0);
    EXPECT_EQ(dialog.maximum(), 0) << "a busy bar while the folder is walked";
    emit import.Progress(import.CurrentId(), 30, 120);
    EXPECT_EQ(dialog.maximum(), 120);
    EXPECT_EQ(dialog.value(), 30);
    EXPECT_TRUE(dialog.labelText().contains(QStringLiteral("30 / 120")));

    test::TempDir dir;
    for (int i = 0; i < 200; ++i) dir.Write("m/" + std::to_string(i) + ".mp3", test::MakeMp3(0.1));
    std::optional<ImportResult> result;
    QObject::connect(&import, &LocalImport::Finished, [&](const ImportResult& r) { result = r; });
    import.Start(dir / "m", {});
    QPushButton* cancel = dialog.findChild<QPushButton*>();
    ASSERT_NE(cancel, nullptr);
    cancel->click();
    EXPECT_EQ(dialog.labelText(), QStringLiteral("正在取消..."));
    ASSERT_TRUE(test::WaitFor([&] { return result.has_value(); }));
    // The worker may have read every file before the click reached it.
    EXPECT_TRUE(result->cancelled || result->lines.size() == 200);
    EXPECT_FALSE(dialog.isVisible());
}

}  // namespace
}  // namespace tavo
