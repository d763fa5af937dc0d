#pragma once

#include <QPolygonF>
#include <QRectF>
#include <QSizeF>

#include <functional>
#include <vector>

// Places parts on sheets by their shapes: each part is dropped from the top
// of the sheet onto what lies below it, at the place and the turn that keep
// the pile lowest, so that the thin nose and tail of one rib slide beside
// the thick middle of the next. A part is described by its outline
// polylines (mm, y up); it may be turned only by half turns when the grain
// is kept, by quarter turns otherwise. Sheets are stacked in one drawing as
// SheetLayout stacks them.
//
// Each part is taken as its column hull: in every 0.5 mm wide column, from
// its lowest to its highest point. That is exact for x-monotone outlines
// such as ribs and conservative for anything else, so parts never come
// closer than the gap.
namespace SheetNesting
{

struct Placement {
    int sheet = 0;
    int turn = 0;   // degrees anticlockwise about the part's origin, applied first
    QPointF offset; // then added
};

struct Result {
    std::vector<QRectF> sheets; // y up
    std::vector<Placement> placements;
    std::vector<int> order; // the parts in sheet order, as placed
    int oversized = 0;      // parts larger than the sheet, each on a grown sheet of its own
};

// Part p has outline shapeOf[p] (many parts may share one: copies, a
// database's repeated ribs); each of the shapeCount outlines is asked of
// outline(k), on every core, when its columns are worked out, once, and let
// go of at once: a long job never holds them all. keepFree: a box in sheet
// coordinates (from the sheet's bottom-left corner) that no part may cover
// on any sheet; empty for none.
Result arrange(size_t shapeCount, const std::function<std::vector<QPolygonF>(size_t)> &outline,
               const std::vector<int> &shapeOf, QSizeF sheet, double gap, bool quarterTurns,
               const QRectF &keepFree = QRectF());

} // namespace SheetNesting
