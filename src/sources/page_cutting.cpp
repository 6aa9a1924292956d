#include "sources/page_cutting.h"

#include "sources/get_song_list.h"

#include <QCoreApplication>
#include <QThread>

namespace tavo {

namespace detail {

namespace {
thread_local int pumpDepth = 0;
thread_local QElapsedTimer lastPump;
}  // namespace

PiecePump::PiecePump() {
    if (pumpDepth++ == 0) lastPump.invalidate();
}

PiecePump::~PiecePump() { --pumpDepth; }

void PiecePump::Pump() {
    if (lastPump.isValid() && lastPump.elapsed() < kIntervalMs) return;
    lastPump.start();
    QCoreApplication* app = QCoreApplication::instance();
    if (app && app->thread() == QThread::currentThread()) QCoreApplication::processEvents();
}

qsizetype FindMarker(QStringView text, QStringView marker, qsizetype from) {
    if (marker.isEmpty()) return from <= text.size() ? from : -1;
    const QChar first = marker.front();
    const QStringView rest = marker.sliced(1);
    for (from = qMax<qsizetype>(from, 0);;) {
        const qsizetype at = text.indexOf(first, from);
        if (at < 0 || at > text.size() - marker.size()) return -1;
        if (text.sliced(at + 1, rest.size()) == rest) return at;
        from = at + 1;
    }
}

void AppendWithout(QString& out, QStringView piece, QStringView marker) {
    qsizetype from = 0;
    for (;;) {
        const qsizetype at = FindMarker(piece, marker, from);
        if (at < 0) break;
        out.append(piece.sliced(from, at - from));
        from = at + marker.size();
    }
    out.append(piece.sliced(from));
}

}  // namespace detail

QString ListSafeText(QString text) {
    static const QString kFileFieldSep = QStringLiteral("<|>");
    text.replace(kEntrySep, QStringLiteral(" "));
    text.replace(kFileFieldSep, QStringLiteral(" "));
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text;
}

QString CutBetween(const QString& text, const QString& start, const QString& end) {
    QString out;
    detail::CutPieces(text, start, end, false, [&](QStringView piece) {
        detail::AppendWithout(out, piece, start);
        out += kEntrySep;
        return true;
    });
    return out;
}

QString CutLinks(const QString& block) {
    static const QString kHref = QStringLiteral("href=");
    static const QString kEnd = QStringLiteral("</a>");
    QString out;
    QString piece;
    detail::CutPieces(block, kHref, kEnd, false, [&](QStringView view) {
        piece.truncate(0);
        detail::AppendWithout(piece, view, kHref);
        piece.remove(QLatin1Char('"'));
        piece.replace(QLatin1Char('>'), QLatin1Char(','));
        out += piece;
        out += QLatin1Char('|');
        return true;
    });
    return out;
}

QString CutChartBlocks(const QString& text, const QString& start, const QString& end) {
    static const QString kBlockEnd = QStringLiteral("{-}");
    QString out;
    QString block;
    detail::CutPieces(text, start, end, false, [&](QStringView view) {
        block.truncate(0);
        detail::AppendWithout(block, view, start);
        out += QStringView(block).left(5);
        out += kEntrySep;
        out += CutLinks(block);
        out += kBlockEnd;
        return true;
    });
    return out;
}

}  // namespace tavo
