// The catalogue's conversions from the command line.
#include "Naca.h"
#include "catalogue/AirfoilFile.h"
#include "catalogue/AirfoilImport.h"
#include "catalogue/CatalogueCommands.h"
#include "ui/Language.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <QtTest>

namespace
{

const QByteArray kTwoBlocks = "CLARK Y\n3 3\n0 0\n0.5 0.09\n1 0\n0 0\n0.5 -0.03\n1 0\n";
// Last x 0.999999: refused by the catalogue's check until normalised.
const QByteArray kNearlyExact = "ALMOST\r\n1 0\r\n0.5 0.06\r\n0 0\r\n0.5 -0.04\r\n0.999999 0\r\n";
const QByteArray kOpen = "OPEN\r\n1 0.005\r\n0.5 0.06\r\n0 0\r\n0.5 -0.04\r\n1 -0.005\r\n";

void write(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

bool passesCheck(const QString &path)
{
    AirfoilFile file;
    return file.read(path) == AirfoilFile::ReadStatus::Read && !file.checkAfterRead();
}

// NACA 0012 in the catalogue's order, changed around its nose or at its
// trailing edge.
QList<QPointF> section(const QString &change, double amount)
{
    const Naca::Section s = Naca::fourDigit(QStringLiteral("0012"), 31);
    QList<QPointF> upper, lower;
    for (const Naca::Point &p : s.upper)
        upper.prepend(QPointF(p.x, p.y));
    for (const Naca::Point &p : s.lower)
        lower << QPointF(p.x, p.y);
    if (change == QLatin1String("nose written twice")) {
        // (0, a) on both sides of (0, 0).
        upper.last() = QPointF(0, amount);
        lower.first() = QPointF(0, amount);
        return upper + QList<QPointF>{QPointF(0, 0)} + lower;
    } else if (change == QLatin1String("open trailing edge")) {
        // Each surface opened by half the gap, growing along the chord.
        for (QPointF &p : upper)
            p.ry() += amount / 2 * p.x();
        for (QPointF &p : lower)
            p.ry() -= amount / 2 * p.x();
    }
    return upper + lower.mid(1);
}

// Usable as the command `check` says it: read whole, no error (a
// leading-edge warning allowed).
bool usable(const QString &path)
{
    AirfoilFile file;
    return file.read(path) == AirfoilFile::ReadStatus::Read && file.CheckProfile(false) < 2 &&
           !file.unusable;
}

} // namespace

class TestCatalogueCommands : public QObject
{
    Q_OBJECT
private slots:
    void init() { Language::setFrench(false); }
    void commands_data();
    void commands();
    void normaliseCases_data();
    void normaliseCases();
};

void TestCatalogueCommands::commands_data()
{
    // Arguments name files of the temporary folder: in/<name> are the
    // downloads, out the destination.
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QStringList>("passing"); // files that then pass the catalogue's check
    QTest::newRow("import two files")
        << QStringList{"import", "in/clarky.txt", "in/almost.dat", "--to", "out"} << 0
        << QStringList{"out/clarky.dat", "in/clarky.txt"};
    QTest::newRow("import with a refusal")
        << QStringList{"import", "in/photo.dat", "in/clarky.txt", "--to", "out"} << 1
        << QStringList{"out/clarky.dat"};
    QTest::newRow("import without a folder")
        << QStringList{"import", "in/clarky.txt"} << 2 << QStringList{};
    QTest::newRow("normalise in place") << QStringList{"normalise", "in/almost.dat", "in/open.dat"}
                                        << 0 << QStringList{"in/almost.dat", "in/open.dat"};
    QTest::newRow("normalise, kept open")
        << QStringList{"normalise", "--keep-open", "in/open.dat"} << 0 << QStringList{};
    QTest::newRow("normalise a missing file")
        << QStringList{"normalise", "in/none.dat"} << 1 << QStringList{};
    QTest::newRow("nothing to normalise") << QStringList{"normalise"} << 2 << QStringList{};
}

void TestCatalogueCommands::commands()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QStringList, passing);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir("in"));
    write(dir.filePath("in/clarky.txt"), kTwoBlocks);
    write(dir.filePath("in/almost.dat"), kNearlyExact);
    write(dir.filePath("in/open.dat"), kOpen);
    write(dir.filePath("in/photo.dat"), QByteArrayLiteral("\x89PNG\0\0"));
    for (QString &a : arguments) {
        if (a.startsWith("in/") || a == "out")
            a = dir.filePath(a);
    }
    QVERIFY(CatalogueCommands::isCommand(arguments));
    QString text;
    QTextStream out(&text);
    QCOMPARE(CatalogueCommands::run(arguments, out), status);
    QVERIFY(!text.isEmpty());
    for (const QString &p : passing) {
        const QString path = dir.filePath(p);
        // The downloads themselves are never changed by an import.
        if (p == "in/clarky.txt") {
            QFile f(path);
            QVERIFY(f.open(QIODevice::ReadOnly));
            QCOMPARE(f.readAll(), kTwoBlocks);
            continue;
        }
        QVERIFY2(passesCheck(path), qPrintable(p + "\n" + text));
    }
    if (arguments.contains("--keep-open"))
        QVERIFY(!passesCheck(dir.filePath("in/open.dat")));
    QVERIFY(!passesCheck(dir.filePath("in/almost.dat")) || arguments[0] == "normalise");
}

void TestCatalogueCommands::normaliseCases_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<double>("amount");
    QTest::addColumn<bool>("keepOpen");
    QTest::addColumn<int>("status");
    QTest::addColumn<bool>("changed");
    QTest::addColumn<bool>("usableAfter");  // by the catalogue's check of the file
    QTest::addColumn<bool>("keepOpenHint"); // the line suggests --keep-open
    QTest::newRow("already in place") << "" << 0.0 << false << 0 << true << true << false;
    QTest::newRow("nose written twice, 1/1000 of chord")
        << "nose written twice" << 0.001 << false << 0 << true << true << false;
    QTest::newRow("nose written twice, 3/1000 of chord")
        << "nose written twice" << 0.003 << false << 0 << true << true << false;
    // Turned, the middle point would stand 1/10000 of the chord behind the
    // nose's second copy: refused rather than given a sort error.
    QTest::newRow("nose written twice, 1/100 of chord")
        << "nose written twice" << 0.01 << false << 1 << false << true << false;
    QTest::newRow("trailing edge open by 0.8 %")
        << "open trailing edge" << 0.008 << false << 0 << true << true << false;
    QTest::newRow("trailing edge open by 1.2 %")
        << "open trailing edge" << 0.012 << false << 0 << true << true << true;
    QTest::newRow("trailing edge open by 23 %")
        << "open trailing edge" << 0.23 << false << 0 << true << true << true;
    // In place already, only open: nothing to change.
    QTest::newRow("trailing edge open by 23 %, kept open")
        << "open trailing edge" << 0.23 << true << 0 << false << false << false;
}

void TestCatalogueCommands::normaliseCases()
{
    QFETCH(QString, change);
    QFETCH(double, amount);
    QFETCH(bool, keepOpen);
    QFETCH(int, status);
    QFETCH(bool, changed);
    QFETCH(bool, usableAfter);
    QFETCH(bool, keepOpenHint);
    QTemporaryDir dir;
    const QString path = dir.filePath("nose.dat");
    const QByteArray before = AirfoilImport::datBytes("N", section(change, amount));
    write(path, before);
    QStringList arguments{"normalise", path};
    if (keepOpen)
        arguments.insert(1, "--keep-open");
    QString text;
    QTextStream out(&text);
    QCOMPARE(CatalogueCommands::run(arguments, out), status);
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll() != before, changed && !change.isEmpty());
    QVERIFY2(usable(path) == usableAfter, qPrintable(text));
    QVERIFY2(text.contains("--keep-open") == keepOpenHint, qPrintable(text));
    QVERIFY(text.startsWith("nose.dat : "));
}

QTEST_MAIN(TestCatalogueCommands)
#include "tst_cataloguecommands.moc"
