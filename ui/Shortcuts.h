#pragma once

#include <QKeySequence>
#include <QList>
#include <QString>

#include <functional>

class QAbstractButton;
class QAction;
class QWidget;

// Keyboard shortcuts of a window, from Qt's standard key sequences so that
// they follow the platform, shown in the tooltip of the button they press.
namespace Shortcuts
{
// The platform's keys for `key`, then `extra` ones it lacks.
QList<QKeySequence> keys(QKeySequence::StandardKey key, const QList<QKeySequence> &extra = {});

// An action of `window` (active while the window is) that runs `run` on
// `keys`.
QAction *add(QWidget *window, const QList<QKeySequence> &keys, std::function<void()> run);

// Keys that click `button` (nothing while it is disabled or hidden); its
// tooltip names them.
QAction *press(QWidget *window, QAbstractButton *button, const QList<QKeySequence> &keys);

// "tip (Ctrl+S)": the tip with the keys as the platform writes them.
QString tipWithKeys(const QString &tip, const QList<QKeySequence> &keys);
} // namespace Shortcuts
