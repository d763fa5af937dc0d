// Writers of the vector export: SVG through Qt's SVG generator, PDF through
// Qt's PDF writer, DXF through the DXF library.
#include "cutting/VectorExport.h"

#include "cutting/Parallel.h"
#include "cutting/RibContours.h"
#include "cutting/SheetLayout.h"
#include "cutting/SheetNesting.h"
#include "geometry/Polygons.h"
#include "profiles/Cp1252.h"
#include "profiles/ProfileStore.h"
#include "profiles/WholeFile.h"
#include "render/TemplateDrawing.h"
#include "ui/Language.h"

#include <QBuffer>
#include <QFont>
#include <QHash>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QSvgGenerator>
#include <QTemporaryFile>

#include <dl_dxf.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

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

// Draws the shapes of one layer (or all, layer -1) of one rib. toDevice
// maps mm (y up) to the painter's units; unitsPerMm is its scale.
void paintRib(QPainter &p, const Document &doc, size_t rib, int layer, const QTransform &toDevice,
              double unitsPerMm, double thinnest = 0)
{
    for (const Shape &s : doc.ribs[rib].shapes) {
        if ((layer >= 0 && s.layer != layer) || !doc.layers[size_t(s.layer)])
            continue;
        const QColor colour = kLayerColours[s.layer];
        p.setPen(QPen(colour, std::max(kLineWidthMm * unitsPerMm, thinnest), Qt::SolidLine,
                      Qt::RoundCap, Qt::RoundJoin));
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

// The same for every rib on one sheet (or all, sheet -1).
void paintShapes(QPainter &p, const Document &doc, int sheet, int layer, const QTransform &toDevice,
                 double unitsPerMm, double thinnest = 0)
{
    for (size_t r = 0; r < doc.ribs.size(); ++r)
        if (sheet < 0 || doc.ribSheet[r] == sheet)
            paintRib(p, doc, r, layer, toDevice, unitsPerMm, thinnest);
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

// The layers in the order a laser follows the file: the cut layer holds each
// rib's inner contours before the outer one that frees it (the figures layer
// only has figures of ribs without an outline), then what is only engraved
// or shown.
constexpr int kLayerOrder[RibVectors::LayerCount] = {
    RibVectors::Figures, RibVectors::Cut, RibVectors::Profile, RibVectors::Marks, RibVectors::Text};
const QColor kSheetColour(255, 0, 255);
constexpr int kDxfSheetColour = 6; // magenta: neither cut nor engraved

// Room the PDF check bar takes on a page, from its line's left end: the
// ticks above, the label under, the pen at both ends.
QRectF checkBarBox(QPointF lineLeft)
{
    return QRectF(lineLeft.x() - 1, lineLeft.y() - TemplateDrawing::kCheckBarBelowMm,
                  TemplateDrawing::kCheckBarMm + 2,
                  TemplateDrawing::kCheckBarAboveMm + TemplateDrawing::kCheckBarBelowMm);
}

// What a rib covers, as polylines for the nesting: its paths and the boxes
// of its circles and labels.
std::vector<QPolygonF> footprint(const RibVectors::Rib &rib)
{
    std::vector<QPolygonF> lines;
    for (const Shape &s : rib.shapes) {
        if (s.kind == Shape::Path) {
            QPolygonF line = RibVectors::flatten(s.path, 0.02);
            if (s.closed && !line.isEmpty())
                line << line.first();
            lines.push_back(line);
        } else {
            const QRectF box = RibVectors::bounds(s);
            lines.push_back(QPolygonF(box));
        }
    }
    return lines;
}

// The outer contour's area: the largest closed path of the cut layer, which
// also holds the inner contours.
double outerArea(const RibVectors::Rib &rib)
{
    double largest = 0;
    for (const Shape &s : rib.shapes)
        if (s.layer == RibVectors::Cut && s.kind == Shape::Path && s.closed)
            largest = std::max(largest, std::abs(Polygons::signedArea(RibContours::ring(s))));
    return largest;
}

// Everything the contour work and the nesting read of a rib: each shape's
// kind, layer, figure and geometry, and a label's length (its box) but not
// its letters. Two ribs with the same key come out of both the same.
QByteArray shapeKey(const RibVectors::Rib &rib)
{
    qsizetype size = 0;
    for (const Shape &s : rib.shapes)
        size += 96 + s.path.elementCount() * qsizetype(sizeof(int) + 2 * sizeof(double));
    QByteArray key(size, Qt::Uninitialized);
    char *at = key.data();
    auto put = [&at](const auto &value) {
        std::memcpy(at, &value, sizeof value);
        at += sizeof value;
    };
    for (const Shape &s : rib.shapes) {
        put(int(s.kind));
        put(s.layer);
        put(s.figure);
        put(s.closed);
        const double values[] = {s.centre.x(), s.centre.y(), s.radius,  s.startDeg,
                                 s.spanDeg,    s.height,     s.turnDeg, double(s.text.size())};
        put(values);
        put(s.path.elementCount());
        for (int i = 0; i < s.path.elementCount(); ++i) {
            const QPainterPath::Element e = s.path.elementAt(i);
            put(int(e.type));
            put(e.x);
            put(e.y);
        }
        // Fill rule: two paths that differ only there are not the same.
        put(int(s.path.fillRule()));
    }
    key.truncate(at - key.constData());
    return key;
}

// What the SVG generator drew, without its header and definitions.
QByteArrayView svgBody(const QByteArray &text)
{
    const qsizetype from = text.indexOf("</defs>");
    const qsizetype to = text.lastIndexOf("</svg>");
    return from >= 0 && to > from ? QByteArrayView(text).sliced(from + 7, to - from - 7)
                                   : QByteArrayView();
}

// Qt's SVG generator ends a closed path with a line back to its start, not
// with a closepath: SVG readers then take it for an open path whose ends
// happen to meet, which a laser program may refuse to offset or fill. Each
// subpath of a d attribute that comes back to its first point is closed
// with "Z" in place of that last line.
QByteArray withClosepaths(QByteArrayView body)
{
    static const QByteArrayView open(" d=\"");
    QByteArray out;
    out.reserve(body.size());
    qsizetype at = 0;
    while (true) {
        const qsizetype d = body.indexOf(open, at);
        const qsizetype from = d < 0 ? -1 : d + open.size();
        const qsizetype to = from < 0 ? -1 : body.indexOf('"', from);
        if (to < 0) {
            out.append(body.constData() + at, body.size() - at);
            return out;
        }
        out.append(body.constData() + at, from - at);
        // Subpath by subpath: "Mx,y L... Lx,y" with its first point again
        // after the last " L" becomes "Mx,y L... Z".
        qsizetype m = from;
        while (m < to) {
            qsizetype next = body.indexOf('M', m + 1);
            if (next < 0 || next > to)
                next = to;
            const QByteArrayView sub(body.constData() + m, next - m);
            const QByteArrayView trimmed = sub.trimmed();
            const qsizetype firstEnd = trimmed.indexOf(' ');
            const qsizetype lastL = trimmed.lastIndexOf(QByteArrayView(" L"));
            // (a line or curve before that last line: a path, not a point)
            const bool closes = trimmed.startsWith('M') && firstEnd > 1 && lastL > firstEnd &&
                                trimmed.sliced(lastL + 2) == trimmed.sliced(1, firstEnd - 1);
            if (closes) {
                const qsizetype lead = trimmed.data() - sub.data();
                out.append(sub.data(), lead + lastL);
                out.append(" Z");
                out.append(trimmed.data() + trimmed.size(), sub.size() - lead - trimmed.size());
            } else {
                out.append(sub.data(), sub.size());
            }
            m = next;
        }
        at = to;
    }
}

// One group of the SVG file: what draw paints with Qt's SVG generator over
// the file's view box, without the generator's header, under the id given.
template <typename Draw>
QByteArray svgGroup(const QString &id, const QRectF &area, const QRectF &viewBox, Draw &&draw)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setViewBox(viewBox);
    generator.setSize(QSize(std::max(1, int(std::ceil(area.width()))),
                            std::max(1, int(std::ceil(area.height())))));
    {
        QPainter p(&generator);
        draw(p);
    }
    return "<g id=\"" + id.toLatin1() + "\">" + withClosepaths(svgBody(buffer.data())) + "</g>\n";
}

// The DXF library's writer, with every group code added to one string in
// memory rather than written and flushed to a file one by one; the file is
// then written in one step. Numbers keep four decimals, the 0.1 µm grid the
// polygon library works on, trailing zeros dropped.
class BufferWriter : public DL_WriterA
{
public:
    // value with four decimals at most, at least one, written from out
    // (48 characters of room); returns the end. Whole units of 0.1 µm written
    // as integers with the point put in: several times faster than
    // formatting a double.
    static char *fixed4(char *out, double value)
    {
        const double scaled = value * 1e4;
        if (!(std::abs(scaled) < 9e15))
            return std::to_chars(out, out + 48, value, std::chars_format::fixed, 4).ptr;
        // On the grid the outlines were checked on (0.1 µm).
        const long long n = Polygons::gridUnits(value);
        char *end = out;
        const unsigned long long u = static_cast<unsigned long long>(n < 0 ? -n : n);
        if (n < 0)
            *end++ = '-';
        end = std::to_chars(end, out + 48, u / 10000).ptr;
        *end++ = '.';
        // The four decimals two by two.
        static constexpr char kPairs[] = "00010203040506070809101112131415161718192021222324"
                                         "25262728293031323334353637383940414243444546474849"
                                         "50515253545556575859606162636465666768697071727374"
                                         "75767778798081828384858687888990919293949596979899";
        const unsigned fraction = unsigned(u % 10000);
        std::memcpy(end, kPairs + 2 * (fraction / 100), 2);
        std::memcpy(end + 2, kPairs + 2 * (fraction % 100), 2);
        end += 4;
        while (end[-1] == '0' && end[-2] != '.')
            --end;
        return end;
    }

    // Room beyond what is counted for: a file's head, or the lines that
    // close it.
    static constexpr qsizetype kSpare = 1 << 16;

    // The text goes into out, which is given room for bytes and kSpare at
    // once (more when needed) and cut to what was written by finish(). A
    // buffer used before keeps its memory when that is room enough; what it
    // held is not kept.
    BufferWriter(QByteArray &out, qsizetype bytes) : DL_WriterA("", DL_Codes::AC1015), m_out(out)
    {
        if (m_out.capacity() < bytes + kSpare)
            m_out = QByteArray();
        m_out.resize(bytes + kSpare);
    }
    void finish() { m_out.truncate(m_used); }
    // What is written from here on goes where the text written so far was,
    // its handles numbered from next.
    void restart(unsigned long next)
    {
        m_used = 0;
        m_handle = next;
    }
    unsigned long nextHandle() const { return m_handle; }
    void dxfReal(int gc, double value) const override
    {
        char text[48];
        char *end = fixed4(text, value);
        dxfString(gc, std::string_view(text, size_t(end - text)));
    }
    // The most vertex() writes for a point within box: its two group codes
    // and line ends, and each coordinate with a sign, its whole digits, a
    // point and four decimals. (A curve flattened into more points than it
    // has elements takes more: the text then grows.)
    static qsizetype vertexRoom(const QRectF &box)
    {
        const double largest = std::max({std::abs(box.left()), std::abs(box.right()),
                                         std::abs(box.top()), std::abs(box.bottom())});
        qsizetype digits = 1;
        for (double limit = 10; limit <= largest + 1 && digits < 20; limit *= 10)
            ++digits;
        return 4 + 5 + 1 + 2 * (digits + 6);
    }
    // A vertex of a light polyline as the library writes it (group codes
    // 10 and 20, no bulge), put straight into the text: a polyline is most
    // of a cutting file.
    void vertex(double x, double y) const
    {
        constexpr qsizetype kMost = 112;
        char *const start = room(kMost);
        char *end = start;
        std::memcpy(end, " 10\n", 4);
        end = fixed4(end + 4, x);
        std::memcpy(end, "\n 20\n", 5);
        end = fixed4(end + 5, y);
        *end++ = '\n';
        m_used -= kMost - qsizetype(end - start);
    }
    void dxfInt(int gc, int value) const override
    {
        char text[16];
        auto [end, ec] = std::to_chars(text, text + sizeof text, value);
        dxfString(gc, std::string_view(text, size_t(end - text)));
    }
    void dxfHex(int gc, int value) const override
    {
        char text[16];
        auto [end, ec] = std::to_chars(text, text + sizeof text, unsigned(value), 16);
        std::transform(text, end, text, [](char c) { return char(std::toupper(c)); });
        dxfString(gc, std::string_view(text, size_t(end - text)));
    }
    void dxfString(int gc, const char *value) const override
    {
        dxfString(gc, std::string_view(value));
    }
    void dxfString(int gc, const std::string &value) const override
    {
        dxfString(gc, std::string_view(value));
    }

private:
    void dxfString(int gc, std::string_view value) const
    {
        const qsizetype most = 16 + qsizetype(value.size());
        char *const start = room(most);
        char *end = start;
        if (gc < 100)
            *end++ = ' ';
        if (gc < 10)
            *end++ = ' ';
        end = std::to_chars(end, start + 12, gc).ptr;
        *end++ = '\n';
        std::memcpy(end, value.data(), value.size());
        end += value.size();
        *end++ = '\n';
        m_used -= most - qsizetype(end - start);
    }
    // n bytes of room at the end of the text, taken as written.
    char *room(qsizetype n) const
    {
        if (m_used + n > m_out.size())
            m_out.resize(std::max(2 * m_out.size(), m_used + n));
        char *at = m_out.data() + m_used;
        m_used += n;
        return at;
    }
    QByteArray &m_out;
    mutable qsizetype m_used = 0;
};

// Where the PDF check bar of a sheet goes: a corner free of every rib's
// box, else a strip added at the page's foot.
void placeCheckBars(Document &doc, double gap, bool cornerKept)
{
    const double margin = std::max(gap, 3.0);
    for (size_t s = 0; s < doc.sheets.size(); ++s) {
        const QRectF sheet = doc.sheets[s];
        const double below = TemplateDrawing::kCheckBarBelowMm;
        const double above = TemplateDrawing::kCheckBarAboveMm;
        const double length = TemplateDrawing::kCheckBarMm;
        const QPointF corners[] = {
            {sheet.left() + margin, sheet.top() + margin + below},
            {sheet.right() - margin - length, sheet.top() + margin + below},
            {sheet.left() + margin, sheet.bottom() - margin - above},
            {sheet.right() - margin - length, sheet.bottom() - margin - above}};
        bool found = false;
        if (cornerKept) { // the nesting left the first corner free
            doc.pages.push_back(sheet);
            doc.checkBars.push_back(corners[0]);
            continue;
        }
        for (const QPointF &at : corners) {
            const QRectF box = checkBarBox(at).adjusted(-gap, -gap, gap, gap);
            if (!sheet.contains(checkBarBox(at)))
                continue;
            bool clear = true;
            for (size_t r = 0; r < doc.ribs.size() && clear; ++r)
                clear = doc.ribSheet[r] != int(s) || !doc.ribs[r].bounds().intersects(box);
            if (clear) {
                doc.pages.push_back(sheet);
                doc.checkBars.push_back(at);
                found = true;
                break;
            }
        }
        if (!found) {
            const double strip = margin + below + above;
            QRectF page = sheet.adjusted(0, -strip, 0, 0);
            page.setWidth(std::max(page.width(), length + 2 * margin));
            doc.pages.push_back(page);
            doc.checkBars.push_back(QPointF(page.left() + margin, page.top() + margin + below));
        }
    }
}

} // namespace

bool parseCutting(const QString &kerf, const QString &nest, const QString &grain,
                  const QString &copies, Options *options, QString *error)
{
    auto fail = [&](const QString &what, const QString &value) {
        if (error)
            *error = what + QStringLiteral(": ") + value;
        return false;
    };
    if (!kerf.isEmpty()) {
        bool ok = false;
        const double k = QString(kerf).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
        // A kerf is a fraction of a millimetre; 5 mm is no laser's.
        if (!ok || !(k >= 0) || k > 5)
            return fail(QStringLiteral("Bad kerf"), kerf);
        options->kerf = k;
    }
    if (!nest.isEmpty()) {
        if (nest == QLatin1String("shape"))
            options->nesting = Nesting::Shape;
        else if (nest == QLatin1String("rows"))
            options->nesting = Nesting::Rows;
        else
            return fail(QStringLiteral("Bad nesting (shape or rows)"), nest);
    }
    if (!grain.isEmpty()) {
        if (grain == QLatin1String("chord"))
            options->freeGrain = false;
        else if (grain == QLatin1String("free"))
            options->freeGrain = true;
        else
            return fail(QStringLiteral("Bad grain (chord or free)"), grain);
    }
    if (!copies.isEmpty()) {
        bool ok = false;
        const int n = copies.toInt(&ok);
        if (!ok || n < 1 || n > 1000)
            return fail(QStringLiteral("Bad number of copies"), copies);
        options->copies = n;
    }
    return true;
}

QString sheetLayerName()
{
    return QStringLiteral("sheet");
}

QString report(const Document &doc)
{
    QString text = Language::pick(QStringLiteral("%1 planche(s), %2 % de leur surface couverte"),
                                  QStringLiteral("%1 sheet(s), %2 % of their area covered"))
                       .arg(doc.sheets.size())
                       .arg(doc.covered * 100, 0, 'f', 1);
    if (doc.oversized > 0)
        text += Language::pick(QStringLiteral("\n%1 nervure(s) plus grande(s) que la planche, "
                                              "chacune sur une planche à sa taille"),
                               QStringLiteral("\n%1 rib(s) larger than the sheet, each on a sheet "
                                              "of its own size"))
                    .arg(doc.oversized);
    return text;
}

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
    // The contour work of each distinct rib once: its repeats (the same
    // section at the same chord under other names) take a copy of the
    // result, their labels' own texts put back.
    struct Contoured {
        std::vector<Shape> shapes;
        std::vector<RibContours::Finding> found;
    };
    // Keys hashed on every core beside their making: only the table's own
    // work is left to the one thread that tells them apart.
    struct Hashed {
        const QByteArray *key;
        size_t hash;
        bool operator==(const Hashed &o) const { return hash == o.hash && *key == *o.key; }
    };
    struct ByHash {
        size_t operator()(const Hashed &h) const { return h.hash; }
    };
    std::unordered_map<Hashed, int, ByHash> seen;
    std::vector<Contoured> distinct;
    std::vector<int> kind;       // the distinct rib each rib is
    std::vector<size_t> firstOf; // the first rib of each distinct rib
    kind.reserve(ribs.size());
    // Each rib's key on every core, then told apart in order.
    std::vector<QByteArray> keys(ribs.size());
    std::vector<size_t> hashes(ribs.size());
    Parallel::forEach(ribs.size(), [&](size_t i, int) {
        RibVectors::Rib &rib = ribs[i];
        // Figures left out are left out of the cut too, as when the ribs are
        // built without them: their inner contours would join the cut layer.
        if (!options.layers[RibVectors::Figures])
            rib.shapes.erase(
                std::remove_if(rib.shapes.begin(), rib.shapes.end(),
                               [](const Shape &s) { return s.layer == RibVectors::Figures; }),
                rib.shapes.end());
        keys[i] = shapeKey(rib);
        hashes[i] = qHash(keys[i]);
    });
    seen.reserve(ribs.size());
    for (size_t i = 0; i < ribs.size(); ++i) {
        const auto [at, fresh] = seen.emplace(Hashed{&keys[i], hashes[i]}, int(firstOf.size()));
        kind.push_back(at->second);
        if (fresh)
            firstOf.push_back(i);
    }
    // The keys are done with once the ribs are told apart: their memory
    // goes to the work that follows rather than more being asked for.
    decltype(seen)().swap(seen);
    std::vector<QByteArray>().swap(keys);
    std::vector<size_t>().swap(hashes);
    // Each distinct rib's contours on its own, on every core.
    distinct.resize(firstOf.size());
    Parallel::forEach(firstOf.size(), [&](size_t k, int) {
        RibVectors::Rib &rib = ribs[firstOf[k]];
        distinct[k].found = RibContours::apply(rib, options.kerf);
        distinct[k].shapes = rib.shapes;
    });
    for (size_t i = 0; i < ribs.size(); ++i) {
        RibVectors::Rib &rib = ribs[i];
        const Contoured &c = distinct[size_t(kind[i])];
        if (firstOf[size_t(kind[i])] != i) {
            QStringList texts;
            for (const Shape &s : rib.shapes)
                if (s.kind == Shape::Label)
                    texts << s.text;
            rib.shapes = c.shapes;
            int next = 0;
            for (Shape &s : rib.shapes)
                if (s.kind == Shape::Label && next < texts.size())
                    s.text = texts[next++];
        }
        for (const RibContours::Finding &f : c.found)
            doc.findings << QStringLiteral("%1 #%2 : %3")
                                .arg(rib.profileName.trimmed())
                                .arg(rib.templateIndex + 1)
                                .arg(RibContours::message(f));
    }
    // Only how many there are is wanted from here on: the shapes they kept
    // go, so that the ribs they shared their paths with are turned and
    // moved below without a copy.
    const size_t kinds = distinct.size();
    std::vector<Contoured>().swap(distinct);
    if (options.copies > 1) {
        std::vector<RibVectors::Rib> copies;
        std::vector<int> copyKinds;
        copies.reserve(ribs.size() * size_t(options.copies));
        for (size_t i = 0; i < ribs.size(); ++i) {
            copies.insert(copies.end(), size_t(options.copies), ribs[i]);
            copyKinds.insert(copyKinds.end(), size_t(options.copies), kind[i]);
        }
        ribs = std::move(copies);
        kind = std::move(copyKinds);
    }
    if (ribs.empty())
        return doc;
    // Boxes, outlines and areas, all taken before any rib is moved, are
    // those of its distinct rib (the first of them stands for the others).
    std::vector<int> first(kinds, -1);
    for (size_t i = 0; i < ribs.size(); ++i)
        if (first[size_t(kind[i])] < 0)
            first[size_t(kind[i])] = int(i);
    std::vector<QRectF> kindBoxes(kinds);
    std::vector<double> kindAreas(kinds);
    Parallel::forEach(kinds, [&](size_t k, int) {
        if (first[k] < 0)
            return;
        kindBoxes[k] = ribs[size_t(first[k])].bounds();
        kindAreas[k] = outerArea(ribs[size_t(first[k])]);
    });
    std::vector<QRectF> boxes;
    boxes.reserve(ribs.size());
    for (size_t i = 0; i < ribs.size(); ++i)
        boxes.push_back(kindBoxes[size_t(kind[i])]);
    doc.material = ribs.size() > 1;
    std::vector<int> order(ribs.size());
    std::vector<SheetNesting::Placement> places(ribs.size());
    if (doc.material && options.nesting == Nesting::Shape) {
        // On a PDF page the bottom-left corner is kept for the check bar.
        QRectF keepFree;
        if (options.format == Format::Pdf) {
            const double margin = std::max(options.gap, 3.0);
            keepFree = checkBarBox({margin, margin + TemplateDrawing::kCheckBarBelowMm});
            keepFree.setTop(0);
            keepFree.setLeft(0);
        }
        // Each kind's footprint made as the nesting reads it, then let go.
        const SheetNesting::Result nest = SheetNesting::arrange(
            kinds,
            [&](size_t k) {
                return first[k] >= 0 ? footprint(ribs[size_t(first[k])]) : std::vector<QPolygonF>();
            },
            kind, options.sheet, options.gap, options.freeGrain, keepFree);
        doc.sheets = nest.sheets;
        doc.oversized = nest.oversized;
        order = nest.order;
        places = nest.placements;
    } else {
        const SheetLayout::Result layout =
            doc.material ? SheetLayout::arrange(boxes, options.sheet, options.gap)
                         : SheetLayout::fit(boxes.front(), options.gap);
        doc.sheets = layout.sheets;
        doc.oversized = layout.oversized;
        for (size_t i = 0; i < ribs.size(); ++i) {
            order[i] = int(i);
            places[i].sheet = layout.placements[i].sheet;
            places[i].offset = layout.placements[i].offset;
        }
    }
    Parallel::forEach(order.size(), [&](size_t k, int) {
        const size_t i = size_t(order[k]);
        RibVectors::Rib &rib = ribs[i];
        rib.turn(places[i].turn);
        // Moved by whole steps of the grid the files are written to, so that
        // they round the outline as its checks did.
        const QPointF offset = places[i].offset;
        rib.translate(QPointF(double(Polygons::gridUnits(offset.x())),
                              double(Polygons::gridUnits(offset.y()))) /
                      Polygons::kUnitsPerMm);
    });
    double covered = 0;
    for (int i : order) {
        RibVectors::Rib &rib = ribs[size_t(i)];
        covered += kindAreas[size_t(kind[size_t(i)])];
        doc.ribSheet.push_back(places[size_t(i)].sheet);
        doc.ribTurn.push_back(places[size_t(i)].turn);
        doc.ribs.push_back(std::move(rib));
    }
    double sheetArea = 0;
    for (const QRectF &sheet : doc.sheets)
        sheetArea += sheet.width() * sheet.height();
    doc.covered = sheetArea > 0 ? covered / sheetArea : 0;
    if (options.format == Format::Pdf)
        placeCheckBars(doc, options.gap, doc.material && options.nesting == Nesting::Shape);
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
    if (doc.material)
        out += svgGroup(sheetLayerName(), area, viewBox, [&](QPainter &p) {
            p.setPen(QPen(kSheetColour, kLineWidthMm));
            p.setBrush(Qt::NoBrush);
            for (const QRectF &sheet : doc.sheets)
                p.drawPolygon(flip.map(QPolygonF(sheet)));
        });
    for (int layer : kLayerOrder) {
        if (doc.layers[size_t(layer)])
            out += svgGroup(RibVectors::layerName(layer), area, viewBox, [&](QPainter &p) {
                // The generator writes six significant digits: each rib is
                // drawn about a whole millimetre at its middle (a shift it
                // writes exactly), so that its own coordinates stay small
                // and keep the 0.1 µm of the other files on ribs up to
                // 200 mm long, 1 µm beyond, wherever the sheet lies.
                for (size_t r = 0; r < doc.ribs.size(); ++r) {
                    const QPointF middle = flip.map(doc.ribs[r].bounds().center());
                    const QPointF at(std::round(middle.x()), std::round(middle.y()));
                    p.setTransform(QTransform::fromTranslate(at.x(), at.y()));
                    paintRib(p, doc, r, layer, flip * QTransform::fromTranslate(-at.x(), -at.y()),
                             1.0);
                }
            });
    }
    out += "</svg>\n";
    return out;
}

QRectF pageOf(const Document &doc, int s)
{
    const bool withBars = doc.pages.size() == doc.sheets.size();
    return (withBars ? doc.pages : doc.sheets)[size_t(s)];
}

void paintPage(QPainter &p, const Document &doc, int s, double k, double thinnest)
{
    const QRectF page = pageOf(doc, s);
    // mm (y up) to the page's dots, from the page's top-left corner.
    const QTransform toDevice(k, 0, 0, -k, -page.left() * k, page.bottom() * k);
    p.save();
    paintShapes(p, doc, s, -1, toDevice, k, thinnest);
    if (doc.checkBars.size() == doc.sheets.size()) {
        // The printed pages' own check bar, drawn by the printout's code.
        ProfileStore none;
        TemplateDrawing bar(&none);
        QFont font(QStringLiteral("Liberation Sans"));
        font.setPixelSize(std::max(1, int(std::lround(3.5 * k))));
        const QPointF at = toDevice.map(doc.checkBars[size_t(s)]);
        p.setFont(font);
        bar.drawCheckBarAt(p, int(std::lround(at.x())), int(std::lround(at.y())), float(k));
    }
    p.restore();
}

void paintPages(QPagedPaintDevice &device, const Document &doc)
{
    if (doc.sheets.empty())
        return;
    // Full size from the device's own resolution.
    const double k = device.logicalDpiX() / 25.4;
    // A sheet of a standard size across (A4 landscape) comes back upright
    // from some devices (a printer): turned back then.
    auto setPage = [&device](const QRectF &sheet) {
        device.setPageSize(
            QPageSize(sheet.size(), QPageSize::Millimeter, QString(), QPageSize::ExactMatch));
        const QRectF got = device.pageLayout().fullRect(QPageLayout::Millimeter);
        if ((got.width() > got.height()) != (sheet.width() > sheet.height()))
            device.setPageOrientation(device.pageLayout().orientation() == QPageLayout::Portrait
                                          ? QPageLayout::Landscape
                                          : QPageLayout::Portrait);
    };
    setPage(pageOf(doc, 0));
    QPainter p(&device);
    for (int s = 0; s < int(doc.sheets.size()); ++s) {
        if (s > 0) {
            setPage(pageOf(doc, s));
            device.newPage();
        }
        paintPage(p, doc, s, k);
    }
}

QByteArray pdf(const Document &doc)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (doc.sheets.empty())
        return {};
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(1200);
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        writer.setTitle(QStringLiteral("NERVURIA"));
        writer.setCreator(QStringLiteral("NERVURIA"));
        paintPages(writer, doc);
    }
    return buffer.data();
}

// The file up to its entities: header, tables, blocks, then the entities'
// section opened and the sheets in it.
void dxfHead(DL_Dxf &dxfDoc, BufferWriter &writer, const Document &doc)
{
    BufferWriter *dw = &writer;
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
    dw->tableLayers(2 + RibVectors::LayerCount);
    dxfDoc.writeLayer(*dw, DL_LayerData("0", 0),
                      DL_Attributes("", DL_Codes::black, 100, "CONTINUOUS", 1.0));
    for (int layer = 0; layer < RibVectors::LayerCount; ++layer)
        dxfDoc.writeLayer(*dw, DL_LayerData(RibVectors::layerName(layer).toStdString(), 0),
                          DL_Attributes("", kDxfColours[layer], 100, "CONTINUOUS", 1.0));
    dxfDoc.writeLayer(*dw, DL_LayerData(sheetLayerName().toStdString(), 0),
                      DL_Attributes("", kDxfSheetColour, 100, "CONTINUOUS", 1.0));
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
    if (doc.material) {
        const DL_Attributes attr(sheetLayerName().toStdString(), 256, -1, "BYLAYER", 1.0);
        for (const QRectF &sheet : doc.sheets) {
            dxfDoc.writePolyline(*dw, DL_PolylineData(4, 0, 0, 1), attr);
            for (const QPointF &v :
                 {sheet.topLeft(), sheet.topRight(), sheet.bottomRight(), sheet.bottomLeft()})
                dxfDoc.writeVertex(*dw, DL_VertexData(v.x(), v.y(), 0.0, 0.0));
            dxfDoc.writePolylineEnd(*dw);
        }
    }
}

// The points a path is written with: a closed one without its closing
// point. A path of fewer than two is not written.
QPolygonF dxfPoints(const Shape &s)
{
    QPolygonF points = RibVectors::flatten(s.path);
    if (s.closed && points.size() > 1 && points.first() == points.last())
        points.removeLast();
    return points;
}

// Whether the shape is written (each as one entity, one handle), without
// flattening a path that gives three points at least (its move, each line
// and each whole curve give one or more): more than one remain.
bool writesEntity(const Shape &s, const Document &doc)
{
    if (!doc.layers[size_t(s.layer)])
        return false;
    if (s.kind != Shape::Path)
        return true;
    const int count = s.path.elementCount();
    int points = 0;
    for (int i = 0; i < count && points < 3; ++i) {
        const QPainterPath::Element e = s.path.elementAt(i);
        if (e.isMoveTo() && i > 0)
            break; // one subpath per shape
        if (e.isMoveTo() || e.isLineTo())
            ++points;
        else if (e.isCurveTo() && i + 2 < count)
            ++points;
    }
    return points >= 3 || dxfPoints(s).size() >= 2;
}

// An entity's own lines (its kind, handle, owner, layer, a label's text),
// beside its vertices.
constexpr qsizetype kEntityBytes = 256;

// The entities of ribs [from, to).
void dxfRibs(DL_Dxf &dxfDoc, BufferWriter &writer, const Document &doc, size_t from, size_t to,
             const std::vector<DL_Attributes> &layerAttributes)
{
    for (size_t r = from; r < to; ++r) {
        for (const Shape &s : doc.ribs[r].shapes) {
            if (!doc.layers[size_t(s.layer)])
                continue;
            const DL_Attributes &attr = layerAttributes[size_t(s.layer)];
            switch (s.kind) {
            case Shape::Path: {
                const QPolygonF points = dxfPoints(s);
                if (points.size() < 2)
                    break;
                dxfDoc.writePolyline(
                    writer, DL_PolylineData(int(points.size()), 0, 0, s.closed ? 1 : 0), attr);
                for (const QPointF &v : points)
                    writer.vertex(v.x(), v.y());
                dxfDoc.writePolylineEnd(writer);
                break;
            }
            case Shape::Circle:
                dxfDoc.writeCircle(writer, DL_CircleData(s.centre.x(), s.centre.y(), 0.0, s.radius),
                                   attr);
                break;
            case Shape::Arc:
                dxfDoc.writeArc(writer,
                                DL_ArcData(s.centre.x(), s.centre.y(), 0.0, s.radius, s.startDeg,
                                           s.startDeg + s.spanDeg),
                                attr);
                break;
            case Shape::Label:
                dxfDoc.writeText(writer,
                                 DL_TextData(s.centre.x(), s.centre.y(), 0.0, 0.0, 0.0, 0.0,
                                             s.height, 1.0, 0, 0, 0,
                                             Cp1252::encode(s.text).toStdString(), "Standard", 0.0),
                                 attr);
                break;
            }
        }
    }
}

// The DXF text as parts, handed to take one after the other in file order:
// the head, the ribs' entities in pieces of kRibsAPiece ribs, the lines
// that close the file. The pieces are made on every core, a few ahead of
// the one taken, in buffers used again once taken; each by a writer of its
// own that numbers its entities from the handle it would start at in one
// writer (the entities each rib writes are counted first). Should a count
// be wrong, the ribs from that piece on are written after the others by
// one writer. A take that returns false stops the making: false.
bool dxfParts(const Document &doc, const std::function<bool(QByteArray &)> &take)
{
    std::vector<DL_Attributes> layerAttributes;
    for (int layer = 0; layer < RibVectors::LayerCount; ++layer)
        layerAttributes.emplace_back(RibVectors::layerName(layer).toStdString(), 256, -1, "BYLAYER",
                                     1.0);
    constexpr size_t kRibsAPiece = 32;
    const size_t ribCount = doc.ribs.size();
    const size_t pieceCount = (ribCount + kRibsAPiece - 1) / kRibsAPiece;
    std::vector<unsigned long> entities(pieceCount + 1, 0);
    std::vector<qsizetype> room(pieceCount, 0);
    Parallel::forEach(pieceCount, [&](size_t k, int) {
        for (size_t r = k * kRibsAPiece; r < std::min(ribCount, (k + 1) * kRibsAPiece); ++r)
            for (const Shape &s : doc.ribs[r].shapes) {
                entities[k + 1] += writesEntity(s, doc) ? 1 : 0;
                room[k] += kEntityBytes;
                if (const int n = s.path.elementCount())
                    room[k] += n * BufferWriter::vertexRoom(s.path.controlPointRect());
            }
    });
    QByteArray text;
    DL_Dxf dxfDoc;
    BufferWriter writer(text, 0);
    dxfHead(dxfDoc, writer, doc);
    const unsigned long first = writer.nextHandle();
    writer.finish();
    if (!take(text))
        return false;
    for (size_t k = 0; k < pieceCount; ++k)
        entities[k + 1] += entities[k];
    auto ribsOf = [&](size_t k) {
        return std::make_pair(k * kRibsAPiece, std::min(ribCount, (k + 1) * kRibsAPiece));
    };
    const size_t ahead = 2 * size_t(Parallel::threads());
    std::vector<QByteArray> buffers(ahead);
    std::vector<char> counted(pieceCount, 0);
    size_t wrong = pieceCount; // the first piece whose count was wrong
    bool stopped = false;
    Parallel::inOrder(
        pieceCount, ahead,
        [&](size_t k, size_t slot) {
            // Its own writer, in the state the head leaves one in (the
            // handles of the blocks and the text style).
            DL_Dxf own;
            // Each text made in one piece, not grown by copies.
            BufferWriter piece(buffers[slot], room[k]);
            dxfHead(own, piece, doc);
            piece.restart(first + entities[k]);
            const auto [from, to] = ribsOf(k);
            dxfRibs(own, piece, doc, from, to, layerAttributes);
            counted[k] = piece.nextHandle() == first + entities[k + 1];
            piece.finish();
        },
        [&](size_t k, size_t slot) {
            if (!counted[k]) {
                wrong = k;
                return false;
            }
            stopped = !take(buffers[slot]);
            return !stopped;
        });
    if (stopped)
        return false;
    unsigned long next = first + entities.back();
    if (wrong < pieceCount) {
        // A shape written as other than one entity: the ribs from there on
        // in one writer, a piece at a time.
        next = first + entities[wrong];
        for (size_t k = wrong; k < pieceCount; ++k) {
            BufferWriter piece(buffers.front(), room[k]);
            piece.restart(next);
            const auto [from, to] = ribsOf(k);
            dxfRibs(dxfDoc, piece, doc, from, to, layerAttributes);
            next = piece.nextHandle();
            piece.finish();
            if (!take(buffers.front()))
                return false;
        }
    }
    writer.restart(next);
    writer.sectionEnd();
    dxfDoc.writeObjects(writer);
    dxfDoc.writeObjectsEnd(writer);
    writer.dxfEOF();
    writer.finish();
    return take(text);
}

// The parts in one text, copied on every core.
QByteArray joined(std::vector<QByteArray> parts)
{
    std::vector<qsizetype> at(parts.size() + 1, 0);
    for (size_t k = 0; k < parts.size(); ++k)
        at[k + 1] = at[k] + parts[k].size();
    QByteArray text(at.back(), Qt::Uninitialized);
    char *into = text.data();
    Parallel::forEach(parts.size(), [&](size_t k, int) {
        std::memcpy(into + at[k], parts[k].constData(), size_t(parts[k].size()));
        parts[k] = QByteArray();
    });
    return text;
}

QByteArray dxf(const Document &doc, QString *error)
{
    Q_UNUSED(error);
    std::vector<QByteArray> parts;
    dxfParts(doc, [&](QByteArray &part) {
        parts.push_back(std::move(part));
        return true;
    });
    return joined(std::move(parts));
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

bool save(const QString &path, const Document &doc, Format format, QString *error)
{
    // The DXF text, the largest, goes to the file piece by piece as it is
    // made, never whole in memory.
    if (format == Format::Dxf) {
        WholeFile::Stream file(path);
        dxfParts(doc, [&](const QByteArray &part) { return file.add(part); });
        return file.commit(error);
    }
    const QByteArray data = bytes(doc, format, error);
    return !data.isEmpty() && write(path, data, error);
}

} // namespace VectorExport
