#pragma once

#include <QStringView>

// The values of a Profils.pro line are each followed by ';'.
// takeValue gives the text before the next ';' and removes it with its ';'
// from rest. A value with no ';' after it reads as an empty text.
inline QStringView takeValue(QStringView &rest)
{
    const qsizetype i = rest.indexOf(QLatin1Char(';'));
    if (i < 0) {
        rest = QStringView();
        return QStringView();
    }
    QStringView value = rest.left(i);
    rest = rest.mid(i + 1);
    return value;
}
