// The program's own path, whatever its folder and name: what the own toolbar
// button of the Options menu points at.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "app/win32/controls_win.h"
#include "harness_win.h"

namespace brv {
namespace {

// Runs a copy of the probe program at `copy` and returns the path it reports
// for itself; empty if it could not run.
std::string ReportedPath(const std::wstring& copy) {
  wchar_t module[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, module, MAX_PATH);
  std::wstring probe(module, length);
  probe = probe.substr(0, probe.rfind(L'\\') + 1) + L"program_path_probe.exe";
  if (!CopyFileW(probe.c_str(), copy.c_str(), FALSE)) return std::string();
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring out = std::wstring(temp) + L"brv-probe-out.txt";
  std::wstring command = L"\"" + copy + L"\" \"" + out + L"\"";
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process = {};
  std::string reported;
  if (CreateProcessW(copy.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                     &startup, &process)) {
    WaitForSingleObject(process.hProcess, 30000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    HANDLE file = CreateFileW(out.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
      char buffer[4096];
      DWORD read = 0;
      if (ReadFile(file, buffer, sizeof(buffer), &read, nullptr)) reported.assign(buffer, read);
      CloseHandle(file);
    }
    DeleteFileW(out.c_str());
  }
  DeleteFileW(copy.c_str());
  return reported;
}

TEST(ProgramPath, IsTheWholePathOfTheRunningFileWhateverItsFolderAndName) {
  wchar_t temp[MAX_PATH];
  const DWORD tempLength = GetTempPathW(MAX_PATH, temp);
  ASSERT_GT(tempLength, 0u);
  const std::wstring base = std::wstring(temp, tempLength) + L"brv-path-test";
  const std::wstring folder = base + L"\\Tools \u5de5\u5177 " + std::wstring(60, L'x');
  CreateDirectoryW(base.c_str(), nullptr);
  CreateDirectoryW(folder.c_str(), nullptr);
  const std::wstring renamed = folder + L"\\renamed copy.EXE";
  const std::wstring other = base + L"\\Brv2.exe";
  const std::string renamedReported = ReportedPath(renamed);
  const std::string otherReported = ReportedPath(other);
  RemoveDirectoryW(folder.c_str());
  RemoveDirectoryW(base.c_str());
  EXPECT_EQ(FromWide(renamed.c_str(), renamed.size()), renamedReported);
  EXPECT_EQ(FromWide(other.c_str(), other.size()), otherReported);
}

// Answers as GetModuleFileNameW does for a path of `length` characters: a
// buffer too small gets what fits, NUL-terminated, and its size back.
struct FakeModulePath {
  size_t length;
  std::vector<DWORD> asked;
  DWORD operator()(wchar_t* buffer, DWORD size) {
    asked.push_back(size);
    const std::wstring path = L"C:\\" + std::wstring(length - 3, L'p');
    if (path.size() < size) {
      path.copy(buffer, path.size());
      buffer[path.size()] = L'\0';
      return static_cast<DWORD>(path.size());
    }
    path.copy(buffer, size - 1);
    buffer[size - 1] = L'\0';
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return size;
  }
};

TEST(ProgramPath, PathsLongerThanTheFirstBufferAreReadWhole) {
  for (size_t length : {size_t{10}, size_t{259}, size_t{260}, size_t{1000}, size_t{32767}}) {
    FakeModulePath fake{length, {}};
    const std::string path = ReadWholePath(std::ref(fake));
    EXPECT_EQ(length, path.size());
    EXPECT_EQ("C:\\" + std::string(length - 3, 'p'), path);
  }
  FakeModulePath fake{1000, {}};
  ReadWholePath(std::ref(fake));
  EXPECT_EQ((std::vector<DWORD>{260, 520, 1040}), fake.asked);
  // A failure, and a path that never fits, give no path and end.
  EXPECT_EQ("", ReadWholePath([](wchar_t*, DWORD) { return DWORD{0}; }));
  EXPECT_EQ("", ReadWholePath([](wchar_t* buffer, DWORD size) {
              buffer[size - 1] = L'\0';
              return size;
            }));
}

}  // namespace
}  // namespace brv
