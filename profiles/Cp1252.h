#pragma once

#include <QByteArray>
#include <QString>

// Windows-1252 text, the character set of the data files. Bytes 0x80-0x9F
// carry typographic characters (euro sign, oe ligature, curly quotes...);
// the five bytes that code page leaves undefined map to the control
// characters of the same number, so every byte survives a round trip.
namespace Cp1252
{
QString decode(const char *data, qsizetype size);
inline QString decode(const QByteArray &bytes)
{
    return decode(bytes.constData(), bytes.size());
}
// Characters that have no byte in the code page are written as '?'.
QByteArray encode(const QString &text);
} // namespace Cp1252
