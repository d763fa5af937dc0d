// A folder's listing file by file: its progress, its count of refused files,
// its cancel, and the catalogue window's status line after it.
#include "GeneratedCatalogue.h"
#include "ScriptedPrompts.h"
#include "catalogue/CatalogueList.h"
#include "catalogue/FolderListing.h"
#include "catalogue/TFormlect.h"
#include "ui/Language.h"
#include "ui/StatusLine.h"

#include <QTemporaryDir>
#include <QtTest>

using Kinds = GeneratedCatalogue::Kinds;
Q_DECLARE_METATYPE(GeneratedCatalogue::Kinds)

namespace
{
const Kinds kMixed{280, 6, 6, 2, 1, 9};
} // namespace

class TestFolderListing : public QObject
{
    Q_OBJECT
private slots:
    void listing_data();
    void listing();
    void statusLine_data();
    void statusLine();
};

void TestFolderListing::listing_data()
{
    QTest::addColumn<Kinds>("kinds");
    QTest::addColumn<int>("cancelAt"); // -1: never
    QTest::newRow("three hundred good files") << Kinds{300, 0, 0, 0, 0, 0} << -1;
    QTest::newRow("malformed among good") << kMixed << -1;
    QTest::newRow("cancel at the first file") << kMixed << 0;
    QTest::newRow("cancel midway") << kMixed << 150;
    QTest::newRow("cancel at the last file") << kMixed << 294;
    QTest::newRow("only files never listed") << Kinds{0, 0, 0, 0, 0, 9} << -1;
    QTest::newRow("empty folder") << Kinds{} << -1;
}

void TestFolderListing::listing()
{
    QFETCH(Kinds, kinds);
    QFETCH(int, cancelAt);
    QTemporaryDir dir;
    const QString airfoils = dir.filePath("Airfoils");
    const QString folder = airfoils + "/Gen";
    const auto expected = GeneratedCatalogue::write(folder, kinds);
    const QStringList before = GeneratedCatalogue::snapshot(folder);
    const int total = int(expected.paths.size());

    QList<int> seen;
    const auto result = FolderListing::list(folder, airfoils, [&](int done, int all) {
        if (all != total)
            qWarning("total %d, expected %d", all, total);
        seen << done;
        return done != cancelAt;
    });

    const int read = cancelAt < 0 ? total : cancelAt;
    QList<int> steps;
    for (int i = 0; i <= read; ++i)
        steps << i;
    QCOMPARE(seen, steps); // one step per file, the end included
    QCOMPARE(result.total, total);
    QCOMPARE(result.cancelled, cancelAt >= 0);
    QCOMPARE(result.read(), read);
    QCOMPARE(result.refused, expected.refusedCount(read));
    QStringList paths, shown;
    for (const auto &file : result.files) {
        paths << file.path;
        shown << file.shown;
    }
    QCOMPARE(paths, expected.paths.mid(0, read));
    QCOMPARE(shown, expected.shown.mid(0, read));
    QCOMPARE(GeneratedCatalogue::snapshot(folder), before); // nothing written
}

void TestFolderListing::statusLine_data()
{
    QTest::addColumn<bool>("french");
    QTest::addColumn<QString>("said");
    QTest::newRow("French") << true << "295 fichiers lus, 3 refusés.";
    QTest::newRow("English") << false << "295 files read, 3 refused.";
}

void TestFolderListing::statusLine()
{
    QFETCH(bool, french);
    QFETCH(QString, said);
    Language::setFrench(french);
    ScriptedPrompts prompts;
    QTemporaryDir dir;
    const auto expected = GeneratedCatalogue::write(dir.filePath("Airfoils/Gen"), kMixed);
    TFormlect form(nullptr, dir.path());
    form.FormActivate();
    QCOMPARE(form.ListBox2->count(), expected.paths.size());
    QCOMPARE(form.pathList(), expected.paths);
    QCOMPARE(form.Status->text(), said);
    // The unreadable file's reason, in the one message of the listing.
    for (int i = 0; i < expected.paths.size(); ++i) {
        if (expected.refused[i] && expected.shown[i] == QFileInfo(expected.paths[i]).fileName())
            QCOMPARE(prompts.messages.filter(expected.paths[i] + " : ").size(), 1);
    }
}

QTEST_MAIN(TestFolderListing)
#include "tst_folderlisting.moc"
