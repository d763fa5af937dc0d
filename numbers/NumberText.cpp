#include "numbers/NumberText.h"

#include <algorithm>

#include <cmath>
#include <cstdio>

namespace
{

constexpr int kMaxResult = 24;
constexpr int kMaxParsed = 16;
constexpr double kZero = 1e-10;

// Moves a blank that follows the sign in front of it: "- 123" -> " -123".
void fixSign(QString &text)
{
    const int i = text.indexOf(QLatin1String("- "));
    if (i >= 0) {
        text[i] = QLatin1Char(' ');
        text[i + 1] = QLatin1Char('-');
    }
}

} // namespace

QString FormatNumber(QStringView picture, int zeroMode, double value)
{
    const int picLen = int(picture.size());
    QString text;

    if (std::fabs(value) < kZero && zeroMode != 1) {
        if (zeroMode == 0) {
            text = QString(qMin(picLen, kMaxResult), QLatin1Char(' '));
        } else if (zeroMode == 2) {
            text = picture.left(kMaxResult).toString();
            for (QChar &c : text) {
                if (c == QLatin1Char('#'))
                    c = QLatin1Char('0');
                else if (c == QLatin1Char('.') || c == QLatin1Char('-'))
                    c = QLatin1Char(' ');
            }
        }
        fixSign(text);
        return text;
    }

    int intDigits = 0, decDigits = 0, groups = 0;
    bool comma = false;
    for (QChar c : picture) {
        if (c == QLatin1Char('#')) {
            if (comma)
                ++decDigits;
            else
                ++intDigits;
        } else if (c == QLatin1Char(',')) {
            comma = true;
        } else if (c == QLatin1Char('.')) {
            ++groups;
        }
    }
    if (comma)
        ++intDigits;
    const int width = intDigits + decDigits;

    if (!std::isfinite(value) || std::fabs(value) >= 1e36)
        return QString(qMin(picLen, kMaxResult), QLatin1Char('*'));

    // Digits of the magnitude; the sign follows the value itself, so -0.004
    // with two decimals reads "-0.00".
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", decDigits, std::fabs(value));
    text = QString::fromLatin1(buf);
    if (value < 0)
        text.prepend(QLatin1Char('-'));
    if (text.size() < width)
        text.prepend(QString(width - text.size(), QLatin1Char(' ')));
    text.truncate(kMaxResult);

    for (int k = groups; k >= 1; --k) {
        const int len = int(text.size());
        const int p = decDigits > 0 ? len - decDigits - 3 * k : len + 1 - 3 * k;
        if (p > 0) {
            text.insert(p - 1, QLatin1Char(' '));
            text.truncate(kMaxResult);
        }
    }

    if (text.size() > picLen)
        return QString(qMin(picLen, kMaxResult), QLatin1Char('*'));

    if (zeroMode == 2) {
        for (int i = 0; i < text.size() && text[i] == QLatin1Char(' '); ++i) {
            if (i < picLen && picture[i] == QLatin1Char('.'))
                continue;
            text[i] = QLatin1Char('0');
        }
    }

    fixSign(text);
    return text;
}

namespace
{

inline char16_t unitOf(QChar c)
{
    return c.unicode();
}
inline char16_t unitOf(char c)
{
    return static_cast<unsigned char>(c);
}

// The reader for 16-bit characters and for single bytes alike: only blanks,
// signs, separators and digits are read, all of them ASCII.
template <typename Char> double parseDecimal(int maxDecimals, const Char *text, qsizetype size)
{
    if (maxDecimals > 6)
        return kParseError;

    const Char *b = text;
    const Char *e = text + std::min<qsizetype>(size, kMaxParsed);
    while (b < e && unitOf(*b) == ' ')
        ++b;
    while (e > b && unitOf(e[-1]) == ' ')
        --e;
    if (b == e)
        return 0.0;

    bool negative = false;
    if (unitOf(*b) == '-' || unitOf(*b) == '+') {
        negative = unitOf(*b) == '-';
        ++b;
    }

    // The first point counts as the separator, like a comma; the first of
    // either splits the text.
    const Char *sep = b;
    while (sep < e && unitOf(*sep) != '.' && unitOf(*sep) != ',')
        ++sep;
    const Char *intEnd = sep;
    const Char *frac = sep < e ? sep + 1 : e;
    const Char *fracEnd = std::min(e, frac + 6);
    if (fracEnd - frac > maxDecimals)
        return kParseError;

    // The fraction is gathered as a whole number and divided once, which
    // keeps values like 0.1 as close as a double can hold them.
    double fraction = 0.0;
    double scale = 1.0;
    for (const Char *p = frac; p < fracEnd; ++p) {
        const char16_t c = unitOf(*p);
        if (c < '0' || c > '9')
            return kParseError;
        fraction = fraction * 10.0 + (c - '0');
        scale *= 10.0;
    }

    // From the units up: a blank may only stand between groups of three.
    double whole = 0.0;
    double weight = 1.0;
    int k = 0;
    for (const Char *p = intEnd; p > b;) {
        const char16_t c = unitOf(*--p);
        ++k;
        if (c == ' ') {
            if (k % 4 != 0)
                return kParseError;
            continue;
        }
        if (c < '0' || c > '9')
            return kParseError;
        whole += (c - '0') * weight;
        weight *= 10.0;
    }

    const double result = whole + fraction / scale;
    if (negative && result != 0.0)
        return -result;
    return result;
}

} // namespace

double ParseDecimal(int maxDecimals, QStringView text)
{
    return parseDecimal(maxDecimals, text.data(), text.size());
}

double ParseDecimal(int maxDecimals, QLatin1StringView text)
{
    return parseDecimal(maxDecimals, text.data(), text.size());
}

bool AcceptsDecimal(int maxDecimals, QLatin1StringView text)
{
    // The usual shape, an optional minus, digits, a separator and at most
    // maxDecimals digits, nothing else, is accepted as it stands; any other
    // text, and one whose value could be the error value itself, goes
    // through the whole reader.
    const char *p = text.data();
    const char *const end = p + text.size();
    if (text.size() > 0 && text.size() <= kMaxParsed && maxDecimals <= 6) {
        const bool negative = *p == '-';
        const char *q = negative ? p + 1 : p;
        const char *const digits = q;
        while (q < end && *q >= '0' && *q <= '9')
            ++q;
        const qsizetype wholeDigits = q - digits;
        qsizetype decimals = 0;
        if (q < end && (*q == '.' || *q == ',')) {
            const char *const first = ++q;
            while (q < end && *q >= '0' && *q <= '9')
                ++q;
            decimals = q - first;
        }
        if (q == end && decimals <= maxDecimals && !(negative && wholeDigits >= 4))
            return true;
    }
    return !IsParseError(parseDecimal(maxDecimals, p, text.size()));
}
