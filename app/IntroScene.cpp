#include "app/IntroScene.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>

const QColor IntroScene::kSky(120, 176, 232);

IntroScene::IntroScene(QWidget *parent) : QWidget(parent)
{
    setFixedSize(kWidth, kHeight);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void IntroScene::drawCloud(QPainter &p, const QRectF &box)
{
    // Puffs of white, a little grey underneath.
    QPainterPath cloud;
    cloud.setFillRule(Qt::WindingFill);
    const double w = box.width(), h = box.height();
    const struct {
        double x, y, r;
    } puffs[] = {{0.18, 0.62, 0.20},
                 {0.36, 0.42, 0.26},
                 {0.58, 0.38, 0.30},
                 {0.78, 0.58, 0.22},
                 {0.50, 0.68, 0.24}};
    for (const auto &pf : puffs)
        cloud.addEllipse(QPointF(box.left() + pf.x * w, box.top() + pf.y * h), pf.r * w,
                         pf.r * w * h / w * 1.4);
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(214, 222, 232));
    p.drawPath(cloud.translated(0, 4));
    p.setBrush(Qt::white);
    p.drawPath(cloud);
    p.restore();
}

void IntroScene::drawBanner(QPainter &p, const QRect &box)
{
    // An airfoil outline carrying the program's name.
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath foil;
    const int n = 60;
    const double chord = box.width() * 0.96, x0 = box.left() + box.width() * 0.02;
    const double mid = box.top() + box.height() * 0.62, scale = box.height() * 3.2;
    auto half = [](double x) {
        return 5 * 0.14 *
               (0.2969 * std::sqrt(x) - 0.1260 * x - 0.3516 * x * x + 0.2843 * x * x * x -
                0.1036 * x * x * x * x);
    };
    auto camber = [](double x) {
        return x < 0.4 ? 0.04 / 0.16 * (0.8 * x - x * x) : 0.04 / 0.36 * (0.2 + 0.8 * x - x * x);
    };
    for (int i = 0; i <= n; ++i) {
        const double x = 1.0 - double(i) / n;
        const QPointF pt(x0 + chord * x, mid - scale * (camber(x) + half(x)));
        i == 0 ? foil.moveTo(pt) : foil.lineTo(pt);
    }
    for (int i = 1; i <= n; ++i) {
        const double x = double(i) / n;
        foil.lineTo(x0 + chord * x, mid - scale * (camber(x) - half(x)));
    }
    foil.closeSubpath();
    p.setPen(QPen(QColor(30, 40, 90), 2));
    p.setBrush(QColor(250, 236, 190));
    p.drawPath(foil);
    QFont f(QStringLiteral("Arial"), 22, QFont::Bold);
    f.setLetterSpacing(QFont::AbsoluteSpacing, 6);
    p.setFont(f);
    p.setPen(QColor(30, 40, 90));
    p.drawText(QRect(box.left(), box.top() + 4, box.width() * 2 / 3, box.height() - 8),
               Qt::AlignCenter, QStringLiteral("NERVURIA"));
    p.restore();
}

QImage IntroScene::background()
{
    QImage img(kWidth, kHeight, QImage::Format_RGB32);
    img.fill(kSky);
    QPainter p(&img);
    drawCloud(p, QRectF(60, 40, 200, 78));
    drawCloud(p, QRectF(360, 120, 176, 74));
    drawBanner(p, QRect(7, kHeight - 80, 586, 74));
    return img;
}

void IntroScene::paintEvent(QPaintEvent *)
{
    static const QImage bg = background();
    QPainter p(this);
    p.drawImage(0, 0, bg);
}
