// A registry, and its keys, that hand every call to another: a base for
// tests that watch or break what the program asks of the registry.
#pragma once

#include <memory>
#include <string>
#include <utility>

#include "registry/registry.h"

namespace brv {

class ForwardingKey : public RegKey {
 public:
  explicit ForwardingKey(std::unique_ptr<RegKey> inner) : inner_(std::move(inner)) {}
  long EnumKey(uint32_t index, std::string* name) override { return inner_->EnumKey(index, name); }
  long EnumValue(uint32_t index, std::string* name) override {
    return inner_->EnumValue(index, name);
  }
  long QueryValue(const std::string& name, RegData* data) override {
    return inner_->QueryValue(name, data);
  }
  long SetValue(const std::string& name, const RegData& data) override {
    return inner_->SetValue(name, data);
  }
  long DeleteValue(const std::string& name) override { return inner_->DeleteValue(name); }
  long FullName(std::string* name) override { return inner_->FullName(name); }
  long LastWriteTime(int64_t* time) override { return inner_->LastWriteTime(time); }

 protected:
  std::unique_ptr<RegKey> inner_;
};

class ForwardingRegistry : public Registry {
 public:
  explicit ForwardingRegistry(Registry& inner) : inner_(inner) {}
  using Registry::CreateKey;
  using Registry::DeleteTree;
  using Registry::DeleteValue;
  using Registry::OpenKey;
  long OpenKey(const RegAddress& at, Access access, std::unique_ptr<RegKey>* key) override {
    return inner_.OpenKey(at, access, key);
  }
  long OpenLink(const RegAddress& at, std::unique_ptr<RegKey>* key) override {
    return inner_.OpenLink(at, key);
  }
  long CreateKey(const RegAddress& at, std::unique_ptr<RegKey>* key) override {
    return inner_.CreateKey(at, key);
  }
  long DeleteTree(const RegAddress& at) override { return inner_.DeleteTree(at); }
  long DeleteValue(const RegAddress& at, const std::string& name) override {
    return inner_.DeleteValue(at, name);
  }

 protected:
  Registry& inner_;
};

}  // namespace brv
