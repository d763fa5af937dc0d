#pragma once

#include "hybrid/PanelKit.h"
#include "hybrid/WingPanel.h"
#include "ui/Subcommand.h"

#include <QString>
#include <QStringList>

#include <optional>

class QTextStream;

// The command line `panel`, without a display:
//
//   panel --db PATH --root NAME[:T] --tip NAME[:T] --span MM
//         (--ribs N | --stations D1,D2,...) [--root-angle A] [--tip-angle A]
//         [--mixed-skins] [--list] [--format svg|dxf|pdf -o FILE]
//         [--kerf MM] [--nest shape|rows] [--grain chord|free] [--copies N]
//         and the kit's options; --from FILE reads
//         a panel file first, the other options then change it.
//
// T is a template number as the drawing window shows it (1 for the first).
// --list writes one line per rib, --format every rib laid out on sheets
// in one file; the database is only read.
class PanelCommand
{
public:
    // Exit statuses, besides Subcommand::kWrongArguments.
    enum Status { Done = 0, Refused = 2, WriteFailed = 3 };

    struct Options {
        QString database;
        PanelInputs panel;
        bool list = false;
        QString format; // svg, dxf or pdf
        QString output;
        // The export's laser options (kerf, nesting, grain, copies).
        VectorExport::Options cutting;
        // The structure of the ribs and the plan (see PanelKit).
        KitOptions kit;
        QString plan;
        QSizeF page{210, 297};
    };

    // "NAME" or "NAME:T" (T counted from 1); empty for a bad T.
    static std::optional<PanelEnd> parseEnd(const QString &text);
    // A number with a decimal point; empty when it does not read.
    static std::optional<double> parseNumber(const QString &text);

    // The parsed options, or the reason they are wrong.
    static std::optional<Options> parse(const Subcommand::Call &call, QString &error);

    // One rib as --list writes it: number, station, blend, chord,
    // incidence and relative thickness, numbers with a decimal point:
    // "N03  station 200.0 mm  blend 40.00 %  chord 160.0 mm  incidence 0.80 deg  thickness 10.80
    // %".
    static QString listLine(const PanelRib &rib);

    // Runs the options after the word "panel": the lines on out, messages on
    // err. The exit statuses are the row's.
    static int run(const QStringList &args, QTextStream &out, QTextStream &err);
    static int runPanel(const Options &options, QTextStream &out, QTextStream &err);

    // The subcommand: options, help, exit statuses (0 done, 1 wrong
    // arguments, 2 the database or the panel was refused, 3 the file could
    // not be written).
    static Subcommand row();
};
