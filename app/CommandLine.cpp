#include "app/CommandLine.h"

#include "catalogue/AirfoilFile.h"
#include "catalogue/CatalogueCommands.h"
#include "catalogue/CatalogueTexts.h"
#include "cutting/ExportJob.h"
#include "hybrid/HotWireCommand.h"
#include "hybrid/PanelCommand.h"
#include "profiles/ProfileStore.h"
#include "ui/Language.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

namespace
{

using Language::pick;

// The database at path (the file, or the folder holding Profils.pro).
bool loadDatabase(ProfileStore &store, const QString &path, QTextStream &err)
{
    const QString file = ProfileStore::databaseFile(path);
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly)) {
        err << Language::pick(QStringLiteral("Base de profils illisible : "),
                              QStringLiteral("Cannot read the airfoil database: "))
            << file << " (" << f.errorString() << ")" << Qt::endl;
        return false;
    }
    const QByteArray bytes = f.readAll();
    store.dataFolder = QFileInfo(file).absolutePath();
    store.databasePath = QFileInfo(file).absoluteFilePath();
    store.loadFromBytes(bytes);
    if (!store.databaseLoaded) {
        err << Language::pick(QStringLiteral("Base de profils inutilisable : "),
                              QStringLiteral("Unusable airfoil database: "))
            << file << Qt::endl;
        return false;
    }
    store.dataError = false;
    return true;
}

int exportTemplates(const Subcommand::Call &call)
{
    QTextStream &out = call.out;
    QTextStream &err = call.err;
    const QString db = QStringLiteral("db"), format = QStringLiteral("format"),
                  profile = QStringLiteral("profile"), templ = QStringLiteral("template"),
                  all = QStringLiteral("all"), output = QStringLiteral("o");
    if (!call.isSet(db) || !call.isSet(format) || !call.isSet(output))
        return call.usage(
            pick("--db, --format et -o sont obligatoires.", "--db, --format and -o are required."));
    if (call.value(output).isEmpty())
        return call.usage(pick("-o : le nom du fichier est vide.", "-o: the file name is empty."));
    VectorExport::Options options;
    if (!VectorExport::parseFormat(call.value(format), &options.format))
        return call.usage(pick("Format inconnu : ", "Unknown format: ") + call.value(format));
    const QString sheet = call.value(QStringLiteral("sheet"));
    if (!VectorExport::parseSheet(sheet, &options.sheet))
        return call.usage(pick("Taille de feuille erronée : ", "Bad sheet size: ") + sheet);
    const QString gap = call.value(QStringLiteral("gap"));
    bool ok = false;
    options.gap = QString(gap).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
    if (!ok || options.gap < 0 || options.gap > 1000)
        return call.usage(pick("Écart erroné : ", "Bad gap: ") + gap);
    QString bad;
    if (!ExportJob::takeCutting(call, &options, &bad))
        return call.usage(bad);
    if (call.isSet(templ) && call.isSet(all))
        return call.usage(
            pick("--template et --all s'excluent.", "--template and --all exclude each other."));
    int templateNumber = 1;
    if (call.isSet(templ)) {
        templateNumber = call.value(templ).toInt(&ok);
        if (!ok)
            return call.usage(pick("Numéro de gabarit erroné : ", "Bad template number: ") +
                              call.value(templ));
    }
    const bool dat = options.format == VectorExport::Format::Dat;
    if (!call.isSet(profile) && (dat || !call.isSet(all)))
        return call.usage(
            dat ? pick("--format dat demande --profile.", "--format dat needs --profile.")
                : pick("Donnez --profile, ou --all pour tous les profils.",
                       "Give --profile, or --all for every profile."));

    ProfileStore store;
    if (!loadDatabase(store, call.value(db), err))
        return CommandLine::BadInput;

    std::vector<int> profiles;
    if (call.isSet(profile)) {
        const int p = ExportJob::findProfile(store, call.value(profile));
        if (p < 0) {
            err << pick("Profil inconnu : ", "Unknown airfoil: ") << call.value(profile)
                << Qt::endl;
            return CommandLine::BadInput;
        }
        profiles.push_back(p);
    } else {
        for (int p = 0; p < store.count(); ++p)
            profiles.push_back(p);
    }

    const QString path = call.value(output);
    QString error;
    if (dat) {
        if (!ExportJob::exportDat(store, profiles.front(), path, &error)) {
            err << path << ": " << error << Qt::endl;
            return CommandLine::WriteFailed;
        }
        out << path << Qt::endl;
        return CommandLine::Ok;
    }

    ExportJob::Picks picks;
    if (call.isSet(all)) {
        picks = ExportJob::allTemplatesOf(store, profiles);
    } else {
        const int p = profiles.front();
        if (templateNumber < 1 || templateNumber > store.templateCount(p)) {
            err << pick("Le profil %1 a %2 gabarit(s) : pas de n° %3",
                        "Airfoil %1 has %2 template(s): no # %3")
                       .arg(store.name(p))
                       .arg(store.templateCount(p))
                       .arg(templateNumber)
                << Qt::endl;
            return CommandLine::BadInput;
        }
        picks.emplace_back(p, templateNumber - 1);
    }

    // With --all a template that cannot be drawn is named and left out; one
    // asked for by number stops the export.
    std::vector<RibVectors::Rib> ribs;
    QStringList skipped;
    if (!ExportJob::buildRibs(store, picks, 50, options.layers, &ribs, &error,
                              call.isSet(all) ? &skipped : nullptr)) {
        err << error << Qt::endl;
        return CommandLine::BadInput;
    }
    for (const QString &reason : skipped)
        err << pick("Laissé de côté : ", "Skipped: ") << reason << Qt::endl;
    if (ribs.empty()) {
        err << pick("Aucun gabarit à exporter.", "No template to export.") << Qt::endl;
        return CommandLine::BadInput;
    }
    for (const RibVectors::Rib &rib : ribs) {
        if (rib.templateRefused)
            err << rib.profileName << " #" << rib.templateIndex + 1 << ": " << rib.refusal
                << Qt::endl;
    }
    const VectorExport::Document doc = VectorExport::arrange(std::move(ribs), options);
    if (!VectorExport::save(path, doc, options.format, &error)) {
        err << path << ": " << error << Qt::endl;
        return CommandLine::WriteFailed;
    }
    for (const QString &finding : doc.findings)
        err << finding << Qt::endl;
    out << path << ": " << doc.ribs.size() << pick(" nervure(s), ", " rib(s), ")
        << VectorExport::report(doc) << Qt::endl;
    if (!skipped.isEmpty()) {
        err << pick("%1 gabarit(s) laissé(s) de côté sur %2.", "%1 of %2 template(s) skipped.")
                   .arg(skipped.size())
                   .arg(picks.size())
            << Qt::endl;
        return CommandLine::Skipped;
    }
    return CommandLine::Ok;
}

int checkFiles(const Subcommand::Call &call)
{
    const QStringList files = call.positional();
    if (files.isEmpty())
        return call.usage(pick("Aucun fichier à vérifier.", "No file to check."));
    bool allUsable = true;
    for (const QString &path : files) {
        AirfoilFile file;
        QString error;
        const AirfoilFile::ReadStatus status = file.read(path, &error);
        bool usable = false;
        bool correctable = false;
        switch (status) {
        case AirfoilFile::ReadStatus::Missing:
            file.messages.append(CatalogueTexts::fileNotFound(path));
            break;
        case AirfoilFile::ReadStatus::FileError:
            file.messages.append(CatalogueTexts::fileError(path, error));
            break;
        case AirfoilFile::ReadStatus::TooLarge:
            file.messages.append(CatalogueTexts::tooLarge());
            break;
        case AirfoilFile::ReadStatus::TooManyRows:
            file.messages.append(CatalogueTexts::tooManyRows());
            break;
        case AirfoilFile::ReadStatus::Read: {
            // The catalogue's check and messages; errors (severity 2) need
            // correcting before the profile can be used.
            const int severity = file.CheckProfile(false, true);
            if (file.unusable)
                file.messages.prepend(CatalogueTexts::unusable());
            usable = !file.unusable && severity < 2;
            correctable = !file.unusable && severity >= 2;
            break;
        }
        }
        allUsable = allUsable && usable;
        call.out << path << ": "
                 << (usable        ? pick("utilisable", "usable")
                     : correctable ? pick("erreurs à corriger", "errors to correct")
                                   : pick("inutilisable", "unusable"))
                 << Qt::endl;
        for (const QString &m : file.messages)
            call.out << "  " << m << Qt::endl;
    }
    return allUsable ? CommandLine::Ok : CommandLine::Failed;
}

} // namespace

Subcommand CommandLine::exportRow()
{
    Subcommand row;
    row.name = QStringLiteral("export");
    row.synopsis = QStringLiteral("--db PATH --format svg|dxf|pdf|dat [--profile NAME] "
                                  "[--template N | --all] [--sheet WxH] [--gap MM] ") +
                   ExportJob::cuttingSynopsis() + QStringLiteral(" -o FILE");
    row.summary = pick("Écrit des gabarits en SVG, DXF ou PDF en vraie grandeur, ou un profil en "
                       "fichier .dat.",
                       "Writes templates as SVG, DXF or PDF at full size, or a profile as a "
                       ".dat file.");
    row.description = pick(
        "Les nervures sont posées sur des feuilles, calques cut, figures, profile, marks et text.\n"
        "La base n'est que lue.",
        "The ribs are laid out on sheets, on the layers cut, figures, profile, marks and text.\n"
        "The database is only read.");
    row.options = {
        {QStringLiteral("db"),
         pick("La base Profils.pro (ou son dossier).", "The database Profils.pro (or its folder)."),
         QStringLiteral("PATH")},
        {QStringLiteral("format"), pick("svg, dxf, pdf ou dat.", "svg, dxf, pdf or dat."),
         QStringLiteral("FORMAT")},
        {QStringLiteral("profile"),
         pick("Le nom du profil (majuscules ou minuscules).",
              "The profile's name (any letter case)."),
         QStringLiteral("NAME")},
        {QStringLiteral("template"),
         pick("Le numéro du gabarit, à partir de 1 (1 par défaut).",
              "The template's number, from 1 (default 1)."),
         QStringLiteral("N")},
        {QStringLiteral("all"),
         pick("Tous les gabarits du profil, ou de tous les profils sans --profile ; ceux qui ne "
              "peuvent pas être dessinés sont laissés de côté.",
              "Every template of the profile, or of every profile without --profile; those that "
              "cannot be drawn are skipped.")},
        {QStringLiteral("sheet"),
         pick("Taille de feuille en mm, LARGEURxHAUTEUR.", "Sheet size in mm, WIDTHxHEIGHT."),
         QStringLiteral("WxH"), QStringLiteral("600x300")},
        {QStringLiteral("gap"),
         pick("Espace entre les nervures en mm.", "Space between ribs in mm."),
         QStringLiteral("MM"), QStringLiteral("3")},
        {QStringList{QStringLiteral("o"), QStringLiteral("output")},
         pick("Le fichier à écrire.", "The file to write."), QStringLiteral("FILE")},
    };
    row.options += ExportJob::cuttingOptions();
    row.statuses = {
        {Ok, pick("Fichier écrit.", "File written.")},
        {Failed, Subcommand::wrongArgumentsMeaning()},
        {BadInput, pick("Base illisible, profil inconnu, gabarit absent, ou aucun gabarit "
                        "exportable.",
                        "Unreadable database, unknown profile, missing template, or no "
                        "template that can be exported.")},
        {WriteFailed, pick("Le fichier ne peut pas être écrit.", "The file cannot be written.")},
        {Skipped, pick("Fichier écrit sans les gabarits qui ne peuvent pas être dessinés (--all), "
                       "chacun nommé sur la sortie d'erreur.",
                       "File written without the templates that cannot be drawn (--all), each "
                       "named on standard error.")},
    };
    row.handler = exportTemplates;
    return row;
}

Subcommand CommandLine::checkRow()
{
    Subcommand row;
    row.name = QStringLiteral("check");
    row.synopsis = QStringLiteral("FILE.dat...");
    row.summary = pick("Lit et vérifie des fichiers de coordonnées (.dat).",
                       "Reads and checks airfoil coordinate files (.dat).");
    row.description = pick("Une ligne par fichier (utilisable, erreurs à corriger, inutilisable), "
                           "puis les messages du catalogue.",
                           "One line per file (usable, errors to correct, unusable), then the "
                           "catalogue's messages.");
    row.arguments = {
        {QStringLiteral("FILE.dat..."), pick("Les fichiers à vérifier.", "The files to check.")}};
    row.statuses = {
        {Ok, pick("Tous les fichiers sont utilisables.", "Every file is usable.")},
        {Failed, pick("Un fichier au moins n'est pas utilisable, ou arguments erronés.",
                      "Some file is not usable, or wrong arguments.")},
    };
    row.handler = checkFiles;
    return row;
}

CommandLine::CommandLine()
    : m_table(QStringLiteral("nervuria"), QStringLiteral(NERVURIA_VERSION),
              pick("Sans commande, ouvre les fenêtres (les options de la boîte à outils comme "
                   "-style restent possibles).",
                   "Without a command, opens the windows (the toolkit's options such as -style "
                   "still apply)."),
              [] {
                  std::vector<Subcommand> rows{exportRow(), checkRow(), PanelCommand::row(),
                                               HotWireCommand::row()};
                  for (Subcommand &row : CatalogueCommands::rows())
                      rows.push_back(std::move(row));
                  return rows;
              }())
{
}

bool CommandLine::isCommandLine(const QStringList &args) const
{
    return m_table.isCommandLine(args);
}

int CommandLine::run(const QStringList &args, QTextStream &out, QTextStream &err) const
{
    return m_table.run(args, out, err);
}

QString CommandLine::helpText() const
{
    return m_table.helpText();
}
