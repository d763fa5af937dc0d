#pragma once

#include <QChar>
#include <QString>
#include <QStringList>

class AirfoilFile;
class ProfileStore;

// Turns the coordinate file on show (one closed outline, fractions of chord)
// into a profile of the store (pairs of upper and lower stations in percent
// of chord, leading edge first).
namespace ProfileAdder
{

// The decimal separator of the user's regional settings, as far as the
// database reader understands it: a comma or a point.
QChar regionalDecimalPoint();

// A fraction of chord in percent with two decimals, no grouping, "-" for a
// negative value, e.g. "12,34" with a comma.
QString percentText(double fraction, QChar decimalPoint);

// The index of the last point at exactly (0, 0), or 0 when there is none.
int leadingEdgeIndex(const double *x, const double *y, int count);

// The point lines of count points, walking outward from the leading edge:
// point L - k pairs with point L + k; when one surface runs out, its end
// point (the trailing edge) is repeated against the other's remaining
// points.
QStringList pairedPointLines(const double *x, const double *y, int count, QChar decimalPoint);

enum class Outcome {
    Added,
    Refused,   // the file is not exact, could not be read, or is not a file
    Cancelled, // the user said no
    // The corrections on show are not written back yet; the file on show
    // and its corrections are left as they are.
    NotWrittenBack,
};

// Adds the file on show to the store. The file is read again from disk and
// checked as it stands there, so that corrections not yet written back
// cannot let a faulty file in (the user is then told to write them back
// first, and they stay on show); the user is asked first, and told of any
// refusal. entryText is the catalogue entry selected (its duplicate test).
// The store's profile list is refilled and marked changed.
Outcome add(ProfileStore &store, AirfoilFile &file, const QString &entryText,
            const QString &shownFileName, QChar decimalPoint = regionalDecimalPoint());

} // namespace ProfileAdder
