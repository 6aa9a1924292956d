#pragma once
// The user's own lyric offset for each song, kept in the settings store's
// "LrcOffset" section so that it applies on every later play.
//
// A positive offset shows the lyrics earlier ("歌词提前 0.5 秒" adds
// kLyricOffsetStepMs), as a lyric file's own [offset:] does; the two add up
// (see LyricTime). Songs are keyed by a hash of their identity (path or
// address), so any text is a safe key.

#include <QString>

namespace tavo::platform {
class SettingsStore;
}

namespace tavo {

inline constexpr int kLyricOffsetStepMs = 500;

class LyricOffsets {
public:
    LyricOffsets(platform::SettingsStore& store, QString appName);

    // The saved offset of `song` in ms; 0 when none was saved or it is
    // unreadable. Always within +/- kMaxLyricOffsetMs.
    int OffsetFor(const QString& song) const;

    // Moves the offset of `song` by `deltaMs` and saves it. The new value is
    // returned either way (it applies for this play); `saved` is false when
    // the store could not keep it, for the caller to tell the user.
    struct Change {
        int offsetMs = 0;
        bool saved = true;
    };
    Change Shift(const QString& song, int deltaMs);

private:
    platform::SettingsStore& store_;
    QString appName_;
};

// The short note shown after a change: "+0.5 s", "-1.5 s", "0.0 s".
QString LyricOffsetCaption(int offsetMs);

}  // namespace tavo
