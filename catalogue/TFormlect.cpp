#include "catalogue/TFormlect.h"

#include "catalogue/AirfoilFolders.h"
#include "catalogue/AirfoilImport.h"
#include "catalogue/AirfoilNormalise.h"
#include "catalogue/AirfoilPreview.h"
#include "catalogue/CatalogueList.h"
#include "catalogue/CatalogueTexts.h"
#include "catalogue/ProfileAdder.h"
#include "profiles/ProfileStore.h"
#include "ui/Prompts.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QScrollBar>
#include <QShowEvent>
#include <QSlider>
#include <QTimer>

#include <algorithm>

namespace
{

const QColor kSelectedRow(255, 255, 0);
const QColor kFolderOddRow(224, 255, 224);
const QColor kStoredOddRow(255, 250, 224);
const QColor kSearchOddRow(224, 224, 255);
const QColor kCorrectedRow(0, 255, 0);
const QColor kErrorRow(255, 0, 255);

// Lets the window repaint during a long scan or listing, at most every few
// milliseconds; user input waits, so no click can start a second listing
// while one is filling the lists.
class PaintBreak
{
public:
    PaintBreak() { m_clock.start(); }
    void operator()()
    {
        if (m_clock.elapsed() < 20)
            return;
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        m_clock.restart();
    }

private:
    QElapsedTimer m_clock;
};

// The hourglass while something works, the normal cursor again after.
class BusyCursor
{
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor &) = delete;
    BusyCursor &operator=(const BusyCursor &) = delete;
};

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
    : QDialog(parent), m_store(store),
      m_startFolder(QDir(startFolder.isEmpty() ? QDir::currentPath() : startFolder).absolutePath())
{
    setObjectName(QStringLiteral("Formlect"));
    setWindowTitle(QStringLiteral(" NERVURIA - Catalogue des Profils"));
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
    setMinimumSize(kDesignWidth, kDesignHeight);
    resize(kDesignWidth, kDesignHeight);
    setSizeGripEnabled(true);

    Label2 = makeLabel(this, "Label2", QStringLiteral("Fichier"), QRect(8, 8, 48, 20));
    Panel4 = makeLabel(this, "Panel4", QString(), QRect(58, 6, 210, 22));
    Panel4->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel4->setAutoFillBackground(true);
    Panel4->setStyleSheet(QStringLiteral("QLabel { background: white; padding-left: 3px; }"));

    Label1 = makeLabel(this, "Label1", QStringLiteral("Chercher"), QRect(282, 8, 60, 20));
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
    Btquitter = makeButton(this, "Btquitter", QStringLiteral("&Fermer"), QRect(8, row1, 90, 28));
    BitBtn1 = makeButton(this, "BitBtn1", QStringLiteral("&Aide"), QRect(8, row2, 90, 28));
    Btprofilpro =
        makeButton(this, "Btprofilpro", QStringLiteral("&Profils de Profils.pro"),
                   QRect(106, row1, 170, 28), QStringLiteral("Profils existants dans Profils.pro"));
    Btprofilpro->setEnabled(false);
    Btenregistrer = makeButton(this, "Btenregistrer", QStringLiteral("Ajo&uter à Profils.pro"),
                               QRect(106, row2, 170, 28),
                               QStringLiteral("Ajoute les sélections à Profils.pro"));
    BitBtauto = makeButton(this, "BitBtauto", QStringLiteral(" Auto"), QRect(284, row1, 70, 28),
                           QStringLiteral("Affichage automatique des profils"));
    BitBtStop = makeButton(this, "BitBtStop", QStringLiteral("Stop"), QRect(284, row2, 70, 28));
    BitBtStop->setEnabled(false);
    Label3 = makeLabel(this, "Label3", QStringLiteral("Délai"), QRect(364, row1 + 4, 40, 20));
    TrackBar1 = new QSlider(Qt::Horizontal, this);
    TrackBar1->setObjectName(QStringLiteral("TrackBar1"));
    TrackBar1->setGeometry(362, row2, 124, 28);
    TrackBar1->setRange(1, 9);
    TrackBar1->setValue(5);
    TrackBar1->setTickInterval(1);
    TrackBar1->setTickPosition(QSlider::TicksBelow);
    TrackBar1->setPageStep(1);
    BtCorriger = makeButton(this, "BtCorriger", QStringLiteral("Corriger Erreurs"),
                            QRect(494, row1, 143, 28), QStringLiteral("Correction automatique"));
    BtenrProf = makeButton(this, "BtenrProf", QStringLiteral("Enregistr.Profil"),
                           QRect(494, row2, 143, 28));
    BtenrProf->setEnabled(false);
    const int row3 = 466;
    BtImporter =
        makeButton(this, "BtImporter", QStringLiteral("&Importer…"), QRect(106, row3, 170, 28),
                   QStringLiteral("Convertit des fichiers de coordonnées téléchargés"));
    BtNormaliser =
        makeButton(this, "BtNormaliser", QStringLiteral("&Normaliser"), QRect(494, row3, 143, 28),
                   QStringLiteral("Recale le profil sans le déformer"));

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
    const int dh = std::max(0, height() - kDesignHeight);
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

void TFormlect::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // Each opening, not a restore from the task bar; once the window is up,
    // so that its messages appear over it.
    if (!event->spontaneous())
        QTimer::singleShot(0, this, &TFormlect::FormActivate);
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
    ListBox1Click(Caller::User);
    m_databaseAllowed = m_store && m_store->databaseLoaded;
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
    QDialog::done(result);
}

void TFormlect::BtquitterClick()
{
    StopSlideshow();
    accept();
}

QString TFormlect::folderPath(int row) const
{
    const QListWidgetItem *item = ListBox1->item(row);
    return item ? item->data(Qt::UserRole).toString() : QString();
}

void TFormlect::ListBox1Click(Caller caller)
{
    if (caller != Caller::Timer)
        StopSlideshow();
    ListBox2->clear();
    m_pathList.clear();
    m_listMode = 0;
    updateAddButtons();
    const int row = ListBox1->currentRow();
    if (row < 0)
        return;
    ListFolderFiles(folderPath(row));
    if (ListBox2->count() > 0) {
        // The focus stays where the user put it: after a click on a folder
        // as after Tab, the arrows walk the folders.
        ListBox2->setCurrentRow(0);
        ReadCoordinateFile(caller);
    }
}

void TFormlect::ListFolderFiles(const QString &folder)
{
    m_listing = true;
    PaintBreak paintBreak;
    QStringList errors;
    const QList<AirfoilFolders::Entry> files =
        AirfoilFolders::listFolderFiles(folder, m_airfoilsFolder, std::ref(paintBreak), &errors);
    QStringList shown;
    shown.reserve(files.size());
    for (const AirfoilFolders::Entry &file : files) {
        m_pathList << file.path;
        shown << file.shown;
    }
    ListBox2->addItems(shown);
    m_listing = false;
    if (!errors.isEmpty()) {
        // One message for the lot: a folder of unreadable files would
        // otherwise ask for one click per file.
        constexpr int kShown = 10;
        QStringList lines = errors.mid(0, kShown);
        if (errors.size() > kShown)
            lines << QStringLiteral("(%1 …)").arg(errors.size() - kShown);
        Prompts::current().message(lines.join(QLatin1Char('\n')));
    }
}

QString TFormlect::entryFilePath(int row, QString *shownPath) const
{
    if (m_listMode == 0) {
        const QString path = row < m_pathList.size() ? m_pathList[row] : QString();
        *shownPath = path;
        return path;
    }
    const QListWidgetItem *item = ListBox2->item(row);
    const QString line = item ? item->text() : QString();
    const QString path = Dico::filePath(m_airfoilsFolder, line);
    QString literal = Dico::reference(line);
    literal.replace(QLatin1Char('\\'), QLatin1Char('/'));
    *shownPath = path.isEmpty() ? m_airfoilsFolder + literal : path;
    return path;
}

void TFormlect::ReadCoordinateFile(Caller caller)
{
    if (m_listMode == 1)
        return;
    if (caller != Caller::Timer)
        StopSlideshow();
    Memo1->hide();
    BtCorriger->setEnabled(false);
    m_file.messages.clear();
    showMessages();

    const int row = ListBox2->currentRow();
    if (row < 0 || row >= ListBox2->count())
        return;
    QString shownPath;
    const QString path = entryFilePath(row, &shownPath);
    QString error;
    const AirfoilFile::ReadStatus status =
        path.isEmpty() ? AirfoilFile::ReadStatus::Missing : m_file.read(path, &error);

    switch (status) {
    case AirfoilFile::ReadStatus::Missing:
        StopSlideshow();
        Prompts::current().message(
            CatalogueTexts::fileNotFound(QDir::toNativeSeparators(shownPath)));
        return;
    case AirfoilFile::ReadStatus::FileError:
        StopSlideshow();
        Prompts::current().message(CatalogueTexts::fileError(path, error));
        return;
    case AirfoilFile::ReadStatus::TooLarge:
    case AirfoilFile::ReadStatus::TooManyRows:
        Panel4->setText(QFileInfo(path).fileName());
        showRows();
        drawPreview(false);
        StopSlideshow();
        Prompts::current().message(status == AirfoilFile::ReadStatus::TooLarge
                                       ? CatalogueTexts::tooLarge()
                                       : CatalogueTexts::tooManyRows());
        return;
    case AirfoilFile::ReadStatus::Read:
        break;
    }

    Panel4->setText(QFileInfo(path).fileName());
    drawPreview(true);
    if (m_file.checkAfterRead()) {
        StopSlideshow();
        Memo1->show();
        Memo1->raise();
        BtCorriger->setEnabled(true);
    }
    showRows();
    showMessages();
}

void TFormlect::showRows()
{
    ListBox3->clear();
    ListBox3->addItems(m_file.listedRows());
    scrollToFirstMark();
}

void TFormlect::scrollToFirstMark()
{
    // The first row in error, else the first corrected one: the row the
    // messages speak of comes into view, from its start.
    int first = -1;
    for (AirfoilFile::Mark mark : {AirfoilFile::Mark::Error, AirfoilFile::Mark::Corrected}) {
        for (int r = 0; r < m_file.rowCount() && first < 0; ++r) {
            if (m_file.rows[r].mark == mark)
                first = r;
        }
    }
    ListBox3->horizontalScrollBar()->setValue(0);
    if (first >= 0 && first < ListBox3->count())
        ListBox3->scrollToItem(ListBox3->item(first), QAbstractItemView::PositionAtCenter);
    else
        ListBox3->scrollToTop();
    ListBox3->horizontalScrollBar()->setValue(0);
}

QString TFormlect::listBox3Text(int index) const
{
    if (index < 0 || index >= m_file.rowCount())
        return QString();
    const QString &text = m_file.rows[index].text;
    return index == 0 ? text : QStringLiteral("%1 : ").arg(index, 2, 10, QLatin1Char('0')) + text;
}

void TFormlect::showMessages()
{
    Memo1->setPlainText(m_file.messages.join(QLatin1Char('\n')));
}

void TFormlect::drawPreview(bool withOutline)
{
    m_outlineShown = withOutline;
    AirfoilPreview::draw(m_preview, m_file.previewExact.data(), withOutline ? m_file.pointCount : 0,
                         AirfoilPreview::systemColours());
    Image1->setPixmap(QPixmap::fromImage(m_preview));
}

void TFormlect::ListBox2DrawItem(QPainter *painter, const QRect &rect, int index, bool selected)
{
    QColor background = palette().color(QPalette::Base);
    if (selected)
        background = kSelectedRow;
    else if (index % 2 == 1)
        background = m_listMode == 0   ? kFolderOddRow
                     : m_listMode == 1 ? kStoredOddRow
                                       : kSearchOddRow;
    painter->fillRect(rect, background);
    const QListWidgetItem *item = ListBox2->item(index);
    QString text = item ? item->text() : QString();
    if (m_listMode == 2)
        text = Dico::description(text);
    painter->setPen(Qt::black);
    painter->drawText(rect.adjusted(4, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, text);
}

void TFormlect::ListBox3DrawItem(QPainter *painter, const QRect &rect, int index, bool selected)
{
    Q_UNUSED(selected);
    if (index < 0 || index >= m_file.rowCount())
        return;
    const AirfoilFile::Row &row = m_file.rows[index];
    QColor background = Qt::white;
    if (row.mark == AirfoilFile::Mark::Corrected)
        background = kCorrectedRow;
    else if (row.mark == AirfoilFile::Mark::Error)
        background = kErrorRow;
    painter->fillRect(rect, background);
    painter->setPen(Qt::black);
    painter->drawText(rect.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                      listBox3Text(index));
}

void TFormlect::Edit1Change()
{
    if (!m_dicoAvailable)
        return;
    m_listMode = 2;
    updateAddButtons();
    ListBox2->clear();
    m_pathList.clear();
    ListBox2->addItems(m_dico.search(Edit1->text()));
}

void TFormlect::BtprofilproClick()
{
    StopSlideshow();
    m_listMode = 1;
    updateAddButtons();
    ListBox2->clear();
    m_pathList.clear();
    if (m_store)
        ListBox2->addItems(m_store->names());
}

void TFormlect::updateAddButtons()
{
    Btprofilpro->setEnabled(m_databaseAllowed);
    // In every list mode: while the stored profiles are listed, the file on
    // show is still the one added, the selected stored name its duplicate
    // test.
    Btenregistrer->setEnabled(m_databaseAllowed);
}

void TFormlect::BitBtautoClick()
{
    if (m_listMode == 1)
        return;
    const int row = ListBox2->currentRow();
    m_slideIndex = row == ListBox2->count() - 1 ? 0 : row;
    Timer1->start();
    BitBtauto->setEnabled(false);
    BitBtStop->setEnabled(true);
    ListBox2->setFocus();
}

void TFormlect::Timer1Timer()
{
    if (m_busy || m_listing)
        return;
    if (m_slideIndex >= ListBox2->count() - 1) {
        const int folder = ListBox1->currentRow();
        if (m_listMode == 2 || m_listMode == 1 || folder >= ListBox1->count() - 1) {
            StopSlideshow();
            return;
        }
        // On to the next folder; its first file is read by the folder click.
        // A folder without coordinate files shows nothing and the next tick
        // moves on again.
        ListBox1->setCurrentRow(folder + 1);
        ListBox1Click(Caller::Timer);
        m_slideIndex = 0;
        return;
    }
    ++m_slideIndex;
    ListBox2->setCurrentRow(m_slideIndex);
    ReadCoordinateFile(Caller::Timer);
}

void TFormlect::TrackBar1Change()
{
    Timer1->setInterval(TrackBar1->value() * 200 + 300);
}

void TFormlect::StopSlideshow()
{
    Timer1->stop();
    BitBtauto->setEnabled(true);
    BitBtStop->setEnabled(false);
}

void TFormlect::BitBtn1Click()
{
    emit helpRequested(CatalogueTexts::helpTopic());
}

void TFormlect::BtCorrigerClick()
{
    StopSlideshow();
    if (m_file.correctErrors()) {
        Memo1->hide();
        BtenrProf->setEnabled(true);
    } else {
        Memo1->show();
        Memo1->raise();
    }
    showRows();
    showMessages();
    if (Memo1->isVisible())
        Memo1->verticalScrollBar()->setValue(Memo1->verticalScrollBar()->maximum());
    ListBox2->setFocus();
}

void TFormlect::BtenrProfClick()
{
    StopSlideshow();
    bool ready;
    {
        BusyCursor hourglass;
        ready = m_file.readyToRewrite();
    }
    showRows();
    showMessages();
    if (!ready) {
        tellNotRewritten();
    } else {
        Memo1->hide();
        if (Prompts::current().confirm(CatalogueTexts::rewriteQuestion(Panel4->text()))) {
            QString error;
            bool written;
            {
                BusyCursor hourglass;
                written = m_file.rewrite(&error);
            }
            if (!written)
                Prompts::current().message(CatalogueTexts::fileError(m_file.currentFile, error));
            showRows();
        }
    }
    BtCorriger->setEnabled(false);
    BtenrProf->setEnabled(false);
    ListBox2->setFocus();
}

void TFormlect::tellNotRewritten()
{
    // The remaining errors over the preview, and the reason in words: the
    // buttons grey out after this.
    Memo1->show();
    Memo1->raise();
    constexpr int kShown = 12;
    QStringList lines = m_file.messages.mid(0, kShown);
    if (m_file.messages.size() > kShown)
        lines << QStringLiteral("…");
    Prompts::current().message(CatalogueTexts::notRewritten() + QLatin1Char('\n') +
                               lines.join(QLatin1Char('\n')));
}

void TFormlect::BtenregistrerClick()
{
    StopSlideshow();
    if (!m_store || !m_databaseAllowed)
        return;
    const QListWidgetItem *entry = ListBox2->currentItem();
    const ProfileAdder::Outcome outcome =
        ProfileAdder::add(*m_store, m_file, entry ? entry->text() : QString(), Panel4->text());
    // Corrections waiting to be written back stay on show, buttons as they
    // were.
    if (outcome == ProfileAdder::Outcome::NotWrittenBack)
        return;
    // The file was read again from disk: show it as it stands there.
    showRows();
    showMessages();
    drawPreview(m_file.complete);
    Memo1->setVisible(!m_file.messages.isEmpty());
    BtCorriger->setEnabled(!m_file.messages.isEmpty() && m_file.complete);
    if (Memo1->isVisible())
        Memo1->raise();
}

void TFormlect::BtImporterClick()
{
    StopSlideshow();
    Prompts &prompts = Prompts::current();
    const QStringList sources = prompts.openFileNames(
        CatalogueTexts::importFilesCaption(), m_startFolder, CatalogueTexts::importFilter());
    if (sources.isEmpty())
        return;
    const QString folder =
        prompts.chooseFolder(CatalogueTexts::importFolderCaption(), m_airfoilsFolder);
    if (folder.isEmpty())
        return;
    // Only a folder the catalogue lists: below Airfoils, not hidden.
    const QString airfoils = QFileInfo(m_airfoilsFolder).canonicalFilePath();
    const QString chosen = QFileInfo(folder).canonicalFilePath();
    const QString relative = chosen.mid(airfoils.size() + 1);
    const bool inside = !airfoils.isEmpty() && !chosen.isEmpty() &&
                        chosen.startsWith(airfoils + QLatin1Char('/')) &&
                        !relative.startsWith(QLatin1Char('.')) &&
                        !relative.contains(QStringLiteral("/."));
    if (!inside) {
        prompts.message(CatalogueTexts::importFolderRefused());
        return;
    }

    AirfoilImport::Summary summary;
    {
        BusyCursor hourglass;
        summary = AirfoilImport::importFiles(sources, chosen, [&prompts](const QString &path) {
            return prompts.confirm(CatalogueTexts::replaceQuestion(QFileInfo(path).fileName()));
        });
    }

    // The new files are listed, read and checked like any other.
    ScanFolders();
    int folderRow = -1;
    for (int r = 0; r < ListBox1->count(); ++r) {
        if (QFileInfo(folderPath(r)).canonicalFilePath() == chosen)
            folderRow = r;
    }
    if (folderRow >= 0) {
        ListBox1->setCurrentRow(folderRow);
        ListBox1Click(Caller::User);
        if (!summary.written.isEmpty()) {
            const int fileRow = int(m_pathList.indexOf(summary.written.first()));
            if (fileRow >= 0 && fileRow != ListBox2->currentRow()) {
                ListBox2->setCurrentRow(fileRow);
                ReadCoordinateFile(Caller::User);
            }
        }
    }
    prompts.message(AirfoilImport::summaryText(summary));
}

void TFormlect::BtNormaliserClick()
{
    StopSlideshow();
    Prompts &prompts = Prompts::current();
    if (m_file.currentFile.isEmpty() || !m_file.complete || m_file.unusable ||
        m_file.status != AirfoilFile::ReadStatus::Read || m_listMode == 1) {
        prompts.message(CatalogueTexts::normaliseNeedsFile());
        return;
    }
    QList<QPointF> points;
    points.reserve(m_file.pointCount);
    for (int i = 0; i < m_file.pointCount; ++i)
        points << QPointF(m_file.pointX[i], m_file.pointY[i]);

    AirfoilNormalise::Result result = AirfoilNormalise::normalise(points);
    if (!result.ok) {
        prompts.message(result.refusal);
        return;
    }
    // Closing moves the rear of the surfaces: only with the user's word.
    bool open = false;
    if (result.gap > 1e-6 && !prompts.confirm(CatalogueTexts::closeQuestion(
                                 QString::number(result.gap * 100, 'f', 3)))) {
        result = AirfoilNormalise::normalise(points, true);
        open = !result.closed;
    }
    prompts.message(
        CatalogueTexts::normalised(QString::number(result.largestMove * 100, 'f', 4), open));
    if (!prompts.confirm(CatalogueTexts::rewriteQuestion(Panel4->text())))
        return;
    QString error;
    bool written;
    {
        BusyCursor hourglass;
        written = AirfoilImport::writeWhole(
            m_file.currentFile, AirfoilImport::datBytes(m_file.title(), result.points), &error);
    }
    if (!written) {
        prompts.message(CatalogueTexts::fileError(m_file.currentFile, error));
        return;
    }
    // Shown as it now stands on disk, checked again.
    ReadCoordinateFile(Caller::User);
    ListBox2->setFocus();
}
