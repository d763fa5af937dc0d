#include "geometry/Trig.h"

#include <QTest>

#include <cmath>

class TstTrig : public QObject
{
    Q_OBJECT
private slots:
    void tables_data();
    void tables();
    void distance_data();
    void distance();
    void directionAngle_data();
    void directionAngle();
};

void TstTrig::tables_data()
{
    QTest::addColumn<int>("degrees");
    QTest::addColumn<float>("sine");
    QTest::addColumn<float>("cosine");
    QTest::newRow("0") << 0 << 0.0f << 1.0f;
    QTest::newRow("30") << 30 << 0.5f << 0.8660254f;
    QTest::newRow("90") << 90 << 1.0f << 0.0f;
    QTest::newRow("180") << 180 << 0.0f << -1.0f;
    QTest::newRow("270") << 270 << -1.0f << 0.0f;
    QTest::newRow("360 is its own entry") << 360 << 0.0f << 1.0f;
    QTest::newRow("-90 brought up by 360") << -90 << -1.0f << 0.0f;
    QTest::newRow("-45") << -45 << -0.70710677f << 0.70710677f;
    QTest::newRow("450 brought down by 360") << 450 << 1.0f << 0.0f;
    QTest::newRow("-720 twice round") << -720 << 0.0f << 1.0f;
    QTest::newRow("1000") << 1000 << float(std::sin(280 * M_PI / 180))
                          << float(std::cos(280 * M_PI / 180));
}

void TstTrig::tables()
{
    QFETCH(int, degrees);
    QFETCH(float, sine);
    QFETCH(float, cosine);
    QVERIFY(std::fabs(Trig::sinDeg(degrees) - sine) < 1e-6f);
    QVERIFY(std::fabs(Trig::cosDeg(degrees) - cosine) < 1e-6f);
    if (std::fabs(cosine) > 0.1f)
        QVERIFY(std::fabs(Trig::tanDeg(degrees) - sine / cosine) < 1e-5f);
}

void TstTrig::distance_data()
{
    QTest::addColumn<int>("x1");
    QTest::addColumn<int>("y1");
    QTest::addColumn<int>("x2");
    QTest::addColumn<int>("y2");
    QTest::addColumn<int>("expected");
    QTest::newRow("same point") << 5 << 5 << 5 << 5 << 0;
    QTest::newRow("3-4-5") << 0 << 0 << 3 << 4 << 5;
    QTest::newRow("rounded down 1,1") << 0 << 0 << 1 << 1 << 1;
    QTest::newRow("rounded down 10,10") << 0 << 0 << 10 << 10 << 14;
    QTest::newRow("negative direction") << 10 << 10 << -20 << -30 << 50;
    QTest::newRow("just below a square") << 0 << 0 << 11 << 2 << 11; // sqrt(125)
    QTest::newRow("large") << -30000 << -30000 << 30000 << 30000 << 84852;
}

void TstTrig::distance()
{
    QFETCH(int, x1);
    QFETCH(int, y1);
    QFETCH(int, x2);
    QFETCH(int, y2);
    QFETCH(int, expected);
    QCOMPARE(Trig::distance(x1, y1, x2, y2), expected);
    QCOMPARE(Trig::distance(x2, y2, x1, y1), expected);
}

void TstTrig::directionAngle_data()
{
    QTest::addColumn<float>("a");
    QTest::addColumn<float>("b");
    QTest::addColumn<float>("c");
    QTest::addColumn<float>("d");
    QTest::addColumn<int>("expected");
    // Screen coordinates: y grows downwards, angles count with y upwards.
    QTest::newRow("east") << 0.f << 0.f << 10.f << 0.f << 0;
    QTest::newRow("north (screen up)") << 0.f << 0.f << 0.f << -10.f << 90;
    QTest::newRow("south (screen down)") << 0.f << 0.f << 0.f << 10.f << 270;
    QTest::newRow("same point counts as north") << 3.f << 3.f << 3.f << 3.f << 90;
    QTest::newRow("west") << 0.f << 0.f << -10.f << 0.f << 180;
    QTest::newRow("north-east") << 0.f << 0.f << 10.f << -10.f << 45;
    QTest::newRow("south-east is negative") << 0.f << 0.f << 10.f << 10.f << -45;
    QTest::newRow("south-west") << 0.f << 0.f << -10.f << 10.f << 225;
    QTest::newRow("north-west") << 0.f << 0.f << -10.f << -10.f << 135;
    QTest::newRow("almost vertical dx below 0.001") << 0.f << 0.f << 0.0005f << -1.f << 90;
    QTest::newRow("rounded to nearest degree") << 0.f << 0.f << 100.f << -50.f << 27; // 26.57
}

void TstTrig::directionAngle()
{
    QFETCH(float, a);
    QFETCH(float, b);
    QFETCH(float, c);
    QFETCH(float, d);
    QFETCH(int, expected);
    QCOMPARE(Trig::directionAngle(a, b, c, d), expected);
}

QTEST_APPLESS_MAIN(TstTrig)
#include "tst_trig.moc"
