// The demo site's content: the same seed gives the same bytes, another seed
// other bytes, and the size switches give the issue asked for.
#include "tests/demosite/fetch.h"
#include "tests/demosite/page_scan.h"
#include "tests/support/demo_site.h"

#include <QElapsedTimer>
#include <QImage>
#include <gtest/gtest.h>

namespace {

// Pages name the hosts by their ports, which differ between runs.
ByteText normalised(const DemoSite& site, ByteText bytes) {
    bytes.replace(site.newspaper(), "NEWSPAPER");
    bytes.replace(site.magazineArchive(), "ARCHIVE");
    bytes.replace(site.magazineMain(), "MAIN");
    bytes.replace(site.update(), "UPDATE");
    return bytes;
}

// A walk over every kind of answer: pages of both publications, pictures of
// every format, covers and the update description.
QList<ByteText> sample(const DemoSite& site) {
    QList<ByteText> answers;
    auto take = [&](const ByteText& host, const ByteText& path) {
        const ByteText response = rawExchange(host, programRequest(host, path)).bytes;
        answers.append(normalised(site, response));
        return bodyOf(response);
    };
    const ByteText main = take(site.newspaper(), "/");
    take(site.newspaper(), "/daily/archive/");
    const ByteText number = newestIssue(headingLinks(main));
    const ByteText contents = take(site.newspaper(), "/daily/" + number);
    for (const HeadingLink& link : headingLinks(contents).mid(0, 8)) {
        const ByteText page = take(site.newspaper(), link.path + "/print/");
        for (const ByteText& image : sources(page, "/upimg"))
            take(site.newspaper(), image);
    }
    const ByteText archive = take(site.magazineArchive(), "/");
    const QList<MagazineBlock> blocks =
        magazineBlocks(archive.mid(archive.indexOf("<h3>")), site.magazineMain());
    for (const MagazineBlock& block : blocks)
        take(site.magazineMain(), block.cover);
    if (!blocks.isEmpty()) {
        const ByteText issue = take(site.magazineArchive(), blocks[0].path);
        for (const MagazineArticle& article : magazineArticles(issue, blocks[0].path).mid(0, 4)) {
            const ByteText page =
                take(site.magazineArchive(), "/print/offline" + blocks[0].path + article.path);
            for (const ByteText& image : sources(page, "/upload/"))
                take(site.magazineArchive(), image);
        }
    }
    take(site.update(), "/version.info");
    return answers;
}

TEST(DemoSiteContent, SameSeedSameBytesOtherSeedOtherBytes) {
    DemoSite first({"--seed", "42"});
    DemoSite second({"--seed", "42"});
    DemoSite other({"--seed", "43"});
    ASSERT_TRUE(first.isRunning() && second.isRunning() && other.isRunning());
    const QList<ByteText> a = sample(first);
    const QList<ByteText> b = sample(second);
    const QList<ByteText> c = sample(other);
    ASSERT_GT(a.size(), 40);
    ASSERT_EQ(a.size(), b.size());
    for (qsizetype i = 0; i < a.size(); ++i) {
        EXPECT_TRUE(a[i].startsWith("HTTP/1.0 200 OK\r\n")) << i;
        EXPECT_EQ(a[i], b[i]) << "answer " << i << " differs between runs";
    }
    // Another seed: other issues, other prose, other pictures.
    EXPECT_NE(a[0], c[0]);
    int differing = 0;
    for (qsizetype i = 0; i < qMin(a.size(), c.size()); ++i)
        differing += a[i] != c[i];
    EXPECT_GT(differing, int(a.size()) * 9 / 10);
}

TEST(DemoSiteContent, SizeSwitchesShapeTheIssues) {
    DemoSite site({"--issues", "8", "--pages", "30", "--images", "3", "--image-size", "20000",
                   "--announced", "0", "--short-issue", "1"});
    ASSERT_TRUE(site.isRunning()) << site.error().toStdString();
    EXPECT_EQ(newspaperArchive(getBody(site.newspaper(), "/daily/archive/")).size(), 8);
    const ByteText number = newestIssue(headingLinks(getBody(site.newspaper(), "/")));
    const ByteText contents = getBody(site.newspaper(), "/daily/" + number);
    int pages = 0;
    qint64 bytes = 0;
    int images = 0;
    for (const HeadingLink& link : headingLinks(contents)) {
        if (!link.path.startsWith("/daily/" + number))
            continue;
        ++pages;
        if (pages > 5)
            continue;
        const QList<ByteText> found =
            sources(getBody(site.newspaper(), link.path + "/print/"), "/upimg");
        EXPECT_EQ(found.size(), 3);
        for (const ByteText& image : found) {
            bytes += getBody(site.newspaper(), image).size();
            ++images;
        }
    }
    EXPECT_EQ(pages, 30);
    ASSERT_EQ(images, 15);
    EXPECT_NEAR(double(bytes) / images, 20000.0, 5000.0);

    const ByteText archive = getBody(site.magazineArchive(), "/");
    const QList<MagazineBlock> blocks =
        magazineBlocks(archive.mid(archive.indexOf("<h3>")), site.magazineMain());
    ASSERT_EQ(blocks.size(), 8);
    EXPECT_EQ(
        magazineArticles(getBody(site.magazineArchive(), blocks[0].path), blocks[0].path).size(),
        3);
    for (const MagazineBlock& block : blocks)
        EXPECT_FALSE(getBody(site.magazineArchive(), block.path)
                         .contains(W("пока доступен только в виде редакционного анонса")));
}

TEST(DemoSiteContent, LargeIssueOf60PagesAnd600PicturesIsServedQuickly) {
    DemoSite site({"--pages", "60", "--images", "10"});
    ASSERT_TRUE(site.isRunning()) << site.error().toStdString();
    QElapsedTimer clock;
    clock.start();
    const ByteText number = newestIssue(headingLinks(getBody(site.newspaper(), "/")));
    QList<ByteText> pictures;
    for (const HeadingLink& link : headingLinks(getBody(site.newspaper(), "/daily/" + number)))
        if (link.path.startsWith("/daily/" + number))
            pictures += sources(getBody(site.newspaper(), link.path + "/print/"), "/upimg");
    ASSERT_EQ(pictures.size(), 600);
    QSet<ByteText> names;
    for (const ByteText& path : pictures) {
        const ByteText body = getBody(site.newspaper(), path);
        ASSERT_FALSE(body.isEmpty()) << path.constData();
        names.insert(path.mid(path.lastIndexOf('/') + 1));
    }
    EXPECT_EQ(names.size(), 600) << "picture file names must not collide within an issue";
    EXPECT_LT(clock.elapsed(), 30000);
    std::printf("60 pages and 600 pictures served in %lld ms\n", clock.elapsed());
}

} // namespace
