#include "app/win32/desktop_win.h"

#include <commdlg.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "app/win32/controls_win.h"
#include "base/system_library_win.h"

namespace brv {

namespace {

// The clipboard, open for as long as the object lives.
class OpenClipboardScope {
 public:
  explicit OpenClipboardScope(HWND owner) {
    // Another program may hold it for a moment.
    for (int attempt = 0; attempt < 10 && !open_; ++attempt) {
      open_ = OpenClipboard(owner) != FALSE;
      if (!open_) Sleep(20);
    }
  }
  ~OpenClipboardScope() {
    if (open_) CloseClipboard();
  }
  OpenClipboardScope(const OpenClipboardScope&) = delete;
  OpenClipboardScope& operator=(const OpenClipboardScope&) = delete;
  bool IsOpen() const { return open_; }

 private:
  bool open_ = false;
};

HMODULE Shell() {
  static const HMODULE shell = LoadSystemLibrary(L"shell32.dll");
  return shell;
}

// The shell's item functions want COM on the calling thread: started once,
// for the life of the program.
void StartCom() {
  static const bool started = [] {
    using Initialize = HRESULT(WINAPI*)(void*, DWORD);
    auto initialize = FindFunction<Initialize>(LoadSystemLibrary(L"ole32.dll"), "CoInitializeEx");
    return initialize && SUCCEEDED(initialize(nullptr, COINIT_APARTMENTTHREADED));
  }();
  (void)started;
}

// An error number the system has a text for: a failed HRESULT as it stands.
long Failure(HRESULT result) {
  return FAILED(result) ? static_cast<long>(result) : 0;
}

// An argument as a command line carries it, to be read back as itself by the
// usual parsing: as it stands where it holds no space, tab or quote, else
// quoted, with its quotes and the backslashes before them escaped.
std::wstring QuoteArgument(const std::wstring& argument) {
  if (!argument.empty() && argument.find_first_of(L" \t\n\v\"") == std::wstring::npos) {
    return argument;
  }
  std::wstring quoted = L"\"";
  size_t backslashes = 0;
  for (const wchar_t c : argument) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    // Backslashes count only before a quote: there each is doubled, and the
    // quote escaped.
    quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
    quoted += c;
    backslashes = 0;
  }
  // Before the closing quote, too.
  quoted.append(backslashes * 2, L'\\');
  return quoted + L"\"";
}

}  // namespace

MsgAnswer Win32Desktop::MsgBox(const std::string& text, const std::string& title,
                               MsgButtons buttons, MsgIcon icon) {
  UINT flags = buttons == MsgButtons::Ok         ? MB_OK
               : buttons == MsgButtons::OkCancel ? MB_OKCANCEL
                                                 : MB_YESNO;
  if (icon == MsgIcon::Information) flags |= MB_ICONINFORMATION;
  const int answer = MessageBoxW(owner_, ToWide(text).c_str(), ToWide(title).c_str(), flags);
  switch (answer) {
    case IDOK:
      return MsgAnswer::Ok;
    case IDYES:
      return MsgAnswer::Yes;
    case IDNO:
      return MsgAnswer::No;
    default:
      return buttons == MsgButtons::YesNo ? MsgAnswer::No
             : buttons == MsgButtons::Ok  ? MsgAnswer::Ok
                                          : MsgAnswer::Cancel;
  }
}

bool Win32Desktop::SetClipboardText(const std::string& text) {
  const std::wstring wide = ToWide(text);
  const size_t bytes = (wide.size() + 1) * sizeof(wchar_t);
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
  if (!memory) return false;
  void* data = GlobalLock(memory);
  if (!data) {
    GlobalFree(memory);
    return false;
  }
  std::memcpy(data, wide.c_str(), bytes);
  GlobalUnlock(memory);
  OpenClipboardScope clipboard(owner_);
  if (!clipboard.IsOpen() || !EmptyClipboard() || !SetClipboardData(CF_UNICODETEXT, memory)) {
    GlobalFree(memory);
    return false;
  }
  return true;  // the clipboard owns the memory now
}

void Win32Desktop::ShellOpen(const std::string& operation, const std::string& target) {
  // The shell's library (and all it loads) is loaded when a link is first
  // opened, not when the program starts; it stays for the life of the
  // program. What the shell makes of the link is not reported: no browser
  // or mail program is not the program's failure.
  using Execute =
      HINSTANCE(WINAPI*)(HWND, const wchar_t*, const wchar_t*, const wchar_t*, const wchar_t*, int);
  static const auto execute = [] {
    return FindFunction<Execute>(LoadSystemLibrary(L"shell32.dll"), "ShellExecuteW");
  }();
  if (execute) {
    execute(GetDesktopWindow(), ToWide(operation).c_str(), ToWide(target).c_str(), nullptr, nullptr,
            SW_SHOWNORMAL);
  }
}

long Win32Desktop::StartProgram(const std::string& program,
                                const std::vector<std::string>& arguments) {
  const std::wstring application = ToWide(program);
  // The program's own name is read up to the closing quote, as it stands.
  std::wstring line = L"\"" + application + L"\"";
  for (const std::string& argument : arguments) line += L" " + QuoteArgument(ToWide(argument));
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessW(application.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, &startup, &process)) {
    return static_cast<long>(GetLastError());
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return 0;
}

long Win32Desktop::ShowFileInFolder(const std::string& path) {
  using Parse = HRESULT(WINAPI*)(PCWSTR, IBindCtx*, PIDLIST_ABSOLUTE*, SFGAOF, SFGAOF*);
  using Select = HRESULT(WINAPI*)(PCIDLIST_ABSOLUTE, UINT, PCUITEMID_CHILD_ARRAY, DWORD);
  using Free = void(WINAPI*)(PIDLIST_RELATIVE);
  const auto parse = FindFunction<Parse>(Shell(), "SHParseDisplayName");
  const auto select = FindFunction<Select>(Shell(), "SHOpenFolderAndSelectItems");
  const auto free = FindFunction<Free>(Shell(), "ILFree");
  if (!parse || !select || !free) return ERROR_PROC_NOT_FOUND;
  StartCom();
  PIDLIST_ABSOLUTE item = nullptr;
  HRESULT result = parse(ToWide(path).c_str(), nullptr, &item, 0, nullptr);
  if (SUCCEEDED(result)) {
    // The file's own item: its folder opens with it selected.
    result = select(item, 0, nullptr, 0);
    free(item);
  }
  return Failure(result);
}

long Win32Desktop::ShowFileProperties(const std::string& path) {
  using Execute = BOOL(WINAPI*)(SHELLEXECUTEINFOW*);
  const auto execute = FindFunction<Execute>(Shell(), "ShellExecuteExW");
  if (!execute) return ERROR_PROC_NOT_FOUND;
  StartCom();
  const std::wstring file = ToWide(path);
  SHELLEXECUTEINFOW info = {};
  info.cbSize = sizeof info;
  // The file's "properties" verb; the program reports a failure itself.
  info.fMask = SEE_MASK_INVOKEIDLIST | SEE_MASK_FLAG_NO_UI;
  info.hwnd = owner_;
  info.lpVerb = L"properties";
  info.lpFile = file.c_str();
  info.nShow = SW_SHOWNORMAL;
  return execute(&info) ? 0 : static_cast<long>(GetLastError());
}

std::string Win32Desktop::ErrorText(long code) {
  wchar_t* buffer = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::string text;
  if (length && buffer) text = FromWide(buffer, length);
  if (buffer) LocalFree(buffer);
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) {
    text.pop_back();
  }
  if (text.empty()) text = "Error " + std::to_string(code);
  return text;
}

std::string Win32Desktop::ProgramPath() {
  return ReadWholePath(
      [](wchar_t* buffer, DWORD size) { return GetModuleFileNameW(nullptr, buffer, size); });
}

namespace {

int64_t Ticks(const FILETIME& time) {
  return static_cast<int64_t>(static_cast<uint64_t>(time.dwHighDateTime) << 32 |
                              time.dwLowDateTime);
}

std::string EnvironmentText(const wchar_t* name) {
  wchar_t value[256];
  const DWORD length = GetEnvironmentVariableW(name, value, 256);
  return length > 0 && length < 256 ? FromWide(value, length) : std::string();
}

// Whether the program runs with the administrators' full rights.
bool RunsElevated() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return false;
  TOKEN_ELEVATION elevation = {};
  DWORD size = 0;
  const bool known =
      GetTokenInformation(token, TokenElevation, &elevation, sizeof(elevation), &size) != FALSE;
  CloseHandle(token);
  return known && elevation.TokenIsElevated != 0;
}

// The system's own version (GetVersionEx answers what the manifest claims).
std::string WindowsVersion() {
  using GetVersion = LONG(WINAPI*)(OSVERSIONINFOW*);
  const auto get = FindFunction<GetVersion>(GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion");
  OSVERSIONINFOW info = {};
  info.dwOSVersionInfoSize = sizeof(info);
  if (!get || get(&info) != 0) return std::string();
  return std::to_string(info.dwMajorVersion) + "." + std::to_string(info.dwMinorVersion) + "." +
         std::to_string(info.dwBuildNumber);
}

}  // namespace

Machine Win32Desktop::ThisMachine() {
  Machine machine;
  wchar_t name[MAX_COMPUTERNAME_LENGTH + 1];
  DWORD size = MAX_COMPUTERNAME_LENGTH + 1;
  if (GetComputerNameW(name, &size)) machine.computer = FromWide(name, size);
  // The user's own name and domain as the session knows them: no look-up
  // that could ask a domain controller.
  wchar_t user[257];
  DWORD userSize = 257;
  if (GetUserNameW(user, &userSize) && userSize > 0) {
    const std::string domain = EnvironmentText(L"USERDOMAIN");
    machine.user =
        (domain.empty() ? machine.computer : domain) + "\\" + FromWide(user, userSize - 1);
  }
  machine.windows = WindowsVersion();
  machine.elevated = RunsElevated();
  return machine;
}

Now Win32Desktop::TimeNow() {
  FILETIME utc, local;
  GetSystemTimeAsFileTime(&utc);
  if (!FileTimeToLocalFileTime(&utc, &local)) local = utc;
  return {Ticks(utc), Ticks(local)};
}

bool Win32Desktop::AskSavePath(const SaveDialog& dialog, std::string* path, size_t* type) {
  // The dialog's library is loaded when it is first asked for.
  using GetSaveName = BOOL(WINAPI*)(OPENFILENAMEW*);
  static const auto ask =
      FindFunction<GetSaveName>(LoadSystemLibrary(L"comdlg32.dll"), "GetSaveFileNameW");
  if (!ask) return false;
  std::wstring filter;
  for (const auto& entry : dialog.types) {
    filter += ToWide(entry.first) + L'\0' + ToWide(entry.second) + L'\0';
  }
  filter += L'\0';
  std::vector<wchar_t> name(32768, L'\0');
  const std::wstring suggested = ToWide(dialog.suggested);
  std::copy(suggested.begin(), suggested.begin() + std::min<size_t>(suggested.size(), 32767),
            name.begin());
  const std::wstring title = ToWide(dialog.title);
  const std::wstring extension = ToWide(dialog.extension);
  OPENFILENAMEW open = {};
  open.lStructSize = sizeof(open);
  open.hwndOwner = owner_;
  open.lpstrFilter = filter.c_str();
  open.nFilterIndex = 1;
  open.lpstrFile = name.data();
  open.nMaxFile = static_cast<DWORD>(name.size());
  open.lpstrTitle = title.c_str();
  open.lpstrDefExt = extension.c_str();
  open.Flags =
      OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_EXPLORER | OFN_HIDEREADONLY;
  if (!ask(&open)) return false;
  *path = FromWide(name.data(), wcsnlen(name.data(), name.size()));
  *type = open.nFilterIndex > 0 ? open.nFilterIndex - 1 : 0;
  return true;
}

std::string ReadWholePath(const std::function<DWORD(wchar_t*, DWORD)>& read) {
  // A path may be longer than MAX_PATH (up to 32,767 characters). A result
  // that fills the buffer may have been cut: ask again with more room.
  for (DWORD size = MAX_PATH; size <= 65536; size *= 2) {
    std::wstring path(size, L'\0');
    const DWORD length = read(path.data(), size);
    if (length == 0) return std::string();
    if (length < size) return FromWide(path.data(), length);
  }
  return std::string();
}

}  // namespace brv
