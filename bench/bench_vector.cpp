// Exporting every template of a 5,000-profile database (one template of 41
// stations and two figures each) as DXF, SVG and PDF, the whole export
// (building, contours, nesting, writing) beside writing the same bytes to a
// file in one go; building, contour work, the two layouts and each writer
// alone are reported on lines of their own.
//
//   bench_vector [profiles] [formats] [folder]
// formats: e.g. "dxf" or "dxf,svg"; with a folder, each export is kept there
// (to compare the files of two builds).
#include "BenchTiming.h"
#include "Naca.h"
#include "ScriptedPrompts.h"

#include "cutting/ExportJob.h"
#include "cutting/VectorExport.h"
#include "profiles/ProfileStore.h"

#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <cstdio>
#include <ctime>

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int count = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5000;
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    ScriptedPrompts prompts;
    QTemporaryDir temporary;
    const QDir dir(argc > 3 ? QString::fromLocal8Bit(argv[3]) : temporary.path());

    // Every template differs from every other (500 sections, each at ten
    // chords), so that no rib is built once for several: a database that
    // repeats a section at one chord exports faster than this.
    ProfileStore store;
    for (int i = 0; i < count; ++i) {
        const int section = i % 500;
        const QString d = QStringLiteral("%1%2%3")
                              .arg(section % 7)
                              .arg(2 + section / 7 % 5)
                              .arg(6 + section / 35 % 15, 2, 10, QLatin1Char('0'));
        const int chord = 100 + 20 * (i / 500 % 10) + i % 13;
        const int p =
            store.AddProfile(QStringLiteral("P%1 NACA %2").arg(i, 5, 10, QLatin1Char('0')).arg(d));
        for (const QString &l : Naca::pointLines(Naca::fourDigit(d)))
            store.AddPointLine(p, l);
        const int t = store.AddTemplate(p, QStringLiteral("GABARIT %1;10;").arg(chord));
        store.AddFigureLine(p, t, QStringLiteral("FIGURE 2;300;-30;360;30;0;"));
        store.AddFigureLine(p, t, QStringLiteral("FIGURE 0;500;-40;540;40;0;"));
    }
    std::vector<int> all;
    for (int p = 0; p < store.count(); ++p)
        all.push_back(p);
    const ExportJob::Picks picks = ExportJob::allTemplatesOf(store, all);
    VectorExport::Options options;
    options.kerf = 0.15;

    // The steps of one export, each on its own, with the CPU time of all
    // its threads (the ribs are built and contoured on every core).
    QElapsedTimer timer;
    std::clock_t cpu0 = 0;
    auto start = [&] {
        timer.restart();
        cpu0 = std::clock();
    };
    auto took = [&](const char *what) {
        std::printf("%-21s %9.1f ms  cpu %9.1f ms", what, double(timer.nsecsElapsed()) / 1e6,
                    double(std::clock() - cpu0) * 1000.0 / CLOCKS_PER_SEC);
    };
    start();
    std::vector<RibVectors::Rib> ribs;
    QString error;
    ExportJob::buildRibs(store, picks, 50, options.layers, &ribs, &error);
    took("build ribs");
    std::printf("\n");
    options.nesting = VectorExport::Nesting::Rows;
    start();
    const VectorExport::Document rows = VectorExport::arrange(ribs, options);
    took("contours + rows");
    std::printf("  %d sheets\n", int(rows.sheets.size()));
    options.nesting = VectorExport::Nesting::Shape;
    start();
    const VectorExport::Document doc = VectorExport::arrange(ribs, options);
    took("contours + nesting");
    std::printf("  %d sheets, %.1f %% covered\n", int(doc.sheets.size()), doc.covered * 100);

    const QString wanted = argc > 2 ? QString::fromLatin1(argv[2]) : QStringLiteral("dxf,svg,pdf");
    for (VectorExport::Format format :
         {VectorExport::Format::Dxf, VectorExport::Format::Svg, VectorExport::Format::Pdf}) {
        const QString name = VectorExport::suffix(format);
        if (!wanted.contains(name))
            continue;
        const QString path = dir.filePath(QStringLiteral("all.") + name);
        const QString floorPath = dir.filePath(QStringLiteral("floor.") + name);
        options.format = format;
        const VectorExport::Document laid = VectorExport::arrange(ribs, options);
        // The writer as an export runs it (a DXF from its parts), and the
        // file's bytes made in one text.
        const double writer = timeMs(3, [&] { VectorExport::save(path, laid, format, &error); });
        QByteArray bytes;
        std::vector<double> making;
        for (int run = 0; run < 3; ++run) {
            QElapsedTimer made;
            made.start();
            bytes = VectorExport::bytes(laid, format, &error);
            making.push_back(double(made.nsecsElapsed()) / 1e6);
        }
        // The whole export as the command line runs it: every rib built,
        // its contours, the nesting, the file's bytes and their one write.
        // The slow formats once, DXF three times.
        const int runs = format == VectorExport::Format::Dxf ? 3 : 1;
        std::vector<double> cpu;
        const double whole = timeMs(runs, [&] {
            const std::clock_t c0 = std::clock();
            ExportJob::exportTemplates(store, picks, options, 50, path, &error);
            cpu.push_back(double(std::clock() - c0) * 1000.0 / CLOCKS_PER_SEC);
        });
        // The same bytes written in one go, as every file of the program is
        // written (whole, then put in place).
        const double floor = timeMs(3, [&] { VectorExport::write(floorPath, bytes, &error); });
        std::printf("writer %s alone     %9.1f ms  (%.1fx the floor; its bytes made in one text in "
                    "%.1f ms)\n",
                    qPrintable(name), writer, floor > 0 ? writer / floor : 0.0, median(making));
        std::printf("export %s, %d ribs %9.1f ms  cpu %9.1f ms  %7.1f MB  floor (one whole-file "
                    "write) %7.1f ms = %.1fx\n",
                    qPrintable(name), int(laid.ribs.size()), whole, median(cpu),
                    double(bytes.size()) / 1e6, floor, floor > 0 ? whole / floor : 0.0);
    }
    return 0;
}
