// The profile store's edit history: copies of the profiles before an edit
// and the part of the list that the edit changed.
#include "profiles/ProfileStore.h"

bool operator==(const Tprofil &a, const Tprofil &b)
{
    if (a.pointLines != b.pointLines || a.templates.size() != b.templates.size())
        return false;
    for (size_t i = 0; i < a.templates.size(); ++i) {
        if (a.templates[i].line != b.templates[i].line ||
            a.templates[i].gabarit.figureLines != b.templates[i].gabarit.figureLines)
            return false;
    }
    return true;
}

StoreSnapshot ProfileStore::snapshot() const
{
    StoreSnapshot s;
    s.profiles.reserve(m_profiles.size());
    for (const Entry &e : m_profiles)
        s.profiles.emplace_back(e.name, *e.profil);
    return s;
}

StoreChange ProfileStore::changeSince(const StoreSnapshot &before) const
{
    const auto &old = before.profiles;
    const size_t oldCount = old.size(), newCount = m_profiles.size();
    const auto same = [&](size_t o, size_t n) {
        return old[o].first == m_profiles[n].name && old[o].second == *m_profiles[n].profil;
    };
    size_t head = 0;
    while (head < oldCount && head < newCount && same(head, head))
        ++head;
    size_t tail = 0;
    while (tail < oldCount - head && tail < newCount - head &&
           same(oldCount - 1 - tail, newCount - 1 - tail))
        ++tail;

    StoreChange change;
    change.first = int(head);
    change.before.assign(old.begin() + qsizetype(head), old.end() - qsizetype(tail));
    for (size_t i = head; i < newCount - tail; ++i)
        change.after.emplace_back(m_profiles[i].name, *m_profiles[i].profil);
    return change;
}

void ProfileStore::applyChange(const StoreChange &change, bool forward)
{
    const auto &removed = forward ? change.before : change.after;
    const auto &added = forward ? change.after : change.before;
    const auto at = m_profiles.begin() + change.first;
    m_profiles.erase(at, at + qsizetype(removed.size()));
    std::vector<Entry> entries;
    entries.reserve(added.size());
    for (const auto &[name, profil] : added)
        entries.push_back(Entry{name, std::make_unique<Tprofil>(profil)});
    m_profiles.insert(m_profiles.begin() + change.first, std::make_move_iterator(entries.begin()),
                      std::make_move_iterator(entries.end()));
}
