#include "files/version_info.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "base/text.h"

namespace brv {

namespace {

constexpr uint16_t kMaxSections = 96;     // the loader's own limit
constexpr uint32_t kMaxEntries = 4096;    // entries read of one resource directory
constexpr uint32_t kMaxResource = 65536;  // a version resource is a few hundred bytes
constexpr int kMaxChildren = 256;         // blocks read inside one block
constexpr uint32_t kRtVersion = 16;

uint16_t U16(const std::string& bytes, size_t at) {
  return static_cast<uint16_t>(static_cast<uint8_t>(bytes[at]) | static_cast<uint8_t>(bytes[at + 1])
                                                                     << 8);
}

uint32_t U32(const std::string& bytes, size_t at) {
  return static_cast<uint32_t>(U16(bytes, at)) | static_cast<uint32_t>(U16(bytes, at + 2)) << 16;
}

struct Section {
  uint32_t address, virtualSize, rawSize, rawOffset;
};

// A PE file's sections, for reading by relative virtual address.
class Image {
 public:
  explicit Image(FileData& file) : file_(file) {}

  // Reads the headers; false where the file is not a PE file or they are cut
  // short. Finds the resource directory.
  bool Load() {
    std::string dos;
    if (!file_.Read(0, 64, &dos) || dos[0] != 'M' || dos[1] != 'Z') return false;
    const uint64_t pe = U32(dos, 0x3C);
    std::string head;
    if (!file_.Read(pe, 24, &head) || head.compare(0, 4, std::string("PE\0\0", 4)) != 0) {
      return false;
    }
    const uint16_t sections = U16(head, 6);
    const uint16_t optionalSize = U16(head, 20);
    std::string optional;
    if (sections > kMaxSections || optionalSize < 2 ||
        !file_.Read(pe + 24, optionalSize, &optional)) {
      return false;
    }
    // The data directories follow the optional header's fixed part, whose
    // size differs between 32-bit and 64-bit images; the resource directory
    // is the third.
    const uint16_t magic = U16(optional, 0);
    const size_t directories = magic == 0x10B ? 96 : magic == 0x20B ? 112 : 0;
    if (directories == 0 || optional.size() < directories + 3 * 8 ||
        U32(optional, directories - 4) < 3) {
      return false;
    }
    resourceAddress = U32(optional, directories + 16);
    std::string table;
    if (!file_.Read(pe + 24 + optionalSize, size_t{sections} * 40, &table)) return false;
    for (size_t at = 0; at < table.size(); at += 40) {
      sections_.push_back(
          {U32(table, at + 12), U32(table, at + 8), U32(table, at + 16), U32(table, at + 20)});
    }
    return resourceAddress != 0;
  }

  // `size` bytes at a relative virtual address, all within one section's
  // bytes in the file.
  bool ReadAt(uint64_t address, size_t size, std::string* bytes) {
    for (const Section& s : sections_) {
      const uint64_t span = std::max(s.virtualSize, s.rawSize);
      if (address < s.address || address >= s.address + span) continue;
      const uint64_t delta = address - s.address;
      if (delta + size > s.rawSize) return false;
      return file_.Read(uint64_t{s.rawOffset} + delta, size, bytes);
    }
    return false;
  }

  uint32_t resourceAddress = 0;

 private:
  FileData& file_;
  std::vector<Section> sections_;
};

// The first resource of a type (its first name, its first language): its
// data's address and size. The directory has three levels; an entry's high
// bit says whether it leads to a further directory or to data.
bool FindResource(Image& image, uint32_t type, uint32_t* address, uint32_t* size) {
  const uint64_t base = image.resourceAddress;
  uint64_t directory = 0;
  for (int level = 0; level < 3; ++level) {
    std::string head;
    if (!image.ReadAt(base + directory, 16, &head)) return false;
    const uint32_t count = std::min<uint32_t>(U16(head, 12) + U16(head, 14), kMaxEntries);
    std::string entries;
    if (count == 0 || !image.ReadAt(base + directory + 16, size_t{count} * 8, &entries)) {
      return false;
    }
    size_t chosen = 0;
    if (level == 0) {
      while (chosen < count && U32(entries, chosen * 8) != type) ++chosen;
      if (chosen == count) return false;
    }
    const uint32_t target = U32(entries, chosen * 8 + 4);
    const bool isDirectory = (target & 0x80000000u) != 0;
    if (isDirectory != (level < 2)) return false;
    directory = target & 0x7FFFFFFFu;
  }
  std::string data;
  if (!image.ReadAt(base + directory, 16, &data)) return false;
  *address = U32(data, 0);
  *size = U32(data, 4);
  return true;
}

size_t Align4(size_t at) {
  return (at + 3) & ~size_t{3};
}

// One block of a version resource: its length, its value's length and type,
// its key (NUL-terminated UTF-16), its value, then its children, each
// starting on a four-byte boundary.
struct Block {
  std::u16string key;
  size_t value = 0;     // where the value starts
  size_t children = 0;  // where the children start
  size_t end = 0;
};

bool ReadBlock(const std::string& bytes, size_t at, size_t limit, Block* block) {
  if (at + 6 > limit) return false;
  const uint16_t length = U16(bytes, at);
  if (length < 6) return false;
  block->end = std::min(at + length, limit);
  const size_t valueLength = U16(bytes, at + 2);
  const bool text = U16(bytes, at + 4) == 1;
  block->key.clear();
  size_t pos = at + 6;
  while (pos + 2 <= block->end && U16(bytes, pos) != 0) {
    block->key += static_cast<char16_t>(U16(bytes, pos));
    pos += 2;
  }
  block->value = std::min(Align4(pos + 2), block->end);
  block->children = std::min(Align4(block->value + valueLength * (text ? 2 : 1)), block->end);
  return true;
}

// Calls `visit` with each child block of a block until it returns true.
template <typename Visit>
bool EachChild(const std::string& bytes, const Block& parent, Visit visit) {
  Block child;
  size_t at = parent.children;
  for (int i = 0; i < kMaxChildren && ReadBlock(bytes, at, parent.end, &child); ++i) {
    if (visit(child)) return true;
    at = Align4(child.end);
  }
  return false;
}

// A string's text: from its value to the end of its block, up to a NUL (the
// value's length is not always stated right).
std::string TextOf(const std::string& bytes, const Block& block) {
  std::u16string text;
  for (size_t at = block.value; at + 2 <= block.end && U16(bytes, at) != 0; at += 2) {
    text += static_cast<char16_t>(U16(bytes, at));
  }
  return Utf16ToUtf8(text);
}

}  // namespace

FileVersion ReadVersion(FileData& file) {
  FileVersion version;
  Image image(file);
  uint32_t address = 0;
  uint32_t size = 0;
  std::string bytes;
  if (!image.Load() || !FindResource(image, kRtVersion, &address, &size) ||
      !image.ReadAt(address, std::min(size, kMaxResource), &bytes)) {
    return version;
  }
  Block root;
  if (!ReadBlock(bytes, 0, bytes.size(), &root) || root.key != u"VS_VERSION_INFO") return version;
  EachChild(bytes, root, [&](const Block& info) {
    if (info.key != u"StringFileInfo") return false;
    // The first string table that names either.
    return EachChild(bytes, info, [&](const Block& table) {
      EachChild(bytes, table, [&](const Block& entry) {
        if (entry.key == u"CompanyName") version.company = TextOf(bytes, entry);
        if (entry.key == u"FileDescription") version.description = TextOf(bytes, entry);
        if (entry.key == u"ProductName") version.product = TextOf(bytes, entry);
        if (entry.key == u"FileVersion") version.version = TextOf(bytes, entry);
        return false;
      });
      return !version.company.empty() || !version.description.empty();
    });
  });
  return version;
}

}  // namespace brv
