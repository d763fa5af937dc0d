#pragma once

#include "geometry/WorkingData.h"
#include "profiles/ProfileStore.h"

#include <QUndoCommand>

#include <functional>

// What the drawing window shows of an edit besides the store: the selected
// profile and template, and the figures of the working data (which reach
// the store only when the template is stored).
struct EditState {
    int profile = -1;
    int templ = -1;
    std::array<FigureRow, kMaxFigures> figures{};
    int lastFigure = -1;
    int currentFigure = -1;
    bool figuresChanged = false;

    // Same figures on the same template (the current figure is a selection,
    // not an edit).
    bool sameFigures(const EditState &o) const;
};

// One edit of the drawing window: the part of the profile list it changed
// and the working figures before and after. Undo and redo put the store back
// and hand the state to `show`, which selects it and refreshes the window.
class StoreEdit : public QUndoCommand
{
public:
    using Show = std::function<void(const EditState &)>;

    // `mergeId` above 0 lets steps of the same box on the same figures
    // template merge into one edit.
    StoreEdit(const QString &text, ProfileStore &store, StoreChange change, EditState before,
              EditState after, Show show, int mergeId = 0);

    void undo() override;
    void redo() override;
    int id() const override { return m_mergeId > 0 ? m_mergeId : -1; }
    bool mergeWith(const QUndoCommand *other) override;

private:
    ProfileStore &m_store;
    StoreChange m_change;
    EditState m_before, m_after;
    Show m_show;
    int m_mergeId;
    // The edit is already done when the command is pushed.
    bool m_done = true;
};
