#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>

#include "profiles/WholeFile.h"

// Leaves behind, for path, the recovery copy that an in-place rewrite cut
// off after its copy was written would leave: a header, the file's full
// name, the byte count, then the bytes. Tests that start with such a copy
// use it; the tests of the rewrite itself check that real rewrites agree.
inline bool leaveRecoveryCopy(const QString &path, const QByteArray &bytes,
                              const QString &namedFile = QString())
{
    if (!QDir().mkpath(WholeFile::recoveryFolder()))
        return false;
    const QString named = QFileInfo(namedFile.isEmpty() ? path : namedFile).canonicalFilePath();
    QFile copy(WholeFile::recoveryPath(path));
    return copy.open(QIODevice::WriteOnly) &&
           copy.write("NERVURIA RECOVERY 1\n" + named.toUtf8() + "\n" +
                      QByteArray::number(bytes.size()) + "\n" + bytes) > 0;
}
