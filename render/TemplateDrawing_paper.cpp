// The check bar of the printed page and of the print preview, placed where
// the template's drawing leaves room on the sheet.
#include "render/TemplateDrawing.h"

#include "geometry/Trig.h"
#include "render/PrintPages.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace
{
// The bar starts this far from the left edge of the page.
constexpr float kBarLeftMm = 20;
// Clear space kept between the bar and the template.
constexpr float kBarGapMm = 5;
// Nothing is placed in the top strip of the page, where the titles stand,
// nor in the bottom strip that printers cannot reach.
constexpr float kTitleStripMm = 30;
constexpr float kBottomStripMm = 10;

// A check bar tick as whole device pixels draw it: the pixels under a pen
// of odd width centre it in a pixel's middle, under an even width on a
// pixel's edge. Of the two, the nearer its place: within a quarter pixel
// (0.01 mm on a 600 dpi page, where one pixel would be 0.04 mm).
struct TickPlace {
    qreal x;
    int width;
};

TickPlace tickPlace(qreal x, int width)
{
    const int odd = width % 2 ? width : width + 1;
    const int even = width % 2 ? width + 1 : width;
    const qreal middle = std::floor(x) + 0.5, edge = std::round(x);
    if (std::abs(middle - x) <= std::abs(edge - x))
        return {middle, odd};
    return {edge, even};
}
} // namespace

QRect TemplateDrawing::templateBounds() const
{
    const ViewGeometry &g = m_geom;
    if (!m_laidOut || m_work.lastPoint < 1)
        return {};
    float left = g.originXf, right = float(g.trailingEdgeX);
    float top = float(g.profileTop), bottom = float(g.profileBottom);
    for (int i = 0; i <= m_work.lastPoint && i < kMaxProfilePoints; ++i) {
        left = std::min({left, g.upperView[size_t(i)].x, g.lowerView[size_t(i)].x});
        right = std::max({right, g.upperView[size_t(i)].x, g.lowerView[size_t(i)].x});
    }
    if (m_view.checkBox2Axes) {
        // The chord axis runs 10 mm past both ends; the incidence indicator
        // hangs below the chord line.
        const float m = float(roundPixel(10.0f * g.scale));
        left = std::min(left, g.originXf - m);
        right = std::max(right, float(g.trailingEdgeX) + m);
        if (m_view.upDown7Incidence != 0) {
            const float c = m_work.chord * g.scale * 0.1f;
            const float far = (Trig::tanDeg(m_view.upDown7Incidence) + 1.0f) * c;
            top = std::min({top, g.originYf + c, g.originYf + far, g.originYf - 5.0f * g.scale});
            bottom = std::max({bottom, g.originYf + c, g.originYf + far});
        }
    }
    if (g.pageCount >= 2) {
        const float reach = 20.0f * g.scale + 3.0f * g.scale;
        top = std::min(top, float(g.profileTop) - reach);
        bottom = std::max(bottom, float(g.profileBottom) + reach);
    }
    // Figures, by the circle around their box: a turned figure stays in it.
    for (int i = 0; i <= std::min(m_work.lastFigure, kMaxFigures - 1); ++i) {
        const ScaledFigureRow &f = m_work.scaledFigures[size_t(i)];
        const float cx = g.originXf + (f[FigX1] + f[FigX2]) / 2;
        const float cy = g.originYf + (f[FigY1] + f[FigY2]) / 2;
        const float r = std::hypot(f[FigX2] - f[FigX1], f[FigY2] - f[FigY1]) / 2;
        left = std::min(left, cx - r);
        right = std::max(right, cx + r);
        top = std::min(top, cy - r);
        bottom = std::max(bottom, cy + r);
    }
    // Point markers and pen widths stick out a little.
    const float pad = 6;
    const QRectF box(QPointF(left - pad, top - pad), QPointF(right + pad, bottom + pad));
    return box.toAlignedRect();
}

QRect TemplateDrawing::checkBarBounds() const
{
    const ViewGeometry &g = m_geom;
    const int above = roundPixel(kCheckBarAboveMm * g.scale);
    const int below = roundPixel(kCheckBarBelowMm * g.scale);
    const int length = roundPixel(kCheckBarMm * g.scale);
    const int pen = std::max(1, roundPixel(0.2f * g.scale));
    return QRect(QPoint(g.checkBarX - pen, g.checkBarY - above),
                 QPoint(g.checkBarX + length + pen, g.checkBarY + below));
}

// Under the template when the sheet has room there, else above it (below
// the titles); a template that fills the sheet both ways (only possible
// with a hand-edited database) gets the bar at the foot of the sheet.
void TemplateDrawing::placeCheckBar()
{
    ViewGeometry &g = m_geom;
    const float s = g.scale > 0 ? g.scale : 1;
    const QRect t = templateBounds();
    const float sheetHeight = PrintPages::sheetHeight(g.portrait);
    const float lowest = sheetHeight - kBottomStripMm - kCheckBarBelowMm;
    const float underMm = float(t.bottom()) / s + kBarGapMm + kCheckBarAboveMm;
    const float overMm = float(t.top()) / s - kBarGapMm - kCheckBarBelowMm;
    float lineMm = lowest;
    if (underMm <= lowest)
        lineMm = underMm;
    else if (overMm - kCheckBarAboveMm >= kTitleStripMm)
        lineMm = overMm;
    g.checkBarX = roundPixel(kBarLeftMm * s);
    g.checkBarY = roundPixel(lineMm * s);
}

void TemplateDrawing::drawCheckBar(QPainter &p)
{
    const ViewGeometry &g = m_geom;
    p.save();
    const int width = std::max(1, roundPixel(0.2f * g.scale));
    QPen pen(DrawingColours::outline, width);
    pen.setCapStyle(Qt::FlatCap);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    const int x0 = g.checkBarX, y = g.checkBarY;
    // Places on the device's pixels: the page is drawn in them, possibly
    // shifted; a scaled painter gets the exact places.
    const QTransform toDevice = p.deviceTransform();
    const bool onPixels = toDevice.type() <= QTransform::TxTranslate;
    const qreal shift = onPixels ? toDevice.dx() : 0;
    const qreal end = x0 + kCheckBarMm * g.scale;
    // The bar's right end on a pixel's edge, as near 100 mm as they allow.
    p.drawLine(QLineF(x0, y, onPixels ? std::round(end + shift) - shift : end, y));
    // A tick every 10 mm, longer at both ends and in the middle, each
    // centred on its place, the end ones on the bar's ends. They rise from
    // the bar's top edge, so that the bar's own ink stays 100 mm long.
    for (int k = 0; k <= 10; ++k) {
        const float tall = (k % 5 == 0) ? kCheckBarAboveMm : 3.0f;
        const qreal at = x0 + k * 10.0 * g.scale;
        const TickPlace place = onPixels ? tickPlace(at + shift, width) : TickPlace{at + shift, width};
        pen.setWidth(place.width);
        p.setPen(pen);
        p.drawLine(QLineF(place.x - shift, y - width / 2.0, place.x - shift,
                          y - roundPixel(tall * g.scale)));
    }
    pen.setWidth(width);
    p.setPen(pen);
    const QString label = checkBarLabel();
    const QFontMetrics metrics = p.fontMetrics();
    const int labelX =
        x0 + roundPixel(kCheckBarMm * g.scale / 2) - metrics.horizontalAdvance(label) / 2;
    const int labelTop = y + roundPixel(1.0f * g.scale);
    p.drawText(labelX, labelTop + metrics.ascent(), label);
    p.restore();
}
