#include "settings/sites.h"
#include "tests/support/temp_program_folder.h"

#include <gtest/gtest.h>

TEST(Sites, HostEntriesNameTheirSchemeAndPort) {
    const HostPort plain = SplitHost("www.vedomir.ru");
    EXPECT_EQ(plain.name, "www.vedomir.ru");
    EXPECT_EQ(plain.port, 80);
    EXPECT_EQ(SplitHost("http://127.0.0.1:8080").port, 8080);
    const HostPort secure = SplitHost("https://www.vedomir.ru");
    EXPECT_EQ(secure.name, "www.vedomir.ru");
    EXPECT_EQ(secure.port, 443);
    const HostPort secureWithPort = SplitHost("HTTPS://127.0.0.1:8443/");
    EXPECT_EQ(secureWithPort.name, "127.0.0.1");
    EXPECT_EQ(secureWithPort.port, 8443);

    EXPECT_EQ(SiteAddress("www.vedomir.ru"), "http://www.vedomir.ru");
    EXPECT_EQ(SiteAddress("http://www.vedomir.ru"), "http://www.vedomir.ru");
    EXPECT_EQ(SiteAddress("Https://127.0.0.1:8443"), "https://127.0.0.1:8443");
    EXPECT_TRUE(ParseHostEntry("https://a.ru").secure());
    EXPECT_FALSE(ParseHostEntry("a.ru:443").secure());
    EXPECT_FALSE(ParseHostEntry("ftp://a.ru").valid);
    EXPECT_FALSE(ParseHostEntry("https://").valid);
    EXPECT_FALSE(ParseHostEntry("https://a.ru/daily").valid);
}

TEST(Sites, CaFileIsTakenRelativeToTheProgramFolder) {
    TempProgramFolder home(false);
    EXPECT_TRUE(LoadSites(home.path()).CaFile.isEmpty());
    home.write("sites.ini", "[Sites]\r\nNewspaper=https://127.0.0.1:8443\r\nCaFile=own-ca.pem\r\n");
    const Sites sites = LoadSites(home.path());
    EXPECT_EQ(sites.Newspaper, "https://127.0.0.1:8443");
    EXPECT_EQ(sites.CaFile, home.file("own-ca.pem"));
    home.write("sites.ini", "[Sites]\r\nCaFile=/etc/ssl/own-ca.pem\r\n");
    EXPECT_EQ(LoadSites(home.path()).CaFile, "/etc/ssl/own-ca.pem");
}
