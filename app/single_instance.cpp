#include "app/single_instance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <unistd.h>

namespace {

QString runtimeFolder() {
    QString folder = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        folder = QDir::tempPath();
    return folder;
}

} // namespace

QString RuntimeLockPath(const QString& programFolder) {
    const QString canonical = QFileInfo(programFolder).canonicalFilePath();
    const QByteArray key = QFile::encodeName(canonical.isEmpty() ? programFolder : canonical);
    const QByteArray digest = QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex();
    return runtimeFolder() + QStringLiteral("/norvel2-%1-%2.lock")
                                 .arg(::getuid())
                                 .arg(QString::fromLatin1(digest.left(16)));
}

SingleInstance::SingleInstance(const QString& programFolder)
    : programFolder_(QDir::cleanPath(programFolder)), path_(programFolder_ + "/" + LockFileName) {}

bool SingleInstance::tryAcquire() {
    QDir().mkpath(programFolder_);
    if (lockAt(programFolder_ + "/" + LockFileName))
        return true;
    // Held by another copy: refused. Not creatable here: the runtime folder.
    if (lock_ && lock_->error() == QLockFile::LockFailedError) {
        lock_.reset();
        return false;
    }
    const bool held = lockAt(RuntimeLockPath(programFolder_));
    if (!held)
        lock_.reset();
    return held;
}

bool SingleInstance::lockAt(const QString& path) {
    path_ = path;
    lock_ = std::make_unique<QLockFile>(path);
    // Only a lock whose process is gone counts as stale, however old it is.
    lock_->setStaleLockTime(0);
    return lock_->tryLock(0);
}
