#include "ScriptedPrompts.h"

#include "catalogue/AirfoilFile.h"
#include "catalogue/ProfileAdder.h"
#include "cutting/DatExport.h"
#include "numbers/NumberText.h"
#include "profiles/LineValues.h"
#include "profiles/ProfileStore.h"
#include "render/TemplateDrawing.h"
#include "ui/Language.h"

#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <QTest>

namespace
{

// The working data of a profile selected in the drawing.
struct Selected {
    ScriptedPrompts prompts;
    ProfileStore store;
    TemplateDrawing drawing{&store};

    explicit Selected(const QStringList &lines)
    {
        const int p = store.AddProfile("P");
        for (const QString &l : lines)
            store.AddPointLine(p, l);
        drawing.SelectProfile(p, -1);
    }
};

// The four values of each point line.
QList<QList<double>> valuesOf(const QStringList &lines)
{
    QList<QList<double>> out;
    for (const QString &line : lines) {
        QStringView rest(line);
        QList<double> v;
        for (int i = 0; i < 4; ++i)
            v << ParseDecimal(2, takeValue(rest));
        out << v;
    }
    return out;
}

// Profiles of a shape the catalogue does not make but the hybrid dialog and
// the table can: a surface with fewer stations than the other, padded with
// the trailing edge, and an upper point on the chord line.
const QStringList kOnTheChord{"0;0;0;0;", "25;6;25;-2;", "90;0;90;-0,5;", "100;0;100;0;"};
const QStringList kShortUpper{"0;0;0;0;", "30;6;20;-2;", "100;0;60;-1;", "100;0;100;0;"};
const QStringList kShortLower{"0;0;0;0;", "30;6;40;-2;", "60;3;100;0;", "100;0;100;0;"};

} // namespace

class TstDatExport : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        Language::setFrench(true);
        // Files go to other programs: a decimal point whatever the settings.
        QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    }
    void roundTrip_data();
    void roundTrip();
};

void TstDatExport::roundTrip_data()
{
    QTest::addColumn<QStringList>("points");
    QTest::addColumn<QStringList>("file"); // not compared when empty

    ScriptedPrompts prompts;
    ProfileStore sample;
    QFile f(QStringLiteral(NERVURIA_SOURCE_DIR "/sample/Profils.pro"));
    QVERIFY(f.open(QIODevice::ReadOnly));
    sample.loadFromBytes(f.readAll());
    QVERIFY(sample.count() >= 5);
    for (int p = 0; p < sample.count(); ++p)
        QTest::newRow(qPrintable(sample.name(p)))
            << sample.profile(p)->pointLines.toList() << QStringList();

    const QString te = "1.00000 0.00000", le = "0.00000 0.00000";
    QTest::newRow("leading edge written once")
        << QStringList{"0;0;0;0;", "25;6,3;25;-2;", "100;0;100;0;"}
        << QStringList{"P", "", te, "0.25000 0.06300", le, "", "0.25000 -0.02000", te};
    QTest::newRow("upper point on the chord kept") << kOnTheChord << QStringList{"P",
                                                                                 "",
                                                                                 te,
                                                                                 "0.90000 0.00000",
                                                                                 "0.25000 0.06000",
                                                                                 le,
                                                                                 "",
                                                                                 "0.25000 -0.02000",
                                                                                 "0.90000 -0.00500",
                                                                                 te};
    QTest::newRow("upper padding left out")
        << kShortUpper
        << QStringList{
               "P", "", te, "0.30000 0.06000", le, "", "0.20000 -0.02000", "0.60000 -0.01000", te};
    QTest::newRow("lower ends at its first trailing edge")
        << kShortLower
        << QStringList{
               "P", "", te, "0.60000 0.03000", "0.30000 0.06000", le, "", "0.40000 -0.02000", te};
}

// Exported, read and checked by the catalogue, and added back: the same
// stations, line for line.
void TstDatExport::roundTrip()
{
    QFETCH(QStringList, points);
    QFETCH(QStringList, file);
    Selected s(points);
    QVERIFY(!s.store.dataError);
    const QStringList lines = DatExport::lines("P", s.drawing.working());
    if (!file.isEmpty())
        QCOMPARE(lines, file);

    QTemporaryDir dir;
    const QString path = dir.filePath("p.dat");
    QString error;
    QVERIFY(DatExport::write(path, DatExport::bytes(lines), &error));
    AirfoilFile read;
    QCOMPARE(read.read(path), AirfoilFile::ReadStatus::Read);
    QVERIFY2(!read.checkAfterRead(), qPrintable(read.messages.join('\n')));

    ProfileStore back;
    s.prompts.answers << true;
    QCOMPARE(ProfileAdder::add(back, read, QString(), "p.dat"), ProfileAdder::Outcome::Added);
    QCOMPARE(back.name(0), QStringLiteral("P"));
    QCOMPARE(valuesOf(back.profile(0)->pointLines), valuesOf(points));
}

QTEST_GUILESS_MAIN(TstDatExport)
#include "tst_datexport.moc"
