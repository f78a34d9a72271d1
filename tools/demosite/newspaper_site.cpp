#include "tools/demosite/newspaper_site.h"

#include "tools/demosite/page_parts.h"
#include "tools/demosite/russian_text.h"
#include "tools/demosite/service_files.h"

namespace {

enum : uint64_t { NewspaperText = 11, NewspaperMain = 12, NewspaperAdvert = 13 };

ByteText headingLink(const ByteText& path, const ByteText& title) {
    return "<h3><a href=\"" + path + "\">" + title + "</a></h3>\r\n";
}

ByteText collapseSlashes(ByteText path) {
    while (path.contains("//"))
        path.replace("//", "/");
    return path;
}

const ByteText& newspaperName() {
    static const ByteText name = W("Ведомир");
    return name;
}

} // namespace

ByteText NewspaperSite::logoLink(const ByteText& address) {
    return "<a href=\"" + address + "\"><img src=\"/_img/logo.gif\" alt=\"" + W("ЉЏ") +
           "\" style=\"border:none;\" /></a>";
}

ByteText NewspaperSite::header(const HostNames& names) const {
    ByteText out =
        "<!--nav-->\r\n<div id=\"header\">\r\n" + logoLink(names.address(names.newspaper)) + "\r\n";
    out += "<div id=\"menu\">";
    for (const russian::Rubric& rubric : russian::newspaperRubrics())
        out += "<a href=\"/rubric/" + rubric.slug + "/\">" + rubric.name + "</a> | ";
    out += "<a href=\"/daily/archive/\">" + W("Архив") + "</a></div>\r\n</div>\r\n<!--/nav-->\r\n";
    return out;
}

Response NewspaperSite::answer(const Request& request) {
    const HostNames names = context_.namesFor(request);
    const ByteText path = collapseSlashes(request.path);
    if (path == "/")
        return Response::html(mainPage(names));
    if (path == "/daily/archive/" || path == "/daily/archive")
        return Response::html(archivePage(names));
    if (path.startsWith("/upimg/"))
        return pictureResponse(path);
    if (std::optional<Response> service = serviceFile(path))
        return *service;
    if (path.startsWith("/rubric/")) {
        const ByteText slug = path.mid(8).split('/').value(0);
        const auto& rubrics = russian::newspaperRubrics();
        for (int i = 0; i < rubrics.size(); ++i)
            if (rubrics[i].slug == slug)
                return Response::html(rubricPage(i, names));
        return Response::notFound();
    }
    if (!path.startsWith("/daily/"))
        return Response::notFound();
    // "/daily/N", "/daily/N/ID", "/daily/N/ID/print", each with or without "/".
    QList<ByteText> parts = path.mid(7).split('/');
    if (!parts.isEmpty() && parts.last().isEmpty())
        parts.removeLast();
    bool ok = false;
    const NewspaperIssue* issue = context_.model.newspaperIssue(parts.value(0).toInt(&ok));
    if (!ok || !issue || parts.size() > 3)
        return Response::notFound();
    if (parts.size() == 1)
        return Response::html(contentsPage(*issue, names));
    const Article* article = nullptr;
    for (const Article& a : issue->articles)
        if (ByteText::number(a.id) == parts[1])
            article = &a;
    if (!article)
        return Response::notFound();
    if (parts.size() == 2)
        return Response::html(articlePage(*issue, *article, names));
    if (parts[2] == "print")
        return Response::html(printPage(*issue, *article, names));
    return Response::notFound();
}

ByteText NewspaperSite::mainPage(const HostNames& names) const {
    const QList<NewspaperIssue>& issues = context_.model.newspaperIssues();
    const NewspaperIssue& newest = issues.first();
    const QList<Article>& articles = newest.articles;
    Rng rng(context_.model.config().seed, {NewspaperMain});
    auto newestLink = [&](int k) {
        const Article& a = articles[k % articles.size()];
        return headingLink(a.path, a.title) + "<p class=\"lead\">" + a.annotation + "</p>\r\n";
    };
    // The first three heading links do not agree on one issue (a story of
    // yesterday stands between two of today); the next three do, and name
    // the newest issue.
    ByteText out = page::head(newspaperName() + ": " + W("новости дня"), "/_css/style.css");
    out += header(names);
    out += page::advert(rng);
    out += "<div id=\"top\">\r\n" + newestLink(0);
    if (issues.size() > 1) {
        const Article& a = issues[1].articles.first();
        out += headingLink(a.path, a.title);
    } else {
        out += headingLink("/rubric/city/", russian::newspaperRubrics()[3].name);
    }
    out += newestLink(1) + "</div>\r\n";
    out += "<div id=\"today\">\r\n<h2>" + W("Сегодня в номере") + "</h2>\r\n";
    for (int k = 2; k < 8; ++k)
        out += newestLink(k);
    out += "</div>\r\n";
    out += page::advert(rng);
    out += "<div id=\"before\">\r\n<h2>" + W("В прошлых номерах") + "</h2>\r\n";
    for (int i = 1; i < qMin<qsizetype>(issues.size(), 4); ++i)
        for (int k = 1; k < 3 && k < issues[i].articles.size(); ++k)
            out += headingLink(issues[i].articles[k].path, issues[i].articles[k].title);
    out += "</div>\r\n";
    out += page::counter("vedomir");
    out += page::tail(W("© Ведомир, ежедневная газета"));
    return out;
}

ByteText NewspaperSite::archivePage(const HostNames& names) const {
    const QList<NewspaperIssue>& issues = context_.model.newspaperIssues();
    Rng rng(context_.model.config().seed, {NewspaperAdvert, 1});
    const int year = issues.first().date.year();
    ByteText out = page::head(newspaperName() + ": " + W("архив номеров"), "/_css/style.css");
    out += header(names);
    out += page::advert(rng);
    out += "<h1>" + W("Архив номеров") + "</h1>\r\n";
    out += "<ul id=\"calendar-list\">\r\n<li class=\"act first\">" + ByteText::number(year) +
           "</li>\r\n";
    for (int y = year - 1; y >= year - 3; --y)
        out += "<li><a href=\"/daily/archive/" + ByteText::number(y) + "/\">" +
               ByteText::number(y) + "</a></li>\r\n";
    out += "</ul>\r\n<div class=\"calendar\">\r\n";
    static const char* const weekDays[] = {"Пн", "Вт", "Ср", "Чт", "Пт", "Сб", "Вс"};
    // One calendar per month that has issues, in calendar order.
    int month = 0;
    for (auto it = issues.rbegin(); it != issues.rend(); ++it) {
        const NewspaperIssue& issue = *it;
        if (issue.date.month() == month)
            continue;
        month = issue.date.month();
        const QDate first(issue.date.year(), month, 1);
        out += "<h3>" + russian::monthNominative(month) + "</h3>\r\n";
        out += "<table class=\"month\">\r\n<tr>";
        for (const char* day : weekDays)
            out += "<th>" + W(day) + "</th>";
        out += "</tr>\r\n<tr>";
        for (int blank = 1; blank < first.dayOfWeek(); ++blank)
            out += "<td>&nbsp;</td>";
        for (QDate day = first; day.month() == month; day = day.addDays(1)) {
            const NewspaperIssue* dated = nullptr;
            for (const NewspaperIssue& candidate : issues)
                if (candidate.date == day)
                    dated = &candidate;
            const ByteText number = ByteText::number(day.day());
            out += dated ? "<td><a href=\"/daily/" + ByteText::number(dated->number) + "/\">" +
                               number + "</a></td>"
                         : "<td>" + number + "</td>";
            if (day.dayOfWeek() == 7)
                out += "</tr>\r\n<tr>";
        }
        out += "</tr>\r\n</table>\r\n";
    }
    out += "</div>\r\n<p class=\"years\"><strong>" + W("Архив:") + "</strong> ";
    for (int y = year - 1; y >= year - 3; --y)
        out += "<a href=\"/daily/archive/" + ByteText::number(y) + "/\">" + ByteText::number(y) +
               "</a> ";
    out += "</p>\r\n" + page::counter("vedomir") + page::tail(W("© Ведомир"));
    return out;
}

ByteText NewspaperSite::contentsPage(const NewspaperIssue& issue, const HostNames& names) const {
    Rng rng(context_.model.config().seed, {NewspaperAdvert, 2, uint64_t(issue.number)});
    ByteText out = page::head(newspaperName() + W(" №") + ByteText::number(issue.number) +
                                  W(" от ") + russian::printedDate(issue.date),
                              "/_css/style.css");
    out += header(names);
    out += page::advert(rng);
    out += "<div id=\"date\"> <em>" + russian::printedDate(issue.date) + "</em></div>\r\n";
    out += "<h1>" + W("Номер ") + ByteText::number(issue.number) + "</h1>\r\n";
    int rubric = -1;
    for (const Article& article : issue.articles) {
        if (article.rubric != rubric) {
            rubric = article.rubric;
            out += "<h2 class=\"rubric\">" + russian::newspaperRubrics()[rubric].name + "</h2>\r\n";
        }
        out += headingLink(article.path, article.title);
        out += "<p class=\"lead\">" + article.annotation + "</p>\r\n";
    }
    out += page::advert(rng);
    out += "<div id=\"side\">\r\n";
    for (const russian::Rubric& r : russian::newspaperRubrics())
        out += headingLink("/rubric/" + r.slug + "/", r.name);
    out += "</div>\r\n" + page::counter("vedomir") + page::tail(W("© Ведомир"));
    return out;
}

ByteText NewspaperSite::articleBody(const NewspaperIssue& issue, const Article& article) const {
    Rng rng(context_.model.config().seed,
            {NewspaperText, uint64_t(issue.number), uint64_t(article.id)});
    ByteText out =
        "<div class=\"rubric\">" + russian::newspaperRubrics()[article.rubric].name + "</div>\r\n";
    out += "<h1>" + article.title + "</h1>\r\n";
    out += "<div class=\"author\">" + russian::personName(rng) + "</div>\r\n";
    out += "<div class=\"text\">\r\n<p><b>" + article.annotation + "</b></p>\r\n";
    const int paragraphs = rng.between(4, 9);
    for (int p = 0; p < paragraphs; ++p) {
        out += "<p>" + russian::paragraph(rng, rng.between(2, 6)) + "</p>\r\n";
        // Every picture once, spread evenly between the paragraphs.
        const int images = int(article.images.size());
        for (int k = p * images / paragraphs; k < (p + 1) * images / paragraphs; ++k)
            out += "<div class=\"photo\"><img src=\"" + article.images[k] +
                   "\" alt=\"\"><br><span class=\"caption\">" + russian::caption(rng) +
                   "</span></div>\r\n";
    }
    const ByteText sample =
        russian::searchSample(false, PositionIn(context_.model.newspaperIssues(), issue),
                              PositionIn(issue.articles, article));
    if (!sample.isEmpty())
        out += "<p>" + sample + "</p>\r\n";
    out += "</div>\r\n";
    return out;
}

ByteText NewspaperSite::articlePage(const NewspaperIssue& issue, const Article& article,
                                    const HostNames& names) const {
    Rng rng(context_.model.config().seed, {NewspaperAdvert, 3, uint64_t(article.id)});
    ByteText out = page::head(newspaperName() + ": " + article.title, "/_css/style.css");
    out += header(names);
    out += page::advert(rng);
    out += articleBody(issue, article);
    out += "<p class=\"print\"><a href=\"" + article.path + "/print/\">" + W("Версия для печати") +
           "</a></p>\r\n";
    out += page::counter("vedomir") + page::tail(W("© Ведомир"));
    return out;
}

ByteText NewspaperSite::printPage(const NewspaperIssue& issue, const Article& article,
                                  const HostNames& names) const {
    Rng rng(context_.model.config().seed, {NewspaperAdvert, 4, uint64_t(article.id)});
    ByteText out = page::head(newspaperName() + ": " + article.title, "/_css/print.css");
    out += "<table class=\"print-head\" width=\"100%\" cellpadding=\"0\" cellspacing=\"0\">"
           "<tr>\r\n<td class=\"logo\">" +
           logoLink(names.address(names.newspaper)) + "</td>\r\n";
    out +=
        "<td class=\"tools\" align=\"right\"><!--tools--><a href=\"javascript:window.print()\">" +
        W("Распечатать") + "</a> | <a href=\"" + article.path + "\">" + W("Вернуться к статье") +
        "</a><!--/tools--></td>\r\n</tr></table>\r\n";
    out += page::advert(rng);
    out += articleBody(issue, article);
    out += "<!--pager-->\r\n";
    out += "<div class=\"source\">" + W("Номер ") + ByteText::number(issue.number) + W(" от ") +
           russian::printedDate(issue.date) + "</div>\r\n";
    out += page::counter("vedomir") + page::tail(W("© Ведомир"));
    return out;
}

ByteText NewspaperSite::rubricPage(int rubric, const HostNames& names) const {
    const NewspaperIssue& newest = context_.model.newspaperIssues().first();
    ByteText out = page::head(newspaperName() + ": " + russian::newspaperRubrics()[rubric].name,
                              "/_css/style.css");
    out += header(names);
    out += "<h1>" + russian::newspaperRubrics()[rubric].name + "</h1>\r\n";
    for (const Article& article : newest.articles)
        if (article.rubric == rubric)
            out += headingLink(article.path, article.title);
    out += page::counter("vedomir") + page::tail(W("© Ведомир"));
    return out;
}
