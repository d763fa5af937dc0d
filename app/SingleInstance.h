#pragma once

#include <QLocalServer>
#include <QObject>
#include <QString>

// One running copy of the program. The first instance listens on a local
// socket; a later start finds it there, asks it to come forward, and ends.
// A socket left behind by a crashed instance answers nobody and is
// replaced.
class SingleInstance : public QObject
{
    Q_OBJECT
public:
    explicit SingleInstance(const QString &name, QObject *parent = nullptr);

    // True when this is the first instance (it then keeps listening); false
    // after a running instance was asked to come forward.
    bool tryBecomeFirst();

    static QString defaultName();

signals:
    // Another start asked the running instance to come forward.
    void raiseRequested();

private:
    QString m_name;
    QLocalServer m_server;
};
