#include "drawing/NamedFindings.h"

std::vector<RibContours::Finding>
NamedFindings::fresh(const QString &profile, int t,
                     const std::vector<RibContours::Finding> &findings)
{
    std::vector<RibContours::Finding> out;
    for (const RibContours::Finding &f : findings)
        if (m_named.insert(Key{profile, t, f.figure, int(f.kind)}).second)
            out.push_back(f);
    return out;
}

void NamedFindings::forget(const QString &profile, int t, int figure, bool andLater)
{
    for (auto it = m_named.lower_bound(Key{profile, t, figure, -1}); it != m_named.end();) {
        const auto &[p, tt, f, kind] = *it;
        if (p != profile || tt != t || (f != figure && !andLater))
            break;
        it = m_named.erase(it);
    }
}
