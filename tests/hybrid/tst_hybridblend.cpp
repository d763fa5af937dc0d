// The blend of a root and a tip profile, the computation behind "Calculer et
// Afficher" and the texts of the hybrid dialog, without widgets.
#include "Naca.h"
#include "ScriptedPrompts.h"

#include "hybrid/HybridBlend.h"
#include "profiles/ProfileStore.h"
#include "render/TemplateDrawing.h"

#include <QRegularExpression>
#include <QTest>

#include <cmath>

namespace
{

// "x y, x y, ..." into a surface.
std::vector<FPoint> points(const QString &text)
{
    std::vector<FPoint> out;
    for (const QString &pair : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QStringList xy = pair.simplified().split(QLatin1Char(' '));
        out.push_back({xy[0].toFloat(), xy[1].toFloat()});
    }
    return out;
}

HybridSurfaces surfaces(const QString &upper, const QString &lower)
{
    HybridSurfaces s;
    const auto u = points(upper), l = points(lower);
    Q_ASSERT(u.size() == l.size());
    for (size_t k = 0; k < u.size(); ++k) {
        s.upper[k] = u[k];
        s.lower[k] = l[k];
    }
    s.lastIndex = int(u.size()) - 1;
    return s;
}

QString num(float v)
{
    return QString::number(double(v), 'g', 6);
}

QString text(const FPoint *s, int last)
{
    QStringList parts;
    for (int k = 0; k <= last; ++k)
        parts << num(s[k].x) + QLatin1Char(' ') + num(s[k].y);
    return parts.join(QStringLiteral(", "));
}

// A profile of the store from its point lines, with one template.
int addProfile(ProfileStore &store, const QString &name, const QStringList &lines)
{
    const int p = store.AddProfile(name);
    for (const QString &l : lines)
        store.AddPointLine(p, l);
    store.AddTemplate(p, QStringLiteral("GABARIT 200;10;"));
    return store.FindProfile(name);
}

QStringList nacaLines(const char *digits, int stations)
{
    return Naca::pointLines(Naca::fourDigit(QString::fromLatin1(digits), stations));
}

// A symmetric section of `stations` points (cosine spacing, shifted by
// `phase` of a step), y = -thickness * sqrt(x(100 - x)) / 50 on top.
HybridSurfaces fineSection(int stations, double phase, float thickness)
{
    HybridSurfaces s;
    for (int k = 0; k < stations; ++k) {
        double u = (k == 0 || k == stations - 1) ? k : k + phase;
        const float x = float(50.0 * (1.0 - std::cos(M_PI * u / (stations - 1))));
        const float y = float(thickness * std::sqrt(x * (100.0 - x)) / 50.0);
        s.upper[k] = {x, -y};
        s.lower[k] = {x, y};
    }
    s.lastIndex = stations - 1;
    return s;
}

} // namespace

class TstHybridBlend : public QObject
{
    Q_OBJECT
private slots:
    void blend_data();
    void blend();
    void capacity_data();
    void capacity();
    void readProfile_data();
    void readProfile();
    void compute_data();
    void compute();
    void chordAndAngle_data();
    void chordAndAngle();
    void storedLines();
    void nacaThickness_data();
    void nacaThickness();
};

void TstHybridBlend::blend_data()
{
    QTest::addColumn<QString>("rootUpper");
    QTest::addColumn<QString>("rootLower");
    QTest::addColumn<QString>("tipUpper");
    QTest::addColumn<QString>("tipLower");
    QTest::addColumn<int>("percent");
    QTest::addColumn<QString>("upper");
    QTest::addColumn<QString>("lower");

    // The same stations: the weighted mean; the open trailing edges (the
    // last stations) are left to the closing point.
    QTest::newRow("same stations, open trailing edges, 30 %") << "0 0, 50 -10, 100 -1"
                                         << "0 0, 50 4, 100 1"
                                         << "0 0, 50 -6, 100 -3"
                                         << "0 0, 50 2, 100 2" << 30 << "0 0, 50 -8.8, 100 0"
                                         << "0 0, 50 3.4, 100 0";
    // Each profile resampled at the union of the stations.
    QTest::newRow("0 % is the root at every station")
        << "0 0, 50 -10, 100 0"
        << "0 0, 50 4, 100 0"
        << "0 0, 25 -2, 75 -2, 100 0"
        << "0 0, 25 2, 75 2, 100 0" << 0 << "0 0, 25 -5, 50 -10, 75 -5, 100 0"
        << "0 0, 25 2, 50 4, 75 2, 100 0";
    QTest::newRow("100 % is the tip at every station")
        << "0 0, 50 -10, 100 0"
        << "0 0, 50 4, 100 0"
        << "0 0, 25 -2, 75 -2, 100 0"
        << "0 0, 25 2, 75 2, 100 0" << 100 << "0 0, 25 -2, 50 -2, 75 -2, 100 0"
        << "0 0, 25 2, 50 2, 75 2, 100 0";
    // The upper surfaces have three stations between them, the lower ones
    // one: the lower surface is filled up with its trailing edge.
    QTest::newRow("uneven surfaces evened")
        << "0 0, 20 -8, 100 0"
        << "0 0, 50 2, 100 0"
        << "0 0, 60 -6, 100 0"
        << "0 0, 50 4, 100 0" << 50 << "0 0, 20 -5, 60 -5, 100 0"
        << "0 0, 50 3, 100 0, 100 0";
    // The root's last station (40) lies before tip stations the walk has not
    // passed: the walk goes on along the tip, the root keeping its last
    // height, instead of repeating the root's last station.
    QTest::newRow("root ends before the tip's stations")
        << "0 0, 40 -4"
        << "0 0, 40 2"
        << "0 0, 50 -10, 80 -6, 100 0"
        << "0 0, 50 2, 80 2, 100 0" << 50 << "0 0, 40 -6, 50 -7, 80 -5, 100 0"
        << "0 0, 40 1.8, 50 2, 80 2, 100 0";
    QTest::newRow("tip ends before the root's stations")
        << "0 0, 50 -10, 80 -6, 100 0"
        << "0 0, 50 2, 80 2, 100 0"
        << "0 0, 40 -4"
        << "0 0, 40 2" << 50 << "0 0, 40 -6, 50 -7, 80 -5, 100 0"
        << "0 0, 40 1.8, 50 2, 80 2, 100 0";
    QTest::newRow("single points") << "0 0"
                                   << "0 0"
                                   << "0 0"
                                   << "0 0" << 50 << "0 0, 100 0"
                                   << "0 0, 100 0";
}

void TstHybridBlend::blend()
{
    QFETCH(QString, rootUpper);
    QFETCH(QString, rootLower);
    QFETCH(QString, tipUpper);
    QFETCH(QString, tipLower);
    QFETCH(int, percent);
    QFETCH(QString, upper);
    QFETCH(QString, lower);
    const HybridSurfaces root = surfaces(rootUpper, rootLower);
    const HybridSurfaces tip = surfaces(tipUpper, tipLower);
    HybridSurfaces out;
    HybridBlend::BlendProfiles(root, tip, percent, out);
    QCOMPARE(text(out.upper.data(), out.lastIndex), upper);
    QCOMPARE(text(out.lower.data(), out.lastIndex), lower);
}

void TstHybridBlend::capacity_data()
{
    QTest::addColumn<int>("rootStations");
    QTest::addColumn<double>("tipPhase");
    QTest::addColumn<int>("expectedLast"); // -1: any number within capacity

    QTest::newRow("512 and 512 at the same stations") << 512 << 0.0 << 511;
    QTest::newRow("512 and 512 at other stations") << 512 << 0.5 << -1;
}

void TstHybridBlend::capacity()
{
    QFETCH(int, rootStations);
    QFETCH(double, tipPhase);
    QFETCH(int, expectedLast);
    const HybridSurfaces root = fineSection(rootStations, 0, 12);
    const HybridSurfaces tip = fineSection(512, tipPhase, 8);
    HybridSurfaces out;
    HybridBlend::BlendProfiles(root, tip, 50, out);
    QVERIFY(out.lastIndex <= kMaxProfilePoints - 1);
    if (expectedLast >= 0)
        QCOMPARE(out.lastIndex, expectedLast);
    // The whole chord is there, in order, closed, with the mean thickness.
    for (const auto *s : {out.upper.data(), out.lower.data()}) {
        QCOMPARE(s[0].x, 0.0f);
        QCOMPARE(s[out.lastIndex].x, 100.0f);
        QCOMPARE(s[out.lastIndex].y, 0.0f);
        for (int k = 1; k <= out.lastIndex; ++k)
            QVERIFY2(s[k].x >= s[k - 1].x, qPrintable(QString::number(k)));
    }
    float crest = 0;
    for (int k = 0; k <= out.lastIndex; ++k)
        crest = std::max(crest, out.lower[k].y);
    QVERIFY2(std::fabs(crest - 10.0f) < 0.01f, qPrintable(QString::number(crest)));
}

void TstHybridBlend::readProfile_data()
{
    QTest::addColumn<int>("side");
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("values"); // upper x, upper y, lower x, lower y

    const int root = int(HybridBlend::Side::Root), tip = int(HybridBlend::Side::Tip);
    QTest::newRow("root, every value read")
        << root << " 25.00;  3.10; 25,00; -1.75;" << true << "25 -3.1 25 1.75";
    QTest::newRow("root, a failing value fails the rest of its line")
        << root << "10;x;30;-2;" << false << "10 7 7 7";
    QTest::newRow("tip, only the failing value is skipped")
        << tip << "10;x;30;-2;" << false << "10 7 30 2";
}

void TstHybridBlend::readProfile()
{
    QFETCH(int, side);
    QFETCH(QString, line);
    QFETCH(bool, ok);
    QFETCH(QString, values);
    HybridSurfaces s;
    s.upper[0] = s.lower[0] = {7, 7};
    QCOMPARE(HybridBlend::readProfile({line}, HybridBlend::Side(side), s), ok);
    QCOMPARE(s.lastIndex, 0);
    QCOMPARE(
        QStringList({num(s.upper[0].x), num(s.upper[0].y), num(s.lower[0].x), num(s.lower[0].y)})
            .join(QLatin1Char(' ')),
        values);
}

void TstHybridBlend::compute_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("skin");
    QTest::addColumn<QString>("root");
    QTest::addColumn<QString>("tip");
    QTest::addColumn<QList<bool>>("answers");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("focus");
    QTest::addColumn<QStringList>("said"); // the messages, then the questions
    QTest::addColumn<QStringList>("left"); // profiles left in the store

    const QStringList all{"AB 12", "BAD", "NACA 0009", "NACA 0012"};
    const int none = int(HybridBlend::Focus::None), rootF = int(HybridBlend::Focus::Root),
              tipF = int(HybridBlend::Focus::Tip);
    QTest::newRow("computed") << "H1" << 10 << "NACA 0009"
                              << "NACA 0012" << QList<bool>{} << true << none << QStringList{}
                              << all;
    QTest::newRow("an empty name is accepted")
        << "" << 10 << "NACA 0009"
        << "NACA 0012" << QList<bool>{} << true << none << QStringList{} << all;
    // The name comes before everything, even a missing root.
    QTest::newRow("sans nom") << "sans nom" << 0 << "X"
                              << "Y" << QList<bool>{} << false << none
                              << QStringList{HybridBlend::kNoName} << all;
    QTest::newRow("skin 0") << "H1" << 0 << "X"
                            << "Y" << QList<bool>{} << false << none
                            << QStringList{HybridBlend::kNoSkin} << all;
    QTest::newRow("skin of 3 tenths") << "H1" << 3 << "NACA 0009"
                                      << "NACA 0012" << QList<bool>{} << false << none
                                      << QStringList{HybridBlend::kThinSkin} << all;
    QTest::newRow("part of a name, not replaced")
        << "AB" << 10 << "NACA 0009"
        << "NACA 0012" << QList<bool>{false} << false << none << QStringList{HybridBlend::kReplace}
        << all;
    QTest::newRow("part of a name, replaced at once")
        << "AB" << 10 << "NACA 0009"
        << "NACA 0012" << QList<bool>{true} << true << none << QStringList{HybridBlend::kReplace}
        << QStringList{"BAD", "NACA 0009", "NACA 0012"};
    // The replaced profile is gone even though the computation then stops.
    QTest::newRow("replacing the root") << "NACA 0009" << 10 << "NACA 0009"
                                        << "NACA 0012" << QList<bool>{true} << false << rootF
                                        << QStringList{HybridBlend::kNoRoot, HybridBlend::kReplace}
                                        << QStringList{"AB 12", "BAD", "NACA 0012"};
    QTest::newRow("no root") << "H1" << 10 << "Profil E"
                             << "NACA 0012" << QList<bool>{} << false << rootF
                             << QStringList{HybridBlend::kNoRoot} << all;
    QTest::newRow("no tip") << "H1" << 10 << "NACA 0009"
                            << "Profil S" << QList<bool>{} << false << tipF
                            << QStringList{HybridBlend::kNoTip} << all;
    QTest::newRow("unreadable value, nothing said")
        << "H1" << 10 << "BAD"
        << "NACA 0012" << QList<bool>{} << false << none << QStringList{} << all;
}

void TstHybridBlend::compute()
{
    QFETCH(QString, name);
    QFETCH(int, skin);
    QFETCH(QString, root);
    QFETCH(QString, tip);
    QFETCH(QList<bool>, answers);
    QFETCH(bool, ok);
    QFETCH(int, focus);
    QFETCH(QStringList, said);
    QFETCH(QStringList, left);
    ScriptedPrompts prompts;
    for (bool a : answers)
        prompts.answers.enqueue(a);
    ProfileStore store;
    addProfile(store, "NACA 0009", nacaLines("0009", 21));
    addProfile(store, "NACA 0012", nacaLines("0012", 21));
    addProfile(store, "AB 12", nacaLines("0012", 11));
    addProfile(store, "BAD", {"0;0;0;0;", "50;4,123;50;-4;", "100;0;100;0;"});

    HybridBlend blend;
    HybridInputs in;
    in.name = name;
    in.skin = skin;
    in.rootText = root;
    in.tipText = tip;
    const HybridBlend::Outcome outcome = blend.compute(in, store);
    QCOMPARE(outcome.ok, ok);
    QCOMPARE(int(outcome.focus), focus);
    QCOMPARE(prompts.messages + prompts.questions, said);
    QCOMPARE(store.names(), left);
    QCOMPARE(store.saveEnabled(), left.size() < 4);
    if (ok)
        QCOMPARE(blend.root.lastIndex, 20);
}

void TstHybridBlend::chordAndAngle_data()
{
    QTest::addColumn<int>("percent");
    QTest::addColumn<int>("tipChord"); // the root chord is 150, its angle 0
    QTest::addColumn<int>("tipAngle");
    QTest::addColumn<bool>("automatic");
    QTest::addColumn<QString>("decimalPoint");
    QTest::addColumn<QString>("chordText");
    QTest::addColumn<QString>("angleText");

    QTest::newRow("50 %") << 50 << 100 << 0 << true << "."
                          << "125"
                          << "0";
    QTest::newRow("25 %, comma") << 25 << 100 << -10 << true << ","
                                 << "137,5"
                                 << "-2,5";
    // -1.25 degrees: halves go away from zero.
    QTest::newRow("half a tenth") << 25 << 100 << -5 << true << "."
                                  << "137.5"
                                  << "-1.3";
    QTest::newRow("100 % is the tip") << 100 << 90 << -7 << true << "."
                                      << "90"
                                      << "-7";
    // Not automatic: the spinners' values (133.15, 4) stand.
    QTest::newRow("typed") << 25 << 100 << -10 << false << "."
                           << "133.1"
                           << "4";
}

void TstHybridBlend::chordAndAngle()
{
    QFETCH(int, percent);
    QFETCH(int, tipChord);
    QFETCH(int, tipAngle);
    QFETCH(bool, automatic);
    QFETCH(QString, decimalPoint);
    QFETCH(QString, chordText);
    QFETCH(QString, angleText);
    ScriptedPrompts prompts;
    ProfileStore store;
    addProfile(store, "R", nacaLines("0012", 11));
    HybridBlend blend;
    HybridInputs in;
    in.name = "H";
    in.skin = 10;
    in.rootText = in.tipText = "R";
    in.percent = percent;
    in.rootChord = 150;
    in.tipChord = tipChord;
    in.tipAngle = tipAngle;
    in.automaticChord = automatic;
    in.hybridChordSpinner = 133.15;
    in.hybridAngleSpinner = 4;
    QVERIFY(blend.compute(in, store).ok);
    const QChar point = decimalPoint.at(0);
    QCOMPARE(HybridText::picture("#.#", blend.hybridChord, point), chordText);
    QCOMPARE(HybridText::picture("0.#", blend.hybridAngle, point), angleText);
}

void TstHybridBlend::storedLines()
{
    QCOMPARE(HybridText::automaticName("A", "B", 30), QStringLiteral("A(70%)_B(30%)"));
    HybridSurfaces s;
    s.upper[0] = {25, -3.1f};
    s.lower[0] = {25, 1.75f};
    s.upper[1] = {100, 0};
    s.lower[1] = {100, -0.0f};
    s.lastIndex = 1;
    QCOMPARE(HybridBlend::pointLines(s),
             QStringList({" 25.00;  3.10; 25.00; -1.75;", "100.00;  0.00;100.00;  0.00;"}));
}

void TstHybridBlend::nacaThickness_data()
{
    QTest::addColumn<int>("rootStations");
    QTest::addColumn<int>("tipStations");
    QTest::newRow("same stations") << 41 << 41;
    QTest::newRow("different stations") << 41 << 61;
}

// Blending NACA 0009 and 0012 half and half gives the 10.5 % section of the
// same formula: the drawing's relative-thickness caption shows it.
void TstHybridBlend::nacaThickness()
{
    QFETCH(int, rootStations);
    QFETCH(int, tipStations);
    ScriptedPrompts prompts;
    ProfileStore store;
    addProfile(store, "NACA 0009", nacaLines("0009", rootStations));
    addProfile(store, "NACA 0012", nacaLines("0012", tipStations));
    HybridBlend blend;
    HybridInputs in;
    in.name = "H";
    in.skin = 10;
    in.rootText = "NACA 0009";
    in.tipText = "NACA 0012";
    in.percent = 50;
    in.rootChord = in.tipChord = 200;
    QVERIFY(blend.compute(in, store).ok);
    blend.BlendProfiles(50);

    const int p = addProfile(store, "HYBRIDE", HybridBlend::pointLines(blend.hybrid));
    TemplateDrawing drawing(&store);
    drawing.SelectProfile(p, 0);
    QVERIFY(!store.dataError);
    QVERIFY(drawing.layoutScreen({804, 324, 0}));
    QVERIFY(drawing.render());

    double truth = 0;
    for (int i = 0; i <= 100000; ++i)
        truth = std::max(truth, 2 * Naca::halfThickness(0.105, i / 100000.0));
    const QRegularExpressionMatch m = QRegularExpression(QStringLiteral("([0-9]+[.,][0-9]+) %"))
                                          .match(drawing.relativeThicknessCaption());
    QVERIFY(m.hasMatch());
    const double shown = m.captured(1).replace(QLatin1Char(','), QLatin1Char('.')).toDouble();
    QVERIFY2(std::fabs(shown - truth * 100) <= 0.1,
             qPrintable(QStringLiteral("shown %1, formula %2").arg(shown).arg(truth * 100)));
}

QTEST_MAIN(TstHybridBlend)
#include "tst_hybridblend.moc"
