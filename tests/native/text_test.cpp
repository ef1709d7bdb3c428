// Case mapping of UTF-16 units and of names: every script, one unit to one
// unit, as the registry compares names (checked against it by
// RegistryConformance.UpperCasedNamesAddressTheSameKey).
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "base/text.h"

namespace brv {
namespace {

struct Pair {
  char16_t lower;
  char16_t upper;
};

// Lower- and upper-case pairs of scripts outside Latin-1, Greek and Cyrillic.
const Pair kPairs[] = {
    {0x0561, 0x0531},  // Armenian ayb
    {0x0586, 0x0556},  // Armenian feh, the last pair
    {0x10D0, 0x1C90},  // Georgian Mkhedruli an, Mtavruli capital
    {0x10FA, 0x1CBA},  // Georgian ain
    {0x10FD, 0x1CBD},  // Georgian aen, after the gap at U+10FB, U+10FC
    {0x2D00, 0x10A0},  // Georgian Nuskhuri an, Asomtavruli capital
    {0xAB70, 0x13A0},  // Cherokee small a
    {0xABBF, 0x13EF},  // Cherokee small ya
    {0x13F8, 0x13F0},  // Cherokee small ye, the lower block before the upper
    {0x0180, 0x0243},  // Latin Extended-B b with stroke
    {0x01C6, 0x01C4},  // dz with caron
    {0x0253, 0x0181},  // IPA b with hook
    {0x1E01, 0x1E00},  // Latin Extended Additional a with ring below
    {0x1EFF, 0x1EFE},  // y with loop
    {0xA723, 0xA722},  // Latin Extended-D egyptological alef
    {0x2C81, 0x2C80},  // Coptic alfa
    {0x03E3, 0x03E2},  // Coptic shei in the Greek block
    {0x2C30, 0x2C00},  // Glagolitic azu
    {0x2C5F, 0x2C2F},  // Glagolitic caudate chrivi (Unicode 14)
    {0x1F00, 0x1F08},  // Greek Extended alpha with psili
    {0x0501, 0x0500},  // Cyrillic Supplement komi de
    {0xA641, 0xA640},  // Cyrillic Extended-B zemlya
    {0x1F80, 0x1F88},  // alpha with ypogegrammeni: the simple mapping
    {0x1FB3, 0x1FBC},  // alpha with ypogegrammeni, title case
    {0x24D0, 0x24B6},  // circled latin a
    {0x2170, 0x2160},  // small roman numeral one
    {0xFF41, 0xFF21},  // full-width a
};

TEST(CaseMapping, EveryScriptMapsBothWays) {
  for (const Pair& p : kPairs) {
    SCOPED_TRACE(testing::Message() << std::hex << "U+" << static_cast<int>(p.lower));
    EXPECT_EQ(p.upper, UpperUnit(p.lower));
    EXPECT_EQ(p.upper, UpperUnit(p.upper));  // upper case stays
    EXPECT_EQ(p.lower, LowerUnit(p.upper));
    EXPECT_EQ(p.lower, LowerUnit(p.lower));
  }
  // What the earlier scripts did stays: ASCII, Latin-1, Extended-A, Greek, Cyrillic.
  EXPECT_EQ(u'Z', UpperUnit(u'z'));
  EXPECT_EQ(u'z', LowerUnit(u'Z'));
  EXPECT_EQ(u'@', UpperUnit(u'@'));
  EXPECT_EQ(u'`', UpperUnit(u'`'));
  EXPECT_EQ(u'{', UpperUnit(u'{'));
  EXPECT_EQ(0x00C0, UpperUnit(0x00E0));
  EXPECT_EQ(0x00F7, UpperUnit(0x00F7));  // division sign
  EXPECT_EQ(0x00D7, LowerUnit(0x00D7));  // multiplication sign
  EXPECT_EQ(0x0100, UpperUnit(0x0101));
  EXPECT_EQ(0x0139, UpperUnit(0x013A));
  EXPECT_EQ(0x017D, UpperUnit(0x017E));
  EXPECT_EQ(0x0391, UpperUnit(0x03B1));
  EXPECT_EQ(0x03AB, UpperUnit(0x03CB));
  EXPECT_EQ(0x0410, UpperUnit(0x0430));
  EXPECT_EQ(0x0400, UpperUnit(0x0450));
  EXPECT_EQ(0x040F, UpperUnit(0x045F));
}

TEST(CaseMapping, OnlyLettersThatPairBackChangeCase) {
  EXPECT_EQ(0x0178, UpperUnit(0x00FF));  // y with diaeresis leaves Latin-1
  EXPECT_EQ(0x00FF, LowerUnit(0x0178));
  EXPECT_EQ(0x03A3, UpperUnit(0x03C3));
  EXPECT_EQ(0x03C3, LowerUnit(0x03A3));
  EXPECT_EQ(0x039C, UpperUnit(0x03BC));
  EXPECT_EQ(u'I', UpperUnit(u'i'));  // not the dotted capital
  EXPECT_EQ(u'i', LowerUnit(u'I'));
  EXPECT_EQ(0x01C4, UpperUnit(0x01C6));  // dz with caron
  // Upper case of more than one letter: the letter stays.
  EXPECT_EQ(0x00DF, UpperUnit(0x00DF));  // sharp s (SS)
  EXPECT_EQ(0x0149, UpperUnit(0x0149));  // n preceded by apostrophe
  EXPECT_EQ(0x01F0, UpperUnit(0x01F0));  // j with caron
  EXPECT_EQ(0x0390, UpperUnit(0x0390));  // iota with dialytika and tonos
  EXPECT_EQ(0x0587, UpperUnit(0x0587));  // Armenian ech yiwn
  EXPECT_EQ(0xFB00, UpperUnit(0xFB00));  // ff ligature
  // A single upper case whose own lower case is another letter: the registry
  // keeps these apart from that capital, so they stay too.
  for (char16_t c : {0x00B5,     // micro sign (capital mu lowers to mu)
                     0x03C2,     // final sigma
                     0x0131,     // dotless i
                     0x017F,     // long s
                     0x01C5,     // title case Dz with caron
                     0x0345,     // combining ypogegrammeni
                     0x03D0,     // beta symbol
                     0x1C80,     // Cyrillic rounded ve
                     0x1C88,     // Cyrillic unblended uk
                     0x1E9B,     // long s with dot above
                     0x1FBE}) {  // prosgegrammeni
    EXPECT_EQ(c, UpperUnit(c)) << std::hex << static_cast<int>(c);
    EXPECT_EQ(c, LowerUnit(c)) << std::hex << static_cast<int>(c);
  }
  // And a capital whose lower case upper-cases to another capital.
  for (char16_t c : {0x0130, 0x03F4, 0x1E9E, 0x2126, 0x212A, 0x212B}) {
    EXPECT_EQ(c, LowerUnit(c)) << std::hex << static_cast<int>(c);
    EXPECT_EQ(c, UpperUnit(c)) << std::hex << static_cast<int>(c);
  }
}

TEST(CaseMapping, UnitsWithoutCaseAndSurrogatesStay) {
  for (char32_t c = 0xD800; c <= 0xDFFF; ++c) {
    ASSERT_EQ(c, UpperUnit(static_cast<char16_t>(c)));
    ASSERT_EQ(c, LowerUnit(static_cast<char16_t>(c)));
  }
  for (char32_t c : {0x4E00, 0x6C34, 0x9FFF, 0x3042, 0x30A2, 0xAC00, 0xD7A3, 0xE000, 0xF8FF, 0xFFFD,
                     0xFFFF, 0x0000, 0x0030, 0x05D0, 0x0627, 0x0905, 0x0E01}) {
    EXPECT_EQ(c, UpperUnit(static_cast<char16_t>(c))) << std::hex << static_cast<int>(c);
    EXPECT_EQ(c, LowerUnit(static_cast<char16_t>(c))) << std::hex << static_cast<int>(c);
  }
  // Pairs: a changed unit changes back, and no two units share a case.
  int pairs = 0;
  for (char32_t c = 0; c <= 0xFFFF; ++c) {
    const char16_t unit = static_cast<char16_t>(c);
    const char16_t u = UpperUnit(unit);
    const char16_t l = LowerUnit(unit);
    ASSERT_TRUE(u == unit || l == unit) << std::hex << static_cast<int>(c);
    if (u != unit) {
      ASSERT_EQ(unit, LowerUnit(u)) << std::hex << static_cast<int>(c);
      ++pairs;
    }
    if (l != unit) {
      ASSERT_EQ(unit, UpperUnit(l)) << std::hex << static_cast<int>(c);
    }
  }
  EXPECT_EQ(1163, pairs);  // Unicode 15.0
}

TEST(CaseMapping, UpperCaseOfNamesMapsUnitByUnit) {
  EXPECT_EQ(Utf16ToUtf8(u"\u0531\u0532 {AB-\u1C90}"),
            UpperCase(Utf16ToUtf8(u"\u0561\u0562 {ab-\u10D0}")));
  EXPECT_EQ(Utf16ToUtf8(u"\u13A0\u2C00\u2C80\u1E00\u0178\u039C\u03A3\u00DF\u00B5"),
            UpperCase(Utf16ToUtf8(u"\uAB70\u2C30\u2C81\u1E01\u00FF\u03BC\u03C3\u00DF\u00B5")));
  // Deseret lies beyond the Basic Multilingual Plane: the pair stays as stored.
  const std::string deseret = Utf16ToUtf8(u"\U00010428x");
  EXPECT_EQ(Utf16ToUtf8(u"\U00010428X"), UpperCase(deseret));
  // A lone surrogate and a NUL inside a name travel through unchanged.
  const std::u16string lone = {u'a', 0xDC28, u'\0', 0xD801, 0x0561};
  EXPECT_EQ(Utf16ToUtf8(std::u16string{u'A', 0xDC28, u'\0', 0xD801, 0x0531}),
            UpperCase(Utf16ToUtf8(lone)));
  EXPECT_EQ(std::string("{A\0B}", 5), UpperCase(std::string("{a\0b}", 5)));
  EXPECT_EQ(Utf16ToUtf8(u"\u6C34\u30A2"), UpperCase(Utf16ToUtf8(u"\u6C34\u30A2")));
}

// The packed table against the pairs of the data it was made from, when that
// is installed.
TEST(CaseMapping, TableMatchesUnicodeData) {
  std::ifstream data("/usr/share/unicode/UnicodeData.txt");
  if (!data) GTEST_SKIP() << "UnicodeData.txt not installed";
  std::vector<char16_t> upper(0x10000);
  std::vector<char16_t> lower(0x10000);
  for (char32_t c = 0; c <= 0xFFFF; ++c) upper[c] = lower[c] = static_cast<char16_t>(c);
  std::string line;
  while (std::getline(data, line)) {
    std::vector<std::string> fields;
    std::stringstream in(line);
    for (std::string f; std::getline(in, f, ';');) fields.push_back(f);
    fields.resize(15);  // empty last fields
    const unsigned long code = std::stoul(fields[0], nullptr, 16);
    if (code > 0xFFFF) continue;
    if (!fields[12].empty() && std::stoul(fields[12], nullptr, 16) <= 0xFFFF)
      upper[code] = static_cast<char16_t>(std::stoul(fields[12], nullptr, 16));
    if (!fields[13].empty() && std::stoul(fields[13], nullptr, 16) <= 0xFFFF)
      lower[code] = static_cast<char16_t>(std::stoul(fields[13], nullptr, 16));
  }
  const std::vector<char16_t> toUpper = upper;
  const std::vector<char16_t> toLower = lower;
  for (char32_t c = 0; c <= 0xFFFF; ++c) {  // pairs only
    if (toLower[toUpper[c]] != c) upper[c] = static_cast<char16_t>(c);
    if (toUpper[toLower[c]] != c) lower[c] = static_cast<char16_t>(c);
  }
  int differences = 0;
  for (char32_t c = 0; c <= 0xFFFF; ++c) {
    const char16_t u = static_cast<char16_t>(c);
    if (UpperUnit(u) != upper[c] || LowerUnit(u) != lower[c]) {
      if (++differences <= 10) ADD_FAILURE() << "U+" << std::hex << static_cast<int>(c);
    }
  }
  EXPECT_EQ(0, differences);
}

}  // namespace
}  // namespace brv
