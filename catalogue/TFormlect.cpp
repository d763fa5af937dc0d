// The catalogue window: its controls and their places, opening and closing,
// the scan of the folders and the help button.
#include "catalogue/TFormlect.h"

#include "catalogue/AirfoilFolders.h"
#include "catalogue/AirfoilPreview.h"
#include "catalogue/CatalogueList.h"
#include "catalogue/CatalogueTexts.h"
#include "catalogue/TFormlectParts.h"
#include "profiles/ProfileStore.h"
#include "ui/Memory.h"
#include "ui/Prompts.h"
#include "ui/Shortcuts.h"
#include "ui/StatusLine.h"

#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QScrollBar>
#include <QSlider>
#include <QTimer>

#include <algorithm>

using namespace TFormlectParts;

namespace
{

QPushButton *makeButton(QWidget *parent, const char *name, const QString &caption,
                        const QRect &geometry, const QString &hint = QString())
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(geometry);
    button->setAutoDefault(false);
    if (!hint.isEmpty())
        button->setToolTip(hint);
    return button;
}

QLabel *makeLabel(QWidget *parent, const char *name, const QString &caption, const QRect &geometry)
{
    auto *label = new QLabel(caption, parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(geometry);
    return label;
}

} // namespace

TFormlect::TFormlect(ProfileStore *store, const QString &startFolder, QWidget *parent)
    : ActivatingDialog(parent), m_store(store),
      m_startFolder(QDir(startFolder.isEmpty() ? QDir::currentPath() : startFolder).absolutePath())
{
    setObjectName(QStringLiteral("Formlect"));
    Memory::keepGeometry(this);
    Status = new StatusLine(this);
    // Each opening lists the folders again once the window is up.
    activateOnceShown();
    setWindowTitle(tr(" NERVURIA - Catalogue des Profils"));
    buildControls();
    FormCreate();
}

TFormlect::~TFormlect()
{
    FormDestroy();
}

namespace
{
// The design size: the smallest the window gets.
constexpr int kDesignWidth = 645;
constexpr int kDesignHeight = 502;
} // namespace

void TFormlect::buildControls()
{
    // The status line has its own room below the design, off the buttons.
    setMinimumSize(kDesignWidth, kDesignHeight + Status->height());
    resize(minimumSize());
    setSizeGripEnabled(true);

    Label2 = makeLabel(this, "Label2", tr("Fichier"), QRect(8, 8, 48, 20));
    Panel4 = makeLabel(this, "Panel4", QString(), QRect(58, 6, 210, 22));
    Panel4->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel4->setAutoFillBackground(true);
    Panel4->setStyleSheet(QStringLiteral("QLabel { background: white; padding-left: 3px; }"));

    Label1 = makeLabel(this, "Label1", tr("Chercher"), QRect(282, 8, 60, 20));
    Edit1 = new QLineEdit(QStringLiteral("NAC"), this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(344, 6, 142, 22);

    ListBox1 = new CatalogueList(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setGeometry(8, 34, 109, 145);

    ListBox2 = new CatalogueList(this);
    ListBox2->setObjectName(QStringLiteral("ListBox2"));
    ListBox2->setGeometry(125, 34, 361, 145);
    ListBox2->setOwnerDraw(16, [this](QPainter *p, const QRect &r, int row, bool selected) {
        ListBox2DrawItem(p, r, row, selected);
    });

    ListBox3 = new CatalogueList(this);
    ListBox3->setObjectName(QStringLiteral("ListBox3"));
    ListBox3->setGeometry(494, 34, 141, 357);
    QFont small = ListBox3->font();
    small.setPointSize(8);
    ListBox3->setFont(small);
    ListBox3->setOwnerDraw(
        14,
        [this](QPainter *p, const QRect &r, int row, bool selected) {
            ListBox3DrawItem(p, r, row, selected);
        },
        // Rows wider than the narrow list (a third column) scroll sideways.
        [this](const QFontMetrics &metrics, int row) {
            return 2 + metrics.horizontalAdvance(listBox3Text(row)) + 4;
        });

    auto *imagePanel = m_imagePanel = new QFrame(this);
    imagePanel->setObjectName(QStringLiteral("PanelImage"));
    imagePanel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    imagePanel->setLineWidth(2);
    imagePanel->setGeometry(8, 188, AirfoilPreview::kWidth + 4, AirfoilPreview::kHeight + 4);
    imagePanel->setAutoFillBackground(true);
    QPalette white = imagePanel->palette();
    white.setColor(QPalette::Window, Qt::white);
    imagePanel->setPalette(white);
    Image1 = new QLabel(imagePanel);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(2, 2, AirfoilPreview::kWidth, AirfoilPreview::kHeight);

    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setGeometry(8, 188, 477, 57);
    Memo1->setReadOnly(true);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setStyleSheet(QStringLiteral("QPlainTextEdit { background: yellow; color: black; }"));
    Memo1->hide();

    const int row1 = 398;
    const int row2 = 432;
    Btquitter = makeButton(this, "Btquitter", tr("&Fermer"), QRect(8, row1, 90, 28));
    BitBtn1 = makeButton(this, "BitBtn1", tr("&Aide"), QRect(8, row2, 90, 28));
    Btprofilpro =
        makeButton(this, "Btprofilpro", tr("&Profils de Profils.pro"),
                   QRect(106, row1, 170, 28), tr("Profils existants dans Profils.pro"));
    Btprofilpro->setEnabled(false);
    Btenregistrer = makeButton(this, "Btenregistrer", tr("Ajo&uter à Profils.pro"),
                               QRect(106, row2, 170, 28),
                               tr("Ajoute les sélections à Profils.pro"));
    BitBtauto = makeButton(this, "BitBtauto", tr(" Auto"), QRect(284, row1, 70, 28),
                           tr("Affichage automatique des profils"));
    BitBtStop = makeButton(this, "BitBtStop", tr("Stop"), QRect(284, row2, 70, 28));
    BitBtStop->setEnabled(false);
    Label3 = makeLabel(this, "Label3", tr("Délai"), QRect(364, row1 + 4, 40, 20));
    TrackBar1 = new QSlider(Qt::Horizontal, this);
    TrackBar1->setObjectName(QStringLiteral("TrackBar1"));
    TrackBar1->setGeometry(362, row2, 124, 28);
    TrackBar1->setRange(1, 9);
    TrackBar1->setValue(5);
    TrackBar1->setTickInterval(1);
    TrackBar1->setTickPosition(QSlider::TicksBelow);
    TrackBar1->setPageStep(1);
    BtCorriger = makeButton(this, "BtCorriger", tr("Corriger Erreurs"),
                            QRect(494, row1, 143, 28), tr("Correction automatique"));
    BtenrProf = makeButton(this, "BtenrProf", tr("Enregistr.Profil"),
                           QRect(494, row2, 143, 28));
    BtenrProf->setEnabled(false);
    const int row3 = 466;
    BtImporter =
        makeButton(this, "BtImporter", tr("&Importer…"), QRect(106, row3, 170, 28),
                   tr("Convertit des fichiers de coordonnées téléchargés"));
    BtNormaliser =
        makeButton(this, "BtNormaliser", tr("&Normaliser"), QRect(494, row3, 143, 28),
                   tr("Recale le profil sans le déformer"));

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1000);

    connect(Btquitter, &QPushButton::clicked, this, &TFormlect::BtquitterClick);
    connect(Btprofilpro, &QPushButton::clicked, this, &TFormlect::BtprofilproClick);
    connect(Btenregistrer, &QPushButton::clicked, this, &TFormlect::BtenregistrerClick);
    connect(BitBtn1, &QPushButton::clicked, this, &TFormlect::BitBtn1Click);
    connect(BitBtauto, &QPushButton::clicked, this, &TFormlect::BitBtautoClick);
    connect(BitBtStop, &QPushButton::clicked, this, &TFormlect::BitBtStopClick);
    connect(BtCorriger, &QPushButton::clicked, this, &TFormlect::BtCorrigerClick);
    connect(BtenrProf, &QPushButton::clicked, this, &TFormlect::BtenrProfClick);
    Shortcuts::pressAll(this,
                        {{BitBtn1, Shortcuts::Role::Help}, {Btquitter, Shortcuts::Role::Close}});
    connect(BtImporter, &QPushButton::clicked, this, &TFormlect::BtImporterClick);
    connect(BtNormaliser, &QPushButton::clicked, this, &TFormlect::BtNormaliserClick);
    connect(ListBox1, &CatalogueList::userClicked, this, [this] { ListBox1Click(Caller::User); });
    connect(ListBox1, &CatalogueList::userKeyed, this, [this] { ListBox1Click(Caller::Keyboard); });
    connect(ListBox2, &CatalogueList::userClicked, this, &TFormlect::ListBox2Click);
    connect(ListBox2, &CatalogueList::userKeyed, this,
            [this] { ReadCoordinateFile(Caller::Keyboard); });
    connect(Edit1, &QLineEdit::textChanged, this, &TFormlect::Edit1Change);
    connect(TrackBar1, &QSlider::valueChanged, this, &TFormlect::TrackBar1Change);
    connect(Timer1, &QTimer::timeout, this, &TFormlect::Timer1Timer);

    m_preview = QImage(AirfoilPreview::kWidth, AirfoilPreview::kHeight, QImage::Format_RGB32);
    drawPreview(false);
}

void TFormlect::placeControls()
{
    // The design places, with what the window has grown shared out: the
    // rows list gets a quarter of the extra width, the folder and file lists
    // the rest of it; the preview takes two thirds of the extra height, the
    // lists above it one third, and the buttons stay at the bottom.
    const int dw = std::max(0, width() - kDesignWidth);
    const int dh = std::max(0, height() - Status->height() - kDesignHeight);
    const int rowsGrowth = dw / 4;
    const int leftGrowth = dw - rowsGrowth;
    const int listsGrowth = dh / 3;

    ListBox1->setGeometry(8, 34, 109, 145 + listsGrowth);
    ListBox2->setGeometry(125, 34, 361 + leftGrowth, 145 + listsGrowth);
    ListBox3->setGeometry(494 + leftGrowth, 34, 141 + rowsGrowth, 357 + dh);
    const int previewTop = 188 + listsGrowth;
    const QSize image(AirfoilPreview::kWidth + leftGrowth,
                      AirfoilPreview::kHeight + dh - listsGrowth);
    m_imagePanel->setGeometry(8, previewTop, image.width() + 4, image.height() + 4);
    Image1->setGeometry(2, 2, image.width(), image.height());
    Memo1->setGeometry(8, previewTop, 477 + leftGrowth, 57 + listsGrowth / 4);

    const int row1 = 398 + dh;
    const int row2 = 432 + dh;
    Btquitter->move(8, row1);
    BitBtn1->move(8, row2);
    Btprofilpro->move(106, row1);
    Btenregistrer->move(106, row2);
    BitBtauto->move(284, row1);
    BitBtStop->move(284, row2);
    Label3->move(364, row1 + 4);
    TrackBar1->move(362, row2);
    BtCorriger->move(494 + leftGrowth, row1);
    BtenrProf->move(494 + leftGrowth, row2);
    BtImporter->move(106, 466 + dh);
    BtNormaliser->move(494 + leftGrowth, 466 + dh);

    if (m_preview.size() != image) {
        m_preview = QImage(image, QImage::Format_RGB32);
        drawPreview(m_outlineShown);
    }
}

void TFormlect::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    placeControls();
    if (Status)
        Status->place();
}

void TFormlect::FormCreate()
{
    m_busy = true;
    m_dicoAvailable = m_dico.load(m_startFolder);
    if (!m_dicoAvailable) {
        Label1->hide();
        Edit1->hide();
    }
    m_airfoilsFolder = AirfoilFolders::airfoilsFolder(m_startFolder);
    ListBox1->clear();
    ListBox2->clear();
    m_pathList.clear();
    ScanFolders();
}

void TFormlect::ScanFolders()
{
    ListBox1->clear();
    PaintBreak paintBreak;
    const QList<AirfoilFolders::Entry> folders =
        AirfoilFolders::scanFolders(m_airfoilsFolder, std::ref(paintBreak));
    for (const AirfoilFolders::Entry &folder : folders) {
        auto *item = new QListWidgetItem(folder.shown, ListBox1);
        item->setData(Qt::UserRole, folder.path);
        // The list is narrow; a deep folder's whole name shows on hover.
        item->setToolTip(folder.shown);
    }
}

void TFormlect::FormActivate()
{
    m_busy = true;
    // Folders added or removed while the program runs show at the next
    // opening.
    ScanFolders();
    if (ListBox1->count() == 0) {
        Prompts::current().message(CatalogueTexts::airfoilsMissing());
        return;
    }
    ListBox1->setCurrentRow(0);
    m_databaseAllowed = m_store && m_store->databaseLoaded;
    if (!m_recalled) {
        m_recalled = true;
        recallLists();
    } else {
        ListBox1Click(Caller::User);
    }
    if (!m_databaseAllowed)
        Prompts::current().message(
            CatalogueTexts::databaseMissing(QDir::toNativeSeparators(m_startFolder)));
    updateAddButtons();
    m_busy = false;
}

void TFormlect::FormDestroy()
{
    StopSlideshow();
    m_pathList.clear();
    m_dico.lines.clear();
}

void TFormlect::done(int result)
{
    // However the window closes (button, Escape, title bar), the slideshow
    // stops with it.
    StopSlideshow();
    rememberLists();
    QDialog::done(result);
}

void TFormlect::BtquitterClick()
{
    StopSlideshow();
    accept();
}

void TFormlect::BitBtn1Click()
{
    emit helpRequested(CatalogueTexts::helpTopic());
}

void TFormlect::recallLists()
{
    const QString folder = Memory::text(Memory::kCatalogueFolder);
    for (int row = 0; row < ListBox1->count() && !folder.isEmpty(); ++row) {
        if (folderPath(row) == folder) {
            ListBox1->setCurrentRow(row);
            break;
        }
    }
    ListBox1Click(Caller::User);
    switch (Memory::number(Memory::kCatalogueList, 0, 0, 2)) {
    case 1:
        if (m_databaseAllowed)
            BtprofilproClick();
        break;
    case 2:
        if (m_dicoAvailable)
            Edit1->setText(Memory::text(Memory::kCatalogueSearch)); // lists through Edit1Change
        break;
    default:
        break;
    }
}

void TFormlect::rememberLists() const
{
    const int row = ListBox1->currentRow();
    if (row >= 0)
        Memory::set(Memory::kCatalogueFolder, folderPath(row));
    Memory::set(Memory::kCatalogueList, m_listMode);
    Memory::set(Memory::kCatalogueSearch, Edit1->text());
}
