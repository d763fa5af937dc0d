#pragma once

#include "profiles/ProfileStore.h"

#include <QString>

#include <array>
#include <vector>

// The whole numbers of one template in Profils.pro: its "GABARIT" line
// (chord in mm, then the skin) and its "FIGURE" lines (six values each).
struct TemplateValues {
    // The longest chord a template may have, in mm: ten metres is far
    // beyond any rib, and a longer one cannot be drawn, printed or exported
    // in a sensible time or size.
    static constexpr int kMaxChord = 10000;

    int chord = 0;
    int skinValue = 0; // as written: 0 to 3 stand for 5, 8, 10 and 15 tenths
    std::vector<std::array<int, 6>> figures;

    // The skin in tenths of a millimetre.
    int skin() const { return skinFromValue(skinValue); }
    static int skinFromValue(int value);
};

// A value read as a number and rounded to a whole one; false when the text
// is not a number or the number does not fit an int.
bool readWholeNumber(QStringView text, int &out);

// Reads every value of the template. Empty when all of them read and the
// chord is above 0 and at most kMaxChord; otherwise the first line that does not read, for the
// caller's message.
QString readTemplateValues(const Tprofil::Template &tpl, TemplateValues &out);
