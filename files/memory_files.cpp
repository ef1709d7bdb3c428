#include "files/memory_files.h"

#include "base/text.h"
#include "files/examine.h"

namespace brv {

namespace {

class MemoryData : public FileData {
 public:
  explicit MemoryData(std::string bytes) : bytes_(std::move(bytes)) {}
  uint64_t Size() override { return bytes_.size(); }
  bool Read(uint64_t offset, size_t size, std::string* bytes) override {
    if (offset > bytes_.size() || size > bytes_.size() - offset) return false;
    bytes->assign(bytes_, static_cast<size_t>(offset), size);
    return true;
  }

 private:
  std::string bytes_;
};

}  // namespace

void MemoryFiles::AddFile(const std::string& path, File file) {
  files_[UpperCase(path)] = std::move(file);
}

void MemoryFiles::AddFolder(const std::string& path) {
  folders_.insert(UpperCase(path));
}

void MemoryFiles::SetVariable(const std::string& name, const std::string& value) {
  variables_[UpperCase(name)] = value;
}

FileKind MemoryFiles::Kind(const std::string& path) {
  touched.push_back(path);
  if (IsNetworkPath(path)) return FileKind::Network;
  const std::string key = UpperCase(path);
  if (files_.count(key)) return FileKind::File;
  return folders_.count(key) ? FileKind::Directory : FileKind::Missing;
}

long MemoryFiles::Open(const std::string& path, std::unique_ptr<FileData>* data) {
  touched.push_back(path);
  const auto it = files_.find(UpperCase(path));
  if (it == files_.end()) return folders_.count(UpperCase(path)) ? 5 : 2;
  if (it->second.openError != 0) return it->second.openError;
  *data = std::make_unique<MemoryData>(it->second.bytes);
  return 0;
}

Signature MemoryFiles::Verify(const std::string& path) {
  touched.push_back(path);
  const auto it = files_.find(UpperCase(path));
  if (it == files_.end() || it->second.openError != 0)
    return {SignatureState::Unreadable, {}, false};
  return it->second.signature;
}

std::optional<std::string> MemoryFiles::Environment(const std::string& name) {
  const auto it = variables_.find(UpperCase(name));
  return it == variables_.end() ? std::nullopt : std::optional<std::string>(it->second);
}

std::string MemoryFiles::FolderPath(Folder folder) {
  return folder == Folder::Windows ? windows : folder == Folder::System ? system : system32Bit;
}

long MemoryFiles::WriteWhole(const std::string& path, const std::string& bytes) {
  if (IsNetworkPath(path)) return kErrorNotSupported;
  const size_t slash = path.rfind('\\');
  if (slash == std::string::npos || !IsValidFileName(path.substr(slash + 1))) {
    return kErrorInvalidName;
  }
  const std::string folder = UpperCase(path.substr(0, slash));
  if (folder.size() != 2 && !folders_.count(folder)) return kErrorPathNotFound;
  const std::string key = UpperCase(path);
  if (folders_.count(key)) return 5;
  const auto it = files_.find(key);
  if (it != files_.end() && it->second.openError) return it->second.openError;
  if (writeError) return writeError;
  files_[key] = File{bytes, {}, 0};
  return 0;
}

std::optional<std::string> MemoryFiles::Bytes(const std::string& path) const {
  const auto it = files_.find(UpperCase(path));
  return it == files_.end() ? std::nullopt : std::optional<std::string>(it->second.bytes);
}

}  // namespace brv
