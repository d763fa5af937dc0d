#include "Naca.h"
#include "ScriptedPrompts.h"

#include "drawing/CoordinateTable.h"
#include "drawing/TForm1.h"
#include "drawing/TForm2.h"
#include "profiles/ProfileStore.h"
#include "render/TemplateDrawing.h"
#include "ui/Language.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace
{

QByteArray profileText(const QByteArray &name, const QStringList &lines)
{
    QByteArray text = "\r\nPROFIL " + name + "\r\n";
    for (const QString &l : lines)
        text += l.toLatin1() + "\r\n";
    return text + "GABARIT 150;10;\r\n";
}

// A drawing window, shown, on two profiles with one template each: FAULTY
// (its third point goes back in x ext, so it opens the table) and NACA 2412.
struct Fixture {
    QTemporaryDir dir;
    QString before = QDir::currentPath();
    ScriptedPrompts prompts;
    std::unique_ptr<TForm1> form;

    Fixture()
    {
        Language::setFrench(true);
        const Naca::Section naca = Naca::fourDigit("2412", 21);
        QFile f(dir.filePath("Profils.pro"));
        f.open(QIODevice::WriteOnly);
        f.write(profileText("FAULTY", {"0,00;0,00;0,00;0,00;", "40,00;6,00;40,00;-3,00;",
                                       "30,00;5,00;60,00;-2,00;", "100,00;0,00;100,00;0,00;"}) +
                profileText("NACA 2412", Naca::pointLines(naca)));
        f.close();
        QDir::setCurrent(dir.path());
        form = std::make_unique<TForm1>();
        form->setForm2(new TForm2(form.get()));
        form->resize(1000, 600);
        form->prepareToShow();
        form->show();
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
    }
    ~Fixture() { QDir::setCurrent(before); }

    ProfileStore &store() { return form->store(); }
    QTableWidget *grid() { return form->Tableau1; }
    void chooseProfile(int i)
    {
        form->Cb1->setCurrentIndex(i);
        emit form->Cb1->activated(i);
    }
    // Types text into cell (column, row) as a user would, ended by Enter.
    void type(int column, int row, const QString &text)
    {
        grid()->setFocus();
        grid()->setCurrentCell(row, column);
        QTest::keyClick(grid(), text.at(0).toLatin1());
        QWidget *editor = QApplication::focusWidget();
        QVERIFY(editor && editor != grid());
        QTest::keyClicks(editor, text.mid(1));
        QTest::keyClick(editor, Qt::Key_Return);
    }
    // Red text in the cell (anti-aliased: any strongly red pixel).
    bool redInCell(int column, int row)
    {
        const QImage img = grid()->viewport()->grab().toImage();
        const QRect cell = grid()->visualRect(grid()->model()->index(row, column));
        for (int y = cell.top(); y <= cell.bottom(); ++y) {
            for (int x = cell.left(); x <= cell.right(); ++x) {
                const QColor c = img.pixelColor(x, y);
                if (c.red() > 180 && c.green() < 100 && c.blue() < 100)
                    return true;
            }
        }
        return false;
    }
};

} // namespace

class TstTableWindow : public QObject
{
    Q_OBJECT
private slots:
    void faultyProfileRepairedInTheTable();
    void donneesLeavesTheFlag();
    void keys();
    void faultCorrectedInPlace_data();
    void faultCorrectedInPlace();
    void exportFromTheWindow_data();
    void exportFromTheWindow();
};

void TstTableWindow::faultyProfileRepairedInTheTable()
{
    Fixture fx;
    const QStringList stored = fx.store().profile(0)->pointLines;
    QVERIFY(fx.store().dataError);
    QVERIFY(fx.form->Panel1->isVisible());
    QVERIFY(!fx.form->Label9->isVisible());
    QCOMPARE(fx.grid()->rowCount(), 5);
    QVERIFY(fx.grid()->isRowHidden(0) && fx.grid()->isColumnHidden(0));
    QCOMPARE(fx.grid()->horizontalHeaderItem(1)->text(), QStringLiteral("x ext"));
    QCOMPARE(fx.grid()->verticalHeaderItem(3)->text(), QStringLiteral("3"));
    QVERIFY(fx.redInCell(1, 3));
    QVERIFY(!fx.redInCell(3, 3));

    QTest::mouseClick(fx.form->Btvalider, Qt::LeftButton);
    QVERIFY(fx.form->Label9->isVisible());
    QCOMPARE(fx.grid()->currentRow(), 3);
    QCOMPARE(fx.grid()->currentColumn(), 1);
    QVERIFY(fx.grid()->hasFocus());
    QCOMPARE(fx.store().profile(0)->pointLines, stored);
    QVERIFY(!fx.form->Btenregistrer->isEnabled());

    fx.type(1, 3, QStringLiteral("45,5"));
    QVERIFY(!fx.redInCell(1, 3));
    QTest::mouseClick(fx.form->Btvalider, Qt::LeftButton);
    QVERIFY(!fx.store().dataError);
    QVERIFY(!fx.form->Panel1->isVisible());
    QVERIFY(!fx.form->Label9->isVisible());
    QCOMPARE(fx.store().profile(0)->pointLines.at(2), QStringLiteral("45,5;  5.00; 60.00; -2.00;"));
    QVERIFY(fx.form->Btenregistrer->isEnabled());
    // Drawn again, on the profile's template.
    QCOMPARE(fx.store().currentTemplate, 0);
    QCOMPARE(fx.form->Panel5->text(), QStringLiteral("150"));
    QVERIFY(!fx.form->Panel7->isVisible());
    QVERIFY(fx.form->drawing().canDraw());
}

void TstTableWindow::donneesLeavesTheFlag()
{
    Fixture fx;
    fx.chooseProfile(1);
    QVERIFY(!fx.store().dataError);
    const QStringList stored = fx.store().profile(1)->pointLines;
    // The panel the faulty profile opened stays open on the next profile.
    QVERIFY(fx.form->Panel1->isVisible());
    QTest::mouseClick(fx.form->BtTableau, Qt::LeftButton);
    QVERIFY(!fx.form->Panel1->isVisible());

    // Opening the table rewrites nothing that reads the same.
    QTest::mouseClick(fx.form->BtTableau, Qt::LeftButton);
    QVERIFY(fx.form->Panel1->isVisible());
    QCOMPARE(fx.grid()->currentRow(), 1);
    QCOMPARE(fx.store().profile(1)->pointLines, stored);
    QVERIFY(!fx.form->Btenregistrer->isEnabled());

    // A cleared cell freezes the drawing at once.
    fx.grid()->item(2, 2)->setText(QString());
    QVERIFY(fx.store().dataError);
    QVERIFY(!fx.form->drawing().canDraw());
    fx.type(2, 2, QStringLiteral("1,5"));
    QVERIFY(fx.store().dataError);

    // "&Données" hides, then validates and writes back, the flag untouched.
    QTest::mouseClick(fx.form->BtTableau, Qt::LeftButton);
    QVERIFY(!fx.form->Panel1->isVisible());
    QTest::mouseClick(fx.form->BtTableau, Qt::LeftButton);
    QVERIFY(fx.form->Panel1->isVisible());
    QVERIFY(fx.store().dataError);
    QVERIFY(fx.store().profile(1)->pointLines.at(1).contains(QStringLiteral(";1,5;")));
    QVERIFY(fx.form->Btenregistrer->isEnabled());

    // Only "Valider" clears it.
    QTest::mouseClick(fx.form->Btvalider, Qt::LeftButton);
    QVERIFY(!fx.store().dataError);
    QVERIFY(!fx.form->Panel1->isVisible());
    QVERIFY(fx.form->drawing().canDraw());
    QCOMPARE(fx.form->drawing().working().upper[1].y, -1.5f);
}

void TstTableWindow::faultCorrectedInPlace_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("bad");
    QTest::addColumn<bool>("enter"); // the edit ends with Enter, else with the click on "Valider"
    QTest::newRow("letters in x ext, Enter") << 1 << 3 << "abc" << true;
    QTest::newRow("letters in x ext, click") << 1 << 3 << "abc" << false;
    QTest::newRow("letters in y int, Enter") << 4 << 5 << "abc" << true;
    QTest::newRow("letters in y int, click") << 4 << 5 << "abc" << false;
    QTest::newRow("three decimals in y ext, click") << 2 << 2 << "1,234" << false;
    QTest::newRow("x ext past 100, Enter") << 1 << 4 << "120" << true;
    QTest::newRow("x int going back, click") << 3 << 6 << "0,5" << false;
}

// On a sound profile the user spoils a cell and clicks "Valider", then
// types the cell's value back and presses "Valider" again, with
// the keys and the mouse: the first check puts the cursor on the cell, the
// second accepts the table.
void TstTableWindow::faultCorrectedInPlace()
{
    QFETCH(int, column);
    QFETCH(int, row);
    QFETCH(QString, bad);
    QFETCH(bool, enter);
    Fixture fx;
    fx.chooseProfile(1);
    QVERIFY(!fx.store().dataError);
    QVERIFY(fx.form->Panel1->isVisible());
    QTableWidget *g = fx.grid();
    // The value the cell held, typed back.
    const QString sound = QString::number(
        CoordinateTable::value(g->item(row, column)->text().trimmed()), 'f', 2).replace('.', ',');
    auto typeInto = [&](const QString &text) {
        // A click on the cell, then the keys.
        const QRect cell = g->visualRect(g->model()->index(row, column));
        QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, cell.center());
        QCOMPARE(g->currentRow(), row);
        QCOMPARE(g->currentColumn(), column);
        QTest::keyClick(QApplication::focusWidget(), text.at(0).toLatin1());
        QWidget *editor = QApplication::focusWidget();
        QVERIFY(editor && editor != g);
        QTest::keyClicks(editor, text.mid(1));
        if (enter)
            QTest::keyClick(editor, Qt::Key_Return);
    };
    // Where the user clicks "Valider", both times: its left part.
    const QPoint valider = fx.form->Btvalider->mapTo(fx.form.get(), QPoint(8, 8));
    auto clickValider = [&] {
        QWidget *under = fx.form->childAt(valider);
        QVERIFY(under);
        QTest::mouseClick(under, Qt::LeftButton, {}, under->mapFrom(fx.form.get(), valider));
    };
    typeInto(bad);
    clickValider();
    QVERIFY(fx.form->Label9->isVisible());
    QCOMPARE(g->currentRow(), row);
    QCOMPARE(g->currentColumn(), column);
    QVERIFY(g->hasFocus());
    QVERIFY(fx.store().dataError || !fx.form->Btenregistrer->isEnabled());

    // The cursor stands on the cell: the user types over it.
    typeInto(sound);
    clickValider();
    QVERIFY(!fx.form->Label9->isVisible());
    QVERIFY(!fx.form->Panel1->isVisible());
    QVERIFY(!fx.store().dataError);
    const QStringList cells = fx.store().profile(1)->pointLines.at(row - 1).split(';');
    QCOMPARE(CoordinateTable::value(cells.at(column - 1)), CoordinateTable::value(sound));
    QVERIFY(fx.form->drawing().canDraw());
}

void TstTableWindow::keys()
{
    Fixture fx;
    QTableWidget *g = fx.grid();
    g->setFocus();
    g->setCurrentCell(1, 1);
    QTest::keyClick(g, Qt::Key_Tab);
    QCOMPARE(g->currentColumn(), 2);
    QCOMPARE(g->currentRow(), 1);

    g->clearSelection();
    g->setRangeSelected(QTableWidgetSelectionRange(2, 1, 3, 2), true);
    QTest::keyClick(g, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("40.00\t6.00\n30.00\t5.00\n"));

    QApplication::clipboard()->setText(QStringLiteral("45\t5,5\r\n"));
    g->setCurrentCell(3, 1);
    QTest::keyClick(g, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(g->item(3, 1)->text(), QStringLiteral(" 45.00"));
    QCOMPARE(g->item(3, 2)->text(), QStringLiteral("  5.50"));
    QCOMPARE(fx.form->table().text(1, 3), QStringLiteral(" 45.00"));
    QTest::mouseClick(fx.form->Btvalider, Qt::LeftButton);
    QVERIFY(!fx.store().dataError);
    QVERIFY(!fx.form->Panel1->isVisible());
}

void TstTableWindow::exportFromTheWindow_data()
{
    QTest::addColumn<int>("profile");
    QTest::addColumn<QString>("answer"); // file name in the temporary folder
    QTest::addColumn<QString>("firstLines");
    QTest::addColumn<int>("messages");

    QTest::newRow("written") << 1 << "out.dat"
                             << "NACA 2412\n\n1.00000 0.00000\n"
                             << 0;
    QTest::newRow("cancelled") << 1 << ""
                               << "" << 0;
    QTest::newRow("missing folder") << 1 << "nowhere/out.dat"
                                    << "" << 1;
    QTest::newRow("faulty profile: nothing asked") << 0 << "out.dat"
                                                   << "" << 1;
}

void TstTableWindow::exportFromTheWindow()
{
    QFETCH(int, profile);
    QFETCH(QString, answer);
    QFETCH(QString, firstLines);
    QFETCH(int, messages);
    Fixture fx;
    if (profile != 0)
        fx.chooseProfile(profile);
    if (!answer.isEmpty())
        fx.prompts.saveNames << fx.dir.filePath(answer);
    fx.prompts.clear();
    QTest::mouseClick(fx.form->btEnregH, Qt::LeftButton);

    QCOMPARE(fx.prompts.saveCaptions.size(), profile == 0 ? 0 : 1);
    QCOMPARE(fx.prompts.messages.size(), messages);
    QFile out(fx.dir.filePath(answer.isEmpty() ? QStringLiteral("out.dat") : answer));
    QCOMPARE(out.exists(), !firstLines.isEmpty());
    if (out.open(QIODevice::ReadOnly))
        QVERIFY(out.readAll().startsWith(firstLines.toLatin1()));
}

QTEST_MAIN(TstTableWindow)
#include "tst_tablewindow.moc"
