#pragma once

#include "drawing/AddedProfile.h"
#include "drawing/NamedFindings.h"
#include "drawing/UndoCommands.h"
#include "ui/Controls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QTableWidget>
#include <QToolButton>
#include <QUndoStack>

#include <functional>
#include <memory>
#include <optional>

class CoordinateTable;
class ExportDialog;
class ProfileStore;
struct ScreenArea;
class TemplateDrawing;
class FigureEditor;
class QTimer;
class TForm2;
class TForm3;
class StatusLine;
class PaintBox;

// The drawing window: pick a profile and one of its templates, make and
// delete templates, see them drawn at scale, and close with the question to
// save. The window holds the controls; the selection, the layout and the
// drawing live in TemplateDrawing, and the profiles in the ProfileStore it
// owns.
class TForm1 : public QDialog
{
    Q_OBJECT
public:
    // Creating the window loads Profils.pro. When no folder holding it is
    // chosen, databaseUnavailable is called (the start window then disables
    // its work buttons). The new-template dialog, created after this window,
    // is given with setForm2.
    explicit TForm1(std::function<void()> databaseUnavailable = {});
    ~TForm1() override;

    void setForm2(TForm2 *form2) { m_form2 = form2; }
    // The hybrid dialog, created after this window: shows it modally and
    // gives the profile to add when it is closed with OK. Setting it
    // connects "Créer un profil hybride".
    using HybridDialog = std::function<std::optional<AddedProfile>()>;
    void setHybridDialog(HybridDialog dialog);
    // The wing panel dialog, created after this window: shows it modally;
    // when closed with OK it has added the panel's ribs to the store and
    // names the first. Setting it connects "Panneau d'aile…".
    using PanelDialog = std::function<std::optional<AddedRibs>()>;
    void setPanelDialog(PanelDialog dialog);
    TForm2 *form2() const { return m_form2; }
    // The print preview, created after this window.
    void setForm3(TForm3 *form3) { m_form3 = form3; }
    TForm3 *form3() const { return m_form3; }
    ProfileStore &store() { return *m_store; }
    TemplateDrawing &drawing() { return *m_drawing; }

    // Top bar.
    QWidget *Panel2;
    QPushButton *Btquit, *Btenregistrer, *Btimprime, *BtExporter, *BtTableau, *BitBtn1;
    QLabel *Label10, *Label11; // "Coefficient", "de lissage"
    SpinField *UpDown4;
    QLineEdit *Edit4;

    // Second bar.
    QWidget *Panel3;
    QGroupBox *GroupBox1; // "Choix du Profil"
    QComboBox *Cb1;
    QPushButton *Btsupprprofil, *Button1, *btEnregH;
    QPushButton *Btpanneau; // "Panneau d'aile…"
    QGroupBox *GroupBox2;   // "Affichage"
    QCheckBox *CheckBox2, *CheckBox4;
    QGroupBox *GroupBox3; // "Points"
    QCheckBox *CheckBox1, *CheckBox3;
    QGroupBox *GroupBox4; // "Gabarits"
    QComboBox *CB2;
    QPushButton *Btnewgab, *BtSupprgab;
    QLabel *Panel5, *Panel6;
    SpinField *UpDown7;
    QLineEdit *Edit7;
    QGroupBox *GroupBox5; // "Figures "
    QLabel *Label1, *Label2, *Label3, *Label4, *Label5, *Label6;
    SpinField *UpDown1, *UpDown2, *UpDown3, *UpDown5, *UpDown6;
    QLineEdit *Edit1, *Edit2, *Edit3, *Edit5, *Edit6;

    // Tool column.
    QWidget *Panel4;
    QToolButton *BtZoommoins, *Btzoomplus;
    QToolButton *Speedrectangle, *Speedligne, *Speedrond, *Speeddemirond, *SpeedTriangle,
        *SpeedPoubelle;

    // Drawing area.
    QScrollArea *ScrollBox1;
    PaintBox *PaintBox1;
    QLabel *Panel7;

    // Table panel.
    QWidget *Panel1;
    QLabel *Label9; // "Erreur(s) "
    QPushButton *Btvalider;
    QTableWidget *Tableau1;

    // Handlers.
    void FormCreate();
    void FormDestroy();
    void FormResize();
    void Paintbox1Paint(QPainter &painter);
    void Cb1Click();
    void CB2Click();
    void BtnewgabClick();
    void BtSupprgabClick();
    void BtquitClick();
    void BtenregistrerClick();
    void BtsupprprofilClick();
    void UpDown4Changing();
    void UpDown7Click();
    void BtzoomplusClick();
    void BtZoommoinsClick();
    void BitBtn1Click();
    // "&Imprimer": the preview, then the printout of one page or all.
    void BtimprimeClick();
    // "Exporter…": the export dialog, then the file name, then the file
    // (SVG, DXF or PDF at full size) written in one step.
    void BtExporterClick();
    ExportDialog *exportDialog();
    void DisplayOptionClick(int option, bool checked);
    void FillTemplateCombo(int profile);
    // "Créer un profil hybride": the hybrid dialog, then its profile added.
    void Button1Click();
    // Adds a profile with its first template, selects and draws it.
    void AddMadeProfile(const AddedProfile &made);
    // "Panneau d'aile…": the panel dialog, then its first rib selected.
    void BtpanneauClick();

    // Figures.
    void Nouvellefigure(int kind);
    void BtsupprClick();
    // A step of one of the five parameter boxes (0 size 1, 1 size 2, 2 angle,
    // 3 centre x, 4 centre y), or Enter in an edit box (size 1, up).
    void UpDown1Click(int box, bool up);
    void Edit1KeyPress();
    // A value typed into "cx" (box CentreX) or "cy" (CentreY).
    void Edit5Typed(int box);
    void PaintBox1MouseDown(int x, int y);
    void PaintBox1MouseMove(int x, int y);
    void PaintBox1MouseUp(int x, int y);
    FigureEditor &figures() { return *m_figures; }

    // Coordinate table panel and coordinate file export.
    void BttableauClick();
    void BtvaliderClick();
    void btEnregHClick();
    // Draws cell (column, row) of Tableau1; highlighted when selected or
    // focused.
    void Tableau1DrawCell(QPainter &painter, const QRect &rect, int column, int row,
                          bool highlighted);
    // Ctrl+C / Ctrl+V in the grid: a block of cells to and from the clipboard.
    void copyTableSelection();
    void pasteIntoTable();
    CoordinateTable &table() { return *m_table; }

    // Edit history: every change of figures, templates and profiles is one
    // command on this stack; undoing back to the saved state clears the
    // save marker.
    QUndoStack *undoStack() const { return m_undo; }
    QToolButton *BtUndo = nullptr, *BtRedo = nullptr;
    // The report of the last save, add, export or print, or refusal.
    StatusLine *Status = nullptr;
    // Selects what an undone or redone edit left and shows its figures.
    void restoreEdit(const EditState &state);
    // Brackets an edit made outside one handler call (a mouse press to its
    // release); endEdit records it when it changed anything.
    void beginEdit();
    void endEdit(const QString &text, int mergeId = 0);
    // The edit goes on at the next press (a new figure waiting to be placed).
    void pauseEdit() { m_inEdit = false; }
    // Runs one handler as a recorded edit.
    template <class Handler> void recorded(const QString &text, Handler handler, int mergeId = 0)
    {
        beginEdit();
        (this->*handler)();
        endEdit(text, mergeId);
    }
    QString figureEditText() const;
    QString tableEditText() const;
    static constexpr int kFigureStepEdit = 100;
    void typedCentre(int box);
    // Names the profiles that are in the store and not in namesBefore.
    void reportAdded(const QStringList &namesBefore);
    // Asks, saves, and reports the save on the status line.
    void saveDatabase();
    // The save went through: the present state is the saved one.
    void markSaved();

    // Opens on profile 0, template 0 (from the start window).
    void prepareToShow();
    // Stores the current template and, when the store has unsaved changes,
    // asks whether to save them (the program is about to end).
    void offerSave();
    // The closing flag: set when the window is being destroyed.
    bool closing() const { return m_closing; }

protected:
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void reject() override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    bool figuresEditable() const;
    void buildControls();
    void connectControls();
    // Puts the state of the selection and view into the widgets.
    void showState();
    // Puts the selected template's chord and skin into the dialog's fields.
    void showDialogValues();
    // Puts the figure parameter boxes into their widgets, and back.
    void showFigureBoxes();
    void takeFigureBoxes();
    void renderOnly();
    // Takes the chord and skin of the new-template dialog into the selection.
    void takeDialogValues();
    void layoutAndRender();
    // Names once each figure of the template on show that crosses its
    // outline or lies outside it, as the export will treat it; while a
    // figure is dragged or a box's arrow held, once the edit ends.
    void sayFigureFindings();
    // A figure of the template on show was edited (and, with andLater, the
    // later ones renumbered): what it does may be named again.
    void figureEdited(int figure, bool andLater = false);
    ScreenArea screenArea() const;
    void selectAndDraw(int profile, int templ);
    void connectTable();
    void showTable();
    void putTableCursor();
    void reselectAfterTable();
    void Tableau1CellEdited(int row, int column);

    void setUpUndo();
    void setUpShortcuts();
    // The store changed outside the history: its positions no longer hold.
    void forgetHistory();
    // The profile and template shown, kept for the next run and shown again
    // when the window opens.
    void rememberSelection() const;
    void recallSelection();
    // Ctrl+Page Down / Up: the next or previous profile of the list.
    void stepProfile(int step);
    EditState editState() const;
    bool eventFilter(QObject *watched, QEvent *event) override;

    QUndoStack *m_undo = nullptr;
    std::optional<StoreSnapshot> m_editStore;
    EditState m_editBefore;
    // Changes the history does not hold (a repair at loading): the save
    // marker stays on even when the history is back at its clean state.
    bool m_unrecorded = false;
    bool m_inEdit = false;

    std::unique_ptr<ProfileStore> m_store;
    std::unique_ptr<TemplateDrawing> m_drawing;
    std::unique_ptr<FigureEditor> m_figures;
    std::unique_ptr<CoordinateTable> m_table;
    TForm2 *m_form2 = nullptr;
    HybridDialog m_hybridDialog;
    PanelDialog m_panelDialog;
    TForm3 *m_form3 = nullptr;
    ExportDialog *m_exportDialog = nullptr;
    NamedFindings m_findingsNamed;
    bool m_findingsPending = false;
    // Set while a selection fills the window: the findings wait until the
    // new template's fields are shown.
    bool m_holdFindings = false;
    bool m_paintBoxPressed = false;
    QTimer *m_findingsTimer = nullptr;
    bool m_closing = false;
    bool m_quitting = false;
    bool m_syncing = false;
};

// The paint box: it only copies the window's off-screen image.
class PaintBox : public QWidget
{
    Q_OBJECT
public:
    explicit PaintBox(TForm1 *form, QWidget *parent) : QWidget(parent), m_form(form) {}

protected:
    void paintEvent(QPaintEvent *) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;

private:
    TForm1 *m_form;
};
