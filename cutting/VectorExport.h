#pragma once

#include "cutting/RibVectors.h"

#include <QByteArray>
#include <QRectF>
#include <QSizeF>
#include <QString>

#include <vector>

// Ribs written as files for cutting machines and plotters: laid out on
// sheets, then written as SVG, PDF or DXF in millimetres at full size.
namespace VectorExport
{

enum class Format { Svg, Dxf, Pdf, Dat };

// "svg", "dxf", "pdf" or "dat" (any letter case); false for anything else.
bool parseFormat(const QString &text, Format *format);
QString suffix(Format format);

struct Options {
    Format format = Format::Svg;
    QSizeF sheet{600, 300}; // mm
    double gap = 3;         // mm, between ribs and along the sheet's edges
    RibVectors::LayerSet layers = RibVectors::allLayers();
};

// "600x300" (also with "X", "*" or a comma decimal) into a size; false when
// either side is not a positive number.
bool parseSheet(const QString &text, QSizeF *sheet);

// The ribs placed in drawing coordinates (mm, y up) and the sheets they lie
// on. A single rib keeps its own coordinates (leading edge at the origin)
// on a page of its size plus the gap; several are laid out on sheets.
struct Document {
    std::vector<RibVectors::Rib> ribs;
    std::vector<QRectF> sheets; // y up
    std::vector<int> ribSheet;  // the sheet of each rib
    RibVectors::LayerSet layers = RibVectors::allLayers();
    int oversized = 0;
};
Document arrange(std::vector<RibVectors::Rib> ribs, const Options &options);

// The file contents; empty with *error set when the writer fails.
QByteArray svg(const Document &doc);
QByteArray pdf(const Document &doc);
QByteArray dxf(const Document &doc, QString *error);
QByteArray bytes(const Document &doc, Format format, QString *error);

// Writes bytes in one step: the file is replaced whole or left as it was.
bool write(const QString &path, const QByteArray &bytes, QString *error);

} // namespace VectorExport
