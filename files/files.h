// The files that registry entries name, as the program sees them: what is at
// a path, the bytes of a file, its signature, and the environment the loader
// finds files by. A file is only ever read as data: never loaded, never run.
// The one file the program writes is a report the user asks for, whole.
// Implemented over the Win32 functions (win32_files_win.cpp) and in memory
// (memory_files.cpp).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace brv {

enum class FileKind : uint8_t { Missing, File, Directory, Network };

enum class SignatureState : uint8_t {
  Unsigned,    // no signature of its own, none in a catalogue
  Valid,       // the file matches its signature
  NotValid,    // the file does not match its signature, or the signature is damaged
  Unreadable,  // the file could not be read
  Unchecked,   // the system could not check it
};

struct Signature {
  SignatureState state = SignatureState::Unsigned;
  std::string signer;    // the signing certificate's name, where the signature is valid
  bool trusted = false;  // its chain ends at a root the system trusts
};

// A file open for reading.
class FileData {
 public:
  FileData() = default;
  FileData(const FileData&) = delete;
  FileData& operator=(const FileData&) = delete;
  virtual ~FileData() = default;
  virtual uint64_t Size() = 0;
  // Exactly `size` bytes at `offset`; false when they cannot all be read.
  virtual bool Read(uint64_t offset, size_t size, std::string* bytes) = 0;
};

enum class Folder : uint8_t {
  Windows,
  System,       // the system folder of 64-bit programs (System32)
  System32Bit,  // where 32-bit programs find System32 (SysWOW64); empty with one view
};

class Files {
 public:
  virtual ~Files() = default;
  // What is at an absolute path. A path on a network share or drive is
  // Network and is never touched.
  virtual FileKind Kind(const std::string& path) = 0;
  // Opens a file for reading, shared with every other reader and writer; a
  // platform error number on failure.
  virtual long Open(const std::string& path, std::unique_ptr<FileData>* data) = 0;
  // The file's own signature, else its catalogue's, checked without any
  // network use (no revocation, no certificate fetch).
  virtual Signature Verify(const std::string& path) = 0;
  // An environment variable's value, or nothing where it is not set.
  virtual std::optional<std::string> Environment(const std::string& name) = 0;
  virtual std::string FolderPath(Folder folder) = 0;
  // Writes a file whole or not at all: into a new file beside it, which then
  // replaces it. On failure an earlier file of that name is as it was, and
  // nothing new is left; a platform error number. A network path is refused
  // (kErrorNotSupported) untouched.
  virtual long WriteWhole(const std::string& path, const std::string& bytes) = 0;
};

inline constexpr long kErrorPathNotFound = 3;
inline constexpr long kErrorSharingViolation = 32;
inline constexpr long kErrorNotSupported = 50;
inline constexpr long kErrorDiskFull = 112;
inline constexpr long kErrorInvalidName = 123;

}  // namespace brv
