// Registry links, on both registries: opening a path follows a link, opening
// it as a link does not, and deletes take the link, never its target.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "base/text.h"
#include "catalogue/common.h"
#include "conformance/registry_conformance.h"
#include "registry/module1.h"

namespace brv {
namespace {

const char* const kBase = kConformanceBase;

RegAddress At(const std::string& path) {
  return RegAddress{kCurrentUser, View::k64, path};
}

class LinkConformance : public ::testing::Test {
 protected:
  void SetUp() override {
    Clean();
    std::unique_ptr<RegKey> key;
    ASSERT_EQ(kErrorSuccess, reg.CreateKey(At(Under("target\\sub")), &key));
    ASSERT_EQ(kErrorSuccess, key->SetValue("deep", Sz("below the target")));
    ASSERT_EQ(kErrorSuccess, reg.CreateKey(At(Under("target")), &key));
    ASSERT_EQ(kErrorSuccess, key->SetValue("v", Sz("the target's")));
  }
  void TearDown() override { Clean(); }
  // The links first, each as a link, then the rest.
  void Clean() {
    for (const std::string& link : links) reg.DeleteTree(At(link));
    reg.DeleteTree(At(kBase));
  }

  void Link(const std::string& name, const std::string& target) {
    links.push_back(Under(name));
    ASSERT_TRUE(MakeRawLink(Under(name), Under(target))) << name;
  }
  std::string Read(const std::string& path, const std::string& value) {
    return CutAtNul(GetRegString(reg, At(path), value));
  }
  // The target and everything below it as they were made.
  void ExpectTargetWhole() {
    EXPECT_EQ("the target's", Read(Under("target"), "v"));
    EXPECT_EQ(std::vector<std::string>{"v"}, ValueNames(reg, At(Under("target"))));
    EXPECT_EQ(std::vector<std::string>{"sub"}, SubKeyNames(reg, At(Under("target"))));
    EXPECT_EQ("below the target", Read(Under("target\\sub"), "deep"));
  }
  std::string FullName(long (Registry::*open)(const RegAddress&, std::unique_ptr<RegKey>*),
                       const std::string& path) {
    std::unique_ptr<RegKey> key;
    std::string name;
    if ((reg.*open)(At(path), &key) != kErrorSuccess) return "(not opened)";
    EXPECT_EQ(kErrorSuccess, key->FullName(&name));
    return name;
  }
  Registry& reg = ConformanceRegistry();
  std::vector<std::string> links;
};

TEST_F(LinkConformance, OpeningFollowsALinkAndOpeningTheLinkDoesNot) {
  Link("link", "target");
  EXPECT_EQ((std::vector<std::string>{"link", "target"}), SubKeyNames(reg, At(kBase)));
  // Through the link: the target's values and sub-keys, also further down.
  EXPECT_EQ("the target's", Read(Under("link"), "v"));
  EXPECT_EQ(std::vector<std::string>{"sub"}, SubKeyNames(reg, At(Under("link"))));
  EXPECT_EQ("below the target", Read(Under("link\\sub"), "deep"));
  EXPECT_EQ(KeyName(reg, At(Under("target"))), KeyName(reg, At(Under("link"))));
  // As a link: the link key itself, without the target's values.
  const std::string linkName = FullName(&Registry::OpenLink, Under("link"));
  EXPECT_NE(KeyName(reg, At(Under("target"))), linkName);
  EXPECT_NE(std::string::npos, linkName.find("link")) << linkName;
  std::unique_ptr<RegKey> key;
  ASSERT_EQ(kErrorSuccess, reg.OpenLink(At(Under("link")), &key));
  RegData data;
  EXPECT_EQ(kErrorFileNotFound, key->QueryValue("v", &data));
  std::string name;
  EXPECT_EQ(kErrorNoMoreItems, key->EnumKey(0, &name));
  // A link on the way to the key asked for is followed even so.
  EXPECT_EQ(KeyName(reg, At(Under("target\\sub"))),
            FullName(&Registry::OpenLink, Under("link\\sub")));
  // Writing through the link writes the target.
  ASSERT_EQ(kErrorSuccess, reg.OpenKey(At(Under("link")), Registry::Access::ReadWrite, &key));
  ASSERT_EQ(kErrorSuccess, key->SetValue("added", Sz("through the link")));
  EXPECT_EQ("through the link", Read(Under("target"), "added"));
}

TEST_F(LinkConformance, DeletesTakeTheLinkAndLeaveItsTarget) {
  Link("link", "target");
  EXPECT_EQ(kErrorSuccess, reg.DeleteTree(At(Under("link"))));
  EXPECT_EQ((std::vector<std::string>{"target"}), SubKeyNames(reg, At(kBase)));
  ExpectTargetWhole();
  std::unique_ptr<RegKey> key;
  EXPECT_EQ(kErrorFileNotFound, reg.OpenLink(At(Under("link")), &key));

  // A link inside a tree: the tree goes with the link, the target stays.
  std::unique_ptr<RegKey> plain;
  ASSERT_EQ(kErrorSuccess, reg.CreateKey(At(Under("entry\\plain")), &plain));
  ASSERT_EQ(kErrorSuccess, plain->SetValue("p", Sz("plain")));
  plain.reset();
  Link("entry\\alias", "target");
  Link("entry\\plain\\deeper", "target\\sub");
  EXPECT_EQ((std::vector<std::string>{"alias", "plain"}), SubKeyNames(reg, At(Under("entry"))));
  EXPECT_EQ(kErrorSuccess, reg.DeleteTree(At(Under("entry"))));
  EXPECT_EQ((std::vector<std::string>{"target"}), SubKeyNames(reg, At(kBase)));
  ExpectTargetWhole();
}

TEST_F(LinkConformance, ALinkToNothingOpensOnlyAsALinkAndIsDeleted) {
  Link("dangling", "absent");
  std::unique_ptr<RegKey> key;
  EXPECT_NE(kErrorSuccess, reg.OpenKey(At(Under("dangling")), Registry::Access::Read, &key));
  EXPECT_EQ("Error", GetRegString(reg, At(Under("dangling")), "v"));
  EXPECT_EQ(kErrorSuccess, reg.OpenLink(At(Under("dangling")), &key));
  key.reset();
  EXPECT_EQ((std::vector<std::string>{"dangling", "target"}), SubKeyNames(reg, At(kBase)));
  EXPECT_EQ(kErrorSuccess, reg.DeleteTree(At(Under("dangling"))));
  EXPECT_EQ(kErrorFileNotFound, reg.OpenLink(At(Under("dangling")), &key));
  // Nothing was made where it pointed.
  EXPECT_EQ((std::vector<std::string>{"target"}), SubKeyNames(reg, At(kBase)));
  ExpectTargetWhole();
}

}  // namespace
}  // namespace brv
