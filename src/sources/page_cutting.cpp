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

void PiecePump::Piece() {
    if (lastPump.isValid() && lastPump.elapsed() < kIntervalMs) return;
    lastPump.start();
    QCoreApplication* app = QCoreApplication::instance();
    if (app && app->thread() == QThread::currentThread()) QCoreApplication::processEvents();
}

}  // namespace detail

QString CutBetween(const QString& text, const QString& start, const QString& end) {
    QString out;
    detail::CutPieces(text, start, end, false, [&out](QString piece) {
        out += piece;
        out += kEntrySep;
        return true;
    });
    return out;
}

QString CutLinks(const QString& block) {
    static const QString kHref = QStringLiteral("href=");
    static const QString kEnd = QStringLiteral("</a>");
    QString out;
    detail::CutPieces(block, kHref, kEnd, false, [&out](QString piece) {
        // The cut already took out every "href=".
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
    detail::CutPieces(text, start, end, false, [&out](QString block) {
        out += block.left(5);
        out += kEntrySep;
        out += CutLinks(block);
        out += kBlockEnd;
        return true;
    });
    return out;
}

}  // namespace tavo
