#pragma once

#include "geometry/WorkingData.h"

#include <QString>
#include <QStringList>

#include <array>

class ProfileStore;

// One profile as the hybrid dialog works on it: both surfaces in percent of
// chord, leading edge first, y negated (positive downward, as on screen).
// Index k of both surfaces comes from the k-th point line of the profile.
struct HybridSurfaces {
    int lastIndex = -1; // number of points minus 1, the same for both surfaces
    std::array<FPoint, kMaxProfilePoints> upper{};
    std::array<FPoint, kMaxProfilePoints> lower{};
};

// Whole numbers and one-decimal numbers as the hybrid dialog shows them.
namespace HybridText
{
// The general float pictures "#.#" and "0.#": at most one decimal, no
// trailing zero, the regional decimal separator; "0.#" writes 0 as "0",
// "#.#" writes nothing for it. Halves round away from zero.
QString picture(const QString &pict, double value, QChar decimalPoint);
// The hybrid's name from its parents: «A(70%)_B(30%)» for root A, tip B and
// 30 % of the tip.
QString automaticName(const QString &root, const QString &tip, int percent);
} // namespace HybridText

// What the dialog's fields hold when "Calculer et Afficher" is clicked.
struct HybridInputs {
    QString name;
    QString rootText; // the root list's text
    QString tipText;  // the tip list's text
    int skin = 0;     // tenths of a millimetre
    int percent = 50; // share of the tip profile
    int rootChord = 150, tipChord = 100;
    int rootAngle = 0, tipAngle = 0;
    bool automaticChord = true;
    // The hybrid chord and angle spinners, used when the chord is not
    // computed automatically.
    double hybridChordSpinner = 125, hybridAngleSpinner = 0;
};

// The blend of a root and a tip profile: the three working profiles and
// their chords, kept between openings of the dialog, the computation behind
// "Calculer et Afficher", and the blend itself.
class HybridBlend
{
public:
    // Which list a refused computation sends the focus to.
    enum class Focus { None, Root, Tip };
    struct Outcome {
        bool ok = false; // every check passed and both profiles were read
        Focus focus = Focus::None;
        // The checks passed: the chords and the angle were computed, the
        // profiles read (ok tells whether every value read).
        bool chordsComputed = false;
    };

    HybridSurfaces root, tip, hybrid;
    float rootChord = 150, tipChord = 100, hybridChord = 125;
    float hybridAngle = 0;

    // The checks and steps of "Calculer et Afficher", in order: the name
    // ("sans nom" is refused), the skin, an existing profile of that name
    // (replaced after the user's Yes, at once), the root and tip profiles,
    // then the chords and angle, and the reading of both profiles. Refusals
    // are told through the prompts. The store loses the replaced profile.
    Outcome compute(const HybridInputs &in, ProfileStore &store);

    // Reads the point lines of a profile into a working profile. A value
    // that does not read leaves its old value and makes the result false;
    // for the root the failing value also fails the rest of its line, for
    // the tip only that value is skipped. More lines than the working
    // arrays hold, or none at all, are refused before anything changes.
    enum class Side { Root, Tip };
    static bool readProfile(const QStringList &pointLines, Side side, HybridSurfaces &into);

    // Blends root and tip into out at percent of the tip (clamped to
    // 0..100): each surface walks the union of both profiles' stations,
    // ends on the closed trailing edge (100, 0), and the shorter surface is
    // filled up with its own last point.
    static void BlendProfiles(const HybridSurfaces &root, const HybridSurfaces &tip, int percent,
                              HybridSurfaces &out);
    // The same at any share of the tip between 0 and 100, for ribs that
    // stand between whole percentages.
    static void BlendProfiles(const HybridSurfaces &root, const HybridSurfaces &tip, double percent,
                              HybridSurfaces &out);
    // The same into the dialog's hybrid.
    void BlendProfiles(int percent) { BlendProfiles(root, tip, percent, hybrid); }

    // Linear interpolation at x between (x0, y0) and (x1, y1); y0 when the
    // two stations (nearly) coincide.
    static float interpolate(float x, float x0, float y0, float x1, float y1);

    // The hybrid as point lines of the store: upper x, upper y, lower x,
    // lower y, y with the sign it has in Profils.pro, e.g.
    // « 25.00;  3.10; 25.00; -1.75;».
    static QStringList pointLines(const HybridSurfaces &profile);

    // The name of a profile the store already holds under the same name in
    // any letter case, which adding the hybrid would replace; empty if none.
    static QString sameName(const ProfileStore &store, const QString &name);

    // The messages of the dialog (French only).
    static const QString kNoName;
    static const QString kNoSkin;
    // The skin the hybrid's template can keep: 1 to 3 tenths would be
    // written as the short forms of 8, 10 and 15.
    static constexpr int kMinSkin = 4;
    static const QString kThinSkin;
    static const QString kReplace;
    static const QString kNoRoot;
    static const QString kNoTip;
    // One of the texts above in the language of the run: the French text is
    // the source of the English one in the program's translations.
    static QString said(const QString &text);
    static QString tooManyPoints(const QString &profile);
    static QString noPoints(const QString &profile);
};
