#include "app/sprites/IntroPictures.h"

#include <QCoreApplication>
#include <QPainter>
#include <QPainterPath>
#include <QVector3D>

#include <cmath>
#include <functional>

namespace
{

const QColor kOutline(28, 32, 60);

// Draws with smooth edges on a clear image, then flattens it for the
// sprites: the edge pixels are blended with the sky they will mostly be
// seen on, the faint ones left out (black, transparent).
QImage flattened(int width, int height, const std::function<void(QPainter &)> &draw)
{
    QImage layer(width, height, QImage::Format_ARGB32_Premultiplied);
    layer.fill(Qt::transparent);
    {
        QPainter p(&layer);
        p.setRenderHint(QPainter::Antialiasing);
        draw(p);
    }
    const QRgb sky = IntroPictures::sky().rgb();
    QImage out(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        const auto *in = reinterpret_cast<const QRgb *>(layer.constScanLine(y));
        auto *o = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const int a = qAlpha(in[x]);
            if (a < 100) {
                o[x] = qRgb(0, 0, 0);
                continue;
            }
            // Premultiplied colour over the sky.
            const int r = qRed(in[x]) + qRed(sky) * (255 - a) / 255;
            const int g = qGreen(in[x]) + qGreen(sky) * (255 - a) / 255;
            const int b = qBlue(in[x]) + qBlue(sky) * (255 - a) / 255;
            o[x] = r + g + b == 0 ? qRgb(1, 1, 1) : qRgb(r, g, b);
        }
    }
    return out;
}

// An airfoil outline, chord along x from the leading edge at `nose`, upper
// surface up; `thickness` and `camber` are fractions of the chord, and the
// heights are stretched by `stretch`.
QPainterPath airfoil(QPointF nose, double chord, double thickness, double camber, bool noseLeft,
                     double stretch = 1.0)
{
    auto half = [thickness](double x) {
        return 5 * thickness *
               (0.2969 * std::sqrt(x) - 0.1260 * x - 0.3516 * x * x + 0.2843 * x * x * x -
                0.1036 * x * x * x * x);
    };
    auto mean = [camber](double x) {
        return x < 0.4 ? camber / 0.16 * (0.8 * x - x * x)
                       : camber / 0.36 * (0.2 + 0.8 * x - x * x);
    };
    const double dir = noseLeft ? 1 : -1;
    QPainterPath path;
    const int n = 40;
    for (int i = 0; i <= n; ++i) {
        const double x = 1.0 - double(i) / n;
        const QPointF pt(nose.x() + dir * chord * x,
                         nose.y() - stretch * chord * (mean(x) + half(x)));
        i == 0 ? path.moveTo(pt) : path.lineTo(pt);
    }
    for (int i = 1; i <= n; ++i) {
        const double x = double(i) / n;
        path.lineTo(nose.x() + dir * chord * x, nose.y() - stretch * chord * (mean(x) - half(x)));
    }
    path.closeSubpath();
    return path;
}

// A cloud of overlapping puffs (centre x, centre y, radius as fractions of
// the picture), lit from the top left.
void drawPuffs(QPainter &p, double w, double h, std::initializer_list<QVector3D> puffs)
{
    QPainterPath cloud;
    cloud.setFillRule(Qt::WindingFill);
    for (const QVector3D &pf : puffs)
        cloud.addEllipse(QPointF(pf.x() * w, pf.y() * h), pf.z() * w, pf.z() * h * 1.55);
    QPainterPath shade;
    shade.setFillRule(Qt::WindingFill);
    for (const QVector3D &pf : puffs)
        shade.addEllipse(QPointF(pf.x() * w - 3, pf.y() * h - 4), pf.z() * w - 2,
                         pf.z() * h * 1.55 - 3);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(196, 206, 222));
    p.drawPath(cloud);
    p.setBrush(QColor(252, 252, 255));
    p.drawPath(shade.intersected(cloud));
}

} // namespace

QColor IntroPictures::sky()
{
    return QColor(166, 202, 240);
}

QImage IntroPictures::banner()
{
    QImage img(586, 74, QImage::Format_RGB32);
    img.fill(sky());
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    // A cambered section right across the banner, its height stretched
    // down to fit, the title on its thick part.
    const QPainterPath foil = airfoil(QPointF(8, 46), 570, 0.12, 0.05, true, 0.55);
    p.setPen(QPen(kOutline, 2));
    p.setBrush(QColor(250, 236, 190));
    p.drawPath(foil);
    // Spar and a few ribs' marks.
    p.setPen(QPen(QColor(150, 130, 100), 1, Qt::DashLine));
    for (const double x : {400.0, 460.0, 520.0})
        p.drawLine(QPointF(x, 30 + (x - 400) / 12), QPointF(x, 46));
    QFont title(QStringLiteral("Arial"), 19, QFont::Bold);
    title.setLetterSpacing(QFont::AbsoluteSpacing, 6);
    p.setFont(title);
    p.setPen(kOutline);
    p.drawText(QRect(50, 12, 300, 32), Qt::AlignCenter, QStringLiteral("NERVURIA"));
    QFont credits(QStringLiteral("Arial"), 8, QFont::Normal, true);
    p.setFont(credits);
    p.setPen(QColor(50, 60, 100));
    p.drawText(QRect(200, 56, 376, 16), Qt::AlignRight | Qt::AlignVCenter,
               QCoreApplication::translate("IntroPictures",
                                          "Gabarits de nervures pour ailes de modèles réduits"));
    return img;
}

QImage IntroPictures::largePlane()
{
    return flattened(135, 77, [](QPainter &p) {
        p.setPen(QPen(kOutline, 1.2));
        // Tail surfaces behind the fuselage.
        QPainterPath fin;
        fin.moveTo(104, 36);
        fin.lineTo(116, 10);
        fin.lineTo(128, 8);
        fin.lineTo(130, 36);
        fin.closeSubpath();
        p.setBrush(QColor(230, 200, 40));
        p.drawPath(fin);
        // Fuselage: round nose, tapering to the tail.
        QPainterPath body;
        body.moveTo(12, 34);
        body.cubicTo(14, 24, 30, 22, 44, 23);
        body.lineTo(100, 32);
        body.lineTo(131, 35);
        body.lineTo(131, 41);
        body.lineTo(96, 46);
        body.cubicTo(70, 52, 30, 52, 16, 47);
        body.cubicTo(10, 44, 10, 38, 12, 34);
        p.setBrush(QColor(200, 44, 40));
        p.drawPath(body);
        // Stripe and cabin window.
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(250, 250, 250));
        QPainterPath stripe;
        stripe.moveTo(40, 38);
        stripe.lineTo(128, 37);
        stripe.lineTo(128, 39);
        stripe.lineTo(40, 42);
        stripe.closeSubpath();
        p.drawPath(stripe);
        p.setPen(QPen(kOutline, 1));
        p.setBrush(QColor(150, 210, 245));
        QPainterPath cabin;
        cabin.moveTo(36, 24);
        cabin.lineTo(56, 25);
        cabin.lineTo(58, 34);
        cabin.lineTo(32, 33);
        cabin.closeSubpath();
        p.drawPath(cabin);
        // High wing seen end-on: its section on top of the cabin.
        p.setBrush(QColor(240, 214, 60));
        p.drawPath(airfoil(QPointF(30, 22), 40, 0.14, 0.04, true));
        // Tailplane section.
        p.drawPath(airfoil(QPointF(106, 34), 24, 0.10, 0.0, true));
        // Wing strut, gear and wheel.
        p.setPen(QPen(kOutline, 1.6));
        p.drawLine(QPointF(44, 46), QPointF(52, 24));
        p.drawLine(QPointF(34, 49), QPointF(30, 64));
        p.drawLine(QPointF(44, 49), QPointF(32, 64));
        p.setPen(QPen(kOutline, 1));
        p.setBrush(QColor(40, 40, 48));
        p.drawEllipse(QPointF(31, 66), 7, 7);
        p.setBrush(QColor(190, 190, 200));
        p.drawEllipse(QPointF(31, 66), 2.5, 2.5);
        // Tail wheel.
        p.setBrush(QColor(40, 40, 48));
        p.drawEllipse(QPointF(124, 46), 3, 3);
        // Spinner and the blur of the propeller.
        p.setBrush(QColor(210, 210, 220));
        p.drawEllipse(QPointF(10, 38), 5, 5);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(120, 120, 130, 150));
        p.drawEllipse(QPointF(6, 38), 3, 24);
    });
}

QImage IntroPictures::frontPlane()
{
    return flattened(150, 80, [](QPainter &p) {
        p.setPen(QPen(kOutline, 1.2));
        // Tailplane and fin, seen over the wing from the front left.
        p.setBrush(QColor(230, 200, 40));
        QPainterPath tail;
        tail.moveTo(58, 30);
        tail.lineTo(104, 27);
        tail.lineTo(104, 31);
        tail.lineTo(58, 34);
        tail.closeSubpath();
        p.drawPath(tail);
        QPainterPath fin;
        fin.moveTo(82, 31);
        fin.lineTo(84, 8);
        fin.lineTo(88, 8);
        fin.lineTo(87, 31);
        fin.closeSubpath();
        p.drawPath(fin);
        // Wings with dihedral; the left one, nearer, a little longer.
        p.setBrush(QColor(240, 214, 60));
        QPainterPath wing;
        wing.moveTo(3, 22);
        wing.lineTo(74, 33);
        wing.lineTo(146, 20);
        wing.lineTo(147, 27);
        wing.lineTo(74, 42);
        wing.lineTo(3, 30);
        wing.closeSubpath();
        p.drawPath(wing);
        // Gear legs and wheels.
        p.setPen(QPen(kOutline, 2));
        p.drawLine(QPointF(68, 50), QPointF(52, 68));
        p.drawLine(QPointF(82, 50), QPointF(98, 68));
        p.setPen(QPen(kOutline, 1));
        p.setBrush(QColor(40, 40, 48));
        p.drawEllipse(QPointF(51, 70), 4, 8);
        p.drawEllipse(QPointF(99, 70), 4, 8);
        // Fuselage, seen nose-on.
        p.setBrush(QColor(200, 44, 40));
        p.drawEllipse(QPointF(75, 42), 15, 15);
        p.setBrush(QColor(150, 210, 245));
        p.drawChord(QRectF(63, 27, 24, 18), 0, 180 * 16);
        // Propeller disc, blades and spinner.
        p.setPen(QPen(QColor(90, 90, 100), 1));
        p.setBrush(QColor(140, 140, 150, 110));
        p.drawEllipse(QPointF(75, 44), 26, 26);
        p.setPen(QPen(kOutline, 3, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(60, 28), QPointF(90, 60));
        p.setPen(QPen(kOutline, 1));
        p.setBrush(QColor(210, 210, 220));
        p.drawEllipse(QPointF(75, 44), 4, 4);
    });
}

QImage IntroPictures::smallPlane()
{
    // Kept within 17 pixels of the centre so that no turn cuts it.
    return flattened(36, 36, [](QPainter &p) {
        p.setPen(QPen(kOutline, 0.8));
        QPainterPath fin;
        fin.moveTo(27, 17);
        fin.lineTo(30, 9);
        fin.lineTo(33, 9);
        fin.lineTo(33.5, 18);
        fin.closeSubpath();
        p.setBrush(QColor(230, 200, 40));
        p.drawPath(fin);
        QPainterPath body;
        body.moveTo(4, 17);
        body.cubicTo(5, 14, 9, 13, 12, 13.5);
        body.lineTo(34, 17);
        body.lineTo(34, 19);
        body.lineTo(24, 21);
        body.cubicTo(16, 23, 9, 23, 6, 21);
        body.cubicTo(4, 20, 3.5, 18, 4, 17);
        p.setBrush(QColor(40, 90, 200));
        p.drawPath(body);
        p.setBrush(QColor(250, 250, 250));
        p.drawPath(airfoil(QPointF(9, 14), 13, 0.16, 0.04, true));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(120, 120, 130, 170));
        p.drawEllipse(QPointF(3, 18), 1.2, 7);
    });
}

QImage IntroPictures::cloud()
{
    return flattened(200, 78, [](QPainter &p) {
        drawPuffs(p, 200, 78,
                  {{0.16f, 0.64f, 0.12f},
                   {0.33f, 0.46f, 0.17f},
                   {0.55f, 0.38f, 0.20f},
                   {0.76f, 0.55f, 0.15f},
                   {0.88f, 0.70f, 0.10f},
                   {0.48f, 0.68f, 0.19f}});
    });
}

QImage IntroPictures::smallCloud()
{
    return flattened(176, 74, [](QPainter &p) {
        drawPuffs(p, 176, 74,
                  {{0.18f, 0.62f, 0.15f},
                   {0.40f, 0.44f, 0.20f},
                   {0.64f, 0.48f, 0.18f},
                   {0.84f, 0.66f, 0.12f},
                   {0.50f, 0.70f, 0.20f}});
    });
}
