#include "catalogue/common.h"

#include <memory>

namespace brv {

bool ConfirmDelete(Desktop& desktop) {
  return desktop.MsgBox(std::string("Are you sure? ") + "Changes cannot be reverted",
                        "Delete Confirmation", MsgButtons::OkCancel,
                        MsgIcon::None) == MsgAnswer::Ok;
}

namespace {

template <typename Enumerate>
std::vector<std::string> Names(Registry& registry, RootKey root, const std::string& path,
                               Enumerate enumerate) {
  std::vector<std::string> names;
  std::unique_ptr<RegKey> key;
  if (registry.OpenKey(root, path, Registry::Access::Read, &key) != kErrorSuccess) return names;
  std::string name;
  for (uint32_t index = 0; enumerate(*key, index, &name) == kErrorSuccess; ++index) {
    names.push_back(std::move(name));
  }
  return names;
}

}  // namespace

std::vector<std::string> SubKeyNames(Registry& registry, RootKey root, const std::string& path) {
  return Names(registry, root, path, [](RegKey& key, uint32_t index, std::string* name) {
    return key.EnumKey(index, name);
  });
}

std::vector<std::string> ValueNames(Registry& registry, RootKey root, const std::string& path) {
  return Names(registry, root, path, [](RegKey& key, uint32_t index, std::string* name) {
    return key.EnumValue(index, name);
  });
}

}  // namespace brv
