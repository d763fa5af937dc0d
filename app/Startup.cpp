#include "app/Startup.h"

#include "app/TIntro.h"
#include "catalogue/TFormlect.h"
#include "drawing/TForm1.h"
#include "drawing/TForm2.h"
#include "drawing/TForm3.h"
#include "hybrid/TForm4.h"
#include "hybrid/TFormpanneau.h"
#include "profiles/ProfileStore.h"
#include "ui/Help.h"

#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QTimer>
#include <QWindow>

void nameProgram()
{
    QCoreApplication::setApplicationName(QStringLiteral("NERVURIA"));
}

Windows::Windows(Start start)
{
    intro = std::make_unique<TIntro>();
    if (start == Start::AllWindows)
        createWorkWindows();
}

void Windows::createWorkWindows()
{
    if (workWindowsCreated())
        return;
    form1 = std::make_unique<TForm1>([intro = intro.get()] { intro->disableWorkWindows(); });
    // The print preview, a dialog of the drawing window.
    form3 = std::make_unique<TForm3>(form1.get());
    form3->setDrawing(&form1->drawing());
    form1->setForm3(form3.get());
    // Created after the drawing window, whose loading may have moved the
    // working folder to the one holding Profils.pro: the catalogue starts
    // from there.
    auto *formlect = new TFormlect(&form1->store(), QDir::currentPath());
    QObject::connect(formlect, &TFormlect::helpRequested, formlect,
                     [](const QString &topic) { HelpViewer::instance().showTopic(topic); });
    catalogue.reset(formlect);
    form2 = std::make_unique<TForm2>(form1.get());
    form1->setForm2(form2.get());
    form4 = std::make_unique<TForm4>(&form1->store(), form1.get());
    form1->setHybridDialog([form4 = form4.get()] { return form4->run(); });
    formpanneau = std::make_unique<TFormpanneau>(&form1->store(), form3.get(), form1.get());
    form1->setPanelDialog([panel = formpanneau.get()] { return panel->run(); });
    intro->setDrawingWindow(form1.get());
    intro->setCatalogueWindow(catalogue.get());
}

Windows::~Windows()
{
    // The dialogs belong to the drawing window's widget tree.
    form2.release();
    form3.release();
    form4.release();
    formpanneau.release();
}

void Windows::showStartWindow(std::function<bool(const char *stage)> stage)
{
    if (!stage)
        stage = [](const char *) { return false; };
    if (!databaseInWorkingFolder())
        createWorkWindows();
    afterFirstFrame(intro.get(), [this, stage] {
        // Closed already, or the benchmark is done: nothing more to open.
        if (stage("shown") || !intro->isVisible())
            return;
        // The planes first, so that the scene is complete while the
        // database loads; the work windows then exist before any click
        // on the start window is handled.
        intro->buildScene();
        createWorkWindows();
        stage("ready");
    });
    intro->show();
}

bool databaseInWorkingFolder()
{
    return QFileInfo(QDir::current().filePath(ProfileStore::kFileName)).isFile();
}

namespace
{

// Watches a window's surface for its first exposure. The window draws
// itself while that exposure is handled; the work queued from here runs
// right after.
class FirstFrame : public QObject
{
public:
    FirstFrame(QWindow *window, std::function<void()> fn) : QObject(window), m_fn(std::move(fn))
    {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Expose && static_cast<QWindow *>(watched)->isExposed() &&
            m_fn) {
            watched->removeEventFilter(this);
            QTimer::singleShot(0, watched, std::move(m_fn));
            m_fn = nullptr;
            deleteLater();
        }
        return false;
    }

private:
    std::function<void()> m_fn;
};

} // namespace

void afterFirstFrame(QWidget *window, std::function<void()> fn)
{
    window->winId(); // the surface exists from here on
    new FirstFrame(window->windowHandle(), std::move(fn));
}
