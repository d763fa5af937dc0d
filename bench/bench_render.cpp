// Time of one screen layout + render of a 512-point profile with a template
// and 32 figures at every zoom level, beside the time to only fill the same
// image white, measured in the same run: one line per figure, ending in the
// ratio. The drawing area is full-HD wide and 320 pixels high, as the
// drawing window's is at most.
//
// A render reuses the template outline built for the same view and
// smoothing; the "outline rebuilt" lines step the smoothing between runs so
// that every render builds it again, as after a zoom or a smoothing step.
// The drawing keeps the room the skin leaves in the profile for the last
// few smoothings, so that these steps back and forth find it; the "new
// smoothing" lines give every run a smoothing not drawn before, which works
// the room out again as well.
//
//   bench_render [repetitions] [zoom level, every level by default]
#include "BenchTiming.h"

#include "Naca.h"
#include "ScriptedPrompts.h"

#include "profiles/ProfileStore.h"
#include "render/TemplateDrawing.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPainter>

#include <algorithm>
#include <cstdio>
#include <vector>

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 30;
    const int onlyZoom = argc > 2 ? std::atoi(argv[2]) : -1;
    ScriptedPrompts prompts;

    ProfileStore store;
    const int p = store.AddProfile(QStringLiteral("NACA 2412"));
    for (const QString &l : Naca::pointLines(Naca::fourDigit(QStringLiteral("2412"), 512)))
        store.AddPointLine(p, l);
    const int t = store.AddTemplate(p, QStringLiteral("GABARIT 200;15;"));
    for (int i = 0; i < kMaxFigures; ++i) {
        const int x = 50 + i * 55;
        store.AddFigureLine(
            p, t,
            QStringLiteral("FIGURE %1;%2;-40;%3;40;%4;").arg(i % 5).arg(x).arg(x + 40).arg(i * 10));
    }

    TemplateDrawing drawing(&store);
    // Stands in for the figure drawing: an outline and a centre mark each.
    drawing.setFigureHook([&drawing](QPainter &painter, int i) {
        const auto &f = drawing.working().scaledFigures[size_t(i)];
        const ViewGeometry &g = drawing.geometry();
        painter.setPen(QColor(0, 0, 255));
        painter.setBrush(Qt::NoBrush);
        const QRectF box(g.originXf + f[FigX1], g.originYf + f[FigY1], f[FigX2] - f[FigX1],
                         f[FigY2] - f[FigY1]);
        painter.drawRect(box.toRect());
        painter.drawEllipse(box.center().toPoint(), 3, 3);
    });
    drawing.setDisplayOption(TemplateDrawing::DisplayOption::ProfilPoints, true);
    drawing.setDisplayOption(TemplateDrawing::DisplayOption::GabaritPoints, true);
    drawing.SelectProfile(p, t);
    if (store.dataError || drawing.working().lastPoint != 511) {
        std::fprintf(stderr, "the benchmark profile was not selected\n");
        return 1;
    }

    const ScreenArea area{1924, 324, 0};
    std::printf("512 points, template 15/10, 32 figures, drawing area %dx%d, %d runs each\n",
                area.width, area.height, repetitions);
    for (int zoom = 0; zoom <= kMaxZoomLevel; ++zoom) {
        while (drawing.viewState().zoomLevel < zoom)
            drawing.zoomIn();
        if (onlyZoom >= 0 && zoom != onlyZoom)
            continue;
        enum Steps { None, BackAndForth, New };
        for (Steps steps : {None, BackAndForth, New}) {
            std::vector<double> full, fill;
            QSize size;
            for (int r = 0; r < repetitions; ++r) {
                if (steps == BackAndForth)
                    drawing.viewState().upDown4Smoothing = r % 2 == 0 ? 52 : 50;
                else if (steps == New) // 49 down to 0, 100 down to 53: never 50 or 52
                    drawing.viewState().upDown4Smoothing = r % 98 < 50 ? 49 - r % 98 : 150 - r % 98;
                QElapsedTimer timer;
                timer.start();
                const auto layout = drawing.layoutScreen(area);
                drawing.render();
                full.push_back(double(timer.nsecsElapsed()) / 1e6);
                size = layout->imageSize;

                QImage image(size, QImage::Format_RGB32);
                timer.restart();
                image.fill(Qt::white);
                fill.push_back(double(timer.nsecsElapsed()) / 1e6);
            }
            drawing.viewState().upDown4Smoothing = 50;
            const double f = median(full), w = median(fill);
            std::printf("zoom %d (%g px/mm, %dx%d)%s: layout+render %.2f ms / white fill %.2f ms "
                        "= %.1fx\n",
                        zoom, double(drawing.geometry().scale), size.width(), size.height(),
                        steps == BackAndForth ? ", outline rebuilt"
                        : steps == New        ? ", outline rebuilt, new smoothing"
                                              : "",
                        f, w, f / w);
        }
    }
    std::printf("(a 60 Hz frame is 16.7 ms)\n");
    return 0;
}
