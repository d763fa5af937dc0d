#pragma once

#include <QPointF>
#include <QRectF>
#include <QSizeF>

#include <vector>

// Places the boxes of many parts on sheets of material, in rows from the
// top left, without overlap, the gap between parts and along the sheet's
// edges, starting a new sheet when one is full. Coordinates are millimetres
// with y upwards. Sheets are stacked downwards in one drawing, a sheet gap
// apart, the first with its bottom-left corner at the origin.
class SheetLayout
{
public:
    static constexpr double kSheetSpacing = 10; // between stacked sheets, mm

    struct Placement {
        int sheet = 0;
        QPointF offset; // added to the part's own coordinates
    };
    struct Result {
        std::vector<QRectF> sheets; // y up: top() is the lowest y
        std::vector<Placement> placements;
        // Parts larger than the sheet: each got a sheet of its own, grown to
        // hold it.
        int oversized = 0;
    };

    // The boxes in their own coordinates; sheet and gap in mm.
    static Result arrange(const std::vector<QRectF> &boxes, QSizeF sheet, double gap);
    // One drawing on a page of its own size plus margin on every side, in
    // the drawing's own coordinates (nothing moves).
    static Result fit(const QRectF &box, double margin);
};
