#pragma once

#include <QString>
#include <QStringList>

// A catalogue folder written for a test: good coordinate files mixed with
// malformed ones of the kinds asked for, and what a listing of it must
// give, worked out from what was written rather than by listing it.
namespace GeneratedCatalogue
{

struct Kinds {
    int good = 0;       // four-digit sections, titled
    int blankTitle = 0; // a blank first line: listed by the file's name
    int garbage = 0;    // a title, then no number at all
    int oversized = 0;  // over the reader's size limit: refused
    int unreadable = 0; // opens but cannot be read: refused
    int foreign = 0;    // hidden files, other extensions, a folder: never listed
};

struct Expected {
    QStringList paths; // every coordinate file, in listing order
    QStringList shown; // the entry of each
    QList<bool> refused;
    int refusedCount(int first) const { return int(refused.mid(0, first).count(true)); }
};

// Files are numbered in listing order, the letter case of their names
// varied so that only an order blind to it comes out right. Unreadable
// files are links to a node the system refuses to read; none are made
// where that node is missing.
Expected write(const QString &folder, const Kinds &kinds);

// Each entry of folder with its size and time, to show nothing changed.
QStringList snapshot(const QString &folder);

} // namespace GeneratedCatalogue
