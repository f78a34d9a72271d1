#include "app/page_record.h"

#include "settings/whole_file.h"

#include <QFile>
#include <QFileInfo>

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
    QFile record(file());
    if (record.open(QIODevice::WriteOnly | QIODevice::Append))
        record.write(line + "\n");
}

std::optional<QList<ByteText>> PageRecord::Saved(int n, int count, const ByteText& path) const {
    const auto found = lines_.constFind(n);
    if (found == lines_.constEnd() || found->value(0) != ByteText::number(count) ||
        found->value(1) != path || QFileInfo(pageFile(n)).size() == 0)
        return std::nullopt;
    return found->mid(2);
}
