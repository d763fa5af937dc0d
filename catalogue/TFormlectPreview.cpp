// The catalogue window's view of one coordinate file: reading and checking
// it, its drawing, its rows and its messages.
#include "catalogue/TFormlect.h"

#include "catalogue/AirfoilPreview.h"
#include "catalogue/CatalogueList.h"
#include "catalogue/CatalogueTexts.h"
#include "catalogue/TFormlectParts.h"
#include "ui/Prompts.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>

using namespace TFormlectParts;

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
