#include "GeneratedCatalogue.h"

#include "Naca.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace
{

// Reading it fails with an input/output error from the first byte on.
const QString kUnreadableNode = QStringLiteral("/proc/self/mem");

bool put(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

} // namespace

GeneratedCatalogue::Expected GeneratedCatalogue::write(const QString &folder, const Kinds &kinds)
{
    QDir().mkpath(folder);
    Expected out;
    enum Kind { Good, Blank, Garbage, Oversized, Unreadable };
    QList<Kind> order;
    const int counts[] = {kinds.good, kinds.blankTitle, kinds.garbage, kinds.oversized,
                          QFileInfo(kUnreadableNode).isFile() ? kinds.unreadable : 0};
    // The malformed files spread through the good ones, not bunched at one end.
    for (int round = 0; order.size() < counts[0] + counts[1] + counts[2] + counts[3] + counts[4];
         ++round) {
        for (int k = 0; k < 5; ++k) {
            const int step = k == Good ? 1 : 7 * k;
            if (round % step == 0 && order.count(Kind(k)) < counts[k])
                order << Kind(k);
        }
    }
    for (int i = 0; i < order.size(); ++i) {
        const QString name = QStringLiteral("%1%2.%3")
                                 .arg(i % 2 ? QLatin1Char('F') : QLatin1Char('f'))
                                 .arg(i, 5, 10, QLatin1Char('0'))
                                 .arg(i % 3 ? QStringLiteral("dat") : QStringLiteral("DAT"));
        const QString path = folder + QLatin1Char('/') + name;
        QString shown;
        bool written = false;
        switch (order[i]) {
        case Good: {
            const QString digits = QStringLiteral("24%1").arg(8 + i % 10, 2, 10, QLatin1Char('0'));
            shown = QStringLiteral("NACA %1 NO%2").arg(digits).arg(i);
            written = put(path, Naca::datFile(Naca::fourDigit(digits, 21),
                                              QStringLiteral("  naca %1 no%2").arg(digits).arg(i)));
            break;
        }
        case Blank:
            shown = name;
            written = put(path, "  \r\n1 0\r\n0 0\r\n1 0\r\n");
            break;
        case Garbage:
            shown = QStringLiteral("NOT AN AIRFOIL %1").arg(i);
            written = put(path, QStringLiteral("not an airfoil %1\r\nx y z\r\n").arg(i).toUtf8());
            break;
        case Oversized:
            shown = QStringLiteral("BIG %1").arg(i);
            written = put(path, QStringLiteral("big %1\r\n").arg(i).toUtf8() +
                                    QByteArray(1 << 20, '0'));
            break;
        case Unreadable:
            shown = name;
            written = QFile::link(kUnreadableNode, path);
            break;
        }
        if (!written)
            qFatal("cannot write %s", qPrintable(path));
        out.paths << path;
        out.shown << shown;
        out.refused << (order[i] == Oversized || order[i] == Unreadable);
    }
    for (int i = 0; i < kinds.foreign; ++i) {
        const QString base = folder + QStringLiteral("/g%1").arg(i);
        switch (i % 3) {
        case 0:
            put(folder + QStringLiteral("/.h%1.dat").arg(i), "HIDDEN\r\n");
            break;
        case 1:
            put(base + QStringLiteral(".txt"), "NOTES\r\n");
            break;
        default:
            QDir().mkpath(base + QStringLiteral(".dat"));
            break;
        }
    }
    return out;
}

QStringList GeneratedCatalogue::snapshot(const QString &folder)
{
    QStringList out;
    const QFileInfoList entries = QDir(folder).entryInfoList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo &info : entries)
        out << QStringLiteral("%1 %2 %3")
                   .arg(info.fileName())
                   .arg(info.isSymLink() ? 0 : info.size())
                   .arg(info.lastModified().toMSecsSinceEpoch());
    return out;
}
