// Writes the sample data folder: a Profils.pro of sections computed from
// their formulas, with templates and figures.
#include "Naca.h"
#include "profiles/Cp1252.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTextStream>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("sample");
    QDir().mkpath(folder);

    struct Sample
    {
        const char *digits;
        QStringList templates; // each template line followed by its figure lines
    };
    const Sample samples[] = {
        {"0012",
         {"GABARIT 200;15;", "FIGURE 0;500;-60;560;60;0;", "FIGURE 2;1000;-80;1160;80;0;",
          "GABARIT 150;2;"}},
        {"2412", {"GABARIT 180;10;", "FIGURE 3;700;-40;820;40;0;", "FIGURE 1;300;0;1500;0;0;"}},
        {"4412", {"GABARIT 220;15;", "FIGURE 4;900;-50;1020;30;0;"}},
        {"0009", {}},
        {"6409", {"GABARIT 120;8;"}},
    };

    QString text;
    for (const Sample &s : samples) {
        const Naca::Section sec = Naca::fourDigit(QString::fromLatin1(s.digits), 41);
        text += QStringLiteral("\r\nPROFIL ") + sec.name + QStringLiteral("\r\n");
        for (const QString &l : Naca::pointLines(sec))
            text += l + QStringLiteral("\r\n");
        for (const QString &l : s.templates)
            text += l + QStringLiteral("\r\n");
    }
    QFile out(QDir(folder).filePath(QStringLiteral("Profils.pro")));
    if (!out.open(QIODevice::WriteOnly)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(out.fileName()));
        return 1;
    }
    out.write(Cp1252::encode(text));
    return 0;
}
