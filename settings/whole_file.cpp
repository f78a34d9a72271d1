#include "settings/whole_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString PartSuffix = QStringLiteral(".norvel-part");
// Room left in a file name of 255 bytes for the dot and the suffix.
constexpr qsizetype MaxPartBaseBytes = 200;

QByteArray nativePath(const QString& path) {
    return QFile::encodeName(path);
}

// Writes all of bytes, going on after interrupted or partial writes.
bool writeAll(int fd, const ByteText& bytes) {
    const char* data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, data, size_t(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        left -= n;
    }
    return true;
}

// Creates the hidden file; one a killed run left in the way goes first.
int createPart(const QByteArray& part, bool ownerOnly) {
    const int flags = O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW;
    const mode_t mode = ownerOnly ? S_IRUSR | S_IWUSR : 0666;
    int fd = ::open(part.constData(), flags, mode);
    if (fd < 0 && errno == EEXIST && ::unlink(part.constData()) == 0)
        fd = ::open(part.constData(), flags, mode);
    return fd;
}

// Makes the renames into folder last; a file system that cannot sync a
// folder still holds the files, so a refusal here is no failure of a write.
void syncFolder(const QByteArray& folder) {
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// Where a write of path goes and the permissions it keeps. Renaming over
// a link would replace the link, not the file it names; a file replaced
// keeps its permissions (-1: none to keep).
struct WriteTarget {
    QString path;
    int oldMode = -1;
};

WriteTarget targetOf(const QString& path) {
    WriteTarget target{path};
    struct stat st {};
    if (::lstat(nativePath(path).constData(), &st) != 0)
        return target;
    if (S_ISLNK(st.st_mode)) {
        const QString canonical = QFileInfo(path).canonicalFilePath();
        if (!canonical.isEmpty())
            target.path = canonical;
        if (::stat(nativePath(target.path).constData(), &st) != 0)
            st.st_mode = 0;
    }
    if (S_ISREG(st.st_mode))
        target.oldMode = int(st.st_mode & 07777);
    return target;
}

// Whether the file at path holds exactly bytes.
bool holds(const QString& path, const ByteText& bytes) {
    const QFileInfo info(path);
    return info.isFile() && info.size() == bytes.size() && ReadWholeFile(path) == bytes;
}

} // namespace

FileStamp StampOf(const QString& path) {
    struct stat st {};
    FileStamp s;
    if (::stat(nativePath(path).constData(), &st) != 0)
        return s;
    s.exists = true;
    s.size = st.st_size;
    s.mtimeNs = int64_t(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    s.inode = int64_t(st.st_ino);
    return s;
}

QString PartFilePath(const QString& path) {
    const QFileInfo info(path);
    QString base = info.fileName();
    while (nativePath(base).size() > MaxPartBaseBytes)
        base.chop(1);
    return info.path() + "/." + base + PartSuffix;
}

std::optional<ByteText> ReadWholeFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    ByteText bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes;
}

WholeFileGroup::WholeFileGroup(FileSync sync) : sync_(sync) {}

WholeFileGroup::~WholeFileGroup() {
    for (const Pending& file : pending_) {
        if (file.fd >= 0)
            ::close(file.fd);
        if (!file.part.isEmpty())
            ::unlink(file.part.constData());
    }
}

void WholeFileGroup::fail(const QString& path) {
    Pending failed;
    failed.path = path;
    failed.failed = true;
    pending_.push_back(failed);
}

void WholeFileGroup::check(bool ok, const QString& path) {
    if (!ok)
        fail(path);
}

void WholeFileGroup::write(const QString& path, const ByteText& bytes, bool ownerOnly) {
    const WriteTarget target = targetOf(path);
    Pending file;
    file.path = path;
    file.target = nativePath(target.path);
    file.part = nativePath(PartFilePath(target.path));
    file.fd = createPart(file.part, ownerOnly);
    if (file.fd < 0) {
        fail(path);
        return;
    }
    const int oldMode = ownerOnly ? -1 : target.oldMode;
    file.failed =
        !(oldMode < 0 || ::fchmod(file.fd, mode_t(oldMode)) == 0) || !writeAll(file.fd, bytes);
    pending_.push_back(file);
}

void WholeFileGroup::copy(const QString& from, const QString& to) {
    const QFileInfo source(from), target(to);
    if (target.exists() && source.canonicalFilePath() == target.canonicalFilePath())
        return;
    const std::optional<ByteText> bytes = ReadWholeFile(from);
    if (!bytes) {
        fail(to);
        return;
    }
    if (!holds(to, *bytes)) {
        write(to, *bytes);
        return;
    }
    // Nothing to change; what the file holds is still made to last.
    if (sync_ == FileSync::WaitForDisk) {
        Pending file;
        file.path = to;
        file.target = nativePath(to);
        file.fd = ::open(file.target.constData(), O_RDONLY | O_CLOEXEC);
        file.failed = file.fd < 0;
        pending_.push_back(file);
    }
}

// Finishes one file: false when it failed (its hidden file then goes).
bool WholeFileGroup::finish(Pending& file) {
    bool ok = !file.failed && (sync_ == FileSync::NoWait || ::fsync(file.fd) == 0);
    if (file.fd >= 0)
        ok = ::close(file.fd) == 0 && ok;
    file.fd = -1;
    if (!file.part.isEmpty()) {
        ok = ok && ::rename(file.part.constData(), file.target.constData()) == 0;
        if (!ok)
            ::unlink(file.part.constData());
        file.part.clear();
    }
    return ok;
}

bool WholeFileGroup::finish() {
    QList<QByteArray> folders;
    for (Pending& file : pending_) {
        if (!finish(file)) {
            if (failedPath_.isEmpty())
                failedPath_ = file.path;
            continue;
        }
        if (sync_ == FileSync::NoWait)
            continue;
        const QByteArray folder =
            nativePath(QFileInfo(QFile::decodeName(file.target)).absolutePath());
        if (!folders.contains(folder))
            folders.append(folder);
    }
    for (const QByteArray& folder : folders)
        syncFolder(folder);
    pending_.clear();
    return failedPath_.isEmpty();
}

bool WriteWholeFile(const QString& path, const ByteText& bytes, FileSync sync, bool ownerOnly) {
    WholeFileGroup group(sync);
    group.write(path, bytes, ownerOnly);
    return group.finish();
}

bool CopyFileOver(const QString& from, const QString& to) {
    const QFileInfo source(from), target(to);
    if (target.exists() && source.canonicalFilePath() == target.canonicalFilePath())
        return true;
    const std::optional<ByteText> bytes = ReadWholeFile(from);
    if (!bytes)
        return false;
    // A copy that would change nothing leaves the file as it is: the
    // settings window rewrites the stylesheet of every issue in the archive.
    return holds(to, *bytes) || WriteWholeFile(to, *bytes);
}

namespace {

// Earlier versions wrote without waiting under "name.part" and with waiting
// under "name.XXXXXX", a random tail of letters and digits, beside the files
// that waited: the settings, the index pages, the stylesheet and the
// pictures copied from data/. A tail with no capital is taken for a name of
// the user's ("options.ini.backup") and kept.
bool earlierLeftover(const QDir& dir, const QString& name) {
    static const QStringList waitedFor = {"options.ini", "index.htm",  "kp.css",    "t-01.gif",
                                          "t-02.gif",    "ktlogo.gif", "cover.jpg", "script.txt"};
    static const QRegularExpression randomTail(
        QStringLiteral("^(.+)\\.(?=[A-Za-z0-9]*[A-Z])[A-Za-z0-9]{6}$"));
    if (name.endsWith(QLatin1String(".part")))
        return QFileInfo(dir.filePath(name.chopped(5))).isFile();
    const QRegularExpressionMatch tail = randomTail.match(name);
    return tail.hasMatch() && waitedFor.contains(tail.captured(1)) &&
           QFileInfo(dir.filePath(tail.captured(1))).isFile();
}

bool isAlphanumeric(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

// Whether a name can be a leftover at all, judged on its bytes: an issue
// folder holds hundreds of pictures, and the program folder's start-up looks
// at every one of them.
bool mayBeLeftover(const char* name) {
    const qsizetype n = qsizetype(std::strlen(name));
    const auto endsWith = [&](const char* tail) {
        const qsizetype t = qsizetype(std::strlen(tail));
        return n > t && std::memcmp(name + n - t, tail, size_t(t)) == 0;
    };
    if (endsWith(".part"))
        return true;
    if (n < 8 || name[n - 7] != '.')
        return false;
    bool capital = false;
    for (qsizetype i = n - 6; i < n; ++i) {
        if (!isAlphanumeric(name[i]))
            return false;
        capital = capital || (name[i] >= 'A' && name[i] <= 'Z');
    }
    return capital;
}

} // namespace

int RemoveWriteLeftovers(const QString& folder) {
    DIR* listing = ::opendir(nativePath(folder).constData());
    if (!listing)
        return 0;
    QDir dir(folder);
    const QByteArray ourSuffix = PartSuffix.toLatin1();
    int removed = 0;
    while (const dirent* entry = ::readdir(listing)) {
        const char* raw = entry->d_name;
        const bool ours = raw[0] == '.' && QByteArray(raw).endsWith(ourSuffix);
        if (entry->d_type == DT_DIR || !(ours || mayBeLeftover(raw)))
            continue;
        const QString name = QFile::decodeName(raw);
        if (QFileInfo(dir.filePath(name)).isDir())
            continue;
        if ((ours || earlierLeftover(dir, name)) && dir.remove(name))
            ++removed;
    }
    ::closedir(listing);
    return removed;
}
