#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

struct WorkingData;

// A profile of the drawing window written out as an airfoil coordinate file:
// its name, an empty line, the upper surface from the trailing edge to the
// leading edge, an empty line, the lower surface from the leading edge on to
// the trailing edge; x and y as fractions of the chord, upper y positive.
//
// The leading edge is written once, closing the upper part: written twice,
// the catalogue would pair the surfaces one station apart when the file is
// added back. Upper points at x = 100 are left out (the trailing edge opens
// the file, and a shorter surface is padded with it); the lower part ends at
// its first (100, 0).
namespace DatExport
{

// A fraction of chord with five decimals, always with a point (the file is
// meant for other programs as much as for ours), e.g. "0.25000", "-0.01250".
QString number(double fraction);

// The lines of the file for the selected profile in the working data (y
// stored negated, percent of chord). Empty when there are not at least two
// points.
QStringList lines(const QString &name, const WorkingData &work);

// The file's bytes: the lines in the database's character set, each ended
// by a line feed (the platform's line end when written in text mode).
QByteArray bytes(const QStringList &lines);

// Writes the file in one step: an existing file is replaced whole, or left
// as it was when anything fails (the reason then goes to *error).
bool write(const QString &path, const QByteArray &bytes, QString *error);

// The proposed file name: the profile name, with the characters that file
// systems refuse replaced, and ".dat".
QString proposedFileName(const QString &name);

} // namespace DatExport
