#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QSaveFile>
#include <QString>

#include <vector>

// Files written whole: afterwards a file holds the new bytes, or what it
// held before. The usual way is a temporary file beside the old one, which
// replaces it in one rename only when every byte was written (the file and
// then its folder are synced, so a power cut after the write keeps the new
// file). A file that is writable in a folder that is not (the temporary file
// cannot be made there) is rewritten in place, keeping its owner and
// permissions; should that write fail, the old content is put back. On any
// failure *error holds the reason.
//
// The in-place rewrite is not one step: a process killed in the middle of
// it leaves the file cut short. So the new bytes go first, synced, to a
// recovery copy in the user's own data folder, which is removed once the
// rewrite is synced; a copy still there at the next start is what was being
// written (see pendingRecovery).
//
// A target that exists and is not a regular file (a folder, a device, a
// pipe, a socket) is refused before anything is opened: it stays as it was.
namespace WholeFile
{
enum class Route {
    Automatic, // the temporary file, or in place where the folder refuses it
    InPlace,   // only the in-place rewrite
};

// extraMode: QIODevice::Text for the platform's line ends.
bool write(const QString &path, const QByteArray &bytes, QString *error,
           QIODevice::OpenMode extraMode = {}, Route route = Route::Automatic);
// A file written whole from parts that come one after another, in one
// step as above, never all in memory at once: through the rename route
// each part goes to the temporary file as it is added, and its buffer may
// be filled again at once. Where that route is not taken (a special file,
// a folder where no temporary file can be made) the parts are kept, and
// commit() writes them as write() does, with its messages. Not committed,
// the temporary file is removed and the old file stays.
class Stream
{
public:
    explicit Stream(const QString &path);
    Stream(const Stream &) = delete;
    Stream &operator=(const Stream &) = delete;

    // False once a part could not be written: the rest need not be made.
    bool add(const QByteArray &part);
    // The file put in place (true), or left as it was, *error saying why.
    bool commit(QString *error);

private:
    QString m_path;
    QSaveFile m_file;
    bool m_open = false;
    bool m_failed = false;
    QString m_error;
    std::vector<QByteArray> m_kept; // the parts, where the route is not taken
};

// Keeps what path holds now under backup, in one step, for a file about to
// be replaced through write() (the rename route). Where the folder allows
// it, backup becomes a second name of the file itself, so no byte is
// copied: the rename then leaves the old file under that name alone. A
// copy is written otherwise.
bool keepPrevious(const QString &path, const QString &backup, QString *error);

// Whether path is something other than a regular file (false when it does
// not exist).
bool isSpecialFile(const QString &path);

// The folder of the recovery copies, in the user's data folder.
QString recoveryFolder();
// Where the recovery copy for path is kept.
QString recoveryPath(const QString &path);
// The bytes an interrupted in-place rewrite of path was writing, when its
// recovery copy is still there and whole.
bool pendingRecovery(const QString &path, QByteArray *bytes);
// Removes the recovery copy for path, if any.
void discardRecovery(const QString &path);
} // namespace WholeFile
