#include "tests/support/issue_folders.h"

#include "tests/support/temp_program_folder.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <unistd.h>

namespace {

const char* const Months[] = {"января", "февраля", "марта",    "апреля",  "мая",    "июня",
                              "июля",   "августа", "сентября", "октября", "ноября", "декабря"};

QByteArray picture(const char* format) {
    QImage image(12, 8, QImage::Format_RGB32);
    image.fill(QColor(0x40, 0x80, 0xC0));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

} // namespace

ByteText IssueIndexPage(const QDate& issueDate, const ByteText& number,
                        const QList<PageEntry>& entries, const QDate& builtOn) {
    ByteText list;
    for (const PageEntry& e : entries) {
        const ByteText target = e.liveAddress.isEmpty()
                                    ? "page" + ByteText::number(e.number) + ".html\" class=\"b\">"
                                    : e.liveAddress + "\" class=\"error\">";
        list += "<li><a href=\"" + target + W(e.title.constData()) + "</a>\n";
    }
    const ByteText date = ByteText::number(issueDate.day()) + " " +
                          W(Months[issueDate.month() - 1]) + " " +
                          ByteText::number(issueDate.year());
    return "<html><head><title>index</title></head><body><img src=\"img/t-01.gif\" alt=\"\">"
           "<div class=\"date\">" +
           date + " (" + number + ")</div><ul>\n" + list +
           "</ul><a href=\"http://www.norvel.ru/\" class=\"b\">Norvel</a></body></html><!!!-!!!" +
           builtOn.toString("dd.MM.yyyy").toLatin1() + ">\r\n";
}

ByteText IssuePage(const char* title, const char* body) {
    return W("<html><head><meta charset=windows-1251><title>") + W(title) +
           "</title><script>var x = '</p>';</script></head><body>" + W(body) + "</body></html>\r\n";
}

void WriteFile(const QString& folder, const QString& relative, const QByteArray& bytes) {
    const QString path = folder + "/" + relative;
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
}

void MakeIssueFolder(const QString& downloadFolder, const QString& name, const QDate& issueDate,
                     const ByteText& number, int pageCount, const QDate& builtOn, bool withBook) {
    const QString folder = downloadFolder + "/" + name;
    QList<PageEntry> entries;
    for (int n = 1; n <= pageCount; ++n) {
        entries.append({n, "Статья " + ByteText::number(n), {}});
        WriteFile(folder, "page" + QString::number(n) + ".html",
                  IssuePage("Статья", "<p>Текст статьи.</p>"));
    }
    WriteFile(folder, "index.htm", IssueIndexPage(issueDate, number, entries, builtOn));
    WriteFile(folder, "img/t-01.gif", GifPicture());
    if (withBook)
        WriteFile(downloadFolder, name + ".epub", "book");
}

// Qt reads GIF but does not write it: the newspaper's service picture.
QByteArray GifPicture() {
    QFile file(TempProgramFolder::binDir() + "/data/t-01.gif");
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
QByteArray PngPicture() {
    return picture("PNG");
}
QByteArray BmpPicture() {
    return picture("BMP");
}

QStringList MakeGeneratedArchive(const QString& downloadFolder, int count, const QDate& newest,
                                 int perDay, bool magazine, int pageCount) {
    const QString shared = QFileInfo(downloadFolder).path() + "/.generated-issue";
    QList<PageEntry> entries;
    QStringList files{"img/t-01.gif"};
    WriteFile(shared, "img/t-01.gif", GifPicture());
    for (int n = 1; n <= pageCount; ++n) {
        entries.append({n, "Статья " + ByteText::number(n), {}});
        files << "page" + QString::number(n) + ".html";
        WriteFile(shared, files.last(), IssuePage("Статья", "<p>Текст статьи.</p>"));
    }
    QStringList names;
    for (int i = 0; i < count; ++i) {
        const QDate date = newest.addDays(-(i / perDay) * (magazine ? 7 : 1));
        QString name = date.toString("yyyy.MM.dd");
        if (i % perDay)
            name += "." + QString::number(i % perDay);
        name += magazine ? ".KT" : "";
        const QString folder = downloadFolder + "/" + name;
        QDir().mkpath(folder + "/img");
        for (const QString& file : files)
            ::link(QFile::encodeName(shared + "/" + file).constData(),
                   QFile::encodeName(folder + "/" + file).constData());
        const ByteText number = ByteText::number((magazine ? 900 : 30000) + count - i);
        WriteFile(folder, "index.htm", IssueIndexPage(date, number, entries, date));
        names << name;
    }
    return names;
}
