#include "hybrid/PanelCommand.h"

#include "cutting/ExportJob.h"
#include "cutting/VectorExport.h"
#include "hybrid/PanelKit.h"
#include "profiles/ProfileStore.h"
#include "ui/Language.h"

#include <QCommandLineParser>
#include <QFile>
#include <QTextStream>

namespace
{

using Language::pick;

// A number with a decimal point.
std::optional<double> number(const QString &text)
{
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}

// "NAME" or "NAME:T" (T counted from 1).
std::optional<PanelEnd> end(const QString &text)
{
    PanelEnd e;
    e.profile = text;
    const int colon = int(text.lastIndexOf(QLatin1Char(':')));
    if (colon >= 0) {
        bool ok = false;
        const int t = text.mid(colon + 1).toInt(&ok);
        if (!ok || t < 1)
            return std::nullopt;
        e.profile = text.left(colon);
        e.templ = t - 1;
    }
    return e;
}

} // namespace

std::optional<PanelEnd> PanelCommand::parseEnd(const QString &text)
{
    return end(text);
}

std::optional<double> PanelCommand::parseNumber(const QString &text)
{
    return number(text);
}

Subcommand PanelCommand::row()
{
    Subcommand row;
    row.name = QStringLiteral("panel");
    row.synopsis =
        QStringLiteral(
            "--db PATH --root NAME[:T] --tip NAME[:T] --span MM (--ribs N | --stations D1,D2,...) "
            "[--root-angle A] [--tip-angle A] [--mixed-skins] [--list] [--format svg|dxf|pdf -o "
            "FILE] ") +
        ExportJob::cuttingSynopsis() + QStringLiteral(" [--from FILE] [kit options]");
    row.summary = pick("Liste ou exporte toutes les nervures d'un panneau d'aile trapézoïdal.",
                       "Lists or exports every rib of a tapered wing panel.");
    row.description =
        pick("T est le numéro d'un gabarit tel que la fenêtre de dessin le montre (1 pour le "
             "premier).\n--list écrit une ligne par nervure, --format toutes les nervures sur des "
             "feuilles dans un fichier,\nà leur corde exacte au centième de millimètre. La base "
             "n'est que lue.",
             "T is a template number as the drawing window shows it (1 for the first).\n--list "
             "writes one line per rib, --format every rib laid out on sheets in one file,\nat its "
             "exact chord to 0.01 mm. The database is only read.");
    row.options = {
        {QStringLiteral("db"),
         pick("La base Profils.pro (ou son dossier).", "The database Profils.pro (or its folder)."),
         QStringLiteral("PATH")},
        {QStringLiteral("root"),
         pick("Le profil d'emplanture et son gabarit (1 par défaut).",
              "The root profile and its template (default 1)."),
         QStringLiteral("NAME[:T]")},
        {QStringLiteral("tip"),
         pick("Le profil du saumon et son gabarit (1 par défaut).",
              "The tip profile and its template (default 1)."),
         QStringLiteral("NAME[:T]")},
        {QStringLiteral("span"), pick("L'envergure du panneau en mm.", "The panel's span in mm."),
         QStringLiteral("MM")},
        {QStringLiteral("ribs"),
         pick("Le nombre de nervures, régulièrement espacées.",
              "The number of ribs, evenly spaced."),
         QStringLiteral("N")},
        {QStringLiteral("stations"),
         pick("Les positions des nervures en mm depuis l'emplanture, séparées par des virgules.",
              "The ribs' distances from the root in mm, separated by commas."),
         QStringLiteral("D1,D2,...")},
        {QStringLiteral("root-angle"),
         pick("Le calage à l'emplanture en degrés.", "The incidence at the root in degrees."),
         QStringLiteral("A")},
        {QStringLiteral("tip-angle"),
         pick("Le calage au saumon en degrés.", "The incidence at the tip in degrees."),
         QStringLiteral("A")},
        {QStringLiteral("mixed-skins"),
         pick("Accepte des coffrages différents à l'emplanture et au saumon.",
              "Accepts different skins at the root and the tip.")},
        {QStringLiteral("list"), pick("Une ligne par nervure.", "One line per rib.")},
        {QStringLiteral("format"), pick("svg, dxf ou pdf, avec -o.", "svg, dxf or pdf, with -o."),
         QStringLiteral("FORMAT")},
        {QStringList{QStringLiteral("o"), QStringLiteral("output")},
         pick("Le fichier à écrire.", "The file to write."), QStringLiteral("FILE")},
        {QStringLiteral("from"),
         pick("Un fichier de panneau (JSON) ; les autres options le modifient.",
              "A panel file (JSON); the other options change it."),
         QStringLiteral("FILE")},
        {QStringLiteral("washout"),
         pick("Vrillage : le saumon DEG plus bas que l'emplanture (--root-angle 0 --tip-angle "
              "-DEG).",
              "Washout: the tip DEG lower than the root (--root-angle 0 --tip-angle -DEG)."),
         QStringLiteral("DEG")},
        {QStringLiteral("pivot"),
         pick("Le point de rotation de chaque nervure, en % de sa corde (25 par défaut).",
              "Where each rib turns, in % of its chord (default 25)."),
         QStringLiteral("P")},
        {QStringLiteral("spar"),
         pick("Une encoche de longeron, W de large et D de profondeur, à POS % (R..T de "
              "l'emplanture au saumon) ; répétable.",
              "A spar notch W wide and D deep at POS % (R..T from root to tip); repeatable."),
         QStringLiteral("POS:WxD[:top|bottom|both]")},
        {QStringLiteral("le-cut"),
         pick("La nervure s'arrête MM derrière le bord d'attaque.",
              "The rib stops MM behind the leading edge."),
         QStringLiteral("MM")},
        {QStringLiteral("te-cut"),
         pick("La nervure s'arrête MM devant le bord de fuite.",
              "The rib stops MM ahead of the trailing edge."),
         QStringLiteral("MM")},
        {QStringLiteral("jig"),
         pick("Pattes de montage jusqu'au chantier, H sous le pivot.",
              "Jig tabs down to the building board, H below the pivot."),
         QStringLiteral("H")},
        {QStringLiteral("tabs"),
         pick("Les positions des pattes en % (15,85 par défaut).",
              "The tabs' positions in % (default 15,85)."),
         QStringLiteral("A,B")},
        {QStringLiteral("tab-width"),
         pick("La largeur des pattes (6 par défaut).", "The tabs' width (default 6)."),
         QStringLiteral("W")},
        {QStringLiteral("holes"),
         pick("Des trous d'allègement à WEB au moins des bords et des encoches.",
              "Lightening holes at least WEB from the edges and notches."),
         QStringLiteral("WEB")},
        {QStringLiteral("plan"),
         pick("Le plan à l'échelle 1 du panneau, dans le format de --format.",
              "The panel's full-size plan, in the format of --format."),
         QStringLiteral("FILE")},
        {QStringLiteral("page"),
         pick("La page du plan en mm (210x297 par défaut).",
              "The plan's page in mm (default 210x297)."),
         QStringLiteral("WxH")},
    };
    row.options += ExportJob::cuttingOptions();
    row.statuses = {
        {Done, pick("Fait.", "Done.")},
        {Subcommand::kWrongArguments, Subcommand::wrongArgumentsMeaning()},
        {Refused,
         pick("La base ou le panneau est refusé.", "The database or the panel was refused.")},
        {WriteFailed, pick("Le fichier ne peut pas être écrit.", "The file cannot be written.")},
    };
    row.handler = [](const Subcommand::Call &call) {
        QString error;
        const std::optional<Options> o = parse(call, error);
        if (!o)
            return call.usage(error);
        return runPanel(*o, call.out, call.err);
    };
    return row;
}

std::optional<PanelCommand::Options> PanelCommand::parse(const Subcommand::Call &call,
                                                         QString &error)
{
    auto fail = [&](const QString &why) {
        error = why;
        return std::nullopt;
    };
    Options o;
    o.panel.name = QStringLiteral("PANEL");
    // A panel file first: the other options change it.
    const bool fromFile = call.isSet(QStringLiteral("from"));
    if (fromFile) {
        const std::optional<PanelDefinition> d =
            PanelDefinition::load(call.value(QStringLiteral("from")), &error);
        if (!d)
            return std::nullopt;
        o.database = d->database;
        o.panel = d->panel;
        o.kit = d->kit;
        o.cutting = d->cutting;
    }
    o.list = call.isSet(QStringLiteral("list"));
    if (call.isSet(QStringLiteral("mixed-skins")))
        o.panel.mixedSkins = true;
    if (call.isSet(QStringLiteral("db")))
        o.database = call.value(QStringLiteral("db"));
    for (const char *side : {"root", "tip"}) {
        const QString option = QString::fromLatin1(side);
        if (!call.isSet(option))
            continue;
        const std::optional<PanelEnd> e = end(call.value(option));
        if (!e)
            return fail(QStringLiteral("--") + option +
                        QStringLiteral(": a template number counts from 1: ") + call.value(option));
        PanelEnd &target = option == QLatin1String("root") ? o.panel.root : o.panel.tip;
        target.profile = e->profile;
        target.templ = e->templ;
    }
    if (call.isSet(QStringLiteral("span"))) {
        const auto n = number(call.value(QStringLiteral("span")));
        if (!n)
            return fail(QStringLiteral("--span: not a number: ") +
                        call.value(QStringLiteral("span")));
        o.panel.span = *n;
    }
    if (call.isSet(QStringLiteral("ribs"))) {
        bool ok = false;
        o.panel.ribCount = call.value(QStringLiteral("ribs")).toInt(&ok);
        o.panel.stations.clear(); // over those of a panel file
        if (!ok)
            return fail(QStringLiteral("--ribs: not a whole number: ") +
                        call.value(QStringLiteral("ribs")));
    }
    if (call.isSet(QStringLiteral("stations"))) {
        o.panel.stations.clear();
        for (const QString &part : call.value(QStringLiteral("stations")).split(QLatin1Char(','))) {
            const auto n = number(part);
            if (!n)
                return fail(QStringLiteral("--stations: not a number: ") + part);
            o.panel.stations.push_back(*n);
        }
    }
    for (const char *option : {"root-angle", "tip-angle"}) {
        const QString name = QString::fromLatin1(option);
        if (!call.isSet(name))
            continue;
        const auto n = number(call.value(name));
        if (!n)
            return fail(QStringLiteral("--") + name + QStringLiteral(": not a number: ") +
                        call.value(name));
        (name == QLatin1String("root-angle") ? o.panel.root : o.panel.tip).angle = *n;
    }
    if (call.isSet(QStringLiteral("format"))) {
        o.format = call.value(QStringLiteral("format"));
        if (o.format != QLatin1String("svg") && o.format != QLatin1String("dxf") &&
            o.format != QLatin1String("pdf"))
            return fail(QStringLiteral("--format: svg, dxf or pdf, not ") + o.format);
    }
    o.output = call.value(QStringLiteral("o"));
    if (!ExportJob::takeCutting(call, &o.cutting, &error))
        return std::nullopt;
    // The structure, in the order the table lists it; --spar may repeat.
    for (const char *option :
         {"washout", "pivot", "le-cut", "te-cut", "jig", "tabs", "tab-width", "holes", "spar"}) {
        const QString name = QString::fromLatin1(option);
        for (const QString &value : call.values(name)) {
            if (PanelKit::takeOption(QStringLiteral("--") + name, value, &o.panel, &o.kit,
                                     &error) == 0)
                return std::nullopt;
        }
    }
    o.plan = call.value(QStringLiteral("plan"));
    if (call.isSet(QStringLiteral("page")) &&
        !VectorExport::parseSheet(call.value(QStringLiteral("page")), &o.page))
        return fail(QStringLiteral("--page: WxH in mm, not ") + call.value(QStringLiteral("page")));
    const bool haveRibs =
        fromFile || call.isSet(QStringLiteral("ribs")) || call.isSet(QStringLiteral("stations"));
    if (o.database.isEmpty() || !haveRibs ||
        (!fromFile && (!call.isSet(QStringLiteral("root")) || !call.isSet(QStringLiteral("tip")) ||
                       !call.isSet(QStringLiteral("span")))))
        return fail(
            QStringLiteral("--db, --root, --tip, --span and --ribs or --stations are needed"));
    if (o.format.isEmpty() != o.output.isEmpty())
        return fail(QStringLiteral("--format and -o go together"));
    if (!o.plan.isEmpty() && o.format.isEmpty())
        return fail(QStringLiteral("--plan goes with --format and -o"));
    if (!o.list && o.format.isEmpty())
        return fail(QStringLiteral("nothing to do: --list or --format with -o"));
    return o;
}

QString PanelCommand::listLine(const PanelRib &rib)
{
    auto f = [](double v, int decimals) { return QString::number(v, 'f', decimals); };
    return QStringLiteral("N%1  station %2 mm  blend %3 %  chord %4 mm  incidence %5 deg  "
                          "thickness %6 %")
        .arg(rib.number, 2, 10, QLatin1Char('0'))
        .arg(f(rib.station, 1), f(rib.percent, 2), f(rib.chord, 1), f(rib.incidence, 2),
             f(WingPanel::relativeThickness(rib), 2));
}

int PanelCommand::run(const QStringList &args, QTextStream &out, QTextStream &err)
{
    return row().run(args, out, err);
}

int PanelCommand::runPanel(const Options &o, QTextStream &out, QTextStream &err)
{
    QFile file(ProfileStore::databaseFile(o.database));
    if (!file.open(QIODevice::ReadOnly)) {
        err << file.fileName() << ": " << file.errorString() << Qt::endl;
        return Refused;
    }
    ProfileStore store;
    store.loadFromBytes(file.readAll());
    const WingPanel::Result r = WingPanel::compute(o.panel, store);
    if (!r.ok()) {
        err << r.error << Qt::endl;
        return Refused;
    }
    if (o.list) {
        for (const PanelRib &rib : r.ribs)
            out << listLine(rib) << '\n';
        out.flush();
    }
    if (o.format.isEmpty())
        return Done;

    // The plain ribs and the kit go through the same export: without any
    // structure the kit's ribs are the plain templates at their exact chords.
    VectorExport::Options options = o.cutting;
    VectorExport::parseFormat(o.format, &options.format);
    QString failure, report;
    QStringList findings;
    const int code = PanelKit::exportKit(o.panel, o.kit, store, options, o.output, o.plan, o.page,
                                         &failure, &report, &findings);
    if (code == Refused)
        err << failure << Qt::endl;
    else if (code != Done)
        err << o.output << ": " << failure << Qt::endl;
    if (code != Done)
        return code;
    for (const QString &finding : findings)
        err << finding << Qt::endl;
    out << o.output << ": " << report << Qt::endl;
    return Done;
}
