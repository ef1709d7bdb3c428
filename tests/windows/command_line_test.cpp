// Brovantine.exe from a command line: a report written and the program gone,
// no window shown; the exit code and the streams as a script sees them.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <windows.h>

#include <string>

#include "base/wide_win.h"
#include "harness_win.h"

namespace brv {
namespace {

struct Ran {
  DWORD exit = 999;
  std::string out, error;
};

std::string ReadAll(const std::wstring& path) {
  std::string bytes;
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return "(none)";
  char buffer[65536];
  DWORD read = 0;
  while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0)
    bytes.append(buffer, read);
  CloseHandle(file);
  return bytes;
}

// Runs the program beside the tests with these arguments, its standard
// streams into files.
Ran RunProgram(const std::wstring& arguments, const std::wstring& folder) {
  wchar_t module[MAX_PATH];
  const std::wstring self(module, GetModuleFileNameW(nullptr, module, MAX_PATH));
  const std::wstring program = self.substr(0, self.rfind(L'\\') + 1) + L"Brovantine.exe";
  SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
  const std::wstring outPath = folder + L"\\out.txt", errorPath = folder + L"\\error.txt";
  HANDLE out = CreateFileW(outPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                           0, nullptr);
  HANDLE error = CreateFileW(errorPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                             CREATE_ALWAYS, 0, nullptr);
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = out;
  startup.hStdError = error;
  PROCESS_INFORMATION process = {};
  std::wstring command = L"\"" + program + L"\" " + arguments;
  Ran run;
  if (CreateProcessW(program.c_str(), command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                     &startup, &process)) {
    WaitForSingleObject(process.hProcess, 60000);
    GetExitCodeProcess(process.hProcess, &run.exit);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
  CloseHandle(out);
  CloseHandle(error);
  run.out = ReadAll(outPath);
  run.error = ReadAll(errorPath);
  return run;
}

TEST(CommandLine, ReportWrittenExitCodesAndStreams) {
  wchar_t temp[MAX_PATH];
  const std::wstring folder = std::wstring(temp, GetTempPathW(MAX_PATH, temp)) + L"brv-command-" +
                              std::to_wstring(GetCurrentProcessId());
  CreateDirectoryW(folder.c_str(), nullptr);
  const std::wstring report = folder + L"\\r\u00e9port.json";
  const Ran written = RunProgram(L"/report \"" + report + L"\"", folder);
  EXPECT_EQ(0u, written.exit);
  EXPECT_EQ("", written.out + written.error);
  const nlohmann::json parsed = nlohmann::json::parse(ReadAll(report), nullptr, false);
  ASSERT_FALSE(parsed.is_discarded());
  EXPECT_EQ("brovantine-report", parsed["format"]);
  EXPECT_TRUE(parsed["entries"].is_array());
  EXPECT_FALSE(parsed["computer"].get<std::string>().empty());
  const Ran toOutput = RunProgram(L"--report -", folder);
  EXPECT_EQ(0u, toOutput.exit);
  EXPECT_EQ(parsed["entries"], nlohmann::json::parse(toOutput.out)["entries"]);
  const Ran notWritten = RunProgram(L"-report \"" + folder + L"\\gone\\r.csv\"", folder);
  EXPECT_EQ(1u, notWritten.exit);
  EXPECT_EQ(0u, notWritten.error.rfind("Report not saved: ", 0)) << notWritten.error;
  const Ran wrong = RunProgram(L"/report a.txt /report b.txt", folder);
  EXPECT_EQ(2u, wrong.exit);
  EXPECT_EQ(0u, wrong.error.rfind("Usage: Brovantine.exe", 0)) << wrong.error;
  const Ran usage = RunProgram(L"/?", folder);
  EXPECT_EQ(0u, usage.exit);
  EXPECT_EQ(0u, usage.out.rfind("Usage: Brovantine.exe", 0)) << usage.out;
  for (const wchar_t* name : {L"\\out.txt", L"\\error.txt", L"\\r\u00e9port.json"}) {
    DeleteFileW((folder + name).c_str());
  }
  RemoveDirectoryW(folder.c_str());
}

}  // namespace
}  // namespace brv
