#pragma once

#include <QLatin1StringView>
#include <QString>
#include <QStringView>

// The text form of numbers shared by the whole program: fixed-width pictures
// for writing, and a tolerant decimal reader that never throws.

// Returned by ParseDecimal for every text it rejects. Callers compare with
// exactly this constant.
inline constexpr double kParseError = -9999.99;

// Formats value through a picture such as "###,##" or "#,#####".
// zeroMode: 0 = a zero shows as blanks, 1 = as any other number,
// 2 = zero-filled.
QString FormatNumber(QStringView picture, int zeroMode, double value);

// Reads a decimal text with a comma or a point as separator, blanks between
// groups of three integer digits and an optional sign. At most maxDecimals
// (0..6) digits after the separator. Rejected texts give kParseError.
double ParseDecimal(int maxDecimals, QStringView text);
// The same for text of one byte a character (Latin-1 or Windows-1252: the
// characters read are all ASCII).
double ParseDecimal(int maxDecimals, QLatin1StringView text);
// Whether ParseDecimal accepts the text; quicker where the number itself is
// not wanted (the database loader only checks its values).
bool AcceptsDecimal(int maxDecimals, QLatin1StringView text);

inline bool IsParseError(double v)
{
    return v == kParseError;
}
