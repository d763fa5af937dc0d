// The first start of an installed program, from a folder without
// Profils.pro: the chooser offers a copy of the installed sample in a folder
// of the user's own, and never the installed files themselves.
#include "ScriptedPrompts.h"
#include "profiles/ProfileStore.h"
#include "profiles/SampleOffer.h"
#include "ui/Help.h"
#include "ui/Language.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace
{

QByteArray readBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// Every file below folder, by relative path, with its bytes.
QMap<QString, QByteArray> tree(const QString &folder)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files.insert(QDir(folder).relativeFilePath(path), readBytes(path));
    }
    return files;
}

// The repository's sample, copied and made read-only as an install leaves it.
void installSample(const QString &into)
{
    const QString source = QStringLiteral(NERVURIA_SOURCE_DIR "/sample");
    const auto files = tree(source);
    for (auto it = files.begin(); it != files.end(); ++it) {
        const QString to = QDir(into).filePath(it.key());
        QVERIFY(writeBytes(to, it.value()));
        QFile::setPermissions(to, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    }
}

const QByteArray kOwnDatabase = "\r\nPROFIL MIEN\r\n0;0;0;0;\r\n50;6;50;-2;\r\n100;0;100;0;\r\n";

// Sets an environment variable for one test, then puts it back.
class EnvScope
{
public:
    EnvScope(const char *name, const QByteArray &value)
        : m_name(name), m_was(qEnvironmentVariableIsSet(name)), m_old(qgetenv(name))
    {
        qputenv(name, value);
    }
    ~EnvScope()
    {
        if (m_was)
            qputenv(m_name, m_old);
        else
            qunsetenv(m_name);
    }

private:
    const char *m_name;
    bool m_was;
    QByteArray m_old;
};

} // namespace

class TestSampleOffer : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        Language::setFrench(false);
        m_before = QDir::currentPath();
    }
    void cleanup() { QDir::setCurrent(m_before); }

    void firstStart_data();
    void firstStart();
    void failedCopyAsksAgain();
    void startFolderWithDatabaseAsksNothing();
    void helpFromTheInstalledSample();

private:
    QString m_before;
};

void TestSampleOffer::firstStart_data()
{
    QTest::addColumn<bool>("installed");   // a sample is installed
    QTest::addColumn<QString>("before");   // ~/NERVURIA: "" none, "own" own database, "part" one own file
    QTest::addColumn<QString>("answer");   // "offer", "link" (the target through a link), "other", "" (cancel)
    QTest::addColumn<bool>("offered");
    QTest::addColumn<QString>("loadedFrom"); // "target", "other" or "" (nothing)

    QTest::newRow("no sample installed") << false << "" << "" << false << "";
    QTest::newRow("offer taken") << true << "" << "offer" << true << "target";
    QTest::newRow("another folder chosen") << true << "" << "other" << true << "other";
    QTest::newRow("cancelled") << true << "" << "" << true << "";
    QTest::newRow("own database kept") << true << "own" << "offer" << true << "target";
    QTest::newRow("own database offered without sample") << false << "own" << "offer" << true
                                                         << "target";
    QTest::newRow("own file kept in a partial folder") << true << "part" << "offer" << true
                                                       << "target";
    QTest::newRow("target chosen through a link") << true << "part" << "link" << true << "target";
}

void TestSampleOffer::firstStart()
{
    QFETCH(bool, installed);
    QFETCH(QString, before);
    QFETCH(QString, answer);
    QFETCH(bool, offered);
    QFETCH(QString, loadedFrom);

    QTemporaryDir home, installDir, other;
    const QString sample = installDir.filePath("sample");
    if (installed)
        installSample(sample);
    const QMap<QString, QByteArray> installedFiles = tree(sample);
    const QString target = QDir(home.path()).filePath("NERVURIA");
    const QString ownFile = QDir(target).filePath("Airfoils/NACA4/N2412.DAT");
    if (before == "own")
        QVERIFY(writeBytes(QDir(target).filePath("Profils.pro"), kOwnDatabase));
    if (before == "part")
        QVERIFY(writeBytes(ownFile, "mine\n"));
    QVERIFY(writeBytes(QDir(other.path()).filePath("Profils.pro"), kOwnDatabase));

    EnvScope sampleEnv("NERVURIA_SAMPLE_DIR", installed ? sample.toLocal8Bit() : QByteArray());
    EnvScope homeEnv("HOME", home.path().toLocal8Bit());
    QDir::setCurrent(home.path());

    ScriptedPrompts prompts;
    if (answer == "offer")
        prompts.folders.enqueue(target);
    else if (answer == "other")
        prompts.folders.enqueue(other.path());
    else if (answer == "link") {
        QVERIFY(QFile::link(home.path(), QDir(other.path()).filePath("home")));
        prompts.folders.enqueue(QDir(other.path()).filePath("home/NERVURIA"));
    }
    const bool taken = answer == "offer" || answer == "link";
    ProfileStore store;
    store.LoadProfileDatabase();

    QCOMPARE(prompts.messages, QStringList{"Profils.pro file not found in current folder."});
    QCOMPARE(prompts.folderCaptions.size(), 1);
    QCOMPARE(prompts.offeredFolders, offered ? QStringList{target} : QStringList());
    if (offered)
        QVERIFY(prompts.offerTexts.constFirst().contains(QDir::toNativeSeparators(target)));

    if (loadedFrom.isEmpty()) {
        QVERIFY(store.dataError);
        QCOMPARE(store.count(), 0);
    } else {
        const QString folder = loadedFrom == "target" ? target : other.path();
        QCOMPARE(QDir(store.dataFolder).canonicalPath(), QDir(folder).canonicalPath());
        QCOMPARE(QDir::current().canonicalPath(), QDir(folder).canonicalPath());
        QVERIFY(store.count() > 0);
    }
    // The target is made only when the offer is taken.
    QCOMPARE(QFileInfo::exists(target), taken || !before.isEmpty());

    if (taken && before != "own") {
        // A full copy of the sample, except what the user had there.
        QMap<QString, QByteArray> expected = installedFiles;
        if (before == "part")
            expected.insert("Airfoils/NACA4/N2412.DAT", "mine\n");
        QCOMPARE(tree(target), expected);
        // Every profile of the sample was loaded from the copy.
        QCOMPARE(store.count(), int(installedFiles.value("Profils.pro").count("\nPROFIL ")));
        // The copy is the user's: Profils.pro can be saved again.
        QVERIFY(QFileInfo(QDir(target).filePath("Profils.pro")).isWritable());
    }
    if (before == "own") {
        QCOMPARE(tree(target).keys(), QStringList{"Profils.pro"});
        QCOMPARE(readBytes(QDir(target).filePath("Profils.pro")), kOwnDatabase);
        QCOMPARE(store.names(), QStringList{"MIEN"});
    }
    // The installed files stay as they were.
    QCOMPARE(tree(sample), installedFiles);
}

void TestSampleOffer::failedCopyAsksAgain()
{
    QTemporaryDir home, installDir;
    const QString sample = installDir.filePath("sample");
    installSample(sample);
    // A plain file where the folder should go.
    const QString target = QDir(home.path()).filePath("NERVURIA");
    QVERIFY(writeBytes(target, "not a folder"));
    EnvScope sampleEnv("NERVURIA_SAMPLE_DIR", sample.toLocal8Bit());
    EnvScope homeEnv("HOME", home.path().toLocal8Bit());
    QDir::setCurrent(home.path());

    ScriptedPrompts prompts;
    prompts.folders.enqueue(target);
    ProfileStore store;
    QVERIFY(!store.LoadProfileDatabase());
    QCOMPARE(prompts.messages.size(), 3);
    QCOMPARE(prompts.messages.at(0), "Profils.pro file not found in current folder.");
    QVERIFY2(prompts.messages.at(1).startsWith("Cannot copy the sample airfoils: "),
             qPrintable(prompts.messages.at(1)));
    QCOMPARE(prompts.messages.at(2), "Profils.pro file not found in current folder.");
    QCOMPARE(prompts.offeredFolders, QStringList(2, target));
    QCOMPARE(readBytes(target), QByteArray("not a folder"));
}

void TestSampleOffer::startFolderWithDatabaseAsksNothing()
{
    QTemporaryDir home, installDir;
    const QString sample = installDir.filePath("sample");
    installSample(sample);
    QVERIFY(writeBytes(QDir(home.path()).filePath("Profils.pro"), kOwnDatabase));
    EnvScope sampleEnv("NERVURIA_SAMPLE_DIR", sample.toLocal8Bit());
    EnvScope homeEnv("HOME", home.path().toLocal8Bit());
    QDir::setCurrent(home.path());

    ScriptedPrompts prompts;
    ProfileStore store;
    QVERIFY(store.LoadProfileDatabase());
    QVERIFY(prompts.messages.isEmpty());
    QVERIFY(prompts.folderCaptions.isEmpty());
    QVERIFY(prompts.offeredFolders.isEmpty());
    QVERIFY(!QFileInfo::exists(QDir(home.path()).filePath("NERVURIA")));
    QCOMPARE(store.names(), QStringList{"MIEN"});
}

void TestSampleOffer::helpFromTheInstalledSample()
{
    QTemporaryDir empty, installDir;
    const QString sample = installDir.filePath("sample");
    installSample(sample);
    QDir::setCurrent(empty.path());
    ScriptedPrompts prompts;
    HelpViewer viewer;
    {
        EnvScope sampleEnv("NERVURIA_SAMPLE_DIR", QByteArray());
        QVERIFY(!viewer.showTopic("MAININDEX"));
        QCOMPARE(prompts.messages.size(), 1);
    }
    EnvScope sampleEnv("NERVURIA_SAMPLE_DIR", sample.toLocal8Bit());
    QVERIFY(viewer.showTopic("MAININDEX"));
    QCOMPARE(prompts.messages.size(), 1);
    viewer.close();
}

QTEST_MAIN(TestSampleOffer)
#include "tst_sampleoffer.moc"
