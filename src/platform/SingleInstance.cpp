#include "platform/SingleInstance.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>

#include <unistd.h>

namespace {
const QByteArray kActivate = "activate\n";
constexpr int kConnectTimeoutMs = 1000;
} // namespace

SingleInstance::SingleInstance(const QString& key, QObject* parent)
    : QObject(parent)
    , m_key(key)
{ }

SingleInstance::~SingleInstance()
{
    release();
}

QString SingleInstance::keyFor(const QString& programFileName)
{
    return QStringLiteral("Tallowin-%1-%2").arg(programFileName).arg(uint(::getuid()));
}

bool SingleInstance::askRunningInstance()
{
    QLocalSocket socket;
    socket.setSocketOptions(QLocalSocket::AbstractNamespaceOption);
    socket.connectToServer(m_key);
    if (!socket.waitForConnected(kConnectTimeoutMs))
        return false;
    socket.write(kActivate);
    socket.waitForBytesWritten(kConnectTimeoutMs);
    // Wait for the running instance to take the request before ending.
    socket.waitForReadyRead(kConnectTimeoutMs);
    socket.disconnectFromServer();
    return true;
}

SingleInstance::Outcome SingleInstance::acquire()
{
    // Two programs starting together may both find nobody and then race for
    // the name; the loser of that race asks the winner.
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (askRunningInstance())
            return Outcome::AlreadyRunning;
        auto* server = new QLocalServer(this);
        server->setSocketOptions(QLocalServer::AbstractNamespaceOption);
        if (server->listen(m_key)) {
            m_server = server;
            connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::onNewConnection);
            return Outcome::First;
        }
        m_errorText = server->errorString();
        delete server;
        QThread::msleep(50);
    }
    return Outcome::Failed;
}

void SingleInstance::release()
{
    if (!m_server)
        return;
    m_server->close();
    m_server->deleteLater();
    m_server = nullptr;
}

void SingleInstance::onNewConnection()
{
    while (m_server && m_server->hasPendingConnections()) {
        QLocalSocket* socket = m_server->nextPendingConnection();
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            const QByteArray request = socket->readAll();
            if (request.contains("activate")) {
                socket->write("ok\n");
                Q_EMIT activationRequested();
            }
        });
    }
}
