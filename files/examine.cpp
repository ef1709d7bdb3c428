#include "files/examine.h"

#include <algorithm>
#include <vector>

#include "base/text.h"

namespace brv {

namespace {

// The longest path the system takes; expansion stops growing a text past it.
constexpr size_t kMaxPath = 32767;
// PATH entries searched at most.
constexpr size_t kMaxSearchFolders = 256;
// Parts of an unquoted command line tried at most.
constexpr size_t kMaxCommandParts = 16;

bool SameText(std::string_view a, std::string_view b) {
  return a.size() == b.size() && UpperCase(a) == UpperCase(b);
}

bool StartsWithText(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && SameText(text.substr(0, prefix.size()), prefix);
}

bool IsLetter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// "C:\..." (backslashes only, as Locate makes them).
bool IsDrivePath(std::string_view path) {
  return path.size() >= 3 && IsLetter(path[0]) && path[1] == ':' && path[2] == '\\';
}

std::string WithBackslashes(std::string text) {
  for (char& c : text) {
    if (c == '/') c = '\\';
  }
  return text;
}

// "\\?\C:\x" and "\\.\C:\x" are C:\x.
std::string WithoutLocalPrefix(const std::string& path) {
  if ((StartsWith(path, "\\\\?\\") || StartsWith(path, "\\\\.\\")) && IsDrivePath(path.substr(4))) {
    return path.substr(4);
  }
  return path;
}

// An address with a scheme of its own ("http://..."), other than a local
// file's.
bool IsRemoteAddress(const std::string& text) {
  const size_t colon = text.find("://");
  if (colon == std::string::npos || colon < 2) return false;
  for (size_t i = 0; i < colon; ++i) {
    if (!IsLetter(text[i])) return false;
  }
  return !SameText(text.substr(0, colon), "res") && !SameText(text.substr(0, colon), "file");
}

// Where a path below `folder` (compared without regard to case) goes on.
bool IsBelow(const std::string& path, const std::string& folder, size_t* rest) {
  if (folder.empty() || !StartsWithText(path, folder)) return false;
  if (path.size() > folder.size() && path[folder.size()] != '\\') return false;
  *rest = folder.size();
  return true;
}

// The path a 32-bit process reaches: System32 is redirected to SysWOW64, and
// Sysnative is the real System32.
std::string AsSeenBy32Bit(Files& files, const std::string& path) {
  const std::string wow = files.FolderPath(Folder::System32Bit);
  if (wow.empty()) return path;
  const std::string system = files.FolderPath(Folder::System);
  size_t rest = 0;
  if (IsBelow(path, system, &rest)) return wow + path.substr(rest);
  if (IsBelow(path, files.FolderPath(Folder::Windows) + "\\Sysnative", &rest)) {
    return system + path.substr(rest);
  }
  return path;
}

LocatedFile Check(Files& files, const std::string& path, bool for32Bit) {
  LocatedFile found;
  found.path = for32Bit ? AsSeenBy32Bit(files, path) : path;
  found.kind = files.Kind(found.path);
  return found;
}

// The folders the loader searches for a name without a folder: the system
// folder, the 16-bit system folder, the Windows folder, then each folder of
// PATH. Folders on a network or not absolute are passed over.
std::vector<std::string> SearchFolders(Files& files) {
  const std::string windows = files.FolderPath(Folder::Windows);
  std::vector<std::string> folders = {files.FolderPath(Folder::System), windows + "\\System",
                                      windows};
  const std::string path = files.Environment("PATH").value_or("");
  size_t at = 0;
  while (at <= path.size() && folders.size() < kMaxSearchFolders) {
    size_t end = path.find(';', at);
    if (end == std::string::npos) end = path.size();
    std::string folder = WithBackslashes(path.substr(at, end - at));
    folder.erase(std::remove(folder.begin(), folder.end(), '"'), folder.end());
    while (folder.size() > 3 && folder.back() == '\\') folder.pop_back();
    if (IsDrivePath(folder + "\\")) folders.push_back(folder);
    at = end + 1;
  }
  return folders;
}

bool HasExtension(const std::string& path) {
  const size_t slash = path.rfind('\\');
  return path.find('.', slash == std::string::npos ? 0 : slash) != std::string::npos;
}

// A path as the loader takes it: a full path as it stands, anything else
// searched for in the loader's folders; the first file found wins.
LocatedFile Find(Files& files, std::string path, FileUse use, bool for32Bit) {
  path = WithoutLocalPrefix(path);
  if (use != FileUse::Address && !HasExtension(path)) {
    path += use == FileUse::Program ? ".exe" : ".dll";
  }
  if (IsDrivePath(path)) return Check(files, path, for32Bit);
  for (const std::string& folder : SearchFolders(files)) {
    LocatedFile found = Check(files, folder + "\\" + path, for32Bit);
    if (found.kind == FileKind::File) return found;
  }
  return {path, FileKind::Missing};
}

// A command line's program: the quoted text, or else, as the system reads an
// unquoted line, the text up to the first space that ends at a file. Where
// none does, the shortest part whose name has an extension.
LocatedFile FindProgram(Files& files, const std::string& line, bool for32Bit) {
  if (StartsWith(line, "\"")) {
    const size_t close = line.find('"', 1);
    return Find(files, line.substr(1, close == std::string::npos ? close : close - 1),
                FileUse::Program, for32Bit);
  }
  std::vector<std::string> parts;
  for (size_t space = line.find(' '); space != std::string::npos && parts.size() < kMaxCommandParts;
       space = line.find(' ', space + 1)) {
    parts.push_back(line.substr(0, space));
  }
  parts.push_back(line);
  for (const std::string& part : parts) {
    LocatedFile found = Find(files, part, FileUse::Program, for32Bit);
    if (found.kind == FileKind::File || found.kind == FileKind::Network) return found;
  }
  for (const std::string& part : parts) {
    if (HasExtension(part)) return Find(files, part, FileUse::Program, for32Bit);
  }
  return Find(files, line, FileUse::Program, for32Bit);
}

// "res://C:\x\y.dll/type/name": the file is the text up to the first "/"
// after its last backslash.
std::string ResourceFile(const std::string& rest) {
  const size_t folder = rest.rfind('\\');
  return rest.substr(0, rest.find('/', folder == std::string::npos ? 0 : folder));
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// "file:///C:/x%20y/z.htm" is C:\x y\z.htm; "file://server/share/z.htm" is
// \\server\share\z.htm.
std::string FileUrlPath(const std::string& url) {
  std::string path;
  for (size_t i = 5; i < url.size(); ++i) {
    const int high = i + 2 < url.size() && url[i] == '%' ? HexDigit(url[i + 1]) : -1;
    const int low = high < 0 ? -1 : HexDigit(url[i + 2]);
    if (low >= 0) {
      path += static_cast<char>(high * 16 + low);
      i += 2;
    } else {
      path += url[i];
    }
  }
  path = WithBackslashes(path);
  if (StartsWith(path, "\\\\\\")) path.erase(0, 3);  // file:///C:/...
  if (StartsWith(path, "\\") && IsDrivePath(path.substr(1))) path.erase(0, 1);
  return path;
}

std::optional<std::string> Variable(Files& files, const std::string& name, bool for32Bit) {
  if (for32Bit && (SameText(name, "ProgramFiles") || SameText(name, "CommonProgramFiles"))) {
    if (auto value = files.Environment(name + "(x86)")) return value;
  }
  return files.Environment(name);
}

}  // namespace

bool IsNetworkPath(const std::string& path) {
  if (IsRemoteAddress(path)) return true;
  const std::string local = WithBackslashes(path);
  return StartsWith(local, "\\\\") && !IsDrivePath(WithoutLocalPrefix(local));
}

bool IsValidFileName(const std::string& name) {
  if (name.empty() || name.back() == ' ' || name.back() == '.') return false;
  if (Utf8ToUtf16(name).size() > 255) return false;
  for (char c : name) {
    if (static_cast<uint8_t>(c) < 0x20 ||
        std::string_view("<>:\"/\\|?*").find(c) != std::string_view::npos) {
      return false;
    }
  }
  const std::string base = UpperCase(name.substr(0, name.find('.')));
  static const char* const kDevices[] = {"CON", "PRN", "AUX", "NUL"};
  for (const char* device : kDevices) {
    if (base == device) return false;
  }
  return !((StartsWith(base, "COM") || StartsWith(base, "LPT")) && base.size() == 4 &&
           base[3] >= '1' && base[3] <= '9');
}

std::string ExpandEnvironment(Files& files, const std::string& text, bool for32Bit) {
  std::string out;
  size_t at = 0;
  while (at < text.size()) {
    const size_t open = text.find('%', at);
    const size_t close = open == std::string::npos ? open : text.find('%', open + 1);
    if (close == std::string::npos) {
      out += text.substr(at);
      break;
    }
    out += text.substr(at, open - at);
    const std::string name = text.substr(open + 1, close - open - 1);
    std::optional<std::string> value;
    if (!name.empty() && out.size() < kMaxPath) value = Variable(files, name, for32Bit);
    if (value) {
      out += *value;
      at = close + 1;
    } else {
      // "%NAME" stays; its closing "%" may open another name.
      out += text.substr(open, close - open);
      at = close;
    }
  }
  return out;
}

LocatedFile Locate(Files& files, const std::string& registered, FileUse use, bool for32Bit) {
  std::string text = ExpandEnvironment(files, TrimSpaces(CutAtNul(registered)), for32Bit);
  if (use == FileUse::Address && StartsWithText(text, "res://")) {
    text = ResourceFile(text.substr(6));
  } else if (use == FileUse::Address && StartsWithText(text, "file:")) {
    text = FileUrlPath(text);
  }
  if (IsNetworkPath(text)) return {text, FileKind::Network};
  text = WithBackslashes(text);
  if (use == FileUse::Program) return FindProgram(files, text, for32Bit);
  if (text.size() >= 2 && text.front() == '"' && text.back() == '"') {
    text = text.substr(1, text.size() - 2);
  }
  return Find(files, text, use, for32Bit);
}

FileReport Examine(Files& files, const std::string& registered, FileUse use, bool for32Bit) {
  return ExamineLocated(files, Locate(files, registered, use, for32Bit));
}

FileReport ExamineLocated(Files& files, const LocatedFile& located) {
  FileReport report;
  report.file = located;
  if (report.file.kind != FileKind::File) return report;
  std::unique_ptr<FileData> data;
  report.openError = files.Open(report.file.path, &data);
  if (report.openError != 0 || !data) {
    report.signature.state = SignatureState::Unreadable;
    return report;
  }
  report.size = data->Size();
  report.version = ReadVersion(*data);
  data.reset();
  report.signature = files.Verify(report.file.path);
  return report;
}

}  // namespace brv
