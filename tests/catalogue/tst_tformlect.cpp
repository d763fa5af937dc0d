// The catalogue window on a copy of the sample folder.
#include "ScriptedPrompts.h"
#include "app/Startup.h"
#include "app/TIntro.h"
#include "catalogue/CatalogueList.h"
#include "catalogue/TFormlect.h"
#include "drawing/TForm1.h"
#include "profiles/ProfileStore.h"
#include "ui/Language.h"
#include "ui/StatusLine.h"

#include <QApplication>
#include <QComboBox>
#include <QDirIterator>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSlider>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

namespace
{

bool copyTree(const QString &from, const QString &to)
{
    QDirIterator it(from, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        const QString target = to + source.mid(from.size());
        if (it.fileInfo().isDir()) {
            if (!QDir().mkpath(target))
                return false;
        } else if (!QFile::copy(source, target)) {
            return false;
        }
    }
    return true;
}

void loadStore(ProfileStore &store, const QString &folder)
{
    QFile f(folder + "/Profils.pro");
    QVERIFY(f.open(QIODevice::ReadOnly));
    store.loadFromBytes(f.readAll());
    QVERIFY(store.databaseLoaded);
}

void clickRow(CatalogueList *list, int row)
{
    const QRect rect = list->visualItemRect(list->item(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
}

int rowOfPath(const TFormlect &form, const QString &fileName)
{
    for (int i = 0; i < form.pathList().size(); ++i) {
        if (form.pathList()[i].endsWith('/' + fileName))
            return i;
    }
    return -1;
}

QStringList texts(const QListWidget *list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

} // namespace

class TestTFormlect : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void opensOnFirstFolder();
    void clickFolderAndFile();
    void searchIndex();
    void slideshow_data();
    void slideshow();
    void slideDelay();
    void correctAndRewrite();
    void addAirfoil();
    void storedProfilesMode();
    void addingWaitsForTheRewrite_data();
    void addingWaitsForTheRewrite();
    void rewriteRefusalSaysWhy_data();
    void rewriteRefusalSaysWhy();
    void arrowKeysWalkTheirList_data();
    void arrowKeysWalkTheirList();
    void foldersScannedAtEachOpening();
    void growsWithTheWindow();
    void rowsListShowsItsMarksAndColumns_data();
    void rowsListShowsItsMarksAndColumns();
    void importIntoAFolder_data();
    void importIntoAFolder();
    void normalise_data();
    void normalise();
    void missingFolderDatabaseAndIndex();
    void helpTopic();
    void rowColours();
    void openedFromStartWindow();
    void screenshots();

private:
    std::unique_ptr<TFormlect> openForm(bool show = false);
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_folder;
    std::unique_ptr<ProfileStore> m_store;
    std::unique_ptr<ScriptedPrompts> m_prompts;
};

void TestTFormlect::init()
{
    Language::setFrench(true);
    m_prompts.reset();
    m_prompts = std::make_unique<ScriptedPrompts>();
    m_dir = std::make_unique<QTemporaryDir>();
    m_folder = m_dir->path();
    QVERIFY(copyTree(QStringLiteral(NERVURIA_SOURCE_DIR "/sample"), m_folder));
    m_store = std::make_unique<ProfileStore>();
    loadStore(*m_store, m_folder);
}

void TestTFormlect::cleanup()
{
    m_store.reset();
    m_prompts.reset();
    m_dir.reset();
}

std::unique_ptr<TFormlect> TestTFormlect::openForm(bool show)
{
    auto form = std::make_unique<TFormlect>(m_store.get(), m_folder);
    if (show) {
        form->show();
        if (!QTest::qWaitForWindowExposed(form.get()))
            qWarning("window not exposed");
        if (!QTest::qWaitFor([&form] { return !form->busy(); }, 5000))
            qWarning("window still busy");
    } else {
        form->FormActivate();
    }
    return form;
}

void TestTFormlect::opensOnFirstFolder()
{
    auto form = openForm();
    QCOMPARE(texts(form->ListBox1), (QStringList{"Airfoils\\DEFAUTS", "Airfoils\\NACA4",
                                                 "Airfoils\\NACA4\\MINCES", "Airfoils\\NACA5"}));
    QCOMPARE(form->listMode(), 0);
    QCOMPARE(form->Edit1->text(), QStringLiteral("NAC")); // no search until it changes
    QCOMPARE(form->ListBox2->count(), 13);
    QCOMPARE(form->ListBox2->currentRow(), 0);
    QCOMPARE(form->Panel4->text(), QStringLiteral("bord-attaque-y.dat"));
    // A faulty first file: its messages over the preview, correction offered.
    QVERIFY(form->Memo1->isVisibleTo(form.get()));
    QVERIFY(form->BtCorriger->isEnabled());
    QVERIFY(form->Btprofilpro->isEnabled());
    QVERIFY(form->Btenregistrer->isEnabled());
    QVERIFY(m_prompts->messages.isEmpty());
    QVERIFY(!form->busy());
}

void TestTFormlect::clickFolderAndFile()
{
    auto form = openForm(true);
    clickRow(form->ListBox1, 1);
    QCOMPARE(form->ListBox1->currentRow(), 1);
    QCOMPARE(texts(form->ListBox2),
             (QStringList{"NACA 0006", "NACA 0009", "NACA 0012", "NACA 0015 (VIRGULES)",
                          "NACA 2412", "NACA 2415", "NACA 4412", "NACA 6409"}));
    QCOMPARE(form->Panel4->text(), QStringLiteral("n0006.dat"));
    QVERIFY(!form->Memo1->isVisible());
    QVERIFY(!form->BtCorriger->isEnabled());

    clickRow(form->ListBox2, 3);
    QCOMPARE(form->Panel4->text(), QStringLiteral("n0015-virgules.dat"));
    QVERIFY(form->airfoil().messages.isEmpty());
    QCOMPARE(form->ListBox3->item(0)->text(), QStringLiteral("NACA 0015 (virgules)"));
    QCOMPARE(form->ListBox3->count(), 1 + 61);
    QCOMPARE(form->ListBox3->item(1)->text(), QStringLiteral("1,00000 0,00000"));

    // Clicking the row on show reads the file again.
    QFile::remove(form->pathList()[3]);
    clickRow(form->ListBox2, 3);
    QCOMPARE(m_prompts->messages.size(), 1);
    QVERIFY(m_prompts->messages[0].startsWith("Erreur: fichier "));
}

void TestTFormlect::searchIndex()
{
    auto form = openForm();
    form->Edit1->setText("2412");
    QCOMPARE(form->listMode(), 2);
    QCOMPARE(form->ListBox2->count(), 13);
    QCOMPARE(form->ListBox2->item(0)->text(),
             QStringLiteral("\\NACA4\\N2412.DAT;NACA 2412 - QUATRE CHIFFRES, EPAISSEUR 12 %"));
    form->ListBox2->setCurrentRow(0);
    form->ListBox2Click();
    QCOMPARE(form->Panel4->text(), QStringLiteral("n2412.dat")); // the real name
    QVERIFY(m_prompts->messages.isEmpty());

    form->Edit1->setText("absent");
    QCOMPARE(form->ListBox2->count(), 1);
    form->ListBox2->setCurrentRow(0);
    form->ListBox2Click();
    QCOMPARE(m_prompts->messages, QStringList{"Erreur: fichier " + form->airfoilsFolder() +
                                              "/NACA4/N0010.DAT non trouvé"});
    QCOMPARE(form->Panel4->text(), QStringLiteral("n2412.dat")); // nothing else changed

    form->Edit1->clear();
    QCOMPARE(form->ListBox2->count(), 0);
    form->ListBox1->setCurrentRow(3);
    form->ListBox1Click();
    QCOMPARE(form->listMode(), 0);
}

void TestTFormlect::slideshow_data()
{
    QTest::addColumn<int>("folder");
    QTest::addColumn<int>("entry");
    QTest::addColumn<int>("endFolder");
    QTest::addColumn<QString>("endFile");
    QTest::addColumn<bool>("faultShown");
    QTest::newRow("runs through the following folders to the end")
        << 2 << 0 << 3 << "n25012.dat" << false;
    QTest::newRow("halts on the first faulty airfoil") << 0 << 0 << 0 << "bord-attaque.dat" << true;
    QTest::newRow("from the last entry restarts at the top, shows the second")
        << 0 << 12 << 0 << "bord-attaque.dat" << true;
}

void TestTFormlect::slideshow()
{
    QFETCH(int, folder);
    QFETCH(int, entry);
    QFETCH(int, endFolder);
    QFETCH(QString, endFile);
    QFETCH(bool, faultShown);

    auto form = openForm();
    form->ListBox1->setCurrentRow(folder);
    form->ListBox1Click();
    form->ListBox2->setCurrentRow(entry);
    form->Timer1->setInterval(5);
    form->BitBtautoClick();
    QVERIFY(form->Timer1->isActive());
    QVERIFY(!form->BitBtauto->isEnabled());
    QVERIFY(form->BitBtStop->isEnabled());
    QTRY_VERIFY_WITH_TIMEOUT(!form->Timer1->isActive(), 10000);
    QCOMPARE(form->ListBox1->currentRow(), endFolder);
    QCOMPARE(form->Panel4->text(), endFile);
    QCOMPARE(form->Memo1->isVisibleTo(form.get()), faultShown);
    QVERIFY(form->BitBtauto->isEnabled());
    QVERIFY(!form->BitBtStop->isEnabled());
    QVERIFY(m_prompts->messages.isEmpty());
}

void TestTFormlect::slideDelay()
{
    auto form = openForm();
    QCOMPARE(form->Timer1->interval(), 1000);
    form->TrackBar1->setValue(1);
    QCOMPARE(form->Timer1->interval(), 500);
    form->TrackBar1->setValue(9);
    QCOMPARE(form->Timer1->interval(), 2100);

    // In search mode the show stops after the last result.
    form->Edit1->setText("CINQ CHIFFRES");
    form->ListBox2->setCurrentRow(3);
    form->Timer1->setInterval(5);
    form->BitBtautoClick();
    QTRY_VERIFY_WITH_TIMEOUT(!form->Timer1->isActive(), 5000);
    QCOMPARE(form->Panel4->text(), QStringLiteral("n25012.dat"));
    QCOMPARE(form->ListBox2->currentRow(), 4);
}

void TestTFormlect::correctAndRewrite()
{
    auto form = openForm();
    const int row = rowOfPath(*form, "premier-y.dat");
    QVERIFY(row >= 0);
    form->ListBox2->setCurrentRow(row);
    form->ListBox2Click();
    QVERIFY(form->BtCorriger->isEnabled());
    QVERIFY(!form->BtenrProf->isEnabled());

    form->BtCorrigerClick();
    QCOMPARE(form->Memo1->toPlainText().split('\n').first(),
             QStringLiteral("CORRECTION AUTOMATIQUE IMPOSSIBLE"));
    QCOMPARE(form->ListBox3->item(1)->text(), QStringLiteral("&1.00000  0.00000"));
    QVERIFY(!form->BtenrProf->isEnabled());
    form->BtCorrigerClick();
    QVERIFY(!form->Memo1->isVisibleTo(form.get()));
    QVERIFY(form->BtenrProf->isEnabled());

    m_prompts->answers << true;
    form->BtenrProfClick();
    QCOMPARE(m_prompts->questions,
             QStringList{"Enregistrer le profil corrigé sur premier-y.dat ?"});
    QVERIFY(!form->BtCorriger->isEnabled());
    QVERIFY(!form->BtenrProf->isEnabled());
    QFile f(form->pathList()[row]);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray written = f.readAll();
    QVERIFY(written.startsWith("NACA 2412 PREMIER Y 0.0013\r\n1.00000  0.00000\r\n0.99384 "));
    QVERIFY(written.contains("\r\n0.00000  0.00000\r\n")); // the leading edge, rewritten

    form->ListBox2Click();
    QVERIFY(form->airfoil().messages.isEmpty());
    QVERIFY(!form->Memo1->isVisibleTo(form.get()));
}

void TestTFormlect::addAirfoil()
{
    // Stands in for the drawing window's profile list.
    QComboBox Cb1;
    connect(m_store.get(), &ProfileStore::profileListFilled, &Cb1, [&Cb1](const QStringList &n) {
        Cb1.clear();
        Cb1.addItems(n);
        Cb1.setCurrentIndex(0);
    });
    auto form = openForm();

    // A faulty file is refused.
    form->ListBox2->setCurrentRow(rowOfPath(*form, "bord-attaque.dat"));
    form->ListBox2Click();
    form->BtenregistrerClick();
    QCOMPARE(m_prompts->messages.size(), 1);
    QVERIFY(m_prompts->messages[0].startsWith("Il n'est pas possible"));
    QCOMPARE(Cb1.count(), 0);

    form->ListBox1->setCurrentRow(3);
    form->ListBox1Click();
    form->ListBox2->setCurrentRow(1);
    form->ListBox2Click();
    m_prompts->answers << true;
    form->BtenregistrerClick();
    QCOMPARE(m_prompts->questions.last(),
             QStringLiteral("Ajouter le profil n23012.dat à Profils.pro ?"));
    QVERIFY(Cb1.findText("NACA 23012") >= 0);
    QVERIFY(m_store->saveEnabled());
    const Tprofil *p = m_store->profile(m_store->FindProfile("NACA 23012"));
    QCOMPARE(p->pointLines.size(), 41);
    QCOMPARE(p->pointLines.last(), QStringLiteral("100.00;0.00;100.00;0.00;"));

    // The same again: the duplicate question, Yes cancels.
    m_prompts->answers << true;
    form->BtenregistrerClick();
    QCOMPARE(m_prompts->questions.last(),
             QStringLiteral("Ce profil existe déjà dans Profils.pro. Annuler l'ajout ?"));
    QCOMPARE(m_store->count(), 6);
}

void TestTFormlect::storedProfilesMode()
{
    auto form = openForm();
    const QString shown = form->Panel4->text();
    form->BtprofilproClick();
    QCOMPARE(form->listMode(), 1);
    QCOMPARE(texts(form->ListBox2), m_store->names());
    QVERIFY(form->Btenregistrer->isEnabled());
    form->ListBox2->setCurrentRow(1);
    form->ListBox2Click();
    QCOMPARE(form->Panel4->text(), shown); // nothing is read in this mode
    form->BitBtautoClick();
    QVERIFY(!form->Timer1->isActive());
    form->ListBox1Click();
    QCOMPARE(form->listMode(), 0);
    QVERIFY(form->Btenregistrer->isEnabled());

    // Adding from this mode adds the file on show; the selected stored name
    // is the duplicate test, so the question comes up and No goes on.
    form->ListBox1->setCurrentRow(3);
    form->ListBox1Click();
    form->ListBox2->setCurrentRow(1);
    form->ListBox2Click();
    form->BtprofilproClick();
    form->ListBox2->setCurrentRow(0);
    const int before = m_store->count();
    m_prompts->answers << false;
    form->Btenregistrer->click();
    QCOMPARE(m_prompts->questions,
             QStringList{"Ce profil existe déjà dans Profils.pro. Annuler l'ajout ?"});
    QCOMPARE(m_store->count(), before + 1);
    QVERIFY(m_store->FindProfile("NACA 23012") >= 0);
}

void TestTFormlect::addingWaitsForTheRewrite_data()
{
    QTest::addColumn<bool>("french");
    QTest::addColumn<QString>("message");
    QTest::newRow("French") << true
                            << "Le profil a été corrigé à l'écran mais pas dans son fichier. "
                               "Enregistrez d'abord le fichier corrigé (\"Enregistr.Profil\"), "
                               "puis ajoutez-le à Profils.pro.";
    QTest::newRow("English") << false
                             << "The airfoil was corrected on screen but not in its file. Write "
                                "the corrected file back first (\"Enregistr.Profil\"), then add "
                                "it to Profils.pro.";
}

void TestTFormlect::addingWaitsForTheRewrite()
{
    QFETCH(bool, french);
    QFETCH(QString, message);
    Language::setFrench(french);
    auto form = openForm();
    const int row = rowOfPath(*form, "bord-attaque.dat");
    form->ListBox2->setCurrentRow(row);
    form->ListBox2Click();
    form->BtCorrigerClick();
    QVERIFY(form->BtenrProf->isEnabled());
    const QStringList corrected = texts(form->ListBox3);
    QVERIFY(corrected.join('\n').contains("&0.00000  0.00000"));

    form->Btenregistrer->click();
    QCOMPARE(m_prompts->messages, QStringList{message});
    QVERIFY(m_prompts->questions.isEmpty());
    // The corrections stay on show, ready to be written back.
    QCOMPARE(texts(form->ListBox3), corrected);
    QVERIFY(!form->Memo1->isVisibleTo(form.get()));
    QVERIFY(form->BtenrProf->isEnabled());
    const int count = m_store->count();
    QCOMPARE(count, 5);

    m_prompts->answers << true << true;
    form->BtenrProf->click();
    form->Btenregistrer->click();
    QCOMPARE(m_prompts->messages.size(), 1);
    QCOMPARE(m_prompts->questions.size(), 2); // rewrite, then add
    QCOMPARE(m_store->count(), count + 1);
}

void TestTFormlect::rewriteRefusalSaysWhy_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("reason");
    QTest::newRow("first x not 1") << "premier-x.dat"
                                   << "Ligne n°01 la première coordonnée X devrait être 1.00000";
    QTest::newRow("bump in x") << "bosse.dat"
                               << "Erreur de séquence X ";
    QTest::newRow("x not a number") << "x-texte.dat"
                                    << "Erreur : profil inutilisable.";
    QTest::newRow("257 rows") << "trop-long.dat"
                              << "Fichier Profil invalide : plus de 256 lignes";
}

void TestTFormlect::rewriteRefusalSaysWhy()
{
    QFETCH(QString, file);
    QFETCH(QString, reason);
    auto form = openForm();
    // The rewrite button stays armed from a file that was put right.
    form->ListBox2->setCurrentRow(rowOfPath(*form, "bord-attaque.dat"));
    form->ListBox2Click();
    form->BtCorrigerClick();
    QVERIFY(form->BtenrProf->isEnabled());

    const int row = rowOfPath(*form, file);
    form->ListBox2->setCurrentRow(row);
    form->ListBox2Click();
    m_prompts->clear();
    QFile f(form->pathList()[row]);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray before = f.readAll();
    f.close();
    m_prompts->answers << true;
    form->BtenrProf->click();

    QVERIFY(m_prompts->questions.isEmpty());
    QCOMPARE(m_prompts->messages.size(), 1);
    const QStringList lines = m_prompts->messages[0].split('\n');
    QCOMPARE(lines[0], QStringLiteral("Le profil corrigé n'est pas enregistré : la vérification "
                                      "trouve encore ces erreurs :"));
    QVERIFY2(!lines.filter(reason).isEmpty(), qPrintable(m_prompts->messages[0]));
    QVERIFY(form->Memo1->isVisibleTo(form.get()));
    QVERIFY(!form->BtCorriger->isEnabled());
    QVERIFY(!form->BtenrProf->isEnabled());
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), before);
}

void TestTFormlect::arrowKeysWalkTheirList_data()
{
    QTest::addColumn<QString>("list");
    QTest::addColumn<int>("presses");
    QTest::addColumn<int>("folder");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<bool>("clicked"); // the list was reached by a click on its row, else by Tab
    QTest::newRow("folders, one arrow") << "ListBox1" << 1 << 1 << "n0006.dat" << false;
    QTest::newRow("folders, three arrows") << "ListBox1" << 3 << 3 << "n21012.dat" << false;
    QTest::newRow("files, two arrows") << "ListBox2" << 2 << 0 << "bosse.dat" << false;
    QTest::newRow("folder clicked, one arrow") << "ListBox1" << 1 << 1 << "n0006.dat" << true;
    QTest::newRow("folder clicked, three arrows") << "ListBox1" << 3 << 3 << "n21012.dat" << true;
    QTest::newRow("file clicked, two arrows") << "ListBox2" << 2 << 0 << "bosse.dat" << true;
}

void TestTFormlect::arrowKeysWalkTheirList()
{
    QFETCH(QString, list);
    QFETCH(int, presses);
    QFETCH(int, folder);
    QFETCH(QString, shown);
    QFETCH(bool, clicked);
    auto form = openForm(true);
    form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form.get()));
    auto *walked = form->findChild<CatalogueList *>(list);
    QVERIFY(walked);
    if (clicked) {
        const QRect row = walked->visualItemRect(walked->item(walked->currentRow()));
        QTest::mouseClick(walked->viewport(), Qt::LeftButton, {}, row.center());
    } else {
        walked->setFocus();
    }
    QTRY_VERIFY(walked->hasFocus());
    const int start = walked->currentRow();
    for (int i = 0; i < presses; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        QVERIFY2(walked->hasFocus(), "the arrow moved the focus out of the list");
    }
    QCOMPARE(walked->currentRow(), start + presses);
    QCOMPARE(form->ListBox1->currentRow(), folder);
    QCOMPARE(form->Panel4->text(), shown);
    QVERIFY(m_prompts->messages.isEmpty());
}

void TestTFormlect::foldersScannedAtEachOpening()
{
    auto form = openForm();
    const QStringList first = texts(form->ListBox1);
    // Added while the program runs: a folder of airfoils, and a hidden one
    // that sorts first and must never be opened.
    QVERIFY(QDir().mkpath(m_folder + "/Airfoils/Selig"));
    QVERIFY(QFile::copy(m_folder + "/Airfoils/NACA4/n0012.dat",
                        m_folder + "/Airfoils/Selig/s0012.dat"));
    QVERIFY(QDir().mkpath(m_folder + "/Airfoils/.CACHE"));
    QVERIFY(QFile::copy(m_folder + "/Airfoils/NACA4/n2412.dat",
                        m_folder + "/Airfoils/.CACHE/n2412.dat"));
    QVERIFY(QFile::copy(m_folder + "/Airfoils/NACA4/n2412.dat",
                        m_folder + "/Airfoils/Defauts/._bosse.dat"));

    form->FormActivate();
    QCOMPARE(texts(form->ListBox1), first + QStringList{"Airfoils\\SELIG"});
    QCOMPARE(form->ListBox1->currentRow(), 0);
    QCOMPARE(form->ListBox2->count(), 13);
    QCOMPARE(form->Panel4->text(), QStringLiteral("bord-attaque-y.dat"));
    form->ListBox1->setCurrentRow(4);
    form->ListBox1Click();
    QCOMPARE(texts(form->ListBox2), QStringList{"NACA 0012"});
    QVERIFY(m_prompts->messages.isEmpty());
}

void TestTFormlect::growsWithTheWindow()
{
    auto form = openForm(true);
    // The design size, and the status line's room below it.
    QCOMPARE(form->minimumSize(), QSize(645, 502 + form->Status->height()));
    const auto offTheStatusLine = [&form] {
        for (auto *b : form->findChildren<QPushButton *>())
            QVERIFY2(!b->geometry().intersects(form->Status->geometry()),
                     qPrintable(b->objectName()));
    };
    offTheStatusLine();
    QVERIFY(form->maximumWidth() > 1200 && form->maximumHeight() > 900);
    form->ListBox1->setCurrentRow(1);
    form->ListBox1Click();
    const QRect small = form->Image1->geometry();
    QCOMPARE(form->preview().size(), QSize(473, 197));

    form->resize(1245, 768);
    QTRY_COMPARE(form->width(), 1245);
    QCOMPARE(form->preview().size(), form->Image1->size());
    QVERIFY(form->Image1->width() >= small.width() + 400);
    QVERIFY(form->Image1->height() >= small.height() + 150);
    // Everything stays inside the window, nothing overlaps the buttons.
    for (QWidget *w : form->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (w->isVisibleTo(form.get()))
            QVERIFY2(form->rect().contains(w->geometry()), qPrintable(w->objectName()));
    }
    QVERIFY(form->ListBox3->geometry().bottom() < form->BtCorriger->geometry().top());
    offTheStatusLine();
    QVERIFY(form->Image1->parentWidget()->geometry().bottom() < form->Btquitter->y());

    // The outline fills the grown preview: drawn antialiased, in shades
    // between black and the background along the whole chord.
    const QImage image = form->preview();
    const int chordY = image.height() * 128 / 197;
    int shaded = 0;
    int rightmostDark = 0;
    for (int x = 0; x < image.width(); ++x) {
        for (int y = 0; y < image.height(); ++y) {
            const QColor c = image.pixelColor(x, y);
            if (c.red() == c.green() && c.green() == c.blue() && c.red() > 20 && c.red() < 200 &&
                std::abs(y - chordY) < image.height() / 4)
                ++shaded;
            if (c.lightness() < 60 && y > 30)
                rightmostDark = std::max(rightmostDark, x);
        }
    }
    QVERIFY2(shaded > 100, qPrintable(QString::number(shaded)));
    QVERIFY(rightmostDark > small.width() + 300);
}

void TestTFormlect::rowsListShowsItsMarksAndColumns_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("marked"); // first row marked "$"
    QTest::addColumn<bool>("sideways");
    QTest::newRow("last row, below the fold") << "dernier-x.dat" << 41 << false;
    QTest::newRow("third column") << "trois-colonnes.dat" << 8 << true;
    QTest::newRow("first row") << "premier-x.dat" << 1 << false;
}

void TestTFormlect::rowsListShowsItsMarksAndColumns()
{
    QFETCH(QString, file);
    QFETCH(int, marked);
    QFETCH(bool, sideways);
    auto form = openForm(true);
    form->ListBox2->setCurrentRow(rowOfPath(*form, file));
    form->ListBox2Click();
    CatalogueList *rows = form->ListBox3;
    QCOMPARE(rows->width(), 141);
    QVERIFY(rows->item(marked)->text().startsWith('$'));
    for (int r = 1; r < marked; ++r)
        QVERIFY(!rows->item(r)->text().startsWith('$'));
    const QRect shownRow = rows->visualItemRect(rows->item(marked));
    QVERIFY(shownRow.top() >= 0 && shownRow.bottom() < rows->viewport()->height());
    QCOMPARE(shownRow.left(), 0);
    // Whatever is cut off can be scrolled to.
    const int widest = 2 + rows->fontMetrics().horizontalAdvance(
                               QStringLiteral("%1 : ").arg(marked, 2, 10, QLatin1Char('0')) +
                               rows->item(marked)->text().mid(1));
    if (sideways)
        QVERIFY(rows->horizontalScrollBar()->maximum() > 0);
    QVERIFY(rows->horizontalScrollBar()->maximum() + rows->viewport()->width() >= widest);
}

void TestTFormlect::missingFolderDatabaseAndIndex()
{
    {
        QTemporaryDir empty;
        TFormlect form(m_store.get(), empty.path());
        QVERIFY(form.Edit1->isHidden());
        QVERIFY(form.Label1->isHidden());
        form.FormActivate();
        QCOMPARE(m_prompts->messages,
                 QStringList{"Dossier Airfoils non trouvé dans le dossier de lancement."});
        QVERIFY(form.busy());
        form.Timer1Timer(); // ignored while busy
        QCOMPARE(form.ListBox2->count(), 0);
    }
    m_prompts->clear();
    {
        ProfileStore unloaded;
        TFormlect form(&unloaded, m_folder);
        form.FormActivate();
        QCOMPARE(m_prompts->messages,
                 QStringList{"Le fichier \"Profils.pro\" n'a pas été trouvé dans " + m_folder +
                             ". L'enregistrement des sélections ne sera pas autorisé."});
        QVERIFY(!form.Btenregistrer->isEnabled());
        QVERIFY(!form.Btprofilpro->isEnabled());
        QVERIFY(!form.busy());
    }
}

void TestTFormlect::helpTopic()
{
    auto form = openForm();
    QSignalSpy help(form.get(), &TFormlect::helpRequested);
    form->BitBtn1->click();
    Language::setFrench(false);
    form->BitBtn1->click();
    QCOMPARE(help.size(), 2);
    QCOMPARE(help[0][0].toString(), QStringLiteral("CATALOGUE"));
    QCOMPARE(help[1][0].toString(), QStringLiteral("DATABASE"));
}

void TestTFormlect::rowColours()
{
    auto form = openForm();
    QImage image(100, 16, QImage::Format_RGB32);
    auto colourOf = [&](auto draw) {
        image.fill(Qt::black);
        QPainter painter(&image);
        draw(&painter);
        painter.end();
        return image.pixelColor(1, 0); // left of the text
    };
    const QRect r(0, 0, 100, 16);
    QCOMPARE(colourOf([&](QPainter *p) { form->ListBox2DrawItem(p, r, 1, false); }),
             QColor(224, 255, 224));
    QCOMPARE(colourOf([&](QPainter *p) { form->ListBox2DrawItem(p, r, 1, true); }),
             QColor(255, 255, 0));
    form->Edit1->setText("NACA");
    QCOMPARE(colourOf([&](QPainter *p) { form->ListBox2DrawItem(p, r, 1, false); }),
             QColor(224, 224, 255));
    form->BtprofilproClick();
    QCOMPARE(colourOf([&](QPainter *p) { form->ListBox2DrawItem(p, r, 3, false); }),
             QColor(255, 250, 224));

    // The first faulty file: its leading-edge row in error, and corrected.
    form->ListBox1Click();
    QCOMPARE(form->Panel4->text(), QStringLiteral("bord-attaque-y.dat"));
    const int le = 21;
    QVERIFY(form->ListBox3->item(le)->text().startsWith('$'));
    QCOMPARE(colourOf([&](QPainter *p) { form->ListBox3DrawItem(p, r, le, false); }),
             QColor(255, 0, 255));
    form->BtCorrigerClick();
    QCOMPARE(colourOf([&](QPainter *p) { form->ListBox3DrawItem(p, r, le, false); }),
             QColor(0, 255, 0));
    QCOMPARE(colourOf([&](QPainter *p) { form->ListBox3DrawItem(p, r, 0, false); }),
             QColor(255, 255, 255));
}

void TestTFormlect::openedFromStartWindow()
{
    const QString before = QDir::currentPath();
    QDir::setCurrent(m_folder);
    {
        Windows w; // no translation installed: the run speaks English
        auto *form = qobject_cast<TFormlect *>(w.catalogue.get());
        QVERIFY(form);
        QCOMPARE(form->startFolder(), QDir(m_folder).absolutePath());
        bool checked = false;
        QTimer::singleShot(0, form, [&] {
            // Closed whatever happens, so that a failure cannot hang the test.
            const auto close = qScopeGuard([form] { form->reject(); });
            QVERIFY(QTest::qWaitFor([form] { return !form->busy(); }, 5000));
            QVERIFY(form->isVisible());
            QCOMPARE(form->ListBox2->count(), 13);
            form->ListBox1->setCurrentRow(3);
            form->ListBox1Click();
            form->ListBox2->setCurrentRow(1);
            form->ListBox2Click();
            m_prompts->answers << true;
            form->BtenregistrerClick();
            checked = true;
        });
        w.intro->BitBtn1->click(); // modal until the lambda closes it
        QVERIFY(checked);
        QVERIFY(!form->isVisible());
        QCOMPARE(m_prompts->questions, QStringList{"Add airfoil n23012.dat to Profils.pro ?"});
        // The drawing window's profile list and save button follow the store.
        QVERIFY(w.form1->Cb1->findText("NACA 23012") >= 0);
        QVERIFY(w.form1->store().saveEnabled());
        w.form1->store().setSaveEnabled(false); // nothing to offer on the way out
    }
    QDir::setCurrent(before);
}

void TestTFormlect::importIntoAFolder_data()
{
    QTest::addColumn<QString>("folder"); // below the copy of the sample folder
    QTest::addColumn<bool>("accepted");
    QTest::newRow("a catalogue folder") << "Airfoils/NACA5" << true;
    QTest::newRow("a new subfolder") << "Airfoils/Telecharges" << true;
    QTest::newRow("Airfoils itself") << "Airfoils" << false;
    QTest::newRow("outside Airfoils") << "" << false;
    QTest::newRow("a hidden folder") << "Airfoils/.CACHE" << false;
}

void TestTFormlect::importIntoAFolder()
{
    QFETCH(QString, folder);
    QFETCH(bool, accepted);
    const QString target = m_folder + '/' + folder;
    QVERIFY(QDir().mkpath(target));
    QTemporaryDir downloads;
    auto write = [&](const QString &name, const QByteArray &bytes) {
        QFile f(downloads.filePath(name));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    };
    // Two small blocks in percent, semicolons between values.
    write("clarky.txt", "CLARK Y\n3 3\n0;0\n50;9\n100;0\n0;0\n50;-3\n100;0\n");
    write("photo.dat", QByteArrayLiteral("\xff\xd8\xff\xe0\0\x10JFIF\0"));
    // Named like a file already there, whose replacement is refused.
    write("n21012.dat", "NACA 21012\n1 0\n0 0.1\n0 0\n0.5 -0.1\n1 0\n");
    QFile existing(m_folder + "/Airfoils/NACA5/n21012.dat");
    QVERIFY(existing.open(QIODevice::ReadOnly));
    const QByteArray before = existing.readAll();
    existing.close();

    auto form = openForm();
    m_prompts->clear();
    m_prompts->openNames << QStringList{downloads.filePath("clarky.txt"),
                                        downloads.filePath("photo.dat"),
                                        downloads.filePath("n21012.dat")};
    m_prompts->folders << target;
    m_prompts->answers << false;
    form->BtImporter->click();
    QCOMPARE(m_prompts->openCaptions, QStringList{"Fichiers de coordonnées à importer"});
    if (!accepted) {
        QCOMPARE(m_prompts->messages.size(), 1);
        QVERIFY(m_prompts->messages[0].startsWith("Choisissez un dossier à l'intérieur"));
        QVERIFY(!QFile::exists(target + "/clarky.dat"));
        return;
    }
    const bool sameName = folder.endsWith("NACA5");
    QCOMPARE(m_prompts->questions,
             sameName ? QStringList{"Le fichier n21012.dat existe déjà. Le remplacer ?"}
                      : QStringList());
    QCOMPARE(m_prompts->messages.size(), 1);
    const QStringList summary = m_prompts->messages[0].split('\n');
    QCOMPARE(summary[0], sameName ? QStringLiteral("Importés : 1. Refusés : 1.")
                                  : QStringLiteral("Importés : 2. Refusés : 1."));
    QVERIFY(summary.filter("photo.dat : Ce fichier n'est pas un texte").size() == 1);
    QVERIFY(existing.open(QIODevice::ReadOnly));
    QCOMPARE(existing.readAll(), before);

    // The new file is listed, read and checked like the others.
    QCOMPARE(QFileInfo(form->folderPath(form->ListBox1->currentRow())).canonicalFilePath(),
             QFileInfo(target).canonicalFilePath());
    QCOMPARE(form->Panel4->text(), QStringLiteral("clarky.dat"));
    QVERIFY(texts(form->ListBox2).contains("CLARK Y"));
    QVERIFY2(form->airfoil().messages.isEmpty(), qPrintable(form->airfoil().messages.join('\n')));
    QCOMPARE(form->ListBox3->item(2)->text(), QStringLiteral("0.500000 0.090000"));
}

void TestTFormlect::normalise_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("close");
    QTest::addColumn<bool>("passes"); // the rewritten file passes the check
    QTest::newRow("last x 0.998, closed") << "dernier-x.dat" << true << true;
    QTest::newRow("last x 0.998, kept open") << "dernier-x.dat" << false << false;
    QTest::newRow("first x 0.99999, closed") << "premier-x.dat" << true << true;
    QTest::newRow("leading edge off (0, 0)") << "bord-attaque.dat" << true << true;
}

void TestTFormlect::normalise()
{
    QFETCH(QString, file);
    QFETCH(bool, close);
    QFETCH(bool, passes);
    auto form = openForm();
    form->ListBox2->setCurrentRow(rowOfPath(*form, file));
    form->ListBox2Click();
    QVERIFY(!form->airfoil().messages.isEmpty());
    m_prompts->clear();
    m_prompts->answers << close << true;
    form->BtNormaliser->click();
    const QStringList &q = m_prompts->questions;
    QCOMPARE(q.last(), "Enregistrer le profil corrigé sur " + file + " ?");
    QCOMPARE(q.size(), q.first().startsWith("Le bord de fuite est ouvert") ? 2 : 1);
    QCOMPARE(m_prompts->messages.size(), 1);
    QVERIFY(m_prompts->messages[0].startsWith("Profil normalisé : le point le plus déplacé a "
                                              "bougé de "));
    QCOMPARE(m_prompts->messages[0].contains("reste ouvert"), !close);
    QCOMPARE(form->Panel4->text(), file);
    QCOMPARE(form->airfoil().messages.isEmpty(), passes);
    QCOMPARE(form->ListBox3->item(1)->text().startsWith("1.000000 0.000000"), passes);
}

void TestTFormlect::screenshots()
{
    // Pictures of the window for a person to look at, when asked for.
    const QString out = qEnvironmentVariable("NERVURIA_SCREENSHOTS");
    if (out.isEmpty())
        QSKIP("set NERVURIA_SCREENSHOTS to a folder to save pictures of the window");
    QDir().mkpath(out);
    auto form = openForm(true);
    form->ListBox1->setCurrentRow(1);
    form->ListBox1Click();
    form->ListBox2->setCurrentRow(4);
    form->ListBox2Click();
    QTest::qWait(100);
    QVERIFY(form->grab().save(out + "/catalogue-correct.png"));

    form->ListBox1->setCurrentRow(0);
    form->ListBox1Click();
    form->ListBox2->setCurrentRow(rowOfPath(*form, "bosse.dat"));
    form->ListBox2Click();
    QTest::qWait(100);
    QVERIFY(form->grab().save(out + "/catalogue-faulty.png"));

    form->BtCorrigerClick();
    QTest::qWait(100);
    QVERIFY(form->grab().save(out + "/catalogue-correction-failed.png"));

    form->ListBox2->setCurrentRow(rowOfPath(*form, "bord-attaque.dat"));
    form->ListBox2Click();
    form->BtCorrigerClick();
    QTest::qWait(100);
    QVERIFY(form->grab().save(out + "/catalogue-corrected.png"));

    form->resize(1200, 800);
    form->ListBox2->setCurrentRow(rowOfPath(*form, "trois-colonnes.dat"));
    form->ListBox2Click();
    QTest::qWait(100);
    QVERIFY(form->grab().save(out + "/catalogue-grown.png"));
}

QTEST_MAIN(TestTFormlect)
#include "tst_tformlect.moc"
