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

    explicit CatalogueList(QWidget *parent = nullptr);

    // Rows drawn by draw, rowHeight pixels high.
    void setOwnerDraw(int rowHeight, DrawItem draw);
    int rowHeight() const { return m_rowHeight; }
    const DrawItem &drawItem() const { return m_draw; }

signals:
    // The user pressed a row or moved the selection with the keyboard.
    void userClicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    int m_rowHeight = 0;
    DrawItem m_draw;
};
