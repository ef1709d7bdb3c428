#include "app/win32/desktop_win.h"

#include <cstring>

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
