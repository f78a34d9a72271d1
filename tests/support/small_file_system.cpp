#include "tests/support/small_file_system.h"

#include <QByteArray>
#include <QFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

namespace {

QByteArray fillerPath(const QString& folder) {
    return QFile::encodeName(folder + "/filler");
}

} // namespace

SmallFileSystem::SmallFileSystem(int kilobytes) {
    const QByteArray target = QFile::encodeName(dir_.path());
    const QByteArray options = "size=" + QByteArray::number(kilobytes) + "k,mode=0755";
    if (::mount("tmpfs", target.constData(), "tmpfs", 0, options.constData()) == 0)
        mounted_ = true;
    else
        why_ = QString::fromLocal8Bit(std::strerror(errno));
}

SmallFileSystem::~SmallFileSystem() {
    if (mounted_)
        ::umount2(QFile::encodeName(dir_.path()).constData(), MNT_DETACH);
}

void SmallFileSystem::fill() {
    const int fd = ::open(fillerPath(path()).constData(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    if (fd < 0)
        return;
    const QByteArray block(4096, 'x');
    while (::write(fd, block.constData(), size_t(block.size())) > 0) {
    }
    // The last partial block too: nothing at all is left.
    while (::write(fd, "x", 1) > 0) {
    }
    ::close(fd);
}

void SmallFileSystem::free() {
    ::unlink(fillerPath(path()).constData());
}
