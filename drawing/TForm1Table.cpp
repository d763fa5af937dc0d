// The drawing window's coordinate table panel and the coordinate file export.
#include "drawing/TForm1.h"

#include "cutting/DatExport.h"
#include "drawing/CoordinateTable.h"
#include "profiles/ProfileStore.h"
#include "render/TemplateDrawing.h"
#include "ui/Language.h"
#include "ui/Prompts.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QStyledItemDelegate>

namespace
{

constexpr int kRowHeight = 16;
constexpr int kNumberWidth = 22;
constexpr int kColumnWidths[] = {37, 36, 38, 33};

// Every cell of the grid is drawn by the window's Tableau1DrawCell.
class CellPainter : public QStyledItemDelegate
{
public:
    CellPainter(TForm1 *form, QObject *parent) : QStyledItemDelegate(parent), m_form(form) {}

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override
    {
        const bool highlighted = option.state & (QStyle::State_Selected | QStyle::State_HasFocus);
        m_form->Tableau1DrawCell(*painter, option.rect, index.column(), index.row(), highlighted);
    }

private:
    TForm1 *m_form;
};

// Copy and paste of blocks of cells, as with a spreadsheet.
class ClipboardKeys : public QObject
{
public:
    ClipboardKeys(TForm1 *form, QObject *parent) : QObject(parent), m_form(form) {}

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress) {
            auto *key = static_cast<QKeyEvent *>(event);
            if (key->matches(QKeySequence::Copy)) {
                m_form->copyTableSelection();
                return true;
            }
            if (key->matches(QKeySequence::Paste)) {
                m_form->pasteIntoTable();
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    TForm1 *m_form;
};

} // namespace

void TForm1::connectTable()
{
    m_table = std::make_unique<CoordinateTable>(m_drawing->viewState().tableau1Cells);

    // Row 0 and column 0 of the cells are the grid's fixed header row and
    // number column: they stay in place while the values scroll.
    Tableau1->setFont(QFont(QStringLiteral("Arial"), 8));
    Tableau1->setItemDelegate(new CellPainter(this, Tableau1));
    Tableau1->horizontalHeader()->show();
    Tableau1->verticalHeader()->show();
    Tableau1->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    Tableau1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    Tableau1->verticalHeader()->setMinimumSectionSize(kRowHeight);
    Tableau1->verticalHeader()->setDefaultSectionSize(kRowHeight);
    Tableau1->horizontalHeader()->setFixedHeight(kRowHeight + 2);
    Tableau1->verticalHeader()->setFixedWidth(kNumberWidth);
    Tableau1->verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
    Tableau1->setColumnHidden(CoordinateTable::Number, true);
    Tableau1->setRowHidden(0, true);
    for (int c = CoordinateTable::XExt; c <= CoordinateTable::YInt; ++c) {
        Tableau1->setColumnWidth(c, kColumnWidths[c - 1]);
        Tableau1->setHorizontalHeaderItem(
            c, new QTableWidgetItem(m_drawing->viewState().tableau1Cells[0][size_t(c)]));
    }
    Tableau1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Tableau1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Tableau1->setSelectionMode(QAbstractItemView::ContiguousSelection);
    Tableau1->setSelectionBehavior(QAbstractItemView::SelectItems);
    Tableau1->setTabKeyNavigation(true);
    Tableau1->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                              QAbstractItemView::AnyKeyPressed);
    Tableau1->setWordWrap(false);
    Tableau1->installEventFilter(new ClipboardKeys(this, Tableau1));
    Label9->setFont(QFont(QStringLiteral("Arial"), 10));
    Label9->hide();

    // Each row is numbered in the fixed column; row 0 is the hidden header row.
    connect(Tableau1->model(), &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex &, int first, int last) {
                for (int r = first; r <= last; ++r)
                    Tableau1->setVerticalHeaderItem(r, new QTableWidgetItem(QString::number(r)));
            });
    connect(Tableau1, &QTableWidget::itemChanged, this,
            [this](QTableWidgetItem *item) { Tableau1CellEdited(item->row(), item->column()); });
    connect(BtTableau, &QPushButton::clicked, this,
            [this] { recorded(tableEditText(), &TForm1::BttableauClick); });
    connect(Btvalider, &QPushButton::clicked, this,
            [this] { recorded(tableEditText(), &TForm1::BtvaliderClick); });
    connect(btEnregH, &QPushButton::clicked, this, &TForm1::btEnregHClick);
}

void TForm1::Tableau1DrawCell(QPainter &painter, const QRect &rect, int column, int row,
                              bool highlighted)
{
    const bool fixed = row == 0 || column == 0;
    painter.save();
    painter.fillRect(rect, highlighted ? QColor(255, 255, 0)
                           : fixed     ? palette().color(QPalette::Button)
                                       : palette().color(QPalette::Base));
    painter.setFont(Tableau1->font());
    const CoordinateTable::Look look = m_table->look(column, row);
    const int width = painter.fontMetrics().horizontalAdvance(look.text);
    const int baseline = rect.top() + 1 + painter.fontMetrics().ascent();
    switch (look.kind) {
    case CoordinateTable::Look::Header:
        painter.setPen(Qt::black);
        painter.drawText(rect.left() + (rect.width() - width) / 2, baseline, look.text);
        break;
    case CoordinateTable::Look::Empty:
        // A missing value: nothing may be drawn until the table is validated.
        m_store->dataError = true;
        break;
    case CoordinateTable::Look::Value:
        painter.setPen(look.red ? QColor(255, 0, 0) : QColor(0, 0, 0));
        painter.drawText(rect.right() - width - 1, baseline, look.text);
        break;
    }
    painter.restore();
}

void TForm1::Tableau1CellEdited(int row, int column)
{
    // The grid being filled from the cells is no edit.
    if (m_syncing)
        return;
    CoordinateTable::Cells &cells = m_table->cells();
    const QTableWidgetItem *item = Tableau1->item(row, column);
    if (!item || row < 0 || row >= int(cells.size()) || column < 0 ||
        column >= CoordinateTable::kColumns)
        return;
    QString &cell = cells[size_t(row)][size_t(column)];
    if (cell == item->text())
        return;
    cell = item->text();
    if (m_table->isDataCell(column, row) && cell.trimmed().isEmpty())
        m_store->dataError = true;
    // The colours of the row below follow this value.
    Tableau1->viewport()->update();
}

void TForm1::showTable()
{
    showState();
    Label9->setVisible(m_table->errorsShown);
    Tableau1->viewport()->update();
}

void TForm1::putTableCursor()
{
    const CoordinateTable::Cursor c = m_table->cursor;
    if (c.row < Tableau1->rowCount() && c.column < Tableau1->columnCount()) {
        Tableau1->setCurrentCell(c.row, c.column);
        if (QTableWidgetItem *item = Tableau1->item(c.row, c.column))
            Tableau1->scrollToItem(item);
    }
}

void TForm1::reselectAfterTable()
{
    const int p = m_store->currentProfile;
    int t = m_store->currentTemplate;
    // A faulty profile stopped its selection before its template was read:
    // once repaired, it opens on its first template as a sound one would.
    if (t < 0 && m_store->templateCount(p) > 0)
        t = 0;
    selectAndDraw(p, t);
}

void TForm1::BttableauClick()
{
    ViewState &vs = m_drawing->viewState();
    if (vs.panel1Visible) {
        vs.panel1Visible = false;
        showTable();
        return;
    }
    m_drawing->StoreTemplate(m_store->currentProfile, m_store->currentTemplate);
    vs.panel1Visible = true;
    if (m_table->validate()) {
        m_table->errorsShown = false;
        m_table->writeBack(*m_store, m_store->currentProfile);
        reselectAfterTable();
    }
    showTable();
    putTableCursor();
}

void TForm1::BtvaliderClick()
{
    ViewState &vs = m_drawing->viewState();
    if (!m_table->validate()) {
        m_table->errorsShown = true;
        showTable();
        putTableCursor();
        Tableau1->setFocus();
        return;
    }
    // Figures placed while the table was open go into the store before the
    // profile is read from it again.
    if (m_drawing->working().figuresChanged)
        m_drawing->StoreTemplate(m_store->currentProfile, m_store->currentTemplate);
    m_store->dataError = false;
    m_table->errorsShown = false;
    vs.panel1Visible = false;
    m_table->writeBack(*m_store, m_store->currentProfile);
    reselectAfterTable();
    showTable();
    putTableCursor();
}

void TForm1::copyTableSelection()
{
    const QList<QTableWidgetSelectionRange> ranges = Tableau1->selectedRanges();
    CoordinateTable::Range range;
    if (!ranges.isEmpty()) {
        const QTableWidgetSelectionRange &s = ranges.constFirst();
        range = {s.topRow(), s.leftColumn(), s.bottomRow(), s.rightColumn()};
    } else if (Tableau1->currentRow() >= 0) {
        range = {Tableau1->currentRow(), Tableau1->currentColumn(), Tableau1->currentRow(),
                 Tableau1->currentColumn()};
    }
    const QString text = m_table->copy(range);
    if (!text.isEmpty())
        QApplication::clipboard()->setText(text);
}

void TForm1::pasteIntoTable()
{
    const QString text = QApplication::clipboard()->text();
    const int row = Tableau1->currentRow(), column = Tableau1->currentColumn();
    if (text.isEmpty() || row < 1 || column < 1)
        return;
    const CoordinateTable::Range range = m_table->paste(column, row, text, kMaxProfilePoints);
    if (range.isEmpty())
        return;
    for (int r = range.top; r <= range.bottom; ++r) {
        for (int c = range.left; c <= range.right; ++c) {
            if (m_table->text(c, r).trimmed().isEmpty())
                m_store->dataError = true;
        }
    }
    showTable();
    Tableau1->clearSelection();
    Tableau1->setRangeSelected(
        QTableWidgetSelectionRange(range.top, range.left, range.bottom, range.right), true);
}

void TForm1::btEnregHClick()
{
    Prompts &prompts = Prompts::current();
    const QString name = Cb1->currentText();
    // With the data error flag set the working data may mix two profiles.
    const QStringList lines =
        m_store->dataError ? QStringList() : DatExport::lines(name, m_drawing->working());
    if (lines.isEmpty()) {
        prompts.message(Language::pick(
            QStringLiteral("Enregistrement impossible : le profil affiché n'est pas valide "
                           "(corrigez le tableau puis Valider, ou choisissez un profil)."),
            QStringLiteral("Cannot save: the airfoil on show is not valid (correct the table "
                           "then Valider, or choose an airfoil).")));
        return;
    }
    const QString path = prompts.saveFileName(
        tr("Enregistrer fichier.dat"),
        QDir::current().filePath(DatExport::proposedFileName(name)),
        Language::pick(QStringLiteral("Fichiers profil (*.dat);;Tous les fichiers (*)"),
                       QStringLiteral("Airfoil files (*.dat);;All files (*)")),
        QStringLiteral("dat"));
    if (path.isEmpty())
        return;
    QString error;
    if (!DatExport::write(path, DatExport::bytes(lines), &error))
        prompts.message(path + QStringLiteral(" : ") + error);
}
