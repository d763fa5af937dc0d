#include "catalogue/CatalogueCommands.h"

#include "catalogue/AirfoilFile.h"
#include "catalogue/AirfoilImport.h"
#include "catalogue/AirfoilNormalise.h"
#include "ui/Language.h"

#include <QDir>
#include <QFileInfo>
#include <QTextStream>

namespace
{

using Language::pick;

// Exit statuses: every file went through, some did not (or a wrong
// argument), nothing to do.
constexpr int kAllDone = 0;
constexpr int kSomeRefused = Subcommand::kWrongArguments;
constexpr int kCannotRun = 2;

int import(const Subcommand::Call &call)
{
    QTextStream &out = call.out;
    const QStringList files = call.positional();
    const QString folder = call.value(QStringLiteral("to"));
    if (files.isEmpty() || folder.isEmpty())
        return call.usage(
            pick("Il faut des fichiers et --to DOSSIER.", "Files and --to FOLDER are needed."),
            kCannotRun);
    if (!QFileInfo(folder).isDir() && !QDir().mkpath(folder)) {
        out << folder << " : cannot create the folder\n";
        return kCannotRun;
    }
    // Nobody to ask: an existing file is kept.
    const AirfoilImport::Summary summary =
        AirfoilImport::importFiles(files, folder, [](const QString &) { return false; });
    out << AirfoilImport::summaryText(summary) << '\n';
    for (const QString &written : summary.written)
        out << QDir::toNativeSeparators(written) << '\n';
    return summary.refused.isEmpty() && summary.kept.isEmpty() ? kAllDone : kSomeRefused;
}

// One file normalised in place; a line says what happened.
bool normaliseFile(const QString &path, bool keepOpen, QTextStream &out)
{
    const QString name = QFileInfo(path).fileName();
    AirfoilFile file;
    QString error;
    const AirfoilFile::ReadStatus status = file.read(path, &error);
    if (status != AirfoilFile::ReadStatus::Read || file.unusable || file.pointCount < 3) {
        out << name << " : "
            << (status == AirfoilFile::ReadStatus::FileError
                    ? error
                    : Language::pick(QStringLiteral("illisible en entier (importez-le d'abord)"),
                                     QStringLiteral("not readable whole (import it first)")))
            << '\n';
        return false;
    }
    QList<QPointF> points;
    for (int i = 0; i < file.pointCount; ++i)
        points << QPointF(file.pointX[i], file.pointY[i]);
    const AirfoilNormalise::Result result = AirfoilNormalise::normalise(points, keepOpen);
    if (!result.ok) {
        out << name << " : " << result.refusal << '\n';
        return false;
    }
    if (!AirfoilImport::writeWhole(path, AirfoilImport::datBytes(file.title(), result.points),
                                   &error)) {
        out << name << " : " << error << '\n';
        return false;
    }
    const QString move = QString::number(result.largestMove * 100, 'f', 4);
    out << name << " : "
        << Language::pick(QStringLiteral("plus grand déplacement ") + move +
                              QStringLiteral(" % de la corde"),
                          QStringLiteral("largest move ") + move + QStringLiteral(" % of chord"))
        << (result.closed ? QString()
                          : Language::pick(QStringLiteral(", bord de fuite laissé ouvert"),
                                           QStringLiteral(", trailing edge left open")));
    // A wide trailing edge closed by bending changes the airfoil: say so.
    if (result.closed && result.closingMove > AirfoilNormalise::kLargeClosing) {
        const QString closing = QString::number(result.closingMove * 100, 'f', 2);
        out << Language::pick(
            QStringLiteral(", la fermeture du bord de fuite a déplacé l'arrière de ") + closing +
                QStringLiteral(" % de la corde (plus de 0.5 %) : --keep-open le laisse ouvert"),
            QStringLiteral(", closing the trailing edge moved the rear by ") + closing +
                QStringLiteral(" % of chord (more than 0.5 %): --keep-open leaves it open"));
    }
    out << '\n';
    return true;
}

int normalise(const Subcommand::Call &call)
{
    const QStringList files = call.positional();
    if (files.isEmpty())
        return call.usage(pick("Aucun fichier à normaliser.", "No file to normalise."), kCannotRun);
    const bool keepOpen = call.isSet(QStringLiteral("keep-open"));
    bool all = true;
    for (const QString &path : files)
        all = normaliseFile(path, keepOpen, call.out) && all;
    return all ? kAllDone : kSomeRefused;
}

} // namespace

std::vector<Subcommand> CatalogueCommands::rows()
{
    Subcommand importRow;
    importRow.name = QStringLiteral("import");
    importRow.synopsis = QStringLiteral("FILE... --to FOLDER");
    importRow.summary = pick("Convertit des fichiers de coordonnées dans un dossier du catalogue.",
                             "Converts coordinate files into a catalogue folder.");
    importRow.description =
        pick("Chaque fichier devient un nouveau fichier .dat du dossier ; un fichier existant est "
             "gardé.\nUne ligne de bilan, puis les fichiers écrits.",
             "Each file becomes a new .dat file in the folder; an existing file is kept.\nA "
             "summary line, then the files written.");
    importRow.arguments = {
        {QStringLiteral("FILE..."), pick("Les fichiers à convertir.", "The files to convert.")}};
    importRow.options = {{QStringLiteral("to"),
                          pick("Le dossier où les écrire (créé au besoin).",
                               "The folder to write them in (made when missing)."),
                          QStringLiteral("FOLDER")}};
    importRow.statuses = {
        {kAllDone, pick("Tous les fichiers sont convertis.", "Every file was converted.")},
        {kSomeRefused, pick("Des fichiers sont refusés ou gardés, ou arguments erronés.",
                            "Some files were refused or kept, or wrong arguments.")},
        {kCannotRun, pick("Rien à faire : pas de fichier, pas de --to, ou dossier impossible à "
                          "créer.",
                          "Nothing to do: no file, no --to, or a folder that cannot be made.")},
    };
    importRow.handler = import;

    Subcommand normaliseRow;
    normaliseRow.name = QStringLiteral("normalise");
    normaliseRow.synopsis = QStringLiteral("[--keep-open] FILE...");
    normaliseRow.summary = pick("Remet des fichiers de coordonnées en place sans les déformer.",
                                "Puts coordinate files in place without deforming them.");
    normaliseRow.description = pick(
        "Chaque fichier est réécrit sur place : bord d'attaque en (0, 0), bord de fuite en (1, "
        "0),\nfermé en pliant l'arrière des surfaces sauf avec --keep-open. Un fichier qui "
        "deviendrait\nfautif est laissé tel quel. Une ligne par fichier.",
        "Each file is rewritten in place: leading edge at (0, 0), trailing edge at (1, 0),\n"
        "closed by bending the rear of the surfaces unless --keep-open. A file that would come\n"
        "out with errors is left as it is. One line per file.");
    normaliseRow.arguments = {
        {QStringLiteral("FILE..."), pick("Les fichiers à normaliser.", "The files to normalise.")}};
    normaliseRow.options = {
        {QStringLiteral("keep-open"),
         pick("Laisse ouvert un bord de fuite ouvert.", "Leaves an open trailing edge open.")}};
    normaliseRow.statuses = {
        {kAllDone, pick("Tous les fichiers sont normalisés.", "Every file was normalised.")},
        {kSomeRefused,
         pick("Des fichiers sont refusés ou laissés tels quels, ou arguments erronés.",
              "Some files were refused or left as they were, or wrong arguments.")},
        {kCannotRun, pick("Aucun fichier donné.", "No file given.")},
    };
    normaliseRow.handler = normalise;
    return {importRow, normaliseRow};
}

bool CatalogueCommands::isCommand(const QStringList &arguments)
{
    if (arguments.isEmpty())
        return false;
    for (const Subcommand &row : rows()) {
        if (row.name == arguments[0])
            return true;
    }
    return false;
}

int CatalogueCommands::run(const QStringList &arguments, QTextStream &out)
{
    for (const Subcommand &row : rows()) {
        if (!arguments.isEmpty() && row.name == arguments[0])
            return row.run(arguments.mid(1), out, out);
    }
    return Subcommand::kWrongArguments;
}
