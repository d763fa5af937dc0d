#include "catalogue/AirfoilNormalise.h"

#include "catalogue/AirfoilFile.h"
#include "catalogue/AirfoilImport.h"
#include "catalogue/CatalogueTexts.h"
#include "ui/Language.h"

#include <algorithm>
#include <cmath>

namespace
{

// 0 at kBendFrom, 1 at the trailing edge, with no kink at either end.
double bendShare(double x)
{
    const double t = std::clamp(
        (x - AirfoilNormalise::kBendFrom) / (1.0 - AirfoilNormalise::kBendFrom), 0.0, 1.0);
    return t * t * (3.0 - 2.0 * t);
}

double distance(const QPointF &a, const QPointF &b)
{
    return std::hypot(a.x() - b.x(), a.y() - b.y());
}

// The catalogue's verdict on points written as text: empty when usable,
// otherwise its first message. asWritten: with the six decimals of the
// written file; otherwise with every digit.
QString catalogueFault(const QList<QPointF> &points, bool asWritten)
{
    QByteArray bytes;
    if (asWritten) {
        bytes = AirfoilImport::datBytes(QStringLiteral("T"), points);
    } else {
        bytes = "T\r\n";
        for (const QPointF &p : points)
            bytes += QByteArray::number(p.x(), 'g', 17) + ' ' + QByteArray::number(p.y(), 'g', 17) +
                     "\r\n";
    }
    AirfoilFile file;
    if (file.readBytes(bytes) != AirfoilFile::ReadStatus::Read)
        return CatalogueTexts::tooManyRows();
    const int severity = file.CheckProfile(false, true);
    if (!file.unusable && severity < 2)
        return QString();
    for (const QString &m : file.messages) {
        if (!m.isEmpty())
            return m;
    }
    return CatalogueTexts::unusable();
}

// x falls from the trailing edge to the leading edge and rises after it;
// reversals smaller than kTidy are evened out to the neighbour's x.
void tidyOrder(QList<QPointF> &points, qsizetype leading)
{
    for (qsizetype i = leading - 1; i >= 0; --i) {
        const double ahead = points[i + 1].x();
        if (points[i].x() < ahead && ahead - points[i].x() <= AirfoilNormalise::kTidy)
            points[i].rx() = ahead;
    }
    for (qsizetype i = leading + 1; i < points.size(); ++i) {
        const double ahead = points[i - 1].x();
        if (points[i].x() < ahead && ahead - points[i].x() <= AirfoilNormalise::kTidy)
            points[i].rx() = ahead;
    }
}

} // namespace

AirfoilNormalise::Result AirfoilNormalise::normalise(const QList<QPointF> &points, bool keepOpen)
{
    Result r;
    const qsizetype n = points.size();
    if (n < 3) {
        r.refusal = Language::pick(QStringLiteral("Moins de 3 points : rien à normaliser."),
                                   QStringLiteral("Fewer than 3 points: nothing to normalise."));
        return r;
    }
    const QPointF trailing = (points.first() + points.last()) / 2.0;
    qsizetype leading = 0;
    double chord = -1;
    for (qsizetype i = 0; i < n; ++i) {
        const double d = distance(points[i], trailing);
        if (d > chord) {
            chord = d;
            leading = i;
        }
    }
    if (!(chord > 0) || !std::isfinite(chord) || leading == 0 || leading == n - 1) {
        r.refusal = Language::pick(
            QStringLiteral("Pas de bord d'attaque distinct du bord de fuite : rien à normaliser."),
            QStringLiteral("No leading edge apart from the trailing edge: nothing to normalise."));
        return r;
    }

    // The file's own x must fall from the trailing edge to the leading
    // edge: an outline written the wrong way (starting at the leading edge)
    // would otherwise be turned front to back and still pass every check.
    if (!(points[leading].x() < trailing.x())) {
        r.refusal = Language::pick(
            QStringLiteral("Les points ne partent pas du bord de fuite : le profil serait "
                           "retourné. Remettez-les dans l'ordre d'abord."),
            QStringLiteral("The points do not start at the trailing edge: the airfoil would be "
                           "turned round. Put them in order first."));
        return r;
    }

    // Move, turn and scale: the leading edge to (0, 0), the middle of the
    // trailing edge to (1, 0).
    const QPointF origin = points[leading];
    const QPointF axis = (trailing - origin) / chord;
    auto place = [&](const QPointF &p) {
        const QPointF d = p - origin;
        return QPointF((d.x() * axis.x() + d.y() * axis.y()) / chord,
                       (-d.x() * axis.y() + d.y() * axis.x()) / chord);
    };
    QList<QPointF> out;
    out.reserve(n);
    for (const QPointF &p : points)
        out << place(p);

    const QPointF gapVector = out.first() - out.last();
    r.gap = std::hypot(gapVector.x(), gapVector.y());
    if (!keepOpen) {
        // Upper surface (up to the leading edge) down by its share of half
        // the gap, lower surface up by the same: both ends meet at (1, 0).
        const QPointF half = gapVector / 2.0;
        const QPointF first = out.first(), last = out.last();
        for (qsizetype i = 0; i < n; ++i) {
            if (i == leading)
                continue;
            const double share = bendShare(out[i].x());
            if (share > 0) {
                const QPointF move = (i < leading ? -share : share) * half;
                out[i] += move;
                r.closingMove = std::max(r.closingMove, std::hypot(move.x(), move.y()));
            }
        }
        out.first() = QPointF(1.0, 0.0);
        out.last() = QPointF(1.0, 0.0);
        r.closingMove =
            std::max({r.closingMove, distance(first, out.first()), distance(last, out.last())});
        r.closed = true;
    } else {
        r.closed = r.gap == 0;
    }
    out[leading] = QPointF(0.0, 0.0);
    tidyOrder(out, leading);

    const QString fault = catalogueFault(out, true);
    if (!fault.isEmpty() && catalogueFault(points, false).isEmpty()) {
        r.refusal =
            Language::pick(QStringLiteral("Normalisé, ce profil utilisable aurait des erreurs (") +
                               fault + QStringLiteral(") : il est laissé tel quel."),
                           QStringLiteral("Normalised, this usable airfoil would have errors (") +
                               fault + QStringLiteral("): it is left as it is."));
        return r;
    }

    for (qsizetype i = 0; i < n; ++i)
        r.largestMove = std::max(r.largestMove, distance(points[i], out[i]));
    r.points = out;
    r.ok = true;
    return r;
}
