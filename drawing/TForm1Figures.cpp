// The drawing window's figure handlers: the tool buttons, the bin, the
// parameter boxes and the mouse in the paint box.
#include "drawing/FigureEditor.h"
#include "drawing/TForm1.h"
#include "profiles/ProfileStore.h"
#include "render/TemplateDrawing.h"
#include "ui/Language.h"
#include "ui/Prompts.h"

#include <QMouseEvent>
#include <QPainter>

void TForm1::showFigureBoxes()
{
    const FigureBoxes &b = m_figures->boxes;
    m_syncing = true;
    UpDown1->setValue(b.upDown1);
    UpDown2->setValue(b.upDown2);
    UpDown3->setValue(b.upDown3);
    UpDown5->setValue(b.upDown5);
    UpDown6->setValue(b.upDown6);
    Label1->setText(b.label1);
    UpDown1->setVisible(b.upDown1Visible);
    // Without its arrows the first box still shows its value (a line's
    // length), read-only.
    UpDown1->setButtonSymbols(b.upDown1Visible ? QAbstractSpinBox::UpDownArrows
                                               : QAbstractSpinBox::NoButtons);
    UpDown1->setVisible(true);
    for (QWidget *w : {static_cast<QWidget *>(Label2), static_cast<QWidget *>(UpDown2)})
        w->setVisible(b.size2Visible);
    Label3->setVisible(b.angleVisible);
    UpDown3->setVisible(b.angleVisible);
    UpDown3->setButtonSymbols(b.upDown3Visible ? QAbstractSpinBox::UpDownArrows
                                               : QAbstractSpinBox::NoButtons);
    m_syncing = false;
}

void TForm1::takeFigureBoxes()
{
    FigureBoxes &b = m_figures->boxes;
    for (SpinField *s : {UpDown1, UpDown2, UpDown3, UpDown5, UpDown6})
        s->interpretText();
    b.upDown1 = UpDown1->value();
    b.upDown2 = UpDown2->value();
    b.upDown3 = UpDown3->value();
    b.upDown5 = UpDown5->value();
    b.upDown6 = UpDown6->value();
}

void TForm1::renderOnly()
{
    m_drawing->render();
    PaintBox1->update();
    sayFigureFindings();
}

// Figures are edited only on a template that is selected and drawn: with
// the data error flag set the working figures may belong to another
// template, so presses, drags and steps do nothing.
bool TForm1::figuresEditable() const
{
    return !m_store->dataError && m_store->currentTemplate >= 0 &&
           m_drawing->working().lastPoint >= 1;
}

void TForm1::Nouvellefigure(int kind)
{
    if (!figuresEditable())
        return;
    takeFigureBoxes();
    if (!m_figures->newFigure(FigureEditor::Kind(kind)))
        return;
    m_store->setSaveEnabled(true);
    PaintBox1->setCursor(Qt::PointingHandCursor);
    showFigureBoxes();
}

void TForm1::BtsupprClick()
{
    const int deleted = m_drawing->working().currentFigure;
    if (!figuresEditable() || !m_figures->deleteCurrent())
        return;
    figureEdited(deleted, true);
    m_store->setSaveEnabled(true);
    showFigureBoxes();
    renderOnly();
}

void TForm1::UpDown1Click(int box, bool up)
{
    if (!figuresEditable())
        return;
    takeFigureBoxes();
    if (!m_figures->step(FigureEditor::Box(box), up))
        return;
    figureEdited(m_drawing->working().currentFigure);
    m_store->setSaveEnabled(true);
    if (!m_figures->placing)
        layoutAndRender();
    m_figures->refreshPanel();
    showFigureBoxes();
}

void TForm1::Edit1KeyPress()
{
    UpDown1Click(FigureEditor::Size1, true);
}

void TForm1::Edit5Typed(int box)
{
    if (m_syncing || !figuresEditable())
        return;
    SpinField *field = box == FigureEditor::CentreX ? UpDown5 : UpDown6;
    field->interpretText();
    switch (m_figures->moveCentreTo(FigureEditor::Box(box), field->value())) {
    case FigureEditor::CentreMove::Unchanged:
        return;
    case FigureEditor::CentreMove::Moved:
        figureEdited(m_drawing->working().currentFigure);
        m_store->setSaveEnabled(true);
        if (!m_figures->placing)
            layoutAndRender();
        m_figures->refreshPanel();
        showFigureBoxes();
        return;
    case FigureEditor::CentreMove::OutOfRange: {
        // The box shows the figure's centre again before the message, so
        // that the focus leaving for the message box finds nothing to do.
        m_figures->refreshPanel();
        showFigureBoxes();
        const bool across = box == FigureEditor::CentreX;
        const int low = across ? FigureBoxes::kCentreXMin : FigureBoxes::kCentreYMin;
        const int high = across ? FigureBoxes::kCentreXMax : FigureBoxes::kCentreYMax;
        const QString name = across ? QStringLiteral("cx") : QStringLiteral("cy");
        Prompts::current().message(
            Language::pick(QStringLiteral("%1 doit être compris entre %2 et %3 (1/10 mm).")
                               .arg(name)
                               .arg(low)
                               .arg(high),
                           QStringLiteral("%1 must be between %2 and %3 (1/10 mm).")
                               .arg(name)
                               .arg(low)
                               .arg(high)));
        field->setFocus();
        field->selectAll();
        return;
    }
    }
}

void TForm1::PaintBox1MouseDown(int x, int y)
{
    if (!figuresEditable())
        return;
    // Findings wait for the release: a message box now would take the drag.
    m_paintBoxPressed = true;
    if (m_figures->placing) {
        PaintBox1->unsetCursor();
        layoutAndRender();
        m_figures->placeAt(x, y);
        figureEdited(m_drawing->working().currentFigure);
        renderOnly();
    } else if (m_figures->press(x, y)) {
        // The outline being dragged is drawn over the image, not into it.
        PaintBox1->update();
    }
    m_figures->refreshPanel();
    showFigureBoxes();
}

void TForm1::PaintBox1MouseMove(int x, int y)
{
    if (figuresEditable() && m_figures->move(x, y))
        PaintBox1->update();
}

void TForm1::PaintBox1MouseUp(int, int)
{
    m_paintBoxPressed = false;
    const WorkingData &work = m_drawing->working();
    const int f = work.currentFigure;
    const FigureRow before = f >= 0 && f < kMaxFigures ? work.figures[size_t(f)] : FigureRow{};
    if (figuresEditable() && m_figures->release()) {
        // A click that moved nothing is no edit: what was named stays named.
        if (f >= 0 && f < kMaxFigures && work.figures[size_t(f)] != before)
            figureEdited(f);
        m_store->setSaveEnabled(true);
        showFigureBoxes();
        renderOnly();
    } else if (m_findingsPending) {
        sayFigureFindings();
    }
}

void PaintBox::mousePressEvent(QMouseEvent *e)
{
    // A press may place a figure and a drag ends at the release: the two
    // make one edit.
    m_form->beginEdit();
    m_form->PaintBox1MouseDown(e->position().toPoint().x(), e->position().toPoint().y());
}

void PaintBox::mouseMoveEvent(QMouseEvent *e)
{
    m_form->PaintBox1MouseMove(e->position().toPoint().x(), e->position().toPoint().y());
}

void PaintBox::mouseReleaseEvent(QMouseEvent *e)
{
    m_form->PaintBox1MouseUp(e->position().toPoint().x(), e->position().toPoint().y());
    m_form->endEdit(m_form->figureEditText());
}
