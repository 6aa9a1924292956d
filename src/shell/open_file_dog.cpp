#include "shell/open_file_dog.h"

#include <QDir>
#include <QFileDialog>
#include <QStandardPaths>

#include <limits>

namespace tavo {

namespace {

constexpr QChar kNul = QChar(u'\0');
constexpr int kMaxFiles = std::numeric_limits<std::int16_t>::max() + 1;

bool EndsInSeparator(const QString& folder) {
    return folder.endsWith(QLatin1Char('/')) || folder.endsWith(QLatin1Char('\\'));
}

QString FolderOf(const QString& path) {
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    if (slash <= 0) return QStringLiteral("/");
    return path.left(slash);
}

// The nearest folder holding every path.
QString CommonFolder(const QStringList& paths) {
    QString folder = FolderOf(paths.first());
    for (const QString& p : paths) {
        while (folder != QLatin1String("/") && !p.startsWith(folder + QLatin1Char('/'))) folder = FolderOf(folder);
    }
    return folder;
}

}  // namespace

QStringList& SelectedFiles() {
    static QStringList files;
    return files;
}

QString SelectionBuffer(const QStringList& paths) {
    if (paths.isEmpty()) return QString();
    if (paths.size() == 1) return paths.first() + kNul + kNul;
    const QString folder = CommonFolder(paths);
    const qsizetype cut = EndsInSeparator(folder) ? folder.size() : folder.size() + 1;
    QString buffer = folder + kNul;
    for (const QString& p : paths) buffer += p.mid(cut) + kNul;
    return buffer + kNul;
}

std::int16_t SplitSelection(const QString& Buffer) {
    QStringList& files = SelectedFiles();
    files.clear();
    if (Buffer.isEmpty()) return -1;
    const QStringList pieces = Buffer.split(kNul);
    if (pieces.size() >= 4) {
        // The folder, the names, an empty piece and the buffer's tail.
        const QString& folder = pieces.first();
        const QString joint = EndsInSeparator(folder) ? QString() : QStringLiteral("/");
        const int count = static_cast<int>(std::min<qsizetype>(pieces.size() - 3, kMaxFiles));
        files.reserve(count);
        for (int k = 1; k <= count; ++k) files.append(folder + joint + pieces[k]);
        return static_cast<std::int16_t>(count - 1);
    }
    files.append(pieces.first());
    return 0;
}

QStringList QtNameFilters(const QString& filter) {
    QStringList out;
    const QStringList parts = filter.split(QLatin1Char('|'));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i];
        const qsizetype paren = description.indexOf(QLatin1Char('('));
        if (paren > 0) description.truncate(paren);
        QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString& p : patterns) p = p.trimmed();
        out.append(description.trimmed() + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) +
                   QLatin1Char(')'));
    }
    return out;
}

QString ShowOpen(QWidget* hWndOwner, const QString& Title, const QString& Filter, std::int32_t MultiSelect,
                 std::int32_t& MaxLen) {
    if (MaxLen == 0) MaxLen = 255;
    const QString filters = QtNameFilters(Filter).join(QStringLiteral(";;"));
    const QString start = QStandardPaths::writableLocation(QStandardPaths::MusicLocation);
    const QString folder = QDir(start).exists() ? start : QDir::homePath();
    QStringList chosen;
    if (MultiSelect == 1) {
        chosen = QFileDialog::getOpenFileNames(hWndOwner, Title, folder, filters);
    } else {
        const QString one = QFileDialog::getOpenFileName(hWndOwner, Title, folder, filters);
        if (!one.isEmpty()) chosen.append(one);
    }
    return SelectionBuffer(chosen);
}

}  // namespace tavo
