#include "ui/Shortcuts.h"

#include <QAbstractButton>
#include <QAction>
#include <QStringList>
#include <QWidget>

namespace Shortcuts
{
QList<QKeySequence> keys(QKeySequence::StandardKey key, const QList<QKeySequence> &extra)
{
    QList<QKeySequence> all = QKeySequence::keyBindings(key);
    for (const QKeySequence &k : extra)
        if (!all.contains(k))
            all << k;
    return all;
}

QAction *add(QWidget *window, const QList<QKeySequence> &keys, std::function<void()> run)
{
    auto *action = new QAction(window);
    action->setShortcuts(keys);
    action->setShortcutContext(Qt::WindowShortcut);
    QObject::connect(action, &QAction::triggered, window, [run = std::move(run)] { run(); });
    window->addAction(action);
    return action;
}

QAction *press(QWidget *window, QAbstractButton *button, const QList<QKeySequence> &keys)
{
    QString tip = button->toolTip();
    if (tip.isEmpty())
        tip = button->text().remove(QLatin1Char('&')).remove(QChar(0x2026)).trimmed();
    button->setToolTip(tipWithKeys(tip, keys));
    return add(window, keys, [button] {
        if (button->isEnabled() && button->isVisible())
            button->click();
    });
}

QString tipWithKeys(const QString &tip, const QList<QKeySequence> &keys)
{
    QStringList shown;
    for (const QKeySequence &k : keys)
        shown << k.toString(QKeySequence::NativeText);
    if (shown.isEmpty())
        return tip;
    return tip + QStringLiteral(" (") + shown.join(QStringLiteral(", ")) + QLatin1Char(')');
}
} // namespace Shortcuts
