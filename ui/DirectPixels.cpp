#include "ui/DirectPixels.h"

#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <QPolygon>

#include <cstdlib>
#include <vector>

namespace
{

// The image to write into, and the pen's pixel value; null when the
// painter must draw the points itself.
QImage *plainImage(QPainter &p, QRgb *value)
{
    QImage *image = DirectPixels::imageUnder(p);
    if (!image)
        return nullptr;
    const QPen &pen = p.pen();
    if (pen.style() != Qt::SolidLine || pen.widthF() > 1.0 ||
        pen.brush().style() != Qt::SolidPattern || !pen.brush().isOpaque())
        return nullptr;
    *value = pen.color().rgba() | 0xff000000u;
    return image;
}

// Pixels of one colour written into an image, those outside it left out.
struct Writer {
    explicit Writer(QImage &image, QRgb value)
        : bits(image.bits()), stride(image.bytesPerLine()), width(image.width()),
          height(image.height()), value(value)
    {
    }
    void write(const QPoint *points, int count, QPoint offset = QPoint()) const
    {
        for (int i = 0; i < count; ++i) {
            const int x = points[i].x() + offset.x(), y = points[i].y() + offset.y();
            if (unsigned(x) < unsigned(width) && unsigned(y) < unsigned(height))
                reinterpret_cast<QRgb *>(bits + y * stride)[x] = value;
        }
    }

    uchar *bits;
    qsizetype stride;
    int width, height;
    QRgb value;
};

} // namespace

QImage *DirectPixels::imageUnder(QPainter &p)
{
    QPaintDevice *device = p.device();
    if (!device || device->devType() != QInternal::Image || !p.paintEngine() ||
        p.paintEngine()->type() != QPaintEngine::Raster)
        return nullptr;
    auto *image = static_cast<QImage *>(device);
    // A shared image would be copied on the first write, away from the
    // pixels the painter draws into.
    if ((image->format() != QImage::Format_RGB32 &&
         image->format() != QImage::Format_ARGB32_Premultiplied) ||
        !image->isDetached())
        return nullptr;
    if (image->devicePixelRatio() != 1.0 || !p.transform().isIdentity() || p.hasClipping() ||
        p.opacity() < 1.0 || p.compositionMode() != QPainter::CompositionMode_SourceOver ||
        p.testRenderHint(QPainter::Antialiasing))
        return nullptr;
    return image;
}

void DirectPixels::drawPoints(QPainter &painter, const QPoint *points, int count)
{
    if (count <= 0)
        return;
    QRgb value = 0;
    if (QImage *image = plainImage(painter, &value))
        Writer(*image, value).write(points, count);
    else
        painter.drawPoints(points, count);
}

void DirectPixels::drawStamps(QPainter &painter, const QPoint *centres, int count,
                              const QPoint *stamp, int stampSize)
{
    if (count <= 0 || stampSize <= 0)
        return;
    QRgb value = 0;
    QImage *image = plainImage(painter, &value);
    if (!image) {
        std::vector<QPoint> pixels;
        pixels.reserve(size_t(count) * size_t(stampSize));
        for (int i = 0; i < count; ++i) {
            for (int k = 0; k < stampSize; ++k)
                pixels.push_back(centres[i] + stamp[k]);
        }
        painter.drawPoints(pixels.data(), int(pixels.size()));
        return;
    }
    const Writer writer(*image, value);
    for (int i = 0; i < count; ++i)
        writer.write(stamp, stampSize, centres[i]);
}

void DirectPixels::drawPolylineWithVertices(QPainter &painter, const QPolygon &points)
{
    const int count = int(points.size());
    if (count == 0)
        return;
    QRgb value = 0;
    QImage *image = plainImage(painter, &value);
    if (!image) {
        if (count > 1)
            painter.drawPolyline(points);
        painter.drawPoints(points);
        return;
    }
    auto longStep = [&](int i) {
        const QPoint d = points[i + 1] - points[i];
        return std::abs(d.x()) > 1 || std::abs(d.y()) > 1;
    };
    for (int i = 0; i + 1 < count;) {
        if (!longStep(i)) {
            ++i;
            continue;
        }
        int end = i + 1;
        while (end + 1 < count && longStep(end))
            ++end;
        painter.drawPolyline(points.constData() + i, end - i + 1);
        i = end;
    }
    Writer(*image, value).write(points.constData(), count);
}
