#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>

// Files written whole: afterwards a file holds the new bytes, or what it
// held before. The usual way is a temporary file beside the old one, which
// replaces it in one rename only when every byte was written. A file that is
// writable in a folder that is not (the temporary file cannot be made there)
// is rewritten in place, keeping its owner and permissions; should that
// write fail, the old content is put back. On any failure *error holds the
// system's reason.
namespace WholeFile
{
enum class Route {
    Automatic, // the temporary file, or in place where the folder refuses it
    InPlace,   // only the in-place rewrite
};

// extraMode: QIODevice::Text for the platform's line ends.
bool write(const QString &path, const QByteArray &bytes, QString *error,
           QIODevice::OpenMode extraMode = {}, Route route = Route::Automatic);
} // namespace WholeFile
