// A folder's listing file by file: its progress, its count of refused files,
// its cancel, and the catalogue window's status line after it.
#include "ScriptedPrompts.h"
#include "catalogue/FolderListing.h"
#include "catalogue/TFormlect.h"
#include "ui/Language.h"
#include "ui/StatusLine.h"

#include <QTemporaryDir>
#include <QtTest>

namespace
{
// A folder of good coordinate files with malformed ones spread through them:
// a blank title (listed by its name), over the reader's 1 MB (refused), a link
// to a node whose reading fails (refused), and entries never listed. What a
// listing must give is worked out here from what was written.
struct Generated {
    QStringList paths, shown; // in listing order
    QList<bool> refused;
    QStringList snapshot; // every entry with its size and time
};

QStringList snapshot(const QString &folder)
{
    QStringList out;
    for (const QFileInfo &i : QDir(folder).entryInfoList(QDir::AllEntries | QDir::Hidden |
                                                         QDir::System | QDir::NoDotAndDotDot))
        out << i.fileName() + ' ' + QString::number(i.isSymLink() ? 0 : i.size()) + ' ' +
                   QString::number(i.lastModified().toMSecsSinceEpoch());
    return out;
}

Generated generate(const QString &folder, int good, bool malformed)
{
    QDir().mkpath(folder);
    Generated g;
    const int count = good + (malformed ? 15 : 0);
    for (int i = 0; i < count; ++i) {
        // Letter case varied: only an order blind to it comes out right.
        const QString name = QString(i % 2 ? "F%1.dat" : "f%1.DAT").arg(i, 5, 10, QChar('0'));
        const QString path = folder + '/' + name;
        const int kind = malformed && i % 20 == 7 ? (i / 20) % 3 + 1 : 0;
        QFile f(path);
        // The link is unreadable from its first byte (an input/output error).
        if (kind == 3 ? !QFile::link("/proc/self/mem", path) : !f.open(QIODevice::WriteOnly))
            qFatal("cannot make %s", qPrintable(path));
        if (kind != 3)
            f.write(kind == 0 ? QString("  naca 0012 no%1\r\n1 0\r\n0 0\r\n1 0\r\n").arg(i).toUtf8()
                    : kind == 2 ? QString("big %1\r\n").arg(i).toUtf8() + QByteArray(1 << 20, '0')
                                : QByteArray(" \r\nx y z\r\n"));
        g.paths << path;
        g.shown << (kind == 0   ? QString("NACA 0012 NO%1").arg(i)
                    : kind == 2 ? QString("BIG %1").arg(i)
                                : name);
        g.refused << (kind >= 2);
    }
    if (malformed) {
        QFile(folder + "/.hidden.dat").open(QIODevice::WriteOnly);
        QFile(folder + "/notes.txt").open(QIODevice::WriteOnly);
        QDir().mkpath(folder + "/sub.dat");
    }
    g.snapshot = snapshot(folder);
    return g;
}
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
    QTest::addColumn<int>("good");
    QTest::addColumn<bool>("malformed");
    QTest::addColumn<int>("cancelAt"); // -1: never
    QTest::newRow("three hundred good files") << 300 << false << -1;
    QTest::newRow("malformed among good") << 285 << true << -1;
    QTest::newRow("cancel at the first file") << 285 << true << 0;
    QTest::newRow("cancel midway") << 285 << true << 150;
    QTest::newRow("cancel at the last file") << 285 << true << 299;
    QTest::newRow("empty folder") << 0 << false << -1;
}

void TestFolderListing::listing()
{
    QFETCH(int, good);
    QFETCH(bool, malformed);
    QFETCH(int, cancelAt);
    QTemporaryDir dir;
    const Generated g = generate(dir.filePath("Airfoils/Gen"), good, malformed);
    const int total = int(g.paths.size());
    QList<int> seen, steps;
    const auto result = FolderListing::list(dir.filePath("Airfoils/Gen"), dir.filePath("Airfoils"),
                                            [&](int done, int all) {
                                                seen << (all == total ? done : -1);
                                                return done != cancelAt;
                                            });
    const int read = cancelAt < 0 ? total : cancelAt;
    for (int i = 0; i <= read; ++i)
        steps << i;
    QCOMPARE(seen, steps); // one step per file, the end included, the total known
    QCOMPARE(result.cancelled, cancelAt >= 0);
    QCOMPARE(result.refused, int(g.refused.mid(0, read).count(true)));
    QStringList paths, shown;
    for (const auto &file : result.files)
        paths << file.path, shown << file.shown;
    QCOMPARE(paths, g.paths.mid(0, read));
    QCOMPARE(shown, g.shown.mid(0, read));
    QCOMPARE(snapshot(dir.filePath("Airfoils/Gen")), g.snapshot); // nothing written
}

void TestFolderListing::statusLine_data()
{
    QTest::addColumn<bool>("french");
    QTest::addColumn<QString>("said");
    QTest::newRow("French") << true << "300 fichiers lus, 10 refusés.";
    QTest::newRow("English") << false << "300 files read, 10 refused.";
}

void TestFolderListing::statusLine()
{
    QFETCH(bool, french);
    QFETCH(QString, said);
    Language::setFrench(french);
    ScriptedPrompts prompts;
    QTemporaryDir dir;
    const Generated g = generate(dir.filePath("Airfoils/Gen"), 285, true);
    TFormlect form(nullptr, dir.path());
    form.FormActivate();
    QCOMPARE(form.pathList(), g.paths);
    QCOMPARE(form.Status->text(), said);
    // The unreadable files' reasons, in the one message of the listing.
    QCOMPARE(prompts.messages.filter(g.paths[47] + " : ").size(), 1);
}

QTEST_MAIN(TestFolderListing)
#include "tst_folderlisting.moc"
