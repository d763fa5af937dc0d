#pragma once

#include "cutting/HotWire.h"
#include "cutting/RibVectors.h"
#include "cutting/VectorExport.h"
#include "hybrid/WingPanel.h"

#include <QString>

#include <vector>

class ProfileStore;

// A wing panel's foam core: the root and tip template outlines (the skin is
// the sheeting) read from the store, for the hot-wire G-code and for the
// hand-cutting templates. Shared by the command line and the dialog.
namespace FoamCores
{

// What the cut is made from: the panel's ends (their incidences give the
// tip's turn; washout is a negative tip incidence), the cut's settings, the
// names shown on the templates and in the G-code.
struct Ends {
    HotWire::Core core;
    double turn = 0; // tip against root, degrees, nose up positive
    QString rootName, tipName;
};

// Both ends' cut outlines at their templates' chords; false with the reason.
bool read(const PanelInputs &panel, ProfileStore &store, Ends *ends, QString *error);

// The length of a template mark and the height of its number, mm.
inline constexpr double kMarkLength = 3;
inline constexpr double kNumberHeight = 2.5;

// The two hand-cutting templates, root then tip: each outline grown by half
// the kerf on the cut layer; the numbered marks (a short line out of the
// outline, its number beside it) and the lead-in line behind the trailing
// edge on the marks layer; the template's name on the text layer.
std::vector<RibVectors::Rib> templates(const Ends &ends, double kerf, double lead);

// The G-code's header comments.
QStringList comments(const Ends &ends, const HotWire::Settings &settings);

// The hand templates' file (laid out as the ribs are, in the options'
// format); empty with the reason.
QByteArray templateFile(const Ends &ends, const HotWire::Settings &settings,
                        const VectorExport::Options &options, QString *error);

} // namespace FoamCores
