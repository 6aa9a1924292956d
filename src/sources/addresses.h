#pragma once
// Checks on addresses that come from the network (pages, feeds, replies)
// before the program opens them.
//
// A page may name any address it likes. The program fetches chart links only
// from the chart site itself, and plays from the network only over the web
// schemes (and the two streaming schemes of radio stations where those are
// expected); anything else (local files, script URLs, other schemes) is
// refused.

#include <QString>
#include <QUrl>

namespace tavo {

// True when `address` is an absolute http or https address with a host, or,
// with `allowStreamingSchemes`, an mms or rtsp one. The text must be the
// address exactly: surrounding spaces or control characters anywhere refuse
// it, as do local paths ("/music/a.mp3", "C:\a.mp3", "file:...").
bool IsPlayableNetworkAddress(const QString& address, bool allowStreamingSchemes);

// `link` resolved against `base` (the chart site's scheme and host) as a
// browser resolves a link on that site. Empty when the result would leave the
// site: another scheme, host, port or user, a protocol-relative "//host"
// link, "javascript:", "file:" and the like; also for an empty link or an
// invalid base.
QString ResolveSiteLink(const QString& base, const QString& link);

}  // namespace tavo
