#pragma once

#include "geometry/WorkingData.h"
#include "hybrid/HybridBlend.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <utility>
#include <vector>

class ProfileStore;

// One end of a panel: a stored profile, one of its templates and the
// incidence of the rib there.
struct PanelEnd {
    QString profile;  // the profile's name (any letter case)
    int templ = 0;    // template position, 0-based
    double angle = 0; // incidence, degrees
};

// What a panel is made from.
struct PanelInputs {
    QString name; // the ribs are stored as "<NAME> N01", "<NAME> N02"...
    PanelEnd root, tip;
    double span = 0;  // root to tip, mm
    int ribCount = 0; // ribs evenly spaced from root to tip...
    // ...unless distances from the root (mm) are given here.
    std::vector<double> stations;
    // Root and tip templates with different skins are refused unless the
    // user asked for a skin that varies along the panel.
    bool mixedSkins = false;
};

// One rib of a panel.
struct PanelRib {
    int number = 0;       // 1 at the root
    double station = 0;   // mm from the root
    double percent = 0;   // share of the tip profile in the blend, 0..100
    double chord = 0;     // mm, on the straight taper
    int chordMm = 0;      // the template's chord, whole mm
    double incidence = 0; // degrees
    int skin = 0;         // tenths of a millimetre
    HybridSurfaces profile;
    std::vector<FigureRow> figures;
};

// A tapered wing panel: every rib between a root rib and a tip rib. Each
// rib's airfoil is the blend of root and tip at its fraction of the span;
// chord, incidence and skin follow a straight line from root to tip. The
// figures (spar notches, holes) are carried along: when both ends hold the
// same figures in the same order, each one's position, size and angle are
// interpolated in millimetres, so that a spar notched into the root and the
// tip runs straight through every rib; otherwise the root's figures are
// carried by the chord ratio, as a new template copies them.
class WingPanel
{
public:
    // Rib numbers keep three digits at most.
    static constexpr int kMaxRibs = 999;
    // Longest span taken, mm.
    static constexpr double kMaxSpan = 100000;

    // The ribs, or the reason there are none (in the language of the run).
    struct Result {
        std::vector<PanelRib> ribs;
        QString error;
        bool ok() const { return error.isEmpty(); }
    };
    static Result compute(const PanelInputs &in, const ProfileStore &store);

    // The stored name of rib `number` of a panel of `count` ribs: the panel's
    // name in capitals (the database keeps names so), " N" and the number on
    // two digits, three beyond 99 ribs.
    static QString ribName(const QString &panel, int number, int count);
    // The profiles the store already holds for a panel of that name.
    static QStringList earlierRibs(const ProfileStore &store, const QString &panel);
    // Adds every rib as a profile with one template and its figures, after
    // removing the panel's earlier ribs. Returns the first rib's name.
    static QString store(ProfileStore &store, const QString &panel,
                         const std::vector<PanelRib> &ribs);
    // The ribs in a store of their own for printing or cutting: for each,
    // its (profile, template) position and its exact chord (the stored
    // template line keeps whole millimetres).
    static void storeForCutting(ProfileStore &store, const QString &panel,
                                const std::vector<PanelRib> &ribs,
                                std::vector<std::pair<int, int>> *picks,
                                std::vector<double> *chords);
    // The chord a rib is cut at: the taper's, to 0.01 mm.
    static double cutChord(const PanelRib &rib);
    // The ribs whose stored chord is rounded to whole millimetres, one
    // "NAME 187.5 -> 188 mm" per rib; empty when none is.
    static QStringList roundedChords(const QString &panel, const std::vector<PanelRib> &ribs);

    // A rib's lines as the store holds them.
    static QString templateLine(const PanelRib &rib);
    static QStringList figureLines(const PanelRib &rib);

    // The relative thickness (percent of chord) of a rib as stored, found
    // by the drawing's thickness scan: the largest gap between the surfaces
    // sampled every 4 pixels, here at 4000 pixels to the chord.
    static double relativeThickness(const PanelRib &rib);

    // The stations typed as a list: numbers separated by ';' or blanks, with
    // a point or a comma as decimal separator. Empty when a value does not read.
    static std::optional<std::vector<double>> parseStations(const QString &text);

    // Messages.
    static QString questionReplace(const QString &panel, int count);
};
