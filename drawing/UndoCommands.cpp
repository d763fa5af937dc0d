#include "drawing/UndoCommands.h"

bool EditState::sameFigures(const EditState &o) const
{
    if (profile != o.profile || templ != o.templ || lastFigure != o.lastFigure)
        return false;
    for (int i = 0; i <= lastFigure && i < kMaxFigures; ++i) {
        if (figures[size_t(i)] != o.figures[size_t(i)])
            return false;
    }
    return true;
}

StoreEdit::StoreEdit(const QString &text, ProfileStore &store, StoreChange change,
                     EditState before, EditState after, Show show, int mergeId)
    : QUndoCommand(text), m_store(store), m_change(std::move(change)),
      m_before(std::move(before)), m_after(std::move(after)), m_show(std::move(show)),
      m_mergeId(mergeId)
{
}

void StoreEdit::undo()
{
    if (!m_change.isEmpty())
        m_store.applyChange(m_change, false);
    m_show(m_before);
}

void StoreEdit::redo()
{
    if (m_done) {
        m_done = false;
        return;
    }
    if (!m_change.isEmpty())
        m_store.applyChange(m_change, true);
    m_show(m_after);
}

bool StoreEdit::mergeWith(const QUndoCommand *other)
{
    const auto *next = static_cast<const StoreEdit *>(other);
    // Only figure steps that left the store alone merge: their store change
    // is empty, so the later working figures are the whole story.
    if (!m_change.isEmpty() || !next->m_change.isEmpty() || m_after.profile != next->m_before.profile ||
        m_after.templ != next->m_before.templ)
        return false;
    m_after = next->m_after;
    return true;
}
