// The file a registry entry names: where the loader would find it, and what
// it is (who signed it, who made it). Portable logic over Files.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "files/files.h"
#include "files/version_info.h"

namespace brv {

// How an entry names its file.
enum class FileUse : uint8_t {
  Library,  // a DLL's path (InprocServer32)
  Program,  // a command line (Exec)
  Address,  // a script's path, a res:// address of a file's resource, or a file:// URL
};

struct LocatedFile {
  std::string path;
  FileKind kind = FileKind::Missing;
};

// The file as the loader would find it: environment variables expanded,
// quotes and arguments removed from a command line, a res:// or file://
// address reduced to its file, a name without a folder searched for as the
// loader does (with ".dll" or ".exe" added where it has no extension). For
// an entry loaded in 32-bit processes (`for32Bit`) System32 is SysWOW64 and
// Sysnative is System32, as the system redirects them. A network path is
// never touched.
LocatedFile Locate(Files& files, const std::string& registered, FileUse use, bool for32Bit);

// A path or address that leads to another machine: "\\server\share\...",
// "\\?\UNC\...", "file://server/...", or an address such as "http://...".
bool IsNetworkPath(const std::string& path);

// A name a file may have on the system's disks: not empty, none of
// < > : " / \ | ? * or a control character, not ending in a space or a dot,
// not a device's name (CON, NUL, COM1, ...), at most 255 UTF-16 units.
bool IsValidFileName(const std::string& name);

// Each "%NAME%" replaced by the variable's value, in one pass (a value is not
// expanded again), an unknown name left as it stands. In 32-bit processes
// ProgramFiles and CommonProgramFiles are the "(x86)" folders.
std::string ExpandEnvironment(Files& files, const std::string& text, bool for32Bit);

struct FileReport {
  LocatedFile file;
  long openError = 0;            // the file is there but could not be read
  std::optional<uint64_t> size;  // where it could be opened
  Signature signature;
  FileVersion version;
};

// Locates the file and, where it is a file, reads its version information
// and checks its signature. Slow for a large file: the signature covers every
// byte of it.
FileReport Examine(Files& files, const std::string& registered, FileUse use, bool for32Bit);
// The same for a file already located.
FileReport ExamineLocated(Files& files, const LocatedFile& located);

}  // namespace brv
