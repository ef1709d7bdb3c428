// Upper- and lower-case pairs of UTF-16 units from the Unicode simple case
// mappings (base/case_table.cpp, written by tools/gen_upcase.py).
// Three levels: a unit's high byte picks a row, its next four bits a block of
// 16 deltas in that row, its low four bits the delta; the mapped unit is the
// unit plus the delta, modulo 65536. Units without a mapping have delta 0.
#pragma once

#include <cstdint>

namespace brv::case_table {

enum Mapping { kUpper = 0, kLower = 1 };

extern const uint8_t kRowOf[2][256];
extern const uint8_t kBlockOf[][16];
extern const uint16_t kDelta[][16];

inline char16_t Map(Mapping mapping, char16_t c) {
  const uint8_t block = kBlockOf[kRowOf[mapping][c >> 8]][(c >> 4) & 0xF];
  return static_cast<char16_t>(c + kDelta[block][c & 0xF]);
}

}  // namespace brv::case_table
