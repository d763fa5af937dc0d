// An export that repeats ribs (one section under several names, copies)
// builds and contours each distinct rib once. The DXF read back by the DXF
// library's reader must still hold, for every rib in it, the cut and
// profile lines of that rib built on its own by a fresh builder, and each
// label its own name.
#include "cutting/ExportJob.h"
#include "cutting/RibContours.h"
#include "cutting/VectorExport.h"
#include "profiles/ProfileStore.h"
#include "ui/Language.h"

#include "DxfPolylines.h"
#include "Naca.h"
#include "ScriptedPrompts.h"

#include <QTest>

#include <map>

namespace
{

// Each profile: "name|digits|chord", one template each with a hole inside
// and a box across the outline at half chord (a notch).
void fill(ProfileStore &store, const QStringList &profiles)
{
    for (const QString &entry : profiles) {
        const QStringList f = entry.split(QLatin1Char('|'));
        const int p = store.AddProfile(f[0]);
        for (const QString &l : Naca::pointLines(Naca::fourDigit(f[1])))
            store.AddPointLine(p, l);
        const int t = store.AddTemplate(p, QStringLiteral("GABARIT %1;10;").arg(f[2]));
        store.AddFigureLine(p, t, QStringLiteral("FIGURE 2;300;-30;360;30;0;"));
        store.AddFigureLine(p, t, QStringLiteral("FIGURE 0;500;-40;540;40;0;"));
    }
}

bool sameRib(const RibVectors::Rib &a, const RibVectors::Rib &b)
{
    if (a.profileName != b.profileName || a.templateIndex != b.templateIndex ||
        a.shapes.size() != b.shapes.size())
        return false;
    for (size_t i = 0; i < a.shapes.size(); ++i) {
        const RibVectors::Shape &s = a.shapes[i], &t = b.shapes[i];
        if (s.kind != t.kind || s.layer != t.layer || s.figure != t.figure ||
            s.closed != t.closed || s.text != t.text || s.centre != t.centre ||
            s.radius != t.radius || s.path.elementCount() != t.path.elementCount())
            return false;
        for (int k = 0; k < s.path.elementCount(); ++k)
            if (QPointF(s.path.elementAt(k)) != QPointF(t.path.elementAt(k)))
                return false;
    }
    return true;
}

} // namespace

class TstExportRepeats : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { Language::setFrench(false); }
    void repeatsMatchTheirOwnBuild_data();
    void repeatsMatchTheirOwnBuild();
    void batchMatchesOneBuilder_data();
    void batchMatchesOneBuilder();
};

void TstExportRepeats::repeatsMatchTheirOwnBuild_data()
{
    // Each profile: "name|digits|chord". Every template has a hole inside
    // and a box across the outline at half chord (a notch).
    QTest::addColumn<QStringList>("profiles");
    QTest::addColumn<double>("kerf");
    QTest::addColumn<int>("copies");
    QTest::addColumn<bool>("freeGrain");
    QTest::addColumn<int>("built"); // ribs built afresh, the others repeated
    QTest::newRow("all different")
        << QStringList{"A|0012|120", "B|2412|150", "C|4412|180"} << 0.0 << 1 << false << 3;
    QTest::newRow("one section, four names")
        << QStringList{"A|2412|150", "B|2412|150", "C|2412|150", "D|2412|150"} << 0.15 << 1 << false
        << 1;
    QTest::newRow("one section, other chords")
        << QStringList{"A|2412|150", "B|2412|151", "C|2412|150"} << 0.0 << 1 << false << 2;
    QTest::newRow("notched repeats, kerf 0.2")
        << QStringList{"A|0009|100", "B|0009|100", "C|0009|100"} << 0.2 << 1 << false << 1;
    QTest::newRow("copies, free grain")
        << QStringList{"A|4412|160", "B|4412|160"} << 0.1 << 2 << true << 1;
    QTest::newRow("names of other lengths")
        << QStringList{"A|6409|140", "A MUCH LONGER NAME|6409|140", "AB|6409|140"} << 0.0 << 1
        << false << 1;
}

void TstExportRepeats::repeatsMatchTheirOwnBuild()
{
    QFETCH(QStringList, profiles);
    QFETCH(double, kerf);
    QFETCH(int, copies);
    QFETCH(bool, freeGrain);
    QFETCH(int, built);
    ScriptedPrompts prompts;
    ProfileStore store;
    fill(store, profiles);
    std::vector<int> all(size_t(store.count()));
    std::iota(all.begin(), all.end(), 0);

    RibVectors::Builder builder;
    std::vector<RibVectors::Rib> ribs(all.size());
    // Each rib also built on its own, contoured as the export does it.
    std::map<QString, RibVectors::Rib> alone;
    size_t findings = 0;
    for (int p : all) {
        QString error;
        QVERIFY2(builder.fromStore(store, p, 0, 50, &ribs[size_t(p)], &error), qPrintable(error));
        RibVectors::Builder fresh;
        RibVectors::Rib own;
        QVERIFY(fresh.fromStore(store, p, 0, 50, &own, &error));
        findings += RibContours::apply(own, kerf).size();
        alone[store.name(p)] = own;
    }
    QCOMPARE(builder.built(), built);
    QCOMPARE(builder.repeated(), int(all.size()) - built);

    VectorExport::Options options;
    options.format = VectorExport::Format::Dxf;
    options.kerf = kerf;
    options.copies = copies;
    options.freeGrain = freeGrain;
    const VectorExport::Document doc = VectorExport::arrange(ribs, options);
    QCOMPARE(int(doc.ribs.size()), int(all.size()) * copies);
    QCOMPARE(size_t(doc.findings.size()), findings);
    QString error;
    DxfPolylines::ByLayer file = DxfPolylines::read(VectorExport::dxf(doc, &error));
    QVERIFY(!file.empty());

    std::map<QString, size_t> next; // the next line of each layer in the file
    for (size_t i = 0; i < doc.ribs.size(); ++i) {
        const RibVectors::Rib &placed = doc.ribs[i];
        for (const RibVectors::Shape &s : placed.shapes)
            if (s.kind == RibVectors::Shape::Label)
                QVERIFY2(s.text.startsWith(placed.profileName + QStringLiteral("  ")),
                         qPrintable(s.text));
        RibVectors::Rib own = alone.at(placed.profileName);
        own.turn(doc.ribTurn[i]);
        // Where the rib was put: its first line in the file against its own.
        QPointF offset;
        bool first = true;
        for (const RibVectors::Shape &s : own.shapes) {
            if (s.kind != RibVectors::Shape::Path ||
                (s.layer != RibVectors::Cut && s.layer != RibVectors::Profile))
                continue;
            const QString layer = RibVectors::layerName(s.layer);
            QPolygonF expected = RibVectors::flatten(s.path);
            if (s.closed && expected.size() > 1 && expected.first() == expected.last())
                expected.removeLast();
            QVERIFY(next[layer] < file[layer].size());
            const DxfPolylines::Line &line = file[layer][next[layer]++];
            if (first)
                offset = line.points.first() - expected.first();
            first = false;
            QCOMPARE(line.closed, s.closed);
            QCOMPARE(line.points.size(), expected.size());
            for (int k = 0; k < expected.size(); ++k) {
                const QPointF d = line.points[k] - expected[k] - offset;
                QVERIFY2(std::abs(d.x()) < 2e-4 && std::abs(d.y()) < 2e-4,
                         qPrintable(QStringLiteral("%1 rib %2 point %3").arg(layer).arg(i).arg(k)));
            }
        }
    }
    for (const auto &[layer, lines] : file)
        if (layer == QLatin1String("cut") || layer == QLatin1String("profile"))
            QCOMPARE(next[layer], lines.size());
}

void TstExportRepeats::batchMatchesOneBuilder_data()
{
    QTest::addColumn<QStringList>("profiles"); // a chord of 0 cannot be drawn
    QTest::addColumn<int>("templates");        // picked of each profile (beyond its one: unknown)
    QTest::addColumn<bool>("skip");            // skip what cannot be built, else stop there
    QTest::addColumn<int>("failing");          // picks that cannot be built
    QStringList many;                          // 300 ribs of 40 distinct: repeats across batches
    for (int i = 0; i < 300; ++i)
        many << QStringLiteral("R%1|%2|%3").arg(i).arg(i % 2 ? "2412" : "0012").arg(100 + i % 20);
    // Across two batches (the second read while the first is built), some
    // that cannot be drawn in each, or one in the second only.
    QStringList gaps, late;
    for (int i = 0; i < 300; ++i) {
        const QString digits = i % 3 ? "2412" : "4412";
        gaps << QStringLiteral("G%1|%2|%3").arg(i).arg(digits).arg(i % 37 == 5 ? 0 : 100 + i % 20);
        late << QStringLiteral("L%1|%2|%3").arg(i).arg(digits).arg(i == 280 ? 0 : 100 + i % 20);
    }
    const QStringList mixed{"A|2412|150", "B|0012|0", "C|2412|150", "D|0012|0", "E|4412|170"};
    QTest::newRow("all different") << QStringList{"A|0012|120", "B|2412|150"} << 1 << false << 0;
    QTest::newRow("repeats across batches") << many << 1 << false << 0;
    QTest::newRow("undrawable ones and a repeat of one, skipped") << mixed << 1 << true << 2;
    QTest::newRow("undrawable: stops at the first") << mixed << 1 << false << 2;
    QTest::newRow("unknown templates, skipped") << mixed << 2 << true << 7;
    QTest::newRow("undrawable in both batches, skipped") << gaps << 1 << true << 8;
    QTest::newRow("undrawable in the second batch: stops there") << late << 1 << false << 1;
}

// The ribs built on every core are those one builder makes pick by pick, in
// the same order, with the same failures named the same way.
void TstExportRepeats::batchMatchesOneBuilder()
{
    QFETCH(QStringList, profiles);
    QFETCH(int, templates);
    QFETCH(bool, skip);
    QFETCH(int, failing);
    ScriptedPrompts prompts;
    ProfileStore store;
    fill(store, profiles);
    ExportJob::Picks picks;
    for (int p = 0; p < store.count(); ++p)
        for (int t = 0; t < templates; ++t)
            picks.emplace_back(p, t);

    RibVectors::Builder one;
    std::vector<RibVectors::Rib> expected;
    QStringList expectedSkipped;
    QString expectedError;
    for (const auto &[p, t] : picks) {
        RibVectors::Rib rib;
        QString reason;
        if (one.fromStore(store, p, t, 50, &rib, &reason))
            expected.push_back(rib);
        else if (!skip && expectedError.isEmpty())
            expectedError = reason;
        else if (skip)
            expectedSkipped << store.name(p) + QStringLiteral(" #%1: ").arg(t + 1) + reason;
    }

    QCOMPARE(int(picks.size() - expected.size()), failing);

    std::vector<RibVectors::Rib> ribs;
    QStringList skipped;
    QString error;
    const bool ok = ExportJob::buildRibs(store, picks, 50, RibVectors::allLayers(), &ribs, &error,
                                         skip ? &skipped : nullptr);
    QCOMPARE(ok, expectedError.isEmpty());
    QCOMPARE(error, expectedError);
    QCOMPARE(skipped, expectedSkipped);
    if (!ok)
        return;
    QCOMPARE(ribs.size(), expected.size());
    for (size_t i = 0; i < ribs.size(); ++i)
        QVERIFY2(sameRib(ribs[i], expected[i]), qPrintable(QStringLiteral("rib %1").arg(i)));
    QCOMPARE(store.currentProfile, -1); // the store's selection as it was
}

QTEST_MAIN(TstExportRepeats)
#include "tst_exportrepeats.moc"
