// The files of the running system, through the Unicode Win32 functions. Safe
// to use from any thread: it keeps no state.
#pragma once

#include "files/files.h"

namespace brv {

class Win32Files : public Files {
 public:
  FileKind Kind(const std::string& path) override;
  long Open(const std::string& path, std::unique_ptr<FileData>* data) override;
  Signature Verify(const std::string& path) override;
  std::optional<std::string> Environment(const std::string& name) override;
  std::string FolderPath(Folder folder) override;
  long WriteWhole(const std::string& path, const std::string& bytes) override;
};

}  // namespace brv
