#include "cutting/SheetNesting.h"

#include "cutting/Parallel.h"
#include "cutting/SheetLayout.h"

#include <QTransform>

#include <algorithm>
#include <array>
#include <cmath>
#include <iterator>
#include <limits>
#include <map>
#include <numeric>

namespace SheetNesting
{

namespace
{

constexpr double kColumn = 0.5; // mm
constexpr double kNone = std::numeric_limits<double>::infinity();
// Sheets still offered to later parts; older ones are taken as full, which
// keeps a long job's time linear in its parts.
constexpr size_t kOpenSheets = 3;

// One turn of one part, as columns from its left edge.
struct Hull {
    int turn = 0;
    double minX = 0, minY = kNone, maxY = -kNone;
    int columns = 0;
    // The highest point of the part in each column.
    std::vector<double> hi;
    // The lowest point a part below may reach up to in each column, the gap
    // kept in every direction, over the columns widened by reach on both sides.
    std::vector<double> floorOf;
    int reach = 0;
};

QTransform quarterTurn(int degrees)
{
    const int c = degrees == 0 ? 1 : degrees == 180 ? -1 : 0;
    const int s = degrees == 90 ? 1 : degrees == 270 ? -1 : 0;
    return QTransform(c, s, -s, c, 0, 0);
}

// The lowest and highest x of a line (kNone and -kNone for none), worked
// out apart from the hull so that both stay in registers: through the
// hull's loop, with calls in it, each point waited on the last in memory.
std::pair<double, double> spanX(const QPolygonF &line)
{
    double low = kNone, high = -kNone;
    for (const QPointF &p : line) {
        low = std::min(low, p.x());
        high = std::max(high, p.x());
    }
    return {low, high};
}

Hull makeHull(const std::vector<QPolygonF> &lines, int turn, double gap)
{
    Hull h;
    h.turn = turn;
    const QTransform t = quarterTurn(turn);
    std::vector<QPolygonF> turned;
    double minX = kNone, maxX = -kNone;
    for (const QPolygonF &line : lines) {
        turned.push_back(t.map(line));
        const auto [low, high] = spanX(turned.back());
        minX = std::min(minX, low);
        maxX = std::max(maxX, high);
    }
    if (minX == kNone)
        minX = maxX = 0;
    h.minX = minX;
    h.columns = std::max(1, int(std::ceil((maxX - minX) / kColumn - 1e-9)));
    // The lowest point in each column, needed only for the floors.
    std::vector<double> lo(size_t(h.columns), kNone);
    h.hi.assign(size_t(h.columns), -kNone);
    auto mark = [&](int i, double y) {
        i = std::clamp(i, 0, h.columns - 1);
        lo[size_t(i)] = std::min(lo[size_t(i)], y);
        h.hi[size_t(i)] = std::max(h.hi[size_t(i)], y);
    };
    for (const QPolygonF &line : turned) {
        for (int k = 0; k < line.size(); ++k) {
            const QPointF a = line[k] - QPointF(minX, 0);
            const QPointF b = k + 1 < line.size() ? line[k + 1] - QPointF(minX, 0) : a;
            const double x0 = std::min(a.x(), b.x()), x1 = std::max(a.x(), b.x());
            // Measured from the leftmost point, x0 and x1 are never
            // negative: the cast rounds down as std::floor would, without
            // its call.
            const int i0 = int(x0 / kColumn), i1 = int(x1 / kColumn);
            if (x1 == x0) {
                mark(i0, a.y());
                mark(i0, b.y());
                continue;
            }
            // The edge's height where it enters and leaves each column it
            // crosses; a column's right side is the next one's left.
            auto height = [&](double x) {
                return a.y() + (b.y() - a.y()) * (x - a.x()) / (b.x() - a.x());
            };
            double left = height(x0);
            for (int i = i0; i <= i1; ++i) {
                const double right = height(std::min((i + 1) * kColumn, x1));
                mark(i, left);
                mark(i, right);
                left = right;
            }
        }
    }
    for (int i = 0; i < h.columns; ++i) {
        h.minY = std::min(h.minY, lo[size_t(i)]);
        h.maxY = std::max(h.maxY, h.hi[size_t(i)]);
    }
    h.reach = gap > 0 ? int(std::ceil(gap / kColumn)) + 1 : 0;
    // How far below a column of the part another column may reach, by their
    // distance in columns; none where out of reach. Columns side by side may
    // touch: the whole gap is kept upwards.
    std::vector<double> below(size_t(h.reach) + 1, kNone);
    for (int k = 0; k <= h.reach; ++k) {
        const double d = std::max(0, k - 1) * kColumn;
        if (gap > 0 ? d < gap : k == 0)
            below[size_t(k)] = std::sqrt(std::max(0.0, gap * gap - d * d));
    }
    // Column by column of the part and distance by distance: a column
    // without points (kNone, infinite) lowers nothing.
    h.floorOf.assign(size_t(h.columns + 2 * h.reach), kNone);
    double *floors = h.floorOf.data() + h.reach;
    for (int k = -h.reach; k <= h.reach; ++k) {
        const double drop = below[size_t(std::abs(k))];
        if (drop == kNone)
            continue;
        // floors[i] takes lo[i - k] less the drop.
        for (int j = 0; j < h.columns; ++j)
            floors[j + k] = std::min(floors[j + k], lo[size_t(j)] - drop);
    }
    return h;
}

struct Sheet {
    QRectF rect;
    std::vector<double> sky; // highest point placed in each column, sheet coordinates
    // The columns each part placed raised, [from, to), in placing order.
    std::vector<std::pair<int, int>> raised;
};

struct Spot {
    bool found = false;
    int column = 0;
    double dy = 0, top = kNone;
};

// What the search learnt of one hull on one sheet, for the next part of
// the same outline: at each place, how far up the part must go at least
// (exactly, where every column was read), as of raised[0, seen). A sky
// only rises, so a place's height never falls; only the places beside
// columns raised since need reading again.
struct Memo {
    std::vector<double> low;
    std::vector<char> exact;
    size_t seen = 0;
};

// The lowest-topped place for hull h on the sheet, at or above its floor.
Spot bestSpot(const Sheet &sheet, const Hull &h, double gap, Memo &memo)
{
    Spot best;
    const int sheetColumns = int(sheet.sky.size());
    const int first = int(std::ceil(gap / kColumn - 1e-9));
    const int last = int(std::floor((sheet.rect.width() - gap) / kColumn + 1e-9)) - h.columns;
    const double ceiling = sheet.rect.height() - gap;
    const double floorDy = gap - h.minY;
    const int count = int(h.floorOf.size());
    if (last < first)
        return best;
    const size_t places = size_t(last - first + 1);
    if (memo.low.size() != places) {
        memo.low.assign(places, floorDy);
        memo.exact.assign(places, 0);
        memo.seen = sheet.raised.size();
    }
    for (; memo.seen < sheet.raised.size(); ++memo.seen) {
        // The places whose columns reach into the raised ones.
        const auto [from, to] = sheet.raised[memo.seen];
        const int a = std::max(first, from + h.reach - count + 1);
        const int b = std::min(last, to + h.reach - 1);
        for (int s = a; s <= b; ++s)
            memo.exact[size_t(s - first)] = 0;
    }
    // The column of the part that ruled the last place out most often rules
    // the next one out too: tried first, it spares a walk over the others.
    // The order only changes how soon a place is ruled out, not the result.
    // A column without floor (kNone, infinite) counts for nothing: its
    // difference is minus infinity.
    int hint = -1;
    const double *floors = h.floorOf.data();
    const double *sky = sheet.sky.data();
    // Place s ruled out with the part dy up: its top above the sheet's, or
    // no lower than the best so far, or as low but further right. The first
    // of the lowest is kept, whatever the order the places are tried in.
    auto ruledOut = [&](int s, double dy) {
        const double top = dy + h.maxY;
        return top > ceiling + 1e-9 || top > best.top || (top == best.top && s > best.column);
    };
    // The part's columns that lie over the sheet at place s, [from, to);
    // the sky under column k is sky[base + k].
    struct Under {
        int base, from, to;
    };
    auto under = [&](int s) {
        return Under{s - h.reach, std::max(0, h.reach - s),
                     std::min(count, sheetColumns - s + h.reach)};
    };
    auto tryPlace = [&](int s) {
        const size_t at = size_t(s - first);
        double dy = memo.low[at];
        if (ruledOut(s, dy))
            return;
        const auto [base, from, to] = under(s);
        bool fits = true;
        if (!memo.exact[at]) {
            if (hint >= from && hint < to) {
                dy = std::max(dy, sky[base + hint] - floors[hint]);
                if (ruledOut(s, dy)) {
                    memo.low[at] = dy;
                    return;
                }
            }
            // In blocks of a few columns, the test after each block: a place
            // ruled out a few columns late is ruled out all the same.
            constexpr int kBlock = 8;
            for (int k = from; k < to; k += kBlock) {
                const int end = std::min(k + kBlock, to);
                double m = dy;
                for (int j = k; j < end; ++j) {
                    const double d = sky[base + j] - floors[j];
                    m = m < d ? d : m;
                }
                dy = m;
                if (ruledOut(s, dy)) {
                    hint = k;
                    fits = false;
                    break;
                }
            }
            memo.low[at] = dy;
            memo.exact[at] = fits;
        }
        if (fits) {
            best.found = true;
            best.column = s;
            best.dy = dy;
            best.top = dy + h.maxY;
        }
    };
    // A first guess read in full before the others: of every 8th place, the
    // lowest by every 32nd column of the part (a lower bound of its height,
    // kept as such). A low top found at once rules most places out on their
    // first columns; walked from the left, the tops often fall place by
    // place, each fall a full read.
    constexpr int kStride = 32;
    constexpr int kGuessStep = 8;
    double *low = memo.low.data();
    int guess = -1;
    double guessLow = kNone;
    for (int s = first; s <= last; s += kGuessStep) {
        const size_t at = size_t(s - first);
        double dy = low[at];
        if (!memo.exact[at]) {
            const auto [base, from, to] = under(s);
            for (int k = from; k < to; k += kStride)
                dy = std::max(dy, sky[base + k] - floors[k]);
            low[at] = dy;
        }
        if (dy < guessLow) {
            guessLow = dy;
            guess = s;
        }
    }
    if (guess >= 0)
        tryPlace(guess);
    // Every place then ruled out, as tryPlace's first test would, by its
    // lower bound as far as known, else by every 32nd column read one at a
    // time (first the one that ruled the last place out), without the call;
    // the bound read is kept. The guess's places have theirs read already.
    int strideHint = -1;
    for (int s = first; s <= last; ++s) {
        const size_t at = size_t(s - first);
        double dy = low[at];
        if (ruledOut(s, dy))
            continue;
        if (!memo.exact[at] && (s - first) % kGuessStep != 0) {
            const auto [base, from, to] = under(s);
            bool out = false;
            if (strideHint >= from && strideHint < to) {
                dy = std::max(dy, sky[base + strideHint] - floors[strideHint]);
                out = ruledOut(s, dy);
            }
            for (int k = from; k < to && !out; k += kStride) {
                dy = std::max(dy, sky[base + k] - floors[k]);
                if (ruledOut(s, dy)) {
                    out = true;
                    strideHint = k;
                }
            }
            low[at] = dy;
            if (out)
                continue;
        }
        if (s != guess)
            tryPlace(s);
    }
    return best;
}

void settle(Sheet &sheet, const Hull &h, const Spot &spot)
{
    for (int i = 0; i < h.columns; ++i) {
        if (h.hi[size_t(i)] == -kNone)
            continue;
        double &sky = sheet.sky[size_t(spot.column + i)];
        sky = std::max(sky, spot.dy + h.hi[size_t(i)]);
    }
    sheet.raised.push_back({spot.column, spot.column + h.columns});
}

} // namespace

Result arrange(size_t shapeCount, const std::function<std::vector<QPolygonF>(size_t)> &outline,
               const std::vector<int> &shapeOf, QSizeF size, double gap, bool quarterTurns,
               const QRectF &keepFree)
{
    Result result;
    gap = std::max(gap, 0.0);
    const double width = std::max(size.width(), 1.0), height = std::max(size.height(), 1.0);
    const size_t partCount = shapeOf.size();
    result.placements.resize(partCount);

    std::vector<std::vector<Hull>> shapeHulls(shapeCount);
    // The parts of each outline not yet placed: its columns are let go of
    // once the last is.
    std::vector<int> unplaced(shapeCount, 0);
    for (int k : shapeOf)
        ++unplaced[size_t(k)];
    // Each outline's columns on their own, on every core.
    Parallel::forEach(shapeCount, [&](size_t k, int) {
        if (unplaced[k] == 0)
            return;
        const std::vector<QPolygonF> lines = outline(k);
        for (int turn : quarterTurns ? std::vector<int>{0, 90, 180, 270} : std::vector<int>{0, 180})
            shapeHulls[k].push_back(makeHull(lines, turn, gap));
    });
    auto hullsOf = [&](int p) -> const std::vector<Hull> & {
        return shapeHulls[size_t(shapeOf[size_t(p)])];
    };
    std::vector<double> boxArea(partCount);
    for (size_t p = 0; p < partCount; ++p) {
        const Hull &h = hullsOf(int(p)).front();
        boxArea[p] = h.columns * kColumn * std::max(0.0, h.maxY - h.minY);
    }
    // Large parts first: small ones then fill what is left around them.
    std::vector<int> order(partCount);
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return boxArea[size_t(a)] > boxArea[size_t(b)]; });

    std::vector<Sheet> sheets;
    // Outlines found to fit nowhere on a sheet, by sheet: its sky only
    // rises, so they never will.
    std::vector<std::vector<char>> full;
    size_t firstOpen = 0;
    auto newSheet = [&](double w, double h) {
        double bottom = 0;
        if (!sheets.empty())
            bottom = sheets.back().rect.top() - SheetLayout::kSheetSpacing - h;
        Sheet s;
        s.rect = QRectF(0, bottom, w, h);
        s.sky.assign(size_t(std::ceil(w / kColumn)) + 1, -kNone);
        if (!keepFree.isEmpty()) {
            const int a = std::max(0, int(std::floor(keepFree.left() / kColumn)));
            const int b =
                std::min(int(s.sky.size()) - 1, int(std::ceil(keepFree.right() / kColumn)));
            for (int i = a; i <= b; ++i)
                s.sky[size_t(i)] = std::max(s.sky[size_t(i)], keepFree.bottom());
        }
        sheets.push_back(std::move(s));
        full.emplace_back(shapeCount, 0);
        if (sheets.size() - firstOpen > kOpenSheets)
            ++firstOpen;
        return sheets.size() - 1;
    };
    // Sheet order: the parts of each sheet, in placing order.
    std::vector<std::vector<int>> onSheet;

    // Memos of the outline being placed, by sheet and turn: parts of one
    // outline come one after the other in that order.
    std::map<std::pair<size_t, size_t>, Memo> memos;
    int memoShape = -1;
    // An outline's columns let go of once its last part is placed, so that
    // what comes next has their memory.
    auto placedOne = [&](int p) {
        const size_t k = size_t(shapeOf[size_t(p)]);
        if (--unplaced[k] == 0)
            std::vector<Hull>().swap(shapeHulls[k]);
    };
    Parallel::Helper helper;
    for (int p : order) {
        if (shapeOf[size_t(p)] != memoShape) {
            memos.clear();
            memoShape = shapeOf[size_t(p)];
        }
        bool placed = false;
        const size_t openBefore = firstOpen;
        for (int attempt = 0; attempt < 2 && !placed; ++attempt) {
            if (attempt == 1)
                newSheet(width, height);
            for (size_t s = firstOpen; s < sheets.size() && !placed; ++s) {
                char &noRoom = full[s][size_t(shapeOf[size_t(p)])];
                if (noRoom)
                    continue;
                // The turns looked at side by side, the helper taking every
                // other one; the first lowest wins, as one after the other.
                const std::vector<Hull> &turns = hullsOf(p);
                std::array<Memo *, 4> memo{};
                std::array<Spot, 4> spots{};
                for (size_t t = 0; t < turns.size(); ++t)
                    memo[t] = &memos[{s, t}];
                auto look = [&](size_t from) {
                    for (size_t t = from; t < turns.size(); t += 2)
                        spots[t] = bestSpot(sheets[s], turns[t], gap, *memo[t]);
                };
                if (turns.size() > 1)
                    helper.both([&] { look(0); }, [&] { look(1); });
                else
                    look(0);
                Spot best;
                const Hull *bestHull = nullptr;
                for (size_t t = 0; t < turns.size(); ++t) {
                    if (spots[t].found && spots[t].top < best.top - 1e-9) {
                        best = spots[t];
                        bestHull = &turns[t];
                    }
                }
                if (!bestHull) {
                    noRoom = 1;
                    continue;
                }
                settle(sheets[s], *bestHull, best);
                Placement &pl = result.placements[size_t(p)];
                pl.sheet = int(s);
                pl.turn = bestHull->turn;
                pl.offset = QPointF(sheets[s].rect.left() + best.column * kColumn - bestHull->minX,
                                    sheets[s].rect.top() + best.dy);
                onSheet.resize(sheets.size());
                onSheet[s].push_back(p);
                placed = true;
            }
        }
        if (placed) {
            placedOne(p);
            continue;
        }
        sheets.pop_back(); // the fresh sheet it did not fit on
        full.pop_back();
        for (auto it = memos.begin(); it != memos.end();)
            it = it->first.first >= sheets.size() ? memos.erase(it) : std::next(it);
        firstOpen = openBefore;
        // Larger than an empty sheet: alone on a sheet grown to hold it,
        // offered to no other part.
        const Hull &h = hullsOf(p).front();
        const double w = h.columns * kColumn, ht = h.maxY - h.minY;
        // Above the kept box, which stays free on this sheet too.
        const double base = keepFree.isEmpty() ? gap : keepFree.bottom() + gap;
        const size_t s = newSheet(std::max(width, w + 2 * gap), std::max(height, ht + base + gap));
        firstOpen = sheets.size();
        ++result.oversized;
        Placement &pl = result.placements[size_t(p)];
        pl.sheet = int(s);
        pl.offset =
            QPointF(sheets[s].rect.left() + gap - h.minX, sheets[s].rect.top() + base - h.minY);
        onSheet.resize(sheets.size());
        onSheet[s].push_back(p);
        placedOne(p);
    }
    // A sheet opened for a part that then went elsewhere stays empty: dropped.
    std::vector<int> renumber(sheets.size(), -1);
    for (size_t s = 0; s < sheets.size(); ++s) {
        if (s >= onSheet.size() || onSheet[s].empty())
            continue;
        renumber[s] = int(result.sheets.size());
        result.sheets.push_back(sheets[s].rect);
        for (int p : onSheet[s])
            result.order.push_back(p);
    }
    for (Placement &pl : result.placements)
        pl.sheet = renumber[size_t(pl.sheet)];
    return result;
}

} // namespace SheetNesting
