// Foam cores: the hot-wire G-code read back and its wire rebuilt between the
// towers, the hand templates' marks measured on the DXF read back, and the
// settings the command refuses.
#include "DxfPolylines.h"
#include "HardSections.h"
#include "Naca.h"

#include "cutting/VectorExport.h"
#include "hybrid/FoamCores.h"
#include "hybrid/HotWireCommand.h"
#include "profiles/ProfileStore.h"
#include "ui/Language.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>
#include <QTransform>

#include <cmath>

namespace
{

// Three ends: a plain section, a cambered one of another chord and skin,
// and a blunt-tailed, cambered one with jittered spacing and surfaces of
// different point counts.
QByteArray database()
{
    QByteArray text;
    auto add = [&](const QString &name, const QStringList &lines, const char *templ) {
        text += "\r\nPROFIL " + name.toLatin1() + "\r\n";
        for (const QString &l : lines)
            text += l.toLatin1() + "\r\n";
        text += QByteArray(templ) + "\r\n";
    };
    add("NACA 0012", Naca::pointLines(Naca::fourDigit("0012", 81)), "GABARIT 200;15;");
    add("NACA 2412", Naca::pointLines(Naca::fourDigit("2412", 61)), "GABARIT 120;10;");
    HardSections::Section blunt;
    blunt.tailGap = 0.02;
    blunt.camber = 0.04;
    blunt.spacing = 3;
    blunt.upperCount = 47;
    blunt.lowerCount = 73;
    add("BLUNT", HardSections::pointLines(blunt), "GABARIT 160;20;");
    return text;
}

// Distance from p to a closed ring's boundary.
double toRing(QPointF p, const QPolygonF &ring)
{
    double best = 1e300;
    for (int i = 0; i < ring.size(); ++i) {
        const QPointF a = ring[i], b = ring[(i + 1) % ring.size()];
        const QPointF d = b - a;
        const double l2 = QPointF::dotProduct(d, d);
        const double t = l2 > 0 ? std::clamp(QPointF::dotProduct(p - a, d) / l2, 0.0, 1.0) : 0;
        const QPointF q = a + d * t - p;
        best = std::min(best, std::hypot(q.x(), q.y()));
    }
    return best;
}

// Both ends of a panel of the test database (names with '_' for blanks).
bool readEnds(const QString &root, const QString &tip, double span, FoamCores::Ends *ends,
              QString *err)
{
    ProfileStore store;
    store.loadFromBytes(database());
    PanelInputs panel;
    panel.root.profile = QString(root).replace('_', ' ');
    panel.tip.profile = QString(tip).replace('_', ' ');
    panel.span = span;
    return FoamCores::read(panel, store, ends, err);
}

// The ring grown by half the kerf, as the polygon library grows it.
QPolygonF grown(const QPolygonF &ring, double kerf)
{
    if (kerf <= 0)
        return ring;
    const Polygons::Shape s = Polygons::offset({ring}, kerf / 2);
    return s.empty() ? QPolygonF() : s.front();
}

double hypot4(double a, double b, double c, double d)
{
    return std::sqrt(a * a + b * b + c * c + d * d);
}

} // namespace

class TstHotWire : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        Language::setFrench(false);
        QVERIFY(m_dir.isValid());
        m_db = m_dir.filePath("Profils.pro");
        QFile f(m_db);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(database());
    }
    void gcode_data();
    void gcode();
    void templateMarks_data() { gcode_data(); }
    void templateMarks();
    void refused_data();
    void refused();

private:
    int command(const QString &args, const QString &output, QString *err);
    QTemporaryDir m_dir;
    QString m_db;
};

int TstHotWire::command(const QString &args, const QString &output, QString *err)
{
    // Underscores stand for the blanks inside a name.
    QStringList argv{"--db", m_db};
    for (QString a : args.split(' ', Qt::SkipEmptyParts))
        argv << a.replace('_', ' ');
    argv << "-o" << output;
    QString outText, errText;
    QTextStream out(&outText), errStream(&errText);
    const int code = HotWireCommand::run(argv, out, errStream);
    errStream.flush();
    *err = errText.section('\n', 0, 0);
    return code;
}

void TstHotWire::gcode_data()
{
    QTest::addColumn<QString>("root");
    QTest::addColumn<QString>("tip");
    QTest::addColumn<double>("span");
    QTest::addColumn<double>("width");
    QTest::addColumn<double>("offset");
    QTest::addColumn<double>("kerf");
    QTest::addColumn<double>("washout");
    QTest::addColumn<double>("pivot");
    QTest::addColumn<double>("sweep");
    QTest::addColumn<QString>("feedMode");

    QTest::newRow("same section, no kerf")
        << "NACA_0012"
        << "NACA_0012" << 400.0 << 400.0 << 0.0 << 0.0 << 0.0 << 25.0 << 0.0 << "combined";
    QTest::newRow("taper, kerf") << "NACA_0012"
                                 << "NACA_2412" << 500.0 << 900.0 << 150.0 << 1.2 << 0.0 << 25.0
                                 << 0.0 << "combined";
    QTest::newRow("taper, washout 3, inverse time")
        << "NACA_0012"
        << "NACA_2412" << 600.0 << 800.0 << 100.0 << 0.8 << 3.0 << 25.0 << 0.0 << "inverse";
    QTest::newRow("blunt tail root, washout about 40 %")
        << "BLUNT"
        << "NACA_2412" << 450.0 << 1000.0 << 300.0 << 1.0 << 2.5 << 40.0 << 0.0 << "";
    QTest::newRow("blunt tail tip, sweep, wash-in, inverse time")
        << "NACA_0012"
        << "BLUNT" << 700.0 << 700.0 << 0.0 << 0.5 << -1.5 << 30.0 << 35.0 << "inverse";
}

void TstHotWire::gcode()
{
    QFETCH(QString, root);
    QFETCH(QString, tip);
    QFETCH(double, span);
    QFETCH(double, width);
    QFETCH(double, offset);
    QFETCH(double, kerf);
    QFETCH(double, washout);
    QFETCH(double, pivot);
    QFETCH(double, sweep);
    QFETCH(QString, feedMode);
    constexpr double kFeed = 240;
    const QString path = m_dir.filePath("core.ngc");
    QString err;
    QCOMPARE(command(QString("--root %1 --tip %2 --span %3 --width %4 --offset %5 --kerf %6 "
                             "--washout %7 --pivot %8 --sweep %9 --feed 240 --lead 12 ")
                             .arg(root, tip)
                             .arg(span)
                             .arg(width)
                             .arg(offset)
                             .arg(kerf)
                             .arg(washout)
                             .arg(pivot)
                             .arg(sweep) +
                         (feedMode.isEmpty() ? QString() : "--feed-mode " + feedMode),
                     path, &err),
             0);
    QCOMPARE(err, QString());

    // The G-code read back: every move's wire between the towers, cut by the
    // two faces' planes.
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromLatin1(f.readAll()).split('\n', Qt::SkipEmptyParts);
    const bool inverse = feedMode == "inverse";
    // In inverse time, G93 follows the first move (made at the feed from
    // wherever the towers are) and G94 is back before the end.
    const int first = int(lines.indexOf(QRegularExpression("^G1 .*")));
    QCOMPARE(lines.value(first - 1), QString(inverse ? "G21 G90 G94" : "G21 G90"));
    QCOMPARE(lines.value(first + 1).startsWith("G93"), inverse);
    QCOMPARE(lines.last(), QString("M2"));
    QCOMPARE(lines.value(lines.size() - 2) == "G94", inverse);
    static const QRegularExpression move("^G1 X(\\S+) Y(\\S+) U(\\S+) V(\\S+) F(\\S+)$");
    QPolygonF rootPath, tipPath;
    std::vector<std::array<double, 5>> moves;
    for (const QString &l : lines) {
        const QRegularExpressionMatch m = move.match(l);
        if (!m.hasMatch())
            continue;
        std::array<double, 5> v;
        for (int i = 0; i < 5; ++i)
            v[size_t(i)] = m.captured(i + 1).toDouble();
        moves.push_back(v);
        const QPointF xy(v[0], v[1]), uv(v[2], v[3]);
        rootPath << xy + (uv - xy) * (offset / width);
        tipPath << xy + (uv - xy) * ((offset + span) / width);
    }
    QVERIFY(moves.size() > 100);

    // The outlines as the templates have them, grown and placed here.
    FoamCores::Ends ends;
    QVERIFY2(readEnds(root, tip, span, &ends, &err), qPrintable(err));
    const QPolygonF rootRing = grown(ends.core.root, kerf);
    const QTransform place = QTransform::fromTranslate(sweep, 0)
                                 .translate(pivot / 100 * ends.core.tipChord, 0)
                                 .rotate(washout)
                                 .translate(-pivot / 100 * ends.core.tipChord, 0);
    const QPolygonF tipOwn = grown(ends.core.tip, kerf);
    const QPolygonF tipRing = place.map(tipOwn);
    const QTransform back = place.inverted();

    // Start and end behind the trailing edge; every other move on both outlines.
    const int last = int(moves.size()) - 1;
    QCOMPARE(rootPath[0], rootPath[last]);
    QVERIFY(rootPath[0].x() >= rootRing.boundingRect().right() + 11.9);
    for (int i = 1; i < last; ++i) {
        QVERIFY2(toRing(rootPath[i], rootRing) <= 0.05, qPrintable(QString::number(i)));
        QVERIFY2(toRing(tipPath[i], tipRing) <= 0.05, qPrintable(QString::number(i)));
    }
    // ...and every outline point on its face's path.
    const QPolygonF rootCore = rootPath.mid(1, last - 1), tipCore = tipPath.mid(1, last - 1);
    for (QPointF p : rootRing)
        QVERIFY(toRing(p, rootCore) <= 0.05);
    for (QPointF p : tipRing)
        QVERIFY(toRing(p, tipCore) <= 0.05);

    // Leading and trailing edges on the same move: the extremes along each
    // face's own chord.
    auto bothAt = [&](bool front) {
        const QRectF r = rootRing.boundingRect(), t = tipOwn.boundingRect();
        for (int i = 1; i < last; ++i) {
            const QPointF tp = back.map(tipPath[i]);
            const bool atRoot = std::abs(rootPath[i].x() - (front ? r.left() : r.right())) <= 0.05;
            const bool atTip = std::abs(tp.x() - (front ? t.left() : t.right())) <= 0.05;
            if (atRoot && atTip)
                return i;
        }
        return -1;
    };
    QVERIFY(bothAt(true) > 1);
    QCOMPARE(bothAt(false), 1);

    // Each surface at the same shares of its length on both faces.
    auto sharesTo = [&](const QPolygonF &path, int from, int to) {
        std::vector<double> s{0};
        for (int i = from + 1; i <= to; ++i)
            s.push_back(s.back() +
                        std::hypot(path[i].x() - path[i - 1].x(), path[i].y() - path[i - 1].y()));
        for (double &v : s)
            v /= s.back();
        return s;
    };
    const int le = bothAt(true);
    for (auto [from, to] : {std::pair{1, le}, std::pair{le, last - 1}}) {
        const std::vector<double> a = sharesTo(rootPath, from, to), b = sharesTo(tipPath, from, to);
        for (size_t i = 0; i < a.size(); ++i)
            QVERIFY2(std::abs(a[i] - b[i]) < 2e-4, qPrintable(QString::number(from + int(i))));
    }

    // The feed: at F over the towers' combined length, or in 1/F minutes in
    // inverse time, the faster face moves at the feed, the other no faster.
    QCOMPARE(moves.front()[4], kFeed);
    for (int i = 1; i <= last; ++i) {
        const auto &a = moves[size_t(i) - 1], &b = moves[size_t(i)];
        const double minutes =
            inverse ? 1 / b[4] : hypot4(b[0] - a[0], b[1] - a[1], b[2] - a[2], b[3] - a[3]) / b[4];
        const double r = std::hypot(rootPath[i].x() - rootPath[i - 1].x(),
                                    rootPath[i].y() - rootPath[i - 1].y());
        const double t =
            std::hypot(tipPath[i].x() - tipPath[i - 1].x(), tipPath[i].y() - tipPath[i - 1].y());
        if (std::max(r, t) < (inverse ? 0.05 : 1))
            continue; // too short for the file's thousandths
        QVERIFY2(std::max(r, t) / minutes <= kFeed * 1.01, qPrintable(QString::number(i)));
        QVERIFY2(std::max(r, t) / minutes >= kFeed * 0.99, qPrintable(QString::number(i)));
    }
}

void TstHotWire::templateMarks()
{
    QFETCH(QString, root);
    QFETCH(QString, tip);
    QFETCH(double, span);
    QFETCH(double, kerf);
    FoamCores::Ends ends;
    QString err;
    QVERIFY2(readEnds(root, tip, span, &ends, &err), qPrintable(err));
    const std::vector<RibVectors::Rib> ribs = FoamCores::templates(ends, kerf, 12);
    QCOMPARE(ribs.size(), size_t(2));
    std::vector<int> counts;
    for (int side = 0; side < 2; ++side) {
        // Each template alone in a DXF file keeps its own frame.
        VectorExport::Options options;
        options.format = VectorExport::Format::Dxf;
        const QByteArray bytes = VectorExport::bytes(
            VectorExport::arrange({ribs[size_t(side)]}, options), VectorExport::Format::Dxf, &err);
        const DxfPolylines::ByLayer layers = DxfPolylines::read(bytes);
        QCOMPARE(layers.at("cut").size(), size_t(1));
        QPolygonF ring = layers.at("cut").front().points;
        // The cut is the outline grown by half the kerf, both ways round.
        const QPolygonF expected = grown(side == 0 ? ends.core.root : ends.core.tip, kerf);
        for (QPointF p : ring)
            QVERIFY(toRing(p, expected) <= 0.05);
        for (QPointF p : expected)
            QVERIFY(toRing(p, ring) <= 0.05);

        // The marks: short lines starting on the outline.
        if (Polygons::signedArea(ring) < 0)
            std::reverse(ring.begin(), ring.end());
        std::vector<QPointF> marks;
        for (const DxfPolylines::Line &l : layers.at("marks")) {
            const QPointF d = l.points.last() - l.points.first();
            if (l.points.size() == 2 &&
                std::abs(std::hypot(d.x(), d.y()) - FoamCores::kMarkLength) < 0.01)
                marks.push_back(l.points.first());
        }
        counts.push_back(int(marks.size()));
        // Arc length along the ring (anticlockwise) from the trailing edge
        // mark, the one furthest back.
        const QRectF box = ring.boundingRect();
        auto along = [&](QPointF p) {
            double best = 1e300, at = 0, s = 0;
            for (int i = 0; i < ring.size(); ++i) {
                const QPointF a = ring[i], b = ring[(i + 1) % ring.size()];
                const double l = std::hypot(b.x() - a.x(), b.y() - a.y());
                const QPolygonF seg{a, b};
                const double d = toRing(p, seg);
                if (d < best) {
                    best = d;
                    at = s + std::hypot(p.x() - a.x(), p.y() - a.y());
                }
                s += l;
            }
            return std::pair{at, s};
        };
        const auto te = *std::max_element(marks.begin(), marks.end(),
                                          [](QPointF a, QPointF b) { return a.x() < b.x(); });
        const auto le = *std::min_element(marks.begin(), marks.end(),
                                          [](QPointF a, QPointF b) { return a.x() < b.x(); });
        QVERIFY(std::abs(te.x() - box.right()) <= 0.1);
        QVERIFY(std::abs(le.x() - box.left()) <= 0.1);
        const double total = along(te).second;
        auto from = [&](QPointF p) {
            return std::fmod(along(p).first - along(te).first + total, total);
        };
        const double upper = from(le), lower = total - upper;
        std::vector<double> found;
        for (QPointF p : marks) {
            QVERIFY(toRing(p, ring) <= 0.1);
            found.push_back(from(p) < total - 0.05 ? from(p) : 0);
        }
        std::sort(found.begin(), found.end());
        std::vector<double> wanted;
        for (int k = 0; k <= 10; ++k)
            wanted.push_back(upper * k / 10);
        for (int k = 1; k < 10; ++k)
            wanted.push_back(upper + lower * k / 10);
        QCOMPARE(found.size(), wanted.size());
        for (size_t i = 0; i < found.size(); ++i)
            QVERIFY2(std::abs(found[i] - wanted[i]) <= 0.1,
                     qPrintable(QString("%1: %2 / %3").arg(i).arg(found[i]).arg(wanted[i])));
    }
    QCOMPARE(counts[0], counts[1]);
}

void TstHotWire::refused_data()
{
    QTest::addColumn<QString>("args");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("err");

    const QString ends = "--root NACA_0012 --tip NACA_2412 ";
    QTest::newRow("block wider than the towers")
        << ends + "--span 600 --width 700 --offset 150" << 2
        << "The block (offset 150 + span 600 mm) is wider than the towers, 700 mm apart.";
    QTest::newRow("kerf larger than the core")
        << ends + "--span 600 --width 700 --kerf 30" << 2
        << "The kerf (30 mm) must be 0 or more and thinner than the core (12.5943 mm thick).";
    QTest::newRow("missing profile") << "--root NACA_0012 --tip NACA_0015 --span 6 --width 7" << 2
                                     << "Tip airfoil not found: NACA 0015";
    QTest::newRow("missing template")
        << ends + ":2 --span 6 --width 7" << 2 << "Airfoil NACA 2412 has no template # 2";
    QTest::newRow("not a number") << ends + "--span 6O0 --width 700" << 1
                                  << "--span: not a number: 6O0";
    QTest::newRow("no feed") << ends + "--span 600 --width 700 --feed 0" << 2
                             << "The feed must be above 0.";
    QTest::newRow("washout out of range") << ends + "--span 600 --width 700 --washout 50" << 1
                                          << "--washout: not a number from -45 to 45: 50";
    QTest::newRow("unknown feed mode") << ends + "--span 6 --width 7 --feed-mode xy" << 1
                                       << "--feed-mode: combined or inverse, not xy";
    QTest::newRow("templates of no format") << ends + "--span 6 --width 7 --templates t.png" << 1
                                            << "--templates: a .svg, .dxf or .pdf file, not t.png";
}

void TstHotWire::refused()
{
    QFETCH(QString, args);
    QFETCH(int, code);
    QFETCH(QString, err);
    const QString path = m_dir.filePath("refused.ngc");
    QString said;
    // ":2" follows the tip's name.
    QCOMPARE(command(args.replace(" :2", ":2"), path, &said), code);
    QCOMPARE(said, err);
    QVERIFY(!QFile::exists(path));
}

QTEST_MAIN(TstHotWire)
#include "tst_hotwire.moc"
