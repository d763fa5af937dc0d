#include "ScriptedPrompts.h"
#include "profiles/Cp1252.h"
#include "profiles/ProfileStore.h"
#include "ui/Language.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace
{

QByteArray crlf(const QStringList &lines)
{
    QString s;
    for (const QString &l : lines)
        s += l + QStringLiteral("\r\n");
    return Cp1252::encode(s);
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray readBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A store whose file writing fails after the temporary file was started,
// the way a full disk fails.
class FailingStore : public ProfileStore
{
protected:
    bool writeFile(const QString &, const QByteArray &, QString *error) override
    {
        *error = QStringLiteral("No space left on device");
        return false;
    }
};

const QStringList kExample = {
    QString(),
    QStringLiteral("PROFIL EXEMPLE"),
    QStringLiteral("0,00;0,00;0,00;0,00;"),
    QStringLiteral("30,00;12,00;30,00;-2,50;"),
    QStringLiteral("100,00;0,00;100,00;0,00;"),
    QStringLiteral("GABARIT 150;10;"),
    QStringLiteral("FIGURE 2;400;-60;520;60;0;"),
};

} // namespace

class TestProfileStore : public QObject
{
    Q_OBJECT
private slots:
    void init() { Language::setFrench(true); }

    void loadsTheExample();
    void lineKinds_data();
    void lineKinds();
    void rejectedValues_data();
    void rejectedValues();
    void rejectedTemplateDoesNotCaptureFigures();
    void linesAfterARejectedLineAreKept();
    void emptyFileMessage_data();
    void emptyFileMessage();
    void sortedCaseInsensitiveAndUnique();
    void findProfile_data();
    void findProfile();
    void outOfRangePositionsDoNothing();
    void templateOperations();

    void missingFileAsksForFolder();
    void missingFileCancelled();
    void saveAsksAndWrites();
    void saveNoKeepsChanges();
    void saveTwiceWritesOnce();
    void failedSaveKeepsOldFile();
    void failedSaveToUnwritablePath();
    void roundTripCanonicalBytes();
    void messyLineEndsAndCp1252Names();
    void deleteProfile_data();
    void deleteProfile();
};

void TestProfileStore::loadsTheExample()
{
    ScriptedPrompts prompts;
    ProfileStore store;
    QSignalSpy filled(&store, &ProfileStore::profileListFilled);
    store.loadFromBytes(crlf(kExample));
    QVERIFY(prompts.messages.isEmpty());
    QCOMPARE(store.count(), 1);
    QCOMPARE(store.name(0), QStringLiteral("EXEMPLE"));
    QCOMPARE(store.profile(0)->pointLines.size(), 3);
    QCOMPARE(store.templateLine(0, 0), QStringLiteral("GABARIT 150;10;"));
    QCOMPARE(store.profile(0)->templates[0].gabarit.figureLines,
             QStringList{QStringLiteral("FIGURE 2;400;-60;520;60;0;")});
    QVERIFY(store.databaseLoaded);
    QVERIFY(!store.dataError);
    QCOMPARE(store.currentProfile, 0);
    QCOMPARE(store.currentTemplate, -1);
    QCOMPARE(filled.count(), 1);
}

void TestProfileStore::lineKinds_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QStringList>("firstPointLines");

    QTest::newRow("lower-case header after empty line")
        << QStringList{"", "profil naca 0012", "0;0;0;0;"} << QStringList{"NACA 0012"}
        << QStringList{"0;0;0;0;"};
    QTest::newRow("accented letters keep their case")
        << QStringList{"PROFIL éole", "0;0;0;0;"} << QStringList{"éOLE"} << QStringList{"0;0;0;0;"};
    QTest::newRow("second blank starts the name")
        << QStringList{"PROFIL  E205"} << QStringList{" E205"} << QStringList{};
    QTest::newRow("same name again replaces the first")
        << QStringList{"PROFIL A1", "1;1;1;1;", "profil a1", "2;2;2;2;"} << QStringList{"A1"}
        << QStringList{"2;2;2;2;"};
    QTest::newRow("lines before the first header are dropped")
        << QStringList{"1;1;1;1;", "GABARIT 100;2;", "FIGURE 0;0;0;0;0;0;", "PROFIL P"}
        << QStringList{"P"} << QStringList{};
    QTest::newRow("template without points loads")
        << QStringList{"PROFIL P", "GABARIT 100;2;"} << QStringList{"P"} << QStringList{};
    QTest::newRow("lines kept as read") << QStringList{"PROFIL P", " 1,50 ; 2.5;3;4;"}
                                        << QStringList{"P"} << QStringList{" 1,50 ; 2.5;3;4;"};
}

void TestProfileStore::lineKinds()
{
    QFETCH(QStringList, lines);
    QFETCH(QStringList, names);
    QFETCH(QStringList, firstPointLines);
    ScriptedPrompts prompts;
    ProfileStore store;
    store.loadFromBytes(crlf(lines));
    QCOMPARE(prompts.messages, QStringList{});
    QCOMPARE(store.names(), names);
    QCOMPARE(store.profile(0)->pointLines, firstPointLines);
}

void TestProfileStore::rejectedValues_data()
{
    QTest::addColumn<bool>("french");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QStringList>("messages");

    QTest::newRow("template letter, French")
        << true << "GABARIT 150;x;"
        << QStringList{"Erreur fichier Profils.pro P ligne n°4 <GABARIT 150;x;>"};
    QTest::newRow("template letter, English")
        << false << "GABARIT 150;x;"
        << QStringList{"Error File Profils.pro P line # 4 <GABARIT 150;x;>"};
    QTest::newRow("point with three decimals")
        << true << "1,234;0;0;0;"
        << QStringList{"Erreur fichier Profils.pro P ligne n°4 <1,234;0;0;0;>"};
    QTest::newRow("two bad values, two messages")
        << false << "a;0;b;0;"
        << QStringList{"Error File Profils.pro P line # 4 <a;0;b;0;>",
                       "Error File Profils.pro P line # 4 <a;0;b;0;>"};
    QTest::newRow("figure with decimals")
        << true << "FIGURE 0;1.5;0;0;0;0;"
        << QStringList{"Erreur fichier Profils.pro P ligne n°4 <FIGURE 0;1.5;0;0;0;0;>"};
    QTest::newRow("template chord too large for a whole number")
        << true << "GABARIT 99999999999;10;"
        << QStringList{"Erreur fichier Profils.pro P ligne n°4 <GABARIT 99999999999;10;>"};
    QTest::newRow("figure value too large for a whole number")
        << false << "FIGURE 0;1;2;3;-99999999999;5;"
        << QStringList{"Error File Profils.pro P line # 4 <FIGURE 0;1;2;3;-99999999999;5;>"};
    // Not a header and not empty: a point line without its four values, so
    // a line cut short, refused rather than read as zeros.
    QTest::newRow("keyword without blank is a short point line")
        << true << "PROFIL" << QStringList{"Erreur fichier Profils.pro P ligne n°4 <PROFIL>"};
    QTest::newRow("line of blanks is a short point line")
        << false << "   " << QStringList{"Error File Profils.pro P line # 4 <   >"};
    QTest::newRow("template cut after its chord")
        << true << "GABARIT 200;"
        << QStringList{"Erreur fichier Profils.pro P ligne n°4 <GABARIT 200;>"};
    QTest::newRow("figure cut after three values")
        << false << "FIGURE 2;1000;-80;"
        << QStringList{"Error File Profils.pro P line # 4 <FIGURE 2;1000;-80;>"};
    QTest::newRow("point line cut in its second value")
        << true << "0,15;0,6" << QStringList{"Erreur fichier Profils.pro P ligne n°4 <0,15;0,6>"};
    QTest::newRow("stray words") << false << "hello world"
                                 << QStringList{"Error File Profils.pro P line # 4 <hello world>"};
    QTest::newRow("bad value, then cut short")
        << true << "x;0,6"
        << QStringList{"Erreur fichier Profils.pro P ligne n°4 <x;0,6>",
                       "Erreur fichier Profils.pro P ligne n°4 <x;0,6>"};
}

void TestProfileStore::rejectedValues()
{
    QFETCH(bool, french);
    QFETCH(QString, line);
    QFETCH(QStringList, messages);
    Language::setFrench(french);
    ScriptedPrompts prompts;
    ProfileStore store;
    // Line 2 is the header (line 1 is empty), line 4 the faulty one.
    store.loadFromBytes(crlf({"", "PROFIL P", "GABARIT 100;2;", line, "FIGURE 0;1;2;3;4;5;"}));
    QCOMPARE(prompts.messages, messages);
    QVERIFY(store.dataError);
    QVERIFY(!store.profile(0)->pointLines.contains(line));
    for (const auto &t : store.profile(0)->templates)
        QVERIFY(t.line != line && !t.gabarit.figureLines.contains(line));
}

void TestProfileStore::rejectedTemplateDoesNotCaptureFigures()
{
    // The figures of a refused template must not land on the template before it.
    ScriptedPrompts prompts;
    ProfileStore store;
    store.loadFromBytes(crlf({"PROFIL P", "GABARIT 100;2;", "FIGURE 0;1;1;1;1;0;", "GABARIT 1x0;2;",
                              "FIGURE 2;9;9;9;9;0;"}));
    QCOMPARE(prompts.messages.size(), 1);
    QCOMPARE(store.templateCount(0), 1);
    QCOMPARE(store.profile(0)->templates[0].gabarit.figureLines,
             QStringList{"FIGURE 0;1;1;1;1;0;"});
}

void TestProfileStore::linesAfterARejectedLineAreKept()
{
    ScriptedPrompts prompts;
    ProfileStore store;
    store.loadFromBytes(crlf({"PROFIL P", "0;0;0;0;", "x;0;0;0;", "100;0;100;0;", "GABARIT 100;2;",
                              "PROFIL Q", "0;0;0;0;"}));
    QCOMPARE(prompts.messages.size(), 1);
    QCOMPARE(store.profile(0)->pointLines, (QStringList{"0;0;0;0;", "100;0;100;0;"}));
    QCOMPARE(store.templateCount(0), 1);
    QCOMPARE(store.profile(1)->pointLines.size(), 1);
}

void TestProfileStore::emptyFileMessage_data()
{
    QTest::addColumn<bool>("french");
    QTest::addColumn<QString>("message");
    QTest::newRow("French") << true
                            << "Erreur: le fichier Profils.pro ne contient aucun profil correct.";
    QTest::newRow("English") << false
                             << "Error: Profils.pro file contains no valid airfoil at all.";
}

void TestProfileStore::emptyFileMessage()
{
    QFETCH(bool, french);
    QFETCH(QString, message);
    Language::setFrench(french);
    ScriptedPrompts prompts;
    ProfileStore store;
    store.loadFromBytes("\r\n1;2;3;4;\r\n");
    QCOMPARE(prompts.messages, QStringList{message});
    QCOMPARE(store.currentProfile, -1);
    QVERIFY(!store.databaseLoaded);
}

void TestProfileStore::sortedCaseInsensitiveAndUnique()
{
    ProfileStore store;
    for (const char *n : {"b", "A", "c", "B"})
        store.AddProfile(QString::fromLatin1(n));
    QCOMPARE(store.count(), 3);
    QCOMPARE(store.name(0), QStringLiteral("A"));
    QCOMPARE(store.name(1).toUpper(), QStringLiteral("B"));
    QCOMPARE(store.name(2), QStringLiteral("c"));
    // Replacing drops the old record's lines and returns its position.
    store.AddPointLine(1, QStringLiteral("0;0;0;0;"));
    QCOMPARE(store.AddProfile(QStringLiteral("b")), 1);
    QVERIFY(store.profile(1)->pointLines.isEmpty());
}

void TestProfileStore::findProfile_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("expected");
    QTest::newRow("substring") << "E20" << 1;
    QTest::newRow("exact characters") << "e205" << -1;
    QTest::newRow("empty finds nothing") << "" << -1;
    QTest::newRow("first in list order") << "0" << 0;
}

void TestProfileStore::findProfile()
{
    QFETCH(QString, text);
    QFETCH(int, expected);
    ProfileStore store;
    store.AddProfile(QStringLiteral("CLARK Y0"));
    store.AddProfile(QStringLiteral("E205"));
    QCOMPARE(store.FindProfile(text), expected);
}

void TestProfileStore::outOfRangePositionsDoNothing()
{
    ProfileStore store;
    store.AddProfile(QStringLiteral("P"));
    QCOMPARE(store.AddTemplate(1, QStringLiteral("GABARIT 1;1;")), -1);
    QCOMPARE(store.AddTemplate(-1, QStringLiteral("GABARIT 1;1;")), -1);
    store.AddPointLine(5, QStringLiteral("x"));
    store.AddFigureLine(0, 0, QStringLiteral("FIGURE"));
    store.PutTemplateLine(0, 3, QStringLiteral("x"));
    store.ResetTemplate(0, -1);
    store.DeleteTemplate(0, 0);
    store.DeleteProfile(7);
    QCOMPARE(store.count(), 1);
    QCOMPARE(store.templateCount(0), 0);
    QVERIFY(store.profile(0)->pointLines.isEmpty());
    QVERIFY(store.templateLine(0, 0).isNull());
}

void TestProfileStore::templateOperations()
{
    ProfileStore store;
    const int p = store.AddProfile(QStringLiteral("P"));
    QCOMPARE(store.AddTemplate(p, QStringLiteral("GABARIT 150;10;")), 0);
    QCOMPARE(store.AddTemplate(p, QStringLiteral("GABARIT 200;15;")), 1);
    store.AddFigureLine(p, 1, QStringLiteral("FIGURE 1;0;0;10;0;0;"));
    store.ResetTemplate(p, 1);
    QCOMPARE(store.templateLine(p, 1), QStringLiteral("GABARIT 100;2;"));
    QVERIFY(store.profile(p)->templates[1].gabarit.figureLines.isEmpty());
    store.DeleteTemplate(p, 0);
    QCOMPARE(store.templateCount(p), 1);
    QCOMPARE(store.templateLine(p, 0), QStringLiteral("GABARIT 100;2;"));
}

void TestProfileStore::missingFileAsksForFolder()
{
    QTemporaryDir empty, data;
    writeBytes(data.filePath("Profils.pro"), crlf(kExample));
    const QString before = QDir::currentPath();
    QDir::setCurrent(empty.path());
    ScriptedPrompts prompts;
    prompts.folders.enqueue(empty.path()); // still not there: asked again
    prompts.folders.enqueue(data.path());
    ProfileStore store;
    QVERIFY(store.LoadProfileDatabase());
    QCOMPARE(prompts.messages,
             QStringList(2, "Fichier Profils.pro non trouvé dans le dossier courant."));
    QCOMPARE(prompts.folderCaptions.size(), 2);
    QCOMPARE(QDir(store.dataFolder).canonicalPath(), QDir(data.path()).canonicalPath());
    QCOMPARE(QDir::current().canonicalPath(), QDir(data.path()).canonicalPath());
    QCOMPARE(store.count(), 1);
    QDir::setCurrent(before);
}

void TestProfileStore::missingFileCancelled()
{
    QTemporaryDir empty;
    const QString before = QDir::currentPath();
    QDir::setCurrent(empty.path());
    Language::setFrench(false);
    ScriptedPrompts prompts;
    ProfileStore store;
    QSignalSpy unavailable(&store, &ProfileStore::databaseUnavailable);
    QVERIFY(!store.LoadProfileDatabase());
    QCOMPARE(prompts.messages, QStringList{"Profils.pro file not found in current folder."});
    QCOMPARE(unavailable.count(), 1);
    QVERIFY(store.dataError);
    QCOMPARE(store.count(), 0);
    QDir::setCurrent(before);
}

void TestProfileStore::saveAsksAndWrites()
{
    QTemporaryDir dir;
    ScriptedPrompts prompts;
    ProfileStore store;
    store.databasePath = dir.filePath("Profils.pro");
    store.loadFromBytes(crlf(kExample));
    store.AddPointLine(0, QStringLiteral("50,00;6,00;50,00;-1,00;"));
    store.setSaveEnabled(true);
    prompts.answers.enqueue(true);
    QVERIFY(store.SaveProfileDatabase());
    QCOMPARE(prompts.questions,
             QStringList{"Voulez-vous enregistrer vos modifications dans Profils.pro ?"});
    QVERIFY(!store.saveEnabled());
    ProfileStore again;
    again.loadFromBytes(readBytes(store.databasePath));
    QCOMPARE(again.profile(0)->pointLines, store.profile(0)->pointLines);
    QCOMPARE(again.profile(0)->pointLines.last(), QStringLiteral("50,00;6,00;50,00;-1,00;"));
}

void TestProfileStore::saveNoKeepsChanges()
{
    QTemporaryDir dir;
    Language::setFrench(false);
    ScriptedPrompts prompts;
    ProfileStore store;
    store.databasePath = dir.filePath("Profils.pro");
    store.loadFromBytes(crlf(kExample));
    store.setSaveEnabled(true);
    prompts.answers.enqueue(false);
    QVERIFY(!store.SaveProfileDatabase());
    QCOMPARE(prompts.questions, QStringList{"Save updates to Profils.pro ?"});
    QVERIFY(store.saveEnabled());
    QVERIFY(!QFile::exists(store.databasePath));
}

void TestProfileStore::saveTwiceWritesOnce()
{
    QTemporaryDir dir;
    ScriptedPrompts prompts;
    ProfileStore store;
    store.databasePath = dir.filePath("Profils.pro");
    store.loadFromBytes(crlf(kExample));
    store.setSaveEnabled(true);
    prompts.answers << true << true;
    QVERIFY(store.SaveProfileDatabase());
    QVERIFY(!store.SaveProfileDatabase());
    QCOMPARE(prompts.questions.size(), 1);
}

void TestProfileStore::failedSaveKeepsOldFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Profils.pro");
    const QByteArray old = crlf(kExample);
    writeBytes(path, old);
    ScriptedPrompts prompts;
    FailingStore store;
    store.databasePath = path;
    store.loadFromBytes(old);
    store.DeleteProfile(0);
    store.setSaveEnabled(true);
    prompts.answers.enqueue(true);
    QVERIFY(!store.SaveProfileDatabase());
    QCOMPARE(prompts.messages.size(), 1);
    QVERIFY(prompts.messages[0].contains("No space left on device"));
    QVERIFY(store.saveEnabled());
    QCOMPARE(readBytes(path), old);
}

void TestProfileStore::failedSaveToUnwritablePath()
{
    // A real failure from the file system: the database path is a folder, and
    // another one lies in a folder that does not exist.
    QTemporaryDir dir;
    for (const QString &path : {dir.path(), dir.filePath("gone/Profils.pro")}) {
        ScriptedPrompts prompts;
        ProfileStore store;
        store.databasePath = path;
        store.AddProfile(QStringLiteral("P"));
        store.setSaveEnabled(true);
        prompts.answers.enqueue(true);
        QVERIFY(!store.SaveProfileDatabase());
        QCOMPARE(prompts.messages.size(), 1);
        QVERIFY(store.saveEnabled());
    }
    QVERIFY(QFileInfo(dir.path()).isDir());
}

void TestProfileStore::roundTripCanonicalBytes()
{
    const QByteArray bytes = crlf(
        {"", "PROFIL A", "0,00;0,00;0,00;0,00;", "100,00;0,00;100,00;0,00;", "GABARIT 150;10;",
         "FIGURE 2;400;-60;520;60;0;", "GABARIT 200;2;", "", "PROFIL B", "0,00;0,00;0,00;0,00;"});
    ScriptedPrompts prompts;
    ProfileStore store;
    store.loadFromBytes(bytes);
    QCOMPARE(store.serialize(), bytes);
}

void TestProfileStore::messyLineEndsAndCp1252Names()
{
    // CR alone, CR LF, an LF from a Unix editor, Windows-1252 letters, and
    // junk after Ctrl-Z.
    const QByteArray messy = "\rPROFIL Cr\xe9\x9c \x80\r\n0;0;0;0;\r100;0;100;0;\n"
                             "GABARIT 150;10;\r\n\x1a"
                             "PROFIL AFTER EOF\r\n";
    ScriptedPrompts prompts;
    ProfileStore store;
    store.loadFromBytes(messy);
    QCOMPARE(prompts.messages, QStringList{});
    QCOMPARE(store.count(), 1);
    QCOMPARE(store.name(0), QStringLiteral("CRé\u0153 \u20ac"));
    const QByteArray saved = store.serialize();
    QVERIFY(saved.contains("PROFIL CR\xe9\x9c \x80\r\n"));
    ProfileStore again;
    again.loadFromBytes(saved);
    QCOMPARE(again.serialize(), saved);
    QCOMPARE(again.profile(0)->pointLines, store.profile(0)->pointLines);
}

void TestProfileStore::deleteProfile_data()
{
    QTest::addColumn<int>("current");
    QTest::addColumn<bool>("answer");
    QTest::addColumn<QStringList>("remaining");
    QTest::addColumn<int>("newCurrent");
    QTest::newRow("middle") << 1 << true << QStringList{"A", "C"} << 1;
    QTest::newRow("last selects new last") << 2 << true << QStringList{"A", "B"} << 1;
    QTest::newRow("No keeps it") << 2 << false << QStringList{"A", "B", "C"} << 2;
    QTest::newRow("none selected") << -1 << true << QStringList{"A", "B", "C"} << -1;
}

void TestProfileStore::deleteProfile()
{
    QFETCH(int, current);
    QFETCH(bool, answer);
    QFETCH(QStringList, remaining);
    QFETCH(int, newCurrent);
    ScriptedPrompts prompts;
    ProfileStore store;
    for (const char *n : {"A", "B", "C"})
        store.AddProfile(QString::fromLatin1(n));
    store.currentProfile = current;
    prompts.answers.enqueue(answer);
    store.DeleteCurrentProfile(store.name(current));
    QCOMPARE(store.names(), remaining);
    QCOMPARE(store.currentProfile, newCurrent);
    QCOMPARE(store.saveEnabled(), remaining.size() == 2);
    if (current >= 0)
        QCOMPARE(prompts.questions,
                 QStringList{"Etes vous sûr de vouloir supprimer le profil " + store.name(-1) +
                             QString(current == 0   ? "A"
                                     : current == 1 ? "B"
                                                    : "C") +
                             " du fichier Profils.pro ?"});
    else
        QVERIFY(prompts.questions.isEmpty());
}

QTEST_GUILESS_MAIN(TestProfileStore)
#include "tst_profilestore.moc"
