// The drawing window's edit history: each edit is recorded as the part of
// the store it changed and the working figures before and after, and undo
// and redo select what they put back.
#include "drawing/FigureEditor.h"
#include "drawing/TForm1.h"
#include "profiles/ProfileStore.h"
#include "render/TemplateDrawing.h"
#include "ui/Language.h"
#include "ui/Shortcuts.h"

#include <QAction>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

namespace
{
// A bent arrow pointing left (undo) or right (redo).
QIcon historyIcon(bool forward)
{
    QPixmap pm(20, 20);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    if (forward)
        p.setTransform(QTransform(-1, 0, 0, 1, 20, 0));
    p.setPen(QPen(Qt::black, 1.6));
    QPainterPath bend;
    bend.moveTo(5, 8);
    bend.lineTo(12, 8);
    bend.cubicTo(18, 8, 18, 16, 12, 16);
    bend.lineTo(8, 16);
    p.drawPath(bend);
    p.setBrush(Qt::black);
    p.drawPolygon(QPolygonF({QPointF(2, 8), QPointF(7, 4.5), QPointF(7, 11.5)}));
    return QIcon(pm);
}

} // namespace

void TForm1::setUpUndo()
{
    m_undo = new QUndoStack(this);
    m_undo->setUndoLimit(200);

    auto *undo = m_undo->createUndoAction(this);
    auto *redo = m_undo->createRedoAction(this);
    undo->setShortcuts(QKeySequence::Undo);
    redo->setShortcuts(Shortcuts::keys(QKeySequence::Redo, {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z),
                                                            QKeySequence(Qt::CTRL | Qt::Key_Y)}));
    for (QAction *a : {undo, redo}) {
        a->setShortcutContext(Qt::WindowShortcut);
        addAction(a);
    }

    BtUndo = new QToolButton(Panel4);
    BtUndo->setObjectName(QStringLiteral("BtUndo"));
    BtRedo = new QToolButton(Panel4);
    BtRedo->setObjectName(QStringLiteral("BtRedo"));
    const QString undoTip = Language::pick(QStringLiteral("Annuler"), QStringLiteral("Undo"));
    const QString redoTip = Language::pick(QStringLiteral("Rétablir"), QStringLiteral("Redo"));
    BtUndo->setIcon(historyIcon(false));
    BtRedo->setIcon(historyIcon(true));
    BtUndo->setToolTip(Shortcuts::tipWithKeys(undoTip, undo->shortcuts()));
    BtRedo->setToolTip(Shortcuts::tipWithKeys(redoTip, redo->shortcuts()));
    for (QToolButton *b : {BtUndo, BtRedo}) {
        b->setFixedSize(27, 27);
        b->setEnabled(false);
    }
    connect(BtUndo, &QToolButton::clicked, m_undo, &QUndoStack::undo);
    connect(BtRedo, &QToolButton::clicked, m_undo, &QUndoStack::redo);
    connect(m_undo, &QUndoStack::canUndoChanged, BtUndo, &QToolButton::setEnabled);
    connect(m_undo, &QUndoStack::canRedoChanged, BtRedo, &QToolButton::setEnabled);
    // The tool column: zoom buttons, a gap, then undo and redo.
    if (auto *column = qobject_cast<QVBoxLayout *>(Panel4->layout())) {
        column->insertWidget(3, BtUndo);
        column->insertWidget(4, BtRedo);
    }

    connect(m_undo, &QUndoStack::cleanChanged, this,
            [this](bool clean) { m_store->setSaveEnabled(!clean || m_unrecorded); });
    // A change marked while the history is clean and no edit is being
    // recorded (a repair of the file at loading) is not in the history.
    connect(m_store.get(), &ProfileStore::saveEnabledChanged, this, [this](bool enabled) {
        if (enabled && !m_inEdit && m_undo->isClean())
            m_unrecorded = true;
    });

    // Profiles added from elsewhere (the catalogue) move the positions the
    // history holds: it is forgotten, the unsaved changes still marked.
    const auto outside = [this] {
        if (!m_inEdit)
            forgetHistory();
    };
    connect(m_store.get(), &ProfileStore::profileAppended, this, outside);
    connect(m_store.get(), &ProfileStore::profileListFilled, this, outside);

    // A number box that has nothing of its own to undo leaves Ctrl+Z to the
    // window's history.
    for (QLineEdit *edit : findChildren<QLineEdit *>())
        edit->installEventFilter(this);
}

bool TForm1::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::ShortcutOverride) {
        auto *edit = qobject_cast<QLineEdit *>(watched);
        auto *key = static_cast<QKeyEvent *>(event);
        if (edit && ((key->matches(QKeySequence::Undo) && !edit->isUndoAvailable()) ||
                     ((key->matches(QKeySequence::Redo) ||
                       key->keyCombination() == QKeyCombination(Qt::CTRL, Qt::Key_Y)) &&
                      !edit->isRedoAvailable())))
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

EditState TForm1::editState() const
{
    const WorkingData &wd = m_drawing->working();
    EditState s;
    s.profile = m_store->currentProfile;
    s.templ = m_store->currentTemplate;
    s.figures = wd.figures;
    s.lastFigure = wd.lastFigure;
    s.currentFigure = wd.currentFigure;
    s.figuresChanged = wd.figuresChanged;
    return s;
}

void TForm1::beginEdit()
{
    m_inEdit = true;
    if (m_editStore && m_figures->placing)
        return;
    m_editStore = m_store->snapshot();
    m_editBefore = editState();
}

void TForm1::endEdit(const QString &text, int mergeId)
{
    m_inEdit = false;
    if (!m_editStore)
        return;
    StoreChange change = m_store->changeSince(*m_editStore);
    m_editStore.reset();
    EditState after = editState();
    if (change.isEmpty() && after.sameFigures(m_editBefore))
        return;
    m_undo->push(new StoreEdit(text, *m_store, std::move(change), m_editBefore, std::move(after),
                               [this](const EditState &s) { restoreEdit(s); }, mergeId));
}

void TForm1::forgetHistory()
{
    if (m_undo->count() == 0)
        return;
    m_unrecorded = m_unrecorded || !m_undo->isClean() || m_store->saveEnabled();
    m_undo->clear();
}

void TForm1::markSaved()
{
    m_unrecorded = false;
    m_undo->setClean();
    m_store->setSaveEnabled(false);
}

void TForm1::restoreEdit(const EditState &state)
{
    m_figures->placing = false;
    m_figures->dragMode = FigureEditor::NoDrag;
    m_store->dataError = false;
    m_drawing->viewState().panel1Visible = false;
    const int count = m_store->count();
    if (count == 0) {
        m_store->currentProfile = -1;
        m_store->currentTemplate = -1;
        Cb1->clear();
        CB2->clear();
        m_drawing->working().lastPoint = -1;
        m_drawing->working().lastFigure = -1;
        m_drawing->working().currentFigure = -1;
        m_drawing->createImage(PaintBox1->size());
        PaintBox1->update();
        return;
    }
    const int p = qBound(0, state.profile, count - 1);
    m_syncing = true;
    Cb1->clear();
    Cb1->addItems(m_store->names());
    m_syncing = false;
    m_store->currentProfile = p;
    m_store->currentTemplate = -1;
    Cb1->setCurrentIndex(p);
    FillTemplateCombo(p);
    CB2->setCurrentIndex(state.templ < CB2->count() ? state.templ : -1);
    selectAndDraw(p, state.templ);
    WorkingData &wd = m_drawing->working();
    if (state.templ >= 0 && m_store->currentTemplate == state.templ && p == state.profile) {
        wd.figures = state.figures;
        wd.lastFigure = state.lastFigure;
        wd.currentFigure = state.currentFigure;
        wd.figuresChanged = state.figuresChanged;
        layoutAndRender();
        m_figures->refreshPanel();
        showFigureBoxes();
    }
}

QString TForm1::figureEditText() const
{
    return Language::pick(QStringLiteral("Modification des figures"), QStringLiteral("Figure change"));
}

QString TForm1::tableEditText() const
{
    return Language::pick(QStringLiteral("Coordonnées du profil"), QStringLiteral("Profile coordinates"));
}

void TForm1::typedCentre(int box)
{
    beginEdit();
    Edit5Typed(box);
    endEdit(figureEditText());
}
