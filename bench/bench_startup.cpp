// Times the program from its start until its start window is on screen, and
// until every window is ready (the database loaded), beside a bare Qt
// program that shows an empty main window of the same size: both quit by
// themselves once their window has drawn its first frame. Each figure is the
// median of interleaved runs, on the sample data folder and on the same
// folder with a database of 5,000 profiles.
//
//   bench_startup [runs]
#include "BenchTiming.h"

#include "app/Startup.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QMainWindow>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

namespace
{

// The floor: the least a Qt program with one main window does.
int bareWindow(int argc, char **argv)
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral(" NERVURIA"));
    window.resize(643, 484);
    afterFirstFrame(&window, [] {
        std::printf("shown\n");
        std::fflush(stdout);
        QCoreApplication::exit(0);
    });
    window.show();
    return app.exec();
}

bool copyFolder(const QString &from, const QString &to)
{
    QDirIterator it(from, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    bool ok = QDir().mkpath(to);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString target = to + path.mid(from.size());
        if (it.fileInfo().isDir())
            ok &= QDir().mkpath(target);
        else
            ok &= QFile::copy(path, target);
    }
    return ok;
}

bool writeDatabase(const QString &path, int profiles)
{
    QByteArray bytes;
    for (int p = 0; p < profiles; ++p) {
        bytes += "\r\nPROFIL BENCH " + QByteArray::number(p) + "\r\n";
        for (int i = 0; i < 100; ++i) {
            const QByteArray x = QByteArray::number(100.0 * i / 99, 'f', 2);
            bytes += x + ";" + QByteArray::number(5.0 + (i % 7), 'f', 2) + ";" + x + ";-" +
                     QByteArray::number(1.0 + (i % 5), 'f', 2) + ";\r\n";
        }
        bytes += "GABARIT 200;15;\r\nFIGURE 0;500;-60;560;60;0;\r\n";
    }
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

struct Case {
    const char *what;
    QString program;
    QStringList arguments;
    QString folder;
    QByteArray quit; // empty for the bare window
    std::vector<double> times;
    bool failed = false;
};

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc > 1 && std::strcmp(argv[1], "--bare") == 0)
        return bareWindow(argc, argv);

    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 11;
    const QString here = QCoreApplication::applicationDirPath();
    const QString program = here + QStringLiteral("/nervuria");
    if (!QFile::exists(program)) {
        std::printf("no program at %s\n", qPrintable(program));
        return 1;
    }

    QTemporaryDir dir;
    const QString sample = dir.filePath(QStringLiteral("sample"));
    const QString large = dir.filePath(QStringLiteral("large"));
    // A socket folder of our own: a copy of the program running elsewhere
    // must not answer the single-instance check.
    const QString sockets = dir.filePath(QStringLiteral("tmp"));
    if (!copyFolder(QStringLiteral(NERVURIA_SOURCE_DIR "/sample"), sample) ||
        !copyFolder(sample, large) ||
        !writeDatabase(large + QStringLiteral("/Profils.pro"), 5000) || !QDir().mkpath(sockets)) {
        std::printf("could not write the data folders\n");
        return 1;
    }

    std::vector<Case> cases = {
        {"bare Qt main window", QCoreApplication::applicationFilePath(), {"--bare"}, sample, {}},
        {"start window shown, sample folder", program, {}, sample, "shown"},
        {"every window ready, sample folder", program, {}, sample, "ready"},
        {"start window shown, 5,000 profiles", program, {}, large, "shown"},
        {"every window ready, 5,000 profiles", program, {}, large, "ready"},
    };
    for (int r = 0; r < runs; ++r) {
        for (Case &c : cases) {
            QProcess child;
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(QStringLiteral("TMPDIR"), sockets);
            if (!c.quit.isEmpty())
                env.insert(QStringLiteral("NERVURIA_BENCH_QUIT"), QString::fromLatin1(c.quit));
            child.setProcessEnvironment(env);
            child.setWorkingDirectory(c.folder);
            QElapsedTimer clock;
            clock.start();
            child.start(c.program, c.arguments);
            const bool finished = child.waitForFinished(60000);
            c.times.push_back(clock.nsecsElapsed() / 1e6);
            const QByteArray said = child.readAllStandardOutput().trimmed();
            if (!finished || child.exitCode() != 0 ||
                said != (c.quit.isEmpty() ? QByteArray("shown") : c.quit))
                c.failed = true;
        }
    }

    std::printf("platform %s, medians of %d interleaved runs, each a new process\n",
                qgetenv("QT_QPA_PLATFORM").isEmpty() ? "default"
                                                     : qgetenv("QT_QPA_PLATFORM").constData(),
                runs);
    const double floorMs = median(cases[0].times);
    int failures = 0;
    for (const Case &c : cases) {
        failures += c.failed;
        if (&c == &cases[0]) {
            std::printf("%-36s %7.1f ms (the floor)\n", c.what, floorMs);
            continue;
        }
        std::printf("%-36s %7.1f ms, bare Qt window %7.1f ms = %.1fx%s\n", c.what, median(c.times),
                    floorMs, median(c.times) / floorMs,
                    c.failed ? "  (FAILED: did not end by itself)" : "");
    }
    return failures;
}
