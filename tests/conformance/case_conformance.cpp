// Letter case of names in every script, on both registries: the program's
// upper case of a name addresses the key the registry finds by it, and
// letters the registry keeps apart stay apart.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "base/text.h"
#include "catalogue/common.h"
#include "conformance/registry_conformance.h"

namespace brv {
namespace {

const char* const kBase = kConformanceBase;

std::string U8(const std::u16string& units) {
  return Utf16ToUtf8(units);
}

using CaseConformance = ConformanceTest;

TEST_F(CaseConformance, UpperCaseOfAnyScriptOpensTheSameKey) {
  const std::string names[] = {
      U8(u"\u0561\u0562\u0563"),  // Armenian
      U8(u"\u10D0\u10D1"),        // Georgian Mkhedruli (capitals since Unicode 11)
      U8(u"\u2D00"),              // Georgian Nuskhuri
      U8(u"\uAB70\u13F8"),        // Cherokee
      U8(u"\u2C30\u2C5F"),        // Glagolitic
      U8(u"\u2C81\u03E3"),        // Coptic
      U8(u"\u0180\u01C6\u0253"),  // Latin Extended-B, IPA
      U8(u"\u1E01\uA723"),        // Latin Extended Additional, Extended-D
      U8(u"\u1F80\u1FB3"),        // Greek Extended
      U8(u"\u0501\uA641"),        // Cyrillic Supplement, Extended-B
      U8(u"\u00FF\u00E0\u03C3"),  // Latin-1, Greek
  };
  for (const std::string& name : names) {
    SCOPED_TRACE(name);
    const std::string upper = UpperCase(name);
    ASSERT_NE(name, upper);
    auto key = Create(name);
    ASSERT_TRUE(key);
    ASSERT_EQ(kErrorSuccess, key->SetValue("v", {kRegSz, Utf8ToUtf16LeBytes(name, true)}));
    std::unique_ptr<RegKey> same;
    ASSERT_EQ(kErrorSuccess, reg.OpenKey(kCurrentUser, std::string(kBase) + "\\" + upper,
                                         Registry::Access::Read, &same));
    RegData data;
    EXPECT_EQ(kErrorSuccess, same->QueryValue("v", &data));
    EXPECT_EQ(Utf8ToUtf16LeBytes(name, true), data.bytes);
    Create(upper);  // opens it: no twin
    EXPECT_EQ(std::vector<std::string>{name}, SubKeyNames(reg, kCurrentUser, kBase));
    EXPECT_EQ(kErrorSuccess, reg.DeleteTree(kCurrentUser, std::string(kBase) + "\\" + upper));
  }
}

TEST_F(CaseConformance, LettersWithoutAPairAreKeysOfTheirOwn) {
  // Each of these has a single-letter upper or lower case in Unicode that
  // maps back to another letter; the registry keeps the two keys apart.
  const std::pair<std::u16string, std::u16string> pairs[] = {
      {u"\u0131", u"I"},               // dotless i
      {u"\u017F", u"S"},               // long s
      {u"\u00B5", u"\u039C"},          // micro sign, capital mu
      {u"\u03C2", u"\u03A3"},          // final sigma, capital sigma
      {u"\u01C5", u"\u01C4"},          // title case and capital Dz with caron
      {u"\u1C80", u"\u0412"},          // Cyrillic rounded ve, capital ve
      {u"\u212A", u"k"},               // Kelvin sign
      {u"\u0130", u"i"},               // capital i with dot above
      {u"\u1E9E", u"\u00DF"},          // capital and small sharp s
      {u"\u00DF", u"SS"},              // sharp s and its two-letter upper case
      {u"\U00010428", u"\U00010400"},  // Deseret, beyond the Basic Multilingual Plane
  };
  for (const auto& [a, b] : pairs) {
    const std::string first = U8(a);
    const std::string second = U8(b);
    SCOPED_TRACE(first + " " + second);
    EXPECT_NE(UpperCase(first), UpperCase(second));
    Create(first);
    Create(second);
    EXPECT_EQ(2u, SubKeyNames(reg, kCurrentUser, kBase).size());
    EXPECT_EQ(kErrorSuccess, reg.DeleteTree(kCurrentUser, std::string(kBase) + "\\" + first));
    EXPECT_EQ(std::vector<std::string>{second}, SubKeyNames(reg, kCurrentUser, kBase));
    EXPECT_EQ(kErrorSuccess, reg.DeleteTree(kCurrentUser, std::string(kBase) + "\\" + second));
  }
}

TEST_F(CaseConformance, CasedScriptsSortByTheirLowerCase) {
  // Georgian and Cherokee keep their lower and upper case far apart, with
  // caseless letters between: Lepcha U+1C00 and Hangul U+3131.
  for (const char16_t* name : {u"\u1C00", u"\u1C90", u"\u3131", u"\u13A0", u"\u10D1", u"\uAB71"}) {
    Create(U8(name));
  }
  EXPECT_EQ((std::vector<std::string>{U8(u"\u1C90"), U8(u"\u10D1"), U8(u"\u1C00"), U8(u"\u3131"),
                                      U8(u"\u13A0"), U8(u"\uAB71")}),
            SubKeyNames(reg, kCurrentUser, kBase));
}

}  // namespace
}  // namespace brv
