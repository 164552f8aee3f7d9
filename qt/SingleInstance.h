// One copy per working directory: a later start hands over to the copy already running there.
#pragma once

#include "core/InstanceLock.h"

#include <QLocalServer>
#include <QObject>
#include <QString>

class SingleInstance : public QObject
{
    Q_OBJECT

public:
    // The lock and the hand-over socket live in the user's runtime directory.
    explicit SingleInstance(QObject* parent = nullptr);

    // True when this process may run: it now holds the directory's lock for the rest of its
    // life and answers later starts. False after telling the copy that holds it to show its
    // settings.
    bool claim();

signals:
    // Another start in this directory asked this copy to show its settings.
    void activationRequested();

private:
    void askHolder() const;

    InstanceLock m_lock;
    QString m_name;
    QLocalServer m_server;
};
