// What the catalogue panels share: the delete confirmation and the
// enumeration of a key's sub-key or value names.
#pragma once

#include <string>
#include <vector>

#include "form/desktop.h"
#include "registry/registry.h"

namespace brv {

inline constexpr const char* kAppTitle = "Brovantine";

// "Are you sure? Changes cannot be reverted", OK and Cancel; true on OK.
bool ConfirmDelete(Desktop& desktop);

// Names of all sub-keys (or values) of a key, in enumeration order. A key
// that cannot be opened gives no names. The enumeration ends at the first
// index the registry does not answer with success.
// Whether a name can be listed: a list box cuts its text at a NUL, so a name
// holding one would be shown, and then addressed, as the shorter name before
// it, which may be another entry's.
inline bool Listable(const std::string& name) {
  return name.find('\0') == std::string::npos;
}

std::vector<std::string> SubKeyNames(Registry& registry, RootKey root, const std::string& path);
std::vector<std::string> ValueNames(Registry& registry, RootKey root, const std::string& path);

}  // namespace brv
