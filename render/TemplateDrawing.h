#pragma once

#include "geometry/OutlineCurves.h"
#include "geometry/RibOutline.h"
#include "geometry/ViewGeometry.h"
#include "geometry/WorkingData.h"
#include "render/ViewState.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QRect>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

class ProfileStore;
class QPainter;

// Colours of the drawing view.
namespace DrawingColours
{
inline const QColor background{255, 255, 255};
inline const QColor grid{255, 244, 228};
inline const QColor gridTenth{255, 238, 202}; // every tenth grid line
inline const QColor chordAxis{240, 208, 176}; // the grid's line through the chord
inline const QColor axes{255, 0, 0};          // axes and incidence; black on paper
inline const QColor outline{0, 0, 0};         // outlines, captions, thickness arrow
inline const QColor camber{0, 0, 128};        // camber line; black on paper
inline const QColor profileMarker{255, 0, 255};
inline const QColor templateMarker{128, 128, 128};
inline const QColor camberMarker{0, 0, 128};
inline const QColor pageMarks{0, 255, 0}; // two-page marks in preview; black on paper
} // namespace DrawingColours

// The template drawing of the drawing window, without widgets: the working
// copy of the selected profile and template, the state of the controls that
// the view reads and writes, the coordinate mapping, and the off-screen image.
//
// The window owns one TemplateDrawing and drives it like this:
//
//   TemplateDrawing drawing(&store);
//   drawing.createImage(paintBox->size());              // at window creation
//   drawing.SelectProfile(p, t);                        // fills the working data
//   if (auto layout = drawing.layoutScreen({w, h, hScroll})) {
//       // size PaintBox1 to layout->imageSize, set the scroll ranges/position
//       drawing.render();                               // draws into image()
//       // repaint PaintBox1 by copying drawing.image() at (0, 0)
//   }
//   // then mirror drawing.viewState() into the widgets
//
// View events (zoom, display options, incidence, smoothing, resize) update
// the view state and return which of the two steps must follow; refresh()
// runs them.
//
// Printing: layoutPreview()/layoutPrinter() switch the output mode and lay
// the drawing out for the page, render(painter) draws onto the preview image
// or the printer page, and the next layoutScreen() switches back to screen.
//
// The new-template dialog: copy the form2* fields of viewState() into TForm2
// before it opens and back after OK (Cancel leaves them); StoreTemplate
// writes the template line from them, and SelectProfile sets them.
//
// Messages go through Prompts in the language of the run; the data error
// flag and the current profile and template indexes are the store's.
class TemplateDrawing
{
public:
    // Kinds of point marker.
    enum MarkerKind { ProfilePoint = 0, TemplatePoint = 1, CamberPoint = 2 };

    // What a view event asks the window to run next.
    enum class Refresh { Nothing, Render, LayoutAndRender };

    // The four check boxes of the group "Affichage".
    enum class DisplayOption {
        Axes,          // CheckBox2 "Axes"
        Cambrure,      // CheckBox4 "Cambrure"
        ProfilPoints,  // CheckBox1 "Profil"
        GabaritPoints, // CheckBox3 "Gabarit"
    };

    // Draws figure `figure` (0..lastFigure) of the working data onto the
    // target of the current output mode; geometry() gives the mode, scale
    // and origin, working().scaledFigures the figure's pixels. Called after
    // the captions and before the page marks, once per figure in index
    // order, with the painter's state saved around each call.
    using FigureHook = std::function<void(QPainter &target, int figure)>;

    // The store must outlive this object.
    explicit TemplateDrawing(ProfileStore *store);

    WorkingData &working() { return m_work; }
    const WorkingData &working() const { return m_work; }
    ViewState &viewState() { return m_view; }
    const ViewState &viewState() const { return m_view; }
    const ViewGeometry &geometry() const { return m_geom; }
    // Outline lists, template ends and the thickness scan of the last render.
    const OutlineCurves &curves() const { return m_curves; }
    ProfileStore *store() const { return m_store; }

    // ---- Selection ------------------------------------------------------

    // Loads profile p's points and template t's chord, skin and figures into
    // the working data and sets the controls that show them. A template
    // position that names no template (-1, or past the end) selects the
    // profile alone and shows the hint panel. Does nothing while the data
    // error flag is set. Rejected or out-of-order point values set the flag
    // and show the coordinate table panel.
    //
    // A profile of more than 512 point lines, or a template of more than 32
    // figure lines, does not fit the working data: it is refused with a
    // message, the data error flag is set, the current template index
    // becomes -1 (so that the next StoreTemplate writes nothing) and neither
    // the store nor the working data change.
    void SelectProfile(int p, int t);

    // Writes the dialog's chord and skin fields and the figure table back
    // into template t of profile p as its "GABARIT " and "FIGURE " lines.
    // Figures changed since the last store enable the save button. Does
    // nothing to the store when (p, t) names no template.
    void StoreTemplate(int p, int t);

    // ---- Layout step ----------------------------------------------------

    // True when a profile of at least two points is selected and the data
    // error flag is clear; otherwise layout and render leave the view as it
    // was.
    bool canDraw() const;

    // Screen layout: the scale in whole pixels per millimetre from the
    // drawing area's width, the zoom and the chord (never below 1), the view
    // origin, the off-screen image (made anew, white, only when its size
    // changes; render() covers every pixel of it) and the scroll ranges;
    // then the view points, skin offset, scaled figures and template points.
    // area.horizontalPosition is the scroll position before the layout; the
    // result gives the new one. Empty when nothing can be drawn.
    std::optional<ScreenLayout> layoutScreen(const ScreenArea &area);

    // Preview layout: 1 pixel per millimetre, the origin at the page origin
    // (mm). Switches the output mode to Preview.
    bool layoutPreview(const PageSetup &page);

    // Printer layout: dotsPerInch / 25.4 pixels per millimetre, the origin at
    // the page origin in printer pixels. Switches the output mode to Printer.
    bool layoutPrinter(double dotsPerInch, const PageSetup &page);

    // ---- Render step ----------------------------------------------------

    // Screen mode only: draws the whole view into image(). The caller then
    // repaints PaintBox1 from image().
    bool render();

    // Draws the view for the current output mode onto target: the screen
    // image, the preview image or the printer page (screen draws the
    // background, grid and captions; paper only the outlines, axes, camber,
    // figures and page marks). The painter's state is restored afterwards.
    bool render(QPainter &target);

    // A point marker at (x, y) for the current output mode: a hollow circle
    // of radius 2 in the kind's colour on screen, black and radius 5 on the
    // printer (no profile markers there), nothing in the preview. Profile
    // and template markers follow their "Points" check boxes.
    void pointMarker(QPainter &target, MarkerKind kind, float x, float y);

    // The screen image. createImage() makes it 8 pixels wider than the paint
    // box and as high, white; a screen layout of another size makes a new one.
    const QImage &image() const { return m_image; }
    void createImage(QSize paintBoxSize);

    // The figure drawing called by render() at the figure stage, for every
    // figure in index order. Empty: no figures are drawn.
    void setFigureHook(FigureHook hook) { m_figureHook = std::move(hook); }

    // Off for a drawing no window shows (cutting files, reports): then
    // SelectProfile leaves the coordinate table's cells as they were
    // instead of writing the text of every value.
    void setCoordinateTableShown(bool shown) { m_tableShown = shown; }

    // True when the last render drew no template outline because the
    // section is nowhere thicker than two skins (the profile outline is
    // still drawn). The first screen render that meets a template so refused
    // says so once, with skinTooThickMessage().
    bool templateRefused() const { return m_templateRefused; }
    // The template outline of the last render or trace as one closed ring in
    // view pixels, before rounding, as it was checked against the profile:
    // the smoothed curves of the template points where they were sound, the
    // exact offset of the profile otherwise. Empty when none is drawn.
    QPolygonF templateRing() const;
    // How that outline came about.
    RibOutline::Kind templateKind() const { return m_builtOutline.outcome; }
    // What render() finds of the template outline for the current layout,
    // without drawing anything: afterwards curves() hold the smoothed
    // template outline (the profile's when there is no template) and
    // templateRefused() is set. False when nothing can be drawn.
    bool traceTemplateOutline();
    // "Coffrage trop épais pour ce gabarit : au plus N/10 mm" (or its English
    // counterpart), N being the largest skin in tenths that still leaves a
    // template.
    QString skinTooThickMessage() const;
    static QString skinTooThickMessage(int largestSkinTenths);

    // The two captions under the screen drawing, from the last thickness
    // scan, in the language of the run with the regional decimal separator.
    QString relativeThicknessCaption() const;
    QString maxThicknessPositionCaption() const;
    // Where the last screen render put the two captions. The position
    // caption stands right of the arrow, or right of the thickness caption
    // when the arrow is under it.
    QRect thicknessCaptionBox() const { return m_thicknessCaptionBox; }
    QRect positionCaptionBox() const { return m_positionCaptionBox; }
    // The relative thickness (percent of chord) and the position of the
    // maximum thickness (percent of chord) of the last scan.
    double relativeThickness() const;
    double maxThicknessPosition() const;

    // ---- Paper ------------------------------------------------------------

    // The check bar of the printed page and the preview: 100 mm long with a
    // tick every 10 mm and the label "100 mm" under it, at the scale of the
    // template, so that a ruler laid on the paper proves the print's scale.
    static constexpr float kCheckBarMm = 100;
    static QString checkBarLabel() { return QStringLiteral("100 mm"); }
    // What the layout reserves around the bar's line: ticks above, label under.
    static constexpr float kCheckBarAboveMm = 5;
    static constexpr float kCheckBarBelowMm = 11;
    // On paper outputs, after a layout: the box (page pixels) that the
    // template's drawing may cover (outlines, axes and incidence, figures,
    // page marks) and the box of the check bar with its label.
    QRect templateBounds() const;
    QRect checkBarBounds() const;
    // The same check bar on a page another writer lays out (exported sheets):
    // the left end of its line at (x, y) device pixels, pixelsPerMm the
    // page's scale. Leaves this drawing's own layout as it was.
    void drawCheckBarAt(QPainter &p, int x, int y, float pixelsPerMm);

    // ---- View events ----------------------------------------------------

    // Zoom buttons Btzoomplus / BtZoommoins: level 0..4, with the buttons'
    // enabled states. A click on a disabled button does nothing.
    Refresh zoomIn();
    Refresh zoomOut();
    // The window was resized: back to zoom level 0; a layout and render
    // follow when the profile has more than one point.
    Refresh resized();
    // One of the four display check boxes was clicked.
    Refresh setDisplayOption(DisplayOption option, bool checked);
    // UpDown7 changed (brought into -45..45). Only the indicator changes.
    Refresh setIncidence(int degrees);
    // UpDown4 stepped (brought into 0..100): only a render follows.
    Refresh setSmoothing(int coefficient);
    // Help topic of the drawing window for the language of the run.
    static QString helpTopic();

    // Runs what a view event asked for, on the screen: a layout (giving its
    // result) and/or a render. Empty when no layout ran.
    std::optional<ScreenLayout> refresh(Refresh what, const ScreenArea &area);

private:
    bool refuseOverlongProfile(int p);
    void stopSelection(int p);
    bool readTemplate(int p, int t, int &chord, int &skinValue);
    void finishLayout();
    void layoutPage(OutputMode mode, float scale, const PageSetup &page);
    // The template outline into the curve lists, smoothed, its knots shown
    // to onKnot; the profile's curve must be in the lists before.
    RibOutline::Kind placeTemplateOutline(const OutlineCurves::KnotSink &onKnot);
    // What the profile leaves for the skin, in mm, kept for the same points,
    // chord, skin and smoothing: every output checks its outline against it.
    const RibOutline::Room &room();
    QPolygonF toView(const QPolygonF &mm) const;
    void applySkinOffset();
    void drawBackground(QPainter &p);
    void drawGridLabels(QPainter &p);
    const QFont &screenFont();
    void drawAxes(QPainter &p);
    void drawCaptions(QPainter &p);
    void drawPageMarks(QPainter &p);
    void placeCheckBar();
    void drawCheckBar(QPainter &p);
    void sayRefusalOnce();
    RibOutline::Kind templateOutline(double shortfall, double endSlack);
    void flushMarkers(QPainter &p);

    ProfileStore *m_store;
    WorkingData m_work;
    ViewState m_view;
    ViewGeometry m_geom;
    OutlineCurves m_curves;
    QImage m_image;
    std::optional<QFont> m_screenFont;
    // The screen grid of the last render: one row of each kind, the kind of
    // every image row, and the top rows as they were once the labels were
    // drawn on them.
    struct Background {
        enum Kind : unsigned char { Plain, Grid, Tenth, Chord, RowKinds };
        int width = -1, height = -1, originX = 0, originY = 0, step = 1;
        bool millimetres = false;
        QImage rows;
        std::vector<unsigned char> kinds;
        QImage labelBand;
    };
    Background m_background;
    // The last skin offset worked out: its view points, skin and scale, and
    // the template points it gave.
    struct SkinOffsetMemo {
        int lastPoint = -1;
        float skin = 0, scale = 0, offset = 0;
        int offsetRounded = 0;
        std::vector<FPoint> upperView, lowerView, upperTemplate, lowerTemplate;
    };
    SkinOffsetMemo m_skinMemo;
    FigureHook m_figureHook;
    bool m_tableShown = true;
    bool m_laidOut = false;
    bool m_templateRefused = false;
    QString m_refusalSaid; // the template last refused with a message
    QRect m_thicknessCaptionBox;
    QRect m_positionCaptionBox;

    // The template outline last built and what it was built from (view and
    // template points, ends, skin, smoothing, tolerances): building it means
    // checking the outline against the profile, which takes far longer than
    // drawing it, so a render with the same inputs takes it from here.
    struct BuiltOutline {
        std::vector<float> inputs;
        RibOutline::Kind outcome = RibOutline::Kind::Refused;
        FPoint nose, tail;
        QPolygonF ring;              // mm, as checked
        QPolygon drawn;              // an offset outline's pixels, closed
        std::vector<FPoint> markers; // the template points an offset outline keeps
    };
    BuiltOutline m_builtOutline;
    // The rooms of the last few profiles, chords, skins and smoothings, each
    // with what it was worked out from, the latest first.
    struct KeptRoom {
        std::vector<float> inputs;
        RibOutline::Room room;
    };
    static constexpr size_t kKeptRooms = 4;
    std::vector<KeptRoom> m_rooms;
    // Screen markers of one kind waiting to be drawn together (set when the
    // painter draws straight onto an image).
    bool m_batchMarkers = false;
    MarkerKind m_pendingKind = ProfilePoint;
    std::vector<QPoint> m_pendingMarkers;
};
