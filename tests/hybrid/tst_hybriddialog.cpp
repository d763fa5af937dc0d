// The hybrid dialog shown from the drawing window, driven with the mouse and
// the keyboard: computing, accepting, the new profile in the drawing
// window, saving and loading it again.
#include "Naca.h"
#include "ScriptedPrompts.h"

#include "drawing/TForm1.h"
#include "drawing/TForm2.h"
#include "hybrid/HybridBlend.h"
#include "hybrid/TForm4.h"
#include "profiles/ProfileStore.h"
#include "render/TemplateDrawing.h"
#include "ui/Language.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cmath>

namespace
{

const QString kName = QStringLiteral("NACA 0009(50%)_NACA 0012(50%)");

QByteArray profileText(const char *digits, const char *templ)
{
    const Naca::Section s = Naca::fourDigit(QString::fromLatin1(digits), 41);
    QByteArray text = "\r\nPROFIL " + s.name.toLatin1() + "\r\n";
    for (const QString &l : Naca::pointLines(s))
        text += l.toLatin1() + "\r\n";
    return text + templ + "\r\n";
}

// The drawing window on NACA 0009 and NACA 0012, with its dialogs wired as
// at start-up, shown.
struct Fixture {
    QTemporaryDir dir;
    QString before = QDir::currentPath();
    ScriptedPrompts prompts;
    std::unique_ptr<TForm1> form;
    TForm4 *hybrid = nullptr;

    Fixture()
    {
        Language::setFrench(true);
        QFile f(dir.filePath("Profils.pro"));
        f.open(QIODevice::WriteOnly);
        f.write(profileText("0009", "GABARIT 150;10;") + profileText("0012", "GABARIT 100;8;"));
        f.close();
        QDir::setCurrent(dir.path());
        form = std::make_unique<TForm1>();
        form->setForm2(new TForm2(form.get()));
        hybrid = new TForm4(&form->store(), form.get());
        form->setHybridDialog([h = hybrid] { return h->run(); });
        form->resize(1000, 760);
        form->prepareToShow();
        form->show();
    }
    ~Fixture() { QDir::setCurrent(before); }

    // Runs `inDialog` once the dialog is shown and active, after
    // "Créer un profil hybride" was clicked.
    void openDialog(const std::function<void()> &inDialog)
    {
        QTimer::singleShot(0, hybrid, [this, inDialog] {
            if (!QTest::qWaitForWindowActive(hybrid)) {
                QTest::qFail("the dialog did not become active", __FILE__, __LINE__);
                hybrid->reject();
                return;
            }
            inDialog();
            if (hybrid->isVisible())
                hybrid->reject();
        });
        QTest::mouseClick(form->Button1, Qt::LeftButton);
    }
    void choose(QComboBox *list, const QString &name)
    {
        const int i = list->findText(name);
        list->setCurrentIndex(i);
        emit list->activated(i);
    }
    void keys(QWidget *w, Qt::Key key, int times)
    {
        for (int i = 0; i < times; ++i)
            QTest::keyClick(w, key);
    }
};

bool hasColour(const QImage &img, const QColor &colour)
{
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixelColor(x, y) == colour)
                return true;
    return false;
}

} // namespace

class TstHybridDialog : public QObject
{
    Q_OBJECT
private slots:
    void computeAcceptSaveReload();
    void replacementCancelled();
    void chordCoupling_data();
    void chordCoupling();
    void reopenedReadyToCompute_data();
    void reopenedReadyToCompute();
    void nameFollowsTheTypedPercentage_data();
    void nameFollowsTheTypedPercentage();
};

void TstHybridDialog::computeAcceptSaveReload()
{
    Fixture fx;
    TForm4 &d = *fx.hybrid;
    bool reached = false;
    fx.openDialog([&] {
        QCOMPARE(d.windowTitle(), QStringLiteral("Création de Profil hybride et de son gabarit"));
        // "Nom automatique" names the blend of the lists as they stand.
        QCOMPARE(d.Editnom->text(), QStringLiteral("Profil E(50%)_Profil S(50%)"));
        QVERIFY(!d.BitBtn1->isEnabled());
        QCOMPARE(d.ComboBox1->count(), 2);
        fx.choose(d.ComboBox1, "NACA 0009");
        fx.choose(d.ComboBox2, "NACA 0012");
        QCOMPARE(d.Editnom->text(), kName);

        // The skin field opens on the drawing's template; steps from the
        // keyboard.
        QCOMPARE(d.UpDown8->value(), 10);
        d.Edit8->setFocus();
        fx.keys(d.UpDown8, Qt::Key_Up, 3);
        QCOMPARE(d.Label12->text(), QStringLiteral("13/10 mm"));
        fx.keys(d.UpDown8, Qt::Key_Down, 3);
        QCOMPARE(d.Label12->text(), QStringLiteral("10/10 mm"));

        QTest::mouseClick(d.Button1, Qt::LeftButton);
        QVERIFY(d.BitBtn1->isEnabled());
        QCOMPARE(d.Edit5->text(), QStringLiteral("125"));
        QCOMPARE(d.Edit6->text(), QStringLiteral("0°"));
        QVERIFY(hasColour(d.PaintBox1->grab().toImage(), QColor(255, 0, 0)));

        // Stepping the blend renames and recomputes while OK is enabled.
        d.Edit7->setFocus();
        QTest::keyClick(d.UpDown7, Qt::Key_Down);
        QCOMPARE(d.Editnom->text(), QStringLiteral("NACA 0009(55%)_NACA 0012(45%)"));
        QCOMPARE(d.Edit5->text(), QStringLiteral("127.5"));
        QTest::keyClick(d.UpDown7, Qt::Key_Up);
        QCOMPARE(d.Edit5->text(), QStringLiteral("125"));
        QVERIFY(fx.prompts.messages.isEmpty());

        // Enter in the name field is OK.
        QTest::mouseClick(d.Editnom, Qt::LeftButton);
        QTest::keyClick(d.Editnom, Qt::Key_Return);
        QVERIFY(!d.isVisible());
        reached = true;
    });
    QVERIFY(reached);

    ProfileStore &store = fx.form->store();
    const int p = store.names().indexOf(kName);
    QVERIFY(p >= 0);
    QCOMPARE(store.profile(p)->templates.size(), size_t(1));
    QCOMPARE(store.templateLine(p, 0), QStringLiteral("GABARIT 125;10;"));
    QCOMPARE(store.profile(p)->pointLines.size(), 41);
    QCOMPARE(store.currentProfile, p);
    QCOMPARE(fx.form->Cb1->currentText(), kName);
    QCOMPARE(fx.form->CB2->count(), 1);
    QCOMPARE(fx.form->Panel5->text(), QStringLiteral("125"));
    QVERIFY(fx.form->Btenregistrer->isEnabled());
    QVERIFY(!store.dataError);

    // The 10.5 % section of the formula, within a tenth of a percent.
    const double shown = fx.form->drawing().relativeThickness();
    double truth = 0;
    for (int i = 0; i <= 20000; ++i)
        truth = std::max(truth, 200 * Naca::halfThickness(0.105, i / 20000.0));
    QVERIFY2(std::fabs(shown - truth) <= 0.1, qPrintable(QString::number(shown)));

    // Saved, then read again by a new drawing window.
    fx.prompts.answers.enqueue(true);
    QTest::mouseClick(fx.form->Btenregistrer, Qt::LeftButton);
    QFile f(fx.dir.filePath("Profils.pro"));
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray saved = f.readAll();
    QVERIFY(saved.contains("\r\nPROFIL " + kName.toLatin1() + "\r\n  0.00;  0.00;"));
    QVERIFY(saved.contains("100.00;  0.00;100.00;  0.00;\r\nGABARIT 125;10;\r\n"));

    TForm1 again;
    const int q = again.store().names().indexOf(kName);
    QVERIFY(q >= 0);
    again.Cb1->setCurrentIndex(q);
    emit again.Cb1->activated(q);
    QVERIFY(!again.store().dataError);
    QCOMPARE(again.CB2->count(), 1);
    QCOMPARE(again.Panel5->text(), QStringLiteral("125"));
}

// A confirmed replacement is final even when the dialog is then cancelled:
// the drawing window's list follows at once and keeps the profile on show.
void TstHybridDialog::replacementCancelled()
{
    Fixture fx;
    fx.form->Cb1->setCurrentIndex(1);
    emit fx.form->Cb1->activated(1);
    TForm4 &d = *fx.hybrid;
    fx.prompts.answers.enqueue(true);
    fx.openDialog([&] {
        fx.choose(d.ComboBox1, "NACA 0009");
        fx.choose(d.ComboBox2, "NACA 0012");
        d.Editnom->selectAll();
        QTest::keyClicks(d.Editnom, "NACA 0009");
        d.Edit8->setFocus();
        fx.keys(d.UpDown8, Qt::Key_Up, 8);
        QTest::mouseClick(d.Button1, Qt::LeftButton);
        QCOMPARE(fx.prompts.questions, QStringList{HybridBlend::kReplace});
        QCOMPARE(fx.prompts.messages, QStringList{HybridBlend::kNoRoot});
        QVERIFY(!d.BitBtn1->isEnabled());
        QVERIFY(d.ComboBox1->hasFocus() || d.ComboBox1->lineEdit()->hasFocus());
        QTest::keyClick(&d, Qt::Key_Escape);
        QVERIFY(!d.isVisible());
    });
    QCOMPARE(fx.form->store().names(), QStringList{"NACA 0012"});
    QCOMPARE(fx.form->Cb1->count(), 1);
    QCOMPARE(fx.form->Cb1->currentText(), QStringLiteral("NACA 0012"));
    QCOMPARE(fx.form->store().currentProfile, 0);
    QCOMPARE(fx.form->Panel6->text(), QStringLiteral("8/10"));
    QVERIFY(fx.form->Btenregistrer->isEnabled());
}

void TstHybridDialog::chordCoupling_data()
{
    QTest::addColumn<int>("field"); // 1 root chord, 2 tip chord
    QTest::addColumn<int>("steps"); // positive up, negative down
    QTest::addColumn<int>("root");
    QTest::addColumn<int>("tip");
    QTest::addColumn<int>("hybrid");

    // Root 150, tip 100, hybrid 125 at the start.
    QTest::newRow("tip raised above the root raises it") << 2 << 60 << 160 << 160 << 160;
    QTest::newRow("root lowered below the tip lowers it") << 1 << -60 << 90 << 90 << 90;
    QTest::newRow("root lowered below the hybrid only") << 1 << -30 << 120 << 100 << 120;
    QTest::newRow("tip raised within the root") << 2 << 10 << 150 << 110 << 125;
}

void TstHybridDialog::chordCoupling()
{
    QFETCH(int, field);
    QFETCH(int, steps);
    QFETCH(int, root);
    QFETCH(int, tip);
    QFETCH(int, hybrid);
    ScriptedPrompts prompts;
    ProfileStore store;
    TForm4 d(&store);
    d.show();
    QVERIFY(QTest::qWaitForWindowActive(&d));
    SpinField *spin = field == 1 ? d.UpDown1 : d.UpDown2;
    spin->setFocus();
    for (int i = 0; i < std::abs(steps); ++i)
        QTest::keyClick(spin, steps > 0 ? Qt::Key_Up : Qt::Key_Down);
    QCOMPARE(d.UpDown1->value(), root);
    QCOMPARE(d.UpDown2->value(), tip);
    QCOMPARE(d.UpDown5->value(), double(hybrid));
    // The automatic chord keeps the hybrid fields shut.
    QVERIFY(!d.UpDown5->isEnabled() && !d.UpDown6->isEnabled());
    QTest::mouseClick(d.CheckBox1, Qt::LeftButton);
    QVERIFY(d.UpDown5->isEnabled() && d.UpDown6->isEnabled());
}

void TstHybridDialog::reopenedReadyToCompute_data()
{
    QTest::addColumn<int>("current");    // the drawing window's profile
    QTest::addColumn<QString>("root");   // chosen at the first opening; empty: none
    QTest::addColumn<int>("firstSkin");  // the skin field at the first opening
    QTest::addColumn<int>("chosenSkin"); // typed at the first opening; -1: left
    QTest::addColumn<int>("againSkin");  // at the second opening
    QTest::newRow("drawing's template skin, kept") << 1 << "NACA 0009" << 8 << -1 << 8;
    QTest::newRow("last skin used") << 0 << "NACA 0012" << 10 << 15 << 15;
    QTest::newRow("skin typed 0, root's template on reopening")
        << 1 << "NACA 0009" << 8 << 0 << 10;
    QTest::newRow("drawing's template, no root chosen") << 1 << "" << 8 << -1 << 8;
}

// Cancelled, then opened again: the automatic name is there at once and the
// skin field stands in its range, so "Calculer et Afficher" passes without
// touching anything.
void TstHybridDialog::reopenedReadyToCompute()
{
    QFETCH(int, current);
    QFETCH(QString, root);
    QFETCH(int, firstSkin);
    QFETCH(int, chosenSkin);
    QFETCH(int, againSkin);
    Fixture fx;
    fx.form->Cb1->setCurrentIndex(current);
    emit fx.form->Cb1->activated(current);
    TForm4 &d = *fx.hybrid;
    fx.openDialog([&] {
        QCOMPARE(d.UpDown8->value(), firstSkin);
        QCOMPARE(d.Label12->text(), QString::number(firstSkin) + QStringLiteral("/10 mm"));
        if (!root.isEmpty()) {
            fx.choose(d.ComboBox1, root);
            fx.choose(d.ComboBox2, root == QLatin1String("NACA 0009") ? "NACA 0012" : "NACA 0009");
        }
        if (chosenSkin >= 0) {
            d.Edit8->setFocus();
            QTest::keyClick(d.Edit8, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(d.Edit8, QString::number(chosenSkin));
        }
        QTest::keyClick(&d, Qt::Key_Escape);
    });
    if (root.isEmpty())
        return;
    const QString name = root + QStringLiteral("(50%)_") +
                         (root == QLatin1String("NACA 0009") ? "NACA 0012" : "NACA 0009") +
                         QStringLiteral("(50%)");
    bool reached = false;
    fx.openDialog([&] {
        QCOMPARE(d.Editnom->text(), name);
        QCOMPARE(d.UpDown8->value(), againSkin);
        QTest::mouseClick(d.Button1, Qt::LeftButton);
        QVERIFY2(fx.prompts.messages.isEmpty(), qPrintable(fx.prompts.messages.join('\n')));
        QVERIFY(d.BitBtn1->isEnabled());
        QTest::mouseClick(d.BitBtn1, Qt::LeftButton);
        reached = !d.isVisible();
    });
    QVERIFY(reached);
    const int p = fx.form->store().names().indexOf(name);
    QVERIFY(p >= 0);
    QVERIFY(fx.form->store().templateLine(p, 0).endsWith(";" + QString::number(againSkin) + ";"));
}

void TstHybridDialog::nameFollowsTheTypedPercentage_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("key"); // ends the typing
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("chord"); // GABARIT line stored on OK
    QTest::newRow("25, Tab") << "25" << int(Qt::Key_Tab) << "NACA 0009(75%)_NACA 0012(25%)"
                             << "GABARIT 138;10;";
    QTest::newRow("25, Enter is OK") << "25" << int(Qt::Key_Return)
                                     << "NACA 0009(75%)_NACA 0012(25%)" << "GABARIT 138;10;";
    QTest::newRow("not a step of 5, Tab") << "33" << int(Qt::Key_Tab)
                                          << "NACA 0009(67%)_NACA 0012(33%)" << "GABARIT 134;10;";
    QTest::newRow("100, Tab") << "100" << int(Qt::Key_Tab) << "NACA 0009(0%)_NACA 0012(100%)"
                              << "GABARIT 100;10;";
}

// A percentage typed after a computation: the automatic name, the blend and
// its chord all follow it, and OK stores them together.
void TstHybridDialog::nameFollowsTheTypedPercentage()
{
    QFETCH(QString, typed);
    QFETCH(int, key);
    QFETCH(QString, name);
    QFETCH(QString, chord);
    Fixture fx;
    TForm4 &d = *fx.hybrid;
    fx.openDialog([&] {
        fx.choose(d.ComboBox1, "NACA 0009");
        fx.choose(d.ComboBox2, "NACA 0012");
        QTest::mouseClick(d.Button1, Qt::LeftButton);
        QVERIFY(d.BitBtn1->isEnabled());
        d.Edit7->setFocus();
        QTRY_VERIFY(d.Edit7->hasFocus());
        QTest::keyClick(d.Edit7, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(d.Edit7, typed);
        QCOMPARE(d.Editnom->text(), name);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
        if (d.isVisible()) {
            QCOMPARE(d.Editnom->text(), name);
            QTest::mouseClick(d.BitBtn1, Qt::LeftButton);
        }
        QVERIFY(!d.isVisible());
    });
    QVERIFY(fx.prompts.messages.isEmpty());
    ProfileStore &store = fx.form->store();
    const int p = store.names().indexOf(name);
    QVERIFY2(p >= 0, qPrintable(store.names().join(", ")));
    QCOMPARE(store.templateLine(p, 0), chord);
}

QTEST_MAIN(TstHybridDialog)
#include "tst_hybriddialog.moc"
