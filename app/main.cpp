#include "app/SingleInstance.h"
#include "app/Startup.h"
#include "app/TIntro.h"
#include "app/Translator.h"
#include "catalogue/CatalogueCommands.h"
#include "hybrid/PanelCommand.h"
#include "ui/Language.h"
#include "ui/Prompts.h"

#include <QApplication>
#include <QTextStream>

int main(int argc, char **argv)
{
    // The catalogue's conversions and the wing panel's list run without any
    // window.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    if (CatalogueCommands::isCommand(arguments)) {
        QCoreApplication core(argc, argv);
        QTextStream out(stdout);
        return CatalogueCommands::run(arguments, out);
    }
    if (!arguments.isEmpty() && arguments.first() == QLatin1String("panel")) {
        QCoreApplication core(argc, argv);
        Language::setFrench(QLocale::system().language() == QLocale::French);
        QTextStream out(stdout), err(stderr);
        return PanelCommand::run(arguments.mid(1), out, err);
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("NERVURIA"));
    QApplication::setApplicationDisplayName(QStringLiteral("NERVURIA"));

    // A second start hands over to the running program and ends at once,
    // before any window is shown.
    SingleInstance instance(SingleInstance::defaultName());
    if (!instance.tryBecomeFirst())
        return 0;

    BuiltinTranslator translator;
    QApplication::installTranslator(&translator);
    // The run's language follows the same locale test as the translator
    // above, so Qt's own dialogs speak the language of our messages.
    QTranslator qtTexts;
    if (loadQtTranslations(qtTexts))
        QApplication::installTranslator(&qtTexts);

    Windows windows;
    QObject::connect(&instance, &SingleInstance::raiseRequested, windows.intro.get(),
                     &TIntro::comeForward);
    windows.intro->show();
    return app.exec();
}
