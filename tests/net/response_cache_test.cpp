#include "net/response_cache.h"
#include "tests/support/temp_program_folder.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

const ByteText Host = "www.vedomir.ru";

ByteText Page(const ByteText& body, const ByteText& status = "HTTP/1.0 200 OK") {
    return status + "\r\nContent-Type: text/html\r\n\r\n" + body;
}

class CacheTest : public ::testing::Test {
protected:
    CacheTest() { cache.setFolder(home.file("cashe")); }

    QStringList files() const {
        return QDir(home.file("cashe")).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }
    // The index as on disk once the keys held in memory have been written.
    ByteText index() {
        cache.flush();
        return home.read("cashe/!Cashe.dat");
    }

    TempProgramFolder home{false};
    ResponseCache cache;
};

} // namespace

TEST_F(CacheTest, IndexHeaderHasItsSevenLines) {
    const ByteText header = ResponseCache::IndexHeader(QDateTime(QDate(2026, 3, 5), QTime(9, 7)));
    const QList<ByteText> lines = header.split('\n');
    ASSERT_EQ(lines.size(), 8); // seven lines and nothing after the last CR LF
    EXPECT_EQ(lines[0], ";Norvel2 cashe database file\r");
    EXPECT_TRUE(lines[1].startsWith(";Created: "));
    EXPECT_TRUE(lines[1].endsWith("\r"));
    EXPECT_TRUE(lines[1].contains("5")) << lines[1].constData();
    EXPECT_EQ(lines[2], ";Do not edit!\r");
    EXPECT_EQ(lines[3], "\r");
    EXPECT_EQ(lines[4], "\r");
    EXPECT_EQ(lines[5], "[Main]\r");
    EXPECT_EQ(lines[6], "[Cashe]\r");
    EXPECT_EQ(lines[7], "");
}

TEST_F(CacheTest, ClearLeavesOnlyAFreshIndex) {
    home.write("cashe/cashe00001.tmp", "old");
    home.write("cashe/stray.bin", "old");
    home.write("cashe/!Cashe.dat", "[Main]\r\nFiles=1\r\n");
    const QDateTime before = QDateTime::currentDateTime();
    ASSERT_TRUE(cache.clear());
    const QDateTime after = QDateTime::currentDateTime();
    EXPECT_EQ(files(), QStringList{"!Cashe.dat"});
    const ByteText written = index();
    EXPECT_TRUE(written == ResponseCache::IndexHeader(before) ||
                written == ResponseCache::IndexHeader(after))
        << written.constData();
    EXPECT_EQ(cache.count(), 0);
}

TEST_F(CacheTest, ClearCreatesAMissingFolder) {
    EXPECT_FALSE(QDir(home.file("cashe")).exists());
    EXPECT_EQ(cache.count(), 0);
    ASSERT_TRUE(cache.clear());
    EXPECT_EQ(files(), QStringList{"!Cashe.dat"});
}

TEST_F(CacheTest, StoredResponseComesBackByteForByte) {
    ByteText body;
    for (int b = 0; b < 256; ++b)
        body += char(b);
    const ByteText response = Page(body);
    ASSERT_TRUE(cache.store(Host, "/daily/", response));
    EXPECT_EQ(cache.lookup(Host, "/daily/"), response);
    EXPECT_EQ(home.read("cashe/cashe00001.tmp"), response);
    EXPECT_EQ(cache.count(), 1);
    // The index: header, Files in Main, the full address in Cashe.
    const ByteText expected = index().left(index().indexOf("[Main]")) +
                              "[Main]\r\nFiles=1\r\n[Cashe]\r\n"
                              "cashe00001=http://www.vedomir.ru/daily/\r\n";
    EXPECT_EQ(index(), expected);
    EXPECT_EQ(files(), (QStringList{"!Cashe.dat", "cashe00001.tmp"}));
}

TEST_F(CacheTest, EntriesAreKeyedByHostAndExactPath) {
    ASSERT_TRUE(cache.store(Host, "/daily/", Page("newspaper")));
    ASSERT_TRUE(cache.store("offline.zenitra.ru", "/daily/", Page("magazine")));
    EXPECT_EQ(cache.lookup(Host, "/daily/"), Page("newspaper"));
    EXPECT_EQ(cache.lookup("offline.zenitra.ru", "/daily/"), Page("magazine"));
    EXPECT_EQ(cache.lookup(Host, "/Daily/"), std::nullopt);
    EXPECT_EQ(cache.lookup(Host, "/daily"), std::nullopt);
    EXPECT_EQ(cache.lookup("127.0.0.1:8080", "/daily/"), std::nullopt);
}

TEST_F(CacheTest, HttpsAndHttpEntriesOfOnePathStayApart) {
    ASSERT_TRUE(cache.store("https://" + Host, "/daily/", Page("secure")));
    EXPECT_EQ(cache.lookup(Host, "/daily/"), std::nullopt);
    EXPECT_EQ(cache.lookup("http://" + Host, "/daily/"), std::nullopt);
    ASSERT_TRUE(cache.store(Host, "/daily/", Page("plain")));
    EXPECT_EQ(cache.lookup("https://" + Host, "/daily/"), Page("secure"));
    EXPECT_EQ(cache.lookup("HTTPS://" + Host + "/", "/daily/"), Page("secure"));
    // A bare host and "http://" name the same site.
    EXPECT_EQ(cache.lookup("http://" + Host, "/daily/"), Page("plain"));
    EXPECT_TRUE(index().contains("cashe00001=https://www.vedomir.ru/daily/\r\n"
                                 "cashe00002=http://www.vedomir.ru/daily/\r\n"));
}

TEST_F(CacheTest, EntryOfThePathAloneMisses) {
    ASSERT_TRUE(cache.clear());
    home.write("cashe/cashe00001.tmp", Page("old rule"));
    INI index;
    index.setFileName(cache.indexPath());
    index.WInI("Cashe", "cashe00001", "/daily/");
    index.WInIi("Main", "Files", 1);
    EXPECT_EQ(cache.count(), 1);
    EXPECT_EQ(cache.lookup(Host, "/daily/"), std::nullopt);
}

TEST_F(CacheTest, EntryKeysAreReadAsTheProfileRulesReadThem) {
    // Names in any letter case and with blanks; the first of a repeated name
    // wins; a quoted value loses its quotes.
    home.write("cashe/!Cashe.dat", "[Main]\r\nFiles=3\r\n[Cashe]\r\n"
                                   " CASHE00001 = http://www.vedomir.ru/a\r\n"
                                   "cashe00001=http://www.vedomir.ru/b\r\n"
                                   "; cashe00002=http://www.vedomir.ru/c\r\n"
                                   "cashe00003=\"http://www.vedomir.ru/d\"\r\n");
    for (int i = 1; i <= 3; ++i)
        home.write("cashe/" + QString::fromLatin1(ResponseCache::EntryKey(i)) + ".tmp",
                   Page(ByteText::number(i)));
    EXPECT_EQ(cache.lookup(Host, "/a"), Page("1"));
    EXPECT_EQ(cache.lookup(Host, "/b"), std::nullopt);
    EXPECT_EQ(cache.lookup(Host, "/c"), std::nullopt);
    EXPECT_EQ(cache.lookup(Host, "/d"), Page("3"));
}

TEST_F(CacheTest, OnlyOkResponsesAreStored) {
    EXPECT_FALSE(cache.store(Host, "/a", Page("", "HTTP/1.0 302 Found")));
    EXPECT_FALSE(cache.store(Host, "/b", Page("", "HTTP/1.0 404 Not Found")));
    EXPECT_FALSE(cache.store(Host, "/c", Page("", "HTTP/1.1 500 Internal Server Error")));
    EXPECT_EQ(cache.count(), 0);
    EXPECT_TRUE(cache.store(Host, "/d", Page("x", "HTTP/1.1 200 OK")));
    EXPECT_EQ(cache.count(), 1);
}

TEST_F(CacheTest, FullCacheStartsAgainFromOne) {
    cache.setCapacity(3);
    for (int i = 1; i <= 3; ++i)
        ASSERT_TRUE(cache.store(Host, "/p" + ByteText::number(i), Page(ByteText::number(i))));
    EXPECT_EQ(cache.count(), 3);
    ASSERT_TRUE(cache.store(Host, "/p4", Page("4")));
    EXPECT_EQ(cache.count(), 1);
    EXPECT_EQ(files(), (QStringList{"!Cashe.dat", "cashe00001.tmp"}));
    EXPECT_EQ(home.read("cashe/cashe00001.tmp"), Page("4"));
    EXPECT_EQ(cache.lookup(Host, "/p1"), std::nullopt);
    EXPECT_EQ(cache.lookup(Host, "/p4"), Page("4"));
}

TEST_F(CacheTest, LostOrUnreadableResponseFileIsAMiss) {
    ASSERT_TRUE(cache.store(Host, "/daily/", Page("first")));
    QFile::remove(home.file("cashe/cashe00001.tmp"));
    EXPECT_EQ(cache.lookup(Host, "/daily/"), std::nullopt);
    // Stored again, the later copy is found past the broken entry.
    ASSERT_TRUE(cache.store(Host, "/daily/", Page("second")));
    EXPECT_EQ(cache.lookup(Host, "/daily/"), Page("second"));

    // A folder where the file should be, and an empty file, read as nothing.
    ASSERT_TRUE(cache.store(Host, "/img/1.gif", Page("gif")));
    QFile::remove(cache.entryFile(3));
    QDir().mkpath(cache.entryFile(3));
    EXPECT_EQ(cache.lookup(Host, "/img/1.gif"), std::nullopt);
    ASSERT_TRUE(cache.store(Host, "/img/2.gif", Page("gif")));
    home.write("cashe/cashe00004.tmp", "");
    EXPECT_EQ(cache.lookup(Host, "/img/2.gif"), std::nullopt);
}

TEST_F(CacheTest, MissingIndexRebuildsTheCacheOnStore) {
    ASSERT_TRUE(cache.store(Host, "/a", Page("a")));
    ASSERT_TRUE(cache.store(Host, "/b", Page("b")));
    QFile::remove(cache.indexPath());
    EXPECT_EQ(cache.count(), 0);
    EXPECT_EQ(cache.lookup(Host, "/a"), std::nullopt);
    ASSERT_TRUE(cache.store(Host, "/c", Page("c")));
    EXPECT_EQ(cache.count(), 1);
    EXPECT_EQ(files(), (QStringList{"!Cashe.dat", "cashe00001.tmp"}));
    EXPECT_EQ(cache.lookup(Host, "/c"), Page("c"));
}

TEST_F(CacheTest, AddressLongerThanAProfileValueIsNeverFoundAgain) {
    const ByteText prefix = "http://" + Host;
    const ByteText fits = "/" + ByteText(254 - prefix.size() - 1, 'a');
    const ByteText tooLong = fits + "b";
    ASSERT_EQ((prefix + fits).size(), 254);
    ASSERT_TRUE(cache.store(Host, fits, Page("fits")));
    EXPECT_EQ(cache.lookup(Host, fits), Page("fits"));

    ASSERT_TRUE(cache.store(Host, tooLong, Page("long")));
    EXPECT_EQ(cache.lookup(Host, tooLong), std::nullopt);
    // Written whole, and stored anew by each fetch.
    EXPECT_TRUE(index().contains("cashe00002=" + prefix + tooLong + "\r\n"));
    ASSERT_TRUE(cache.store(Host, tooLong, Page("long")));
    EXPECT_EQ(cache.count(), 3);
}

TEST_F(CacheTest, EntryKeysHaveAtLeastFiveDigits) {
    EXPECT_EQ(ResponseCache::EntryKey(1), "cashe00001");
    EXPECT_EQ(ResponseCache::EntryKey(400), "cashe00400");
    EXPECT_EQ(ResponseCache::EntryKey(123456), "cashe123456");
}

TEST_F(CacheTest, KeysWaitInMemoryButLookupsSeeThemAndTheyReachTheDisk) {
    cache.setFolder(home.file("cashe"));
    ASSERT_TRUE(cache.clear());
    const ByteText header = home.read("cashe/!Cashe.dat");
    const ByteText ok = "HTTP/1.0 200 OK\r\n\r\nbody";
    ASSERT_TRUE(cache.store("a", "/1", ok));
    EXPECT_EQ(home.read("cashe/!Cashe.dat"), header); // not yet on disk
    EXPECT_EQ(cache.lookup("a", "/1"), ok);
    EXPECT_EQ(cache.count(), 1);
    for (int i = 2; i <= ResponseCache::MaxPendingStores; ++i)
        ASSERT_TRUE(cache.store("a", "/" + ByteText::number(i), ok));
    // The batch limit wrote every key in one replace.
    EXPECT_TRUE(home.read("cashe/!Cashe.dat").contains("Files=50\r\n"));
    ASSERT_TRUE(cache.store("a", "/last", ok));
    {
        ResponseCache other; // a later run of the program
        other.setFolder(home.file("cashe"));
        EXPECT_FALSE(other.lookup("a", "/last"));
    }
    cache.flush();
    ResponseCache later;
    later.setFolder(home.file("cashe"));
    EXPECT_EQ(later.lookup("a", "/last"), ok);
    EXPECT_EQ(later.count(), 51);
}

TEST_F(CacheTest, DamagedEntryIsAMissAndIsRemoved) {
    const ByteText sized = "HTTP/1.0 200 OK\r\nContent-Length: 6\r\n\r\nsix ok";
    ASSERT_TRUE(cache.store(Host, "/cut", sized));
    ASSERT_TRUE(cache.store(Host, "/cut", sized));
    home.write("cashe/cashe00001.tmp", sized.chopped(1));
    // The later good copy is found past the damaged one, which goes.
    EXPECT_EQ(cache.lookup(Host, "/cut"), sized);
    EXPECT_FALSE(QFile::exists(home.file("cashe/cashe00001.tmp")));
    EXPECT_TRUE(index().contains("\r\ncashe00001=\r\n")) << index().constData();
    home.write("cashe/cashe00002.tmp", "HTTP/1.0 200 OK\r\nContent-Length: 6\r\n");
    EXPECT_EQ(cache.lookup(Host, "/cut"), std::nullopt);
    EXPECT_EQ(files(), QStringList{"!Cashe.dat"});

    // Kept by an older version as it came: bytes past the length, chunks.
    ASSERT_TRUE(cache.store(Host, "/long", sized));
    home.write("cashe/cashe00003.tmp", sized + "tail");
    EXPECT_EQ(cache.lookup(Host, "/long"), sized);
    ASSERT_TRUE(cache.store(Host, "/chunks", sized));
    home.write("cashe/cashe00004.tmp", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n"
                                       "6\r\nsix ok\r\n0\r\n\r\n");
    EXPECT_EQ(cache.lookup(Host, "/chunks"),
              ByteText("HTTP/1.1 200 OK\r\nContent-Length: 6\r\n\r\nsix ok"));
}

TEST_F(CacheTest, AnIndexRewrittenByAnotherWriterIsReadAgain) {
    ASSERT_TRUE(cache.store(Host, "/a", Page("a")));
    ASSERT_TRUE(cache.store(Host, "/b", Page("b")));
    EXPECT_EQ(cache.lookup(Host, "/a"), Page("a"));
    cache.flush();
    {
        // Another run empties the cache and numbers from one again.
        ResponseCache other;
        other.setFolder(home.file("cashe"));
        ASSERT_TRUE(other.clear());
        ASSERT_TRUE(other.store(Host, "/c", Page("c")));
    }
    // Entry 1 now holds /c: the old table would hand it out for /a.
    EXPECT_EQ(cache.lookup(Host, "/a"), std::nullopt);
    EXPECT_EQ(cache.lookup(Host, "/b"), std::nullopt);
    EXPECT_EQ(cache.lookup(Host, "/c"), Page("c"));
    // Stores go on from the other writer's count.
    ASSERT_TRUE(cache.store(Host, "/d", Page("d")));
    EXPECT_EQ(cache.count(), 2);
    EXPECT_EQ(cache.lookup(Host, "/d"), Page("d"));
    EXPECT_EQ(cache.lookup(Host, "/c"), Page("c"));
}
