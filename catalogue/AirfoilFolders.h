#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

// The folders of coordinate files below the Airfoils folder and the files
// each one holds. Names are shown upper-cased, as the collection's index
// writes them; the real paths are kept beside them because this file system
// tells letter cases apart.
namespace AirfoilFolders
{

struct Entry {
    QString shown; // the text of the list entry
    QString path;  // the real path on disk
};

// Run between two entries so that the window stays painted during a long
// scan; may be empty.
using Yield = std::function<void()>;

// The real path of relative (components separated by "\" or "/") below
// base, each component matched regardless of letter case when no entry has
// exactly that name. Empty when a component is "." or "..", so that nothing
// outside base is ever named.
QString resolve(const QString &base, const QString &relative);

// The Airfoils folder of a start folder (its real name when only the letter
// case differs).
QString airfoilsFolder(const QString &startFolder);

// Every folder below airfoilsFolder at any depth (hidden ones, whose names
// begin with a dot, aside), the folder itself never,
// shown as "Airfoils\" + its path below it upper-cased, sorted by the shown
// text. A folder reached twice through links is listed once.
QList<Entry> scanFolders(const QString &airfoilsFolder, const Yield &yield = {});

// The coordinate files (".DAT" in any letter case, hidden ones aside) of one
// folder, by name, each shown as its first line upper-cased, or as its file
// name when that line is blank. Nothing is listed for the Airfoils folder
// itself. Files whose first line cannot be read are listed by their file
// name and their errors added to *errors.
QList<Entry> listFolderFiles(const QString &folder, const QString &airfoilsFolder,
                             const Yield &yield = {}, QStringList *errors = nullptr);

} // namespace AirfoilFolders
