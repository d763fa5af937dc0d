#include "profiles/WholeFile.h"

#include <QSaveFile>

bool WholeFile::write(const QString &path, const QByteArray &bytes, QString *error,
                      QIODevice::OpenMode extraMode)
{
    // Unbuffered, so that a short write (a full disk, a size limit) is seen
    // here: through the buffer it can pass unnoticed at the final flush, and
    // the shortened file would then replace the old one.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered | extraMode)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    for (qint64 done = 0; done < bytes.size();) {
        const qint64 n = file.write(bytes.constData() + done, bytes.size() - done);
        if (n <= 0) {
            if (error)
                *error = file.errorString();
            file.cancelWriting();
            return false;
        }
        done += n;
    }
    if (!file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}
