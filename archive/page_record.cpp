#include "archive/page_record.h"

#include "settings/whole_file.h"

#include <QFile>
#include <QFileInfo>
#include <fcntl.h>
#include <unistd.h>

namespace {

// Appends line to the file with one write, creating the file when missing.
// A write cut short (a full disk) is taken back, so the next page's line
// never runs on from half of this one; the page is then fetched again.
void AppendLine(const QString& path, const ByteText& line) {
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0)
        return;
    const ssize_t written = ::write(fd, line.constData(), size_t(line.size()));
    if (written > 0 && written < line.size()) {
        const off_t end = ::lseek(fd, 0, SEEK_END);
        // Nothing more can be done when the disk refuses this as well.
        const bool takenBack = end >= written && ::ftruncate(fd, end - written) == 0;
        Q_UNUSED(takenBack);
    }
    ::close(fd);
}

// Whether a field of a line came from Add: no control characters (a NUL or
// other garbage a power cut left), and not empty.
bool CleanField(const ByteText& field) {
    if (field.isEmpty())
        return false;
    for (char c : field)
        if (uchar(c) < 0x20 || uchar(c) == 0x7F)
            return false;
    return true;
}

// The fields after the page number of one line Add wrote: the page count,
// the path and the pictures; nothing when the line does not parse.
std::optional<QList<ByteText>> ParsedLine(const ByteText& line, int& n) {
    const QList<ByteText> fields = line.split('\t');
    bool numbered = false, counted = false;
    n = fields.value(0).toInt(&numbered);
    const int count = fields.value(1).toInt(&counted);
    if (fields.size() < 3 || !numbered || !counted || n < 1 || n > count)
        return std::nullopt;
    for (const ByteText& field : fields)
        if (!CleanField(field))
            return std::nullopt;
    return fields.mid(1);
}

} // namespace

PageRecord::PageRecord(const QString& issueFolder) : folder_(issueFolder) {}

QString PageRecord::pageFile(int n) const {
    return folder_ + "/page" + QString::number(n) + ".html";
}

void PageRecord::Load() {
    lines_.clear();
    ByteText text = ReadWholeFile(file()).value_or(ByteText());
    // A last line without its line end was cut short: its page is fetched again.
    text.truncate(text.lastIndexOf('\n') + 1);
    for (const ByteText& line : text.split('\n')) {
        int n = 0;
        if (const std::optional<QList<ByteText>> fields = ParsedLine(line, n))
            lines_.insert(n, *fields);
    }
}

void PageRecord::Remove() {
    lines_.clear();
    QFile::remove(file());
}

void PageRecord::Add(int n, int count, const ByteText& path, const QList<ByteText>& pictures) {
    ByteText line = ByteText::number(n) + "\t" + ByteText::number(count) + "\t" + path;
    for (const ByteText& picture : pictures)
        line += "\t" + picture;
    if (line.count('\t') != pictures.size() + 2 || line.contains('\n') || line.contains('\r'))
        return;
    AppendLine(file(), line + "\n");
}

std::optional<QList<ByteText>> PageRecord::Saved(int n, int count, const ByteText& path) const {
    const auto found = lines_.constFind(n);
    if (found == lines_.constEnd() || found->value(0) != ByteText::number(count) ||
        found->value(1) != path || QFileInfo(pageFile(n)).size() == 0)
        return std::nullopt;
    return found->mid(2);
}
