#include "shell/SingleInstance.h"

#include "shell/HandOver.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QRegularExpression>
#include <QThread>

#include <unistd.h>

namespace zp {

TSingleInstance::TSingleInstance(QString Key, QObject* Parent) : QObject(Parent), FKey(std::move(Key)) {}

TSingleInstance::~TSingleInstance() {
    if (FServer) FServer->close();
}

QString TSingleInstance::DefaultKey() {
    QString Session = qEnvironmentVariable("XDG_SESSION_ID");
    if (Session.isEmpty()) Session = qEnvironmentVariable("WAYLAND_DISPLAY");
    if (Session.isEmpty()) Session = qEnvironmentVariable("DISPLAY");
    Session.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9_.-]")), QStringLiteral("_"));
    return QStringLiteral("%1-%2-%3")
        .arg(QString::fromLatin1(HandOverSectionName))
        .arg(getuid())
        .arg(Session);
}

bool TSingleInstance::TryBecomePrimary() {
    if (FServer) return true;
    FLock = std::make_unique<QLockFile>(QDir(QDir::tempPath()).filePath(FKey + QStringLiteral(".lock")));
    // Only a dead owner makes a lock stale, however long the program has been running.
    FLock->setStaleLockTime(0);
    if (!FLock->tryLock(0)) {
        FLock.reset();
        return false;
    }
    // Whatever socket exists now was left by an instance that is gone.
    QLocalServer::removeServer(FKey);
    auto* Server = new QLocalServer(this);
    Server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!Server->listen(FKey)) {
        delete Server;
        FLock->unlock();
        FLock.reset();
        return false;
    }
    connect(Server, &QLocalServer::newConnection, this, &TSingleInstance::Accept);
    FServer = Server;
    return true;
}

bool TSingleInstance::SendToPrimary(const QByteArray& Record, int TimeoutMs) const {
    // The running instance may still be starting up: try until the deadline.
    const QDeadlineTimer Deadline(TimeoutMs);
    while (!Deadline.hasExpired()) {
        QLocalSocket Socket;
        Socket.connectToServer(FKey);
        if (Socket.waitForConnected(static_cast<int>(std::max<qint64>(1, Deadline.remainingTime())))) {
            Socket.write(Record);
            while (Socket.bytesToWrite() > 0)
                if (!Socket.waitForBytesWritten(
                        static_cast<int>(std::max<qint64>(1, Deadline.remainingTime()))))
                    return false;
            // The receiver closes once it has the whole record.
            Socket.waitForDisconnected(static_cast<int>(std::max<qint64>(1, Deadline.remainingTime())));
            return true;
        }
        QThread::msleep(50);
    }
    return false;
}

void TSingleInstance::Accept() {
    while (QLocalSocket* Socket = FServer->nextPendingConnection()) {
        auto* Buffer = new QByteArray;
        auto Finish = [this, Socket, Buffer]() {
            if (Buffer->isNull()) return;
            const QByteArray Record = *Buffer;
            *Buffer = QByteArray();
            Socket->disconnectFromServer();
            emit HandOverReceived(DecodeHandOver(Record));
        };
        connect(Socket, &QLocalSocket::readyRead, this, [Socket, Buffer, Finish]() {
            Buffer->append(Socket->readAll());
            if (Buffer->size() >= HandOverSize) Finish();
        });
        // A sender that gives up early still counts: what arrived is decoded (missing units are zero).
        connect(Socket, &QLocalSocket::disconnected, this, [Socket, Buffer, Finish]() {
            Buffer->append(Socket->readAll());
            if (!Buffer->isEmpty()) Finish();
            Socket->deleteLater();
            delete Buffer;
        });
    }
}

} // namespace zp
