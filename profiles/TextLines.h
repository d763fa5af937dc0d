#pragma once

#include <QStringView>

// Calls fn(QStringView line) for every line of text, empty lines included. A
// line ends at CR (an LF right after it belongs to the same end) or at a bare
// LF, as a Unix editor writes; the end characters are not part of the line.
template <typename Fn> void forEachLine(QStringView text, Fn &&fn)
{
    const qsizetype size = text.size();
    qsizetype start = 0;
    while (start < size) {
        qsizetype end = start;
        while (end < size && text[end] != QLatin1Char('\r') && text[end] != QLatin1Char('\n'))
            ++end;
        const QStringView line = text.mid(start, end - start);
        start = end;
        if (start < size && text[start] == QLatin1Char('\r'))
            ++start;
        if (start < size && text[start] == QLatin1Char('\n'))
            ++start;
        fn(line);
    }
}
