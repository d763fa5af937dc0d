#include "ScriptedPrompts.h"

#include "profiles/ProfileStore.h"
#include "render/TemplateDrawing.h"
#include "ui/Language.h"

#include <QTest>

namespace
{

// Highest point 6.4 % above the chord, deepest 3.2 % below it.
const QStringList kPoints{"0;0;0;0;", "10;6,4;10;-3,2;", "50;4;50;-2;", "100;0;100;0;"};

struct Fixture {
    ScriptedPrompts prompts;
    ProfileStore store;
    TemplateDrawing drawing{&store};
    explicit Fixture(const QString &templateLine = QStringLiteral("GABARIT 100;2;"),
                     const QStringList &points = kPoints)
    {
        const int p = store.AddProfile(QStringLiteral("A"));
        for (const QString &l : points)
            store.AddPointLine(p, l);
        const int t = store.AddTemplate(p, templateLine);
        store.AddFigureLine(p, t, QStringLiteral("FIGURE 0;500;-60;560;60;0;"));
        drawing.createImage(QSize(392, 316)); // an image 400 wide
        drawing.SelectProfile(p, 0);
    }
    void zoomTo(int level)
    {
        while (drawing.viewState().zoomLevel < level)
            drawing.zoomIn();
    }
};

} // namespace

class TstLayout : public QObject
{
    Q_OBJECT
private slots:
    void init() { Language::setFrench(true); }
    void screenScale_data();
    void screenScale();
    void imageAndOrigin_data();
    void imageAndOrigin();
    void horizontalScrollFollowsWidth();
    void viewPointsAndFigures();
    void paperLayouts_data();
    void paperLayouts();
    void noLayoutWithoutDrawableProfile_data();
    void noLayoutWithoutDrawableProfile();
    void zoomButtons();
    void resizeReturnsToZoom0();
    void helpTopic();
};

void TstLayout::screenScale_data()
{
    QTest::addColumn<int>("areaWidth");
    QTest::addColumn<int>("chord");
    QTest::addColumn<int>("zoom");
    QTest::addColumn<float>("scale");
    QTest::newRow("404 wide, 100 mm: 404/152") << 404 << 100 << 0 << 3.0f;
    QTest::newRow("zoom 4: 404*4/152") << 404 << 100 << 4 << 11.0f;
    QTest::newRow("zoom 1 is 1.5: 404*1.5/252") << 404 << 200 << 1 << 2.0f;
    QTest::newRow("zoom 3 is 3: 404*3/252") << 404 << 200 << 3 << 5.0f;
    QTest::newRow("2.5 rounds to even 2") << 380 << 100 << 0 << 2.0f;
    QTest::newRow("3.5 rounds to even 4") << 532 << 100 << 0 << 4.0f;
    QTest::newRow("narrow area never below 1") << 60 << 100 << 0 << 1.0f;
    QTest::newRow("empty area never below 1") << 0 << 560 << 0 << 1.0f;
}

void TstLayout::screenScale()
{
    QFETCH(int, areaWidth);
    QFETCH(int, chord);
    QFETCH(int, zoom);
    QFETCH(float, scale);
    Fixture f(QStringLiteral("GABARIT %1;2;").arg(chord));
    f.zoomTo(zoom);
    QVERIFY(f.drawing.layoutScreen({areaWidth, 324, 0}));
    QCOMPARE(f.drawing.geometry().scale, scale);
    QCOMPARE(f.drawing.geometry().mode, OutputMode::Screen);
    QCOMPARE(f.drawing.geometry().pointScale, scale * float(chord) * 0.01f);
    // Everything else follows from the scale; render must not fail on it.
    QVERIFY(f.drawing.render());
    QVERIFY(f.drawing.relativeThickness() > 0);
}

void TstLayout::imageAndOrigin_data()
{
    QTest::addColumn<int>("areaWidth");
    QTest::addColumn<int>("areaHeight");
    QTest::addColumn<QSize>("image");
    QTest::addColumn<int>("originY");
    // Scale 3: top 19 px, bottom 10 px, needed height 129; the image fills
    // the area (less 4) and the chord line sits in proportion.
    QTest::newRow("area larger than needed") << 404 << 324 << QSize(400, 320) << 59 * 320 / 129;
    // Scale 1: top 6, bottom 3, needed 109 > 96; width 100 + 100 > 196.
    QTest::newRow("needed larger than area") << 200 << 100 << QSize(200, 109) << 46;
    // Scale 6: top 38, bottom 19, needed 157 < 196.
    QTest::newRow("scale 6") << 912 << 200 << QSize(908, 196) << 78 * 196 / 157;
}

void TstLayout::imageAndOrigin()
{
    QFETCH(int, areaWidth);
    QFETCH(int, areaHeight);
    QFETCH(QSize, image);
    QFETCH(int, originY);
    Fixture f;
    const auto layout = f.drawing.layoutScreen({areaWidth, areaHeight, 0});
    QVERIFY(layout);
    QCOMPARE(layout->imageSize, image);
    QCOMPARE(f.drawing.image().size(), image);
    QCOMPARE(layout->horizontalRange, image.width());
    QCOMPARE(layout->verticalRange, image.height());
    QCOMPARE(f.drawing.geometry().originX, 50);
    QCOMPARE(f.drawing.geometry().originY, originY);
    QVERIFY(f.drawing.geometry().profileTop >= 40);
    QVERIFY(image.height() - f.drawing.geometry().profileBottom >= 60);
}

void TstLayout::horizontalScrollFollowsWidth()
{
    Fixture f;
    auto layout = f.drawing.layoutScreen({404, 324, 100});
    QCOMPARE(layout->horizontalPosition, 100); // 400 * 100 / 400
    f.zoomTo(4);
    layout = f.drawing.layoutScreen({404, 324, 100});
    // Scale 11: chord 1100 px, image 1200 wide; the position keeps its share.
    QCOMPARE(layout->imageSize.width(), 1200);
    QCOMPARE(layout->horizontalPosition, 1200 * 100 / 400);
}

void TstLayout::viewPointsAndFigures()
{
    Fixture f;
    QVERIFY(f.drawing.layoutScreen({404, 324, 0}));
    const ViewGeometry &g = f.drawing.geometry();
    const int oy = g.originY;
    // 3 px/mm, 100 mm: 3 px per percent.
    QCOMPARE(g.upperView[1].x, 80.f);
    QVERIFY(std::fabs(g.upperView[1].y - (float(oy) - 19.2f)) < 1e-4f);
    QCOMPARE(g.lowerView[1].x, 80.f);
    QVERIFY(std::fabs(g.lowerView[1].y - (float(oy) + 9.6f)) < 1e-4f);
    QCOMPARE(g.upperView[3], (FPoint{350, float(oy)}));
    QCOMPARE(g.profileTop, oy - 19);
    QCOMPARE(g.profileBottom, oy + 10);
    QCOMPARE(g.trailingEdgeX, 350);
    const WorkingData &w = f.drawing.working();
    // Skin 10/10 at 3 px/mm.
    QCOMPARE(w.skinOffset, 3.0f);
    QCOMPARE(w.skinOffsetRounded, 3);
    QCOMPARE(w.upperTemplate[0], (FPoint{53, float(oy)}));
    // Figure values in tenths of a millimetre become pixels.
    QCOMPARE(w.scaledFigures[0][FigX1], 150.0f);
    QCOMPARE(w.scaledFigures[0][FigY1], -18.0f);
    QCOMPARE(w.scaledFigures[0][FigX2], 168.0f);
    QCOMPARE(w.scaledFigures[0][FigY2], 18.0f);
}

void TstLayout::paperLayouts_data()
{
    QTest::addColumn<bool>("printer");
    QTest::addColumn<double>("dpi");
    QTest::addColumn<float>("scale");
    QTest::addColumn<QPoint>("origin");
    QTest::newRow("preview: 1 px/mm, origin in mm") << false << 0.0 << 1.0f << QPoint(12, 31);
    QTest::newRow("printer 600 dpi") << true << 600.0 << 23.622047f << QPoint(293, 723);
    QTest::newRow("printer 300 dpi") << true << 300.0 << 11.811024f << QPoint(146, 361);
}

void TstLayout::paperLayouts()
{
    QFETCH(bool, printer);
    QFETCH(double, dpi);
    QFETCH(float, scale);
    QFETCH(QPoint, origin);
    Fixture f;
    QVERIFY(f.drawing.layoutScreen({404, 324, 0}));
    const QSize screenImage = f.drawing.image().size();
    const PageSetup page{12.4f, 30.6f, 2, false};
    QVERIFY(printer ? f.drawing.layoutPrinter(dpi, page) : f.drawing.layoutPreview(page));
    const ViewGeometry &g = f.drawing.geometry();
    QCOMPARE(g.mode, printer ? OutputMode::Printer : OutputMode::Preview);
    QVERIFY(std::fabs(g.scale - scale) < 1e-5f);
    QCOMPARE(QPoint(g.originX, g.originY), origin);
    QCOMPARE(g.pageCount, 2);
    QVERIFY(!g.portrait);
    // The skin offset follows the paper scale.
    QVERIFY(std::fabs(f.drawing.working().skinOffset - scale) < 1e-4f);
    // The screen image is left alone, and the screen render refuses to run
    // until the screen layout switches back.
    QCOMPARE(f.drawing.image().size(), screenImage);
    QVERIFY(!f.drawing.render());
    QVERIFY(f.drawing.layoutScreen({404, 324, 0}));
    QCOMPARE(f.drawing.geometry().mode, OutputMode::Screen);
    QVERIFY(f.drawing.render());
}

void TstLayout::noLayoutWithoutDrawableProfile_data()
{
    QTest::addColumn<QStringList>("points");
    QTest::addColumn<bool>("dataError");
    QTest::newRow("data error") << kPoints << true;
    QTest::newRow("single point") << QStringList{"0;0;0;0;"} << false;
    QTest::newRow("no point") << QStringList{} << false;
}

void TstLayout::noLayoutWithoutDrawableProfile()
{
    QFETCH(QStringList, points);
    QFETCH(bool, dataError);
    Fixture f(QStringLiteral("GABARIT 100;2;"), points);
    f.store.dataError = f.store.dataError || dataError;
    const QImage before = f.drawing.image();
    QVERIFY(!f.drawing.layoutScreen({404, 324, 0}));
    QVERIFY(!f.drawing.layoutPreview({}));
    QVERIFY(!f.drawing.layoutPrinter(600, {}));
    QVERIFY(!f.drawing.render());
    QCOMPARE(f.drawing.image(), before);
}

void TstLayout::zoomButtons()
{
    Fixture f;
    TemplateDrawing &d = f.drawing;
    const ViewState &v = d.viewState();
    QCOMPARE(v.zoomLevel, 0);
    QVERIFY(!v.btZoommoinsEnabled);
    QVERIFY(v.btzoomplusEnabled);
    for (int level = 1; level <= 4; ++level) {
        QCOMPARE(d.zoomIn(), TemplateDrawing::Refresh::LayoutAndRender);
        QCOMPARE(v.zoomLevel, level);
        QVERIFY(v.btZoommoinsEnabled);
        QCOMPARE(v.btzoomplusEnabled, level < 4);
    }
    // The disabled button does nothing.
    QCOMPARE(d.zoomIn(), TemplateDrawing::Refresh::Nothing);
    QCOMPARE(v.zoomLevel, 4);
    for (int level = 3; level >= 0; --level) {
        QCOMPARE(d.zoomOut(), TemplateDrawing::Refresh::LayoutAndRender);
        QCOMPARE(v.zoomLevel, level);
        QVERIFY(v.btzoomplusEnabled);
        QCOMPARE(v.btZoommoinsEnabled, level > 0);
    }
    QCOMPARE(d.zoomOut(), TemplateDrawing::Refresh::Nothing);
    QCOMPARE(v.zoomLevel, 0);
}

void TstLayout::resizeReturnsToZoom0()
{
    Fixture f;
    f.zoomTo(3);
    QCOMPARE(f.drawing.resized(), TemplateDrawing::Refresh::LayoutAndRender);
    QCOMPARE(f.drawing.viewState().zoomLevel, 0);
    QVERIFY(!f.drawing.viewState().btZoommoinsEnabled);
    QVERIFY(f.drawing.viewState().btzoomplusEnabled);
    const auto layout = f.drawing.refresh(f.drawing.resized(), {404, 324, 0});
    QVERIFY(layout);
    QCOMPARE(f.drawing.geometry().scale, 3.0f);

    Fixture single(QStringLiteral("GABARIT 100;2;"), {"0;0;0;0;"});
    QCOMPARE(single.drawing.resized(), TemplateDrawing::Refresh::Nothing);
}

void TstLayout::helpTopic()
{
    Language::setFrench(true);
    QCOMPARE(TemplateDrawing::helpTopic(), QStringLiteral("DESSINGABARITS"));
    Language::setFrench(false);
    QCOMPARE(TemplateDrawing::helpTopic(), QStringLiteral("TEMPLATES"));
}

QTEST_MAIN(TstLayout)
#include "tst_layout.moc"
