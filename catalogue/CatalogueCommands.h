#pragma once

#include "ui/Subcommand.h"

#include <QStringList>

#include <vector>

class QTextStream;

// The catalogue's conversions run from the command line, so that a whole
// downloaded library is converted at once:
//
//   nervuria import FILE... --to FOLDER
//   nervuria normalise [--keep-open] FILE...
//
// import converts each file into FOLDER as a new ".dat" file (existing files
// are kept: nobody is there to be asked); normalise rewrites each
// coordinate file in place, its trailing edge closed unless --keep-open.
// Reports go to out, one line per file; the exit status is 0 when every file
// went through, 1 when some were refused, 2 for a command that cannot run.
namespace CatalogueCommands
{

// The rows of the command line: import and normalise.
std::vector<Subcommand> rows();

// True when arguments (without the program name) name one of these
// commands.
bool isCommand(const QStringList &arguments);
// Runs one of them, every line (usage included) on out.
int run(const QStringList &arguments, QTextStream &out);

} // namespace CatalogueCommands
