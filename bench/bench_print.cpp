// Time of the print preview's preparation (sheet, grid, titles, layout and
// render at one pixel per millimetre) and of writing the PDF file of the
// page on show and of all pages, for a 512-point profile with a template and
// 32 figures, at a one-page and a two-page chord.
//
//   bench_print [repetitions]
#include "BenchTiming.h"

#include "Naca.h"
#include "ScriptedPrompts.h"

#include "drawing/FigureEditor.h"
#include "drawing/TForm3.h"
#include "profiles/ProfileStore.h"
#include "render/TemplateDrawing.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    ScriptedPrompts prompts;
    QTemporaryDir dir;

    ProfileStore store;
    const int p = store.AddProfile(QStringLiteral("NACA 2412"));
    for (const QString &l : Naca::pointLines(Naca::fourDigit(QStringLiteral("2412"), 512)))
        store.AddPointLine(p, l);
    for (const char *line : {"GABARIT 200;15;", "GABARIT 400;15;"}) {
        const int t = store.AddTemplate(p, QString::fromLatin1(line));
        const int chord = t == 0 ? 200 : 400;
        for (int i = 0; i < kMaxFigures; ++i) {
            // Spread along the chord, in tenths of a millimetre.
            const int x = 150 + i * (chord * 10 - 400) / kMaxFigures;
            store.AddFigureLine(p, t,
                                QStringLiteral("FIGURE %1;%2;-30;%3;30;%4;")
                                    .arg(i % 5)
                                    .arg(x)
                                    .arg(x + 60)
                                    .arg(i * 10));
        }
    }

    TemplateDrawing drawing(&store);
    FigureEditor figures(drawing.working(), drawing.geometry());
    drawing.setFigureHook([&figures](QPainter &target, int i) { figures.draw(target, i); });
    drawing.setDisplayOption(TemplateDrawing::DisplayOption::GabaritPoints, true);
    TForm3 preview;
    preview.setDrawing(&drawing);
    preview.Edit3->setText(QStringLiteral("Profil  NACA 2412"));
    preview.Edit4->setText(QStringLiteral("Corde 400mm     Coffrage 15/10 mm"));

    std::printf("512 points, template 15/10, 32 figures, %d runs each\n", repetitions);
    std::printf("chord  pages  preview       PDF page on show  PDF all pages  PDF size\n");
    for (int t = 0; t < 2; ++t) {
        drawing.SelectProfile(p, t);
        if (store.dataError || drawing.working().lastPoint != 511 ||
            drawing.working().lastFigure != kMaxFigures - 1) {
            std::fprintf(stderr, "the benchmark template was not selected\n");
            return 1;
        }
        const float chord = drawing.working().chord;
        const double prepare = timeMs(repetitions, [&] { preview.startPrint(chord); });
        const QString pdf = dir.filePath(QStringLiteral("bench.pdf"));
        const double one = timeMs(repetitions, [&] {
            prompts.printFiles.enqueue(pdf);
            preview.printPages(1, 1);
        });
        const double all = timeMs(repetitions, [&] {
            prompts.printFiles.enqueue(pdf);
            preview.printPages(1, preview.pageCount());
        });
        std::printf("%5g  %5d  %8.2f ms  %13.2f ms  %10.2f ms  %6lld kB\n", double(chord),
                    preview.pageCount(), prepare, one, all, QFileInfo(pdf).size() / 1024);
    }
    return 0;
}
