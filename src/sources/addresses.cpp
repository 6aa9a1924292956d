#include "sources/addresses.h"

namespace tavo {

namespace {

bool HasControlCharacter(const QString& text) {
    for (QChar c : text)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F) return true;
    return false;
}

// Two addresses on the same site: scheme, user, host and port all equal
// (QUrl keeps schemes and hosts in lower case).
bool SameSite(const QUrl& a, const QUrl& b) {
    return a.scheme() == b.scheme() && a.userInfo() == b.userInfo() && a.host() == b.host() &&
           a.port() == b.port();
}

}  // namespace

bool IsPlayableNetworkAddress(const QString& address, bool allowStreamingSchemes) {
    if (address.isEmpty() || HasControlCharacter(address)) return false;
    if (address.front().isSpace() || address.back().isSpace()) return false;
    // Tolerant: a station address may hold a space or a stray "%"; what
    // matters is the scheme, which every reader takes from the prefix.
    const QUrl url(address, QUrl::TolerantMode);
    if (!url.isValid() || url.isRelative() || url.host().isEmpty()) return false;
    const QString scheme = url.scheme();  // lower case
    if (scheme == QLatin1String("http") || scheme == QLatin1String("https")) return true;
    return allowStreamingSchemes && (scheme == QLatin1String("mms") || scheme == QLatin1String("rtsp"));
}

QString ResolveSiteLink(const QString& base, const QString& link) {
    if (link.trimmed().isEmpty() || HasControlCharacter(link)) return {};
    const QUrl site(base, QUrl::StrictMode);
    if (!site.isValid() || site.isRelative() || site.host().isEmpty()) return {};
    const QUrl resolved = site.resolved(QUrl(link, QUrl::TolerantMode));
    if (!resolved.isValid() || !SameSite(resolved, site)) return {};
    const QString text = resolved.toString();
    // The text is what gets fetched: it must read back as the same site.
    if (!SameSite(QUrl(text, QUrl::TolerantMode), site)) return {};
    return text;
}

}  // namespace tavo
