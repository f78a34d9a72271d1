// The archive's rules without windows: the information an index and its
// folder give, and the preview text.
#include "archive/issue_info.h"
#include "archive/issue_list.h"
#include "archive/preview_text.h"
#include "tests/support/temp_program_folder.h"

#include <gtest/gtest.h>

namespace {

const ByteText Heading = W("<div class=\"date\">12 января 2005 (23456)</div>");

TEST(IssueInformation, TheHeadingGivesNumberAndNumericDateAndTheEndMarkTheBuildDay) {
    const IssueInfo info =
        ReadIssueInfo("<html>" + Heading + "</html>\r\n<!!!-!!!07.12.2026>\r\n", 24, 50);
    EXPECT_EQ(info.Number, "23456");
    EXPECT_EQ(info.Date, "12.01.2005");
    EXPECT_EQ(info.Built, "07.12.2026");
    EXPECT_EQ(info.Pages, "24");
    EXPECT_EQ(info.Pictures, QString::fromUtf8("да"));
}

TEST(IssueInformation, TwoPicturesAreTheIndexsOwnSoNoPagePictureWasSaved) {
    EXPECT_EQ(ReadIssueInfo(Heading, 3, 2).Pictures, QString::fromUtf8("нет"));
    EXPECT_EQ(ReadIssueInfo(Heading, 3, 3).Pictures, QString::fromUtf8("да"));
    EXPECT_EQ(ReadIssueInfo(Heading, 3, 1).Pictures, "---");
    EXPECT_EQ(ReadIssueInfo(Heading, 0, 0).Pages, "---");
}

TEST(IssueInformation, ADamagedOrHeadlessIndexLeavesDashesAndNoText) {
    // Cut off inside the heading: no "(" and no end mark.
    const IssueInfo cut = ReadIssueInfo(W("<div class=\"date\">12 января 20"), 5, 4);
    EXPECT_EQ(cut.Number, "---");
    EXPECT_EQ(cut.Date, "---");
    EXPECT_EQ(cut.Built, "---");
    EXPECT_EQ(cut.Pages, "5");
    // Text elsewhere on the page is no heading, even with a "(" in it.
    const IssueInfo headless = ReadIssueInfo(W("<p>Номер (12) за 2005 год</p>"), 1, 2);
    EXPECT_EQ(headless.Number, "---");
    EXPECT_EQ(headless.Date, "---");
    // A heading that opens with "(" has a number but no date.
    const IssueInfo noDate = ReadIssueInfo("<div class=\"date\">(777)</div>", 1, 2);
    EXPECT_EQ(noDate.Number, "777");
    EXPECT_EQ(noDate.Date, "---");
}

TEST(PreviewText, SiteWideTablesFillThePreviewTheFirstWhiteTurnsGreyAndTheFooterGoes) {
    const ByteText index =
        "<body bgcolor=\"#ffffff\"><table width=\"600\"><tr><td>a</td></tr></table>"
        "<table width=\"600\" border=0></table><table width=\"600\"></table>"
        "<table width=\"60\"></table><td bgcolor=\"#ffffff\">"
        "<p>&copy; Site, licence N019051</p><p>after</p>";
    const ByteText preview = PreviewText(index);
    EXPECT_EQ(preview.count("table width=\"100%\""), 3);
    EXPECT_FALSE(preview.contains("width=\"600\""));
    EXPECT_TRUE(preview.contains("table width=\"60\""));
    EXPECT_TRUE(preview.startsWith("<body bgcolor=\"#CCCCCC\">"));
    EXPECT_TRUE(preview.contains("<td bgcolor=\"#ffffff\">"));
    EXPECT_TRUE(preview.contains("<p></p><p>after</p>"));
}

TEST(PreviewText, AFooterInTheWrongOrderIsLeftAloneInsteadOfRepeatingText) {
    const ByteText index = "N019051 middle &copy; end";
    EXPECT_EQ(PreviewText(index), index);
}

TEST(IssueList, PicturesAreCountedInImgOrElseInTheIssueFolder) {
    TempProgramFolder home;
    home.write("Download/a/img/t-01.gif", "x");
    home.write("Download/a/img/t-02.gif", "x");
    home.write("Download/a/page1.html", "x");
    home.write("Download/a/page12.html", "x");
    home.write("Download/a/pages.html", "x"); // also "page*.html"
    home.write("Download/b/index.htm", "x");
    home.write("Download/b/page1.html", "x");
    EXPECT_EQ(CountImageFiles(home.file("Download/a")), 2);
    EXPECT_EQ(CountPageFiles(home.file("Download/a")), 3);
    EXPECT_EQ(CountImageFiles(home.file("Download/b")), 2);
}

} // namespace
