// The drawing window's memory between runs: its size and place, and the
// profile and template it showed last.
#include "drawing/TForm1.h"
#include "profiles/ProfileStore.h"
#include "ui/Memory.h"

void TForm1::rememberSelection() const
{
    if (m_store->currentProfile < 0 || m_store->currentProfile >= m_store->count())
        return;
    Memory::set(Memory::kProfile, m_store->name(m_store->currentProfile));
    Memory::set(Memory::kTemplate, m_store->currentTemplate);
}

void TForm1::recallSelection()
{
    // A profile renamed or deleted since, or a template gone, leaves the
    // first one shown.
    const int p = int(m_store->names().indexOf(Memory::text(Memory::kProfile)));
    if (p < 0)
        return;
    const int t = Memory::number(Memory::kTemplate, 0, 0, qMax(0, m_store->templateCount(p) - 1));
    if (p == 0 && t == 0)
        return;
    m_store->currentProfile = p;
    m_store->currentTemplate = -1;
    Cb1->setCurrentIndex(p);
    FillTemplateCombo(p);
    CB2->setCurrentIndex(t < CB2->count() ? t : -1);
    selectAndDraw(p, t);
}
