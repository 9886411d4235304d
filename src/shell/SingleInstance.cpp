#include "shell/SingleInstance.h"

#include "shell/HandOver.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QRegularExpression>
#include <QStandardPaths>
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

QString TSingleInstance::PathOf(const QString& Suffix) const {
    // Per user and not writable by others, unlike the shared temporary folder, where another
    // user could take the name first and receive our file paths.
    QString Folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (Folder.isEmpty()) Folder = QDir::tempPath();
    return QDir(Folder).filePath(FKey + Suffix);
}

void TSingleInstance::SetReceiver(std::function<void(const QStringList&)> Receiver) {
    FReceiver = std::move(Receiver);
    std::vector<QStringList> Waiting;
    Waiting.swap(FPending);
    for (const QStringList& Texts : Waiting) Deliver(Texts);
}

void TSingleInstance::Deliver(const QStringList& Texts) {
    emit HandOverReceived(Texts);
    if (FReceiver)
        FReceiver(Texts);
    else
        FPending.push_back(Texts);
}

bool TSingleInstance::TryBecomePrimary() {
    if (FServer) return true;
    FLock = std::make_unique<QLockFile>(PathOf(QStringLiteral(".lock")));
    // Only a dead owner makes a lock stale, however long the program has been running.
    FLock->setStaleLockTime(0);
    if (!FLock->tryLock(0)) {
        FLock.reset();
        return false;
    }
    // Whatever socket exists now was left by an instance that is gone.
    QLocalServer::removeServer(PathOf(QString()));
    auto* Server = new QLocalServer(this);
    Server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!Server->listen(PathOf(QString()))) {
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
        Socket.connectToServer(PathOf(QString()));
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
            Deliver(DecodeHandOver(Record));
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
