#pragma once

#include "cutting/RibVectors.h"

#include <QByteArray>
#include <QPagedPaintDevice>
#include <QPainter>
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

// How several ribs are laid on the sheets: by their shapes, or by their
// boxes in rows.
enum class Nesting { Shape, Rows };

struct Options {
    Format format = Format::Svg;
    QSizeF sheet{600, 300}; // mm
    double gap = 3;         // mm, between ribs and along the sheet's edges
    RibVectors::LayerSet layers = RibVectors::allLayers();
    double kerf = 0; // mm the laser burns away: outer contours grow, inner ones shrink by half
    Nesting nesting = Nesting::Shape;
    bool freeGrain = false; // quarter turns allowed; else the chord stays along the sheet's length
    int copies = 1;         // each rib this many times (two wing halves: 2)
};

// The cutting options of the command line and the dialog from their texts:
// "--kerf MM", "--nest shape|rows", "--grain chord|free", "--copies N".
// False, with the faulty option in *error, for a bad value; empty texts keep
// the option as it is.
bool parseCutting(const QString &kerf, const QString &nest, const QString &grain,
                  const QString &copies, Options *options, QString *error);

// "600x300" (also with "X", "*" or a comma decimal) into a size; false when
// either side is not a positive number.
bool parseSheet(const QString &text, QSizeF *sheet);

// The ribs placed in drawing coordinates (mm, y up) and the sheets they lie
// on. A single rib keeps its own coordinates (leading edge at the origin)
// on a page of its size plus the gap; several are laid out on sheets.
struct Document {
    std::vector<RibVectors::Rib> ribs; // in sheet order
    std::vector<QRectF> sheets;        // y up
    std::vector<int> ribSheet;         // the sheet of each rib
    std::vector<int> ribTurn;          // degrees each rib was turned on its sheet
    RibVectors::LayerSet layers = RibVectors::allLayers();
    int oversized = 0;
    // Sheets of material (drawn on the "sheet" layer), not a page fitted
    // around one rib.
    bool material = false;
    // What the figures of each rib do against its outline, one line each.
    QStringList findings;
    // Share (0..1) of the sheets' area that the ribs' outer contours cover.
    double covered = 0;
    // PDF only: each page (a sheet, grown at its foot when the parts leave
    // no room) and the left end of its check bar's line, both y up.
    std::vector<QRectF> pages;
    std::vector<QPointF> checkBars;
};
// Figures against the outlines and the kerf (RibContours), copies, then
// the layout: one rib on a page of its own size, several nested or in rows.
Document arrange(std::vector<RibVectors::Rib> ribs, const Options &options);

// "3 planche(s), 41 % de leur surface couverte" or its English, with the
// ribs larger than the sheet.
QString report(const Document &doc);

// The name of the layer that shows the sheets' edges: "sheet".
QString sheetLayerName();

// The page of sheet s: the sheet, grown for its check bar where the layout
// placed one.
QRectF pageOf(const Document &doc, int s);
// Page s at full size with its top-left corner at the painter's origin,
// unitsPerMm device units a millimetre, with its check bar when it has one,
// no line thinner than `thinnest` device units (a coarse preview): the PDF
// pages, the printed pages and their preview are drawn here.
void paintPage(QPainter &p, const Document &doc, int s, double unitsPerMm, double thinnest = 0);
// Draws the sheets on a paged device (the PDF writer, a printer set to
// full page), a page each at the sheet's size, at full size from the
// device's resolution, with the check bars of a PDF layout.
void paintPages(QPagedPaintDevice &device, const Document &doc);

// The file contents; empty with *error set when the writer fails.
QByteArray svg(const Document &doc);
QByteArray pdf(const Document &doc);
QByteArray dxf(const Document &doc, QString *error);
QByteArray bytes(const Document &doc, Format format, QString *error);

// Writes bytes in one step: the file is replaced whole or left as it was.
bool write(const QString &path, const QByteArray &bytes, QString *error);
// The document's file made and written in one step, as bytes() and write()
// would (the same bytes), without holding the whole text in one buffer.
bool save(const QString &path, const Document &doc, Format format, QString *error);

} // namespace VectorExport
