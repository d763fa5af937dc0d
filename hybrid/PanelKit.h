#pragma once

#include "cutting/RibVectors.h"
#include "cutting/VectorExport.h"
#include "geometry/Polygons.h"
#include "hybrid/WingPanel.h"

#include <QByteArray>
#include <QSizeF>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

class ProfileStore;

// A spar through the panel: its position along the chord at the root and at
// the tip (percent of each end's chord; the spar runs straight in plan
// between them), its width and its depth, and the edges it is let into.
struct SparSpec {
    enum Side { Top, Bottom, Both };
    double rootPos = 0, tipPos = 0; // percent of chord
    double width = 0, depth = 0;    // mm
    Side side = Both;

    // "POS:WxD[:top|bottom|both]", POS a percentage or "R..T"; decimals with a
    // point or a comma. Empty when the text does not read or a value is out
    // of range.
    static std::optional<SparSpec> parse(const QString &text);
    QString text() const;
};

// The structure built into every rib of a panel. Zero lengths switch a
// feature off.
struct KitOptions {
    double pivot = 25; // percent of chord: each rib turns about this point
    std::vector<SparSpec> spars;
    double leCut = 0, teCut = 0;      // mm behind the leading edge, ahead of the trailing edge
    double jig = 0;                   // mm from every pivot down to the building board
    std::vector<double> tabs{15, 85}; // percent of chord
    double tabWidth = 6;              // mm
    double holes = 0;                 // web left around the lightening holes, mm

    // True when the ribs differ from plain templates.
    bool shapesRibs() const
    {
        return !spars.empty() || leCut > 0 || teCut > 0 || jig > 0 || holes > 0;
    }
};

// A panel and its structure as its own small file (JSON): what the panel
// dialog opens and saves and the command line reads with --from. The
// database may be named, relative to the file's folder.
struct PanelDefinition {
    QString database;
    PanelInputs panel;
    KitOptions kit;
    // The laser's kerf, nesting, grain and copies for the ribs' export (the
    // rest of these options is the export's own); a file without them
    // takes the export's defaults.
    VectorExport::Options cutting;

    QByteArray toJson() const;
    // The definition, or the reason it cannot be used in *error.
    static std::optional<PanelDefinition> fromJson(const QByteArray &bytes, QString *error);

    // Read and written whole; messages in the language of the run.
    static std::optional<PanelDefinition> load(const QString &path, QString *error);
    bool save(const QString &path, QString *error) const;
};

// The ribs of a panel as parts to cut: each template's outline with the
// spar notches, the cut-backs for the edge stock, the jig tabs and the
// lightening holes worked into it, and the panel's full-size plan. Every rib
// stays in its own frame: chord on x from the leading edge, y up.
class PanelKit
{
public:
    // Where a rib sits in the panel.
    struct Place {
        double fraction = 0;  // of the span, 0 at the root
        double rootChord = 0; // mm
        double tipChord = 0;  // mm
        double turn = 0;      // incidence against the root's, degrees, nose up positive
    };

    // The smallest rounding of a hole's corner, and the smallest hole kept.
    static constexpr double kHoleRadius = 2;    // mm
    static constexpr double kSmallestHole = 20; // mm²

    // Spar position along this rib's chord, mm from the leading edge.
    static double sparX(const SparSpec &spar, const Place &place);

    // Works the structure into rib (a plain template as RibVectors builds
    // it): the outline on the cut layer becomes the one outer contour (tabs
    // included) and the holes its inner contours; score lines go on the
    // marks layer. False, with the reason, when the structure does not fit.
    static bool apply(const KitOptions &kit, const Place &place, RibVectors::Rib *rib,
                      QString *error);

    // The template outline of a rib as one ring (mm), empty when it has none.
    static Polygons::Ring outline(const RibVectors::Rib &rib);

    // The panel's ribs built and shaped, in order. False with the reason.
    static bool buildRibs(const PanelInputs &panel, const KitOptions &kit, ProfileStore &store,
                          std::vector<RibVectors::Rib> *ribs, QString *error);

    // The top view at full size: span along x from the root (x = 0), chord
    // downwards from the leading edge (y = 0); ribs at their stations with
    // the template's skin as thickness, spars, edge stock, rib numbers.
    static RibVectors::Rib plan(const PanelInputs &panel, const KitOptions &kit,
                                const std::vector<RibVectors::Rib> &ribs);

    // One option of the command line that shapes the kit (--washout, --pivot,
    // --spar, --le-cut, --te-cut, --jig, --tabs, --tab-width, --holes): 1 when
    // taken, 0 when its value is wrong (the reason in *error), -1 when the
    // option is none of these.
    static int takeOption(const QString &option, const QString &value, PanelInputs *panel,
                          KitOptions *kit, QString *error);

    // The ribs (and, when planPath is not empty, the plan on pages of that
    // size) written in one step each, in the format's file: 0 done, 2 the
    // panel or its structure was refused, 3 a file could not be made or
    // written (the reason in *error).
    // report, when given, receives the export's account of the ribs'
    // sheets ("N rib(s), N sheet(s), ..."), findings, one a line, in
    // findings.
    static int exportKit(const PanelInputs &panel, const KitOptions &kit, ProfileStore &store,
                         const VectorExport::Options &options, const QString &path,
                         const QString &planPath, QSizeF page, QString *error,
                         QString *report = nullptr, QStringList *findings = nullptr);

    // The plan cut into pages of that size (margin mm on every side), each
    // with the 100 mm check bar, its name ("A1", "A2", ... by row and column)
    // and marks along the edges where it joins its neighbours.
    static VectorExport::Document planSheets(const RibVectors::Rib &plan, QSizeF page,
                                             double margin = 10);
};
