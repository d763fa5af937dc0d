// Turning a coordinate file into point lines of the store, and the questions
// and refusals of adding it.
#include "ScriptedPrompts.h"
#include "catalogue/AirfoilFile.h"
#include "catalogue/ProfileAdder.h"
#include "profiles/ProfileStore.h"
#include "ui/Language.h"

#include <QFile>
#include <QLocale>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace
{

const QByteArray kGood = "Test Wing\r\n1 0\r\n0.6 0.05\r\n0.3 0.06\r\n0 0\r\n0.3 -0.04\r\n1 0\r\n";

} // namespace

class TestProfileAdder : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void percentText_data();
    void percentText();
    void pairing_data();
    void pairing();
    void regionalSeparator();
    void addsNewProfile();
    void duplicateQuestion_data();
    void duplicateQuestion();
    void refusals_data();
    void refusals();
    void memoryCorrectionsDoNotCount();

private:
    QString writeDat(const QByteArray &bytes);
    QTemporaryDir m_dir;
    ScriptedPrompts *m_prompts = nullptr;
    std::unique_ptr<ScriptedPrompts> m_ownPrompts;
};

void TestProfileAdder::init()
{
    Language::setFrench(true);
    m_ownPrompts.reset(); // uninstalls the previous one before the next installs itself
    m_ownPrompts = std::make_unique<ScriptedPrompts>();
    m_prompts = m_ownPrompts.get();
}

QString TestProfileAdder::writeDat(const QByteArray &bytes)
{
    const QString path = m_dir.filePath("wing.dat");
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
    return path;
}

void TestProfileAdder::percentText_data()
{
    QTest::addColumn<double>("fraction");
    QTest::addColumn<QString>("text");
    QTest::newRow("zero") << 0.0 << "0,00";
    QTest::newRow("chord") << 1.0 << "100,00";
    QTest::newRow("negative") << -0.0123 << "-1,23";
    QTest::newRow("rounds to two decimals") << 0.123456 << "12,35";
    QTest::newRow("tiny negative shows no sign") << -0.00001 << "0,00";
    QTest::newRow("no grouping") << 12.5 << "1250,00";
}

void TestProfileAdder::percentText()
{
    QFETCH(double, fraction);
    QFETCH(QString, text);
    QCOMPARE(ProfileAdder::percentText(fraction, QLatin1Char(',')), text);
}

void TestProfileAdder::pairing_data()
{
    QTest::addColumn<QList<double>>("x");
    QTest::addColumn<QList<double>>("y");
    QTest::addColumn<QStringList>("lines");
    // Points 0-4 upper with 4 the leading edge, 5-7 lower: pairs (4,4),
    // (3,5), (2,6), (1,7), (0,7).
    QTest::newRow("5 upper, 3 lower")
        << QList<double>{1, 0.7, 0.4, 0.1, 0, 0.3, 0.6, 1}
        << QList<double>{0, 0.04, 0.06, 0.04, 0, -0.03, -0.02, 0}
        << QStringList{"0.00;0.00;0.00;0.00;", "10.00;4.00;30.00;-3.00;", "40.00;6.00;60.00;-2.00;",
                       "70.00;4.00;100.00;0.00;", "100.00;0.00;100.00;0.00;"};
    QTest::newRow("more lower points pair with the trailing edge")
        << QList<double>{1, 0.5, 0, 0.25, 0.5, 0.75, 1}
        << QList<double>{0, 0.05, 0, -0.02, -0.03, -0.02, 0}
        << QStringList{"0.00;0.00;0.00;0.00;", "50.00;5.00;25.00;-2.00;",
                       "100.00;0.00;50.00;-3.00;", "100.00;0.00;75.00;-2.00;",
                       "100.00;0.00;100.00;0.00;"};
    QTest::newRow("last exact (0, 0) is the leading edge")
        << QList<double>{0, 1, 0, 1} << QList<double>{0, 0, 0, 0}
        << QStringList{"0.00;0.00;0.00;0.00;", "100.00;0.00;100.00;0.00;",
                       "0.00;0.00;100.00;0.00;"};
    QTest::newRow("no leading edge walks from point 0")
        << QList<double>{1, 0.5, 1} << QList<double>{0, 0.01, 0}
        << QStringList{"100.00;0.00;100.00;0.00;", "100.00;0.00;50.00;1.00;",
                       "100.00;0.00;100.00;0.00;"};
}

void TestProfileAdder::pairing()
{
    QFETCH(QList<double>, x);
    QFETCH(QList<double>, y);
    QFETCH(QStringList, lines);
    QCOMPARE(ProfileAdder::pairedPointLines(x.constData(), y.constData(), int(x.size()),
                                            QLatin1Char('.')),
             lines);
}

void TestProfileAdder::regionalSeparator()
{
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    QCOMPARE(ProfileAdder::regionalDecimalPoint(), QLatin1Char(','));
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QCOMPARE(ProfileAdder::regionalDecimalPoint(), QLatin1Char('.'));
    // A separator the database reader would not understand falls back.
    QLocale::setDefault(QLocale(QLocale::Arabic, QLocale::Egypt));
    QCOMPARE(ProfileAdder::regionalDecimalPoint(), QLatin1Char('.'));
    QLocale::setDefault(saved);
}

void TestProfileAdder::addsNewProfile()
{
    ProfileStore store;
    store.AddProfile("NACA 0012");
    QSignalSpy filled(&store, &ProfileStore::profileListFilled);
    AirfoilFile file;
    QCOMPARE(file.read(writeDat(kGood)), AirfoilFile::ReadStatus::Read);
    m_prompts->answers << true;

    QCOMPARE(ProfileAdder::add(store, file, "TEST WING", "wing.dat", QLatin1Char(',')),
             ProfileAdder::Outcome::Added);
    QCOMPARE(m_prompts->questions, QStringList{"Ajouter le profil wing.dat à Profils.pro ?"});
    const int p = store.FindProfile("TEST WING");
    QVERIFY(p >= 0);
    QCOMPARE(store.profile(p)->pointLines,
             (QStringList{"0,00;0,00;0,00;0,00;", "30,00;6,00;30,00;-4,00;",
                          "60,00;5,00;100,00;0,00;", "100,00;0,00;100,00;0,00;"}));
    QVERIFY(store.saveEnabled());
    QCOMPARE(filled.size(), 1);
    QVERIFY(filled.first().first().toStringList().contains("TEST WING"));
}

void TestProfileAdder::duplicateQuestion_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<bool>("answer");
    QTest::addColumn<QString>("question");
    QTest::addColumn<QStringList>("namesAfter");
    const QString dup = "Ce profil existe déjà dans Profils.pro. Annuler l'ajout ?";
    QTest::newRow("same title, Yes cancels")
        << "TEST WING"
        << "TEST WING" << true << dup << QStringList{"TEST WING"};
    QTest::newRow("same title, No replaces")
        << "TEST WING"
        << "TEST WING" << false << dup << QStringList{"TEST WING"};
    QTest::newRow("stored name contains the title, No adds beside it")
        << "TEST WING MK2"
        << "TEST WING" << false << dup << QStringList{"TEST WING", "TEST WING MK2"};
    // The entry of a search is the whole index line, which no stored name
    // holds; the name the profile would take is asked about all the same.
    QTest::newRow("search entry whose title is stored")
        << "TEST WING"
        << "\\X\\WING.DAT;TEST WING" << true << dup << QStringList{"TEST WING"};
    QTest::newRow("different name")
        << "OTHER"
        << "TEST WING" << true << "Ajouter le profil wing.dat à Profils.pro ?"
        << QStringList{"OTHER", "TEST WING"};
}

void TestProfileAdder::duplicateQuestion()
{
    QFETCH(QString, stored);
    QFETCH(QString, entry);
    QFETCH(bool, answer);
    QFETCH(QString, question);
    QFETCH(QStringList, namesAfter);

    ProfileStore store;
    const int p = store.AddProfile(stored);
    store.AddPointLine(p, "1;2;3;4;");
    store.AddTemplate(p, "GABARIT 100;2;");
    AirfoilFile file;
    file.read(writeDat(kGood));
    m_prompts->answers << answer;
    ProfileAdder::add(store, file, entry, "wing.dat", QLatin1Char(','));
    QCOMPARE(m_prompts->questions, QStringList{question});
    QCOMPARE(store.names(), namesAfter);
    const Tprofil *kept = store.profile(store.names().indexOf(stored));
    const bool replaced = stored == "TEST WING" && !answer && question.contains("existe");
    QCOMPARE(kept->templateCount(), replaced ? 0 : 1);
}

void TestProfileAdder::refusals_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("message");
    const QString refusal = "Il n'est pas possible de sélectionner un profil erroné. Corrigez les "
                            "erreurs automatiquement ou manuellement.";
    QTest::newRow("leading edge (0.0001, 0) warning is enough")
        << QByteArray(kGood).replace("\r\n0 0\r\n", "\r\n0.0001 0\r\n") << refusal;
    QTest::newRow("leading edge (0, 0.0001)")
        << QByteArray(kGood).replace("\r\n0 0\r\n", "\r\n0 0.0001\r\n") << refusal;
    // The check passes (y is never looked at there), but the value would be
    // stored as a made-up number.
    QTest::newRow("unreadable y in the middle")
        << QByteArray(kGood).replace("0.3 0.06", "0.3 0.06 0.07") << refusal;
    QTest::newRow("more than 256 rows") << kGood + QByteArray("0.5 0\r\n").repeated(251)
                                        << "Fichier Profil invalide : plus de 256 lignes";
    QTest::newRow("title only") << QByteArray("Wing\r\n") << refusal;
}

void TestProfileAdder::refusals()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);
    ProfileStore store;
    AirfoilFile file;
    file.read(writeDat(bytes));
    m_prompts->answers << true << true;
    QCOMPARE(ProfileAdder::add(store, file, "WING", "wing.dat"), ProfileAdder::Outcome::Refused);
    QCOMPARE(m_prompts->messages, QStringList{message});
    QVERIFY(m_prompts->questions.isEmpty());
    QCOMPARE(store.count(), 0);
    QVERIFY(!store.saveEnabled());
}

void TestProfileAdder::memoryCorrectionsDoNotCount()
{
    // Corrected on screen but not written back: the file on disk is still
    // faulty and is what would be stored. The user is told to write it
    // back, and the corrections stay on show for that.
    ProfileStore store;
    AirfoilFile file;
    const QString path = writeDat(QByteArray(kGood).replace("\r\n0 0\r\n", "\r\n0.0001 0\r\n"));
    file.read(path);
    QVERIFY(file.correctErrors());
    QCOMPARE(ProfileAdder::add(store, file, "TEST WING", "wing.dat"),
             ProfileAdder::Outcome::NotWrittenBack);
    QCOMPARE(store.count(), 0);
    QCOMPARE(m_prompts->messages,
             QStringList{"Le profil a été corrigé à l'écran mais pas dans son fichier. Enregistrez "
                         "d'abord le fichier corrigé (\"Enregistr.Profil\"), puis ajoutez-le à "
                         "Profils.pro."});
    QCOMPARE(file.listedRow(4), QStringLiteral("&0.00000  0.00000"));
    QVERIFY(m_prompts->questions.isEmpty());

    // A correction that failed leaves nothing to write back: the plain
    // refusal, the corrected rows still on show.
    m_prompts->clear();
    AirfoilFile stuck;
    stuck.read(writeDat(QByteArray(kGood)
                            .replace("\r\n0 0\r\n", "\r\n0.0001 0\r\n")
                            .replace("\r\n1 0\r\n0.6", "\r\n0.99 0\r\n0.6")));
    QVERIFY(!stuck.correctErrors());
    QCOMPARE(ProfileAdder::add(store, stuck, "TEST WING", "wing.dat"),
             ProfileAdder::Outcome::NotWrittenBack);
    QCOMPARE(m_prompts->messages.size(), 1);
    QVERIFY(m_prompts->messages[0].startsWith("Il n'est pas possible"));
    QCOMPARE(stuck.listedRow(4), QStringLiteral("&0.00000  0.00000"));

    // Once written back, the same file is added.
    m_prompts->clear();
    QVERIFY(file.rewrite(nullptr));
    m_prompts->answers << true;
    QCOMPARE(ProfileAdder::add(store, file, "TEST WING", "wing.dat"), ProfileAdder::Outcome::Added);

    QFile::remove(path);
    m_prompts->clear();
    QCOMPARE(ProfileAdder::add(store, file, "TEST WING", "wing.dat"),
             ProfileAdder::Outcome::Refused);
    QCOMPARE(m_prompts->messages, QStringList{"Erreur: fichier " + path + " non trouvé"});
}

QTEST_MAIN(TestProfileAdder)
#include "tst_profileadder.moc"
