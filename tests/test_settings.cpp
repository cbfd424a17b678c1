// The INI file, the settings record and the code tables.
#include "TestUtil.h"

#include "code/CodeTableUnit.h"
#include "core/FileUnit.h"
#include "core/IniFileUnit.h"
#include "core/SettingsUnit.h"
#include "core/UtilsUnit.h"

#include <algorithm>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace nb;
using nbtest::TempDir;
using nbtest::W;
using ::testing::ElementsAre;

namespace {

std::vector<std::pair<int, std::string>> Pairs(const TCodeRec& t) {
    std::vector<std::pair<int, std::string>> out;
    for (const auto& p : t.Letters) out.emplace_back(p.Digit, std::string(1, p.Letter));
    return out;
}

} // namespace

TEST(IniFile, ReadsTypedValuesWithDefaults) {
    TempDir dir;
    dir.Write("s.ini", "[Main]\r\n"
                       "  Text =  hello world  \r\n"
                       "Hex=0xFF\r\nHexUpper=0XfF\r\nNeg=-17\r\nPlus=+5\r\nBare0x=0x\r\n"
                       "Junk=12abc\r\nBig=99999999999\r\nAllOnes=0xFFFFFFFF\r\nEmpty=\r\n"
                       "[Other]\r\nText=other\r\n");
    TIniFile ini(dir / "s.ini");
    EXPECT_EQ(ini.ReadString("main", "text", "d"), "hello world");
    EXPECT_EQ(ini.ReadString("Main", "Missing", "d"), "d");
    EXPECT_EQ(ini.ReadString("Nope", "Text", "d"), "d");
    EXPECT_EQ(ini.ReadInteger("Main", "Hex", 1), 255);
    EXPECT_EQ(ini.ReadInteger("Main", "HexUpper", 1), 255);
    EXPECT_EQ(ini.ReadInteger("Main", "Neg", 1), -17);
    EXPECT_EQ(ini.ReadInteger("Main", "Plus", 1), 5);
    EXPECT_EQ(ini.ReadInteger("Main", "Bare0x", 1), 1);
    EXPECT_EQ(ini.ReadInteger("Main", "Junk", 1), 1);
    EXPECT_EQ(ini.ReadInteger("Main", "Big", 1), 1);
    EXPECT_EQ(ini.ReadInteger("Main", "AllOnes", 1), -1);
    EXPECT_EQ(ini.ReadInteger("Main", "Empty", 3), 3);
    EXPECT_TRUE(ini.ReadBool("Main", "Neg", false));
    EXPECT_TRUE(ini.ReadBool("Main", "Junk", true));
    EXPECT_FALSE(ini.ReadBool("Main", "Junk", false));
    EXPECT_THAT(ini.ReadSections(), ElementsAre("Main", "Other"));
}

TEST(IniFile, LongValuesAreCutAndDuplicatesIgnored) {
    TempDir dir;
    dir.Write("s.ini", "[A]\r\nk=" + std::string(5000, 'x') + "\r\nk=second\r\n[a]\r\nz=1\r\n");
    TIniFile ini(dir / "s.ini");
    EXPECT_EQ(ini.ReadString("A", "k", "").size(), 2047u);
    EXPECT_EQ(ini.ReadInteger("A", "z", 7), 7) << "only the first section of a name counts";
    EXPECT_THAT(ini.ReadSections(), ElementsAre("A"));
}

TEST(IniFile, WritesKeepEverythingElseAndCreateTheFile) {
    TempDir dir;
    TIniFile ini(dir / "s.ini");
    ini.WriteInteger("NumbreliaSettings", "FirstStart", 0);
    ini.WriteString("CacheCRC", "Classic", "1=5,2=5,3=5,4=5");
    ini.WriteString("numbreliasettings", "CodeCode", "Major");
    ini.WriteInteger("NumbreliaSettings", "firststart", 1);
    EXPECT_EQ(dir.Read("s.ini"), "[NumbreliaSettings]\r\nFirstStart=1\r\nCodeCode=Major\r\n"
                                 "[CacheCRC]\r\nClassic=1=5,2=5,3=5,4=5\r\n");
    // Every write looks at the file as it is now.
    dir.Write("s.ini", "; hand comment\r\n[CacheCRC]\r\nOld=x\r\n\r\n[Z]\r\nq=1\r\n");
    ini.WriteString("CacheCRC", "New", "y");
    EXPECT_EQ(dir.Read("s.ini"),
              "; hand comment\r\n[CacheCRC]\r\nOld=x\r\nNew=y\r\n\r\n[Z]\r\nq=1\r\n");
}

TEST(IniFile, ARefusedWriteSaysSoAndKeepsTheFile) {
    TempDir dir;
    dir.Write("s.ini", "[A]\r\nk=1\r\n");
    ::chmod((dir / "s.ini").c_str(), 0444);
    TIniFile ini(dir / "s.ini");
    try {
        ini.WriteInteger("A", "k", 2);
        FAIL();
    } catch (const EError& e) {
        EXPECT_EQ(std::string(e.what()), "Unable to write to " + (dir / "s.ini") + ". Permission denied");
    }
    EXPECT_EQ(dir.Read("s.ini"), "[A]\r\nk=1\r\n");
    TIniFile nowhere(dir / "missing/s.ini");
    EXPECT_THROW(nowhere.WriteBool("A", "b", true), EError);
}

TEST(Settings, FirstRunGivesTheDefaults) {
    TempDir dir;
    const TCodeRecArr tables{{"Classic", "C", {}}, {"Major", "M", {}}};
    TProgSettings s;
    TLayoutSettings layout;
    LoadSettings(TIniFile(dir / "settings.ini"), tables, s, layout);
    EXPECT_EQ(s.CodeCode, "Classic");
    EXPECT_EQ(s.LetterColor, 255);
    EXPECT_FALSE(s.ShowPic);
    EXPECT_EQ(s.VariantMakeType, 0);
    EXPECT_FALSE(s.AddNull);
    EXPECT_EQ(layout.VariantsVirtualStringTreeWidth, 225);
    EXPECT_EQ(layout.BrowserPanelHeight, 240);
    EXPECT_FALSE(layout.HideSettings);
    EXPECT_FALSE(s.FamiliarFirst);
    EXPECT_FALSE(dir.Exists("settings.ini")) << "reading never creates the file";
}

TEST(Settings, BadValuesReadAsDefaultsAndAreWrittenBackCorrected) {
    TempDir dir;
    dir.Write("settings.ini", "[NumbreliaSettings]\r\nCodeCode=Nowhere\r\nLetterColor=0xFF\r\n"
                              "ShowPic=yes\r\nVariantMakeType=7\r\nAddNull=2\r\n"
                              "VariantsVirtualStringTreeWidth=wide\r\nBrowserPanelHeight=-\r\n"
                              "HideSettings=1\r\nFamiliarFirst=yes\r\nReviewNewCardsPerDay=-3\r\n"
                              "ReviewDesiredRetention=0.5\r\n");
    const TCodeRecArr tables{{"Classic", "C", {}}, {"Major", "M", {}}};
    TIniFile ini(dir / "settings.ini");
    TProgSettings s;
    TLayoutSettings layout{300, 100, false};
    LoadSettings(ini, tables, s, layout);
    EXPECT_EQ(s.CodeCode, "Classic");
    EXPECT_EQ(s.LetterColor, 255);
    EXPECT_FALSE(s.ShowPic);
    EXPECT_EQ(s.VariantMakeType, 0);
    EXPECT_TRUE(s.AddNull);
    EXPECT_EQ(layout.VariantsVirtualStringTreeWidth, 300) << "the control's own size is the default";
    EXPECT_EQ(layout.BrowserPanelHeight, 100);
    EXPECT_TRUE(layout.HideSettings);
    EXPECT_FALSE(s.FamiliarFirst);
    EXPECT_EQ(s.ReviewNewCardsPerDay, 0);
    EXPECT_EQ(s.ReviewDesiredRetention, 0.90);

    SaveSettings(ini, s, layout);
    EXPECT_EQ(dir.Read("settings.ini"),
              "[NumbreliaSettings]\r\nCodeCode=Classic\r\nLetterColor=255\r\nShowPic=0\r\n"
              "VariantMakeType=0\r\nAddNull=1\r\nVariantsVirtualStringTreeWidth=300\r\n"
              "BrowserPanelHeight=100\r\nHideSettings=1\r\nFamiliarFirst=0\r\n"
              "ReviewNewCardsPerDay=0\r\nReviewDesiredRetention=0.90\r\n");
}

TEST(Settings, RoundTripAndCaseInsensitiveTable) {
    TempDir dir;
    const TCodeRecArr tables{{"Classic", "C", {}}, {"Major", "M", {}}};
    TIniFile ini(dir / "settings.ini");
    TProgSettings out{"Major", -2147483643, true, 2, true, true};
    out.ReviewNewCardsPerDay = 7;
    out.ReviewDesiredRetention = 0.85;
    out.BestVariantFirst = true;
    SaveSettings(ini, out, {180, 320, false});
    TProgSettings in;
    TLayoutSettings layout;
    LoadSettings(ini, tables, in, layout);
    EXPECT_EQ(in.CodeCode, "Major");
    EXPECT_EQ(in.LetterColor, -2147483643) << "system colours are negative in the file";
    EXPECT_TRUE(in.ShowPic);
    EXPECT_EQ(in.VariantMakeType, 2);
    EXPECT_TRUE(in.AddNull);
    EXPECT_TRUE(in.FamiliarFirst);
    EXPECT_EQ(in.ReviewNewCardsPerDay, 7);
    EXPECT_EQ(in.ReviewDesiredRetention, 0.85);
    EXPECT_EQ(layout.VariantsVirtualStringTreeWidth, 180);
    EXPECT_EQ(layout.BrowserPanelHeight, 320);
    EXPECT_TRUE(in.BestVariantFirst);
    // Once set, the key stays when it is turned off again.
    out.BestVariantFirst = false;
    SaveSettings(ini, out, {180, 320, false});
    EXPECT_THAT(dir.Read("settings.ini"), ::testing::HasSubstr("BestVariantFirst=0\r\n"));

    ini.WriteString(kSettingsSection, "CodeCode", "mAJOR");
    LoadSettings(ini, tables, in, layout);
    EXPECT_EQ(in.CodeCode, "mAJOR");
    EXPECT_EQ(SelectCodeTable(tables, in.CodeCode).Ident, "Major")
        << "the table is selected with case ignored, like the check";
}

TEST(CodeTables, ItemsGiveTheirFirstLetterLowerCased) {
    TempDir dir;
    dir.Write("Codes.ini", W("[Sample]\r\nName=Пример\r\n0=н\r\n1=гж\r\n2=д,т\r\n3=Т\r\n"
                             "4=\"л\"\r\n6=г ж\r\n7=,,\r\n8=a,,b,\r\nX=ignored\r\n"
                             "[Second]\r\n9=р\r\n"));
    const TCodeRecArr tables = LoadCodeTables(dir / "Codes.ini");
    ASSERT_EQ(tables.size(), 2u);
    EXPECT_EQ(tables[0].Ident, "Sample");
    EXPECT_EQ(tables[0].Name, W("Пример"));
    using P = std::pair<int, std::string>;
    EXPECT_THAT(Pairs(tables[0]),
                ElementsAre(P{0, W("н")}, P{1, W("г")}, P{2, W("д")}, P{2, W("т")}, P{3, W("т")},
                            P{4, W("л")}, P{6, W("г")}, P{6, W("ж")}, P{8, "a"}, P{8, "b"}));
    EXPECT_EQ(tables[1].Name, "");
    EXPECT_THAT(Pairs(tables[1]), ElementsAre(P{9, W("р")}));
}

TEST(CodeTables, MissingFileAndStoredIdentifiers) {
    TempDir dir;
    EXPECT_TRUE(LoadCodeTables(dir / "none.ini").empty());
    EXPECT_EQ(CheckCodeCode("x", {}), "");
    const TCodeRecArr tables{{"A", "same", {}}, {"B", "same", {}}};
    EXPECT_EQ(CheckCodeCode("b", tables), "b");
    EXPECT_EQ(CheckCodeCode("C", tables), "A");
    EXPECT_EQ(SelectCodeTable(tables, "C").Ident, "");
    EXPECT_EQ(FindCodeTable(tables, "B"), 1);
}

TEST(CodeTables, TheShippedTablesAreSound) {
    const TCodeRecArr tables = LoadCodeTables(NUMBRELIA_DATA_DIR "/Data/Codes.ini");
    ASSERT_GE(tables.size(), 2u);
    for (const auto& t : tables) {
        EXPECT_FALSE(t.Name.empty());
        EXPECT_EQ(t.Ident.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"
                                            "0123456789_-"),
                  std::string::npos)
            << "identifiers name cache files";
        bool digit[10] = {};
        for (const auto& p : t.Letters) {
            digit[p.Digit] = true;
            const auto c = static_cast<unsigned char>(p.Letter);
            EXPECT_TRUE(c >= 0xE0 || c == 0xB8) << "a Russian lower-case letter";
        }
        for (bool d : digit) EXPECT_TRUE(d) << t.Ident << " gives every digit letters";
        // Every consonant but й has a digit, so that no word (ухо, цех) is left without a code.
        for (char c : W("бвгджзклмнпрстфхцчшщ"))
            EXPECT_TRUE(std::any_of(t.Letters.begin(), t.Letters.end(),
                                    [c](const auto& p) { return p.Letter == c; }))
                << t.Ident << " codes letter " << int(static_cast<unsigned char>(c));
    }
    EXPECT_EQ(tables[0].Letters.front().Letter, W("н")[0]) << "the school code comes first";
}

TEST(Paths, APortableFolderWinsAndAnInstalledOneUsesTheUsersFolder) {
    TempDir dir;
    dir.Write("usr/share/numbrelia/Data/Codes.ini", "[Classic]\r\n");
    dir.Write("usr/share/numbrelia/Data/dic.lst", "shipped\r\n");
    dir.Write("usr/portable/Data/dic.lst", "portable\r\n");
    const std::string bin = dir / "usr/bin";
    EXPECT_FALSE(LayoutFor(dir / "usr/portable", dir / "xdg", "").Installed()) << "Data/ beside it";
    EXPECT_EQ(LayoutFor(dir / "opt", "", dir / "home").Folder, dir / "opt") << "no shared data";

    const TPaths xdg = LayoutFor(bin, dir / "xdg", dir / "home");
    EXPECT_EQ(xdg.Settings(), dir / "xdg/numbrelia/settings.ini");
    EXPECT_EQ(xdg.HelpIndex(), dir / "usr/share/numbrelia/Help/index.htm");
    const TPaths home = LayoutFor(bin, "relative/xdg", dir / "home");
    EXPECT_EQ(home.Dictionary(), dir / "home/.local/share/numbrelia/Data/dic.lst");
    EXPECT_EQ(home.ShippedDictionary(), dir / "usr/share/numbrelia/Data/dic.lst");

    PrepareUserFolder(home);
    EXPECT_EQ(dir.Read("home/.local/share/numbrelia/Data/dic.lst"), "shipped\r\n");
    EXPECT_EQ(dir.Read("home/.local/share/numbrelia/Data/Codes.ini"), "[Classic]\r\n");
    dir.Write("home/.local/share/numbrelia/Data/dic.lst", "mine\r\n");
    PrepareUserFolder(home);
    EXPECT_EQ(dir.Read("home/.local/share/numbrelia/Data/dic.lst"), "mine\r\n") << "never replaced";
    EXPECT_FALSE(dir.Exists("home/.local/share/numbrelia/Data/dic.lst.shipped"));

    dir.Write("blocked", "a file where the folder should be");
    try {
        PrepareUserFolder(LayoutFor(bin, dir / "blocked", ""));
        ADD_FAILURE() << "no error for a user folder that cannot be made";
    } catch (const EError& e) {
        EXPECT_THAT(e.what(), ::testing::HasSubstr((dir / "blocked/numbrelia") + "\""));
    }
}
