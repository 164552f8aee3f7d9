// One copy per working directory: the instance lock decides, a local socket hands over.
#include "qt/SingleInstance.h"

#include <QDeadlineTimer>
#include <QLocalSocket>
#include <QThread>

#include <filesystem>

namespace {
constexpr int handOverMs = 2000;

QString socketName(const std::filesystem::path& folder, const std::string& key)
{
    if (key.empty()) {
        return {};
    }
    return QString::fromStdString((folder / (key + ".sock")).string());
}
} // namespace

SingleInstance::SingleInstance(QObject* parent)
    : QObject(parent), m_lock(InstanceLock::defaultFolder()),
      m_name(socketName(InstanceLock::defaultFolder(), m_lock.key()))
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
    switch (m_lock.claim()) {
    case InstanceLock::Claim::HeldElsewhere:
        askHolder();
        return false;
    case InstanceLock::Claim::Unguarded:
        // No lock to keep (no runtime directory of ours): this copy runs rather than not at all.
        return true;
    case InstanceLock::Claim::Claimed:
        break;
    }
    // Only the lock's holder listens, so a socket left here is a dead copy's and goes.
    QLocalServer::removeServer(m_name);
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    m_server.listen(m_name);
    return true;
}

void SingleInstance::askHolder() const
{
    // The holder may have taken the lock a moment ago and not be listening yet.
    const QDeadlineTimer deadline(handOverMs);
    while (!deadline.hasExpired()) {
        QLocalSocket socket;
        socket.connectToServer(m_name);
        if (socket.waitForConnected(static_cast<int>(deadline.remainingTime()))) {
            socket.disconnectFromServer();
            return;
        }
        QThread::msleep(20);
    }
}
