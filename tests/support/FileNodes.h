#pragma once

#include <QFile>
#include <QString>

#include <cstring>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

// File-system nodes that are not regular files, made in a test's own
// folder, and the kind of node a path names afterwards.
namespace FileNodes
{

// "fifo", "folder", "socket" or "device" (a character device with the
// numbers of the null device, so that nothing written to it goes anywhere).
// False when the system does not let this user make it.
inline bool make(const QString &kind, const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    if (kind == QLatin1String("fifo"))
        return ::mkfifo(name.constData(), 0600) == 0;
    if (kind == QLatin1String("folder"))
        return ::mkdir(name.constData(), 0700) == 0;
    if (kind == QLatin1String("device"))
        return ::mknod(name.constData(), S_IFCHR | 0600, makedev(1, 3)) == 0;
    if (kind == QLatin1String("socket")) {
        sockaddr_un address{};
        if (size_t(name.size()) >= sizeof(address.sun_path))
            return false;
        address.sun_family = AF_UNIX;
        std::memcpy(address.sun_path, name.constData(), size_t(name.size()));
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        if (fd < 0)
            return false;
        const bool bound = ::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0;
        ::close(fd);
        return bound;
    }
    return false;
}

// The kind of node at path, by the same names; "file" for a regular file,
// "none" when nothing is there. A symbolic link is not followed.
inline QString kindOf(const QString &path)
{
    struct stat st;
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0)
        return QStringLiteral("none");
    if (S_ISFIFO(st.st_mode))
        return QStringLiteral("fifo");
    if (S_ISDIR(st.st_mode))
        return QStringLiteral("folder");
    if (S_ISCHR(st.st_mode))
        return QStringLiteral("device");
    if (S_ISSOCK(st.st_mode))
        return QStringLiteral("socket");
    if (S_ISREG(st.st_mode))
        return QStringLiteral("file");
    return QStringLiteral("other");
}

} // namespace FileNodes
