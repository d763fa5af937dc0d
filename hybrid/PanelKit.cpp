// A panel's ribs as a kit of parts: notches, cut-backs, jig tabs, holes, and
// the panel's plan.
#include "hybrid/PanelKit.h"

#include "cutting/ExportJob.h"
#include "cutting/SheetLayout.h"
#include "profiles/ProfileStore.h"
#include "profiles/WholeFile.h"
#include "render/TemplateDrawing.h"
#include "ui/Language.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <limits>

using Polygons::Ring;
using Polygons::Shape;
using RibVectors::Rib;

namespace
{

constexpr double kFar = 1e4;      // mm, beyond any rib
constexpr double kSmoothing = 50; // as the export of a panel's ribs
constexpr double kTextHeight = 3; // mm, labels of the plan
constexpr double kJoinMark = 5;   // mm, length of a join mark
constexpr double kCheckBar = TemplateDrawing::kCheckBarMm;

std::optional<double> readNumber(QString text)
{
    text = text.trimmed().replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double v = text.toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}

QString numberText(double v)
{
    return QString::number(v, 'g', 10);
}

Ring box(double x1, double y1, double x2, double y2)
{
    return Ring({QPointF(x1, y1), QPointF(x2, y1), QPointF(x2, y2), QPointF(x1, y2)});
}

QPainterPath pathOf(const QPolygonF &points, bool closed)
{
    QPainterPath path;
    if (points.isEmpty())
        return path;
    path.moveTo(points.first());
    for (int i = 1; i < points.size(); ++i)
        path.lineTo(points[i]);
    if (closed)
        path.closeSubpath();
    return path;
}

RibVectors::Shape pathShape(int layer, const QPolygonF &points, bool closed)
{
    RibVectors::Shape s;
    s.kind = RibVectors::Shape::Path;
    s.layer = layer;
    s.path = pathOf(points, closed);
    s.closed = closed;
    return s;
}

RibVectors::Shape label(const QString &text, QPointF at, double height = kTextHeight)
{
    RibVectors::Shape s;
    s.kind = RibVectors::Shape::Label;
    s.layer = RibVectors::Text;
    s.text = text;
    s.centre = at;
    s.height = height;
    return s;
}

// Slivers left where an outline pinches (at a thin trailing edge) are no
// part to cut.
Shape tidy(Shape shape)
{
    shape.erase(
        std::remove_if(shape.begin(), shape.end(),
                       [](const Ring &r) { return std::abs(Polygons::signedArea(r)) < 0.01; }),
        shape.end());
    return shape;
}

QRectF boundsOf(const Shape &shape)
{
    QRectF r;
    for (const Ring &ring : shape)
        r = r.isNull() ? ring.boundingRect() : r.united(ring.boundingRect());
    return r;
}

// The lowest and highest points of the shape inside the strip x1..x2,
// or nothing when the strip misses it.
std::optional<std::pair<double, double>> heightsIn(const Shape &shape, double x1, double x2)
{
    const Shape piece = Polygons::intersect(shape, {box(x1, -kFar, x2, kFar)});
    if (piece.empty())
        return std::nullopt;
    const QRectF r = boundsOf(piece);
    return std::make_pair(r.top(), r.bottom());
}

// The lowest point of a strip's piece on its side at x (the clipped edge
// lies there to within Clipper's grid).
double lowestAt(const Shape &piece, double x)
{
    double best = std::numeric_limits<double>::infinity();
    for (const Ring &ring : piece) {
        for (const QPointF &p : ring) {
            if (std::abs(p.x() - x) < 1e-3)
                best = std::min(best, p.y());
        }
    }
    return best;
}

QString ribText(int number)
{
    return QStringLiteral("N%1").arg(number, 2, 10, QLatin1Char('0'));
}

QString refusal(int number, const QString &fr, const QString &en)
{
    return Language::pick(QStringLiteral("Nervure ") + ribText(number) + QStringLiteral(" : ") + fr,
                          QStringLiteral("Rib ") + ribText(number) + QStringLiteral(": ") + en);
}

// The number in the rib's name ("PANEL N03" gives 3), 0 when none.
int numberOf(const Rib &rib)
{
    static const QRegularExpression tail(QStringLiteral(" N(\\d+)$"));
    const auto m = tail.match(rib.profileName);
    return m.hasMatch() ? m.captured(1).toInt() : 0;
}

// The closed figures of a template (its own cut-outs) as rings.
Shape closedFigures(const Rib &rib)
{
    Shape out;
    for (const RibVectors::Shape &s : rib.shapes) {
        if (s.layer != RibVectors::Figures)
            continue;
        if (s.kind == RibVectors::Shape::Path && s.closed) {
            out.push_back(RibVectors::flatten(s.path));
        } else if (s.kind == RibVectors::Shape::Circle && s.radius > 0) {
            QPainterPath circle;
            circle.addEllipse(s.centre, s.radius, s.radius);
            out.push_back(RibVectors::flatten(circle));
        }
    }
    return out;
}

// The lightening holes: the rib's area WEB in from every edge, split by
// vertical webs at the spars and tabs and wherever a hole would run longer
// than twice the rib's depth, corners rounded, small ones dropped.
Shape lighteningHoles(const Shape &rib, double web, std::vector<double> webs, const Shape &avoid)
{
    const Shape inner = Polygons::offset(rib, -web);
    if (inner.empty())
        return {};
    const QRectF all = boundsOf(rib), room = boundsOf(inner);
    const double longest = std::max(2 * all.height(), 4 * web);
    webs.push_back(room.left());
    webs.push_back(room.right());
    std::sort(webs.begin(), webs.end());
    std::vector<double> filled;
    for (size_t i = 0; i + 1 < webs.size(); ++i) {
        filled.push_back(webs[i]);
        const double gap = webs[i + 1] - webs[i];
        const int extra = int(std::ceil(gap / longest)) - 1;
        for (int k = 1; k <= extra; ++k)
            filled.push_back(webs[i] + gap * k / (extra + 1));
    }
    Shape bars;
    for (double x : filled)
        bars.push_back(box(x - web / 2, -kFar, x + web / 2, kFar));
    // The template's own cut-outs keep the web around them too.
    const Shape split =
        Polygons::subtract(Polygons::subtract(inner, bars), Polygons::offset(avoid, web));
    // Opening rounds every corner with at least the radius and never grows
    // a hole, so the webs stay whole.
    const Shape rounded =
        Polygons::offset(Polygons::offset(split, -PanelKit::kHoleRadius), PanelKit::kHoleRadius);
    Shape holes;
    for (const Ring &ring : rounded) {
        if (std::abs(Polygons::signedArea(ring)) >= PanelKit::kSmallestHole)
            holes.push_back(ring);
    }
    return holes;
}

} // namespace

std::optional<SparSpec> SparSpec::parse(const QString &text)
{
    const QStringList parts = text.trimmed().split(QLatin1Char(':'));
    if (parts.size() < 2 || parts.size() > 3)
        return std::nullopt;
    SparSpec s;
    const QStringList ends = parts[0].split(QStringLiteral(".."));
    if (ends.size() > 2)
        return std::nullopt;
    const auto root = readNumber(ends.front());
    const auto tip = readNumber(ends.back());
    const QStringList size = parts[1].split(QRegularExpression(QStringLiteral("[xX*]")));
    if (!root || !tip || size.size() != 2)
        return std::nullopt;
    const auto w = readNumber(size[0]);
    const auto d = readNumber(size[1]);
    if (!w || !d || !(*w > 0) || !(*d > 0) || *w > 1000 || *d > 1000 || *root < 0 || *root > 100 ||
        *tip < 0 || *tip > 100)
        return std::nullopt;
    s.rootPos = *root;
    s.tipPos = *tip;
    s.width = *w;
    s.depth = *d;
    if (parts.size() == 3) {
        const QString side = parts[2].trimmed().toLower();
        if (side == QLatin1String("top"))
            s.side = Top;
        else if (side == QLatin1String("bottom"))
            s.side = Bottom;
        else if (side == QLatin1String("both"))
            s.side = Both;
        else
            return std::nullopt;
    }
    return s;
}

QString SparSpec::text() const
{
    static const char *const sides[] = {"top", "bottom", "both"};
    QString pos = numberText(rootPos);
    if (tipPos != rootPos)
        pos += QStringLiteral("..") + numberText(tipPos);
    return pos + QLatin1Char(':') + numberText(width) + QLatin1Char('x') + numberText(depth) +
           QLatin1Char(':') + QLatin1String(sides[side]);
}

QByteArray PanelDefinition::toJson() const
{
    auto end = [](const PanelEnd &e) {
        return QJsonObject{{QStringLiteral("profile"), e.profile},
                           {QStringLiteral("template"), e.templ + 1},
                           {QStringLiteral("angle"), e.angle}};
    };
    QJsonObject o{{QStringLiteral("name"), panel.name},
                  {QStringLiteral("root"), end(panel.root)},
                  {QStringLiteral("tip"), end(panel.tip)},
                  {QStringLiteral("span"), panel.span},
                  {QStringLiteral("mixedSkins"), panel.mixedSkins},
                  {QStringLiteral("pivot"), kit.pivot},
                  {QStringLiteral("leCut"), kit.leCut},
                  {QStringLiteral("teCut"), kit.teCut},
                  {QStringLiteral("jig"), kit.jig},
                  {QStringLiteral("tabWidth"), kit.tabWidth},
                  {QStringLiteral("holes"), kit.holes},
                  {QStringLiteral("kerf"), cutting.kerf},
                  {QStringLiteral("nest"), cutting.nesting == VectorExport::Nesting::Rows
                                               ? QStringLiteral("rows")
                                               : QStringLiteral("shape")},
                  {QStringLiteral("grain"),
                   cutting.freeGrain ? QStringLiteral("free") : QStringLiteral("chord")},
                  {QStringLiteral("copies"), cutting.copies}};
    if (!database.isEmpty())
        o.insert(QStringLiteral("database"), database);
    if (panel.stations.empty()) {
        o.insert(QStringLiteral("ribs"), panel.ribCount);
    } else {
        QJsonArray stations;
        for (double d : panel.stations)
            stations.append(d);
        o.insert(QStringLiteral("stations"), stations);
    }
    QJsonArray spars, tabs;
    for (const SparSpec &s : kit.spars)
        spars.append(s.text());
    for (double t : kit.tabs)
        tabs.append(t);
    o.insert(QStringLiteral("spars"), spars);
    o.insert(QStringLiteral("tabs"), tabs);
    return QJsonDocument(o).toJson(QJsonDocument::Indented);
}

std::optional<PanelDefinition> PanelDefinition::fromJson(const QByteArray &bytes, QString *error)
{
    auto fail = [&](const QString &fr, const QString &en) -> std::optional<PanelDefinition> {
        if (error)
            *error = Language::pick(fr, en);
        return std::nullopt;
    };
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(bytes, &parseError);
    if (!doc.isObject())
        return fail(QStringLiteral("Fichier de panneau illisible : ") + parseError.errorString(),
                    QStringLiteral("Unreadable panel file: ") + parseError.errorString());
    const QJsonObject o = doc.object();
    PanelDefinition d;
    // A value of the wrong kind is refused rather than read as zero.
    QString bad;
    auto number = [&](const char *key, double fallback, double low, double high) {
        const QJsonValue v = o.value(QLatin1String(key));
        if (v.isUndefined())
            return fallback;
        if (!v.isDouble() || v.toDouble() < low || v.toDouble() > high) {
            bad = QLatin1String(key);
            return fallback;
        }
        return v.toDouble();
    };
    auto end = [&](const char *key, PanelEnd &e) {
        const QJsonObject eo = o.value(QLatin1String(key)).toObject();
        e.profile = eo.value(QStringLiteral("profile")).toString();
        const int t = eo.value(QStringLiteral("template")).toInt(1);
        const QJsonValue angle = eo.value(QStringLiteral("angle"));
        if (e.profile.isEmpty() || t < 1 || (!angle.isUndefined() && !angle.isDouble()))
            bad = QLatin1String(key);
        e.templ = t - 1;
        e.angle = angle.toDouble();
    };
    d.database = o.value(QStringLiteral("database")).toString();
    d.panel.name = o.value(QStringLiteral("name")).toString(QStringLiteral("PANEL"));
    end("root", d.panel.root);
    end("tip", d.panel.tip);
    d.panel.span = number("span", 0, 0, WingPanel::kMaxSpan);
    d.panel.mixedSkins = o.value(QStringLiteral("mixedSkins")).toBool();
    d.panel.ribCount = int(number("ribs", 0, 0, WingPanel::kMaxRibs));
    for (const QJsonValue v : o.value(QStringLiteral("stations")).toArray()) {
        if (!v.isDouble())
            bad = QStringLiteral("stations");
        d.panel.stations.push_back(v.toDouble());
    }
    d.kit.pivot = number("pivot", 25, 0, 100);
    d.kit.leCut = number("leCut", 0, 0, kFar);
    d.kit.teCut = number("teCut", 0, 0, kFar);
    d.kit.jig = number("jig", 0, 0, kFar);
    d.kit.tabWidth = number("tabWidth", 6, 0.1, kFar);
    d.kit.holes = number("holes", 0, 0, kFar);
    if (o.contains(QStringLiteral("tabs"))) {
        d.kit.tabs.clear();
        for (const QJsonValue v : o.value(QStringLiteral("tabs")).toArray()) {
            if (!v.isDouble() || v.toDouble() < 0 || v.toDouble() > 100)
                bad = QStringLiteral("tabs");
            d.kit.tabs.push_back(v.toDouble());
        }
    }
    for (const QJsonValue v : o.value(QStringLiteral("spars")).toArray()) {
        const auto s = SparSpec::parse(v.toString());
        if (!s)
            bad = QStringLiteral("spars: ") + v.toString();
        else
            d.kit.spars.push_back(*s);
    }
    // The laser's options read as the command line reads them, one at a
    // time so that the wrong one is named.
    const char *const laser[] = {"kerf", "nest", "grain", "copies"};
    for (int i = 0; i < 4; ++i) {
        const QJsonValue v = o.value(QLatin1String(laser[i]));
        QString texts[4];
        texts[i] = v.isDouble() ? QString::number(v.toDouble(), 'g', 10) : v.toString();
        if (!VectorExport::parseCutting(texts[0], texts[1], texts[2], texts[3], &d.cutting,
                                        nullptr))
            bad = QLatin1String(laser[i]);
    }
    if (!bad.isEmpty())
        return fail(QStringLiteral("Fichier de panneau : valeur incorrecte pour ") + bad,
                    QStringLiteral("Panel file: wrong value for ") + bad);
    return d;
}

std::optional<PanelDefinition> PanelDefinition::load(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = path + QStringLiteral(": ") + file.errorString();
        return std::nullopt;
    }
    std::optional<PanelDefinition> d = fromJson(file.readAll(), error);
    if (d && !d->database.isEmpty() && QFileInfo(d->database).isRelative())
        d->database = QFileInfo(path).absoluteDir().filePath(d->database);
    return d;
}

bool PanelDefinition::save(const QString &path, QString *error) const
{
    return WholeFile::write(path, toJson(), error);
}

double PanelKit::sparX(const SparSpec &spar, const Place &place)
{
    const double root = spar.rootPos / 100 * place.rootChord;
    const double tip = spar.tipPos / 100 * place.tipChord;
    return root + (tip - root) * place.fraction;
}

Ring PanelKit::outline(const Rib &rib)
{
    for (const RibVectors::Shape &s : rib.shapes) {
        if (s.layer == RibVectors::Cut && s.kind == RibVectors::Shape::Path && s.closed) {
            Ring ring = RibVectors::flatten(s.path);
            if (ring.size() > 1 && ring.first() == ring.last())
                ring.removeLast();
            return ring;
        }
    }
    return {};
}

bool PanelKit::apply(const KitOptions &kit, const Place &place, Rib *rib, QString *error)
{
    const int number = numberOf(*rib);
    auto fail = [&](const QString &fr, const QString &en) {
        if (error)
            *error = refusal(number, fr, en);
        return false;
    };
    const Ring ring = outline(*rib);
    if (ring.size() < 3)
        return fail(QStringLiteral("pas de contour de gabarit (") + rib->refusal +
                        QStringLiteral(")"),
                    QStringLiteral("no template outline (") + rib->refusal + QStringLiteral(")"));
    const Shape plain = tidy(Polygons::unite({ring}, {}));
    const double chord = rib->chordMm;
    Shape shape = plain;

    // Cut-backs: the rib stops square to the chord where the stock starts.
    if (kit.leCut > 0)
        shape = tidy(Polygons::subtract(shape, {box(-kFar, -kFar, kit.leCut, kFar)}));
    if (kit.teCut > 0)
        shape = tidy(Polygons::subtract(shape, {box(chord - kit.teCut, -kFar, kFar, kFar)}));
    if (shape.size() != 1)
        return fail(QStringLiteral("les coupes des bords d'attaque et de fuite ne laissent rien"),
                    QStringLiteral("the leading- and trailing-edge cut-backs leave nothing"));

    // Notches: the depth counts from the outline's outermost point over the
    // notch, so that a spar of that depth never stands proud of the skin.
    std::vector<double> webs;
    Shape bottomNotches; // a tab there would fill the notch again
    for (const SparSpec &spar : kit.spars) {
        const double x = sparX(spar, place);
        const double x1 = x - spar.width / 2, x2 = x + spar.width / 2;
        const auto h = heightsIn(plain, x1, x2);
        if (!h)
            return fail(
                QStringLiteral("le longeron à %1 mm est hors du gabarit").arg(x, 0, 'f', 1),
                QStringLiteral("the spar at %1 mm lies outside the template").arg(x, 0, 'f', 1));
        const double depthTaken = spar.side == SparSpec::Both ? 2 * spar.depth : spar.depth;
        if (depthTaken >= h->second - h->first)
            return fail(
                QStringLiteral("le longeron à %1 mm coupe la nervure en deux").arg(x, 0, 'f', 1),
                QStringLiteral("the spar at %1 mm cuts the rib in two").arg(x, 0, 'f', 1));
        if (spar.side != SparSpec::Bottom)
            shape = tidy(Polygons::subtract(shape, {box(x1, h->second - spar.depth, x2, kFar)}));
        if (spar.side != SparSpec::Top) {
            const Ring notch = box(x1, -kFar, x2, h->first + spar.depth);
            shape = tidy(Polygons::subtract(shape, {notch}));
            bottomNotches.push_back(notch);
        }
        webs.push_back(x);
    }
    if (shape.size() != 1)
        return fail(QStringLiteral("les encoches coupent la nervure"),
                    QStringLiteral("the notches cut the rib apart"));

    Shape holes;
    std::vector<QPolygonF> scores;
    if (kit.jig > 0) {
        // The rib turned by its incidence about its pivot (nose up turns it
        // clockwise); the board lies jig below the pivot. Each tab hangs
        // square to the board from half-way up the rib down to it.
        const QPointF pivot(kit.pivot / 100 * chord, 0);
        const QTransform turn = QTransform::fromTranslate(pivot.x(), pivot.y())
                                    .rotate(-place.turn)
                                    .translate(-pivot.x(), -pivot.y());
        const QTransform back = turn.inverted();
        Shape turned;
        for (const Ring &r : shape)
            turned.push_back(turn.map(r));
        Shape tabs;
        for (double at : kit.tabs) {
            const double x = turn.map(QPointF(at / 100 * chord, 0)).x();
            const double x1 = x - kit.tabWidth / 2, x2 = x + kit.tabWidth / 2;
            const Shape piece = Polygons::intersect(turned, {box(x1, -kFar, x2, kFar)});
            if (piece.empty())
                return fail(QStringLiteral("la patte à %1 % est hors de la nervure").arg(at),
                            QStringLiteral("the tab at %1 % lies outside the rib").arg(at));
            const QRectF r = boundsOf(piece);
            if (r.top() <= -kit.jig)
                return fail(
                    QStringLiteral("le chantier à %1 mm sous le pivot coupe la nervure")
                        .arg(kit.jig),
                    QStringLiteral("a board %1 mm below the pivot cuts the rib").arg(kit.jig));
            const double top = (r.top() + r.bottom()) / 2;
            const Ring tab = back.map(box(x1, -kit.jig, x2, top));
            if (!Polygons::intersect({tab}, bottomNotches).empty())
                return fail(
                    QStringLiteral("la patte à %1 % tombe sur une encoche de longeron").arg(at),
                    QStringLiteral("the tab at %1 % falls on a spar notch").arg(at));
            tabs.push_back(tab);
            const double left = lowestAt(piece, r.left()), right = lowestAt(piece, r.right());
            if (std::isfinite(left) && std::isfinite(right))
                scores.push_back(
                    back.map(QPolygonF({QPointF(r.left(), left), QPointF(r.right(), right)})));
            webs.push_back(back.map(QPointF(x, 0)).x());
        }
        if (kit.holes > 0)
            holes = lighteningHoles(shape, kit.holes, webs, closedFigures(*rib));
        shape = tidy(Polygons::unite(shape, tabs));
    } else if (kit.holes > 0) {
        holes = lighteningHoles(shape, kit.holes, webs, closedFigures(*rib));
    }
    if (shape.size() != 1)
        return fail(QStringLiteral("le contour ne forme pas une seule pièce"),
                    QStringLiteral("the outline is not one piece"));

    // The cut outline replaced by the kit's contours; the label moves under
    // the lowest point.
    std::vector<RibVectors::Shape> kept;
    double lowest = boundsOf(shape).top();
    for (RibVectors::Shape &s : rib->shapes) {
        if (s.layer == RibVectors::Cut && s.kind == RibVectors::Shape::Path)
            continue;
        if (s.kind == RibVectors::Shape::Label)
            s.centre.setY(std::min(s.centre.y(), lowest - 1 - s.height));
        kept.push_back(std::move(s));
    }
    kept.insert(kept.begin(), pathShape(RibVectors::Cut, shape.front(), true));
    for (const Ring &h : holes)
        kept.insert(kept.begin() + 1, pathShape(RibVectors::Cut, h, true));
    for (const QPolygonF &line : scores)
        kept.push_back(pathShape(RibVectors::Marks, line, false));
    rib->shapes = std::move(kept);
    return true;
}

bool PanelKit::buildRibs(const PanelInputs &panel, const KitOptions &kit, ProfileStore &store,
                         std::vector<Rib> *ribs, QString *error)
{
    const WingPanel::Result r = WingPanel::compute(panel, store);
    if (!r.ok()) {
        if (error)
            *error = r.error;
        return false;
    }
    // The ribs stored in a scratch store of their own, drawn as the export
    // draws any template.
    ProfileStore scratch;
    ExportJob::Picks picks;
    ExportJob::Chords chords; // each rib at its exact chord
    WingPanel::storeForCutting(scratch, panel.name, r.ribs, &picks, &chords);
    if (!ExportJob::buildRibs(scratch, picks, int(kSmoothing), RibVectors::allLayers(), ribs, error,
                              nullptr, chords))
        return false;
    if (!kit.shapesRibs())
        return true;
    const PanelRib &root = r.ribs.front();
    for (size_t i = 0; i < ribs->size(); ++i) {
        Place place;
        place.fraction = r.ribs[i].station / panel.span;
        place.rootChord = (*ribs).front().chordMm;
        place.tipChord = (*ribs).back().chordMm;
        place.turn = r.ribs[i].incidence - root.incidence;
        if (!apply(kit, place, &(*ribs)[i], error))
            return false;
    }
    return true;
}

Rib PanelKit::plan(const PanelInputs &panel, const KitOptions &kit, const std::vector<Rib> &ribs)
{
    Rib plan;
    plan.profileName = panel.name;
    if (ribs.size() < 2)
        return plan;
    const double rootChord = ribs.front().chordMm, tipChord = ribs.back().chordMm;
    const double span = panel.span;
    std::vector<double> stations = panel.stations;
    if (stations.empty()) {
        for (size_t i = 0; i < ribs.size(); ++i)
            stations.push_back(span * double(i) / double(ribs.size() - 1));
    }
    // y down the chord: the leading edge at 0, the trailing edge below.
    auto chordAt = [&](double x) { return rootChord + (tipChord - rootChord) * x / span; };
    plan.shapes.push_back(pathShape(RibVectors::Profile,
                                    QPolygonF({QPointF(0, 0), QPointF(span, 0),
                                               QPointF(span, -tipChord), QPointF(0, -rootChord)}),
                                    true));
    // Edge stock, as deep as the cut-backs.
    if (kit.leCut > 0)
        plan.shapes.push_back(
            pathShape(RibVectors::Figures,
                      QPolygonF({QPointF(0, -kit.leCut), QPointF(span, -kit.leCut)}), false));
    if (kit.teCut > 0)
        plan.shapes.push_back(pathShape(RibVectors::Figures,
                                        QPolygonF({QPointF(0, -(rootChord - kit.teCut)),
                                                   QPointF(span, -(tipChord - kit.teCut))}),
                                        false));
    for (const SparSpec &s : kit.spars) {
        const double r = s.rootPos / 100 * rootChord, t = s.tipPos / 100 * tipChord;
        plan.shapes.push_back(pathShape(
            RibVectors::Figures,
            QPolygonF({QPointF(0, -(r - s.width / 2)), QPointF(span, -(t - s.width / 2)),
                       QPointF(span, -(t + s.width / 2)), QPointF(0, -(r + s.width / 2))}),
            true));
    }
    for (size_t i = 0; i < ribs.size(); ++i) {
        const double x = stations[std::min(i, stations.size() - 1)];
        const double half = std::max(0.05, ribs[i].skinTenths / 20.0);
        // The rib's extent along the chord from its cut outline.
        const QRectF r = boundsOf({outline(ribs[i])});
        const double front = r.isNull() ? 0 : std::max(r.left(), kit.leCut);
        const double rear =
            r.isNull() ? chordAt(x) : std::min(r.right(), ribs[i].chordMm - kit.teCut);
        // The end ribs lie inside the panel.
        const double x1 = std::clamp(x - half, 0.0, span - 2 * half);
        plan.shapes.push_back(
            pathShape(RibVectors::Figures, box(x1, -rear, x1 + 2 * half, -front), true));
        plan.shapes.push_back(label(ribText(int(i) + 1), QPointF(x - kTextHeight, 2)));
    }
    return plan;
}

VectorExport::Document PanelKit::planSheets(const Rib &plan, QSizeF page, double margin)
{
    VectorExport::Document doc;
    const QRectF all = plan.bounds().adjusted(-1, -1, 1, 1);
    // Room for the check bar and the sheet's name along the bottom.
    const double footer = 14;
    const double w = page.width() - 2 * margin, h = page.height() - 2 * margin - footer;
    if (!(w > 10) || !(h > 10) || all.isNull())
        return doc;
    const int columns = std::max(1, int(std::ceil(all.width() / w)));
    const int rows = std::max(1, int(std::ceil(all.height() / h)));
    double stackTop = 0;
    for (int row = 0; row < rows; ++row) {
        for (int col = 0; col < columns; ++col) {
            // The tile of the plan, from the top left (y up: rows go down).
            const double tx = all.left() + col * w, ty = all.bottom() - (row + 1) * h;
            const QRectF tile(tx, ty, w, h);
            const QRectF sheet(0, stackTop - page.height(), page.width(), page.height());
            stackTop -= page.height() + SheetLayout::kSheetSpacing;
            // Tile to sheet: the tile's corner lands margin in from the
            // sheet's top left, above the footer.
            const QPointF shift(sheet.left() + margin - tx, sheet.top() + margin + footer - ty);
            Rib part;
            const Shape clip{box(tile.left(), tile.top(), tile.right(), tile.bottom())};
            for (const RibVectors::Shape &s : plan.shapes) {
                if (s.kind == RibVectors::Shape::Label) {
                    if (tile.contains(s.centre)) {
                        RibVectors::Shape moved = s;
                        moved.centre += shift;
                        part.shapes.push_back(moved);
                    }
                    continue;
                }
                if (s.kind != RibVectors::Shape::Path)
                    continue;
                QPolygonF line = RibVectors::flatten(s.path);
                if (s.closed && !line.isEmpty())
                    line << line.first();
                for (const QPolygonF &piece : Polygons::clipLine(line, clip))
                    part.shapes.push_back(pathShape(
                        s.layer, QTransform::fromTranslate(shift.x(), shift.y()).map(piece),
                        false));
            }
            // Join marks: a cross at every corner of the tile, the same
            // point on the neighbouring sheets.
            const QRectF placed = tile.translated(shift);
            for (const QPointF c :
                 {placed.topLeft(), placed.topRight(), placed.bottomLeft(), placed.bottomRight()}) {
                part.shapes.push_back(pathShape(
                    RibVectors::Marks,
                    QPolygonF({c - QPointF(kJoinMark, 0), c + QPointF(kJoinMark, 0)}), false));
                part.shapes.push_back(pathShape(
                    RibVectors::Marks,
                    QPolygonF({c - QPointF(0, kJoinMark), c + QPointF(0, kJoinMark)}), false));
            }
            // The check bar, a tick every 10 mm, and the sheet's name.
            const QPointF bar(sheet.left() + margin, sheet.top() + margin + 6);
            part.shapes.push_back(
                pathShape(RibVectors::Marks, QPolygonF({bar, bar + QPointF(kCheckBar, 0)}), false));
            for (int k = 0; k <= 10; ++k) {
                const QPointF tick = bar + QPointF(k * kCheckBar / 10, 0);
                part.shapes.push_back(
                    pathShape(RibVectors::Marks,
                              QPolygonF({tick, tick + QPointF(0, k % 5 == 0 ? 3 : 1.5)}), false));
            }
            part.shapes.push_back(label(TemplateDrawing::checkBarLabel(), bar - QPointF(0, 5)));
            const QString name =
                QString(QChar(u'A' + std::min(row, 25))) + QString::number(col + 1);
            part.shapes.push_back(label(plan.profileName + QStringLiteral("  ") + name +
                                            QStringLiteral("  (%1 x %2)").arg(rows).arg(columns),
                                        bar + QPointF(kCheckBar + 10, -5)));
            doc.ribs.push_back(std::move(part));
            doc.sheets.push_back(sheet);
            doc.ribSheet.push_back(int(doc.sheets.size()) - 1);
        }
    }
    return doc;
}

int PanelKit::takeOption(const QString &option, const QString &value, PanelInputs *panel,
                         KitOptions *kit, QString *error)
{
    auto wrong = [&](const QString &what) {
        if (error)
            *error = option + QStringLiteral(": ") + what + QStringLiteral(": ") + value;
        return 0;
    };
    // A length or angle of at least low.
    auto length = [&](double *target, double low, double high) {
        const auto v = readNumber(value);
        if (!v || *v < low || *v > high)
            return wrong(QStringLiteral("not a number from %1 to %2").arg(low).arg(high));
        *target = *v;
        return 1;
    };
    if (option == QLatin1String("--washout")) {
        double deg = 0;
        if (!length(&deg, -45, 45))
            return 0;
        panel->root.angle = 0;
        panel->tip.angle = -deg;
        return 1;
    }
    if (option == QLatin1String("--pivot"))
        return length(&kit->pivot, 0, 100);
    if (option == QLatin1String("--le-cut"))
        return length(&kit->leCut, 0, kFar);
    if (option == QLatin1String("--te-cut"))
        return length(&kit->teCut, 0, kFar);
    if (option == QLatin1String("--jig"))
        return length(&kit->jig, 0, kFar);
    if (option == QLatin1String("--tab-width"))
        return length(&kit->tabWidth, 0.1, kFar);
    if (option == QLatin1String("--holes"))
        return length(&kit->holes, 0, kFar);
    if (option == QLatin1String("--spar")) {
        const auto s = SparSpec::parse(value);
        if (!s)
            return wrong(QStringLiteral("POS:WxD[:top|bottom|both] expected"));
        kit->spars.push_back(*s);
        return 1;
    }
    if (option == QLatin1String("--tabs")) {
        std::vector<double> tabs;
        for (const QString &part : value.split(QRegularExpression(QStringLiteral("[,;]")))) {
            const auto v = readNumber(part);
            if (!v || *v < 0 || *v > 100)
                return wrong(QStringLiteral("positions in % of the chord expected"));
            tabs.push_back(*v);
        }
        kit->tabs = tabs;
        return 1;
    }
    return -1;
}

int PanelKit::exportKit(const PanelInputs &panel, const KitOptions &kit, ProfileStore &store,
                        const VectorExport::Options &options, const QString &path,
                        const QString &planPath, QSizeF page, QString *error, QString *report,
                        QStringList *findings)
{
    std::vector<Rib> ribs;
    if (!buildRibs(panel, kit, store, &ribs, error))
        return 2;
    // Both files are made before either is written.
    QByteArray planBytes;
    if (!planPath.isEmpty()) {
        VectorExport::Document sheets = planSheets(plan(panel, kit, ribs), page);
        sheets.layers = options.layers;
        planBytes = VectorExport::bytes(sheets, options.format, error);
        if (planBytes.isEmpty())
            return 3;
    }
    const VectorExport::Document doc = VectorExport::arrange(std::move(ribs), options);
    if (!VectorExport::save(path, doc, options.format, error))
        return 3;
    if (report)
        *report = QString::number(doc.ribs.size()) +
                  Language::pick(QStringLiteral(" nervure(s), "), QStringLiteral(" rib(s), ")) +
                  VectorExport::report(doc);
    if (findings)
        *findings = doc.findings;
    return planPath.isEmpty() || VectorExport::write(planPath, planBytes, error) ? 0 : 3;
}
