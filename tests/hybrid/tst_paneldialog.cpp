// The wing panel dialog shown from the drawing window, driven with the mouse
// and the keyboard: ribs computed, printed in one job, stored, saved and
// read again; a second panel of the same name replaces them only after Yes.
#include "DrawingWindowFixture.h"
#include "PrintedSheets.h"

#include "drawing/TForm1.h"
#include "drawing/TForm2.h"
#include "drawing/TForm3.h"
#include "hybrid/TFormpanneau.h"
#include "profiles/ProfileStore.h"
#include "render/TemplateDrawing.h"
#include "ui/Help.h"
#include "ui/Language.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace
{

struct Fixture : DrawingWindowFixture {
    TFormpanneau *panel = nullptr;

    // A spar notch on the upper surface of each end, not at a constant
    // percentage of the chord.
    static QByteArray twoEnds()
    {
        return nacaProfileText("0012", 41, {"GABARIT 200;10;", "FIGURE 0;560;-160;640;-80;0;"}) +
               nacaProfileText("0009", 41, {"GABARIT 100;10;", "FIGURE 0;260;-90;320;-40;0;"});
    }
    explicit Fixture(const QByteArray &database = twoEnds()) : DrawingWindowFixture(database)
    {
        auto *form3 = new TForm3(form.get());
        form3->setDrawing(&form->drawing());
        form->setForm3(form3);
        panel = new TFormpanneau(&form->store(), form3, form.get());
        form->setPanelDialog([p = panel] { return p->run(); });
        form->show();
    }

    void openDialog(const std::function<void()> &inDialog)
    {
        QTimer::singleShot(0, panel, [this, inDialog] {
            if (!QTest::qWaitForWindowActive(panel)) {
                QTest::qFail("the dialog did not become active", __FILE__, __LINE__);
                panel->reject();
                return;
            }
            inDialog();
            if (panel->isVisible())
                panel->reject();
        });
        QTest::mouseClick(form->Btpanneau, Qt::LeftButton);
    }
    void choose(QComboBox *list, const QString &name)
    {
        const int i = list->findText(name);
        list->setCurrentIndex(i);
        emit list->activated(i);
    }
};

int pdfPages(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page[^s]"));
    return int(QString::fromLatin1(f.readAll()).count(page));
}

// What was said besides the drawing window's naming of a figure across or
// outside its template ("... coupe le gabarit", "... est hors du gabarit"):
// the 0009 notch lies above its thin template.
QStringList besidesFindings(QStringList messages)
{
    messages.removeIf([](const QString &t) {
        return t.endsWith(QStringLiteral(" du gabarit")) ||
               t.endsWith(QStringLiteral(" coupe le gabarit"));
    });
    return messages;
}

} // namespace

class TstPanelDialog : public QObject
{
    Q_OBJECT
private slots:
    void computePrintStoreSaveReload();
    void replacementAskedFirst();
    void opensOnProfilesWithTemplates_data();
    void opensOnProfilesWithTemplates();
    void printedAtExactChords();
};

void TstPanelDialog::computePrintStoreSaveReload()
{
    Fixture fx;
    TFormpanneau &d = *fx.panel;
    const QString pdf = fx.dir.filePath("ribs.pdf");
    const QString svg = fx.dir.filePath("ribs.svg");
    bool reached = false;
    // The drawing window names the 0009 notch lying above its thin template
    // ("... est hors du gabarit"); nothing else may be said.
    auto others = [&] { return besidesFindings(fx.prompts.messages); };
    fx.openDialog([&] {
        QVERIFY(!d.BitBtn1->isEnabled());
        QCOMPARE(d.ComboBox1->count(), 2);
        fx.choose(d.ComboBox1, "NACA 0012");
        fx.choose(d.ComboBox2, "NACA 0009");
        QCOMPARE(d.Label5->text(), QStringLiteral("Corde 200 mm   Coffrage 10/10"));
        d.Editnom->selectAll();
        QTest::keyClicks(d.Editnom, "Aile");
        // Washout: 2° at the root, -1° at the tip, from the keyboard.
        d.UpDown3->setFocus();
        QTest::keyClick(d.UpDown3, Qt::Key_Up);
        QTest::keyClick(d.UpDown3, Qt::Key_Up);
        d.UpDown4->setFocus();
        QTest::keyClick(d.UpDown4, Qt::Key_Down);
        QCOMPARE(d.UpDown2->value(), 6);

        // Enter computes.
        d.Editnom->setFocus();
        QTest::keyClick(d.Editnom, Qt::Key_Return);
        QVERIFY2(others().isEmpty(), qPrintable(others().join('\n')));
        QVERIFY(d.isVisible());
        QCOMPARE(d.Tableau1->rowCount(), 6);
        QCOMPARE(d.Tableau1->item(0, 0)->text(), QStringLiteral("AILE N01"));
        QCOMPARE(d.Tableau1->item(2, 1)->text(), QLocale().toString(200.0, 'f', 1));
        QCOMPARE(d.Tableau1->item(2, 3)->text(), QLocale().toString(160.0, 'f', 1));
        QCOMPARE(d.Tableau1->item(5, 4)->text(), QLocale().toString(-1.0, 'f', 1));
        QVERIFY(d.BitBtn1->isEnabled());

        // Every rib in one job.
        fx.prompts.printFiles.enqueue(pdf);
        QTest::mouseClick(d.Button2, Qt::LeftButton);
        QVERIFY(others().isEmpty());
        // And on sheets in one SVG file.
        fx.prompts.saveNames.enqueue(svg);
        QTest::mouseClick(d.Button3, Qt::LeftButton);
        QVERIFY2(others().isEmpty(), qPrintable(others().join('\n')));

        // Back in the name field, Enter now is OK.
        QTest::mouseClick(d.Editnom, Qt::LeftButton);
        QTest::keyClick(d.Editnom, Qt::Key_Return);
        QVERIFY(!d.isVisible());
        reached = true;
    });
    QVERIFY(reached);
    QVERIFY2(pdfPages(pdf) >= 6, qPrintable(QString::number(pdfPages(pdf))));
    QFile svgFile(svg);
    QVERIFY(svgFile.open(QIODevice::ReadOnly));
    const QByteArray svgText = svgFile.readAll();
    for (int i = 1; i <= 6; ++i)
        QVERIFY(svgText.contains("AILE N0" + QByteArray::number(i)));

    ProfileStore &store = fx.form->store();
    QCOMPARE(store.count(), 8);
    QCOMPARE(fx.form->Cb1->currentText(), QStringLiteral("AILE N01"));
    QCOMPARE(fx.form->Panel5->text(), QStringLiteral("200"));
    QCOMPARE(fx.form->UpDown7->value(), 2);
    QVERIFY(fx.form->Btenregistrer->isEnabled());
    QVERIFY(!store.dataError);

    fx.prompts.answers.enqueue(true);
    QTest::mouseClick(fx.form->Btenregistrer, Qt::LeftButton);
    QVERIFY(!fx.form->Btenregistrer->isEnabled());

    // Read again by a new window: rib 3 of 6 with its notch carried.
    TForm1 again;
    const int q = again.store().names().indexOf("AILE N03");
    QVERIFY(q >= 0);
    again.Cb1->setCurrentIndex(q);
    emit again.Cb1->activated(q);
    QVERIFY(!again.store().dataError);
    QCOMPARE(again.Panel5->text(), QStringLiteral("160"));
    QCOMPARE(again.store().profile(q)->templates[0].gabarit.figureLines,
             QStringList{"FIGURE 0;440;-132;512;-64;0;"});
    QCOMPARE(again.drawing().working().lastFigure, 0);

    // The dialog's help topics.
    for (const char *topic : {"PANNEAU", "PANEL"})
        QVERIFY(HelpViewer::fileHasTopic(NERVURIA_SOURCE_DIR "/sample/NERVURIA.HLP", topic));
}

void TstPanelDialog::replacementAskedFirst()
{
    Fixture fx;
    TFormpanneau &d = *fx.panel;
    auto makePanel = [&](int ribs, bool answer, bool stored) {
        fx.openDialog([&] {
            fx.choose(d.ComboBox1, "NACA 0012");
            fx.choose(d.ComboBox2, "NACA 0009");
            d.UpDown2->setValue(ribs);
            QTest::mouseClick(d.Button1, Qt::LeftButton);
            fx.prompts.answers.clear();
            fx.prompts.answers.enqueue(answer);
            QTest::mouseClick(d.BitBtn1, Qt::LeftButton);
            QCOMPARE(d.isVisible(), !stored);
        });
    };
    makePanel(4, true, true);
    QVERIFY(fx.prompts.questions.isEmpty());
    // Chords of 166.67 and 133.33 mm stored as whole millimetres, and said.
    const QStringList said = besidesFindings(fx.prompts.messages);
    QCOMPARE(said.size(), 1);
    QVERIFY2(said[0].endsWith("PANNEAU N02 166.67 -> 167 mm\nPANNEAU N03 133.33 "
                              "-> 133 mm"),
             qPrintable(said[0]));
    fx.prompts.messages.clear();
    QCOMPARE(fx.form->store().count(), 6);
    fx.form->Cb1->setCurrentIndex(0);
    emit fx.form->Cb1->activated(0);

    makePanel(3, false, false);
    QCOMPARE(fx.prompts.questions,
             QStringList{"Le panneau PANNEAU a déjà 4 nervure(s) dans la base. Voulez-vous les "
                         "remplacer ?"});
    QCOMPARE(fx.form->store().count(), 6);
    QCOMPARE(fx.form->Cb1->currentText(), QStringLiteral("NACA 0009"));

    makePanel(3, true, true);
    QCOMPARE(fx.form->store().count(), 5);
    QVERIFY(!fx.form->store().names().contains("PANNEAU N04"));
}

void TstPanelDialog::opensOnProfilesWithTemplates_data()
{
    QTest::addColumn<QByteArray>("database");
    QTest::addColumn<QString>("root"); // empty: the dialog does not open
    QTest::addColumn<QString>("tip");
    QTest::addColumn<QString>("message");
    const QByteArray bare = nacaProfileText("0006", 21);
    const QByteArray with9 = nacaProfileText("0009", 21, {"GABARIT 150;10;"});
    const QByteArray with12 = nacaProfileText("0012", 21, {"GABARIT 200;10;"});
    const QByteArray bare15 = nacaProfileText("0015", 21);
    QTest::newRow("first profile without a template") << bare + with9 + with12 << "NACA 0009"
                                                      << "NACA 0012"
                                                      << "";
    QTest::newRow("last profile without a template") << with9 + with12 + bare15 << "NACA 0009"
                                                     << "NACA 0012"
                                                     << "";
    QTest::newRow("one profile with a template") << bare + with12 + bare15 << "NACA 0012"
                                                 << "NACA 0012"
                                                 << "";
    QTest::newRow("no template at all")
        << bare + bare15 << ""
        << ""
        << "Aucun profil n'a de gabarit : créez d'abord un gabarit (bouton Nouveau) pour "
           "l'emplanture et le saumon.";
}

// Opened from the drawing window, the dialog stands on profiles that have
// templates, and Enter in "Envergure" computes the panel at once.
void TstPanelDialog::opensOnProfilesWithTemplates()
{
    QFETCH(QByteArray, database);
    QFETCH(QString, root);
    QFETCH(QString, tip);
    QFETCH(QString, message);
    Fixture fx(database);
    TFormpanneau &d = *fx.panel;
    if (!message.isEmpty()) {
        // Told at once, without opening.
        QTest::mouseClick(fx.form->Btpanneau, Qt::LeftButton);
        QVERIFY(!d.isVisible());
        QCOMPARE(fx.prompts.messages, QStringList{message});
        return;
    }
    bool opened = false;
    fx.openDialog([&] {
        opened = true;
        QCOMPARE(d.ComboBox1->currentText(), root);
        QCOMPARE(d.ComboBox2->currentText(), tip);
        QCOMPARE(d.ComboBox3->currentIndex(), 0);
        QCOMPARE(d.ComboBox4->currentIndex(), 0);
        d.UpDown1->setFocus();
        QTRY_VERIFY(d.UpDown1->hasFocus());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QVERIFY2(fx.prompts.messages.isEmpty(), qPrintable(fx.prompts.messages.join('\n')));
        QVERIFY(d.Tableau1->rowCount() > 0);
        QVERIFY(d.BitBtn1->isEnabled());
    });
    QVERIFY(opened);
}

// Printed to PDF, rendered at 600 dpi and measured: the ribs of 200, 137.5
// and 112.5 mm, each on one sheet, have their edge axes that far apart.
void TstPanelDialog::printedAtExactChords()
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty())
        QSKIP("pdftoppm (poppler-utils) is not installed");
    Fixture fx;
    TFormpanneau &d = *fx.panel;
    const QString pdf = fx.dir.filePath("ribs.pdf");
    fx.openDialog([&] {
        fx.choose(d.ComboBox1, "NACA 0012");
        fx.choose(d.ComboBox2, "NACA 0009");
        d.RadioGroup1->setItemIndex(1);
        d.Edit5->setText(QStringLiteral("0; 312,5; 437,5; 500"));
        QTest::mouseClick(d.Button1, Qt::LeftButton);
        QVERIFY2(besidesFindings(fx.prompts.messages).isEmpty(),
                 qPrintable(fx.prompts.messages.join('\n')));
        fx.prompts.printFiles.enqueue(pdf);
        QTest::mouseClick(d.Button2, Qt::LeftButton);
    });
    QList<double> chords;
    QString found;
    for (const Sheet &s : renderPdf(pdf, fx.dir.filePath("sheet"))) {
        const Found f = measure(s);
        found += QString::number(f.axes.size()) + QStringLiteral(" axes");
        if (f.axes.size() == 2) {
            chords << Sheet::mm(f.axes[1] - f.axes[0]);
            found += QStringLiteral(" %1 mm apart").arg(chords.last());
        }
        found += QStringLiteral("; ");
    }
    QVERIFY2(chords.size() >= 3, qPrintable(QString::number(chords.size())));
    // The 100 mm tip is too thin for axes of 10 mm: not measured.
    for (double expected : {200.0, 137.5, 112.5})
        QVERIFY2(std::any_of(chords.begin(), chords.end(),
                             [&](double c) { return std::abs(c - expected) < 0.1; }),
                 qPrintable(QString::number(expected) + QStringLiteral(" among ") + found));
}

QTEST_MAIN(TstPanelDialog)
#include "tst_paneldialog.moc"
