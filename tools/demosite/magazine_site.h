#pragma once
// The magazine's two hosts. The archive host: the offline archive page with
// one block per issue, each issue's table of contents, the articles and their
// print forms under "/print/offline", and the pictures under "/upload/". The
// main host: the cover pictures (and its own front page).

#include "tools/demosite/site.h"

class MagazineArchiveSite : public Site {
public:
    using Site::Site;
    Response answer(const Request& request) override;
    ByteText hostKey() const override { return "archive"; }

    // The heading that opens the list of issues on the archive page.
    static ByteText archiveHeading();
    // The phrase that marks an issue offered only as an announcement.
    static ByteText announcementPhrase();

private:
    ByteText archivePage(const HostNames& names) const;
    ByteText contentsPage(const MagazineIssue& issue, const HostNames& names) const;
    ByteText articlePage(const MagazineIssue& issue, const Article& article, bool print) const;
    ByteText articleBody(const MagazineIssue& issue, const Article& article) const;
};

class MagazineMainSite : public Site {
public:
    using Site::Site;
    Response answer(const Request& request) override;
    ByteText hostKey() const override { return "main"; }
};
