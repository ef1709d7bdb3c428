// The Options menu commands on memory: what they ask, write and report.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "commands/options.h"
#include "base/text.h"
#include "support/forwarding_registry.h"
#include "support/memory_form.h"

namespace brv {
namespace {

const char kWebBrowser[] = "Software\\Microsoft\\Internet Explorer\\Toolbar\\WebBrowser";
const char kZone[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\Zones\\3";
const char kMain[] = "Software\\Microsoft\\Internet Explorer\\Main";
const char kExtensions[] = "Software\\Microsoft\\Internet Explorer\\Extensions";
const char kOwnId[] = "{A349A035-E26F-454b-ABB4-5208E50E1BE7}";
const std::string kOwnEntry = std::string(kExtensions) + "\\" + kOwnId;

// The registry in memory, with a record of every value stored, in order, and
// a value name whose storing fails.
class WatchedRegistry : public ForwardingRegistry {
 public:
  using ForwardingRegistry::ForwardingRegistry;
  using Registry::CreateKey;
  using Registry::OpenKey;
  long OpenKey(const RegAddress& at, Access access, std::unique_ptr<RegKey>* key) override {
    return Watch(at, inner_.OpenKey(at, access, key), key);
  }
  long CreateKey(const RegAddress& at, std::unique_ptr<RegKey>* key) override {
    return Watch(at, inner_.CreateKey(at, key), key);
  }

  std::vector<std::string> stored;  // "key path\value name"
  std::string failName;
  long failCode = kErrorSuccess;

 private:
  class Key : public ForwardingKey {
   public:
    Key(WatchedRegistry& owner, std::string path, std::unique_ptr<RegKey> inner)
        : ForwardingKey(std::move(inner)), owner_(owner), path_(std::move(path)) {}
    long SetValue(const std::string& name, const RegData& data) override {
      if (name == owner_.failName) return owner_.failCode;
      const long r = inner_->SetValue(name, data);
      if (r == kErrorSuccess) owner_.stored.push_back(path_ + "\\" + name);
      return r;
    }

   private:
    WatchedRegistry& owner_;
    std::string path_;
  };

  long Watch(const RegAddress& at, long result, std::unique_ptr<RegKey>* key) {
    if (result == kErrorSuccess) *key = std::make_unique<Key>(*this, at.path, std::move(*key));
    return result;
  }
};

class Options : public ::testing::Test {
 protected:
  Options() { m.form.registry = &watched; }

  RegData Read(const std::string& path, const std::string& name) {
    std::unique_ptr<RegKey> key;
    RegData data;
    if (m.registry.OpenKey(kCurrentUser, path, Registry::Access::Read, &key) != kErrorSuccess ||
        key->QueryValue(name, &data) != kErrorSuccess) {
      return {kRegNone, "(missing)"};
    }
    return data;
  }
  void ExpectData(const RegData& expected, const std::string& path, const std::string& name) {
    const RegData data = Read(path, name);
    EXPECT_EQ(expected.type, data.type) << path << "\\" << name;
    EXPECT_EQ(expected.bytes, data.bytes) << path << "\\" << name;
  }
  void ExpectOneMessage(const std::string& text, const std::string& title) {
    ASSERT_EQ(1u, m.desktop.messages.size());
    EXPECT_EQ(text, m.desktop.messages[0].text);
    EXPECT_EQ(title, m.desktop.messages[0].title);
    EXPECT_EQ(MsgButtons::Ok, m.desktop.messages[0].buttons);
    EXPECT_EQ(MsgIcon::None, m.desktop.messages[0].icon);
  }

  MemoryForm m;
  WatchedRegistry watched{m.registry};
  Form1& form = m.form;
};

// Reset toolbar layout.

TEST_F(Options, ResetWhenTheLayoutIsAlreadyGoneStillSaysSoAndCreatesNothing) {
  resettoolbar_Click(form);  // no key at all
  ExpectOneMessage("IE Toolbar placement is now reset", "Reset Toolbar layout");
  EXPECT_FALSE(m.KeyExists(kCurrentUser, kWebBrowser));

  m.desktop.messages.clear();
  m.SetData(kCurrentUser, kWebBrowser, "ITBarLayout", {kRegBinary, "x"});
  resettoolbar_Click(form);
  resettoolbar_Click(form);  // a second run in a row
  ASSERT_EQ(2u, m.desktop.messages.size());
  EXPECT_EQ("IE Toolbar placement is now reset", m.desktop.messages[1].text);

  // A key that refuses changes but holds no layout: the layout is gone.
  m.desktop.messages.clear();
  m.registry.Protect(kCurrentUser, kWebBrowser);
  resettoolbar_Click(form);
  ExpectOneMessage("IE Toolbar placement is now reset", "Reset Toolbar layout");
}

TEST_F(Options, SecurityOnOkMakesTheEightWritesInOrderAndReports) {
  m.SetData(kCurrentUser, kZone, "CurrentLevel", Dword(0x11500));
  m.SetData(kCurrentUser, kZone, "1200", Dword(3));
  m.SetString(kCurrentUser, kMain, "Start Page", "about:blank");
  for (int run = 0; run < 2; ++run) {
    m.desktop.answers = {MsgAnswer::Ok};
    m.desktop.messages.clear();
    watched.stored.clear();
    Security_Click(form);
    const std::string zone = kZone;
    EXPECT_EQ((std::vector<std::string>{zone + "\\CurrentLevel", zone + "\\1001", zone + "\\1004",
                                        zone + "\\1201", zone + "\\1800", zone + "\\1804",
                                        zone + "\\1C00", std::string(kMain) + "\\NoWebJITSetup"}),
              watched.stored);
    ASSERT_EQ(2u, m.desktop.messages.size());
    EXPECT_EQ(
        "Security for IE Internet Zone is increased\n\nNOTE: This is the minimum "
        "recommended security setting. Other means of protection for Internet Explorer may "
        "also be necessary",
        m.desktop.messages[1].text);
    EXPECT_EQ("Internet Zone Security", m.desktop.messages[1].title);
    EXPECT_EQ(MsgButtons::Ok, m.desktop.messages[1].buttons);
    EXPECT_EQ(MsgIcon::None, m.desktop.messages[1].icon);
  }
  ExpectData(Dword(0), kZone, "CurrentLevel");
  ExpectData(Dword(1), kZone, "1001");
  ExpectData(Dword(3), kZone, "1004");
  ExpectData(Dword(3), kZone, "1201");
  ExpectData(Dword(1), kZone, "1800");
  ExpectData(Dword(1), kZone, "1804");
  ExpectData({kRegBinary, std::string("\x00\x00\x01\x00", 4)}, kZone, "1C00");
  ExpectData(Dword(1), kMain, "NoWebJITSetup");
  // Nothing else changed; the same values after a second run.
  ExpectData(Dword(3), kZone, "1200");
  EXPECT_EQ(8u, m.Values(kCurrentUser, kZone).size());
  EXPECT_EQ((std::vector<std::string>{"Start Page", "NoWebJITSetup"}),
            m.Values(kCurrentUser, kMain));
}

TEST_F(Options, SecurityCreatesMissingZoneKeys) {
  m.desktop.answers = {MsgAnswer::Ok};
  Security_Click(form);
  EXPECT_EQ(std::vector<std::string>{"3"},
            m.SubKeys(kCurrentUser,
                      "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\Zones"));
  EXPECT_EQ(7u, m.Values(kCurrentUser, kZone).size());
  EXPECT_EQ(std::vector<std::string>{"NoWebJITSetup"}, m.Values(kCurrentUser, kMain));
}

TEST_F(Options, SecurityWriteFailingPartwayStopsThereAndNamesTheValue) {
  watched.failName = "1C00";
  watched.failCode = kErrorAccessDenied;
  m.desktop.answers = {MsgAnswer::Ok};
  Security_Click(form);
  ASSERT_EQ(2u, m.desktop.messages.size());
  EXPECT_EQ(
      "Security for IE Internet Zone was not increased.\n\nThe value "
      "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\Zones\\3\\1C00 could "
      "not be written: system error 5\n\nThe values before it were written: CurrentLevel, 1001, "
      "1004, 1201, 1800, 1804. It and the values after it were not.",
      m.desktop.messages[1].text);
  EXPECT_EQ("Internet Zone Security", m.desktop.messages[1].title);
  EXPECT_EQ(MsgButtons::Ok, m.desktop.messages[1].buttons);
  EXPECT_EQ(6u, watched.stored.size());
  EXPECT_FALSE(m.ValueExists(kCurrentUser, kZone, "1C00"));
  EXPECT_FALSE(m.KeyExists(kCurrentUser, kMain));
}

TEST_F(Options, SecurityFirstWriteRefusedSaysNothingChanged) {
  m.CreateKey(kCurrentUser, kZone);
  m.registry.Protect(kCurrentUser, kZone);
  m.desktop.answers = {MsgAnswer::Ok};
  Security_Click(form);
  ASSERT_EQ(2u, m.desktop.messages.size());
  EXPECT_EQ(
      "Security for IE Internet Zone was not increased.\n\nThe value "
      "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\Zones\\3\\"
      "CurrentLevel could not be written: system error 5\n\nNothing was changed.",
      m.desktop.messages[1].text);
  EXPECT_TRUE(watched.stored.empty());
  EXPECT_FALSE(m.KeyExists(kCurrentUser, kMain));
}

// Own toolbar button.

// What is written, and the program's path, on both windows (OptionsMenu);
// here the order.
TEST_F(Options, ButtonWritesTheSevenStringsInOrder) {
  tbutton_Click(form);
  const std::string e =
      std::string("SOFTWARE\\Microsoft\\Internet Explorer\\Extensions\\") + kOwnId + "\\";
  EXPECT_EQ((std::vector<std::string>{e + "ButtonText", e + "CLSID", e + "Default Visible",
                                      e + "Exec", e + "HotIcon", e + "Icon", e + "MenuText"}),
            watched.stored);
}

TEST_F(Options, ButtonRunAgainFromElsewhereFollowsTheProgram) {
  tbutton_Click(form);
  m.desktop.programPath = "D:\\Brovantine.exe";  // the root of a drive
  tbutton_Click(form);
  EXPECT_EQ("D:\\Brovantine.exe", m.ReadString(kCurrentUser, kOwnEntry, "Exec"));
  EXPECT_EQ("D:\\Brovantine.exe,1", m.ReadString(kCurrentUser, kOwnEntry, "Icon"));
  m.desktop.programPath = "E:\\Tools\\\xE5\xB7\xA5\xE5\x85\xB7\\brv-renamed.EXE";
  tbutton_Click(form);
  EXPECT_EQ("E:\\Tools\\\xE5\xB7\xA5\xE5\x85\xB7\\brv-renamed.EXE",
            m.ReadString(kCurrentUser, kOwnEntry, "Exec"));
  EXPECT_EQ("E:\\Tools\\\xE5\xB7\xA5\xE5\x85\xB7\\brv-renamed.EXE,1",
            m.ReadString(kCurrentUser, kOwnEntry, "HotIcon"));
  EXPECT_EQ(std::vector<std::string>{kOwnId}, m.SubKeys(kCurrentUser, kExtensions));
  EXPECT_EQ(7u, m.Values(kCurrentUser, kOwnEntry).size());
  EXPECT_EQ(3u, m.desktop.messages.size());
}

TEST_F(Options, ButtonWriteFailingPartwayStopsThereAndNamesTheValue) {
  watched.failName = "Exec";
  watched.failCode = kErrorInvalidParameter;
  tbutton_Click(form);
  ExpectOneMessage(
      "Brovantine was not added to Internet Explorer.\n\nThe value "
      "HKCU\\SOFTWARE\\Microsoft\\Internet Explorer\\Extensions\\"
      "{A349A035-E26F-454b-ABB4-5208E50E1BE7}\\Exec could not be written: system error 87\n\n"
      "The values before it were written: ButtonText, CLSID, Default Visible. It and the values "
      "after it were not.",
      "Brovantine IE button");
  EXPECT_EQ((std::vector<std::string>{"ButtonText", "CLSID", "Default Visible"}),
            m.Values(kCurrentUser, kOwnEntry));
}

TEST_F(Options, ButtonWithoutItsOwnPathWritesNothing) {
  m.desktop.programPath = "";
  tbutton_Click(form);
  ExpectOneMessage(
      "Brovantine was not added to Internet Explorer.\n\nThe program's own file could not be "
      "found.",
      "Brovantine IE button");
  EXPECT_FALSE(m.KeyExists(kCurrentUser, kExtensions));
}

}  // namespace
}  // namespace brv
