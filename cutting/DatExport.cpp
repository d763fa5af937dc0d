#include "cutting/DatExport.h"

#include "geometry/WorkingData.h"
#include "profiles/Cp1252.h"
#include "profiles/WholeFile.h"

#include <cmath>

QString DatExport::number(double fraction)
{
    // A value that rounds to zero is written without a sign.
    if (std::fabs(fraction) < 0.000005)
        fraction = 0;
    return QString::number(fraction, 'f', 5);
}

QStringList DatExport::lines(const QString &name, const WorkingData &work)
{
    const int last = work.lastPoint;
    if (last < 1 || last >= kMaxProfilePoints)
        return {};
    auto pointLine = [](FPoint p) { return number(p.x / 100.0) + ' ' + number(-p.y / 100.0); };
    const QString leadingEdge = number(0) + ' ' + number(0);

    QStringList out{name, QString(), pointLine(work.upper[size_t(last)])};
    for (int i = last - 1; i >= 0; --i) {
        const FPoint p = work.upper[size_t(i)];
        if (p.x == 100 || (p.x == 0 && p.y == 0))
            continue;
        out << pointLine(p);
    }
    out << leadingEdge << QString();
    for (int i = 0; i <= last; ++i) {
        const FPoint p = work.lower[size_t(i)];
        if (i == 0 && p.x == 0 && p.y == 0)
            continue;
        out << pointLine(p);
        if (p.x == 100 && p.y == 0)
            break;
    }
    return out;
}

QByteArray DatExport::bytes(const QStringList &lines)
{
    QString text;
    for (const QString &line : lines)
        text += line + QLatin1Char('\n');
    return Cp1252::encode(text);
}

bool DatExport::write(const QString &path, const QByteArray &bytes, QString *error)
{
    return WholeFile::write(path, bytes, error, QIODevice::Text);
}

QString DatExport::proposedFileName(const QString &name)
{
    QString file = name.trimmed();
    for (QChar &c : file) {
        if (QStringLiteral("/\\:*?\"<>|").contains(c) || c.unicode() < 32)
            c = QLatin1Char('_');
    }
    if (file.isEmpty())
        file = QStringLiteral("profil");
    return file + QStringLiteral(".dat");
}
