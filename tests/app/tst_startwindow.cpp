#include "Naca.h"
#include "ScriptedPrompts.h"
#include "app/IntroScene.h"
#include "app/SingleInstance.h"
#include "app/Startup.h"
#include "app/TIntro.h"
#include "app/Translator.h"
#include "app/sprites/IntroAnimation.h"
#include "drawing/TForm1.h"
#include "drawing/TForm2.h"
#include "drawing/ExportDialog.h"
#include "drawing/TForm3.h"
#include "hybrid/TForm4.h"
#include "hybrid/TFormpanneau.h"
#include "profiles/ProfileStore.h"
#include "ui/Help.h"
#include "ui/Language.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace
{

// A data folder with a small database, made current for the test.
class DataFolder
{
public:
    explicit DataFolder(bool withDatabase = true)
    {
        m_before = QDir::currentPath();
        if (withDatabase) {
            QFile f(m_dir.filePath("Profils.pro"));
            f.open(QIODevice::WriteOnly);
            QByteArray text;
            for (const char *digits : {"0012", "2412"}) {
                const Naca::Section s = Naca::fourDigit(QString::fromLatin1(digits), 21);
                text += "\r\nPROFIL " + s.name.toLatin1() + "\r\n";
                for (const QString &l : Naca::pointLines(s))
                    text += l.toLatin1() + "\r\n";
                text += "GABARIT 150;10;\r\n";
            }
            f.write(text);
        }
        QFile::copy(QStringLiteral(NERVURIA_SOURCE_DIR "/sample/NERVURIA.HLP"),
                    m_dir.filePath("NERVURIA.HLP"));
        QDir::setCurrent(m_dir.path());
    }
    ~DataFolder() { QDir::setCurrent(m_before); }
    QString path(const QString &name) const { return m_dir.filePath(name); }

private:
    QTemporaryDir m_dir;
    QString m_before;
};

} // namespace

class TestStartWindow : public QObject
{
    Q_OBJECT
private slots:
    void languageFollowsTheSpeedLabel_data();
    void languageFollowsTheSpeedLabel();
    void sceneIsCentredBelowTheBar_data();
    void sceneIsCentredBelowTheBar();
    void windowsAndMenus();
    void speedIsStepsPerTick_data();
    void speedIsStepsPerTick();
    void drawingWindowOpensModallyAndResumes();
    void drawingIgnoredWithoutProfiles();
    void missingDatabaseDisablesWorkWindows();
    void quittingOffersUnsavedChanges();
    void secondInstanceHandsOver();
    void secondStartRestoresTheWindowWithTheInput_data();
    void secondStartRestoresTheWindowWithTheInput();
    void everyTitleNamesTheProgramOnce();
    void staleSocketDoesNotBlock();
    void helpFileHasEveryTopic_data();
    void helpFileHasEveryTopic();
    void helpOpensOnTopic();
    void missingHelpFileIsReported();
};

void TestStartWindow::languageFollowsTheSpeedLabel_data()
{
    QTest::addColumn<QLocale::Language>("language");
    QTest::addColumn<QString>("label");
    QTest::addColumn<bool>("french");
    QTest::addColumn<QString>("yes"); // Qt's own Yes button
    QTest::newRow("French system") << QLocale::French << "Vitesse" << true << "&Oui";
    QTest::newRow("English system") << QLocale::English << "Speed" << false << "&Yes";
    QTest::newRow("German system") << QLocale::German << "Speed" << false << "&Yes";
}

void TestStartWindow::languageFollowsTheSpeedLabel()
{
    QFETCH(QLocale::Language, language);
    QFETCH(QString, label);
    QFETCH(bool, french);
    QFETCH(QString, yes);
    BuiltinTranslator translator{QLocale(language)};
    QApplication::installTranslator(&translator);
    QTranslator qtTexts;
    QCOMPARE(loadQtTranslations(qtTexts, QLocale(language)), french);
    if (french)
        QApplication::installTranslator(&qtTexts);
    TIntro intro;
    QMessageBox box(QMessageBox::Question, QString(), QString(),
                    QMessageBox::Yes | QMessageBox::No);
    const QString yesText = box.button(QMessageBox::Yes)->text();
    QApplication::removeTranslator(&qtTexts);
    QApplication::removeTranslator(&translator);
    QCOMPARE(intro.Label1->text(), label);
    QCOMPARE(Language::french(), french);
    QCOMPARE(yesText, yes);
}

void TestStartWindow::sceneIsCentredBelowTheBar_data()
{
    QTest::addColumn<QSize>("client");
    QTest::addColumn<QPoint>("expected");
    QTest::newRow("roomy") << QSize(800, 600) << QPoint(100, 133);
    QTest::newRow("exact") << QSize(600, 417) << QPoint(0, 42);
    // Smaller than the scene: negative offsets, truncated towards zero.
    QTest::newRow("small") << QSize(401, 300) << QPoint(-99, -16);
}

void TestStartWindow::sceneIsCentredBelowTheBar()
{
    QFETCH(QSize, client);
    QFETCH(QPoint, expected);
    TIntro intro;
    intro.centralWidget()->setFixedSize(client);
    intro.FormResize();
    QCOMPARE(intro.PaintBox1->pos(), expected);
    QCOMPARE(intro.PaintBox1->size(), QSize(600, 375));
}

void TestStartWindow::windowsAndMenus()
{
    DataFolder data;
    ScriptedPrompts prompts;
    Windows w;
    QCOMPARE(w.intro->windowTitle(), QStringLiteral(" NERVURIA"));
    QCOMPARE(w.form1->windowTitle(), QStringLiteral(" NERVURIA - Dessin de gabarits"));
    QCOMPARE(w.form2->windowTitle(), QStringLiteral("NERVURIA - Nouveau gabarit"));
    QCOMPARE(w.form3->windowTitle(), QStringLiteral("NERVURIA  - Aperçu avant impression"));
    QCOMPARE(w.form1->form3(), w.form3.get()); // the drawing window's print preview
    QCOMPARE(w.intro->Timer1->interval(), 8);
    QCOMPARE(w.intro->TimerP3->interval(), 8000);
    QVERIFY(w.intro->Timer1->isActive());
    QCOMPARE(w.form1->Cb1->count(), 2);
    const QStringList items{w.intro->Quitter1->text(), w.intro->Profils1->text(),
                            w.intro->Etude1->text(), w.intro->Index1->text(),
                            w.intro->APropos1->text()};
    QCOMPARE(items, (QStringList{"&Quitter", "&Catalogue des profils", "&Dessin des Gabarits",
                                 "&Rubriques d'aide", "&A Propos..."}));
    w.intro->APropos1->trigger(); // does nothing
    QVERIFY(prompts.messages.isEmpty());
}

void TestStartWindow::speedIsStepsPerTick_data()
{
    QTest::addColumn<int>("speed");
    QTest::addColumn<int>("largePlaneX"); // from 300, 1.6 pixels a step leftwards
    QTest::newRow("0 stands still") << 0 << 300;
    QTest::newRow("1") << 1 << 298;
    QTest::newRow("6 at start") << -1 << 290;
    QTest::newRow("16") << 16 << 274;
}

void TestStartWindow::speedIsStepsPerTick()
{
    QFETCH(int, speed);
    QFETCH(int, largePlaneX);
    TIntro intro;
    QCOMPARE(intro.UpDown1->value(), 6);
    if (speed >= 0)
        intro.UpDown1->setValue(speed);
    intro.Timer1Timer(); // nothing to move before the scene is built
    intro.buildScene();
    const QImage before = intro.animation()->album().work();
    intro.Timer1Timer();
    TPool &pool = intro.animation()->pool();
    QCOMPARE(pool.X(IntroAnimation::SlotLargePlane), largePlaneX);
    QCOMPARE(pool.Y(IntroAnimation::SlotLargePlane), 375 / 2 - 30);
    QCOMPARE(intro.animation()->album().work() == before, speed == 0);
    // What the animation area shows is the scene as the step left it.
    const QImage shown = intro.PaintBox1->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(shown, intro.animation()->album().work());
}

void TestStartWindow::drawingWindowOpensModallyAndResumes()
{
    DataFolder data;
    ScriptedPrompts prompts;
    Windows w;
    w.intro->show();
    w.intro->buildScene();
    bool timersStopped = false, shown = false;
    int profile = -2;
    TPool &pool = w.intro->animation()->pool();
    const int before = pool.X(IntroAnimation::SlotLargePlane);
    int during = 0;
    QTimer::singleShot(50, [&] {
        during = pool.X(IntroAnimation::SlotLargePlane);
        timersStopped = !w.intro->Timer1->isActive() && !w.intro->TimerP3->isActive();
        shown = w.form1->isVisible() && w.form1->isModal();
        profile = w.form1->store().currentProfile;
        w.form1->Btquit->click();
    });
    w.intro->BitBtn2->click();
    QVERIFY(timersStopped);
    QVERIFY(shown);
    QCOMPARE(profile, 0);
    QVERIFY(w.intro->Timer1->isActive());
    QVERIFY(w.intro->TimerP3->isActive());
    QVERIFY(!w.intro->isMinimized());
    QVERIFY(prompts.questions.isEmpty()); // nothing changed, nothing asked
    // The planes waited and fly on from where they were.
    QCOMPARE(during, before);
    QCOMPARE(pool.X(IntroAnimation::SlotLargePlane), before);
    QTRY_VERIFY(pool.X(IntroAnimation::SlotLargePlane) != before);
}

void TestStartWindow::drawingIgnoredWithoutProfiles()
{
    QTemporaryDir dir;
    QFile f(dir.filePath("Profils.pro"));
    f.open(QIODevice::WriteOnly);
    f.write("\r\n");
    f.close();
    const QString before = QDir::currentPath();
    QDir::setCurrent(dir.path());
    ScriptedPrompts prompts;
    Windows w;
    QCOMPARE(w.form1->Cb1->count(), 0);
    w.intro->BitBtn2->click(); // returns at once: no modal window to close
    QVERIFY(!w.form1->isVisible());
    QVERIFY(w.intro->Timer1->isActive());
    QDir::setCurrent(before);
}

void TestStartWindow::missingDatabaseDisablesWorkWindows()
{
    DataFolder data(false);
    ScriptedPrompts prompts; // the folder question is cancelled
    Windows w;
    QCOMPARE(prompts.folderCaptions.size(), 1);
    QVERIFY(!w.intro->BitBtn1->isEnabled());
    QVERIFY(!w.intro->BitBtn2->isEnabled());
    QVERIFY(!w.intro->Profils1->isEnabled());
    QVERIFY(!w.intro->Etude1->isEnabled());
    QVERIFY(w.intro->Btquitter->isEnabled());
}

void TestStartWindow::quittingOffersUnsavedChanges()
{
    DataFolder data;
    ScriptedPrompts prompts;
    Windows w; // no translation installed: the run speaks English
    w.intro->show();
    // A profile added from elsewhere (the catalogue) marks the store changed.
    const int p = w.form1->store().AddProfile(QStringLiteral("NOUVEAU"));
    w.form1->store().AddPointLine(p, QStringLiteral("0,00;0,00;0,00;0,00;"));
    w.form1->store().setSaveEnabled(true);
    prompts.answers.enqueue(true);
    w.intro->Btquitter->click();
    QCOMPARE(prompts.questions, QStringList{"Save updates to Profils.pro ?"});
    QFile f(data.path("Profils.pro"));
    QVERIFY(f.open(QIODevice::ReadOnly));
    QVERIFY(f.readAll().contains("PROFIL NOUVEAU\r\n0,00;0,00;0,00;0,00;\r\n"));
}

void TestStartWindow::secondInstanceHandsOver()
{
    const QString name =
        QStringLiteral("nervuria-test-") + QString::number(QCoreApplication::applicationPid());
    SingleInstance first(name);
    QVERIFY(first.tryBecomeFirst());
    QSignalSpy raised(&first, &SingleInstance::raiseRequested);
    SingleInstance second(name);
    QVERIFY(!second.tryBecomeFirst());
    QVERIFY(raised.wait(2000));
}

void TestStartWindow::secondStartRestoresTheWindowWithTheInput_data()
{
    QTest::addColumn<QString>("open"); // the work window open, minimised; empty for none
    QTest::newRow("drawing window minimised") << "drawing";
    QTest::newRow("catalogue minimised") << "catalogue";
    QTest::newRow("start window minimised, no work window") << "";
}

// A second start while the program is minimised: the window that holds the
// input comes back to its normal size; the start window stays minimised
// behind an open work window, whose modality would leave its buttons dead.
void TestStartWindow::secondStartRestoresTheWindowWithTheInput()
{
    QFETCH(QString, open);
    DataFolder data;
    ScriptedPrompts prompts;
    Windows w;
    w.intro->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.intro.get()));
    const QString name =
        QStringLiteral("nervuria-raise-") + QString::number(QCoreApplication::applicationPid());
    SingleInstance first(name);
    QVERIFY(first.tryBecomeFirst());
    QObject::connect(&first, &SingleInstance::raiseRequested, w.intro.get(),
                     &TIntro::comeForward);
    QWidget *work = open == QLatin1String("drawing")     ? static_cast<QWidget *>(w.form1.get())
                    : open == QLatin1String("catalogue") ? w.catalogue.get()
                                                         : nullptr;
    bool restored = false, introMinimised = false, active = false;
    auto secondStart = [&] {
        SingleInstance second(name);
        if (second.tryBecomeFirst())
            return;
        QWidget *expected = work ? work : w.intro.get();
        QTRY_VERIFY(!expected->isMinimized());
        restored = expected->isVisible() && !expected->isMinimized();
        introMinimised = w.intro->isMinimized();
        active = !work || QApplication::activeModalWidget() == work;
    };
    if (!work) {
        w.intro->showMinimized();
        QTRY_VERIFY(w.intro->isMinimized());
        secondStart();
        QVERIFY(restored);
        QVERIFY(!introMinimised);
        return;
    }
    QTimer::singleShot(50, [&] {
        work->showMinimized();
        QTRY_VERIFY(work->isMinimized());
        secondStart();
        static_cast<QDialog *>(work)->reject();
    });
    (work == w.form1.get() ? w.intro->BitBtn2 : w.intro->BitBtn1)->click();
    QVERIFY(restored);
    QVERIFY(introMinimised);
    QVERIFY(active);
    QVERIFY(!w.intro->isMinimized()); // back once the work window closed
}

// The title a window shows on the desktop: the platform adds the
// application's display name to every title that does not end with it,
// when one was set.
static QString shownTitle(const QWidget *window)
{
    const QString name = QCoreApplication::applicationName();
    QCoreApplication::setApplicationName(QStringLiteral("probe"));
    const bool displayNameSet = QGuiApplication::applicationDisplayName() != QLatin1String("probe");
    const QString display = QGuiApplication::applicationDisplayName();
    QCoreApplication::setApplicationName(name);
    QString title = window->windowTitle();
    if (displayNameSet && !title.endsWith(display))
        title += QStringLiteral(" \u2014 ") + display;
    return title;
}

void TestStartWindow::everyTitleNamesTheProgramOnce()
{
    DataFolder data;
    ScriptedPrompts prompts;
    const QString before = QCoreApplication::applicationName();
    nameProgram();
    Windows w;
    const QList<const QWidget *> windows{w.intro.get(),
                                         w.form1.get(),
                                         w.form2.get(),
                                         w.form3.get(),
                                         w.catalogue.get(),
                                         w.formpanneau.get(),
                                         w.form1->exportDialog(),
                                         &HelpViewer::instance()};
    for (const QWidget *window : windows) {
        const QString title = shownTitle(window);
        QVERIFY2(title.count(QStringLiteral("NERVURIA")) == 1, qPrintable(title));
    }
    // The hybrid dialog keeps its own caption, without the program's name,
    // and gets none added.
    QCOMPARE(shownTitle(w.form4.get()),
             QStringLiteral("Création de Profil hybride et de son gabarit"));
    // Message boxes take the program's name as their title.
    QCOMPARE(QGuiApplication::applicationDisplayName(), QStringLiteral("NERVURIA"));
    QCoreApplication::setApplicationName(before);
}

void TestStartWindow::staleSocketDoesNotBlock()
{
    // A crash leaves the socket's file behind with nobody listening.
    const QString name =
        QStringLiteral("nervuria-stale-") + QString::number(QCoreApplication::applicationPid());
    const QString path = QDir::temp().filePath(name);
    QFile stale(path);
    QVERIFY(stale.open(QIODevice::WriteOnly));
    stale.close();
    SingleInstance instance(name);
    QVERIFY(instance.tryBecomeFirst());
}

void TestStartWindow::helpFileHasEveryTopic_data()
{
    QTest::addColumn<QString>("topic");
    for (const char *t :
         {"MAININDEX", "CONTENTS", "DESSINGABARITS", "TEMPLATES", "CATALOGUE", "DATABASE"})
        QTest::newRow(t) << QString::fromLatin1(t);
}

void TestStartWindow::helpFileHasEveryTopic()
{
    QFETCH(QString, topic);
    QVERIFY(HelpViewer::fileHasTopic(QStringLiteral(NERVURIA_SOURCE_DIR "/sample/NERVURIA.HLP"),
                                     topic));
}

void TestStartWindow::helpOpensOnTopic()
{
    DataFolder data;
    ScriptedPrompts prompts;
    TIntro intro;
    intro.Index1->trigger();
    QVERIFY(prompts.messages.isEmpty());
    // The start window's topic in the run's language.
    QCOMPARE(HelpViewer::instance().topic(),
             Language::french() ? QStringLiteral("MAININDEX") : QStringLiteral("CONTENTS"));
    QVERIFY(HelpViewer::instance().isVisible());
    HelpViewer::instance().close();
}

void TestStartWindow::missingHelpFileIsReported()
{
    QTemporaryDir dir;
    const QString before = QDir::currentPath();
    QDir::setCurrent(dir.path());
    Language::setFrench(false);
    ScriptedPrompts prompts;
    QVERIFY(!HelpViewer::instance().showTopic(QStringLiteral("TEMPLATES")));
    QCOMPARE(prompts.messages.size(), 1);
    QVERIFY(prompts.messages[0].startsWith("Help file not found"));
    QDir::setCurrent(before);
}

QTEST_MAIN(TestStartWindow)
#include "tst_startwindow.moc"
