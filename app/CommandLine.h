#pragma once

#include "ui/Subcommand.h"

#include <QString>
#include <QStringList>

class QTextStream;

// The program run from a terminal, without windows: the table of its
// subcommands (this file's own, the panel's and the catalogue's rows) and
// --help listing them. A run without arguments, or with only the toolkit's
// own options, opens the windows instead (see isCommandLine).
class CommandLine
{
public:
    // Exit statuses.
    enum Status { Ok = 0, Failed = 1, BadInput = 2, WriteFailed = 3, Skipped = 4 };

    CommandLine();

    // True when the arguments are for the terminal (a subcommand, --help,
    // or a mistake that gets the usage), false for the windows.
    bool isCommandLine(const QStringList &args) const;

    // Runs argv (program name first); gives the exit status.
    int run(const QStringList &args, QTextStream &out, QTextStream &err) const;

    QString helpText() const;
    const SubcommandTable &table() const { return m_table; }

    // The rows declared here.
    static Subcommand exportRow();
    static Subcommand checkRow();

private:
    SubcommandTable m_table;
};
