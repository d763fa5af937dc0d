#pragma once

#include <QByteArray>
#include <QPolygonF>
#include <QString>

#include <map>
#include <vector>

// The polylines of a DXF file as an independent reader (dxflib) gives them
// back, by layer name; a closed polyline does not repeat its first point.
namespace DxfPolylines
{

struct Line {
    QPolygonF points;
    bool closed = false;
};

using ByLayer = std::map<QString, std::vector<Line>>;

// Empty when the bytes do not read as DXF.
ByLayer read(const QByteArray &dxf);

} // namespace DxfPolylines
