// Undo and redo in the shown drawing window, through the keys a user presses:
// every kind of edit is made, undone and redone, and the store and the
// working figures are compared with their states before and after.
#include "DrawingWindowFixture.h"

#include "drawing/CoordinateTable.h"
#include "drawing/FigureEditor.h"
#include "profiles/ProfileStore.h"
#include "render/TemplateDrawing.h"

#include <QApplication>
#include <QTest>
#include <QTimer>

#include <functional>

namespace
{
using Edit = std::function<void(DrawingWindowFixture &)>;

// What undo must bring back: the store's bytes, the working figures and the
// selection.
struct Model {
    QByteArray store;
    QList<QList<int>> figures;
    int profile = -1, templ = -1;
    bool operator==(const Model &o) const
    {
        return store == o.store && figures == o.figures && profile == o.profile && templ == o.templ;
    }
};

Model modelOf(DrawingWindowFixture &fx)
{
    Model m;
    m.store = fx.store().serialize();
    const WorkingData &wd = fx.form->drawing().working();
    for (int i = 0; i <= wd.lastFigure; ++i)
        m.figures << QList<int>(wd.figures[size_t(i)].begin(), wd.figures[size_t(i)].end());
    m.profile = fx.store().currentProfile;
    m.templ = fx.store().currentTemplate;
    return m;
}

QPoint centreOf(DrawingWindowFixture &fx, int figure)
{
    return fx.form->figures().screenPoints(figure)[5];
}

// A click on the figure's centre makes it current, as the user does.
void selectFigure(DrawingWindowFixture &fx, int figure)
{
    QTest::mouseClick(fx.form->PaintBox1, Qt::LeftButton, {}, centreOf(fx, figure));
    QCOMPARE(fx.form->drawing().working().currentFigure, figure);
}

void press(QWidget *w, Qt::Key key, Qt::KeyboardModifiers mods)
{
    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : w, key, mods);
}

void undoKey(DrawingWindowFixture &fx)
{
    press(fx.form.get(), Qt::Key_Z, Qt::ControlModifier);
}
} // namespace

Q_DECLARE_METATYPE(Edit)

class TstUndoWindow : public QObject
{
    Q_OBJECT
private slots:
    void undoAndRedo_data();
    void undoAndRedo();
    void undoToSavedStateClearsTheMarker();
    void stepsOfOneBoxUndoTogether();
    void profileAddedElsewhereEndsTheHistory();
};

void TstUndoWindow::undoAndRedo_data()
{
    QTest::addColumn<Edit>("edit");
    QTest::addColumn<Qt::Key>("redoKey");
    QTest::addColumn<Qt::KeyboardModifiers>("redoMods");
    QTest::addColumn<int>("edits");
    const Qt::KeyboardModifiers ctrlShift = Qt::ControlModifier | Qt::ShiftModifier;

    QTest::newRow("new figure") << Edit([](DrawingWindowFixture &fx) {
        fx.form->Speedrond->click();
        QTest::mouseClick(fx.form->PaintBox1, Qt::LeftButton, {}, centreOf(fx, 0) + QPoint(40, 0));
    }) << Qt::Key_Z << ctrlShift << 1;
    QTest::newRow("drag figure") << Edit([](DrawingWindowFixture &fx) {
        const QPoint from = centreOf(fx, 0);
        QTest::mousePress(fx.form->PaintBox1, Qt::LeftButton, {}, from);
        QTest::mouseMove(fx.form->PaintBox1, from + QPoint(10, 4));
        QTest::mouseMove(fx.form->PaintBox1, from + QPoint(20, 8));
        QTest::mouseRelease(fx.form->PaintBox1, Qt::LeftButton, {}, from + QPoint(20, 8));
    }) << Qt::Key_Y << Qt::KeyboardModifiers(Qt::ControlModifier) << 1;
    QTest::newRow("size step") << Edit([](DrawingWindowFixture &fx) {
        selectFigure(fx, 0);
        fx.form->UpDown1->stepBy(1);
    }) << Qt::Key_Z << ctrlShift << 1;
    QTest::newRow("angle step") << Edit([](DrawingWindowFixture &fx) {
        selectFigure(fx, 0);
        fx.form->UpDown3->stepBy(-1);
    }) << Qt::Key_Y << Qt::KeyboardModifiers(Qt::ControlModifier) << 1;
    QTest::newRow("typed centre") << Edit([](DrawingWindowFixture &fx) {
        selectFigure(fx, 1);
        fx.form->UpDown5->setFocus();
        fx.form->Edit5->selectAll();
        QTest::keyClicks(fx.form->Edit5, QStringLiteral("250"));
        QTest::keyClick(fx.form->Edit5, Qt::Key_Return);
    }) << Qt::Key_Z << ctrlShift << 1;
    QTest::newRow("delete figure") << Edit([](DrawingWindowFixture &fx) {
        selectFigure(fx, 1);
        fx.form->SpeedPoubelle->click();
    }) << Qt::Key_Z << ctrlShift << 1;
    QTest::newRow("new template") << Edit([](DrawingWindowFixture &fx) {
        QTimer::singleShot(0, fx.dialog, [&fx] {
            fx.dialog->UpDown1->setValue(220);
            fx.dialog->CheckBox1->setChecked(true);
            fx.dialog->BitBtn2->click();
        });
        fx.form->Btnewgab->click();
    }) << Qt::Key_Z << ctrlShift << 1;
    QTest::newRow("delete template") << Edit([](DrawingWindowFixture &fx) {
        fx.prompts.answers << true;
        fx.form->BtSupprgab->click();
    }) << Qt::Key_Y << Qt::KeyboardModifiers(Qt::ControlModifier) << 1;
    QTest::newRow("delete profile") << Edit([](DrawingWindowFixture &fx) {
        fx.prompts.answers << true;
        fx.form->Btsupprprofil->click();
    }) << Qt::Key_Z << ctrlShift << 1;
    QTest::newRow("moved figure, then profile deleted") << Edit([](DrawingWindowFixture &fx) {
        selectFigure(fx, 0);
        fx.form->UpDown2->stepBy(1);
        fx.prompts.answers << true;
        fx.form->Btsupprprofil->click();
    }) << Qt::Key_Z << ctrlShift << 2;
    QTest::newRow("table write-back") << Edit([](DrawingWindowFixture &fx) {
        fx.form->BtTableau->click();
        QTableWidget *grid = fx.form->Tableau1;
        grid->item(3, 2)->setText(QStringLiteral("2,84"));
        fx.form->Btvalider->click();
    }) << Qt::Key_Z << ctrlShift << 1;
}

void TstUndoWindow::undoAndRedo()
{
    QFETCH(Edit, edit);
    QFETCH(int, edits);
    QFETCH(Qt::Key, redoKey);
    QFETCH(Qt::KeyboardModifiers, redoMods);
    DrawingWindowFixture fx(threeNacaProfiles());
    fx.form->show();
    fx.form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(fx.form.get()));
    fx.form->PaintBox1->setFocus();

    const Model before = modelOf(fx);
    edit(fx);
    // Back from any dialog the edit opened.
    // (The offscreen platform leaves a closed dialog active.)
    QApplication::setActiveWindow(fx.form.get());
    QVERIFY(QTest::qWaitForWindowActive(fx.form.get()));
    const Model after = modelOf(fx);
    QVERIFY2(!(after == before), "the edit changed nothing");
    QVERIFY(fx.form->Btenregistrer->isEnabled());
    QVERIFY(fx.form->BtUndo->isEnabled());

    for (int round = 0; round < 2; ++round) {
        fx.form->PaintBox1->setFocus();
        for (int i = 0; i < edits; ++i)
            undoKey(fx);
        QVERIFY(modelOf(fx) == before);
        QVERIFY(!fx.form->Btenregistrer->isEnabled());
        QVERIFY(fx.form->BtRedo->isEnabled());
        for (int i = 0; i < edits; ++i)
            press(fx.form.get(), redoKey, redoMods);
        QVERIFY(modelOf(fx) == after);
        QVERIFY(fx.form->Btenregistrer->isEnabled());
    }
    // The buttons do the same as the keys.
    for (int i = 0; i < edits; ++i)
        fx.form->BtUndo->click();
    QVERIFY(modelOf(fx) == before);
    for (int i = 0; i < edits; ++i)
        fx.form->BtRedo->click();
    QVERIFY(modelOf(fx) == after);
    // Nothing reached the file.
    QCOMPARE(fx.fileBytes(), fx.original);
}

void TstUndoWindow::undoToSavedStateClearsTheMarker()
{
    DrawingWindowFixture fx(threeNacaProfiles());
    fx.form->show();
    QVERIFY(QTest::qWaitForWindowExposed(fx.form.get()));
    selectFigure(fx, 0);
    fx.form->UpDown1->stepBy(1);
    fx.prompts.answers << true;
    fx.form->Btenregistrer->click();
    const QByteArray saved = fx.fileBytes();
    QVERIFY(saved != fx.original);
    QVERIFY(!fx.form->Btenregistrer->isEnabled());

    fx.form->undoStack()->undo();
    QVERIFY(fx.form->Btenregistrer->isEnabled());
    // Stored as it was before: saving now gives the first file back.
    fx.prompts.answers << true;
    fx.form->Btenregistrer->click();
    QCOMPARE(fx.fileBytes(), fx.original);
    fx.form->undoStack()->redo();
    QVERIFY(fx.form->Btenregistrer->isEnabled());
    fx.form->undoStack()->undo();
    QVERIFY(!fx.form->Btenregistrer->isEnabled());
}

void TstUndoWindow::stepsOfOneBoxUndoTogether()
{
    DrawingWindowFixture fx(threeNacaProfiles());
    fx.form->show();
    QVERIFY(QTest::qWaitForWindowExposed(fx.form.get()));
    selectFigure(fx, 0);
    const FigureRow first = fx.form->drawing().working().figures[0];
    for (int i = 0; i < 5; ++i)
        fx.form->UpDown1->stepBy(1);
    fx.form->UpDown3->stepBy(1);
    QCOMPARE(fx.form->undoStack()->count(), 2);
    fx.form->undoStack()->undo();
    fx.form->undoStack()->undo();
    QVERIFY(fx.form->drawing().working().figures[0] == first);
}

// The catalogue adds a profile into the same store: the positions the
// history holds move, so undo must not put anything back by them.
void TstUndoWindow::profileAddedElsewhereEndsTheHistory()
{
    DrawingWindowFixture fx(threeNacaProfiles());
    fx.chooseProfile(1);
    fx.prompts.answers << true;
    fx.form->BtSupprgab->click();
    QCOMPARE(fx.store().templateCount(1), 0);
    QVERIFY(fx.form->undoStack()->canUndo());

    const int p = fx.store().AddProfile(QStringLiteral("AAA 0001"));
    fx.store().AddPointLine(p, QStringLiteral("0;0;0;0;"));
    fx.store().FillProfileCombo();
    fx.store().setSaveEnabled(true);
    QVERIFY(!fx.form->undoStack()->canUndo());
    fx.form->BtUndo->click();
    QCOMPARE(fx.store().count(), 4);
    QCOMPARE(fx.store().templateCount(fx.store().names().indexOf(QStringLiteral("NACA 2412"))), 0);
    // Both changes still wait to be saved.
    QVERIFY(fx.form->Btenregistrer->isEnabled());
}

QTEST_MAIN(TstUndoWindow)
#include "tst_undowindow.moc"
