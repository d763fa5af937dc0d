// The ribs of a wing panel, without widgets: blended airfoils, taper,
// figures carried from root to tip, refusals, storing.
#include "Naca.h"
#include "ScriptedPrompts.h"

#include "hybrid/WingPanel.h"
#include "profiles/ProfileStore.h"
#include "ui/Language.h"

#include <QTest>

#include <cmath>

namespace
{

// A store holding NACA sections, each with the template lines given.
struct Store {
    ScriptedPrompts prompts;
    ProfileStore store;

    void add(const QString &digits, int stations, const QStringList &templateLines)
    {
        const Naca::Section s = Naca::fourDigit(digits, stations);
        const int p = store.AddProfile(s.name);
        for (const QString &l : Naca::pointLines(s))
            store.AddPointLine(p, l);
        int t = -1;
        for (const QString &l : templateLines) {
            if (l.startsWith(QLatin1String("GABARIT")))
                t = store.AddTemplate(p, l);
            else
                store.AddFigureLine(p, t, l);
        }
    }
};

PanelInputs panel(int ribs, double span = 500)
{
    PanelInputs in;
    in.name = QStringLiteral("Aile");
    in.root.profile = QStringLiteral("naca 0012");
    in.tip.profile = QStringLiteral("NACA 0009");
    in.span = span;
    in.ribCount = ribs;
    return in;
}

// The largest thickness of a four-digit section of thickness t, in percent
// of chord, from the section formula.
double formulaThickness(double t)
{
    double best = 0;
    for (int i = 0; i <= 10000; ++i)
        best = std::max(best, 2.0 * Naca::halfThickness(t, i / 10000.0));
    return best * 100.0;
}

QString circle(double cx, double cy, int diameter)
{
    const int x1 = int(std::lround(cx - diameter / 2.0));
    const int y1 = int(std::lround(cy - diameter / 2.0));
    return QStringLiteral("FIGURE 2;%1;%2;%3;%4;0;")
        .arg(x1)
        .arg(y1)
        .arg(x1 + diameter)
        .arg(y1 + diameter);
}

} // namespace

class TstWingPanel : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { Language::setFrench(true); }
    void ribs_data();
    void ribs();
    void endsReproduceRootAndTip();
    void figuresCarried_data();
    void figuresCarried();
    void refusals_data();
    void refusals();
    void storedAndReplaced();
};

// Chords, stations, blend, incidence and thickness rib by rib.
void TstWingPanel::ribs_data()
{
    QTest::addColumn<int>("rootStations");
    QTest::addColumn<int>("tipStations");
    QTest::addColumn<QString>("stations"); // explicit, or empty for 5 even ribs
    QTest::addColumn<QList<double>>("chords");
    QTest::addColumn<QList<double>>("fractions");

    const QList<double> even{0, 0.25, 0.5, 0.75, 1};
    QTest::newRow("5 even ribs, same stations")
        << 81 << 81 << QString() << QList<double>{200, 175, 150, 125, 100} << even;
    QTest::newRow("5 even ribs, different stations")
        << 81 << 61 << QString() << QList<double>{200, 175, 150, 125, 100} << even;
    QTest::newRow("explicit stations")
        << 81 << 81 << QStringLiteral("0; 100 ; 250,5 400") << QList<double>{200, 180, 149.9, 120}
        << QList<double>{0, 0.2, 0.501, 0.8};
}

void TstWingPanel::ribs()
{
    QFETCH(int, rootStations);
    QFETCH(int, tipStations);
    QFETCH(QString, stations);
    QFETCH(QList<double>, chords);
    QFETCH(QList<double>, fractions);
    Store s;
    s.add("0012", rootStations, {"GABARIT 200;10;"});
    s.add("0009", tipStations, {"GABARIT 100;10;"});
    PanelInputs in = panel(5);
    in.root.angle = 2;
    in.tip.angle = -1;
    if (!stations.isEmpty())
        in.stations = *WingPanel::parseStations(stations);
    const WingPanel::Result r = WingPanel::compute(in, s.store);
    QVERIFY2(r.ok(), qPrintable(r.error));
    QCOMPARE(int(r.ribs.size()), chords.size());
    for (int i = 0; i < chords.size(); ++i) {
        const PanelRib &rib = r.ribs[size_t(i)];
        const double f = fractions[i];
        QCOMPARE(rib.number, i + 1);
        QVERIFY2(std::fabs(rib.chord - chords[i]) < 1e-9, qPrintable(QString::number(rib.chord)));
        QCOMPARE(rib.chordMm, int(std::lround(chords[i])));
        QVERIFY(std::fabs(rib.station - 500 * f) < 1e-9);
        QVERIFY(std::fabs(rib.percent - 100 * f) < 1e-9);
        QVERIFY(std::fabs(rib.incidence - (2 - 3 * f)) < 1e-9);
        const double expected = formulaThickness(0.12 + (0.09 - 0.12) * f);
        const double measured = WingPanel::relativeThickness(rib);
        QVERIFY2(std::fabs(measured - expected) < 0.1,
                 qPrintable(QStringLiteral("rib %1: %2 %, formula %3 %")
                                .arg(i + 1)
                                .arg(measured)
                                .arg(expected)));
    }
}

// Two ribs are the root and the tip themselves, points and template alike,
// even when their stations differ.
void TstWingPanel::endsReproduceRootAndTip()
{
    Store s;
    s.add("0012", 41, {"GABARIT 180;15;", "FIGURE 0;300;-40;400;40;10;"});
    s.add("0009", 61, {"GABARIT 90;15;", "FIGURE 2;100;-20;140;20;0;"});
    const WingPanel::Result r = WingPanel::compute(panel(2), s.store);
    QVERIFY2(r.ok(), qPrintable(r.error));
    const Naca::Section root = Naca::fourDigit("0012", 41), tip = Naca::fourDigit("0009", 61);
    for (const auto &[rib, section, line, figure] :
         {std::tuple{&r.ribs[0], &root, "GABARIT 180;15;", "FIGURE 0;300;-40;400;40;10;"},
          std::tuple{&r.ribs[1], &tip, "GABARIT 90;15;", "FIGURE 2;100;-20;140;20;0;"}}) {
        QCOMPARE(rib->profile.lastIndex, int(section->upper.size()) - 1);
        for (int k = 0; k <= rib->profile.lastIndex; ++k) {
            QVERIFY(std::fabs(rib->profile.upper[k].x - section->upper[k].x * 100) < 0.006);
            QVERIFY(std::fabs(rib->profile.upper[k].y + section->upper[k].y * 100) < 0.006);
            QVERIFY(std::fabs(rib->profile.lower[k].y + section->lower[k].y * 100) < 0.006);
        }
        QCOMPARE(WingPanel::templateLine(*rib), QString::fromLatin1(line));
        QCOMPARE(WingPanel::figureLines(*rib), QStringList{QString::fromLatin1(figure)});
    }
}

// Figures on root and tip: interpolated in millimetres when both hold the
// same kinds in the same order, carried by the chord ratio otherwise.
void TstWingPanel::figuresCarried_data()
{
    QTest::addColumn<QStringList>("rootFigures");
    QTest::addColumn<QStringList>("tipFigures");
    // What rib centres must satisfy: "percent" (at 25 % of each rib's
    // chord), "straight" (collinear in plan view), "chord ratio" (the
    // new-template rule from the root's figure).
    QTest::addColumn<QString>("rule");

    QTest::newRow("notch at 25 % of chord")
        << QStringList{circle(500, -50, 60)} << QStringList{circle(250, -30, 60)}
        << QStringLiteral("percent");
    QTest::newRow("spar on a straight line, not at a constant percentage")
        << QStringList{circle(700, -80, 80), "FIGURE 1;0;0;0;100;90;"}
        << QStringList{circle(330, -40, 50), "FIGURE 1;20;0;20;60;90;"}
        << QStringLiteral("straight");
    QTest::newRow("different kinds: carried by chord ratio")
        << QStringList{"FIGURE 0;100;-40;300;40;15;"} << QStringList{circle(250, -30, 60)}
        << QStringLiteral("chord ratio");
    QTest::newRow("different counts: carried by chord ratio")
        << QStringList{"FIGURE 0;100;-40;300;40;15;"} << QStringList{}
        << QStringLiteral("chord ratio");
}

void TstWingPanel::figuresCarried()
{
    QFETCH(QStringList, rootFigures);
    QFETCH(QStringList, tipFigures);
    QFETCH(QString, rule);
    Store s;
    s.add("0012", 41, QStringList{"GABARIT 200;10;"} + rootFigures);
    s.add("0009", 41, QStringList{"GABARIT 100;10;"} + tipFigures);
    PanelInputs in = panel(0, 600);
    in.stations = {0, 73, 150, 233.3, 410, 600};
    const WingPanel::Result r = WingPanel::compute(in, s.store);
    QVERIFY2(r.ok(), qPrintable(r.error));
    for (const PanelRib &rib : r.ribs) {
        // The tip rib is the tip template itself.
        if (rib.number == 6) {
            QCOMPARE(WingPanel::figureLines(rib), tipFigures);
            continue;
        }
        QCOMPARE(int(rib.figures.size()), rootFigures.size());
        const FigureRow &fig = rib.figures[0];
        // Centre in mm.
        const double cx = (fig[FigX1] + fig[FigX2]) / 20.0, cy = (fig[FigY1] + fig[FigY2]) / 20.0;
        if (rule == QLatin1String("percent")) {
            QVERIFY2(std::fabs(cx - 0.25 * rib.chord) <= 0.05 + 1e-9,
                     qPrintable(QStringLiteral("rib %1: %2 mm for a chord of %3 mm")
                                    .arg(rib.number)
                                    .arg(cx)
                                    .arg(rib.chord)));
            QCOMPARE(fig[FigX2] - fig[FigX1], 60);
        } else if (rule == QLatin1String("straight")) {
            // The line through the root and tip centres, in plan view
            // (station, x) and in side view (station, y).
            const double f = rib.station / 600.0;
            QVERIFY2(std::fabs(cx - (70 + (33 - 70) * f)) <= 0.05 + 1e-9,
                     qPrintable(QStringLiteral("rib %1: x %2 mm").arg(rib.number).arg(cx)));
            QVERIFY(std::fabs(cy - (-8 + (-4 + 8) * f)) <= 0.05 + 1e-9);
            QVERIFY(std::abs(fig[FigX2] - fig[FigX1] - int(std::lround(80 - 30 * f))) <= 1);
            const FigureRow &line = rib.figures[1];
            QCOMPARE(line[FigKind], 1);
            QVERIFY(std::fabs((line[FigX1] + line[FigX2]) / 20.0 - 2 * f) <= 0.05 + 1e-9);
        } else {
            const int oldLength = 200 - 1, newLength = rib.chordMm - 1;
            const QStringList root = rootFigures[0].mid(7).split(';');
            const int x1 = root[1].toInt(), x2 = root[3].toInt();
            const int centre = (x1 + x2) / 2 * newLength / oldLength;
            QCOMPARE(fig[FigX1], centre - (x2 - x1) / 2);
            QCOMPARE(fig[FigX2], centre + (x2 - x1) / 2);
            QCOMPARE(fig[FigAngle], root[5].toInt());
        }
    }
}

// Each refusal names what is wrong; nothing is computed.
void TstWingPanel::refusals_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<QString>("message"); // empty: accepted

    QTest::newRow("no name") << "name="
                             << "Vous devez donner un nom au panneau.";
    QTest::newRow("root missing") << "root=NACA 0015"
                                  << "Profil d'emplanture introuvable : NACA 0015";
    QTest::newRow("tip missing") << "tip="
                                 << "Profil du saumon introuvable : ";
    QTest::newRow("root unreadable")
        << "root=BAD"
        << "Le profil BAD ne peut pas être lu : ligne <30,00;x;30,00;-2,00;>";
    QTest::newRow("no such template") << "rootTemplate=3"
                                      << "Le profil NACA 0012 n'a pas de gabarit n° 4";
    QTest::newRow("span 0")
        << "span=0"
        << "L'envergure du panneau doit être comprise entre 0 et 100000 mm (0 exclu).";
    QTest::newRow("one rib") << "ribs=1"
                             << "Un panneau compte au moins 2 nervures.";
    QTest::newRow("one explicit station") << "stations=120"
                                          << "Un panneau compte au moins 2 nervures.";
    QTest::newRow("too many ribs") << "ribs=1000"
                                   << "Un panneau compte au plus 999 nervures.";
    QTest::newRow("most ribs") << "ribs=999"
                               << "";
    QTest::newRow("stations out of order")
        << "stations=0;300;200"
        << "Les positions des nervures doivent croître de 0 à l'envergure (500 mm).";
    QTest::newRow("station past the tip")
        << "stations=0;501"
        << "Les positions des nervures doivent croître de 0 à l'envergure (500 mm).";
    QTest::newRow("different skins")
        << "tipTemplate=1"
        << "Le coffrage de l'emplanture (10/10 mm) et celui du saumon (15/10 mm) diffèrent : "
           "acceptez un coffrage variable pour les mélanger.";
    QTest::newRow("different skins chosen") << "tipTemplate=1;mixed"
                                            << "";
}

void TstWingPanel::refusals()
{
    QFETCH(QString, change);
    QFETCH(QString, message);
    Store s;
    s.add("0012", 41, {"GABARIT 200;10;"});
    s.add("0009", 41, {"GABARIT 100;10;", "GABARIT 100;15;"});
    const int bad = s.store.AddProfile("BAD");
    s.store.AddPointLine(bad, "0,00;0,00;0,00;0,00;");
    s.store.AddPointLine(bad, "30,00;x;30,00;-2,00;");
    s.store.AddPointLine(bad, "100,00;0,00;100,00;0,00;");
    s.store.AddTemplate(bad, "GABARIT 100;10;");

    PanelInputs in = panel(5);
    const QString key = change.section('=', 0, 0), value = change.section('=', 1);
    if (key == "name")
        in.name = value;
    else if (key == "root")
        in.root.profile = value;
    else if (key == "tip")
        in.tip.profile = value;
    else if (key == "rootTemplate")
        in.root.templ = value.toInt();
    else if (key == "tipTemplate") {
        in.tip.templ = value.section(';', 0, 0).toInt();
        in.mixedSkins = value.endsWith("mixed");
    } else if (key == "span")
        in.span = value.toDouble();
    else if (key == "ribs")
        in.ribCount = value.toInt();
    else if (key == "stations")
        in.stations = *WingPanel::parseStations(value);
    const WingPanel::Result r = WingPanel::compute(in, s.store);
    QCOMPARE(r.error, message);
    QCOMPARE(r.ribs.empty(), !message.isEmpty());
    if (key == "tipTemplate" && r.ok())
        QCOMPARE(r.ribs[2].skin, 13); // 12.5 rounded
}

// Stored ribs read back from the database text as they were made; a second
// panel of the same name replaces every earlier rib and nothing else.
void TstWingPanel::storedAndReplaced()
{
    Store s;
    s.add("0012", 41, {"GABARIT 200;10;", circle(500, -50, 60)});
    s.add("0009", 41, {"GABARIT 100;10;", circle(250, -30, 60)});
    s.store.AddProfile("AILE N1X"); // not a rib of the panel
    const WingPanel::Result first = WingPanel::compute(panel(8), s.store);
    QCOMPARE(WingPanel::store(s.store, "Aile", first.ribs), QStringLiteral("AILE N01"));
    QCOMPARE(WingPanel::earlierRibs(s.store, "aile").size(), 8);
    QVERIFY(s.store.saveEnabled());

    const WingPanel::Result second = WingPanel::compute(panel(3), s.store);
    WingPanel::store(s.store, "Aile", second.ribs);
    QCOMPARE(WingPanel::earlierRibs(s.store, "Aile"),
             (QStringList{"AILE N01", "AILE N02", "AILE N03"}));
    QVERIFY(s.store.names().contains("AILE N1X"));

    ProfileStore reloaded;
    reloaded.loadFromBytes(s.store.serialize());
    QVERIFY(s.prompts.messages.isEmpty());
    PanelInputs again = panel(3);
    again.root.profile = "AILE N01";
    again.tip.profile = "AILE N03";
    const WingPanel::Result back = WingPanel::compute(again, reloaded);
    QVERIFY2(back.ok(), qPrintable(back.error));
    for (int i = 0; i < 3; ++i) {
        const int p = reloaded.names().indexOf(WingPanel::ribName("Aile", i + 1, 3));
        QCOMPARE(reloaded.profile(p)->pointLines, HybridBlend::pointLines(second.ribs[i].profile));
        QCOMPARE(reloaded.templateLine(p, 0), WingPanel::templateLine(second.ribs[i]));
        QCOMPARE(reloaded.profile(p)->templates[0].gabarit.figureLines,
                 WingPanel::figureLines(second.ribs[i]));
    }
    QCOMPARE(WingPanel::ribName("Aile", 7, 120), QStringLiteral("AILE N007"));
}

QTEST_GUILESS_MAIN(TstWingPanel)
#include "tst_wingpanel.moc"
