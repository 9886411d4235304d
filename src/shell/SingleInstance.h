#pragma once

#include <QByteArray>
#include <QLockFile>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

class QLocalServer;

namespace zp {

// One running instance per user and desktop session. The instance that holds the lock file
// listens on a local socket named after the hand-over section; a later start connects and
// hands over its record. A lock left behind by a crashed instance is recognised as stale
// (its process is gone), so a start after a crash comes up normally.
class TSingleInstance : public QObject {
    Q_OBJECT
public:
    // Key: the socket and lock name; the default combines the section name, the user and the
    // desktop session.
    explicit TSingleInstance(QString Key = DefaultKey(), QObject* Parent = nullptr);
    ~TSingleInstance() override;

    static QString DefaultKey();
    QString Key() const { return FKey; }

    // True when this process is now the running instance (lock taken, socket listening).
    bool TryBecomePrimary();
    bool IsPrimary() const { return FServer != nullptr; }
    // Hands a record to the running instance; false when nobody took it within the time.
    bool SendToPrimary(const QByteArray& Record, int TimeoutMs = 3000) const;

    // Where later starts' records go. Records that arrived before a receiver was set (while the
    // program was still starting) are delivered to it at once.
    void SetReceiver(std::function<void(const QStringList&)> Receiver);

signals:
    // A later start handed over its program path and first three arguments.
    void HandOverReceived(const QStringList& Texts);

private:
    void Accept();
    void Deliver(const QStringList& Texts);
    // The lock file and the socket live in the user's private runtime folder.
    QString PathOf(const QString& Suffix) const;

    std::function<void(const QStringList&)> FReceiver;
    std::vector<QStringList> FPending;
    QString FKey;
    std::unique_ptr<QLockFile> FLock;
    QLocalServer* FServer = nullptr;
};

} // namespace zp
