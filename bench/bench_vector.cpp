// Time of exporting every template of a 5,000-profile database (one
// template of 41 stations and two figures each) to one DXF file and one SVG
// file, beside the time to build and lay the ribs out only.
//
//   bench_vector [profiles]
#include "Naca.h"
#include "ScriptedPrompts.h"

#include "cutting/ExportJob.h"
#include "cutting/VectorExport.h"
#include "profiles/ProfileStore.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <cstdio>

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int count = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5000;
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

    QElapsedTimer timer;
    timer.start();
    std::vector<RibVectors::Rib> ribs;
    QString error;
    ExportJob::buildRibs(store, picks, 50, options.layers, &ribs, &error);
    const double buildMs = double(timer.nsecsElapsed()) / 1e6;
    timer.restart();
    const VectorExport::Document doc = VectorExport::arrange(ribs, options);
    const double layoutMs = double(timer.nsecsElapsed()) / 1e6;
    std::printf("%d ribs on %d sheets of 600x300 mm\n", int(doc.ribs.size()),
                int(doc.sheets.size()));
    std::printf("build ribs        %9.1f ms\n", buildMs);
    std::printf("lay out only      %9.1f ms\n", layoutMs);

    for (VectorExport::Format format : {VectorExport::Format::Dxf, VectorExport::Format::Svg}) {
        options.format = format;
        const QString path = dir.filePath(QStringLiteral("all.") + VectorExport::suffix(format));
        timer.restart();
        const bool ok = ExportJob::exportTemplates(store, picks, options, 50, path, &error);
        const double ms = double(timer.nsecsElapsed()) / 1e6;
        std::printf("whole export %s  %9.1f ms  %8.1f MB%s\n",
                    qPrintable(VectorExport::suffix(format)), ms,
                    double(QFileInfo(path).size()) / 1e6, ok ? "" : "  FAILED");
    }
    return 0;
}
