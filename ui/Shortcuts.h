#pragma once

#include <QKeySequence>
#include <QList>
#include <QString>

#include <functional>
#include <initializer_list>

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

// What a key does, the same in every window that has it.
enum class Role { Save, Print, Help, Close, ZoomIn, ZoomOut, RealSize, FitPage };
// The keys of a role: the platform's standard ones, then those it lacks.
QList<QKeySequence> keys(Role role);

// One row of a window's shortcuts: the button that the role's keys press.
struct Press {
    QAbstractButton *button;
    Role role;
};
void pressAll(QWidget *window, std::initializer_list<Press> rows);

// "tip (Ctrl+S)": the tip with the keys as the platform writes them.
QString tipWithKeys(const QString &tip, const QList<QKeySequence> &keys);
} // namespace Shortcuts
