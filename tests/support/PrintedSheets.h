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

// The pages of pdf, rendered into files named after prefix.
QList<Sheet> renderPdf(const QString &pdf, const QString &prefix);

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
