#pragma once

#include "geometry/ViewGeometry.h"
#include "geometry/WorkingData.h"

#include <QColor>
#include <QPoint>
#include <QString>

#include <array>

class QPainter;

// The parameter boxes of the group "Figures " as the figure editing sees
// them: their values (tenths of a millimetre and degrees), the first label
// and which controls are shown. The window mirrors this into its widgets and
// writes typed values back before a step.
struct FigureBoxes {
    int upDown1 = 60; // size 1: width, length or diameter (2..1000)
    int upDown2 = 60; // size 2: height (2..1000)
    int upDown3 = 0;  // angle (-360..360)
    int upDown5 = 0;  // centre x (-999..9999)
    int upDown6 = 0;  // centre y, counted upwards (-9999..9999)

    QString label1; // "Largeur", "Longueur" or "Diamètre" (or English)
    bool upDown1Visible = true;
    bool size2Visible = true; // Label2, Edit2, UpDown2
    bool angleVisible = true; // Label3, Edit3
    bool upDown3Visible = true;

    // The ranges of the centre boxes; a typed centre outside is refused.
    static constexpr int kCentreXMin = -999, kCentreXMax = 9999;
    static constexpr int kCentreYMin = -9999, kCentreYMax = 9999;

    // Keeps every value within its box's range, as the controls do.
    void clamp();
};

// Placing, selecting, dragging and editing the figures of the current
// template: rectangles, lines, circles, half circles and triangles. Works on
// the figure table of the working data and the mapping of the last layout;
// the drawing window holds the widgets, runs the layout and render steps
// this asks for, and shows the outline being dragged as an overlay on top of
// its off-screen image.
class FigureEditor
{
public:
    enum Kind { Rectangle = 0, Line = 1, Circle = 2, HalfCircle = 3, Triangle = 4 };
    enum DragMode { NoDrag = 0, Move = 1, Rotate = 2, MoveLineEnd = 3 };
    // Which parameter box was stepped.
    enum Box { Size1, Size2, Angle, CentreX, CentreY };

    static const QColor kCurrent; // green: the current figure on screen
    static const QColor kOther;   // blue: the other figures
    static const QColor kDrag;    // red: the figure being dragged
    static const QColor kSilver;  // centre circles and some handles

    FigureEditor(WorkingData &work, const ViewGeometry &geometry) : m_work(work), m_geom(geometry)
    {
    }

    FigureBoxes boxes;
    bool placing = false;
    DragMode dragMode = NoDrag;
    int grabbedHandle = -1;

    // The work points of a figure: corners 0..3 (or line ends 0 and 2, or
    // the half circle's diameter ends 1 and 3), point 4 = point 0, point 5
    // the centre; pixels of the current output.
    std::array<QPoint, 6> screenPoints(int figure) const;

    // Draws figure `figure` onto the target of the current output mode; with
    // dragging, in the drag colour and without handles. Nothing for an index
    // outside the table.
    void draw(QPainter &p, int figure, bool dragging = false) const;

    // True when the mouse at (x, y) grabs the figure; then it becomes current
    // with its drag mode and grabbed handle.
    bool hitTest(int figure, int x, int y);
    // The selection at a mouse press: the current figure first, then the
    // highest index among the others. True when one was grabbed.
    bool selectAt(int x, int y);

    // Mouse press while placing: the new figure's box is centred on (x, y)
    // (the window has run a layout step just before) and written back to the
    // table. Clears the placing flag.
    void placeAt(int x, int y);
    // Mouse press otherwise: selection; a grab remembers the press position.
    bool press(int x, int y);
    // Mouse move during a drag: moves, turns or stretches the figure's
    // scaled values. False when no drag is in progress.
    bool move(int x, int y);
    // Mouse release: writes the dragged values back to the table and marks
    // the figures changed. False when no drag was in progress.
    bool release();

    // A figure button: starts placing a new figure of that kind. False at 32
    // figures. The caller enables the save button and shows the hand cursor.
    bool newFigure(Kind kind);
    // The bin: removes the current figure. False without one.
    bool deleteCurrent();
    // One step of a parameter box (up or down), or Enter in a box (Size1,
    // up): changes the current figure. False without a current figure or
    // when nothing changed. Box values must be current in `boxes`.
    bool step(Box box, bool up);

    // A centre typed into "cx" (CentreX) or "cy" (CentreY, counted upwards
    // as the box shows it): the current figure moves so that its centre
    // takes that value; its size and angle stay.
    enum class CentreMove { Unchanged, Moved, OutOfRange };
    CentreMove moveCentreTo(Box box, int value);

    // Sets the labels and shown controls for the current figure's kind, then
    // the box values from the figure (a line's angle follows its ends).
    void refreshPanel();

private:
    void writeBack(int figure);
    FPoint origin() const { return {m_geom.originXf, m_geom.originYf}; }

    WorkingData &m_work;
    const ViewGeometry &m_geom;
    QPoint m_last;
    int m_angleReference = 0;
};
