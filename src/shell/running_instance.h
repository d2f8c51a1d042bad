// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QObject>

#include <functional>
#include <string>

class QLocalServer;

// A second start of the program asks the running one to show its window: the running instance
// listens on a local socket beside its instance lock, and a second start that finds the lock
// held connects to it and says "show".

// The socket's path for a program name (beside the lock file of InstanceLock).
std::string showRequestSocketPath(const std::string& name);

// Asks the running instance to show its window; true when it took the request.
bool askRunningInstanceToShow(const std::string& name);

// Listens for the requests of later starts while it lives and runs onRequest for each. Only the
// holder of the instance lock may create it: it replaces a socket left behind by a crash.
class ShowRequestListener : public QObject {
    Q_OBJECT

  public:
    ShowRequestListener(const std::string& name, std::function<void()> onRequest);
    ~ShowRequestListener() override;
    bool listening() const;

  private:
    QLocalServer* server_;
    std::function<void()> onRequest_;
};

// Brings the program to the front: the open modal dialog (the login) if there is one, else the
// given window, restored from minimised.
void bringToFront(class QWidget& window);
