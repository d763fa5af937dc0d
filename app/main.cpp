#include "app/SingleInstance.h"
#include "app/Startup.h"
#include "app/TIntro.h"
#include "app/Translator.h"
#include "catalogue/CatalogueCommands.h"
#include "ui/Prompts.h"

#include <QApplication>
#include <QTextStream>

#include <cstdio>

int main(int argc, char **argv)
{
    // The catalogue's conversions run without any window.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    if (CatalogueCommands::isCommand(arguments)) {
        QCoreApplication core(argc, argv);
        QTextStream out(stdout);
        return CatalogueCommands::run(arguments, out);
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

    // The start-up benchmark only: end by itself once the start window is on
    // screen ("shown") or once every window is ready ("ready").
    const QByteArray benchQuit = qgetenv("NERVURIA_BENCH_QUIT");
    auto benchStage = [benchQuit](const char *stage) {
        if (benchQuit != stage)
            return false;
        std::printf("%s\n", stage);
        std::fflush(stdout);
        QCoreApplication::exit(0);
        return true;
    };

    Windows windows(Windows::Start::StartWindowOnly);
    QObject::connect(&instance, &SingleInstance::raiseRequested, windows.intro.get(),
                     &TIntro::comeForward);
    windows.showStartWindow(benchStage);
    return app.exec();
}
