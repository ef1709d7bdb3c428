// Copying and moving a key with everything below it, over the Registry
// interface, so that a rename keeps what the key holds.
#pragma once

#include <string>

#include "registry/registry.h"

namespace brv {

// Copies the values and sub-keys of `from` (recursively) into `to`, creating
// `to` and its sub-keys as needed. Where `to` already exists, the copied
// values and sub-keys join what it holds and values of the same name take the
// copied data. Stops at the first failure and returns its error; kErrorSuccess
// when everything was copied. A target inside the source is refused.
// `to` is a path under the same root, in the same view.
long CopyKeyTree(Registry& registry, const RegAddress& from, const std::string& to);

// Moves a key: copies it as CopyKeyTree does and deletes `from` only when
// the copy fully succeeded, so a failed move leaves the source as it was.
long MoveKey(Registry& registry, const RegAddress& from, const std::string& to);

}  // namespace brv
