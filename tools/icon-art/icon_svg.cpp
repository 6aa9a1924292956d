#include "icon_svg.h"

#include <QStringList>

#include <cmath>

namespace tavo::art {

namespace {

QString Num(double v) {
    // One decimal is plenty on a 256-unit canvas and keeps the text stable.
    return QString::number(std::round(v * 10.0) / 10.0, 'f', 1);
}

// A crescent: the part of circle (cx, cy, r) outside circle (ix, iy, ir),
// as two arcs between the circles' intersection points.
QString CrescentPath(double cx, double cy, double r, double ix, double iy, double ir) {
    const double dx = ix - cx, dy = iy - cy;
    const double d = std::hypot(dx, dy);
    const double a = (r * r - ir * ir + d * d) / (2 * d);  // from the outer centre along the line
    const double h = std::sqrt(r * r - a * a);
    const double mx = cx + a * dx / d, my = cy + a * dy / d;
    const double p1x = mx + h * dy / d, p1y = my - h * dx / d;
    const double p2x = mx - h * dy / d, p2y = my + h * dx / d;
    return QStringLiteral("M%1 %2 A%3 %3 0 1 0 %4 %5 A%6 %6 0 0 1 %1 %2 Z")
        .arg(Num(p1x), Num(p1y), Num(r), Num(p2x), Num(p2y), Num(ir));
}

// Two beamed eighth notes; `dx`, `dy` shift the whole figure (the shadow).
QString Notes(double dx, double dy, double scale, const QString& fill, const QString& extra) {
    auto x = [&](double v) { return Num(128 + (v - 128) * scale + dx); };
    auto y = [&](double v) { return Num(128 + (v - 128) * scale + dy); };
    const double s = scale;
    QStringList out;
    out << QStringLiteral("<g fill=\"%1\"%2>").arg(fill, extra);
    for (const auto& [hx, hy] : {std::pair{100.0, 182.0}, std::pair{180.0, 164.0}}) {
        out << QStringLiteral("<ellipse cx=\"%1\" cy=\"%2\" rx=\"%3\" ry=\"%4\" transform=\"rotate(-22 %1 %2)\"/>")
                   .arg(x(hx), y(hy), Num(27 * s), Num(19.5 * s));
    }
    // Stems rise from each head's right side; the beam joins their tops.
    out << QStringLiteral("<rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\"/>")
               .arg(x(116), y(78), Num(12 * s), Num(104 * s));
    out << QStringLiteral("<rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\"/>")
               .arg(x(196), y(58), Num(12 * s), Num(106 * s));
    out << QStringLiteral("<path d=\"M%1 %2 L%3 %4 L%5 %6 L%7 %8 Z\"/>")
               .arg(x(116), y(78), x(208), y(56), x(208), y(84), x(116), y(106));
    out << QStringLiteral("</g>");
    return out.join(QString());
}

}  // namespace

QString IconSvg(IconDetail detail) {
    const bool full = detail == IconDetail::Full;
    // Small sizes use the whole canvas and bolder notes, so that 16 px still
    // reads as a note on a blue tile.
    const double inset = full ? 8 : 2;
    const double radius = full ? 56 : 48;
    const double noteScale = full ? 1.0 : 1.18;
    const double side = 256 - 2 * inset;
    QStringList s;
    s << QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n");
    s << QStringLiteral(
        "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.2\" baseProfile=\"tiny\" "
        "width=\"256\" height=\"256\" viewBox=\"0 0 256 256\">\n");
    s << QStringLiteral("<title>Tavo音乐盒2010</title>\n<defs>\n");
    s << QStringLiteral(
        "<linearGradient id=\"tile\" x1=\"0\" y1=\"0\" x2=\"0\" y2=\"256\" gradientUnits=\"userSpaceOnUse\">"
        "<stop offset=\"0\" stop-color=\"#3d9bff\"/><stop offset=\"0.55\" stop-color=\"#1553b8\"/>"
        "<stop offset=\"1\" stop-color=\"#0a2561\"/></linearGradient>\n");
    s << QStringLiteral(
        "<radialGradient id=\"glow\" cx=\"128\" cy=\"150\" r=\"120\" gradientUnits=\"userSpaceOnUse\">"
        "<stop offset=\"0\" stop-color=\"#6fe3ff\" stop-opacity=\"0.55\"/>"
        "<stop offset=\"1\" stop-color=\"#6fe3ff\" stop-opacity=\"0\"/></radialGradient>\n");
    s << QStringLiteral(
        "<linearGradient id=\"gloss\" x1=\"0\" y1=\"8\" x2=\"0\" y2=\"120\" gradientUnits=\"userSpaceOnUse\">"
        "<stop offset=\"0\" stop-color=\"#ffffff\" stop-opacity=\"0.50\"/>"
        "<stop offset=\"1\" stop-color=\"#ffffff\" stop-opacity=\"0.04\"/></linearGradient>\n");
    s << QStringLiteral(
        "<linearGradient id=\"note\" x1=\"0\" y1=\"50\" x2=\"0\" y2=\"210\" gradientUnits=\"userSpaceOnUse\">"
        "<stop offset=\"0\" stop-color=\"#ffffff\"/><stop offset=\"1\" stop-color=\"#b8e4ff\"/></linearGradient>\n");
    s << QStringLiteral(
        "<linearGradient id=\"moon\" x1=\"40\" y1=\"40\" x2=\"90\" y2=\"110\" gradientUnits=\"userSpaceOnUse\">"
        "<stop offset=\"0\" stop-color=\"#fff1a8\"/><stop offset=\"1\" stop-color=\"#f5a623\"/></linearGradient>\n");
    s << QStringLiteral("</defs>\n");

    const QString rect = QStringLiteral("x=\"%1\" y=\"%1\" width=\"%2\" height=\"%2\" rx=\"%3\" ry=\"%3\"")
                             .arg(Num(inset), Num(side), Num(radius));
    s << QStringLiteral("<rect %1 fill=\"url(#tile)\"/>\n").arg(rect);
    s << QStringLiteral("<rect %1 fill=\"url(#glow)\"/>\n").arg(rect);
    if (full) {
        // The glass sheen over the upper part of the tile.
        s << QStringLiteral(
                 "<path d=\"M%1 %2 A%3 %3 0 0 1 %2 %1 L%4 %1 A%3 %3 0 0 1 %5 %2 L%5 104 "
                 "C176 126 80 126 %1 104 Z\" fill=\"url(#gloss)\"/>\n")
                 .arg(Num(inset), Num(inset + radius), Num(radius), Num(256 - inset - radius), Num(256 - inset));
        s << QStringLiteral(
                 "<rect x=\"9.5\" y=\"9.5\" width=\"237\" height=\"237\" rx=\"54.5\" ry=\"54.5\" fill=\"none\" "
                 "stroke=\"#ffffff\" stroke-opacity=\"0.35\" stroke-width=\"3\"/>\n");
        s << QStringLiteral("<path d=\"%1\" fill=\"url(#moon)\"/>\n").arg(CrescentPath(70, 74, 30, 84, 64, 26));
    }
    s << Notes(5, 7, noteScale, QStringLiteral("#041844"), QStringLiteral(" fill-opacity=\"0.35\"")) << "\n";
    s << Notes(0, 0, noteScale, QStringLiteral("url(#note)"), QString()) << "\n";
    s << QStringLiteral("</svg>\n");
    return s.join(QString());
}

}  // namespace tavo::art
