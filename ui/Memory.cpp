#include "ui/Memory.h"

#include <QCoreApplication>
#include <QEvent>
#include <QSettings>
#include <QWidget>

#include <cmath>
#include <memory>

namespace
{
bool s_enabled = false;

std::unique_ptr<QSettings> settings()
{
    return std::make_unique<QSettings>(Memory::kOrganisation, QCoreApplication::applicationName());
}
} // namespace

void Memory::setEnabled(bool enabled)
{
    s_enabled = enabled;
}

bool Memory::enabled()
{
    return s_enabled;
}

QString Memory::text(const QString &key, const QString &otherwise)
{
    if (!s_enabled)
        return otherwise;
    const QVariant v = settings()->value(key);
    return v.isValid() && v.canConvert<QString>() ? v.toString() : otherwise;
}

int Memory::number(const QString &key, int otherwise, int low, int high)
{
    if (!s_enabled)
        return otherwise;
    bool ok = false;
    const int v = settings()->value(key).toInt(&ok);
    return ok && v >= low && v <= high ? v : otherwise;
}

double Memory::real(const QString &key, double otherwise, double low, double high)
{
    if (!s_enabled)
        return otherwise;
    bool ok = false;
    const double v = settings()->value(key).toDouble(&ok);
    return ok && std::isfinite(v) && v >= low && v <= high ? v : otherwise;
}

void Memory::set(const QString &key, const QVariant &value)
{
    if (s_enabled)
        settings()->setValue(key, value);
}

namespace
{
class GeometryKeeper : public QObject
{
public:
    explicit GeometryKeeper(QWidget *window) : QObject(window), m_window(window)
    {
        window->installEventFilter(this);
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched != m_window || !s_enabled)
            return false;
        if (event->type() == QEvent::Show && !m_restored) {
            m_restored = true;
            const QByteArray g = settings()->value(key()).toByteArray();
            if (!g.isEmpty())
                m_window->restoreGeometry(g);
        } else if (event->type() == QEvent::Hide) {
            settings()->setValue(key(), m_window->saveGeometry());
        }
        return false;
    }

private:
    QString key() const
    {
        return QStringLiteral("windows/") + m_window->objectName() + QStringLiteral("/geometry");
    }
    QWidget *m_window;
    bool m_restored = false;
};
} // namespace

void Memory::keepGeometry(QWidget *window)
{
    new GeometryKeeper(window);
}
