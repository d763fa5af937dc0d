// Feeds arbitrary text to the decimal reader and the number formatter.
#include "numbers/NumberText.h"

#include <QString>

#include <cmath>
#include <cstdint>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    const int decimals = data[0] % 9 - 1; // -1..7, beyond the valid range too
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data + 1), int(size - 1));
    const double v = ParseDecimal(decimals, text);
    if (!std::isfinite(v))
        __builtin_trap();
    // Read from the bytes, as the database loader does, the same bytes
    // taken as Latin-1 must give the very same number.
    const QByteArray bytes(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    const double fromChars = ParseDecimal(decimals, QString::fromLatin1(bytes));
    if (ParseDecimal(decimals, QLatin1StringView(bytes)) != fromChars ||
        AcceptsDecimal(decimals, QLatin1StringView(bytes)) == IsParseError(fromChars))
        __builtin_trap();
    // Any picture and mode must give a text no longer than 24 characters.
    const QString out = FormatNumber(QStringView(text).left(30), decimals, v);
    if (out.size() > 24)
        __builtin_trap();
    if (size >= 9) {
        double raw;
        std::memcpy(&raw, data + 1, sizeof raw);
        if (FormatNumber(u"##.###,##", 2, raw).size() > 24)
            __builtin_trap();
    }
    return 0;
}
