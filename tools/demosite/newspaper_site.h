#pragma once
// The newspaper host: the main page with its heading links, the calendar
// archive, each issue's table of contents, every article with its print form,
// and the pictures under "/upimg".

#include "tools/demosite/site.h"

class NewspaperSite : public Site {
public:
    using Site::Site;
    Response answer(const Request& request) override;
    ByteText hostKey() const override { return "newspaper"; }

    // The logo link of every page, which a download replaces by the issue
    // date; it leads to the site's address ("http://host" or "https://host").
    static ByteText logoLink(const ByteText& address);

private:
    ByteText mainPage(const HostNames& names) const;
    ByteText archivePage(const HostNames& names) const;
    ByteText contentsPage(const NewspaperIssue& issue, const HostNames& names) const;
    ByteText articlePage(const NewspaperIssue& issue, const Article& article,
                         const HostNames& names) const;
    ByteText printPage(const NewspaperIssue& issue, const Article& article,
                       const HostNames& names) const;
    ByteText rubricPage(int rubric, const HostNames& names) const;
    ByteText header(const HostNames& names) const;
    ByteText articleBody(const NewspaperIssue& issue, const Article& article) const;
};
