#pragma once

#include <QLabel>

// A one-line report along the bottom of a window: what the last save, add,
// export or print did, or what a refusal was about (in red).
class StatusLine : public QLabel
{
    Q_OBJECT
public:
    explicit StatusLine(QWidget *window);

    void say(const QString &text) { show(text, false); }
    void refuse(const QString &text) { show(text, true); }
    bool refused() const { return m_refused; }
    // Along the bottom edge of the window, over whatever is there.
    void place();

private:
    void show(const QString &text, bool refusal);
    bool m_refused = false;
};
