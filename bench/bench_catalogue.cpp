// Times the catalogue on a collection the size of a real one: about 1,600
// coordinate files in a handful of folders. Reports the folder scan, the
// listing of every folder (plain and through the window), and the reading
// and checking of one file, each beside a floor measured in the same run:
// walking the same folders, reading the first line of each file, reading
// the one file's bytes.
#include "Naca.h"
#include "catalogue/AirfoilFile.h"
#include "catalogue/AirfoilFolders.h"
#include "catalogue/CatalogueList.h"
#include "catalogue/TFormlect.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace
{

constexpr int kFolders = 8;
constexpr int kFilesPerFolder = 200;

// Median of a few runs, in milliseconds.
template <typename F> double medianMs(int runs, F run)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer clock;
        clock.start();
        run();
        times.push_back(clock.nsecsElapsed() / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    QTemporaryDir dir;
    const QString airfoils = dir.filePath("Airfoils");
    int written = 0;
    for (int f = 0; f < kFolders; ++f) {
        const QString folder = airfoils + QStringLiteral("/Folder%1").arg(f);
        QDir().mkpath(folder);
        for (int i = 0; i < kFilesPerFolder; ++i) {
            const QString digits = QStringLiteral("%1%2%3").arg(i % 7).arg(i % 5 + 2).arg(
                8 + i % 13, 2, 10, QLatin1Char('0'));
            const Naca::Section s = Naca::fourDigit(digits, 61);
            QFile out(folder + QStringLiteral("/f%1-%2.dat").arg(f).arg(i));
            if (out.open(QIODevice::WriteOnly) && out.write(Naca::datFile(s, s.name)) > 0)
                ++written;
        }
    }
    std::printf("tree: %d files in %d folders (121 rows each)\n", written, kFolders);

    constexpr int runs = 7;
    qsizetype sink = 0;
    const double walk = medianMs(runs, [&] {
        QDirIterator it(airfoils, QDir::Dirs | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
        while (it.hasNext())
            sink += it.next().size();
    });
    const double scan = medianMs(runs, [&] { AirfoilFolders::scanFolders(airfoils); });
    const auto folders = AirfoilFolders::scanFolders(airfoils);
    // The floor of a listing: the file names of each folder and the first
    // line of each file, nothing decoded, sorted or checked.
    const double firstLines = medianMs(runs, [&] {
        for (const auto &folder : folders) {
            QDir d(folder.path);
            for (const QString &name : d.entryList(QDir::Files)) {
                QFile f(d.filePath(name));
                if (f.open(QIODevice::ReadOnly))
                    sink += f.readLine().size();
            }
        }
    });
    const double list = medianMs(runs, [&] {
        for (const auto &folder : folders)
            AirfoilFolders::listFolderFiles(folder.path, airfoils);
    });
    std::printf("scan folders:                 %8.2f ms, walking the folders %8.2f ms = %.1fx\n",
                scan, walk, scan / walk);
    std::printf("list every folder (plain):    %8.2f ms, first line of each file %8.2f ms = "
                "%.1fx\n",
                list, firstLines, list / firstLines);

    TFormlect *form = nullptr;
    const double create = medianMs(3, [&] {
        delete form;
        form = new TFormlect(nullptr, dir.path());
    });
    const double window = medianMs(3, [&] {
        for (int i = 0; i < form->ListBox1->count(); ++i) {
            form->ListBox1->setCurrentRow(i);
            form->ListBox1Click();
        }
    });
    std::printf("window created (scan):        %8.2f ms, walking the folders %8.2f ms = %.1fx\n",
                create, walk, create / walk);
    std::printf("window lists every folder:    %8.2f ms, first line of each file %8.2f ms = "
                "%.1fx\n",
                window, firstLines, window / firstLines);
    delete form;

    const QString one = airfoils + QStringLiteral("/Folder3/f3-17.dat");
    constexpr int reads = 2000;
    AirfoilFile file;
    const double readCheck = medianMs(5, [&] {
        for (int i = 0; i < reads; ++i) {
            file.messages.clear();
            file.read(one);
            file.checkAfterRead();
        }
    });
    const double readBytes = medianMs(5, [&] {
        for (int i = 0; i < reads; ++i) {
            QFile f(one);
            if (f.open(QIODevice::ReadOnly))
                sink += f.readAll().size();
        }
    });
    std::printf("read and check one file:      %8.2f us, reading its bytes %8.2f us = %.1fx\n",
                readCheck * 1000 / reads, readBytes * 1000 / reads, readCheck / readBytes);
    return sink == 0;
}
