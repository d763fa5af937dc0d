// The vector export: the geometry of one rib against the view's curves,
// figures at their true shapes, the sheet layout, and each file format read
// back by an independent reader.
#include "cutting/ExportJob.h"
#include "cutting/RibVectors.h"
#include "cutting/SheetLayout.h"
#include "cutting/VectorExport.h"
#include "geometry/Polygons.h"
#include "profiles/ProfileStore.h"
#include "render/TemplateDrawing.h"
#include "ui/Language.h"

#include "Naca.h"
#include "ScriptedPrompts.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QStandardPaths>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QTest>

#include <dl_creationadapter.h>
#include <dl_dxf.h>

#include <cmath>
#include <map>
#include <set>

using RibVectors::Shape;

namespace
{

// A database of one profile with one template (chord, skin) and figures.
QByteArray database(const QString &digits, int chord, int skin, const QStringList &figures = {})
{
    QStringList lines{QStringLiteral("PROFIL NACA ") + digits};
    lines += Naca::pointLines(Naca::fourDigit(digits));
    lines << QStringLiteral("GABARIT %1;%2;").arg(chord).arg(skin);
    for (const QString &f : figures)
        lines << QStringLiteral("FIGURE ") + f;
    return lines.join(QStringLiteral("\r\n")).toLatin1() + "\r\n";
}

// Distance from p to the segment a-b.
double segmentDistance(QPointF p, QPointF a, QPointF b)
{
    const QPointF d = b - a;
    const double len2 = QPointF::dotProduct(d, d);
    const double t = len2 > 0 ? std::clamp(QPointF::dotProduct(p - a, d) / len2, 0.0, 1.0) : 0.0;
    const QPointF q = a + t * d;
    return std::hypot(p.x() - q.x(), p.y() - q.y());
}

const Shape *firstShape(const RibVectors::Rib &rib, int layer, Shape::Kind kind)
{
    for (const Shape &s : rib.shapes) {
        if (s.layer == layer && s.kind == kind)
            return &s;
    }
    return nullptr;
}

// Counts what the DXF library reads back.
struct DxfCounter : DL_CreationAdapter {
    std::map<std::string, int> entities;
    std::vector<std::string> layers;
    int insUnits = -1;
    std::vector<double> circleRadii;
    void addLayer(const DL_LayerData &d) override { layers.push_back(d.name); }
    void addPolyline(const DL_PolylineData &) override { ++entities[attributes.getLayer()]; }
    void addCircle(const DL_CircleData &d) override
    {
        ++entities[attributes.getLayer()];
        circleRadii.push_back(d.radius);
    }
    void addArc(const DL_ArcData &) override { ++entities[attributes.getLayer()]; }
    void addText(const DL_TextData &) override { ++entities[attributes.getLayer()]; }
    void setVariableInt(const std::string &key, int value, int) override
    {
        if (key == "$INSUNITS")
            insUnits = value;
    }
};

} // namespace

class TstVectorExport : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { Language::setFrench(false); }
    void outlineFollowsViewCurve_data();
    void outlineFollowsViewCurve();
    void figuresAtTrueShape_data();
    void figuresAtTrueShape();
    void sheetLayout_data();
    void sheetLayout();
    void readBack_data();
    void readBack();
    void closedPathAsLineTo_data();
    void closedPathAsLineTo();
};

void TstVectorExport::outlineFollowsViewCurve_data()
{
    QTest::addColumn<QString>("digits");
    QTest::addColumn<int>("chord");
    QTest::addColumn<int>("skin");
    QTest::addColumn<int>("smoothing");
    QTest::addColumn<bool>("refused"); // no room for two skins: no cut outline
    QTest::newRow("0012 200 mm, 15/10, smoothing 50") << "0012" << 200 << 15 << 50 << false;
    QTest::newRow("2412 180 mm, 10/10, smoothing 0") << "2412" << 180 << 10 << 0 << false;
    QTest::newRow("4412 560 mm, 8/10, smoothing 100") << "4412" << 560 << 8 << 100 << false;
    QTest::newRow("6409 37 mm, 10/10 (thin)") << "6409" << 37 << 10 << 50 << false;
    QTest::newRow("6409 37 mm, 20/10: skin too thick") << "6409" << 37 << 20 << 50 << true;
}

// Every vertex of the cut polyline, and the middle of every edge, lies
// within 0.02 mm of the outline the print draws at the same mapping; the chord
// line spans the chord exactly between its marks.
void TstVectorExport::outlineFollowsViewCurve()
{
    QFETCH(QString, digits);
    QFETCH(int, chord);
    QFETCH(int, skin);
    QFETCH(int, smoothing);
    QFETCH(bool, refused);
    ScriptedPrompts prompts;
    ProfileStore store;
    store.loadFromBytes(database(digits, chord, skin));
    QVERIFY(store.databaseLoaded);

    RibVectors::Builder builder;
    RibVectors::Rib rib;
    QString error;
    QVERIFY2(builder.fromStore(store, 0, 0, smoothing, &rib, &error), qPrintable(error));

    // The view's own curves, rendered at the printer mapping.
    TemplateDrawing view(&store);
    view.SelectProfile(0, 0);
    view.viewState().upDown4Smoothing = smoothing;
    QVERIFY(view.layoutPrinter(RibVectors::Builder::kDotsPerInch, PageSetup{}));
    QImage scratch(8, 8, QImage::Format_RGB32);
    QPainter painter(&scratch);
    QVERIFY(view.render(painter));
    // The outline the print draws, before rounding, in mm.
    const ViewGeometry &g = view.geometry();
    QPolygonF curve;
    for (const QPointF &p : view.templateRing())
        curve << QPointF((p.x() - g.originXf) / g.scale, -(p.y() - g.originYf) / g.scale);
    if (!curve.isEmpty())
        curve << curve.front();
    auto distanceToCurve = [&](QPointF p) {
        double best = 1e9;
        for (int i = 1; i < curve.size(); ++i)
            best = std::min(best, segmentDistance(p, curve[i - 1], curve[i]));
        return best;
    };

    const Shape *cut = firstShape(rib, RibVectors::Cut, Shape::Path);
    QCOMPARE(rib.templateRefused, refused);
    QCOMPARE(view.templateRefused(), refused);
    if (refused) {
        QVERIFY(!cut);
        QVERIFY(rib.refusal.contains(QStringLiteral("Skin too thick")));
        QVERIFY(firstShape(rib, RibVectors::Profile, Shape::Path)); // the rest stays
        QVERIFY(prompts.messages.isEmpty());                        // nothing asked
        return;
    }
    QVERIFY(cut && cut->closed);
    const QPolygonF poly = RibVectors::flatten(cut->path);
    QVERIFY(poly.size() > 20);
    for (int i = 0; i < poly.size(); ++i) {
        const double onVertex = distanceToCurve(poly[i]);
        QVERIFY2(onVertex <= 0.02,
                 qPrintable(QStringLiteral("vertex %1 off by %2 mm").arg(i).arg(onVertex)));
        if (i > 0) {
            const double mid = distanceToCurve((poly[i] + poly[i - 1]) / 2);
            QVERIFY2(mid <= 0.02,
                     qPrintable(QStringLiteral("edge %1 off by %2 mm").arg(i).arg(mid)));
        }
    }

    // Chord line and its two marks.
    std::vector<double> markX;
    for (const Shape &s : rib.shapes) {
        if (s.layer == RibVectors::Marks && s.kind == Shape::Path && s.path.elementCount() == 2 &&
            s.path.elementAt(0).x == s.path.elementAt(1).x)
            markX.push_back(s.path.elementAt(0).x);
    }
    QCOMPARE(int(markX.size()), 2);
    QVERIFY(std::abs(markX[0]) < 0.0005);
    QVERIFY2(std::abs(markX[1] - markX[0] - chord) < 0.0005,
             qPrintable(QString::number(markX[1], 'f', 6)));
}

void TstVectorExport::figuresAtTrueShape_data()
{
    QTest::addColumn<QString>("figure");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QPointF>("centre");
    QTest::addColumn<double>("radius");
    QTest::addColumn<double>("startDeg");
    QTest::addColumn<QPolygonF>("corners"); // for paths: the first points
    // Figure values: tenths of mm, y downwards; exported mm, y upwards.
    QTest::newRow("circle of 6 mm") << "2;970;-30;1030;30;0;" << int(Shape::Circle)
                                    << QPointF(100, 0) << 3.0 << 0.0 << QPolygonF();
    QTest::newRow("circle above the chord") << "2;470;-130;530;-70;0;" << int(Shape::Circle)
                                            << QPointF(50, 10) << 3.0 << 0.0 << QPolygonF();
    // A half circle is one closed contour (arc and diameter): its first
    // point is the diameter's end towards point 1.
    QTest::newRow("half circle at 0: the half towards the nose")
        << "3;700;-40;780;40;0;" << int(Shape::Path) << QPointF(72, 0) << 4.0 << 0.0
        << QPolygonF({{74, 4}});
    QTest::newRow("half circle at 90: the upper half")
        << "3;700;-40;780;40;90;" << int(Shape::Path) << QPointF(74, 2) << 4.0 << 0.0
        << QPolygonF({{78, 0}});
    QTest::newRow("rectangle at 0, mirrored about its centre")
        << "0;500;-60;560;60;0;" << int(Shape::Path) << QPointF() << 0.0 << 0.0
        << QPolygonF({{50, -6}, {56, -6}, {56, 6}, {50, 6}});
    QTest::newRow("rectangle turned 90 degrees")
        << "0;500;-20;560;20;90;" << int(Shape::Path) << QPointF() << 0.0 << 0.0
        << QPolygonF({{51, 3}, {51, -3}, {55, -3}, {55, 3}});
    QTest::newRow("triangle: right angle at its first corner")
        << "4;900;-50;1020;30;0;" << int(Shape::Path) << QPointF() << 0.0 << 0.0
        << QPolygonF({{90, -3}, {102, -3}, {90, 5}});
    QTest::newRow("line: a mark, not a cut") << "1;300;0;1500;0;0;" << int(Shape::Path) << QPointF()
                                             << -1.0 << 0.0 << QPolygonF({{30, 0}, {150, 0}});
}

void TstVectorExport::figuresAtTrueShape()
{
    QFETCH(QString, figure);
    QFETCH(int, kind);
    QFETCH(QPointF, centre);
    QFETCH(double, radius);
    QFETCH(double, startDeg);
    QFETCH(QPolygonF, corners);
    ScriptedPrompts prompts;
    ProfileStore store;
    store.loadFromBytes(database(QStringLiteral("0012"), 200, 15, {figure}));
    RibVectors::Builder builder;
    RibVectors::Rib rib;
    QString error;
    QVERIFY2(builder.fromStore(store, 0, 0, 50, &rib, &error), qPrintable(error));
    const Shape *s = nullptr; // the figure's own shape, on the layer it belongs to
    for (const Shape &each : rib.shapes)
        if (each.figure == 0 && !s)
            s = &each;
    QVERIFY(s);
    QCOMPARE(int(s->kind), kind);
    QCOMPARE(s->layer, int(radius < 0 ? RibVectors::Marks : RibVectors::Figures));
    if (kind == Shape::Path)
        QCOMPARE(s->closed, radius >= 0);
    if (kind == Shape::Path && radius > 0) { // a D shape: half the disc, one subpath
        const QPolygonF d = RibVectors::flatten(s->path);
        QVERIFY(std::hypot(d.first().x() - corners.first().x(),
                           d.first().y() - corners.first().y()) < 1e-6);
        QVERIFY(std::abs(std::abs(Polygons::signedArea(d)) - M_PI * radius * radius / 2) < 0.05);
        QVERIFY(std::hypot(d.boundingRect().center().x() - centre.x(),
                           d.boundingRect().center().y() - centre.y()) < 0.01);
        return;
    }
    if (kind == Shape::Path) {
        const QPolygonF got = RibVectors::flatten(s->path);
        QVERIFY(got.size() >= corners.size());
        for (int i = 0; i < corners.size(); ++i)
            QVERIFY2(
                std::hypot(got[i].x() - corners[i].x(), got[i].y() - corners[i].y()) < 1e-9,
                qPrintable(
                    QStringLiteral("corner %1: %2, %3").arg(i).arg(got[i].x()).arg(got[i].y())));
        return;
    }
    QVERIFY(std::abs(s->centre.x() - centre.x()) < 1e-9);
    QVERIFY(std::abs(s->centre.y() - centre.y()) < 1e-9);
    QCOMPARE(QString::number(s->radius, 'f', 3), QString::number(radius, 'f', 3));
    if (kind == Shape::Arc) {
        QVERIFY(std::abs(s->startDeg - startDeg) < 1e-9);
        QCOMPARE(s->spanDeg, 180.0);
    }
}

void TstVectorExport::sheetLayout_data()
{
    QTest::addColumn<QList<QSizeF>>("parts");
    QTest::addColumn<QSizeF>("sheet");
    QTest::addColumn<double>("gap");
    QTest::addColumn<int>("sheets");
    QTest::addColumn<int>("oversized");
    const QSizeF rib(200, 30);
    QTest::newRow("two side by side")
        << QList<QSizeF>{rib, rib} << QSizeF(600, 300) << 3.0 << 1 << 0;
    QTest::newRow("a fourth wraps to the next row")
        << QList<QSizeF>(4, rib) << QSizeF(600, 300) << 3.0 << 1 << 0;
    QTest::newRow("full sheet starts another")
        << QList<QSizeF>(30, rib) << QSizeF(600, 300) << 3.0 << 2 << 0;
    QTest::newRow("exact fit with the gap at the edges")
        << QList<QSizeF>(2, QSizeF(295.5, 294)) << QSizeF(600, 300) << 3.0 << 1 << 0;
    QTest::newRow("one too wide: a sheet of its own")
        << QList<QSizeF>{rib, QSizeF(700, 40), rib} << QSizeF(600, 300) << 3.0 << 3 << 1;
    QTest::newRow("no gap") << QList<QSizeF>(3, rib) << QSizeF(600, 30) << 0.0 << 1 << 0;
}

// Parts never overlap, keep the gap between them and from the edges, and
// lie wholly on their sheet.
void TstVectorExport::sheetLayout()
{
    QFETCH(QList<QSizeF>, parts);
    QFETCH(QSizeF, sheet);
    QFETCH(double, gap);
    QFETCH(int, sheets);
    QFETCH(int, oversized);
    std::vector<QRectF> boxes;
    for (int i = 0; i < parts.size(); ++i) // boxes not at their origin, as ribs are
        boxes.emplace_back(QPointF(-1.5 * i, -10 - i), parts[i]);
    const SheetLayout::Result r = SheetLayout::arrange(boxes, sheet, gap);
    QCOMPARE(int(r.sheets.size()), sheets);
    QCOMPARE(r.oversized, oversized);
    QCOMPARE(int(r.placements.size()), parts.size());
    std::vector<QRectF> placed;
    for (size_t i = 0; i < boxes.size(); ++i) {
        const QRectF p = boxes[i].translated(r.placements[i].offset);
        const QRectF onSheet =
            r.sheets[size_t(r.placements[i].sheet)].adjusted(gap, gap, -gap, -gap);
        QVERIFY2(onSheet.adjusted(-1e-9, -1e-9, 1e-9, 1e-9).contains(p),
                 qPrintable(QString::number(i)));
        for (size_t j = 0; j < placed.size(); ++j)
            QVERIFY2(
                !placed[j].adjusted(-gap + 1e-9, -gap + 1e-9, gap - 1e-9, gap - 1e-9).intersects(p),
                qPrintable(QStringLiteral("%1 and %2").arg(i).arg(j)));
        placed.push_back(p);
    }
    for (size_t s = 1; s < r.sheets.size(); ++s) // stacked, never overlapping
        QVERIFY(r.sheets[s].bottom() < r.sheets[s - 1].top());
}

void TstVectorExport::readBack_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<bool>("all");
    QTest::addColumn<int>("copies");
    for (const char *f : {"svg", "dxf", "pdf"}) {
        QTest::newRow(QByteArray(f) + ", one rib") << QString::fromLatin1(f) << false << 1;
        QTest::newRow(QByteArray(f) + ", every rib") << QString::fromLatin1(f) << true << 1;
    }
    // Enough ribs for the DXF entities to be written in more pieces than
    // are made ahead of the file, each buffer filled several times.
    QTest::newRow("dxf, every rib forty times") << QStringLiteral("dxf") << true << 40;
}

// Each file read back by a reader of its own: size in mm, layers, entities.
void TstVectorExport::readBack()
{
    QFETCH(QString, format);
    QFETCH(bool, all);
    QFETCH(int, copies);
    ScriptedPrompts prompts;
    ProfileStore store;
    QFile sample(QStringLiteral(NERVURIA_SOURCE_DIR "/sample/Profils.pro"));
    QVERIFY(sample.open(QIODevice::ReadOnly));
    store.loadFromBytes(sample.readAll());
    const int p0012 = ExportJob::findProfile(store, QStringLiteral("naca 0012"));
    QVERIFY(p0012 >= 0);
    const ExportJob::Picks picks =
        all ? ExportJob::allTemplatesOf(store, {0, 1, 2, 3, 4}) : ExportJob::Picks{{p0012, 0}};
    std::vector<RibVectors::Rib> ribs;
    QString error;
    QVERIFY(ExportJob::buildRibs(store, picks, 50, RibVectors::allLayers(), &ribs, &error));
    VectorExport::Options options;
    QVERIFY(VectorExport::parseFormat(format, &options.format));
    options.copies = copies;
    const VectorExport::Document doc = VectorExport::arrange(ribs, options);
    // Count what each layer should hold, as laid out (figures across the
    // outline are in it now), and the sheets' edges.
    int paths = doc.material ? int(doc.sheets.size()) : 0, circles = 0, arcs = 0, labels = 0;
    for (const auto &r : doc.ribs)
        for (const Shape &s : r.shapes)
            (s.kind == Shape::Path     ? paths
             : s.kind == Shape::Circle ? circles
             : s.kind == Shape::Arc    ? arcs
                                       : labels)++;
    // A PDF page is the sheet, grown at its foot when the check bar finds no
    // room beside the parts.
    const QSizeF size =
        (options.format == VectorExport::Format::Pdf ? doc.pages : doc.sheets).front().size();
    if (all)
        QCOMPARE(size, QSizeF(600, 300));
    const QByteArray data = VectorExport::bytes(doc, options.format, &error);
    QVERIFY2(!data.isEmpty(), qPrintable(error));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("ribs.") + format);
    // Written as an export writes it: the same bytes (a PDF's differ only by
    // its time of making), a DXF of many ribs from its parts.
    QVERIFY2(VectorExport::save(path, doc, options.format, &error), qPrintable(error));
    QFile written(path);
    QVERIFY(written.open(QIODevice::ReadOnly));
    if (format != QLatin1String("pdf"))
        QCOMPARE(written.readAll(), data);

    if (format == QLatin1String("svg")) {
        QSvgRenderer renderer(path);
        QVERIFY(renderer.isValid());
        QVERIFY(std::abs(renderer.viewBoxF().width() - size.width()) < 1e-3);
        QVERIFY(std::abs(renderer.viewBoxF().height() - size.height()) < 1e-3);
        QVERIFY(data.contains(QStringLiteral("width=\"%1mm\"").arg(size.width()).toLatin1()) ||
                !all);
        for (int layer = 0; layer < RibVectors::LayerCount; ++layer)
            QVERIFY2(renderer.elementExists(RibVectors::layerName(layer)),
                     qPrintable(RibVectors::layerName(layer)));
        // The cut layer lies within the drawing and holds the ribs' outlines.
        const QRectF cut = renderer.boundsOnElement(QStringLiteral("cut"));
        QVERIFY(renderer.viewBoxF().contains(cut));
        QCOMPARE(int(data.count("<circle")), circles);
        QCOMPARE(int(data.count("<text")), labels);
    } else if (format == QLatin1String("dxf")) {
        DxfCounter counter;
        DL_Dxf reader;
        QVERIFY(reader.in(path.toStdString(), &counter));
        QCOMPARE(counter.insUnits, 4);
        for (int layer = 0; layer < RibVectors::LayerCount; ++layer)
            QVERIFY(std::find(counter.layers.begin(), counter.layers.end(),
                              RibVectors::layerName(layer).toStdString()) != counter.layers.end());
        int total = 0;
        for (const auto &[layer, n] : counter.entities)
            total += n;
        QCOMPARE(total, paths + circles + arcs + labels);
        QCOMPARE(counter.entities["text"], labels);
        // One outer contour per rib, its inner contours with it on the cut
        // layer; the figures layer keeps only figures of ribs without one.
        int cuts = 0, figures = 0, outlines = 0;
        for (const auto &r : doc.ribs) {
            for (const Shape &s : r.shapes) {
                cuts += s.layer == RibVectors::Cut;
                figures += s.layer == RibVectors::Figures;
            }
            outlines += !r.templateRefused;
        }
        QCOMPARE(counter.entities["cut"], cuts);
        QCOMPARE(counter.entities["figures"], figures);
        QVERIFY(cuts >= outlines);
        if (outlines == int(ribs.size()))
            QCOMPARE(figures, 0);
        for (double r : counter.circleRadii)
            QVERIFY(r > 0);
        if (!all)
            QCOMPARE(QString::number(counter.circleRadii.at(0), 'f', 3), QStringLiteral("8.000"));
        // Every handle of the file once; the entities numbered one after
        // the other, in the order they are written.
        const QList<QByteArray> lines = data.split('\n');
        std::set<unsigned long> handles;
        unsigned long last = 0;
        bool inEntities = false;
        int numbered = 0;
        for (qsizetype i = 0; i + 1 < lines.size(); i += 2) {
            const int code = lines[i].trimmed().toInt();
            const QByteArray value = lines[i + 1].trimmed();
            if (code == 2 && (value == "ENTITIES" || value == "OBJECTS"))
                inEntities = value == "ENTITIES";
            if (code != 5)
                continue;
            bool ok = false;
            const unsigned long h = value.toULong(&ok, 16);
            QVERIFY2(ok && handles.insert(h).second, value.constData());
            if (inEntities) {
                QVERIFY2(numbered == 0 || h == last + 1, value.constData());
                last = h;
                ++numbered;
            }
        }
        QCOMPARE(numbered, total);
    } else {
        const QString pdftoppm = QStandardPaths::findExecutable(QStringLiteral("pdftoppm"));
        if (pdftoppm.isEmpty())
            QSKIP("pdftoppm is not installed");
        QProcess proc;
        proc.start(pdftoppm, {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("254"),
                              path, dir.filePath(QStringLiteral("page"))});
        QVERIFY(proc.waitForFinished(60000));
        QDir pages(dir.path(), QStringLiteral("page*.png"));
        QCOMPARE(int(pages.count()), int(doc.sheets.size()));
        const QImage page(pages.filePath(pages.entryList().first()));
        // 10 pixels per millimetre.
        QVERIFY2(std::abs(page.width() - size.width() * 10) <= 1,
                 qPrintable(QString::number(page.width())));
        QVERIFY(std::abs(page.height() - size.height() * 10) <= 1);
        if (!all) {
            // The ink spans the rib: from its nose to the trailing-edge mark,
            // 200 mm plus half the line's width at each end.
            int left = page.width(), right = -1;
            for (int y = 0; y < page.height(); ++y)
                for (int x = 0; x < page.width(); ++x)
                    if (qGray(page.pixel(x, y)) < 200) {
                        left = std::min(left, x);
                        right = std::max(right, x);
                    }
            const QRectF marks = doc.ribs.front().bounds();
            Q_UNUSED(marks);
            const int ribLeft = int(std::lround((0 - doc.pages.front().left()) * 10));
            QVERIFY2(std::abs(left - ribLeft) <= 2, qPrintable(QString::number(left)));
            QVERIFY2(std::abs(right - left - 2000) <= 3, qPrintable(QString::number(right - left)));
        }
    }
}

// The closed path of a ring holds the elements Qt's own moveTo and lineTo
// give it: repeats in a row dropped, the ring closed once.
void TstVectorExport::closedPathAsLineTo_data()
{
    QTest::addColumn<QPolygonF>("ring");
    QTest::newRow("plain") << QPolygonF({{0, 0}, {10, 0}, {10, 5}, {0, 5}});
    QTest::newRow("repeats") << QPolygonF({{0, 0}, {0, 0}, {10, 0}, {10, 5}, {10, 5}, {0, 5}});
    QTest::newRow("ends on its start") << QPolygonF({{0, 0}, {10, 0}, {10, 5}, {0, 0}});
    QTest::newRow("one point") << QPolygonF({{2, 3}, {2, 3}});
    QTest::newRow("empty") << QPolygonF();
}

void TstVectorExport::closedPathAsLineTo()
{
    QFETCH(QPolygonF, ring);
    QPainterPath expected;
    if (!ring.isEmpty()) {
        expected.moveTo(ring.first());
        for (int i = 1; i < ring.size(); ++i)
            expected.lineTo(ring[i]);
        expected.closeSubpath();
    }
    const QPainterPath got = RibVectors::closedPath(ring);
    QCOMPARE(got.elementCount(), expected.elementCount());
    for (int i = 0; i < got.elementCount(); ++i) {
        QCOMPARE(got.elementAt(i).type, expected.elementAt(i).type);
        QCOMPARE(QPointF(got.elementAt(i)), QPointF(expected.elementAt(i)));
    }
}

QTEST_MAIN(TstVectorExport)
#include "tst_vectorexport.moc"
