#pragma once

#include <QColor>

class HybridBlend;
struct HybridSurfaces;
class QPainter;

// The hybrid dialog's drawing area: the root, the tip and the blend drawn
// one above the other in true shape, or the blend at every percentage as a
// relief. Both draw onto any painter of a w x h area.
namespace HybridDrawing
{
inline const QColor kRoot{0, 0, 128};
inline const QColor kHybrid{255, 0, 0};
inline const QColor kTip{0, 0, 255};
inline const QColor kGuide{192, 192, 192};

// Tip at the top quarter, root at the bottom quarter, both scaled to the
// root chord over the width less 16 pixels and centred, with the silver
// guide lines between their edges marked every 5 % of the blend; the blend
// at percent (computed again here, into blend.hybrid) in red at its height
// between them, with the hybrid chord.
void DrawProfiles(QPainter &p, int w, int h, HybridBlend &blend, int percent);

// The blends from 100 % down to 0 % stacked one pixel apart, farthest
// first, the root 560 pixels wide, each lighter than the one before it.
// The dialog's hybrid is left as it was.
void DrawRelief(QPainter &p, int w, int h, HybridBlend &blend);

// One profile as two polylines (lower surface, then upper) from (x0, y0),
// s pixels per percent of chord.
void drawProfile(QPainter &p, const HybridSurfaces &profile, int x0, int y0, float s);
} // namespace HybridDrawing
