// The catalogue's conversions from the command line.
#include "catalogue/AirfoilFile.h"
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

} // namespace

class TestCatalogueCommands : public QObject
{
    Q_OBJECT
private slots:
    void init() { Language::setFrench(false); }
    void commands_data();
    void commands();
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

QTEST_MAIN(TestCatalogueCommands)
#include "tst_cataloguecommands.moc"
