// Files a laser runs as they are: a 60-rib panel nested by shape against
// the rows layout, and the DXF read back by the DXF library's reader and
// measured with the polygon library: closed contours, one outer contour per
// rib after its inner ones, the gap kept, the grain, the kerf.
#include "cutting/ExportJob.h"
#include "cutting/RibContours.h"
#include "cutting/VectorExport.h"
#include "geometry/Polygons.h"
#include "profiles/ProfileStore.h"
#include "ui/Language.h"

#include "Naca.h"
#include "ScriptedPrompts.h"

#include <QDir>
#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

#include <dl_creationadapter.h>
#include <dl_dxf.h>

#include <algorithm>
#include <cmath>

namespace
{

// One profile with a template per chord, each with a 6 mm spar notch
// through the upper surface at 30 % and a 6 mm hole at 50 %, 2 mm above the
// chord line (inside every cambered section used here).
QByteArray panel(const QString &digits, const std::vector<int> &chords, int skin)
{
    QStringList lines{QStringLiteral("PROFIL NACA ") + digits};
    lines += Naca::pointLines(Naca::fourDigit(digits));
    for (int chord : chords) {
        lines << QStringLiteral("GABARIT %1;%2;").arg(chord).arg(skin);
        const int spar = chord * 3; // tenths of mm at 30 %
        lines << QStringLiteral("FIGURE 0;%1;-300;%2;-30;0;").arg(spar - 30).arg(spar + 30);
        const int hole = chord * 5;
        lines << QStringLiteral("FIGURE 2;%1;-50;%2;10;0;").arg(hole - 30).arg(hole + 30);
    }
    return lines.join(QStringLiteral("\r\n")).toLatin1() + "\r\n";
}

struct Entity {
    std::string layer;
    bool closed = false;
    QPolygonF points; // a circle: its centre, radius in radius
    double radius = 0;
};

// Every polyline and circle of a DXF file, in file order.
struct Reader : DL_CreationAdapter {
    std::vector<Entity> entities;
    void addPolyline(const DL_PolylineData &d) override
    {
        entities.push_back({attributes.getLayer(), (d.flags & 1) != 0, {}, 0});
    }
    void addVertex(const DL_VertexData &d) override
    {
        if (!entities.empty())
            entities.back().points << QPointF(d.x, d.y);
    }
    void addCircle(const DL_CircleData &d) override
    {
        entities.push_back({attributes.getLayer(), true, {QPointF(d.cx, d.cy)}, d.radius});
    }
};

std::vector<Entity> readDxf(const QByteArray &bytes)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("ribs.dxf"));
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        return {};
    f.close();
    Reader reader;
    DL_Dxf dxf;
    if (!dxf.in(path.toStdString(), &reader))
        return {};
    return reader.entities;
}

std::vector<RibVectors::Rib> ribsOf(const QByteArray &database)
{
    ProfileStore store;
    store.loadFromBytes(database);
    std::vector<RibVectors::Rib> ribs;
    QString error;
    ExportJob::buildRibs(store, ExportJob::allTemplatesOf(store, {0}), 50, RibVectors::allLayers(),
                         &ribs, &error);
    return ribs;
}

std::vector<int> taperedChords(int count)
{
    std::vector<int> chords;
    for (int i = 0; i < count; ++i)
        chords.push_back(200 - i * 60 / std::max(1, count - 1));
    return chords;
}

} // namespace

class TstLaserFiles : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { Language::setFrench(false); }
    void nestedDxf_data();
    void nestedDxf();
    void svgCutOrder();
    void svgPrecision();
    void fewerSheetsThanRows();
    void kerfInTheFile();
    void labelBoxHoldsItsText();
    void pdfCheckBar_data();
    void pdfCheckBar();
};

void TstLaserFiles::nestedDxf_data()
{
    QTest::addColumn<int>("ribs");
    QTest::addColumn<int>("copies");
    QTest::addColumn<double>("gap");
    QTest::addColumn<double>("kerf");
    QTest::addColumn<bool>("freeGrain");
    QTest::addColumn<QSizeF>("sheet");
    QTest::addColumn<int>("oversized");
    QTest::newRow("60 ribs, 3 mm gap") << 60 << 1 << 3.0 << 0.0 << false << QSizeF(600, 300) << 0;
    QTest::newRow("two wing halves, kerf 0.2")
        << 12 << 2 << 3.0 << 0.2 << false << QSizeF(600, 300) << 0;
    QTest::newRow("no gap") << 20 << 1 << 0.0 << 0.0 << false << QSizeF(600, 300) << 0;
    QTest::newRow("grain free") << 20 << 1 << 5.0 << 0.0 << true << QSizeF(400, 400) << 0;
    QTest::newRow("ribs longer than the sheet")
        << 4 << 1 << 3.0 << 0.0 << false << QSizeF(120, 100) << 4;
}

// Read back from the DXF: every contour closed, one outer contour per rib
// after its inner ones, ribs on their sheet and never closer than the gap.
void TstLaserFiles::nestedDxf()
{
    QFETCH(int, ribs);
    QFETCH(int, copies);
    QFETCH(double, gap);
    QFETCH(double, kerf);
    QFETCH(bool, freeGrain);
    QFETCH(QSizeF, sheet);
    QFETCH(int, oversized);
    ScriptedPrompts prompts;
    VectorExport::Options options;
    options.format = VectorExport::Format::Dxf;
    options.sheet = sheet;
    options.gap = gap;
    options.kerf = kerf;
    options.freeGrain = freeGrain;
    options.copies = copies;
    const VectorExport::Document doc = VectorExport::arrange(
        ribsOf(panel(QStringLiteral("2412"), taperedChords(ribs), 15)), options);
    QCOMPARE(int(doc.ribs.size()), ribs * copies);
    QCOMPARE(doc.oversized, oversized);
    QVERIFY(doc.covered > 0 && doc.covered < 1);
    for (int turn : doc.ribTurn)
        QVERIFY(freeGrain ? turn % 90 == 0 : (turn == 0 || turn == 180));
    QString error;
    const std::vector<Entity> read = readDxf(VectorExport::bytes(doc, options.format, &error));
    QVERIFY(!read.empty());

    std::vector<QRectF> sheets;
    std::vector<Entity> cuts;
    for (const Entity &e : read) {
        if (e.layer == "sheet")
            sheets.push_back(e.points.boundingRect());
        QVERIFY(e.layer != "figures"); // every figure is in the cut or out of it
        if (e.layer != "cut")
            continue;
        QVERIFY(e.closed);
        cuts.push_back(e);
    }
    // An outer contour lies inside no other; the contours before it, back to
    // the previous outer one, are its inner contours and lie inside it.
    auto inside = [](const Entity &e, const Entity &in) {
        return &e != &in && in.radius == 0 && Polygons::pointIn({in.points}, e.points.first()) == 1;
    };
    std::vector<Polygons::Ring> outers;
    std::vector<const Entity *> pendingInner;
    for (const Entity &e : cuts) {
        const bool outer = std::none_of(cuts.begin(), cuts.end(),
                                        [&](const Entity &other) { return inside(e, other); });
        if (!outer) {
            pendingInner.push_back(&e);
            continue;
        }
        QVERIFY(e.radius == 0 && Polygons::isSimple(e.points));
        QCOMPARE(int(pendingInner.size()), 1); // the hole; the notch is in the outline
        for (const Entity *inner : pendingInner)
            QVERIFY(inside(*inner, e));
        pendingInner.clear();
        outers.push_back(e.points);
    }
    QVERIFY(pendingInner.empty());
    QCOMPARE(int(outers.size()), ribs * copies);
    QCOMPARE(int(sheets.size()), int(doc.sheets.size()));

    // Each outline on one sheet, the gap from its edges and from every other.
    std::vector<int> onSheet;
    for (const Polygons::Ring &outer : outers) {
        const QRectF box = outer.boundingRect();
        int found = -1;
        for (size_t s = 0; s < sheets.size(); ++s)
            if (sheets[s].adjusted(gap - 1e-3, gap - 1e-3, -gap + 1e-3, -gap + 1e-3).contains(box))
                found = int(s);
        QVERIFY2(found >= 0,
                 qPrintable(QStringLiteral("box %1 %2").arg(box.left()).arg(box.top())));
        onSheet.push_back(found);
        if (!freeGrain)
            QVERIFY(box.width() > 3 * box.height()); // the chord along the sheet
    }
    for (size_t a = 0; a < outers.size(); ++a)
        for (size_t b = a + 1; b < outers.size(); ++b) {
            if (onSheet[a] != onSheet[b] || !outers[a]
                                                 .boundingRect()
                                                 .adjusted(-gap, -gap, gap, gap)
                                                 .intersects(outers[b].boundingRect()))
                continue;
            QVERIFY(Polygons::area(Polygons::intersect({outers[a]}, {outers[b]})) == 0);
            const double d = Polygons::boundaryDistance({outers[a]}, {outers[b]});
            QVERIFY2(d >= gap - 1e-3,
                     qPrintable(QStringLiteral("%1 and %2: %3 mm").arg(a).arg(b).arg(d)));
        }
}

// In the SVG file too, the cut layer holds each rib's hole, then its
// outline, rib after rib; nothing is left on the figures layer.
void TstLaserFiles::svgCutOrder()
{
    ScriptedPrompts prompts;
    VectorExport::Options options;
    options.format = VectorExport::Format::Svg;
    const VectorExport::Document doc =
        VectorExport::arrange(ribsOf(panel(QStringLiteral("2412"), taperedChords(8), 15)), options);
    QXmlStreamReader xml(VectorExport::svg(doc));
    QString layer;
    int depth = 0;
    QStringList cut, figures;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            const QString name = xml.name().toString();
            if (name == QLatin1String("g") && depth == 0 &&
                xml.attributes().hasAttribute(QLatin1String("id"))) {
                layer = xml.attributes().value(QLatin1String("id")).toString();
                depth = 1;
                continue;
            }
            if (depth > 0)
                ++depth;
            if (name == QLatin1String("g") || name == QLatin1String("defs"))
                continue;
            if (layer == QLatin1String("cut"))
                cut << name;
            else if (layer == QLatin1String("figures"))
                figures << name;
        } else if (xml.isEndElement() && depth > 0 && --depth == 0) {
            layer.clear();
        }
    }
    QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
    QStringList expected;
    for (size_t i = 0; i < doc.ribs.size(); ++i)
        expected << QStringLiteral("circle") << QStringLiteral("path");
    QCOMPARE(cut, expected);
    QVERIFY(figures.isEmpty());
}

// The SVG generator writes six significant digits: the cut lines read back
// from the file (each one path closed by "Z", the marks left open), their
// groups' shifts applied, lie within 0.1 µm of the
// document's (as the DXF's four decimals do) on every sheet, those more
// than a metre down the file included.
void TstLaserFiles::svgPrecision()
{
    ScriptedPrompts prompts;
    VectorExport::Options options;
    options.sheet = QSizeF(260, 120);
    options.copies = 2;
    const VectorExport::Document doc = VectorExport::arrange(
        ribsOf(panel(QStringLiteral("2412"), taperedChords(40), 15)), options);
    double farthest = 0;
    for (const QRectF &sheet : doc.sheets)
        farthest = std::max({farthest, std::abs(sheet.top()), std::abs(sheet.bottom())});
    QVERIFY2(farthest > 1000, qPrintable(QString::number(farthest)));
    std::vector<QPolygonF> expected;
    for (const RibVectors::Rib &rib : doc.ribs)
        for (const RibVectors::Shape &s : rib.shapes)
            if (s.layer == RibVectors::Cut && s.kind == RibVectors::Shape::Path)
                expected.push_back(s.path.toFillPolygon());

    QXmlStreamReader xml(VectorExport::svg(doc));
    std::vector<QPointF> shifts{{0, 0}};
    QString layer;
    size_t path = 0;
    int marks = 0;
    double worst = 0;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isEndElement() && xml.name() == QLatin1String("g"))
            shifts.pop_back();
        if (!xml.isStartElement())
            continue;
        const auto attributes = xml.attributes();
        if (xml.name() == QLatin1String("g")) {
            if (attributes.hasAttribute(QLatin1String("id")))
                layer = attributes.value(QLatin1String("id")).toString();
            QPointF shift = shifts.back();
            const QString t = attributes.value(QLatin1String("transform")).toString();
            if (t.startsWith(QLatin1String("matrix("))) {
                const QStringList m = t.mid(7, t.size() - 8).split(QLatin1Char(','));
                QCOMPARE(m.mid(0, 4), QStringList({"1", "0", "0", "1"}));
                shift += QPointF(m[4].toDouble(), m[5].toDouble());
            }
            shifts.push_back(shift);
        } else if (xml.name() == QLatin1String("path") && layer == QLatin1String("marks")) {
            ++marks; // open lines: left open
            QVERIFY(!attributes.value(QLatin1String("d")).endsWith(QLatin1Char('Z')));
        } else if (xml.name() == QLatin1String("path") && layer == QLatin1String("cut")) {
            QVERIFY(path < expected.size());
            const QPolygonF &want = expected[path++];
            // Closed as SVG closes a path: its last line, back to the start,
            // is the closepath.
            const QString d = attributes.value(QLatin1String("d")).toString();
            QVERIFY2(d.endsWith(QLatin1String(" Z")), qPrintable(d.right(40)));
            QCOMPARE(d.count(QLatin1Char('M')), 1);
            const QStringList numbers =
                d.split(QRegularExpression(QStringLiteral("[MLZ ,]+")), Qt::SkipEmptyParts);
            QCOMPARE(want.first(), want.last());
            QCOMPARE(numbers.size(), 2 * (want.size() - 1));
            for (int i = 0; i + 1 < numbers.size(); i += 2) {
                const QPointF read(numbers[i].toDouble() + shifts.back().x(),
                                   -(numbers[i + 1].toDouble() + shifts.back().y()));
                worst = std::max(worst, QLineF(read, want[i / 2]).length());
            }
        }
    }
    QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
    QCOMPARE(path, expected.size());
    QVERIFY(marks > 0);
    QVERIFY2(worst < 1e-4, qPrintable(QString::number(worst)));
}

// The shapes nested with the grain need at least a quarter fewer sheets than
// the boxes in rows.
void TstLaserFiles::fewerSheetsThanRows()
{
    ScriptedPrompts prompts;
    const std::vector<RibVectors::Rib> ribs =
        ribsOf(panel(QStringLiteral("2412"), taperedChords(60), 15));
    VectorExport::Options options;
    options.nesting = VectorExport::Nesting::Rows;
    const VectorExport::Document rows = VectorExport::arrange(ribs, options);
    options.nesting = VectorExport::Nesting::Shape;
    const VectorExport::Document shape = VectorExport::arrange(ribs, options);
    qInfo("rows: %d sheets, shape: %d sheets, %.1f %% covered", int(rows.sheets.size()),
          int(shape.sheets.size()), shape.covered * 100);
    QVERIFY(shape.sheets.size() * 4 <= rows.sheets.size() * 3);
    QVERIFY(shape.covered > rows.covered);
    // NERVURIA_NEST_PNG=<dir> writes the nested sheets as the SVG renderer
    // draws them, to look at.
    const QString folder = qEnvironmentVariable("NERVURIA_NEST_PNG");
    if (!folder.isEmpty()) {
        QSvgRenderer svg(VectorExport::svg(shape));
        QImage image((svg.viewBoxF().size() * 2).toSize(), QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        svg.render(&painter);
        painter.end();
        QVERIFY(image.save(QDir(folder).filePath(QStringLiteral("nested.png"))));
    }
}

// A 6.0 mm spar notch exported with a 0.2 mm kerf is 5.8 mm wide in the
// file, and the outer contour lies 0.1 mm outside the kerf-free one.
void TstLaserFiles::kerfInTheFile()
{
    ScriptedPrompts prompts;
    const std::vector<RibVectors::Rib> ribs = ribsOf(panel(QStringLiteral("0012"), {200}, 15));
    auto outline = [&](double kerf) {
        VectorExport::Options options;
        options.format = VectorExport::Format::Dxf;
        options.kerf = kerf;
        QString error;
        QPolygonF largest; // the outer contour; the hole is cut before it
        for (const Entity &e : readDxf(
                 VectorExport::bytes(VectorExport::arrange(ribs, options), options.format, &error)))
            if (e.layer == "cut" &&
                std::abs(Polygons::signedArea(e.points)) > std::abs(Polygons::signedArea(largest)))
                largest = e.points;
        return largest;
    };
    const QPolygonF plain = outline(0), kerfed = outline(0.2);
    QVERIFY(plain.size() > 20 && kerfed.size() > 20);
    // The notch's sides are the vertical edges between 57 and 63 mm.
    auto notchWidth = [](const QPolygonF &ring) {
        double left = 1e9, right = -1e9;
        for (int i = 0; i < ring.size(); ++i) {
            const QPointF a = ring[i], b = ring[(i + 1) % ring.size()];
            if (std::abs(a.x() - b.x()) < 1e-6 && std::abs(a.y() - b.y()) > 1 && a.x() > 50 &&
                a.x() < 70) {
                left = std::min(left, a.x());
                right = std::max(right, a.x());
            }
        }
        return right - left;
    };
    QVERIFY2(std::abs(notchWidth(plain) - 6.0) < 1e-3,
             qPrintable(QString::number(notchWidth(plain))));
    QVERIFY2(std::abs(notchWidth(kerfed) - 5.8) < 1e-3,
             qPrintable(QString::number(notchWidth(kerfed))));
    for (const QPointF &p : kerfed) {
        const double d =
            Polygons::boundaryDistance({{p, p + QPointF(1e-4, 0), p + QPointF(0, 1e-4)}}, {plain});
        QVERIFY2(std::abs(d - 0.1) < 0.002, qPrintable(QString::number(d)));
        QCOMPARE(Polygons::pointIn({plain}, p), 0); // outside
    }
}

// The box the layout keeps for a label holds the text as the writers draw it.
void TstLaserFiles::labelBoxHoldsItsText()
{
    ScriptedPrompts prompts;
    for (const RibVectors::Rib &rib : ribsOf(panel(QStringLiteral("2412"), {200, 37}, 15)))
        for (const RibVectors::Shape &s : rib.shapes) {
            if (s.kind != RibVectors::Shape::Label)
                continue;
            QFont font(QStringLiteral("Liberation Sans"));
            font.setPixelSize(int(std::lround(s.height * 1.4 * 100)));
            const double drawn = QFontMetricsF(font).horizontalAdvance(s.text) / 100;
            QVERIFY2(RibVectors::bounds(s).width() >= drawn,
                     qPrintable(
                         QStringLiteral("%1 < %2").arg(RibVectors::bounds(s).width()).arg(drawn)));
        }
}

void TstLaserFiles::pdfCheckBar_data()
{
    QTest::addColumn<int>("ribs");
    QTest::addColumn<int>("nesting");
    QTest::newRow("nested sheets") << 40 << int(VectorExport::Nesting::Shape);
    QTest::newRow("rows") << 40 << int(VectorExport::Nesting::Rows);
    QTest::newRow("one rib on its own page") << 1 << int(VectorExport::Nesting::Shape);
}

// Every page carries the 100 mm bar, its ink 100 mm long, clear of every
// rib's outline by the gap at least.
void TstLaserFiles::pdfCheckBar()
{
    QFETCH(int, ribs);
    QFETCH(int, nesting);
    const QString pdftoppm = QStandardPaths::findExecutable(QStringLiteral("pdftoppm"));
    if (pdftoppm.isEmpty())
        QSKIP("pdftoppm is not installed");
    ScriptedPrompts prompts;
    VectorExport::Options options;
    options.format = VectorExport::Format::Pdf;
    options.nesting = VectorExport::Nesting(nesting);
    const VectorExport::Document doc = VectorExport::arrange(
        ribsOf(panel(QStringLiteral("2412"), taperedChords(ribs), 15)), options);
    QCOMPARE(doc.checkBars.size(), doc.sheets.size());
    for (size_t r = 0; r < doc.ribs.size(); ++r) {
        const QPointF at = doc.checkBars[size_t(doc.ribSheet[r])];
        const QRectF bar(at.x(), at.y() - 11, 100, 16); // ticks above, label under
        for (const RibVectors::Shape &s : doc.ribs[r].shapes)
            if (s.layer == RibVectors::Cut) {
                const Polygons::Ring ring = RibContours::ring(s);
                QVERIFY(Polygons::area(Polygons::intersect({ring}, {QPolygonF(bar)})) == 0);
                QVERIFY(Polygons::boundaryDistance({ring}, {QPolygonF(bar)}) >= options.gap - 1e-3);
            }
    }
    QTemporaryDir dir;
    QString error;
    QFile file(dir.filePath(QStringLiteral("ribs.pdf")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(VectorExport::bytes(doc, options.format, &error));
    file.close();
    QProcess proc;
    proc.start(pdftoppm,
               {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("254"),
                QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"),
                QStringLiteral("1"), file.fileName(), dir.filePath(QStringLiteral("page"))});
    QVERIFY(proc.waitForFinished(60000));
    const QStringList pages = QDir(dir.path()).entryList({QStringLiteral("page*.png")});
    QCOMPARE(pages.size(), 1);
    const QImage page(dir.filePath(pages.first()));
    // 10 pixels per millimetre: the bar's line, from the page's top-left corner.
    const QRectF paper = doc.pages.front();
    const int y = int(std::lround((paper.bottom() - doc.checkBars.front().y()) * 10));
    const int x0 = int(std::lround((doc.checkBars.front().x() - paper.left()) * 10));
    int left = page.width(), right = -1;
    for (int x = std::max(0, x0 - 50); x < std::min(page.width(), x0 + 1050); ++x)
        for (int dy = -2; dy <= 2; ++dy)
            if (qGray(page.pixel(x, y + dy)) < 128) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
    QVERIFY2(std::abs(right - left + 1 - 1000) <= 3,
             qPrintable(QStringLiteral("%1 to %2").arg(left).arg(right)));
}

QTEST_MAIN(TstLaserFiles)
#include "tst_laserfiles.moc"
