#include "tools/demosite/magazine_site.h"

#include "tools/demosite/page_parts.h"
#include "tools/demosite/russian_text.h"
#include "tools/demosite/service_files.h"

namespace {

enum : uint64_t { MagazineText = 21, MagazineAdvert = 22 };

const ByteText& magazineName() {
    static const ByteText name = W("Зенитра");
    return name;
}

ByteText issueName(const MagazineIssue& issue) {
    return magazineName() + W(" №") + ByteText::number(issue.yearNumber) + " (" +
           ByteText::number(issue.number) + ")";
}

ByteText navigation() {
    ByteText out = "<!--nav-->\r\n<div id=\"nav\"><a href=\"/\"><img src=\"/_img/ktlogo.gif\" "
                   "alt=\"\" border=\"0\"></a> ";
    for (const russian::Rubric& rubric : russian::magazineRubrics())
        out += "<a href=\"/rubric/" + rubric.slug + "/\">" + rubric.name + "</a> | ";
    out += "<a href=\"/subscribe/\">" + W("Подписка") + "</a></div>\r\n<!--/nav-->\r\n";
    return out;
}

} // namespace

ByteText MagazineArchiveSite::archiveHeading() {
    return "<h3>" + W("Архив \"Зенитры\"") + "</h3>";
}

ByteText MagazineArchiveSite::announcementPhrase() {
    return W("пока доступен только в виде редакционного анонса");
}

Response MagazineArchiveSite::answer(const Request& request) {
    const HostNames names = context_.namesFor(request);
    ByteText path = request.path;
    while (path.contains("//"))
        path.replace("//", "/");
    if (path == "/")
        return Response::html(archivePage(names));
    if (path.startsWith("/upload/"))
        return pictureResponse(path);
    if (std::optional<Response> service = serviceFile(path))
        return *service;
    const bool print = path.startsWith("/print/offline/");
    if (print)
        path = path.mid(14);
    // "/YYYY/N/" is an issue; "/YYYY/N/rubric/ID/" one of its articles.
    QList<ByteText> parts = path.mid(1).split('/');
    if (!parts.isEmpty() && parts.last().isEmpty())
        parts.removeLast();
    if (parts.size() < 2)
        return Response::notFound();
    const MagazineIssue* issue =
        context_.model.magazineIssue("/" + parts[0] + "/" + parts[1] + "/");
    if (!issue)
        return Response::notFound();
    if (parts.size() == 2)
        return print ? Response::notFound() : Response::html(contentsPage(*issue, names));
    if (parts.size() != 4)
        return Response::notFound();
    for (const Article& article : issue->articles)
        if (article.path == parts[2] + "/" + parts[3] + "/")
            return Response::html(articlePage(*issue, article, print));
    return Response::notFound();
}

ByteText MagazineArchiveSite::archivePage(const HostNames& names) const {
    Rng rng(context_.model.config().seed, {MagazineAdvert, 1});
    ByteText out =
        page::head(magazineName() + ": " + W("архив номеров в офлайне"), "/_css/style.css");
    out += navigation();
    out += page::advert(rng);
    out += "<div id=\"archive\">\r\n" + archiveHeading() + "\r\n";
    for (const MagazineIssue& issue : context_.model.magazineIssues()) {
        // One link per issue: the cover and the name with the number in
        // parentheses.
        out += "<div class=\"issue\"><a href=\"" + issue.path + "\"><img src=\"" +
               names.address(names.main) + issue.coverPath +
               "\" width=\"100\" height=\"140\" alt=\"\" border=\"0\"><br>\r\n" + issueName(issue) +
               "</a><br>\r\n";
        out += W("Дата выхода:") + "&nbsp;" + russian::printedDate(issue.date) + W(" года") +
               "<br>\r\n";
        out += "<span class=\"theme\">" + W("Тема номера: ") + issue.articles.first().title +
               "</span></div>\r\n";
    }
    out += "</div>\r\n" + page::counter("zenitra") + page::tail(W("© Зенитра, еженедельник"));
    return out;
}

ByteText MagazineArchiveSite::contentsPage(const MagazineIssue& issue,
                                           const HostNames& names) const {
    Rng rng(context_.model.config().seed, {MagazineAdvert, 2, uint64_t(issue.number)});
    ByteText out = page::head(issueName(issue), "/_css/style.css");
    out += navigation();
    out += page::advert(rng);
    out += "<h1>" + issueName(issue) + W(" от ") + russian::printedDate(issue.date) + W(" года") +
           "</h1>\r\n";
    out += "<div class=\"cover\"><img src=\"" + names.address(names.main) + issue.coverPath +
           "\" alt=\"\"></div>\r\n";
    if (issue.announced)
        out += "<p class=\"announce\">" + W("Этот номер ") + announcementPhrase() +
               W(". Полные тексты материалов появятся на сайте на следующей неделе.") + "</p>\r\n";
    // Past the first rubric heading ("Тема номера") the issue's path occurs
    // only in article links.
    int rubric = -1;
    for (const Article& article : issue.articles) {
        if (article.rubric != rubric) {
            if (rubric >= 0)
                out += "</div>\r\n";
            rubric = article.rubric;
            out += "<div class=\"rubric\"><h2>" + russian::magazineRubrics()[rubric].name +
                   "</h2>\r\n";
        }
        Rng authorRng(context_.model.config().seed, {MagazineText, uint64_t(article.id), 1});
        out += "<p><a href=\"" + issue.path + article.path + "\">" + article.title + "</a> " +
               article.annotation + "<br>\r\n<span class=\"author\">" +
               russian::personName(authorRng) + "</span></p>\r\n";
    }
    out += "</div>\r\n" + page::counter("zenitra") + page::tail(W("© Зенитра"));
    return out;
}

ByteText MagazineArchiveSite::articleBody(const MagazineIssue& issue,
                                          const Article& article) const {
    Rng rng(context_.model.config().seed,
            {MagazineText, uint64_t(issue.number), uint64_t(article.id)});
    ByteText out = "<div class=\"rubric\">" + russian::magazineRubrics()[article.rubric].name +
                   "</div>\r\n<h1>" + article.title + "</h1>\r\n";
    out += "<p class=\"annotation\"><i>" + article.annotation + "</i></p>\r\n";
    out +=
        "<div class=\"author\">" + russian::personName(rng) + "</div>\r\n<div class=\"text\">\r\n";
    const int paragraphs = rng.between(5, 10);
    const int images = int(article.images.size());
    for (int p = 0; p < paragraphs; ++p) {
        out += "<p>" + russian::paragraph(rng, rng.between(3, 7)) + "</p>\r\n";
        for (int k = p * images / paragraphs; k < (p + 1) * images / paragraphs; ++k)
            out += "<p class=\"pic\"><img src=\"" + article.images[k] + "\" alt=\"\"><br>" +
                   russian::caption(rng) + "</p>\r\n";
    }
    const ByteText sample =
        russian::searchSample(true, PositionIn(context_.model.magazineIssues(), issue),
                              PositionIn(issue.articles, article));
    if (!sample.isEmpty())
        out += "<p>" + sample + "</p>\r\n";
    out += "</div>\r\n";
    return out;
}

ByteText MagazineArchiveSite::articlePage(const MagazineIssue& issue, const Article& article,
                                          bool print) const {
    Rng rng(context_.model.config().seed,
            {MagazineAdvert, 3, uint64_t(article.id), uint64_t(print)});
    ByteText out = page::head(magazineName() + ": " + article.title,
                              print ? "/_css/print.css" : "/_css/style.css");
    if (print)
        out += "<div class=\"print-head\"><!--tools--><a href=\"javascript:window.print()\">" +
               W("Распечатать") + "</a><!--/tools--> " + issueName(issue) + "</div>\r\n";
    else
        out += navigation();
    out += page::advert(rng);
    out += articleBody(issue, article);
    if (print)
        out += "<!--pager-->\r\n";
    else
        out += "<p class=\"print\"><a href=\"/print/offline" + issue.path + article.path + "\">" +
               W("Версия для печати") + "</a></p>\r\n";
    out += page::counter("zenitra") + page::tail(W("© Зенитра"));
    return out;
}

Response MagazineMainSite::answer(const Request& request) {
    const ByteText& path = request.path;
    if (path.startsWith("/upload/"))
        return pictureResponse(path);
    if (std::optional<Response> service = serviceFile(path))
        return *service;
    if (path != "/")
        return Response::notFound();
    const HostNames names = context_.namesFor(request);
    const MagazineIssue& newest = context_.model.magazineIssues().first();
    ByteText out =
        page::head(magazineName() + ": " + W("компьютерный еженедельник"), "/_css/style.css");
    out += navigation();
    out += "<h1>" + issueName(newest) + "</h1>\r\n<p><img src=\"" + newest.coverPath +
           "\" alt=\"\"></p>\r\n<p><a href=\"" + names.address(names.archive) + "/\">" +
           W("Архив номеров в офлайне") + "</a></p>\r\n";
    out += page::counter("zenitra") + page::tail(W("© Зенитра"));
    return Response::html(out);
}
