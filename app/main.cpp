#include "app/CommandLine.h"
#include "app/SingleInstance.h"
#include "app/Startup.h"
#include "app/TIntro.h"
#include "app/Translator.h"
#include "ui/Prompts.h"

#include "ui/Language.h"
#include "ui/Memory.h"

#include <QApplication>
#include <QGuiApplication>
#include <QIcon>
#include <QLocale>
#include <QTextStream>

#include <cstdio>

namespace
{

// A command-line run: no windows, no single-instance rule; the language of
// the messages follows the system's, as the windows' does.
int runCommandLine(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv); // fonts for the text of SVG and PDF files
    QGuiApplication::setApplicationName(QStringLiteral("nervuria"));
    Language::setFrench(QLocale::system().language() == QLocale::French);
    QTextStream out(stdout);
    QTextStream err(stderr);
    CommandLine commandLine;
    return commandLine.run(QCoreApplication::arguments(), out, err);
}

} // namespace

int main(int argc, char **argv)
{
    {
        QStringList args;
        for (int i = 0; i < argc; ++i)
            args << QString::fromLocal8Bit(argv[i]);
        if (CommandLine().isCommandLine(args))
            return runCommandLine(argc, argv);
    }
    QApplication app(argc, argv);
    nameProgram();
    Memory::setEnabled(true);
    QGuiApplication::setDesktopFileName(QStringLiteral("nervuria")); // the menu entry
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/nervuria.svg")));

    // A second start hands over to the running program and ends at once,
    // before any window is shown.
    SingleInstance instance(SingleInstance::defaultName());
    if (!instance.tryBecomeFirst())
        return 0;

    BuiltinTranslator translator;
    QApplication::installTranslator(&translator);
    // English captions for an English run, before any window is made.
    QTranslator englishTexts;
    if (loadProgramTranslations(englishTexts))
        QApplication::installTranslator(&englishTexts);
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
