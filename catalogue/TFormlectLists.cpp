// The catalogue window's lists: folders, their files, the search in
// dico.txt, the stored profiles, and the slideshow that walks the files.
#include "catalogue/TFormlect.h"

#include "catalogue/AirfoilFolders.h"
#include "catalogue/CatalogueList.h"
#include "catalogue/CatalogueTexts.h"
#include "catalogue/FolderListing.h"
#include "catalogue/TFormlectParts.h"
#include "profiles/ProfileStore.h"
#include "ui/Prompts.h"
#include "ui/StatusLine.h"
#include "ui/WorkProgress.h"

#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QSlider>
#include <QTimer>

#include <algorithm>
#include <memory>

using namespace TFormlectParts;

namespace
{
// A listing that lasts longer than this shows its progress and its cancel.
constexpr int kShowListingAfterMs = 400;
} // namespace

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
    // Made at the first file, once the count is known; shown only when the
    // listing lasts, so a usual folder flashes no dialog.
    std::unique_ptr<WorkProgress> progress;
    const FolderListing::Result listing =
        FolderListing::list(folder, m_airfoilsFolder, [&](int done, int total) {
            paintBreak();
            if (done >= total)
                return true;
            if (!progress)
                progress = std::make_unique<WorkProgress>(
                    this, CatalogueTexts::listingProgress(total), total,
                    QStringLiteral("ListingProgress"), kShowListingAfterMs);
            return progress->advance(done);
        });
    progress.reset();
    QStringList shown;
    shown.reserve(listing.files.size());
    for (const AirfoilFolders::Entry &file : listing.files) {
        m_pathList << file.path;
        shown << file.shown;
    }
    ListBox2->addItems(shown);
    m_listing = false;
    if (listing.cancelled) {
        // The files read so far stay listed; a slideshow would only run on
        // into the next folder.
        StopSlideshow();
        Status->say(CatalogueTexts::listingCancelled().arg(listing.read()).arg(listing.total));
    } else {
        Status->say(CatalogueTexts::listed().arg(listing.read()).arg(listing.refused));
    }
    const QStringList &errors = listing.errors;
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
