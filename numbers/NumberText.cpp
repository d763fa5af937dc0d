#include "numbers/NumberText.h"

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

double ParseDecimal(int maxDecimals, QStringView text)
{
    if (maxDecimals > 6)
        return kParseError;

    QStringView s = text.left(kMaxParsed);
    while (!s.isEmpty() && s.front() == QLatin1Char(' '))
        s = s.mid(1);
    while (!s.isEmpty() && s.back() == QLatin1Char(' '))
        s.chop(1);
    if (s.isEmpty())
        return 0.0;

    bool negative = false;
    if (s.front() == QLatin1Char('-') || s.front() == QLatin1Char('+')) {
        negative = s.front() == QLatin1Char('-');
        s = s.mid(1);
    }

    // The first point counts as the separator, like a comma; the first of
    // either splits the text.
    const qsizetype point = s.indexOf(QLatin1Char('.'));
    qsizetype sep = s.indexOf(QLatin1Char(','));
    if (point >= 0 && (sep < 0 || point < sep))
        sep = point;

    QStringView intPart = s;
    QStringView fracPart;
    if (sep >= 0) {
        intPart = s.left(sep);
        fracPart = s.mid(sep + 1).left(6);
    }
    if (fracPart.size() > maxDecimals)
        return kParseError;

    // The fraction is gathered as a whole number and divided once, which
    // keeps values like 0.1 as close as a double can hold them.
    double fraction = 0.0;
    double scale = 1.0;
    for (QChar c : fracPart) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return kParseError;
        fraction = fraction * 10.0 + (c.unicode() - '0');
        scale *= 10.0;
    }

    double whole = 0.0;
    double weight = 1.0;
    int k = 0;
    for (qsizetype i = intPart.size() - 1; i >= 0; --i) {
        ++k;
        const QChar c = intPart[i];
        if (c == QLatin1Char(' ')) {
            if (k % 4 != 0)
                return kParseError;
            continue;
        }
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return kParseError;
        whole += (c.unicode() - '0') * weight;
        weight *= 10.0;
    }

    const double result = whole + fraction / scale;
    if (negative && result != 0.0)
        return -result;
    return result;
}
