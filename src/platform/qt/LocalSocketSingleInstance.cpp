#include "platform/qt/LocalSocketSingleInstance.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>

#include <QDeadlineTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QTimer>
#include <QVariant>

#include "platform/linux/session/UserSession.h"

namespace orvane {
namespace {

constexpr int kConnectMs = 500;
constexpr int kWriteMs = 1000;
// A peer that says nothing useful is dropped after this long or this much.
constexpr int kPeerMs = 2000;
constexpr qsizetype kMaxLine = 64;
constexpr const char* kBufferProperty = "orvaneRequestBuffer";

bool isOwnUser(qintptr socketDescriptor) {
    const std::optional<unsigned> peer = localPeerUserId(socketDescriptor);
    return peer && *peer == currentUserId();
}

}  // namespace

LocalSocketSingleInstance::LocalSocketSingleInstance(QObject* parent)
    : LocalSocketSingleInstance(defaultServerName(), parent) {}

LocalSocketSingleInstance::LocalSocketSingleInstance(const QString& serverName, QObject* parent)
    : QObject(parent), name(serverName) {
    // In a folder of this user's alone: in the shared temporary folder any
    // local user could take the name first and keep the program from starting.
    std::string error;
    const std::filesystem::path folder = privateRuntimeFolder(error);
    if (!folder.empty()) {
        path = QString::fromStdString((folder / name.toStdString()).string());
    }
}

LocalSocketSingleInstance::~LocalSocketSingleInstance() = default;

QString LocalSocketSingleInstance::defaultServerName() {
    return QStringLiteral("ORVANE7000 Config-%1").arg(static_cast<qulonglong>(currentUserId()));
}

void LocalSocketSingleInstance::setOnShowRequested(std::function<void()> onShowRequested) {
    showRequested = std::move(onShowRequested);
    if (showPending && showRequested) {
        // Delivered from the event loop, so that the window set up after this
        // call is complete when it is asked to show.
        showPending = false;
        QTimer::singleShot(0, this, [this] {
            if (showRequested) {
                showRequested();
            }
        });
    }
}

bool LocalSocketSingleInstance::isListening() const {
    return server != nullptr && server->isListening();
}

bool LocalSocketSingleInstance::tryBecomePrimary() {
    if (isListening()) {
        return true;
    }
    if (path.isEmpty()) {
        // No private folder: run unguarded rather than trust a shared one.
        return true;
    }
    // Two copies started at the same moment would otherwise both find nobody,
    // and the second one's clean-up would delete the first one's socket. The
    // lock spans the whole look-then-take-over; a crashed holder's lock is
    // recognised as stale by QLockFile.
    QLockFile lock(path + QStringLiteral(".lock"));
    lock.setStaleLockTime(10000);
    const bool locked = lock.tryLock(3000);
    (void)locked;  // Without the lock the look-then-take-over still works, just unguarded.

    if (askRunningCopyToShow()) {
        return false;
    }
    listen();
    // Even when listening failed this copy runs: a user who starts the program
    // must get a window, and nobody else answered to show one.
    return true;
}

bool LocalSocketSingleInstance::askRunningCopyToShow() {
    QLocalSocket socket;
    socket.connectToServer(path);
    if (!socket.waitForConnected(kConnectMs)) {
        return false;
    }
    if (!isOwnUser(socket.socketDescriptor())) {
        // Someone else's listener is not our copy, whoever put it there.
        socket.abort();
        return false;
    }
    socket.write("show\n");
    const QDeadlineTimer deadline(kWriteMs);
    while (socket.bytesToWrite() > 0 && !deadline.hasExpired()) {
        if (!socket.waitForBytesWritten(static_cast<int>(deadline.remainingTime()))) {
            break;
        }
    }
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState) {
        socket.waitForDisconnected(static_cast<int>(std::max<qint64>(deadline.remainingTime(), 0)));
    }
    // Someone answered: whether the request got through or not, a copy runs.
    return true;
}

void LocalSocketSingleInstance::listen() {
    // Nobody of ours answered, so a socket file under the name is a crashed
    // copy's or a stranger's.
    QLocalServer::removeServer(path);
    server = new QLocalServer(this);
    server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server, &QLocalServer::newConnection, this, &LocalSocketSingleInstance::accept);
    if (!server->listen(path)) {
        delete server;
        server = nullptr;
    }
}

void LocalSocketSingleInstance::accept() {
    while (QLocalSocket* peer = server->nextPendingConnection()) {
        if (!isOwnUser(peer->socketDescriptor())) {
            peer->abort();
            peer->deleteLater();
            continue;
        }
        connect(peer, &QLocalSocket::disconnected, peer, &QObject::deleteLater);
        connect(peer, &QLocalSocket::readyRead, this, [this, peer] { readRequests(peer); });
        QTimer::singleShot(kPeerMs, peer, [peer] { peer->abort(); });
        // Data may have arrived with the connection.
        readRequests(peer);
    }
}

void LocalSocketSingleInstance::readRequests(QLocalSocket* peer) {
    QByteArray buffer = peer->property(kBufferProperty).toByteArray() + peer->readAll();
    qsizetype end = 0;
    while ((end = buffer.indexOf('\n')) >= 0) {
        const QByteArray line = buffer.left(end).trimmed();
        buffer.remove(0, end + 1);
        if (line == "show") {
            if (showRequested) {
                showRequested();
            } else {
                // Nobody listens yet: a second start during our own start-up.
                showPending = true;
            }
        }
        // Anything else is not ours to act on.
    }
    if (buffer.size() > kMaxLine) {
        peer->abort();
        return;
    }
    peer->setProperty(kBufferProperty, buffer);
}

}  // namespace orvane
