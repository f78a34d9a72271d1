#include "processing/issue_index.h"

#include "processing/cut_replace.h"
#include "processing/safe_file_name.h"
#include "settings/whole_file.h"

#include <QDir>
#include <QFileInfo>

namespace {

const ByteText& entry(const QList<ByteText>& list, int n) {
    static const ByteText none;
    return n >= 1 && n <= list.size() ? list[n - 1] : none;
}

ByteText heading(const IssueIndexInput& issue) {
    return "<div class=\"date\">" + issue.IssueDate + " (" + issue.IssueNumber + ")</div>";
}

ByteText footer(bool magazine, const Sites& sites) {
    return W(magazine ? ">Этот номер журнала загружен и обработан программой <a href="
                      : ">Этот номер газеты загружен и обработан программой <a href=") +
           "\"" + SiteAddress(sites.HomePage) + "/\" class=\"b\"><font color=\"#0000CC\">" +
           W("Норвел") + "</font></a></b></div></td></table>";
}

bool pageSaved(const IssueIndexInput& issue, int n) {
    return QFileInfo(issue.IssueFolder + "/page" + QString::number(n) + ".html").isFile();
}

// One line per page: the saved page, or the page on the live site marked
// as missing.
ByteText newspaperList(const IssueIndexInput& issue, const Sites& sites) {
    ByteText list;
    for (int n = 1; n <= issue.PageCount; ++n) {
        const ByteText target =
            pageSaved(issue, n)
                ? "page" + ByteText::number(n) + ".html\" class=\"b\">"
                : SiteAddress(sites.Newspaper) + entry(issue.PagePaths, n) + "\" class=\"error\">";
        list += "<li><a href=\"" + target + entry(issue.PageTitles, n) + "</a>\n";
    }
    return list;
}

// Two lines per page: the title link, then the annotation.
ByteText magazineList(const IssueIndexInput& issue, const Sites& sites) {
    ByteText list;
    for (int n = 1; n <= issue.PageCount; ++n) {
        const ByteText target =
            pageSaved(issue, n)
                ? "page" + ByteText::number(n) + ".html\" class=\"online-news-date\">"
                : SiteAddress(sites.MagazineArchive) + entry(issue.PagePaths, n) +
                      "\" class=\"error\">";
        list += "<li><a href=\"" + target + entry(issue.MagazineTitles, n) + "</a><br>\n";
        list += "<div align=\"justify\">&nbsp;<span class=\"bottom\">" +
                entry(issue.PageTitles, n) + "</span></div><br>\n";
    }
    return list;
}

// The template text around the list marker, which takes the one character
// after it along; without the marker the list goes at the end.
ByteText joinAtMarker(const ByteText& page, const ByteText& list) {
    const qsizetype at = page.indexOf(IndexListMarker);
    if (at < 0)
        return page + list;
    const qsizetype rest = at + qsizetype(sizeof(IndexListMarker) - 1) + 1;
    return page.left(at) + list + page.mid(rest);
}

// Notes the first file that could not be written.
void check(bool written, const QString& path, IssueIndexResult& result) {
    if (!written && result.failedPath.isEmpty())
        result.failedPath = path;
}

// The stylesheet and the service pictures go with the issue's pages and
// pictures: written whole, without waiting for the disk.
void copyCompanion(const QString& programFolder, const QString& name, const QString& target,
                   IssueIndexResult& result) {
    check(CopyFileOver(programFolder + "/data/" + name, target, FileSync::NoWait), target, result);
}

} // namespace

IssueIndexResult BuildIssueIndex(bool complete, const IssueIndexInput& issue,
                                 const QString& programFolder, const Sites& sites,
                                 const ByteText& stockCover, const QDate& buildDate) {
    const bool magazine = issue.CurrentSource == 2;
    IssueIndexResult result;
    const std::optional<ByteText> text =
        ReadWholeFile(programFolder + (magazine ? "/data/indexct.dat" : "/data/index.dat"));
    if (!text) {
        result.failedPath = programFolder + (magazine ? "/data/indexct.dat" : "/data/index.dat");
        return result;
    }
    ByteText page = *text;
    ReplaceFirst(page, IndexHeadingMarker, heading(issue));
    if (!complete) {
        ReplaceFirst(page, "<!--div", "<div");
        ReplaceFirst(page, "</div-->", "</div>");
    }
    ReplaceFirst(page, IndexFooterEnd, footer(magazine, sites));
    page = joinAtMarker(page, magazine ? magazineList(issue, sites) : newspaperList(issue, sites));
    // The date mark stays last, where readers of the index look for it.
    if (!complete)
        page += IndexIncompleteMark;
    page += IndexEndMark + buildDate.toString("dd.MM.yyyy").toLatin1() + ">";

    QString cover;
    if (magazine) {
        const ByteText coverName = SafeFileName(entry(issue.CoverFiles, issue.SelectedIssue));
        cover = issue.TempFolder + "/" + FileNameOf(coverName);
        if (!QFileInfo(cover).isFile()) {
            cover.clear();
            ReplaceFirst(page, "cover.jpg", "cover.bmp");
        }
    }
    result.page = page;
    // The index of a complete issue must outlast a power cut: the issue
    // counts as archived from then on. An incomplete one is built again by
    // the next download of the issue, so it does not wait for the disk.
    // The pages and pictures it shows were written without waiting; a power
    // cut within the kernel's write-back delay after this write could leave
    // some of them empty. A syncfs() here would close that window, but it
    // waits for every dirty page of the file system, other programs' too
    // (36 ms on a 60-page issue here, any length beside a large copy).
    const QString index = issue.IssueFolder + "/index.htm";
    check(WriteWholeFile(index, page + "\r\n", complete ? FileSync::WaitForDisk : FileSync::NoWait),
          index, result);

    const QString img = issue.IssueFolder + "/img";
    check(QDir().mkpath(img), img, result);
    if (magazine) {
        if (cover.isEmpty())
            check(WriteWholeFile(img + "/cover.bmp", stockCover, FileSync::NoWait),
                  img + "/cover.bmp", result);
        else
            check(CopyFileOver(cover, img + "/cover.jpg", FileSync::NoWait), img + "/cover.jpg",
                  result);
        copyCompanion(programFolder, "ktlogo.gif", img + "/ktlogo.gif", result);
    } else {
        copyCompanion(programFolder, "t-01.gif", img + "/t-01.gif", result);
        copyCompanion(programFolder, "t-02.gif", img + "/t-02.gif", result);
    }
    copyCompanion(programFolder, "kp.css", issue.IssueFolder + "/kp.css", result);
    result.written = result.failedPath.isEmpty();
    return result;
}

IssueIndexResult BuildIssueIndex(bool complete, const IssueIndexInput& issue,
                                 const QString& programFolder, const Sites& sites) {
    return BuildIssueIndex(complete, issue, programFolder, sites, StockCoverBitmap(),
                           QDate::currentDate());
}

bool IssueIndexComplete(const ByteText& index) {
    return !index.contains(IndexIncompleteMark) && !index.contains("\" class=\"error\">");
}

namespace {

void appendLittleEndian(ByteText& bytes, quint32 value, int size) {
    for (int i = 0; i < size; ++i)
        bytes += char((value >> (8 * i)) & 0xFF);
}

} // namespace

ByteText StockCoverBitmap() {
    // A grey page with a dark frame and three bars standing for a title, as
    // an uncompressed 24-bit BMP: the rows bottom up, each pixel blue, green,
    // red, and a row of 96 pixels needs no padding.
    constexpr int width = 96, height = 128, rowBytes = width * 3;
    constexpr quint32 headerBytes = 14 + 40, pixelBytes = rowBytes * height;
    ByteText bmp("BM");
    appendLittleEndian(bmp, headerBytes + pixelBytes, 4);
    appendLittleEndian(bmp, 0, 4);
    appendLittleEndian(bmp, headerBytes, 4);
    appendLittleEndian(bmp, 40, 4); // the information header
    appendLittleEndian(bmp, width, 4);
    appendLittleEndian(bmp, height, 4);
    appendLittleEndian(bmp, 1, 2);  // planes
    appendLittleEndian(bmp, 24, 2); // bits a pixel
    appendLittleEndian(bmp, 0, 4);  // no compression
    appendLittleEndian(bmp, pixelBytes, 4);
    appendLittleEndian(bmp, 2835, 4); // 72 dots an inch, across and down
    appendLittleEndian(bmp, 2835, 4);
    appendLittleEndian(bmp, 0, 4);
    appendLittleEndian(bmp, 0, 4);
    static const char light[3] = {char(0xE0), char(0xE0), char(0xE0)};
    static const char dark[3] = {char(0x60), char(0x40), char(0x40)};
    bmp.reserve(headerBytes + pixelBytes);
    for (int y = height - 1; y >= 0; --y) {
        const bool frameRow = y < 3 || y >= height - 3;
        const bool barRow = (y >= 16 && y < 28) || (y >= 40 && y < 46) || (y >= 52 && y < 58);
        for (int x = 0; x < width; ++x) {
            const bool frame = frameRow || x < 3 || x >= width - 3;
            const bool bar = barRow && x >= 12 && x < width - 12;
            bmp.append(frame || bar ? dark : light, 3);
        }
    }
    return bmp;
}
