// The room a skin leaves and the cut line, on a section whose answers are
// known by hand: a slab 100 mm long and 10 mm thick (square corners, drawn
// with straight pieces at smoothing 0), where a skin s leaves the rectangle
// from s to 100 - s, and the largest circle inside has a radius of 5 mm.
#include "geometry/Polygons.h"
#include "geometry/RibOutline.h"

#include <QtTest>

namespace
{

WorkingData slab(double halfThickness)
{
    WorkingData wd;
    const float h = float(halfThickness);
    // Stored y is negated: positive below the chord line.
    const FPoint upper[] = {{0, 0}, {0, -h}, {100, -h}, {100, 0}};
    const FPoint lower[] = {{0, 0}, {0, h}, {100, h}, {100, 0}};
    for (int i = 0; i < 4; ++i) {
        wd.upper[size_t(i)] = upper[i];
        wd.lower[size_t(i)] = lower[i];
    }
    wd.lastPoint = 3;
    wd.chord = 100;
    return wd;
}

// Square sections: front (0-40 mm), waist (40-60 mm) and rear (60-100 mm),
// each of a half thickness of its own.
WorkingData stepped(double front, double waist, double rear)
{
    WorkingData wd = slab(0);
    const float f = float(front), w = float(waist), r = float(rear);
    const FPoint upper[] = {{0, 0},   {0, -f},  {40, -f},  {40, -w},
                            {60, -w}, {60, -r}, {100, -r}, {100, 0}};
    for (int i = 0; i < 8; ++i) {
        wd.upper[size_t(i)] = upper[i];
        wd.lower[size_t(i)] = {upper[i].x, -upper[i].y};
    }
    wd.lastPoint = 7;
    return wd;
}

} // namespace

class TstRibOutline : public QObject
{
    Q_OBJECT
private slots:
    void slabs_data()
    {
        QTest::addColumn<double>("half");  // half thickness, mm
        QTest::addColumn<int>("skin");     // tenths
        QTest::addColumn<bool>("refused"); // a sliver or no room
        QTest::addColumn<int>("largest");  // largest skin that fits, refused only
        QTest::newRow("thick: skin 15") << 5.0 << 15 << false << 0;
        QTest::newRow("margin left: skin 49") << 5.0 << 49 << false << 0;
        QTest::newRow("exactly two skins: a sliver") << 5.0 << 50 << true << 49;
        QTest::newRow("thinner than two skins") << 5.0 << 60 << true << 49;
        QTest::newRow("a hair over two skins") << 1.52 << 15 << true << 14;
        QTest::newRow("just enough over two skins") << 1.56 << 15 << false << 0;
    }
    void slabs()
    {
        QFETCH(double, half);
        QFETCH(int, skin);
        QFETCH(bool, refused);
        QFETCH(int, largest);
        WorkingData wd = slab(half);
        wd.skinThickness = float(skin);
        const RibOutline::Room room = RibOutline::room(wd, float(skin), 0);
        QCOMPARE(room.refused, refused);
        QCOMPARE(RibOutline::fits(wd, float(skin), 0), !refused);
        const RibOutline::Cut cut = RibOutline::cutOutline(wd, 100, float(skin), 0);
        QCOMPARE(cut.refused, refused);
        if (refused) {
            QCOMPARE(cut.largestSkin, largest);
            QCOMPARE(RibOutline::largestSkin(wd, 0), largest);
            QVERIFY(cut.ring.isEmpty());
            return;
        }
        const double s = skin * 0.1;
        QVERIFY(std::abs(room.front - s) < 1e-3);
        QVERIFY(std::abs(room.rear - (100 - s)) < 1e-3);
        // The cut line: simple, within the rectangle a skin leaves, reaching
        // its ends; y up, so the slab is symmetric about the chord anyway.
        QVERIFY(Polygons::isSimple(cut.ring));
        const QRectF span = cut.ring.boundingRect();
        QVERIFY2(std::abs(span.left() - s) <= RibOutline::kEndSlack, qPrintable(QString::number(span.left())));
        QVERIFY(std::abs(span.right() - (100 - s)) <= RibOutline::kEndSlack);
        QVERIFY(span.top() >= -(half - s) - RibOutline::kShortfall);
        QVERIFY(span.bottom() <= half - s + RibOutline::kShortfall);
    }

    // A waist too thin for two skins leaves two pieces: the rib is the
    // front one unless it is a sliver. A piece ends where a circle of the
    // skin's radius s touches the waist's corner, sqrt(s² - w²) from it.
    void pieces_data()
    {
        QTest::addColumn<double>("front"); // half thicknesses, mm
        QTest::addColumn<double>("rear");
        QTest::addColumn<bool>("frontPiece");
        QTest::newRow("thick front") << 5.0 << 5.0 << true;
        QTest::newRow("front just over the sliver margin") << 1.556 << 5.0 << true;
        QTest::newRow("front a sliver: the rear piece") << 1.53 << 5.0 << false;
        QTest::newRow("front a sliver, rear just over") << 1.53 << 1.556 << false;
    }
    void pieces()
    {
        QFETCH(double, front);
        QFETCH(double, rear);
        QFETCH(bool, frontPiece);
        const double s = 1.5, inset = std::sqrt(s * s - 1.0);
        const RibOutline::Room room = RibOutline::room(stepped(front, 1.0, rear), 15, 0);
        QVERIFY(!room.refused);
        const double from = frontPiece ? s : 60 + inset, to = frontPiece ? 40 - inset : 100 - s;
        QVERIFY2(std::abs(room.front - from) < 2e-3 && std::abs(room.rear - to) < 2e-3,
                 qPrintable(QStringLiteral("%1 to %2").arg(room.front).arg(room.rear)));
    }

    // A profile ring pinched to a point comes back as two simple pieces of
    // the same area.
    void pinchedSplit()
    {
        const Polygons::Ring touching({QPointF(0, 0), QPointF(4, 0), QPointF(2, 1), QPointF(4, 2),
                                       QPointF(0, 2), QPointF(2, 1)});
        const Polygons::Shape pieces = Polygons::strictlySimple({touching});
        QCOMPARE(int(pieces.size()), 2);
        double area = 0;
        for (const auto &p : pieces) {
            QVERIFY(Polygons::isSimple(p));
            area += std::abs(Polygons::signedArea(p));
        }
        QVERIFY(std::abs(area - 4.0) < 1e-9);
    }
};

QTEST_MAIN(TstRibOutline)
#include "tst_riboutline.moc"
