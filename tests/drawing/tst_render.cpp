#include "Naca.h"
#include "ScriptedPrompts.h"

#include "geometry/Trig.h"
#include "profiles/ProfileStore.h"
#include "render/TemplateDrawing.h"
#include "ui/Language.h"

#include <QLocale>
#include <QPainter>
#include <QTest>

#include <cmath>

namespace
{

namespace C = DrawingColours;
const QColor kBlack(0, 0, 0);
const QColor kWhite(255, 255, 255);

// A trapezoid section 20 % thick from 25 % to 75 % of the chord: its
// thickness scan has an exact answer.
const QStringList kTrapezoid{"0;0;0;0;", "25;10;25;-10;", "75;10;75;-10;", "100;0;100;0;"};

struct Fixture {
    ScriptedPrompts prompts;
    ProfileStore store;
    TemplateDrawing drawing{&store};
    // NACA 0012 at 100 mm, skin 10/10 unless told otherwise.
    explicit Fixture(const QString &templateLine = QStringLiteral("GABARIT 100;2;"),
                     QStringList points = {})
    {
        if (points.isEmpty())
            points = Naca::pointLines(Naca::fourDigit(QStringLiteral("0012"), 41));
        const int p = store.AddProfile(QStringLiteral("A"));
        for (const QString &l : points)
            store.AddPointLine(p, l);
        store.AddTemplate(p, templateLine);
        drawing.SelectProfile(p, 0);
    }
    // The 404-pixel area: 3 px/mm for 100 mm, image 400 x 320.
    const QImage &screen(int areaWidth = 404)
    {
        const bool laidOut = drawing.layoutScreen({areaWidth, 324, 0}).has_value();
        const bool rendered = drawing.render();
        Q_ASSERT(laidOut && rendered);
        return drawing.image();
    }
    const ViewGeometry &g() const { return drawing.geometry(); }
};

bool anyPixelNear(const QImage &img, int x, int y, int radius, const QColor &colour)
{
    for (int dy = -radius; dy <= radius; ++dy) {
        for (int dx = -radius; dx <= radius; ++dx) {
            const QPoint p(x + dx, y + dy);
            if (img.rect().contains(p) && img.pixelColor(p) == colour)
                return true;
        }
    }
    return false;
}

int countColour(const QImage &img, const QColor &colour)
{
    int n = 0;
    for (int y = 0; y < img.height(); ++y) {
        for (int x = 0; x < img.width(); ++x)
            n += img.pixelColor(x, y) == colour;
    }
    return n;
}

// Runs of black pixels down one column between two rows.
int blackRuns(const QImage &img, int x, int from, int to)
{
    int runs = 0;
    bool inRun = false;
    for (int y = from; y <= to; ++y) {
        const bool black = img.pixelColor(x, y) == kBlack;
        runs += black && !inRun;
        inRun = black;
    }
    return runs;
}

// Pixels dark enough to be text (the grid colours are all light).
int darkPixels(const QImage &img, const QRect &box)
{
    int n = 0;
    for (int y = box.top(); y <= box.bottom(); ++y) {
        for (int x = box.left(); x <= box.right(); ++x)
            n += img.rect().contains(x, y) && img.pixelColor(x, y).red() < 160;
    }
    return n;
}

} // namespace

class TstRender : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        Language::setFrench(true);
        QLocale::setDefault(QLocale::c());
    }
    void gridAndAxes();
    void gridSteps_data();
    void gridSteps();
    void markers_data();
    void markers();
    void displayOptions_data();
    void displayOptions();
    void templateOutlineFollowsSkin();
    void incidenceIndicator_data();
    void incidenceIndicator();
    void captions_data();
    void captions();
    void preview();
    void printer();
    void pageMarks_data();
    void pageMarks();
    void figureHook();
    void smoothingChangesOnlyTheCurves();
    void degenerateChord_data();
    void degenerateChord();
};

void TstRender::gridAndAxes()
{
    Fixture f;
    const QImage &img = f.screen();
    const int ox = f.g().originX, oy = f.g().originY;
    QCOMPARE(f.g().scale, 3.0f);
    // 4 mm grid: 12 pixels. x = 10 is left of the axes and of every
    // vertical grid line (50 - 12k).
    QCOMPARE(img.pixelColor(10, oy + 12), C::grid);
    QCOMPARE(img.pixelColor(10, oy + 120), C::gridTenth);
    QCOMPARE(img.pixelColor(10, oy - 24), C::grid);
    QCOMPARE(img.pixelColor(10, oy + 6), kWhite);
    QCOMPARE(img.pixelColor(10, oy), C::chordAxis);
    QCOMPARE(img.pixelColor(ox + 12, 200), C::grid);
    QCOMPARE(img.pixelColor(ox + 120, 200), C::gridTenth);
    QCOMPARE(img.pixelColor(ox - 48, 200), C::grid);
    QCOMPARE(img.pixelColor(ox + 6, 200), kWhite);
    // Axes: the chord line 10 mm beyond each end, the verticals at the
    // leading and trailing edges between the profile's top and bottom.
    QCOMPARE(img.pixelColor(ox - 30, oy), C::axes);
    QCOMPARE(img.pixelColor(ox - 31, oy), C::chordAxis);
    QCOMPARE(img.pixelColor(f.g().trailingEdgeX + 30, oy), C::axes);
    QCOMPARE(img.pixelColor(ox, oy - 10), C::axes);
    QCOMPARE(img.pixelColor(f.g().trailingEdgeX, oy + 12), C::axes);
    QCOMPARE(img.pixelColor(ox, f.g().profileTop - 1), C::gridTenth);
    // The trailing edge pixel on the chord line.
    QCOMPARE(f.g().trailingEdgeX, 350);
    QCOMPARE(img.pixelColor(350, oy), kBlack);
    // The camber of a symmetric section lies on the chord line, sampled
    // every 4 pixels from 4 pixels behind the leading edge.
    QCOMPARE(img.pixelColor(ox + 100, oy), C::camber);
    QCOMPARE(img.pixelColor(ox + 102, oy), C::axes);
}

void TstRender::gridSteps_data()
{
    QTest::addColumn<int>("areaWidth");
    QTest::addColumn<int>("step");
    QTest::addColumn<int>("labelEvery"); // pixels between labels
    QTest::newRow("scale 3: 4 mm grid, labels 0, 40, 80") << 404 << 12 << 120;
    QTest::newRow("scale 4: 1 mm grid, labels 0, 10, 20") << 608 << 4 << 40;
    QTest::newRow("scale 11: 1 mm grid") << 1672 << 11 << 110;
}

void TstRender::gridSteps()
{
    QFETCH(int, areaWidth);
    QFETCH(int, step);
    QFETCH(int, labelEvery);
    Fixture f;
    const QImage &img = f.screen(areaWidth);
    const int ox = f.g().originX;
    // Half a step off the horizontal lines, between the profile and the
    // captions.
    const int y = f.g().originY + 10 * step + step / 2;
    QCOMPARE(img.pixelColor(ox + step, y), C::grid);
    QCOMPARE(img.pixelColor(ox + step - 1, y), kWhite);
    QCOMPARE(img.pixelColor(ox + 10 * step, y), C::gridTenth);
    // Labels centred on every tenth line from the origin, at the top.
    for (int k = 0; k < 3; ++k) {
        const int cx = ox + k * labelEvery;
        QVERIFY2(darkPixels(img, QRect(cx - 6, 4, 13, 14)) > 0, qPrintable(QString::number(cx)));
        QCOMPARE(darkPixels(img, QRect(cx + labelEvery / 2 - 2, 4, 5, 14)), 0);
    }
}

void TstRender::markers_data()
{
    QTest::addColumn<bool>("profilePoints");
    QTest::addColumn<bool>("templatePoints");
    QTest::newRow("none") << false << false;
    QTest::newRow("profile points") << true << false;
    QTest::newRow("template points") << false << true;
    QTest::newRow("both") << true << true;
}

void TstRender::markers()
{
    QFETCH(bool, profilePoints);
    QFETCH(bool, templatePoints);
    Fixture f;
    f.drawing.setDisplayOption(TemplateDrawing::DisplayOption::ProfilPoints, profilePoints);
    f.drawing.setDisplayOption(TemplateDrawing::DisplayOption::GabaritPoints, templatePoints);
    const QImage &img = f.screen(808); // 5 px/mm: markers clear of each other
    const FPoint v = f.g().upperView[20];
    const FPoint t = f.drawing.working().upperTemplate[20];
    QCOMPARE(anyPixelNear(img, roundPixel(v.x), roundPixel(v.y), 2, C::profileMarker),
             profilePoints);
    QCOMPARE(anyPixelNear(img, roundPixel(t.x), roundPixel(t.y), 2, C::templateMarker),
             templatePoints);
    // Around the section (the text's edges may hold any grey).
    const QImage band =
        img.copy(0, f.g().profileTop - 5, img.width(), f.g().profileBottom - f.g().profileTop + 10);
    QCOMPARE(countColour(band, C::profileMarker) > 0, profilePoints);
    QCOMPARE(countColour(band, C::templateMarker) > 0, templatePoints);
    // The camber markers are always there: at 25 % of the chord on the
    // chord line of a symmetric section.
    const int x25 = f.g().originX + roundPixel(0.25f * (f.g().upperView[40].x - f.g().originXf));
    QVERIFY(anyPixelNear(img, x25, f.g().originY - 2, 1, C::camberMarker));
}

void TstRender::displayOptions_data()
{
    QTest::addColumn<bool>("axes");
    QTest::addColumn<bool>("camber");
    QTest::newRow("all") << true << true;
    QTest::newRow("no axes") << false << true;
    QTest::newRow("no camber") << true << false;
}

void TstRender::displayOptions()
{
    QFETCH(bool, axes);
    QFETCH(bool, camber);
    Fixture f;
    f.drawing.setDisplayOption(TemplateDrawing::DisplayOption::Axes, axes);
    f.drawing.setDisplayOption(TemplateDrawing::DisplayOption::Cambrure, camber);
    const QImage &img = f.screen();
    const int ox = f.g().originX, oy = f.g().originY;
    QCOMPARE(img.pixelColor(ox - 20, oy), axes ? C::axes : C::chordAxis);
    QCOMPARE(img.pixelColor(ox, oy - 10), axes ? C::axes : C::gridTenth);
    QCOMPARE(img.pixelColor(ox + 100, oy) == C::camber, camber);
    QCOMPARE(countColour(img, C::camber) > 0, camber);
    // The thickness is measured and captioned either way.
    QVERIFY(f.drawing.relativeThickness() > 11.5);
    QVERIFY(darkPixels(img, QRect(20, img.height() - 40, 60, 12)) > 0);
}

void TstRender::templateOutlineFollowsSkin()
{
    Fixture f;
    const QImage &withSkin = f.screen();
    QVERIFY(f.drawing.viewState().checkBox3Visible);
    const int top = f.g().profileTop - 2, bottom = f.g().profileBottom + 2;
    // Mid-chord: profile and template, above and below.
    QCOMPARE(blackRuns(withSkin, 200, top, bottom), 4);

    f.drawing.working().skinThickness = 0;
    const QImage &bare = f.screen();
    QVERIFY(!f.drawing.viewState().checkBox3Visible);
    QCOMPARE(blackRuns(bare, 200, top, bottom), 2);
    // Axes, camber and captions stay.
    QCOMPARE(bare.pixelColor(f.g().originX - 20, f.g().originY), C::axes);
    QVERIFY(countColour(bare, C::camber) > 0);
}

void TstRender::incidenceIndicator_data()
{
    QTest::addColumn<int>("incidence");
    QTest::newRow("0: none") << 0;
    QTest::newRow("45: right end twice as low") << 45;
    QTest::newRow("-10") << -10;
}

void TstRender::incidenceIndicator()
{
    QFETCH(int, incidence);
    Fixture f;
    f.drawing.setIncidence(incidence);
    const QImage &img = f.screen();
    const int ox = f.g().originX, oy = f.g().originY, te = f.g().trailingEdgeX;
    // 10 mm beyond the ends; c = chord/10 = 30 pixels.
    const int left = ox - 30, right = te + 30;
    const bool shown = incidence != 0;
    QCOMPARE(img.pixelColor(left, oy + 15) == C::axes, shown);
    QCOMPARE(img.pixelColor(left, oy + 30) == C::axes, shown);
    if (!shown)
        return;
    const int drop = roundPixel((Trig::tanDeg(incidence) + 1.0f) * 30.0f);
    if (incidence == 45)
        QCOMPARE(drop, 60);
    QCOMPARE(img.pixelColor(right, oy + drop), C::axes);
    QCOMPARE(img.pixelColor(right, oy + drop / 2), C::axes);
    // The sloping side passes half way between its ends.
    QVERIFY(anyPixelNear(img, (left + right) / 2, oy + (30 + drop) / 2, 1, C::axes));
    // The angle is written beside the trailing edge.
    QVERIFY(darkPixels(img, QRect(te, oy + 15, 30, 14)) > 0);
}

void TstRender::captions_data()
{
    QTest::addColumn<bool>("french");
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("thickness");
    QTest::addColumn<QString>("position");
    QTest::newRow("French, point") << true << QLocale::c() << "Epaisseur relative 20.00 %"
                                   << " Epaisseur maxi à 25 % de la corde";
    QTest::newRow("French, comma")
        << true << QLocale(QLocale::French, QLocale::France) << "Epaisseur relative 20,00 %"
        << " Epaisseur maxi à 25 % de la corde";
    QTest::newRow("English") << false << QLocale(QLocale::English, QLocale::UnitedStates)
                             << "Relative thickness 20.00 %"
                             << " Max.thickness at 25 % of chord";
}

void TstRender::captions()
{
    QFETCH(bool, french);
    QFETCH(QLocale, locale);
    QFETCH(QString, thickness);
    QFETCH(QString, position);
    Language::setFrench(french);
    QLocale::setDefault(locale);
    Fixture f(QStringLiteral("GABARIT 100;2;"), kTrapezoid);
    const QImage &img = f.screen();
    // 60 pixels thick from x = 125; the first sample there is at x = 126.
    QCOMPARE(f.drawing.curves().maxThickness, 60.0f);
    QCOMPARE(f.drawing.curves().maxThicknessX, 126.0f);
    QCOMPARE(f.drawing.relativeThicknessCaption(), thickness);
    QCOMPARE(f.drawing.maxThicknessPositionCaption(), position);
    // The arrow under the maximum thickness, and the texts on either side.
    const int h = img.height();
    QCOMPARE(img.pixelColor(126, h - 30), kBlack);
    QCOMPARE(img.pixelColor(126, h - 42), kBlack);
    QCOMPARE(img.pixelColor(123, h - 39), kBlack);
    QCOMPARE(img.pixelColor(129, h - 39), kBlack);
    QVERIFY(darkPixels(img, QRect(20, h - 40, 80, 14)) > 0);
    QVERIFY(darkPixels(img, QRect(131, h - 40, 80, 14)) > 0);
}

void TstRender::preview()
{
    Fixture f;
    f.drawing.setDisplayOption(TemplateDrawing::DisplayOption::ProfilPoints, true);
    f.drawing.setDisplayOption(TemplateDrawing::DisplayOption::GabaritPoints, true);
    QVERIFY(f.drawing.layoutPreview({20, 100, 1, true}));
    QImage page(300, 200, QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter p(&page);
    QVERIFY(f.drawing.render(p));
    p.end();
    // 1 px/mm from (20, 100): axes and camber in their screen colours.
    QCOMPARE(QPoint(f.g().originX, f.g().originY), QPoint(20, 100));
    QCOMPARE(page.pixelColor(12, 100), C::axes);
    QCOMPARE(page.pixelColor(20 + 52, 100), C::camber);
    QVERIFY(anyPixelNear(page, 50, 94, 1, kBlack)); // 6 mm thick at 30 % of the chord
    // No grid, no captions, no markers.
    QCOMPARE(page.pixelColor(5, 5), kWhite);
    QCOMPARE(countColour(page, C::grid) + countColour(page, C::gridTenth), 0);
    QCOMPARE(countColour(page, C::profileMarker) + countColour(page, C::templateMarker), 0);
    QCOMPARE(darkPixels(page, QRect(0, 140, 300, 60)), 0);
    // The screen image stays as it was until the screen layout returns.
    QCOMPARE(f.drawing.image().size(), QSize(8, 1));
}

void TstRender::printer()
{
    Fixture f;
    f.drawing.setDisplayOption(TemplateDrawing::DisplayOption::ProfilPoints, true);
    f.drawing.setDisplayOption(TemplateDrawing::DisplayOption::GabaritPoints, true);
    // 254 dpi: 10 px/mm; the page origin 10 mm in: (100, 100).
    QVERIFY(f.drawing.layoutPrinter(254, {10, 10, 1, true}));
    QCOMPARE(f.g().scale, 10.0f);
    QImage page(1300, 300, QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter p(&page);
    QVERIFY(f.drawing.render(p));
    p.end();
    QCOMPARE(countColour(page, C::axes), 0);
    QCOMPARE(countColour(page, C::camber), 0);
    QCOMPARE(countColour(page, C::profileMarker), 0);
    QCOMPARE(countColour(page, C::templateMarker), 0);
    // Axes black; the camber two pixels high at x = 100 + 4 + 4k.
    QCOMPARE(page.pixelColor(50, 100), kBlack);
    QCOMPARE(page.pixelColor(504, 101), kBlack);
    QCOMPARE(page.pixelColor(502, 101), kWhite);
    // Outlines two pixels wide: the top of the section at 30 % chord.
    const int x = 100 + 300;
    int y = 0;
    while (y < 100 && page.pixelColor(x, y) != kBlack)
        ++y;
    int run = 0;
    while (page.pixelColor(x, y + run) == kBlack)
        ++run;
    QVERIFY2(run >= 2 && run < 6, qPrintable(QString::number(run)));
    // Template markers: black circles of radius 5 around each template knot.
    const FPoint t = f.drawing.working().upperTemplate[20];
    QVERIFY(anyPixelNear(page, roundPixel(t.x) - 5, roundPixel(t.y), 1, kBlack));
    QVERIFY(anyPixelNear(page, roundPixel(t.x) + 5, roundPixel(t.y), 1, kBlack));
}

void TstRender::pageMarks_data()
{
    QTest::addColumn<bool>("printer");
    QTest::addColumn<int>("pages");
    QTest::addColumn<bool>("portrait");
    QTest::addColumn<int>("markX"); // 160 or 260 mm from the origin
    QTest::newRow("preview, one page") << false << 1 << true << 180;
    QTest::newRow("preview, two pages portrait") << false << 2 << true << 180;
    QTest::newRow("preview, two pages landscape") << false << 2 << false << 280;
    QTest::newRow("printer, two pages portrait") << true << 2 << true << 180;
}

void TstRender::pageMarks()
{
    QFETCH(bool, printer);
    QFETCH(int, pages);
    QFETCH(bool, portrait);
    QFETCH(int, markX);
    Fixture f(QStringLiteral("GABARIT 300;2;"));
    const PageSetup setup{20, 100, pages, portrait};
    QVERIFY(printer ? f.drawing.layoutPrinter(25.4, setup) : f.drawing.layoutPreview(setup));
    QImage page(400, 200, QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter p(&page);
    QVERIFY(f.drawing.render(p));
    p.end();
    const QColor colour = printer ? kBlack : C::pageMarks;
    const int top = f.g().profileTop, bottom = f.g().profileBottom;
    const bool shown = pages == 2;
    // A line 20 mm out from the profile with a cross of 3 mm at its end.
    QCOMPARE(page.pixelColor(markX, top - 10) == colour, shown);
    QCOMPARE(page.pixelColor(markX, bottom + 10) == colour, shown);
    QCOMPARE(page.pixelColor(markX + 3, top - 20 + 3) == colour, shown);
    QCOMPARE(page.pixelColor(markX - 3, bottom + 20 - 3) == colour, shown);
    QCOMPARE(page.pixelColor(markX, top - 30), kWhite);
    if (!printer)
        QCOMPARE(countColour(page, C::pageMarks) > 0, shown);
}

void TstRender::figureHook()
{
    Fixture f;
    const int p = 0;
    const int t = f.store.AddTemplate(p, QStringLiteral("GABARIT 100;2;"));
    f.store.AddFigureLine(p, t, QStringLiteral("FIGURE 0;100;-20;200;20;0;"));
    f.store.AddFigureLine(p, t, QStringLiteral("FIGURE 2;300;-20;400;20;0;"));
    QList<int> calls;
    QList<OutputMode> modes;
    f.drawing.setFigureHook([&](QPainter &painter, int figure) {
        calls << figure;
        modes << f.drawing.geometry().mode;
        // Drawn last on screen: over the grid, outlines and captions.
        const auto &s = f.drawing.working().scaledFigures[size_t(figure)];
        painter.setPen(QColor(0, 0, 255));
        painter.drawPoint(f.g().originX + roundPixel(s[FigX1]), f.g().originY);
    });
    f.screen();
    QVERIFY(calls.isEmpty()); // template 0 has no figures

    f.drawing.SelectProfile(p, t);
    const QImage &img = f.screen();
    QCOMPARE(calls, (QList<int>{0, 1}));
    QCOMPARE(img.pixelColor(f.g().originX + 30, f.g().originY), QColor(0, 0, 255));
    QCOMPARE(img.pixelColor(f.g().originX + 90, f.g().originY), QColor(0, 0, 255));

    calls.clear();
    f.drawing.layoutPreview({20, 100, 1, true});
    QImage page(200, 200, QImage::Format_RGB32);
    QPainter painter(&page);
    f.drawing.render(painter);
    QCOMPARE(calls, (QList<int>{0, 1}));
    QCOMPARE(modes.last(), OutputMode::Preview);
}

void TstRender::smoothingChangesOnlyTheCurves()
{
    Fixture f;
    const QImage smooth50 = f.screen();
    QCOMPARE(f.drawing.setSmoothing(0), TemplateDrawing::Refresh::Render);
    f.drawing.refresh(TemplateDrawing::Refresh::Render, {});
    const QImage smooth0 = f.drawing.image();
    QVERIFY(smooth0 != smooth50);
    // The leading edge knot and the axes do not move.
    QCOMPARE(smooth0.pixelColor(f.g().originX, f.g().originY), kBlack);
    QCOMPARE(smooth0.pixelColor(f.g().originX - 20, f.g().originY), C::axes);
}

void TstRender::degenerateChord_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<float>("chord");
    QTest::newRow("chord 0") << "GABARIT 0;2;" << 0.0f;
    QTest::newRow("negative chord") << "GABARIT -100;2;" << -100.0f;
    QTest::newRow("chord making chord + 52 zero") << "GABARIT -52;2;" << -52.0f;
    QTest::newRow("chord below -52") << "GABARIT -60;2;" << -60.0f;
}

void TstRender::degenerateChord()
{
    // Only a hand-edited database holds such chords. The template is refused
    // with its line named, and the profile is drawn alone.
    QFETCH(QString, line);
    QFETCH(float, chord);
    Fixture f(line);
    QCOMPARE(f.prompts.messages.size(), 1);
    QVERIFY2(f.prompts.messages.first().contains(line), qPrintable(f.prompts.messages.first()));
    QCOMPARE(f.store.currentTemplate, -1);
    QVERIFY(!f.store.dataError);
    f.screen();
    QCOMPARE(f.drawing.relativeThicknessCaption(), QStringLiteral("Epaisseur relative 12.00 %"));

    // Forced into the working data, the chord still gives a finite scale of
    // at least 1, and captions of 0 rather than a division by zero.
    f.drawing.working().chord = chord;
    f.screen();
    QVERIFY(std::isfinite(f.g().scale) && f.g().scale >= 1 && f.g().scale < 1000);
    QCOMPARE(f.drawing.relativeThicknessCaption(), QStringLiteral("Epaisseur relative 0.00 %"));
    QCOMPARE(f.drawing.maxThicknessPositionCaption(),
             QStringLiteral(" Epaisseur maxi à 0 % de la corde"));
}

QTEST_MAIN(TstRender)
#include "tst_render.moc"
