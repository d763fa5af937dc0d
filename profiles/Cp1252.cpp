#include "profiles/Cp1252.h"

#include <array>

namespace
{

constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

// The byte of one character; false (and '?') when the code page has none.
bool byteOf(char16_t u, char &b)
{
    if (u < 0x80 || (u >= 0xA0 && u < 0x100)) {
        b = char(u);
        return true;
    }
    for (int k = 0; k < 32; ++k) {
        if (kHigh[k] == u) {
            b = char(0x80 + k);
            return true;
        }
    }
    b = '?';
    return false;
}

} // namespace

void Cp1252::decodeInto(const char *data, qsizetype size, QChar *dst)
{
    for (qsizetype i = 0; i < size; ++i) {
        const auto b = static_cast<unsigned char>(data[i]);
        dst[i] = (b >= 0x80 && b < 0xA0) ? QChar(kHigh[b - 0x80]) : QChar(char16_t(b));
    }
}

QString Cp1252::decode(const char *data, qsizetype size)
{
    QString out(size, Qt::Uninitialized);
    decodeInto(data, size, out.data());
    return out;
}

bool Cp1252::appendEncoded(QStringView text, QByteArray &out)
{
    const qsizetype start = out.size();
    out.resize(start + text.size());
    char *dst = out.data() + start;
    bool all = true;
    for (QChar c : text)
        all &= byteOf(c.unicode(), *dst++);
    return all;
}

QByteArray Cp1252::encode(const QString &text)
{
    QByteArray out;
    appendEncoded(text, out);
    return out;
}
