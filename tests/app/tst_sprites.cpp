#include "app/sprites/IntroAnimation.h"
#include "app/sprites/MaskedBitmap.h"
#include "app/sprites/TAlbum.h"

#include <QTest>

namespace
{

const QRgb kGrey = qRgb(128, 128, 128);
const QRgb kRed = qRgb(220, 0, 0);
const QRgb kGreen = qRgb(0, 200, 0);
const QRgb kBlue = qRgb(0, 0, 230);
const QRgb kBlack = qRgb(0, 0, 0);
const QRgb kMagenta = qRgb(255, 0, 255);

QImage filled(int w, int h, QRgb colour)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(colour);
    return img;
}

// A 100 x 80 grey scene shown on an image, with a 10 x 10 red toon "R".
struct Scene {
    ImageTarget target{QSize(100, 80)};
    TAlbum album{&target, filled(100, 80, kGrey)};
    TPool *pool = album.CreatePool(3);
    Scene() { album.AddToon("R", filled(10, 10, kRed), 1, 1, 1, 10, 10, 0, kBlack); }
};

QString frames(const QList<int> &list)
{
    QStringList s;
    for (int f : list)
        s << QString::number(f);
    return s.join(' ');
}

} // namespace

class TestSprites : public QObject
{
    Q_OBJECT
private slots:
    void masksAndComposing_data();
    void masksAndComposing();
    void edges_data();
    void edges();
    void layersAndDecors_data();
    void layersAndDecors();
    void frameModes_data();
    void frameModes();
    void turnedAndMirroredToons_data();
    void turnedAndMirroredToons();
    void stepShowsOnlyWhatChanged_data();
    void stepShowsOnlyWhatChanged();
    void smallPlaneFigure_data();
    void smallPlaneFigure();
    void swoopsAlternate();
    void smallPlaneStaysBehindTheClouds();
};

void TestSprites::masksAndComposing_data()
{
    QTest::addColumn<QRgb>("transparent");
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<QList<QPoint>>("probes");
    QTest::addColumn<QList<QRgb>>("expected");
    // The toon is 4 x 4 red with the transparent colour at (1, 1) and black
    // at (2, 2).
    QTest::newRow("black transparent")
        << kBlack << QPoint(10, 10) << QList<QPoint>{{10, 10}, {11, 11}, {12, 12}, {14, 10}}
        << QList<QRgb>{kRed, kMagenta, kGrey, kGrey};
    QTest::newRow("other colour transparent, black opaque")
        << kMagenta << QPoint(10, 10) << QList<QPoint>{{10, 10}, {11, 11}, {12, 12}, {9, 9}}
        << QList<QRgb>{kRed, kGrey, kBlack, kGrey};
    QTest::newRow("cut at the top left")
        << kBlack << QPoint(-2, -2) << QList<QPoint>{{0, 0}, {1, 1}, {2, 2}}
        << QList<QRgb>{kGrey, kRed, kGrey};
    QTest::newRow("cut at the bottom right")
        << kMagenta << QPoint(98, 78) << QList<QPoint>{{98, 78}, {99, 79}, {97, 77}}
        << QList<QRgb>{kRed, kGrey, kGrey};
}

void TestSprites::masksAndComposing()
{
    QFETCH(QRgb, transparent);
    QFETCH(QPoint, at);
    QFETCH(QList<QPoint>, probes);
    QFETCH(QList<QRgb>, expected);
    QImage picture = filled(4, 4, kRed);
    picture.setPixel(1, 1, transparent == kBlack ? kMagenta : transparent);
    picture.setPixel(2, 2, kBlack);
    Scene s;
    s.album.Paint(QRect(0, 0, 100, 80));
    s.album.AddToon("T", picture, 1, 1, 1, 4, 4, 0, transparent);
    QVERIFY(s.pool->PlaceSprite(1, "t")); // names in any case
    s.pool->SetPosition(1, at.x(), at.y());
    s.pool->Step();
    for (int i = 0; i < probes.size(); ++i) {
        QCOMPARE(QColor(s.album.work().pixel(probes[i])), QColor(expected[i]));
        QCOMPARE(QColor(s.target.screen.pixel(probes[i])), QColor(expected[i]));
    }
}

void TestSprites::edges_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QPoint>("start");
    QTest::addColumn<QPointF>("velocity");
    QTest::addColumn<float>("elasticity");
    QTest::addColumn<int>("steps");
    QTest::addColumn<QPoint>("position");
    QTest::addColumn<QPointF>("velocityAfter");
    // A 10 x 10 sprite in 100 x 80: except for a bounce it leaves the scene
    // completely (x < -10, y < -10, x > 100, y > 80) before an edge acts.
    QTest::newRow("left wrap") << 0 << QPoint(5, 30) << QPointF(-4, 0) << 1.f << 4
                               << QPoint(100, 30) << QPointF(-4, 0);
    QTest::newRow("left bounce") << 1 << QPoint(5, 30) << QPointF(-4, 0) << 1.f << 2
                                 << QPoint(0, 30) << QPointF(4, 0);
    QTest::newRow("left stop") << 2 << QPoint(5, 30) << QPointF(-4, 0) << 1.f << 6
                               << QPoint(-11, 30) << QPointF(0, 0);
    QTest::newRow("left none") << 3 << QPoint(5, 30) << QPointF(-4, 0) << 1.f << 6
                               << QPoint(-19, 30) << QPointF(-4, 0);
    // The wrapped sprite is drawn at the bottom at once.
    QTest::newRow("top wrap") << 0 << QPoint(30, 5) << QPointF(0, -4) << 1.f << 4 << QPoint(30, 80)
                              << QPointF(0, -4);
    QTest::newRow("top bounce") << 1 << QPoint(30, 5) << QPointF(0, -4) << 1.f << 2 << QPoint(30, 0)
                                << QPointF(0, 4);
    QTest::newRow("top stop") << 2 << QPoint(30, 5) << QPointF(0, -4) << 1.f << 6 << QPoint(30, -11)
                              << QPointF(0, 0);
    QTest::newRow("top none") << 3 << QPoint(30, 5) << QPointF(0, -4) << 1.f << 6 << QPoint(30, -19)
                              << QPointF(0, -4);
    QTest::newRow("right wrap") << 0 << QPoint(85, 30) << QPointF(4, 0) << 1.f << 4
                                << QPoint(-10, 30) << QPointF(4, 0);
    QTest::newRow("right bounce") << 1 << QPoint(85, 30) << QPointF(4, 0) << 1.f << 2
                                  << QPoint(90, 30) << QPointF(-4, 0);
    QTest::newRow("right stop") << 2 << QPoint(85, 30) << QPointF(4, 0) << 1.f << 6
                                << QPoint(101, 30) << QPointF(0, 0);
    QTest::newRow("right none") << 3 << QPoint(85, 30) << QPointF(4, 0) << 1.f << 6
                                << QPoint(109, 30) << QPointF(4, 0);
    QTest::newRow("bottom wrap") << 0 << QPoint(30, 65) << QPointF(0, 4) << 1.f << 4
                                 << QPoint(30, -10) << QPointF(0, 4);
    QTest::newRow("bottom bounce")
        << 1 << QPoint(30, 65) << QPointF(0, 4) << 1.f << 2 << QPoint(30, 70) << QPointF(0, -4);
    QTest::newRow("bottom stop") << 2 << QPoint(30, 65) << QPointF(0, 4) << 1.f << 6
                                 << QPoint(30, 81) << QPointF(0, 0);
    QTest::newRow("bottom none") << 3 << QPoint(30, 65) << QPointF(0, 4) << 1.f << 6
                                 << QPoint(30, 89) << QPointF(0, 4);
    QTest::newRow("bounce loses energy")
        << 1 << QPoint(85, 30) << QPointF(4, 0) << 0.5f << 2 << QPoint(90, 30) << QPointF(-2, 0);
    QTest::newRow("bounce dies out")
        << 1 << QPoint(85, 30) << QPointF(4, 0) << 0.00001f << 2 << QPoint(90, 30) << QPointF(0, 0);
    QTest::newRow("unknown mode wraps")
        << 7 << QPoint(85, 30) << QPointF(4, 0) << 1.f << 4 << QPoint(-10, 30) << QPointF(4, 0);
    // Out through the corner: only the left edge acts on this step.
    QTest::newRow("corner, left first") << 0 << QPoint(2, 2) << QPointF(-13, -13) << 1.f << 1
                                        << QPoint(100, -11) << QPointF(-13, -13);
}

void TestSprites::edges()
{
    QFETCH(int, mode);
    QFETCH(QPoint, start);
    QFETCH(QPointF, velocity);
    QFETCH(float, elasticity);
    QFETCH(int, steps);
    QFETCH(QPoint, position);
    QFETCH(QPointF, velocityAfter);
    Scene s;
    s.pool->PlaceSprite(1, "R");
    s.pool->SetEdgeModes(1, mode, mode, mode, mode);
    s.pool->SetElasticity(1, elasticity, elasticity, elasticity, elasticity);
    s.pool->SetPosition(1, start.x(), start.y());
    s.pool->SetVelocity(1, float(velocity.x()), float(velocity.y()));
    for (int i = 0; i < steps; ++i)
        s.pool->Step();
    QCOMPARE(QPoint(s.pool->X(1), s.pool->Y(1)), position);
    QCOMPARE(QPointF(s.pool->VelocityX(1), s.pool->VelocityY(1)), velocityAfter);
    QCOMPARE(s.pool->sprite(1)->newRect, QRect(position, QSize(10, 10)));
}

void TestSprites::layersAndDecors_data()
{
    QTest::addColumn<int>("redLayer");
    QTest::addColumn<int>("blueLayer");
    QTest::addColumn<QRgb>("overlap"); // red, blue and the cloud
    QTest::addColumn<QRgb>("redInCloud");
    QTest::addColumn<QRgb>("redInHole");
    // Red is placed first; a sprite joins in front of the first one of an
    // equal or higher layer, so it is drawn behind it.
    QTest::newRow("same layer: first placed on top") << 0 << 0 << kRed << kRed << kRed;
    QTest::newRow("higher layer on top") << 0 << 1 << kBlue << kRed << kRed;
    QTest::newRow("lower layer behind") << 1 << 0 << kRed << kRed << kRed;
    QTest::newRow("red behind the cloud") << -1 << 0 << kBlue << kGreen << kRed;
    QTest::newRow("both behind the cloud") << -1 << -1 << kGreen << kGreen << kRed;
    QTest::newRow("blue behind, red in front") << 0 << -3 << kRed << kRed << kRed;
}

void TestSprites::layersAndDecors()
{
    QFETCH(int, redLayer);
    QFETCH(int, blueLayer);
    QFETCH(QRgb, overlap);
    QFETCH(QRgb, redInCloud);
    QFETCH(QRgb, redInHole);
    Scene s;
    // A green cloud at (40, 30) with a see-through hole at (46, 36).
    QImage cloud = filled(20, 20, kGreen);
    cloud.setPixel(6, 6, kBlack);
    s.album.AddDecor("D", filled(20, 20, kBlue), 0, 0, 20, 20);
    s.album.AddDecor("d", cloud, 40, 30, 20, 20); // replaces the first
    QCOMPARE(s.album.decors().size(), size_t(1));
    s.album.Paint(QRect(0, 0, 100, 80));
    s.album.AddToon("B", filled(10, 10, kBlue), 1, 1, 1, 10, 10, 0, kBlack);
    s.pool->PlaceSprite(1, "R");
    s.pool->SetPosition(1, 45, 35);
    s.pool->SetLayer(1, redLayer);
    s.pool->PlaceSprite(2, "B");
    s.pool->SetPosition(2, 48, 38);
    s.pool->SetLayer(2, blueLayer);
    s.pool->Step();
    QCOMPARE(QColor(s.album.work().pixel(50, 40)), QColor(overlap));
    QCOMPARE(QColor(s.album.work().pixel(45, 35)), QColor(redInCloud));
    QCOMPARE(QColor(s.album.work().pixel(46, 36)), QColor(redInHole));
    QCOMPARE(QColor(s.album.work().pixel(5, 5)), QColor(kGrey)); // the replaced decor is gone
}

void TestSprites::frameModes_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("delay");
    QTest::addColumn<QString>("sequence"); // the frame after each step
    QTest::newRow("forward") << 1 << 1 << "1 2 3 0 1";
    QTest::newRow("forward, two steps a frame") << 1 << 2 << "0 1 1 2 2 3 3 0";
    QTest::newRow("back and forth") << 2 << 1 << "1 2 3 3 2 1 0 0 1";
    QTest::newRow("backward") << 3 << 1 << "3 2 1 0 3";
    QTest::newRow("unknown mode is forward") << 9 << 1 << "1 2 3 0";
    QTest::newRow("delay 0 stands") << 1 << 0 << "0 0 0";
}

void TestSprites::frameModes()
{
    QFETCH(int, mode);
    QFETCH(int, delay);
    QFETCH(QString, sequence);
    // Four 2 x 2 frames cut from a grid with 1-pixel gaps, each its own colour.
    const QRgb colours[4] = {kRed, kGreen, kBlue, kMagenta};
    QImage grid = filled(10, 7, qRgb(9, 9, 9));
    for (int i = 0; i < 4; ++i)
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 2; ++x)
                grid.setPixel(1 + (i % 3) * 3 + x, 1 + (i / 3) * 3 + y, colours[i]);
    Scene s;
    s.album.AddToon("F", grid, 9, 2, 3, 2, 2, 1, kBlack); // 4 pictures, 6 cells: 6 frames
    QCOMPARE(s.album.toon("F")->frameCount(), 6);
    s.album.AddToon("F", grid, 4, 2, 3, 2, 2, 1, kBlack);
    QCOMPARE(s.album.toon("F")->frameCount(), 4);
    s.pool->PlaceSprite(1, "F");
    s.pool->SetPosition(1, 20, 20);
    s.pool->SetFrameDelay(1, delay);
    s.pool->SetAnimationMode(1, mode);
    QList<int> seen;
    const int steps = int(sequence.count(' ')) + 1;
    for (int i = 0; i < steps; ++i) {
        const int shown = s.pool->sprite(1)->frame;
        s.pool->Step();
        QCOMPARE(QColor(s.album.work().pixel(21, 21)), QColor(colours[shown]));
        seen << s.pool->sprite(1)->frame;
    }
    QCOMPARE(frames(seen), sequence);
}

void TestSprites::turnedAndMirroredToons_data()
{
    QTest::addColumn<int>("angle");
    QTest::addColumn<int>("zoom");
    QTest::addColumn<QPoint>("widthHeightPercent"); // of the mirrored copy
    QTest::addColumn<QPoint>("marked");             // where the red pixel ends up
    QTest::addColumn<QPoint>("empty");              // a place left transparent
    // The picture is 9 x 9 grey with a red pixel at (4, 0), above the centre.
    QTest::newRow("as is") << 0 << 100 << QPoint(100, 100) << QPoint(4, 0) << QPoint(-1, -1);
    QTest::newRow("quarter turn clockwise")
        << 90 << 100 << QPoint(100, 100) << QPoint(8, 4) << QPoint(-1, -1);
    QTest::newRow("negative angle")
        << -90 << 100 << QPoint(100, 100) << QPoint(0, 4) << QPoint(-1, -1);
    QTest::newRow("half size") << 0 << 50 << QPoint(100, 100) << QPoint(4, 2) << QPoint(0, 0);
    QTest::newRow("zoom below 5 is 5")
        << 0 << 1 << QPoint(100, 100) << QPoint(-1, -1) << QPoint(3, 4);
    QTest::newRow("mirrored upside down")
        << 0 << 100 << QPoint(100, -100) << QPoint(4, 8) << QPoint(-1, -1);
    QTest::newRow("turned and mirrored left-right")
        << 90 << 100 << QPoint(-100, 100) << QPoint(0, 4) << QPoint(-1, -1);
}

void TestSprites::turnedAndMirroredToons()
{
    QFETCH(int, angle);
    QFETCH(int, zoom);
    QFETCH(QPoint, widthHeightPercent);
    QFETCH(QPoint, marked);
    QFETCH(QPoint, empty);
    QImage picture = filled(9, 9, kGrey);
    picture.setPixel(4, 0, kRed);
    Scene s;
    // Two frames, the second turned by the angle step.
    s.album.AddTurnedToon("T", picture, 2, 0, zoom, zoom, angle - 7, 7, kBlack);
    s.album.AddMirroredToon("M", "T", -1, widthHeightPercent.x(), widthHeightPercent.y());
    s.album.AddMirroredToon("nothing", "no such toon", 0, 100, 100);
    QVERIFY(!s.album.toon("nothing"));
    const auto toon = s.album.toon("M");
    QCOMPARE(toon->frameCount(), 2);
    QCOMPARE(toon->frameWidth, 9);
    s.album.AddMirroredToon("S", "T", 0, -50, 200);
    QCOMPARE(QSize(s.album.toon("S")->frameWidth, s.album.toon("S")->frameHeight), QSize(4, 18));
    const TFrame &f = toon->frames.front(); // the last frame, reversed
    for (int y = 0; y < f.image.height(); ++y) {
        for (int x = 0; x < f.image.width(); ++x) {
            const QPoint p(x, y);
            const QRgb want = p == marked ? kRed : p == empty ? kBlack : kGrey;
            if (p == marked || p == empty || zoom == 100)
                QCOMPARE(QColor(f.image.pixel(p)), QColor(want));
            if (p == empty)
                QCOMPARE(f.mask.pixel(p), 0xFFFFFFFFu); // see-through
        }
    }
}

void TestSprites::stepShowsOnlyWhatChanged_data()
{
    QTest::addColumn<bool>("hide");
    QTest::addColumn<bool>("remove");
    QTest::addColumn<QRect>("shown");   // what reached the screen
    QTest::addColumn<QRgb>("atFirst");  // at the first place, (20, 20)
    QTest::addColumn<QRgb>("atSecond"); // at (35, 32), only in the second place
    QTest::newRow("moving") << false << false << QRect(20, 20, 17, 14) << kGrey << kRed;
    // Hidden: neither erased nor drawn nor shown.
    QTest::newRow("hidden stays drawn") << true << false << QRect() << kRed << kGrey;
    // Removed: the background comes back where it was drawn, also on screen.
    QTest::newRow("removed") << false << true << QRect(20, 20, 10, 10) << kGrey << kGrey;
}

void TestSprites::stepShowsOnlyWhatChanged()
{
    QFETCH(bool, hide);
    QFETCH(bool, remove);
    QFETCH(QRect, shown);
    QFETCH(QRgb, atFirst);
    QFETCH(QRgb, atSecond);
    Scene s;
    s.pool->PlaceSprite(1, "R");
    s.pool->SetPosition(1, 13, 16);
    s.pool->SetVelocity(1, 7, 4);
    s.pool->Step(); // drawn at (20, 20)
    s.target.screen.fill(kMagenta);
    if (hide)
        s.pool->SetVisible(1, false);
    if (remove)
        s.pool->RemoveSprite(1);
    else
        s.pool->Step(); // to (27, 24)
    QCOMPARE(QColor(s.album.work().pixel(20, 20)), QColor(atFirst));
    QCOMPARE(QColor(s.album.work().pixel(35, 32)), QColor(atSecond));
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 100; ++x)
            QCOMPARE(s.target.screen.pixel(x, y),
                     shown.contains(x, y) ? s.album.work().pixel(x, y) : kMagenta);
}

void TestSprites::smallPlaneFigure_data()
{
    QTest::addColumn<int>("state");
    QTest::addColumn<int>("after"); // steps after it left the ellipse
    QTest::newRow("falling") << 2 << 203;
    QTest::newRow("diving") << 3 << 361;
    QTest::newRow("pulling out") << 4 << 419;
    QTest::newRow("flying off") << 5 << 545;
    QTest::newRow("returning") << 6 << 809;
    QTest::newRow("circling again") << 0 << -1;
}

void TestSprites::smallPlaneFigure()
{
    QFETCH(int, state);
    QFETCH(int, after);
    ImageTarget target(QSize(600, 375));
    IntroAnimation scene(&target, QRect(20, 63, 600, 375));
    TPool &pool = scene.pool();
    int step = 0, left = -1, top = 1000, leftX = 0, leftY = 0, returnY = 0;
    while (scene.figureState() != state || left < 0) {
        scene.Step();
        ++step;
        QVERIFY2(step < 5000, "the figure never got there");
        if (step == 1) {
            // Drawn at the nearest pixels of the ellipse point at 269 degrees,
            // (278.5, 277.0) for a 36 x 36 frame.
            const TSprite *plane = pool.sprite(IntroAnimation::SlotSmallPlane);
            QCOMPARE(QPoint(plane->ix, plane->iy), QPoint(279, 277));
        }
        if (left < 0 && scene.figureState() == IntroAnimation::Climbing) {
            left = step;
            leftX = pool.X(IntroAnimation::SlotSmallPlane);
            leftY = pool.Y(IntroAnimation::SlotSmallPlane);
        }
        if (scene.figureState() == IntroAnimation::Climbing ||
            scene.figureState() == IntroAnimation::Falling)
            top = std::min(top, pool.Y(IntroAnimation::SlotSmallPlane));
        if (scene.figureState() == IntroAnimation::Returning)
            returnY = pool.Y(IntroAnimation::SlotSmallPlane);
    }
    QCOMPARE(left, 899);
    QCOMPARE(QPoint(leftX, leftY), QPoint(82, 137));
    if (after > 0) {
        QCOMPARE(step - left, after);
    } else {
        // Back on the ellipse at its bottom, where the return path ends.
        QCOMPARE(returnY, 375 / 3 + 170 - 18);
        scene.Step();
        QVERIFY(std::abs(pool.Y(IntroAnimation::SlotSmallPlane) - returnY) <= 1);
        QVERIFY2(std::abs(top - 38) <= 2, qPrintable(QString::number(top)));
        QCOMPARE(scene.passages(), 0);
    }
}

void TestSprites::swoopsAlternate()
{
    ImageTarget target(QSize(600, 375));
    IntroAnimation scene(&target, QRect(20, 63, 600, 375));
    TPool &pool = scene.pool();
    const int s = IntroAnimation::SlotSwoop;
    QString seen;
    // Both leave near 264 pixels down; the one heading right leaves sooner,
    // 20 pixels past the right side against 200 past the left.
    const int flightSteps[3] = {311, 305, 311};
    for (int flight = 0; flight < 3; ++flight) {
        const TSprite *waiting = pool.sprite(s);
        seen += waiting->toon->name + QString(" (%1, %2) ").arg(pool.X(s)).arg(pool.Y(s));
        // It waits for the 8-second timer, whatever the steps.
        scene.Tick(16);
        QCOMPARE(pool.sprite(s), waiting);
        QCOMPARE(pool.Y(s), -16);
        QVERIFY(!pool.Visible(s));
        scene.ShowSwoop();
        int steps = 0, lastY = 0;
        while (pool.Visible(s)) {
            lastY = pool.Y(s);
            scene.Step();
            QVERIFY(++steps < 1000);
        }
        QVERIFY2(std::abs(steps - flightSteps[flight]) <= 2, qPrintable(QString::number(steps)));
        QVERIFY2(std::abs(lastY - 264) <= 5, qPrintable(QString::number(lastY)));
    }
    QCOMPARE(seen, QStringLiteral("P4 (525, -16) P5 (-75, -16) P4 (525, -16) "));
}

void TestSprites::smallPlaneStaysBehindTheClouds()
{
    ImageTarget target(QSize(600, 375));
    IntroAnimation scene(&target, QRect(20, 63, 600, 375));
    scene.album().Paint(QRect(0, 0, 600, 375));
    TPool &pool = scene.pool();
    const QImage &work = scene.album().work();
    const QImage &pristine = scene.album().pristine();
    int hidden = 0, overCloud = 0;
    // Two laps, the figure and the way back, with the swooping planes.
    for (int step = 0; step < 2600; ++step) {
        if (step % 400 == 0)
            scene.ShowSwoop();
        scene.Step();
        const TSprite *small = pool.sprite(IntroAnimation::SlotSmallPlane);
        for (const TDecor &d : scene.album().decors()) {
            const QRect behind = d.place() & small->newRect;
            for (int y = behind.top(); y <= behind.bottom(); ++y) {
                for (int x = behind.left(); x <= behind.right(); ++x) {
                    bool covered = false;
                    for (int o :
                         {int(IntroAnimation::SlotLargePlane), int(IntroAnimation::SlotSwoop)})
                        covered |= pool.Visible(o) && pool.sprite(o)->newRect.contains(x, y);
                    const QRgb cloud = d.frames.front().mask.pixel(x - d.left, y - d.top);
                    if (covered || cloud != MaskedBitmap::kMaskClear)
                        continue;
                    QCOMPARE(work.pixel(x, y), pristine.pixel(x, y));
                    ++hidden;
                }
            }
        }
        // The large plane flies in front of the clouds.
        const TSprite *large = pool.sprite(IntroAnimation::SlotLargePlane);
        const TFrame &plane = large->toon->frames.front();
        for (const TDecor &d : scene.album().decors()) {
            const QRect over = d.place() & large->newRect;
            for (int y = over.top(); y <= over.bottom(); ++y) {
                for (int x = over.left(); x <= over.right(); ++x) {
                    const QPoint in = QPoint(x - large->ix, y - large->iy);
                    if (plane.mask.pixel(in) != MaskedBitmap::kMaskClear)
                        continue;
                    QCOMPARE(work.pixel(x, y), plane.image.pixel(in));
                    ++overCloud;
                }
            }
        }
    }
    QVERIFY(hidden > 1000);
    QVERIFY(overCloud > 0);
}

QTEST_MAIN(TestSprites)
#include "tst_sprites.moc"
