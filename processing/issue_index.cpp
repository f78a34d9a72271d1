#include "processing/issue_index.h"

#include "processing/cut_replace.h"
#include "processing/safe_file_name.h"
#include "settings/whole_file.h"

#include <QBuffer>
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

bool saveBitmap(const QImage& picture, const QString& path) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    return buffer.open(QIODevice::WriteOnly) && picture.save(&buffer, "BMP") &&
           WriteWholeFile(path, bytes, FileSync::NoWait);
}

} // namespace

IssueIndexResult BuildIssueIndex(bool complete, const IssueIndexInput& issue,
                                 const QString& programFolder, const Sites& sites,
                                 const QImage& stockCover, const QDate& buildDate) {
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
    page += IndexEndMark + buildDate.toString("dd.MM.yyyy").toLatin1() + ">";
    if (!complete)
        page += IndexIncompleteMark;

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
            check(saveBitmap(stockCover, img + "/cover.bmp"), img + "/cover.bmp", result);
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
    return BuildIssueIndex(complete, issue, programFolder, sites, StockCoverPicture(),
                           QDate::currentDate());
}

bool IssueIndexComplete(const ByteText& index) {
    return !index.contains(IndexIncompleteMark) && !index.contains("\" class=\"error\">");
}

QImage StockCoverPicture() {
    // A grey page with a dark frame and three bars standing for a title.
    constexpr int width = 96, height = 128;
    QImage cover(width, height, QImage::Format_RGB32);
    cover.fill(QColor(0xE0, 0xE0, 0xE0));
    const QRgb dark = qRgb(0x40, 0x40, 0x60);
    // Row by row: every index is built with this picture at hand, and a
    // checked pixel write each would cost more than the rest of the index.
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(cover.scanLine(y));
        const bool frameRow = y < 3 || y >= height - 3;
        const bool barRow = (y >= 16 && y < 28) || (y >= 40 && y < 46) || (y >= 52 && y < 58);
        for (int x = 0; x < width; ++x) {
            const bool frame = frameRow || x < 3 || x >= width - 3;
            const bool bar = barRow && x >= 12 && x < width - 12;
            if (frame || bar)
                row[x] = dark;
        }
    }
    return cover;
}
