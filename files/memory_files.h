// Files held in memory, for the native tests and benchmarks: paths compared
// without regard to case, as the system compares them; each file's bytes, its
// signature as the system would report it, and an error that opening it
// meets (a file another program holds without sharing it).
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "files/files.h"

namespace brv {

class MemoryFiles : public Files {
 public:
  struct File {
    std::string bytes;
    Signature signature;
    long openError = 0;
  };

  void AddFile(const std::string& path, File file);
  void AddFolder(const std::string& path);
  void SetVariable(const std::string& name, const std::string& value);

  FileKind Kind(const std::string& path) override;
  long Open(const std::string& path, std::unique_ptr<FileData>* data) override;
  Signature Verify(const std::string& path) override;
  std::optional<std::string> Environment(const std::string& name) override;
  std::string FolderPath(Folder folder) override;
  // As the system writes: the folder must be there (a drive's root always
  // is), the name valid, the target no folder and not held by another
  // program; `writeError`, where set, is what the disk says (a full disk).
  long WriteWhole(const std::string& path, const std::string& bytes) override;

  // The bytes of a file, or nothing where there is none.
  std::optional<std::string> Bytes(const std::string& path) const;
  long writeError = 0;

  std::string windows = "C:\\Windows";
  std::string system = "C:\\Windows\\System32";
  std::string system32Bit = "C:\\Windows\\SysWOW64";
  // Every path asked about, in order: a network path must never be one.
  std::vector<std::string> touched;

 private:
  std::map<std::string, File> files_;  // by upper-cased path, as are the two below
  std::set<std::string> folders_;
  std::map<std::string, std::string> variables_;
};

}  // namespace brv
