#include "registry/memory_registry.h"

#include <algorithm>
#include <unordered_map>

#include "base/text.h"

namespace brv {

namespace {

// Names are equal when their upper-case forms are; the real registry sorts
// sub-keys by their lower-case forms, unit by unit, a prefix first.
std::u16string Fold(const std::string& name) {
  std::u16string units = Utf8ToUtf16(name);
  for (char16_t& u : units) u = UpperUnit(u);
  return units;
}

std::u16string SortForm(const std::string& name) {
  std::u16string units = Utf8ToUtf16(name);
  for (char16_t& u : units) u = LowerUnit(UpperUnit(u));
  return units;
}

constexpr size_t kMaxValueNameUnits = 16383;

}  // namespace

struct MemoryRegistry::Node {
  struct Value {
    std::string name;
    std::u16string folded;
    RegData data;
  };

  std::string name;
  std::u16string sortForm;
  Node* parent = nullptr;
  bool deleted = false;
  bool isProtected = false;
  bool denied = false;
  int64_t written = 0;
  // A registry link: opening it (but not opening it as a link) leads to
  // the target key instead.
  bool isLink = false;
  RegAddress linkTarget;

  std::unordered_map<std::u16string, std::shared_ptr<Node>> children;  // by folded name
  std::vector<Node*> sorted;  // enumeration order, rebuilt after a change
  bool sortedValid = true;

  std::vector<Value> values;  // creation order
  std::unordered_map<std::u16string, size_t> valueIndex;

  const std::vector<Node*>& Sorted() {
    if (!sortedValid) {
      sorted.clear();
      sorted.reserve(children.size());
      for (auto& entry : children) sorted.push_back(entry.second.get());
      std::sort(sorted.begin(), sorted.end(),
                [](const Node* a, const Node* b) { return a->sortForm < b->sortForm; });
      sortedValid = true;
    }
    return sorted;
  }

  void MarkDeleted() {
    deleted = true;
    for (auto& entry : children) entry.second->MarkDeleted();
  }

  void RemoveValue(size_t index) {
    values.erase(values.begin() + static_cast<std::ptrdiff_t>(index));
    valueIndex.clear();
    for (size_t i = 0; i < values.size(); ++i) valueIndex[values[i].folded] = i;
  }
};

namespace {

class MemoryKey : public RegKey {
 public:
  MemoryKey(std::shared_ptr<MemoryRegistry::Node> node, bool writable, const int64_t* clock)
      : node_(std::move(node)), writable_(writable), clock_(clock) {}

  long EnumKey(uint32_t index, std::string* name) override {
    if (node_->deleted) return kErrorKeyDeleted;
    const auto& sorted = node_->Sorted();
    if (index >= sorted.size()) return kErrorNoMoreItems;
    *name = sorted[index]->name;
    return kErrorSuccess;
  }

  long EnumValue(uint32_t index, std::string* name) override {
    if (node_->deleted) return kErrorKeyDeleted;
    if (index >= node_->values.size()) return kErrorNoMoreItems;
    *name = node_->values[index].name;
    return kErrorSuccess;
  }

  long QueryValue(const std::string& name, RegData* data) override {
    if (node_->deleted) return kErrorKeyDeleted;
    auto it = node_->valueIndex.find(Fold(name));
    if (it == node_->valueIndex.end()) return kErrorFileNotFound;
    *data = node_->values[it->second].data;
    return kErrorSuccess;
  }

  long SetValue(const std::string& name, const RegData& data) override {
    if (node_->deleted) return kErrorKeyDeleted;
    if (!writable_ || node_->isProtected) return kErrorAccessDenied;
    std::u16string folded = Fold(name);
    if (folded.size() > kMaxValueNameUnits) return kErrorInvalidParameter;
    node_->written = *clock_;
    auto it = node_->valueIndex.find(folded);
    if (it != node_->valueIndex.end()) {
      node_->values[it->second].data = data;
      return kErrorSuccess;
    }
    node_->valueIndex[folded] = node_->values.size();
    node_->values.push_back({name, std::move(folded), data});
    return kErrorSuccess;
  }

  long DeleteValue(const std::string& name) override {
    if (node_->deleted) return kErrorKeyDeleted;
    if (!writable_ || node_->isProtected) return kErrorAccessDenied;
    auto it = node_->valueIndex.find(Fold(name));
    if (it == node_->valueIndex.end()) return kErrorFileNotFound;
    node_->written = *clock_;
    node_->RemoveValue(it->second);
    return kErrorSuccess;
  }

  long FullName(std::string* name) override {
    if (node_->deleted) return kErrorKeyDeleted;
    std::string full;
    for (const MemoryRegistry::Node* n = node_.get(); n; n = n->parent) {
      full.insert(0, "\\" + n->name);
    }
    *name = std::move(full);
    return kErrorSuccess;
  }

  long LastWriteTime(int64_t* time) override {
    if (node_->deleted) return kErrorKeyDeleted;
    *time = node_->written;
    return kErrorSuccess;
  }

 private:
  std::shared_ptr<MemoryRegistry::Node> node_;
  bool writable_;
  const int64_t* clock_;
};

// Splits a sub-key path into its names; a leading separator is refused, as
// the real registry refuses it.
long SplitPath(const std::string& path, std::vector<std::string>* names) {
  if (!path.empty() && path[0] == '\\') return kErrorBadPathname;
  *names = PathNames(path);
  return kErrorSuccess;
}

bool Is(const std::string& name, const char* expected) {
  return Fold(name) == Fold(expected);
}

// Where a 32-bit program's path leads: HKEY_LOCAL_MACHINE\Software\X to
// Software\Wow6432Node\X (Software\Classes\CLSID to
// Software\Classes\Wow6432Node\CLSID), HKEY_CLASSES_ROOT\CLSID to
// Wow6432Node\CLSID; everything else as it is.
void Redirect(RootKey root, std::vector<std::string>* names) {
  std::vector<std::string>& n = *names;
  const char* const kWow = "Wow6432Node";
  if (root == kClassesRoot && !n.empty() && Is(n[0], "CLSID")) {
    n.insert(n.begin(), kWow);
  } else if (root == kLocalMachine && !n.empty() && Is(n[0], "Software")) {
    if (n.size() >= 3 && Is(n[1], "Classes") && Is(n[2], "CLSID")) {
      n.insert(n.begin() + 2, kWow);
    } else if (n.size() == 1 || (!Is(n[1], "Classes") && !Is(n[1], kWow))) {
      n.insert(n.begin() + 1, kWow);
    }
  }
}

}  // namespace

MemoryRegistry::MemoryRegistry(Views views) : views_(views) {
  for (RootKey root : {kClassesRoot, kCurrentUser, kLocalMachine, kUsers, kCurrentConfig}) {
    auto node = std::make_shared<Node>();
    node->name = "ROOT" + std::to_string(root);
    roots_[root] = std::move(node);
  }
}

MemoryRegistry::~MemoryRegistry() = default;

long MemoryRegistry::Find(const RegAddress& at, bool create, std::shared_ptr<Node>* node,
                          bool openLink, int depth) {
  // A chain of links deeper than this is a loop, as the system judges it.
  if (depth > 16) return kErrorCantOpen;
  auto rootIt = roots_.find(at.root);
  if (rootIt == roots_.end()) return kErrorInvalidHandle;
  std::vector<std::string> names;
  if (long r = SplitPath(at.path, &names)) return r;
  if (at.view == View::k32 && views_ == Views::Two) Redirect(at.root, &names);
  std::shared_ptr<Node> current = rootIt->second;
  for (size_t i = 0; i < names.size(); ++i) {
    const std::string& name = names[i];
    std::u16string folded = Fold(name);
    auto it = current->children.find(folded);
    if (it != current->children.end()) {
      current = it->second;
      if (current->isLink && !(openLink && i + 1 == names.size())) {
        if (long r = Find(current->linkTarget, false, &current, false, depth + 1)) return r;
      }
      continue;
    }
    if (!create) return kErrorFileNotFound;
    if (current->isProtected) return kErrorAccessDenied;
    auto child = std::make_shared<Node>();
    child->name = name;
    child->sortForm = SortForm(name);
    child->parent = current.get();
    child->written = clock;
    current->children.emplace(std::move(folded), child);
    current->sortedValid = false;
    current = child;
  }
  if (current->denied) return kErrorAccessDenied;
  *node = current;
  return kErrorSuccess;
}

long MemoryRegistry::OpenKey(const RegAddress& at, Access access, std::unique_ptr<RegKey>* key) {
  std::shared_ptr<Node> node;
  if (long r = Find(at, false, &node)) return r;
  const bool writable = access == Access::ReadWrite;
  if (writable && node->isProtected) return kErrorAccessDenied;
  *key = std::make_unique<MemoryKey>(node, writable, &clock);
  return kErrorSuccess;
}

long MemoryRegistry::OpenLink(const RegAddress& at, std::unique_ptr<RegKey>* key) {
  std::shared_ptr<Node> node;
  if (long r = Find(at, false, &node, true)) return r;
  *key = std::make_unique<MemoryKey>(node, false, &clock);
  return kErrorSuccess;
}

long MemoryRegistry::CreateKey(const RegAddress& at, std::unique_ptr<RegKey>* key) {
  std::shared_ptr<Node> node;
  if (long r = Find(at, true, &node)) return r;
  if (node->isProtected) return kErrorAccessDenied;
  *key = std::make_unique<MemoryKey>(node, true, &clock);
  return kErrorSuccess;
}

long MemoryRegistry::DeleteTree(const RegAddress& at) {
  std::vector<std::string> names;
  if (long r = SplitPath(at.path, &names)) return r;
  if (names.empty()) return kErrorInvalidParameter;
  // The key itself is taken as itself: a link is deleted, not its target.
  std::shared_ptr<Node> node;
  if (long r = Find(at, false, &node, true)) return r;
  if (node->isProtected) return kErrorAccessDenied;
  return DeleteNode(node);
}

// Deletes what can be deleted below a key, then the key: a key that refuses
// changes stays, with everything below it and every key above it.
long MemoryRegistry::DeleteNode(const std::shared_ptr<Node>& node) {
  long first = kErrorSuccess;
  std::vector<std::shared_ptr<Node>> children;
  for (auto& entry : node->children) children.push_back(entry.second);
  for (const std::shared_ptr<Node>& child : children) {
    const long r = child->isProtected ? kErrorAccessDenied : DeleteNode(child);
    if (r != kErrorSuccess && first == kErrorSuccess) first = r;
  }
  if (first != kErrorSuccess) return first;
  Node* parent = node->parent;
  node->MarkDeleted();
  parent->children.erase(Fold(node->name));
  parent->sortedValid = false;
  return kErrorSuccess;
}

long MemoryRegistry::CreateLink(const RegAddress& at, const RegAddress& target) {
  std::shared_ptr<Node> node;
  if (Find(at, false, &node, true) == kErrorSuccess) return kErrorAccessDenied;  // exists
  if (long r = Find(at, true, &node)) return r;
  node->isLink = true;
  node->linkTarget = target;
  return kErrorSuccess;
}

long MemoryRegistry::DeleteValue(const RegAddress& at, const std::string& name) {
  std::unique_ptr<RegKey> key;
  if (long r = OpenKey(at, Access::ReadWrite, &key)) return r;
  return key->DeleteValue(name);
}

void MemoryRegistry::Protect(RootKey root, const std::string& path) {
  std::shared_ptr<Node> node;
  if (Find({root, View::k64, path}, false, &node) == kErrorSuccess) node->isProtected = true;
}

void MemoryRegistry::Deny(RootKey root, const std::string& path) {
  std::shared_ptr<Node> node;
  if (Find({root, View::k64, path}, false, &node) == kErrorSuccess) node->denied = true;
}

}  // namespace brv
