#pragma once

#include <QString>
#include <QStringList>

#include <vector>

// Sections that make template outlines hard: blunt trailing edges with the
// surfaces nearly parallel, strong camber with a thin curved rear, sharp
// and blunt noses, reflexed rears, uneven point spacing, surfaces of
// different point counts paired as the catalogue pairs them, and a chord
// and skin to go with each.
namespace HardSections
{

struct Section {
    double thickness = 0.12;   // fraction of chord
    double thickestAt = 0.3;   // fraction of chord
    double noseRadius = 0.015; // fraction of chord
    double tailGap = 0;        // blunt trailing edge, fraction of chord
    double camber = 0;         // fraction of chord
    double camberAt = 0.4;
    double reflex = 0;   // rise of the rear camber line, fraction of chord
    int spacing = 0;     // 0 cosine, 1 even, 2 crowded at the nose, 3 jittered cosine
    int upperCount = 61; // stations of each surface
    int lowerCount = 61;
    int chord = 200;
    int skin = 15;
    int smoothing = 50;
    quint64 seed = 1; // for the jitter

    QString describe() const;
};

// Half thickness and camber line at x (fractions of chord).
double halfThickness(const Section &s, double x);
double camberLine(const Section &s, double x);

// Point lines "x ext;y ext;x int;y int;" in percent of chord with two
// decimals: the first row at the leading edge, the last at (100, 0) on both
// surfaces, the shorter surface padded with its last point.
QStringList pointLines(const Section &s);

// A fixed family: the same sections on every run.
std::vector<Section> family(int count, quint64 seed = 0x2545F4914F6CDD1Dull);

} // namespace HardSections
