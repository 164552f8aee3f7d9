// One copy per working directory: a later start hands over to the copy already running there.
#pragma once

#include <QLocalServer>
#include <QObject>
#include <QString>

class SingleInstance : public QObject
{
    Q_OBJECT

public:
    // The key is the user and the canonical working directory, since each directory has its
    // own settings file.
    explicit SingleInstance(QObject* parent = nullptr);

    // True when this process may run: no copy answers in this directory, so it now answers
    // itself. False after telling the running copy to show its settings.
    bool claim();

signals:
    // Another start in this directory asked this copy to show its settings.
    void activationRequested();

private:
    QString m_name;
    QLocalServer m_server;
};
