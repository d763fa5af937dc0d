#pragma once

#include <QImage>
#include <QList>
#include <QString>

// Printed PDF pages rendered at 600 dpi and measured with a ruler of
// pixels: the chord line, the edge axes, the join marks and the check bar.
// Rendering needs pdftoppm (poppler-utils).

// A page of a PDF rendered at 600 dpi, black and white, without smoothing.
struct Sheet {
    QImage image;
    static constexpr double kDpi = 600;
    static double mm(double pixels) { return pixels * 25.4 / kDpi; }
    bool dark(int x, int y) const { return image.constScanLine(y)[x] < 128; }
};

// The pages of pdf, rendered into files named after prefix. Smoothed, the
// grey of the edge pixels tells where within them a line's edge lies:
// centres measure to a small part of a pixel.
QList<Sheet> renderPdf(const QString &pdf, const QString &prefix, bool smooth = false);

// What the measurement finds on a sheet, in pixels of the 600 dpi image.
struct Found {
    int chordRow = -1;      // the row of the longest horizontal line
    QList<double> axes;     // vertical lines of 10 mm or more through the chord line
    QList<double> marks;    // vertical lines of 10 mm or more clear of it
    QList<double> barTicks; // tick centres of the check bar, left to right
    int barRow = -1;        // the row of the check bar
    double barLength = 0;   // its inked length
    int barStart = 0;       // its first inked column
};

Found measure(const Sheet &s);

// The check bar measured on a smoothed sheet, in millimetres from the bar's
// left end: where each tick's centre stands, and the bar's right end. The
// ticks and the bar come from the measure of the sharp sheet.
struct BarPlaces {
    QList<double> ticks;
    double rightEnd = 0;
};

BarPlaces barPlaces(const Sheet &smooth, const Found &f);
