#pragma once

#include "geometry/Polygons.h"

#include <QByteArray>
#include <QPointF>
#include <QString>
#include <QStringList>

#include <vector>

// Foam cores cut with a hot wire between two towers, from the root and tip
// template outlines: the two faces' paths kept in step, the towers' moves
// and their G-code, and the numbered marks of hand-cutting templates.
//
// Every section is in millimetres in its own frame: x along the chord from
// the profile's leading edge, y up, as RibOutline::cutOutline gives it.
namespace HotWire
{

// A core's outline grown by half the wire's kerf and split in two surfaces
// at the trailing edge (the middle of its face when it has a thickness) and
// the leading edge (the middle of the front run when it is flat).
struct Section {
    std::vector<QPointF> upper; // from the trailing edge to the leading edge
    std::vector<QPointF> lower; // from the leading edge back to the trailing edge
    bool ok() const { return upper.size() >= 2 && lower.size() >= 2; }
};
Section section(const Polygons::Ring &outline, double kerf);

// Each point's share of a polyline's length (0 first, 1 last; all 0 for a
// line of no length), and the points at the given shares.
std::vector<double> shares(const std::vector<QPointF> &line);
std::vector<QPointF> resample(const std::vector<QPointF> &line, const std::vector<double> &at);

// Both faces' paths in step: the trailing edge first and last, the leading
// edge at move `leadingEdge`, each surface's points at the same shares of
// its length on both faces (every point of either face's outline kept).
struct Paths {
    std::vector<QPointF> root, tip;
    int leadingEdge = 0;
};
Paths inStep(const Section &root, const Section &tip);

// A numbered mark of a hand-cutting template: 0 at the trailing edge, 1 to
// divisions-1 along the upper surface at tenths of its length, divisions at
// the leading edge, then along the lower surface back towards the trailing
// edge; outward is the unit normal pointing out of the core.
struct Mark {
    int number = 0;
    QPointF at;
    QPointF outward;
};
std::vector<Mark> marks(const Section &section, int divisions = 10);

// What F means on each line. Combined: millimetres a minute along the four
// axes' combined move, as controllers that feed all their axes as one path
// take it. InverseTime: each cutting move lasts 1/F minutes (G93), which
// every controller that reads G93 follows whichever axes it feeds along
// (some take F of a G94 move along XY alone whenever XY moves).
enum class FeedMode { Combined, InverseTime };

// The machine and the cut.
struct Settings {
    double width = 0;  // between the towers, mm
    double offset = 0; // from the left tower (XY) to the root face, mm
    double span = 0;   // from the root face to the tip face, mm
    double kerf = 0;   // what the wire burns away, mm
    double turn = 0;   // the tip's incidence against the root's, degrees, nose up positive
    double pivot = 25; // where the tip turns, percent of its chord
    double sweep = 0;  // the tip's leading edge behind the root's, mm
    double feed = 200; // fastest either face may move, mm/min
    double lead = 10;  // from the start point to the trailing edge, mm
    FeedMode feedMode = FeedMode::Combined;
};

// "combined" or "inverse", as the command line and the header name them;
// false for anything else.
bool parseFeedMode(const QString &text, FeedMode *mode);

// The outlines of the two ends and their chords (for the pivot).
struct Core {
    Polygons::Ring root, tip;
    double rootChord = 0, tipChord = 0;
};

// One move of the towers: XY the left tower, UV the right one, F the feed
// for the four axes' combined length.
struct Move {
    double x = 0, y = 0, u = 0, v = 0, f = 0;
};

// Everything about one cut. With an error, nothing else is set.
struct Cut {
    QString error;
    Settings settings; // as cut
    Section rootSection, tipSection;
    // The faces' paths in the machine's frame (x along the chord from the
    // root's leading edge, y up from its chord line): start point, the core
    // round from the trailing edge, start point again.
    Paths faces;
    std::vector<Move> moves; // one per point of faces
    bool ok() const { return error.isEmpty(); }
};
// The settings alone: the reason they cannot be cut, empty when they can.
QString check(const Settings &settings);
// check(), then the cores: a kerf no thinner than either core is refused.
Cut plan(const Core &core, const Settings &settings);

// Where the wire's line through a root and a tip point meets the towers.
void towers(QPointF root, QPointF tip, const Settings &settings, QPointF *xy, QPointF *uv);

// The F word of a move as the file writes it: mm/min over the four axes,
// or in inverse time the moves a minute (the first move, made from
// wherever the towers are, is at the feed in mm/min either way).
QByteArray feedWord(const Cut &cut, size_t move);

// The file: header comments, "G21 G90", one "G1 X Y U V F" per move, "M2".
// In inverse time, "G21 G90 G94", the first move at the feed, "G93", the
// cutting moves with F the inverse of their minutes (the faster face at the
// feed, between the positions as written), then "G94" and "M2".
QByteArray gcode(const Cut &cut, const QStringList &comments);

} // namespace HotWire
