#pragma once

#include <QListWidget>

#include <functional>

// A list box whose rows are drawn by its window, each row of a fixed
// height, and which tells a user's click (or keyboard move) apart from a
// selection made by the program.
class CatalogueList : public QListWidget
{
    Q_OBJECT
public:
    using DrawItem = std::function<void(QPainter *, const QRect &, int row, bool selected)>;
    // The width a row needs, in pixels, for a list that scrolls sideways.
    using RowWidth = std::function<int(const QFontMetrics &, int row)>;

    explicit CatalogueList(QWidget *parent = nullptr);

    // Rows drawn by draw, rowHeight pixels high; with width, rows wider
    // than the list can be scrolled to sideways.
    void setOwnerDraw(int rowHeight, DrawItem draw, RowWidth width = {});
    int rowHeight() const { return m_rowHeight; }
    const DrawItem &drawItem() const { return m_draw; }
    const RowWidth &rowWidth() const { return m_width; }

signals:
    // The user pressed a row.
    void userClicked();
    // The user moved the selection with the keyboard.
    void userKeyed();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    int m_rowHeight = 0;
    DrawItem m_draw;
    RowWidth m_width;
};
