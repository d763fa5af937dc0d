// The print preview's zoom: the sheet fitted to the window or at a
// percentage of its real size, in a scrolled area; and printing from the
// open preview.
#include "drawing/TForm3.h"

#include "ui/Language.h"
#include "ui/Memory.h"
#include "ui/Shortcuts.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include <cmath>

namespace
{
constexpr int kMinZoom = 25, kMaxZoom = 400;
constexpr double kStep = 1.25;
} // namespace

QLayout *TForm3::buildZoomArea()
{
    const auto button = [this](const char *name, const QString &caption) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        return b;
    };
    BtFitPage = button("BtFitPage", Language::pick(QStringLiteral("Page entière"),
                                                   QStringLiteral("Whole page")));
    BtRealSize = button("BtRealSize", QStringLiteral("100 %"));
    BtZoomOut = button("BtZoomOut", QStringLiteral("−"));
    BtZoomIn = button("BtZoomIn", QStringLiteral("+"));
    for (QPushButton *b : {BtZoomOut, BtZoomIn})
        b->setFixedWidth(32);
    LabelZoom = new QLabel(this);
    LabelZoom->setObjectName(QStringLiteral("LabelZoom"));
    PreviewArea = new QScrollArea(this);
    PreviewArea->setObjectName(QStringLiteral("PreviewArea"));
    PreviewArea->setAlignment(Qt::AlignCenter);
    PreviewArea->setWidget(PaintBox1);
    PreviewArea->setMinimumSize(320, 240);
    PreviewArea->viewport()->installEventFilter(this);

    auto *bar = new QHBoxLayout;
    for (QWidget *w : {static_cast<QWidget *>(BtFitPage), static_cast<QWidget *>(BtRealSize),
                       static_cast<QWidget *>(BtZoomOut), static_cast<QWidget *>(BtZoomIn),
                       static_cast<QWidget *>(LabelZoom)})
        bar->addWidget(w);
    bar->addStretch();
    auto *column = new QVBoxLayout;
    column->addLayout(bar);
    column->addWidget(PreviewArea, 1);

    connect(BtFitPage, &QPushButton::clicked, this, [this] { setZoom(0); });
    connect(BtRealSize, &QPushButton::clicked, this, [this] { setZoom(100); });
    const auto shown = [this] { return int(std::lround(zoomFactor() * 25.4 / logicalDpiX() * 100)); };
    connect(BtZoomIn, &QPushButton::clicked, this,
            [this, shown] { setZoom(int(std::lround(shown() * kStep))); });
    connect(BtZoomOut, &QPushButton::clicked, this,
            [this, shown] { setZoom(int(std::lround(shown() / kStep))); });
    Shortcuts::pressAll(this, {{BtZoomIn, Shortcuts::Role::ZoomIn},
                               {BtZoomOut, Shortcuts::Role::ZoomOut},
                               {BtRealSize, Shortcuts::Role::RealSize},
                               {BtFitPage, Shortcuts::Role::FitPage}});

    m_zoom = Memory::number(Memory::kPreviewZoom, 0, 0, kMaxZoom);
    if (m_zoom != 0 && m_zoom < kMinZoom)
        m_zoom = kMinZoom;
    resize(1000, 720);
    Memory::keepGeometry(this);
    return column;
}

void TForm3::setZoom(int percent)
{
    m_zoom = percent <= 0 ? 0 : std::clamp(percent, kMinZoom, kMaxZoom);
    Memory::set(Memory::kPreviewZoom, m_zoom);
    applyZoom();
}

double TForm3::zoomFactor() const
{
    const QSize image = m_image.size();
    if (m_zoom > 0 || !PreviewArea || image.isEmpty())
        return (m_zoom > 0 ? m_zoom : 100) / 100.0 * logicalDpiX() / 25.4;
    // The whole sheet inside the area, its frame and a small margin aside.
    const QSize room = PreviewArea->viewport()->size() - QSize(8, 8);
    return std::max(0.05, std::min(double(room.width()) / image.width(),
                                   double(room.height()) / image.height()));
}

void TForm3::applyZoom()
{
    const double k = zoomFactor();
    PaintBox1->setFixedSize(int(std::ceil(m_image.width() * k)),
                            int(std::ceil(m_image.height() * k)));
    PreviewArea->setHorizontalScrollBarPolicy(m_zoom == 0 ? Qt::ScrollBarAlwaysOff
                                                          : Qt::ScrollBarAsNeeded);
    PreviewArea->setVerticalScrollBarPolicy(m_zoom == 0 ? Qt::ScrollBarAlwaysOff
                                                        : Qt::ScrollBarAsNeeded);
    LabelZoom->setText(QStringLiteral("%1 %").arg(std::lround(k * 25.4 / logicalDpiX() * 100)));
    BtZoomIn->setEnabled(m_zoom == 0 || m_zoom < kMaxZoom);
    BtZoomOut->setEnabled(m_zoom == 0 || m_zoom > kMinZoom);
    PaintBox1->update();
}

bool TForm3::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == PreviewArea->viewport() && event->type() == QEvent::Resize && m_zoom == 0)
        applyZoom();
    return QDialog::eventFilter(watched, event);
}

void TForm3::printFromPreview(Result what)
{
    const bool all = what == PrintAll;
    if (printPages(all ? 1 : m_currentPage, all ? pageCount() : m_currentPage))
        done(what);
}
