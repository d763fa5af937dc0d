#pragma once

#include "cutting/RibVectors.h"
#include "hybrid/PanelKit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>

#include <functional>
#include <vector>

class ProfileStore;
class PanelPaintBox;
class QPainter;
class StatusLine;
class TForm3;

// Asks where to write ribs for cutting (SVG, DXF or PDF, by the name's
// suffix), suggesting suggested; the format in *format. Empty when the user
// cancelled or the suffix names no such format (then said).
QString askCuttingFile(const QString &captionFr, const QString &captionEn, const QString &suggested,
                       VectorExport::Format *format);

// Draws a rib or a plan fitted into target (pixels), y up, keeping its
// proportions; the same drawing for the previews and their tests.
void paintKitShapes(QPainter &painter, const RibVectors::Rib &shapes, const QRectF &target);

// The panel's structure: washout and pivot, spars, edge cut-backs, jig tabs,
// lightening holes, with a live preview of one rib and of the plan; opens
// and saves the panel file and exports the ribs and the plan. The panel
// itself (ends, span, ribs) is read from and given back to its owner.
class TFormkit : public QDialog
{
    Q_OBJECT
public:
    // printing is the print preview the ribs and the plan go through (none:
    // no printing).
    TFormkit(ProfileStore *store, std::function<PanelInputs()> panel,
             std::function<void(const PanelInputs &)> setPanel, TForm3 *printing = nullptr,
             QWidget *parent = nullptr);

    QLineEdit *EditWashout;       // degrees; empty keeps the panel's incidences
    QDoubleSpinBox *EditPivot;    // % of chord
    QPlainTextEdit *MemoSpars;    // one spar a line, POS:WxD[:top|bottom|both]
    QDoubleSpinBox *EditLeCut;    // mm
    QDoubleSpinBox *EditTeCut;    // mm
    QDoubleSpinBox *EditJig;      // mm, 0: no tabs
    QLineEdit *EditTabs;          // % of chord, "15; 85"
    QDoubleSpinBox *EditTabWidth; // mm
    QDoubleSpinBox *EditHoles;    // web, mm; 0: no holes
    // The laser's options of the ribs' export.
    QDoubleSpinBox *EditKerf;  // mm
    QComboBox *ComboNest;      // by shape, in rows
    QCheckBox *CheckFreeGrain; // quarter turns allowed
    QSpinBox *EditCopies;
    QSpinBox *UpDownRib; // the rib shown
    QLabel *LabelError;
    PanelPaintBox *PaintRib;
    PanelPaintBox *PaintPlan;
    QPushButton *ButtonOpen;   // "Ouvrir…"
    QPushButton *ButtonSave;   // "Enregistrer…"
    QPushButton *ButtonPrint;  // "Imprimer…"
    QPushButton *ButtonExport; // "Exporter le kit…"
    StatusLine *Status;
    QPushButton *ButtonClose; // "Fermer"

    // The fields as a definition, and back. False with the reason when a
    // field does not read.
    bool definition(PanelDefinition *out, QString *error);
    void setDefinition(const PanelDefinition &d);

    // Computes the ribs and the plan again now (the fields start a short
    // timer otherwise).
    void refresh();
    const std::vector<RibVectors::Rib> &ribs() const { return m_ribs; }
    const RibVectors::Rib &plan() const { return m_plan; }

    void openFile();
    void saveFile();
    void exportKit();
    // The ribs and the plan at full size through the print preview.
    void printKit();
    // The pages printKit lays out, from the current ribs and plan, for a
    // printable area (mm): the ribs nested on as many pages as they take,
    // then the plan's sheets. Empty, with the reason, when a rib is larger
    // than the page.
    struct PrintedKit {
        VectorExport::Document ribs, plan;
        int pages() const { return int(ribs.sheets.size() + plan.sheets.size()); }
        void paint(QPainter &p, int page, double unitsPerMm) const;
    };
    std::optional<PrintedKit> printedKit(QSizeF area, QString *error);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    // The fields as a definition; a field that does not read is said.
    std::optional<PanelDefinition> checkedDefinition();
    void changed();
    void paintRib(QPainter &p);
    void paintPlan(QPainter &p);

    ProfileStore *m_store;
    TForm3 *m_printing;
    std::function<PanelInputs()> m_panel;
    std::function<void(const PanelInputs &)> m_setPanel;
    QString m_database; // of the last panel file, kept when saving again
    QTimer m_timer;
    std::vector<RibVectors::Rib> m_ribs;
    RibVectors::Rib m_plan;
};
