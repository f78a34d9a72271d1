#include "app/single_instance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <unistd.h>

namespace {

QString lockFolder() {
    QString folder = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        folder = QDir::tempPath();
    return folder;
}

} // namespace

SingleInstance::SingleInstance(const QString& programFolder) {
    const QString canonical = QFileInfo(programFolder).canonicalFilePath();
    const QByteArray key = QFile::encodeName(canonical.isEmpty() ? programFolder : canonical);
    const QByteArray digest = QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex();
    path_ = lockFolder() + QStringLiteral("/norvel2-%1-%2.lock")
                               .arg(::getuid())
                               .arg(QString::fromLatin1(digest.left(16)));
}

bool SingleInstance::tryAcquire() {
    lock_ = std::make_unique<QLockFile>(path_);
    // Only a lock whose process is gone counts as stale, however old it is.
    lock_->setStaleLockTime(0);
    if (lock_->tryLock(0))
        return true;
    lock_.reset();
    return false;
}
