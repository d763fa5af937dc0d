#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

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
// Writes the size characters of data to out, one for each byte.
void decodeInto(const char *data, qsizetype size, QChar *out);
// Characters that have no byte in the code page are written as '?'.
QByteArray encode(const QString &text);
// Appends the bytes of text to out, '?' for a character with no byte. False
// when there was such a character.
bool appendEncoded(QStringView text, QByteArray &out);
} // namespace Cp1252
