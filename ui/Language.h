#pragma once

#include <QString>

// The language of the run: French when the start window's speed label reads
// "Vitesse", English otherwise. Fixed once at start-up; every message that
// exists in both languages is chosen by it at the moment it is shown.
namespace Language
{
bool french();
void setFrench(bool french);
// The French or the English text, by the flag.
inline QString pick(const QString &fr, const QString &en)
{
    return french() ? fr : en;
}
// The same from UTF-8 literals, for tables of texts: only the one chosen is
// converted.
inline QString pick(const char *fr, const char *en)
{
    return QString::fromUtf8(french() ? fr : en);
}
} // namespace Language
