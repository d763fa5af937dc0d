#pragma once

#include "geometry/ViewGeometry.h"

#include <QString>

// How a template is laid out on A4 sheets for printing, without widgets:
// the page count and orientation from the chord, the page origin of each
// page, and the title and label texts proposed for the printout.
//
// A short template is centred on one sheet. A longer one starts 20 mm from
// the left edge of the first sheet and goes on over further sheets, each
// moved by a fixed step (160 mm in portrait, 260 mm in landscape) so that
// the sheets overlap; the page marks drawn at every step are laid one on
// the other to join them. A template is only laid out on sheets that show
// its whole chord, plus the 10 mm of chord axis behind its trailing edge.
namespace PrintPages
{
// A4 in millimetres.
inline constexpr float kSheetShort = 210;
inline constexpr float kSheetLong = 297;
// The chord line lies this far below the top of the sheet.
inline constexpr float kOriginY = 110;
// Where the leading edge stands on the first of several sheets.
inline constexpr float kFirstLead = 20;
// Room kept behind the trailing edge: the chord axis runs on 10 mm past it.
inline constexpr float kTailRoom = 10;
// Above this chord, portrait would need a third sheet: landscape is taken.
inline constexpr float kMaxPortraitChord = 340;
// Page counts beyond this come only from absurd chords of a hand-edited
// database; they are held here.
inline constexpr int kMaxPages = 20;

inline float sheetWidth(bool portrait)
{
    return portrait ? kSheetShort : kSheetLong;
}
inline float sheetHeight(bool portrait)
{
    return portrait ? kSheetLong : kSheetShort;
}
// The distance between the leading edges of two consecutive sheets.
inline float pageStep(bool portrait)
{
    return portrait ? 160.0f : 260.0f;
}

// Sheets needed for a chord in the given orientation: one up to 190 mm in
// portrait or 277.1 mm in landscape, otherwise as many as it takes for the
// trailing edge and its axis to land on the last one (two up to 340 mm in
// portrait, 527 mm in landscape).
int pageCount(float chord, bool portrait);

// The farthest chord distance a layout of `pages` sheets shows.
float reach(bool portrait, int pages);

// The orientation and page count of a print.
struct Plan {
    bool portrait = false;
    int pageCount = 1;
};

// The orientation that a hand choice (or the table below) leads to: a chord
// that would need a third portrait sheet is always printed in landscape.
Plan orientationChange(float chord, bool portrait);

// The plan proposed when printing starts: portrait up to 190 mm, landscape
// up to 277 mm on one sheet, portrait up to 380 mm and landscape beyond on
// two; then the orientation rule above. Whatever orientation the last print
// left, the result is the same.
Plan initialPlan(float chord);

// The page origin (mm from the corner of the page) of page `page` (1-based):
// centred across the sheet on one page; on several, the leading edge 20 mm
// from the left on page 1 and one step further left on each next page.
PageSetup pageSetup(float chord, const Plan &plan, int page);

// The first and last chord distance (mm from the leading edge) that page
// `page` of a plan shows across the sheet width.
struct Span {
    float from = 0;
    float to = 0;
};
Span pageSpan(float chord, const Plan &plan, int page);

// The texts proposed in the title and label fields, in the language of the
// run: "Profil  NAME" and "Corde 150mm     Coffrage 15/10 mm".
QString proposedTitle(const QString &profileName);
QString proposedLabel(double chordMm, float skinTenths);

// The header of a printed page: "Page 2 / 2".
QString pageHeader(int page, int pageCount);
} // namespace PrintPages
