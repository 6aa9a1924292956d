#include "app/resume_state.h"

#include "app/main_controls.h"
#include "platform/settings_store.h"

namespace tavo {

namespace {

const QString kSection = QStringLiteral("Config");
// Resuming in the last seconds of a song would only end it at once.
constexpr int kEndMarginMs = 5000;
constexpr int kMaxPositionMs = 48 * 3600 * 1000;

QString Get(const char* key) {
    return platform::Settings().GetSetting(kAppTitle, kSection, QString::fromLatin1(key));
}
void Put(const char* key, const QString& value) {
    platform::Settings().SaveSetting(kAppTitle, kSection, QString::fromLatin1(key), value);
}

std::optional<int> Number(const char* key, int lowest, int highest) {
    bool ok = false;
    const int v = Get(key).trimmed().toInt(&ok);
    if (!ok || v < lowest || v > highest) return std::nullopt;
    return v;
}

}  // namespace

bool ResumeEnabled() {
    const QString v = Get("isResume").trimmed();
    return v.isEmpty() || platform::SettingNumber(v) != 0;
}

void SetResumeEnabled(bool on) { Put("isResume", on ? QStringLiteral("1") : QStringLiteral("0")); }

void SaveResumePoint(const std::optional<ResumePoint>& point) {
    if (!point) {
        Put("ResumeIndex", QStringLiteral("-1"));
        return;
    }
    Put("ResumeSource", QString::number(point->source));
    Put("ResumePeriod", QString::number(point->period));
    Put("ResumeEntry", QString::number(point->entry));
    Put("ResumeText", point->entryText);
    Put("ResumeLink", point->link);
    Put("ResumePosition", QString::number(std::max(0, point->positionMs)));
    Put("ResumeIndex", QString::number(point->index));
}

std::optional<ResumePoint> LoadResumePoint() {
    if (!ResumeEnabled()) return std::nullopt;
    const auto index = Number("ResumeIndex", 0, 1000000);
    const auto source = Number("ResumeSource", 0, 1000);
    if (!index || !source) return std::nullopt;
    ResumePoint p;
    p.index = *index;
    p.source = *source;
    p.period = Number("ResumePeriod", -1, 100000).value_or(-1);
    p.entry = Number("ResumeEntry", -1, 100000).value_or(-1);
    p.entryText = Get("ResumeText");
    p.link = Get("ResumeLink");
    p.positionMs = Number("ResumePosition", 0, kMaxPositionMs).value_or(0);
    if (p.entryText.isEmpty()) return std::nullopt;
    return p;
}

std::optional<int> ResumeRow(const ResumePoint& point, const QStringList& entries, const QStringList& links) {
    const bool useLinks = links.size() == entries.size() && !point.link.isEmpty();
    const auto same = [&](qsizetype i) {
        return entries[i] == point.entryText && (!useLinks || links[i] == point.link);
    };
    if (point.index >= 0 && point.index < entries.size() && same(point.index)) return point.index;
    for (qsizetype i = 0; i < entries.size(); ++i)
        if (same(i)) return static_cast<int>(i);
    return std::nullopt;
}

int ResumePositionMs(const ResumePoint& point, int durationMs) {
    if (point.positionMs <= 0) return 0;
    if (durationMs > 0 && point.positionMs > durationMs - kEndMarginMs) return 0;
    return point.positionMs;
}

}  // namespace tavo
