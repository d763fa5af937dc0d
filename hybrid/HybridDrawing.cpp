#include "hybrid/HybridDrawing.h"

#include "hybrid/HybridBlend.h"

#include <QPainter>
#include <QPolygon>

#include <cmath>

namespace
{

// Nearest whole pixel, halves to even.
int roundPixel(double v)
{
    return int(std::nearbyint(v));
}

void surfaceLine(QPainter &p, const FPoint *s, int last, int x0, int y0, float scale)
{
    QPolygon line;
    line.reserve(last + 2);
    line << QPoint(x0, y0);
    for (int k = 0; k <= last; ++k)
        line << QPoint(x0 + roundPixel(s[k].x * scale), y0 + roundPixel(s[k].y * scale));
    p.drawPolyline(line);
}

void caption(QPainter &p, int x, int y, const QColor &colour, const QString &text)
{
    p.setPen(colour);
    p.drawText(QRect(x, y, 200, 40), Qt::AlignLeft | Qt::AlignTop, text);
}

} // namespace

void HybridDrawing::drawProfile(QPainter &p, const HybridSurfaces &profile, int x0, int y0, float s)
{
    if (profile.lastIndex < 0)
        return;
    surfaceLine(p, profile.lower.data(), profile.lastIndex, x0, y0, s);
    surfaceLine(p, profile.upper.data(), profile.lastIndex, x0, y0, s);
}

void HybridDrawing::DrawProfiles(QPainter &p, int w, int h, HybridBlend &blend, int percent)
{
    p.save();
    p.fillRect(QRect(0, 0, w, h), Qt::white);
    QFont font = p.font();
    font.setPointSize(8);
    p.setFont(font);
    caption(p, w - 80, 36, kRoot, QStringLiteral("Emplanture"));
    caption(p, w - 80, 20, kHybrid, QStringLiteral("Hybride"));
    caption(p, w - 80, 4, kTip, QStringLiteral("Saumon"));

    const int wd = w - 16;
    const int q = h / 4;
    const int yR = h - q;
    const int yT = q;
    const int span = h - 2 * q;
    const float rootChord = blend.rootChord > 0 ? blend.rootChord : 1;
    // A profile of chord c: its scale in pixels per percent and its left end.
    auto scaleOf = [&](float c) { return float(0.01 * wd * c / rootChord); };
    auto leftOf = [&](float c) { return (w - roundPixel(wd * c / rootChord)) / 2; };

    auto pen = [&p](const QColor &c) { p.setPen(QPen(c, 1)); };

    // Tip.
    const float sT = scaleOf(blend.tipChord);
    const int x0T = leftOf(blend.tipChord);
    pen(kTip);
    drawProfile(p, blend.tip, x0T, yT, sT);
    const int xTeT = roundPixel(sT * 100) + x0T;

    // Guides from the root's edges to the tip's, marked every 5 %.
    const float sR = scaleOf(blend.rootChord);
    const int x0R = leftOf(blend.rootChord);
    const int xTeR = roundPixel(wd) + x0R;
    pen(kGuide);
    p.drawLine(x0R, yR, x0T, yT);
    p.drawLine(xTeR, yR, xTeT, yT);
    for (int i = 0; i <= 20; ++i) {
        const int len = i % 2 == 0 ? 6 : 3;
        const int y = yR - ((yR - yT) * i) / 20;
        const int xl = x0R + ((x0T - x0R) * i) / 20;
        const int xr = xTeR + ((xTeT - xTeR) * i) / 20;
        p.drawLine(xl, y, xl - len, y);
        p.drawLine(xr, y, xr + len, y);
    }

    // Root.
    pen(kRoot);
    drawProfile(p, blend.root, x0R, yR, sR);

    // The blend at its height between them.
    blend.BlendProfiles(percent);
    pen(kHybrid);
    drawProfile(p, blend.hybrid, leftOf(blend.hybridChord), yR - roundPixel(span * percent * 0.01),
                scaleOf(blend.hybridChord));
    p.restore();
}

void HybridDrawing::DrawRelief(QPainter &p, int w, int h, HybridBlend &blend)
{
    p.save();
    p.fillRect(QRect(0, 0, w, h), Qt::white);
    const float rootChord = blend.rootChord > 0 ? blend.rootChord : 1;
    HybridSurfaces layer;
    for (int c = 100; c >= 0; --c) {
        HybridBlend::BlendProfiles(blend.root, blend.tip, c, layer);
        const float chord = float(rootChord + (0.6 * blend.tipChord - rootChord) * c * 0.01);
        const float s = chord * 5.6f / rootChord;
        const int x0 = (w - roundPixel(chord * 560 / rootChord)) / 2;
        const int y0 = (1000 - 10 * c) / 10 + 60;
        const int width = (c == 0 || c == 100) ? 1 : 2;
        if (layer.lastIndex < 0)
            continue;
        p.setPen(QPen(QColor(110 + c, 120 + c, 130 + c), width));
        surfaceLine(p, layer.lower.data(), layer.lastIndex, x0, y0, s);
        p.setPen(QPen(QColor(130 + c, 140 + c, 145 + c), width));
        surfaceLine(p, layer.upper.data(), layer.lastIndex, x0, y0, s);
    }
    p.restore();
}
