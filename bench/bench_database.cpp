// Loads and saves Profils.pro files of 500, 5,000 and 50,000 profiles and
// sets each figure beside its floor measured in the same run: reading the
// same file's lines with QTextStream::readLineInto (nothing split, nothing
// kept), and writing the same bytes through one QSaveFile. Each size runs in
// a child process of its own, so that its peak memory (VmHWM) is its own.
//
//   bench_database            every size, one child each
//   bench_database N          N profiles only, in this process
#include "BenchTiming.h"

#include "ScriptedPrompts.h"
#include "profiles/ProfileStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace
{

constexpr int kPoints = 100;

// Writes the file piece by piece, so that writing it does not raise the
// peak memory measured afterwards.
qint64 writeDatabase(const QString &path, int profiles)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return -1;
    QByteArray bytes;
    for (int p = 0; p < profiles; ++p) {
        // Names in the store's order, as the program writes the file.
        bytes += "\r\nPROFIL BENCH " + QByteArray::number(p).rightJustified(6, '0') + "\r\n";
        for (int i = 0; i < kPoints; ++i) {
            const QByteArray x = QByteArray::number(100.0 * i / (kPoints - 1), 'f', 2);
            bytes += x + ";" + QByteArray::number(5.0 + (i % 7), 'f', 2) + ";" + x + ";-" +
                     QByteArray::number(1.0 + (i % 5), 'f', 2) + ";\r\n";
        }
        bytes += "GABARIT 200;15;\r\nFIGURE 0;500;-60;560;60;0;\r\nFIGURE 2;900;-40;980;40;0;\r\n";
        if (bytes.size() > (1 << 20)) {
            f.write(bytes);
            bytes.clear();
        }
    }
    f.write(bytes);
    return f.size();
}

// Peak resident memory of this process so far, in MB.
double peakMb()
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return -1;
    for (const QByteArray &line : f.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    }
    return -1;
}

// Starts the peak over from the present size (Linux 4.0 and later).
bool resetPeak()
{
    QFile f(QStringLiteral("/proc/self/clear_refs"));
    return f.open(QIODevice::WriteOnly) && f.write("5") == 1;
}

template <typename F> double timeMs(F run)
{
    QElapsedTimer t;
    t.start();
    run();
    return t.nsecsElapsed() / 1e6;
}

int runSize(int profiles)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Profils.pro"));
    const double mb = writeDatabase(path, profiles) / 1e6;
    const int runs = profiles <= 500 ? 101 : profiles <= 5000 ? 21 : 5;
    const QString before = QDir::currentPath();
    QDir::setCurrent(dir.path());
    ScriptedPrompts prompts;

    // Peak memory of a first load, measured before anything else was
    // allocated and freed in this process.
    const bool reset = resetPeak();
    const double baseMb = peakMb();
    auto *kept = new ProfileStore;
    kept->LoadProfileDatabase();
    const double loadPeakMb = peakMb();

    // The floor: the file's lines read through the plainest loop Qt offers.
    qsizetype sink = 0;
    auto readLines = [&] {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly))
            return;
        QTextStream in(&f);
        in.setEncoding(QStringConverter::Latin1);
        QString line;
        while (in.readLineInto(&line))
            sink += line.size();
    };
    auto load = [&] {
        ProfileStore store;
        store.LoadProfileDatabase();
        sink += store.count();
    };
    // Interleaved, so that both see the same load of a shared machine.
    std::vector<double> floorTimes, loadTimes;
    for (int r = 0; r < runs; ++r) {
        if (r % 2) {
            loadTimes.push_back(timeMs(load));
            floorTimes.push_back(timeMs(readLines));
        } else {
            floorTimes.push_back(timeMs(readLines));
            loadTimes.push_back(timeMs(load));
        }
    }

    const QString savedPath = dir.filePath(QStringLiteral("Saved.pro"));
    kept->databasePath = savedPath;
    const QByteArray bytes = kept->serialize();
    std::vector<double> saveFloor, saveTimes;
    for (int r = 0; r < std::min(runs, 7); ++r) {
        saveFloor.push_back(timeMs([&] {
            QSaveFile f(dir.filePath(QStringLiteral("Floor.pro")));
            if (f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size())
                f.commit();
        }));
        saveTimes.push_back(timeMs([&] {
            kept->setSaveEnabled(true);
            prompts.answers.enqueue(true);
            kept->SaveProfileDatabase();
        }));
    }
    QFile original(path), saved(savedPath);
    const bool same = original.open(QIODevice::ReadOnly) && saved.open(QIODevice::ReadOnly) &&
                      original.readAll() == saved.readAll();
    delete kept;
    QDir::setCurrent(before);

    const double floorMs = median(floorTimes), loadMs = median(loadTimes);
    const QByteArray n = QByteArray::number(profiles);
    std::printf("load %6d profiles (%6.1f MB): %8.1f ms, line read %8.1f ms = %.1fx\n", profiles,
                mb, loadMs, floorMs, loadMs / floorMs);
    // For the parent, which compares the sizes.
    std::printf("#us-per-profile %.3f\n", loadMs * 1000 / profiles);
    std::printf("save %6d profiles: %8.1f ms, one QSaveFile write %8.1f ms = %.1fx\n", profiles,
                median(saveTimes), median(saveFloor), median(saveTimes) / median(saveFloor));
    std::printf("peak memory loading %6d profiles: %6.1f MB, %6.1f MB of it added by the "
                "load, for a file of %6.1f MB = %.1fx%s\n",
                profiles, loadPeakMb, loadPeakMb - baseMb, mb, (loadPeakMb - baseMb) / mb,
                reset ? "" : " (peak not reset: whole run)");
    std::printf("save of the unchanged database byte-identical: %s\n", same ? "yes" : "NO");
    std::fflush(stdout);
    return sink == 0 || !same;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc > 1)
        return runSize(atoi(argv[1]));

    std::printf("Profils.pro of N profiles x %d point lines, a template and two figures each; "
                "medians of interleaved runs\n",
                kPoints);
    std::fflush(stdout);
    std::vector<std::pair<int, double>> perProfile;
    int failures = 0;
    for (int size : {500, 5000, 50000}) {
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(QCoreApplication::applicationFilePath(), {QString::number(size)});
        child.waitForFinished(-1);
        failures += child.exitCode() != 0 || child.exitStatus() != QProcess::NormalExit;
        for (const QByteArray &line : child.readAllStandardOutput().split('\n')) {
            if (line.startsWith("#us-per-profile "))
                perProfile.emplace_back(size, line.mid(16).toDouble());
            else if (!line.isEmpty()) {
                std::printf("%s\n", line.constData());
            }
        }
        std::fflush(stdout);
    }
    if (perProfile.size() == 3) {
        const double first = perProfile.front().second;
        for (const auto &[size, us] : perProfile)
            if (size != perProfile.front().first)
                std::printf("per-profile load time, %d against 500 profiles: %.2f us, %.2f us = "
                            "%.1fx\n",
                            size, us, first, us / first);
    }
    return failures;
}
