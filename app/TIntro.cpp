#include "app/TIntro.h"

#include "app/IntroScene.h"
#include "app/sprites/IntroAnimation.h"
#include "app/sprites/IntroPictures.h"
#include "drawing/TForm1.h"
#include "ui/Help.h"
#include "ui/Language.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QHBoxLayout>
#include <QLayout>
#include <QMenuBar>
#include <QPainter>
#include <QResizeEvent>

TIntro::TIntro(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("Intro"));
    setWindowTitle(QStringLiteral(" NERVURIA"));
    setFont(QFont(QStringLiteral("Arial"), 9));

    m_client = new QWidget(this);
    setCentralWidget(m_client);

    Panel1 = new QWidget(m_client);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFixedHeight(41);
    Btquitter = new QPushButton(tr("&Quitter"), Panel1);
    Btquitter->setObjectName(QStringLiteral("Btquitter"));
    Label1 = new QLabel(tr("Speed"), Panel1);
    Label1->setObjectName(QStringLiteral("Label1"));
    UpDown1 = new SpinField(0, 16, 1, 6, Panel1);
    UpDown1->setObjectName(QStringLiteral("UpDown1"));
    Edit1 = UpDown1->edit();
    Edit1->setObjectName(QStringLiteral("Edit1"));
    BitBtn1 = new QPushButton(tr("&Catalogue des profils"), Panel1);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn2 = new QPushButton(tr("&Dessin des gabarits"), Panel1);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    auto *bar = new QHBoxLayout(Panel1);
    bar->setContentsMargins(6, 4, 6, 4);
    bar->addWidget(Btquitter);
    bar->addSpacing(16);
    bar->addWidget(Label1);
    bar->addWidget(UpDown1);
    bar->addStretch();
    bar->addWidget(BitBtn1);
    bar->addWidget(BitBtn2);

    PaintBox1 = new IntroScene(m_client);
    PaintBox1->setObjectName(QStringLiteral("PaintBox1"));

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(8);
    TimerP3 = new QTimer(this);
    TimerP3->setObjectName(QStringLiteral("TimerP3"));
    TimerP3->setInterval(8000);

    QMenu *file = menuBar()->addMenu(tr("&Fichier"));
    Quitter1 = file->addAction(tr("&Quitter"));
    QMenu *profiles = menuBar()->addMenu(tr("&Profils"));
    Profils1 = profiles->addAction(tr("&Catalogue des profils"));
    profiles->addSeparator();
    Etude1 = profiles->addAction(tr("&Dessin des Gabarits"));
    QMenu *help = menuBar()->addMenu(tr("&Aide"));
    Index1 = help->addAction(tr("&Rubriques d'aide"));
    help->addSeparator();
    APropos1 = help->addAction(tr("&A Propos..."));
    Quitter1->setObjectName(QStringLiteral("Quitter1"));
    Profils1->setObjectName(QStringLiteral("Profils1"));
    Etude1->setObjectName(QStringLiteral("Etude1"));
    Index1->setObjectName(QStringLiteral("Index1"));
    APropos1->setObjectName(QStringLiteral("APropos1"));

    connect(Btquitter, &QPushButton::clicked, this, &TIntro::BtQuitterClick);
    connect(Quitter1, &QAction::triggered, this, &TIntro::BtQuitterClick);
    connect(BitBtn1, &QPushButton::clicked, this, &TIntro::BitBtn1Click);
    connect(Profils1, &QAction::triggered, this, &TIntro::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &TIntro::BitBtn2Click);
    connect(Etude1, &QAction::triggered, this, &TIntro::BitBtn2Click);
    connect(Index1, &QAction::triggered, this, &TIntro::Index1Click);
    connect(Timer1, &QTimer::timeout, this, &TIntro::Timer1Timer);
    connect(TimerP3, &QTimer::timeout, this, &TIntro::TimerP3Timer);

    resize(643, 484);
    // The window's parts take their places now, so that the scene is built
    // for where the animation area really is.
    layout()->activate();
    FormCreate();
}

TIntro::~TIntro()
{
    FormDestroy();
}

void TIntro::FormCreate()
{
    // The whole run speaks French when the speed label came out French.
    Language::setFrench(Label1->text() == QStringLiteral("Vitesse"));

    m_ready = false;
    PaintBox1->setFixedSize(IntroAnimation::kWidth, IntroAnimation::kHeight);
    FormResize();
    // The planes' pictures take longer to make than the rest of the window:
    // the scene is built once the window is on screen (buildScene), and
    // until then the area shows the bare sky.
    PaintBox1->setPaintHandler(
        [this](QPainter &painter, const QRect &area) { PaintBox1Paint(painter, area); });
    m_ready = true;
    Timer1->start();
    TimerP3->start();
}

void TIntro::buildScene()
{
    if (m_animation)
        return;
    m_ready = false;
    m_animation = std::make_unique<IntroAnimation>(PaintBox1, PaintBox1->geometry());
    m_animation->album().Paint(QRect(QPoint(0, 0), PaintBox1->size()));
    m_ready = true;
    if (PaintBox1->isVisible())
        PaintBox1->repaint(); // now, before whatever work comes next
}

void TIntro::FormDestroy()
{
    m_ready = false;
    Timer1->stop();
    TimerP3->stop();
    PaintBox1->setPaintHandler(nullptr);
    m_animation.reset();
}

void TIntro::PaintBox1Paint(QPainter &painter, const QRect &area)
{
    // The scene as the last step left it, planes included: uncovering the
    // window while the animation stands still does not lose them.
    if (!m_ready) {
        painter.fillRect(area, palette().window());
        return;
    }
    if (!m_animation) {
        painter.fillRect(area, IntroPictures::sky());
        return;
    }
    m_ready = false;
    painter.drawImage(area, m_animation->album().work(), area);
    m_ready = true;
}

void TIntro::Timer1Timer()
{
    // The speed is the number of steps per tick; 0 stands still.
    const int steps = UpDown1->value();
    if (steps <= 0 || !m_animation)
        return;
    m_animation->Tick(steps);
}

void TIntro::TimerP3Timer()
{
    if (m_animation)
        m_animation->ShowSwoop();
}

void TIntro::FormResize()
{
    Panel1->setGeometry(0, 0, m_client->width(), 41);
    // Centred below the 42-pixel top strip; a window smaller than the scene
    // gives negative offsets and cuts it at the top left.
    const int left = (m_client->width() - PaintBox1->width()) / 2;
    const int top = (m_client->height() - (PaintBox1->height() + 42)) / 2 + 42;
    PaintBox1->move(left, top);
}

void TIntro::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    if (!m_ready)
        return;
    m_ready = false;
    FormResize();
    m_ready = true;
}

void TIntro::closeEvent(QCloseEvent *event)
{
    // The program ends with the start window: changes not yet written to
    // Profils.pro (profiles added from the catalogue, say) are offered first.
    TimerP3->stop();
    Timer1->stop();
    if (m_form1)
        m_form1->offerSave();
    QMainWindow::closeEvent(event);
}

void TIntro::BtQuitterClick()
{
    TimerP3->stop();
    Timer1->stop();
    close();
}

void TIntro::openModal(QDialog *window)
{
    Timer1->stop();
    TimerP3->stop();
    showMinimized();
    window->exec();
    showNormal();
    activateWindow();
    Timer1->start();
    TimerP3->start();
}

void TIntro::BitBtn1Click()
{
    if (m_catalogue && BitBtn1->isEnabled())
        openModal(m_catalogue);
}

void TIntro::BitBtn2Click()
{
    if (!m_form1 || !BitBtn2->isEnabled() || m_form1->Cb1->count() == 0)
        return;
    m_form1->prepareToShow();
    openModal(m_form1);
}

void TIntro::Index1Click()
{
    HelpViewer::instance().showTopic(
        Language::pick(QStringLiteral("MAININDEX"), QStringLiteral("CONTENTS")));
}

void TIntro::disableWorkWindows()
{
    BitBtn1->setEnabled(false);
    BitBtn2->setEnabled(false);
    Profils1->setEnabled(false);
    Etude1->setEnabled(false);
}

void TIntro::comeForward()
{
    // While a work window (or a dialog over it) is open it holds the input:
    // that one is restored and brought forward, and the start window stays
    // minimised behind it as while the work window is open. Otherwise the
    // start window itself comes back.
    QWidget *target = QApplication::activeModalWidget();
    if (!target)
        target = this;
    if (target->isMinimized())
        target->showNormal();
    target->raise();
    target->activateWindow();
}
