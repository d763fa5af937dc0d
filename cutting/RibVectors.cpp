// A template turned into millimetre geometry for cutting machines.
#include "cutting/RibVectors.h"

#include "geometry/OutlineCurves.h"
#include "geometry/RibOutline.h"
#include "profiles/ProfileStore.h"
#include "render/TemplateDrawing.h"
#include "ui/Language.h"

#include <QLineF>
#include <QPainter>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <iterator>

namespace RibVectors
{

namespace
{

constexpr double kPi = 3.14159265358979323846;
constexpr double kMarkHalfLength = 3; // mm above and below the chord line
constexpr double kTextHeight = 3;     // mm
constexpr double kTextAdvance =
    0.8; // advance per letter, in heights, at least that of the drawn font
constexpr double kCamberStepMm = 2;
constexpr qsizetype kKeptRibs = 1024;

// Pixels of the layout to millimetres, y up, the leading edge at 0.
struct Mapping {
    double ox = 0, oy = 0, scale = 1;
    QPointF operator()(FPoint p) const
    {
        return {(double(p.x) - ox) / scale, -(double(p.y) - oy) / scale};
    }
};

Shape pathShape(int layer, const QPainterPath &path, bool closed)
{
    Shape s;
    s.kind = Shape::Path;
    s.layer = layer;
    s.path = path;
    s.closed = closed;
    return s;
}

QPainterPath polyline(std::initializer_list<QPointF> points, bool closed)
{
    QPainterPath path(*points.begin());
    for (auto it = points.begin() + 1; it != points.end(); ++it)
        path.lineTo(*it);
    if (closed)
        path.closeSubpath();
    return path;
}

// Direction in degrees (y up) of v, given in y-down millimetres.
double directionDeg(QPointF v)
{
    return std::atan2(-v.y(), v.x()) * 180.0 / kPi;
}

// The figures of the template at their true shapes, each cut-out one closed
// contour; a line, which has no inside, is a mark to engrave. Figure values
// are tenths of a millimetre, y downwards; the shapes are turned y up at the
// end.
void addFigures(const WorkingData &work, std::vector<Shape> &all)
{
    std::vector<Shape> out;
    const QTransform flip(1, 0, 0, -1, 0, 0);
    auto up = [](double x, double y) { return QPointF(x, -y); };
    const int last = std::min(work.lastFigure, kMaxFigures - 1);
    for (int i = 0; i <= last; ++i) {
        const FigureRow &f = work.figures[size_t(i)];
        const double x1 = f[FigX1] * 0.1, y1 = f[FigY1] * 0.1;
        const double x2 = f[FigX2] * 0.1, y2 = f[FigY2] * 0.1;
        const double cx = (x1 + x2) / 2, cy = (y1 + y2) / 2;
        const double a = f[FigAngle] * kPi / 180.0;
        const double ca = std::cos(a), sa = std::sin(a);
        // A box corner turned about the centre as the screen turns it.
        auto turned = [&](double x, double y) {
            const double dx = x - cx, dy = y - cy;
            return up(cx + ca * dx + sa * dy, cy + sa * dx - ca * dy);
        };
        const double w = std::abs(x2 - x1), h = std::abs(y2 - y1);
        switch (f[FigKind]) {
        case 0: // rectangle
            out.push_back(pathShape(
                Figures,
                polyline({turned(x1, y1), turned(x2, y1), turned(x2, y2), turned(x1, y2)}, true),
                true));
            break;
        case 1: // line
            out.push_back(pathShape(Marks, polyline({up(x1, y1), up(x2, y2)}, false), false));
            break;
        case 2: { // circle (an ellipse when its box is not square)
            if (w == h) {
                Shape s;
                s.kind = Shape::Circle;
                s.layer = Figures;
                s.centre = up(cx, cy);
                s.radius = w / 2;
                out.push_back(s);
            } else {
                QPainterPath e;
                e.addEllipse(QRectF(QPointF(std::min(x1, x2), std::min(y1, y2)), QSizeF(w, h)));
                out.push_back(pathShape(Figures, flip.map(e), true));
            }
            break;
        }
        case 3: { // half circle: the arc from the end towards point 1, closed by its diameter
            const double hh = (y2 - y1) / 2;
            const QPointF p1(cx + sa * hh, cy - ca * hh);
            const double start = directionDeg(p1 - QPointF(cx, cy));
            QPainterPath e;
            const QRectF box(QPointF(std::min(x1, x2), std::min(y1, y2)), QSizeF(w, h));
            e.arcMoveTo(box, start);
            e.arcTo(box, start, 180);
            e.closeSubpath();
            out.push_back(pathShape(Figures, flip.map(e), true));
            break;
        }
        case 4: // triangle: right angle at point 0
            out.push_back(pathShape(
                Figures, polyline({turned(x1, y1), turned(x2, y1), turned(x1, y2)}, true), true));
            break;
        default:
            break;
        }
        for (Shape &s : out)
            s.figure = i;
        std::move(out.begin(), out.end(), std::back_inserter(all));
        out.clear();
    }
}

void flattenCubic(QPolygonF &out, QPointF p0, QPointF p1, QPointF p2, QPointF p3, double tolerance,
                  int depth)
{
    const QLineF chord(p0, p3);
    auto distance = [&](QPointF p) {
        const double len = chord.length();
        if (len < 1e-12)
            return QLineF(p0, p).length();
        return std::abs((p3.x() - p0.x()) * (p0.y() - p.y()) -
                        (p0.x() - p.x()) * (p3.y() - p0.y())) /
               len;
    };
    // The curve lies within 3/4 of its control points' distance from the chord.
    if (depth >= 18 || 0.75 * std::max(distance(p1), distance(p2)) <= tolerance) {
        out << p3;
        return;
    }
    const QPointF a = (p0 + p1) / 2, b = (p1 + p2) / 2, c = (p2 + p3) / 2;
    const QPointF d = (a + b) / 2, e = (b + c) / 2, m = (d + e) / 2;
    flattenCubic(out, p0, a, d, m, tolerance, depth + 1);
    flattenCubic(out, m, e, c, p3, tolerance, depth + 1);
}

} // namespace

QString labelText(const QString &name, double chordMm, double skinTenths)
{
    return QStringLiteral("%1  %2 mm  %3/10")
        .arg(name)
        .arg(chordMm, 0, 'g', 6)
        .arg(skinTenths, 0, 'g', 6);
}

QString layerName(int layer)
{
    static const char *const names[LayerCount] = {"cut", "figures", "profile", "marks", "text"};
    return layer >= 0 && layer < LayerCount ? QString::fromLatin1(names[layer]) : QString();
}

QPolygonF flatten(const QPainterPath &path, double tolerance)
{
    QPolygonF out;
    const int count = path.elementCount();
    out.reserve(count);
    for (int i = 0; i < count; ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        if (e.isMoveTo()) {
            if (!out.isEmpty())
                break; // one subpath per shape
            out << QPointF(e);
        } else if (e.isLineTo()) {
            out << QPointF(e);
        } else if (e.type == QPainterPath::CurveToElement && i + 2 < count) {
            flattenCubic(out, out.isEmpty() ? QPointF() : out.last(), QPointF(e),
                         QPointF(path.elementAt(i + 1)), QPointF(path.elementAt(i + 2)), tolerance,
                         0);
            i += 2;
        }
    }
    return out;
}

QPainterPath closedPath(const QPolygonF &ring)
{
    QPainterPath path;
    if (ring.isEmpty())
        return path;
    // Most rings repeat no point: put in as they are, without a copy.
    const bool repeats = std::adjacent_find(ring.begin(), ring.end()) != ring.end();
    if (!repeats) {
        path.addPolygon(ring);
    } else {
        QPolygonF kept;
        kept.reserve(ring.size());
        for (const QPointF &p : ring)
            if (kept.isEmpty() || !(p == kept.last()))
                kept.append(p);
        path.addPolygon(kept);
    }
    path.closeSubpath();
    return path;
}

QRectF bounds(const Shape &s)
{
    QRectF r;
    switch (s.kind) {
    case Shape::Path:
        r = s.path.boundingRect();
        break;
    case Shape::Circle:
    case Shape::Arc:
        r = QRectF(s.centre - QPointF(s.radius, s.radius), QSizeF(2 * s.radius, 2 * s.radius));
        break;
    case Shape::Label:
        r = QRectF(s.centre.x(), s.centre.y() - 0.3 * s.height,
                   kTextAdvance * s.height * s.text.size(), 1.3 * s.height);
        if (s.turnDeg != 0) {
            QTransform t;
            t.translate(s.centre.x(), s.centre.y());
            t.rotate(s.turnDeg);
            t.translate(-s.centre.x(), -s.centre.y());
            r = t.mapRect(r);
        }
        break;
    }
    return r;
}

QRectF Rib::bounds() const
{
    QRectF box;
    for (const Shape &s : shapes) {
        const QRectF r = RibVectors::bounds(s);
        box = box.isNull() ? r : box.united(r);
    }
    return box;
}

void Rib::translate(QPointF offset)
{
    // In place: a transform's map would copy every path first.
    for (Shape &s : shapes) {
        s.path.translate(offset);
        s.centre += offset;
    }
}

void Rib::turn(int degrees)
{
    degrees = ((degrees % 360) + 360) % 360;
    if (degrees == 0)
        return;
    // Exact quarter turns: no sine rounding in the coordinates.
    const int c = degrees == 180 ? -1 : 0, s = degrees == 90 ? 1 : degrees == 270 ? -1 : 0;
    const QTransform t(c, s, -s, c, 0, 0);
    for (Shape &sh : shapes) {
        if (sh.kind == Shape::Label && degrees == 180 && sh.turnDeg == 0) {
            const QRectF box =
                t.mapRect(QRectF(sh.centre.x(), sh.centre.y() - 0.3 * sh.height,
                                 kTextAdvance * sh.height * sh.text.size(), 1.3 * sh.height));
            sh.centre = QPointF(box.left(), box.top() + 0.3 * sh.height);
            continue;
        }
        sh.path = t.map(sh.path);
        sh.centre = t.map(sh.centre);
        sh.startDeg = std::fmod(sh.startDeg + degrees, 360.0);
        if (sh.kind == Shape::Label)
            sh.turnDeg = std::fmod(sh.turnDeg + degrees, 360.0);
    }
}

Builder::Builder()
    : m_scratchStore(std::make_unique<ProfileStore>()),
      m_drawing(std::make_unique<TemplateDrawing>(m_scratchStore.get()))
{
}

Builder::~Builder() = default;

bool Builder::fromWorking(const WorkingData &work, const QString &name, int templateIndex,
                          int smoothing, Rib *rib, const LayerSet &layers)
{
    m_drawing->working() = work;
    ViewState &view = m_drawing->viewState();
    view.upDown4Smoothing = std::clamp(smoothing, 0, 100);
    view.checkBox1ProfilPoints = false;
    view.checkBox3GabaritPoints = false;
    view.checkBox4Cambrure = false;
    if (!m_drawing->layoutPrinter(kDotsPerInch, PageSetup{}))
        return false;
    const WorkingData &wd = m_drawing->working();
    const ViewGeometry &g = m_drawing->geometry();
    const Mapping mm{g.originXf, g.originYf, g.scale};
    const int n = wd.lastPoint;
    smoothing = std::clamp(smoothing, 0, 100);

    Rib r;
    r.profileName = name;
    r.templateIndex = templateIndex;
    r.chordMm = wd.chord;
    r.skinTenths = wd.skinThickness;
    auto keep = [&](int layer) { return layers[size_t(layer)]; };

    // The cut line: the rib's outline worked out in millimetres, as a print
    // at the same mapping draws it (none when the section has no room for
    // more than two skins).
    // The profile is the very polyline the cut line was measured against
    // (the drawn curve within 2 µm), so that a check of the file finds the
    // distances the outline was built to.
    Polygons::Ring profile;
    if (wd.skinThickness > 0) {
        RibOutline::Cut cut = RibOutline::cutOutline(wd, wd.chord, wd.skinThickness, smoothing);
        r.templateRefused = cut.refused;
        if (cut.refused)
            r.refusal = TemplateDrawing::skinTooThickMessage(cut.largestSkin);
        else if (keep(Cut))
            r.shapes.push_back(pathShape(Cut, closedPath(cut.ring), true));
        profile = std::move(cut.profile);
    } else if (keep(Profile)) {
        profile = RibOutline::profileRing(wd, smoothing);
        for (QPointF &p : profile)
            p.setY(-p.y());
    }
    if (keep(Figures) || keep(Marks))
        addFigures(wd, r.shapes);
    if (keep(Profile) && profile.size() > 2)
        r.shapes.push_back(pathShape(Profile, closedPath(profile), true));
    const double leX = mm(g.upperView[0]).x();
    const double teX = mm(g.upperView[size_t(n)]).x();
    if (keep(Marks)) {
        r.shapes.push_back(pathShape(Marks, polyline({{leX, 0}, {teX, 0}}, false), false));
        for (double x : {leX, teX})
            r.shapes.push_back(pathShape(
                Marks, polyline({{x, -kMarkHalfLength}, {x, kMarkHalfLength}}, false), false));
        // The camber line, half-way between the surfaces.
        QPainterPath camber;
        // Counted in whole steps: a float position far from zero would stop
        // growing by one step.
        const double step = kCamberStepMm * g.scale;
        const double start = g.upperView[0].x;
        const double span = double(g.upperView[size_t(n)].x) - start;
        const int steps =
            step > 0 && span > 0 ? int(std::min(std::ceil(span / step), double(1 << 26))) : 0;
        for (int k = 0; k < steps; ++k) {
            const float x = float(start + k * step);
            const float up = OutlineCurves::scanHeight(g.upperView.data(), n, x);
            const float low = OutlineCurves::scanHeight(g.lowerView.data(), n, x);
            if (up == OutlineCurves::kInvalidHeight || low == OutlineCurves::kInvalidHeight)
                continue;
            const QPointF p = mm(FPoint{x, (up + low) / 2});
            if (camber.elementCount() == 0)
                camber.moveTo(p);
            else
                camber.lineTo(p);
        }
        const QPointF te = (mm(g.upperView[size_t(n)]) + mm(g.lowerView[size_t(n)])) / 2;
        if (camber.elementCount() > 0) {
            camber.lineTo(te);
            r.shapes.push_back(pathShape(Marks, camber, false));
        }
    }
    if (keep(Text)) {
        Shape s;
        s.kind = Shape::Label;
        s.layer = Text;
        s.height = kTextHeight;
        s.text = labelText(name, double(wd.chord), double(wd.skinThickness));
        double bottom = 0;
        for (int i = 0; i <= n; ++i)
            bottom =
                std::min({bottom, mm(g.lowerView[size_t(i)]).y(), mm(g.upperView[size_t(i)]).y()});
        s.centre = QPointF(leX, bottom - kMarkHalfLength - 1 - kTextHeight);
        r.shapes.push_back(s);
    }
    r.shapes.erase(std::remove_if(r.shapes.begin(), r.shapes.end(),
                                  [&](const Shape &s) { return !keep(s.layer); }),
                   r.shapes.end());
    *rib = std::move(r);
    return true;
}

bool Builder::identify(const ProfileStore &store, int p, int t, int smoothing,
                       const LayerSet &layers, double chordMm, Source *source, QString *error)
{
    auto fail = [&](const QString &fr, const QString &en) {
        if (error)
            *error = Language::pick(fr, en);
        return false;
    };
    if (p < 0 || p >= store.count())
        return fail(QStringLiteral("Profil inconnu n° %1").arg(p + 1),
                    QStringLiteral("Unknown airfoil # %1").arg(p + 1));
    if (t < 0 || t >= store.templateCount(p))
        return fail(
            QStringLiteral("Le profil %1 n'a pas de gabarit n° %2").arg(store.name(p)).arg(t + 1),
            QStringLiteral("Airfoil %1 has no template # %2").arg(store.name(p)).arg(t + 1));

    // Everything the rib is made from but its name: the profile's points,
    // the template line and its figures, and the build's own settings.
    const Tprofil &profile = *store.profile(p);
    const Tprofil::Template &tmpl = profile.templates[size_t(t)];
    QByteArray &key = source->key;
    key.clear();
    key.reserve(profile.pointLines.textSize() + 2 * profile.pointLines.size() + 256);
    profile.pointLines.writeTo(key);
    key += '\x1f';
    key += tmpl.line.toUtf8();
    key += '\x1f';
    tmpl.gabarit.figureLines.writeTo(key);
    key += '\x1f';
    const double settings[] = {chordMm, double(smoothing)};
    key.append(reinterpret_cast<const char *>(settings), sizeof settings);
    for (bool on : layers)
        key += on ? '1' : '0';
    source->profile = p;
    source->templateIndex = t;
    source->chordMm = chordMm;
    source->name = store.name(p);
    source->drawable = false;
    return true;
}

void Builder::select(ProfileStore &store, Source *source)
{
    // A scratch selection on the store, which is then left as it was.
    const int p = source->profile, t = source->templateIndex;
    const int oldProfile = store.currentProfile;
    const int oldTemplate = store.currentTemplate;
    const bool oldError = store.dataError;
    store.dataError = false;
    {
        TemplateDrawing selection(&store);
        selection.setCoordinateTableShown(false);
        selection.SelectProfile(p, t);
        // A template refused at selection (a chord of 0 or beyond the limit)
        // leaves the profile alone at 100 mm: that is not this rib.
        source->drawable = !store.dataError && store.currentTemplate == t;
        source->work = selection.working();
    }
    if (source->chordMm > 0)
        source->work.chord = float(source->chordMm);
    store.currentProfile = oldProfile;
    store.currentTemplate = oldTemplate;
    store.dataError = oldError;
}

QString Builder::undrawable(const QString &name)
{
    return Language::pick(QStringLiteral("Le profil %1 ne peut pas être dessiné").arg(name),
                          QStringLiteral("Airfoil %1 cannot be drawn").arg(name));
}

bool Builder::fromSource(const Source &source, int smoothing, Rib *rib, QString *error,
                         const LayerSet &layers)
{
    if (!source.drawable ||
        !fromWorking(source.work, source.name, source.templateIndex, smoothing, rib, layers)) {
        if (error)
            *error = undrawable(source.name);
        return false;
    }
    return true;
}

Rib Builder::repeat(const Rib &built, const Source &source)
{
    Rib r = built;
    r.profileName = source.name;
    r.templateIndex = source.templateIndex;
    for (Shape &s : r.shapes)
        if (s.kind == Shape::Label)
            s.text = labelText(r.profileName, r.chordMm, r.skinTenths);
    return r;
}

bool Builder::fromStore(ProfileStore &store, int p, int t, int smoothing, Rib *rib, QString *error,
                        const LayerSet &layers, double chordMm)
{
    Source source;
    if (!identify(store, p, t, smoothing, layers, chordMm, &source, error))
        return false;
    const auto done = m_done.constFind(source.key);
    if (done != m_done.constEnd()) {
        *rib = repeat(*done, source);
        ++m_repeatedCount;
        return true;
    }
    select(store, &source);
    if (!fromSource(source, smoothing, rib, error, layers))
        return false;
    ++m_builtCount;
    // Bounded, so that a database of all different sections keeps only
    // its last ribs' worth.
    if (m_done.size() >= kKeptRibs)
        m_done.clear();
    m_done.insert(source.key, *rib);
    return true;
}

} // namespace RibVectors
