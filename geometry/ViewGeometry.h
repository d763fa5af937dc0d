#pragma once

#include "geometry/WorkingData.h"

#include <QSize>

#include <array>
#include <climits>
#include <cmath>

// Where the drawing goes. The print code switches to preview or printer for
// one layout and render, then back to screen.
enum class OutputMode { Screen = 0, Preview = 1, Printer = 2 };

// The screen zoom factors, by zoom level 0..4.
inline constexpr std::array<float, 5> kZoomFactors{1.0f, 1.5f, 2.0f, 3.0f, 4.0f};
inline constexpr int kMaxZoomLevel = 4;

// Drawing coordinates are rounded once, when drawn: to the nearest integer,
// halves to the even neighbour. Values far outside any device are held at a
// large finite pixel so that a wild input cannot overflow an int.
inline int roundPixel(double v)
{
    constexpr double kLimit = 1 << 30;
    if (!(v > -kLimit))
        return -(1 << 30);
    if (v > kLimit)
        return 1 << 30;
    return int(std::nearbyint(v));
}

// The coordinate mapping of the current output, shared by every drawing
// target: millimetres and percent of chord to device pixels. Written by the
// layout step, read by the render step and the figure drawing.
struct ViewGeometry {
    OutputMode mode = OutputMode::Screen;
    // Pixels per millimetre: a whole number on screen (never below 1), 1 in
    // the print preview, the printer's dots per inch / 25.4 on paper.
    float scale = 1;
    // Pixels per percent of chord: scale x chord x 0.01.
    float pointScale = 1;
    // The leading edge on the chord line, in pixels of the target.
    int originX = 50;
    int originY = 0;
    float originXf = 50;
    float originYf = 0;

    // The profile points in pixels: x = origin x + pointScale * x,
    // y = origin y + pointScale * (stored y), i.e. above the chord line for
    // an upper surface point.
    std::array<FPoint, kMaxProfilePoints> upperView{};
    std::array<FPoint, kMaxProfilePoints> lowerView{};

    // Rounded highest screen point of the upper surface, lowest of the lower
    // surface, and the rounded x of the trailing edge.
    int profileTop = 0;
    int profileBottom = 0;
    int trailingEdgeX = 0;

    // Print only: the page origin in millimetres, the number of pages the
    // print spreads over (1 or 2) and the page orientation.
    float pageOriginXmm = 0;
    float pageOriginYmm = 0;
    int pageCount = 1;
    bool portrait = true;
    // Print only: the left end of the check bar on its line, in pixels of
    // the page (placed by the layout step clear of the template).
    int checkBarX = 0;
    int checkBarY = 0;
};

// What the screen layout gives back to the window: the size of the new
// off-screen image (and of PaintBox1), and the scroll box's ranges and its
// new horizontal position.
struct ScreenLayout {
    QSize imageSize;
    int horizontalRange = 0;
    int horizontalPosition = 0;
    int verticalRange = 0;
};

// What the screen layout needs from the window: the size of the drawing
// area ScrollBox1 and the horizontal scroll position before the layout.
struct ScreenArea {
    int width = 0;
    int height = 0;
    int horizontalPosition = 0;
};

// The print setup of one preview or printer pass.
struct PageSetup {
    float originXmm = 0; // page origin in millimetres
    float originYmm = 0;
    int pageCount = 1;    // 2 draws the two-page marks
    bool portrait = true; // the first orientation item, "Portrait"
};
