#include "drawing/FigureEditor.h"

#include "geometry/Trig.h"
#include "ui/Language.h"

#include <QPainter>

#include <cmath>

const QColor FigureEditor::kCurrent(0, 128, 0);
const QColor FigureEditor::kOther(0, 0, 255);
const QColor FigureEditor::kDrag(255, 0, 0);
const QColor FigureEditor::kSilver(192, 192, 192);

namespace
{

int roundPx(float v)
{
    return roundPixel(v);
}

// An ellipse given by its box from (x1, y1) to (x2, y2), right and bottom
// edges excluded as for every box of the figures.
QRect boxRect(int x1, int y1, int x2, int y2)
{
    return QRect(QPoint(x1, y1), QPoint(x2 - 1, y2 - 1));
}

void ellipseBox(QPainter &p, int x1, int y1, int x2, int y2)
{
    p.drawEllipse(boxRect(x1, y1, x2, y2));
}

// A handle: a small circle around a work point.
void handle(QPainter &p, QPoint pt)
{
    ellipseBox(p, pt.x() - 2, pt.y() - 2, pt.x() + 3, pt.y() + 3);
}

bool near(QPoint pt, int x, int y)
{
    return pt.x() - 4 < x && x < pt.x() + 4 && pt.y() - 4 < y && y < pt.y() + 4;
}

int normalise360(int a)
{
    a %= 360;
    return a < 0 ? a + 360 : a;
}

} // namespace

void FigureBoxes::clamp()
{
    upDown1 = qBound(2, upDown1, 1000);
    upDown2 = qBound(2, upDown2, 1000);
    upDown3 = qBound(-360, upDown3, 360);
    upDown5 = qBound(kCentreXMin, upDown5, kCentreXMax);
    upDown6 = qBound(kCentreYMin, upDown6, kCentreYMax);
}

std::array<QPoint, 6> FigureEditor::screenPoints(int figure) const
{
    std::array<QPoint, 6> pts{};
    if (figure < 0 || figure > m_work.lastFigure || figure >= kMaxFigures)
        return pts;
    const ScaledFigureRow &s = m_work.scaledFigures[figure];
    const FigureRow &f = m_work.figures[figure];
    const float ox = m_geom.originXf, oy = m_geom.originYf;
    const float x1 = s[FigX1], y1 = s[FigY1], x2 = s[FigX2], y2 = s[FigY2];
    const float cx = (x1 + x2) / 2, cy = (y1 + y2) / 2;
    pts[5] = QPoint(roundPx(ox + cx), roundPx(oy + cy));
    const float corners[4][2] = {{x1, y1}, {x2, y1}, {x2, y2}, {x1, y2}};
    const int kind = f[FigKind];
    const int angle = f[FigAngle];
    const float sa = Trig::sinDeg(angle), ca = Trig::cosDeg(angle);
    if (kind == Rectangle || kind == Triangle) {
        for (int k = 0; k < 4; ++k) {
            const float dx = corners[k][0] - cx, dy = corners[k][1] - cy;
            pts[k] =
                QPoint(roundPx(ox + cx + ca * dx + sa * dy), roundPx(oy + cy + sa * dx - ca * dy));
        }
        pts[4] = pts[0];
    } else {
        for (int k = 0; k < 4; ++k)
            pts[k] = QPoint(roundPx(ox + corners[k][0]), roundPx(oy + corners[k][1]));
        if (kind == HalfCircle) {
            const float h = (y2 - y1) / 2;
            pts[1] = QPoint(roundPx(ox + cx + sa * h), roundPx(oy + cy - ca * h));
            pts[3] = QPoint(roundPx(ox + cx - sa * h), roundPx(oy + cy + ca * h));
        }
    }
    return pts;
}

void FigureEditor::draw(QPainter &p, int figure, bool dragging) const
{
    if (figure < 0 || figure > m_work.lastFigure || figure >= kMaxFigures)
        return;
    const bool printer = m_geom.mode == OutputMode::Printer;
    const bool screen = m_geom.mode == OutputMode::Screen;
    const bool current = figure == m_work.currentFigure;
    QColor colour = kOther;
    if (printer)
        colour = Qt::black;
    else if (dragging)
        colour = kDrag;
    else if (current && screen)
        colour = kCurrent;
    p.save();
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(colour, printer ? 2 : 1, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));

    const std::array<QPoint, 6> pt = screenPoints(figure);
    const QPoint c = pt[5];
    // Marks that help editing on the screen, not on paper; a dragged
    // outline goes without them.
    const bool marks = screen && !dragging;
    const bool handles = marks && current;
    auto silverCircle = [&](int a, int b) {
        p.save();
        p.setPen(QPen(kSilver, 1));
        ellipseBox(p, c.x() - a, c.y() - a, c.x() + b, c.y() + b);
        p.restore();
    };
    auto silverHandles = [&](std::initializer_list<int> which) {
        p.save();
        p.setPen(QPen(kSilver, 1));
        for (int k : which)
            handle(p, pt[k]);
        p.restore();
    };

    switch (m_work.figures[figure][FigKind]) {
    case Rectangle:
        p.drawPolyline(QPolygon({pt[0], pt[1], pt[2], pt[3], pt[4]}));
        if (marks)
            silverCircle(3, 4);
        if (handles)
            for (int k = 0; k < 4; ++k)
                handle(p, pt[k]);
        break;
    case Line:
        p.drawLine(pt[0], pt[2]);
        if (marks)
            silverCircle(4, 5);
        break;
    case Circle:
        ellipseBox(p, pt[0].x(), pt[0].y(), pt[2].x(), pt[2].y());
        p.drawLine(c.x() - 3, c.y(), c.x() + 4, c.y());
        p.drawLine(c.x(), c.y() - 3, c.x(), c.y() + 4);
        if (marks)
            silverCircle(4, 5);
        break;
    case HalfCircle: {
        // The half disc from the radius towards point 1, counter-clockwise
        // to the radius towards point 3. Angles are taken on the ellipse's
        // own axes, so they match the rays for any box.
        const QRect box = boxRect(pt[0].x(), pt[0].y(), pt[2].x() + 1, pt[2].y() + 1);
        const QPointF centre = QRectF(box).center();
        const double a = box.width() / 2.0, b = box.height() / 2.0;
        auto angleTo = [&](QPoint q) {
            if (a <= 0 || b <= 0)
                return 0.0;
            return std::atan2(-(q.y() - centre.y()) / b, (q.x() - centre.x()) / a) * 180.0 / M_PI;
        };
        const double start = angleTo(pt[1]);
        double span = angleTo(pt[3]) - start;
        while (span <= 0)
            span += 360;
        p.drawPie(box, int(std::lround(start * 16)), int(std::lround(span * 16)));
        if (marks)
            silverCircle(4, 5);
        if (handles)
            silverHandles({1, 3});
        break;
    }
    case Triangle:
        p.drawPolyline(QPolygon({pt[0], pt[1], pt[3], pt[0]}));
        if (marks)
            silverCircle(4, 5);
        if (handles)
            silverHandles({0, 1, 3});
        break;
    default:
        break;
    }
    p.restore();
}

bool FigureEditor::hitTest(int figure, int x, int y)
{
    if (figure < 0 || figure > m_work.lastFigure || figure >= kMaxFigures)
        return false;
    const std::array<QPoint, 6> pt = screenPoints(figure);
    const bool centre = Trig::distance(pt[5].x(), pt[5].y(), x, y) <= 11;
    DragMode mode = NoDrag;
    int grabbed = -1;
    auto firstNear = [&](std::initializer_list<int> which) {
        for (int k : which)
            if (near(pt[k], x, y))
                return k;
        return -1;
    };
    switch (m_work.figures[figure][FigKind]) {
    case Rectangle:
        grabbed = firstNear({0, 1, 2, 3});
        mode = grabbed >= 0 ? Rotate : NoDrag;
        break;
    case Line:
        grabbed = near(pt[0], x, y) ? 0 : near(pt[2], x, y) ? 2 : -1;
        mode = grabbed >= 0 ? MoveLineEnd : NoDrag;
        break;
    case HalfCircle:
        grabbed = near(pt[1], x, y) ? 0 : near(pt[3], x, y) ? 2 : -1;
        mode = grabbed >= 0 ? Rotate : NoDrag;
        break;
    case Triangle:
        grabbed = firstNear({0, 1, 3});
        mode = grabbed >= 0 ? Rotate : NoDrag;
        break;
    default:
        break;
    }
    if (mode == NoDrag && centre)
        mode = Move;
    if (mode == NoDrag)
        return false;
    if (mode == Rotate)
        m_angleReference =
            Trig::directionAngle(pt[5].x(), pt[5].y(), x, y) + m_work.figures[figure][FigAngle];
    dragMode = mode;
    grabbedHandle = grabbed;
    m_work.currentFigure = figure;
    return true;
}

bool FigureEditor::selectAt(int x, int y)
{
    dragMode = NoDrag;
    grabbedHandle = -1;
    if (m_work.currentFigure >= 0 && hitTest(m_work.currentFigure, x, y))
        return true;
    const int before = m_work.currentFigure;
    int found = -1;
    DragMode foundMode = NoDrag;
    int foundHandle = -1, foundReference = 0;
    for (int i = 0; i <= m_work.lastFigure && i < kMaxFigures; ++i) {
        if (hitTest(i, x, y)) {
            found = i;
            foundMode = dragMode;
            foundHandle = grabbedHandle;
            foundReference = m_angleReference;
        }
    }
    if (found < 0) {
        m_work.currentFigure = before;
        dragMode = NoDrag;
        grabbedHandle = -1;
        return false;
    }
    m_work.currentFigure = found;
    dragMode = foundMode;
    grabbedHandle = foundHandle;
    m_angleReference = foundReference;
    return true;
}

void FigureEditor::writeBack(int figure)
{
    const float scale = m_geom.scale > 0 ? m_geom.scale : 1;
    for (int k : {FigX1, FigY1, FigX2, FigY2})
        m_work.figures[figure][k] = roundPixel(m_work.scaledFigures[figure][k] * 10.0f / scale);
}

void FigureEditor::placeAt(int x, int y)
{
    placing = false;
    const int f = m_work.currentFigure;
    if (f < 0 || f > m_work.lastFigure)
        return;
    ScaledFigureRow &s = m_work.scaledFigures[f];
    const float dx = x - m_geom.originXf - (s[FigX2] - s[FigX1]) / 2;
    const float dy = y - m_geom.originYf - (s[FigY2] - s[FigY1]) / 2;
    s[FigX1] += dx;
    s[FigX2] += dx;
    s[FigY1] += dy;
    s[FigY2] += dy;
    writeBack(f);
    m_work.figuresChanged = true;
}

bool FigureEditor::press(int x, int y)
{
    if (!selectAt(x, y))
        return false;
    m_last = QPoint(x, y);
    return true;
}

bool FigureEditor::move(int x, int y)
{
    const int f = m_work.currentFigure;
    if (dragMode == NoDrag || f < 0 || f > m_work.lastFigure)
        return false;
    const float dx = float(x - m_last.x()), dy = float(y - m_last.y());
    ScaledFigureRow &s = m_work.scaledFigures[f];
    switch (dragMode) {
    case Move:
        s[FigX1] += dx;
        s[FigX2] += dx;
        s[FigY1] += dy;
        s[FigY2] += dy;
        break;
    case Rotate: {
        const QPoint c = screenPoints(f)[5];
        m_work.figures[f][FigAngle] = m_angleReference - Trig::directionAngle(c.x(), c.y(), x, y);
        break;
    }
    case MoveLineEnd:
        if (grabbedHandle == 2) {
            s[FigX2] += dx;
            s[FigY2] += dy;
        } else {
            s[FigX1] += dx;
            s[FigY1] += dy;
        }
        break;
    default:
        break;
    }
    m_last = QPoint(x, y);
    return true;
}

bool FigureEditor::release()
{
    if (dragMode == NoDrag)
        return false;
    const int f = m_work.currentFigure;
    if (f >= 0 && f <= m_work.lastFigure) {
        writeBack(f);
        m_work.figuresChanged = true;
    }
    dragMode = NoDrag;
    refreshPanel();
    return true;
}

bool FigureEditor::newFigure(Kind kind)
{
    if (m_work.lastFigure >= kMaxFigures - 1)
        return false;
    m_work.figuresChanged = true;
    const int f = ++m_work.lastFigure;
    m_work.currentFigure = f;
    FigureRow &row = m_work.figures[f];
    row[FigKind] = kind;
    if (kind == Line || kind == Circle || kind == HalfCircle)
        boxes.upDown2 = boxes.upDown1;
    placing = true;
    if (kind == Line) {
        row[FigX1] = row[FigY1] = row[FigX2] = 0;
        row[FigY2] = boxes.upDown2;
        row[FigAngle] = 0;
    } else {
        row[FigX1] = row[FigY1] = 0;
        row[FigX2] = boxes.upDown1;
        row[FigY2] = boxes.upDown2;
        row[FigAngle] = boxes.upDown3;
    }
    const float k = m_geom.scale * 0.1f;
    for (int c = 0; c < 6; ++c)
        m_work.scaledFigures[f][c] = row[c] * k;
    refreshPanel();
    return true;
}

bool FigureEditor::deleteCurrent()
{
    const int f = m_work.currentFigure;
    if (f < 0 || f > m_work.lastFigure)
        return false;
    for (int i = f; i < m_work.lastFigure; ++i) {
        m_work.figures[i] = m_work.figures[i + 1];
        m_work.scaledFigures[i] = m_work.scaledFigures[i + 1];
    }
    --m_work.lastFigure;
    if (m_work.currentFigure > m_work.lastFigure)
        m_work.currentFigure = m_work.lastFigure;
    m_work.figuresChanged = true;
    refreshPanel();
    return true;
}

bool FigureEditor::step(Box box, bool up)
{
    const int f = m_work.currentFigure;
    if (f < 0 || f > m_work.lastFigure)
        return false;
    FigureRow &row = m_work.figures[f];
    switch (box) {
    case CentreX:
        row[FigX1] += up ? 1 : -1;
        row[FigX2] += up ? 1 : -1;
        break;
    case CentreY:
        row[FigY1] += up ? -1 : 1;
        row[FigY2] += up ? -1 : 1;
        break;
    default: {
        const int kind = row[FigKind];
        if (kind == Line)
            return false;
        if (kind == Circle || kind == HalfCircle)
            boxes.upDown2 = boxes.upDown1;
        const int w = boxes.upDown1, h = boxes.upDown2;
        const int cx = (row[FigX1] + row[FigX2]) / 2, cy = (row[FigY1] + row[FigY2]) / 2;
        row[FigX1] = cx - w / 2;
        row[FigX2] = cx + w / 2;
        row[FigY1] = cy - h / 2;
        row[FigY2] = cy + h / 2;
        row[FigAngle] = boxes.upDown3;
        break;
    }
    }
    m_work.figuresChanged = true;
    return true;
}

FigureEditor::CentreMove FigureEditor::moveCentreTo(Box box, int value)
{
    const int f = m_work.currentFigure;
    if (f < 0 || f > m_work.lastFigure || (box != CentreX && box != CentreY))
        return CentreMove::Unchanged;
    const bool across = box == CentreX;
    const int low = across ? FigureBoxes::kCentreXMin : FigureBoxes::kCentreYMin;
    const int high = across ? FigureBoxes::kCentreXMax : FigureBoxes::kCentreYMax;
    if (value < low || value > high)
        return CentreMove::OutOfRange;
    FigureRow &row = m_work.figures[f];
    const int first = across ? FigX1 : FigY1, second = across ? FigX2 : FigY2;
    // The table counts y downwards; the box shows it upwards.
    const int wanted = across ? value : -value;
    const int shift = wanted - (row[first] + row[second]) / 2;
    if (shift == 0)
        return CentreMove::Unchanged;
    row[first] += shift;
    row[second] += shift;
    m_work.figuresChanged = true;
    return CentreMove::Moved;
}

void FigureEditor::refreshPanel()
{
    const int f = m_work.currentFigure;
    auto label = [](const char *fr, const char *en) {
        return Language::pick(QString::fromUtf8(fr), QString::fromUtf8(en));
    };
    if (f < 0 || f > m_work.lastFigure) {
        boxes.label1 = label("Largeur", "Width");
        boxes.upDown1Visible = boxes.size2Visible = boxes.angleVisible = boxes.upDown3Visible =
            true;
        return;
    }
    FigureRow &row = m_work.figures[f];
    switch (row[FigKind]) {
    case Line:
        boxes.label1 = label("Longueur", "Size");
        boxes.upDown1Visible = false;
        boxes.size2Visible = false;
        boxes.angleVisible = true;
        boxes.upDown3Visible = false;
        break;
    case Circle:
        boxes.label1 = label("Diamètre", "Diameter");
        boxes.upDown1Visible = true;
        boxes.size2Visible = boxes.angleVisible = boxes.upDown3Visible = false;
        break;
    case HalfCircle:
        boxes.label1 = label("Diamètre", "Diameter");
        boxes.upDown1Visible = true;
        boxes.size2Visible = false;
        boxes.angleVisible = boxes.upDown3Visible = true;
        break;
    default:
        boxes.label1 = label("Largeur", "Width");
        boxes.upDown1Visible = boxes.size2Visible = boxes.angleVisible = boxes.upDown3Visible =
            true;
        break;
    }
    if (row[FigKind] == Line) {
        boxes.upDown1 = Trig::distance(row[FigX1], row[FigY1], row[FigX2], row[FigY2]);
        const std::array<QPoint, 6> pt = screenPoints(f);
        row[FigAngle] = Trig::directionAngle(pt[0].x(), pt[0].y(), pt[2].x(), pt[2].y());
    } else {
        boxes.upDown1 = row[FigX2] - row[FigX1];
        boxes.upDown2 = row[FigY2] - row[FigY1];
    }
    if (row[FigKind] != Circle)
        boxes.upDown3 = normalise360(row[FigAngle]);
    boxes.upDown5 = (row[FigX1] + row[FigX2]) / 2;
    boxes.upDown6 = -((row[FigY1] + row[FigY2]) / 2);
    boxes.clamp();
}
