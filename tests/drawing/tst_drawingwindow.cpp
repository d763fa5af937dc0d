#include "DrawingWindowFixture.h"
#include "drawing/FigureEditor.h"
#include "drawing/TForm1.h"
#include "drawing/TForm2.h"
#include "profiles/ProfileStore.h"
#include "render/TemplateDrawing.h"
#include "ui/Language.h"
#include "ui/StatusLine.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace
{

struct Fixture : DrawingWindowFixture {
    explicit Fixture(bool french) : DrawingWindowFixture(threeNacaProfiles(), french) {}

    // Answers the new-template dialog once it is open.
    void answerDialog(int chord, int skinItem, bool copy, bool ok)
    {
        QTimer::singleShot(0, [=] {
            dialog->UpDown1->setValue(chord);
            dialog->RadioGroup1->setItemIndex(skinItem);
            dialog->RadioGroup1Click();
            dialog->CheckBox1->setChecked(copy);
            (ok ? dialog->BitBtn2 : dialog->BitBtn1)->click();
        });
    }
};

QStringList comboItems(const QComboBox *c)
{
    QStringList items;
    for (int i = 0; i < c->count(); ++i)
        items << c->itemText(i);
    return items;
}

} // namespace

class TestDrawingWindow : public QObject
{
    Q_OBJECT
private slots:
    void controlsAsDesigned();
    void chooseProfileRefillsTemplates_data();
    void chooseProfileRefillsTemplates();
    void newTemplate_data();
    void newTemplate();
    void newTemplateCancelled();
    void deleteTemplates_data();
    void deleteTemplates();
    void closeAsksToSave_data();
    void closeAsksToSave();
    void frameCloseBehavesLikeFermer();
    void drawingAreaHeight_data();
    void drawingAreaHeight();
    void zoomButtonsAndResize();
    void deleteProfiles();
    void dialogSkinChoice();
    void valuesOutsideTheFieldsAreKept();
    void findingNamedAtRelease_data();
    void findingNamedAtRelease();
    void findingComesWithItsTemplate();
};

void TestDrawingWindow::controlsAsDesigned()
{
    Fixture fx(true);
    TForm1 &f = *fx.form;
    QCOMPARE(f.windowTitle(), QStringLiteral(" NERVURIA - Dessin de gabarits"));
    QCOMPARE(f.Btquit->text(), QStringLiteral("&Fermer"));
    QCOMPARE(f.Btenregistrer->text(), QStringLiteral("&Enregister"));
    QVERIFY(!f.Btenregistrer->isEnabled());
    QCOMPARE(f.UpDown4->value(), 50);
    QCOMPARE(f.UpDown4->singleStep(), 2);
    QCOMPARE(f.UpDown7->minimum(), -45);
    QCOMPARE(f.UpDown7->maximum(), 45);
    QVERIFY(f.CheckBox2->isChecked() && f.CheckBox4->isChecked());
    QVERIFY(!f.CheckBox1->isChecked() && !f.CheckBox3->isChecked());
    QVERIFY(!f.BtZoommoins->isEnabled() && f.Btzoomplus->isEnabled());
    QVERIFY(!f.Panel1->isVisibleTo(&f));
    QCOMPARE(f.Panel1->width(), 196);
    QCOMPARE(f.Panel4->width(), 29);
    QCOMPARE(f.Tableau1->columnCount(), 5);
    QCOMPARE(f.Tableau1->item(0, 1)->text(), QStringLiteral("x ext"));
    for (const char *name : {"Panel2", "Panel3", "Cb1", "CB2", "Btnewgab", "BtSupprgab", "Panel5",
                             "Panel6", "Panel7", "UpDown1", "Edit1", "Speedrectangle",
                             "SpeedPoubelle", "ScrollBox1", "PaintBox1", "Btvalider"})
        QVERIFY2(f.findChild<QWidget *>(QString::fromLatin1(name)), name);
    // Opened on profile 0, template 0, and drawn.
    QCOMPARE(fx.store().currentProfile, 0);
    QCOMPARE(fx.store().currentTemplate, 0);
    QVERIFY(fx.imageHasInk());
}

void TestDrawingWindow::chooseProfileRefillsTemplates_data()
{
    QTest::addColumn<bool>("french");
    QTest::addColumn<int>("profile");
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<QString>("placeholder");
    QTest::newRow("French, three templates")
        << true << 0 << QStringList{" n°1", " n°2", " n°3"} << "";
    QTest::newRow("English, one template") << false << 1 << QStringList{" # 1"} << "";
    QTest::newRow("French, no template") << true << 2 << QStringList{} << "Aucun";
    QTest::newRow("English, no template") << false << 2 << QStringList{} << "None";
}

void TestDrawingWindow::chooseProfileRefillsTemplates()
{
    QFETCH(bool, french);
    QFETCH(int, profile);
    QFETCH(QStringList, items);
    QFETCH(QString, placeholder);
    Fixture fx(french);
    fx.chooseProfile(1); // somewhere else first
    fx.chooseProfile(profile);
    QCOMPARE(comboItems(fx.form->CB2), items);
    QCOMPARE(fx.store().currentProfile, profile);
    const bool hasTemplates = !items.isEmpty();
    QCOMPARE(fx.form->CB2->currentIndex(), hasTemplates ? 0 : -1);
    QCOMPARE(fx.store().currentTemplate, hasTemplates ? 0 : -1);
    if (!hasTemplates)
        QCOMPARE(fx.form->CB2->placeholderText(), placeholder);
    QCOMPARE(fx.form->Panel7->isVisibleTo(fx.form.get()), !hasTemplates);
    QCOMPARE(fx.form->Speedrectangle->isVisibleTo(fx.form.get()), hasTemplates);
    QVERIFY(fx.imageHasInk());
    // Looking is not changing.
    QVERIFY(!fx.form->Btenregistrer->isEnabled());
}

void TestDrawingWindow::newTemplate_data()
{
    QTest::addColumn<bool>("copy");
    QTest::addColumn<QStringList>("figures");
    // From 100 mm with a 10/10 skin (length 99) to 200 mm with 15/10 (199):
    // centres scale by 199/99 in whole numbers, sizes stay.
    QTest::newRow("copied") << true
                            << QStringList{"FIGURE 0;302;-20;502;20;0;",
                                           "FIGURE 2;-502;-40;-302;40;0;"};
    QTest::newRow("not copied") << false << QStringList{};
}

void TestDrawingWindow::newTemplate()
{
    QFETCH(bool, copy);
    QFETCH(QStringList, figures);
    Fixture fx(true);
    fx.answerDialog(200, 3, copy, true);
    fx.form->Btnewgab->click();
    const Tprofil *p = fx.store().profile(0);
    QCOMPARE(p->templateCount(), 4);
    QCOMPARE(p->templates[3].line, QStringLiteral("GABARIT 200;15;"));
    QCOMPARE(p->templates[3].gabarit.figureLines, figures);
    // The template it came from keeps its figures.
    QCOMPARE(p->templates[0].gabarit.figureLines.size(), 2);
    QCOMPARE(fx.store().currentTemplate, 3);
    QCOMPARE(fx.form->CB2->currentIndex(), 3);
    QCOMPARE(fx.form->CB2->count(), 4);
    QCOMPARE(fx.form->Panel5->text(), QStringLiteral("200"));
    QCOMPARE(fx.form->Panel6->text(), QStringLiteral("15/10"));
    QVERIFY(fx.form->Btenregistrer->isEnabled());
    QCOMPARE(fx.form->Status->text(),
             QStringLiteral("Gabarit n°4 ajouté : corde 200 mm, coffrage 15/10."));
}

void TestDrawingWindow::newTemplateCancelled()
{
    Fixture fx(true);
    fx.answerDialog(300, 4, true, false);
    fx.form->Btnewgab->click();
    QCOMPARE(fx.store().templateCount(0), 3);
    QCOMPARE(fx.dialog->UpDown1->value(), 100);
    QCOMPARE(fx.dialog->RadioGroup1->itemIndex(), 2);
    QCOMPARE(fx.dialog->UpDown2->value(), 10);
    QVERIFY(!fx.form->Btenregistrer->isEnabled());
}

void TestDrawingWindow::deleteTemplates_data()
{
    QTest::addColumn<int>("profile");
    QTest::addColumn<int>("templ");
    QTest::addColumn<bool>("answer");
    QTest::addColumn<int>("remaining");
    QTest::addColumn<int>("newCurrent");
    QTest::addColumn<QString>("question");
    QTest::newRow("last of three")
        << 0 << 2 << true << 2 << 1 << "Confirmez la suppression du gabarit n° 3";
    QTest::newRow("first of three")
        << 0 << 0 << true << 2 << 0 << "Confirmez la suppression du gabarit n° 1";
    QTest::newRow("No keeps it") << 0 << 1 << false << 3 << 1
                                 << "Confirmez la suppression du gabarit n° 2";
    QTest::newRow("the only one") << 1 << 0 << true << 0 << -1
                                  << "Confirmez la suppression du gabarit n° 1";
}

void TestDrawingWindow::deleteTemplates()
{
    QFETCH(int, profile);
    QFETCH(int, templ);
    QFETCH(bool, answer);
    QFETCH(int, remaining);
    QFETCH(int, newCurrent);
    QFETCH(QString, question);
    Fixture fx(true);
    fx.chooseProfile(profile);
    fx.chooseTemplate(templ);
    fx.prompts.answers.enqueue(answer);
    fx.form->BtSupprgab->click();
    QCOMPARE(fx.prompts.questions, QStringList{question});
    QCOMPARE(fx.store().templateCount(profile), remaining);
    QCOMPARE(fx.form->CB2->count(), remaining);
    QCOMPARE(fx.store().currentTemplate, newCurrent);
    QCOMPARE(fx.form->CB2->currentIndex(), newCurrent);
    QCOMPARE(fx.form->Btenregistrer->isEnabled(), answer);
    QCOMPARE(fx.form->Panel7->isVisibleTo(fx.form.get()), remaining == 0);
}

void TestDrawingWindow::closeAsksToSave_data()
{
    QTest::addColumn<bool>("french");
    QTest::addColumn<bool>("answer");
    QTest::newRow("French, Yes") << true << true;
    QTest::newRow("English, No") << false << false;
}

void TestDrawingWindow::closeAsksToSave()
{
    QFETCH(bool, french);
    QFETCH(bool, answer);
    Fixture fx(french);
    fx.answerDialog(120, 0, false, true);
    fx.form->Btnewgab->click();
    fx.prompts.answers.enqueue(answer);
    fx.form->Btquit->click();
    QCOMPARE(fx.prompts.questions,
             QStringList{french ? "Voulez-vous enregistrer vos modifications dans Profils.pro ?"
                                : "Save updates to Profils.pro ?"});
    QCOMPARE(fx.form->Btenregistrer->isEnabled(), !answer);
    if (answer) {
        QVERIFY(fx.fileBytes().contains("GABARIT 120;5;\r\n"));
        // Nothing changed since: closing again asks nothing.
        fx.form->Btquit->click();
        QCOMPARE(fx.prompts.questions.size(), 1);
    } else {
        QCOMPARE(fx.fileBytes(), fx.original);
        // The changes stay in the store and the question comes again.
        fx.form->Btquit->click();
        QCOMPARE(fx.prompts.questions.size(), 2);
    }
}

void TestDrawingWindow::frameCloseBehavesLikeFermer()
{
    Fixture fx(true);
    fx.form->show();
    fx.answerDialog(140, 2, false, true);
    fx.form->Btnewgab->click();
    fx.prompts.answers.enqueue(true);
    fx.form->close();
    QCOMPARE(fx.prompts.questions.size(), 1);
    QVERIFY(fx.fileBytes().contains("GABARIT 140;10;\r\n"));
}

void TestDrawingWindow::drawingAreaHeight_data()
{
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("expected");
    QTest::newRow("tall window keeps 320") << 900 << 320;
    QTest::newRow("just taller") << 29 + 144 + 321 << 320;
    QTest::newRow("exactly top + 320") << 29 + 144 + 320 << 320;
    QTest::newRow("short window") << 400 << 400 - 29 - 144;
}

void TestDrawingWindow::drawingAreaHeight()
{
    QFETCH(int, height);
    QFETCH(int, expected);
    Fixture fx(true);
    fx.form->resize(800, height);
    fx.form->FormResize();
    QCOMPARE(fx.form->ScrollBox1->height(), expected);
    QCOMPARE(fx.form->ScrollBox1->width(), 800 - 29 - 2);
    QCOMPARE(fx.form->Panel4->height(), expected);
    QCOMPARE(fx.form->Panel1->height(), expected - 20);
    QCOMPARE(fx.form->Panel1->x(), 29 + 800 - 29 - 2 - 196 - 2);
}

void TestDrawingWindow::zoomButtonsAndResize()
{
    Fixture fx(true);
    TForm1 &f = *fx.form;
    const int before = f.PaintBox1->width();
    for (int i = 0; i < 4; ++i)
        f.Btzoomplus->click();
    QVERIFY(!f.Btzoomplus->isEnabled());
    QVERIFY(f.BtZoommoins->isEnabled());
    QVERIFY(f.PaintBox1->width() > before);
    f.resize(f.width() + 10, f.height());
    f.FormResize();
    QVERIFY(f.Btzoomplus->isEnabled());
    QVERIFY(!f.BtZoommoins->isEnabled());
    QCOMPARE(f.drawing().viewState().zoomLevel, 0);
}

void TestDrawingWindow::deleteProfiles()
{
    Fixture fx(false);
    fx.chooseProfile(2);
    fx.prompts.answers << true;
    fx.form->Btsupprprofil->click();
    QCOMPARE(fx.prompts.questions,
             QStringList{"Are you sure to remove Airfoil NACA 4412 from Profils.pro file ?"});
    // The last of the list goes: the new last one is shown with its template.
    QCOMPARE(fx.form->Cb1->count(), 2);
    QCOMPARE(fx.store().currentProfile, 1);
    QCOMPARE(fx.form->Cb1->currentText(), QStringLiteral("NACA 2412"));
    QCOMPARE(fx.form->CB2->count(), 1);
    // Every profile deleted: nothing left to draw, and no error either.
    fx.prompts.answers << true << true;
    fx.form->Btsupprprofil->click();
    fx.form->Btsupprprofil->click();
    QCOMPARE(fx.form->Cb1->count(), 0);
    // No error; NACA 0012's circle left of the nose is named once, at the
    // start, not again when its template comes back on show.
    QCOMPARE(fx.prompts.messages, QStringList(1, "figure 2 is outside the template"));
    fx.form->Btsupprprofil->click(); // nothing selected: nothing asked
    QCOMPARE(fx.prompts.questions.size(), 3);
    QVERIFY(fx.form->Btenregistrer->isEnabled());
}

void TestDrawingWindow::dialogSkinChoice()
{
    TForm2 d;
    // "Autre", then the arrows: "Autre" stays.
    d.RadioGroup1->setItemIndex(4);
    d.RadioGroup1Click();
    d.UpDown2->stepBy(1);
    QCOMPARE(d.RadioGroup1->itemIndex(), 4);
    QCOMPARE(d.UpDown2->value(), 11);
    // A preset after typing 12 sets the field to the preset.
    d.UpDown2->setValue(12);
    d.RadioGroup1->setItemIndex(3);
    d.RadioGroup1Click();
    QCOMPARE(d.UpDown2->value(), 15);
    // The arrows on a preset switch to "Autre".
    d.UpDown2->stepBy(-1);
    QCOMPARE(d.RadioGroup1->itemIndex(), 4);
    // Skins below 4 tenths cannot be stored faithfully: refused.
    ScriptedPrompts prompts;
    d.UpDown2->setValue(3);
    QTimer::singleShot(0, [&] {
        d.BitBtn2->click();
        QVERIFY(d.isVisible());
        d.UpDown2->setValue(4);
        d.BitBtn2->click();
    });
    QCOMPARE(d.exec(), int(QDialog::Accepted));
    QCOMPARE(prompts.messages.size(), 1);
}

void TestDrawingWindow::valuesOutsideTheFieldsAreKept()
{
    // A hand-edited chord and skin beyond the dialog's ranges pass through a
    // selection and a store unchanged.
    Fixture fx(true);
    fx.store().PutTemplateLine(1, 0, QStringLiteral("GABARIT 600;45;"));
    fx.chooseProfile(1);
    QCOMPARE(fx.form->Panel5->text(), QStringLiteral("600"));
    fx.chooseProfile(0);
    QCOMPARE(fx.store().templateLine(1, 0), QStringLiteral("GABARIT 600;45;"));
}

void TestDrawingWindow::findingNamedAtRelease_data()
{
    QTest::addColumn<bool>("french");
    QTest::addColumn<QString>("message");
    QTest::newRow("fr") << true << "la figure 1 coupe le gabarit";
    QTest::newRow("en") << false << "figure 1 cuts the template edge";
}

// NACA 0012's rectangle (20 to 30 mm of a 100 mm chord, 2 mm each side of
// the chord line) dragged 5 mm up, across the upper edge: named once, at
// the release, never while it moves; not again when the profile comes back.
void TestDrawingWindow::findingNamedAtRelease()
{
    QFETCH(bool, french);
    QFETCH(QString, message);
    Fixture fx(french);
    fx.form->show();
    QVERIFY(QTest::qWaitForWindowExposed(fx.form.get()));
    QCOMPARE(fx.prompts.messages.size(), 1); // the circle left of the nose
    fx.prompts.messages.clear();
    QWidget *box = fx.form->PaintBox1;
    const QPoint from = fx.form->figures().screenPoints(0)[5];
    const int up = qRound(5 * fx.form->drawing().geometry().scale);
    QTest::mousePress(box, Qt::LeftButton, {}, from);
    for (int step = 1; step <= 5; ++step) {
        QTest::mouseMove(box, from - QPoint(0, up * step / 5));
        QVERIFY2(fx.prompts.messages.isEmpty(), qPrintable(fx.prompts.messages.join('|')));
    }
    QTest::mouseRelease(box, Qt::LeftButton, {}, from - QPoint(0, up));
    QVERIFY(qAbs(fx.form->drawing().working().figures[0][FigY1] + 70) <= 1); // y down
    QCOMPARE(fx.prompts.messages, QStringList{message});
    // A click that moves nothing, another profile and back: named already.
    QTest::mouseClick(box, Qt::LeftButton, {}, fx.form->figures().screenPoints(0)[5]);
    fx.chooseProfile(1);
    fx.chooseProfile(0);
    QCOMPARE(fx.store().currentProfile, 0);
    QCOMPARE(fx.prompts.messages, QStringList{message});
    // Edited again, still across: it may be named again.
    const QPoint at = fx.form->figures().screenPoints(0)[5];
    const QPoint right = at + QPoint(qRound(fx.form->drawing().geometry().scale), 0);
    QTest::mousePress(box, Qt::LeftButton, {}, at);
    QTest::mouseMove(box, right);
    QTest::mouseRelease(box, Qt::LeftButton, {}, right);
    QCOMPARE(fx.prompts.messages, (QStringList{message, message}));
}

// Choosing a template whose figure crosses its outline names it with the
// window already showing that template: its chord and the figure's boxes.
void TestDrawingWindow::findingComesWithItsTemplate()
{
    DrawingWindowFixture fx(nacaProfileText("0012", 21,
                                            {"GABARIT 100;10;", "GABARIT 150;15;",
                                             "FIGURE 0;500;-120;620;-40;0;"}),
                            false);
    fx.form->show();
    QVERIFY(QTest::qWaitForWindowExposed(fx.form.get()));
    QStringList shown;
    fx.prompts.onMessage = [&](const QString &) {
        shown << fx.form->Panel5->text() << fx.form->Edit5->text();
    };
    fx.chooseTemplate(1);
    QCOMPARE(fx.prompts.messages, QStringList{"figure 1 cuts the template edge"});
    QCOMPARE(shown, (QStringList{"150", "560"}));
}

QTEST_MAIN(TestDrawingWindow)
#include "tst_drawingwindow.moc"
