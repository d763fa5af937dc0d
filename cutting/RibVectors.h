#pragma once

#include "geometry/WorkingData.h"

#include <QByteArray>
#include <QHash>
#include <QPainterPath>
#include <QPointF>
#include <QRectF>
#include <QString>

#include <array>
#include <memory>
#include <vector>

class ProfileStore;
class TemplateDrawing;

// One rib template as vector geometry for cutting machines: millimetres at
// full size, y upwards, the leading edge on the chord line at the origin.
// Every shape sits on a layer named after what it is, so that a laser
// program can map layers to cutting and engraving.
namespace RibVectors
{

enum Layer { Cut = 0, Figures, Profile, Marks, Text, LayerCount };
// "cut", "figures", "profile", "marks", "text".
QString layerName(int layer);

struct Shape {
    enum Kind { Path, Circle, Arc, Label };
    Kind kind = Path;
    int layer = Cut;
    // Path: lines and cubic curves; closed paths end on their first point.
    QPainterPath path;
    bool closed = false;
    // Circle and Arc: centre and radius; Arc from startDeg anticlockwise
    // over spanDeg (degrees, y up, 0 along +x).
    QPointF centre;
    double radius = 0;
    double startDeg = 0;
    double spanDeg = 0;
    // Label: left end of the base line, height of the capitals, and its
    // turn in degrees anticlockwise about that point.
    QString text;
    double height = 0;
    double turnDeg = 0;
    // The figure the shape draws (its index in the template), -1 for none.
    int figure = -1;
};

struct Rib {
    QString profileName;
    int templateIndex = -1;
    double chordMm = 0;
    double skinTenths = 0;
    // The section has no room for two skins: no cut outline; refusal says
    // which skin would fit.
    bool templateRefused = false;
    QString refusal;
    std::vector<Shape> shapes;

    // Box of every shape (a label counted at a nominal advance per letter).
    QRectF bounds() const;
    void translate(QPointF offset);
    // Turns every shape about the origin by a multiple of 90 degrees
    // (anticlockwise). Labels turned half a turn stay upright in the same box.
    void turn(int degrees);
};

// The closed path of a ring, as moveTo and lineTo would make it (a point
// equal to the one before left out), put in at once rather than checked
// point by point.
QPainterPath closedPath(const QPolygonF &ring);

// The box of one shape (a label counted at a nominal advance per letter).
QRectF bounds(const Shape &shape);

// The polyline a cutting machine follows for a path: line ends kept, each
// cubic split until every chord lies within tolerance (mm) of its curve.
QPolygonF flatten(const QPainterPath &path, double tolerance = 0.01);

// Which kinds of shape an export includes, by layer.
using LayerSet = std::array<bool, LayerCount>;
inline LayerSet allLayers()
{
    return {true, true, true, true, true};
}

// Turns templates into ribs. Holds a scratch drawing of its own, so the
// window's view and the store's current selection are left as they were.
// A whole database often repeats one section at one chord under many names
// (a wing's ribs, copies): fromStore builds each such template once and
// gives the repeats a copy under their own name.
class Builder
{
public:
    // The pixels per millimetre of the layout the curves are computed at:
    // that of a 600 dpi printer, so the cut follows the printed outline.
    static constexpr double kDotsPerInch = 600;

    Builder();
    ~Builder();

    // From working data as SelectProfile leaves it (the window's own, figure
    // edits included). False when the profile cannot be drawn.
    bool fromWorking(const WorkingData &work, const QString &name, int templateIndex, int smoothing,
                     Rib *rib, const LayerSet &layers = allLayers());

    // From template t of profile p of the store. False, with the reason in
    // *error, when p or t names nothing or the profile cannot be drawn.
    // chordMm above 0 stands for the template line's whole millimetres.
    bool fromStore(ProfileStore &store, int p, int t, int smoothing, Rib *rib, QString *error,
                   const LayerSet &layers = allLayers(), double chordMm = 0);

    // fromStore in steps, so that many ribs can be built at once by a
    // builder each while the store is read in turn: identify() checks p and
    // t and takes what the rib is made from (its key: two templates of one
    // key make the same rib but for its name), select() reads the working
    // data through a scratch selection of the store (left as it was), and
    // fromSource() builds. repeat() gives a rib already built under the
    // source's name, as fromStore gives its repeats.
    struct Source {
        int profile = -1;
        int templateIndex = -1;
        double chordMm = 0;
        QString name;
        QByteArray key;
        WorkingData work;
        bool drawable = false; // select() found the template as it is
    };
    static bool identify(const ProfileStore &store, int p, int t, int smoothing,
                         const LayerSet &layers, double chordMm, Source *source, QString *error);
    static void select(ProfileStore &store, Source *source);
    bool fromSource(const Source &source, int smoothing, Rib *rib, QString *error,
                    const LayerSet &layers = allLayers());
    static Rib repeat(const Rib &built, const Source &source);
    // "Le profil %1 ne peut pas être dessiné" / "Airfoil %1 cannot be drawn".
    static QString undrawable(const QString &name);

    // The drawing the last rib built afresh was laid out in (view pixels).
    const TemplateDrawing &drawing() const { return *m_drawing; }

    // Ribs fromStore built afresh and took from those already built.
    int built() const { return m_builtCount; }
    int repeated() const { return m_repeatedCount; }

private:
    std::unique_ptr<ProfileStore> m_scratchStore;
    std::unique_ptr<TemplateDrawing> m_drawing;
    // Ribs already built, by what they were built from (without the name).
    QHash<QByteArray, Rib> m_done;
    int m_builtCount = 0;
    int m_repeatedCount = 0;
};

// The text a rib's label carries: its name, chord and skin.
QString labelText(const QString &name, double chordMm, double skinTenths);

} // namespace RibVectors
