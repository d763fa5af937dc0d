#pragma once

#include <QCommandLineOption>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

class QCommandLineParser;
class QTextStream;

// One subcommand of the program run from a terminal, declared as one row:
// its name, what it does, its options and arguments, its exit statuses and
// the function that runs it. The parser, the help (`nervuria --help`,
// `nervuria NAME --help`) and the usage printed after a wrong argument are
// all made from the row, so a new subcommand is a new row.
struct Subcommand {
    // Statuses every subcommand shares.
    static constexpr int kDone = 0;
    static constexpr int kWrongArguments = 1;

    // One run: the parsed arguments, the streams, and the row itself.
    struct Call {
        const QCommandLineParser &parser;
        QTextStream &out;
        QTextStream &err;
        const Subcommand &command;

        bool isSet(const QString &option) const;
        QString value(const QString &option) const;
        // Every value of an option given more than once, in order.
        QStringList values(const QString &option) const;
        QStringList positional() const;
        // A wrong argument: the message, then the usage, on the error
        // stream; gives status (kWrongArguments unless told).
        int usage(const QString &message, int status = kWrongArguments) const;
    };
    using Handler = std::function<int(const Call &call)>;

    struct Argument {
        QString syntax;      // as the usage line shows it: "FILE..."
        QString description; // one line
    };
    struct Status {
        int code = 0;
        QString meaning; // one line
    };

    QString name;
    QString synopsis;    // what follows "nervuria NAME" on the usage line
    QString summary;     // one line, for the list of subcommands
    QString description; // paragraphs of its own help; may be empty
    QList<QCommandLineOption> options;
    QList<Argument> arguments; // none: any positional argument is wrong
    QList<Status> statuses;
    Handler handler;

    QString usageLine() const;
    QString helpText() const;

    // Runs the arguments after the subcommand's name: `--help` gives the help
    // on out and 0; a wrong option the usage on err and kWrongArguments.
    int run(const QStringList &args, QTextStream &out, QTextStream &err) const;

    // The text of the status shared by every row.
    static QString wrongArgumentsMeaning();
};

// Every subcommand of the program, and the global help.
class SubcommandTable
{
public:
    SubcommandTable(QString program, QString version, QString windowsNote,
                    std::vector<Subcommand> rows);

    const std::vector<Subcommand> &rows() const { return m_rows; }
    const Subcommand *find(const QString &name) const;

    // True when argv (program name first) is for the terminal: anything but
    // no argument at all or one of the toolkit's own options for the
    // windows, which are single-dash words (-style, -platform...).
    bool isCommandLine(const QStringList &argv) const;

    // Runs argv: a subcommand, --help, --version ("nervuria 0.1"), or the
    // usage and kWrongArguments for anything else.
    int run(const QStringList &argv, QTextStream &out, QTextStream &err) const;

    QString helpText() const;

private:
    QString m_program;
    QString m_version;
    QString m_windowsNote;
    std::vector<Subcommand> m_rows;
};
