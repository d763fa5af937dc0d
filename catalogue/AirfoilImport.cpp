#include "catalogue/AirfoilImport.h"

#include "profiles/Cp1252.h"
#include "profiles/TextLines.h"
#include "profiles/WholeFile.h"
#include "ui/Language.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>
#include <QStringDecoder>

#include <algorithm>
#include <charconv>
#include <cmath>

namespace
{

using AirfoilImport::LineNumbers;
using AirfoilImport::Result;

// Fractions written by a program that meant 1 may read a little over it;
// percent files may hold 100.5 at a rounded trailing edge.
constexpr double kFractionLimit = 1.1;
constexpr double kPercentLimit = 110.0;
// Two points closer than this (fraction of chord) are the same point.
constexpr double kSamePoint = 1e-9;

QString pick(const char *fr, const char *en)
{
    return Language::pick(QString::fromUtf8(fr), QString::fromUtf8(en));
}

Result refuse(const QString &why)
{
    Result r;
    r.refusal = why;
    return r;
}

// Text of a file: UTF-8 when it is valid UTF-8, Windows-1252 otherwise (the
// older files); a byte-order mark says UTF-16.
QString decodeText(QByteArray bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        QStringDecoder utf16(bytes.startsWith("\xFF\xFE") ? QStringDecoder::Utf16LE
                                                          : QStringDecoder::Utf16BE);
        return QString(utf16(bytes.mid(2)));
    }
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8(bytes);
    if (!utf8.hasError())
        return text;
    return Cp1252::decode(bytes);
}

// A file holding NUL bytes or many control characters is no text.
bool looksBinary(const QByteArray &bytes)
{
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF"))
        return false;
    qsizetype control = 0;
    for (char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        if (u == 0)
            return true;
        if (u < 32 && c != '\t' && c != '\r' && c != '\n' && c != '\f' && c != '\x1A')
            ++control;
    }
    return control > 0 && control * 20 > bytes.size();
}

bool isComment(QStringView line)
{
    static const QStringList marks{QStringLiteral("#"),  QStringLiteral("%"), QStringLiteral("!"),
                                   QStringLiteral("//"), QStringLiteral(";"), QStringLiteral("*")};
    for (const QString &mark : marks) {
        if (line.startsWith(mark))
            return true;
    }
    return false;
}

// "chord 250 mm", "Corde : 250", "CHORD=180.5mm": the chord in millimetres a
// file states, or 0.
double statedChord(const QString &line)
{
    static const QRegularExpression chord(
        QStringLiteral("\\b(?:chord|corde)\\b[^0-9]{0,12}([0-9]+(?:[.,][0-9]+)?)"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = chord.match(line);
    if (!m.hasMatch())
        return 0.0;
    QString number = m.captured(1);
    number.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double value = QLocale::c().toDouble(number, &ok);
    return ok && value > 0 && std::isfinite(value) ? value : 0.0;
}

bool parseNumber(const QString &token, double *value, bool *exponent)
{
    // Plain ASCII by then (the line was filtered); Fortran writes its
    // exponents with a D, and a leading + is allowed.
    constexpr qsizetype kLongest = 64;
    if (token.isEmpty() || token.size() > kLongest)
        return false;
    char buffer[kLongest];
    qsizetype n = 0;
    for (QChar c : token) {
        char a = char(c.unicode());
        if (a == 'd' || a == 'D')
            a = 'e';
        if (a == 'e' || a == 'E')
            *exponent = true;
        buffer[n++] = a;
    }
    const char *begin = buffer;
    if (*begin == '+' && n > 1 && buffer[1] != '-' && buffer[1] != '+')
        ++begin;
    double v = 0;
    const auto [end, error] = std::from_chars(begin, buffer + n, v);
    if (error != std::errc() || end != buffer + n || !std::isfinite(v))
        return false;
    *value = v;
    return true;
}

// The outline's signed area: positive when it runs over the upper surface
// from the trailing edge to the leading edge and back under the lower one.
double signedArea(const QList<QPointF> &points)
{
    double area = 0;
    for (qsizetype i = 0; i < points.size(); ++i) {
        const QPointF &a = points[i];
        const QPointF &b = points[(i + 1) % points.size()];
        area += a.x() * b.y() - b.x() * a.y();
    }
    return area / 2;
}

int xTurns(const QList<QPointF> &points)
{
    int turns = 0;
    int direction = 0; // -1 falling, +1 rising, 0 not known yet
    for (qsizetype i = 1; i < points.size(); ++i) {
        const double dx = points[i].x() - points[i - 1].x();
        if (dx == 0)
            continue;
        const int d = dx > 0 ? 1 : -1;
        if (direction != 0 && d != direction)
            ++turns;
        direction = d;
    }
    return turns;
}

bool samePoint(const QPointF &a, const QPointF &b)
{
    return std::abs(a.x() - b.x()) <= kSamePoint && std::abs(a.y() - b.y()) <= kSamePoint;
}

// A surface from the leading edge to the trailing edge, whichever way the
// file wrote it.
QList<QPointF> fromLeadingEdge(QList<QPointF> surface)
{
    if (surface.size() > 1 && surface.first().x() > surface.last().x())
        std::reverse(surface.begin(), surface.end());
    return surface;
}

QString numberText(double v)
{
    QString text = QString::number(v, 'f', 6);
    if (text == QLatin1String("-0.000000"))
        text.remove(0, 1);
    return text;
}

} // namespace

namespace
{

// Splits at every run of the characters sep accepts.
template <typename Sep> QStringList splitAt(const QString &text, Sep sep)
{
    QStringList parts;
    QString part;
    for (QChar c : text) {
        if (sep(c)) {
            if (!part.isEmpty())
                parts << part;
            part.clear();
        } else {
            part += c;
        }
    }
    if (!part.isEmpty())
        parts << part;
    return parts;
}

bool blankOrSemicolon(QChar c)
{
    return c.isSpace() || c == QLatin1Char(';');
}

} // namespace

AirfoilImport::LineNumbers AirfoilImport::parseNumbers(QStringView line)
{
    LineNumbers out;
    const QString text = line.trimmed().toString();
    if (text.isEmpty())
        return out;
    // Only digits, signs, points, commas, exponents and separators: anything
    // else (a word) is no line of numbers, and is told at once.
    for (QChar c : text) {
        if (!(c.isDigit() || c.isSpace() || QStringView(u"+-.,;eEdD").contains(c)))
            return out;
    }

    QStringList tokens;
    const bool hasPoint = text.contains(QLatin1Char('.'));
    const bool hasComma = text.contains(QLatin1Char(','));
    const bool hasOtherSeparator = std::any_of(text.cbegin(), text.cend(), blankOrSemicolon);
    if (text.contains(QLatin1Char(';')))
        out.separator = QLatin1Char(';');
    else if (text.contains(QLatin1Char('\t')))
        out.separator = QLatin1Char('\t');
    else
        out.separator = QLatin1Char(' ');
    if (hasPoint || !hasComma) {
        // Points for decimals: a comma can only separate.
        tokens =
            splitAt(text, [](QChar c) { return blankOrSemicolon(c) || c == QLatin1Char(','); });
        if (hasComma && !text.contains(QLatin1Char(';')))
            out.separator = QLatin1Char(',');
    } else if (hasOtherSeparator) {
        // Blanks, tabs or semicolons separate: the commas are decimal ones.
        tokens = splitAt(text, blankOrSemicolon);
        for (QString &t : tokens)
            t.replace(QLatin1Char(','), QLatin1Char('.'));
        out.decimalComma = true;
    } else {
        // Commas only: "1,0" is two numbers, "0,5,0,02" two numbers with
        // decimal commas.
        const QStringList parts = text.split(QLatin1Char(','));
        if (parts.size() == 4) {
            tokens = {parts[0] + QLatin1Char('.') + parts[1],
                      parts[2] + QLatin1Char('.') + parts[3]};
            out.decimalComma = true;
        } else {
            tokens = parts;
            out.separator = QLatin1Char(',');
        }
    }
    QList<double> values;
    values.reserve(tokens.size());
    for (const QString &token : tokens) {
        double v = 0;
        if (!parseNumber(token, &v, &out.exponent))
            return LineNumbers();
        values << v;
    }
    out.values = values;
    return out;
}

Result AirfoilImport::read(const QByteArray &bytes, const QString &fileName)
{
    if (bytes.size() > kMaxBytes)
        return refuse(pick("Fichier trop gros pour un fichier de coordonnées (plus de 1 Mo).",
                           "File too large for a coordinate file (more than 1 MB)."));
    if (looksBinary(bytes))
        return refuse(pick("Ce fichier n'est pas un texte (données binaires).",
                           "This file is not text (binary data)."));

    const QString text = decodeText(bytes);
    Result result;
    QString title;
    QList<QPointF> raw;       // every pair of numbers, in file order
    QList<QList<double>> odd; // numeric lines that are not a pair
    int comments = 0;
    int headers = 0;
    bool exponent = false;
    bool decimalComma = false;
    QChar separator = QLatin1Char(' ');
    double chord = 0;
    forEachLine(text, [&](QStringView rawLine) {
        const QString line = rawLine.trimmed().toString();
        if (line.isEmpty())
            return;
        if (isComment(line)) {
            ++comments;
            if (chord == 0)
                chord = statedChord(line);
            return;
        }
        const LineNumbers numbers = parseNumbers(line);
        const bool first = title.isEmpty() && raw.isEmpty() && odd.isEmpty();
        // A lone number on the first line is a title ("0012"), not data.
        if (numbers.values.isEmpty() || (first && numbers.values.size() == 1)) {
            if (chord == 0)
                chord = statedChord(line);
            if (first)
                title = line;
            else
                ++headers;
            return;
        }
        exponent = exponent || numbers.exponent;
        decimalComma = decimalComma || numbers.decimalComma;
        if (numbers.separator != QLatin1Char(' '))
            separator = numbers.separator;
        if (numbers.values.size() == 2)
            raw << QPointF(numbers.values[0], numbers.values[1]);
        else
            odd << numbers.values;
    });

    // Two blocks: a first pair of whole counts that add up to the pairs after
    // it, and that lie outside the coordinates' range (a trailing edge at
    // "100 0" in percent is no count line).
    QList<QPointF> outline;
    bool twoBlocks = false;
    if (raw.size() >= 3) {
        const double a = raw[0].x();
        const double b = raw[0].y();
        double rangeX = 0;
        double rangeY = 0;
        for (qsizetype i = 1; i < raw.size(); ++i) {
            rangeX = std::max(rangeX, std::abs(raw[i].x()));
            rangeY = std::max(rangeY, std::abs(raw[i].y()));
        }
        const bool whole = a == std::floor(a) && b == std::floor(b) && a >= 0 && b >= 0;
        const bool sizes = whole && a + b == double(raw.size() - 1);
        // Small counts in a percent file are told by the blocks themselves:
        // both surfaces begin (or end) at the same point.
        const int upper = sizes ? int(a) : 0;
        const bool blocksMeet =
            sizes && a >= 2 && b >= 2 && (raw[1] == raw[1 + upper] || raw[upper] == raw.last());
        if (sizes && (b > 1.5 * rangeY || a > 1.5 * rangeX || blocksMeet)) {
            twoBlocks = true;
            const int upperCount = int(a);
            const int lowerCount = int(b);
            if (upperCount < 2 || lowerCount < 2)
                return refuse(pick("Une seule surface : le fichier annonce %1 et %2 points.",
                                   "A single surface: the file announces %1 and %2 points.")
                                  .arg(upperCount)
                                  .arg(lowerCount));
            const QList<QPointF> upper = fromLeadingEdge(raw.mid(1, upperCount));
            const QList<QPointF> lower = fromLeadingEdge(raw.mid(1 + upperCount, lowerCount));
            // Both surfaces begin at the leading edge, which the removal of
            // repeated points below then keeps once.
            outline = upper;
            std::reverse(outline.begin(), outline.end());
            outline += lower;
        }
    }
    if (!twoBlocks)
        outline = raw;

    // Units: fractions, percent, or millimetres of the stated chord.
    double maxX = 0;
    for (const QPointF &p : outline)
        maxX = std::max(maxX, p.x());
    double scale = 1.0;
    QString units;
    if (chord > 0 && maxX > kFractionLimit && maxX >= 0.9 * chord && maxX <= 1.1 * chord) {
        scale = chord;
        units = pick("coordonnées en millimètres d'une corde de %1 mm",
                     "coordinates in millimetres of a %1 mm chord")
                    .arg(QLocale::c().toString(chord, 'g', 10));
    } else if (maxX > kFractionLimit && maxX <= kPercentLimit) {
        scale = 100.0;
        units = pick("coordonnées en pourcentage de la corde", "coordinates in percent of chord");
    } else if (maxX > kPercentLimit) {
        return refuse(pick("Les x vont jusqu'à %1 : ni des fractions ni des pourcentages de la "
                           "corde. Si ce sont des millimètres, indiquez la corde dans le fichier "
                           "(par exemple une ligne \"corde 250 mm\").",
                           "x values reach %1: neither fractions nor percent of chord. If they "
                           "are millimetres, state the chord in the file (for instance a line "
                           "\"chord 250 mm\").")
                          .arg(QLocale::c().toString(maxX, 'g', 6)));
    }
    if (scale != 1.0) {
        for (QPointF &p : outline)
            p /= scale;
    }

    // Thicker than its chord is long: no airfoil, whatever the units.
    for (const QPointF &p : outline) {
        if (!(std::abs(p.y()) <= 1.0) || p.x() < -kFractionLimit)
            return refuse(pick("Des points sont à plus d'une corde du bord d'attaque : ce n'est "
                               "pas un profil.",
                               "Some points lie more than a chord away from the leading edge: "
                               "this is not an airfoil."));
    }

    // Repeated points (the leading edge written twice, most often).
    int repeated = 0;
    QList<QPointF> points;
    points.reserve(outline.size());
    for (const QPointF &p : outline) {
        if (!points.isEmpty() && samePoint(points.last(), p)) {
            ++repeated;
            continue;
        }
        points << p;
    }

    if (points.size() < 3)
        return refuse(pick("Moins de 3 points lisibles : ce n'est pas un profil.",
                           "Fewer than 3 readable points: this is not an airfoil."));
    if (xTurns(points) == 0)
        return refuse(pick("Les x ne reviennent jamais en arrière : une seule surface ?",
                           "x never turns back: a single surface?"));

    // Written from the leading edge round to it again: made to start at the
    // trailing edge (the point of largest x) and to end there.
    bool restarted = false;
    {
        double lowX = points.first().x();
        double highX = lowX;
        qsizetype trailing = 0;
        for (qsizetype i = 0; i < points.size(); ++i) {
            lowX = std::min(lowX, points[i].x());
            if (points[i].x() > highX) {
                highX = points[i].x();
                trailing = i;
            }
        }
        if (points.first().x() < (lowX + highX) / 2) {
            QList<QPointF> ring = points;
            if (samePoint(ring.first(), ring.last()))
                ring.removeLast();
            points = ring.mid(trailing) + ring.mid(0, trailing);
            points << points.first();
            restarted = true;
        }
    }

    if (points.size() > kMaxPoints)
        return refuse(pick("%1 points : le catalogue en lit au plus 256.",
                           "%1 points: the catalogue reads at most 256.")
                          .arg(points.size()));

    bool reversed = false;
    if (signedArea(points) < 0) {
        std::reverse(points.begin(), points.end());
        reversed = true;
    }

    // What was recognised and changed.
    QStringList &notes = result.notes;
    if (twoBlocks)
        notes << pick("deux blocs : extrados puis intrados, du bord d'attaque au bord de fuite",
                      "two blocks: upper then lower surface, leading edge to trailing edge");
    if (exponent)
        notes << pick("nombres en notation exponentielle", "numbers in exponent notation");
    if (decimalComma)
        notes << pick("virgule décimale", "decimal comma");
    if (separator == QLatin1Char(';'))
        notes << pick("valeurs séparées par des points-virgules", "values separated by semicolons");
    else if (separator == QLatin1Char(','))
        notes << pick("valeurs séparées par des virgules", "values separated by commas");
    else if (separator == QLatin1Char('\t'))
        notes << pick("valeurs séparées par des tabulations", "values separated by tabs");
    if (!units.isEmpty())
        notes << units;
    if (comments + headers > 0)
        notes << pick("%1 ligne(s) de commentaire ou d'en-tête ignorée(s)",
                      "%1 comment or header line(s) left out")
                     .arg(comments + headers);
    if (!odd.isEmpty())
        notes << pick("%1 ligne(s) de nombres qui ne sont pas une paire x y ignorée(s)",
                      "%1 line(s) of numbers that are no x y pair left out")
                     .arg(odd.size());
    if (repeated > 0)
        notes << pick("point répété retiré (%1)", "repeated point removed (%1)").arg(repeated);
    if (restarted)
        notes << pick("commençait au bord d'attaque : commence et finit au bord de fuite",
                      "started at the leading edge: starts and ends at the trailing edge");
    if (reversed)
        notes << pick("points dans l'autre sens (intrados d'abord) : ordre inversé",
                      "points the other way round (lower surface first): order reversed");
    if (title.isEmpty()) {
        title = QFileInfo(fileName).completeBaseName().trimmed();
        if (title.isEmpty())
            title = QStringLiteral("PROFIL");
        notes << pick("sans titre : le nom du fichier devient le titre",
                      "no title: the file name becomes the title");
    }

    result.ok = true;
    result.title = title;
    result.points = points;
    return result;
}

QByteArray AirfoilImport::Result::datBytes() const
{
    return AirfoilImport::datBytes(title, points);
}

QByteArray AirfoilImport::datBytes(const QString &title, const QList<QPointF> &points)
{
    QString text = title + QStringLiteral("\r\n");
    for (const QPointF &p : points)
        text += numberText(p.x()) + QLatin1Char(' ') + numberText(p.y()) + QStringLiteral("\r\n");
    return Cp1252::encode(text);
}

bool AirfoilImport::writeWhole(const QString &path, const QByteArray &bytes, QString *error)
{
    return WholeFile::write(path, bytes, error);
}

AirfoilImport::Summary
AirfoilImport::importFiles(const QStringList &sources, const QString &folder,
                           const std::function<bool(const QString &path)> &replace)
{
    Summary summary;
    const QDir dir(folder);
    for (const QString &source : sources) {
        const QFileInfo info(source);
        const QString name = info.fileName();
        QFile in(source);
        if (!in.open(QIODevice::ReadOnly)) {
            summary.refused << name + QStringLiteral(" : ") + in.errorString();
            continue;
        }
        const QByteArray bytes = in.read(kMaxBytes + 1);
        in.close();
        const Result result = read(bytes, source);
        if (!result.ok) {
            summary.refused << name + QStringLiteral(" : ") + result.refusal;
            continue;
        }
        const QString base =
            info.completeBaseName().isEmpty() ? QStringLiteral("profil") : info.completeBaseName();
        QString target = dir.filePath(base + QStringLiteral(".dat"));
        const QString sourceCanonical = info.canonicalFilePath();
        // The original stays as it is, even when it lies in the folder.
        for (int n = 2; QFileInfo(target).canonicalFilePath() == sourceCanonical; ++n)
            target = dir.filePath(base + QStringLiteral("-%1.dat").arg(n));
        if (QFileInfo::exists(target) && !(replace && replace(target))) {
            summary.kept << QFileInfo(target).fileName();
            continue;
        }
        QString error;
        if (!writeWhole(target, result.datBytes(), &error)) {
            summary.refused << name + QStringLiteral(" : ") + error;
            continue;
        }
        summary.written << target;
        if (!result.notes.isEmpty())
            summary.notes << QFileInfo(target).fileName() + QStringLiteral(" : ") +
                                 result.notes.join(QStringLiteral("; "));
    }
    return summary;
}

QString AirfoilImport::summaryText(const Summary &summary)
{
    QStringList lines;
    lines << pick("Importés : %1. Refusés : %2.", "Imported: %1. Refused: %2.")
                 .arg(summary.written.size())
                 .arg(summary.refused.size());
    if (!summary.kept.isEmpty())
        lines << pick("Fichiers existants gardés (non remplacés) : %1",
                      "Existing files kept (not replaced): %1")
                     .arg(summary.kept.join(QStringLiteral(", ")));
    constexpr int kShown = 12;
    auto some = [&lines](const QStringList &list) {
        for (int i = 0; i < list.size() && i < kShown; ++i)
            lines << list[i];
        if (list.size() > kShown)
            lines << QStringLiteral("(%1 …)").arg(list.size() - kShown);
    };
    some(summary.refused);
    if (!summary.notes.isEmpty()) {
        lines << QString() << pick("Lu et converti :", "Read and converted:");
        some(summary.notes);
    }
    return lines.join(QLatin1Char('\n'));
}
