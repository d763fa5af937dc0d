// The folder scan, the file listing and the dico.txt index.
#include "catalogue/AirfoilFolders.h"
#include "catalogue/Dico.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace
{

void writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QStringList shownOf(const QList<AirfoilFolders::Entry> &entries)
{
    QStringList shown;
    for (const auto &e : entries)
        shown << e.shown;
    return shown;
}

} // namespace

class TestCatalogueFolders : public QObject
{
    Q_OBJECT
private slots:
    void scanListsEveryDepthButAirfoils();
    void listingShowsFirstLines();
    void hiddenFilesAndBlankTitles_data();
    void hiddenFilesAndBlankTitles();
    void dicoSearch_data();
    void dicoSearch();
    void dicoLinesAndParts();
    void dicoPathsFollowRealNames_data();
    void dicoPathsFollowRealNames();
};

void TestCatalogueFolders::scanListsEveryDepthButAirfoils()
{
    QTemporaryDir dir;
    const QString airfoils = dir.filePath("Airfoils");
    // Hidden folders (a cache, another system's traces) are no catalogue
    // folders, at any depth.
    for (const char *sub :
         {"Selig", "eppler/old", "eppler/new/x", "Naca", ".CACHE/naca", "Selig/.Trash", ".a"})
        QVERIFY(QDir().mkpath(airfoils + '/' + QLatin1String(sub)));
    writeFile(airfoils + "/stray.dat", "T\r\n");
    // A link back up the tree must not send the scan round for ever.
    QVERIFY(QFile::link(airfoils, airfoils + "/eppler/loop"));

    int yields = 0;
    const auto folders = AirfoilFolders::scanFolders(airfoils + '/', [&] { ++yields; });
    QCOMPARE(shownOf(folders),
             (QStringList{"Airfoils\\EPPLER", "Airfoils\\EPPLER\\NEW", "Airfoils\\EPPLER\\NEW\\X",
                          "Airfoils\\EPPLER\\OLD", "Airfoils\\NACA", "Airfoils\\SELIG"}));
    QCOMPARE(folders[0].path, airfoils + "/eppler"); // the real name is kept
    QVERIFY(yields > 0);
    QCOMPARE(AirfoilFolders::airfoilsFolder(dir.path()), airfoils);
    QVERIFY(AirfoilFolders::scanFolders(dir.filePath("Missing")).isEmpty());
}

void TestCatalogueFolders::listingShowsFirstLines()
{
    QTemporaryDir dir;
    const QString airfoils = dir.filePath("Airfoils");
    const QString folder = airfoils + "/Mixed";
    writeFile(folder + "/zeta.dat", "   naca  0012 \r\n1 0\r\n");
    writeFile(folder + "/Alpha.DAT", "Clark Y\n1 0\n");
    writeFile(folder + "/beta.Dat", "\r\nsecond line title\r\n");
    writeFile(folder + "/notes.txt", "not an airfoil\r\n");
    writeFile(folder + "/gamma.dat.bak", "backup\r\n");
    writeFile(airfoils + "/top.dat", "never listed\r\n");

    const auto files = AirfoilFolders::listFolderFiles(folder, airfoils);
    // By file name, letter case aside; each shown as its first line.
    QCOMPARE(shownOf(files), (QStringList{"CLARK Y", "beta.Dat", "NACA  0012 "}));
    QCOMPARE(files[0].path, folder + "/Alpha.DAT");
    QCOMPARE(files[2].path, folder + "/zeta.dat");
    QVERIFY(AirfoilFolders::listFolderFiles(airfoils, airfoils).isEmpty());
}

void TestCatalogueFolders::hiddenFilesAndBlankTitles_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("shown"); // empty: not listed
    QTest::newRow("companion file of another system")
        << "._n0012.dat" << QByteArrayLiteral("\0\5\26\7") << "";
    QTest::newRow("hidden file") << ".n0012.dat" << QByteArray("NACA 0012\r\n") << "";
    QTest::newRow("empty first line")
        << "blank.dat" << QByteArray("\r\nNACA 0012\r\n") << "blank.dat";
    QTest::newRow("blanks only") << "Spaces.DAT" << QByteArray("    \n1 0\n") << "Spaces.DAT";
    QTest::newRow("tabs and blanks only")
        << "tabs.dat" << QByteArray(" \t\t \r1 0\r") << "tabs.dat";
    QTest::newRow("NUL first") << "nul.dat" << QByteArray("\0NACA", 5) << "nul.dat";
    QTest::newRow("empty file") << "empty.dat" << QByteArray() << "empty.dat";
    QTest::newRow("a title is shown as before")
        << "t.dat" << QByteArray("  clark y\r\n") << "CLARK Y";
}

void TestCatalogueFolders::hiddenFilesAndBlankTitles()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, shown);
    QTemporaryDir dir;
    const QString airfoils = dir.filePath("Airfoils");
    writeFile(airfoils + "/Mixed/" + name, bytes);
    const auto files = AirfoilFolders::listFolderFiles(airfoils + "/Mixed", airfoils);
    QCOMPARE(shownOf(files), shown.isEmpty() ? QStringList() : QStringList{shown});
}

void TestCatalogueFolders::dicoSearch_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("found");
    const QString n12 = "\\NACA\\N0012.DAT;NACA 0012 SYMETRIQUE";
    const QString s10 = "\\SELIG\\S1223.DAT;SELIG S1223 HIGH LIFT";
    const QString lower = "\\misc\\clarky.dat;clark y (naca-like)";
    QTest::newRow("typing in lower case matches capitals") << "nac" << QStringList{n12};
    QTest::newRow("anywhere in the line, reference included") << "S1223" << QStringList{s10};
    QTest::newRow("line's lower case is not matched") << "clark" << QStringList();
    QTest::newRow("a common part, file order") << ".DAT" << QStringList{n12, s10};
    QTest::newRow("empty text lists nothing") << "" << QStringList();
}

void TestCatalogueFolders::dicoSearch()
{
    QFETCH(QString, typed);
    QFETCH(QStringList, found);
    Dico dico;
    dico.loadBytes("\\NACA\\N0012.DAT;NACA 0012 SYMETRIQUE\r\n\\SELIG\\S1223.DAT;SELIG S1223 HIGH "
                   "LIFT\r\n\r\n\\misc\\clarky.dat;clark y (naca-like)\n");
    QCOMPARE(dico.search(typed), found);
}

void TestCatalogueFolders::dicoLinesAndParts()
{
    Dico dico;
    dico.loadBytes(QByteArrayLiteral("\\A\\B.DAT;DESC;WITH;SEMIS\rsecond\nthird\0junk"));
    QCOMPARE(dico.lines, (QStringList{"\\A\\B.DAT;DESC;WITH;SEMIS", "second", "third"}));
    QCOMPARE(Dico::reference(dico.lines[0]), QStringLiteral("\\A\\B.DAT"));
    QCOMPARE(Dico::description(dico.lines[0]), QStringLiteral("DESC;WITH;SEMIS"));
    QCOMPARE(Dico::description("no separator"), QStringLiteral("no separator"));

    QTemporaryDir dir;
    QVERIFY(!dico.load(dir.path()));
    writeFile(dir.filePath("DICO.TXT"), "\\X.DAT;X\r\n");
    QVERIFY(dico.load(dir.path())); // the name as a Windows copy writes it
    QCOMPARE(dico.lines, QStringList{"\\X.DAT;X"});
}

void TestCatalogueFolders::dicoPathsFollowRealNames_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("relative"); // expected path below Airfoils; "" when refused
    QTest::newRow("capitals find lower-case names") << "\\NACA4\\N0012.DAT;NACA 0012"
                                                    << "naca4/n0012.dat";
    QTest::newRow("exact name preferred") << "\\NACA4\\Both.dat;X"
                                          << "naca4/Both.dat";
    QTest::newRow("missing file keeps the typed name") << "\\NACA4\\N0010.DAT;GONE"
                                                       << "naca4/N0010.DAT";
    QTest::newRow("climbing out is refused") << "\\..\\secret.dat;X"
                                             << "";
    QTest::newRow("dot component is refused") << "\\.\\naca4\\n0012.dat;X"
                                              << "";
}

void TestCatalogueFolders::dicoPathsFollowRealNames()
{
    QFETCH(QString, line);
    QFETCH(QString, relative);
    QTemporaryDir dir;
    const QString airfoils = dir.filePath("Airfoils");
    writeFile(airfoils + "/naca4/n0012.dat", "NACA 0012\r\n");
    writeFile(airfoils + "/naca4/Both.dat", "B\r\n");
    writeFile(airfoils + "/naca4/both.dat", "b\r\n");
    const QString path = Dico::filePath(airfoils, line);
    QCOMPARE(path, relative.isEmpty() ? QString() : airfoils + '/' + relative);
}

QTEST_MAIN(TestCatalogueFolders)
#include "tst_cataloguefolders.moc"
