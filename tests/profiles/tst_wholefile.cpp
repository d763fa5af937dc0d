// Files are written whole: afterwards they hold the new bytes, or what they
// held before, with their permissions.
#include "profiles/WholeFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

class TestWholeFile : public QObject
{
    Q_OBJECT
private slots:
    void write_data();
    void write();
    void readOnlyFolderFallsBackToInPlace();
};

void TestWholeFile::write_data()
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

void TestWholeFile::write()
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

void TestWholeFile::readOnlyFolderFallsBackToInPlace()
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

QTEST_MAIN(TestWholeFile)
#include "tst_wholefile.moc"
