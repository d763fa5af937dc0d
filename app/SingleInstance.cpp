#include "app/SingleInstance.h"

#include <QLocalSocket>

#include <unistd.h>

SingleInstance::SingleInstance(const QString &name, QObject *parent) : QObject(parent), m_name(name)
{
    connect(&m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *s = m_server.nextPendingConnection()) {
            connect(s, &QLocalSocket::disconnected, s, &QObject::deleteLater);
            connect(s, &QLocalSocket::readyRead, this, [this, s] {
                if (s->readAll().contains("raise"))
                    emit raiseRequested();
            });
        }
    });
}

QString SingleInstance::defaultName()
{
    // One program per user: the name carries the user's id.
    return QStringLiteral("SpritesFirstinstance-") + QString::number(getuid());
}

bool SingleInstance::tryBecomeFirst()
{
    for (int attempt = 0; attempt < 2; ++attempt) {
        QLocalSocket probe;
        probe.connectToServer(m_name);
        if (probe.waitForConnected(1000)) {
            probe.write("raise\n");
            probe.flush();
            probe.waitForBytesWritten(1000);
            probe.disconnectFromServer();
            return false;
        }
        // Nobody answers: whatever is left at the name is stale.
        QLocalServer::removeServer(m_name);
        m_server.setSocketOptions(QLocalServer::UserAccessOption);
        if (m_server.listen(m_name))
            return true;
        // Another instance started listening in between: ask it next round.
    }
    return false;
}
