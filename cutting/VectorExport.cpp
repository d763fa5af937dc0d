// Writers of the vector export: SVG through Qt's SVG generator, PDF through
// Qt's PDF writer, DXF through the DXF library.
#include "cutting/VectorExport.h"

#include "cutting/SheetLayout.h"
#include "profiles/Cp1252.h"
#include "profiles/WholeFile.h"
#include "ui/Language.h"

#include <QBuffer>
#include <QFont>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QSvgGenerator>
#include <QTemporaryFile>

#include <dl_dxf.h>

#include <algorithm>
#include <cmath>
#include <memory>

namespace VectorExport
{

using RibVectors::Shape;

namespace
{

// Colours by layer: red cuts, blue cut-outs, grey reference lines, green
// marks, black text (the usual mapping of laser programs).
const QColor kLayerColours[RibVectors::LayerCount] = {QColor(255, 0, 0), QColor(0, 0, 255),
                                                      QColor(128, 128, 128), QColor(0, 160, 0),
                                                      QColor(0, 0, 0)};
// DXF colour numbers of the same layers.
const int kDxfColours[RibVectors::LayerCount] = {1, 5, 8, 3, 7};
constexpr double kLineWidthMm = 0.1;

// Draws the shapes of one layer (or all, layer -1) of the ribs on one
// sheet (or all, sheet -1). toDevice maps mm (y up) to the painter's units;
// unitsPerMm is its scale.
void paintShapes(QPainter &p, const Document &doc, int sheet, int layer, const QTransform &toDevice,
                 double unitsPerMm)
{
    for (size_t r = 0; r < doc.ribs.size(); ++r) {
        if (sheet >= 0 && doc.ribSheet[r] != sheet)
            continue;
        for (const Shape &s : doc.ribs[r].shapes) {
            if ((layer >= 0 && s.layer != layer) || !doc.layers[size_t(s.layer)])
                continue;
            const QColor colour = kLayerColours[s.layer];
            p.setPen(QPen(colour, kLineWidthMm * unitsPerMm, Qt::SolidLine, Qt::RoundCap,
                          Qt::RoundJoin));
            p.setBrush(Qt::NoBrush);
            const QPointF c = toDevice.map(s.centre);
            const double r = s.radius * unitsPerMm;
            switch (s.kind) {
            case Shape::Path:
                p.drawPath(toDevice.map(s.path));
                break;
            case Shape::Circle:
                p.drawEllipse(c, r, r);
                break;
            case Shape::Arc:
                p.drawArc(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r), qRound(s.startDeg * 16),
                          qRound(s.spanDeg * 16));
                break;
            case Shape::Label: {
                QFont font(QStringLiteral("Liberation Sans"));
                font.setPixelSize(std::max(1, int(std::lround(s.height * 1.4 * unitsPerMm))));
                p.setFont(font);
                p.setPen(colour);
                p.drawText(c, s.text);
                break;
            }
            }
        }
    }
}

QRectF documentArea(const Document &doc)
{
    QRectF area;
    for (const QRectF &s : doc.sheets)
        area = area.isNull() ? s : area.united(s);
    return area;
}

QString mmText(double v)
{
    return QString::number(v, 'f', 3).remove(QRegularExpression(QStringLiteral("\\.?0+$")));
}

} // namespace

bool parseFormat(const QString &text, Format *format)
{
    const QString t = text.trimmed().toLower();
    const std::pair<const char *, Format> known[] = {
        {"svg", Format::Svg}, {"dxf", Format::Dxf}, {"pdf", Format::Pdf}, {"dat", Format::Dat}};
    for (const auto &k : known) {
        if (t == QLatin1String(k.first)) {
            *format = k.second;
            return true;
        }
    }
    return false;
}

QString suffix(Format format)
{
    switch (format) {
    case Format::Svg:
        return QStringLiteral("svg");
    case Format::Dxf:
        return QStringLiteral("dxf");
    case Format::Pdf:
        return QStringLiteral("pdf");
    case Format::Dat:
        return QStringLiteral("dat");
    }
    return {};
}

bool parseSheet(const QString &text, QSizeF *sheet)
{
    const QStringList parts =
        text.trimmed().split(QRegularExpression(QStringLiteral("[xX*]")), Qt::KeepEmptyParts);
    if (parts.size() != 2)
        return false;
    bool okW = false, okH = false;
    const double w = QString(parts[0]).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&okW);
    const double h = QString(parts[1]).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&okH);
    // Ten metres is far beyond any sheet of material.
    if (!okW || !okH || !(w > 0) || !(h > 0) || w > 10000 || h > 10000)
        return false;
    *sheet = QSizeF(w, h);
    return true;
}

Document arrange(std::vector<RibVectors::Rib> ribs, const Options &options)
{
    Document doc;
    doc.layers = options.layers;
    std::vector<QRectF> boxes;
    boxes.reserve(ribs.size());
    for (const RibVectors::Rib &r : ribs)
        boxes.push_back(r.bounds());
    const SheetLayout::Result layout =
        ribs.size() == 1 ? SheetLayout::fit(boxes.front(), options.gap)
                         : SheetLayout::arrange(boxes, options.sheet, options.gap);
    doc.sheets = layout.sheets;
    doc.oversized = layout.oversized;
    for (size_t i = 0; i < ribs.size(); ++i) {
        ribs[i].translate(layout.placements[i].offset);
        doc.ribSheet.push_back(layout.placements[i].sheet);
    }
    doc.ribs = std::move(ribs);
    return doc;
}

QByteArray svg(const Document &doc)
{
    const QRectF area = documentArea(doc);
    // SVG counts y downwards: the drawing's (x, y) is (x, -y) there, and the
    // view box is the area in millimetres.
    const QTransform flip(1, 0, 0, -1, 0, 0);
    const QRectF viewBox(area.left(), -area.bottom(), area.width(), area.height());

    QByteArray out;
    out += "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\n";
    out += QStringLiteral("<svg width=\"%1mm\" height=\"%2mm\" viewBox=\"%3 %4 %5 %6\" "
                          "xmlns=\"http://www.w3.org/2000/svg\" version=\"1.2\" "
                          "baseProfile=\"tiny\">\n<title>NERVURIA</title>\n")
               .arg(mmText(area.width()), mmText(area.height()), mmText(viewBox.left()),
                    mmText(viewBox.top()), mmText(viewBox.width()), mmText(viewBox.height()))
               .toUtf8();
    // Each layer drawn by the generator on its own, then kept as one group
    // named after the layer.
    for (int layer = 0; layer < RibVectors::LayerCount; ++layer) {
        if (!doc.layers[size_t(layer)])
            continue;
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QSvgGenerator generator;
        generator.setOutputDevice(&buffer);
        generator.setViewBox(viewBox);
        generator.setSize(QSize(std::max(1, int(std::ceil(area.width()))),
                                std::max(1, int(std::ceil(area.height())))));
        {
            QPainter p(&generator);
            paintShapes(p, doc, -1, layer, flip, 1.0);
        }
        const QByteArray text = buffer.data();
        const qsizetype from = text.indexOf("</defs>");
        const qsizetype to = text.lastIndexOf("</svg>");
        const QByteArray body =
            from >= 0 && to > from ? text.mid(from + 7, to - from - 7) : QByteArray();
        out += "<g id=\"" + RibVectors::layerName(layer).toLatin1() + "\">" + body + "</g>\n";
    }
    out += "</svg>\n";
    return out;
}

QByteArray pdf(const Document &doc)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    constexpr int kResolution = 1200;
    const double k = kResolution / 25.4;
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(kResolution);
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        writer.setTitle(QStringLiteral("NERVURIA"));
        writer.setCreator(QStringLiteral("NERVURIA"));
        auto pageFor = [](const QRectF &sheet) {
            return QPageSize(sheet.size(), QPageSize::Millimeter, QString(), QPageSize::ExactMatch);
        };
        if (doc.sheets.empty())
            return {};
        writer.setPageSize(pageFor(doc.sheets.front()));
        QPainter p(&writer);
        for (size_t s = 0; s < doc.sheets.size(); ++s) {
            const QRectF &sheet = doc.sheets[s];
            if (s > 0) {
                writer.setPageSize(pageFor(sheet));
                writer.newPage();
            }
            // mm (y up) to the page's dots, from the sheet's top-left corner.
            const QTransform toDevice(k, 0, 0, -k, -sheet.left() * k, sheet.bottom() * k);
            paintShapes(p, doc, int(s), -1, toDevice, k);
        }
    }
    return buffer.data();
}

QByteArray dxf(const Document &doc, QString *error)
{
    QTemporaryFile file;
    if (!file.open()) {
        if (error)
            *error = file.errorString();
        return {};
    }
    const std::string path = QFile::encodeName(file.fileName()).toStdString();
    {
        DL_Dxf dxfDoc;
        std::unique_ptr<DL_WriterA> dw(dxfDoc.out(path.c_str(), DL_Codes::AC1015));
        if (!dw) {
            if (error)
                *error = Language::pick(QStringLiteral("Ecriture DXF impossible"),
                                        QStringLiteral("Cannot write DXF"));
            return {};
        }
        const QRectF area = documentArea(doc);
        dxfDoc.writeHeader(*dw);
        dw->dxfString(9, "$INSUNITS");
        dw->dxfInt(70, 4); // millimetres
        dw->dxfString(9, "$MEASUREMENT");
        dw->dxfInt(70, 1); // metric
        dw->dxfString(9, "$EXTMIN");
        dw->dxfReal(10, area.left());
        dw->dxfReal(20, area.top());
        dw->dxfReal(30, 0.0);
        dw->dxfString(9, "$EXTMAX");
        dw->dxfReal(10, area.right());
        dw->dxfReal(20, area.bottom());
        dw->dxfReal(30, 0.0);
        dw->sectionEnd();

        dw->sectionTables();
        dxfDoc.writeVPort(*dw);
        dw->tableLinetypes(3);
        dxfDoc.writeLinetype(*dw, DL_LinetypeData("BYBLOCK", "", 0, 0, 0.0));
        dxfDoc.writeLinetype(*dw, DL_LinetypeData("BYLAYER", "", 0, 0, 0.0));
        dxfDoc.writeLinetype(*dw, DL_LinetypeData("CONTINUOUS", "Solid line", 0, 0, 0.0));
        dw->tableEnd();
        dw->tableLayers(1 + RibVectors::LayerCount);
        dxfDoc.writeLayer(*dw, DL_LayerData("0", 0),
                          DL_Attributes("", DL_Codes::black, 100, "CONTINUOUS", 1.0));
        for (int layer = 0; layer < RibVectors::LayerCount; ++layer)
            dxfDoc.writeLayer(*dw, DL_LayerData(RibVectors::layerName(layer).toStdString(), 0),
                              DL_Attributes("", kDxfColours[layer], 100, "CONTINUOUS", 1.0));
        dw->tableEnd();
        dw->tableStyle(1);
        dxfDoc.writeStyle(*dw, DL_StyleData("Standard", 0, 0.0, 1.0, 0.0, 0, 2.5, "txt", ""));
        dw->tableEnd();
        dxfDoc.writeView(*dw);
        dxfDoc.writeUcs(*dw);
        dw->tableAppid(1);
        dxfDoc.writeAppid(*dw, "ACAD");
        dw->tableEnd();
        dxfDoc.writeDimStyle(*dw, 1, 1, 1, 1, 1);
        dxfDoc.writeBlockRecord(*dw);
        dw->tableEnd();
        dw->sectionEnd();

        dw->sectionBlocks();
        dxfDoc.writeBlock(*dw, DL_BlockData("*Model_Space", 0, 0.0, 0.0, 0.0));
        dxfDoc.writeEndBlock(*dw, "*Model_Space");
        dxfDoc.writeBlock(*dw, DL_BlockData("*Paper_Space", 0, 0.0, 0.0, 0.0));
        dxfDoc.writeEndBlock(*dw, "*Paper_Space");
        dxfDoc.writeBlock(*dw, DL_BlockData("*Paper_Space0", 0, 0.0, 0.0, 0.0));
        dxfDoc.writeEndBlock(*dw, "*Paper_Space0");
        dw->sectionEnd();

        dw->sectionEntities();
        for (const RibVectors::Rib &rib : doc.ribs) {
            for (const Shape &s : rib.shapes) {
                if (!doc.layers[size_t(s.layer)])
                    continue;
                const DL_Attributes attr(RibVectors::layerName(s.layer).toStdString(), 256, -1,
                                         "BYLAYER", 1.0);
                switch (s.kind) {
                case Shape::Path: {
                    QPolygonF points = RibVectors::flatten(s.path);
                    if (s.closed && points.size() > 1 && points.first() == points.last())
                        points.removeLast();
                    if (points.size() < 2)
                        break;
                    dxfDoc.writePolyline(
                        *dw, DL_PolylineData(int(points.size()), 0, 0, s.closed ? 1 : 0), attr);
                    for (const QPointF &v : points)
                        dxfDoc.writeVertex(*dw, DL_VertexData(v.x(), v.y(), 0.0, 0.0));
                    dxfDoc.writePolylineEnd(*dw);
                    break;
                }
                case Shape::Circle:
                    dxfDoc.writeCircle(
                        *dw, DL_CircleData(s.centre.x(), s.centre.y(), 0.0, s.radius), attr);
                    break;
                case Shape::Arc:
                    dxfDoc.writeArc(*dw,
                                    DL_ArcData(s.centre.x(), s.centre.y(), 0.0, s.radius,
                                               s.startDeg, s.startDeg + s.spanDeg),
                                    attr);
                    break;
                case Shape::Label:
                    dxfDoc.writeText(
                        *dw,
                        DL_TextData(s.centre.x(), s.centre.y(), 0.0, 0.0, 0.0, 0.0, s.height, 1.0,
                                    0, 0, 0, Cp1252::encode(s.text).toStdString(), "Standard", 0.0),
                        attr);
                    break;
                }
            }
        }
        dw->sectionEnd();
        dxfDoc.writeObjects(*dw);
        dxfDoc.writeObjectsEnd(*dw);
        dw->dxfEOF();
        dw->close();
    }
    file.seek(0);
    QFile reread(file.fileName());
    if (!reread.open(QIODevice::ReadOnly)) {
        if (error)
            *error = reread.errorString();
        return {};
    }
    return reread.readAll();
}

QByteArray bytes(const Document &doc, Format format, QString *error)
{
    switch (format) {
    case Format::Svg:
        return svg(doc);
    case Format::Pdf:
        return pdf(doc);
    case Format::Dxf:
        return dxf(doc, error);
    case Format::Dat:
        break;
    }
    if (error)
        *error = QStringLiteral("dat");
    return {};
}

bool write(const QString &path, const QByteArray &data, QString *error)
{
    return WholeFile::write(path, data, error);
}

} // namespace VectorExport
