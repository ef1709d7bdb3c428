// The Options menu commands on memory: what they ask, write and report.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "commands/options.h"
#include "base/text.h"
#include "support/memory_form.h"

namespace brv {
namespace {

const char kWebBrowser[] = "Software\\Microsoft\\Internet Explorer\\Toolbar\\WebBrowser";
const char kZone[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\Zones\\3";
const char kMain[] = "Software\\Microsoft\\Internet Explorer\\Main";
const char kExtensions[] = "Software\\Microsoft\\Internet Explorer\\Extensions";
const char kOwnId[] = "{A349A035-E26F-454b-ABB4-5208E50E1BE7}";
const std::string kOwnEntry = std::string(kExtensions) + "\\" + kOwnId;

const char kConfirmation[] =
    "Internet Zone is set to Custom Level with the following changes:\n"
    "      (You can undo these changes using Internet Options)"
    "\n\n"
    "  Download signed ActiveX scripts                           > Prompt"
    "\n\n"
    "  Download unsigned ActiveX scripts                       > Disable"
    "\n\n"
    "  Initialize and script ActiveX not marked as safe    > Disable"
    "\n\n"
    "  Installation of Desktop items                                 > Prompt"
    "\n\n"
    "  Launching programs and files in a IFRAME            > Prompt"
    "\n\n"
    "  Java permissions                                                    > High Safety"
    "\n\n"
    "  Install on demand (other) - Advanced Tab            > Unchecked"
    "\n\n\n"
    "NOTE: This is the minimum recommended security settings. Other means of protection may also "
    "necessary.";

// The registry in memory, with a record of every value stored, in order, and
// a value name whose storing fails.
class WatchedRegistry : public Registry {
 public:
  explicit WatchedRegistry(MemoryRegistry& inner) : inner_(inner) {}

  using Registry::CreateKey;
  using Registry::DeleteTree;
  using Registry::DeleteValue;
  using Registry::OpenKey;
  long OpenKey(const RegAddress& at, Access access, std::unique_ptr<RegKey>* key) override {
    std::unique_ptr<RegKey> opened;
    const long r = inner_.OpenKey(at, access, &opened);
    if (r == kErrorSuccess) *key = std::make_unique<Key>(*this, at.path, std::move(opened));
    return r;
  }
  long OpenLink(const RegAddress& at, std::unique_ptr<RegKey>* key) override {
    return inner_.OpenLink(at, key);
  }
  long CreateKey(const RegAddress& at, std::unique_ptr<RegKey>* key) override {
    std::unique_ptr<RegKey> created;
    const long r = inner_.CreateKey(at, &created);
    if (r == kErrorSuccess) *key = std::make_unique<Key>(*this, at.path, std::move(created));
    return r;
  }
  long DeleteTree(const RegAddress& at) override { return inner_.DeleteTree(at); }
  long DeleteValue(const RegAddress& at, const std::string& name) override {
    return inner_.DeleteValue(at, name);
  }

  std::vector<std::string> stored;  // "key path\value name"
  std::string failName;
  long failCode = kErrorSuccess;

 private:
  class Key : public RegKey {
   public:
    Key(WatchedRegistry& owner, std::string path, std::unique_ptr<RegKey> inner)
        : owner_(owner), path_(std::move(path)), inner_(std::move(inner)) {}
    long EnumKey(uint32_t index, std::string* name) override {
      return inner_->EnumKey(index, name);
    }
    long EnumValue(uint32_t index, std::string* name) override {
      return inner_->EnumValue(index, name);
    }
    long QueryValue(const std::string& name, RegData* data) override {
      return inner_->QueryValue(name, data);
    }
    long SetValue(const std::string& name, const RegData& data) override {
      if (name == owner_.failName) return owner_.failCode;
      const long r = inner_->SetValue(name, data);
      if (r == kErrorSuccess) owner_.stored.push_back(path_ + "\\" + name);
      return r;
    }
    long DeleteValue(const std::string& name) override { return inner_->DeleteValue(name); }
    long FullName(std::string* name) override { return inner_->FullName(name); }

   private:
    WatchedRegistry& owner_;
    std::string path_;
    std::unique_ptr<RegKey> inner_;
  };

  MemoryRegistry& inner_;
};

RegData Dword(uint32_t n) {
  std::string bytes(4, '\0');
  for (int i = 0; i < 4; ++i) bytes[static_cast<size_t>(i)] = static_cast<char>(n >> (8 * i));
  return {kRegDword, bytes};
}

RegData Sz(const std::string& text) {
  return {kRegSz, Utf8ToUtf16LeBytes(text, true)};
}

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

TEST_F(Options, ResetDeletesTheLayoutValueOnlyAndSaysSo) {
  m.SetData(kCurrentUser, kWebBrowser, "ITBarLayout", {kRegBinary, std::string(200, '\x11')});
  m.SetData(kCurrentUser, kWebBrowser, "{01E04581-4EEE-11D0-BFE9-00AA005B4383}", {kRegBinary, ""});
  m.SetData(kCurrentUser, kWebBrowser, "ITBarLayout2", {kRegBinary, "x"});
  m.SetString(kCurrentUser, std::string(kWebBrowser) + "\\Sub", "ITBarLayout", "kept");
  m.lists[3].Put({"untouched"});
  resettoolbar_Click(form);
  EXPECT_FALSE(m.ValueExists(kCurrentUser, kWebBrowser, "ITBarLayout"));
  EXPECT_EQ((std::vector<std::string>{"{01E04581-4EEE-11D0-BFE9-00AA005B4383}", "ITBarLayout2"}),
            m.Values(kCurrentUser, kWebBrowser));
  EXPECT_EQ("kept", m.ReadString(kCurrentUser, std::string(kWebBrowser) + "\\Sub", "ITBarLayout"));
  ExpectOneMessage("IE Toolbar placement is now reset", "Reset Toolbar layout");
  EXPECT_EQ(std::vector<std::string>{"untouched"}, m.lists[3].items);  // no refill
  EXPECT_TRUE(watched.stored.empty());
}

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

TEST_F(Options, ResetThatCannotDeleteTellsNothingWasResetAndWhy) {
  m.SetData(kCurrentUser, kWebBrowser, "ITBarLayout", {kRegBinary, "layout"});
  m.registry.Protect(kCurrentUser, kWebBrowser);
  resettoolbar_Click(form);
  ExpectOneMessage(
      "IE Toolbar placement was not reset.\n\nThe value "
      "HKCU\\Software\\Microsoft\\Internet Explorer\\Toolbar\\WebBrowser\\ITBarLayout could not "
      "be deleted: system error 5",
      "Reset Toolbar layout");
  ExpectData({kRegBinary, "layout"}, kWebBrowser, "ITBarLayout");
}

// Internet-zone security.

TEST_F(Options, SecurityShowsTheExactConfirmationAndCancelChangesNothing) {
  m.SetData(kCurrentUser, kZone, "1001", Dword(0));
  m.desktop.answers = {MsgAnswer::Cancel};
  Security_Click(form);
  Security_Click(form);  // closed without an answer
  ASSERT_EQ(2u, m.desktop.messages.size());
  for (const ShownMessage& box : m.desktop.messages) {
    EXPECT_EQ(kConfirmation, box.text);
    EXPECT_EQ("Following changes will be made to Internet Zone in Internet Explorer", box.title);
    EXPECT_EQ(MsgButtons::OkCancel, box.buttons);
    EXPECT_EQ(MsgIcon::None, box.icon);
  }
  EXPECT_EQ(std::string::npos, m.desktop.messages[0].text.find('\r'));
  EXPECT_TRUE(watched.stored.empty());
  EXPECT_EQ(std::vector<std::string>{"1001"}, m.Values(kCurrentUser, kZone));
  ExpectData(Dword(0), kZone, "1001");
  EXPECT_FALSE(m.KeyExists(kCurrentUser, kMain));
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

TEST_F(Options, SecurityLastWriteRefusedKeepsTheZoneValues) {
  m.CreateKey(kCurrentUser, kMain);
  m.registry.Protect(kCurrentUser, kMain);
  m.desktop.answers = {MsgAnswer::Ok};
  Security_Click(form);
  ASSERT_EQ(2u, m.desktop.messages.size());
  EXPECT_NE(std::string::npos,
            m.desktop.messages[1].text.find(
                "Internet Explorer\\Main\\NoWebJITSetup could not be written: system error 5"));
  EXPECT_NE(std::string::npos, m.desktop.messages[1].text.find("1804, 1C00. It and"));
  EXPECT_EQ(7u, m.Values(kCurrentUser, kZone).size());
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

TEST_F(Options, ButtonWritesTheSevenStringsInOrderPointingAtThisProgram) {
  m.SetString(kCurrentUser, std::string(kExtensions) + "\\{OTHER}", "ButtonText", "Other");
  m.desktop.programPath = "C:\\Program Files\\Brovantine\\Brovantine.exe";
  tbutton_Click(form);
  const std::string e =
      std::string("SOFTWARE\\Microsoft\\Internet Explorer\\Extensions\\") + kOwnId + "\\";
  EXPECT_EQ((std::vector<std::string>{e + "ButtonText", e + "CLSID", e + "Default Visible",
                                      e + "Exec", e + "HotIcon", e + "Icon", e + "MenuText"}),
            watched.stored);
  ExpectData(Sz("Brovantine"), kOwnEntry, "ButtonText");
  ExpectData(Sz("{1FBA04EE-3024-11D2-8F1F-0000F87ABD16}"), kOwnEntry, "CLSID");
  ExpectData(Sz("Yes"), kOwnEntry, "Default Visible");
  ExpectData(Sz("C:\\Program Files\\Brovantine\\Brovantine.exe"), kOwnEntry, "Exec");
  ExpectData(Sz("C:\\Program Files\\Brovantine\\Brovantine.exe,1"), kOwnEntry, "HotIcon");
  ExpectData(Sz("C:\\Program Files\\Brovantine\\Brovantine.exe,1"), kOwnEntry, "Icon");
  ExpectData(Sz("Brovantine"), kOwnEntry, "MenuText");
  ExpectOneMessage("Added Brovantine to Internet Explorer standard toolbar",
                   "Brovantine IE button");
  // The identifier keeps its spelling; the other entry stays.
  EXPECT_EQ((std::vector<std::string>{kOwnId, "{OTHER}"}), m.SubKeys(kCurrentUser, kExtensions));
  EXPECT_EQ("Other",
            m.ReadString(kCurrentUser, std::string(kExtensions) + "\\{OTHER}", "ButtonText"));
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

TEST_F(Options, ButtonRefusedOrWithoutItsOwnPathWritesNothing) {
  m.desktop.programPath = "";
  tbutton_Click(form);
  ExpectOneMessage(
      "Brovantine was not added to Internet Explorer.\n\nThe program's own file could not be "
      "found.",
      "Brovantine IE button");
  EXPECT_FALSE(m.KeyExists(kCurrentUser, kExtensions));

  m.desktop.messages.clear();
  m.desktop.programPath = "C:\\Brovantine.exe";
  m.CreateKey(kCurrentUser, kExtensions);
  m.registry.Protect(kCurrentUser, kExtensions);
  tbutton_Click(form);
  ExpectOneMessage(
      "Brovantine was not added to Internet Explorer.\n\nThe value "
      "HKCU\\SOFTWARE\\Microsoft\\Internet Explorer\\Extensions\\"
      "{A349A035-E26F-454b-ABB4-5208E50E1BE7}\\ButtonText could not be written: system error "
      "5\n\nNothing was changed.",
      "Brovantine IE button");
  EXPECT_TRUE(m.SubKeys(kCurrentUser, kExtensions).empty());
}

}  // namespace
}  // namespace brv
