#include "cutting/HotWire.h"

#include "ui/Language.h"

#include <QTransform>

#include <algorithm>
#include <cmath>
#include <utility>

namespace HotWire
{

namespace
{

using Language::pick;

// Points this close to the outline's extreme x belong to its trailing or
// leading edge run (a flat face, or the top of a grown round end).
constexpr double kEdgeRun = 1e-3;

double length(QPointF a, QPointF b)
{
    return std::hypot(b.x() - a.x(), b.y() - a.y());
}

// Consecutive repeats dropped.
void dropRepeats(std::vector<QPointF> &line)
{
    line.erase(std::unique(line.begin(), line.end(),
                           [](QPointF a, QPointF b) { return length(a, b) < 1e-9; }),
               line.end());
}

// The point halfway along walk[from..to] (by length), and the segment it
// lies on (walk[segment]..walk[segment + 1]).
QPointF middle(const std::vector<QPointF> &walk, int from, int to, int *segment)
{
    double total = 0;
    for (int i = from; i < to; ++i)
        total += length(walk[size_t(i)], walk[size_t(i) + 1]);
    double left = total / 2;
    for (int i = from; i < to; ++i) {
        const double l = length(walk[size_t(i)], walk[size_t(i) + 1]);
        if (left <= l && l > 0) {
            *segment = i;
            return walk[size_t(i)] + (walk[size_t(i) + 1] - walk[size_t(i)]) * (left / l);
        }
        left -= l;
    }
    *segment = std::max(from, to - 1);
    return walk[size_t(to)];
}

// The run of ring points around index `at` whose x lies within kEdgeRun of
// it, as its first and last index in ring order.
void edgeRun(const Polygons::Ring &ring, int at, int *first, int *last)
{
    const int n = int(ring.size());
    const double x = ring[at].x();
    auto near = [&](int i) { return std::abs(ring[((i % n) + n) % n].x() - x) <= kEdgeRun; };
    int a = at, b = at;
    while (near(a - 1) && b - a < n - 1)
        --a;
    while (near(b + 1) && b - a < n - 1)
        ++b;
    *first = ((a % n) + n) % n;
    *last = ((b % n) + n) % n;
}

// The point at length s along a closed loop of points (the last repeating
// the first), cum its cumulative lengths; s wraps round.
QPointF alongLoop(const std::vector<QPointF> &loop, const std::vector<double> &cum, double s)
{
    const double total = cum.back();
    s = std::fmod(s, total);
    if (s < 0)
        s += total;
    const auto it = std::upper_bound(cum.begin(), cum.end(), s);
    const size_t i =
        std::min(size_t(std::max<std::ptrdiff_t>(it - cum.begin(), 1)), cum.size() - 1);
    const double l = cum[i] - cum[i - 1];
    return l > 0 ? loop[i - 1] + (loop[i] - loop[i - 1]) * ((s - cum[i - 1]) / l) : loop[i];
}

QString mm(double v)
{
    return QString::number(v, 'g', 6);
}

} // namespace

Section section(const Polygons::Ring &outline, double kerf)
{
    Section out;
    if (outline.size() < 3)
        return out;
    Polygons::Ring ring = outline;
    if (kerf > 0) {
        // The grown outline is one ring; keep the largest should a sliver
        // come back beside it.
        const Polygons::Shape grown = Polygons::offset({outline}, kerf / 2);
        double best = 0;
        for (const Polygons::Ring &r : grown) {
            const double a = std::abs(Polygons::signedArea(r));
            if (a > best) {
                best = a;
                ring = r;
            }
        }
    }
    if (ring.size() > 1 && ring.first() == ring.last())
        ring.removeLast();
    std::vector<QPointF> pts(ring.begin(), ring.end());
    dropRepeats(pts);
    if (pts.size() < 3)
        return out;
    ring = Polygons::Ring(pts.begin(), pts.end());
    // Anticlockwise (y up): from the trailing edge upwards, over the upper
    // surface to the leading edge and back under the lower one.
    if (Polygons::signedArea(ring) < 0)
        std::reverse(ring.begin(), ring.end());
    const int n = int(ring.size());
    int rear = 0, front = 0;
    for (int i = 1; i < n; ++i) {
        if (ring[i].x() > ring[rear].x())
            rear = i;
        if (ring[i].x() < ring[front].x())
            front = i;
    }
    int teFirst = 0, teLast = 0, leFirst = 0, leLast = 0;
    edgeRun(ring, rear, &teFirst, &teLast);
    edgeRun(ring, front, &leFirst, &leLast);

    // The ring walked from the start of the trailing edge run, closed.
    std::vector<QPointF> walk;
    walk.reserve(size_t(n) + 1);
    for (int i = 0; i <= n; ++i)
        walk.push_back(ring[(teFirst + i) % n]);
    const int teEnd = (teLast - teFirst + n) % n;
    const int leStart = (leFirst - teFirst + n) % n;
    const int leEnd = (leLast - teFirst + n) % n;
    if (!(teEnd < leStart && leStart <= leEnd && leEnd < n))
        return out; // the two ends overlap: no usable section
    int teSeg = 0, leSeg = 0;
    const QPointF te = middle(walk, 0, teEnd, &teSeg);
    const QPointF le = middle(walk, leStart, leEnd, &leSeg);
    out.upper.push_back(te);
    for (int i = teSeg + 1; i <= leSeg; ++i)
        out.upper.push_back(walk[size_t(i)]);
    out.upper.push_back(le);
    out.lower.push_back(le);
    for (int i = leSeg + 1; i <= n; ++i)
        out.lower.push_back(walk[size_t(i)]);
    for (int i = 1; i <= teSeg; ++i)
        out.lower.push_back(walk[size_t(i)]);
    out.lower.push_back(te);
    dropRepeats(out.upper);
    dropRepeats(out.lower);
    return out;
}

std::vector<double> shares(const std::vector<QPointF> &line)
{
    std::vector<double> out(line.size(), 0.0);
    for (size_t i = 1; i < line.size(); ++i)
        out[i] = out[i - 1] + length(line[i - 1], line[i]);
    const double total = out.empty() ? 0 : out.back();
    for (double &s : out)
        s = total > 0 ? s / total : 0;
    return out;
}

std::vector<QPointF> resample(const std::vector<QPointF> &line, const std::vector<double> &at)
{
    std::vector<QPointF> out;
    if (line.empty())
        return out;
    const std::vector<double> s = shares(line);
    size_t i = 1;
    for (double t : at) {
        if (line.size() == 1 || s.back() <= 0) {
            out.push_back(line.front());
            continue;
        }
        while (i + 1 < line.size() && s[i] < t)
            ++i;
        while (i > 1 && s[i - 1] > t)
            --i;
        const double l = s[i] - s[i - 1];
        const double f = l > 0 ? std::clamp((t - s[i - 1]) / l, 0.0, 1.0) : 1.0;
        out.push_back(line[i - 1] + (line[i] - line[i - 1]) * f);
    }
    return out;
}

Paths inStep(const Section &root, const Section &tip)
{
    Paths out;
    auto surface = [&](const std::vector<QPointF> &r, const std::vector<QPointF> &t) {
        // Every point of either face at its share of the surface, so that
        // neither outline loses a point.
        std::vector<double> at = shares(r);
        const std::vector<double> other = shares(t);
        at.insert(at.end(), other.begin(), other.end());
        at.push_back(0);
        at.push_back(1);
        std::sort(at.begin(), at.end());
        at.erase(std::unique(at.begin(), at.end(),
                             [](double a, double b) { return std::abs(a - b) < 1e-12; }),
                 at.end());
        const std::vector<QPointF> rs = resample(r, at), ts = resample(t, at);
        for (size_t i = 0; i < at.size(); ++i) {
            // The leading edge is both surfaces' end: once only.
            if (!out.root.empty() && i == 0)
                continue;
            // A move where neither face goes anywhere is left out.
            if (!out.root.empty() && length(out.root.back(), rs[i]) < 1e-9 &&
                length(out.tip.back(), ts[i]) < 1e-9)
                continue;
            out.root.push_back(rs[i]);
            out.tip.push_back(ts[i]);
        }
    };
    surface(root.upper, tip.upper);
    out.leadingEdge = int(out.root.size()) - 1;
    surface(root.lower, tip.lower);
    return out;
}

std::vector<Mark> marks(const Section &section, int divisions)
{
    std::vector<Mark> out;
    if (!section.ok() || divisions < 1)
        return out;
    // The closed loop: upper surface, then lower back to the trailing edge.
    std::vector<QPointF> loop = section.upper;
    loop.insert(loop.end(), section.lower.begin() + 1, section.lower.end());
    std::vector<double> cum(loop.size(), 0.0);
    for (size_t i = 1; i < loop.size(); ++i)
        cum[i] = cum[i - 1] + length(loop[i - 1], loop[i]);
    double upperLength = 0;
    for (size_t i = 1; i < section.upper.size(); ++i)
        upperLength += length(section.upper[i - 1], section.upper[i]);
    const double lowerLength = cum.back() - upperLength;
    // The outward normal from the chord across the point, half a
    // millimetre each way (the loop runs anticlockwise).
    auto mark = [&](int number, double s) {
        Mark m;
        m.number = number;
        m.at = alongLoop(loop, cum, s);
        const QPointF d = alongLoop(loop, cum, s + 0.5) - alongLoop(loop, cum, s - 0.5);
        const double l = std::hypot(d.x(), d.y());
        m.outward = l > 0 ? QPointF(d.y() / l, -d.x() / l) : QPointF(1, 0);
        out.push_back(m);
    };
    for (int k = 0; k <= divisions; ++k)
        mark(k, upperLength * k / divisions);
    for (int k = 1; k < divisions; ++k)
        mark(divisions + k, upperLength + lowerLength * k / divisions);
    return out;
}

void towers(QPointF root, QPointF tip, const Settings &settings, QPointF *xy, QPointF *uv)
{
    // Root face at z = offset, tip face at offset + span; towers at 0 and
    // width along the wire.
    const QPointF d = tip - root;
    *xy = root + d * ((0 - settings.offset) / settings.span);
    *uv = root + d * ((settings.width - settings.offset) / settings.span);
}

bool parseFeedMode(const QString &text, FeedMode *mode)
{
    if (text == QLatin1String("combined"))
        *mode = FeedMode::Combined;
    else if (text == QLatin1String("inverse"))
        *mode = FeedMode::InverseTime;
    else
        return false;
    return true;
}

QString check(const Settings &s)
{
    auto refuse = [](const QString &fr, const QString &en) { return pick(fr, en); };
    for (double v : {s.width, s.offset, s.span, s.kerf, s.turn, s.pivot, s.sweep, s.feed, s.lead})
        if (!std::isfinite(v))
            return refuse(QStringLiteral("Valeur non numérique dans les réglages."),
                          QStringLiteral("A setting is not a number."));
    if (!(s.span > 0) || !(s.width > 0))
        return refuse(QStringLiteral("L'envergure et l'écart des tours doivent être positifs."),
                      QStringLiteral("The span and the towers' distance must be above 0."));
    if (s.offset < 0 || s.offset + s.span > s.width + 1e-9)
        return refuse(
            QStringLiteral("Le bloc (décalage ") + mm(s.offset) + QStringLiteral(" + envergure ") +
                mm(s.span) + QStringLiteral(" mm) ne tient pas entre les tours, écartées de ") +
                mm(s.width) + QStringLiteral(" mm."),
            QStringLiteral("The block (offset ") + mm(s.offset) + QStringLiteral(" + span ") +
                mm(s.span) + QStringLiteral(" mm) is wider than the towers, ") + mm(s.width) +
                QStringLiteral(" mm apart."));
    if (s.kerf < 0)
        return refuse(QStringLiteral("La saignée ne peut pas être négative."),
                      QStringLiteral("The kerf cannot be below 0."));
    if (!(s.feed > 0))
        return refuse(QStringLiteral("La vitesse de coupe doit être positive."),
                      QStringLiteral("The feed must be above 0."));
    if (!(s.lead > 0))
        return refuse(QStringLiteral("L'entrée du fil doit être positive."),
                      QStringLiteral("The lead-in must be above 0."));
    if (s.pivot < 0 || s.pivot > 100)
        return refuse(QStringLiteral("Le pivot est un pourcentage de la corde, de 0 à 100."),
                      QStringLiteral("The pivot is a percentage of the chord, 0 to 100."));
    return QString();
}

Cut plan(const Core &core, const Settings &s)
{
    Cut cut;
    auto refuse = [&](const QString &fr, const QString &en) {
        cut.error = pick(fr, en);
        return cut;
    };
    cut.error = check(s);
    cut.settings = s;
    if (!cut.ok())
        return cut;
    if (core.root.size() < 3 || core.tip.size() < 3)
        return refuse(QStringLiteral("Pas de contour de gabarit à l'emplanture ou au saumon."),
                      QStringLiteral("No template outline at the root or the tip."));
    const double thin =
        std::min(core.root.boundingRect().height(), core.tip.boundingRect().height());
    if (s.kerf < 0 || s.kerf >= thin)
        return refuse(QStringLiteral("La saignée (") + mm(s.kerf) +
                          QStringLiteral(" mm) doit être positive et plus fine que le noyau (") +
                          mm(thin) + QStringLiteral(" mm d'épaisseur)."),
                      QStringLiteral("The kerf (") + mm(s.kerf) +
                          QStringLiteral(" mm) must be 0 or more and thinner than the core (") +
                          mm(thin) + QStringLiteral(" mm thick)."));
    cut.rootSection = section(core.root, s.kerf);
    cut.tipSection = section(core.tip, s.kerf);
    if (!cut.rootSection.ok() || !cut.tipSection.ok())
        return refuse(QStringLiteral("Le contour du noyau n'a ni bord d'attaque ni bord de fuite "
                                     "distincts."),
                      QStringLiteral("The core's outline has no distinct leading and trailing "
                                     "edges."));
    Paths p = inStep(cut.rootSection, cut.tipSection);
    // The tip turned about its pivot (nose up turns it clockwise, y up),
    // then set back by the sweep.
    const QPointF pivot(s.pivot / 100 * core.tipChord, 0);
    const QTransform place = QTransform::fromTranslate(s.sweep, 0)
                                 .translate(pivot.x(), pivot.y())
                                 .rotate(-s.turn)
                                 .translate(-pivot.x(), -pivot.y());
    for (QPointF &q : p.tip)
        q = place.map(q);
    // The wire comes in from behind the trailing edge and leaves the same way.
    const QPointF in(s.lead, 0);
    cut.faces.root.push_back(p.root.front() + in);
    cut.faces.tip.push_back(p.tip.front() + in);
    cut.faces.root.insert(cut.faces.root.end(), p.root.begin(), p.root.end());
    cut.faces.tip.insert(cut.faces.tip.end(), p.tip.begin(), p.tip.end());
    cut.faces.root.push_back(cut.faces.root.front());
    cut.faces.tip.push_back(cut.faces.tip.front());
    cut.faces.leadingEdge = p.leadingEdge + 1;

    for (size_t i = 0; i < cut.faces.root.size(); ++i) {
        QPointF xy, uv;
        towers(cut.faces.root[i], cut.faces.tip[i], s, &xy, &uv);
        Move m{xy.x(), xy.y(), uv.x(), uv.y(), s.feed};
        if (i > 0) {
            // The feed is the towers' combined speed; the faster face
            // moves at the feed.
            const Move &b = cut.moves.back();
            const double face = std::max(length(cut.faces.root[i - 1], cut.faces.root[i]),
                                         length(cut.faces.tip[i - 1], cut.faces.tip[i]));
            const double all = std::sqrt((m.x - b.x) * (m.x - b.x) + (m.y - b.y) * (m.y - b.y) +
                                         (m.u - b.u) * (m.u - b.u) + (m.v - b.v) * (m.v - b.v));
            if (face > 0)
                m.f = s.feed * all / face;
        }
        cut.moves.push_back(m);
    }
    return cut;
}

namespace
{

// A coordinate as the file has it.
QByteArray coordinate(double v)
{
    if (std::abs(v) < 0.0005)
        v = 0;
    return QByteArray::number(v, 'f', 3);
}

// Where a move as written leaves the two faces: on the wire between the
// towers at the written positions.
std::pair<QPointF, QPointF> facesAt(const Move &m, const Settings &s)
{
    const QPointF xy(coordinate(m.x).toDouble(), coordinate(m.y).toDouble());
    const QPointF uv(coordinate(m.u).toDouble(), coordinate(m.v).toDouble());
    return {xy + (uv - xy) * (s.offset / s.width),
            xy + (uv - xy) * ((s.offset + s.span) / s.width)};
}

} // namespace

QByteArray feedWord(const Cut &cut, size_t move)
{
    const Settings &s = cut.settings;
    if (s.feedMode == FeedMode::InverseTime && move > 0 && move < cut.moves.size()) {
        // Moves a minute to seven figures, rounded down: no move is over
        // sooner than the faster face at the feed allows. A move of no
        // length is over at once.
        const auto [r0, t0] = facesAt(cut.moves[move - 1], s);
        const auto [r1, t1] = facesAt(cut.moves[move], s);
        const double minutes = std::max(length(r0, r1), length(t0, t1)) / s.feed;
        const double perMinute = minutes > 0 ? 1 / minutes : 1e6;
        const int decimals = std::clamp(6 - int(std::floor(std::log10(perMinute))), 0, 9);
        const double unit = std::pow(10.0, decimals);
        return QByteArray::number(std::floor(perMinute * unit) / unit, 'f', decimals);
    }
    // Rounded down, so that no face goes faster than asked.
    const double f = move < cut.moves.size() ? cut.moves[move].f : s.feed;
    return QByteArray::number(std::max(0.1, std::floor(f * 10) / 10), 'f', 1);
}

QByteArray gcode(const Cut &cut, const QStringList &comments)
{
    QByteArray out;
    for (QString c : comments) {
        // Plain ASCII inside one pair of parentheses.
        c.replace(QLatin1Char('('), QLatin1Char('[')).replace(QLatin1Char(')'), QLatin1Char(']'));
        QByteArray line;
        for (QChar ch : c)
            line += ch.unicode() >= 32 && ch.unicode() < 127 ? char(ch.unicode()) : '?';
        out += "(" + line + ")\n";
    }
    const bool inverse = cut.settings.feedMode == FeedMode::InverseTime;
    out += inverse ? "G21 G90 G94\n" : "G21 G90\n";
    for (size_t i = 0; i < cut.moves.size(); ++i) {
        const Move &m = cut.moves[i];
        out += "G1 X" + coordinate(m.x) + " Y" + coordinate(m.y) + " U" + coordinate(m.u) + " V" +
               coordinate(m.v) + " F" + feedWord(cut, i) + "\n";
        if (inverse && i == 0)
            out += "G93\n";
    }
    out += inverse ? "G94\nM2\n" : "M2\n";
    return out;
}

} // namespace HotWire
