// The template outline on many sections: one closed curve that never crosses
// itself, stays inside the profile and keeps a skin from it wherever the
// section has room for two skins; or no template at all, said once, when the
// section has no such room.
//
// NERVURIA_OUTLINE_PNG=<folder> writes the worst cases of the family there.
#include "Naca.h"
#include "ScriptedPrompts.h"

#include "geometry/OutlineCurves.h"
#include "geometry/TemplateBand.h"
#include "geometry/TemplateGeometry.h"
#include "profiles/ProfileStore.h"
#include "render/TemplateDrawing.h"
#include "ui/Language.h"

#include <QDir>
#include <QLocale>
#include <QPainter>
#include <QRegularExpression>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <limits>

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
    int smoothing = 50;

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
                   .arg(printer ? QStringLiteral("printer") : QStringLiteral("zoom %1").arg(zoom)) +
               QStringLiteral(", smoothing %1").arg(smoothing);
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
        const int smoothing = next(0, 9);
        c.smoothing = smoothing == 0 ? 0 : smoothing == 1 ? 100 : 50;
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

// A closed ring as its two lines from the front-most point to the rear-most
// one, the upper (smaller y on screen) first.
bool splitRing(const QPolygonF &ring, std::vector<FPoint> &upper, std::vector<FPoint> &lower)
{
    if (ring.size() < 3)
        return false;
    int front = 0, rear = 0;
    for (int i = 0; i < ring.size(); ++i) {
        if (ring[i].x() < ring[front].x())
            front = i;
        if (ring[i].x() > ring[rear].x())
            rear = i;
    }
    auto walk = [&](int step) {
        std::vector<FPoint> line;
        for (int i = front;; i = (i + step + int(ring.size())) % int(ring.size())) {
            line.push_back({float(ring[i].x()), float(ring[i].y())});
            if (i == rear)
                break;
        }
        return line;
    };
    upper = walk(1);
    lower = walk(-1);
    // The upper line is the higher one half-way between the ends.
    const float middle = float(ring[front].x() + ring[rear].x()) / 2;
    if (heightAt(upper, middle) > heightAt(lower, middle))
        std::swap(upper, lower);
    return true;
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
        drawing.setSmoothing(c.smoothing);
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

    std::vector<FPoint> upper, lower;
    if (!splitRing(d.drawing.templateRing(), upper, lower)) {
        v.faults << QStringLiteral("no outline");
        return v;
    }
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
    void refusal_data();
    void refusal();
    void captionsApart_data();
    void captionsApart();
    void firstStretch_data();
    void firstStretch();
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

namespace
{

// A drawing of one profile and template on a 1000-pixel screen.
struct Single {
    ScriptedPrompts prompts;
    ProfileStore store;
    TemplateDrawing drawing{&store};
    Single(const QStringList &points, int chord, int skin)
    {
        const int p = store.AddProfile(QStringLiteral("S"));
        for (const QString &line : points)
            store.AddPointLine(p, line);
        store.AddTemplate(p, QStringLiteral("GABARIT %1;%2;").arg(chord).arg(skin));
        store.currentProfile = p;
        drawing.SelectProfile(p, 0);
    }
    bool screen() { return drawing.layoutScreen({1000, 324, 0}).has_value() && drawing.render(); }
    // x of a point in percent of the chord.
    double percent(float x) const
    {
        const ViewGeometry &g = drawing.geometry();
        return (double(x) - g.originX) * 100.0 / (g.scale * drawing.working().chord);
    }
};

QStringList nacaLines(const QString &digits, int upperCount, int lowerCount)
{
    Case c;
    c.camber = digits.mid(0, 1).toInt();
    c.position = digits.mid(1, 1).toInt();
    c.thickness = digits.mid(2, 2).toInt();
    c.upperCount = upperCount;
    c.lowerCount = lowerCount;
    return pointLines(c);
}

// Where the section's vertical thickness falls to two skins, searching
// rearwards from its thickest place (percent of chord).
double twoSkinsPlace(int thickness, int chord, int skin)
{
    double x = 0.3;
    while (x < 1 && 2 * Naca::halfThickness(thickness / 100.0, x) * chord > 2 * skin / 10.0)
        x += 0.0005;
    return 100 * x;
}

} // namespace

void TstTemplateOutline::ends_data()
{
    QTest::addColumn<QStringList>("points");
    QTest::addColumn<int>("chord");
    QTest::addColumn<int>("skin");
    QTest::addColumn<double>("tailFrom"); // percent of chord
    QTest::addColumn<double>("tailTo");
    QTest::addColumn<double>("noseTo");

    // Thick in front, thinner than two skins from 50 to 65 %, thick again
    // behind (trailing-edge stock): the template ends at the waist.
    const QStringList waist{"0;0;0;0;",    "2;3;2;-3;",       "10;6;10;-6;",     "30;6;30;-6;",
                            "45;4;45;-4;", "50;0,4;50;-0,4;", "65;0,4;65;-0,4;", "70;5;70;-5;",
                            "90;5;90;-5;", "100;0;100;0;"};
    QTest::newRow("first thin place ends the template")
        << waist << 100 << 10 << 40.0 << 50.0 << 3.0;

    // The catalogue pairs a short upper surface with a long lower one by
    // padding it with trailing-edge copies.
    const double t2412 = twoSkinsPlace(12, 200, 15);
    QTest::newRow("33 upper points against 200 lower")
        << nacaLines(QStringLiteral("2412"), 33, 200) << 200 << 15 << t2412 - 3 << t2412 + 0.5
        << 2.0;
    QTest::newRow("200 upper points against 33 lower")
        << nacaLines(QStringLiteral("2412"), 200, 33) << 200 << 15 << t2412 - 3 << t2412 + 0.5
        << 2.0;
    // Thin and strongly cambered: thinner than two skins where a search by
    // point index would start.
    const double t6403 = twoSkinsPlace(3, 200, 15);
    QTest::newRow("3 % thick, 6 % camber") << nacaLines(QStringLiteral("6403"), 61, 61) << 200 << 15
                                           << t6403 - 4 << t6403 + 0.5 << 10.0;
    QTest::newRow("4 % thick, 5 % camber, 40 against 160 points")
        << nacaLines(QStringLiteral("5404"), 40, 160) << 200 << 15 << twoSkinsPlace(4, 200, 15) - 4
        << twoSkinsPlace(4, 200, 15) + 0.5 << 10.0;
}

void TstTemplateOutline::ends()
{
    QFETCH(QStringList, points);
    QFETCH(int, chord);
    QFETCH(int, skin);
    QFETCH(double, tailFrom);
    QFETCH(double, tailTo);
    QFETCH(double, noseTo);
    Single s(points, chord, skin);
    QVERIFY(s.screen());
    QVERIFY(!s.drawing.templateRefused());
    const OutlineCurves &c = s.drawing.curves();
    const double tail = s.percent(c.tail.x);
    QVERIFY2(tail >= tailFrom && tail <= tailTo,
             qPrintable(QStringLiteral("tail at %1 %").arg(tail)));
    QVERIFY2(s.percent(c.nose.x) <= noseTo,
             qPrintable(QStringLiteral("nose at %1 %").arg(s.percent(c.nose.x))));
    // Nothing of the outline lies behind the tail.
    for (bool upper : {true, false}) {
        for (FPoint p : c.curveSamples(upper))
            QVERIFY(s.percent(std::min(p.x, c.tail.x)) <= tail);
    }
}

void TstTemplateOutline::refusal_data()
{
    QTest::addColumn<QString>("digits");
    QTest::addColumn<int>("chord");
    QTest::addColumn<int>("skin");
    QTest::addColumn<bool>("french");
    QTest::addColumn<QString>("pattern"); // empty: the template fits
    const QString fr =
        QStringLiteral("^Coffrage trop épais pour ce gabarit : au plus (\\d+)/10 mm$");
    const QString en = QStringLiteral("^Skin too thick for this template: at most (\\d+)/10 mm$");
    QTest::newRow("2 % at 100 mm, skin 15/10") << "0002" << 100 << 15 << true << fr;
    QTest::newRow("in English") << "0002" << 100 << 15 << false << en;
    QTest::newRow("2 % cambered at 60 mm, skin 30/10") << "4402" << 60 << 30 << true << fr;
    QTest::newRow("12 % at 60 mm, skin 40/10") << "0012" << 60 << 40 << true << fr;
    QTest::newRow("2 % at 200 mm, skin 15/10 fits") << "0002" << 200 << 15 << true << QString();
    QTest::newRow("12 % at 60 mm, skin 30/10 fits") << "0012" << 60 << 30 << true << QString();
}

void TstTemplateOutline::refusal()
{
    QFETCH(QString, digits);
    QFETCH(int, chord);
    QFETCH(int, skin);
    QFETCH(bool, french);
    QFETCH(QString, pattern);
    Language::setFrench(french);
    const QStringList points = nacaLines(digits, 81, 81);
    Single s(points, chord, skin);
    QVERIFY(s.screen());
    const WorkingData &wd = s.drawing.working();
    QCOMPARE(s.drawing.templateRefused(), !pattern.isEmpty());
    QCOMPARE(TemplateGeometry::templateFits(wd, float(skin), 50), pattern.isEmpty());
    if (pattern.isEmpty()) {
        QVERIFY(s.prompts.messages.isEmpty());
        Language::setFrench(true);
        return;
    }
    QCOMPARE(s.prompts.messages.size(), 1);
    const auto match = QRegularExpression(pattern).match(s.prompts.messages.front());
    QVERIFY2(match.hasMatch(), qPrintable(s.prompts.messages.front()));
    const int largest = match.captured(1).toInt();
    QVERIFY(largest < skin);
    // The largest skin named fits, the next one does not.
    QVERIFY(TemplateGeometry::templateFits(wd, float(largest), 50) || largest == 0);
    QVERIFY(!TemplateGeometry::templateFits(wd, float(largest + 1), 50));

    // Said once: zooming and smoothing the same template stay quiet.
    s.drawing.zoomIn();
    QVERIFY(s.screen());
    s.drawing.setSmoothing(20);
    QVERIFY(s.drawing.render());
    QCOMPARE(s.prompts.messages.size(), 1);

    // The profile is still drawn: black pixels along its chord.
    const QImage &img = s.drawing.image();
    const ViewGeometry &g = s.drawing.geometry();
    int black = 0;
    for (int y = g.profileTop - 1; y <= g.profileBottom + 1; ++y)
        black += img.pixelColor(g.originX + (g.trailingEdgeX - g.originX) / 2, y) == Qt::black;
    QVERIFY(black >= 1);

    // The printed page carries no template: it is the page of the profile
    // without a skin.
    auto page = [](TemplateDrawing &d) {
        QImage p(int(d.working().chord * 12) + 200, 600, QImage::Format_RGB32);
        p.fill(Qt::white);
        QPainter painter(&p);
        const bool drawn = d.layoutPrinter(300, {5, 20, 1, true}) && d.render(painter);
        return drawn ? p : QImage();
    };
    const QImage refused = page(s.drawing);
    QVERIFY(!refused.isNull());
    QVERIFY(s.drawing.templateRefused());
    Single bare(points, chord, skin);
    bare.drawing.working().skinThickness = 0;
    bare.drawing.setSmoothing(20);
    QCOMPARE(refused, page(bare.drawing));
    QCOMPARE(s.prompts.messages.size(), 1);
    Language::setFrench(true);
}

void TstTemplateOutline::captionsApart_data()
{
    QTest::addColumn<QStringList>("points");
    QTest::addColumn<bool>("besideArrow"); // the position caption keeps its place
    QTest::newRow("thickest at mid-chord") << nacaLines(QStringLiteral("0012"), 41, 41) << true;
    const QStringList nose{"0;0;0;0;", "1;4;1;-4;", "3;6;3;-6;", "20;2;20;-2;", "100;0;100;0;"};
    QTest::newRow("thickest near the nose") << nose << false;
}

void TstTemplateOutline::captionsApart()
{
    QFETCH(QStringList, points);
    QFETCH(bool, besideArrow);
    Single s(points, 200, 15);
    QVERIFY(s.screen());
    const QRect thickness = s.drawing.thicknessCaptionBox();
    const QRect position = s.drawing.positionCaptionBox();
    QVERIFY(!thickness.isEmpty() && !position.isEmpty());
    QVERIFY(!thickness.intersects(position));
    const int arrow = roundPixel(s.drawing.curves().maxThicknessX);
    QCOMPARE(position.left() == arrow + 4, besideArrow);
    if (!besideArrow)
        QCOMPARE(position.left(), thickness.right() + 1);
}

// The first stretch where a skin of 1 fits on either side, on sections a
// hundred units long and 10 thick, with the surfaces drawn every half unit:
// the stretch must stop where the section gets too thin for two skins, or
// where a surface stops (points that are not numbers), and nowhere else.
void TstTemplateOutline::firstStretch_data()
{
    QTest::addColumn<QString>("shape");
    QTest::addColumn<bool>("found");
    QTest::addColumn<double>("frontMin");
    QTest::addColumn<double>("frontMax");
    QTest::addColumn<double>("rearMin");
    QTest::addColumn<double>("rearMax");
    QTest::newRow("thick all along") << "lens" << true << 0.5 << 4.0 << 95.0 << 100.0;
    QTest::newRow("waist at 50") << "waist" << true << 0.5 << 4.0 << 47.0 << 50.0;
    QTest::newRow("upper surface stops at 95") << "cut" << true << 0.5 << 4.0 << 94.0 << 96.5;
    QTest::newRow("thinner than two skins") << "thin" << false << 0.0 << 0.0 << 0.0 << 0.0;
}

void TstTemplateOutline::firstStretch()
{
    QFETCH(QString, shape);
    QFETCH(bool, found);
    QFETCH(double, frontMin);
    QFETCH(double, frontMax);
    QFETCH(double, rearMin);
    QFETCH(double, rearMax);
    auto halfThickness = [&](double x) {
        // Sloped in at the front and back; the cut section stays thick.
        const double ends = std::min({5.0, x, shape == QLatin1String("cut") ? 5.0 : 100.0 - x});
        if (shape == QLatin1String("thin"))
            return std::min(ends, 0.8);
        if (shape == QLatin1String("waist"))
            return std::min(ends, 0.5 + 0.9 * std::fabs(x - 50.0));
        return ends;
    };
    std::vector<FPoint> upper, lower;
    for (int i = 0; i <= 200; ++i) {
        const double x = 0.5 * i;
        const double h = halfThickness(x);
        upper.push_back({float(x), float(-h)});
        lower.push_back({float(x), float(h)});
    }
    for (size_t i = 191; shape == QLatin1String("cut") && i < upper.size(); ++i)
        upper[i].y = std::numeric_limits<float>::quiet_NaN();
    const TemplateBand band(upper, lower, 1.0f);
    const TemplateBand::Stretch s = band.firstStretch();
    QCOMPARE(s.found, found);
    if (!found)
        return;
    QVERIFY2(s.front >= frontMin && s.front <= frontMax, qPrintable(QString::number(s.front)));
    QVERIFY2(s.rear >= rearMin && s.rear <= rearMax, qPrintable(QString::number(s.rear)));
}

QTEST_MAIN(TstTemplateOutline)
#include "tst_templateoutline.moc"
