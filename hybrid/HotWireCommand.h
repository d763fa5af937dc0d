#pragma once

#include "cutting/HotWire.h"
#include "hybrid/WingPanel.h"
#include "ui/Subcommand.h"

#include <QString>
#include <QStringList>

#include <optional>

class QTextStream;

// The command line `hotwire`, without a display: a panel's foam core as
// 4-axis G-code for a hot-wire cutter, and its hand-cutting templates.
//
//   hotwire --db PATH --root NAME[:T] --tip NAME[:T] --span MM --width MM
//           [--offset MM] [--kerf MM] [--washout DEG] [--pivot P] [--sweep MM]
//           [--feed MM/MIN] [--lead MM] [-o FILE.ngc] [--templates FILE.svg|dxf|pdf]
class HotWireCommand
{
public:
    enum Status { Done = 0, Refused = 2, WriteFailed = 3 };

    struct Options {
        QString database;
        PanelInputs panel;
        HotWire::Settings settings;
        QString output;    // the G-code
        QString templates; // the hand templates, format by suffix
    };

    static std::optional<Options> parse(const Subcommand::Call &call, QString &error);
    static int run(const QStringList &args, QTextStream &out, QTextStream &err);
    static int runCut(const Options &options, QTextStream &err);
    static Subcommand row();
};
