#include "ScriptedPrompts.h"

#include "profiles/ProfileStore.h"
#include "profiles/WholeFile.h"

#include <QFile>
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
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"old.txt"});
}

QTEST_GUILESS_MAIN(TstWholeFile)
#include "tst_wholefile.moc"
