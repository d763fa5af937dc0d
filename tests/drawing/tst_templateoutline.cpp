// The template outline on many sections: one closed curve that never crosses
// itself, stays inside the profile and keeps a skin from it wherever the
// section has room for two skins; or no template at all, said once, when the
// section has no such room.
//
// NERVURIA_OUTLINE_PNG=<folder> writes the worst cases of the family there.
#include "Naca.h"
#include "ScriptedPrompts.h"

#include "drawing/OutlineCurves.h"
#include "drawing/TemplateDrawing.h"
#include "drawing/TemplateGeometry.h"
#include "profiles/ProfileStore.h"
#include "ui/Language.h"

#include <QDir>
#include <QLocale>
#include <QPainter>
#include <QRegularExpression>
#include <QTest>

#include <algorithm>
#include <cmath>

namespace
{

// A section and template of the family, and how it is drawn.
struct Case {
    int camber = 0;   // percent of chord
    int position = 4; // tenths of chord
    int thickness = 12;
    int upperCount = 41; // stations of each surface, paired as the catalogue
    int lowerCount = 41; // pairs them (the shorter padded with its last point)
    int chord = 200;
    int skin = 15;
    int zoom = 0;         // screen zoom level
    bool printer = false; // a 300 dpi page instead of the screen

    QString describe() const
    {
        return QStringLiteral("NACA %1%2%3 %4/%5 points, %6 mm, skin %7, %8")
            .arg(camber)
            .arg(position)
            .arg(thickness, 2, 10, QLatin1Char('0'))
            .arg(upperCount)
            .arg(lowerCount)
            .arg(chord)
            .arg(skin)
            .arg(printer ? QStringLiteral("printer") : QStringLiteral("zoom %1").arg(zoom));
    }
};

// Point lines of the section as the catalogue writes them: percent of chord
// with two decimals, the surfaces paired by their distance in points from
// the leading edge.
QStringList pointLines(const Case &c)
{
    const QString digits = QStringLiteral("%1%2%3")
                               .arg(c.camber)
                               .arg(c.camber ? c.position : 0)
                               .arg(c.thickness, 2, 10, QLatin1Char('0'));
    const Naca::Section up = Naca::fourDigit(digits, c.upperCount);
    const Naca::Section low = Naca::fourDigit(digits, c.lowerCount);
    QStringList lines;
    const int count = std::max(c.upperCount, c.lowerCount);
    for (int i = 0; i < count; ++i) {
        const Naca::Point u = up.upper[size_t(std::min(i, c.upperCount - 1))];
        const Naca::Point l = low.lower[size_t(std::min(i, c.lowerCount - 1))];
        lines << QString::asprintf("%.2f;%.2f;%.2f;%.2f;", u.x * 100, u.y * 100, l.x * 100,
                                   l.y * 100);
    }
    return lines;
}

// The family, drawn from a fixed sequence so that every run checks the
// same cases.
std::vector<Case> family(int count)
{
    quint64 state = 0x9E3779B97F4A7C15ull;
    auto next = [&state](int lo, int hi) {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return lo + int((state >> 33) % quint64(hi - lo + 1));
    };
    std::vector<Case> cases;
    for (int k = 0; k < count; ++k) {
        Case c;
        c.thickness = next(2, 24);
        c.camber = next(0, 9);
        c.position = next(2, 6);
        const int ratio = next(0, 2) == 0 ? 1 : next(1, 6);
        const int larger = next(20 * ratio, 512);
        (next(0, 1) ? c.upperCount : c.lowerCount) = larger;
        (c.upperCount == larger ? c.lowerCount : c.upperCount) = larger / ratio;
        c.chord = next(20, 280) * 2;
        c.skin = next(5, 40);
        c.printer = next(0, 4) == 0;
        c.zoom = next(0, 4);
        cases.push_back(c);
    }
    return cases;
}

double segmentDistance(FPoint p, FPoint a, FPoint b)
{
    const double vx = double(b.x) - a.x, vy = double(b.y) - a.y;
    const double wx = double(p.x) - a.x, wy = double(p.y) - a.y;
    const double len2 = vx * vx + vy * vy;
    const double t = len2 > 0 ? std::clamp((wx * vx + wy * vy) / len2, 0.0, 1.0) : 0.0;
    return std::hypot(wx - t * vx, wy - t * vy);
}

// The profile as drawn, as one closed polygon, measured by scanning its
// edges (sorted by their left end).
struct Profile {
    std::vector<std::pair<FPoint, FPoint>> edges; // left end first
    float widest = 0;

    // Points closer than minLength to the last one kept add nothing.
    static std::vector<FPoint> thin(const std::vector<FPoint> &points, float minLength)
    {
        std::vector<FPoint> kept{points.front()};
        for (size_t i = 1; i + 1 < points.size(); ++i) {
            if (std::hypot(points[i].x - kept.back().x, points[i].y - kept.back().y) >= minLength)
                kept.push_back(points[i]);
        }
        kept.push_back(points.back());
        return kept;
    }
    Profile(std::vector<FPoint> upper, std::vector<FPoint> lower, float minLength)
    {
        upper = thin(upper, minLength);
        lower = thin(lower, minLength);
        auto add = [this](FPoint a, FPoint b) {
            edges.push_back(a.x <= b.x ? std::pair{a, b} : std::pair{b, a});
        };
        for (size_t i = 1; i < upper.size(); ++i)
            add(upper[i - 1], upper[i]);
        for (size_t i = 1; i < lower.size(); ++i)
            add(lower[i - 1], lower[i]);
        add(upper.back(), lower.back());
        add(upper.front(), lower.front());
        std::sort(edges.begin(), edges.end(),
                  [](const auto &e, const auto &f) { return e.first.x < f.first.x; });
        for (const auto &e : edges)
            widest = std::max(widest, e.second.x - e.first.x);
    }
    template <typename F> void near(float x0, float x1, F &&f) const
    {
        auto it = std::lower_bound(edges.begin(), edges.end(), x0 - widest,
                                   [](const auto &e, float v) { return e.first.x < v; });
        for (; it != edges.end() && it->first.x <= x1; ++it)
            f(it->first, it->second);
    }
    double distance(FPoint p, double upTo) const
    {
        double best = upTo;
        near(float(p.x - upTo), float(p.x + upTo), [&](FPoint a, FPoint b) {
            if (std::min(a.y, b.y) > p.y + best || std::max(a.y, b.y) < p.y - best)
                return;
            best = std::min(best, segmentDistance(p, a, b));
        });
        return best;
    }
    // The heights of the outline on the vertical through x, top first.
    std::vector<float> heights(float x) const
    {
        std::vector<float> ys;
        near(x, x, [&](FPoint l, FPoint r) {
            if (x >= l.x && x < r.x)
                ys.push_back(l.y + (x - l.x) * (r.y - l.y) / (r.x - l.x));
        });
        std::sort(ys.begin(), ys.end());
        return ys;
    }
    bool inside(FPoint p) const
    {
        const std::vector<float> ys = heights(p.x);
        return std::count_if(ys.begin(), ys.end(), [&](float y) { return y < p.y; }) % 2 == 1;
    }
    // How far the point half-way between the surfaces at x lies from them.
    double room(float x, double upTo) const
    {
        const std::vector<float> ys = heights(x);
        if (ys.size() < 2)
            return 0;
        return distance({x, (ys.front() + ys.back()) / 2}, upTo);
    }
};

// y of a curve at x; the curve's x never decreases.
float heightAt(const std::vector<FPoint> &curve, float x)
{
    auto it =
        std::lower_bound(curve.begin(), curve.end(), x, [](FPoint p, float v) { return p.x < v; });
    if (it == curve.begin())
        return curve.front().y;
    if (it == curve.end())
        return curve.back().y;
    const FPoint a = *(it - 1), b = *it;
    return b.x == a.x ? std::min(a.y, b.y) : a.y + (x - a.x) * (b.y - a.y) / (b.x - a.x);
}

// What one case gives: a list of faults (empty when sound) and how close it
// came to a fault, in tolerances (for picking the worst cases to look at).
struct Verdict {
    QStringList faults;
    double closest = 1e9;
    bool refused = false;
};

struct Drawn {
    ScriptedPrompts prompts;
    ProfileStore store;
    TemplateDrawing drawing{&store};
    QImage image;

    explicit Drawn(const Case &c)
    {
        const int p = store.AddProfile(QStringLiteral("F"));
        for (const QString &line : pointLines(c))
            store.AddPointLine(p, line);
        store.AddTemplate(p, QStringLiteral("GABARIT %1;%2;").arg(c.chord).arg(c.skin));
        store.currentProfile = p;
        drawing.SelectProfile(p, 0);
        drawing.setDisplayOption(TemplateDrawing::DisplayOption::GabaritPoints, true);
        render(c);
    }
    void render(const Case &c)
    {
        if (c.printer) {
            const bool laidOut = drawing.layoutPrinter(300, {20, 60, 1, true});
            image = QImage(int((c.chord + 40) * 11.82), 1000, QImage::Format_RGB32);
            image.fill(Qt::white);
            QPainter painter(&image);
            const bool rendered = laidOut && drawing.render(painter);
            Q_ASSERT(rendered);
            return;
        }
        while (drawing.viewState().zoomLevel < c.zoom)
            drawing.zoomIn();
        const bool laidOut = drawing.layoutScreen({1000, 324, 0}).has_value();
        const bool rendered = laidOut && drawing.render();
        Q_ASSERT(rendered);
        image = drawing.image();
    }
};

Verdict check(const Case &c, Drawn &d)
{
    Verdict v;
    const ViewGeometry &g = d.drawing.geometry();
    const float skin = d.drawing.working().skinOffset;
    const float tolerance = c.printer ? 0.05f * g.scale : 0.5f;
    const int n = d.drawing.working().lastPoint;

    OutlineCurves profileCurves;
    profileCurves.storeProfileKnots(g, n);
    profileCurves.smooth(d.drawing.viewState().upDown4Smoothing);
    const Profile profile(profileCurves.curveSamples(true), profileCurves.curveSamples(false),
                          std::max(0.25f, skin / 10));

    // Where the section has room for two skins, with a margin on each side
    // of the verdict.
    const float front = g.upperView[0].x;
    const float rear = g.upperView[size_t(n)].x;
    const float step = std::max(1.0f, (rear - front) / 1500);
    float firstRoomy = 1e9f, lastRoomy = -1e9f;
    for (float x = front + step; x < rear; x += step) {
        if (profile.room(x, 2 * skin) >= skin + 2 * tolerance + 1) {
            firstRoomy = std::min(firstRoomy, x);
            lastRoomy = x;
        }
    }

    v.refused = d.drawing.templateRefused();
    const QRegularExpression message(
        QStringLiteral("^Coffrage trop épais pour ce gabarit : au plus (\\d+)/10 mm$"));
    if (v.refused) {
        if (lastRoomy > firstRoomy)
            v.faults << QStringLiteral("refused although the section has room from x %1 to %2")
                            .arg(firstRoomy)
                            .arg(lastRoomy);
        if (d.prompts.messages.size() != 1 && !c.printer)
            v.faults << QStringLiteral("%1 messages").arg(d.prompts.messages.size());
        for (const QString &m : d.prompts.messages) {
            const auto match = message.match(m);
            if (!match.hasMatch() || match.captured(1).toInt() >= c.skin)
                v.faults << QStringLiteral("message: ") + m;
        }
        return v;
    }
    if (!d.prompts.messages.isEmpty())
        v.faults << QStringLiteral("message without refusal: ") + d.prompts.messages.join('|');

    const OutlineCurves &t = d.drawing.curves();
    std::vector<FPoint> upper = t.curveSamples(true);
    std::vector<FPoint> lower = t.curveSamples(false);
    if (!(upper.front() == lower.front()) || !(upper.back() == lower.back()))
        v.faults << QStringLiteral("not closed");
    const float tailX = upper.back().x;
    const float noseX = upper.front().x;
    // Drawn clipped at the tail.
    for (auto *curve : {&upper, &lower}) {
        for (FPoint &p : *curve)
            p.x = std::min(p.x, tailX);
    }

    // The ends: the outline covers the room the section has.
    if (lastRoomy > firstRoomy && (noseX > firstRoomy + tolerance || tailX < lastRoomy - tolerance))
        v.faults << QStringLiteral("outline %1..%2 does not cover the room %3..%4")
                        .arg(noseX)
                        .arg(tailX)
                        .arg(firstRoomy)
                        .arg(lastRoomy);

    for (const auto *curve : {&upper, &lower}) {
        float furthest = curve->front().x;
        for (FPoint p : *curve) {
            if (p.x < furthest - tolerance) {
                v.faults << QStringLiteral("turns back at x %1").arg(p.x);
                break;
            }
            furthest = std::max(furthest, p.x);
        }
    }
    for (FPoint p : upper) {
        const float below = p.y - heightAt(lower, p.x);
        v.closest = std::min(v.closest, double(tolerance - below) / tolerance);
        if (below > tolerance) {
            v.faults
                << QStringLiteral("upper line %1 below the lower one at x %2").arg(below).arg(p.x);
            break;
        }
    }

    // Inside, and a skin inside where there is room; every fourth point of
    // the curves is enough to see a fault.
    int reported = 0;
    for (const auto *curve : {&upper, &lower}) {
        for (size_t i = 0; i < curve->size() && reported < 3; i += 4) {
            const FPoint p = (*curve)[i];
            const double gap = profile.distance(p, skin + 10);
            if (!profile.inside(p) && gap > tolerance) {
                v.faults << QStringLiteral("outside by %1 at (%2, %3)").arg(gap).arg(p.x).arg(p.y);
                ++reported;
            }
            if (profile.room(p.x, 2 * skin) >= skin + tolerance) {
                v.closest = std::min(v.closest, (gap - skin + tolerance) / tolerance);
                if (gap < skin - tolerance) {
                    v.faults << QStringLiteral("%1 from the profile at (%2, %3), skin %4")
                                    .arg(gap)
                                    .arg(p.x)
                                    .arg(p.y)
                                    .arg(skin);
                    ++reported;
                }
            }
        }
    }
    return v;
}

} // namespace

class TstTemplateOutline : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        Language::setFrench(true);
        QLocale::setDefault(QLocale::c());
    }
    void family();
    void ends_data();
    void ends();
};

void TstTemplateOutline::family()
{
    const std::vector<Case> cases = ::family(320);
    QStringList faults;
    std::vector<std::pair<double, size_t>> closest;
    int refused = 0;
    for (size_t k = 0; k < cases.size(); ++k) {
        Drawn d(cases[k]);
        const Verdict v = check(cases[k], d);
        refused += v.refused;
        for (const QString &f : v.faults)
            faults << cases[k].describe() + QStringLiteral(": ") + f;
        if (!v.refused)
            closest.push_back({v.faults.isEmpty() ? v.closest : -1e9, k});
    }
    // Both kinds of answer are part of the family.
    QVERIFY(refused > 10);
    QVERIFY(refused < int(cases.size()) / 2);

    const QString pngDir = qEnvironmentVariable("NERVURIA_OUTLINE_PNG");
    if (!pngDir.isEmpty()) {
        std::sort(closest.begin(), closest.end());
        for (size_t w = 0; w < std::min<size_t>(8, closest.size()); ++w) {
            Case c = cases[closest[w].second];
            c.printer = false;
            Drawn d(c);
            d.image.save(QDir(pngDir).filePath(QStringLiteral("worst%1.png").arg(w)));
            qInfo("worst %d: %s (%g)", int(w), qPrintable(cases[closest[w].second].describe()),
                  closest[w].first);
        }
    }
    if (!faults.isEmpty())
        QFAIL(qPrintable(QStringLiteral("%1 faults, first ones:\n").arg(faults.size()) +
                         faults.mid(0, 12).join(QLatin1Char('\n'))));
}

void TstTemplateOutline::ends_data() {}

void TstTemplateOutline::ends() {}

QTEST_MAIN(TstTemplateOutline)
#include "tst_templateoutline.moc"
