#pragma once

#include <QByteArray>
#include <QList>
#include <QPointF>
#include <QString>
#include <QStringList>

#include <functional>

// Reads the coordinate files builders download, in whatever layout they
// come, and turns them into the catalogue's own: a title, then x y rows from
// the trailing edge over the upper surface to the leading edge and back under
// the lower surface, fractions of the chord.
//
// Understood: one closed outline or two blocks (a line with the point count
// of each surface, then each surface from the leading edge to the trailing
// edge); numbers with a decimal point or comma, in exponent notation,
// separated by blanks, tabs, commas or semicolons; fractions, percent of the
// chord, or millimetres of a chord the file states ("chord 250 mm", "corde :
// 250"); comment and header lines, blank lines, repeated points, a missing
// title (the file name stands in); an outline that runs the other way round.
//
// Nothing is moved: the points are only scaled to fractions and put in
// order. Making them fit the catalogue's exact ends is a separate repair.
namespace AirfoilImport
{

struct Result {
    bool ok = false;
    QString title;
    QList<QPointF> points; // the catalogue's order, fractions of the chord
    // What was recognised and what was changed, one line each, in the
    // language of the run.
    QStringList notes;
    // Why the file cannot be read, in the language of the run (ok false).
    QString refusal;

    // The file in the catalogue's layout (CR LF ends, six decimals).
    QByteArray datBytes() const;
};

// The catalogue reads at most this many points.
constexpr int kMaxPoints = 256;
// No coordinate file comes near this.
constexpr qsizetype kMaxBytes = 1 << 20;

// A file in the catalogue's layout: the title, then one "x y" row per point
// with six decimals, CR LF ends.
QByteArray datBytes(const QString &title, const QList<QPointF> &points);

// fileName (any folder, any extension) gives the title when the file has
// none.
Result read(const QByteArray &bytes, const QString &fileName);

// Writes path in one step: replaced whole, or left untouched and *error set.
bool writeWhole(const QString &path, const QByteArray &bytes, QString *error);

// Converting many files at once into a catalogue folder.
struct Summary {
    QStringList written; // paths of the new files
    QStringList refused; // "file name : reason", one per file
    QStringList kept;    // existing files the user chose not to replace
    QStringList notes;   // "file name : what was recognised and changed", per file written
};
// Each source is read, converted and written into folder as a new ".dat"
// file named after it, in one step (a failed write leaves nothing behind).
// Sources are never changed. An existing file is replaced only when
// replace(path) says yes; a source lying in folder under the target's very
// name gets a free name beside it instead.
Summary importFiles(const QStringList &sources, const QString &folder,
                    const std::function<bool(const QString &path)> &replace);
// How many were imported, how many refused and why, by the language flag.
QString summaryText(const Summary &summary);

// One line's numbers, or an empty list when the line is not made of numbers
// only. exponent, decimalComma and separator (',', ';', '\t' or ' ') tell
// how they were written.
struct LineNumbers {
    QList<double> values;
    bool exponent = false;
    bool decimalComma = false;
    QChar separator;
};
LineNumbers parseNumbers(QStringView line);

} // namespace AirfoilImport
