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

// Returned for a move of a key that is, or holds, a registry link: a copy
// would put the target's contents in the link's place, so nothing is moved.
// (An application-defined error number: bit 29 set.)
inline constexpr long kErrorLinkNotMoved = 0x20000001;

// Whether the key at the address is a registry link: opened as itself and
// opened through, it is two keys (or only the first opens).
long IsLink(Registry& registry, const RegAddress& at, bool* link);

// How far a move got.
enum class MoveStage {
  Done,        // moved
  Unchanged,   // refused or failed with the registry as it was
  Joined,      // the copy failed part way into a key that existed before;
               // what was copied stays there, the source is whole
  SourceLeft,  // copied whole, but the source could not be deleted whole
};

// Moves a key: copies it as CopyKeyTree does and deletes `from` only when
// the copy fully succeeded. A key that is or holds a link is refused
// (kErrorLinkNotMoved). When the copy fails and `to` did not exist before,
// the half-made copy is deleted again, so the registry is as it was.
long MoveKey(Registry& registry, const RegAddress& from, const std::string& to,
             MoveStage* stage = nullptr);

}  // namespace brv
