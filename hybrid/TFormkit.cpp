#include "hybrid/TFormkit.h"

#include "drawing/TForm3.h"
#include "hybrid/TFormpanneau.h"
#include "profiles/ProfileStore.h"
#include "render/TemplateDrawing.h"
#include "ui/Help.h"
#include "ui/Language.h"
#include "ui/Prompts.h"
#include "ui/StatusLine.h"

#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPainter>
#include <QPointer>
#include <QRegularExpression>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <memory>

namespace
{

// Layer colours of the previews: the cut in red, figures in blue, the
// airfoil in grey, marks in green, text in black.
const QColor kPreviewColours[RibVectors::LayerCount] = {
    QColor(220, 0, 0), QColor(0, 0, 220), QColor(160, 160, 160), QColor(0, 150, 0), Qt::black};

QDoubleSpinBox *lengthField(double max, double value, const char *name, QWidget *parent)
{
    auto *f = new QDoubleSpinBox(parent);
    f->setRange(0, max);
    f->setDecimals(1);
    f->setSingleStep(0.5);
    f->setValue(value);
    f->setObjectName(QString::fromLatin1(name));
    return f;
}

// The panel file to open (save false) or to write.
QString askPanelFile(bool save, const QString &suggested)
{
    const QString caption =
        save ? Language::pick(QStringLiteral("Enregistrer le panneau"),
                              QStringLiteral("Save the panel"))
             : Language::pick(QStringLiteral("Ouvrir un panneau"), QStringLiteral("Open a panel"));
    const QString filter = QCoreApplication::translate("TFormkit", "Panneau (*.json)");
    if (save)
        return Prompts::current().saveFileName(caption, suggested, filter, QStringLiteral("json"));
    const QStringList names =
        Prompts::current().openFileNames(caption, suggested, filter + QStringLiteral(";;* (*)"));
    return names.isEmpty() ? QString() : names.front();
}

} // namespace

QString askCuttingFile(const QString &captionFr, const QString &captionEn, const QString &suggested,
                       VectorExport::Format *format)
{
    const QString path = Prompts::current().saveFileName(
        Language::pick(captionFr, captionEn), suggested,
        QStringLiteral("SVG (*.svg);;DXF (*.dxf);;PDF (*.pdf)"), QStringLiteral("svg"));
    if (path.isEmpty())
        return path;
    if (!VectorExport::parseFormat(QFileInfo(path).suffix(), format) ||
        *format == VectorExport::Format::Dat) {
        Prompts::current().message(Language::pick(QStringLiteral("Format inconnu : "),
                                                  QStringLiteral("Unknown format: ")) +
                                   path);
        return QString();
    }
    return path;
}

void paintKitShapes(QPainter &p, const RibVectors::Rib &shapes, const QRectF &target)
{
    const QRectF box = shapes.bounds();
    if (box.isNull() || !(box.width() > 0) || !(box.height() > 0))
        return;
    const double k = std::min(target.width() / box.width(), target.height() / box.height());
    // mm (y up) to pixels (y down), centred.
    const QPointF centre = target.center();
    const QTransform toPixels(k, 0, 0, -k, centre.x() - k * box.center().x(),
                              centre.y() + k * box.center().y());
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    for (const RibVectors::Shape &s : shapes.shapes) {
        p.setPen(QPen(kPreviewColours[s.layer], 1));
        p.setBrush(Qt::NoBrush);
        switch (s.kind) {
        case RibVectors::Shape::Path:
            p.drawPath(toPixels.map(s.path));
            break;
        case RibVectors::Shape::Circle:
        case RibVectors::Shape::Arc: {
            const QPointF c = toPixels.map(s.centre);
            const double r = s.radius * k;
            if (s.kind == RibVectors::Shape::Circle)
                p.drawEllipse(c, r, r);
            else
                p.drawArc(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r), qRound(s.startDeg * 16),
                          qRound(s.spanDeg * 16));
            break;
        }
        case RibVectors::Shape::Label:
            if (s.height * k >= 6)
                p.drawText(toPixels.map(s.centre), s.text);
            break;
        }
    }
    p.restore();
}

TFormkit::TFormkit(ProfileStore *store, std::function<PanelInputs()> panel,
                   std::function<void(const PanelInputs &)> setPanel, TForm3 *printing,
                   QWidget *parent)
    : QDialog(parent), m_store(store), m_printing(printing), m_panel(std::move(panel)),
      m_setPanel(std::move(setPanel))
{
    setObjectName(QStringLiteral("Formkit"));
    setWindowTitle(tr("NERVURIA - Structure du panneau : longerons, coupes, pattes, allègements"));
    setFont(QFont(QStringLiteral("Arial"), 9));

    auto *fields = new QGroupBox(tr("Structure"), this);
    EditWashout = new QLineEdit(fields);
    EditWashout->setObjectName(QStringLiteral("EditWashout"));
    EditWashout->setPlaceholderText(tr("calages du panneau"));
    EditPivot = lengthField(100, 25, "EditPivot", fields);
    MemoSpars = new QPlainTextEdit(fields);
    MemoSpars->setObjectName(QStringLiteral("MemoSpars"));
    MemoSpars->setPlaceholderText(QStringLiteral("25:6x3:both\n60..50:5x4:top"));
    MemoSpars->setMaximumHeight(70);
    EditLeCut = lengthField(1000, 0, "EditLeCut", fields);
    EditTeCut = lengthField(1000, 0, "EditTeCut", fields);
    EditJig = lengthField(1000, 0, "EditJig", fields);
    EditTabs = new QLineEdit(QStringLiteral("15; 85"), fields);
    EditTabs->setObjectName(QStringLiteral("EditTabs"));
    EditTabWidth = lengthField(100, 6, "EditTabWidth", fields);
    EditHoles = lengthField(100, 0, "EditHoles", fields);
    auto *form = new QFormLayout(fields);
    form->addRow(tr("Vrillage °"), EditWashout);
    form->addRow(tr("Pivot % de la corde"), EditPivot);
    form->addRow(tr("Longerons"), MemoSpars);
    form->addRow(tr("Coupe bord d'attaque mm"), EditLeCut);
    form->addRow(tr("Coupe bord de fuite mm"), EditTeCut);
    form->addRow(tr("Chantier sous le pivot mm"), EditJig);
    form->addRow(tr("Pattes % de la corde"), EditTabs);
    form->addRow(tr("Largeur des pattes mm"), EditTabWidth);
    form->addRow(tr("Allègements, âme mm"), EditHoles);
    EditKerf = lengthField(5, 0, "EditKerf", fields);
    EditKerf->setDecimals(2);
    EditKerf->setSingleStep(0.05);
    ComboNest = new QComboBox(fields);
    ComboNest->setObjectName(QStringLiteral("ComboNest"));
    ComboNest->addItems({tr("par leur forme"), tr("en rangées")});
    CheckFreeGrain = new QCheckBox(tr("Quarts de tour (sans fil du bois)"), fields);
    CheckFreeGrain->setObjectName(QStringLiteral("CheckFreeGrain"));
    EditCopies = new QSpinBox(fields);
    EditCopies->setObjectName(QStringLiteral("EditCopies"));
    EditCopies->setRange(1, 1000);
    form->addRow(tr("Trait de coupe mm"), EditKerf);
    form->addRow(tr("Placement"), ComboNest);
    form->addRow(CheckFreeGrain);
    form->addRow(tr("Exemplaires"), EditCopies);

    UpDownRib = new QSpinBox(this);
    UpDownRib->setObjectName(QStringLiteral("UpDownRib"));
    UpDownRib->setRange(1, 1);
    LabelError = new QLabel(this);
    LabelError->setObjectName(QStringLiteral("LabelError"));
    LabelError->setStyleSheet(QStringLiteral("color: #c00000"));
    LabelError->setWordWrap(true);
    PaintRib = new PanelPaintBox([this](QPainter &p) { paintRib(p); }, this);
    PaintRib->setObjectName(QStringLiteral("PaintRib"));
    PaintRib->setMinimumSize(460, 200);
    PaintPlan = new PanelPaintBox([this](QPainter &p) { paintPlan(p); }, this);
    PaintPlan->setObjectName(QStringLiteral("PaintPlan"));
    PaintPlan->setMinimumSize(460, 220);

    ButtonOpen = new QPushButton(tr("Ouvrir…"), this);
    ButtonSave = new QPushButton(tr("Enregistrer…"), this);
    ButtonPrint = new QPushButton(tr("Imprimer…"), this);
    ButtonPrint->setObjectName(QStringLiteral("ButtonPrint"));
    ButtonPrint->setEnabled(printing != nullptr);
    ButtonExport = new QPushButton(tr("Exporter le kit…"), this);
    auto *help = new QPushButton(tr("&Aide"), this);
    ButtonClose = new QPushButton(tr("Fermer"), this);

    auto *ribRow = new QHBoxLayout;
    ribRow->addWidget(new QLabel(tr("Nervure n°"), this));
    ribRow->addWidget(UpDownRib);
    ribRow->addStretch();
    auto *previews = new QVBoxLayout;
    previews->addLayout(ribRow);
    previews->addWidget(PaintRib, 1);
    previews->addWidget(new QLabel(tr("Plan (vue de dessus)"), this));
    previews->addWidget(PaintPlan, 1);
    auto *top = new QHBoxLayout;
    top->addWidget(fields);
    top->addLayout(previews, 1);
    auto *buttons = new QHBoxLayout;
    for (QPushButton *b : {ButtonOpen, ButtonSave, ButtonPrint, ButtonExport, help})
        buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(ButtonClose);
    auto *main = new QVBoxLayout(this);
    main->addLayout(top, 1);
    main->addWidget(LabelError);
    main->addLayout(buttons);
    // Room for the status line, which lies over the window's foot.
    Status = new StatusLine(this);
    Status->hide();
    main->addSpacing(Status->fontMetrics().height() + 6);

    m_timer.setSingleShot(true);
    m_timer.setInterval(250);
    connect(&m_timer, &QTimer::timeout, this, &TFormkit::refresh);
    for (QLineEdit *e : {EditWashout, EditTabs})
        connect(e, &QLineEdit::textChanged, this, &TFormkit::changed);
    for (QDoubleSpinBox *f : {EditPivot, EditLeCut, EditTeCut, EditJig, EditTabWidth, EditHoles})
        connect(f, &QDoubleSpinBox::valueChanged, this, &TFormkit::changed);
    connect(MemoSpars, &QPlainTextEdit::textChanged, this, &TFormkit::changed);
    connect(UpDownRib, &QSpinBox::valueChanged, PaintRib, qOverload<>(&QWidget::update));
    connect(ButtonOpen, &QPushButton::clicked, this, &TFormkit::openFile);
    connect(ButtonSave, &QPushButton::clicked, this, &TFormkit::saveFile);
    connect(ButtonPrint, &QPushButton::clicked, this, &TFormkit::printKit);
    connect(ButtonExport, &QPushButton::clicked, this, &TFormkit::exportKit);
    connect(ButtonClose, &QPushButton::clicked, this, &QDialog::accept);
    connect(help, &QPushButton::clicked, this, [] {
        HelpViewer::instance().showTopic(
            Language::pick(QStringLiteral("STRUCTURE"), QStringLiteral("KIT")));
    });
    resize(980, 620);
}

void TFormkit::changed()
{
    m_timer.start();
}

bool TFormkit::definition(PanelDefinition *out, QString *error)
{
    PanelDefinition d;
    d.database = m_database;
    d.panel = m_panel();
    KitOptions &kit = d.kit;
    auto take = [&](const char *option, const QString &value) {
        return PanelKit::takeOption(QLatin1String(option), value, &d.panel, &kit, error) == 1;
    };
    if (!EditWashout->text().trimmed().isEmpty() && !take("--washout", EditWashout->text()))
        return false;
    kit.pivot = EditPivot->value();
    kit.leCut = EditLeCut->value();
    kit.teCut = EditTeCut->value();
    kit.jig = EditJig->value();
    kit.tabWidth = std::max(0.1, EditTabWidth->value());
    kit.holes = EditHoles->value();
    d.cutting.kerf = EditKerf->value();
    d.cutting.nesting =
        ComboNest->currentIndex() == 1 ? VectorExport::Nesting::Rows : VectorExport::Nesting::Shape;
    d.cutting.freeGrain = CheckFreeGrain->isChecked();
    d.cutting.copies = EditCopies->value();
    if (!take("--tabs", EditTabs->text().simplified().remove(QLatin1Char(' '))))
        return false;
    for (const QString &line : MemoSpars->toPlainText().split(QLatin1Char('\n'))) {
        if (!line.trimmed().isEmpty() && !take("--spar", line.trimmed()))
            return false;
    }
    *out = d;
    return true;
}

void TFormkit::setDefinition(const PanelDefinition &d)
{
    const QSignalBlocker blocks[] = {
        QSignalBlocker(EditWashout), QSignalBlocker(EditPivot),    QSignalBlocker(MemoSpars),
        QSignalBlocker(EditLeCut),   QSignalBlocker(EditTeCut),    QSignalBlocker(EditJig),
        QSignalBlocker(EditTabs),    QSignalBlocker(EditTabWidth), QSignalBlocker(EditHoles)};
    // The laser's options start no computation: they only set the export.
    (void)blocks;
    m_database = d.database;
    // A root at 0 with a whole tip is a washout; anything else stays as
    // incidences of the panel.
    const bool washout = d.panel.root.angle == 0 && d.panel.tip.angle != 0;
    EditWashout->setText(washout ? QString::number(-d.panel.tip.angle, 'g', 6) : QString());
    EditPivot->setValue(d.kit.pivot);
    QStringList spars;
    for (const SparSpec &s : d.kit.spars)
        spars << s.text();
    MemoSpars->setPlainText(spars.join(QLatin1Char('\n')));
    EditLeCut->setValue(d.kit.leCut);
    EditTeCut->setValue(d.kit.teCut);
    EditJig->setValue(d.kit.jig);
    QStringList tabs;
    for (double t : d.kit.tabs)
        tabs << QString::number(t, 'g', 6);
    EditTabs->setText(tabs.join(QStringLiteral("; ")));
    EditTabWidth->setValue(d.kit.tabWidth);
    EditHoles->setValue(d.kit.holes);
    EditKerf->setValue(d.cutting.kerf);
    ComboNest->setCurrentIndex(d.cutting.nesting == VectorExport::Nesting::Rows ? 1 : 0);
    CheckFreeGrain->setChecked(d.cutting.freeGrain);
    EditCopies->setValue(d.cutting.copies);
    if (m_setPanel)
        m_setPanel(d.panel);
    refresh();
}

void TFormkit::refresh()
{
    m_timer.stop();
    m_ribs.clear();
    m_plan = {};
    PanelDefinition d;
    QString error;
    if (definition(&d, &error) && PanelKit::buildRibs(d.panel, d.kit, *m_store, &m_ribs, &error)) {
        m_plan = PanelKit::plan(d.panel, d.kit, m_ribs);
        error.clear();
    } else {
        m_ribs.clear();
    }
    LabelError->setText(error);
    UpDownRib->setRange(1, std::max(1, int(m_ribs.size())));
    PaintRib->update();
    PaintPlan->update();
}

void TFormkit::paintRib(QPainter &p)
{
    p.fillRect(PaintRib->rect(), Qt::white);
    const int i = UpDownRib->value() - 1;
    if (i >= 0 && i < int(m_ribs.size()))
        paintKitShapes(p, m_ribs[size_t(i)], QRectF(PaintRib->rect()).adjusted(8, 8, -8, -8));
}

void TFormkit::paintPlan(QPainter &p)
{
    p.fillRect(PaintPlan->rect(), Qt::white);
    paintKitShapes(p, m_plan, QRectF(PaintPlan->rect()).adjusted(8, 8, -8, -8));
}

void TFormkit::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    Status->place();
}

std::optional<PanelDefinition> TFormkit::checkedDefinition()
{
    PanelDefinition d;
    QString error;
    if (!definition(&d, &error)) {
        Prompts::current().message(error);
        return std::nullopt;
    }
    return d;
}

void TFormkit::openFile()
{
    const QString path = askPanelFile(false, QDir::currentPath());
    if (path.isEmpty())
        return;
    QString error;
    const std::optional<PanelDefinition> d = PanelDefinition::load(path, &error);
    if (!d) {
        Prompts::current().message(error);
        return;
    }
    setDefinition(*d);
}

void TFormkit::saveFile()
{
    std::optional<PanelDefinition> d = checkedDefinition();
    if (!d)
        return;
    const QString path =
        askPanelFile(true, QDir::current().filePath(d->panel.name + QStringLiteral(".json")));
    if (path.isEmpty())
        return;
    // The database is kept relative to the file when it lies beside it.
    if (!d->database.isEmpty())
        d->database = QFileInfo(path).absoluteDir().relativeFilePath(d->database);
    QString error;
    if (!d->save(path, &error))
        Prompts::current().message(path + QStringLiteral(" : ") + error);
}

void TFormkit::exportKit()
{
    const std::optional<PanelDefinition> d = checkedDefinition();
    if (!d)
        return;
    VectorExport::Options options = d->cutting;
    const QString path = askCuttingFile(
        QStringLiteral("Exporter le kit"), QStringLiteral("Export the kit"),
        QDir::current().filePath(d->panel.name + QStringLiteral(".svg")), &options.format);
    if (path.isEmpty())
        return;
    // The plan beside the ribs: NAME-plan.svg for NAME.svg, on A4 pages.
    const QFileInfo info(path);
    const QString plan =
        info.dir().filePath(info.completeBaseName() + QStringLiteral("-plan.") + info.suffix());
    QString error, report;
    QStringList findings;
    if (PanelKit::exportKit(d->panel, d->kit, *m_store, options, path, plan, QSizeF(210, 297),
                            &error, &report, &findings) != 0) {
        Status->refuse(path + QStringLiteral(" : ") + error);
        Prompts::current().message(path + QStringLiteral(" : ") + error);
        return;
    }
    Status->say(Language::pick(QStringLiteral("Exporté : %1, %2 ; plan : %3"),
                               QStringLiteral("Exported: %1, %2; plan: %3"))
                    .arg(info.fileName(), report, QFileInfo(plan).fileName()));
    if (!findings.isEmpty())
        Prompts::current().message(findings.join(QLatin1Char('\n')));
}

void TFormkit::PrintedKit::paint(QPainter &p, int page, double unitsPerMm) const
{
    const int ribPages = int(ribs.sheets.size());
    if (page < ribPages)
        VectorExport::paintPage(p, ribs, page, unitsPerMm, 1);
    else if (page - ribPages < int(plan.sheets.size()))
        VectorExport::paintPage(p, plan, page - ribPages, unitsPerMm, 1);
}

std::optional<TFormkit::PrintedKit> TFormkit::printedKit(QSizeF area, QString *error)
{
    PanelDefinition d;
    if (!definition(&d, error))
        return std::nullopt;
    refresh();
    if (m_ribs.empty()) {
        *error = LabelError->text();
        return std::nullopt;
    }
    // Paper is cut by hand: no kerf; the copies and the nesting are the
    // export's. The sheets leave room at their foot for a check bar that
    // finds no free corner, so that every page stays within the area.
    VectorExport::Options options = d.cutting;
    options.kerf = 0;
    // Laid out as for a PDF file: each page gets its check bar.
    options.format = VectorExport::Format::Pdf;
    const double strip = std::max(options.gap, 3.0) + TemplateDrawing::kCheckBarBelowMm +
                         TemplateDrawing::kCheckBarAboveMm;
    options.sheet = QSizeF(area.width(), area.height() - strip);
    PrintedKit kit;
    kit.ribs = VectorExport::arrange(m_ribs, options);
    if (kit.ribs.oversized > 0 || (kit.ribs.sheets.size() == 1 && !kit.ribs.material &&
                                   (VectorExport::pageOf(kit.ribs, 0).width() > area.width() ||
                                    VectorExport::pageOf(kit.ribs, 0).height() > area.height()))) {
        *error = Language::pick(QStringLiteral("Une nervure est plus grande que la page "
                                               "imprimable (%1 x %2 mm) : exportez le kit."),
                                QStringLiteral("A rib is larger than the printable page "
                                               "(%1 x %2 mm): export the kit."))
                     .arg(area.width(), 0, 'f', 0)
                     .arg(area.height(), 0, 'f', 0);
        return std::nullopt;
    }
    kit.plan = PanelKit::planSheets(m_plan, area, 5);
    return kit;
}

void TFormkit::printKit()
{
    if (!m_printing)
        return;
    // The kit laid out for a printable area; the preview lays it out again
    // when another paper is chosen, and the last layout is the one printed.
    auto pages = std::make_shared<std::shared_ptr<PrintedKit>>();
    const auto layOut = [self = QPointer<TFormkit>(this), pages](
                            QSizeF area, TForm3::SheetSeries *series, QString *error) {
        const std::optional<PrintedKit> kit =
            self ? self->printedKit(area, error) : std::optional<PrintedKit>();
        if (!kit)
            return false;
        const auto laid = std::make_shared<PrintedKit>(*kit);
        *pages = laid;
        series->count = laid->pages();
        series->portrait = false;
        series->draw = [laid](QPainter &p, int page, double k) { laid->paint(p, page, k); };
        return true;
    };
    TForm3::SheetSeries series;
    series.area = m_printing->printableMm(false);
    QString error;
    if (!layOut(series.area, &series, &error)) {
        Status->refuse(error);
        Prompts::current().message(error);
        return;
    }
    series.relayout = layOut;
    m_printing->startSheets(series);
    // The preview prints while it is open and closes once printed.
    const int result = m_printing->exec();
    if (result == TForm3::PrintCurrent)
        Status->say(m_printing->printedPageMessage());
    else if (result == TForm3::PrintAll)
        Status->say(Language::pick(QStringLiteral("Impression envoyée : %1 page(s) ; "
                                                  "nervures %2, plan %3."),
                                   QStringLiteral("Printed: %1 page(s); ribs %2, plan %3."))
                        .arg((*pages)->pages())
                        .arg((*pages)->ribs.sheets.size())
                        .arg((*pages)->plan.sheets.size()));
}
