#include "ui/Subcommand.h"

#include "ui/Language.h"
#include "ui/Prompts.h"

#include <QCommandLineParser>
#include <QTextStream>

#include <algorithm>

namespace
{

const QString kHelp = QStringLiteral("help");

QCommandLineOption helpOption()
{
    return QCommandLineOption({QStringLiteral("h"), kHelp},
                              Language::pick(QStringLiteral("Affiche cette aide et s'arrête."),
                                             QStringLiteral("Shows this help and ends.")));
}

// "-o, --output FILE": one-letter names with one dash, the others with two.
QString optionLabel(const QCommandLineOption &option)
{
    QStringList names;
    for (const QString &n : option.names())
        names << (n.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + n;
    QString label = names.join(QStringLiteral(", "));
    if (!option.valueName().isEmpty())
        label += QLatin1Char(' ') + option.valueName();
    return label;
}

// Two columns, the first as wide as its widest entry; no wrapping, so that
// the text is the same on every terminal.
QString columns(const QList<QPair<QString, QString>> &rows)
{
    qsizetype width = 0;
    for (const auto &r : rows)
        width = std::max(width, r.first.size());
    QString text;
    for (const auto &r : rows)
        text +=
            QStringLiteral("  ") + r.first.leftJustified(width + 2) + r.second + QLatin1Char('\n');
    return text;
}

// On the terminal every message goes to the error stream and every
// question is answered No, so nothing waits for a user; installed for one
// run, then the previous prompts are put back.
class ConsolePrompts : public Prompts
{
public:
    explicit ConsolePrompts(QTextStream &err) : m_err(err), m_previous(&Prompts::current())
    {
        Prompts::install(this);
    }
    ~ConsolePrompts() override { Prompts::install(m_previous); }
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
    bool choosePrinter(QPrinter &, const QString &) override { return false; }
    bool printerSetup(QPrinter &) override { return false; }

private:
    QTextStream &m_err;
    Prompts *m_previous;
};

} // namespace

bool Subcommand::Call::isSet(const QString &option) const
{
    return parser.isSet(option);
}

QString Subcommand::Call::value(const QString &option) const
{
    return parser.value(option);
}

QStringList Subcommand::Call::values(const QString &option) const
{
    return parser.values(option);
}

QStringList Subcommand::Call::positional() const
{
    return parser.positionalArguments();
}

int Subcommand::Call::usage(const QString &message, int status) const
{
    err << message << "\n\n"
        << command.usageLine() << '\n'
        << Language::pick(QStringLiteral("Aide : nervuria %1 --help"),
                          QStringLiteral("Help: nervuria %1 --help"))
               .arg(command.name)
        << Qt::endl;
    return status;
}

QString Subcommand::wrongArgumentsMeaning()
{
    return Language::pick(
        QStringLiteral("Arguments erronés : le message et l'usage sur la sortie d'erreur."),
        QStringLiteral("Wrong arguments: the message and the usage on standard error."));
}

QString Subcommand::usageLine() const
{
    return Language::pick("Usage : nervuria ", "Usage: nervuria ") + name +
           (synopsis.isEmpty() ? QString() : QLatin1Char(' ') + synopsis);
}

QString Subcommand::helpText() const
{
    QString text = usageLine() + QStringLiteral("\n\n") + summary + QLatin1Char('\n');
    if (!description.isEmpty())
        text += QLatin1Char('\n') + description + QLatin1Char('\n');
    if (!arguments.isEmpty()) {
        QList<QPair<QString, QString>> rows;
        for (const Argument &a : arguments)
            rows.append({a.syntax, a.description});
        text += QLatin1Char('\n') + Language::pick("Arguments :", "Arguments:") +
                QLatin1Char('\n') + columns(rows);
    }
    QList<QPair<QString, QString>> rows;
    for (const QCommandLineOption &o : options + QList<QCommandLineOption>{helpOption()}) {
        QString description = o.description();
        if (!o.defaultValues().isEmpty()) {
            const bool stop = description.endsWith(QLatin1Char('.'));
            if (stop)
                description.chop(1);
            description += Language::pick(" (par défaut %1)", " (default %1)")
                               .arg(o.defaultValues().join(QLatin1Char(','))) +
                           (stop ? QStringLiteral(".") : QString());
        }
        rows.append({optionLabel(o), description});
    }
    text += QLatin1Char('\n') + Language::pick("Options :", "Options:") + QLatin1Char('\n') +
            columns(rows);
    rows.clear();
    for (const Status &s : statuses)
        rows.append({QString::number(s.code), s.meaning});
    text += QLatin1Char('\n') + Language::pick("Statut de sortie :", "Exit status:") +
            QLatin1Char('\n') + columns(rows);
    return text;
}

int Subcommand::run(const QStringList &args, QTextStream &out, QTextStream &err) const
{
    QCommandLineParser parser;
    parser.addOptions(options);
    parser.addOption(helpOption());
    for (const Argument &a : arguments)
        parser.addPositionalArgument(a.syntax, a.description, a.syntax);
    const Call call{parser, out, err, *this};
    // QCommandLineParser takes the program's name first.
    // --help wins over any other argument, right or wrong.
    const bool parsed = parser.parse(QStringList{QStringLiteral("nervuria")} + args);
    if (parser.isSet(kHelp)) {
        out << helpText();
        out.flush();
        return kDone;
    }
    if (!parsed)
        return call.usage(parser.errorText());
    if (arguments.isEmpty() && !parser.positionalArguments().isEmpty())
        return call.usage(Language::pick("Argument inattendu : ", "Unexpected argument: ") +
                          parser.positionalArguments().constFirst());
    ConsolePrompts prompts(err);
    const int status = handler(call);
    out.flush();
    err.flush();
    return status;
}

SubcommandTable::SubcommandTable(QString program, QString version, QString windowsNote,
                                 std::vector<Subcommand> rows)
    : m_program(std::move(program)), m_version(std::move(version)),
      m_windowsNote(std::move(windowsNote)), m_rows(std::move(rows))
{
}

const Subcommand *SubcommandTable::find(const QString &name) const
{
    for (const Subcommand &row : m_rows) {
        if (row.name == name)
            return &row;
    }
    return nullptr;
}

bool SubcommandTable::isCommandLine(const QStringList &argv) const
{
    if (argv.size() < 2)
        return false;
    const QString &first = argv.at(1);
    const bool toolkitOption = first.size() > 2 && first.startsWith(QLatin1Char('-')) &&
                               !first.startsWith(QLatin1String("--"));
    return !toolkitOption;
}

QString SubcommandTable::helpText() const
{
    QString text = Language::pick("Usage : ", "Usage: ") + m_program + QStringLiteral("\n       ") +
                   m_program + Language::pick(" COMMANDE [OPTIONS]", " COMMAND [OPTIONS]") +
                   QStringLiteral("\n       ") + m_program +
                   Language::pick(" COMMANDE --help", " COMMAND --help") + QStringLiteral("\n\n") +
                   m_windowsNote + QLatin1Char('\n');
    QList<QPair<QString, QString>> rows;
    for (const Subcommand &row : m_rows)
        rows.append({row.name, row.summary});
    text += QLatin1Char('\n') + Language::pick("Commandes :", "Commands:") + QLatin1Char('\n') +
            columns(rows);
    rows = {{QStringLiteral("-h, --help"), helpOption().description()},
            {QStringLiteral("--version"),
             Language::pick("Affiche la version et s'arrête.", "Shows the version and ends.")}};
    text += QLatin1Char('\n') + Language::pick("Options :", "Options:") + QLatin1Char('\n') +
            columns(rows);
    text += QLatin1Char('\n') +
            Language::pick("Les options et les statuts de sortie de chaque commande : %1 COMMANDE "
                           "--help.",
                           "The options and exit statuses of each command: %1 COMMAND --help.")
                .arg(m_program) +
            QLatin1Char('\n');
    return text;
}

int SubcommandTable::run(const QStringList &argv, QTextStream &out, QTextStream &err) const
{
    const QString first = argv.size() > 1 ? argv.at(1) : QString();
    if (const Subcommand *row = find(first))
        return row->run(argv.mid(2), out, err);
    if (first == QLatin1String("--help") || first == QLatin1String("-h")) {
        out << helpText();
        out.flush();
        return Subcommand::kDone;
    }
    if (first == QLatin1String("--version")) {
        out << m_program << ' ' << m_version << Qt::endl;
        return Subcommand::kDone;
    }
    err << (first.startsWith(QLatin1Char('-'))
                ? Language::pick("Option inconnue : ", "Unknown option: ")
                : Language::pick("Commande inconnue : ", "Unknown command: "))
        << first << "\n\n"
        << helpText();
    err.flush();
    return Subcommand::kWrongArguments;
}
