// The profile-file rules: what a read finds, what a write changes, byte for
// byte, and that a write replaces the file whole.
#include "settings/ini.h"
#include "tests/support/temp_program_folder.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

mode_t modeOf(const QString& path) {
    struct stat st {};
    ::stat(QFile::encodeName(path).constData(), &st);
    return st.st_mode & 07777;
}

class IniFile : public ::testing::Test {
protected:
    TempProgramFolder folder{false};
    INI ini;

    void SetUp() override { ini.setFileName(folder.file("test.ini")); }
    void given(const QByteArray& bytes) { folder.write("test.ini", bytes); }
    QByteArray bytes() const { return folder.read("test.ini"); }
    ByteText read(const char* section, const char* key) { return ini.RINI(section, key); }
};

TEST_F(IniFile, BlanksAroundNamesAndValuesAreDropped) {
    given("  [ Main ]  \r\n\t Key One \t=   some value \t\r\nEmpty=\r\nSpaced=   \r\n");
    EXPECT_EQ(read("Main", "Key One"), "some value");
    EXPECT_EQ(read(" Main ", "  Key One"), "some value");
    EXPECT_EQ(read("Main", "Empty"), "");
    EXPECT_EQ(read("Main", "Spaced"), "");
}

TEST_F(IniFile, MatchingQuotesAroundAValueAreRemoved) {
    given("[S]\r\nA=\"quoted value\"\r\nB='single'\r\nC=\"mixed'\r\nD=\"\r\nE=say \"hi\" now\r\n"
          "F=  \"  inner blanks  \"  \r\nG=\"\"\r\n");
    EXPECT_EQ(read("S", "A"), "quoted value");
    EXPECT_EQ(read("S", "B"), "single");
    EXPECT_EQ(read("S", "C"), "\"mixed'");
    EXPECT_EQ(read("S", "D"), "\"");
    EXPECT_EQ(read("S", "E"), "say \"hi\" now");
    EXPECT_EQ(read("S", "F"), "  inner blanks  ");
    EXPECT_EQ(read("S", "G"), "");
}

TEST_F(IniFile, NamesMatchWithoutRegardToCaseLatinAndCyrillic) {
    given("[Main]\r\nUseCashe=True\r\n" + W("[Раздел Ёлки]\r\nКлюч=значение\r\nЄвро=1\r\n"));
    EXPECT_EQ(read("MAIN", "usecashe"), "True");
    EXPECT_EQ(ini.RINI(W("РАЗДЕЛ ЁЛКИ"), W("ключ")), W("значение"));
    EXPECT_EQ(ini.RINI(W("раздел ёлки"), W("КЛЮЧ")), W("значение"));
    EXPECT_EQ(ini.RINI(W("раздел ёлки"), W("євро")), "1");
    // Different letters stay different: Е is not Ё, И is not Й.
    EXPECT_EQ(ini.RINI(W("раздел елки"), W("ключ")), "");
    EXPECT_EQ(ini.RINI(W("Раздел Ёлки"), W("Клич")), "");
}

TEST_F(IniFile, WritingAKeyInAnotherCaseKeepsTheFileSpelling) {
    given("[Main]\r\nUseCashe=True\r\n");
    ini.WInI("MAIN", "USECASHE", "False");
    EXPECT_EQ(bytes(), "[Main]\r\nUseCashe=False\r\n");
}

TEST_F(IniFile, TheFirstOfDuplicateSectionsAndKeysWins) {
    given("[A]\r\nK=first\r\nK=second\r\n[B]\r\nX=1\r\n[a]\r\nK=third\r\nOnlyHere=4\r\n");
    EXPECT_EQ(read("A", "K"), "first");
    EXPECT_EQ(read("A", "OnlyHere"), ""); // only the first [A] is searched
    ini.WInI("A", "K", "new");
    EXPECT_EQ(bytes(),
              "[A]\r\nK=new\r\nK=second\r\n[B]\r\nX=1\r\n[a]\r\nK=third\r\nOnlyHere=4\r\n");
    ini.WInI("a", "OnlyHere", "5");
    EXPECT_EQ(bytes(), "[A]\r\nK=new\r\nK=second\r\nOnlyHere=5\r\n[B]\r\nX=1\r\n[a]\r\nK=third\r\n"
                       "OnlyHere=4\r\n");
}

TEST_F(IniFile, LinesMayEndInCrLfLfOrCrAndKeepTheirEndings) {
    given("[A]\nK1=lf\rK2=cr\r\nK3=crlf\n\n[B]\rZ=last");
    EXPECT_EQ(read("A", "K1"), "lf");
    EXPECT_EQ(read("A", "K2"), "cr");
    EXPECT_EQ(read("A", "K3"), "crlf");
    EXPECT_EQ(read("B", "Z"), "last");
    ini.WInI("A", "K2", "changed");
    EXPECT_EQ(bytes(), "[A]\nK1=lf\rK2=changed\r\nK3=crlf\n\n[B]\rZ=last");
    ini.WInI("B", "New", "v");
    EXPECT_EQ(bytes(), "[A]\nK1=lf\rK2=changed\r\nK3=crlf\n\n[B]\rZ=last\r\nNew=v\r\n");
}

TEST_F(IniFile, NewKeysGoAfterTheLastLineOfTheirSectionBeforeBlankLines) {
    given("[A]\r\nK=1\r\n\r\n\r\n[B]\r\nX=2\r\n");
    ini.WInI("A", "L", "3");
    ini.WInI("B", "Y", "4");
    EXPECT_EQ(bytes(), "[A]\r\nK=1\r\nL=3\r\n\r\n\r\n[B]\r\nX=2\r\nY=4\r\n");
}

TEST_F(IniFile, ReadsFollowKeysThatWritesMovedDown) {
    given("[A]\r\na1=1\r\n[B]\r\nb1=1\r\nB1=shadowed\r\n[a]\r\na1=second section\r\n");
    EXPECT_EQ(read("B", "b1"), "1");
    {
        INI::Batch batch(ini);
        // Keys added to the first section move every later line down.
        for (int i = 2; i <= 40; ++i) {
            ini.WInIi("A", "a" + ByteText::number(i), int16_t(i));
            ini.WInIi("B", "b" + ByteText::number(i), int16_t(i));
        }
        ini.WInI("C", "c1", "new section");
        ini.WInI("B", "B1", "changed");
    }
    for (int i = 1; i <= 40; ++i) {
        EXPECT_EQ(read("a", "A" + ByteText::number(i)), ByteText::number(i));
        EXPECT_EQ(read("b", "B" + ByteText::number(i)), i == 1 ? "changed" : ByteText::number(i));
    }
    EXPECT_EQ(read("C", "c1"), "new section");
    ByteText expected = "[A]\r\n";
    for (int i = 1; i <= 40; ++i)
        expected += "a" + ByteText::number(i) + "=" + ByteText::number(i) + "\r\n";
    expected += "[B]\r\nb1=changed\r\nB1=shadowed\r\n";
    for (int i = 2; i <= 40; ++i)
        expected += "b" + ByteText::number(i) + "=" + ByteText::number(i) + "\r\n";
    EXPECT_EQ(bytes(), expected + "[a]\r\na1=second section\r\n[C]\r\nc1=new section\r\n");
}

TEST_F(IniFile, NewSectionsGoAtTheEndAndAMissingFileIsCreated) {
    ASSERT_FALSE(QFile::exists(ini.FileName()));
    ini.WInI("Main", "A", "1");
    ini.WInI("Network", "B", "2");
    ini.WInI("Main", "C", "3");
    EXPECT_EQ(bytes(), "[Main]\r\nA=1\r\nC=3\r\n[Network]\r\nB=2\r\n");
    given("[Old]\r\nK=v"); // no line end at the end
    ini.WInI("New", "K", "w");
    EXPECT_EQ(bytes(), "[Old]\r\nK=v\r\n[New]\r\nK=w\r\n");
}

TEST_F(IniFile, MissingFileSectionOrKeyReadsEmpty) {
    EXPECT_EQ(read("Main", "A"), "");
    given("Top=outside\r\n[Main]\r\nA=1\r\nNoEquals\r\n; comment=x\r\nB=x=y\r\n");
    EXPECT_EQ(read("Main", "Top"), "");
    EXPECT_EQ(read("Other", "A"), "");
    EXPECT_EQ(read("Main", "Z"), "");
    EXPECT_EQ(read("Main", "NoEquals"), "");
    EXPECT_EQ(read("Main", "B"), "x=y");
    ini.WInI("Main", "NoEquals", "now");
    EXPECT_EQ(read("Main", "NoEquals"), "now");
}

TEST_F(IniFile, ValuesAreCutTo254Characters) {
    const ByteText longValue(300, 'x');
    ini.WInI("S", "Long", longValue);
    EXPECT_EQ(bytes().size(), ByteText("[S]\r\nLong=\r\n").size() + 300); // written whole
    EXPECT_EQ(read("S", "Long"), ByteText(254, 'x'));
    ini.WInI("S", "Exact", ByteText(254, 'y'));
    EXPECT_EQ(read("S", "Exact"), ByteText(254, 'y'));
    ini.WInI("S", "Quoted", "\"" + ByteText(260, 'q') + "\"");
    EXPECT_EQ(read("S", "Quoted"), ByteText(254, 'q'));
}

TEST_F(IniFile, BooleansAreTrueOnlyForTheExactTextTrue) {
    given("[S]\r\na=True\r\nb=true\r\nc=TRUE\r\nd=1\r\ne=\r\nf=  True  \r\ng=\"True\"\r\n");
    EXPECT_TRUE(ini.RINIb("S", "a"));
    EXPECT_FALSE(ini.RINIb("S", "b"));
    EXPECT_FALSE(ini.RINIb("S", "c"));
    EXPECT_FALSE(ini.RINIb("S", "d"));
    EXPECT_FALSE(ini.RINIb("S", "e"));
    EXPECT_FALSE(ini.RINIb("S", "missing"));
    EXPECT_TRUE(ini.RINIb("S", "f"));
    EXPECT_TRUE(ini.RINIb("S", "g"));
    ini.WInIb("S", "a", false);
    ini.WInIb("S", "n", true);
    EXPECT_EQ(read("S", "a"), "False");
    EXPECT_EQ(read("S", "n"), "True");
}

TEST_F(IniFile, NumbersReadTheLeadingNumberRoundedTiesToEven) {
    given("[S]\r\nhalfDown=12.5\r\nhalfUp=13.5\r\nneg=-2.5\r\nnegUp=-3.5\r\nnear=7.51\r\n"
          "trail=42abc\r\nword=abc\r\nempty=\r\nblanks= 1 2 3\r\nexp=1e2\r\nhuge=99999\r\n"
          "tiny=-40000\r\nplus=+7\r\nsign=-\r\ncomma=3,7\r\n");
    EXPECT_EQ(ini.RINIi("S", "halfDown"), 12);
    EXPECT_EQ(ini.RINIi("S", "halfUp"), 14);
    EXPECT_EQ(ini.RINIi("S", "neg"), -2);
    EXPECT_EQ(ini.RINIi("S", "negUp"), -4);
    EXPECT_EQ(ini.RINIi("S", "near"), 8);
    EXPECT_EQ(ini.RINIi("S", "trail"), 42);
    EXPECT_EQ(ini.RINIi("S", "word"), 0);
    EXPECT_EQ(ini.RINIi("S", "empty"), 0);
    EXPECT_EQ(ini.RINIi("S", "missing"), 0);
    EXPECT_EQ(ini.RINIi("S", "blanks"), 123);
    EXPECT_EQ(ini.RINIi("S", "exp"), 100);
    EXPECT_EQ(ini.RINIi("S", "huge"), 32767);
    EXPECT_EQ(ini.RINIi("S", "tiny"), -32768);
    EXPECT_EQ(ini.RINIi("S", "plus"), 7);
    EXPECT_EQ(ini.RINIi("S", "sign"), 0);
    EXPECT_EQ(ini.RINIi("S", "comma"), 3);
}

TEST_F(IniFile, NumbersAreWrittenAsPlainDecimals) {
    ini.WInIi("S", "a", 400);
    ini.WInIi("S", "b", -5);
    ini.WInIi("S", "c", 0);
    ini.WInIi("S", "d", -32768);
    EXPECT_EQ(bytes(), "[S]\r\na=400\r\nb=-5\r\nc=0\r\nd=-32768\r\n");
}

TEST_F(IniFile, AWriteReplacesTheFileWholeAndLeavesNoTemporaryFile) {
    given("[S]\r\nK=old\r\n");
    QFile before(ini.FileName());
    ASSERT_TRUE(before.open(QIODevice::ReadOnly));
    struct stat oldStat {};
    ASSERT_EQ(::stat(QFile::encodeName(ini.FileName()).constData(), &oldStat), 0);
    ini.WInI("S", "K", "new value");
    struct stat newStat {};
    ASSERT_EQ(::stat(QFile::encodeName(ini.FileName()).constData(), &newStat), 0);
    EXPECT_NE(oldStat.st_ino, newStat.st_ino);       // a new file took the name
    EXPECT_EQ(before.readAll(), "[S]\r\nK=old\r\n"); // the old one was never cut short
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{"test.ini"});
}

TEST_F(IniFile, AFailedWriteLeavesTheFileAsItWas) {
    given("[S]\r\nK=old\r\n");
    INI elsewhere;
    elsewhere.setFileName(folder.file("no/such/folder/x.ini"));
    elsewhere.WInI("S", "K", "v"); // reports nothing, creates nothing
    EXPECT_FALSE(QFile::exists(elsewhere.FileName()));
    EXPECT_EQ(elsewhere.RINI("S", "K"), "");
}

TEST_F(IniFile, OwnerOnlyFilesAreCreatedAndRewrittenWithMode0600) {
    const mode_t oldMask = ::umask(022);
    ini.setOwnerOnly(true);
    ini.WInI("S", "Pass", "secret");
    EXPECT_EQ(modeOf(ini.FileName()), 0600);
    ::chmod(QFile::encodeName(ini.FileName()).constData(), 0644);
    ini.WInI("S", "Pass", "other");
    EXPECT_EQ(modeOf(ini.FileName()), 0600);

    INI plain; // other files get the usual mode, or keep the one they have
    plain.setFileName(folder.file("plain.ini"));
    plain.WInI("S", "K", "v");
    EXPECT_EQ(modeOf(plain.FileName()), 0644);
    ::chmod(QFile::encodeName(plain.FileName()).constData(), 0640);
    plain.WInI("S", "K", "w");
    EXPECT_EQ(modeOf(plain.FileName()), 0640);
    ::umask(oldMask);
}

TEST_F(IniFile, AChangeOnDiskIsSeenByTheNextRead) {
    given("[S]\r\nK=one\r\n");
    EXPECT_EQ(read("S", "K"), "one");
    given("[S]\r\nK=twenty two\r\n");
    EXPECT_EQ(read("S", "K"), "twenty two");
    QFile::remove(ini.FileName());
    EXPECT_EQ(read("S", "K"), "");
    ini.setFileName(folder.file("other.ini"));
    folder.write("other.ini", "[S]\r\nK=other\r\n");
    EXPECT_EQ(read("S", "K"), "other");
}

TEST_F(IniFile, ABatchOfWritesReplacesTheFileOnceAtItsEnd) {
    given("[S]\r\nK=old\r\n");
    {
        INI::Batch batch(ini);
        ini.WInI("S", "K", "new");
        ini.WInIi("T", "N", 5);
        EXPECT_EQ(bytes(), "[S]\r\nK=old\r\n"); // nothing on disk yet
        EXPECT_EQ(read("S", "K"), "new");       // but reads see the change
        {
            INI::Batch inner(ini);
            ini.WInIb("T", "B", true);
        }
        EXPECT_EQ(bytes(), "[S]\r\nK=old\r\n");
    }
    EXPECT_EQ(bytes(), "[S]\r\nK=new\r\n[T]\r\nN=5\r\nB=True\r\n");
}

TEST_F(IniFile, ABatchStartsFromWhatAnotherInstanceWrote) {
    INI other;
    other.setFileName(ini.FileName());
    ini.WInI("S", "A", "1");
    other.WInI("S", "B", "2");
    {
        INI::Batch batch(ini);
        ini.WInI("S", "C", "3");
    }
    EXPECT_EQ(bytes(), "[S]\r\nA=1\r\nB=2\r\nC=3\r\n");
}

TEST_F(IniFile, TwoInstancesOnOneFileSeeEachOthersWrites) {
    INI second;
    second.setFileName(ini.FileName());
    ini.WInI("S", "A", "1");
    EXPECT_EQ(second.RINI("S", "A"), "1");
    second.WInI("S", "B", "2");
    ini.WInI("S", "C", "3");
    EXPECT_EQ(bytes(), "[S]\r\nA=1\r\nB=2\r\nC=3\r\n");
}

} // namespace
