// The catalogue window's lists: folders, their files, the search in
// dico.txt, the stored profiles, and the slideshow that walks the files.
#include "catalogue/TFormlect.h"

#include "catalogue/AirfoilFolders.h"
#include "catalogue/CatalogueList.h"
#include "catalogue/TFormlectParts.h"
#include "profiles/ProfileStore.h"
#include "ui/Prompts.h"

#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QSlider>
#include <QTimer>

#include <algorithm>

using namespace TFormlectParts;

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
