#include "registry/key_move.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "base/text.h"

namespace brv {

namespace {

// The names of a path, upper-cased, as the registry compares them.
std::vector<std::string> Names(const std::string& path) {
  std::vector<std::string> names = PathNames(path);
  for (std::string& name : names) name = UpperCase(name);
  return names;
}

// True when `inner` is `outer` or lies below it (names compared without
// regard to case, as the registry compares them).
bool SameOrBelow(const std::string& inner, const std::string& outer) {
  const std::vector<std::string> a = Names(inner);
  const std::vector<std::string> b = Names(outer);
  return a.size() >= b.size() && std::equal(b.begin(), b.end(), a.begin());
}

long CopyValues(RegKey& source, RegKey& target) {
  std::string name;
  for (uint32_t index = 0;; ++index) {
    long r = source.EnumValue(index, &name);
    if (r == kErrorNoMoreItems) return kErrorSuccess;
    if (r != kErrorSuccess) return r;
    RegData data;
    if ((r = source.QueryValue(name, &data)) != kErrorSuccess) return r;
    if ((r = target.SetValue(name, data)) != kErrorSuccess) return r;
  }
}

long CopyTree(Registry& registry, const RegAddress& from, const std::string& to) {
  std::unique_ptr<RegKey> source;
  if (long r = registry.OpenKey(from, Registry::Access::Read, &source)) return r;
  std::unique_ptr<RegKey> target;
  if (long r = registry.CreateKey(RegAddress{from.root, from.view, to}, &target)) return r;
  if (long r = CopyValues(*source, *target)) return r;
  target.reset();
  // Names first, then the copies: the source's enumeration is not disturbed
  // by keys created elsewhere, and no handle is held down the whole tree.
  std::vector<std::string> names;
  if (long r = source->SubKeyNames(&names)) return r;
  source.reset();
  for (const std::string& child : names) {
    const RegAddress inner{from.root, from.view, from.path + "\\" + child};
    if (long r = CopyTree(registry, inner, to + "\\" + child)) return r;
  }
  return kErrorSuccess;
}

}  // namespace

long CopyKeyTree(Registry& registry, const RegAddress& from, const std::string& to) {
  if (SameOrBelow(to, from.path)) return kErrorInvalidParameter;
  return CopyTree(registry, from, to);
}

long IsLink(Registry& registry, const RegAddress& at, bool* link) {
  std::unique_ptr<RegKey> itself;
  if (long r = registry.OpenLink(at, &itself)) return r;
  std::string ownName;
  if (long r = itself->FullName(&ownName)) return r;
  std::unique_ptr<RegKey> through;
  if (registry.OpenKey(at, Registry::Access::Read, &through) != kErrorSuccess) {
    *link = true;  // opens as itself but leads nowhere
    return kErrorSuccess;
  }
  std::string throughName;
  if (long r = through->FullName(&throughName)) return r;
  *link = ownName != throughName;
  return kErrorSuccess;
}

namespace {

// Whether the key or anything below it is a link; links are not entered. A
// key that cannot be opened is not looked into: the copy meets it and fails.
long HoldsLink(Registry& registry, const RegAddress& at, bool* found, int depth) {
  if (depth > 512) return kErrorCantOpen;
  if (IsLink(registry, at, found) != kErrorSuccess) return kErrorSuccess;
  if (*found) return kErrorSuccess;
  std::unique_ptr<RegKey> key;
  if (registry.OpenLink(at, &key) != kErrorSuccess) return kErrorSuccess;
  std::vector<std::string> names;
  if (long r = key->SubKeyNames(&names)) return r;
  key.reset();
  for (const std::string& child : names) {
    const RegAddress inner{at.root, at.view, at.path + "\\" + child};
    if (long r = HoldsLink(registry, inner, found, depth + 1)) return r;
    if (*found) return kErrorSuccess;
  }
  return kErrorSuccess;
}

}  // namespace

long MoveKey(Registry& registry, const RegAddress& from, const std::string& to, MoveStage* stage) {
  MoveStage ignored;
  MoveStage& outcome = stage ? *stage : ignored;
  outcome = MoveStage::Unchanged;
  bool link = false;
  if (long r = HoldsLink(registry, from, &link, 0)) return r;
  if (link) return kErrorLinkNotMoved;
  std::unique_ptr<RegKey> existing;
  const RegAddress target{from.root, from.view, to};
  const bool targetExisted = registry.OpenLink(target, &existing) == kErrorSuccess;
  existing.reset();
  if (long r = CopyKeyTree(registry, from, to)) {
    // What is there now of a target that did not exist is the half-made copy.
    if (targetExisted) {
      outcome = MoveStage::Joined;
    } else {
      const long undone = registry.DeleteTree(target);
      if (undone != kErrorSuccess && undone != kErrorFileNotFound) outcome = MoveStage::Joined;
    }
    return r;
  }
  if (long r = registry.DeleteTree(from)) {
    outcome = MoveStage::SourceLeft;
    return r;
  }
  outcome = MoveStage::Done;
  return kErrorSuccess;
}

}  // namespace brv
