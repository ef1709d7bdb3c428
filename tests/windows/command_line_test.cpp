// Brovantine.exe from a command line: a report written and the program gone,
// no window shown; the exit code and the output as a script sees them.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <windows.h>

#include <string>

#include "base/wide_win.h"

namespace brv {
namespace {

std::string ReadAll(const std::wstring& path) {
  std::string bytes;
  HANDLE file =
      CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  char buffer[65536];
  DWORD read = 0;
  while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0)
    bytes.append(buffer, read);
  CloseHandle(file);
  DeleteFileW(path.c_str());
  return bytes;
}

// Runs the program beside the tests with these arguments, its standard
// output and error into one file; its exit code.
DWORD RunProgram(const std::wstring& arguments, const std::wstring& output) {
  wchar_t module[MAX_PATH];
  const std::wstring self(module, GetModuleFileNameW(nullptr, module, MAX_PATH));
  const std::wstring program = self.substr(0, self.rfind(L'\\') + 1) + L"Brovantine.exe";
  SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
  HANDLE out = CreateFileW(output.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                           0, nullptr);
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = startup.hStdError = out;
  PROCESS_INFORMATION process = {};
  std::wstring command = L"\"" + program + L"\" " + arguments;
  DWORD exit = 999;
  if (CreateProcessW(program.c_str(), command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                     &startup, &process)) {
    WaitForSingleObject(process.hProcess, 60000);
    GetExitCodeProcess(process.hProcess, &exit);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
  CloseHandle(out);
  return exit;
}

TEST(CommandLine, ReportWrittenExitCodesAndOutput) {
  wchar_t temp[MAX_PATH];
  const std::wstring at = std::wstring(temp, GetTempPathW(MAX_PATH, temp)) + L"brv-command-" +
                          std::to_wstring(GetCurrentProcessId());
  const std::wstring report = at + L"-r\u00e9port.json", output = at + L"-output.txt";
  EXPECT_EQ(0u, RunProgram(L"/report \"" + report + L"\"", output));
  EXPECT_EQ("", ReadAll(output));
  const nlohmann::json parsed = nlohmann::json::parse(ReadAll(report), nullptr, false);
  ASSERT_FALSE(parsed.is_discarded());
  EXPECT_EQ("brovantine-report", parsed["format"]);
  EXPECT_FALSE(parsed["computer"].get<std::string>().empty());
  EXPECT_EQ(0u, RunProgram(L"--report -", output));
  EXPECT_EQ(parsed["entries"], nlohmann::json::parse(ReadAll(output))["entries"]);
  EXPECT_EQ(1u, RunProgram(L"-report \"" + at + L"\\gone\\r.csv\"", output));
  EXPECT_EQ(0u, ReadAll(output).rfind("Report not saved: ", 0));
  EXPECT_EQ(2u, RunProgram(L"/report a.txt /report b.txt", output));
  EXPECT_EQ(0u, ReadAll(output).rfind("Usage: Brovantine.exe", 0));
}

}  // namespace
}  // namespace brv
