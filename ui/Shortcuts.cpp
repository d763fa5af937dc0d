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

QList<QKeySequence> keys(Role role)
{
    struct Row {
        Role role;
        QKeySequence::StandardKey standard;
        QList<QKeySequence> extra;
    };
    // clang-format off
    static const Row rows[] = {
        {Role::Save,     QKeySequence::Save,         {}},
        {Role::Print,    QKeySequence::Print,        {}},
        {Role::Help,     QKeySequence::HelpContents, {}},
        {Role::Close,    QKeySequence::Close,        {QKeySequence(Qt::CTRL | Qt::Key_W)}},
        {Role::ZoomIn,   QKeySequence::ZoomIn,       {QKeySequence(Qt::CTRL | Qt::Key_Equal)}},
        {Role::ZoomOut,  QKeySequence::ZoomOut,      {}},
        {Role::RealSize, QKeySequence::UnknownKey,   {QKeySequence(Qt::CTRL | Qt::Key_1)}},
        {Role::FitPage,  QKeySequence::UnknownKey,   {QKeySequence(Qt::CTRL | Qt::Key_0)}},
    };
    // clang-format on
    for (const Row &row : rows)
        if (row.role == role)
            return keys(row.standard, row.extra);
    return {};
}

void pressAll(QWidget *window, std::initializer_list<Press> rows)
{
    for (const Press &row : rows)
        press(window, row.button, keys(row.role));
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
