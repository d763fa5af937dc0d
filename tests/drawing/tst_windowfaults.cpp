// The drawing window as a user drives it, where a selection stops early or
// a key press reaches the window: every path ends with Profils.pro saved
// and read back, so that a template written over another shows in the file.
#include "DrawingWindowFixture.h"
#include "Naca.h"
#include "drawing/TForm1.h"
#include "drawing/TForm2.h"
#include "profiles/ProfileStore.h"
#include "render/TemplateDrawing.h"
#include "ui/Language.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>
#include <QTest>

namespace
{

QStringList nacaPoints(int count)
{
    return Naca::pointLines(Naca::fourDigit(QStringLiteral("0012"), count));
}

// Skins are written as thicknesses, so that storing a template unchanged
// writes the same line. A: two templates, the second with a circle. ERR: a last point line with an
// x of 99.99. FIG33: a first template of 33 figures, a second one of one.
// LONG: 513 point lines. Z: one template.
QByteArray database()
{
    QStringList lines;
    auto profile = [&](const QString &name, QStringList points, const QStringList &rest) {
        lines << QString() << QStringLiteral("PROFIL ") + name;
        lines << points << rest;
    };
    profile("A", nacaPoints(21),
            {"GABARIT 200;15;", "FIGURE 0;300;-30;500;30;0;", "GABARIT 150;10;",
             "FIGURE 2;600;-40;660;20;0;"});
    QStringList bad = nacaPoints(21);
    bad.last() = QStringLiteral("99,99;0,00;100,00;0,00;");
    profile("ERR", bad, {"GABARIT 120;10;", "FIGURE 1;100;0;200;0;0;", "GABARIT 90;8;"});
    QStringList many{"GABARIT 180;10;"};
    for (int i = 0; i < 33; ++i)
        many << QStringLiteral("FIGURE 2;%1;-10;%2;10;0;").arg(100 + 10 * i).arg(120 + 10 * i);
    many << "GABARIT 160;10;"
         << "FIGURE 2;400;-20;440;20;0;";
    profile("FIG33", nacaPoints(21), many);
    profile("LONG", nacaPoints(513), {"GABARIT 100;10;", "FIGURE 2;200;-10;220;10;0;"});
    profile("Z", nacaPoints(21), {"GABARIT 110;10;"});
    return (lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toLatin1();
}

// Each profile's lines, by name.
QMap<QString, QStringList> blocks(const QByteArray &bytes)
{
    QMap<QString, QStringList> result;
    QString name;
    for (const QString &line : QString::fromLatin1(bytes).split(QStringLiteral("\r\n"))) {
        if (line.startsWith(QStringLiteral("PROFIL ")))
            name = line.mid(7);
        else if (!line.isEmpty() && !name.isEmpty())
            result[name] << line;
    }
    return result;
}

struct Fixture : DrawingWindowFixture {
    Fixture() : DrawingWindowFixture(database()) {}

    void chooseProfile(const QString &name)
    {
        const int i = form->Cb1->findText(name);
        QVERIFY(i >= 0);
        DrawingWindowFixture::chooseProfile(i);
    }
    // The combos, the store and the screen agree on what is current.
    void checkAgreement()
    {
        QCOMPARE(form->Cb1->currentIndex(), store().currentProfile);
        QCOMPARE(form->CB2->currentIndex(), store().currentTemplate);
    }
    // Saves with Yes and gives the file's profiles.
    QMap<QString, QStringList> save()
    {
        store().setSaveEnabled(true);
        prompts.answers.enqueue(true);
        form->BtenregistrerClick();
        QFile f(dir.filePath("Profils.pro"));
        f.open(QIODevice::ReadOnly);
        return blocks(f.readAll());
    }
    // Drags the paint box from one point to another, as the mouse would.
    void drag(QPoint from, QPoint to)
    {
        form->PaintBox1MouseDown(from.x(), from.y());
        form->PaintBox1MouseMove(to.x(), to.y());
        form->PaintBox1MouseUp(to.x(), to.y());
    }
};

} // namespace

class TestWindowFaults : public QObject
{
    Q_OBJECT
private slots:
    void enterNeverClosesTheWindow();
    void refusedProfileKeepsItsTemplates_data();
    void refusedProfileKeepsItsTemplates();
    void pointErrorFreezesFigures();
    void deletingBeforeAFaultyProfile();
    void dialogKeepsWhatWasTyped_data();
    void dialogKeepsWhatWasTyped();
};

void TestWindowFaults::enterNeverClosesTheWindow()
{
    Fixture fx;
    TForm1 &f = *fx.form;
    fx.chooseProfile("A");
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    f.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&f));

    SpinField *fields[] = {f.UpDown1, f.UpDown2, f.UpDown3, f.UpDown5,
                           f.UpDown6, f.UpDown7, f.UpDown4};
    for (SpinField *field : fields) {
        field->setFocus();
        QVERIFY(field->hasFocus());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QVERIFY2(f.isVisible() && QApplication::focusWidget(), qPrintable(field->objectName()));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter, Qt::KeypadModifier);
        QVERIFY2(f.isVisible(), qPrintable(field->objectName()));
    }
    QVERIFY(fx.prompts.questions.isEmpty());
    // Enter in a figure box is a step of the figure's size: the rectangle
    // keeps its centre.
    const FigureRow &r = f.drawing().working().figures[0];
    QCOMPARE((r[FigX1] + r[FigX2]) / 2, 400);
    f.hide();
}

void TestWindowFaults::refusedProfileKeepsItsTemplates_data()
{
    QTest::addColumn<QString>("refused");
    QTest::newRow("over 512 points") << "LONG";
    QTest::newRow("first template over 32 figures") << "FIG33";
}

void TestWindowFaults::refusedProfileKeepsItsTemplates()
{
    QFETCH(QString, refused);
    Fixture fx;
    fx.chooseProfile("A");
    fx.chooseTemplate(1);
    QCOMPARE(fx.store().currentTemplate, 1);

    fx.chooseProfile(refused);
    QCOMPARE(fx.prompts.messages.size(), 1);
    QCOMPARE(fx.form->Cb1->currentText(), refused);
    fx.checkAgreement();
    // "Supprimer le profil" asks about the profile on show.
    fx.form->BtsupprprofilClick();
    QVERIFY(fx.prompts.questions.last().contains(refused));

    // Choosing its first template again cannot arm it; dragging where A's
    // circle was changes nothing.
    fx.chooseTemplate(0);
    fx.checkAgreement();
    fx.drag({fx.form->drawing().geometry().originX + 63, fx.form->drawing().geometry().originY},
            {20, 20});
    fx.chooseProfile("Z");
    fx.checkAgreement();

    const auto saved = fx.save();
    QCOMPARE(saved, blocks(fx.original));
}

void TestWindowFaults::pointErrorFreezesFigures()
{
    Fixture fx;
    fx.chooseProfile("A");
    fx.chooseProfile("ERR");
    QVERIFY(fx.store().dataError);
    QVERIFY(fx.form->Panel1->isVisible() || fx.form->drawing().viewState().panel1Visible);
    QVERIFY(!fx.imageHasInk());
    QVERIFY(!fx.form->Speedrond->isVisibleTo(fx.form.get()));

    fx.chooseTemplate(0);
    fx.checkAgreement();
    QCOMPARE(fx.store().currentTemplate, -1);
    // Presses, drags and steps do nothing while the data is wrong.
    const ViewGeometry &g = fx.form->drawing().geometry();
    fx.drag({g.originX + 100, g.originY}, {g.originX + 200, g.originY + 50});
    fx.form->UpDown1Click(0, true);
    QCOMPARE(fx.form->drawing().working().lastFigure, -1);

    fx.chooseProfile("Z");
    fx.checkAgreement();
    QCOMPARE(fx.save(), blocks(fx.original));
}

void TestWindowFaults::deletingBeforeAFaultyProfile()
{
    Fixture fx;
    fx.chooseProfile("A");
    fx.chooseTemplate(1);
    fx.prompts.answers.enqueue(true);
    fx.form->BtsupprprofilClick();
    // ERR takes A's place; it cannot be drawn, so nothing of A stays on
    // screen under its name.
    QCOMPARE(fx.form->Cb1->currentText(), QStringLiteral("ERR"));
    fx.checkAgreement();
    QVERIFY(!fx.imageHasInk());

    fx.chooseProfile("ERR");
    fx.checkAgreement();
    auto expected = blocks(fx.original);
    expected.remove("A");
    QCOMPARE(fx.save(), expected);
}

void TestWindowFaults::dialogKeepsWhatWasTyped_data()
{
    QTest::addColumn<QString>("chord");
    QTest::addColumn<QString>("skin");
    QTest::addColumn<QString>("message"); // empty: accepted
    QTest::addColumn<int>("skinItem");
    QTest::newRow("chord 561") << "561"
                               << "10"
                               << "La corde doit être comprise entre 10 et 560 mm." << 2;
    QTest::newRow("chord 7") << "7"
                             << "10"
                             << "La corde doit être comprise entre 10 et 560 mm." << 2;
    QTest::newRow("skin 41") << "200"
                             << "41"
                             << "Le coffrage doit être compris entre 4/10 et 40/10 mm." << 4;
    QTest::newRow("skin 3, below the range the message gives")
        << "200"
        << "3"
        << "Le coffrage doit être compris entre 4/10 et 40/10 mm." << 4;
    QTest::newRow("skin 4, the smallest") << "200"
                                          << "4"
                                          << "" << 4;
    QTest::newRow("typed skin 12 is Autre") << "200"
                                            << "12"
                                            << "" << 4;
    QTest::newRow("typed skin 15 is its preset") << "560"
                                                 << "15"
                                                 << "" << 3;
    QTest::newRow("smallest chord") << "10"
                                    << "5"
                                    << "" << 0;
}

void TestWindowFaults::dialogKeepsWhatWasTyped()
{
    QFETCH(QString, chord);
    QFETCH(QString, skin);
    QFETCH(QString, message);
    QFETCH(int, skinItem);
    Language::setFrench(true);
    ScriptedPrompts prompts;
    TForm2 d;
    d.show();
    QVERIFY(QTest::qWaitForWindowExposed(&d));
    d.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&d));
    auto type = [](QLineEdit *edit, const QString &text) {
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClicks(edit, text);
    };
    type(d.Edit2, skin);
    type(d.Edit1, chord);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);

    QCOMPARE(d.Edit1->text(), chord);
    QCOMPARE(d.Edit2->text(), skin);
    QCOMPARE(d.RadioGroup1->itemIndex(), skinItem);
    if (message.isEmpty()) {
        QVERIFY(prompts.messages.isEmpty());
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QCOMPARE(d.UpDown1->value(), chord.toInt());
        QCOMPARE(d.UpDown2->value(), skin.toInt());
    } else {
        QCOMPARE(prompts.messages, QStringList{message});
        QVERIFY(d.isVisible());
    }
}

QTEST_MAIN(TestWindowFaults)
#include "tst_windowfaults.moc"
