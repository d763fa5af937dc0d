#include "app/CommandLine.h"

#include "catalogue/AirfoilFile.h"
#include "catalogue/CatalogueCommands.h"
#include "catalogue/CatalogueTexts.h"
#include "cutting/ExportJob.h"
#include "hybrid/PanelCommand.h"
#include "profiles/ProfileStore.h"
#include "ui/Language.h"
#include "ui/Prompts.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

namespace
{

// On the terminal every message goes to the error stream and every
// question is answered No, so nothing waits for a user.
class ConsolePrompts : public Prompts
{
public:
    explicit ConsolePrompts(QTextStream &err) : m_err(err) {}
    void message(const QString &text) override { m_err << text << Qt::endl; }
    bool confirm(const QString &text) override
    {
        m_err << text << Qt::endl;
        return false;
    }
    QString chooseFolder(const QString &, const QString &) override { return {}; }
    QString saveFileName(const QString &, const QString &, const QString &,
                         const QString &) override
    {
        return {};
    }

private:
    QTextStream &m_err;
};

// Installs the console prompts for one run, then puts the previous ones back.
class PromptsScope
{
public:
    explicit PromptsScope(QTextStream &err) : m_prompts(err), m_previous(&Prompts::current())
    {
        Prompts::install(&m_prompts);
    }
    ~PromptsScope() { Prompts::install(m_previous); }

private:
    ConsolePrompts m_prompts;
    Prompts *m_previous;
};

// The database at path (the file, or the folder holding Profils.pro).
bool loadDatabase(ProfileStore &store, const QString &path, QTextStream &err)
{
    QString file = path;
    if (QFileInfo(path).isDir())
        file = QDir(path).filePath(ProfileStore::kFileName);
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

// The export's cutting options: --kerf, --nest, --grain, --copies.
QList<QCommandLineOption> cuttingOptions()
{
    return {QCommandLineOption(QStringLiteral("kerf"),
                               QStringLiteral("Width in mm the laser burns away (default 0)."),
                               QStringLiteral("MM")),
            QCommandLineOption(QStringLiteral("nest"),
                               QStringLiteral("shape (default): ribs fitted by their shapes; rows: "
                                              "by their boxes."),
                               QStringLiteral("shape|rows")),
            QCommandLineOption(QStringLiteral("grain"),
                               QStringLiteral("chord (default): chords along the sheet's length, "
                                              "turned by half turns only; free: quarter turns."),
                               QStringLiteral("chord|free")),
            QCommandLineOption(QStringLiteral("copies"),
                               QStringLiteral("Each rib N times (default 1)."),
                               QStringLiteral("N"))};
}

} // namespace

CommandLine::CommandLine()
{
    addCommand(QStringLiteral("export"),
               QStringLiteral("Writes templates as SVG, DXF or PDF at full size, or a profile "
                              "as a .dat file."),
               &CommandLine::exportCommand);
    addCommand(QStringLiteral("check"),
               QStringLiteral("Reads and checks airfoil coordinate files (.dat)."),
               &CommandLine::checkCommand);
    addCommand(QStringLiteral("panel"),
               QStringLiteral("Lists or exports every rib of a tapered wing panel."),
               [](const QStringList &args, QTextStream &out, QTextStream &err) {
                   return PanelCommand::run(args.mid(1), out, err);
               });
    // The catalogue's conversions, with their own options and report.
    for (const char *name : {"import", "normalise"}) {
        const QString command = QString::fromLatin1(name);
        addCommand(command,
                   command == QLatin1String("import")
                       ? QStringLiteral("FILE... --to FOLDER: converts coordinate files into a "
                                        "catalogue folder.")
                       : QStringLiteral("[--keep-open] FILE...: rewrites coordinate files in "
                                        "the usual layout."),
                   [command](const QStringList &args, QTextStream &out, QTextStream &) {
                       return CatalogueCommands::run(QStringList{command} + args.mid(1), out);
                   });
    }
}

void CommandLine::addCommand(const QString &name, const QString &summary, Handler handler)
{
    m_commands.push_back({name, summary, std::move(handler)});
}

bool CommandLine::isCommandLine(const QStringList &args) const
{
    if (args.size() < 2)
        return false;
    const QString first = args.at(1);
    if (first == QLatin1String("--help") || first == QLatin1String("-h"))
        return true;
    for (const Command &c : m_commands) {
        if (c.name == first)
            return true;
    }
    return false;
}

QString CommandLine::helpText() const
{
    QString text = QStringLiteral("Usage: nervuria [command] [options]\n"
                                  "Without a command, opens the windows.\n\nCommands:\n");
    for (const Command &c : m_commands)
        text += QStringLiteral("  %1  %2\n").arg(c.name, -9).arg(c.summary);
    text += QStringLiteral("\nnervuria COMMAND --help gives the options of a command.\n");
    return text;
}

int CommandLine::run(const QStringList &args, QTextStream &out, QTextStream &err)
{
    const QString first = args.size() > 1 ? args.at(1) : QString();
    for (const Command &c : m_commands) {
        if (c.name == first) {
            PromptsScope scope(err);
            QStringList rest = args.mid(2);
            rest.prepend(args.at(0) + QLatin1Char(' ') + c.name);
            return c.handler(rest, out, err);
        }
    }
    if (first == QLatin1String("--help") || first == QLatin1String("-h")) {
        out << helpText();
        return Ok;
    }
    err << Language::pick(QStringLiteral("Commande inconnue : "),
                          QStringLiteral("Unknown command: "))
        << first << "\n\n"
        << helpText();
    return Failed;
}

int CommandLine::exportCommand(const QStringList &args, QTextStream &out, QTextStream &err)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Writes templates of the database for cutting machines, at full size."));
    parser.addHelpOption();
    const QCommandLineOption db(QStringLiteral("db"),
                                QStringLiteral("The database Profils.pro (or its folder)."),
                                QStringLiteral("PATH"));
    const QCommandLineOption format(QStringLiteral("format"),
                                    QStringLiteral("svg, dxf, pdf or dat."),
                                    QStringLiteral("FORMAT"));
    const QCommandLineOption profile(QStringLiteral("profile"),
                                     QStringLiteral("The profile's name (any letter case)."),
                                     QStringLiteral("NAME"));
    const QCommandLineOption templ(QStringLiteral("template"),
                                   QStringLiteral("The template's number, from 1 (default 1)."),
                                   QStringLiteral("N"));
    const QCommandLineOption all(
        QStringLiteral("all"),
        QStringLiteral("Every template of the profile, or of every profile without --profile."));
    const QCommandLineOption sheet(
        QStringLiteral("sheet"),
        QStringLiteral("Sheet size in mm, WIDTHxHEIGHT (default 600x300)."), QStringLiteral("WxH"),
        QStringLiteral("600x300"));
    const QCommandLineOption gap(QStringLiteral("gap"),
                                 QStringLiteral("Space between ribs in mm (default 3)."),
                                 QStringLiteral("MM"), QStringLiteral("3"));
    const QCommandLineOption output(QStringList{QStringLiteral("o"), QStringLiteral("output")},
                                    QStringLiteral("The file to write."), QStringLiteral("FILE"));
    parser.addOptions({db, format, profile, templ, all, sheet, gap, output});
    const QList<QCommandLineOption> cutting = cuttingOptions();
    parser.addOptions(cutting);

    auto usage = [&](const QString &message) {
        err << message << "\n\n" << parser.helpText();
        return int(Failed);
    };
    if (!parser.parse(args))
        return usage(parser.errorText());
    if (parser.isSet(QStringLiteral("help"))) {
        out << parser.helpText();
        return Ok;
    }
    if (!parser.positionalArguments().isEmpty())
        return usage(QStringLiteral("Unexpected argument: ") +
                     parser.positionalArguments().first());
    if (!parser.isSet(db) || !parser.isSet(format) || !parser.isSet(output))
        return usage(QStringLiteral("--db, --format and -o are required."));
    VectorExport::Options options;
    if (!VectorExport::parseFormat(parser.value(format), &options.format))
        return usage(QStringLiteral("Unknown format: ") + parser.value(format));
    if (!VectorExport::parseSheet(parser.value(sheet), &options.sheet))
        return usage(QStringLiteral("Bad sheet size: ") + parser.value(sheet));
    bool ok = false;
    options.gap =
        QString(parser.value(gap)).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
    if (!ok || options.gap < 0 || options.gap > 1000)
        return usage(QStringLiteral("Bad gap: ") + parser.value(gap));
    QString bad;
    if (!VectorExport::parseCutting(parser.value(cutting[0]), parser.value(cutting[1]),
                                    parser.value(cutting[2]), parser.value(cutting[3]), &options,
                                    &bad))
        return usage(bad);
    if (parser.isSet(templ) && parser.isSet(all))
        return usage(QStringLiteral("--template and --all exclude each other."));
    int templateNumber = 1;
    if (parser.isSet(templ)) {
        templateNumber = parser.value(templ).toInt(&ok);
        if (!ok)
            return usage(QStringLiteral("Bad template number: ") + parser.value(templ));
    }
    const bool dat = options.format == VectorExport::Format::Dat;
    if (!parser.isSet(profile) && (dat || !parser.isSet(all)))
        return usage(dat ? QStringLiteral("--format dat needs --profile.")
                         : QStringLiteral("Give --profile, or --all for every profile."));

    ProfileStore store;
    if (!loadDatabase(store, parser.value(db), err))
        return BadInput;

    std::vector<int> profiles;
    if (parser.isSet(profile)) {
        const int p = ExportJob::findProfile(store, parser.value(profile));
        if (p < 0) {
            err << Language::pick(QStringLiteral("Profil inconnu : "),
                                  QStringLiteral("Unknown airfoil: "))
                << parser.value(profile) << Qt::endl;
            return BadInput;
        }
        profiles.push_back(p);
    } else {
        for (int p = 0; p < store.count(); ++p)
            profiles.push_back(p);
    }

    const QString path = parser.value(output);
    QString error;
    if (dat) {
        if (!ExportJob::exportDat(store, profiles.front(), path, &error)) {
            err << path << ": " << error << Qt::endl;
            return WriteFailed;
        }
        out << path << Qt::endl;
        return Ok;
    }

    ExportJob::Picks picks;
    if (parser.isSet(all)) {
        picks = ExportJob::allTemplatesOf(store, profiles);
        if (picks.empty()) {
            err << Language::pick(QStringLiteral("Aucun gabarit à exporter."),
                                  QStringLiteral("No template to export."))
                << Qt::endl;
            return BadInput;
        }
    } else {
        const int p = profiles.front();
        if (templateNumber < 1 || templateNumber > store.templateCount(p)) {
            err << Language::pick(QStringLiteral("Le profil %1 a %2 gabarit(s) : pas de n° %3"),
                                  QStringLiteral("Airfoil %1 has %2 template(s): no # %3"))
                       .arg(store.name(p))
                       .arg(store.templateCount(p))
                       .arg(templateNumber)
                << Qt::endl;
            return BadInput;
        }
        picks.emplace_back(p, templateNumber - 1);
    }

    std::vector<RibVectors::Rib> ribs;
    if (!ExportJob::buildRibs(store, picks, 50, options.layers, &ribs, &error)) {
        err << error << Qt::endl;
        return BadInput;
    }
    for (const RibVectors::Rib &rib : ribs) {
        if (rib.templateRefused)
            err << rib.profileName << " #" << rib.templateIndex + 1 << ": " << rib.refusal
                << Qt::endl;
    }
    const VectorExport::Document doc = VectorExport::arrange(std::move(ribs), options);
    const QByteArray data = VectorExport::bytes(doc, options.format, &error);
    if (data.isEmpty() || !VectorExport::write(path, data, &error)) {
        err << path << ": " << error << Qt::endl;
        return WriteFailed;
    }
    for (const QString &finding : doc.findings)
        err << finding << Qt::endl;
    out << path << ": " << doc.ribs.size() << " rib(s), " << VectorExport::report(doc) << Qt::endl;
    return Ok;
}

int CommandLine::checkCommand(const QStringList &args, QTextStream &out, QTextStream &err)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Reads and checks airfoil coordinate files; exit status 0 when every file is usable."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("files"), QStringLiteral("The .dat files."),
                                 QStringLiteral("FILE.dat..."));
    if (!parser.parse(args)) {
        err << parser.errorText() << "\n\n" << parser.helpText();
        return Failed;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        out << parser.helpText();
        return Ok;
    }
    const QStringList files = parser.positionalArguments();
    if (files.isEmpty()) {
        err << parser.helpText();
        return Failed;
    }
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
        out << path << ": "
            << (usable ? Language::pick(QStringLiteral("utilisable"), QStringLiteral("usable"))
                : correctable
                    ? Language::pick(QStringLiteral("erreurs à corriger"),
                                     QStringLiteral("errors to correct"))
                    : Language::pick(QStringLiteral("inutilisable"), QStringLiteral("unusable")))
            << Qt::endl;
        for (const QString &m : file.messages)
            out << "  " << m << Qt::endl;
    }
    return allUsable ? Ok : Failed;
}
