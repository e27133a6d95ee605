#pragma once

#include <QObject>
#include <QString>
#include <functional>

#include "platform/SingleInstance.h"

class QLocalServer;
class QLocalSocket;

namespace orvane {

// The one copy per user, as a local socket server in the user's private
// runtime folder: a starting copy first tries to reach a running one and asks
// it to show itself; only when nobody of the same user answers does it take
// the name over (clearing what a crashed copy left behind) and listen.
// Requests from other users are not heard. Lives on the user-interface thread.
class LocalSocketSingleInstance final : public QObject, public SingleInstance {
    Q_OBJECT
  public:
    // The name of this user's copy.
    explicit LocalSocketSingleInstance(QObject* parent = nullptr);
    // Another name, for tests that must not meet a running application.
    explicit LocalSocketSingleInstance(const QString& serverName, QObject* parent = nullptr);
    ~LocalSocketSingleInstance() override;

    bool tryBecomePrimary() override;
    void setOnShowRequested(std::function<void()> onShowRequested) override;

    bool isListening() const;
    const QString& serverName() const { return name; }
    // Where the socket lives; empty when the user has no private folder (the
    // copy then runs without the one-copy rule).
    const QString& serverPath() const { return path; }

    // "ORVANE7000 Config-<uid>".
    static QString defaultServerName();

  private:
    bool askRunningCopyToShow();
    void listen();
    void accept();
    void readRequests(QLocalSocket* peer);

    QString name;
    QString path;
    QLocalServer* server = nullptr;
    std::function<void()> showRequested;
    bool showPending = false;
};

}  // namespace orvane
