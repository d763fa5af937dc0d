#pragma once

#include "catalogue/AirfoilFolders.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

// Lists the coordinate files of one catalogue folder as the catalogue shows
// them, one file after another, telling a watcher how far it got so that a
// folder of thousands of files can show its progress and be stopped.
class FolderListing
{
public:
    // Told before each file (done files of total) and once more when all
    // are listed (done == total). Returning false stops the listing there:
    // the files before it stay listed.
    using Progress = std::function<bool(int done, int total)>;

    struct Result {
        QList<AirfoilFolders::Entry> files; // listed, by name
        // One message per file whose first line could not be read; such a
        // file is listed by its name.
        QStringList errors;
        int total = 0;   // coordinate files in the folder
        int refused = 0; // unreadable, or over the reader's size limit
        bool cancelled = false;
        int read() const { return int(files.size()); }
    };

    // Nothing is written; nothing is listed for the Airfoils folder itself.
    static Result list(const QString &folder, const QString &airfoilsFolder,
                       const Progress &progress = {});
};
