#pragma once

// What the catalogue window's source files share: the colours of its rows,
// the hourglass and the paint breaks of its long work.

#include <QApplication>
#include <QColor>
#include <QElapsedTimer>

namespace TFormlectParts
{

inline const QColor kSelectedRow(255, 255, 0);
inline const QColor kFolderOddRow(224, 255, 224);
inline const QColor kStoredOddRow(255, 250, 224);
inline const QColor kSearchOddRow(224, 224, 255);
inline const QColor kCorrectedRow(0, 255, 0);
inline const QColor kErrorRow(255, 0, 255);

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

} // namespace TFormlectParts
