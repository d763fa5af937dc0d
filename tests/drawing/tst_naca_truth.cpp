// The drawing checked against sections computed from their formula: the
// thickness caption and the skin offset of the template, at a 200 mm chord.
#include "Naca.h"
#include "ScriptedPrompts.h"

#include "profiles/ProfileStore.h"
#include "render/TemplateDrawing.h"

#include <QTest>

#include <cmath>

namespace
{

// Distance from q to the segment a-b.
double segmentDistance(FPoint q, FPoint a, FPoint b)
{
    const double vx = b.x - a.x, vy = b.y - a.y;
    const double wx = q.x - a.x, wy = q.y - a.y;
    const double len2 = vx * vx + vy * vy;
    double t = len2 > 0 ? (wx * vx + wy * vy) / len2 : 0;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(wx - t * vx, wy - t * vy);
}

// Distance from q to the closed outline of the section in view pixels.
double outlineDistance(FPoint q, const ViewGeometry &g, int last)
{
    double best = 1e30;
    for (int i = 0; i < last; ++i) {
        best = std::min(best, segmentDistance(q, g.upperView[i], g.upperView[i + 1]));
        best = std::min(best, segmentDistance(q, g.lowerView[i], g.lowerView[i + 1]));
    }
    return best;
}

// The largest thickness of a symmetric four-digit section, from its formula.
double trueThicknessPercent(double t)
{
    double best = 0;
    for (int i = 0; i <= 100000; ++i)
        best = std::max(best, 2 * Naca::halfThickness(t, i / 100000.0));
    return best * 100;
}

} // namespace

class TstNacaTruth : public QObject
{
    Q_OBJECT
private slots:
    void section_data();
    void section();
};

void TstNacaTruth::section_data()
{
    QTest::addColumn<QString>("digits");
    QTest::addColumn<int>("stations");
    QTest::addColumn<int>("skin");
    QTest::addColumn<int>("zoom");
    // A 804-pixel drawing area: 3, 5, 6, 10 and 13 px/mm over the zooms.
    for (int zoom = 0; zoom <= 4; ++zoom)
        QTest::addRow("0012, 41 stations, 15/10, zoom %d", zoom) << "0012" << 41 << 15 << zoom;
    QTest::newRow("0012, 81 stations, 10/10, zoom 2") << "0012" << 81 << 10 << 2;
    QTest::newRow("0009, 41 stations, 8/10, zoom 1") << "0009" << 41 << 8 << 1;
    QTest::newRow("0018, 61 stations, 30/10, zoom 3") << "0018" << 61 << 30 << 3;
}

void TstNacaTruth::section()
{
    QFETCH(QString, digits);
    QFETCH(int, stations);
    QFETCH(int, skin);
    QFETCH(int, zoom);
    ScriptedPrompts prompts;
    ProfileStore store;
    const int p = store.AddProfile(QStringLiteral("NACA ") + digits);
    for (const QString &l : Naca::pointLines(Naca::fourDigit(digits, stations)))
        store.AddPointLine(p, l);
    store.AddTemplate(p, QStringLiteral("GABARIT 200;%1;").arg(skin));
    TemplateDrawing drawing(&store);
    drawing.SelectProfile(p, 0);
    for (int z = 0; z < zoom; ++z)
        drawing.zoomIn();
    QVERIFY(drawing.layoutScreen({804, 324, 0}));
    QVERIFY(drawing.render());
    const ViewGeometry &g = drawing.geometry();
    const float scale = g.scale;
    const float chordPixels = 200 * scale;

    // The thickness caption: the scan samples every 4 pixels, so it may miss
    // the crest by 2 pixels on either side; the points carry 0.01 % of chord.
    const double truth = trueThicknessPercent(digits.mid(2).toInt() / 100.0);
    const double measured = drawing.relativeThickness();
    const double samplingError = 100.0 * 4 / chordPixels;
    QVERIFY2(std::fabs(measured - truth) <= 0.02 + samplingError * 0.1,
             qPrintable(QStringLiteral("measured %1, truth %2").arg(measured).arg(truth)));
    QCOMPARE(drawing.relativeThicknessCaption(),
             QStringLiteral("Epaisseur relative %1 %").arg(measured, 0, 'f', 2));
    // The crest of a four-digit section lies at 30 % of the chord; the
    // thickness is flat there, so the first of nearly equal samples may lie
    // a station away.
    QVERIFY2(std::fabs(drawing.maxThicknessPosition() - 30.0) <= 1.5 + samplingError,
             qPrintable(QString::number(drawing.maxThicknessPosition())));

    // Every template point between the nose and the tail lies one skin from
    // the section's outline, within a tenth of a millimetre.
    const WorkingData &w = drawing.working();
    const OutlineCurves &c = drawing.curves();
    const double d = skin * scale * 0.1;
    const double tolerance = 0.1 * scale;
    int checked = 0;
    double worst = 0;
    for (int i = 1; i < w.lastPoint; ++i) {
        for (FPoint t : {w.upperTemplate[i], w.lowerTemplate[i]}) {
            if (!(roundPixel(c.nose.x) < roundPixel(t.x) && t.x < c.tail.x))
                continue;
            // Inside the section, not outside it.
            QVERIFY(t.y > OutlineCurves::scanHeight(g.upperView.data(), w.lastPoint, t.x));
            QVERIFY(t.y < OutlineCurves::scanHeight(g.lowerView.data(), w.lastPoint, t.x));
            const double off = std::fabs(outlineDistance(t, g, w.lastPoint) - d);
            worst = std::max(worst, off);
            ++checked;
        }
    }
    QVERIFY2(worst <= tolerance,
             qPrintable(QStringLiteral("worst %1 px, allowed %2 px").arg(worst).arg(tolerance)));
    QVERIFY(checked >= stations);
    // The nose and the tail close the outline inside the section.
    QVERIFY(c.nose.x > g.originX && c.nose.x < g.originX + 0.1 * chordPixels);
    QVERIFY(c.tail.x > g.originX + 0.5 * chordPixels && c.tail.x < g.trailingEdgeX);
}

QTEST_MAIN(TstNacaTruth)
#include "tst_naca_truth.moc"
