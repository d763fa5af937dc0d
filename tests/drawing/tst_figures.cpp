#include "ui/Language.h"
#include "drawing/FigureEditor.h"

#include <QImage>
#include <QPainter>
#include <QTest>

namespace
{

// A figure editor on a hand-made mapping: 4 pixels per millimetre, the
// leading edge at (50, 100).
struct Bench {
    WorkingData work;
    ViewGeometry geom;
    FigureEditor editor{work, geom};

    explicit Bench(float scale = 4)
    {
        geom.scale = scale;
        geom.originX = 50;
        geom.originY = 100;
        geom.originXf = 50;
        geom.originYf = 100;
    }
    int add(int kind, int x1, int y1, int x2, int y2, int angle = 0)
    {
        const int f = ++work.lastFigure;
        work.figures[f] = {kind, x1, y1, x2, y2, angle};
        rescale();
        work.currentFigure = f;
        return f;
    }
    void rescale()
    {
        for (int i = 0; i <= work.lastFigure; ++i)
            for (int c = 0; c < 6; ++c)
                work.scaledFigures[i][c] = work.figures[i][c] * geom.scale * 0.1f;
    }
    // Pixel position of a point in tenths of a millimetre.
    QPoint px(int x, int y) const
    {
        return QPoint(qRound(50 + x * geom.scale * 0.1f), qRound(100 + y * geom.scale * 0.1f));
    }
};

} // namespace

class TestFigures : public QObject
{
    Q_OBJECT
private slots:
    void init() { Language::setFrench(true); }
    void newFigureIsPlacedOnTheClick_data();
    void newFigureIsPlacedOnTheClick();
    void noThirtyThirdFigure();
    void screenPoints();
    void sizeStepsKeepTheCentre_data();
    void sizeStepsKeepTheCentre();
    void centreSteps();
    void lineIgnoresSizeSteps();
    void quarterTurnLowersTheAngle();
    void dragMoveAndLineEnd();
    void priorities_data();
    void priorities();
    void deleteFigures();
    void panelByKind_data();
    void panelByKind();
    void longLineShowsTheLimit();
    void colours_data();
    void colours();
    void halfCircleShowsItsHalf_data();
    void halfCircleShowsItsHalf();
};

void TestFigures::newFigureIsPlacedOnTheClick_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<float>("scale");
    QTest::newRow("rectangle, scale 4") << 0 << 4.0f;
    QTest::newRow("rectangle, scale 3") << 0 << 3.0f;
    QTest::newRow("circle, scale 7") << 2 << 7.0f;
    QTest::newRow("triangle, printer scale") << 4 << 11.811f;
}

void TestFigures::newFigureIsPlacedOnTheClick()
{
    QFETCH(int, kind);
    QFETCH(float, scale);
    Bench b(scale);
    QVERIFY(b.editor.newFigure(FigureEditor::Kind(kind)));
    QVERIFY(b.editor.placing);
    QVERIFY(b.work.figuresChanged);
    const int X = 233, Y = 87;
    b.editor.placeAt(X, Y);
    QVERIFY(!b.editor.placing);
    const FigureRow &f = b.work.figures[0];
    // A 6 mm square centred on the click.
    const int x1 = qRound((X - 50 - 3 * scale) * 10 / scale);
    const int y1 = qRound((Y - 100 - 3 * scale) * 10 / scale);
    QVERIFY(qAbs(f[FigX1] - x1) <= 1);
    QVERIFY(qAbs(f[FigY1] - y1) <= 1);
    QVERIFY(qAbs(f[FigX2] - (x1 + 60)) <= 1);
    QVERIFY(qAbs(f[FigY2] - (y1 + 60)) <= 1);
    QCOMPARE(f[FigKind], kind);
}

void TestFigures::noThirtyThirdFigure()
{
    Bench b;
    for (int i = 0; i < 32; ++i)
        QVERIFY(b.editor.newFigure(FigureEditor::Circle));
    QCOMPARE(b.work.lastFigure, 31);
    QVERIFY(!b.editor.newFigure(FigureEditor::Rectangle));
    QCOMPARE(b.work.lastFigure, 31);
}

void TestFigures::screenPoints()
{
    Bench b(1);
    b.geom.scale = 10; // one pixel per tenth
    // Rectangle at angle 0: mirrored top to bottom, point 0 at (x1, y2).
    b.add(0, 0, 0, 40, 20);
    b.rescale();
    auto pts = b.editor.screenPoints(0);
    QCOMPARE(pts[0], QPoint(50, 120));
    QCOMPARE(pts[2], QPoint(90, 100));
    QCOMPARE(pts[4], pts[0]);
    QCOMPARE(pts[5], QPoint(70, 110));
    // Half circle at angle 90: the diameter lies horizontal.
    b.add(3, 0, 0, 40, 40, 90);
    pts = b.editor.screenPoints(1);
    QCOMPARE(pts[1], QPoint(90, 120));
    QCOMPARE(pts[3], QPoint(50, 120));
    // A line is not turned: its ends are its two points.
    b.add(1, 10, 20, 30, -40, 45);
    pts = b.editor.screenPoints(2);
    QCOMPARE(pts[0], QPoint(60, 120));
    QCOMPARE(pts[2], QPoint(80, 60));
}

void TestFigures::sizeStepsKeepTheCentre_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<QList<int>>("expected"); // x1, y1, x2, y2
    QTest::newRow("0..61 to width 60") << 0 << 60 << 61 << QList<int>{0, 0, 60, 60};
    QTest::newRow("odd width becomes even") << 0 << 61 << 20 << QList<int>{0, 20, 60, 40};
    QTest::newRow("circle takes width as height") << 2 << 30 << 500 << QList<int>{15, 15, 45, 45};
}

void TestFigures::sizeStepsKeepTheCentre()
{
    QFETCH(int, kind);
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(QList<int>, expected);
    Bench b;
    b.add(kind, 0, 0, 61, 61);
    b.editor.boxes.upDown1 = width;
    b.editor.boxes.upDown2 = height;
    b.editor.boxes.upDown3 = 15;
    QVERIFY(b.editor.step(FigureEditor::Size1, true));
    const FigureRow &f = b.work.figures[0];
    QCOMPARE((QList<int>{f[FigX1], f[FigY1], f[FigX2], f[FigY2]}), expected);
    QCOMPARE(f[FigAngle], 15);
    QVERIFY(b.work.figuresChanged);
}

void TestFigures::centreSteps()
{
    Bench b;
    b.add(0, 0, 0, 60, 60);
    QVERIFY(b.editor.step(FigureEditor::CentreX, true));
    QVERIFY(b.editor.step(FigureEditor::CentreY, true)); // up on the screen
    QCOMPARE(b.work.figures[0], (FigureRow{0, 1, -1, 61, 59, 0}));
    b.editor.refreshPanel();
    QCOMPARE(b.editor.boxes.upDown5, 31);
    QCOMPARE(b.editor.boxes.upDown6, -29);
    // Without a current figure nothing happens.
    b.work.currentFigure = -1;
    QVERIFY(!b.editor.step(FigureEditor::CentreX, true));
}

void TestFigures::lineIgnoresSizeSteps()
{
    Bench b;
    b.add(1, 0, 0, 0, 100);
    b.editor.boxes.upDown1 = 300;
    QVERIFY(!b.editor.step(FigureEditor::Size1, true));
    QVERIFY(!b.editor.step(FigureEditor::Angle, true));
    QCOMPARE(b.work.figures[0], (FigureRow{1, 0, 0, 0, 100, 0}));
}

void TestFigures::quarterTurnLowersTheAngle()
{
    Bench b;
    b.add(0, 100, -100, 300, 100, 10);
    const auto pts = b.editor.screenPoints(0);
    const QPoint c = pts[5];
    // Grab a corner, then carry it a quarter turn counter-clockwise (as
    // seen on the screen) around the centre.
    QVERIFY(b.editor.press(pts[1].x(), pts[1].y()));
    QCOMPARE(int(b.editor.dragMode), int(FigureEditor::Rotate));
    const QPoint r = pts[1] - c;
    const QPoint turned = c + QPoint(r.y(), -r.x());
    QVERIFY(b.editor.move(turned.x(), turned.y()));
    QVERIFY(b.editor.release());
    QCOMPARE(b.work.figures[0][FigAngle], 10 - 90);
    QCOMPARE(b.editor.boxes.upDown3, 280);
    QVERIFY(b.work.figuresChanged);
    QCOMPARE(int(b.editor.dragMode), int(FigureEditor::NoDrag));
}

void TestFigures::dragMoveAndLineEnd()
{
    Bench b;
    b.add(2, 100, 100, 200, 200);
    const QPoint c = b.px(150, 150);
    QVERIFY(b.editor.press(c.x() + 3, c.y()));
    QCOMPARE(int(b.editor.dragMode), int(FigureEditor::Move));
    b.editor.move(c.x() + 3 + 8, c.y() - 4); // 2 mm right, 1 mm up
    b.editor.release();
    QCOMPARE(b.work.figures[0], (FigureRow{2, 120, 90, 220, 190, 0}));

    b.add(1, 0, 0, 0, 100);
    const QPoint end = b.px(0, 100);
    QVERIFY(b.editor.press(end.x(), end.y()));
    QCOMPARE(int(b.editor.dragMode), int(FigureEditor::MoveLineEnd));
    QCOMPARE(b.editor.grabbedHandle, 2);
    b.editor.move(end.x() + 40, end.y());
    b.editor.release();
    QCOMPARE(b.work.figures[1], (FigureRow{1, 0, 0, 100, 100, -45})); // the angle follows the ends
}

void TestFigures::priorities_data()
{
    QTest::addColumn<int>("current");
    QTest::addColumn<int>("grabbed");
    QTest::newRow("current keeps priority") << 0 << 0;
    QTest::newRow("highest index among others") << -1 << 2;
    QTest::newRow("other current, highest wins") << 1 << 2;
}

void TestFigures::priorities()
{
    QFETCH(int, current);
    QFETCH(int, grabbed);
    Bench b;
    // Three circles with the same centre, and a rectangle elsewhere.
    b.add(2, 0, 0, 100, 100);
    b.add(0, 500, 500, 600, 600);
    b.add(2, 20, 20, 80, 80);
    b.work.currentFigure = current;
    const QPoint c = b.px(50, 50);
    QVERIFY(b.editor.press(c.x(), c.y()));
    QCOMPARE(b.work.currentFigure, grabbed);
    // A press on nothing changes nothing.
    QVERIFY(!b.editor.press(0, 0));
    QCOMPARE(b.work.currentFigure, grabbed);
    QCOMPARE(int(b.editor.dragMode), int(FigureEditor::NoDrag));
}

void TestFigures::deleteFigures()
{
    Bench b;
    b.add(0, 0, 0, 60, 60);
    b.add(2, 100, 0, 160, 60);
    b.add(1, 0, 0, 0, 60);
    b.work.currentFigure = 1;
    QVERIFY(b.editor.deleteCurrent());
    QCOMPARE(b.work.lastFigure, 1);
    QCOMPARE(b.work.figures[1][FigKind], 1);
    QCOMPARE(b.work.scaledFigures[1][FigY2], 60 * 0.4f);
    QCOMPARE(b.work.currentFigure, 1);
    QVERIFY(b.editor.deleteCurrent());
    QCOMPARE(b.work.currentFigure, 0);
    QVERIFY(b.editor.deleteCurrent());
    QCOMPARE(b.work.lastFigure, -1);
    QCOMPARE(b.work.currentFigure, -1);
    QCOMPARE(b.editor.boxes.label1, QStringLiteral("Largeur"));
    QVERIFY(b.editor.boxes.size2Visible && b.editor.boxes.upDown3Visible);
    QVERIFY(!b.editor.deleteCurrent());
}

void TestFigures::panelByKind_data()
{
    QTest::addColumn<bool>("french");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QList<bool>>("shown"); // UpDown1, size 2, Label3/Edit3, UpDown3
    QTest::newRow("rectangle") << true << 0 << "Largeur" << QList<bool>{true, true, true, true};
    QTest::newRow("line") << true << 1 << "Longueur" << QList<bool>{false, false, true, false};
    QTest::newRow("circle") << true << 2 << "Diamètre" << QList<bool>{true, false, false, false};
    QTest::newRow("half circle") << true << 3 << "Diamètre" << QList<bool>{true, false, true, true};
    QTest::newRow("triangle") << true << 4 << "Largeur" << QList<bool>{true, true, true, true};
    QTest::newRow("rectangle, English")
        << false << 0 << "Width" << QList<bool>{true, true, true, true};
    QTest::newRow("line, English")
        << false << 1 << "Size" << QList<bool>{false, false, true, false};
    QTest::newRow("circle, English")
        << false << 2 << "Diameter" << QList<bool>{true, false, false, false};
}

void TestFigures::panelByKind()
{
    QFETCH(bool, french);
    QFETCH(int, kind);
    QFETCH(QString, label);
    QFETCH(QList<bool>, shown);
    Language::setFrench(french);
    Bench b;
    b.add(kind, -20, -60, 100, 40, 370);
    b.editor.refreshPanel();
    const FigureBoxes &x = b.editor.boxes;
    QCOMPARE(x.label1, label);
    QCOMPARE((QList<bool>{x.upDown1Visible, x.size2Visible, x.angleVisible, x.upDown3Visible}),
             shown);
    QCOMPARE(x.upDown5, 40);
    QCOMPARE(x.upDown6, 10);
    if (kind != 1) {
        QCOMPARE(x.upDown1, 120);
        QCOMPARE(x.upDown2, 100);
    }
    if (kind != 2 && kind != 1)
        QCOMPARE(x.upDown3, 10); // 370 brought into 0..359
}

void TestFigures::longLineShowsTheLimit()
{
    Bench b;
    b.add(1, 0, 0, 1500, 0);
    b.editor.refreshPanel();
    QCOMPARE(b.editor.boxes.upDown1, 1000);
    QCOMPARE(b.work.figures[0][FigX2], 1500);
    QCOMPARE(b.work.figures[0][FigAngle], 0);
}

void TestFigures::colours_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("current");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("screen, current") << 0 << true << QColor(0, 128, 0);
    QTest::newRow("screen, other") << 0 << false << QColor(0, 0, 255);
    QTest::newRow("preview, current") << 1 << true << QColor(0, 0, 255);
    QTest::newRow("printer") << 2 << true << QColor(0, 0, 0);
}

void TestFigures::colours()
{
    QFETCH(int, mode);
    QFETCH(bool, current);
    QFETCH(QColor, colour);
    Bench b;
    b.geom.mode = OutputMode(mode);
    b.add(0, 100, 100, 300, 200);
    b.work.currentFigure = current ? 0 : -1;
    QImage img(200, 200, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    b.editor.draw(p, 0);
    p.end();
    // The middle of the rectangle's top side.
    const QPoint top = b.px(200, 100);
    QCOMPARE(img.pixelColor(top), colour);
    // The silver centre circle on the screen only.
    const QPoint c = b.px(200, 150);
    const QColor ring = img.pixelColor(c.x() - 3, c.y());
    QCOMPARE(ring == QColor(192, 192, 192), mode == 0);
}

void TestFigures::halfCircleShowsItsHalf_data()
{
    QTest::addColumn<int>("angle");
    QTest::addColumn<QPoint>("inked"); // offset from the centre, pixels
    QTest::addColumn<QPoint>("blank");
    QTest::newRow("angle 0: towards smaller x") << 0 << QPoint(-20, 0) << QPoint(20, 0);
    QTest::newRow("angle 90: upper half") << 90 << QPoint(0, -20) << QPoint(0, 20);
}

void TestFigures::halfCircleShowsItsHalf()
{
    QFETCH(int, angle);
    QFETCH(QPoint, inked);
    QFETCH(QPoint, blank);
    Bench b(1);
    b.geom.scale = 10;
    b.add(3, 0, -20, 40, 20, angle);
    b.rescale();
    b.work.currentFigure = -1;
    QImage img(200, 200, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    b.editor.draw(p, 0);
    p.end();
    const QPoint c = b.editor.screenPoints(0)[5];
    auto inkNear = [&](QPoint q) {
        for (int dx = -1; dx <= 1; ++dx)
            for (int dy = -1; dy <= 1; ++dy)
                if (img.pixelColor(q + QPoint(dx, dy)) == QColor(0, 0, 255))
                    return true;
        return false;
    };
    QVERIFY(inkNear(c + inked));
    QVERIFY(!inkNear(c + blank));
}

QTEST_MAIN(TestFigures)
#include "tst_figures.moc"
