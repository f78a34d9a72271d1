// The version check and the release checks: version.info as the server sends
// it, through the real download control against the demo site's update
// server, and the refusals that keep a bad release from being started.
#include "net/download_control.h"
#include "settings/ini.h"
#include "tests/support/demo_site.h"
#include "tests/support/temp_program_folder.h"
#include "tools/demosite/release_signing.h"
#include "update/release_signature.h"
#include "update/update_check.h"
#include "update/update_download.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

// What the check reads from a reply.
UpdateInfo ReadReply(const ByteText& reply) {
    INI ini;
    return ReadVersionInfo(ini, reply);
}

struct Check {
    VersionCheck outcome;
    UpdateInfo info;
};

Check AskDemo(const ByteText& host) {
    Download_Control DC;
    INI ini;
    Check check;
    check.outcome = AskUpdateServer(DC, host, ini, check.info);
    return check;
}

ByteText Sha256(const ByteText& bytes) {
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
}

} // namespace

TEST(VersionInfo, HeadersAreSkippedAndSemicolonLinesMakeTheWhatsNewText) {
    const UpdateInfo info =
        ReadReply("HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\n;" + W("Версия 2.2:") +
                  "\r\n[Main]\r\nVersion=2.2.0\r\nFileSize=70000\r\n;" + W("- быстрее;") +
                  "\r\nHost=update.example\r\nFileName=setup.sh\r\n;" + W("- надёжнее.") + "\r\n");
    EXPECT_EQ(info.Version, "2.2.0");
    EXPECT_EQ(info.Host, "update.example");
    EXPECT_EQ(info.FileName, "setup.sh");
    EXPECT_EQ(info.WhatsNew, W("Версия 2.2:\r\n- быстрее;\r\n- надёжнее."));
    EXPECT_TRUE(IsNewVersion(info));
    EXPECT_EQ(update_text::VersionLabel(info), "Версия: 2.2.0 (ваша версия - 2.1.7)");
    EXPECT_EQ(update_text::SizeLabel(info), "Размер файла: 68 кб");
    EXPECT_EQ(update_text::DownloadStatus(info), "Загрузка обновления (68 кб)...");
    EXPECT_EQ(update_text::DirectLink(info), "http://update.example/setup.sh");
    EXPECT_EQ(update_text::Notice(),
              "Внимание!\r\nГарантируется работоспособность только последней доступной версии.");
}

TEST(VersionInfo, TheOwnVersionAndAReplyWithoutMainAreNoNewVersion) {
    EXPECT_FALSE(IsNewVersion(ReadReply("[Main]\r\nVersion=2.1.7\r\n")));
    // Any other text is newer, an older release included.
    EXPECT_TRUE(IsNewVersion(ReadReply("[Main]\r\nVersion=2.0.1\r\n")));
    const UpdateInfo errorPage =
        ReadReply("HTTP/1.0 500 Internal Server Error\r\n\r\n<html>Version=9</html>\r\n[Other]\r\n"
                  "Version=9.9\r\n");
    EXPECT_TRUE(errorPage.Version.isEmpty());
    EXPECT_FALSE(IsNewVersion(errorPage));
}

TEST(VersionInfo, PlainWhatsNewIsShownLineByLineMarkupAsItIs) {
    EXPECT_EQ(WhatsNewDocument("a & b\r\nc\r\nd"),
              "<html><body>a &amp; b<br>\r\nc<br>\r\nd</body></html>");
    EXPECT_EQ(WhatsNewDocument("<b>a</b>\r\n<br>c"), "<html><body><b>a</b>\r\n<br>c</body></html>");
    EXPECT_EQ(WhatsNewDocument("<HTML><BODY>x</BODY></HTML>"), "<HTML><BODY>x</BODY></HTML>");
}

TEST(ReleaseChecks, OnlyAPlainFileNameMayBecomeAFileOfTheProgramFolder) {
    for (const ByteText& good : {ByteText("norvel2-2.2.0-update.sh"), ByteText("setup.exe"),
                                 W("обновление.sh"), ByteText("a.b")})
        EXPECT_TRUE(IsSafeReleaseName(good)) << good.constData();
    for (const ByteText& bad :
         {ByteText(), ByteText("."), ByteText(".."), ByteText("../norvel2"),
          ByteText("files/setup.sh"), ByteText("/etc/passwd"), ByteText("..setup"),
          ByteText("a\\b"), ByteText("set\nup"), ByteText("set\tup"), ByteText("x\x7f")})
        EXPECT_FALSE(IsSafeReleaseName(bad)) << bad.toPercentEncoding().constData();
}

TEST(ReleaseChecks, SizeAndOptionalHashMustMatch) {
    const ByteText body = "#!/bin/sh\nexit 0\n";
    UpdateInfo info;
    info.FileSize = ByteText::number(body.size());
    EXPECT_TRUE(ReleaseMatches(body, info));
    EXPECT_FALSE(ReleaseMatches(body + "x", info));
    EXPECT_FALSE(ReleaseMatches(body.chopped(1), info));
    info.SHA256 = Sha256(body).toUpper();
    EXPECT_TRUE(ReleaseMatches(body, info));
    info.SHA256 = Sha256(body + "x");
    EXPECT_FALSE(ReleaseMatches(body, info));
    info.SHA256 = "not hex";
    EXPECT_FALSE(ReleaseMatches(body, info));
    UpdateInfo empty;
    EXPECT_FALSE(ReleaseMatches(ByteText(), empty)) << "an empty body is no release";
}

TEST(AskUpdateServer, TheOwnVersionGoesOnAfterOneRequest) {
    DemoSite site;
    ASSERT_TRUE(site.isRunning()) << site.error().toStdString();
    const Check check = AskDemo(site.update());
    EXPECT_EQ(check.outcome, VersionCheck::Current);
    EXPECT_EQ(check.info.Version, "2.1.7");
    EXPECT_EQ(site.requestLines(), QList<ByteText>({"GET /version.info HTTP/1.0"}));
}

TEST(AskUpdateServer, ANewerVersionIsReadWithItsFourLinesOfNews) {
    DemoSite site({"--update-version", "2.2.0"});
    ASSERT_TRUE(site.isRunning()) << site.error().toStdString();
    const Check check = AskDemo(site.update());
    EXPECT_EQ(check.outcome, VersionCheck::NewVersion);
    EXPECT_EQ(check.info.Host, site.update());
    EXPECT_EQ(check.info.FileName, "norvel2-2.2.0-update.sh");
    EXPECT_EQ(check.info.WhatsNew.count("\r\n"), 3);
    EXPECT_FALSE(check.info.WhatsNew.startsWith("\r\n"));
    EXPECT_EQ(check.info.SHA256.size(), 64);
}

TEST(AskUpdateServer, ErrorPagesAndADeadServerLetTheRunGoOn) {
    DemoSite site({"--update-version", "2.2.0", "--fault", "update:/version.info=500:1", "--fault",
                   "update:/version.info=404:1"});
    ASSERT_TRUE(site.isRunning()) << site.error().toStdString();
    EXPECT_EQ(AskDemo(site.update()).outcome, VersionCheck::Current);
    EXPECT_EQ(AskDemo(site.update()).outcome, VersionCheck::Current);
    const quint16 deadPort = DemoSite::portOf(site.update());
    site.stop();
    EXPECT_EQ(AskDemo("127.0.0.1:" + ByteText::number(deadPort)).outcome, VersionCheck::Current);
}

TEST(AskUpdateServer, RefusedProxyLoginIsToldApart) {
    DemoSite site({"--proxy-auth", "reader:secret", "--proxy-auth-required"});
    ASSERT_TRUE(site.isRunning()) << site.error().toStdString();
    Download_Control DC;
    DC.UseProxyServer("127.0.0.1", ByteText::number(site.proxyPort()), true);
    DC.ProxyAut("reader", "wrong", true);
    INI ini;
    UpdateInfo info;
    EXPECT_EQ(AskUpdateServer(DC, site.update(), ini, info), VersionCheck::ProxyRefused);
}

TEST(FetchRelease, TheReleaseIsWrittenExecutableIntoAFolderOfItsOwnAndTheCounterAsked) {
    TempProgramFolder home;
    DemoSite site({"--update-version", "2.2.0"});
    ASSERT_TRUE(site.isRunning()) << site.error().toStdString();
    Check check = AskDemo(site.update());
    ASSERT_EQ(check.outcome, VersionCheck::NewVersion);
    home.write(check.info.FileName, "the user's own file of that name");
    Download_Control DC;
    QStringList statuses;
    const FetchedRelease release = FetchRelease(
        DC, check.info, home.path(), [&statuses](const QString& s) { statuses.append(s); });
    ASSERT_EQ(release.outcome, ReleaseFetch::Ready);
    EXPECT_TRUE(release.path.startsWith(home.file("updates/release-")));
    EXPECT_TRUE(release.path.endsWith("/norvel2-2.2.0-update.sh"));
    EXPECT_EQ(QFileInfo(release.path).size(), ReleaseSize(check.info));
    EXPECT_TRUE(QFile::permissions(release.path) & QFileDevice::ExeOwner);
    EXPECT_EQ(home.read(check.info.FileName), "the user's own file of that name");
    EXPECT_EQ(statuses, QStringList({"Загрузка обновления (68 кб)..."}));
    EXPECT_EQ(site.requestLines().mid(1),
              QList<ByteText>({"GET /norvel2-2.2.0-update.sh HTTP/1.0",
                               "GET /download.php?version=2.2.0 HTTP/1.0"}));
}

TEST(FetchRelease, ARefusedReleaseTouchesNoFileAndAHostileNameFetchesNothing) {
    TempProgramFolder home;
    for (const QStringList& lie : {QStringList{"--update-file-size", "69999"},
                                   QStringList{"--update-sha256", QString(64, 'a')}}) {
        DemoSite site(QStringList{"--update-version", "2.2.0"} + lie);
        ASSERT_TRUE(site.isRunning()) << site.error().toStdString();
        const Check check = AskDemo(site.update());
        home.write(check.info.FileName, "the user's own file");
        Download_Control DC;
        EXPECT_EQ(FetchRelease(DC, check.info, home.path(), {}).outcome, ReleaseFetch::Failed)
            << lie.join(' ').toStdString();
        EXPECT_EQ(home.read(check.info.FileName), "the user's own file");
        EXPECT_TRUE(QDir(home.file("updates")).isEmpty());
    }
    DemoSite site({"--update-version", "2.2.0", "--update-file-name", "../escape.sh"});
    ASSERT_TRUE(site.isRunning()) << site.error().toStdString();
    const Check check = AskDemo(site.update());
    EXPECT_EQ(check.info.FileName, "../escape.sh");
    site.clearRequestLog();
    Download_Control DC;
    EXPECT_EQ(FetchRelease(DC, check.info, home.path(), {}).outcome, ReleaseFetch::Failed);
    EXPECT_TRUE(site.requestLines().isEmpty());
    EXPECT_FALSE(QFile::exists(home.file("../escape.sh")));
}

TEST(ReleaseSignature, OnlyThePublishersKeyOverTheseVeryBytesVerifies) {
    ASSERT_EQ(PublisherKey(), DemoPublicKey()) << "a default build trusts the demo site's key";
    const ByteText release = "#!/bin/sh\necho 'a release'\n";
    const ByteText signature = DemoSignature(release);
    EXPECT_TRUE(SignedBy(release, signature));
    ByteText changed = release;
    changed[12] = changed[12] ^ 1;
    EXPECT_FALSE(SignedBy(changed, signature)) << "a byte changed after signing";
    EXPECT_FALSE(SignedBy(release + "\n", signature));
    ByteText otherKey = PublisherKey();
    otherKey[0] = otherKey[0] ^ 1;
    EXPECT_FALSE(SignedBy(release, signature, otherKey)) << "a build with a key of its own";
    for (const ByteText& malformed :
         {ByteText(), ByteText("AAAA"), signature.chopped(4), signature + "AAAA",
          ByteText(signature).replace(5, 1, "*"), ByteText(64, 'A')}) {
        EXPECT_TRUE(DecodedSignature(malformed).isEmpty()) << malformed.constData();
        EXPECT_FALSE(SignedBy(release, malformed));
    }
}

TEST(FetchRelease, AReleaseWithoutThePublishersSignatureIsNotKept) {
    TempProgramFolder home;
    for (const char* signature : {"none", "bad"}) {
        DemoSite site({"--update-version", "2.2.0", "--update-signature", signature});
        ASSERT_TRUE(site.isRunning()) << site.error().toStdString();
        const Check check = AskDemo(site.update());
        site.clearRequestLog();
        Download_Control DC;
        EXPECT_EQ(FetchRelease(DC, check.info, home.path(), {}).outcome, ReleaseFetch::Unsigned)
            << signature;
        EXPECT_EQ(site.requestLines().isEmpty(), ByteText(signature) == "none")
            << "nothing is fetched without a signature";
    }
    DemoSite site({"--update-version", "2.2.0"});
    ASSERT_TRUE(site.isRunning()) << site.error().toStdString();
    const Check check = AskDemo(site.update());
    ByteText otherKey = DemoPublicKey();
    otherKey[31] = otherKey[31] ^ 0x40;
    Download_Control DC;
    EXPECT_EQ(FetchRelease(DC, check.info, home.path(), {}, otherKey).outcome,
              ReleaseFetch::Unsigned);
    EXPECT_TRUE(QDir(home.file("updates")).isEmpty());
}
