#pragma once

#include "cutting/RibVectors.h"
#include "cutting/VectorExport.h"
#include "ui/Subcommand.h"

#include <QCommandLineOption>
#include <QList>
#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

class ProfileStore;

// The export as one job, for the drawing window's dialog and the command
// line alike: which templates, into which file, in which format.
namespace ExportJob
{

// (profile position, template position) pairs.
using Picks = std::vector<std::pair<int, int>>;

// Every template of each of the profiles, in order.
Picks allTemplatesOf(const ProfileStore &store, const std::vector<int> &profiles);

// The profile of that name (case and surrounding blanks ignored), or -1.
int findProfile(const ProfileStore &store, const QString &name);

// The chord in mm of each pick when it is not its template line's whole
// millimetres (a panel's ribs); empty for the template lines' own.
using Chords = std::vector<double>;

// Builds the ribs of picks. Stops at the first template that cannot be
// drawn, with the reason in *error; or, given skipped, names each such
// template there with its reason and builds the others.
bool buildRibs(ProfileStore &store, const Picks &picks, int smoothing,
               const RibVectors::LayerSet &layers, std::vector<RibVectors::Rib> *ribs,
               QString *error, QStringList *skipped = nullptr, const Chords &chords = {});

// Builds, lays out and writes picks to path in one step (never a partial
// file). False with the reason in *error.
bool exportTemplates(ProfileStore &store, const Picks &picks, const VectorExport::Options &options,
                     int smoothing, const QString &path, QString *error, const Chords &chords = {});

// The laser options of every command that writes cutting files (--kerf,
// --nest, --grain, --copies): their rows, their part of the usage line, and
// their reading from a call into options (false with the faulty option in
// *error; options not given keep their values).
QList<QCommandLineOption> cuttingOptions();
QString cuttingSynopsis();
bool takeCutting(const Subcommand::Call &call, VectorExport::Options *options, QString *error);

// The coordinate file of profile p, as "Enregistrer fichier.dat" writes it.
bool exportDat(ProfileStore &store, int p, const QString &path, QString *error);

} // namespace ExportJob
