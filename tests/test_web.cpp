// Picture search addresses: UTF-16 to UTF-8, the query-word encoding and the address of
// each tab.
#include "TestUtil.h"

#include "core/TextUnit.h"
#include "web/InetUtilUnit.h"
#include "web/UTFUnit.h"

#include <gtest/gtest.h>

#include <cctype>
#include <optional>
#include <string>

using namespace nb;
using nbtest::W;

namespace {

// Windows-1251 for tab 0, UTF-8 for the other two.
constexpr bool kUtf8OnTab[] = {false, true, true};

// The value of `key` in the query of an address: from after "key=" up to the next "&"
// or the end. Empty optional when the key is absent.
std::optional<std::string> QueryValue(const std::string& url, const std::string& key) {
    const size_t q = url.find('?');
    if (q == std::string::npos) return std::nullopt;
    size_t pos = q + 1;
    while (pos <= url.size()) {
        size_t end = url.find('&', pos);
        if (end == std::string::npos) end = url.size();
        const std::string pair = url.substr(pos, end - pos);
        if (pair.rfind(key + "=", 0) == 0) return pair.substr(key.size() + 1);
        pos = end + 1;
    }
    return std::nullopt;
}

const char* QueryKey(int tab) {
    static const char* const keys[] = {"text", "q", "p"};
    return keys[tab];
}

} // namespace

TEST(WideToUTF8, EncodesEachUnitByItsRange) {
    EXPECT_EQ(WideToUTF8(u""), "");
    EXPECT_EQ(WideToUTF8(std::u16string(1, u'\0')), std::string(1, '\0'));
    EXPECT_EQ(WideToUTF8(u"a.Z"), "a.Z");
    // The last unit of each length and the first of the next.
    EXPECT_EQ(WideToUTF8(u"\u007F"), "\x7F");
    EXPECT_EQ(WideToUTF8(u"\u0080"), "\xC2\x80");
    EXPECT_EQ(WideToUTF8(u"\u07FF"), "\xDF\xBF");
    EXPECT_EQ(WideToUTF8(u"\u0800"), "\xE0\xA0\x80");
    EXPECT_EQ(WideToUTF8(u"\uFFFF"), "\xEF\xBF\xBF");
    EXPECT_EQ(WideToUTF8(u"кот ёж"), "кот ёж");
    EXPECT_EQ(WideToUTF8(u"€№"), "€№");
}

TEST(WideToUTF8, EncodesSurrogateHalvesOneByOne) {
    // U+1F600 is the pair D83D DE00: two three-byte sequences, not one four-byte one.
    const std::u16string pair = u"\U0001F600";
    ASSERT_EQ(pair.size(), 2u);
    EXPECT_EQ(WideToUTF8(pair), "\xED\xA0\xBD\xED\xB8\x80");
    EXPECT_EQ(WideToUTF8(std::u16string(1, char16_t(0xDC00))), "\xED\xB0\x80");
}

TEST(WideToUTF8, AgreesWithTheCodePageTableForEveryWindows1251Byte) {
    // Every character of Windows-1251 lies in the Basic Multilingual Plane, where this
    // encoding is ordinary UTF-8.
    for (int b = 1; b < 256; ++b) {
        const std::string one(1, static_cast<char>(b));
        EXPECT_EQ(WideToUTF8(Cp1251ToUtf16(one)), Cp1251ToUtf8(one)) << b;
    }
}

TEST(EncodeQueryWord, GivesTheDocumentedExamples) {
    EXPECT_EQ(EncodeQueryWord(W("кот"), false), "%EA%EE%F2");
    EXPECT_EQ(EncodeQueryWord(W("кот"), true), "%D0%BA%D0%BE%D1%82");
    EXPECT_EQ(EncodeQueryWord(W("ёж"), false), "%B8%E6");
    EXPECT_EQ(EncodeQueryWord(W("ёж"), true), "%D1%91%D0%B6");
    EXPECT_EQ(EncodeQueryWord(W("Ёж"), false), "%A8%E6");
    EXPECT_EQ(EncodeQueryWord(W("Ёж"), true), "%D0%81%D0%B6");
    EXPECT_EQ(EncodeQueryWord(W("гнет тот"), false), "%E3%ED%E5%F2+%F2%EE%F2");
    EXPECT_EQ(EncodeQueryWord(W("гнет тот"), true),
              "%D0%B3%D0%BD%D0%B5%D1%82+%D1%82%D0%BE%D1%82");
    for (const bool utf8 : {false, true}) {
        EXPECT_EQ(EncodeQueryWord("a-b_c.d", utf8), "a%2Db%5Fc.d");
        EXPECT_EQ(EncodeQueryWord("", utf8), "");
        EXPECT_EQ(EncodeQueryWord("  ", utf8), "++");
        EXPECT_EQ(EncodeQueryWord("AZaz09.", utf8), "AZaz09.");
        EXPECT_EQ(EncodeQueryWord("C++ 1+1", utf8), "C%2B%2B+1%2B1") << "searched as typed";
    }
}

TEST(EncodeQueryWord, EscapesEveryOtherByteInUpperCaseHex) {
    // What would end or break the query must never pass through.
    for (const bool utf8 : {false, true}) {
        EXPECT_EQ(EncodeQueryWord("&=#?%/", utf8), "%26%3D%23%3F%25%2F") << utf8;
        EXPECT_EQ(EncodeQueryWord("~*'!\"", utf8), "%7E%2A%27%21%22") << utf8;
        EXPECT_EQ(EncodeQueryWord(std::string("\0\t\r\n\x7F", 5), utf8), "%00%09%0D%0A%7F")
            << utf8;
        EXPECT_EQ(EncodeQueryWord("@[`{", utf8), "%40%5B%60%7B") << utf8; // beside A-Z, a-z
        EXPECT_EQ(EncodeQueryWord("/:", utf8), "%2F%3A") << utf8;         // beside 0-9
    }
    EXPECT_EQ(EncodeQueryWord(W("я"), false), "%FF");
    EXPECT_EQ(EncodeQueryWord(W("я"), true), "%D1%8F");
    EXPECT_EQ(EncodeQueryWord("\x98", false), "%98");        // the unassigned byte
    EXPECT_EQ(EncodeQueryWord("\x98", true), "%EF%BF%BD");   // read as U+FFFD
    EXPECT_EQ(EncodeQueryWord(W("№"), true), "%E2%84%96");   // a three-byte character
}

TEST(EncodeQueryWord, EveryByteRoundTripsThroughTheEscapes) {
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    for (const bool utf8 : {false, true}) {
        const std::string enc = EncodeQueryWord(all, utf8);
        std::string back;
        for (size_t i = 0; i < enc.size(); ++i) {
            const char c = enc[i];
            if (c == '%') {
                ASSERT_LE(i + 2, enc.size() - 1) << utf8;
                const std::string hex = enc.substr(i + 1, 2);
                ASSERT_EQ(hex.find_first_not_of("0123456789ABCDEF"), std::string::npos) << hex;
                back += static_cast<char>(std::stoi(hex, nullptr, 16));
                i += 2;
            } else {
                ASSERT_TRUE(isalnum(static_cast<unsigned char>(c)) || c == '+' || c == '.')
                    << "passed through: " << int(static_cast<unsigned char>(c));
                back += c == '+' ? ' ' : c;
            }
        }
        // "+" is escaped, so decoding gives back every byte, "+" and blank alike.
        EXPECT_EQ(back, utf8 ? Cp1251ToUtf8(all) : all) << utf8;
    }
}

TEST(PictureUrl, PutsTheWordIntoEachTabsQueryKeyInItsEncoding) {
    for (int tab = 0; tab < 3; ++tab) {
        SCOPED_TRACE(tab);
        const TPictureSearchTab& t = kPictureSearchTabs[static_cast<size_t>(tab)];
        EXPECT_EQ(t.ThroughUtf8, kUtf8OnTab[tab]);
        for (const char* utf8Word : {"кот", "ёж", "гнет тот", "a-b_c.d"}) {
            const std::string word = W(utf8Word);
            const auto url = MakePictureUrl(tab, word);
            ASSERT_TRUE(url.has_value());
            EXPECT_EQ(url->find(kQueryWordMark), std::string::npos) << *url;
            EXPECT_EQ(QueryValue(*url, QueryKey(tab)), EncodeQueryWord(word, kUtf8OnTab[tab]))
                << *url;
        }
        // The spelled-out values, so that a swapped flag cannot hide behind the function.
        EXPECT_EQ(QueryValue(*MakePictureUrl(tab, W("кот")), QueryKey(tab)),
                  tab == 0 ? "%EA%EE%F2" : "%D0%BA%D0%BE%D1%82");
        EXPECT_EQ(QueryValue(*MakePictureUrl(tab, W("ёж")), QueryKey(tab)),
                  tab == 0 ? "%B8%E6" : "%D1%91%D0%B6");
        EXPECT_EQ(QueryValue(*MakePictureUrl(tab, W("кот ёж")), QueryKey(tab)),
                  tab == 0 ? "%EA%EE%F2+%B8%E6" : "%D0%BA%D0%BE%D1%82+%D1%91%D0%B6");
        EXPECT_EQ(QueryValue(*MakePictureUrl(tab, "a-b_c.d"), QueryKey(tab)), "a%2Db%5Fc.d");
    }
}

TEST(PictureUrl, AddressesAreWebAddressesThatNameTheirEncoding) {
    for (int tab = 0; tab < 3; ++tab) {
        SCOPED_TRACE(tab);
        const std::string url = *MakePictureUrl(tab, W("кот"));
        EXPECT_EQ(url.rfind("https://", 0), 0u) << url;
        // Only the encoded word and the template's own ASCII: nothing a browser would
        // have to guess the encoding of.
        for (const char c : url) EXPECT_LT(static_cast<unsigned char>(c), 0x80) << url;
        EXPECT_EQ(url.find(' '), std::string::npos) << url;
    }
    const std::string google = *MakePictureUrl(1, "x");
    EXPECT_EQ(QueryValue(google, "ie"), "UTF-8");
    EXPECT_EQ(QueryValue(google, "oe"), "UTF-8");
    EXPECT_EQ(QueryValue(*MakePictureUrl(2, "x"), "ei"), "UTF-8");
    // Yandex receives Windows-1251 bytes; claiming UTF-8 there would garble the word.
    const std::string yandex = *MakePictureUrl(0, "x");
    EXPECT_EQ(QueryValue(yandex, "ie"), std::nullopt);
    EXPECT_EQ(QueryValue(yandex, "ei"), std::nullopt);
}

TEST(PictureUrl, EmptyWordLeavesTheKeyEmpty) {
    // Before any word was focused a tab switch searches for the empty word.
    for (int tab = 0; tab < 3; ++tab) {
        const std::string url = *MakePictureUrl(tab, "");
        const std::string key = std::string(QueryKey(tab)) + "=";
        const size_t at = url.find(key);
        ASSERT_NE(at, std::string::npos) << url;
        const size_t after = at + key.size();
        EXPECT_TRUE(after == url.size() || url[after] == '&') << url;
    }
}

TEST(PictureUrl, NoAddressForAnIndexThatIsNoTab) {
    EXPECT_EQ(MakePictureUrl(-1, W("кот")), std::nullopt);
    EXPECT_EQ(MakePictureUrl(3, W("кот")), std::nullopt);
    EXPECT_EQ(MakePictureUrl(100, ""), std::nullopt);
}
