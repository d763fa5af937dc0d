#include "hybrid/TFormpanneau.h"

#include "cutting/ExportJob.h"
#include "cutting/VectorExport.h"
#include "drawing/FigureEditor.h"
#include "drawing/TForm3.h"
#include "hybrid/TFormfoam.h"
#include "hybrid/TFormkit.h"
#include "profiles/ProfileStore.h"
#include "render/PrintPages.h"
#include "render/TemplateDrawing.h"
#include "ui/Help.h"
#include "ui/Language.h"
#include "ui/Prompts.h"

#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPainter>
#include <QShowEvent>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace
{

template <class Field> Field *named(Field *field, const char *name)
{
    field->setObjectName(QString::fromLatin1(name));
    return field;
}

QString oneDecimal(double v)
{
    return QLocale().toString(v, 'f', 1);
}

// The chord and skin of a template line, for the caption beside the list.
QString templateCaption(const QString &line)
{
    const QStringList values = line.mid(8).split(QLatin1Char(';'));
    if (values.size() < 2)
        return QString();
    int skin = values[1].trimmed().toInt();
    static const int shortForms[4] = {5, 8, 10, 15};
    if (skin >= 0 && skin <= 3)
        skin = shortForms[skin];
    return QCoreApplication::translate("TFormpanneau", "Corde ") + values[0].trimmed() +
           QCoreApplication::translate("TFormpanneau", " mm   Coffrage ") + QString::number(skin) +
           QStringLiteral("/10");
}

} // namespace

void PanelPaintBox::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    m_paint(painter);
}

TFormpanneau::TFormpanneau(ProfileStore *store, TForm3 *printing, QWidget *parent)
    : ActivatingDialog(parent), m_store(store), m_printing(printing)
{
    Q_ASSERT(store);
    setObjectName(QStringLiteral("Formpanneau"));
    setWindowTitle(tr("NERVURIA - Panneau d'aile : toutes les nervures de l'emplanture au saumon"));
    setFont(QFont(QStringLiteral("Arial"), 9));
    buildControls();
    resize(860, 640);
}

TFormpanneau::~TFormpanneau() = default;

void TFormpanneau::buildControls()
{
    Editnom = named(new QLineEdit(tr("PANNEAU"), this), "Editnom");

    auto end = [this](const QString &title, const char *profile, const char *templ,
                      const char *info, const char *angle, QComboBox *&profileList,
                      QComboBox *&templateList, QLabel *&infoLabel, SpinField *&angleField) {
        auto *g = new QGroupBox(title, this);
        profileList = named(new QComboBox(g), profile);
        profileList->setMinimumContentsLength(16);
        templateList = named(new QComboBox(g), templ);
        infoLabel = named(new QLabel(g), info);
        angleField = named(new SpinField(-45, 45, 1, 0, g), angle);
        auto *grid = new QGridLayout(g);
        grid->addWidget(profileList, 0, 0, 1, 2);
        grid->addWidget(new QLabel(tr("Gabarit"), g), 1, 0);
        grid->addWidget(templateList, 1, 1);
        grid->addWidget(infoLabel, 2, 0, 1, 2);
        grid->addWidget(new QLabel(tr("Calage °"), g), 3, 0);
        grid->addWidget(angleField, 3, 1);
        return g;
    };
    auto *rootGroup = end(tr("Nervure d'emplanture"), "ComboBox1", "ComboBox3", "Label5", "UpDown3",
                          ComboBox1, ComboBox3, Label5, UpDown3);
    auto *tipGroup = end(tr("Nervure de saumon"), "ComboBox2", "ComboBox4", "Label6", "UpDown4",
                         ComboBox2, ComboBox4, Label6, UpDown4);

    auto *ribsGroup = new QGroupBox(tr("Nervures"), this);
    UpDown1 = named(new SpinField(0, int(WingPanel::kMaxSpan), 10, 500, ribsGroup), "UpDown1");
    RadioGroup1 = named(new RadioGroup(QString(),
                                       {tr("Nombre, régulièrement espacées"),
                                        tr("Positions depuis l'emplanture (mm)")},
                                       ribsGroup),
                        "RadioGroup1");
    RadioGroup1->setItemIndex(0);
    UpDown2 = named(new SpinField(0, WingPanel::kMaxRibs + 1, 1, 6, ribsGroup), "UpDown2");
    Edit5 = named(new QLineEdit(QStringLiteral("0; 100; 200; 300; 400; 500"), ribsGroup), "Edit5");
    CheckBox1 = named(new QCheckBox(tr("Coffrage variable de l'emplanture au saumon"), ribsGroup),
                      "CheckBox1");
    auto *rg = new QGridLayout(ribsGroup);
    rg->addWidget(new QLabel(tr("Envergure mm"), ribsGroup), 0, 0);
    rg->addWidget(UpDown1, 0, 1);
    rg->addWidget(RadioGroup1, 1, 0, 2, 1);
    rg->addWidget(UpDown2, 1, 1);
    rg->addWidget(Edit5, 2, 1);
    rg->addWidget(CheckBox1, 3, 0, 1, 2);

    Button1 = named(new QPushButton(tr("Calculer et Afficher"), this), "Button1");
    Button2 = named(new QPushButton(tr("Imprimer les nervures"), this), "Button2");
    Button2->setEnabled(false);
    Button3 = named(new QPushButton(tr("Exporter les nervures…"), this), "Button3");
    Button3->setEnabled(false);
    Button4 = named(new QPushButton(tr("Structure et plan…"), this), "Button4");
    Button5 = named(new QPushButton(tr("Noyaux en mousse…"), this), "Button5");
    BitBtn1 = named(new QPushButton(QStringLiteral("OK"), this), "BitBtn1");
    BitBtn1->setEnabled(false);
    BitBtn2 = named(new QPushButton(tr("Annuler"), this), "BitBtn2");
    BitBtn3 = named(new QPushButton(tr("&Aide"), this), "BitBtn3");
    Button1->setDefault(true);

    Tableau1 = named(new QTableWidget(0, 5, this), "Tableau1");
    Tableau1->setHorizontalHeaderLabels(
        {tr("Nervure"), tr("Station mm"), tr("Mélange %"), tr("Corde mm"), tr("Calage °")});
    Tableau1->verticalHeader()->hide();
    Tableau1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Tableau1->setSelectionBehavior(QAbstractItemView::SelectRows);
    Tableau1->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    Tableau1->setMinimumWidth(380);
    PaintBox1 =
        named(new PanelPaintBox([this](QPainter &p) { PaintBox1Paint(p); }, this), "PaintBox1");
    PaintBox1->setMinimumSize(380, 300);

    auto *nameRow = new QHBoxLayout;
    nameRow->addWidget(new QLabel(tr("Nom du panneau"), this));
    nameRow->addWidget(Editnom, 1);
    auto *fields = new QHBoxLayout;
    fields->addWidget(rootGroup);
    fields->addWidget(tipGroup);
    fields->addWidget(ribsGroup);
    auto *results = new QHBoxLayout;
    results->addWidget(Tableau1, 2);
    results->addWidget(PaintBox1, 3);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    buttons->addWidget(Button3);
    buttons->addWidget(Button4);
    buttons->addWidget(Button5);
    buttons->addWidget(BitBtn3);
    buttons->addStretch();
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);
    auto *main = new QVBoxLayout(this);
    main->addLayout(nameRow);
    main->addLayout(fields);
    main->addLayout(results, 1);
    main->addLayout(buttons);

    connect(ComboBox1, &QComboBox::activated, this, &TFormpanneau::ComboBox1Click);
    connect(ComboBox2, &QComboBox::activated, this, &TFormpanneau::ComboBox2Click);
    connect(ComboBox3, &QComboBox::activated, this, [this] {
        Label5->setText(templateCaption(m_store->templateLine(
            m_store->names().indexOf(ComboBox1->currentText()), ComboBox3->currentIndex())));
    });
    connect(ComboBox4, &QComboBox::activated, this, [this] {
        Label6->setText(templateCaption(m_store->templateLine(
            m_store->names().indexOf(ComboBox2->currentText()), ComboBox4->currentIndex())));
    });
    connect(Button1, &QPushButton::clicked, this, &TFormpanneau::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TFormpanneau::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &TFormpanneau::Button3Click);
    connect(Button4, &QPushButton::clicked, this, &TFormpanneau::Button4Click);
    connect(Button5, &QPushButton::clicked, this, &TFormpanneau::Button5Click);
    connect(BitBtn1, &QPushButton::clicked, this, &TFormpanneau::accept);
    connect(BitBtn2, &QPushButton::clicked, this, &TFormpanneau::reject);
    connect(BitBtn3, &QPushButton::clicked, this, [] {
        HelpViewer::instance().showTopic(
            Language::pick(QStringLiteral("PANNEAU"), QStringLiteral("PANEL")));
    });
}

std::optional<AddedRibs> TFormpanneau::run()
{
    // Ribs are made from templates: without one the dialog could only fail.
    bool anyTemplate = false;
    for (int p = 0; p < m_store->count() && !anyTemplate; ++p)
        anyTemplate = m_store->templateCount(p) > 0;
    if (!anyTemplate) {
        Prompts::current().message(Language::pick(
            QStringLiteral("Aucun profil n'a de gabarit : créez d'abord un gabarit (bouton "
                           "Nouveau) pour l'emplanture et le saumon."),
            QStringLiteral("No airfoil has a template: first create a template (button "
                           "Nouveau) for the root and the tip.")));
        return std::nullopt;
    }
    return runModal(m_added);
}

// Each opening takes the store's profiles; the choices stay when the
// profiles are still there with a template. Otherwise the root goes to the
// first profile that has a template and the tip to the next one (the same
// one when it is alone), so that Enter computes a panel at once. Nothing is
// computed yet.
void TFormpanneau::FormActivate()
{
    const QStringList names = m_store->names();
    std::vector<int> withTemplates;
    for (int p = 0; p < int(names.size()); ++p) {
        if (m_store->templateCount(p) > 0)
            withTemplates.push_back(p);
    }
    for (auto [list, templates, info] :
         {std::tuple{ComboBox1, ComboBox3, Label5}, std::tuple{ComboBox2, ComboBox4, Label6}}) {
        const QString chosen = list->currentText();
        const int template_ = templates->currentIndex();
        list->clear();
        list->addItems(names);
        int i = int(names.indexOf(chosen));
        if (i >= 0 && m_store->templateCount(i) == 0)
            i = -1;
        int shown = i;
        if (shown < 0 && !withTemplates.empty())
            shown =
                list == ComboBox2 && withTemplates.size() > 1 ? withTemplates[1] : withTemplates[0];
        list->setCurrentIndex(shown >= 0 ? shown : 0);
        fillTemplates(list, templates, info);
        if (i >= 0 && template_ >= 0 && template_ < templates->count()) {
            templates->setCurrentIndex(template_);
            emit templates->activated(template_);
        }
    }
    m_result = {};
    Tableau1->setRowCount(0);
    BitBtn1->setEnabled(false);
    Button2->setEnabled(false);
    Button3->setEnabled(false);
    PaintBox1->update();
}

void TFormpanneau::fillTemplates(QComboBox *profile, QComboBox *templates, QLabel *info)
{
    templates->clear();
    const int p = int(m_store->names().indexOf(profile->currentText()));
    for (int t = 0; t < m_store->templateCount(p); ++t)
        templates->addItem(tr(" n°") + QString::number(t + 1));
    templates->setCurrentIndex(templates->count() > 0 ? 0 : -1);
    info->setText(templates->count() > 0 ? templateCaption(m_store->templateLine(p, 0))
                                         : tr("Aucun gabarit"));
}

void TFormpanneau::ComboBox1Click()
{
    fillTemplates(ComboBox1, ComboBox3, Label5);
}

void TFormpanneau::ComboBox2Click()
{
    fillTemplates(ComboBox2, ComboBox4, Label6);
}

PanelInputs TFormpanneau::inputs()
{
    for (QAbstractSpinBox *s :
         std::initializer_list<QAbstractSpinBox *>{UpDown1, UpDown2, UpDown3, UpDown4})
        s->interpretText();
    PanelInputs in;
    in.name = Editnom->text().trimmed();
    in.root = {ComboBox1->currentText(), std::max(ComboBox3->currentIndex(), 0),
               double(UpDown3->value())};
    in.tip = {ComboBox2->currentText(), std::max(ComboBox4->currentIndex(), 0),
              double(UpDown4->value())};
    in.span = UpDown1->value();
    in.mixedSkins = CheckBox1->isChecked();
    // An empty list of stations is no ribs at all, not the count.
    in.ribCount = RadioGroup1->itemIndex() == 1 ? 0 : UpDown2->value();
    if (RadioGroup1->itemIndex() == 1)
        in.stations = WingPanel::parseStations(Edit5->text()).value_or(std::vector<double>{});
    return in;
}

void TFormpanneau::Button1Click()
{
    BitBtn1->setEnabled(false);
    Button2->setEnabled(false);
    Button3->setEnabled(false);
    // Enter computes again until a computation passes.
    Button1->setDefault(true);
    const PanelInputs in = inputs();
    if (RadioGroup1->itemIndex() == 1 && !WingPanel::parseStations(Edit5->text())) {
        m_result = {};
        showRibs();
        Prompts::current().message(
            Language::pick(QStringLiteral("Positions des nervures illisibles : "),
                           QStringLiteral("Rib stations cannot be read: ")) +
            Edit5->text());
        Edit5->setFocus();
        return;
    }
    m_result = WingPanel::compute(in, *m_store);
    m_panelName = in.name;
    showRibs();
    if (!m_result.ok()) {
        Prompts::current().message(m_result.error);
        return;
    }
    BitBtn1->setEnabled(true);
    Button2->setEnabled(true);
    Button3->setEnabled(true);
    BitBtn1->setDefault(true);
}

void TFormpanneau::showRibs()
{
    const int count = int(m_result.ribs.size());
    Tableau1->setRowCount(count);
    for (int i = 0; i < count; ++i) {
        const PanelRib &rib = m_result.ribs[size_t(i)];
        const QString cells[5] = {WingPanel::ribName(m_panelName, rib.number, count),
                                  oneDecimal(rib.station), oneDecimal(rib.percent),
                                  oneDecimal(rib.chord), oneDecimal(rib.incidence)};
        for (int c = 0; c < 5; ++c) {
            auto *item = new QTableWidgetItem(cells[c]);
            if (c > 0)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            Tableau1->setItem(i, c, item);
        }
    }
    PaintBox1->update();
}

void TFormpanneau::PaintBox1Paint(QPainter &p)
{
    const int w = PaintBox1->width(), h = PaintBox1->height();
    p.fillRect(0, 0, w, h, Qt::white);
    if (m_result.ribs.empty())
        return;
    p.setRenderHint(QPainter::Antialiasing, true);
    double maxChord = 1, span = std::max(m_result.ribs.back().station, 1e-9);
    for (const PanelRib &rib : m_result.ribs)
        maxChord = std::max(maxChord, rib.chord);
    // Millimetres to pixels, across and up; the root's depth is kept free
    // at the bottom and the tip's at the top.
    const double s = (w - 20) / maxChord;
    const double top = 10 + 0.1 * s * maxChord, bottom = h - 10 - 0.08 * s * maxChord;
    const double x0 = 10;
    const int last = int(m_result.ribs.size()) - 1;
    for (int i = 0; i <= last; ++i) {
        const PanelRib &rib = m_result.ribs[size_t(i)];
        const double base = bottom - (bottom - top) * rib.station / span;
        const double k = s * rib.chord * 0.01;
        p.setPen(QPen(i == 0 ? QColor(0, 0, 128) : i == last ? QColor(0, 0, 255) : Qt::black, 1));
        for (const auto *surface : {&rib.profile.upper, &rib.profile.lower}) {
            QPolygonF line;
            for (int j = 0; j <= rib.profile.lastIndex; ++j)
                line << QPointF(x0 + k * (*surface)[j].x, base + k * (*surface)[j].y);
            p.drawPolyline(line);
        }
        // The figures as their boxes, turned about their centres.
        p.setPen(QPen(QColor(0, 128, 0), 1));
        for (const FigureRow &f : rib.figures) {
            const QPointF a(x0 + s * f[FigX1] * 0.1, base + s * f[FigY1] * 0.1);
            const QPointF b(x0 + s * f[FigX2] * 0.1, base + s * f[FigY2] * 0.1);
            const QRectF box = QRectF(a, b).normalized();
            p.save();
            p.translate(box.center());
            if (f[FigKind] == 0 || f[FigKind] == 4)
                p.rotate(-f[FigAngle]);
            const QRectF local = box.translated(-box.center());
            if (f[FigKind] == 1)
                p.drawLine(a - box.center(), b - box.center());
            else if (f[FigKind] == 2 || f[FigKind] == 3)
                p.drawEllipse(local);
            else
                p.drawRect(local);
            p.restore();
        }
    }
}

void TFormpanneau::Button2Click()
{
    if (!m_printing || !m_result.ok() || m_result.ribs.empty())
        return;
    // The ribs in a store of their own, drawn as the drawing window draws a
    // template, each at its exact chord.
    ProfileStore ribs;
    ExportJob::Picks picks;
    ExportJob::Chords chords;
    WingPanel::storeForCutting(ribs, m_panelName, m_result.ribs, &picks, &chords);
    TemplateDrawing drawing(&ribs);
    FigureEditor figures(drawing.working(), drawing.geometry());
    drawing.setFigureHook([&figures](QPainter &target, int f) { figures.draw(target, f); });
    const int count = int(m_result.ribs.size());
    m_printing->printSeries(count, [&](int i) {
        const PanelRib &rib = m_result.ribs[size_t(i)];
        const QString name = WingPanel::ribName(m_panelName, rib.number, count);
        drawing.SelectProfile(picks[size_t(i)].first, 0);
        drawing.working().chord = float(chords[size_t(i)]);
        drawing.setIncidence(int(std::lround(rib.incidence)));
        TForm3::SeriesItem item;
        item.drawing = &drawing;
        item.chord = float(chords[size_t(i)]);
        item.title = PrintPages::proposedTitle(name);
        item.label = PrintPages::proposedLabel(chords[size_t(i)], float(rib.skin)) +
                     QStringLiteral("     Station ") + oneDecimal(rib.station) +
                     QStringLiteral(" mm");
        return item;
    });
}

void TFormpanneau::Button3Click()
{
    if (!m_result.ok() || m_result.ribs.empty())
        return;
    VectorExport::Options options;
    const QString path =
        askCuttingFile(QStringLiteral("Exporter les nervures"), QStringLiteral("Export the ribs"),
                       QDir::current().filePath(WingPanel::ribName(m_panelName, 0, 0).chopped(4) +
                                                QStringLiteral(".svg")),
                       &options.format);
    if (path.isEmpty())
        return;
    // Every rib on sheets in one file, from a store of their own, each at
    // its exact chord.
    ProfileStore ribs;
    ExportJob::Picks picks;
    ExportJob::Chords chords;
    WingPanel::storeForCutting(ribs, m_panelName, m_result.ribs, &picks, &chords);
    QString error;
    if (!ExportJob::exportTemplates(ribs, picks, options, 50, path, &error, chords))
        Prompts::current().message(path + QStringLiteral(" : ") + error);
}

void TFormpanneau::accept()
{
    if (!BitBtn1->isEnabled() || !m_result.ok())
        return;
    const QStringList earlier = WingPanel::earlierRibs(*m_store, m_panelName);
    if (!earlier.isEmpty() &&
        !Prompts::current().confirm(WingPanel::questionReplace(
            WingPanel::ribName(m_panelName, 0, 0).chopped(4), int(earlier.size()))))
        return;
    AddedRibs added;
    added.firstName = WingPanel::store(*m_store, m_panelName, m_result.ribs);
    added.incidence = int(std::lround(m_result.ribs.front().incidence));
    m_added = added;
    // Profils.pro keeps whole millimetres: say which chords that changed.
    const QStringList rounded = WingPanel::roundedChords(m_panelName, m_result.ribs);
    if (!rounded.isEmpty())
        Prompts::current().message(
            Language::pick(QStringLiteral("Profils.pro garde les cordes en millimètres entiers ; "
                                          "ces cordes sont arrondies (l'impression et l'export "
                                          "du panneau gardent la corde exacte) :\n"),
                           QStringLiteral("Profils.pro keeps chords in whole millimetres; these "
                                          "chords are rounded (the panel's printing and export "
                                          "keep the exact chord):\n")) +
            rounded.join(QLatin1Char('\n')));
    QDialog::accept();
}
