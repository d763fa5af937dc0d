#pragma once

#include "drawing/AddedProfile.h"
#include "hybrid/WingPanel.h"
#include "ui/ActivatingDialog.h"
#include "ui/Controls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

#include <functional>
#include <memory>
#include <optional>

class ProfileStore;
class TemplateDrawing;
class FigureEditor;
class TForm3;
class TFormkit;
class TFormfoam;

// The panel view: the ribs one above the other, root at the bottom, each at
// the height of its station, leading edges aligned.
class PanelPaintBox : public QWidget
{
    Q_OBJECT
public:
    explicit PanelPaintBox(std::function<void(QPainter &)> paint, QWidget *parent)
        : QWidget(parent), m_paint(std::move(paint))
    {
    }

protected:
    void paintEvent(QPaintEvent *) override;

private:
    std::function<void(QPainter &)> m_paint;
};

// The wing panel dialog: a root rib and a tip rib (a stored profile and one
// of its templates each), their incidences, the span and the rib stations;
// "Calculer et Afficher" lists the ribs and shows them; every rib can be
// printed in one job; OK stores them as profiles of their own with one
// template each. Created once at start-up and kept, with its field values.
class TFormpanneau : public ActivatingDialog
{
    Q_OBJECT
public:
    // The store must outlive the dialog; the print preview gives the
    // printer and the printed page.
    TFormpanneau(ProfileStore *store, TForm3 *printing, QWidget *parent = nullptr);
    ~TFormpanneau() override;

    // Shows the dialog modally. With OK the ribs are in the store; the
    // result names the first.
    std::optional<AddedRibs> run();

    QLineEdit *Editnom;      // panel name
    QComboBox *ComboBox1;    // root profile
    QComboBox *ComboBox3;    // root template
    QLabel *Label5;          // root chord and skin
    SpinField *UpDown3;      // root incidence, degrees
    QComboBox *ComboBox2;    // tip profile
    QComboBox *ComboBox4;    // tip template
    QLabel *Label6;          // tip chord and skin
    SpinField *UpDown4;      // tip incidence, degrees
    SpinField *UpDown1;      // span, mm
    RadioGroup *RadioGroup1; // "Nombre" / "Positions (mm)"
    SpinField *UpDown2;      // rib count
    QLineEdit *Edit5;        // stations, mm from the root
    QCheckBox *CheckBox1;    // skin varying from root to tip
    QPushButton *Button1;    // "Calculer et Afficher"
    QTableWidget *Tableau1;  // the ribs
    PanelPaintBox *PaintBox1;
    QPushButton *Button2; // "Imprimer les nervures"
    QPushButton *Button3; // "Exporter les nervures…"
    QPushButton *Button4; // "Structure et plan…"
    QPushButton *Button5; // "Noyaux en mousse…"
    QPushButton *BitBtn1; // OK
    QPushButton *BitBtn2; // Annuler
    QPushButton *BitBtn3; // "&Aide"

    void FormActivate() override;
    void ComboBox1Click();
    void ComboBox2Click();
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();
    void Button5Click();
    void PaintBox1Paint(QPainter &painter);
    void accept() override;

    const WingPanel::Result &result() const { return m_result; }
    PanelInputs inputs();
    // The fields set from a panel file's panel (profiles by name).
    void setInputs(const PanelInputs &in);
    // The structure dialog, made at its first use.
    TFormkit *kitDialog();
    // The foam core dialog, made at its first use.
    TFormfoam *foamDialog();

protected:

private:
    void buildControls();
    void fillTemplates(QComboBox *profile, QComboBox *templates, QLabel *info);
    void showRibs();

    ProfileStore *m_store;
    TForm3 *m_printing;
    WingPanel::Result m_result;
    QString m_panelName; // of the last computation
    std::optional<AddedRibs> m_added;
    std::unique_ptr<TFormkit> m_kit;
    std::unique_ptr<TFormfoam> m_foam;
};
