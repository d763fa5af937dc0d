#include "hybrid/HotWireCommand.h"

#include "cutting/VectorExport.h"
#include "hybrid/FoamCores.h"
#include "hybrid/PanelCommand.h"
#include "hybrid/PanelKit.h"
#include "profiles/ProfileStore.h"
#include "profiles/WholeFile.h"
#include "ui/Language.h"

#include <QFile>
#include <QFileInfo>
#include <QTextStream>

using Language::pick;

Subcommand HotWireCommand::row()
{
    Subcommand row;
    row.name = QStringLiteral("hotwire");
    row.synopsis = QStringLiteral(
        "--db PATH --root NAME[:T] --tip NAME[:T] --span MM --width MM [--offset MM] [--kerf MM] "
        "[--washout DEG] [--pivot P] [--sweep MM] [--feed MM/MIN] [--feed-mode combined|inverse] "
        "[--lead MM] [-o FILE.ngc] [--templates FILE]");
    row.summary = pick("Noyau en mousse d'un panneau : G-code 4 axes pour fil chaud, gabarits de "
                       "découpe à la main.",
                       "A panel's foam core: 4-axis hot-wire G-code, hand-cutting templates.");
    row.description = pick(
        "Le noyau est le contour des gabarits (le coffrage est l'épaisseur du coffrage du noyau),\n"
        "agrandi de la moitié de la saignée. Les tours sont à --width l'une de l'autre, la face\n"
        "d'emplanture à --offset de la tour de gauche (XY), celle du saumon --span plus loin "
        "(UV).\n"
        "Le fil part derrière le bord de fuite, suit l'extrados jusqu'au bord d'attaque, revient\n"
        "par l'intrados et ressort ; aucune face ne va plus vite que --feed. Origine : bord\n"
        "d'attaque de l'emplanture sur sa corde. --templates écrit les deux gabarits repérés\n"
        "(svg, dxf ou pdf selon le nom du fichier).",
        "The core is the templates' outline (the skin is the sheeting), grown by half the kerf.\n"
        "The towers are --width apart, the root face --offset from the left tower (XY), the tip\n"
        "face --span further (UV). The wire starts behind the trailing edge, follows the upper\n"
        "surface to the leading edge, comes back along the lower one and leaves; neither face\n"
        "moves faster than --feed. Origin: the root's leading edge on its chord line.\n"
        "--templates writes both marked templates (svg, dxf or pdf by the file's name).");
    auto option = [](const char *name, const QString &help, const char *value) {
        return QCommandLineOption(QString::fromLatin1(name), help, QString::fromLatin1(value));
    };
    row.options = {
        option("db",
               pick("La base Profils.pro (ou son dossier).",
                    "The database Profils.pro (or its folder)."),
               "PATH"),
        option("root",
               pick("Le profil d'emplanture et son gabarit (1 par défaut).",
                    "The root profile and its template (default 1)."),
               "NAME[:T]"),
        option("tip",
               pick("Le profil du saumon et son gabarit (1 par défaut).",
                    "The tip profile and its template (default 1)."),
               "NAME[:T]"),
        option("span", pick("L'envergure du bloc en mm.", "The block's span in mm."), "MM"),
        option("width", pick("L'écart des tours en mm.", "The distance between the towers in mm."),
               "MM"),
        option("offset",
               pick("De la tour de gauche à la face d'emplanture, en mm (0 par défaut).",
                    "From the left tower to the root face, in mm (default 0)."),
               "MM"),
        option(
            "kerf",
            pick("La saignée du fil en mm (0 par défaut).", "The wire's kerf in mm (default 0)."),
            "MM"),
        option("washout",
               pick("Vrillage : le saumon DEG plus bas que l'emplanture.",
                    "Washout: the tip DEG lower than the root."),
               "DEG"),
        option("pivot",
               pick("Le point de rotation du saumon, en % de sa corde (25 par défaut).",
                    "Where the tip turns, in % of its chord (default 25)."),
               "P"),
        option("sweep",
               pick("La flèche : le bord d'attaque du saumon MM en arrière (0 par défaut).",
                    "Sweep: the tip's leading edge MM further back (default 0)."),
               "MM"),
        option("feed",
               pick("La vitesse de coupe en mm/min (200 par défaut).",
                    "The cutting speed in mm/min (default 200)."),
               "MM/MIN"),
        option("feed-mode",
               pick("Le F de chaque ligne : combined, en mm/min sur X, Y, U et V ensemble "
                    "(par défaut) ; inverse, en temps inverse (G93), pour les commandes qui "
                    "rapportent le F d'un G94 à XY seul.",
                    "Each line's F: combined, mm/min along X, Y, U and V together (default); "
                    "inverse, inverse time (G93), for controllers that take a G94 F along XY "
                    "alone."),
               "MODE"),
        option("lead",
               pick("L'entrée du fil derrière le bord de fuite, en mm (10 par défaut).",
                    "The lead-in behind the trailing edge, in mm (default 10)."),
               "MM"),
        {QStringList{QStringLiteral("o"), QStringLiteral("output")},
         pick("Le fichier G-code à écrire.", "The G-code file to write."), QStringLiteral("FILE")},
        option("templates",
               pick("Les gabarits de découpe à la main (svg, dxf ou pdf).",
                    "The hand-cutting templates (svg, dxf or pdf)."),
               "FILE"),
    };
    row.statuses = {
        {Done, pick("Fait.", "Done.")},
        {Subcommand::kWrongArguments, Subcommand::wrongArgumentsMeaning()},
        {Refused, pick("La base, les profils ou les réglages sont refusés.",
                       "The database, the profiles or the settings were refused.")},
        {WriteFailed, pick("Un fichier ne peut pas être écrit.", "A file cannot be written.")},
    };
    row.handler = [](const Subcommand::Call &call) {
        QString error;
        const std::optional<Options> o = parse(call, error);
        if (!o)
            return call.usage(error);
        return runCut(*o, call.err);
    };
    return row;
}

std::optional<HotWireCommand::Options> HotWireCommand::parse(const Subcommand::Call &call,
                                                             QString &error)
{
    auto fail = [&](const QString &why) {
        error = why;
        return std::nullopt;
    };
    for (const char *needed : {"db", "root", "tip", "span", "width"}) {
        if (!call.isSet(QString::fromLatin1(needed)))
            return fail(QStringLiteral("--db, --root, --tip, --span and --width are needed"));
    }
    Options o;
    o.database = call.value(QStringLiteral("db"));
    o.panel.name = QStringLiteral("CORE");
    o.panel.ribCount = 2;
    for (const char *side : {"root", "tip"}) {
        const QString name = QString::fromLatin1(side);
        const std::optional<PanelEnd> e = PanelCommand::parseEnd(call.value(name));
        if (!e)
            return fail(QStringLiteral("--") + name +
                        QStringLiteral(": a template number counts from 1: ") + call.value(name));
        (name == QLatin1String("root") ? o.panel.root : o.panel.tip) = *e;
    }
    HotWire::Settings &s = o.settings;
    const std::pair<const char *, double *> numbers[] = {
        {"span", &s.span},   {"width", &s.width}, {"offset", &s.offset}, {"kerf", &s.kerf},
        {"sweep", &s.sweep}, {"feed", &s.feed},   {"lead", &s.lead}};
    for (const auto &[name, target] : numbers) {
        const QString option = QString::fromLatin1(name);
        if (!call.isSet(option))
            continue;
        const std::optional<double> v = PanelCommand::parseNumber(call.value(option));
        if (!v)
            return fail(QStringLiteral("--") + option + QStringLiteral(": not a number: ") +
                        call.value(option));
        *target = *v;
    }
    o.panel.span = s.span;
    // Washout and pivot as the panel reads them.
    KitOptions kit;
    for (const char *name : {"washout", "pivot"}) {
        const QString option = QString::fromLatin1(name);
        if (call.isSet(option) &&
            PanelKit::takeOption(QStringLiteral("--") + option, call.value(option), &o.panel, &kit,
                                 &error) == 0)
            return std::nullopt;
    }
    s.pivot = kit.pivot;
    if (call.isSet(QStringLiteral("feed-mode")) &&
        !HotWire::parseFeedMode(call.value(QStringLiteral("feed-mode")), &s.feedMode))
        return fail(QStringLiteral("--feed-mode: combined or inverse, not ") +
                    call.value(QStringLiteral("feed-mode")));
    o.output = call.value(QStringLiteral("o"));
    o.templates = call.value(QStringLiteral("templates"));
    if (o.output.isEmpty() && o.templates.isEmpty())
        return fail(QStringLiteral("nothing to do: -o FILE.ngc or --templates FILE"));
    VectorExport::Format format;
    if (!o.templates.isEmpty() &&
        (!VectorExport::parseFormat(QFileInfo(o.templates).suffix(), &format) ||
         format == VectorExport::Format::Dat))
        return fail(QStringLiteral("--templates: a .svg, .dxf or .pdf file, not ") + o.templates);
    return o;
}

int HotWireCommand::run(const QStringList &args, QTextStream &out, QTextStream &err)
{
    return row().run(args, out, err);
}

int HotWireCommand::runCut(const Options &o, QTextStream &err)
{
    QFile file(ProfileStore::databaseFile(o.database));
    if (!file.open(QIODevice::ReadOnly)) {
        err << file.fileName() << ": " << file.errorString() << Qt::endl;
        return Refused;
    }
    ProfileStore store;
    store.loadFromBytes(file.readAll());
    // The settings first: a block wider than the towers is said before
    // anything is drawn.
    FoamCores::Ends ends;
    QString error;
    HotWire::Settings settings = o.settings;
    if (const QString wrong = HotWire::check(settings); !wrong.isEmpty()) {
        err << wrong << Qt::endl;
        return Refused;
    }
    if (!FoamCores::read(o.panel, store, &ends, &error)) {
        err << error << Qt::endl;
        return Refused;
    }
    settings.turn = ends.turn;
    const HotWire::Cut cut = HotWire::plan(ends.core, settings);
    if (!cut.ok()) {
        err << cut.error << Qt::endl;
        return Refused;
    }
    // Both files made before either is written.
    QByteArray drawing;
    VectorExport::Options options;
    if (!o.templates.isEmpty()) {
        VectorExport::parseFormat(QFileInfo(o.templates).suffix(), &options.format);
        drawing = FoamCores::templateFile(ends, settings, options, &error);
        if (drawing.isEmpty()) {
            err << o.templates << ": " << error << Qt::endl;
            return WriteFailed;
        }
    }
    if (!o.output.isEmpty() &&
        !WholeFile::write(o.output, HotWire::gcode(cut, FoamCores::comments(ends, settings)),
                          &error)) {
        err << o.output << ": " << error << Qt::endl;
        return WriteFailed;
    }
    if (!o.templates.isEmpty() && !VectorExport::write(o.templates, drawing, &error)) {
        err << o.templates << ": " << error << Qt::endl;
        return WriteFailed;
    }
    return Done;
}
