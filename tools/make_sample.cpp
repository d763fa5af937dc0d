// Writes the sample data folder from our own section formulas: a Profils.pro
// with templates and figures, a catalogue of coordinate files in
// Airfoils/<folders> (one folder of deliberately faulty files, one file for
// each message of the checker) and the catalogue's index dico.txt.
#include "Naca.h"
#include "profiles/Cp1252.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace
{

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

// The data rows of a section, trailing edge first, as "x  y" texts.
QStringList dataRows(const Naca::Section &s)
{
    auto row = [](const Naca::Point &p) {
        return QString::number(p.x, 'f', 5) + QStringLiteral("  ") + QString::number(p.y, 'f', 5);
    };
    QStringList rows;
    for (auto it = s.upper.rbegin(); it != s.upper.rend(); ++it)
        rows << row(*it);
    for (size_t i = 1; i < s.lower.size(); ++i)
        rows << row(s.lower[i]);
    return rows;
}

QByteArray joined(const QString &title, const QStringList &rows, const char *end = "\r\n")
{
    QByteArray out = Cp1252::encode(title) + end;
    for (const QString &r : rows)
        out += Cp1252::encode(r) + end;
    return out;
}

void writeProfilsPro(const QString &folder, bool &ok)
{
    struct Sample {
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
    ok &= writeFile(QDir(folder).filePath(QStringLiteral("Profils.pro")), Cp1252::encode(text));
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("sample");
    QDir().mkpath(folder);
    bool ok = true;
    writeProfilsPro(folder, ok);

    // The catalogue is written afresh each time.
    const QString airfoils = QDir(folder).filePath(QStringLiteral("Airfoils"));
    QDir(airfoils).removeRecursively();
    QStringList dico;
    auto add = [&](const QString &relative, const QByteArray &bytes, const QString &description) {
        ok &= writeFile(airfoils + QLatin1Char('/') + relative, bytes);
        if (!description.isEmpty()) {
            QString reference = QLatin1Char('\\') + relative.toUpper();
            reference.replace(QLatin1Char('/'), QLatin1Char('\\'));
            dico << reference + QLatin1Char(';') + description;
        }
    };

    // Good sections, four-digit and five-digit.
    for (const char *d : {"0006", "0009", "0012", "2412", "2415", "4412", "6409"}) {
        const Naca::Section s = Naca::fourDigit(QString::fromLatin1(d), 41);
        const QString name =
            QStringLiteral("NACA4/n%1.%2")
                .arg(QLatin1String(d),
                     d[0] == '2' && d[3] == '5' ? QStringLiteral("DAT") : QStringLiteral("dat"));
        add(name, Naca::datFile(s, s.name),
            QStringLiteral("NACA %1 - QUATRE CHIFFRES, EPAISSEUR %2 %")
                .arg(QLatin1String(d))
                .arg(QString::fromLatin1(d + 2).toInt()));
    }
    // Thin sections one level deeper, in a folder named in lower case.
    for (const char *d : {"0004", "1404"}) {
        const Naca::Section s = Naca::fourDigit(QString::fromLatin1(d), 31);
        add(QStringLiteral("NACA4/minces/n%1.dat").arg(QLatin1String(d)), Naca::datFile(s, s.name),
            QStringLiteral("NACA %1 - PROFIL MINCE").arg(QLatin1String(d)));
    }
    // A file written by a Unix editor with commas, stray blanks and empty
    // lines: it reads like any other.
    {
        const Naca::Section s = Naca::fourDigit(QStringLiteral("0015"), 31);
        QStringList rows = dataRows(s);
        for (QString &r : rows)
            r = QStringLiteral("   ") + r.replace(QLatin1Char('.'), QLatin1Char(',')) +
                QStringLiteral("  ");
        rows.insert(10, QString());
        rows.insert(20, QStringLiteral("    "));
        add(QStringLiteral("NACA4/n0015-virgules.dat"),
            joined(QStringLiteral("  NACA 0015 (virgules)"), rows, "\n"),
            QStringLiteral("NACA 0015 - DECIMALES A VIRGULE"));
    }
    for (const char *d : {"21012", "23012", "23015", "24012", "25012"}) {
        const Naca::Section s = Naca::fiveDigit(QString::fromLatin1(d), 41);
        add(QStringLiteral("NACA5/n%1.dat").arg(QLatin1String(d)), Naca::datFile(s, s.name),
            QStringLiteral("NACA %1 - PROFIL CINQ CHIFFRES").arg(QLatin1String(d)));
    }

    // Faulty files, each showing one message of the checker.
    const Naca::Section base = Naca::fourDigit(QStringLiteral("2412"), 21);
    const QStringList good = dataRows(base);
    const int le = int(base.upper.size()) - 1; // index of the leading-edge row among the data rows
    struct Fault {
        const char *file;
        const char *title;
        std::function<void(QStringList &)> change;
    };
    const Fault faults[] = {
        {"premier-x.dat", "NACA 2412 PREMIER X 0.99999",
         [](QStringList &r) { r[0] = QStringLiteral("0.99999  0.00000"); }},
        {"premier-y.dat", "NACA 2412 PREMIER Y 0.0013",
         [](QStringList &r) { r[0] = QStringLiteral("1.00000  0.00130"); }},
        {"dernier-x.dat", "NACA 2412 DERNIER X 0.998",
         [](QStringList &r) { r.last() = QStringLiteral("0.99800  0.00000"); }},
        {"dernier-y.dat", "NACA 2412 DERNIER Y -0.0013",
         [](QStringList &r) { r.last() = QStringLiteral("1.00000  -0.00130"); }},
        {"bord-attaque.dat", "NACA 2412 BORD D'ATTAQUE (0.0001, 0.0002)",
         [le](QStringList &r) { r[le] = QStringLiteral("0.00010  0.00020"); }},
        {"bord-attaque-y.dat", "NACA 2412 BORD D'ATTAQUE Y 0.0003",
         [le](QStringList &r) { r[le] = QStringLiteral("0.00000  0.00030"); }},
        {"bosse.dat", "NACA 2412 BOSSE EN X", [](QStringList &r) { r.swapItemsAt(5, 6); }},
        {"inverse.dat", "NACA 2412 A L'ENVERS",
         [le](QStringList &r) {
             // From the leading edge over the upper surface to the trailing
             // edge, and back under the lower surface to the leading edge.
             QStringList upper = r.mid(0, le + 1);
             QStringList lower = r.mid(le + 1, r.size() - le - 2);
             std::reverse(upper.begin(), upper.end());
             std::reverse(lower.begin(), lower.end());
             r = upper + lower;
             r << upper.first();
         }},
        {"tabulation.dat", "NACA 2412 TABULATION",
         [](QStringList &r) { r[3].replace(QStringLiteral("  "), QStringLiteral("\t")); }},
        {"x-texte.dat", "NACA 2412 X NON NUMERIQUE",
         [](QStringList &r) { r[4] = QStringLiteral("O.8  0.02"); }},
        {"trois-colonnes.dat", "NACA 2412 TROIS COLONNES",
         [](QStringList &r) { r[7] = r[7] + QStringLiteral("  0.0"); }},
        {"trop-long.dat", "NACA 2412 257 LIGNES",
         [](QStringList &r) {
             const Naca::Section s = Naca::fourDigit(QStringLiteral("2412"), 129);
             r = dataRows(s); // 129 + 128 rows
         }},
        {"titre-seul.dat", "TITRE SEUL", [](QStringList &r) { r.clear(); }},
    };
    for (const Fault &f : faults) {
        QStringList rows = good;
        f.change(rows);
        add(QStringLiteral("Defauts/") + QLatin1String(f.file),
            joined(QLatin1String(f.title), rows),
            QLatin1String(f.title) + QStringLiteral(" - FICHIER FAUTIF"));
    }

    // Never listed: a file lying in Airfoils itself and a text file.
    add(QStringLiteral("hors-dossier.dat"), Naca::datFile(base, QStringLiteral("NACA 2412")),
        QString());
    ok &= writeFile(airfoils + QStringLiteral("/NACA4/lisezmoi.txt"),
                    "Profils NACA calcules par leurs formules.\r\n");
    // An index entry whose file is missing.
    dico << QStringLiteral("\\NACA4\\N0010.DAT;NACA 0010 - FICHIER ABSENT");

    ok &= writeFile(QDir(folder).filePath(QStringLiteral("dico.txt")),
                    Cp1252::encode(dico.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")));
    return ok ? 0 : 1;
}
