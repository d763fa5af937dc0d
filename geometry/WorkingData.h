#pragma once

#include <array>

// A point of the drawing in single precision: percent of chord for the
// profile points, view pixels for everything computed by the layout step.
struct FPoint {
    float x = 0;
    float y = 0;
};

inline bool operator==(FPoint a, FPoint b)
{
    return a.x == b.x && a.y == b.y;
}

// Room of the working arrays. A profile with more point lines, or a template
// with more figure lines, is refused when selected.
inline constexpr int kMaxProfilePoints = 512;
inline constexpr int kMaxFigures = 32;

// Columns of a figure row, in the order of a "FIGURE " line.
enum FigureField { FigKind = 0, FigX1 = 1, FigY1 = 2, FigX2 = 3, FigY2 = 4, FigAngle = 5 };

using FigureRow = std::array<int, 6>;
using ScaledFigureRow = std::array<float, 6>;

// The working copy of the selected profile and template. The profile store
// only sees these values again when the template is stored back, so figure
// edits stay here until then.
//
// Filled by TemplateDrawing::SelectProfile; the layout step adds the skin
// offset, the template points and the scaled figure values; the figure
// editing changes the figure table and the scaled values directly.
struct WorkingData {
    // Surfaces in percent of chord, leading edge first. y has its sign
    // reversed (positive below the chord line), like screen y.
    std::array<FPoint, kMaxProfilePoints> upper{};
    std::array<FPoint, kMaxProfilePoints> lower{};
    // Number of point lines minus 1; -1 for a profile without points.
    int lastPoint = 0;

    // Highest point of the upper surface above the chord line and deepest
    // point of the lower surface below it, as positive fractions of the
    // chord (0 when no point lies on that side).
    float upperExtent = 0;
    float lowerExtent = 0;

    // Template chord in whole millimetres (held as a real).
    float chord = 100;
    // Skin ("coffrage") thickness in tenths of a millimetre.
    float skinThickness = 10;
    // The skin thickness in pixels of the current output, and its nearest
    // integer (used by the tail search of the template outline).
    float skinOffset = 0;
    int skinOffsetRounded = 0;

    // Figures of the current template: kind, x1, y1, x2, y2, angle; lengths in
    // tenths of a millimetre from the leading edge on the chord line, x to
    // the rear, y downwards; angle in whole degrees.
    std::array<FigureRow, kMaxFigures> figures{};
    int lastFigure = -1;    // -1 when the template has no figure
    int currentFigure = -1; // -1 when none is selected
    bool figuresChanged = false;

    // Every figure value x scale x 0.1: pixels from the view origin for the
    // four coordinates (columns FigX1..FigY2). Recomputed by each layout step;
    // the figure editing moves them directly while dragging. The kind and
    // angle columns are scaled too and carry no meaning: read those from
    // the integer table.
    std::array<ScaledFigureRow, kMaxFigures> scaledFigures{};

    // The view points moved inwards by the skin offset, in view pixels, same
    // indexes as the profile points. Valid only when lastPoint > 0 and the
    // skin thickness is above 0.
    std::array<FPoint, kMaxProfilePoints> upperTemplate{};
    std::array<FPoint, kMaxProfilePoints> lowerTemplate{};
};
