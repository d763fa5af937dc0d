// Kills real processes in the middle of rewriting Profils.pro in place (the
// route taken where the folder refuses a temporary file) and checks, after
// each kill, that the user still has the old or the new database: in the
// file itself, or through the recovery copy that the next start offers.
//
//   kill_save [kills] [seed] [folder]
//
// Each round starts a writer process that rewrites the file in place over
// and over (two databases in turn), kills it with SIGKILL at a random
// moment, looks at what it left, then runs the start-up's load, answering
// Yes to the recovery offer, and checks the file again. Everything happens
// in a scratch folder (in folder, the system's temporary folder by default:
// on a memory file system the syncs cost nothing and more kills fall within
// the write itself); the recovery copies go to a scratch data folder.
// Exit status 0 when no kill lost the user's data.
#include "ScriptedPrompts.h"
#include "profiles/ProfileStore.h"
#include "profiles/WholeFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>

#include <cstdio>

namespace
{

// Two databases of a few megabytes, so that a write takes long enough to be
// cut in the middle, with different sizes so that no cut looks whole.
QByteArray database(int profiles, char variant)
{
    QByteArray out;
    for (int p = 0; p < profiles; ++p) {
        out += "\r\nPROFIL P" + QByteArray::number(p) + variant + "\r\n";
        for (int i = 0; i <= 40; ++i) {
            const QByteArray x = QByteArray::number(i * 2.5, 'f', 2).replace('.', ',');
            const QByteArray y = QByteArray::number((i % 9) * 0.37, 'f', 2).replace('.', ',');
            out += x + ';' + y + ';' + x + ";-" + y + ";\r\n";
        }
        out += "GABARIT 200;15;\r\nFIGURE 2;1000;-80;1160;80;0;\r\n";
    }
    return out;
}

const QByteArray &oldContent()
{
    static const QByteArray bytes = database(1200, 'a');
    return bytes;
}

const QByteArray &newContent()
{
    static const QByteArray bytes = database(1000, 'b');
    return bytes;
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The writer: the other database in place of the one there, for ever.
int writer(const QString &path)
{
    // Both made before the kills may fall.
    oldContent();
    newContent();
    std::fputs("ready\n", stdout);
    std::fflush(stdout);
    for (;;) {
        const QByteArray &next = readAll(path) == oldContent() ? newContent() : oldContent();
        QString error;
        if (!WholeFile::write(path, next, &error, {}, WholeFile::Route::InPlace)) {
            std::fprintf(stderr, "write failed: %s\n", qPrintable(error));
            return 1;
        }
    }
}

bool whole(const QByteArray &bytes)
{
    return bytes == oldContent() || bytes == newContent();
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 3 && args[1] == QLatin1String("--writer"))
        return writer(args[2]);

    const int kills = args.size() > 1 ? args[1].toInt() : 200;
    const quint32 seed = args.size() > 2 ? args[2].toUInt() : 1;
    QRandomGenerator random(seed);

    QTemporaryDir scratch(args.size() > 3 ? args[3] + QStringLiteral("/kill_save-XXXXXX")
                                          : QDir::tempPath() + QStringLiteral("/kill_save-XXXXXX"));
    if (!scratch.isValid())
        return 2;
    std::printf("scratch folder: %s\n", qPrintable(scratch.path()));
    const QString folder = scratch.filePath(QStringLiteral("data"));
    const QString path = folder + QStringLiteral("/Profils.pro");
    QDir().mkpath(folder);
    // The recovery copies in a data folder of their own, for the writers too.
    qputenv("XDG_DATA_HOME", QFile::encodeName(scratch.filePath(QStringLiteral("share"))));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();

    // One rewrite's time, for the span the kills fall in.
    oldContent();
    newContent();
    QFile seedFile(path);
    if (!seedFile.open(QIODevice::WriteOnly) || seedFile.write(oldContent()) != oldContent().size())
        return 2;
    seedFile.close();
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < 3; ++i)
        WholeFile::write(path, i % 2 ? oldContent() : newContent(), nullptr, {},
                         WholeFile::Route::InPlace);
    const double rewriteMs = timer.nsecsElapsed() / 3e6;
    std::printf("in-place rewrite of %lld bytes: %.1f ms; kills fall within %.1f ms of the "
                "writer's start\n",
                qlonglong(newContent().size()), rewriteMs, 4 * rewriteMs);

    int fileWhole = 0, fileCut = 0, fileEmpty = 0, copyWhole = 0, restored = 0, silent = 0,
        lost = 0;
    for (int round = 0; round < kills; ++round) {
        QProcess child;
        child.setProcessEnvironment(environment);
        child.start(app.applicationFilePath(), {QStringLiteral("--writer"), path});
        if (!child.waitForStarted() || !child.waitForReadyRead(30000)) {
            std::fprintf(stderr, "writer did not start\n");
            return 2;
        }
        QThread::usleep(quint64(random.bounded(4 * rewriteMs * 1000.0)));
        child.kill();
        child.waitForFinished();

        const QByteArray left = readAll(path);
        QByteArray copy;
        const bool pending = WholeFile::pendingRecovery(path, &copy);
        if (whole(left)) {
            ++fileWhole;
        } else {
            ++fileCut;
            if (left.isEmpty())
                ++fileEmpty;
            if (pending && whole(copy))
                ++copyWhole;
        }

        // The next start: the load offers the copy; the user says Yes.
        ScriptedPrompts prompts;
        prompts.answers << true;
        const QString before = QDir::currentPath();
        QDir::setCurrent(folder);
        ProfileStore store;
        store.LoadProfileDatabase();
        QDir::setCurrent(before);
        const QByteArray after = readAll(path);
        if (!prompts.questions.isEmpty())
            ++restored;
        else if (pending)
            ++silent;
        if (!whole(after) || WholeFile::pendingRecovery(path, nullptr)) {
            ++lost;
            std::fprintf(stderr, "round %d: %lld bytes left, copy %s, after start %lld bytes\n",
                         round, qlonglong(left.size()), pending ? "there" : "none",
                         qlonglong(after.size()));
        }
    }
    std::printf("kills: %d\n", kills);
    std::printf("file whole after the kill (old or new): %d\n", fileWhole);
    std::printf("file cut short after the kill: %d (%d of them empty), of which the recovery "
                "copy held the new database: %d\n",
                fileCut, fileEmpty, copyWhole);
    std::printf("recovery offered at the next start and accepted: %d; copy found equal to the "
                "file and removed without a question: %d\n",
                restored, silent);
    std::printf("left without the old or the new database after the next start: %d\n", lost);
    return lost == 0 ? 0 : 1;
}
