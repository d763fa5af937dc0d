#include "drawing/TForm1.h"

#include "drawing/CoordinateTable.h"
#include "drawing/FigureEditor.h"
#include "drawing/TForm2.h"
#include "profiles/ProfileStore.h"
#include "render/TemplateDrawing.h"
#include "ui/Help.h"
#include "ui/Language.h"
#include "ui/Memory.h"
#include "ui/StatusLine.h"
#include "ui/Prompts.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>

namespace
{
// Heights of the two bars above the drawing area.
constexpr int kTopBar = 29;
constexpr int kSecondBar = 144;
constexpr int kMaxDrawingHeight = 320;
} // namespace

TForm1::TForm1(std::function<void()> databaseUnavailable) : QDialog(nullptr)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(tr(" NERVURIA - Dessin de gabarits"));
    setWindowFlags(Qt::Window | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    resize(637, 477);
    buildControls();

    m_store = std::make_unique<ProfileStore>();
    m_drawing = std::make_unique<TemplateDrawing>(m_store.get());
    m_figures = std::make_unique<FigureEditor>(m_drawing->working(), m_drawing->geometry());
    m_drawing->setFigureHook(
        [this](QPainter &target, int figure) { m_figures->draw(target, figure); });
    connect(m_store.get(), &ProfileStore::saveEnabledChanged, Btenregistrer,
            &QPushButton::setEnabled);
    connect(m_store.get(), &ProfileStore::profileAppended, this,
            [this](const QString &name) { Cb1->addItem(name); });
    connect(m_store.get(), &ProfileStore::profileListFilled, this,
            [this](const QStringList &names) {
                Cb1->clear();
                Cb1->addItems(names);
                Cb1->setCurrentIndex(names.isEmpty() ? -1 : 0);
            });
    if (databaseUnavailable)
        connect(m_store.get(), &ProfileStore::databaseUnavailable, this,
                std::move(databaseUnavailable));
    connectControls();
    connectTable();
    setUpUndo();
    setUpShortcuts();
    Memory::keepGeometry(this);
    Status = new StatusLine(this);
    FormCreate();
}

TForm1::~TForm1()
{
    // Controls still emit while the base classes take them down (a spin box
    // whose focus goes says its editing is finished): none may reach this
    // window's handlers once its own part is gone.
    for (QObject *child : findChildren<QObject *>())
        disconnect(child, nullptr, this, nullptr);
    // The history goes with the window, not as a last edit of the store.
    delete m_undo;
    m_undo = nullptr;
    FormDestroy();
}

void TForm1::connectControls()
{
    connect(Cb1, &QComboBox::activated, this, [this] { Cb1Click(); });
    connect(CB2, &QComboBox::activated, this, [this] { CB2Click(); });
    connect(Btnewgab, &QPushButton::clicked, this, [this] {
        recorded(Language::pick(QStringLiteral("Nouveau gabarit"), QStringLiteral("New template")),
                 &TForm1::BtnewgabClick);
    });
    connect(BtSupprgab, &QPushButton::clicked, this, [this] {
        recorded(Language::pick(QStringLiteral("Suppression du gabarit"),
                                QStringLiteral("Template deleted")),
                 &TForm1::BtSupprgabClick);
    });
    connect(Btquit, &QPushButton::clicked, this, &TForm1::BtquitClick);
    connect(Btenregistrer, &QPushButton::clicked, this, &TForm1::BtenregistrerClick);
    connect(Btsupprprofil, &QPushButton::clicked, this, [this] {
        recorded(Language::pick(QStringLiteral("Suppression du profil"),
                                QStringLiteral("Profile deleted")),
                 &TForm1::BtsupprprofilClick);
    });
    connect(UpDown4, &QSpinBox::valueChanged, this, [this] {
        if (!m_syncing)
            UpDown4Changing();
    });
    connect(UpDown7, &QSpinBox::valueChanged, this, [this] {
        if (!m_syncing)
            UpDown7Click();
    });
    connect(Btzoomplus, &QToolButton::clicked, this, &TForm1::BtzoomplusClick);
    connect(BtZoommoins, &QToolButton::clicked, this, &TForm1::BtZoommoinsClick);
    connect(BitBtn1, &QPushButton::clicked, this, &TForm1::BitBtn1Click);
    connect(Btimprime, &QPushButton::clicked, this, &TForm1::BtimprimeClick);
    connect(BtExporter, &QPushButton::clicked, this, &TForm1::BtExporterClick);
    const QToolButton *tools[] = {Speedrectangle, Speedligne, Speedrond, Speeddemirond,
                                  SpeedTriangle};
    for (int kind = 0; kind < 5; ++kind)
        connect(tools[kind], &QToolButton::clicked, this, [this, kind] {
            beginEdit();
            Nouvellefigure(kind);
            // The new figure and its placement by the next press make one
            // edit, recorded at that press's release.
            if (!m_figures->placing)
                endEdit(figureEditText());
            else
                pauseEdit();
        });
    connect(SpeedPoubelle, &QToolButton::clicked, this, [this] {
        recorded(Language::pick(QStringLiteral("Suppression de la figure"),
                                QStringLiteral("Figure deleted")),
                 &TForm1::BtsupprClick);
    });
    SpinField *figureBoxes[] = {UpDown1, UpDown2, UpDown3, UpDown5, UpDown6};
    for (int box = 0; box < 5; ++box) {
        connect(figureBoxes[box], &SpinField::arrowStepped, this,
                [this, box](int steps) {
                    // Steps of one box in a row undo together.
                    beginEdit();
                    UpDown1Click(box, steps > 0);
                    endEdit(figureEditText(), kFigureStepEdit + box);
                });
        if (box < FigureEditor::CentreX)
            connect(figureBoxes[box]->edit(), &QLineEdit::returnPressed, this,
                    [this] { recorded(figureEditText(), &TForm1::Edit1KeyPress); });
    }
    // A centre typed into "cx" or "cy" moves the figure there, at Enter as
    // when the focus leaves the box (Tab, a click elsewhere).
    connect(UpDown5, &QAbstractSpinBox::editingFinished, this,
            [this] { typedCentre(FigureEditor::CentreX); });
    connect(UpDown6, &QAbstractSpinBox::editingFinished, this,
            [this] { typedCentre(FigureEditor::CentreY); });
    const QCheckBox *boxes[] = {CheckBox2, CheckBox4, CheckBox1, CheckBox3};
    for (int i = 0; i < 4; ++i)
        connect(boxes[i], &QCheckBox::clicked, this,
                [this, i](bool checked) { DisplayOptionClick(i, checked); });
}

void TForm1::FormCreate()
{
    m_closing = false;
    m_drawing->working().figuresChanged = false;
    m_store->databaseLoaded = false;
    m_store->setSaveEnabled(false);
    Btenregistrer->setEnabled(false);
    m_store->currentProfile = -1;

    Tableau1->setRowCount(1);
    const ViewState &vs = m_drawing->viewState();
    for (int c = 0; c < 5; ++c)
        Tableau1->setItem(0, c, new QTableWidgetItem(vs.tableau1Cells[0][c]));

    FormResize();
    m_drawing->createImage(PaintBox1->size());
    WorkingData &wd = m_drawing->working();
    wd.skinThickness = 10;
    wd.chord = 100;
    wd.lastPoint = 0;

    if (m_store->LoadProfileDatabase() && m_store->count() > 0) {
        FillTemplateCombo(0);
        m_store->currentTemplate = -1;
    }
}

void TForm1::FormDestroy()
{
    m_closing = true;
    if (m_store)
        m_store->FreeProfileStore();
}

void TForm1::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    if (m_drawing)
        FormResize();
    if (Status)
        Status->place();
}

void TForm1::FormResize()
{
    if (m_closing)
        return;
    const int w = width(), h = height();
    Panel2->setGeometry(0, 0, w, kTopBar);
    Panel3->setGeometry(0, kTopBar, w, kSecondBar);

    // The drawing area follows the window but is never taller than 320.
    const int top = kTopBar + kSecondBar;
    const int areaWidth = qMax(1, w - Panel4->width() - 2);
    const int areaHeight = h > top + kMaxDrawingHeight ? kMaxDrawingHeight : qMax(1, h - top);
    ScrollBox1->setGeometry(Panel4->width(), top, areaWidth, areaHeight);
    Panel4->setGeometry(0, top, Panel4->width(), areaHeight);
    Panel1->setGeometry(Panel4->width() + areaWidth - Panel1->width() - 2, top, Panel1->width(),
                        qMax(1, areaHeight - 20));
    const int hintHeight = 22;
    Panel7->setGeometry(0, areaHeight - hintHeight, areaWidth, hintHeight);

    if (!m_drawing)
        return;
    const TemplateDrawing::Refresh what = m_drawing->resized();
    if (m_drawing->working().lastPoint > 0 && what != TemplateDrawing::Refresh::Nothing)
        layoutAndRender();
    showState();
}

void TForm1::Paintbox1Paint(QPainter &painter)
{
    if (m_closing || !m_drawing)
        return;
    painter.drawImage(0, 0, m_drawing->image());
    if (m_figures->dragMode != FigureEditor::NoDrag)
        m_figures->draw(painter, m_drawing->working().currentFigure, true);
}

void TForm1::layoutAndRender()
{
    if (const auto layout = m_drawing->layoutScreen(screenArea())) {
        PaintBox1->setFixedSize(layout->imageSize);
        m_drawing->render();
        ScrollBox1->horizontalScrollBar()->setValue(layout->horizontalPosition);
        PaintBox1->update();
        sayFigureFindings();
    }
}

ScreenArea TForm1::screenArea() const
{
    // The scale follows the drawing area's own width, scroll bars included.
    return {ScrollBox1->width(), ScrollBox1->height(), ScrollBox1->horizontalScrollBar()->value()};
}

// The dialog's fields are read back only after the user closed it with OK:
// a chord or skin from the file outside the fields' ranges would otherwise
// be clamped by the spin boxes and stored changed without a word.
void TForm1::takeDialogValues()
{
    if (!m_form2)
        return;
    ViewState &vs = m_drawing->viewState();
    m_form2->UpDown1->interpretText();
    m_form2->UpDown2->interpretText();
    vs.form2UpDown1Chord = m_form2->UpDown1->value();
    vs.form2RadioGroup1Skin = m_form2->RadioGroup1->itemIndex();
    vs.form2UpDown2Skin = m_form2->UpDown2->value();
}

void TForm1::showState()
{
    m_syncing = true;
    const ViewState &vs = m_drawing->viewState();
    Panel5->setText(vs.panel5Text);
    Panel6->setText(vs.panel6Text);
    Panel7->setVisible(vs.panel7Visible);
    for (QToolButton *b :
         {Speedrectangle, Speedligne, Speedrond, Speeddemirond, SpeedTriangle, SpeedPoubelle})
        b->setVisible(vs.figureButtonsVisible);
    if (vs.cb1ItemIndex >= 0 && vs.cb1ItemIndex < Cb1->count())
        Cb1->setCurrentIndex(vs.cb1ItemIndex);
    if (vs.cb2ItemIndex < CB2->count())
        CB2->setCurrentIndex(vs.cb2ItemIndex);

    if (Tableau1->rowCount() != vs.tableau1RowCount())
        Tableau1->setRowCount(vs.tableau1RowCount());
    for (int r = 0; r < vs.tableau1RowCount(); ++r) {
        for (int c = 0; c < 5; ++c) {
            QTableWidgetItem *item = Tableau1->item(r, c);
            if (!item)
                Tableau1->setItem(r, c, item = new QTableWidgetItem);
            if (item->text() != vs.tableau1Cells[r][c])
                item->setText(vs.tableau1Cells[r][c]);
        }
    }
    Panel1->setVisible(vs.panel1Visible);
    if (vs.panel1Visible)
        Panel1->raise();

    UpDown7->setValue(vs.upDown7Incidence);
    BtZoommoins->setEnabled(vs.btZoommoinsEnabled);
    Btzoomplus->setEnabled(vs.btzoomplusEnabled);
    CheckBox2->setChecked(vs.checkBox2Axes);
    CheckBox4->setChecked(vs.checkBox4Cambrure);
    CheckBox1->setChecked(vs.checkBox1ProfilPoints);
    CheckBox3->setChecked(vs.checkBox3GabaritPoints);
    CheckBox3->setVisible(vs.checkBox3Visible);
    UpDown4->setValue(vs.upDown4Smoothing);
    m_syncing = false;
}

void TForm1::showDialogValues()
{
    // Only a selection changes the dialog's fields: a redraw while the
    // dialog is open must not undo what the user is typing.
    if (!m_form2)
        return;
    const ViewState &vs = m_drawing->viewState();
    m_form2->UpDown1->setValue(vs.form2UpDown1Chord);
    m_form2->RadioGroup1->setItemIndex(vs.form2RadioGroup1Skin);
    m_form2->UpDown2->setValue(vs.form2UpDown2Skin);
}

void TForm1::selectAndDraw(int profile, int templ)
{
    m_figures->placing = false;
    m_figures->dragMode = FigureEditor::NoDrag;
    PaintBox1->unsetCursor();
    m_drawing->SelectProfile(profile, templ);
    showDialogValues();
    m_holdFindings = true;
    layoutAndRender();
    // A selection that stopped early leaves a blank image, not the previous
    // profile's drawing.
    PaintBox1->update();
    showState();
    m_figures->refreshPanel();
    showFigureBoxes();
    m_holdFindings = false;
    if (m_findingsPending)
        sayFigureFindings();
}

void TForm1::FillTemplateCombo(int profile)
{
    CB2->clear();
    const int n = m_store->templateCount(profile);
    for (int i = 1; i <= n; ++i)
        CB2->addItem(Language::pick(QStringLiteral(" n°"), QStringLiteral(" # ")) +
                     QString::number(i));
    CB2->setPlaceholderText(n == 0 ? Language::pick(QStringLiteral("Aucun"), QStringLiteral("None"))
                                   : QString());
    CB2->setCurrentIndex(-1);
}

void TForm1::Cb1Click()
{
    m_drawing->StoreTemplate(m_store->currentProfile, m_store->currentTemplate);
    m_store->currentProfile = Cb1->currentIndex();
    m_store->dataError = false;
    m_store->currentTemplate = -1;
    FillTemplateCombo(m_store->currentProfile);
    selectAndDraw(m_store->currentProfile, 0);
}

void TForm1::CB2Click()
{
    m_drawing->StoreTemplate(m_store->currentProfile, m_store->currentTemplate);
    if (CB2->count() == 0)
        return;
    // The selection makes the chosen template current only when it can be
    // drawn; while the data error flag is set nothing is chosen.
    selectAndDraw(m_store->currentProfile, CB2->currentIndex());
}

void TForm1::BtnewgabClick()
{
    if (!m_form2)
        return;
    m_drawing->setIncidence(0);
    m_drawing->viewState().upDown7Incidence = 0;
    m_syncing = true;
    UpDown7->setValue(0);
    m_syncing = false;

    const ViewState &vs = m_drawing->viewState();
    const int oldLength = vs.form2UpDown1Chord - vs.form2UpDown2Skin / 10;
    m_drawing->StoreTemplate(m_store->currentProfile, m_store->currentTemplate);

    const std::optional<TForm2::NewTemplate> made = m_form2->run();
    if (!made)
        return;
    takeDialogValues();
    const int chord = made->chord;
    const int skin = made->skin;
    const int t = m_store->AddTemplate(
        m_store->currentProfile, QStringLiteral("GABARIT ") + QString::number(chord) +
                                     QLatin1Char(';') + QString::number(skin) + QLatin1Char(';'));
    if (t < 0)
        return;
    m_store->currentTemplate = t;

    if (made->copyFigures) {
        // The figures keep their size; their centres follow the new length.
        // A template of no length (possible only in a hand-edited file)
        // leaves the centres where they are.
        const int newLength = chord - skin / 10;
        WorkingData &wd = m_drawing->working();
        for (int i = 0; i <= wd.lastFigure; ++i) {
            FigureRow &f = wd.figures[i];
            const int cx = (f[FigX1] + f[FigX2]) / 2, cy = (f[FigY1] + f[FigY2]) / 2;
            const int hw = (f[FigX2] - f[FigX1]) / 2, hh = (f[FigY2] - f[FigY1]) / 2;
            const long long ncx = oldLength > 0 ? (long long)cx * newLength / oldLength : cx;
            const long long ncy = oldLength > 0 ? (long long)cy * newLength / oldLength : cy;
            f[FigX1] = int(ncx - hw);
            f[FigY1] = int(ncy - hh);
            f[FigX2] = int(ncx + hw);
            f[FigY2] = int(ncy + hh);
        }
        m_drawing->StoreTemplate(m_store->currentProfile, m_store->currentTemplate);
    }

    // Said before the selection, so that a refusal it reports stays shown.
    Status->say(Language::pick(QStringLiteral("Gabarit n°%1 ajouté : corde %2 mm, coffrage %3/10."),
                               QStringLiteral("Template #%1 added: chord %2 mm, skin %3/10."))
                    .arg(t + 1)
                    .arg(chord)
                    .arg(skin));
    FillTemplateCombo(m_store->currentProfile);
    CB2->setCurrentIndex(CB2->count() - 1);
    selectAndDraw(m_store->currentProfile, m_store->currentTemplate);
    m_store->setSaveEnabled(true);
}

void TForm1::BtSupprgabClick()
{
    const int p = m_store->currentProfile;
    const int t = m_store->currentTemplate;
    if (!Prompts::current().confirm(
            Language::pick(QStringLiteral("Confirmez la suppression du gabarit n° "),
                           QStringLiteral("Do you want delete template # ")) +
            QString::number(t + 1)))
        return;
    const bool existed = t >= 0 && t < m_store->templateCount(p);
    m_store->DeleteTemplate(p, t);
    FillTemplateCombo(p);
    if (CB2->count() == 0)
        m_store->currentTemplate = -1;
    else if (m_store->currentTemplate > CB2->count() - 1)
        m_store->currentTemplate = CB2->count() - 1;
    CB2->setCurrentIndex(m_store->currentTemplate);
    selectAndDraw(p, m_store->currentTemplate);
    if (existed)
        m_store->setSaveEnabled(true);
}

void TForm1::offerSave()
{
    rememberSelection();
    m_drawing->StoreTemplate(m_store->currentProfile, m_store->currentTemplate);
    saveDatabase();
}

void TForm1::BtquitClick()
{
    offerSave();
    m_quitting = true;
    QDialog::accept();
    m_quitting = false;
}

void TForm1::reject()
{
    // Escape closes like "&Fermer": the template is stored and unsaved
    // changes are offered for saving.
    BtquitClick();
}

void TForm1::keyPressEvent(QKeyEvent *event)
{
    // Enter in a number field has done its work in that field (a figure
    // step, or nothing); it must not reach the dialog, which would click a
    // button and could close the window.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TForm1::closeEvent(QCloseEvent *event)
{
    // Closing through the frame behaves as "&Fermer".
    if (!m_quitting && isVisible() && !m_closing)
        offerSave();
    QDialog::closeEvent(event);
}

void TForm1::BtenregistrerClick()
{
    if (m_drawing->working().figuresChanged) {
        m_drawing->StoreTemplate(m_store->currentProfile, m_store->currentTemplate);
    }
    saveDatabase();
}

void TForm1::BtsupprprofilClick()
{
    if (!m_store->DeleteCurrentProfile(Cb1->currentText()))
        return;
    // The deleted profile's template and figures are gone with it: nothing
    // may be stored from them into the profile that takes its place, and
    // its data error goes with it too.
    m_store->currentTemplate = -1;
    m_store->dataError = false;
    m_drawing->working().lastFigure = -1;
    m_drawing->working().currentFigure = -1;
    Cb1->setCurrentIndex(m_store->currentProfile);
    FillTemplateCombo(m_store->currentProfile);
    if (m_store->count() == 0) {
        // The last profile is gone: nothing is left to draw; the window can
        // still be closed and the deletion saved.
        m_store->currentTemplate = -1;
        m_drawing->working().lastPoint = -1;
        m_drawing->createImage(PaintBox1->size());
        PaintBox1->update();
        return;
    }
    selectAndDraw(m_store->currentProfile, 0);
}

void TForm1::UpDown4Changing()
{
    const auto what = m_drawing->setSmoothing(UpDown4->value());
    m_drawing->refresh(what, screenArea());
    PaintBox1->update();
}

void TForm1::UpDown7Click()
{
    if (m_drawing->setIncidence(UpDown7->value()) != TemplateDrawing::Refresh::Nothing)
        layoutAndRender();
    showState();
}

void TForm1::BtzoomplusClick()
{
    if (m_drawing->zoomIn() != TemplateDrawing::Refresh::Nothing)
        layoutAndRender();
    showState();
}

void TForm1::BtZoommoinsClick()
{
    if (m_drawing->zoomOut() != TemplateDrawing::Refresh::Nothing)
        layoutAndRender();
    showState();
}

void TForm1::DisplayOptionClick(int option, bool checked)
{
    static const TemplateDrawing::DisplayOption options[] = {
        TemplateDrawing::DisplayOption::Axes, TemplateDrawing::DisplayOption::Cambrure,
        TemplateDrawing::DisplayOption::ProfilPoints,
        TemplateDrawing::DisplayOption::GabaritPoints};
    if (m_drawing->setDisplayOption(options[option], checked) != TemplateDrawing::Refresh::Nothing)
        layoutAndRender();
    showState();
}

void TForm1::BitBtn1Click()
{
    HelpViewer::instance().showTopic(TemplateDrawing::helpTopic());
}

void TForm1::prepareToShow()
{
    if (m_store->count() == 0)
        return;
    FillTemplateCombo(0);
    m_store->currentProfile = 0;
    m_store->currentTemplate = -1;
    // Maximised; without a window manager to honour that, the whole
    // available screen.
    if (QScreen *screen = this->screen())
        resize(screen->availableGeometry().size());
    setWindowState(windowState() | Qt::WindowMaximized);
    selectAndDraw(0, 0);
    recallSelection();
}
