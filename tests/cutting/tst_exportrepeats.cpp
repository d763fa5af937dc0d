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

class TstExportRepeats : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { Language::setFrench(false); }
    void repeatsMatchTheirOwnBuild_data();
    void repeatsMatchTheirOwnBuild();
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
    for (const QString &entry : profiles) {
        const QStringList f = entry.split(QLatin1Char('|'));
        const int p = store.AddProfile(f[0]);
        for (const QString &l : Naca::pointLines(Naca::fourDigit(f[1])))
            store.AddPointLine(p, l);
        const int t = store.AddTemplate(p, QStringLiteral("GABARIT %1;10;").arg(f[2]));
        store.AddFigureLine(p, t, QStringLiteral("FIGURE 2;300;-30;360;30;0;"));
        store.AddFigureLine(p, t, QStringLiteral("FIGURE 0;500;-40;540;40;0;"));
    }
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

QTEST_MAIN(TstExportRepeats)
#include "tst_exportrepeats.moc"
