// One Qelto per user: the first instance listens on a local socket named after its window class;
// a later start hands its command-line document to it and ends.
#pragma once

#include <QObject>
#include <QString>

class QLocalServer;

namespace qelto::app {

// "CorvidClass-<user id>": each user on a shared machine has an instance of their own.
QString instanceServerName();

// Sends file (may be empty) to the instance listening on serverName. False when none answers,
// in which case this start goes on as the first instance.
bool handOverToRunningInstance(const QString& serverName, const QString& file,
                               int timeoutMs = 2000);

class InstanceServer final : public QObject {
    Q_OBJECT

  public:
    explicit InstanceServer(QObject* parent = nullptr);

    // Listens on serverName; a socket left behind by a crashed instance is removed first.
    bool listen(const QString& serverName);

  Q_SIGNALS:
    // Another start asked this instance to come forward and, when file is not empty, open it.
    void activationRequested(const QString& file);

  private:
    void acceptConnection();

    QLocalServer* server_;
};

}  // namespace qelto::app
