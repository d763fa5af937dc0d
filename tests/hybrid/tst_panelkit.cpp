// The panel as a kit: spar notches, edge cut-backs, jig tabs and holes
// measured on the DXF files read back by an independent reader, the panel
// file, and the plan's sheets.
#include "DxfPolylines.h"
#include "Naca.h"
#include "ScriptedPrompts.h"

#include "cutting/ExportJob.h"
#include "geometry/Polygons.h"
#include "hybrid/PanelCommand.h"
#include "hybrid/PanelKit.h"
#include "profiles/ProfileStore.h"
#include "ui/Language.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

#include <cmath>

namespace
{

constexpr double kPi = 3.14159265358979323846;

// Root NACA 2412 at 200 mm, tip NACA 0012 at 150 mm, both with a 15/10 skin
// and the figure line given.
QByteArray database(const QByteArray &figure = {})
{
    QList<QByteArray> root{"GABARIT 200;15;"}, tip{"GABARIT 150;15;"};
    if (!figure.isEmpty()) {
        root << figure;
        tip << figure;
    }
    return Naca::profilsText({{"2412", 81, root}, {"0012", 81, tip}});
}

PanelInputs fiveRibs()
{
    PanelInputs in;
    in.name = QStringLiteral("KIT");
    in.root.profile = QStringLiteral("NACA 2412");
    in.tip.profile = QStringLiteral("NACA 0012");
    in.span = 400;
    in.ribCount = 5;
    return in;
}

// The options as the command line gives them.
bool readOptions(const QString &text, PanelInputs *panel, KitOptions *kit, QString *error)
{
    const QStringList words = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (int i = 0; i + 1 < words.size(); i += 2) {
        if (PanelKit::takeOption(words[i], words[i + 1], panel, kit, error) != 1)
            return false;
    }
    return true;
}

// The database and wing.json (five ribs, 2° washout, a spar, a cut-back,
// jig tabs and holes, the kerf given) written in the folder.
bool writeWing(const QTemporaryDir &dir, double storedKerf)
{
    QFile f(dir.filePath(QStringLiteral("Profils.pro")));
    if (!f.open(QIODevice::WriteOnly) || f.write(database()) < 0)
        return false;
    f.close();
    PanelDefinition d;
    d.database = QStringLiteral("Profils.pro");
    d.panel = fiveRibs();
    d.cutting.kerf = storedKerf;
    QString error;
    return readOptions(QStringLiteral("--washout 2 --spar 25:6x3:both --le-cut 5 --jig 20 "
                                      "--holes 4"),
                       &d.panel, &d.kit, &error) &&
           d.save(dir.filePath(QStringLiteral("wing.json")), &error);
}

// One rib written alone (so in its own frame) and read back.
DxfPolylines::ByLayer readBack(const RibVectors::Rib &rib)
{
    VectorExport::Options options;
    QString error;
    const QByteArray bytes = VectorExport::dxf(VectorExport::arrange({rib}, options), &error);
    return DxfPolylines::read(bytes);
}

// Heights where the vertical x crosses the ring.
std::vector<double> crossingsAtX(const QPolygonF &ring, double x)
{
    std::vector<double> ys;
    for (int i = 0; i < ring.size(); ++i) {
        const QPointF a = ring[i], b = ring[(i + 1) % ring.size()];
        if (a.x() == b.x() || (a.x() - x) * (b.x() - x) > 0)
            continue;
        ys.push_back(a.y() + (x - a.x()) / (b.x() - a.x()) * (b.y() - a.y()));
    }
    std::sort(ys.begin(), ys.end());
    return ys;
}

std::vector<double> crossingsAtY(const QPolygonF &ring, double y)
{
    QPolygonF turned;
    for (const QPointF &p : ring)
        turned << QPointF(p.y(), p.x());
    return crossingsAtX(turned, y);
}

// Highest and lowest points of the ring over x1..x2 (its vertices there
// and its crossings of both ends).
std::pair<double, double> extremesIn(const QPolygonF &ring, double x1, double x2)
{
    std::vector<double> ys = crossingsAtX(ring, x1);
    for (double y : crossingsAtX(ring, x2))
        ys.push_back(y);
    for (const QPointF &p : ring) {
        if (p.x() >= x1 && p.x() <= x2)
            ys.push_back(p.y());
    }
    return {*std::min_element(ys.begin(), ys.end()), *std::max_element(ys.begin(), ys.end())};
}

// The outer contour is the largest closed line of the cut layer.
const QPolygonF *outer(const DxfPolylines::ByLayer &lines)
{
    const QPolygonF *best = nullptr;
    for (const DxfPolylines::Line &l : lines.at(QStringLiteral("cut"))) {
        if (l.closed && (!best || std::abs(Polygons::signedArea(l.points)) >
                                      std::abs(Polygons::signedArea(*best))))
            best = &l.points;
    }
    return best;
}

// The chord from the chord line on the marks layer.
double chordOf(const DxfPolylines::ByLayer &lines)
{
    for (const DxfPolylines::Line &l : lines.at(QStringLiteral("marks"))) {
        if (l.points.size() == 2 && l.points[0].y() == 0 && l.points[1].y() == 0)
            return l.points[1].x() - l.points[0].x();
    }
    return 0;
}

} // namespace

class TstPanelKit : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { Language::setFrench(false); }
    void sparText_data();
    void sparText();
    void panelFile_data();
    void panelFile();
    void measuredOnDxf_data();
    void measuredOnDxf();
    void refused_data();
    void refused();
    void holesClearOfFigures();
    void withoutOptionsUnchanged();
    void planSheetsJoin();
    void commandLine_data();
    void commandLine();
    void laserOptions_data();
    void laserOptions();
};

void TstPanelKit::sparText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<double>("root");
    QTest::addColumn<double>("tip");
    QTest::addColumn<double>("width");
    QTest::addColumn<double>("depth");
    QTest::addColumn<int>("side");
    QTest::newRow("one position, both edges")
        << "25:6x3" << true << 25.0 << 25.0 << 6.0 << 3.0 << int(SparSpec::Both);
    QTest::newRow("root to tip, bottom")
        << "60..50:5x4:bottom" << true << 60.0 << 50.0 << 5.0 << 4.0 << int(SparSpec::Bottom);
    QTest::newRow("comma decimals, top")
        << "30,5:6,5X3:TOP" << true << 30.5 << 30.5 << 6.5 << 3.0 << int(SparSpec::Top);
    QTest::newRow("no depth") << "25:6" << false << 0.0 << 0.0 << 0.0 << 0.0 << 0;
    QTest::newRow("zero depth") << "25:6x0" << false << 0.0 << 0.0 << 0.0 << 0.0 << 0;
    QTest::newRow("beyond the chord") << "120:6x3" << false << 0.0 << 0.0 << 0.0 << 0.0 << 0;
    QTest::newRow("unknown edge") << "25:6x3:side" << false << 0.0 << 0.0 << 0.0 << 0.0 << 0;
    QTest::newRow("three positions") << "1..2..3:6x3" << false << 0.0 << 0.0 << 0.0 << 0.0 << 0;
}

void TstPanelKit::sparText()
{
    QFETCH(QString, text);
    QFETCH(bool, ok);
    const std::optional<SparSpec> s = SparSpec::parse(text);
    QCOMPARE(bool(s), ok);
    if (!ok)
        return;
    QFETCH(double, root);
    QFETCH(double, tip);
    QFETCH(double, width);
    QFETCH(double, depth);
    QFETCH(int, side);
    QCOMPARE(s->rootPos, root);
    QCOMPARE(s->tipPos, tip);
    QCOMPARE(s->width, width);
    QCOMPARE(s->depth, depth);
    QCOMPARE(int(s->side), side);
    // Written back, it reads the same.
    const std::optional<SparSpec> again = SparSpec::parse(s->text());
    QVERIFY(again && again->text() == s->text());
}

void TstPanelKit::panelFile_data()
{
    QTest::addColumn<QByteArray>("content"); // empty: a full definition saved first
    QTest::addColumn<QString>("error");
    QTest::newRow("saved and read back") << QByteArray() << QString();
    QTest::newRow("not JSON") << QByteArray("PANEL 1") << "Unreadable panel file";
    QTest::newRow("span as text")
        << QByteArray(R"({"root":{"profile":"A"},"tip":{"profile":"B"},"span":"400"})")
        << "Panel file: wrong value for span";
    QTest::newRow("bad spar")
        << QByteArray(R"({"root":{"profile":"A"},"tip":{"profile":"B"},"spars":["25:6"]})")
        << "Panel file: wrong value for spars: 25:6";
    QTest::newRow("template 0")
        << QByteArray(R"({"root":{"profile":"A","template":0},"tip":{"profile":"B"}})")
        << "Panel file: wrong value for root";
    QTest::newRow("nesting unknown")
        << QByteArray(R"({"root":{"profile":"A"},"tip":{"profile":"B"},"nest":"spiral"})")
        << "Panel file: wrong value for nest";
    QTest::newRow("no copies")
        << QByteArray(R"({"root":{"profile":"A"},"tip":{"profile":"B"},"copies":0})")
        << "Panel file: wrong value for copies";
}

void TstPanelKit::panelFile()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, error);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("wing.panel"));
    PanelDefinition d;
    d.database = QStringLiteral("Profils.pro");
    d.panel = fiveRibs();
    d.panel.stations = {0, 90.5, 200, 400};
    d.panel.tip.templ = 1;
    QString why;
    QVERIFY(readOptions(QStringLiteral("--washout 2 --spar 25:6x3:both --spar 60..50:5x4:top "
                                       "--le-cut 5 --te-cut 10 --jig 20 --tabs 20,80 --holes 4"),
                        &d.panel, &d.kit, &why));
    if (content.isEmpty()) {
        QVERIFY(d.save(path, &why));
    } else {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(content);
    }
    const std::optional<PanelDefinition> back = PanelDefinition::load(path, &why);
    if (!error.isEmpty()) {
        QVERIFY(!back);
        QVERIFY2(why.startsWith(error), qPrintable(why));
        return;
    }
    QVERIFY2(back, qPrintable(why));
    // The database is found beside the file.
    QCOMPARE(back->database, dir.filePath(QStringLiteral("Profils.pro")));
    PanelDefinition same = *back;
    same.database = d.database;
    QCOMPARE(same.toJson(), d.toJson());
    QCOMPARE(back->panel.tip.angle, -2.0);
    QCOMPARE(back->kit.tabs, (std::vector<double>{20, 80}));
    // A file without the laser's options takes the export's defaults.
    QCOMPARE(back->cutting.kerf, 0.0);
    QCOMPARE(back->cutting.copies, 1);
}

void TstPanelKit::measuredOnDxf_data()
{
    QTest::addColumn<QString>("options");
    QTest::newRow("2 deg washout, two spars, cut-backs, tabs, holes")
        << "--washout 2 --spar 25:6x3:both --spar 60..50:5x4:top --le-cut 5 --te-cut 15 "
           "--jig 20 --holes 4";
    QTest::newRow("bottom spar, pivot 40, three tabs")
        << "--washout 3 --pivot 40 --spar 30..35:8x2.5:bottom --jig 25 --tabs 10,50,90 "
           "--tab-width 8 --holes 3";
}

// Every rib of a 5-rib panel, 200 to 150 mm, read back from its DXF file.
void TstPanelKit::measuredOnDxf()
{
    QFETCH(QString, options);
    ScriptedPrompts prompts;
    ProfileStore store;
    store.loadFromBytes(database());
    PanelInputs in = fiveRibs();
    KitOptions kit;
    QString error;
    QVERIFY2(readOptions(options, &in, &kit, &error), qPrintable(error));
    std::vector<RibVectors::Rib> plain, ribs;
    QVERIFY2(PanelKit::buildRibs(in, KitOptions(), store, &plain, &error), qPrintable(error));
    QVERIFY2(PanelKit::buildRibs(in, kit, store, &ribs, &error), qPrintable(error));
    QCOMPARE(int(ribs.size()), 5);

    std::vector<DxfPolylines::ByLayer> read;
    for (const RibVectors::Rib &r : ribs)
        read.push_back(readBack(r));
    const double rootChord = chordOf(read.front()), tipChord = chordOf(read.back());
    QVERIFY(std::abs(rootChord - 200) < 0.01 && std::abs(tipChord - 150) < 0.01);

    for (size_t i = 0; i < ribs.size(); ++i) {
        const QString rib = QStringLiteral("rib %1: ").arg(i + 1);
        const double f = double(i) / 4;
        const DxfPolylines::ByLayer &lines = read[i];
        const QPolygonF *cut = outer(lines);
        QVERIFY(cut);
        const QPolygonF before = PanelKit::outline(plain[i]);
        const double chord = chordOf(lines);

        // Cut-backs: the rib's front and rear, away from the tabs.
        if (kit.leCut > 0 || kit.teCut > 0) {
            const QRectF box = cut->boundingRect();
            QVERIFY2(std::abs(box.left() - kit.leCut) <= 0.02, qPrintable(rib + "front"));
            QVERIFY2(std::abs(box.right() - (chord - kit.teCut)) <= 0.02, qPrintable(rib + "rear"));
        }

        // Notches: W wide at the spar's place, D deep from the outline's
        // outermost point over the notch.
        for (const SparSpec &s : kit.spars) {
            const double x = (s.rootPos / 100 * rootChord) +
                             (s.tipPos / 100 * tipChord - s.rootPos / 100 * rootChord) * f;
            const auto [low, high] = extremesIn(before, x - s.width / 2, x + s.width / 2);
            const std::vector<double> ys = crossingsAtX(*cut, x);
            auto widthAt = [&](double y) {
                double left = -1e9, right = 1e9;
                for (double c : crossingsAtY(*cut, y)) {
                    if (c < x)
                        left = std::max(left, c);
                    else
                        right = std::min(right, c);
                }
                return std::make_pair(left, right);
            };
            if (s.side != SparSpec::Bottom) {
                QVERIFY2(std::abs(ys.back() - (high - s.depth)) <= 0.02,
                         qPrintable(rib + QStringLiteral("top depth %1").arg(high - ys.back())));
                const auto [l, r] = widthAt(high - s.depth / 2);
                QVERIFY2(std::abs(r - l - s.width) <= 0.02,
                         qPrintable(rib + QStringLiteral("top width %1").arg(r - l)));
                QVERIFY(std::abs((l + r) / 2 - x) <= 0.02);
            }
            if (s.side != SparSpec::Top) {
                // Below the chord the tabs may hang: the notch is the
                // lowest edge crossing above the outline's lowest point.
                double bottom = 1e9;
                for (double y : ys)
                    if (y > low + 0.001)
                        bottom = std::min(bottom, y);
                QVERIFY2(std::abs(bottom - (low + s.depth)) <= 0.02,
                         qPrintable(rib + QStringLiteral("bottom depth %1").arg(bottom - low)));
                const auto [l, r] = widthAt(low + s.depth / 2);
                QVERIFY2(std::abs(r - l - s.width) <= 0.02,
                         qPrintable(rib + QStringLiteral("bottom width %1").arg(r - l)));
            }
        }

        // Tabs: after the rib's turn about its pivot every tab's bottom lies
        // on the board, and nothing lies below it. The incidence changes
        // linearly; nose up turns the rib clockwise.
        if (kit.jig > 0) {
            const double turn = double(in.tip.angle - in.root.angle) * f * kPi / 180;
            const double px = kit.pivot / 100 * chord;
            QPolygonF turned;
            for (const QPointF &p : *cut) {
                const double dx = p.x() - px;
                turned << QPointF(px + dx * std::cos(turn) + p.y() * std::sin(turn),
                                  -dx * std::sin(turn) + p.y() * std::cos(turn));
            }
            const double lowest = turned.boundingRect().top();
            QVERIFY2(std::abs(lowest + kit.jig) <= 0.05,
                     qPrintable(rib + QStringLiteral("board at %1").arg(lowest)));
            int onBoard = 0;
            for (const QPointF &p : turned)
                onBoard += std::abs(p.y() + kit.jig) <= 0.05;
            QCOMPARE(onBoard, 2 * int(kit.tabs.size()));
            // One score line per tab, on the marks layer, at the rib's edge.
            int scores = 0;
            for (const DxfPolylines::Line &l : lines.at(QStringLiteral("marks"))) {
                if (l.points.size() == 2 && l.points[0].x() != l.points[1].x() &&
                    std::abs(QLineF(l.points[0], l.points[1]).length() - kit.tabWidth) < 0.5)
                    ++scores;
            }
            QCOMPARE(scores, int(kit.tabs.size()));
        }

        // Holes: inner contours of the cut layer, at least the web from the
        // outer contour (notches and cut-backs are part of it).
        if (kit.holes > 0) {
            int holes = 0;
            for (const DxfPolylines::Line &l : lines.at(QStringLiteral("cut"))) {
                if (&l.points == cut)
                    continue;
                ++holes;
                QVERIFY(l.closed);
                QVERIFY(std::abs(Polygons::signedArea(l.points)) >= PanelKit::kSmallestHole);
                const double margin = Polygons::boundaryDistance({l.points}, {*cut});
                QVERIFY2(margin >= kit.holes - 0.02,
                         qPrintable(rib + QStringLiteral("hole margin %1").arg(margin)));
                QCOMPARE(Polygons::pointIn({*cut}, l.points.first()), 1);
            }
            QVERIFY2(holes >= 2, qPrintable(rib + QStringLiteral("%1 holes").arg(holes)));
        }
    }
}

void TstPanelKit::refused_data()
{
    QTest::addColumn<QString>("options");
    QTest::addColumn<QString>("error");
    QTest::newRow("board through the rib") << "--jig 3"
                                           << "Rib N01: a board 3 mm below";
    QTest::newRow("spar deeper than the rib") << "--spar 25:6x12:both"
                                              << "Rib N01: the spar at 50.0 mm cuts the rib in two";
    QTest::newRow("tab on a bottom notch") << "--jig 20 --spar 15:6x3:bottom"
                                           << "Rib N01: the tab at 15 % falls on a spar notch";
    QTest::newRow("cut-backs meet") << "--le-cut 100 --te-cut 100"
                                    << "Rib N01: the leading- and trailing-edge cut-backs";
}

void TstPanelKit::refused()
{
    QFETCH(QString, options);
    QFETCH(QString, error);
    ScriptedPrompts prompts;
    ProfileStore store;
    store.loadFromBytes(database());
    PanelInputs in = fiveRibs();
    KitOptions kit;
    QString why;
    QVERIFY(readOptions(options, &in, &kit, &why));
    std::vector<RibVectors::Rib> ribs;
    QVERIFY(!PanelKit::buildRibs(in, kit, store, &ribs, &why));
    QVERIFY2(why.startsWith(error), qPrintable(why));
}

// A template's own cut-out (a 10 mm circle 120 mm behind the leading edge)
// keeps the web around it too.
void TstPanelKit::holesClearOfFigures()
{
    ScriptedPrompts prompts;
    ProfileStore store;
    store.loadFromBytes(database("FIGURE 2;1150;-60;1250;40;0;"));
    PanelInputs in = fiveRibs();
    KitOptions kit;
    kit.holes = 3;
    std::vector<RibVectors::Rib> ribs;
    QString error;
    QVERIFY2(PanelKit::buildRibs(in, kit, store, &ribs, &error), qPrintable(error));
    for (const RibVectors::Rib &rib : ribs) {
        const RibVectors::Shape *circle = nullptr;
        for (const RibVectors::Shape &s : rib.shapes)
            if (s.kind == RibVectors::Shape::Circle)
                circle = &s;
        QVERIFY(circle && std::abs(circle->radius - 5) < 1e-9);
        const DxfPolylines::ByLayer lines = readBack(rib);
        const QPolygonF *cut = outer(lines);
        // The outer contour, the largest, is cut after the holes: the kit
        // puts it first in the rib, the file last.
        QCOMPARE(cut, &lines.at(QStringLiteral("cut")).back().points);
        QVERIFY(!lines.count(QStringLiteral("figures")));
        int holes = 0;
        for (const DxfPolylines::Line &l : lines.at(QStringLiteral("cut"))) {
            if (&l.points == cut)
                continue;
            ++holes;
            for (const QPointF &p : l.points) {
                const double gap = QLineF(p, circle->centre).length() - circle->radius;
                QVERIFY2(gap >= kit.holes - 0.02, qPrintable(QStringLiteral("%1 mm").arg(gap)));
            }
        }
        QVERIFY(holes > 0);
    }
}

// A panel exported without any option of the kit, or with options that
// shape nothing, gives the bytes the plain export gives.
void TstPanelKit::withoutOptionsUnchanged()
{
    ScriptedPrompts prompts;
    QTemporaryDir dir;
    const QString db = dir.filePath(QStringLiteral("Profils.pro"));
    {
        QFile f(db);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(database());
    }
    auto run = [&](const QStringList &extra, const QString &out) {
        QString o, e;
        QTextStream os(&o), es(&e);
        const QStringList args =
            QStringList{"--db",      db,       "--root", "NACA 2412",      "--tip",
                        "NACA 0012", "--span", "400",    "--ribs",         "5",
                        "--format",  "dxf",    "-o",     dir.filePath(out)} +
            extra;
        return PanelCommand::run(args, os, es);
    };
    QCOMPARE(run({}, QStringLiteral("plain.dxf")), 0);
    QCOMPARE(run({"--pivot", "40"}, QStringLiteral("pivot.dxf")), 0);

    ProfileStore store, ribs;
    store.loadFromBytes(database());
    const WingPanel::Result r = WingPanel::compute(fiveRibs(), store);
    QVERIFY(r.ok());
    // The plain export of the panel's ribs, each at its exact chord (the
    // stored template lines keep whole millimetres).
    ExportJob::Picks picks;
    ExportJob::Chords chords;
    WingPanel::storeForCutting(ribs, QStringLiteral("PANEL"), r.ribs, &picks, &chords);
    QCOMPARE(int(picks.size()), 5);
    VectorExport::Options options;
    options.format = VectorExport::Format::Dxf;
    QString error;
    QVERIFY(ExportJob::exportTemplates(ribs, picks, options, 50, dir.filePath("direct.dxf"), &error,
                                       chords));
    auto bytes = [&](const char *name) {
        QFile f(dir.filePath(QString::fromLatin1(name)));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    QVERIFY(!bytes("direct.dxf").isEmpty());
    QCOMPARE(bytes("plain.dxf"), bytes("direct.dxf"));
    QCOMPARE(bytes("pivot.dxf"), bytes("direct.dxf"));
}

// The plan on A4 pages: the pages it needs, a 100 mm check bar on each, and
// every line that leaves a page through a join continues on the next at the
// same place against the join marks.
void TstPanelKit::planSheetsJoin()
{
    ScriptedPrompts prompts;
    ProfileStore store;
    store.loadFromBytes(database());
    PanelInputs in = fiveRibs();
    KitOptions kit;
    QString error;
    QVERIFY(readOptions(QStringLiteral("--spar 25:6x3:both --spar 60..50:5x4:top --le-cut 5 "
                                       "--te-cut 10"),
                        &in, &kit, &error));
    std::vector<RibVectors::Rib> ribs;
    QVERIFY2(PanelKit::buildRibs(in, kit, store, &ribs, &error), qPrintable(error));
    const RibVectors::Rib plan = PanelKit::plan(in, kit, ribs);
    const double margin = 10;
    const VectorExport::Document doc = PanelKit::planSheets(plan, QSizeF(210, 297), margin);
    // About 402 x 205 mm of plan on 190 mm wide pages: three in a row.
    QCOMPARE(int(doc.sheets.size()), 3);

    std::vector<DxfPolylines::ByLayer> pages;
    for (size_t s = 0; s < doc.sheets.size(); ++s) {
        VectorExport::Document one;
        one.ribs = {doc.ribs[s]};
        one.sheets = {doc.sheets[s]};
        one.ribSheet = {0};
        pages.push_back(DxfPolylines::read(VectorExport::dxf(one, &error)));
        QVERIFY(!pages.back().empty());
    }
    // The right edge of the tile on each page: the join marks' x there.
    auto joinX = [&](size_t s, bool right) {
        double x = right ? -1e9 : 1e9;
        for (const DxfPolylines::Line &l : pages[s].at(QStringLiteral("marks"))) {
            if (l.points.size() == 2 && l.points[0].x() == l.points[1].x() &&
                std::abs(std::abs(l.points[0].y() - l.points[1].y()) - 10) < 1e-3)
                x = right ? std::max(x, l.points[0].x()) : std::min(x, l.points[0].x());
        }
        return x;
    };
    for (size_t s = 0; s < pages.size(); ++s) {
        bool bar = false;
        for (const DxfPolylines::Line &l : pages[s].at(QStringLiteral("marks"))) {
            if (l.points.size() == 2 && l.points[0].y() == l.points[1].y() &&
                std::abs(std::abs(l.points[1].x() - l.points[0].x()) - 100) < 1e-6)
                bar = true;
        }
        QVERIFY2(bar, qPrintable(QStringLiteral("page %1 has no check bar").arg(s + 1)));
        QVERIFY(doc.sheets[s].contains(doc.ribs[s].bounds()));
    }
    // Line ends on the join, against the page's own frame (y from the
    // page's top), match those on the next page.
    for (size_t s = 0; s + 1 < pages.size(); ++s) {
        const double right = joinX(s, true), left = joinX(s + 1, false);
        std::vector<double> leaving, arriving;
        for (const auto &[layer, lines] : pages[s]) {
            if (layer == QLatin1String("marks"))
                continue;
            for (const DxfPolylines::Line &l : lines)
                for (const QPointF &p : {l.points.first(), l.points.last()})
                    if (std::abs(p.x() - right) < 1e-3)
                        leaving.push_back(doc.sheets[s].bottom() - p.y());
        }
        for (const auto &[layer, lines] : pages[s + 1]) {
            if (layer == QLatin1String("marks"))
                continue;
            for (const DxfPolylines::Line &l : lines)
                for (const QPointF &p : {l.points.first(), l.points.last()})
                    if (std::abs(p.x() - left) < 1e-3)
                        arriving.push_back(doc.sheets[s + 1].bottom() - p.y());
        }
        std::sort(leaving.begin(), leaving.end());
        std::sort(arriving.begin(), arriving.end());
        QVERIFY(leaving.size() >= 6); // outline twice, two spars twice, two stock lines
        QCOMPARE(leaving.size(), arriving.size());
        for (size_t k = 0; k < leaving.size(); ++k)
            QVERIFY(std::abs(leaving[k] - arriving[k]) < 1e-3);
    }
}

void TstPanelKit::commandLine_data()
{
    QTest::addColumn<QString>("args"); // "{db}" and "{file}" name the fixtures
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("lines");   // on the output stream
    QTest::addColumn<QString>("err"); // start of the error stream
    QTest::addColumn<QStringList>("made");
    const QString ends = "--db {db} --root NACA_2412 --tip NACA_0012 --span 400 ";
    QTest::newRow("washout listed")
        << ends + "--ribs 3 --washout 2 --list" << 0 << 3 << "" << QStringList{};
    QTest::newRow("panel file, ribs and plan")
        << "--from {file} --format svg -o kit.svg --plan plan.svg" << 0 << 1 << ""
        << QStringList{"kit.svg", "plan.svg"};
    QTest::newRow("panel file, rib count changed")
        << "--ribs 7 --list --from {file}" << 0 << 7 << "" << QStringList{};
    QTest::newRow("missing panel file")
        << "--from none.json --list" << 1 << 0 << "none.json: " << QStringList{};
    QTest::newRow("spar without depth")
        << ends + "--ribs 3 --spar 25:6 --list" << 1 << 0
        << "--spar: POS:WxD[:top|bottom|both] expected: 25:6" << QStringList{};
    QTest::newRow("plan without a format") << ends + "--ribs 3 --plan plan.pdf --list" << 1 << 0
                                           << "--plan goes with --format and -o" << QStringList{};
    QTest::newRow("board through the rib: nothing written")
        << ends + "--ribs 3 --jig 2 --format dxf -o kit.dxf --plan plan.dxf" << 2 << 0
        << "Rib N01: a board 2 mm below the pivot cuts the rib" << QStringList{};
}

// The command line over the kit, files made in a folder of their own.
void TstPanelKit::commandLine()
{
    QFETCH(QString, args);
    QFETCH(int, code);
    QFETCH(int, lines);
    QFETCH(QString, err);
    QFETCH(QStringList, made);
    QTemporaryDir dir;
    QVERIFY(writeWing(dir, 0));

    QStringList argv;
    for (QString a : args.split(' ', Qt::SkipEmptyParts)) {
        a.replace('_', ' ');
        a.replace(QStringLiteral("{db}"), dir.filePath(QStringLiteral("Profils.pro")));
        a.replace(QStringLiteral("{file}"), dir.filePath(QStringLiteral("wing.json")));
        if (a.endsWith(QStringLiteral(".svg")) || a.endsWith(QStringLiteral(".dxf")) ||
            a.endsWith(QStringLiteral(".pdf")) || a == QStringLiteral("none.json"))
            a = dir.filePath(a);
        argv << a;
    }
    QString outText, errText;
    QTextStream out(&outText), errs(&errText);
    QCOMPARE(PanelCommand::run(argv, out, errs), code);
    out.flush();
    errs.flush();
    QCOMPARE(int(outText.split('\n', Qt::SkipEmptyParts).size()), lines);
    if (err.isEmpty())
        QCOMPARE(errText, QString());
    else
        QVERIFY2(errText.contains(err), qPrintable(errText));
    const QStringList files =
        QDir(dir.path()).entryList({"*.svg", "*.dxf", "*.pdf"}, QDir::Files, QDir::Name);
    QCOMPARE(files, made);
    // The ribs carry their notches: the rib file names every rib.
    if (made.contains(QStringLiteral("kit.svg"))) {
        QFile svg(dir.filePath(QStringLiteral("kit.svg")));
        QVERIFY(svg.open(QIODevice::ReadOnly));
        const QByteArray text = svg.readAll();
        for (int i = 1; i <= 5; ++i)
            QVERIFY(text.contains("KIT N0" + QByteArray::number(i)));
    }
}

// The export's laser options on the panel's command line and in its file,
// measured on the DXF file read back: the notch walls (the only short
// vertical edges of the outer contours) give the notch widths.
void TstPanelKit::laserOptions_data()
{
    QTest::addColumn<double>("storedKerf"); // in the panel file
    QTest::addColumn<QString>("args");
    QTest::addColumn<int>("code");
    QTest::addColumn<double>("notch"); // width measured, 0: not measured
    QTest::addColumn<int>("parts");
    QTest::addColumn<QString>("err");
    QTest::newRow("as the file says") << 0.0 << "" << 0 << 6.0 << 5 << "";
    QTest::newRow("kerf 0.2") << 0.0 << "--kerf 0.2" << 0 << 5.8 << 5 << "";
    QTest::newRow("kerf in the file") << 0.2 << "" << 0 << 5.8 << 5 << "";
    QTest::newRow("file's kerf overridden") << 0.2 << "--kerf 0" << 0 << 6.0 << 5 << "";
    QTest::newRow("two copies") << 0.0 << "--copies 2" << 0 << 6.0 << 10 << "";
    QTest::newRow("rows, free grain") << 0.0 << "--nest rows --grain free" << 0 << 0.0 << 5 << "";
    QTest::newRow("kerf too wide") << 0.0 << "--kerf 9" << 1 << 0.0 << 0 << "Bad kerf: 9";
    QTest::newRow("no copies") << 0.0 << "--copies 0" << 1 << 0.0 << 0 << "Bad number of copies: 0";
    QTest::newRow("unknown nesting")
        << 0.0 << "--nest spiral" << 1 << 0.0 << 0 << "Bad nesting (shape or rows): spiral";
}

void TstPanelKit::laserOptions()
{
    QFETCH(double, storedKerf);
    QFETCH(QString, args);
    QFETCH(int, code);
    QFETCH(double, notch);
    QFETCH(int, parts);
    QFETCH(QString, err);
    QTemporaryDir dir;
    QVERIFY(writeWing(dir, storedKerf));
    const QString dxf = dir.filePath(QStringLiteral("kit.dxf"));
    const QStringList argv =
        QStringList{"--from", dir.filePath(QStringLiteral("wing.json")), "--format", "dxf", "-o",
                    dxf} +
        args.split(' ', Qt::SkipEmptyParts);
    QString outText, errText;
    QTextStream out(&outText), errs(&errText);
    QCOMPARE(PanelCommand::run(argv, out, errs), code);
    out.flush();
    errs.flush();
    QVERIFY2(err.isEmpty() ? errText.isEmpty() : errText.startsWith(err), qPrintable(errText));
    QCOMPARE(QFile::exists(dxf), code == 0);
    if (code != 0)
        return;
    QFile file(dxf);
    QVERIFY(file.open(QIODevice::ReadOnly));
    DxfPolylines::ByLayer lines = DxfPolylines::read(file.readAll());

    // The sheets reported are the sheets drawn.
    const QRegularExpression sheets(QStringLiteral("rib\\(s\\), (\\d+) sheet\\(s\\)"));
    const QRegularExpressionMatch m = sheets.match(outText);
    QVERIFY2(m.hasMatch(), qPrintable(outText));
    QCOMPARE(m.captured(1).toInt(), int(lines[QStringLiteral("sheet")].size()));

    // Outer contours: the closed cut lines inside no other.
    std::vector<const QPolygonF *> outers;
    for (const DxfPolylines::Line &l : lines[QStringLiteral("cut")]) {
        bool inside = false;
        for (const DxfPolylines::Line &o : lines[QStringLiteral("cut")])
            inside = inside ||
                     (&o != &l && o.closed && Polygons::pointIn({o.points}, l.points.first()) == 1);
        if (l.closed && !inside)
            outers.push_back(&l.points);
    }
    QCOMPARE(int(outers.size()), parts);
    if (notch == 0)
        return;
    int notches = 0;
    for (const QPolygonF *ring : outers) {
        std::vector<QLineF> walls;
        for (int i = 0; i < ring->size(); ++i) {
            const QLineF e((*ring)[i], (*ring)[(i + 1) % ring->size()]);
            if (std::abs(e.dx()) < 1e-4 && std::abs(e.dy()) > 2 && std::abs(e.dy()) < 3.5)
                walls.push_back(e);
        }
        for (size_t a = 0; a < walls.size(); ++a) {
            for (size_t b = a + 1; b < walls.size(); ++b) {
                const double gap = std::abs(walls[b].x1() - walls[a].x1());
                const double overlap = std::min(std::max(walls[a].y1(), walls[a].y2()),
                                                std::max(walls[b].y1(), walls[b].y2())) -
                                       std::max(std::min(walls[a].y1(), walls[a].y2()),
                                                std::min(walls[b].y1(), walls[b].y2()));
                if (gap < 4 || gap > 8 || overlap < 1)
                    continue;
                ++notches;
                QVERIFY2(std::abs(gap - notch) <= 0.02, qPrintable(QString::number(gap)));
            }
        }
    }
    // A notch in each edge of every part.
    QCOMPARE(notches, 2 * parts);
}

QTEST_MAIN(TstPanelKit)
#include "tst_panelkit.moc"
