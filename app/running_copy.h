#pragma once
// A second start in the same program folder finds the first copy running:
// after saying so, it asks that copy to bring its window forward, so the
// user does not have to look for it. The running copy listens on a local
// socket in the user's runtime folder, named after the program folder;
// unattended runs without a window do not listen, and the call then finds
// nobody, which is no error.

#include <QObject>
#include <QString>
#include <functional>

class QLocalServer;

class RunningCopyListener : public QObject {
    Q_OBJECT

public:
    // onCall runs on each call of a later start. Listening is given up
    // quietly when the socket cannot be made.
    RunningCopyListener(const QString& programFolder, std::function<void()> onCall,
                        QObject* parent = nullptr);
    bool listening() const;

private:
    QLocalServer* server_;
    std::function<void()> onCall_;
};

// Asks the copy running in programFolder to come forward; whether one
// listened.
bool CallRunningCopy(const QString& programFolder);

// The socket's path for programFolder.
QString RunningCopySocket(const QString& programFolder);
