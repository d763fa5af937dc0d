#include "catalogue/AirfoilPreview.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QPalette>

AirfoilPreview::Colours AirfoilPreview::systemColours()
{
    const QPalette palette = QApplication::palette();
    Colours colours;
    colours.background = palette.color(QPalette::Base);
    colours.grid = palette.color(QPalette::Button);
    return colours;
}

void AirfoilPreview::draw(QPainter &painter, int width, int height, const QPoint *points, int count,
                          const Colours &colours)
{
    painter.fillRect(0, 0, width, height, colours.background);
    painter.setRenderHint(QPainter::Antialiasing, false);
    const QFontMetrics metrics = painter.fontMetrics();
    // Labels are placed by their top edge.
    auto label = [&](int x, int top, const QString &text) {
        painter.drawText(x, top + metrics.ascent(), text);
    };

    painter.setPen(QPen(colours.grid, 0));
    for (int y : {kChordY - kStep, kChordY - 2 * kStep, kChordY + kStep})
        painter.drawLine(0, y, width, y);
    painter.setPen(QPen(colours.outline, 0));
    const QString tenth = QStringLiteral("10%");
    label(kLeft, kChordY - kStep - 14, tenth);
    label(kLeft, kChordY + kStep - 14, tenth);
    for (int i = 0; i <= 10; ++i) {
        const int x = kLeft + i * kStep;
        painter.setPen(QPen(colours.grid, 0));
        painter.drawLine(x, 0, x, height);
        const QString text = QString::number(i * 10) + QLatin1Char('%');
        painter.setPen(QPen(colours.outline, 0));
        label(x - metrics.horizontalAdvance(text) / 2, 4, text);
    }

    painter.setPen(QPen(colours.chord, 0));
    painter.drawLine(0, kChordY, width, kChordY);

    if (count > 0) {
        painter.setPen(QPen(colours.outline, 0));
        painter.drawPolyline(points, count + 1);
    }
}

void AirfoilPreview::draw(QImage &image, const QPoint *points, int count, const Colours &colours)
{
    QPainter painter(&image);
    draw(painter, image.width(), image.height(), points, count, colours);
}
