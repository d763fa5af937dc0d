#pragma once

#include "cutting/HotWire.h"
#include "hybrid/FoamCores.h"

#include <QDialog>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTimer>

#include <functional>

class ProfileStore;
class PanelPaintBox;
class QComboBox;
class QPainter;
class QPrinter;

// Draws both faces' paths, the towers' paths and the wire at one move,
// fitted into target (pixels), as seen along the wire (y up); the same
// drawing for the dialog and its test.
void paintFoamCut(QPainter &painter, const HotWire::Cut &cut, int move, const QRectF &target);

// The panel's foam core: the hot-wire cutter's settings with a preview of
// both faces and the wire at a chosen move; writes the G-code and the hand
// templates. The ends, span and incidences come from the panel dialog.
class TFormfoam : public QDialog
{
    Q_OBJECT
public:
    TFormfoam(ProfileStore *store, std::function<PanelInputs()> panel, QWidget *parent = nullptr);

    QDoubleSpinBox *EditSpan, *EditWidth, *EditOffset, *EditKerf, *EditWashout, *EditPivot,
        *EditSweep, *EditFeed, *EditLead;
    QComboBox *ComboFeedMode; // what each line's F means
    QSlider *SliderMove;
    QLabel *LabelMove;
    QLabel *LabelError;
    PanelPaintBox *PaintCut;
    QPushButton *ButtonGcode;     // "Écrire le G-code…"
    QPushButton *ButtonTemplates; // "Exporter les gabarits…"
    QPushButton *ButtonPrint;     // "Imprimer les gabarits…"
    QPushButton *ButtonClose;     // "Fermer"

    // The span and the washout taken from the panel, then the cut computed.
    void start();
    // Computes the cut again now (the fields start a short timer otherwise).
    void refresh();
    const HotWire::Cut &cut() const { return m_cut; }
    HotWire::Settings settings() const;

    // Written in one step each; false with the reason shown.
    bool writeGcode(const QString &path);
    bool writeTemplates(const QString &path);
    // The two templates at full size on the printer's pages, each with the
    // 100 mm check bar. The printer is set to full page. Printed to a PDF
    // file, the file is written in one step; false with the reason shown.
    bool printTemplates(QPrinter &printer);

private:
    void showMove();

    ProfileStore *m_store;
    std::function<PanelInputs()> m_panel;
    QTimer m_timer;
    FoamCores::Ends m_ends;
    HotWire::Cut m_cut;
};
