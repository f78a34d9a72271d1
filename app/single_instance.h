#pragma once
// One running copy of the program per program folder: a lock file in the
// program folder itself, so copies that meet there — a scheduled run and a
// desktop session with different runtime folders, two users sharing a
// folder — never run together and cross their caches. The lock of a copy
// that died is taken over; the lock goes when the object does. A program
// folder that cannot hold the lock file (read-only) falls back to a lock in
// the user's runtime folder named after the program folder.

#include <QLockFile>
#include <QString>
#include <memory>

// The fallback lock: one per user and program folder in the user's runtime
// folder (XDG_RUNTIME_DIR, else the temporary folder).
QString RuntimeLockPath(const QString& programFolder);

class SingleInstance {
public:
    explicit SingleInstance(const QString& programFolder);
    // True when this is the only running copy; then the lock is held.
    bool tryAcquire();
    // The lock file in use, or the one tried first before tryAcquire.
    QString lockPath() const { return path_; }

    // The lock file's name in the program folder.
    static constexpr char LockFileName[] = ".norvel2.lock";

private:
    bool lockAt(const QString& path);

    QString programFolder_;
    QString path_;
    std::unique_ptr<QLockFile> lock_;
};
