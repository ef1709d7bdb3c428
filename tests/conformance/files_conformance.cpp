// What is at a path, version information, signatures, the environment and folders.
#include "conformance/files_conformance.h"

#include <gtest/gtest.h>

#include "base/text.h"
#include "files/examine.h"

#ifdef _WIN32
#include <windows.h>

#include "base/wide_win.h"
#include "files/win32_files_win.h"
#else
#include <fstream>
#include <sstream>

#include "files/memory_files.h"
#endif

namespace brv {

#ifdef _WIN32

Files& ConformanceFiles() {
  static Win32Files files;
  SetEnvironmentVariableW(L"BRV_SAMPLES", ToWide(SampleFolder()).c_str());
  return files;
}

std::string SampleFolder() {
  std::string folder = "Z:" BRV_TESTFILES_DIR;
  for (char& c : folder) c = c == '/' ? '\\' : c;
  return folder;
}

std::string LockedFile() {
  static const std::string path =
      SampleFolder() + "\\locked-" + std::to_string(GetCurrentProcessId()) + ".dll";
  // Held until the process ends, then deleted.
  static const HANDLE held = CreateFileW(ToWide(path).c_str(), GENERIC_WRITE, 0, nullptr,
                                         CREATE_ALWAYS, FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  EXPECT_NE(INVALID_HANDLE_VALUE, held);
  return path;
}

#else

std::string SampleFolder() {
  return "C:\\Samples";
}

std::string LockedFile() {
  return "C:\\Samples\\locked.dll";
}

std::string SampleBytes(const std::string& name) {
  std::ifstream in(std::string(BRV_TESTFILES_DIR) + "/" + name, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// The samples' bytes as the build made them; their signatures as the system
// reports them.
Files& ConformanceFiles() {
  static MemoryFiles files = [] {
    MemoryFiles made;
    const Signature none;
    const Signature broken{SignatureState::NotValid, "", false};
    const std::pair<const char*, Signature> samples[] = {
        {"sample.dll", none},
        {"signed.dll", {SignatureState::Valid, "Brovantine Test Signer", false}},
        {"tampered.dll", broken},
        {"badblob.dll", broken},
        {"truncated.dll", none},
        {"garbage.dll", none}};
    for (const auto& [name, signature] : samples) {
      made.AddFile(SampleFolder() + "\\" + name, {SampleBytes(name), signature, 0});
    }
    made.AddFolder(SampleFolder());
    made.AddFolder(SampleFolder() + "\\folder.dll");
    made.AddFile(LockedFile(), {"", none, kErrorSharingViolation});
    made.SetVariable("BRV_SAMPLES", SampleFolder());
    return made;
  }();
  return files;
}

#endif

namespace {

TEST(FilesConformance, KindOfWhatIsAtAPath) {
  Files& files = ConformanceFiles();
  const std::string at = SampleFolder() + "\\";
  EXPECT_EQ(FileKind::File, files.Kind(at + "sample.dll"));
  EXPECT_EQ(FileKind::File, files.Kind(UpperCase(at + "sample.dll")));
  EXPECT_EQ(FileKind::Directory, files.Kind(at + "folder.dll"));
  EXPECT_EQ(FileKind::Missing, files.Kind(at + "missing.dll"));
  EXPECT_EQ(FileKind::Missing, files.Kind(at + std::string(32767, 'x') + ".dll"));
  EXPECT_EQ(FileKind::Missing, files.Kind(at + std::string("sample.dll\0x", 12)));
  EXPECT_EQ(FileKind::Network, files.Kind("\\\\server\\share\\x.dll"));
  EXPECT_EQ(FileKind::Network, files.Kind("\\\\?\\UNC\\server\\share\\x.dll"));
  EXPECT_EQ(FileKind::File, files.Kind(LockedFile()));
}

TEST(FilesConformance, VersionAndSignatureReadAsData) {
  Files& files = ConformanceFiles();
  const struct {
    const char* name;
    bool versioned;
    SignatureState state;
    const char* signer;
  } cases[] = {
      {"sample.dll", true, SignatureState::Unsigned, ""},
      {"signed.dll", true, SignatureState::Valid, "Brovantine Test Signer"},
      {"tampered.dll", true, SignatureState::NotValid, ""},
      {"badblob.dll", true, SignatureState::NotValid, ""},
      {"truncated.dll", false, SignatureState::Unsigned, ""},
      {"garbage.dll", false, SignatureState::Unsigned, ""},
  };
  for (const auto& c : cases) {
    const FileReport report =
        Examine(files, SampleFolder() + "\\" + c.name, FileUse::Library, false);
    EXPECT_EQ(FileKind::File, report.file.kind) << c.name;
    EXPECT_EQ(0, report.openError) << c.name;
    EXPECT_EQ(c.versioned ? "Brovantine Test Makers" : "", report.version.company) << c.name;
    EXPECT_EQ(c.versioned ? "Sample helper" : "", report.version.description) << c.name;
    EXPECT_EQ(c.state, report.signature.state) << c.name;
    EXPECT_EQ(c.signer, report.signature.signer) << c.name;
    EXPECT_FALSE(report.signature.trusted) << c.name;  // its root is no one's
  }
  const FileReport locked = Examine(files, LockedFile(), FileUse::Library, false);
  EXPECT_EQ(kErrorSharingViolation, locked.openError);
  EXPECT_EQ(SignatureState::Unreadable, locked.signature.state);
  EXPECT_EQ(SignatureState::Unreadable, files.Verify(LockedFile()).state);
}

TEST(FilesConformance, EnvironmentAndSystemFolders) {
  Files& files = ConformanceFiles();
  EXPECT_EQ(SampleFolder(), files.Environment("BRV_SAMPLES"));
  EXPECT_EQ(SampleFolder(), files.Environment("brv_samples"));
  EXPECT_EQ(std::nullopt, files.Environment("BRV_NOT_SET"));
  const std::string windows = UpperCase(files.FolderPath(Folder::Windows));
  EXPECT_EQ(windows + "\\SYSTEM32", UpperCase(files.FolderPath(Folder::System)));
  EXPECT_EQ(windows + "\\SYSWOW64", UpperCase(files.FolderPath(Folder::System32Bit)));
  const LocatedFile found = Locate(files, "\"%BRV_SAMPLES%\\sample.dll\"", FileUse::Library, false);
  EXPECT_EQ(SampleFolder() + "\\sample.dll", found.path);
  EXPECT_EQ(FileKind::File, found.kind);
}

// A file is written whole or not at all; what failed leaves the earlier file
// as it was.
TEST(FilesConformance, WrittenWholeOrNotAtAll) {
  Files& files = ConformanceFiles();
  const std::string at = SampleFolder() + "\\written-";
  const auto bytesAt = [&](const std::string& path) {
    std::unique_ptr<FileData> data;
    std::string bytes = "(none)";
    if (files.Open(path, &data) == 0 && !data->Read(0, static_cast<size_t>(data->Size()), &bytes)) {
      bytes = "(unreadable)";
    }
    return bytes;
  };
  const struct {
    std::string path;
    long result;
    std::string after;  // what is at the path afterwards
  } cases[] = {
      {at + "new.txt", 0, "report"},
      {at + "new.txt", 0, "report"},  // replaced
      {at + std::string(240, 'l') + ".txt", 0, "report"},
      {at + "gone\\r.txt", kErrorPathNotFound, "(none)"},
      {SampleFolder() + "\\sample.dll\\r.txt", kErrorPathNotFound, "(none)"},
      {SampleFolder() + "\\folder.dll", 5, "(none)"},
      {at + "a<b.txt", kErrorInvalidName, "(none)"},
      {at + std::string("a\0b.txt", 7), kErrorInvalidName, "(none)"},
      {at + "trailing. ", kErrorInvalidName, "(none)"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.result, files.WriteWhole(c.path, "report")) << c.path;
    EXPECT_EQ(c.after, bytesAt(c.path)) << c.path;
  }
  EXPECT_EQ(0, files.WriteWhole(at + "new.txt", ""));
  EXPECT_EQ("", bytesAt(at + "new.txt"));
  const long locked = files.WriteWhole(LockedFile(), "report");
  EXPECT_TRUE(locked == kErrorSharingViolation || locked == 5) << locked;
  EXPECT_EQ(FileKind::File, files.Kind(LockedFile()));
}

}  // namespace
}  // namespace brv
