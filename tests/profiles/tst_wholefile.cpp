#include "FileNodes.h"
#include "RecoveryCopy.h"
#include "ScriptedPrompts.h"

#include "profiles/ProfileStore.h"
#include "profiles/WholeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
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
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void nonRegularTargetRefused_data();
    void nonRegularTargetRefused();
    void inPlaceLeavesNoRecoveryCopy_data();
    void inPlaceLeavesNoRecoveryCopy();
    void recoveryCopyReadBack_data();
    void recoveryCopyReadBack();
};

void TstWholeFile::failedWriteKeepsOldFile_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("through"); // "bytes", "parts" or "database"
    for (const char *how : {"written", "missing folder", "read-only file", "disk full"})
        for (const char *through : {"bytes", "parts", "database"})
            QTest::addRow("%s, %s", how, through) << how << through;
}

void TstWholeFile::failedWriteKeepsOldFile()
{
    QFETCH(QString, how);
    QFETCH(QString, through);
    const bool database = through == "database";
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
    for (int i = 0; i < 80; ++i)
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
        } else if (through == "parts") {
            // A byte a part, an empty one after each, in one buffer filled
            // again once added. A failed write says so, the parts after it
            // not being needed; parts kept for later do not.
            WholeFile::Stream stream(path);
            bool stopped = false;
            QByteArray part;
            for (char c : bytes) {
                part.fill(c, 1);
                stopped |= !stream.add(part);
                part.clear();
                stopped |= !stream.add(part);
            }
            written = stream.commit(&error);
            QCOMPARE(stopped, how == "disk full");
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
    // A save that got as far as writing keeps the file it replaces as backup
    // (a read-only file too: the backup is taken before the write is refused).
    QStringList files{"old.txt"};
    if (database && (how == "disk full" || how == "read-only file")) {
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

void TstWholeFile::nonRegularTargetRefused_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("how"); // "automatic", "in place", "database", "link"
    for (const char *kind : {"fifo", "folder", "socket", "device"}) {
        for (const char *how : {"automatic", "in place", "database", "link"})
            QTest::addRow("%s, %s", kind, how) << kind << how;
    }
}

// Nothing is opened, renamed or created: the node stays as it was and the
// reason says what is wrong.
void TstWholeFile::nonRegularTargetRefused()
{
    QFETCH(QString, kind);
    QFETCH(QString, how);
    QTemporaryDir dir;
    const QString node = dir.filePath("node");
    if (!FileNodes::make(kind, node))
        QSKIP("this system does not let the test make such a node");
    QString path = node;
    if (how == "link") {
        path = dir.filePath("link");
        QVERIFY(QFile::link(node, path));
    }
    QVERIFY(WholeFile::isSpecialFile(path));
    QString error;
    bool written;
    ScriptedPrompts prompts;
    if (how == "database") {
        ProfileStore store;
        store.databasePath = path;
        store.AddProfile("P");
        store.setSaveEnabled(true);
        prompts.answers << true;
        written = store.SaveProfileDatabase();
        QCOMPARE(prompts.messages.size(), 1);
        error = prompts.messages.first();
    } else {
        written = WholeFile::write(path, "new\r\n", &error, {},
                                   how == "in place" ? WholeFile::Route::InPlace
                                                     : WholeFile::Route::Automatic);
    }
    QVERIFY(!written);
    QVERIFY2(error.contains("not a regular file") || error.contains("pas un fichier ordinaire"),
             qPrintable(error));
    QCOMPARE(FileNodes::kindOf(node), kind);
    QStringList expected{"node"};
    if (how == "link")
        expected.prepend("link");
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System),
             expected);
}

void TstWholeFile::inPlaceLeavesNoRecoveryCopy_data()
{
    QTest::addColumn<bool>("existing");
    QTest::addColumn<bool>("fails");
    QTest::newRow("rewritten") << true << false;
    QTest::newRow("new file") << false << false;
    QTest::newRow("disk full, old content back") << true << true;
}

// A rewrite that ends, well or badly, leaves no copy to offer at the next
// start: only one cut off does.
void TstWholeFile::inPlaceLeavesNoRecoveryCopy()
{
    QFETCH(bool, existing);
    QFETCH(bool, fails);
    QTemporaryDir dir;
    const QString path = dir.filePath("Profils.pro");
    const QByteArray old = "old\r\n";
    if (existing) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(old);
    }
    const QByteArray bytes(fails ? 200 : 20, 'n');
    QString error;
    bool ok;
    {
        std::unique_ptr<SizeLimit> limit;
        if (fails)
            limit = std::make_unique<SizeLimit>();
        ok = WholeFile::write(path, bytes, &error, {}, WholeFile::Route::InPlace);
    }
    QCOMPARE(ok, !fails);
    QCOMPARE(readAll(path), fails ? old : bytes);
    QVERIFY(!QFile::exists(WholeFile::recoveryPath(path)));
    QVERIFY(!WholeFile::pendingRecovery(path, nullptr));
}

void TstWholeFile::recoveryCopyReadBack_data()
{
    QTest::addColumn<QString>("damage");
    QTest::addColumn<bool>("used");
    QTest::newRow("whole copy") << "" << true;
    QTest::newRow("copy cut short") << "cut" << false;
    QTest::newRow("copy with a byte more") << "longer" << false;
    QTest::newRow("copy of another file") << "other" << false;
    QTest::newRow("not a copy at all") << "garbage" << false;
}

// A copy left by a cut-off rewrite is given back only whole and only for
// its own file.
void TstWholeFile::recoveryCopyReadBack()
{
    QFETCH(QString, damage);
    QFETCH(bool, used);
    QTemporaryDir dir;
    const QString path = dir.filePath("Profils.pro");
    const QString other = dir.filePath("Other.pro");
    for (const QString &p : {path, other}) {
        QFile f(p);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("old\r\n");
    }
    const QByteArray bytes = "PROFIL A\r\n0;0;0;0;\r\n";
    QVERIFY(leaveRecoveryCopy(path, bytes, damage == "other" ? other : path));
    const QString copy = WholeFile::recoveryPath(path);
    QByteArray content;
    {
        QFile f(copy);
        QVERIFY(f.open(QIODevice::ReadOnly));
        content = f.readAll();
    }
    if (damage == "cut")
        content.chop(3);
    if (damage == "longer")
        content += 'x';
    if (damage == "garbage")
        content = bytes;
    {
        QFile f(copy);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(content);
    }
    QByteArray got;
    QCOMPARE(WholeFile::pendingRecovery(path, &got), used);
    if (used)
        QCOMPARE(got, bytes);
    // The same file named another way finds the same copy.
    QCOMPARE(WholeFile::pendingRecovery(dir.path() + "/./Profils.pro", nullptr), used);
    WholeFile::discardRecovery(path);
    QVERIFY(!QFile::exists(copy));
}

QTEST_GUILESS_MAIN(TstWholeFile)
#include "tst_wholefile.moc"
