#include "profiles/WholeFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace
{

// Unbuffered, so that a short write (a full disk, a size limit) is seen
// here: through the buffer it can pass unnoticed at the final flush.
bool writeAll(QFileDevice &file, const QByteArray &bytes)
{
    for (qint64 done = 0; done < bytes.size();) {
        const qint64 n = file.write(bytes.constData() + done, bytes.size() - done);
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

bool writeInPlace(const QString &path, const QByteArray &bytes, QString *error,
                  QIODevice::OpenMode extraMode)
{
    QFile file(path);
    QByteArray old;
    if (file.exists()) {
        if (!file.open(QIODevice::ReadOnly)) {
            *error = file.errorString();
            return false;
        }
        old = file.readAll();
        file.close();
    }
    const QIODevice::OpenMode mode =
        QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered | extraMode;
    if (file.open(mode) && writeAll(file, bytes)) {
        file.close();
        return true;
    }
    *error = file.errorString();
    file.close();
    // The old content back, so that a failure leaves the file as it was.
    QFile restore(path);
    if (restore.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
        writeAll(restore, old);
    return false;
}

} // namespace

bool WholeFile::write(const QString &path, const QByteArray &bytes, QString *error,
                      QIODevice::OpenMode extraMode, Route route)
{
    QString ignored;
    if (!error)
        error = &ignored;
    if (route == Route::InPlace)
        return writeInPlace(path, bytes, error, extraMode);

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered | extraMode)) {
        *error = file.errorString();
        const QFileInfo info(path);
        if (info.isFile() && info.isWritable() && !QFileInfo(info.absolutePath()).isWritable())
            return writeInPlace(path, bytes, error, extraMode);
        return false;
    }
    if (!writeAll(file, bytes)) {
        *error = file.errorString();
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        *error = file.errorString();
        return false;
    }
    return true;
}
