// A full screen drawing (512-point profile, template, 32 figures, every
// marker and option shown) at the smallest and largest zoom, and the same
// template on the printer, compared with renders kept in the repository.
// The comparison is pixel for pixel: nothing in the render is antialiased,
// so any moved pixel is a change of output, not noise.
//
// NERVURIA_WRITE_RENDERS=<folder> writes the renders there instead of
// comparing (how the references were made).
#include "Naca.h"
#include "ScriptedPrompts.h"

#include "drawing/FigureEditor.h"
#include "profiles/ProfileStore.h"
#include "render/TemplateDrawing.h"
#include "ui/Language.h"

#include <QDir>
#include <QLocale>
#include <QPainter>
#include <QTest>

class TstFullRender : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        Language::setFrench(true);
        QLocale::setDefault(QLocale::c());
    }
    void fullRender_data();
    void fullRender();
    void laterRendersMatchAFreshDrawing_data();
    void laterRendersMatchAFreshDrawing();
    void paintedThroughAnyPainterTheSame();
};

void TstFullRender::fullRender_data()
{
    QTest::addColumn<QString>("output"); // "screen" or "printer"
    QTest::addColumn<int>("zoom");
    QTest::addColumn<int>("skin");      // tenths of a millimetre
    QTest::addColumn<bool>("options");  // axes, camber and 4 degrees of incidence
    QTest::addColumn<int>("smoothing"); // the smoothing spinner
    QTest::newRow("zoom 0") << "screen" << 0 << 15 << false << 50;
    QTest::newRow("zoom 4") << "screen" << 4 << 15 << false << 50;
    QTest::newRow("zoom 2, axes and camber") << "screen" << 2 << 15 << true << 50;
    // So thick that the outline found from the template points strays and a
    // traced one replaces it.
    QTest::newRow("zoom 1, traced outline") << "screen" << 1 << 60 << false << 100;
    QTest::newRow("printer") << "printer" << 0 << 15 << true << 50;
}

void TstFullRender::fullRender()
{
    QFETCH(QString, output);
    QFETCH(int, zoom);
    QFETCH(int, skin);
    QFETCH(bool, options);
    QFETCH(int, smoothing);
    ScriptedPrompts prompts;
    ProfileStore store;
    const int p = store.AddProfile(QStringLiteral("NACA 2412"));
    for (const QString &l : Naca::pointLines(Naca::fourDigit(QStringLiteral("2412"), 512)))
        store.AddPointLine(p, l);
    const int t = store.AddTemplate(p, QStringLiteral("GABARIT 200;%1;").arg(skin));
    for (int i = 0; i < kMaxFigures; ++i) {
        const int x = 50 + i * 55;
        store.AddFigureLine(
            p, t,
            QStringLiteral("FIGURE %1;%2;-40;%3;40;%4;").arg(i % 5).arg(x).arg(x + 40).arg(i * 10));
    }
    TemplateDrawing d(&store);
    FigureEditor figures(d.working(), d.geometry());
    d.setFigureHook([&figures](QPainter &target, int i) { figures.draw(target, i); });
    d.setDisplayOption(TemplateDrawing::DisplayOption::ProfilPoints, true);
    d.setDisplayOption(TemplateDrawing::DisplayOption::GabaritPoints, true);
    d.setDisplayOption(TemplateDrawing::DisplayOption::Axes, options);
    d.setDisplayOption(TemplateDrawing::DisplayOption::Cambrure, options);
    d.SelectProfile(p, t);
    QCOMPARE(d.working().lastPoint, 511);
    if (options)
        d.viewState().upDown7Incidence = 4;
    d.viewState().upDown4Smoothing = smoothing;

    QImage img, again;
    if (output == QLatin1String("screen")) {
        while (d.viewState().zoomLevel < zoom)
            d.zoomIn();
        QVERIFY(d.layoutScreen({1924, 324, 0}) && d.render());
        img = d.image().copy();
        // A second render of the same layout, over the first, and one after
        // a new layout reuse what the first found: they must not differ.
        QVERIFY(d.render());
        again = d.image().copy();
        QVERIFY(d.layoutScreen({1924, 324, 0}) && d.render());
        QCOMPARE(again, img);
        QCOMPARE(d.image(), img);
    } else {
        const PageSetup page{20, 60, 1, true};
        const float scale = float(300 * 0.039370078740157480);
        img = QImage(int(240 * scale), int(120 * scale), QImage::Format_RGB32);
        img.fill(Qt::white);
        QVERIFY(d.layoutPrinter(300, page));
        QPainter painter(&img);
        QVERIFY(d.render(painter));
    }

    const QString name = QStringLiteral("naca2412_%1.png")
                             .arg(QString::fromLatin1(QTest::currentDataTag())
                                      .replace(QLatin1String(", "), QLatin1String("_"))
                                      .replace(QLatin1Char(' '), QLatin1Char('_')));
    const QString writeDir = qEnvironmentVariable("NERVURIA_WRITE_RENDERS");
    if (!writeDir.isEmpty()) {
        QVERIFY(img.save(QDir(writeDir).filePath(name)));
        return;
    }
    const QImage reference(QStringLiteral(NERVURIA_SOURCE_DIR "/tests/drawing/data/full_renders/") +
                           name);
    QVERIFY2(!reference.isNull(), qPrintable(name));
    QCOMPARE(img.size(), reference.size());
    const QImage a = img.convertToFormat(QImage::Format_RGB32);
    const QImage b = reference.convertToFormat(QImage::Format_RGB32);
    int differing = 0;
    QPoint first(-1, -1);
    for (int y = 0; y < a.height(); ++y) {
        const auto *ra = reinterpret_cast<const QRgb *>(a.constScanLine(y));
        const auto *rb = reinterpret_cast<const QRgb *>(b.constScanLine(y));
        for (int x = 0; x < a.width(); ++x) {
            if (ra[x] != rb[x]) {
                if (differing++ == 0)
                    first = QPoint(x, y);
            }
        }
    }
    if (differing) {
        a.save(QDir::temp().filePath(name));
        QFAIL(qPrintable(QStringLiteral("%1: %2 pixels differ, the first at (%3, %4); render "
                                        "saved in %5")
                             .arg(name)
                             .arg(differing)
                             .arg(first.x())
                             .arg(first.y())
                             .arg(QDir::tempPath())));
    }
}

namespace
{

// What a screen render depends on, as the drawing window changes it.
struct View {
    int profile = 0; // 0: NACA 2412 with a template of 32 figures; 1: NACA 0012
    int zoom = 0;
    int smoothing = 50;
    bool points = true;
    int areaWidth = 1924;
    int skin = 15; // tenths of a millimetre
};

struct Scene {
    ProfileStore store;
    TemplateDrawing drawing{&store};
    FigureEditor figures{drawing.working(), drawing.geometry()};
    int templates[2] = {0, 0};

    Scene()
    {
        const QStringList names{"2412", "0012"};
        for (int k = 0; k < 2; ++k) {
            const int p = store.AddProfile(QStringLiteral("NACA ") + names[k]);
            for (const QString &l : Naca::pointLines(Naca::fourDigit(names[k], 512 - 100 * k)))
                store.AddPointLine(p, l);
            templates[k] = store.AddTemplate(p, QStringLiteral("GABARIT %1;15;").arg(200 - 40 * k));
            for (int i = 0; k == 0 && i < kMaxFigures; ++i) {
                const int x = 50 + i * 55;
                store.AddFigureLine(p, templates[k],
                                    QStringLiteral("FIGURE %1;%2;-40;%3;40;%4;")
                                        .arg(i % 5)
                                        .arg(x)
                                        .arg(x + 40)
                                        .arg(i * 10));
            }
        }
        drawing.setFigureHook([this](QPainter &target, int i) { figures.draw(target, i); });
    }

    QImage render(const View &v)
    {
        if (store.currentProfile != v.profile)
            drawing.SelectProfile(v.profile, templates[v.profile]);
        while (drawing.viewState().zoomLevel < v.zoom)
            drawing.zoomIn();
        while (drawing.viewState().zoomLevel > v.zoom)
            drawing.zoomOut();
        drawing.viewState().upDown4Smoothing = v.smoothing;
        drawing.setDisplayOption(TemplateDrawing::DisplayOption::ProfilPoints, v.points);
        drawing.setDisplayOption(TemplateDrawing::DisplayOption::GabaritPoints, v.points);
        drawing.working().skinThickness = float(v.skin);
        if (!drawing.layoutScreen({v.areaWidth, 324, 0}) || !drawing.render())
            return QImage();
        return drawing.image().copy();
    }
};

} // namespace

Q_DECLARE_METATYPE(View)

// A drawing keeps what it built for the last render (outlines, grid,
// labels) and reuses the image: whatever it drew before, the next render
// must be the one a new drawing makes of the same view.
void TstFullRender::laterRendersMatchAFreshDrawing_data()
{
    using Views = QList<View>;
    QTest::addColumn<Views>("before"); // rendered in turn
    QTest::addColumn<View>("after");
    const View start;
    View zoomed = start;
    zoomed.zoom = 4;
    View smoother = start;
    smoother.smoothing = 90;
    View bare = start;
    bare.points = false;
    View narrow = start;
    narrow.areaWidth = 900;
    View other = start;
    other.profile = 1;
    View thicker = start;
    thicker.skin = 30;
    QTest::newRow("zoom 4 then 0") << Views{zoomed} << start;
    QTest::newRow("zoom 0 then 4") << Views{start} << zoomed;
    QTest::newRow("smoothing stepped") << Views{start} << smoother;
    QTest::newRow("points hidden") << Views{start} << bare;
    QTest::newRow("points shown again") << Views{bare} << start;
    QTest::newRow("window narrowed") << Views{start} << narrow;
    QTest::newRow("skin thickened") << Views{start} << thicker;
    QTest::newRow("another profile") << Views{start} << other;
    QTest::newRow("back from another profile") << Views{other} << start;
    // A drawing keeps the rooms of its last few smoothings, skins and profiles.
    QTest::newRow("smoothing stepped and back") << Views{start, smoother} << start;
    View nearer = start;
    nearer.smoothing = 52;
    QTest::newRow("back after four other rooms, its own forgotten")
        << Views{start, smoother, thicker, other, nearer} << start;
}

void TstFullRender::laterRendersMatchAFreshDrawing()
{
    QFETCH(QList<View>, before);
    QFETCH(View, after);
    ScriptedPrompts prompts;
    Scene reused;
    for (const View &v : before)
        QVERIFY(!reused.render(v).isNull());
    const QImage later = reused.render(after);
    Scene fresh;
    const QImage expected = fresh.render(after);
    QVERIFY(!expected.isNull());
    QCOMPARE(later, expected);
    QCOMPARE(reused.drawing.templateRing(), fresh.drawing.templateRing());
}

// The screen image is written pixel by pixel where that is what the
// painter would draw; a painter with a clip draws everything itself, and
// must give the same picture.
void TstFullRender::paintedThroughAnyPainterTheSame()
{
    ScriptedPrompts prompts;
    Scene scene;
    View view;
    view.zoom = 1;
    const QImage direct = scene.render(view);
    QImage painted(direct.size(), QImage::Format_RGB32);
    painted.fill(Qt::black);
    {
        QPainter painter(&painted);
        painter.setClipRect(painted.rect());
        QVERIFY(scene.drawing.render(painter));
    }
    QCOMPARE(painted, direct);
}

QTEST_MAIN(TstFullRender)
#include "tst_fullrender.moc"
