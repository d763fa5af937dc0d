#include "catalogue/AirfoilPreview.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QPalette>
#include <QPolygonF>

#include <algorithm>

AirfoilPreview::Colours AirfoilPreview::systemColours()
{
    const QPalette palette = QApplication::palette();
    Colours colours;
    colours.background = palette.color(QPalette::Base);
    colours.grid = palette.color(QPalette::Button);
    return colours;
}

double AirfoilPreview::scaleFor(int width, int height)
{
    return std::max(1.0, std::min(double(width) / kWidth, double(height) / kHeight));
}

void AirfoilPreview::draw(QPainter &painter, int width, int height, const QPointF *points,
                          int count, const Colours &colours)
{
    painter.save();
    painter.fillRect(0, 0, width, height, colours.background);
    const double scale = scaleFor(width, height);
    // The grid and its labels stay sharp: whole pixels, no smoothing.
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    // The labels grow by half as much as the drawing: readable, never crowding
    // the grid.
    QFont font = painter.font();
    if (scale > 1.0) {
        const double grow = 1.0 + (scale - 1.0) / 2.0;
        if (font.pointSizeF() > 0)
            font.setPointSizeF(font.pointSizeF() * grow);
        else
            font.setPixelSize(std::max(1, int(font.pixelSize() * grow)));
        painter.setFont(font);
    }
    const QFontMetrics metrics = painter.fontMetrics();
    auto px = [scale](double design) { return int(std::lround(design * scale)); };
    // Labels are placed by their top edge.
    auto label = [&](int x, int top, const QString &text) {
        painter.drawText(x, top + metrics.ascent(), text);
    };

    const int chordY = px(kChordY);
    painter.setPen(QPen(colours.grid, 0));
    for (int y : {kChordY - kStep, kChordY - 2 * kStep, kChordY + kStep})
        painter.drawLine(0, px(y), width, px(y));
    painter.setPen(QPen(colours.outline, 0));
    const QString tenth = QStringLiteral("10%");
    label(px(kLeft), px(kChordY - kStep - 14), tenth);
    label(px(kLeft), px(kChordY + kStep - 14), tenth);
    for (int i = 0; i <= 10; ++i) {
        const int x = px(kLeft + i * kStep);
        painter.setPen(QPen(colours.grid, 0));
        painter.drawLine(x, 0, x, height);
        const QString text = QString::number(i * 10) + QLatin1Char('%');
        painter.setPen(QPen(colours.outline, 0));
        label(x - metrics.horizontalAdvance(text) / 2, px(4), text);
    }

    painter.setPen(QPen(colours.chord, 0));
    painter.drawLine(0, chordY, width, chordY);

    if (count > 0) {
        // A whole pixel is lit around its centre: half a pixel on, the
        // smoothed outline falls where the grid's sharp lines do.
        QPolygonF outline;
        outline.reserve(count + 1);
        for (int i = 0; i <= count; ++i)
            outline << QPointF(points[i].x() * scale + 0.5, points[i].y() * scale + 0.5);
        painter.setRenderHint(QPainter::Antialiasing, true);
        QPen pen(colours.outline, std::max(1.0, scale));
        pen.setCosmetic(true);
        pen.setJoinStyle(Qt::RoundJoin);
        painter.setPen(pen);
        painter.drawPolyline(outline);
    }
    painter.restore();
}

void AirfoilPreview::draw(QImage &image, const QPointF *points, int count, const Colours &colours)
{
    QPainter painter(&image);
    draw(painter, image.width(), image.height(), points, count, colours);
}

void AirfoilPreview::draw(QImage &image, const QPoint *points, int count, const Colours &colours)
{
    QPolygonF exact;
    exact.reserve(count + 1);
    for (int i = 0; i <= count && count > 0; ++i)
        exact << QPointF(points[i]);
    draw(image, exact.constData(), count, colours);
}
