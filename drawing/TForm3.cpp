#include "drawing/TForm3.h"

#include "render/TemplateDrawing.h"
#include "ui/Language.h"
#include "ui/Prompts.h"
#include "ui/Shortcuts.h"
#include "ui/WorkProgress.h"

#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QVBoxLayout>

#include <algorithm>
#include <limits>
#include <memory>

namespace
{
QColor gridColour()
{
    return QColor(255, 244, 228);
}

// Text with its top-left corner at (x, y).
void textAt(QPainter &p, int x, int y, const QString &text)
{
    p.drawText(x, y + p.fontMetrics().ascent(), text);
}
} // namespace

TForm3::TForm3(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(tr("NERVURIA  - Aperçu avant impression"));
    setFont(QFont(QStringLiteral("Arial"), 9));

    Label1 = new QLabel(tr("Titre"), this);
    Edit3 = new QLineEdit(this);
    Edit3->setObjectName(QStringLiteral("Edit3"));
    Label2 = new QLabel(tr("Libellé"), this);
    Edit4 = new QLineEdit(this);
    Edit4->setObjectName(QStringLiteral("Edit4"));
    RadioGroup1 = new RadioGroup(tr("Orientation"), {tr("Portrait"), tr("Paysage")}, this);
    RadioGroup1->setObjectName(QStringLiteral("RadioGroup1"));
    RadioGroup1->setItemIndex(1);
    Button1 = new QPushButton(tr("Aperçu page1"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button2 = new QPushButton(tr("Aperçu page2"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button3 = new QPushButton(tr("Page suivante"), this);
    Button3->setObjectName(QStringLiteral("Button3"));
    Label3 = new QLabel(this);
    Label3->setObjectName(QStringLiteral("Label3"));
    BitBtn3 = new QPushButton(tr("Configurer"), this);
    BitBtn3->setObjectName(QStringLiteral("BitBtn3"));
    BitBtn1 = new QPushButton(tr("Imprimer"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setDefault(true);
    Label4 = new QLabel(tr("(la page courante)"), this);
    BitBtn4 = new QPushButton(tr("Imprimer tout"), this);
    BitBtn4->setObjectName(QStringLiteral("BitBtn4"));
    BitBtn2 = new QPushButton(tr("Annuler"), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    PaintBox1 = new PreviewBox(this, this);
    PaintBox1->setObjectName(QStringLiteral("PaintBox1"));

    auto *side = new QVBoxLayout;
    side->addWidget(Label1);
    side->addWidget(Edit3);
    side->addWidget(Label2);
    side->addWidget(Edit4);
    side->addWidget(RadioGroup1);
    side->addWidget(Button1);
    side->addWidget(Button2);
    side->addWidget(Button3);
    side->addWidget(Label3);
    side->addStretch();
    side->addWidget(BitBtn3);
    side->addWidget(BitBtn1);
    side->addWidget(Label4, 0, Qt::AlignHCenter);
    side->addWidget(BitBtn4);
    side->addWidget(BitBtn2);
    auto *row = new QHBoxLayout(this);
    row->addLayout(side);
    row->addLayout(buildZoomArea(), 1);
    Edit3->setMinimumWidth(220);

    connect(RadioGroup1, &RadioGroup::itemClicked, this, [this] { RadioGroup1Click(); });
    connect(Button1, &QPushButton::clicked, this, &TForm3::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm3::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &TForm3::Button3Click);
    connect(BitBtn3, &QPushButton::clicked, this, &TForm3::BitBtn3Click);
    connect(BitBtn1, &QPushButton::clicked, this, [this] { printFromPreview(PrintCurrent); });
    connect(BitBtn4, &QPushButton::clicked, this, [this] { printFromPreview(PrintAll); });
    connect(BitBtn2, &QPushButton::clicked, this, &TForm3::reject);
    Shortcuts::pressAll(this, {{BitBtn1, Shortcuts::Role::Print}});
    FormCreate();
}

TForm3::~TForm3()
{
    FormDestroy();
}

QPrinter &TForm3::printer()
{
    if (!m_printer) {
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        // A4 whatever the regional default paper; the layout is made for it.
        m_printer->setPageSize(QPageSize(QPageSize::A4));
        m_printer->setPageOrientation(QPageLayout::Landscape);
    }
    return *m_printer;
}

void TForm3::FormCreate()
{
    m_image = QImage(8, 8, QImage::Format_RGB32);
    m_image.fill(Qt::white);
    PaintBox1->setFixedSize(m_image.size());
    m_previewFont = QFont(QStringLiteral("Arial"), 6);
    showPageButtons();
}

void TForm3::FormDestroy()
{
    m_image = QImage();
}

void TForm3::PaintBox1Paint(QPainter &painter)
{
    painter.drawImage(0, 0, m_image);
}

void PreviewBox::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    // The sheet at one pixel a millimetre, drawn at the zoom.
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.scale(m_form->zoomFactor(), m_form->zoomFactor());
    m_form->PaintBox1Paint(painter);
}

void TForm3::startPrint(float chord)
{
    leaveSheets();
    m_chord = chord;
    const PrintPages::Plan plan = PrintPages::initialPlan(chord);
    const bool wasPortrait = RadioGroup1->itemIndex() == 0;
    RadioGroup1->setItemIndex(plan.portrait ? 0 : 1);
    if (plan.portrait != wasPortrait) {
        RadioGroup1Click();
        return;
    }
    m_plan = plan;
    m_currentPage = 1;
    showPageButtons();
    PreparePage();
    SetPageOrigin();
    DrawPageTitles();
    renderPreview();
}

void TForm3::RadioGroup1Click()
{
    m_plan = PrintPages::orientationChange(m_chord, RadioGroup1->itemIndex() == 0);
    RadioGroup1->setItemIndex(m_plan.portrait ? 0 : 1);
    m_currentPage = 1;
    showPageButtons();
    PreparePage();
    SetPageOrigin();
    DrawPageTitles();
    renderPreview();
}

void TForm3::showPageButtons()
{
    Button2->setVisible(m_plan.pageCount >= 2);
    Button3->setVisible(m_plan.pageCount >= 3);
    Label3->setText(PrintPages::pageHeader(m_currentPage, m_plan.pageCount));
}

void TForm3::showPage(int page)
{
    DrawPageGrid();
    m_currentPage = page;
    showPageButtons();
    SetPageOrigin();
    DrawPageTitles();
    renderPreview();
}

void TForm3::Button1Click()
{
    if (m_plan.pageCount == 1)
        return;
    showPage(1);
}

void TForm3::Button2Click()
{
    // Hidden on a one-page print; a page 2 that does not exist is not shown.
    if (m_plan.pageCount < 2)
        return;
    showPage(2);
}

void TForm3::Button3Click()
{
    if (m_plan.pageCount < 3)
        return;
    showPage(m_currentPage % m_plan.pageCount + 1);
}

void TForm3::BitBtn3Click()
{
    if (!Prompts::current().printerSetup(printer()))
        return;
    // Sheets were laid out for their orientation: they keep it, and follow
    // the paper.
    if (showsSheets()) {
        printer().setPageOrientation(m_sheets.portrait ? QPageLayout::Portrait
                                                       : QPageLayout::Landscape);
        bool changed = false;
        fitSheetsToPaper(&changed);
        return;
    }
    // An orientation chosen in the set-up becomes the preview's.
    const bool portrait = printer().pageLayout().orientation() == QPageLayout::Portrait;
    if (portrait != (RadioGroup1->itemIndex() == 0)) {
        RadioGroup1->setItemIndex(portrait ? 0 : 1);
        RadioGroup1Click();
    }
}

void TForm3::PreparePage()
{
    const bool portrait = RadioGroup1->itemIndex() == 0;
    printer().setPageOrientation(portrait ? QPageLayout::Portrait : QPageLayout::Landscape);
    // Sheets are as large as the printable area they were laid out for.
    const QSizeF sheet = showsSheets() && !m_sheets.area.isEmpty()
                             ? m_sheets.area
                             : QSizeF(PrintPages::sheetWidth(portrait),
                                      PrintPages::sheetHeight(portrait));
    m_image = QImage(int(sheet.width()), int(sheet.height()), QImage::Format_RGB32);
    applyZoom();
    DrawPageGrid();
}

// The sheet with a 10 mm grid, inside a black border.
void TForm3::DrawPageGrid()
{
    const int w = m_image.width(), h = m_image.height();
    QPainter p(&m_image);
    p.fillRect(0, 0, w, h, palette().color(QPalette::Base));
    p.setPen(Qt::black);
    p.drawRect(0, 0, w - 1, h - 1);
    p.setBrush(Qt::NoBrush);
    p.setPen(gridColour());
    // Inside the border: the lines stop short of its last row and column.
    for (int i = 1; i <= w / 10; ++i)
        p.drawLine(10 * i, 1, 10 * i, h - 2);
    for (int j = 1; j <= h / 10; ++j)
        p.drawLine(1, 10 * j, w - 2, 10 * j);
}

void TForm3::SetPageOrigin()
{
    m_page = PrintPages::pageSetup(m_chord, m_plan, m_currentPage);
}

void TForm3::DrawPageTitles()
{
    if (showsSheets())
        return;
    QPainter p(&m_image);
    p.setPen(Qt::black);
    p.setFont(QFont(QStringLiteral("Arial"), 8));
    const QString title = Edit3->text();
    textAt(p, (m_image.width() - p.fontMetrics().horizontalAdvance(title)) / 2, 8, title);
    p.setFont(m_previewFont);
    const QString label = Edit4->text();
    textAt(p, (m_image.width() - p.fontMetrics().horizontalAdvance(label)) / 2, 20, label);
}

void TForm3::renderPreview()
{
    if (showsSheets()) {
        QPainter p(&m_image);
        p.setRenderHint(QPainter::Antialiasing, true);
        m_sheets.draw(p, m_currentPage - 1, 1.0);
    } else if (m_drawing && m_drawing->layoutPreview(m_page)) {
        QPainter p(&m_image);
        // The titles' small font is the one the drawing finds.
        p.setFont(m_previewFont);
        m_drawing->render(p);
    }
    PaintBox1->update();
}

struct TForm3::Job {
    std::unique_ptr<QSaveFile> file;
    std::unique_ptr<QPdfWriter> writer;
    QPagedPaintDevice *device = nullptr;
};

bool TForm3::beginJob(Job &job, QPainter &p)
{
    // A PDF file is written whole or not at all.
    job.device = &printer();
    if (printer().outputFormat() == QPrinter::PdfFormat) {
        job.file = std::make_unique<QSaveFile>(printer().outputFileName());
        if (printer().outputFileName().isEmpty() || !job.file->open(QIODevice::WriteOnly)) {
            Prompts::current().message(
                Language::pick(QStringLiteral("Impossible d'écrire le fichier "),
                               QStringLiteral("Cannot write the file ")) +
                printer().outputFileName());
            return false;
        }
        job.writer = std::make_unique<QPdfWriter>(job.file.get());
        // The resolution of a common laser printer, so that the drawing's
        // pens (1 and 2 pixels) come out in a PDF as they do on paper.
        job.writer->setResolution(600);
        job.writer->setPageLayout(printer().pageLayout());
        job.writer->setTitle(Edit3->text());
        job.writer->setCreator(QStringLiteral("NERVURIA"));
        job.device = job.writer.get();
    }
    if (!p.begin(job.device)) {
        Prompts::current().message(
            Language::pick(QStringLiteral("L'impression n'a pas pu commencer."),
                           QStringLiteral("Printing could not start.")));
        return false;
    }
    return true;
}

bool TForm3::endJob(Job &job, QPainter &p)
{
    const bool ended = p.end();
    if (job.file && !(ended && job.file->commit())) {
        Prompts::current().message(Language::pick(QStringLiteral("Impossible d'écrire le fichier "),
                                                  QStringLiteral("Cannot write the file ")) +
                                   printer().outputFileName());
        return false;
    }
    return true;
}

bool TForm3::printPages(int first, int last)
{
    first = std::clamp(first, 1, m_plan.pageCount);
    last = std::clamp(last, first, m_plan.pageCount);
    if (!Prompts::current().choosePrinter(printer(), windowTitle()))
        return false;
    if (showsSheets()) {
        // Sheets follow the paper chosen: laid out again for it, all of them
        // are printed; a part of the old ones is not, as its pages moved.
        const bool all = first == 1 && last == m_plan.pageCount;
        bool changed = false;
        if (!fitSheetsToPaper(&changed))
            return false;
        if (changed && !all) {
            Prompts::current().message(
                Language::pick(QStringLiteral("Les feuilles ont été refaites pour ce papier (%1 "
                                              "page(s)) : vérifiez l'aperçu puis imprimez."),
                               QStringLiteral("The sheets were laid out again for this paper "
                                              "(%1 page(s)): check the preview, then print."))
                    .arg(m_plan.pageCount));
            return false;
        }
        return printSheets(changed ? 1 : first, changed ? m_plan.pageCount : last);
    }
    // The template on show, on the sheets of the preview's layout, in the
    // printer's orientation.
    const PrintItem shown{{m_drawing, m_chord, Edit3->text(), Edit4->text()}, m_plan};
    return printJob(
        1, [&](int) { return shown; }, first, last, false);
}

bool TForm3::printSeries(int count, const std::function<SeriesItem(int)> &prepare)
{
    if (count <= 0 || !prepare)
        return false;
    // A series of templates, whatever the preview showed last.
    leaveSheets();
    const SeriesItem firstItem = prepare(0);
    const PrintPages::Plan firstPlan = PrintPages::initialPlan(firstItem.chord);
    printer().setPageOrientation(firstPlan.portrait ? QPageLayout::Portrait
                                                    : QPageLayout::Landscape);
    if (!Prompts::current().choosePrinter(printer(), windowTitle()))
        return false;
    // Every template on the sheets proposed for its chord, each sheet in
    // the orientation of its template.
    return printJob(
        count,
        [&](int i) {
            if (i == 0)
                return PrintItem{firstItem, firstPlan};
            const SeriesItem item = prepare(i);
            return PrintItem{item, PrintPages::initialPlan(item.chord)};
        },
        1, std::numeric_limits<int>::max(), true);
}

bool TForm3::printJob(int count, const std::function<PrintItem(int)> &prepare, int first, int last,
                      bool turnSheets)
{
    m_cancelled = false;
    Job job;
    QPainter p;
    if (!beginJob(job, p))
        return false;
    // The printer's horizontal resolution serves for both axes.
    const double dpi = job.device->logicalDpiX();
    bool firstSheet = true;
    // Many templates print under a progress dialog; its cancel abandons the
    // job: a PDF file is not written, a printer job is aborted.
    std::unique_ptr<WorkProgress> progress;
    if (count > kProgressFrom)
        progress = std::make_unique<WorkProgress>(
            this,
            (showsSheets() ? Language::pick(QStringLiteral("Impression de %1 pages…"),
                                            QStringLiteral("Printing %1 pages…"))
                           : Language::pick(QStringLiteral("Impression de %1 gabarits…"),
                                            QStringLiteral("Printing %1 templates…")))
                .arg(count),
            count, QStringLiteral("PrintProgress"));
    for (int i = 0; i < count; ++i) {
        if (progress) {
            if (!progress->advance(i)) {
                if (job.file)
                    job.file->cancelWriting();
                else
                    printer().abort();
                p.end();
                m_cancelled = true;
                return false;
            }
        }
        const PrintItem print = prepare(i);
        for (int page = first; page <= std::min(last, print.plan.pageCount); ++page) {
            if (turnSheets)
                job.device->setPageOrientation(print.plan.portrait ? QPageLayout::Portrait
                                                                   : QPageLayout::Landscape);
            if (!firstSheet)
                job.device->newPage();
            firstSheet = false;
            drawSheet(p, *job.device, print.item, print.plan, page, dpi);
        }
    }
    return endJob(job, p);
}

void TForm3::drawSheet(QPainter &p, QPagedPaintDevice &device, const SeriesItem &item,
                       const PrintPages::Plan &plan, int page, double dpi)
{
    if (item.sheet >= 0) {
        p.save();
        m_sheets.draw(p, item.sheet, dpi / 25.4);
        p.restore();
        return;
    }
    p.save();
    p.setPen(Qt::black);
    p.setFont(QFont(QStringLiteral("Arial"), 10));
    textAt(p, 16, 8, PrintPages::pageHeader(page, plan.pageCount));

    const int width = device.width();
    p.setFont(QFont(QStringLiteral("Arial"), 20));
    const int h = p.fontMetrics().height();
    textAt(p, (width - p.fontMetrics().horizontalAdvance(item.title)) / 2, 2 * h, item.title);
    p.setFont(QFont(QStringLiteral("Arial"), 12));
    textAt(p, (width - p.fontMetrics().horizontalAdvance(item.label)) / 2, 3 * h + 10, item.label);

    p.setFont(QFont(QStringLiteral("Arial"), 10));
    if (item.drawing &&
        item.drawing->layoutPrinter(dpi, PrintPages::pageSetup(item.chord, plan, page)))
        item.drawing->render(p);
    p.restore();
}
