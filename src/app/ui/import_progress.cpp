#include "app/ui/import_progress.h"

#include "app/local_import.h"

namespace tavo {

ImportProgressDialog::ImportProgressDialog(LocalImport& import, QWidget* parent)
    : QProgressDialog(QStringLiteral("正在查找音乐文件..."), QStringLiteral("取消"), 0, 0, parent) {
    setWindowTitle(QStringLiteral("添加本地文件夹"));
    setWindowModality(Qt::WindowModal);
    setMinimumDuration(400);
    setAutoClose(false);
    setAutoReset(false);
    setMinimumWidth(360);
    connect(&import, &LocalImport::Progress, this, &ImportProgressDialog::OnProgress);
    connect(&import, &LocalImport::Finished, this, [this] { close(); });
    connect(this, &QProgressDialog::canceled, &import, [&import, this] {
        setLabelText(QStringLiteral("正在取消..."));
        import.Cancel();
    });
}

void ImportProgressDialog::OnProgress(quint64, int done, int total) {
    if (wasCanceled()) return;
    if (total == 0) {
        setRange(0, 0);  // still walking the folder: a busy bar
        return;
    }
    setRange(0, total);
    setValue(done);
    setLabelText(QStringLiteral("正在读取歌曲信息：%1 / %2").arg(done).arg(total));
}

}  // namespace tavo
