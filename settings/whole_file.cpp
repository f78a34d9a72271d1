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

// Makes the rename itself last; a file system that cannot sync a folder
// still holds the file, so a refusal here is no failure of the write.
void syncFolderOf(const QByteArray& target) {
    const QByteArray folder = nativePath(QFileInfo(QFile::decodeName(target)).absolutePath());
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// oldMode: the permissions of the file replaced, -1 for none to keep.
bool writeThroughPart(const QString& path, const ByteText& bytes, FileSync sync, bool ownerOnly,
                      int oldMode) {
    const QByteArray target = nativePath(path);
    const QByteArray part = nativePath(PartFilePath(path));
    const int fd = createPart(part, ownerOnly);
    if (fd < 0)
        return false;
    // A file that replaces another keeps its permissions.
    bool ok = oldMode < 0 || ::fchmod(fd, mode_t(oldMode)) == 0;
    ok = ok && writeAll(fd, bytes);
    ok = ok && (sync == FileSync::NoWait || ::fsync(fd) == 0);
    ok = ::close(fd) == 0 && ok;
    ok = ok && ::rename(part.constData(), target.constData()) == 0;
    if (!ok) {
        ::unlink(part.constData());
        return false;
    }
    if (sync == FileSync::WaitForDisk)
        syncFolderOf(target);
    return true;
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

bool WriteWholeFile(const QString& path, const ByteText& bytes, FileSync sync, bool ownerOnly) {
    // One look at the target. Renaming over a link would replace the link,
    // not the file it names; a file replaced keeps its permissions.
    QString target = path;
    struct stat st {};
    int oldMode = -1;
    if (::lstat(nativePath(path).constData(), &st) == 0) {
        if (S_ISLNK(st.st_mode)) {
            const QString canonical = QFileInfo(path).canonicalFilePath();
            if (!canonical.isEmpty())
                target = canonical;
            if (::stat(nativePath(target).constData(), &st) != 0)
                st.st_mode = 0;
        }
        if (S_ISREG(st.st_mode))
            oldMode = int(st.st_mode & 07777);
    }
    return writeThroughPart(target, bytes, sync, ownerOnly, ownerOnly ? -1 : oldMode);
}

bool WriteFileInPlace(const QString& path, const ByteText& bytes) {
    const int fd = ::open(nativePath(path).constData(),
                          O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0644);
    if (fd < 0)
        return false;
    const bool written = writeAll(fd, bytes);
    return ::close(fd) == 0 && written;
}

bool CopyFileOver(const QString& from, const QString& to, FileSync sync) {
    const QFileInfo source(from), target(to);
    if (target.exists() && source.canonicalFilePath() == target.canonicalFilePath())
        return true;
    const std::optional<ByteText> bytes = ReadWholeFile(from);
    if (!bytes)
        return false;
    // A copy that would change nothing leaves the file as it is: an issue's
    // index is built twice, and the settings window rewrites the stylesheet
    // of every issue in the archive.
    if (target.isFile() && target.size() == bytes->size() && ReadWholeFile(to) == bytes)
        return true;
    return WriteWholeFile(to, *bytes, sync);
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
