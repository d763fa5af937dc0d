#pragma once

#include "cutting/RibContours.h"

#include <QString>

#include <set>
#include <tuple>
#include <vector>

// The figure findings the drawing window has named: each (profile,
// template, figure, kind) once while the program runs, unless the figure is
// edited again.
class NamedFindings
{
public:
    // Those of the findings of template t of the profile not named yet;
    // they count as named from now on.
    std::vector<RibContours::Finding> fresh(const QString &profile, int t,
                                            const std::vector<RibContours::Finding> &findings);
    // The figure was edited: it may be named again. With andLater, every
    // later figure too (a deletion moved their numbers).
    void forget(const QString &profile, int t, int figure, bool andLater = false);

private:
    using Key = std::tuple<QString, int, int, int>; // profile, template, figure, kind
    std::set<Key> m_named;
};
