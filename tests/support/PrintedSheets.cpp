#include "PrintedSheets.h"

#include <QImageReader>
#include <QProcess>

#include <algorithm>
#include <cmath>

QList<Sheet> renderPdf(const QString &pdf, const QString &prefix, bool smooth)
{
    const QString aa = smooth ? QStringLiteral("yes") : QStringLiteral("no");
    QProcess::execute(QStringLiteral("pdftoppm"),
                      {QStringLiteral("-r"), QStringLiteral("600"), QStringLiteral("-gray"),
                       QStringLiteral("-aa"), aa, QStringLiteral("-aaVector"), aa, pdf, prefix});
    // An A4 page at 600 dpi is 35 MB.
    QImageReader::setAllocationLimit(512);
    QList<Sheet> sheets;
    for (int page = 1;; ++page) {
        QImage img(prefix + QStringLiteral("-%1.pgm").arg(page));
        if (img.isNull())
            break;
        sheets.append({img.convertToFormat(QImage::Format_Grayscale8)});
    }
    return sheets;
}

Found measure(const Sheet &s)
{
    Found f;
    const QImage &img = s.image;
    const int w = img.width(), h = img.height();
    auto longestRun = [&](int y, int *first = nullptr) {
        int best = 0, run = 0, start = 0;
        for (int x = 0; x < w; ++x) {
            if (s.dark(x, y)) {
                if (run++ == 0)
                    start = x;
                if (run > best) {
                    best = run;
                    if (first)
                        *first = start;
                }
            } else {
                run = 0;
            }
        }
        return best;
    };
    int best = 0;
    for (int y = 0; y < h; ++y) {
        const int r = longestRun(y);
        if (r > best)
            best = r, f.chordRow = y;
    }
    // Vertical lines: the longest dark run of each column.
    const int tall = int(10 * Sheet::kDpi / 25.4);
    QList<QPair<int, bool>> columns; // x, crosses the chord line
    for (int x = 0; x < w; ++x) {
        int run = 0, start = 0, longest = 0, from = 0;
        for (int y = 0; y < h; ++y) {
            if (s.dark(x, y)) {
                if (run++ == 0)
                    start = y;
                if (run > longest)
                    longest = run, from = start;
            } else {
                run = 0;
            }
        }
        if (longest >= tall)
            columns.append({x, from <= f.chordRow && f.chordRow < from + longest});
    }
    // Adjacent columns are one line: its centre.
    for (int i = 0; i < columns.size();) {
        int j = i;
        while (j + 1 < columns.size() && columns[j + 1].first == columns[j].first + 1)
            ++j;
        const double centre = (columns[i].first + columns[j].first) / 2.0;
        (columns[i].second ? f.axes : f.marks).append(centre);
        i = j + 1;
    }
    // The check bar: the longest horizontal line clear of the chord line.
    int barBest = 0, barStart = 0;
    for (int y = 0; y < h; ++y) {
        if (std::abs(y - f.chordRow) < int(2 * Sheet::kDpi / 25.4))
            continue;
        int start = 0;
        const int r = longestRun(y, &start);
        if (r > barBest)
            barBest = r, f.barRow = y, barStart = start;
    }
    f.barLength = barBest;
    f.barStart = barStart;
    // Its ticks, 2 mm above it, where nothing else is drawn.
    const int tickRow = f.barRow - int(2 * Sheet::kDpi / 25.4);
    for (int x = std::max(0, barStart - 20); x < std::min(w, barStart + barBest + 20);) {
        if (!s.dark(x, tickRow)) {
            ++x;
            continue;
        }
        int end = x;
        while (end + 1 < w && s.dark(end + 1, tickRow))
            ++end;
        f.barTicks.append((x + end) / 2.0);
        x = end + 1;
    }
    return f;
}

BarPlaces barPlaces(const Sheet &smooth, const Found &f)
{
    const QImage &img = smooth.image;
    auto ink = [&](int x, int y) { return 255.0 - img.constScanLine(y)[x]; };
    // The middle of the bar's thickness: below the ticks.
    int y = f.barRow;
    while (y + 1 < img.height() && ink(f.barStart + int(f.barLength / 2), y + 1) > 127)
        ++y;
    y = (f.barRow + y) / 2;
    // The ink of the bar's inside, and its ends: the partly inked pixels at
    // an end add up to the part of the last pixel the bar covers.
    const int middle = f.barStart + int(f.barLength / 2);
    const double full = ink(middle, y);
    auto end = [&](int outside, int step) {
        int x = outside;
        double covered = 0;
        while (ink(x, y) < 0.98 * full) {
            covered += ink(x, y) / full;
            x += step;
        }
        return step > 0 ? x - covered : x + 1 + covered;
    };
    const double left = end(f.barStart - 8, 1);
    const double right = end(f.barStart + int(f.barLength) + 8, -1);
    BarPlaces places;
    places.rightEnd = Sheet::mm(right - left);
    const int tickRow = f.barRow - int(2 * Sheet::kDpi / 25.4);
    for (double approx : f.barTicks) {
        double sum = 0, weight = 0;
        for (int x = int(approx) - 12; x <= int(approx) + 12; ++x) {
            sum += ink(x, tickRow) * (x + 0.5); // the pixel's middle
            weight += ink(x, tickRow);
        }
        places.ticks << Sheet::mm(sum / weight - left);
    }
    return places;
}
