#include "app/update_check.h"

#include "platform/ansi_text.h"
#include "platform/program_folder.h"
#include "app/page_opener.h"
#include "sources/services.h"
#include "sources/text_codecs.h"

#include <algorithm>
#include <system_error>
#include <vector>

namespace tavo {

namespace fs = std::filesystem;

namespace {

const QString kPartSep = QStringLiteral("{++}");
const QString kFieldSep = QStringLiteral("{|}");

// A text from the network as one short line: control characters become
// spaces, runs of spaces shrink, and a long text is cut with an ellipsis.
QString OneShortLine(const QString& text, int maxLength) {
    QString line = text.left(4 * maxLength);
    for (QChar& c : line) {
        if (c.category() == QChar::Other_Control || c.category() == QChar::Other_Format) c = QChar(u' ');
    }
    line = line.simplified();
    if (line.size() > maxLength) line = line.left(maxLength - 1) + QChar(u'…');
    return line;
}

}  // namespace

UpdateCheck::UpdateCheck(QObject* parent) : QObject(parent), label1_(Services().makerSite) {
    OpenPage = [](const QString& address) { return tavo::OpenPage(address); };
    UpDown.setMaxBodyBytes(kMaxFileBytes);
    connect(&UpDown, &QelDown::DLEnded, this, [this](RequestId request, std::int32_t bytes, std::int16_t error) {
        if (notice_.Take(request)) UpDown_DLComplete(bytes, error);
    });
    Timer1.setInterval(2000);
    connect(&Timer1, &QTimer::timeout, this, &UpdateCheck::Timer1_Timer);
    Timer1.start();
}

fs::path UpdateCheck::UpdateFile() { return platform::InProgramFolder("up.!up"); }

void UpdateCheck::SetLabel1(const QString& text) {
    if (text == label1_) return;
    label1_ = text;
    Q_EMIT Label1Changed(label1_);
}

void UpdateCheck::UpApp() {
    UpdateParsed = False16;
    UpDown.CancelDownload();
    UpDown.setFileURL(Services().makerSite + QStringLiteral("/music/ver.asp"));
    UpDown.setSaveFileName(platform::PathToQString(UpdateFile()));
    UpDown.setRequest(notice_.Begin());
    UpDown.BeginDownload();
}

void UpdateCheck::UpDown_DLComplete(std::int32_t, std::int16_t Error) {
    if (Error != 0) return;
    SetLabel1(Services().makerSite);
    const fs::path file = UpdateFile();
    std::error_code ec;
    const bool exists = fs::exists(file, ec);
    if (!FromBool16(UpdateParsed) && exists) {
        QStringList parts = ReadUtf8File(file).split(kPartSep);
        if (parts.size() >= 2) {
            if (parts.size() > kMaxParts) parts.resize(kMaxParts);
            UpdateInfo = parts;
            UpdateParsed = True16;
        }
    }
    if (exists) fs::remove(file, ec);
}

QString UpdateCheck::Field(const QString& part, int field) {
    const QStringList fields = part.split(kFieldSep);
    return field >= 0 && field < fields.size() ? fields[field].trimmed() : QString();
}

QString UpdateCheck::PartField(int part, int field) const {
    return part >= 0 && part < UpdateInfo.size() ? Field(UpdateInfo[part], field) : QString();
}

namespace {

// The numbers of a version text's leading run of digits and dots, each held
// at a ceiling so that a hostile notice cannot overflow them.
std::vector<long long> VersionNumbers(const QString& text) {
    constexpr long long kCeiling = 1'000'000'000;
    std::vector<long long> numbers;
    qsizetype i = 0;
    while (i < text.size() && (text[i] == QLatin1Char(' ') || text[i] == QLatin1Char('\t'))) ++i;
    while (i < text.size() && text[i] >= QLatin1Char('0') && text[i] <= QLatin1Char('9')) {
        long long n = 0;
        while (i < text.size() && text[i] >= QLatin1Char('0') && text[i] <= QLatin1Char('9')) {
            n = std::min(kCeiling, n * 10 + (text[i].unicode() - u'0'));
            ++i;
        }
        numbers.push_back(n);
        if (i + 1 < text.size() && text[i] == QLatin1Char('.') && text[i + 1] >= QLatin1Char('0') &&
            text[i + 1] <= QLatin1Char('9'))
            ++i;
        else
            break;
    }
    return numbers;
}

}  // namespace

int UpdateCheck::CompareVersions(const QString& a, const QString& b) {
    const std::vector<long long> x = VersionNumbers(a), y = VersionNumbers(b);
    for (size_t k = 0; k < std::max(x.size(), y.size()); ++k) {
        const long long p = k < x.size() ? x[k] : 0, q = k < y.size() ? y[k] : 0;
        if (p != q) return p < q ? -1 : 1;
    }
    return 0;
}

void UpdateCheck::Timer1_Timer() {
    // The label changes every sixth tick.
    if (NoticeTicks < 5) {
        ++NoticeTicks;
        return;
    }
    // Past the last part, back to the first.
    if (NoticeIndex > UpdateInfo.size() - 1) NoticeIndex = 0;
    // The first part announces a newer version; the others are notices.
    QString text = Services().makerSite;
    if (NoticeIndex != 0) {
        const QString notice = OneShortLine(PartField(NoticeIndex, 0), kMaxTextLength);
        if (!notice.isEmpty()) text = notice;
    } else if (CompareVersions(PartField(0, 0), AppVersion) > 0) {
        text = kNewVersion;
    }
    SetLabel1(text);
    NoticeTicks = 0;
    ++NoticeIndex;
}

void UpdateCheck::Label1_Click() {
    const int i = std::max(0, NoticeIndex - 1);
    const QString address = PartField(i, 1);
    if (!address.isEmpty() && OpenPage) OpenPage(address);
}

}  // namespace tavo
