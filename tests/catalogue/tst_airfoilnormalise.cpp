// The repair that keeps the shape: move, turn, scale, and close an open
// trailing edge by bending the rear of the surfaces.
#include "Naca.h"
#include "catalogue/AirfoilFile.h"
#include "catalogue/AirfoilImport.h"
#include "catalogue/AirfoilNormalise.h"
#include "ui/Language.h"

#include <QtTest>

#include <cmath>

namespace
{

// NACA 2412 in the catalogue's order, from the formula (closed trailing
// edge, leading edge at (0, 0)).
QList<QPointF> formula()
{
    const Naca::Section s = Naca::fourDigit("2412", 61);
    QList<QPointF> out;
    for (auto it = s.upper.crbegin(); it != s.upper.crend(); ++it)
        out << QPointF(it->x, it->y);
    for (size_t i = 1; i < s.lower.size(); ++i)
        out << QPointF(s.lower[i].x, s.lower[i].y);
    return out;
}

QList<QPointF> transformed(const QList<QPointF> &points, QPointF shift, double degrees,
                           double scale)
{
    const double a = degrees * M_PI / 180.0;
    QList<QPointF> out;
    for (const QPointF &p : points) {
        const QPointF s = p * scale;
        out << QPointF(s.x() * std::cos(a) - s.y() * std::sin(a),
                       s.x() * std::sin(a) + s.y() * std::cos(a)) +
                   shift;
    }
    return out;
}

// Written out and read back by the catalogue: does its check pass?
QStringList catalogueRemarks(const QList<QPointF> &points)
{
    AirfoilFile file;
    file.readBytes(AirfoilImport::datBytes("T", points));
    file.checkAfterRead();
    return file.messages;
}

double largestDistance(const QList<QPointF> &a, const QList<QPointF> &b)
{
    double d = 0;
    for (qsizetype i = 0; i < a.size(); ++i)
        d = std::max(d, std::hypot(a[i].x() - b[i].x(), a[i].y() - b[i].y()));
    return d;
}

} // namespace

class TestAirfoilNormalise : public QObject
{
    Q_OBJECT
private slots:
    void init() { Language::setFrench(false); }
    void shapeComesBack_data();
    void shapeComesBack();
    void nearlyExactEnds_data();
    void nearlyExactEnds();
    void openTrailingEdge_data();
    void openTrailingEdge();
    void refusals();
};

void TestAirfoilNormalise::shapeComesBack_data()
{
    QTest::addColumn<QPointF>("shift");
    QTest::addColumn<double>("degrees");
    QTest::addColumn<double>("scale");
    QTest::newRow("moved, turned by 2 degrees, scaled by 1.03")
        << QPointF(0.1, -0.05) << 2.0 << 1.03;
    QTest::newRow("turned the other way, half size") << QPointF(0, 0) << -3.0 << 0.5;
    QTest::newRow("millimetres of a 250 mm chord, moved") << QPointF(12, 40) << 0.0 << 250.0;
    QTest::newRow("already in place") << QPointF(0, 0) << 0.0 << 1.0;
}

void TestAirfoilNormalise::shapeComesBack()
{
    QFETCH(QPointF, shift);
    QFETCH(double, degrees);
    QFETCH(double, scale);
    const QList<QPointF> truth = formula();
    const AirfoilNormalise::Result r =
        AirfoilNormalise::normalise(transformed(truth, shift, degrees, scale));
    QVERIFY(r.ok);
    QVERIFY(r.closed);
    QCOMPARE(r.points.size(), truth.size());
    QVERIFY2(largestDistance(r.points, truth) <= 1e-5,
             qPrintable(QString::number(largestDistance(r.points, truth))));
    QVERIFY2(catalogueRemarks(r.points).isEmpty(),
             qPrintable(catalogueRemarks(r.points).join('\n')));
}

void TestAirfoilNormalise::nearlyExactEnds_data()
{
    QTest::addColumn<int>("index"); // 0 first point, -1 last point
    QTest::addColumn<QPointF>("point");
    QTest::newRow("last x 0.999999") << -1 << QPointF(0.999999, 0);
    QTest::newRow("first x 1.00001") << 0 << QPointF(1.00001, 0);
    QTest::newRow("first y 0.00002") << 0 << QPointF(1, 0.00002);
}

void TestAirfoilNormalise::nearlyExactEnds()
{
    QFETCH(int, index);
    QFETCH(QPointF, point);
    QList<QPointF> points = formula();
    points[index < 0 ? points.size() - 1 : index] = point;
    QVERIFY(!catalogueRemarks(points).isEmpty()); // refused as it stands
    const AirfoilNormalise::Result r = AirfoilNormalise::normalise(points);
    QVERIFY(r.ok);
    QVERIFY2(r.largestMove <= 1e-4, qPrintable(QString::number(r.largestMove)));
    QVERIFY(largestDistance(points, r.points) <= 1e-4);
    QVERIFY2(catalogueRemarks(r.points).isEmpty(),
             qPrintable(catalogueRemarks(r.points).join('\n')));
}

void TestAirfoilNormalise::openTrailingEdge_data()
{
    QTest::addColumn<bool>("keepOpen");
    QTest::newRow("closed by bending") << false;
    QTest::newRow("kept open") << true;
}

void TestAirfoilNormalise::openTrailingEdge()
{
    QFETCH(bool, keepOpen);
    // A trailing edge 1 % of the chord thick: each surface's rear opened
    // by half of it, growing from 80 % of the chord.
    QList<QPointF> points = formula();
    const qsizetype last = points.size() - 1;
    const qsizetype leading = last / 2;
    for (qsizetype i = 0; i <= last; ++i) {
        const double x = points[i].x();
        const double open = x > 0.8 ? 0.005 * (x - 0.8) / 0.2 : 0.0;
        points[i].ry() += i < leading ? open : -open;
    }
    const AirfoilNormalise::Result r = AirfoilNormalise::normalise(points, keepOpen);
    QVERIFY(r.ok);
    QVERIFY(std::abs(r.gap - 0.01) < 1e-12);
    QCOMPARE(r.closed, !keepOpen);
    for (qsizetype i = 0; i <= last; ++i) {
        const double moved =
            std::hypot(r.points[i].x() - points[i].x(), r.points[i].y() - points[i].y());
        QVERIFY2(moved <= 0.005 + 1e-12, qPrintable(QString("point %1").arg(i)));
        if (points[i].x() <= 0.8)
            QVERIFY2(moved <= 1e-12, qPrintable(QString("point %1 ahead of 80 %").arg(i)));
    }
    if (keepOpen) {
        QVERIFY(std::abs(r.points.first().y() - r.points.last().y() - 0.01) < 1e-12);
        QVERIFY(!catalogueRemarks(r.points).isEmpty());
    } else {
        QCOMPARE(r.points.first(), QPointF(1, 0));
        QCOMPARE(r.points.last(), QPointF(1, 0));
        QVERIFY(std::abs(r.largestMove - 0.005) < 1e-12);
        QVERIFY2(catalogueRemarks(r.points).isEmpty(),
                 qPrintable(catalogueRemarks(r.points).join('\n')));
    }
}

void TestAirfoilNormalise::refusals()
{
    QVERIFY(!AirfoilNormalise::normalise({QPointF(1, 0), QPointF(0, 0)}).ok);
    const AirfoilNormalise::Result same =
        AirfoilNormalise::normalise({QPointF(1, 0), QPointF(1, 0), QPointF(1, 0)});
    QVERIFY(!same.ok);
    QVERIFY(same.refusal.contains("No leading edge"));
    // Written from the leading edge round to it again: never turned round.
    QList<QPointF> backwards = formula();
    backwards = backwards.mid(60) + backwards.mid(1, 60);
    QCOMPARE(backwards.first(), QPointF(0, 0));
    QCOMPARE(backwards.last(), QPointF(0, 0));
    const AirfoilNormalise::Result turned = AirfoilNormalise::normalise(backwards);
    QVERIFY(!turned.ok);
    QVERIFY(turned.refusal.contains("do not start at the trailing edge"));
}

QTEST_MAIN(TestAirfoilNormalise)
#include "tst_airfoilnormalise.moc"
