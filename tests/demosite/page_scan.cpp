#include "tests/demosite/page_scan.h"

namespace {

ByteText plain(ByteText text) {
    text.replace("&quot;", "\"");
    text.replace("&nbsp;", " ");
    for (const char* gone : {"<", ">", "/", "h1", "h2", "h3"})
        text.replace(gone, "");
    text.replace('\t', ' ').replace('\r', ' ').replace('\n', ' ');
    return text.trimmed();
}

} // namespace

QList<HeadingLink> headingLinks(const ByteText& page) {
    QList<HeadingLink> links;
    for (qsizetype i = page.indexOf("<h3><a href="); i >= 0 && links.size() < 100;
         i = page.indexOf("<h3><a href=", i + 1)) {
        qsizetype c = i + 13;
        while (c + 2 < page.size() && page[c + 2] != '>')
            ++c;
        HeadingLink link;
        link.path = page.mid(i + 13, c - (i + 13) + 1);
        const qsizetype end = page.indexOf('<', c + 3);
        link.title = page.mid(c + 3, end - (c + 3));
        links.append(link);
    }
    return links;
}

ByteText issueNumberFromLink(const ByteText& link) {
    const qsizetype at = link.indexOf("daily/");
    if (at < 0)
        return {};
    const ByteText rest = link.mid(at + 6);
    const qsizetype slash = rest.indexOf('/');
    return slash < 0 ? rest : rest.left(slash);
}

ByteText newestIssue(const QList<HeadingLink>& links) {
    for (qsizetype start = 0; start + 1 <= links.size() - 3; start += 3) {
        const ByteText a = issueNumberFromLink(links[start].path);
        if (!a.isEmpty() && a == issueNumberFromLink(links[start + 1].path) &&
            a == issueNumberFromLink(links[start + 2].path))
            return a;
    }
    return {};
}

QList<ByteText> sources(const ByteText& page, const ByteText& prefix) {
    QList<ByteText> found;
    const ByteText pattern = "src=\"" + prefix;
    for (qsizetype i = page.indexOf(pattern); i >= 0; i = page.indexOf(pattern, i + 1))
        found.append(page.mid(i + 5, page.indexOf('"', i + 5) - (i + 5)));
    return found;
}

QList<ArchiveEntry> newspaperArchive(ByteText page) {
    static const QList<ByteText> months = {W("январь"),   W("февраль"), W("март"),   W("апрель"),
                                           W("май"),      W("июнь"),    W("июль"),   W("август"),
                                           W("сентябрь"), W("октябрь"), W("ноябрь"), W("декабрь")};
    QList<ArchiveEntry> entries;
    const qsizetype list = page.indexOf("<ul id=\"calendar-list");
    if (list >= 0)
        page = page.mid(list);
    ByteText year;
    const qsizetype act = page.indexOf("act first");
    if (act >= 0) {
        const ByteText run = page.mid(act, 20);
        const qsizetype twenty = run.indexOf("20");
        year = twenty < 0 ? run : run.mid(twenty, 4);
    }
    const qsizetype end = page.indexOf(W("<strong>Архив:</strong>"));
    page = end < 0 ? ByteText() : page.left(end + 1);
    for (qsizetype i = 0; i + 16 < page.size(); ++i) {
        if (page.mid(i, 16) != "<a href=\"/daily/" || page[i + 16] < '0' || page[i + 16] > '9')
            continue;
        ArchiveEntry entry;
        const qsizetype slash = page.indexOf('/', i + 16);
        entry.number = page.mid(i + 16, slash - (i + 16));
        const qsizetype textEnd = page.indexOf('<', slash + 3);
        const ByteText day = page.mid(slash + 3, textEnd - (slash + 3));
        const qsizetype heading = page.left(textEnd).lastIndexOf("<h3>");
        ByteText month = page.mid(heading + 4, page.indexOf("</h3>", heading) - (heading + 4));
        const ByteText lower = cp1251::fromUnicode(cp1251::toUnicode(month).toLower());
        const qsizetype index = months.indexOf(lower);
        if (index >= 0)
            month = ByteText::number(index + 1).rightJustified(2, '0');
        entry.date = day + "." + month + "." + year;
        entries.append(entry);
    }
    return entries;
}

ByteText newspaperDate(const ByteText& page) {
    const qsizetype at = page.indexOf("<div id=\"date");
    if (at < 0)
        return "not found";
    return page.mid(at + 20, page.indexOf('<', at + 20) - (at + 20));
}

QList<MagazineBlock> magazineBlocks(const ByteText& page, const ByteText& mainHost) {
    QList<MagazineBlock> blocks;
    const ByteText coverPrefix = "<img src=\"http://" + mainHost + "/upload/";
    for (qsizetype i = page.indexOf("<a href=\"/200"); i >= 0;
         i = page.indexOf("<a href=\"/200", i + 1)) {
        qsizetype c = i + 9;
        while (c + 2 < page.size() && page[c + 2] != '>')
            ++c;
        MagazineBlock block;
        block.path = page.mid(i + 9, c - (i + 9) + 1);
        const qsizetype first = page.indexOf(block.path);
        ByteText text = page.mid(first + 1, page.indexOf("</div>", first) - (first + 1));
        text.replace("&nbsp;", " ");
        const qsizetype cover = text.indexOf(coverPrefix);
        const qsizetype number = text.indexOf(")</a>");
        const qsizetype date = text.indexOf(W("Дата выхода:"));
        if (cover < 0 || number < 0 || date < 0)
            return {};
        const qsizetype coverStart = cover + coverPrefix.size() - 8;
        block.cover = text.mid(coverStart, text.indexOf('"', coverStart) - coverStart);
        const qsizetype open = text.lastIndexOf('(', number);
        block.number = text.mid(open + 1, number - open - 1);
        const qsizetype dateStart = date + 13;
        block.date = text.mid(dateStart, text.indexOf(W(" года<br>"), dateStart) - dateStart);
        blocks.append(block);
    }
    return blocks;
}

QList<MagazineArticle> magazineArticles(const ByteText& page, const ByteText& issuePath) {
    QList<MagazineArticle> articles;
    const qsizetype theme = page.indexOf(W("Тема номера"));
    if (theme < 0)
        return articles;
    for (qsizetype p = theme; p < page.size(); ++p) {
        if (page.mid(p, issuePath.size()) != issuePath)
            continue;
        MagazineArticle article;
        qsizetype at = p + issuePath.size();
        const qsizetype quote = page.indexOf('"', at + 1);
        article.path = page.mid(at, quote - at);
        const qsizetype close = page.indexOf("</a>", quote + 1);
        article.title = plain(page.mid(quote + 1, close - quote));
        const qsizetype br = page.indexOf("<br>", close + 5);
        article.annotation = plain(page.mid(close + 4, br - (close + 4)));
        articles.append(article);
        p = br - 1;
    }
    return articles;
}
