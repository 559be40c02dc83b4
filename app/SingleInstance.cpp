#include "app/SingleInstance.h"

#include <QApplication>
#include <QDir>
#include <QLocalSocket>
#include <QStandardPaths>

#include <cstdio>

#include "app/MessageService.h"

namespace sonoria {
namespace {

constexpr int kConnectTimeoutMs = 1000;
constexpr const char* kActivateRequest = "activate\n";

}  // namespace

SingleInstance::SingleInstance(QString name, QString folder, QObject* parent)
    : QObject(parent),
      name_(std::move(name)),
      folder_(std::move(folder)) {
    connect(&server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server_.nextPendingConnection()) {
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                if (socket->readAll().contains("activate")) emit activationRequested();
                socket->disconnectFromServer();
            });
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
}

SingleInstance::~SingleInstance() { server_.close(); }

QString SingleInstance::LockPath() const {
    return folder_.isEmpty() ? QString() : QDir(folder_).filePath(name_ + QStringLiteral(".lock"));
}

QString SingleInstance::ServerPath() const { return folder_.isEmpty() ? QString() : QDir(folder_).filePath(name_); }

SingleInstance::Outcome SingleInstance::Check() {
    // Looked up only here: a run outside the rule never makes the folder.
    if (folder_.isEmpty()) folder_ = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder_.isEmpty()) return Outcome::Failed;
    lock_ = std::make_unique<QLockFile>(LockPath());
    lock_->setStaleLockTime(0);  // a copy that died leaves a stale lock; its process id tells
    if (lock_->tryLock(0)) return Outcome::First;
    if (lock_->error() != QLockFile::LockFailedError) return Outcome::Failed;

    QLocalSocket socket;
    socket.connectToServer(ServerPath());
    if (socket.waitForConnected(kConnectTimeoutMs)) {
        socket.write(kActivateRequest);
        socket.waitForBytesWritten(kConnectTimeoutMs);
        socket.disconnectFromServer();
        return Outcome::HandedOver;
    }
    return Outcome::WindowNotFound;
}

bool SingleInstance::Listen() {
    // Only the copy holding the mark may clear a server left by a copy that died.
    if (!lock_ || !lock_->isLocked()) return false;
    QLocalServer::removeServer(ServerPath());
    // Only this user may ask this copy to come to the front.
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    return server_.listen(ServerPath());
}

bool CheckSingleInstance(SingleInstance& instance) {
    switch (instance.Check()) {
        case SingleInstance::Outcome::First: return true;
        case SingleInstance::Outcome::HandedOver:
            std::fputs("sonoria: already running for this user; its window was brought to the front\n", stderr);
            return false;
        case SingleInstance::Outcome::WindowNotFound:
            ShowMessageBox(nullptr, QString::fromUtf8(kInstanceWindowMissing), QString::fromUtf8(kProgramName),
                           MessageIcon::None);
            return true;
        case SingleInstance::Outcome::Failed:
            ShowMessageBox(nullptr, QString::fromUtf8(kInstanceCreateFailed), QString::fromUtf8(kProgramName),
                           MessageIcon::None);
            return false;
    }
    return false;
}

}  // namespace sonoria
