#pragma once

#include "drawing/AddedProfile.h"
#include "hybrid/HybridBlend.h"
#include "ui/ActivatingDialog.h"
#include "ui/Controls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QPushButton>

#include <functional>
#include <optional>

class ProfileStore;

// A spin field that steps by whole units and shows its value through a
// picture ("#.#", "0.#": one decimal at most, no trailing zero, the regional
// separator), followed by a suffix.
class PictureSpinField : public QDoubleSpinBox
{
    Q_OBJECT
public:
    PictureSpinField(const QString &picture, const QString &suffix, int min, int max, int value,
                     QWidget *parent = nullptr);
    QLineEdit *edit() const { return lineEdit(); }

    void stepBy(int steps) override;
    QString textFromValue(double value) const override;
    double valueFromText(const QString &text) const override;
    QValidator::State validate(QString &input, int &pos) const override;

signals:
    // One click on an arrow (or a wheel step), after the value changed.
    void arrowStepped(int steps);

private:
    QString m_picture;
};

// The hybrid dialog's drawing area: its painting is the dialog's.
class HybridPaintBox : public QWidget
{
    Q_OBJECT
public:
    explicit HybridPaintBox(std::function<void(QPainter &)> paint, QWidget *parent)
        : QWidget(parent), m_paint(std::move(paint))
    {
    }

protected:
    void paintEvent(QPaintEvent *) override;

private:
    std::function<void(QPainter &)> m_paint;
};

// The hybrid dialog: blends a root and a tip profile of the store at a
// chosen percentage, with a chord and an angle interpolated alike, shows the
// three one above the other, and gives the blend for the drawing window to
// add with its first template. Created once at start-up and kept: its
// fields and working profiles keep their values between openings, except
// that each opening resets the name, refills the profile lists and disables
// OK. OK is enabled only by a computation that passed every check.
class TForm4 : public ActivatingDialog
{
    Q_OBJECT
public:
    // The store must outlive the dialog.
    explicit TForm4(ProfileStore *store, QWidget *parent = nullptr);

    // Shows the dialog modally; the profile to add when closed with OK.
    std::optional<AddedProfile> run();
    // The blend and its working profiles.
    HybridBlend &blend() { return m_blend; }

    QLineEdit *Editnom;
    QCheckBox *CheckBox2; // "Nom automatique"
    QComboBox *ComboBox1; // root profile
    QComboBox *ComboBox2; // tip profile
    SpinField *UpDown1;   // root chord, mm
    QLineEdit *Edit1;
    SpinField *UpDown2; // tip chord, mm
    QLineEdit *Edit2;
    SpinField *UpDown3; // root angle, degrees
    QLineEdit *Edit3;
    SpinField *UpDown4; // tip angle, degrees
    QLineEdit *Edit4;
    SpinField *UpDown8; // skin thickness, tenths of a mm
    QLineEdit *Edit8;
    QLabel *Label12;    // skin thickness caption
    SpinField *UpDown7; // blend: percent of the tip profile
    QLineEdit *Edit7;
    PictureSpinField *UpDown5; // hybrid chord, mm
    QLineEdit *Edit5;
    PictureSpinField *UpDown6; // hybrid angle, degrees
    QLineEdit *Edit6;
    QCheckBox *CheckBox1; // "Calcul automatique de  la corde"
    QPushButton *Button1; // "Calculer et Afficher"
    QPushButton *Button2; // "Affichage en relief"
    HybridPaintBox *PaintBox1;
    QPushButton *BitBtn1; // OK
    QPushButton *BitBtn2; // Cancel

    // Handlers.
    void FormActivate() override;
    void BuildAutomaticName();
    void Button1Click();
    void Button2Click();
    void ComboBox1Click();
    void CheckBox1Click();
    void CheckBox2Click();
    void UpDown1Click();
    void UpDown2Click();
    void UpDown5Click();
    void UpDown7Click();
    void UpDown8Click();
    void PaintBox1Paint(QPainter &painter);
    void FormResize();

    void accept() override;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void buildControls();
    void connectControls();
    HybridInputs inputs();
    void recomputeIfValid();
    // The skin the field opens on before any was chosen: the root
    // template's, else the drawing window's template's, else 10.
    int openingSkin() const;

    ProfileStore *m_store;
    HybridBlend m_blend;
    std::optional<AddedProfile> m_result;
    // The next paint shows the relief instead of the three profiles.
    bool m_reliefPending = false;
    // The blend percentage of the last computation that passed.
    int m_computedPercent = -1;
};
