// The version information of a Windows program file (its company and its
// description), read from the file's bytes as data: the file is never loaded.
#pragma once

#include <string>

#include "files/files.h"

namespace brv {

struct FileVersion {
  std::string company;
  std::string description;
  std::string product;
  std::string version;
};

// Reads the first version resource of a PE file: the CompanyName,
// FileDescription, ProductName and FileVersion of its first string table
// that names a company or a description. Empty where the file has none,
// or is not a PE file, or is truncated or damaged: every offset and length
// in it is checked before it is followed, and reads are bounded.
FileVersion ReadVersion(FileData& file);

}  // namespace brv
