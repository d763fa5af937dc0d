#include "cutting/SheetLayout.h"

#include <algorithm>

SheetLayout::Result SheetLayout::arrange(const std::vector<QRectF> &boxes, QSizeF sheet, double gap)
{
    Result result;
    gap = std::max(gap, 0.0);
    const double width = std::max(sheet.width(), 1.0);
    const double height = std::max(sheet.height(), 1.0);

    double stackBottom = 0; // bottom y of the sheet being filled
    double x = 0, rowTop = 0, rowHeight = 0;
    bool sheetEmpty = true;
    auto newSheet = [&](double w, double h) {
        if (!result.sheets.empty())
            stackBottom = result.sheets.back().top() - kSheetSpacing - h;
        result.sheets.emplace_back(0, stackBottom, w, h);
        x = gap;
        rowTop = stackBottom + h - gap;
        rowHeight = 0;
        sheetEmpty = true;
    };

    for (const QRectF &box : boxes) {
        const double w = box.width(), h = box.height();
        Placement place;
        if (w > width - 2 * gap || h > height - 2 * gap) {
            // Too big for the sheet: alone on a sheet grown to hold it.
            ++result.oversized;
            newSheet(std::max(width, w + 2 * gap), std::max(height, h + 2 * gap));
            place.sheet = int(result.sheets.size()) - 1;
            place.offset = QPointF(x - box.left(), rowTop - box.bottom());
            result.placements.push_back(place);
            sheetEmpty = false;
            x = result.sheets.back().right() + 1; // nothing else fits beside it
            rowHeight = result.sheets.back().height();
            continue;
        }
        if (result.sheets.empty())
            newSheet(width, height);
        const QRectF &current = result.sheets.back();
        if (!sheetEmpty && x + w > current.right() - gap) { // next row
            rowTop -= rowHeight + gap;
            x = gap;
            rowHeight = 0;
        }
        if (!sheetEmpty && rowTop - h < current.top() + gap)
            newSheet(width, height);
        place.sheet = int(result.sheets.size()) - 1;
        place.offset = QPointF(x - box.left(), rowTop - box.bottom());
        result.placements.push_back(place);
        x += w + gap;
        rowHeight = std::max(rowHeight, h);
        sheetEmpty = false;
    }
    return result;
}

SheetLayout::Result SheetLayout::fit(const QRectF &box, double margin)
{
    Result result;
    margin = std::max(margin, 0.0);
    result.sheets.push_back(box.adjusted(-margin, -margin, margin, margin));
    result.placements.push_back({0, QPointF(0, 0)});
    return result;
}
