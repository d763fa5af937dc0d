#include "hybrid/PanelCommand.h"

#include "cutting/ExportJob.h"
#include "cutting/VectorExport.h"
#include "profiles/ProfileStore.h"
#include "ui/Prompts.h"

#include <QFile>
#include <QTextStream>

namespace
{

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

// The database's messages go to the error stream.
class StreamPrompts : public Prompts
{
public:
    explicit StreamPrompts(QTextStream &err) : m_err(err)
    {
        m_previous = &Prompts::current();
        Prompts::install(this);
    }
    ~StreamPrompts() override { Prompts::install(m_previous); }
    void message(const QString &text) override { m_err << text << Qt::endl; }
    bool confirm(const QString &) override { return false; }
    QString chooseFolder(const QString &, const QString &) override { return QString(); }
    QString saveFileName(const QString &, const QString &, const QString &,
                         const QString &) override
    {
        return QString();
    }

private:
    QTextStream &m_err;
    Prompts *m_previous = nullptr;
};

} // namespace

QString PanelCommand::usage()
{
    return QStringLiteral(
        "usage: nervuria panel --db PATH --root NAME[:T] --tip NAME[:T] --span MM\n"
        "                      (--ribs N | --stations D1,D2,...) [--root-angle A] [--tip-angle A]\n"
        "                      [--mixed-skins] [--list] [--format svg|dxf|pdf -o FILE]\n") +
           PanelKit::optionsUsage();
}

std::optional<PanelCommand::Options> PanelCommand::parse(const QStringList &args, QString &error)
{
    Options o;
    o.panel.name = QStringLiteral("PANEL");
    bool haveRoot = false, haveTip = false, haveSpan = false, haveRibs = false;
    // A panel file first, whatever its place: the other options change it.
    const int from = int(args.indexOf(QStringLiteral("--from")));
    if (from >= 0) {
        if (from + 1 >= args.size()) {
            error = QStringLiteral("--from: a value is missing");
            return std::nullopt;
        }
        const std::optional<PanelDefinition> d = PanelDefinition::load(args[from + 1], &error);
        if (!d)
            return std::nullopt;
        o.database = d->database;
        o.panel = d->panel;
        o.kit = d->kit;
        haveRoot = haveTip = haveSpan = haveRibs = true;
    }
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        if (i == from) {
            ++i;
            continue;
        }
        auto value = [&]() -> std::optional<QString> {
            if (i + 1 >= args.size())
                return std::nullopt;
            return args[++i];
        };
        auto fail = [&](const QString &why) {
            error = why;
            return std::nullopt;
        };
        if (a == QLatin1String("--list")) {
            o.list = true;
            continue;
        }
        if (a == QLatin1String("--mixed-skins")) {
            o.panel.mixedSkins = true;
            continue;
        }
        const std::optional<QString> v = value();
        if (!v)
            return fail(a + QStringLiteral(": a value is missing"));
        if (a == QLatin1String("--db")) {
            o.database = *v;
        } else if (a == QLatin1String("--root") || a == QLatin1String("--tip")) {
            const std::optional<PanelEnd> e = end(*v);
            if (!e)
                return fail(a + QStringLiteral(": a template number counts from 1: ") + *v);
            PanelEnd &target = a == QLatin1String("--root") ? o.panel.root : o.panel.tip;
            target.profile = e->profile;
            target.templ = e->templ;
            (a == QLatin1String("--root") ? haveRoot : haveTip) = true;
        } else if (a == QLatin1String("--span")) {
            const auto n = number(*v);
            if (!n)
                return fail(QStringLiteral("--span: not a number: ") + *v);
            o.panel.span = *n;
            haveSpan = true;
        } else if (a == QLatin1String("--ribs")) {
            bool ok = false;
            o.panel.ribCount = v->toInt(&ok);
            o.panel.stations.clear(); // over those of a panel file
            if (!ok)
                return fail(QStringLiteral("--ribs: not a whole number: ") + *v);
            haveRibs = true;
        } else if (a == QLatin1String("--stations")) {
            o.panel.stations.clear();
            for (const QString &part : v->split(QLatin1Char(','))) {
                const auto n = number(part);
                if (!n)
                    return fail(QStringLiteral("--stations: not a number: ") + part);
                o.panel.stations.push_back(*n);
            }
            haveRibs = true;
        } else if (a == QLatin1String("--root-angle") || a == QLatin1String("--tip-angle")) {
            const auto n = number(*v);
            if (!n)
                return fail(a + QStringLiteral(": not a number: ") + *v);
            (a == QLatin1String("--root-angle") ? o.panel.root : o.panel.tip).angle = *n;
        } else if (a == QLatin1String("--format")) {
            if (*v != QLatin1String("svg") && *v != QLatin1String("dxf") &&
                *v != QLatin1String("pdf"))
                return fail(QStringLiteral("--format: svg, dxf or pdf, not ") + *v);
            o.format = *v;
        } else if (a == QLatin1String("-o")) {
            o.output = *v;
        } else if (a == QLatin1String("--plan")) {
            o.plan = *v;
        } else if (a == QLatin1String("--page")) {
            if (!VectorExport::parseSheet(*v, &o.page))
                return fail(QStringLiteral("--page: WxH in mm, not ") + *v);
        } else if (const int taken = PanelKit::takeOption(a, *v, &o.panel, &o.kit, &error);
                   taken >= 0) {
            if (taken == 0)
                return std::nullopt;
        } else {
            --i;
            return fail(QStringLiteral("unknown option: ") + a);
        }
    }
    if (o.database.isEmpty() || !haveRoot || !haveTip || !haveSpan || !haveRibs) {
        error = QStringLiteral("--db, --root, --tip, --span and --ribs or --stations are needed");
        return std::nullopt;
    }
    if (o.format.isEmpty() != o.output.isEmpty()) {
        error = QStringLiteral("--format and -o go together");
        return std::nullopt;
    }
    if (!o.plan.isEmpty() && o.format.isEmpty()) {
        error = QStringLiteral("--plan goes with --format and -o");
        return std::nullopt;
    }
    if (!o.list && o.format.isEmpty()) {
        error = QStringLiteral("nothing to do: --list or --format with -o");
        return std::nullopt;
    }
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
    QString error;
    const std::optional<Options> o = parse(args, error);
    if (!o) {
        err << error << Qt::endl << usage() << Qt::endl;
        return 1;
    }
    QFile file(o->database);
    if (!file.open(QIODevice::ReadOnly)) {
        err << o->database << ": " << file.errorString() << Qt::endl;
        return 2;
    }
    StreamPrompts prompts(err);
    ProfileStore store;
    store.loadFromBytes(file.readAll());
    const WingPanel::Result r = WingPanel::compute(o->panel, store);
    if (!r.ok()) {
        err << r.error << Qt::endl;
        return 2;
    }
    if (o->list) {
        for (const PanelRib &rib : r.ribs)
            out << listLine(rib) << '\n';
        out.flush();
    }
    if (o->format.isEmpty())
        return 0;

    VectorExport::Options options;
    VectorExport::parseFormat(o->format, &options.format);
    QString failure;
    if (o->kit.shapesRibs() || !o->plan.isEmpty()) {
        const int code = PanelKit::exportKit(o->panel, o->kit, store, options, o->output, o->plan,
                                             o->page, &failure);
        if (code == 2)
            err << failure << Qt::endl;
        else if (code != 0)
            err << o->output << ": " << failure << Qt::endl;
        return code;
    }

    // Every rib on sheets in one file, from a store of their own: the
    // database is only read.
    ProfileStore ribs;
    WingPanel::store(ribs, o->panel.name, r.ribs);
    const int count = int(r.ribs.size());
    ExportJob::Picks picks;
    for (const PanelRib &rib : r.ribs)
        picks.push_back(
            {int(ribs.names().indexOf(WingPanel::ribName(o->panel.name, rib.number, count))), 0});
    if (!ExportJob::exportTemplates(ribs, picks, options, 50, o->output, &failure)) {
        err << o->output << ": " << failure << Qt::endl;
        return 3;
    }
    return 0;
}
