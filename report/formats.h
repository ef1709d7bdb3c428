// A report written out: as JSON for scripts (names kept exactly), as CSV for
// spreadsheets, as text to paste in a forum post.
#pragma once

#include <string>

#include "report/report.h"

namespace brv {

enum class ReportFormat : uint8_t { Text, Json, Csv };

// The format a path's extension names (".json", ".csv"; without regard to
// case), else `otherwise`.
ReportFormat FormatOfPath(const std::string& path, ReportFormat otherwise = ReportFormat::Text);

// UTF-8, RFC 8259: one object, every text kept exactly (a NUL or a lone
// surrogate as a \u escape).
std::string ReportJson(const Report& report);
// UTF-8 with a byte-order mark, RFC 4180, CRLF: a header row, a row per entry.
std::string ReportCsv(const Report& report);
// UTF-8, CRLF: the header, then a block per entry in the panels' words.
std::string ReportText(const Report& report);
std::string WriteReport(const Report& report, ReportFormat format);

}  // namespace brv
