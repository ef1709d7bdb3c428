// What the catalogue panels share: the delete confirmation and the
// enumeration of a key's sub-key or value names.
#pragma once

#include <string>
#include <vector>

#include "app/desktop.h"
#include "registry/registry.h"

namespace brv {

inline constexpr const char* kAppTitle = "Brovantine";

// "Are you sure? Changes cannot be reverted", OK and Cancel; true on OK.
bool ConfirmDelete(Desktop& desktop);

// Names of all sub-keys (or values) of a key, in enumeration order. A key
// that cannot be opened gives no names. The enumeration ends at the first
// index the registry does not answer with success.
std::vector<std::string> SubKeyNames(Registry& registry, RootKey root, const std::string& path);
std::vector<std::string> ValueNames(Registry& registry, RootKey root, const std::string& path);

}  // namespace brv
