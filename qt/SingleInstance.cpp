// One copy per working directory through a local socket named after the user and the directory.
#include "qt/SingleInstance.h"

#include "core/SingleInstanceKey.h"

#include <QDir>
#include <QLocalSocket>

namespace {
constexpr int handOverMs = 2000;

QString socketName()
{
    const QString user = qEnvironmentVariable("USER", qEnvironmentVariable("USERNAME"));
    return QString::fromStdString(
        singleInstanceName(user.toStdString(), QDir::current().canonicalPath().toStdString(),
                           qEnvironmentVariable("XDG_RUNTIME_DIR").toStdString()));
}
} // namespace

SingleInstance::SingleInstance(QObject* parent) : QObject(parent), m_name(socketName())
{
    connect(&m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = m_server.nextPendingConnection()) {
            socket->deleteLater();
            emit activationRequested();
        }
    });
}

bool SingleInstance::claim()
{
    if (m_name.isEmpty()) {
        return true;
    }
    QLocalSocket first;
    first.connectToServer(m_name);
    if (first.waitForConnected(handOverMs)) {
        first.disconnectFromServer();
        return false;
    }
    // Nobody answers: a socket left by a crashed copy is stale and goes.
    QLocalServer::removeServer(m_name);
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    // Should listening fail, this copy runs unguarded rather than not at all.
    m_server.listen(m_name);
    return true;
}
