// One copy per working directory through a local socket named after the user and the directory.
#include "shell/SingleInstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLocalSocket>

namespace {
constexpr int handOverMs = 2000;

QString socketName()
{
    const QString directory = QDir::current().canonicalPath();
    if (directory.isEmpty()) {
        // Beyond PATH_MAX the directory has no name to key on: such a copy runs on its own.
        return {};
    }
    const QString user = qEnvironmentVariable("USER", qEnvironmentVariable("USERNAME"));
    const QByteArray key = QCryptographicHash::hash((user + QLatin1Char('\n') + directory).toUtf8(),
                                                    QCryptographicHash::Sha256)
                               .toHex()
                               .left(32);
    const QString name = QStringLiteral("rupeta-") + QString::fromLatin1(key);
    // The runtime directory is the user's own and is emptied at log-out; elsewhere Qt picks
    // the temporary directory (or a named pipe on Windows).
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return runtime.isEmpty() ? name : runtime + QLatin1Char('/') + name;
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
