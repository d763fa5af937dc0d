#pragma once

#include "ui/Controls.h"

#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QTimer>

#include <memory>

class IntroAnimation;
class IntroScene;
class QAction;
class QDialog;
class TForm1;

// The start window: it fixes the language of the run, shows the scene and
// opens the two work windows, each modally, minimised meanwhile.
class TIntro : public QMainWindow
{
    Q_OBJECT
public:
    explicit TIntro(QWidget *parent = nullptr);
    ~TIntro() override;

    void setDrawingWindow(TForm1 *form) { m_form1 = form; }
    void setCatalogueWindow(QDialog *form) { m_catalogue = form; }

    QWidget *Panel1;
    QPushButton *Btquitter;
    QLabel *Label1; // the speed label, translated by the system's language
    SpinField *UpDown1;
    QLineEdit *Edit1;
    QPushButton *BitBtn1; // "&Catalogue des profils"
    QPushButton *BitBtn2; // "&Dessin des gabarits"
    IntroScene *PaintBox1;
    QTimer *Timer1;
    QTimer *TimerP3;

    QAction *Quitter1, *Profils1, *Etude1, *Index1, *APropos1;

    void FormCreate();
    void FormResize();
    void FormDestroy();
    void PaintBox1Paint(QPainter &painter, const QRect &area);
    void BtQuitterClick();
    void BitBtn1Click();
    void BitBtn2Click();
    void Index1Click();
    void Timer1Timer();
    void TimerP3Timer();

    // Makes the sky with its planes, once; the timers move nothing before.
    void buildScene();
    // The sky with its planes; none before buildScene() or after the
    // window's destruction began.
    IntroAnimation *animation() const { return m_animation.get(); }

    // No database folder was chosen: the work windows stay closed for the run.
    void disableWorkWindows();
    // Brings the window forward for a second start of the program.
    void comeForward();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void openModal(QDialog *window);

    QWidget *m_client;
    TForm1 *m_form1 = nullptr;
    QDialog *m_catalogue = nullptr;
    bool m_ready = false;
    std::unique_ptr<IntroAnimation> m_animation;
};
