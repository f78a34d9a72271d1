#include "app/page_record.h"

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

} // namespace

PageRecord::PageRecord(const QString& issueFolder) : folder_(issueFolder) {}

QString PageRecord::pageFile(int n) const {
    return folder_ + "/page" + QString::number(n) + ".html";
}

void PageRecord::Load() {
    lines_.clear();
    const ByteText text = ReadWholeFile(file()).value_or(ByteText());
    for (const ByteText& line : text.split('\n')) {
        QList<ByteText> fields = line.split('\t');
        bool ok = false;
        const int n = fields.value(0).toInt(&ok);
        if (ok && fields.size() >= 3)
            lines_.insert(n, fields.mid(1));
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
