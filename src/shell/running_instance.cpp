// SPDX-License-Identifier: Apache-2.0
#include "running_instance.h"

#include "instance_lock.h"

#include <QApplication>
#include <QLocalServer>
#include <QLocalSocket>
#include <QWidget>

#include <utility>

namespace {

constexpr int kWaitMs = 2000;
const QByteArray kShowRequest = "show\n";

} // namespace

std::string showRequestSocketPath(const std::string& name) {
    return InstanceLock::lockFilePath(name) + ".socket";
}

bool askRunningInstanceToShow(const std::string& name) {
    QLocalSocket socket;
    socket.connectToServer(QString::fromStdString(showRequestSocketPath(name)));
    if (!socket.waitForConnected(kWaitMs)) {
        return false;
    }
    socket.write(kShowRequest);
    if (!socket.waitForBytesWritten(kWaitMs)) {
        return false;
    }
    // The running instance closes the connection once it has acted.
    socket.waitForDisconnected(kWaitMs);
    return true;
}

ShowRequestListener::ShowRequestListener(const std::string& name, std::function<void()> onRequest)
    : server_(new QLocalServer(this)), onRequest_(std::move(onRequest)) {
    const QString path = QString::fromStdString(showRequestSocketPath(name));
    QLocalServer::removeServer(path);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    server_->listen(path);
    connect(server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server_->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                if (!socket->canReadLine()) {
                    return;
                }
                const bool show = socket->readLine() == kShowRequest;
                socket->disconnectFromServer();
                if (show && onRequest_) {
                    onRequest_();
                }
            });
        }
    });
}

ShowRequestListener::~ShowRequestListener() {
    server_->close();
}

bool ShowRequestListener::listening() const {
    return server_->isListening();
}

void bringToFront(QWidget& window) {
    QWidget* target = QApplication::activeModalWidget();
    if (target == nullptr) {
        target = &window;
    }
    if (target->isMinimized()) {
        target->showNormal();
    }
    target->raise();
    target->activateWindow();
}
