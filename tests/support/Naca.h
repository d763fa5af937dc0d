#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <vector>

// Airfoil sections computed from their published formulas, for the sample
// data and as independent truth in tests. Coordinates are fractions of the
// chord; both surfaces run from the leading edge to the trailing edge at the
// same stations, with the thickness laid off vertically from the camber line.
namespace Naca
{

struct Point {
    double x = 0, y = 0;
};

struct Section {
    QString name;
    std::vector<Point> upper;
    std::vector<Point> lower;
};

// Half thickness of a four-digit section of relative thickness t at x,
// with the closed trailing edge form.
double halfThickness(double t, double x);

// "0012", "2412", ... with `stations` points per surface (cosine spacing).
Section fourDigit(const QString &digits, int stations = 41);

// "23012", "24015", ... : five-digit sections with the standard (not
// reflexed) camber lines 210 to 250, scaled by the design lift coefficient.
// An empty section when the digits name no such camber line.
Section fiveDigit(const QString &digits, int stations = 41);

// The section as Profils.pro point lines: percent of chord, two decimals,
// comma separator, each value followed by ';'.
QStringList pointLines(const Section &s);

// The section as a coordinate file: title line, then x y from the trailing
// edge over the upper surface to the leading edge and back under the lower
// surface, CR LF line ends.
QByteArray datFile(const Section &s, const QString &title);

// One profile of a Profils.pro text: the four-digit section, its points per
// surface, and the lines after its points (templates, figures).
struct StoredProfile {
    const char *digits;
    int stations;
    QList<QByteArray> after;
};
// The profiles as Profils.pro text: PROFIL line, point lines, then the lines
// after, CR LF line ends.
QByteArray profilsText(const std::vector<StoredProfile> &profiles);

} // namespace Naca
