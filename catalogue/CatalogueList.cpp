#include "catalogue/CatalogueList.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>

namespace
{

class OwnerDrawDelegate : public QStyledItemDelegate
{
public:
    explicit OwnerDrawDelegate(CatalogueList *list) : QStyledItemDelegate(list), m_list(list) {}

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override
    {
        if (!m_list->drawItem()) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        painter->save();
        painter->setFont(option.font);
        m_list->drawItem()(painter, option.rect, index.row(),
                           option.state.testFlag(QStyle::State_Selected));
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        if (m_list->rowHeight() > 0)
            size.setHeight(m_list->rowHeight());
        if (m_list->rowWidth())
            size.setWidth(m_list->rowWidth()(option.fontMetrics, index.row()));
        return size;
    }

private:
    CatalogueList *m_list;
};

} // namespace

CatalogueList::CatalogueList(QWidget *parent) : QListWidget(parent)
{
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
}

void CatalogueList::setOwnerDraw(int rowHeight, DrawItem draw, RowWidth width)
{
    m_rowHeight = rowHeight;
    m_draw = std::move(draw);
    m_width = std::move(width);
    if (m_width) {
        // Each row's own width counts, not the first row's.
        setUniformItemSizes(false);
        setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    }
    setItemDelegate(new OwnerDrawDelegate(this));
}

void CatalogueList::mousePressEvent(QMouseEvent *event)
{
    const bool onRow = itemAt(event->position().toPoint()) != nullptr;
    QListWidget::mousePressEvent(event);
    if (onRow && event->button() == Qt::LeftButton)
        emit userClicked();
}

void CatalogueList::keyPressEvent(QKeyEvent *event)
{
    const int before = currentRow();
    QListWidget::keyPressEvent(event);
    if (currentRow() != before)
        emit userKeyed();
}
