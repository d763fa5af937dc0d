// Times the import of a downloaded library: 1,600 coordinate files in the
// layouts builders find (two blocks, percent with decimal commas, exponent
// notation with tabs, the catalogue's own), converted into a catalogue
// folder, beside reading the same number of plain files with the
// catalogue's reader.
#include "Naca.h"
#include "catalogue/AirfoilFile.h"
#include "catalogue/AirfoilImport.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>

namespace
{

constexpr int kFiles = 1600;

QByteArray number(double v, char format, int decimals, char comma = '.')
{
    return QByteArray::number(v, format, decimals).replace('.', comma);
}

QByteArray layout(const Naca::Section &s, int kind)
{
    QByteArray out = s.name.toLatin1() + "\r\n";
    auto row = [&](const Naca::Point &p) {
        switch (kind) {
        case 1:
            return number(p.x * 100, 'f', 4, ',') + ";" + number(p.y * 100, 'f', 4, ',');
        case 2:
            return number(p.x, 'e', 6) + "\t" + number(p.y, 'e', 6);
        default:
            return number(p.x, 'f', 6) + "  " + number(p.y, 'f', 6);
        }
    };
    if (kind == 3) {
        out += QByteArray::number(s.upper.size()) + ". " + QByteArray::number(s.lower.size()) +
               ".\r\n\r\n";
        for (const auto &p : s.upper)
            out += row(p) + "\r\n";
        out += "\r\n";
        for (const auto &p : s.lower)
            out += row(p) + "\r\n";
        return out;
    }
    for (auto it = s.upper.rbegin(); it != s.upper.rend(); ++it)
        out += row(*it) + "\r\n";
    for (size_t i = 1; i < s.lower.size(); ++i)
        out += row(s.lower[i]) + "\r\n";
    return out;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString downloads = dir.filePath("downloads");
    const QString plain = dir.filePath("plain");
    const QString target = dir.filePath("Airfoils/Imported");
    QDir().mkpath(downloads);
    QDir().mkpath(plain);
    QDir().mkpath(target);
    QStringList sources;
    QStringList plainFiles;
    for (int i = 0; i < kFiles; ++i) {
        const QString digits = QStringLiteral("%1%2%3").arg(i % 7).arg(i % 5 + 2).arg(
            8 + i % 13, 2, 10, QLatin1Char('0'));
        const Naca::Section s = Naca::fourDigit(digits, 61);
        const QString name = QStringLiteral("/f%1.dat").arg(i);
        QFile out(downloads + name);
        if (out.open(QIODevice::WriteOnly))
            out.write(layout(s, i % 4));
        sources << downloads + name;
        QFile p(plain + name);
        if (p.open(QIODevice::WriteOnly))
            p.write(layout(s, 0));
        plainFiles << plain + name;
    }

    QElapsedTimer clock;
    clock.start();
    int read = 0;
    for (const QString &path : plainFiles) {
        AirfoilFile file;
        if (file.read(path) == AirfoilFile::ReadStatus::Read && !file.checkAfterRead())
            ++read;
    }
    const double plainMs = clock.nsecsElapsed() / 1e6;

    clock.restart();
    int converted = 0;
    for (const QString &path : sources) {
        QFile in(path);
        if (in.open(QIODevice::ReadOnly) && AirfoilImport::read(in.readAll(), path).ok)
            ++converted;
    }
    const double convertMs = clock.nsecsElapsed() / 1e6;

    clock.restart();
    const AirfoilImport::Summary summary =
        AirfoilImport::importFiles(sources, target, [](const QString &) { return true; });
    const double importMs = clock.nsecsElapsed() / 1e6;

    std::printf("plain reader, read and check %d files: %8.1f ms (%d passed)\n", kFiles, plainMs,
                read);
    std::printf("tolerant reader, convert %d files:     %8.1f ms (%d converted)\n", kFiles,
                convertMs, converted);
    // Each file is written in one step, flushed to disk before it replaces
    // anything: that flush is most of the time.
    std::printf("import %d files of four layouts:       %8.1f ms (%lld written, %lld refused)\n",
                kFiles, importMs, static_cast<long long>(summary.written.size()),
                static_cast<long long>(summary.refused.size()));
    return summary.written.size() == kFiles ? 0 : 1;
}
