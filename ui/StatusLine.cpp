#include "ui/StatusLine.h"

StatusLine::StatusLine(QWidget *window) : QLabel(window)
{
    setObjectName(QStringLiteral("StatusLine"));
    setFrameShape(QFrame::StyledPanel);
    setFrameShadow(QFrame::Sunken);
    setAutoFillBackground(true);
    setIndent(4);
    place();
}

void StatusLine::place()
{
    const QWidget *window = parentWidget();
    const int h = fontMetrics().height() + 6;
    setGeometry(0, window->height() - h, window->width(), h);
    raise();
}

void StatusLine::show(const QString &text, bool refusal)
{
    m_refused = refusal;
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, refusal ? QColor(192, 0, 0) : QColor(0, 0, 0));
    setPalette(pal);
    setText(text);
    setToolTip(text);
    place();
    QLabel::show();
}
