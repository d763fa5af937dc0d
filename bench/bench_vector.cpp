// Writing every template of a 5,000-profile database (one template of 41
// stations and two figures each) as DXF, SVG and PDF, each beside writing
// the same bytes to a file in one go; building, contour work and the two
// layouts are reported on lines of their own.
//
//   bench_vector [profiles]
#include "BenchTiming.h"
#include "Naca.h"
#include "ScriptedPrompts.h"

#include "cutting/ExportJob.h"
#include "cutting/VectorExport.h"
#include "profiles/ProfileStore.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <cstdio>

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int count = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5000;
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    ScriptedPrompts prompts;
    QTemporaryDir dir;

    ProfileStore store;
    const char *digits[] = {"0009", "0012", "2412", "4412", "6409"};
    for (int i = 0; i < count; ++i) {
        const QString d = QString::fromLatin1(digits[i % 5]);
        const int p =
            store.AddProfile(QStringLiteral("P%1 NACA %2").arg(i, 5, 10, QLatin1Char('0')).arg(d));
        for (const QString &l : Naca::pointLines(Naca::fourDigit(d)))
            store.AddPointLine(p, l);
        const int t = store.AddTemplate(p, QStringLiteral("GABARIT %1;10;").arg(100 + i % 200));
        store.AddFigureLine(p, t, QStringLiteral("FIGURE 2;300;-30;360;30;0;"));
        store.AddFigureLine(p, t, QStringLiteral("FIGURE 0;500;-40;540;40;0;"));
    }
    std::vector<int> all;
    for (int p = 0; p < store.count(); ++p)
        all.push_back(p);
    const ExportJob::Picks picks = ExportJob::allTemplatesOf(store, all);
    VectorExport::Options options;
    options.kerf = 0.15;

    QElapsedTimer timer;
    timer.start();
    std::vector<RibVectors::Rib> ribs;
    QString error;
    ExportJob::buildRibs(store, picks, 50, options.layers, &ribs, &error);
    std::printf("build ribs            %9.1f ms\n", double(timer.nsecsElapsed()) / 1e6);
    options.nesting = VectorExport::Nesting::Rows;
    timer.restart();
    const VectorExport::Document rows = VectorExport::arrange(ribs, options);
    std::printf("contours + rows       %9.1f ms  %d sheets\n", double(timer.nsecsElapsed()) / 1e6,
                int(rows.sheets.size()));
    options.nesting = VectorExport::Nesting::Shape;
    timer.restart();
    const VectorExport::Document doc = VectorExport::arrange(ribs, options);
    std::printf("contours + nesting    %9.1f ms  %d sheets, %.1f %% covered\n",
                double(timer.nsecsElapsed()) / 1e6, int(doc.sheets.size()), doc.covered * 100);

    for (VectorExport::Format format :
         {VectorExport::Format::Dxf, VectorExport::Format::Svg, VectorExport::Format::Pdf}) {
        const QString name = VectorExport::suffix(format);
        const QString path = dir.filePath(QStringLiteral("all.") + name);
        const QString floorPath = dir.filePath(QStringLiteral("floor.") + name);
        QByteArray bytes;
        // The writer as the export runs it: the file's bytes, then one write.
        const double ms = timeMs(3, [&] {
            bytes = VectorExport::bytes(doc, format, &error);
            VectorExport::write(path, bytes, &error);
        });
        // The same bytes written in one go, as every file of the program is
        // written (whole, then put in place).
        const double floor = timeMs(3, [&] { VectorExport::write(floorPath, bytes, &error); });
        std::printf("write %s, %d ribs  %9.1f ms  %7.1f MB  floor (one whole-file write) %7.1f ms "
                    "= %.1fx\n",
                    qPrintable(name), int(doc.ribs.size()), ms, double(bytes.size()) / 1e6, floor,
                    floor > 0 ? ms / floor : 0.0);
    }
    return 0;
}
