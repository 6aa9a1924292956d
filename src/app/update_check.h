#pragma once
// The update notices of the main window's link label `Label1`.
//
// Once per run `UpApp` fetches "/music/ver.asp" from the maker's site
// (services.ini, MakerSite) into "up.!up" through its own download control
// `UpDown`. The file is parts joined by "{++}", each part a text and a web
// address joined by "{|}": part 0 is the newest version and its page, every
// further part a notice and its page. `Timer1` (every 2 s) turns the label
// every sixth tick: part 0 shows "发现新版本，查看详细>>" when its version is
// greater than the program's, otherwise the maker's address; the notices
// show their text. A click opens the page of the item shown, if it is an
// http or https address.
//
// No widgets: the window shows Label1Text() and passes clicks in; tests
// call Timer1_Timer() directly instead of waiting.

#include "download/qel_down.h"
#include "platform/request_slot.h"
#include "platform/bool16.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <cstdint>
#include <filesystem>
#include <functional>

namespace tavo {

class UpdateCheck : public QObject {
    Q_OBJECT
public:
    // Limits on what the network may hand us.
    static constexpr qint64 kMaxFileBytes = 64 * 1024;
    static constexpr int kMaxParts = 32;
    static constexpr int kMaxTextLength = 60;  // characters of a notice shown

    explicit UpdateCheck(QObject* parent = nullptr);

    // The program's version, compared with the announced one.
    QString AppVersion = QStringLiteral("1.0");
    // Opens a page; by default through the program's page opener (page_opener.h).
    std::function<bool(const QString& address)> OpenPage;

    QelDown UpDown;
    QStringList UpdateInfo;        // the parts; empty until a usable file came
    std::int16_t NoticeIndex = 0;  // the next part to show
    std::int32_t NoticeTicks = 0;  // ticks since the last change
    Bool16 UpdateParsed = False16;
    QTimer Timer1;                 // 2000 ms, running from the start

    // Starts the download.
    void UpApp();
    void UpDown_DLComplete(std::int32_t Bytes, std::int16_t Error);
    void Timer1_Timer();
    void Label1_Click();

    QString Label1Text() const { return label1_; }

    // Field 0 or 1 of a part ("{|}"); empty when missing.
    static QString Field(const QString& part, int field);
    // Compares two version texts number by number, dot by dot: the leading
    // run of digits and dots counts ("1.10" is newer than "1.9", "2.0beta" is
    // 2.0, "abc" and "" are 0), missing numbers are 0 ("1" equals "1.0").
    // Negative, zero or positive as `a` is older, the same or newer.
    static int CompareVersions(const QString& a, const QString& b);
    // The download target "up.!up" in the program folder.
    static std::filesystem::path UpdateFile();

    static inline const QString kNewVersion = QStringLiteral("发现新版本，查看详细>>");

Q_SIGNALS:
    void Label1Changed(const QString& text);

private:
    RequestSlot notice_;  // the notice download in flight
    void SetLabel1(const QString& text);
    QString PartField(int part, int field) const;

    QString label1_;
};

}  // namespace tavo
