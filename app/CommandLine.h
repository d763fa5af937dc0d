#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

class QTextStream;

// The program run from a terminal, without windows: subcommands, each with
// its own options, and --help listing them. A run without arguments opens
// the windows instead (see isCommandLine).
//
// A subcommand is a name, a one-line summary and a handler; adding one is
// one more call to addCommand.
class CommandLine
{
public:
    // Exit statuses.
    enum Status { Ok = 0, Failed = 1, BadInput = 2, WriteFailed = 3 };

    // Handler: the arguments after the subcommand's name (the program name
    // first, as QCommandLineParser wants it), and the two streams.
    using Handler = std::function<int(const QStringList &args, QTextStream &out, QTextStream &err)>;

    CommandLine();

    void addCommand(const QString &name, const QString &summary, Handler handler);

    // True when the arguments ask for the command line: a known subcommand
    // or --help / -h first.
    bool isCommandLine(const QStringList &args) const;

    // Runs argv (program name first); gives the exit status.
    int run(const QStringList &args, QTextStream &out, QTextStream &err);

    QString helpText() const;

    // The built-in subcommands.
    static int exportCommand(const QStringList &args, QTextStream &out, QTextStream &err);
    static int checkCommand(const QStringList &args, QTextStream &out, QTextStream &err);

private:
    struct Command {
        QString name;
        QString summary;
        Handler handler;
    };
    std::vector<Command> m_commands;
};
