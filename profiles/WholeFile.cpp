#include "profiles/WholeFile.h"

#include "ui/Language.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include <algorithm>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>
#endif

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

// The bytes of an open (unbuffered) file on the disk, not only in the
// system's cache.
bool syncFile(QFileDevice &file)
{
#ifdef Q_OS_UNIX
    return ::fsync(file.handle()) == 0;
#else
    Q_UNUSED(file);
    return true;
#endif
}

// A rename or a removal is kept over a power cut only once the folder that
// lists the file is synced too.
void syncFolder(const QString &folder)
{
#ifdef Q_OS_UNIX
    const int fd =
        ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
#else
    Q_UNUSED(folder);
#endif
}

// Parts one after the other, as one write of the system where it has one
// (a whole file of parts in one call, however many), else one by one.
bool writeAll(QFileDevice &file, const std::vector<QByteArray> &parts, QString *error)
{
#ifdef Q_OS_UNIX
    std::vector<iovec> left;
    for (const QByteArray &part : parts)
        if (!part.isEmpty())
            left.push_back({const_cast<char *>(part.constData()), size_t(part.size())});
    for (size_t at = 0; at < left.size();) {
        const int count = int(std::min<size_t>(left.size() - at, IOV_MAX));
        const ssize_t n = ::writev(file.handle(), left.data() + at, count);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            *error = n < 0 ? qt_error_string(errno) : file.errorString();
            return false;
        }
        // Past what was written: whole parts, then into the next.
        for (size_t done = size_t(n); done > 0;) {
            const size_t step = std::min(done, left[at].iov_len);
            left[at].iov_base = static_cast<char *>(left[at].iov_base) + step;
            left[at].iov_len -= step;
            done -= step;
            if (left[at].iov_len == 0)
                ++at;
        }
    }
    return true;
#else
    for (const QByteArray &part : parts)
        if (!writeAll(file, part)) {
            *error = file.errorString();
            return false;
        }
    return true;
#endif
}

// The temporary file, filled, put in place: synced, then renamed over the
// target.
bool putInPlace(QSaveFile &file, QString *error)
{
    // commit() syncs the temporary file before the rename.
    if (!file.commit()) {
        *error = file.errorString();
        return false;
    }
    syncFolder(QFileInfo(file.fileName()).absolutePath());
    return true;
}

// A temporary file beside path, filled with the parts, synced, then renamed
// over it.
bool replaceByRename(QSaveFile &file, const std::vector<QByteArray> &parts, QString *error)
{
    if (!writeAll(file, parts, error)) {
        file.cancelWriting();
        return false;
    }
    return putInPlace(file, error);
}

const QByteArray kRecoveryHeader = QByteArrayLiteral("NERVURIA RECOVERY 1\n");

// The target named in full, the same however the caller spelled it.
QString recoveryKey(const QString &path)
{
    const QFileInfo info(path);
    QString canonical = info.canonicalFilePath();
    if (canonical.isEmpty()) {
        // Not there yet: its folder named in full, so that the key stays
        // the same once the file exists.
        const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
        if (!folder.isEmpty())
            canonical = folder + QLatin1Char('/') + info.fileName();
    }
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

// The copy holds a header, the target's path and the byte count, so that a
// copy is used only for its own file and only whole.
bool writeRecovery(const QString &path, const QByteArray &bytes)
{
    const QString folder = WholeFile::recoveryFolder();
    if (folder.isEmpty() || !QDir().mkpath(folder))
        return false;
    QByteArray head = kRecoveryHeader;
    head += recoveryKey(path).toUtf8() + '\n' + QByteArray::number(bytes.size()) + '\n';
    QSaveFile file(WholeFile::recoveryPath(path));
    QString ignored;
    return file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) &&
           replaceByRename(file, {head, bytes}, &ignored);
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
    // Without a recovery copy (no user data folder) the rewrite still goes
    // ahead: it is the only way to save here, and a kill during it is rare.
    const bool copied = writeRecovery(path, bytes);
    const QIODevice::OpenMode mode =
        QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered | extraMode;
    if (file.open(mode) && writeAll(file, bytes) && syncFile(file)) {
        file.close();
        if (copied)
            WholeFile::discardRecovery(path);
        return true;
    }
    *error = file.errorString();
    file.close();
    // The old content back, so that a failure leaves the file as it was.
    QFile restore(path);
    if (restore.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered) &&
        writeAll(restore, old) && syncFile(restore) && copied)
        WholeFile::discardRecovery(path);
    return false;
}

} // namespace

bool WholeFile::isSpecialFile(const QString &path)
{
    if (path.isEmpty())
        return false;
#ifdef Q_OS_UNIX
    // stat() follows a symbolic link: a link to a regular file is written
    // through, one to a device is refused.
    struct stat st;
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return false;
    return !S_ISREG(st.st_mode);
#else
    const QFileInfo info(path);
    return info.exists() && !info.isFile();
#endif
}

bool WholeFile::write(const QString &path, const QByteArray &bytes, QString *error,
                      QIODevice::OpenMode extraMode, Route route)
{
    QString ignored;
    if (!error)
        error = &ignored;
    // Renaming a temporary file over a device or a pipe would replace the
    // node itself; writing into it would send the bytes elsewhere.
    if (isSpecialFile(path)) {
        *error = Language::pick(
            QStringLiteral("ce n'est pas un fichier ordinaire (dossier, périphérique, tube ou "
                           "socket) : rien n'y a été écrit"),
            QStringLiteral("not a regular file (a folder, device, pipe or socket): nothing was "
                           "written to it"));
        return false;
    }
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
    return replaceByRename(file, {bytes}, error);
}

WholeFile::Stream::Stream(const QString &path) : m_path(path), m_file(path)
{
    // Renaming over a special file is refused by write(), with its reason.
    m_open = !isSpecialFile(path) && m_file.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

bool WholeFile::Stream::add(const QByteArray &part)
{
    if (!m_open) {
        m_kept.push_back(part);
        return true;
    }
    if (!m_failed && !part.isEmpty())
        m_failed = !writeAll(m_file, {part}, &m_error);
    return !m_failed;
}

bool WholeFile::Stream::commit(QString *error)
{
    QString ignored;
    if (!error)
        error = &ignored;
    if (!m_open) {
        // Refused, or written in place: as one text, by the route above.
        qsizetype size = 0;
        for (const QByteArray &part : m_kept)
            size += part.size();
        QByteArray whole;
        whole.reserve(size);
        for (const QByteArray &part : m_kept)
            whole += part;
        m_kept.clear();
        return write(m_path, whole, error);
    }
    if (m_failed) {
        m_file.cancelWriting();
        *error = m_error;
        return false;
    }
    return putInPlace(m_file, error);
}

bool WholeFile::keepPrevious(const QString &path, const QString &backup, QString *error)
{
    QString ignored;
    if (!error)
        error = &ignored;
    if (isSpecialFile(backup))
        return write(backup, QByteArray(), error); // refused with its reason
#ifdef Q_OS_UNIX
    // A link to the file itself (not to a symbolic link that leads to it),
    // made under a temporary name and renamed over the old backup. Linking
    // needs a writable folder, and there write() takes the rename route,
    // which gives the database a new file and leaves this one to the backup.
    const QString source = QFileInfo(path).canonicalFilePath();
    const QByteArray temp = QFile::encodeName(backup + QStringLiteral(".new"));
    ::unlink(temp.constData());
    if (!source.isEmpty() && ::link(QFile::encodeName(source).constData(), temp.constData()) == 0) {
        if (::rename(temp.constData(), QFile::encodeName(backup).constData()) == 0) {
            syncFolder(QFileInfo(backup).absolutePath());
            return true;
        }
        ::unlink(temp.constData());
    }
#endif
    QFile old(path);
    if (!old.open(QIODevice::ReadOnly)) {
        *error = old.errorString();
        return false;
    }
    const QByteArray bytes = old.readAll();
    if (old.error() != QFileDevice::NoError) {
        *error = old.errorString();
        return false;
    }
    return write(backup, bytes, error);
}

QString WholeFile::recoveryFolder()
{
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return data.isEmpty() ? QString() : data + QStringLiteral("/nervuria/recovery");
}

QString WholeFile::recoveryPath(const QString &path)
{
    const QByteArray key =
        QCryptographicHash::hash(recoveryKey(path).toUtf8(), QCryptographicHash::Sha1).toHex();
    return recoveryFolder() + QLatin1Char('/') + QString::fromLatin1(key) + QStringLiteral(".copy");
}

bool WholeFile::pendingRecovery(const QString &path, QByteArray *bytes)
{
    if (recoveryFolder().isEmpty())
        return false;
    QFile file(recoveryPath(path));
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray all = file.readAll();
    if (!all.startsWith(kRecoveryHeader))
        return false;
    const qsizetype pathEnd = all.indexOf('\n', kRecoveryHeader.size());
    const qsizetype sizeEnd = pathEnd < 0 ? -1 : all.indexOf('\n', pathEnd + 1);
    if (sizeEnd < 0)
        return false;
    const QByteArray named = all.mid(kRecoveryHeader.size(), pathEnd - kRecoveryHeader.size());
    bool ok = false;
    const qsizetype size = all.mid(pathEnd + 1, sizeEnd - pathEnd - 1).toLongLong(&ok);
    if (!ok || named != recoveryKey(path).toUtf8() || all.size() - sizeEnd - 1 != size)
        return false;
    if (bytes)
        *bytes = all.mid(sizeEnd + 1);
    return true;
}

void WholeFile::discardRecovery(const QString &path)
{
    const QString copy = recoveryPath(path);
    if (QFile::remove(copy))
        syncFolder(QFileInfo(copy).absolutePath());
}
