// Loads and saves a large Profils.pro and compares with only reading the
// same file's lines, the floor any loader pays.
#include "ScriptedPrompts.h"
#include "profiles/Cp1252.h"
#include "profiles/ProfileStore.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int profiles = argc > 1 ? atoi(argv[1]) : 5000;
    const int points = 100;
    QTemporaryDir dir;
    const QString path = dir.filePath("Profils.pro");

    QByteArray bytes;
    bytes.reserve(profiles * points * 40);
    for (int p = 0; p < profiles; ++p) {
        bytes += "\r\nPROFIL BENCH " + QByteArray::number(p) + "\r\n";
        for (int i = 0; i < points; ++i) {
            const QByteArray x = QByteArray::number(100.0 * i / (points - 1), 'f', 2);
            bytes += x + ";" + QByteArray::number(5.0 + (i % 7), 'f', 2) + ";" + x + ";-" +
                     QByteArray::number(1.0 + (i % 5), 'f', 2) + ";\r\n";
        }
        bytes += "GABARIT 200;15;\r\nFIGURE 0;500;-60;560;60;0;\r\nFIGURE 2;900;-40;980;40;0;\r\n";
    }
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly))
            return 1;
        f.write(bytes);
    }

    auto best = [](auto &&fn) {
        qint64 bestNs = -1;
        for (int r = 0; r < 5; ++r) {
            QElapsedTimer t;
            t.start();
            fn();
            const qint64 ns = t.nsecsElapsed();
            if (bestNs < 0 || ns < bestNs)
                bestNs = ns;
        }
        return bestNs / 1e6;
    };

    qsizetype sink = 0;
    const double floorMs = best([&] {
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        const QString text = Cp1252::decode(f.readAll());
        for (QStringView line : QStringView(text).split(u"\r\n"))
            sink += line.toString().size();
    });

    ScriptedPrompts prompts;
    const double loadMs = best([&] {
        ProfileStore store;
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        store.loadFromBytes(f.readAll());
        sink += store.count();
    });

    ProfileStore store;
    {
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        store.loadFromBytes(f.readAll());
    }
    store.databasePath = dir.filePath("Saved.pro");
    const double saveMs = best([&] {
        store.setSaveEnabled(true);
        prompts.answers.enqueue(true);
        store.SaveProfileDatabase();
    });

    std::printf("Profils.pro: %d profiles x %d point lines, %.1f MB\n", profiles, points,
                bytes.size() / 1e6);
    std::printf("read lines only : %8.1f ms\n", floorMs);
    std::printf("load            : %8.1f ms  (%.2f x reading)\n", loadMs, loadMs / floorMs);
    std::printf("save            : %8.1f ms\n", saveMs);
    return sink == 0;
}
