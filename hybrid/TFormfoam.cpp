#include "hybrid/TFormfoam.h"

#include "hybrid/TFormpanneau.h"
#include "profiles/WholeFile.h"
#include "ui/Help.h"
#include "ui/Language.h"
#include "ui/Prompts.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPainter>
#include <QPrinter>
#include <QShortcut>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace
{

QDoubleSpinBox *field(double min, double max, double value, int decimals, const char *name,
                      QWidget *parent)
{
    auto *f = new QDoubleSpinBox(parent);
    f->setRange(min, max);
    f->setDecimals(decimals);
    f->setValue(value);
    f->setObjectName(QString::fromLatin1(name));
    return f;
}

const QColor kRootColour(200, 0, 0), kTipColour(0, 0, 200), kWireColour(0, 140, 0);

} // namespace

void paintFoamCut(QPainter &p, const HotWire::Cut &cut, int move, const QRectF &target)
{
    if (!cut.ok() || cut.moves.empty())
        return;
    QPolygonF root(cut.faces.root.begin(), cut.faces.root.end());
    QPolygonF tip(cut.faces.tip.begin(), cut.faces.tip.end());
    QPolygonF xy, uv;
    for (const HotWire::Move &m : cut.moves) {
        xy << QPointF(m.x, m.y);
        uv << QPointF(m.u, m.v);
    }
    const size_t i = size_t(std::clamp(move, 0, int(cut.moves.size()) - 1));
    const HotWire::Move &at = cut.moves[i];
    // mm (y up) to pixels (y down), box centred in area.
    auto fit = [](const QRectF &box, const QRectF &area) {
        const double k = std::min(area.width() / box.width(), area.height() / box.height()) * 0.92;
        const QPointF c = area.center();
        return QTransform(k, 0, 0, -k, c.x() - k * box.center().x(), c.y() + k * box.center().y());
    };
    const QRectF faces = root.boundingRect().united(tip.boundingRect());
    if (!(faces.width() > 0) || !(faces.height() > 0))
        return;
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setBrush(Qt::NoBrush);

    // Along the wire: both faces, the towers' paths, the wire at the move.
    const QRectF side(target.left(), target.top(), target.width(), target.height() * 0.62);
    QTransform t = fit(faces, side);
    p.setClipRect(side);
    p.setPen(QPen(QColor(170, 170, 170), 1, Qt::DashLine));
    p.drawPolyline(t.map(xy));
    p.drawPolyline(t.map(uv));
    p.setPen(QPen(kRootColour, 1.5));
    p.drawPolyline(t.map(root));
    p.setPen(QPen(kTipColour, 1.5));
    p.drawPolyline(t.map(tip));
    p.setPen(QPen(kWireColour, 2));
    p.drawLine(t.map(QPointF(at.x, at.y)), t.map(QPointF(at.u, at.v)));
    p.setBrush(kRootColour);
    p.drawEllipse(t.map(cut.faces.root[i]), 4, 4);
    p.setBrush(kTipColour);
    p.drawEllipse(t.map(cut.faces.tip[i]), 4, 4);

    // From above: the towers left and right, the block between them, the
    // wire across (across the towers, then along the chord).
    const QRectF top(target.left(), side.bottom(), target.width(), target.height() - side.height());
    // z across as a share of the towers' distance, x down the chord.
    const HotWire::Settings &s = cut.settings;
    const double offset = s.offset / s.width, span = s.span / s.width, width = 1;
    const double ky = top.height() * 0.85 / std::max(faces.width(), 1.0);
    auto toTop = [&](double z, double x) {
        return QPointF(top.left() + top.width() * 0.05 + z * top.width() * 0.9,
                       top.top() + top.height() * 0.075 + (x - faces.left()) * ky);
    };
    p.setClipRect(top);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::black, 2));
    p.drawLine(toTop(0, faces.left()), toTop(0, faces.right()));
    p.drawLine(toTop(width, faces.left()), toTop(width, faces.right()));
    if (span > 0) {
        p.setPen(QPen(QColor(170, 170, 170), 1));
        p.drawRect(QRectF(toTop(offset, faces.left()), toTop(offset + span, faces.right())));
    }
    p.setPen(QPen(kWireColour, 2));
    p.drawLine(toTop(0, at.x), toTop(width, at.u));
    p.setBrush(kRootColour);
    p.drawEllipse(toTop(offset, cut.faces.root[i].x()), 3, 3);
    p.setBrush(kTipColour);
    p.drawEllipse(toTop(offset + span, cut.faces.tip[i].x()), 3, 3);
    p.restore();
}

TFormfoam::TFormfoam(ProfileStore *store, std::function<PanelInputs()> panel, QWidget *parent)
    : QDialog(parent), m_store(store), m_panel(std::move(panel))
{
    setObjectName(QStringLiteral("Formfoam"));
    setWindowTitle(tr("NERVURIA - Noyaux en mousse : fil chaud et gabarits"));
    setFont(QFont(QStringLiteral("Arial"), 9));

    const HotWire::Settings d;
    auto *fields = new QGroupBox(tr("Découpe"), this);
    EditSpan = field(1, 100000, 500, 1, "EditSpan", fields);
    EditWidth = field(1, 100000, 1000, 1, "EditWidth", fields);
    EditOffset = field(0, 100000, 100, 1, "EditOffset", fields);
    EditKerf = field(0, 50, 0, 2, "EditKerf", fields);
    EditWashout = field(-45, 45, 0, 2, "EditWashout", fields);
    EditPivot = field(0, 100, d.pivot, 1, "EditPivot", fields);
    EditSweep = field(-10000, 10000, 0, 1, "EditSweep", fields);
    EditFeed = field(1, 10000, d.feed, 0, "EditFeed", fields);
    EditLead = field(0.1, 1000, d.lead, 1, "EditLead", fields);
    auto *form = new QFormLayout(fields);
    form->addRow(tr("Envergure du bloc mm"), EditSpan);
    form->addRow(tr("Écart des tours mm"), EditWidth);
    form->addRow(tr("Tour XY à l'emplanture mm"), EditOffset);
    form->addRow(tr("Saignée du fil mm"), EditKerf);
    form->addRow(tr("Vrillage °"), EditWashout);
    form->addRow(tr("Pivot % de la corde"), EditPivot);
    form->addRow(tr("Flèche du saumon mm"), EditSweep);
    form->addRow(tr("Vitesse mm/min"), EditFeed);
    ComboFeedMode = new QComboBox(fields);
    ComboFeedMode->setObjectName(QStringLiteral("ComboFeedMode"));
    ComboFeedMode->addItem(tr("F sur X, Y, U et V ensemble"), int(HotWire::FeedMode::Combined));
    ComboFeedMode->addItem(tr("F en temps inverse (G93)"), int(HotWire::FeedMode::InverseTime));
    form->addRow(tr("Avance"), ComboFeedMode);
    form->addRow(tr("Entrée du fil mm"), EditLead);

    SliderMove = new QSlider(Qt::Horizontal, this);
    SliderMove->setObjectName(QStringLiteral("SliderMove"));
    LabelMove = new QLabel(this);
    LabelMove->setObjectName(QStringLiteral("LabelMove"));
    LabelError = new QLabel(this);
    LabelError->setObjectName(QStringLiteral("LabelError"));
    LabelError->setStyleSheet(QStringLiteral("color: #c00000"));
    LabelError->setWordWrap(true);
    PaintCut = new PanelPaintBox(
        [this](QPainter &p) {
            p.fillRect(PaintCut->rect(), Qt::white);
            paintFoamCut(p, m_cut, SliderMove->value(), QRectF(PaintCut->rect()));
        },
        this);
    PaintCut->setObjectName(QStringLiteral("PaintCut"));
    PaintCut->setMinimumSize(560, 300);

    ButtonGcode = new QPushButton(tr("Écrire le G-code…"), this);
    ButtonTemplates = new QPushButton(tr("Exporter les gabarits…"), this);
    ButtonPrint = new QPushButton(tr("Imprimer les gabarits…"), this);
    auto *help = new QPushButton(tr("&Aide"), this);
    ButtonClose = new QPushButton(tr("Fermer"), this);

    auto *legend = new QLabel(tr("Emplanture en rouge, saumon en bleu, fil en vert, tours en "
                                 "pointillés"),
                              this);
    auto *previews = new QVBoxLayout;
    previews->addWidget(PaintCut, 1);
    previews->addWidget(legend);
    auto *moveRow = new QHBoxLayout;
    moveRow->addWidget(new QLabel(tr("Mouvement"), this));
    moveRow->addWidget(SliderMove, 1);
    previews->addLayout(moveRow);
    previews->addWidget(LabelMove);
    auto *top = new QHBoxLayout;
    top->addWidget(fields);
    top->addLayout(previews, 1);
    auto *buttons = new QHBoxLayout;
    for (QPushButton *b : {ButtonGcode, ButtonTemplates, ButtonPrint, help})
        buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(ButtonClose);
    auto *main = new QVBoxLayout(this);
    main->addLayout(top, 1);
    main->addWidget(LabelError);
    main->addLayout(buttons);

    m_timer.setSingleShot(true);
    m_timer.setInterval(250);
    connect(&m_timer, &QTimer::timeout, this, &TFormfoam::refresh);
    for (QDoubleSpinBox *f : {EditSpan, EditWidth, EditOffset, EditKerf, EditWashout, EditPivot,
                              EditSweep, EditFeed, EditLead})
        connect(f, &QDoubleSpinBox::valueChanged, this, [this] { m_timer.start(); });
    connect(ComboFeedMode, &QComboBox::currentIndexChanged, this, [this] { m_timer.start(); });
    connect(SliderMove, &QSlider::valueChanged, this, &TFormfoam::showMove);
    auto ask = [this](const QString &caption, const QString &suffix, const QString &filter) {
        return Prompts::current().saveFileName(
            caption, QDir::current().filePath(m_ends.rootName + QStringLiteral(".") + suffix),
            filter, suffix);
    };
    connect(ButtonGcode, &QPushButton::clicked, this, [this, ask] {
        const QString path =
            ask(tr("Écrire le G-code"), QStringLiteral("ngc"), QStringLiteral("G-code (*.ngc)"));
        if (!path.isEmpty())
            writeGcode(path);
    });
    connect(ButtonTemplates, &QPushButton::clicked, this, [this, ask] {
        const QString path = ask(tr("Exporter les gabarits"), QStringLiteral("pdf"),
                                 QStringLiteral("PDF (*.pdf);;SVG (*.svg);;DXF (*.dxf)"));
        if (!path.isEmpty())
            writeTemplates(path);
    });
    connect(ButtonPrint, &QPushButton::clicked, this, [this] {
        QPrinter printer(QPrinter::HighResolution);
        if (Prompts::current().choosePrinter(printer, windowTitle()))
            printTemplates(printer);
    });
    auto showHelp = [] {
        HelpViewer::instance().showTopic(
            Language::pick(QStringLiteral("NOYAUX"), QStringLiteral("FOAM")));
    };
    connect(help, &QPushButton::clicked, this, showHelp);
    connect(new QShortcut(QKeySequence::HelpContents, this), &QShortcut::activated, this, showHelp);
    connect(ButtonClose, &QPushButton::clicked, this, &QDialog::accept);
    resize(980, 560);
}

void TFormfoam::start()
{
    const PanelInputs in = m_panel();
    const QSignalBlocker a(EditSpan), b(EditWashout);
    EditSpan->setValue(in.span);
    EditWashout->setValue(in.root.angle - in.tip.angle);
    if (EditWidth->value() < EditOffset->value() + EditSpan->value())
        EditWidth->setValue(EditOffset->value() + EditSpan->value());
    refresh();
}

HotWire::Settings TFormfoam::settings() const
{
    HotWire::Settings s;
    s.span = EditSpan->value();
    s.width = EditWidth->value();
    s.offset = EditOffset->value();
    s.kerf = EditKerf->value();
    s.turn = m_ends.turn;
    s.pivot = EditPivot->value();
    s.sweep = EditSweep->value();
    s.feed = EditFeed->value();
    s.lead = EditLead->value();
    s.feedMode = HotWire::FeedMode(ComboFeedMode->currentData().toInt());
    return s;
}

void TFormfoam::refresh()
{
    m_timer.stop();
    PanelInputs in = m_panel();
    in.span = EditSpan->value();
    in.root.angle = 0;
    in.tip.angle = -EditWashout->value();
    QString error;
    m_cut = {};
    if (!FoamCores::read(in, *m_store, &m_ends, &error))
        m_cut.error = error;
    else
        m_cut = HotWire::plan(m_ends.core, settings());
    LabelError->setText(m_cut.error);
    ButtonGcode->setEnabled(m_cut.ok());
    ButtonTemplates->setEnabled(m_cut.ok());
    ButtonPrint->setEnabled(m_cut.ok());
    const QSignalBlocker block(SliderMove);
    SliderMove->setRange(0, std::max(0, int(m_cut.moves.size()) - 1));
    SliderMove->setValue(m_cut.ok() ? m_cut.faces.leadingEdge : 0);
    showMove();
}

void TFormfoam::showMove()
{
    const int i = SliderMove->value();
    if (!m_cut.ok() || i >= int(m_cut.moves.size())) {
        LabelMove->clear();
    } else {
        const HotWire::Move &m = m_cut.moves[size_t(i)];
        // No "-0.0" for a coordinate a hair below zero.
        auto n = [](double v) { return QString::number(std::abs(v) < 0.05 ? 0.0 : v, 'f', 1); };
        LabelMove->setText(tr("Mouvement %1 / %2 : X %3 Y %4 U %5 V %6 F %7")
                               .arg(i)
                               .arg(m_cut.moves.size() - 1)
                               .arg(n(m.x), n(m.y), n(m.u), n(m.v),
                                    QString::fromLatin1(HotWire::feedWord(m_cut, size_t(i)))));
    }
    PaintCut->update();
}

bool TFormfoam::writeGcode(const QString &path)
{
    QString error;
    if (m_cut.ok() &&
        WholeFile::write(path, HotWire::gcode(m_cut, FoamCores::comments(m_ends, settings())),
                         &error))
        return true;
    Prompts::current().message(path + QStringLiteral(" : ") + (m_cut.ok() ? error : m_cut.error));
    return false;
}

bool TFormfoam::writeTemplates(const QString &path)
{
    QString error;
    VectorExport::Options options;
    if (!VectorExport::parseFormat(QFileInfo(path).suffix(), &options.format) ||
        options.format == VectorExport::Format::Dat) {
        Prompts::current().message(Language::pick(QStringLiteral("Format inconnu : "),
                                                  QStringLiteral("Unknown format: ")) +
                                   path);
        return false;
    }
    if (m_cut.ok()) {
        const QByteArray bytes = FoamCores::templateFile(m_ends, settings(), options, &error);
        if (!bytes.isEmpty() && VectorExport::write(path, bytes, &error))
            return true;
    }
    Prompts::current().message(path + QStringLiteral(" : ") + (m_cut.ok() ? error : m_cut.error));
    return false;
}

bool TFormfoam::printTemplates(QPrinter &printer)
{
    if (!m_cut.ok())
        return false;
    // Laid out on the printer's paper as the PDF export lays them out.
    printer.setFullPage(true);
    VectorExport::Options options;
    options.format = VectorExport::Format::Pdf;
    options.sheet = printer.pageLayout().fullRect(QPageLayout::Millimeter).size();
    std::vector<RibVectors::Rib> ribs =
        FoamCores::templates(m_ends, settings().kerf, settings().lead);
    if (ribs.size() != 2)
        return false;
    const VectorExport::Document doc = VectorExport::arrange(std::move(ribs), options);
    // Printed to a file: written whole or not at all, as every file is.
    if (printer.outputFormat() == QPrinter::PdfFormat) {
        QString error;
        if (VectorExport::write(printer.outputFileName(), VectorExport::pdf(doc), &error))
            return true;
        Prompts::current().message(printer.outputFileName() + QStringLiteral(" : ") + error);
        return false;
    }
    VectorExport::paintPages(printer, doc);
    return true;
}
