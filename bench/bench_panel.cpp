// Time of a 100-rib wing panel of 512-point profiles (blends, taper,
// figures carried) beside 100 single blends of the same profiles, and of
// its ribs stored, listed with their relative thickness and exported to SVG.
//
//   bench_panel [repetitions]
#include "BenchTiming.h"

#include "Naca.h"
#include "ScriptedPrompts.h"

#include "cutting/ExportJob.h"
#include "hybrid/PanelCommand.h"
#include "hybrid/PanelKit.h"
#include "hybrid/WingPanel.h"
#include "profiles/ProfileStore.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv); // fonts for the exported text
    const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    ScriptedPrompts prompts;

    // Root and tip of 512 points each, at different stations (so every
    // blend walks the union of both), each with a spar notch and a hole.
    ProfileStore store;
    for (const auto &[digits, stations, templ] :
         {std::tuple{"2412", 512, "GABARIT 250;15;"}, std::tuple{"0009", 509, "GABARIT 120;15;"}}) {
        const int p = store.AddProfile(QStringLiteral("NACA ") + digits);
        for (const QString &l :
             Naca::pointLines(Naca::fourDigit(QString::fromLatin1(digits), stations)))
            store.AddPointLine(p, l);
        const int t = store.AddTemplate(p, QString::fromLatin1(templ));
        store.AddFigureLine(p, t, QStringLiteral("FIGURE 0;600;-200;700;-100;0;"));
        store.AddFigureLine(p, t, QStringLiteral("FIGURE 2;1200;-60;1300;40;0;"));
    }
    PanelInputs in;
    in.name = QStringLiteral("Bench");
    in.root.profile = QStringLiteral("NACA 2412");
    in.tip.profile = QStringLiteral("NACA 0009");
    in.span = 1200;
    in.ribCount = 100;

    const WingPanel::Result check = WingPanel::compute(in, store);
    if (!check.ok() || check.ribs.size() != 100 || check.ribs[50].profile.lastIndex < 500) {
        std::fprintf(stderr, "panel not computed: %s\n", qPrintable(check.error));
        return 1;
    }

    auto root = std::make_unique<HybridSurfaces>(check.ribs.front().profile);
    auto tip = std::make_unique<HybridSurfaces>(check.ribs.back().profile);
    auto out = std::make_unique<HybridSurfaces>();
    const double blends = timeMs(repetitions, [&] {
        for (int i = 0; i < 100; ++i)
            HybridBlend::BlendProfiles(*root, *tip, double(i) * 100.0 / 99.0, *out);
    });
    const double panel = timeMs(repetitions, [&] { WingPanel::compute(in, store); });
    const double stored = timeMs(repetitions, [&] {
        ProfileStore copy;
        WingPanel::store(copy, in.name, check.ribs);
    });
    const double listed = timeMs(repetitions, [&] {
        for (const PanelRib &rib : check.ribs)
            PanelCommand::listLine(rib);
    });

    ProfileStore ribs;
    WingPanel::store(ribs, in.name, check.ribs);
    ExportJob::Picks picks;
    for (const PanelRib &rib : check.ribs)
        picks.push_back(
            {int(ribs.names().indexOf(WingPanel::ribName(in.name, rib.number, 100))), 0});
    QTemporaryDir dir;
    QString error;
    const double exported = timeMs(std::max(1, repetitions / 5), [&] {
        if (!ExportJob::exportTemplates(ribs, picks, VectorExport::Options{}, 50,
                                        dir.filePath("panel.svg"), &error))
            std::fprintf(stderr, "export failed: %s\n", qPrintable(error));
    });

    // The same ribs as a kit (two spars, cut-backs, tabs with washout,
    // holes) beside the plain ribs built the same way.
    KitOptions kit;
    for (const char *spar : {"25:6x3:both", "60..50:5x4:top"})
        kit.spars.push_back(*SparSpec::parse(QString::fromLatin1(spar)));
    kit.leCut = 5;
    kit.teCut = 15;
    kit.jig = 25;
    kit.holes = 4;
    PanelInputs washed = in;
    washed.tip.angle = -2;
    std::vector<RibVectors::Rib> built;
    const double plainRibs = timeMs(std::max(1, repetitions / 5), [&] {
        PanelKit::buildRibs(washed, KitOptions(), store, &built, &error);
    });
    const double kitRibs = timeMs(std::max(1, repetitions / 5), [&] {
        if (!PanelKit::buildRibs(washed, kit, store, &built, &error))
            std::fprintf(stderr, "kit failed: %s\n", qPrintable(error));
    });

    std::printf("100 single blends of 512-point profiles: %8.2f ms\n", blends);
    std::printf("100-rib panel computed:                  %8.2f ms (%.2fx the blends)\n", panel,
                panel / blends);
    std::printf("100 ribs stored as profiles:             %8.2f ms\n", stored);
    std::printf("100 ribs listed with their thickness:    %8.2f ms\n", listed);
    std::printf("100 ribs exported to one SVG on sheets:  %8.2f ms\n", exported);
    std::printf("100 ribs built plain:                    %8.2f ms\n", plainRibs);
    std::printf("100 ribs built as a kit:                 %8.2f ms = %.1fx the plain ribs\n",
                kitRibs, kitRibs / plainRibs);
    return 0;
}
