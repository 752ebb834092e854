#include "help/oneviewer.h"

#include <QLocalSocket>
#include <QStandardPaths>

namespace tally {

namespace {
constexpr int kWaitMs = 1000;
}

OneViewer::OneViewer(QString address, QObject* parent) : QObject(parent), address_(std::move(address)) {
    connect(&server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* asker = server_.nextPendingConnection()) {
            connect(asker, &QLocalSocket::disconnected, asker, &QObject::deleteLater);
            asker->disconnectFromServer();
            emit raiseRequested();
        }
    });
}

bool OneViewer::askOpenViewer() {
    QLocalSocket socket;
    socket.connectToServer(address_);
    // A connection the open viewer's socket took is all the message: it is seen even after this
    // process has gone.
    return socket.waitForConnected(kWaitMs);
}

bool OneViewer::claim() {
    if (askOpenViewer())
        return false;
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    if (server_.listen(address_))
        return true;
    // Another viewer may have started in the meantime; otherwise the socket was left by a viewer
    // that died, and is taken over.
    if (askOpenViewer())
        return false;
    QLocalServer::removeServer(address_);
    server_.listen(address_);
    return true;
}

QString oneViewerAddress() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QStandardPaths::writableLocation(QStandardPaths::TempLocation);
    return folder + QStringLiteral("/tallyroll-help");
}

} // namespace tally
