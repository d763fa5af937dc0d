// What keeps the user's profiles safe when Profils.pro is damaged or a save
// goes wrong: lines cut short, an editor's byte-order mark, a flood of
// rejected values, the backup generation and the recovery copy offered at
// start.
#include "RecoveryCopy.h"
#include "ScriptedPrompts.h"
#include "FileNodes.h"
#include "profiles/Cp1252.h"
#include "profiles/ProfileStore.h"
#include "profiles/WholeFile.h"
#include "ui/Language.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace
{

QByteArray readBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

QByteArray sampleBytes()
{
    return readBytes(QStringLiteral(NERVURIA_SOURCE_DIR "/sample/Profils.pro"));
}

QByteArray crlf(const QStringList &lines)
{
    QString s;
    for (const QString &l : lines)
        s += l + QStringLiteral("\r\n");
    return Cp1252::encode(s);
}

QString upperAscii(QString s)
{
    for (QChar &c : s)
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
            c = QChar(c.unicode() - 32);
    return s;
}

// The store a file of whole, sound lines gives, built with the store's own
// operations from each line's keyword rather than by the loader.
struct Model {
    ProfileStore store;
    QString current; // name of the current profile, empty before the first
    int templ = -1;

    int position() const { return store.names().indexOf(current); }
    void take(const QString &line)
    {
        const QString upper = upperAscii(line);
        if (line.isEmpty())
            return;
        if (upper.startsWith(QLatin1String("PROFIL "))) {
            current = upper.mid(7);
            store.AddProfile(current);
            templ = -1;
        } else if (upper.startsWith(QLatin1String("GABARIT "))) {
            templ = store.AddTemplate(position(), line);
        } else if (upper.startsWith(QLatin1String("FIGURE "))) {
            store.AddFigureLine(position(), templ, line);
        } else {
            store.AddPointLine(position(), line);
        }
    }
};

QString rejectedMessage(const QString &profile, int lineNumber, const QString &line)
{
    return Language::pick(QStringLiteral("Erreur fichier Profils.pro %1 ligne n°%2 <%3>"),
                          QStringLiteral("Error File Profils.pro %1 line # %2 <%3>"))
        .arg(profile)
        .arg(lineNumber)
        .arg(line);
}

const QString kNoProfile =
    QStringLiteral("Erreur: le fichier Profils.pro ne contient aucun profil correct.");

} // namespace

class TestDatabaseSafety : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init() { Language::setFrench(true); }

    void truncatedSample_data();
    void truncatedSample();
    void byteOrderMark_data();
    void byteOrderMark();
    void messageFlood_data();
    void messageFlood();
    void backupGeneration_data();
    void backupGeneration();
    void recoveryOfferedAtStart_data();
    void recoveryOfferedAtStart();
};

void TestDatabaseSafety::truncatedSample_data()
{
    QTest::addColumn<int>("line"); // 0-based line of the sample where the file ends
    QTest::addColumn<int>("keep"); // characters of that line still there
    const QByteArray bytes = sampleBytes();
    QVERIFY(bytes.size() > 1000);
    const QList<QByteArray> lines = bytes.split('\n');
    for (int k = 0; k < lines.size(); ++k) {
        const int length = int(lines[k].size()) - (lines[k].endsWith('\r') ? 1 : 0);
        if (length > 1)
            QTest::addRow("line %d, half", k + 1) << k << length / 2;
        if (length > 0)
            QTest::addRow("line %d, last character lost", k + 1) << k << length - 1;
        QTest::addRow("line %d, whole", k + 1) << k << length;
    }
}

// The sample cut off anywhere, the way a sync tool or a full disk leaves
// it: every profile before the cut is intact, the line cut short is
// reported once, with its number and text, and not stored.
void TestDatabaseSafety::truncatedSample()
{
    QFETCH(int, line);
    QFETCH(int, keep);
    const QByteArray bytes = sampleBytes();
    const QList<QByteArray> lines = bytes.split('\n');
    QByteArray cut;
    for (int k = 0; k < line; ++k)
        cut += lines[k] + '\n';
    const QByteArray partial = lines[line].left(keep);
    cut += partial;

    ScriptedPrompts prompts;
    ProfileStore full;
    full.loadFromBytes(bytes);
    QCOMPARE(prompts.messages, QStringList{});
    ProfileStore store;
    store.loadFromBytes(cut);

    Model model;
    for (int k = 0; k < line; ++k)
        model.take(Cp1252::decode(lines[k]).chopped(lines[k].endsWith('\r') ? 1 : 0));
    QStringList expected;
    const QString text = Cp1252::decode(partial);
    const bool whole = keep == lines[line].size() - (lines[line].endsWith('\r') ? 1 : 0);
    if (whole || upperAscii(text).startsWith(QLatin1String("PROFIL ")))
        model.take(text);
    else if (!text.isEmpty() && !model.current.isNull())
        expected << rejectedMessage(model.current, line + 1, text);
    if (model.store.count() == 0)
        expected << kNoProfile;

    QCOMPARE(prompts.messages, expected);
    QCOMPARE(store.names(), model.store.names());
    QCOMPARE(store.serialize(), model.store.serialize());
    QCOMPARE(store.dataError, !expected.isEmpty() && model.store.count() > 0);
    // Every profile but the one cut is the one of the whole file.
    for (int p = 0; p < store.count(); ++p) {
        if (store.name(p) == model.current)
            continue;
        const int f = full.names().indexOf(store.name(p));
        QVERIFY(f >= 0);
        QCOMPARE(store.profile(p)->pointLines, full.profile(f)->pointLines);
        QCOMPARE(store.templateCount(p), full.templateCount(f));
        for (int t = 0; t < store.templateCount(p); ++t) {
            QCOMPARE(store.templateLine(p, t), full.templateLine(f, t));
            QCOMPARE(store.profile(p)->templates[size_t(t)].gabarit.figureLines,
                     full.profile(f)->templates[size_t(t)].gabarit.figureLines);
        }
    }
}

void TestDatabaseSafety::byteOrderMark_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QByteArray>("expected"); // the same file as the store holds it, no mark
    QTest::addColumn<int>("messages");

    const QByteArray mark = "\xef\xbb\xbf";
    QTest::newRow("mark before the sample") << mark + sampleBytes() << sampleBytes() << 0;
    QTest::newRow("mark, then UTF-8 letters")
        << mark + QByteArray("PROFIL \xc3\xa9ole \xe2\x82\xac\r\n0;0;0;0;\r\n")
        << QByteArray("PROFIL \xe9OLE \x80\r\n0;0;0;0;\r\n") << 0;
    QTest::newRow("mark, then a character the code page lacks")
        << mark + QByteArray("PROFIL \xe2\x88\x9a\r\n0;0;0;0;\r\n")
        << QByteArray("PROFIL ?\r\n0;0;0;0;\r\n") << 0;
    QTest::newRow("mark only") << mark << QByteArray() << 1;
    // Not a mark: the bytes are the start of a line like any other.
    QTest::newRow("two bytes of a mark")
        << QByteArray("\xef\xbbPROFIL A\r\nPROFIL B\r\n") << QByteArray("PROFIL B\r\n") << 0;
    QTest::newRow("mark within the file") << QByteArray("PROFIL A\r\n") + mark + "0;0;0;0;\r\n"
                                          << QByteArray("PROFIL A\r\n") << 1;
}

void TestDatabaseSafety::byteOrderMark()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QByteArray, expected);
    QFETCH(int, messages);
    ScriptedPrompts prompts;
    ProfileStore reference;
    reference.loadFromBytes(expected);
    prompts.clear();
    ProfileStore store;
    store.loadFromBytes(bytes);
    QCOMPARE(prompts.messages.size(), messages);
    QCOMPARE(store.names(), reference.names());
    QCOMPARE(store.serialize(), reference.serialize());
}

void TestDatabaseSafety::messageFlood_data()
{
    QTest::addColumn<bool>("french");
    QTest::addColumn<int>("garbageLines"); // each with four rejected values
    QTest::addColumn<int>("badValues");    // lines with one rejected value

    QTest::newRow("one") << true << 0 << 1;
    QTest::newRow("ten, each shown") << true << 2 << 2;
    QTest::newRow("eleven, one counted") << true << 2 << 3;
    QTest::newRow("eleven, English") << false << 2 << 3;
    QTest::newRow("a megabyte of garbage") << true << 100000 << 0;
    QTest::newRow("stray words only") << false << 0 << 40;
}

// Ten messages at most, then one that gives the number of the others; the
// lines after the garbage still load.
void TestDatabaseSafety::messageFlood()
{
    QFETCH(bool, french);
    QFETCH(int, garbageLines);
    QFETCH(int, badValues);
    Language::setFrench(french);
    QStringList lines{"PROFIL P", "0;0;0;0;"};
    for (int i = 0; i < garbageLines; ++i)
        lines << QStringLiteral("a;b;c;d;");
    for (int i = 0; i < badValues; ++i)
        lines << (QTest::currentDataTag() == QLatin1String("stray words only")
                      ? QStringLiteral("hello world")
                      : QStringLiteral("x;0;0;0;"));
    lines << QStringLiteral("100;0;100;0;") << QStringLiteral("GABARIT 150;10;");

    ScriptedPrompts prompts;
    ProfileStore store;
    store.loadFromBytes(crlf(lines));
    const int rejected = 4 * garbageLines + badValues;
    const int shown = std::min(rejected, 10);
    QCOMPARE(prompts.messages.size(), shown + (rejected > 10 ? 1 : 0));
    QStringList firstTen;
    for (int k = 2; k < lines.size() - 2 && firstTen.size() < 10; ++k) {
        for (int v = 0; v < (k < 2 + garbageLines ? 4 : 1); ++v)
            firstTen << rejectedMessage("P", k + 1, lines[k]);
    }
    QCOMPARE(prompts.messages.mid(0, shown), firstTen.mid(0, shown));
    if (rejected > 10) {
        const QString more = QString::number(rejected - 10);
        QCOMPARE(prompts.messages.last(),
                 french ? "Fichier Profils.pro : " + more +
                              " autre(s) valeur(s) refusée(s), sans message."
                        : "File Profils.pro: " + more + " more rejected value(s), not shown.");
    }
    QVERIFY(store.dataError);
    QCOMPARE(store.profile(0)->pointLines, (QStringList{"0;0;0;0;", "100;0;100;0;"}));
    QCOMPARE(store.templateCount(0), 1);
}

void TestDatabaseSafety::backupGeneration_data()
{
    QTest::addColumn<QString>("before"); // "file", "none", "folder in the way"
    QTest::addColumn<int>("saves");
    QTest::newRow("first save keeps the old file") << "file" << 1;
    QTest::newRow("second save replaces the backup") << "file" << 2;
    QTest::newRow("no old file, no backup") << "none" << 1;
    QTest::newRow("a folder where the backup goes") << "folder in the way" << 1;
    QTest::newRow("a pipe where the backup goes") << "fifo in the way" << 1;
    QTest::newRow("database reached through a symbolic link") << "link" << 2;
}

// A profile deleted by mistake and saved can be got back from the backup:
// it holds the file as it was before the last save.
void TestDatabaseSafety::backupGeneration()
{
    QFETCH(QString, before);
    QFETCH(int, saves);
    QTemporaryDir dir;
    const QString path = dir.filePath("Profils.pro");
    const QString backup = path + ".bak";
    const QByteArray original = sampleBytes();
    if (before == "link") {
        QVERIFY(writeBytes(dir.filePath("real.pro"), original));
        QVERIFY(QFile::link(dir.filePath("real.pro"), path));
    } else if (before != "none") {
        QVERIFY(writeBytes(path, original));
    }
    if (before == "folder in the way")
        QVERIFY(QDir().mkdir(backup));
    if (before == "fifo in the way")
        QVERIFY(FileNodes::make("fifo", backup));

    ScriptedPrompts prompts;
    ProfileStore store;
    store.loadFromBytes(original);
    store.databasePath = path;
    const QStringList names = store.names();
    QByteArray previous = before == "none" ? QByteArray() : original;
    for (int i = 0; i < saves; ++i) {
        const QByteArray onDisk = readBytes(path);
        store.DeleteProfile(0);
        store.setSaveEnabled(true);
        prompts.answers << true;
        QVERIFY(store.SaveProfileDatabase());
        QCOMPARE(readBytes(path), store.serialize());
        previous = onDisk;
    }
    if (before == "none") {
        QVERIFY(!QFile::exists(backup));
        QCOMPARE(prompts.messages, QStringList{});
        return;
    }
    if (before.endsWith("in the way")) {
        QCOMPARE(prompts.messages.size(), 1);
        QVERIFY2(
            prompts.messages[0].startsWith("Copie de sauvegarde " + path + ".bak non écrite : ") &&
                prompts.messages[0].contains("pas un fichier ordinaire"),
            qPrintable(prompts.messages[0]));
        QCOMPARE(FileNodes::kindOf(backup), before.section(' ', 0, 0));
        return;
    }
    QCOMPARE(prompts.messages, QStringList{});
    QCOMPARE(readBytes(backup), previous);
    // The backup is a file of its own, not a second way to the database.
    QVERIFY(!QFileInfo(backup).isSymLink());
    if (before == "link")
        QVERIFY(QFileInfo(path).isSymLink());
    // The profile deleted by the last save is in the backup.
    ProfileStore fromBackup;
    fromBackup.loadFromBytes(readBytes(backup));
    QVERIFY(fromBackup.names().contains(names[saves - 1]));
    QVERIFY(!store.names().contains(names[saves - 1]));
}

void TestDatabaseSafety::recoveryOfferedAtStart_data()
{
    QTest::addColumn<bool>("french");
    QTest::addColumn<QString>("file"); // what the cut-off save left: "cut", "empty", "whole"
    QTest::addColumn<bool>("answer");
    QTest::newRow("cut short, restored") << true << "cut" << true;
    QTest::newRow("empty, restored, English") << false << "empty" << true;
    QTest::newRow("cut short, kept as it is") << true << "cut" << false;
    QTest::newRow("written whole, no question") << true << "whole" << false;
}

void TestDatabaseSafety::recoveryOfferedAtStart()
{
    QFETCH(bool, french);
    QFETCH(QString, file);
    QFETCH(bool, answer);
    Language::setFrench(french);
    QTemporaryDir dir;
    const QString path = dir.filePath("Profils.pro");
    const QByteArray saved = sampleBytes();
    const QByteArray left = file == "whole" ? saved : file == "cut" ? saved.left(1000) : "";
    QVERIFY(writeBytes(path, left));
    QVERIFY(leaveRecoveryCopy(path, saved));
    QVERIFY(WholeFile::pendingRecovery(path, nullptr));

    const QString start = QDir::currentPath();
    QDir::setCurrent(dir.path());
    ScriptedPrompts prompts;
    prompts.answers << answer;
    ProfileStore store;
    store.LoadProfileDatabase();
    QDir::setCurrent(start);

    QVERIFY(!QFile::exists(WholeFile::recoveryPath(path)));
    ProfileStore reference;
    reference.loadFromBytes(saved);
    if (file == "whole") {
        QCOMPARE(prompts.questions, QStringList{});
        QCOMPARE(store.serialize(), reference.serialize());
        return;
    }
    QCOMPARE(prompts.questions.size(), 1);
    QVERIFY(
        prompts.questions[0].startsWith(french ? "Un enregistrement de Profils.pro a été interrompu"
                                               : "Saving Profils.pro was interrupted"));
    QVERIFY(prompts.questions[0].contains(QDir::toNativeSeparators(WholeFile::recoveryFolder())));
    QCOMPARE(readBytes(path), answer ? saved : left);
    if (answer) {
        QCOMPARE(store.serialize(), reference.serialize());
        QCOMPARE(prompts.messages, QStringList{});
    }
}

QTEST_GUILESS_MAIN(TestDatabaseSafety)
#include "tst_databasesafety.moc"
