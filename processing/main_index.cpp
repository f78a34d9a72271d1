#include "processing/main_index.h"

#include "processing/cut_replace.h"
#include "processing/text_scan.h"
#include "settings/whole_file.h"

#include <QDir>
#include <QFileInfo>

namespace {

ByteText issueEntry(const QString& folderName, const IssueHeading& heading) {
    return "<a href=\"" + cp1251::fromUnicode(folderName) + "/index.htm\" class=\"b\">" +
           heading.date + W(" (номер ") + heading.number + ")</a><br>\r\n";
}

} // namespace

IssueHeading ReadIssueHeading(const ByteText& issueIndex) {
    IssueHeading heading;
    const ByteText opening = "<div class=\"date\">";
    const qsizetype at = issueIndex.indexOf(opening);
    if (at < 0)
        return heading;
    // Up to two places before the next "<": the closing parenthesis stays out.
    const ByteText text = textscan::CopyThroughBeforeSecond(issueIndex, at + opening.size(), '<');
    const qsizetype open = text.indexOf('(');
    if (open < 0)
        return heading;
    heading.date = text.left(qMax<qsizetype>(0, open - 1));
    heading.number = text.mid(open + 1);
    return heading;
}

MainIndexResult BuildMainIndex(const QString& folder, const QString& programFolder,
                               Messenger& messenger) {
    if (folder.isEmpty()) {
        messenger.Show(QStringLiteral("А каталог назначения мне самому выбирать?!"),
                       QStringLiteral("Ошибка: не выбран каталог"), MessageIcon::Question);
        return MainIndexResult::NoFolder;
    }
    const QString templatePath = programFolder + "/data/mainindex.dat";
    if (!QFileInfo(templatePath).isFile()) {
        messenger.Show("Не найден файл шаблона для построения индекса:\r\n" + templatePath,
                       QStringLiteral("Ошибка"), MessageIcon::Error);
        return MainIndexResult::NoTemplate;
    }
    const QStringList issues =
        QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    if (issues.isEmpty()) {
        messenger.Show(QStringLiteral("Нет номеров для построения общего индекса!"),
                       QStringLiteral("Ошибка"), MessageIcon::Information);
        return MainIndexResult::NoIssues;
    }

    ByteText newspapers, magazines;
    for (const QString& name : issues) {
        const std::optional<ByteText> index = ReadWholeFile(folder + "/" + name + "/index.htm");
        if (!index)
            continue;
        (name.endsWith("KT") ? magazines : newspapers) +=
            issueEntry(name, ReadIssueHeading(*index));
    }
    std::optional<ByteText> page = ReadWholeFile(templatePath);
    if (!page)
        return MainIndexResult::WriteFailed;
    ReplaceFirst(*page, MainIndexNewspaperMarker, newspapers);
    ReplaceFirst(*page, MainIndexMagazineMarker, magazines);
    return WriteWholeFile(folder + "/index.htm", *page + "\r\n") ? MainIndexResult::Written
                                                                 : MainIndexResult::WriteFailed;
}
