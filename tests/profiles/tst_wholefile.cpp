#include "ScriptedPrompts.h"

#include "profiles/ProfileStore.h"
#include "profiles/WholeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

namespace
{

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// While alive, the file system refuses every byte of a file past the 64th,
// as a full disk would in the middle of a write.
struct SizeLimit {
    rlimit before{};
    void (*handler)(int) = nullptr;
    SizeLimit()
    {
        getrlimit(RLIMIT_FSIZE, &before);
        handler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = before;
        small.rlim_cur = 64;
        setrlimit(RLIMIT_FSIZE, &small);
    }
    ~SizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &before);
        std::signal(SIGXFSZ, handler);
    }
};

} // namespace

class TstWholeFile : public QObject
{
    Q_OBJECT
private slots:
    void failedWriteKeepsOldFile_data();
    void failedWriteKeepsOldFile();
    void routes_data();
    void routes();
    void readOnlyFolderFallsBackToInPlace();
};

void TstWholeFile::failedWriteKeepsOldFile_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("database");
    for (const char *how : {"written", "missing folder", "read-only file", "disk full"}) {
        QTest::addRow("%s, coordinate file", how) << how << false;
        QTest::addRow("%s, database", how) << how << true;
    }
}

void TstWholeFile::failedWriteKeepsOldFile()
{
    QFETCH(QString, how);
    QFETCH(bool, database);
    if (how == "read-only file" && geteuid() == 0)
        QSKIP("file permissions do not bind the superuser");

    QTemporaryDir dir;
    const QByteArray old = "OLD CONTENT\n";
    QString path = dir.filePath("old.txt");
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(old);
    }
    if (how == "missing folder")
        path = dir.filePath("nowhere/new.txt");
    if (how == "read-only file")
        QFile::setPermissions(path, QFile::ReadOwner);

    ScriptedPrompts prompts;
    ProfileStore store;
    const int p = store.AddProfile("NEW");
    for (int i = 0; i < 20; ++i)
        store.AddPointLine(p, QStringLiteral("%1,00;1,00;%1,00;-1,00;").arg(i * 5));
    const QByteArray bytes = store.serialize();
    QVERIFY(bytes.size() > 64);

    bool written;
    QString error;
    {
        std::unique_ptr<SizeLimit> limit;
        if (how == "disk full")
            limit = std::make_unique<SizeLimit>();
        if (database) {
            store.databasePath = path;
            store.setSaveEnabled(true);
            prompts.answers << true;
            written = store.SaveProfileDatabase();
        } else {
            written = WholeFile::write(path, bytes, &error, QIODevice::Text);
        }
    }
    if (how == "written") {
        QVERIFY(written);
        QCOMPARE(readAll(path), bytes);
        return;
    }
    QVERIFY(!written);
    if (database) {
        QCOMPARE(prompts.messages.size(), 1);
        QVERIFY(prompts.messages.first().startsWith(path + " : "));
        QVERIFY(store.saveEnabled());
    } else {
        QVERIFY(!error.isEmpty());
    }
    QCOMPARE(readAll(dir.filePath("old.txt")), old);
    // A save that got as far as writing keeps the file it replaces as backup.
    QStringList files{"old.txt"};
    if (database && how == "disk full") {
        files << "old.txt.bak";
        QCOMPARE(readAll(dir.filePath("old.txt.bak")), old);
    }
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), files);
}

void TstWholeFile::routes_data()
{
    QTest::addColumn<QString>("name"); // relative to a fresh folder
    QTest::addColumn<bool>("existing");
    QTest::addColumn<bool>("inPlace");
    QTest::addColumn<bool>("written");
    QTest::newRow("new file") << "a.pro" << false << false << true;
    QTest::newRow("replaced file") << "a.pro" << true << false << true;
    QTest::newRow("replaced in place") << "a.pro" << true << true << true;
    QTest::newRow("missing folder") << "none/a.pro" << false << false << false;
    QTest::newRow("missing folder, in place") << "none/a.pro" << false << true << false;
    QTest::newRow("a folder in the way") << "sub" << false << false << false;
    QTest::newRow("a folder in the way, in place") << "sub" << false << true << false;
}

void TstWholeFile::routes()
{
    QFETCH(QString, name);
    QFETCH(bool, existing);
    QFETCH(bool, inPlace);
    QFETCH(bool, written);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir("sub"));
    const QString path = dir.filePath(name);
    const QFileDevice::Permissions permissions =
        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadOther;
    if (existing) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("old content, longer than the new one\r\n");
        f.close();
        QVERIFY(f.setPermissions(permissions));
    }
    QString error;
    const bool ok =
        WholeFile::write(path, "new\r\n", &error, {},
                         inPlace ? WholeFile::Route::InPlace : WholeFile::Route::Automatic);
    QCOMPARE(ok, written);
    QCOMPARE(error.isEmpty(), written);
    if (!written) {
        QVERIFY(!QFileInfo(path).isFile());
        return;
    }
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("new\r\n"));
    if (existing)
        QCOMPARE(f.permissions() & ~QFileDevice::Permissions(0x0700), permissions);
    // No temporary file is left beside it.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QFileInfo(path).fileName()});
}

void TstWholeFile::readOnlyFolderFallsBackToInPlace()
{
    // The folder's permissions bind only a user without the right to pass
    // over them.
    if (::geteuid() == 0)
        QSKIP("run as an ordinary user to see a folder refuse the temporary file");
    QTemporaryDir dir;
    const QString path = dir.filePath("Profils.pro");
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("old\r\n");
    }
    QVERIFY(QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    QString error;
    const bool ok = WholeFile::write(path, "new\r\n", &error);
    QFile::setPermissions(dir.path(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QVERIFY2(ok, qPrintable(error));
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("new\r\n"));
}

QTEST_GUILESS_MAIN(TstWholeFile)
#include "tst_wholefile.moc"
