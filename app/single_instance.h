#pragma once
// One running copy of the program per user and program folder: a lock file
// in the user's runtime folder, named after the program folder. The lock
// of a copy that died is taken over; the lock goes when the object does.
// Copies in different program folders (tests, the demo) do not meet.

#include <QLockFile>
#include <QString>
#include <memory>

class SingleInstance {
public:
    explicit SingleInstance(const QString& programFolder);
    // True when this is the only running copy; then the lock is held.
    bool tryAcquire();
    QString lockPath() const { return path_; }

private:
    QString path_;
    std::unique_ptr<QLockFile> lock_;
};
