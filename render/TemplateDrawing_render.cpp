// The layout step (scale, origin, image, view points, template points) and
// the render step (grid, axes, outlines, camber, captions, figures, page
// marks) for the screen, the print preview and the printer.
#include "render/TemplateDrawing.h"

#include "geometry/RibOutline.h"
#include "geometry/TemplateGeometry.h"
#include "geometry/Trig.h"
#include "numbers/VectorState.h"
#include "profiles/ProfileStore.h"
#include "ui/DirectPixels.h"
#include "ui/Language.h"
#include "ui/Prompts.h"

#include <QFont>
#include <QFontMetrics>
#include <QLocale>
#include <QPaintEngine>
#include <QPainter>

#include <algorithm>
#include <cstring>

namespace
{

// Far beyond any real template (a 560 mm chord at zoom 4 on a wide screen
// is about 15000 pixels): a wild chord from a hand-edited database must not
// ask for gigabytes.
constexpr int kMaxImageWidth = 16384;
constexpr int kMaxImageHeight = 8192;

// The standard numeric patterns "#0.00" and "#0": at least one integer
// digit, rounded, with the regional decimal separator.
QString patternNumber(double value, int decimals)
{
    QString text = QString::number(value, 'f', decimals);
    if (decimals > 0)
        text.replace(QLatin1Char('.'), QLocale().decimalPoint());
    return text;
}

// Text drawn with its top-left corner at (x, y), in the outline colour.
void drawTextAt(QPainter &p, int x, int y, const QString &text)
{
    p.save();
    p.setPen(DrawingColours::outline);
    p.drawText(x, y + p.fontMetrics().ascent(), text);
    p.restore();
}

// One device pixel, whatever the pen width.
void setPixel(QPainter &p, int x, int y, const QColor &colour)
{
    p.save();
    p.setPen(QPen(colour, 1));
    p.drawPoint(x, y);
    p.restore();
}

} // namespace

// The grid labels' and captions' font, made once: a font made anew for
// each render looks its glyphs up anew.
const QFont &TemplateDrawing::screenFont()
{
    if (!m_screenFont)
        m_screenFont = QFont(QStringLiteral("Arial"), 9);
    return *m_screenFont;
}

bool TemplateDrawing::canDraw() const
{
    return !m_store->dataError && m_work.lastPoint >= 1 && m_work.lastPoint < kMaxProfilePoints;
}

std::optional<ScreenLayout> TemplateDrawing::layoutScreen(const ScreenArea &area)
{
    if (!canDraw())
        return std::nullopt;
    m_geom.mode = OutputMode::Screen;

    // Whole pixels per millimetre, so that the grid falls on pixels; never
    // below 1, which a narrow window would otherwise round down to.
    const int zoom = std::clamp(m_view.zoomLevel, 0, kMaxZoomLevel);
    // A chord of 0 or less (possible only in a hand-edited file) is laid out
    // as 1 mm, so that the scale stays finite.
    const double chord = std::max(double(m_work.chord), 1.0);
    const int scale =
        roundPixel(double(area.width) * double(kZoomFactors[size_t(zoom)]) / (chord + 52.0));
    m_geom.scale = float(std::max(scale, 1));

    const float chordScaled = m_work.chord * m_geom.scale;
    const int chordPixels = roundPixel(chordScaled);
    const int topPixels = roundPixel(chordScaled * m_work.upperExtent);
    const int neededHeight = roundPixel(chordScaled * m_work.lowerExtent) + topPixels + 100;
    const int height = std::clamp(std::max(area.height - 4, neededHeight), 1, kMaxImageHeight);
    const int width = std::clamp(std::max(area.width - 4, chordPixels + 100), 1, kMaxImageWidth);

    // At least 40 pixels above the profile and 60 below it; the chord line
    // keeps its proportional place when the image is taller than needed.
    m_geom.originX = 50;
    m_geom.originY = int((long long)(topPixels + 40) * height / std::max(neededHeight, 1));

    const int oldWidth = m_image.width();
    ScreenLayout result;
    result.imageSize = QSize(width, height);
    result.horizontalRange = width;
    result.horizontalPosition =
        oldWidth > 0 ? int((long long)width * area.horizontalPosition / oldWidth) : 0;
    result.verticalRange = height;

    // The render's background covers every pixel: the image is only made
    // again when its size changes (white, should it be shown unrendered).
    if (m_image.size() != result.imageSize || m_image.format() != QImage::Format_RGB32) {
        m_image = QImage(width, height, QImage::Format_RGB32);
        m_image.fill(DrawingColours::background);
    }

    finishLayout();
    return result;
}

bool TemplateDrawing::layoutPreview(const PageSetup &page)
{
    if (!canDraw())
        return false;
    layoutPage(OutputMode::Preview, 1, page);
    return true;
}

bool TemplateDrawing::layoutPrinter(double dotsPerInch, const PageSetup &page)
{
    if (!canDraw() || !(dotsPerInch > 0))
        return false;
    layoutPage(OutputMode::Printer, float(dotsPerInch * 0.039370078740157480), page);
    return true;
}

// Paper outputs: the origin is the page origin in millimetres at the
// output's scale (1 pixel per millimetre in the preview).
void TemplateDrawing::layoutPage(OutputMode mode, float scale, const PageSetup &page)
{
    m_geom.mode = mode;
    m_geom.scale = scale;
    m_geom.originX = roundPixel(page.originXmm * scale);
    m_geom.originY = roundPixel(page.originYmm * scale);
    m_geom.pageOriginXmm = page.originXmm;
    m_geom.pageOriginYmm = page.originYmm;
    m_geom.pageCount = page.pageCount;
    m_geom.portrait = page.portrait;
    finishLayout();
    placeCheckBar();
}

// The part of the layout common to every output: scaled figures, view
// points, profile top and bottom, trailing edge, then the template points.
void TemplateDrawing::finishLayout()
{
    ViewGeometry &g = m_geom;
    g.originXf = float(g.originX);
    g.originYf = float(g.originY);

    for (int i = 0; i < kMaxFigures; ++i) {
        for (int k = 0; k < 6; ++k)
            m_work.scaledFigures[size_t(i)][size_t(k)] =
                float(m_work.figures[size_t(i)][size_t(k)]) * g.scale * 0.1f;
    }

    g.pointScale = g.scale * m_work.chord * 0.01f;
    const int n = m_work.lastPoint;
    float top = 9999;
    float bottom = -999;
    for (int i = 0; i <= n; ++i) {
        g.upperView[i] = {g.originXf + g.pointScale * m_work.upper[i].x,
                          g.originYf + g.pointScale * m_work.upper[i].y};
        g.lowerView[i] = {g.originXf + g.pointScale * m_work.lower[i].x,
                          g.originYf + g.pointScale * m_work.lower[i].y};
        top = std::min(top, g.upperView[i].y);
        bottom = std::max(bottom, g.lowerView[i].y);
    }
    g.profileTop = roundPixel(top);
    g.profileBottom = roundPixel(bottom);
    g.trailingEdgeX = roundPixel(g.upperView[n].x);

    applySkinOffset();
    m_laidOut = true;
}

// The template points a skin inside the view points, as the last layout of
// the same view points and skin found them when there was one.
void TemplateDrawing::applySkinOffset()
{
    const ViewGeometry &g = m_geom;
    const int n = m_work.lastPoint;
    if (n <= 0 || n >= kMaxProfilePoints || !(m_work.skinThickness > 0)) {
        TemplateGeometry::applySkinOffset(m_work, g);
        return;
    }
    const auto count = size_t(n + 1);
    const auto bytes = count * sizeof(FPoint);
    SkinOffsetMemo &memo = m_skinMemo;
    if (memo.lastPoint == n && memo.skin == m_work.skinThickness && memo.scale == g.scale &&
        std::memcmp(memo.upperView.data(), g.upperView.data(), bytes) == 0 &&
        std::memcmp(memo.lowerView.data(), g.lowerView.data(), bytes) == 0) {
        m_work.skinOffset = memo.offset;
        m_work.skinOffsetRounded = memo.offsetRounded;
        std::copy(memo.upperTemplate.begin(), memo.upperTemplate.end(), m_work.upperTemplate.begin());
        std::copy(memo.lowerTemplate.begin(), memo.lowerTemplate.end(), m_work.lowerTemplate.begin());
        return;
    }
    TemplateGeometry::applySkinOffset(m_work, g);
    memo.lastPoint = n;
    memo.skin = m_work.skinThickness;
    memo.scale = g.scale;
    memo.upperView.assign(g.upperView.begin(), g.upperView.begin() + n + 1);
    memo.lowerView.assign(g.lowerView.begin(), g.lowerView.begin() + n + 1);
    memo.offset = m_work.skinOffset;
    memo.offsetRounded = m_work.skinOffsetRounded;
    memo.upperTemplate.assign(m_work.upperTemplate.begin(), m_work.upperTemplate.begin() + n + 1);
    memo.lowerTemplate.assign(m_work.lowerTemplate.begin(), m_work.lowerTemplate.begin() + n + 1);
}

bool TemplateDrawing::render()
{
    if (m_geom.mode != OutputMode::Screen || m_image.isNull())
        return false;
    bool drawn = false;
    {
        QPainter p(&m_image);
        drawn = render(p);
    }
    if (drawn)
        sayRefusalOnce();
    return drawn;
}

// The refusal is said once for a template, chord and skin: zooming, resizing
// or smoothing the same template again stays quiet.
void TemplateDrawing::sayRefusalOnce()
{
    if (!m_templateRefused) {
        m_refusalSaid.clear();
        return;
    }
    const QString key = QStringLiteral("%1/%2/%3/%4")
                            .arg(m_store->currentProfile)
                            .arg(m_store->currentTemplate)
                            .arg(double(m_work.chord))
                            .arg(double(m_work.skinThickness));
    if (key == m_refusalSaid)
        return;
    m_refusalSaid = key;
    Prompts::current().message(skinTooThickMessage());
}

QString TemplateDrawing::skinTooThickMessage() const
{
    return skinTooThickMessage(
        TemplateGeometry::largestSkinThatFits(m_work, m_view.upDown4Smoothing));
}

QString TemplateDrawing::skinTooThickMessage(int fits)
{
    return Language::pick(
        QStringLiteral("Coffrage trop épais pour ce gabarit : au plus %1/10 mm").arg(fits),
        QStringLiteral("Skin too thick for this template: at most %1/10 mm").arg(fits));
}

bool TemplateDrawing::render(QPainter &p)
{
    if (!canDraw() || !m_laidOut)
        return false;
    VectorState::settle();
    const ViewGeometry &g = m_geom;
    const bool screen = g.mode == OutputMode::Screen;
    const bool printer = g.mode == OutputMode::Printer;
    const int n = m_work.lastPoint;

    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    // On an image the markers are gathered and drawn pixel by pixel, one
    // call for each kind; the circle is the one the painter would draw.
    m_batchMarkers = screen && p.paintEngine() && p.paintEngine()->type() == QPaintEngine::Raster &&
                     p.transform().isIdentity() && p.brush().style() == Qt::NoBrush;
    m_pendingMarkers.clear();
    if (screen)
        drawBackground(p);
    if (m_view.checkBox2Axes)
        drawAxes(p);

    const QPen outlinePen(DrawingColours::outline, printer ? 2 : 1);
    p.setPen(outlinePen);

    // The profile outline.
    m_curves.storeProfileKnots(g, n, [&](FPoint k) { pointMarker(p, ProfilePoint, k.x, k.y); });
    flushMarkers(p);
    m_curves.smooth(m_view.upDown4Smoothing);
    p.setPen(outlinePen);
    m_curves.draw(p);

    // The trailing edge on the chord line.
    setPixel(p, roundPixel(m_curves.upperList[size_t(m_curves.lastIndex)].x), g.originY,
             DrawingColours::outline);

    // The template outline, inside the profile by the skin thickness; none
    // when the section has no room for two skins.
    m_view.checkBox3Visible = m_work.skinThickness > 0;
    m_templateRefused = false;
    if (m_work.skinThickness > 0) {
        p.setPen(outlinePen);
        const RibOutline::Kind kind =
            placeTemplateOutline([&](FPoint k) { pointMarker(p, TemplatePoint, k.x, k.y); });
        m_templateRefused = kind == RibOutline::Kind::Refused;
        if (!m_templateRefused) {
            flushMarkers(p);
            if (m_view.checkBox3GabaritPoints) {
                // From the tail to the trailing edge, in the template marker's
                // colour (black on paper).
                p.setPen(QPen(screen ? DrawingColours::templateMarker : DrawingColours::outline,
                              printer ? 2 : 1));
                p.drawLine(QPoint(roundPixel(m_curves.tail.x), roundPixel(m_curves.tail.y)),
                           QPoint(g.trailingEdgeX, g.originY));
            }
            p.setPen(outlinePen);
            if (kind == RibOutline::Kind::Kept)
                m_curves.draw(p);
            else
                DirectPixels::drawPolylineWithVertices(p, m_builtOutline.drawn);
        }
    }

    // Camber line and thickness scan.
    m_curves.scanCamber(g, n, &p, m_view.checkBox4Cambrure,
                        printer ? DrawingColours::outline : DrawingColours::camber,
                        [&](FPoint c) { pointMarker(p, CamberPoint, c.x, c.y); });
    flushMarkers(p);
    p.setPen(outlinePen);

    if (screen)
        drawCaptions(p);

    if (m_figureHook) {
        const int last = std::min(m_work.lastFigure, kMaxFigures - 1);
        for (int i = 0; i <= last; ++i) {
            p.save();
            m_figureHook(p, i);
            p.restore();
        }
    }

    if (!screen && g.pageCount >= 2)
        drawPageMarks(p);
    if (!screen)
        drawCheckBar(p);

    m_batchMarkers = false;
    p.restore();
    return true;
}

void TemplateDrawing::drawBackground(QPainter &p)
{
    const ViewGeometry &g = m_geom;
    const int width = p.device()->width();
    const int height = p.device()->height();
    const bool millimetres = g.scale >= 4;
    const int step = std::max(roundPixel(millimetres ? g.scale : 4.0f * g.scale), 1);

    // The grid is drawn row by row from four one-row images: the background
    // crossed by the vertical lines, and the same under a grid line, a tenth
    // line and the chord line (where the vertical lines stay on top). Lines
    // outside the image are skipped; the counting of every tenth line still
    // starts at the chord line. The rows, and the top rows once the labels
    // are on them, are kept for the next render of the same grid.
    Background &bg = m_background;
    if (bg.width != width || bg.height != height || bg.originX != g.originX ||
        bg.originY != g.originY || bg.step != step || bg.millimetres != millimetres) {
        bg = Background();
        bg.width = width;
        bg.height = height;
        bg.originX = g.originX;
        bg.originY = g.originY;
        bg.step = step;
        bg.millimetres = millimetres;
        std::vector<std::pair<int, QColor>> columns;
        for (int v = -g.originX; v <= width / step; ++v) {
            const long long x = g.originX + (long long)step * v;
            if (x < 0 || x >= width)
                continue;
            columns.emplace_back(int(x), (v - g.originX) % 10 == 0 ? DrawingColours::gridTenth
                                                                   : DrawingColours::grid);
        }
        bg.rows = QImage(width, Background::RowKinds, QImage::Format_RGB32);
        const QColor colours[Background::RowKinds] = {
            DrawingColours::background, DrawingColours::grid, DrawingColours::gridTenth,
            DrawingColours::chordAxis};
        for (int kind = 0; kind < Background::RowKinds; ++kind) {
            auto *row = reinterpret_cast<QRgb *>(bg.rows.scanLine(kind));
            std::fill(row, row + width, colours[kind].rgb());
            for (const auto &[x, c] : columns)
                row[x] = c.rgb();
        }
        bg.kinds.assign(size_t(std::max(height, 0)), Background::Plain);
        for (int t = -g.originY; t <= height / step; ++t) {
            const long long y = g.originY + (long long)step * t;
            if (y < 0 || y >= height || y == g.originY)
                continue;
            bg.kinds[size_t(y)] = t % 10 == 0 ? Background::Tenth : Background::Grid;
        }
        if (g.originY >= 0 && g.originY < height)
            bg.kinds[size_t(g.originY)] = Background::Chord;
    }

    p.setFont(screenFont());
    p.setBrush(Qt::NoBrush);
    // On the screen image each row is one copy; elsewhere the painter
    // fills the plain rows with one pattern and draws the others over it.
    QImage *image = DirectPixels::imageUnder(p);
    if (!image || image->width() != width || image->height() != height ||
        image->format() != bg.rows.format()) {
        p.save();
        p.setBrushOrigin(0, 0);
        p.fillRect(0, 0, width, height, QBrush(bg.rows.copy(0, Background::Plain, width, 1)));
        p.restore();
        for (int y = 0; y < height; ++y) {
            const int kind = bg.kinds[size_t(y)];
            if (kind != Background::Plain)
                p.drawImage(QPoint(0, y), bg.rows, QRect(0, kind, width, 1));
        }
        drawGridLabels(p);
        return;
    }
    const auto bytes = size_t(width) * sizeof(QRgb);
    const int labelled = bg.labelBand.isNull() ? 0 : bg.labelBand.height();
    for (int y = 0; y < labelled; ++y)
        std::memcpy(image->scanLine(y), bg.labelBand.constScanLine(y), bytes);
    for (int y = labelled; y < height; ++y)
        std::memcpy(image->scanLine(y), bg.rows.constScanLine(bg.kinds[size_t(y)]), bytes);
    if (labelled == 0) {
        drawGridLabels(p);
        // The labels lie within their line's height below y = 4.
        const int band = std::min(height, 4 + p.fontMetrics().height() + 4);
        bg.labelBand = image->copy(0, 0, width, band);
    }
}

// A label every ten grid lines, centred on its line, along the top.
void TemplateDrawing::drawGridLabels(QPainter &p)
{
    const ViewGeometry &g = m_geom;
    const int width = p.device()->width();
    const QFontMetrics metrics = p.fontMetrics();
    for (int v = 0; v <= width / m_background.step; ++v) {
        if ((v - g.originX) % 10 != 0)
            continue;
        const QString label = QString::number(m_background.millimetres ? v : 4 * v);
        drawTextAt(p, g.originX + m_background.step * v - metrics.horizontalAdvance(label) / 2, 4,
                   label);
    }
}

void TemplateDrawing::drawAxes(QPainter &p)
{
    const ViewGeometry &g = m_geom;
    const int m = roundPixel(10.0f * g.scale);
    p.setPen(
        QPen(g.mode == OutputMode::Printer ? DrawingColours::outline : DrawingColours::axes, 1));
    p.drawLine(g.originX - m, g.originY, g.trailingEdgeX + m, g.originY);
    p.drawLine(g.originX, g.profileTop, g.originX, g.profileBottom);
    p.drawLine(g.trailingEdgeX, g.profileTop, g.trailingEdgeX, g.profileBottom);

    const int incidence = m_view.upDown7Incidence;
    if (incidence == 0)
        return;
    // The indicator: the chord dropped by chord/10 at the leading edge and
    // by (tan + 1) x chord/10 at the trailing edge.
    const float c = m_work.chord * g.scale * 0.1f;
    const QPoint corners[4] = {
        {g.originX - m, g.originY},
        {g.originX - m, g.originY + roundPixel(c)},
        {g.trailingEdgeX + m, g.originY + roundPixel((Trig::tanDeg(incidence) + 1.0f) * c)},
        {g.trailingEdgeX + m, g.originY},
    };
    // Three lines rather than a polyline, so that both corners are drawn.
    for (int i = 0; i < 3; ++i)
        p.drawLine(corners[i], corners[i + 1]);
    drawTextAt(p, g.trailingEdgeX, g.originY + roundPixel(c - 5.0f * g.scale),
               QString::number(incidence) + QChar(0x00B0));
}

// A chord of 0 or less (only from a hand-edited database) has no share to
// give: the captions then read 0 rather than the result of a division by 0.
double TemplateDrawing::relativeThickness() const
{
    const double chordPixels = double(m_work.chord) * double(m_geom.scale);
    return chordPixels > 0 ? double(m_curves.maxThickness) * 100.0 / chordPixels : 0.0;
}

double TemplateDrawing::maxThicknessPosition() const
{
    const double chordPixels = double(m_work.chord) * double(m_geom.scale);
    if (!(chordPixels > 0))
        return 0.0;
    return (double(m_curves.maxThicknessX) - double(m_geom.originX)) * 100.0 / chordPixels;
}

QString TemplateDrawing::relativeThicknessCaption() const
{
    const QString value = patternNumber(relativeThickness(), 2);
    return Language::pick(QStringLiteral("Epaisseur relative "),
                          QStringLiteral("Relative thickness ")) +
           value + QStringLiteral(" %");
}

QString TemplateDrawing::maxThicknessPositionCaption() const
{
    const QString value = patternNumber(maxThicknessPosition(), 0);
    return Language::pick(
        QStringLiteral(" Epaisseur maxi à ") + value + QStringLiteral(" % de la corde"),
        QStringLiteral(" Max.thickness at ") + value + QStringLiteral(" % of chord"));
}

void TemplateDrawing::drawCaptions(QPainter &p)
{
    const int h = p.device()->height();
    p.setFont(screenFont());
    const QFontMetrics metrics = p.fontMetrics();
    const QString thickness = relativeThicknessCaption();
    const QString position = maxThicknessPositionCaption();
    drawTextAt(p, 20, h - 40, thickness);
    m_thicknessCaptionBox =
        QRect(20, h - 40, metrics.horizontalAdvance(thickness), metrics.height());

    // An arrow up to the position of the maximum thickness.
    const int w = roundPixel(m_curves.maxThicknessX);
    p.setPen(QPen(DrawingColours::outline, 1));
    p.drawLine(w, h - 28, w, h - 42);
    p.drawLine(w, h - 42, w - 3, h - 39);
    p.drawLine(w, h - 42, w + 3, h - 39);
    // Beside the arrow, unless the thickness caption is there: then just
    // right of it.
    const int x = std::max(w + 4, m_thicknessCaptionBox.right() + 1);
    drawTextAt(p, x, h - 40, position);
    m_positionCaptionBox = QRect(x, h - 40, metrics.horizontalAdvance(position), metrics.height());
}

// Where a print spreads over several pages: a mark with a cross above and
// below the profile at each page join (one step, 160 or 260 mm, apart).
void TemplateDrawing::drawPageMarks(QPainter &p)
{
    const ViewGeometry &g = m_geom;
    const bool printer = g.mode == OutputMode::Printer;
    p.setPen(QPen(printer ? DrawingColours::outline : DrawingColours::pageMarks, printer ? 2 : 1));
    const int c = roundPixel(3.0f * g.scale);
    for (int join = 1; join < g.pageCount; ++join) {
        const int x =
            g.originX + roundPixel(g.scale * float(join) * (g.portrait ? 160.0f : 260.0f));
        auto mark = [&](int from, int end) {
            p.drawLine(x, from, x, end);
            p.drawLine(x - c, end - c, x + c, end + c);
            p.drawLine(x + c, end - c, x - c, end + c);
        };
        mark(g.profileTop, roundPixel(float(g.profileTop) - 20.0f * g.scale));
        mark(g.profileBottom, roundPixel(float(g.profileBottom) + 20.0f * g.scale));
    }
}

void TemplateDrawing::pointMarker(QPainter &p, MarkerKind kind, float x, float y)
{
    const OutputMode mode = m_geom.mode;
    if (mode == OutputMode::Preview)
        return;
    if (kind == ProfilePoint && !m_view.checkBox1ProfilPoints)
        return;
    if (kind == TemplatePoint && !m_view.checkBox3GabaritPoints)
        return;
    if (m_batchMarkers && mode == OutputMode::Screen) {
        if (kind != m_pendingKind)
            flushMarkers(p);
        m_pendingKind = kind;
        m_pendingMarkers.push_back(QPoint(roundPixel(x), roundPixel(y)));
        return;
    }
    int r = 2;
    QColor colour = kind == ProfilePoint    ? DrawingColours::profileMarker
                    : kind == TemplatePoint ? DrawingColours::templateMarker
                                            : DrawingColours::camberMarker;
    int penWidth = 1;
    if (mode == OutputMode::Printer) {
        if (kind == ProfilePoint)
            return;
        r = 5;
        colour = DrawingColours::outline;
        penWidth = 2;
    }
    p.setPen(QPen(colour, penWidth));
    const int cx = roundPixel(x);
    const int cy = roundPixel(y);
    p.drawEllipse(QRect(cx - r, cy - r, 2 * r, 2 * r));
}

namespace
{

// The pixels of a screen marker around its centre, as the painter draws the
// circle of radius 2 with a one-pixel pen.
std::vector<QPoint> markerPixels()
{
    constexpr int kSide = 16, kCentre = 8, r = 2;
    QImage stamp(kSide, kSide, QImage::Format_RGB32);
    stamp.fill(Qt::white);
    {
        QPainter p(&stamp);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QRect(kCentre - r, kCentre - r, 2 * r, 2 * r));
    }
    std::vector<QPoint> pixels;
    for (int y = 0; y < kSide; ++y) {
        for (int x = 0; x < kSide; ++x) {
            if (stamp.pixel(x, y) != QColor(Qt::white).rgb())
                pixels.push_back(QPoint(x - kCentre, y - kCentre));
        }
    }
    return pixels;
}

} // namespace

void TemplateDrawing::flushMarkers(QPainter &p)
{
    if (m_pendingMarkers.empty())
        return;
    static const std::vector<QPoint> ring = markerPixels();
    p.setPen(QPen(m_pendingKind == ProfilePoint    ? DrawingColours::profileMarker
                  : m_pendingKind == TemplatePoint ? DrawingColours::templateMarker
                                                   : DrawingColours::camberMarker,
                  1));
    DirectPixels::drawStamps(p, m_pendingMarkers.data(), int(m_pendingMarkers.size()), ring.data(),
                             int(ring.size()));
    m_pendingMarkers.clear();
}

RibOutline::Kind TemplateDrawing::placeTemplateOutline(const OutlineCurves::KnotSink &onKnot)
{
    // On paper the cut's own tolerances; on screen and in the preview a
    // pixel cannot show better than half itself (ends: two pixels).
    const double scale = m_geom.scale;
    const bool printer = m_geom.mode == OutputMode::Printer;
    const double shortfall =
        printer ? RibOutline::kCheckedShortfall : std::max(RibOutline::kShortfall, 0.5 / scale);
    const double endSlack =
        printer ? RibOutline::kCheckedEndSlack : std::max(RibOutline::kEndSlack, 2.0 / scale);
    const RibOutline::Kind kind = templateOutline(shortfall, endSlack);
    if (kind == RibOutline::Kind::Kept) {
        m_curves.storeTemplateKnots(m_work, m_work.lastPoint, onKnot);
        m_curves.smooth(m_view.upDown4Smoothing);
    } else if (kind == RibOutline::Kind::Offset && onKnot) {
        for (FPoint t : m_builtOutline.markers)
            onKnot(t);
    }
    return kind;
}

bool TemplateDrawing::traceTemplateOutline()
{
    if (!canDraw() || !m_laidOut)
        return false;
    m_templateRefused =
        m_work.skinThickness > 0 && placeTemplateOutline({}) == RibOutline::Kind::Refused;
    return true;
}

const RibOutline::Room &TemplateDrawing::room()
{
    const int n = m_work.lastPoint;
    std::vector<float> inputs;
    inputs.reserve(size_t(4 * (n + 1) + 4));
    inputs.insert(inputs.end(),
                  {float(n), m_work.chord, m_work.skinThickness, float(m_view.upDown4Smoothing)});
    for (int i = 0; i <= n; ++i) {
        for (FPoint q : {m_work.upper[size_t(i)], m_work.lower[size_t(i)]})
            inputs.insert(inputs.end(), {q.x, q.y});
    }
    // The latest first: a step of the smoothing and back finds its room here.
    auto found = std::find_if(m_rooms.begin(), m_rooms.end(),
                              [&](const KeptRoom &k) { return k.inputs == inputs; });
    if (found == m_rooms.end()) {
        if (m_rooms.size() >= kKeptRooms)
            m_rooms.pop_back();
        found = m_rooms.insert(m_rooms.end(),
                               {std::move(inputs), RibOutline::room(m_work, m_work.skinThickness,
                                                                    m_view.upDown4Smoothing)});
    }
    std::rotate(m_rooms.begin(), found, found + 1);
    return m_rooms.front().room;
}

QPolygonF TemplateDrawing::toView(const QPolygonF &mm) const
{
    QPolygonF ring;
    const ViewGeometry &g = m_geom;
    for (const QPointF &p : mm)
        ring.append(QPointF(g.originXf + p.x() * g.scale, g.originYf + p.y() * g.scale));
    return ring;
}

QPolygonF TemplateDrawing::templateRing() const
{
    if (m_templateRefused || m_work.skinThickness <= 0)
        return {};
    return toView(m_builtOutline.ring);
}

// The template outline of this render, built or taken from the last build
// when nothing it depends on has changed.
RibOutline::Kind TemplateDrawing::templateOutline(double shortfall, double endSlack)
{
    const ViewGeometry &g = m_geom;
    const int n = m_work.lastPoint;
    std::vector<float> inputs;
    inputs.reserve(size_t(8 * (n + 1) + 8));
    inputs.insert(inputs.end(),
                  {float(n), float(g.originX), float(g.originY), g.scale, m_work.skinOffset,
                   float(m_work.skinOffsetRounded), float(m_view.upDown4Smoothing),
                   float(shortfall), float(endSlack), m_work.chord, m_work.skinThickness});
    for (int i = 0; i <= n; ++i) {
        for (FPoint q : {g.upperView[size_t(i)], g.lowerView[size_t(i)],
                         m_work.upperTemplate[size_t(i)], m_work.lowerTemplate[size_t(i)]})
            inputs.insert(inputs.end(), {q.x, q.y});
    }
    BuiltOutline &built = m_builtOutline;
    if (inputs.size() == built.inputs.size() &&
        std::memcmp(inputs.data(), built.inputs.data(), inputs.size() * sizeof(float)) == 0) {
        m_curves.nose = built.nose;
        m_curves.tail = built.tail;
        return built.outcome;
    }

    const RibOutline::Room &r = room();
    built = BuiltOutline();
    built.outcome = RibOutline::build(m_work, g, m_view.upDown4Smoothing, r, shortfall, endSlack,
                                      m_curves, &built.ring);
    if (built.outcome == RibOutline::Kind::Offset) {
        // The ring in pixels as drawn, and its front and rear as the ends.
        const QPolygonF ring = toView(built.ring);
        QPointF front = ring.front(), rear = ring.front();
        for (const QPointF &q : ring) {
            const QPoint px(roundPixel(q.x()), roundPixel(q.y()));
            if (built.drawn.isEmpty() || built.drawn.last() != px)
                built.drawn << px;
            if (q.x() < front.x())
                front = q;
            if (q.x() > rear.x())
                rear = q;
        }
        built.drawn << built.drawn.front();
        m_curves.nose = {float(front.x()), float(front.y())};
        m_curves.tail = {float(rear.x()), float(rear.y())};
        // The template points between its ends, as the knots of an outline
        // through them are chosen.
        built.markers.push_back(m_curves.nose);
        for (int i = 0; i <= n; ++i) {
            for (FPoint t : {m_work.upperTemplate[size_t(i)], m_work.lowerTemplate[size_t(i)]})
                if (t.x > m_curves.nose.x && t.x < m_curves.tail.x)
                    built.markers.push_back(t);
        }
        built.markers.push_back(m_curves.tail);
    }
    built.nose = m_curves.nose;
    built.tail = m_curves.tail;
    built.inputs = std::move(inputs);
    return built.outcome;
}
