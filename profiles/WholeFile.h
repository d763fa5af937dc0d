#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>

// Files written in one step: the new content goes to a temporary file beside
// the old one, which it replaces in one rename only when every byte was
// written. On any failure the old file stays as it was and *error holds the
// system's reason.
namespace WholeFile
{
// extraMode: QIODevice::Text for the platform's line ends.
bool write(const QString &path, const QByteArray &bytes, QString *error,
           QIODevice::OpenMode extraMode = {});
} // namespace WholeFile
