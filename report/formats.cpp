#include "report/formats.h"

#include <cstdio>

#include "base/text.h"

namespace brv {

namespace {

const char kNulMarkText[] = "\xE2\x90\x80";  // U+2400, as the lists show a NUL
const char kReplacement[] = "\xEF\xBF\xBD";  // U+FFFD
const char kByteOrderMark[] = "\xEF\xBB\xBF";

// The code point of the UTF-8 sequence at `at` (a lone surrogate in its
// three-byte form, as base/text.h keeps it) and its length; a byte that
// starts no well-formed sequence is one byte of U+FFFD.
size_t Decode(const std::string& text, size_t at, char32_t* point) {
  const auto byte = [&](size_t i) { return static_cast<uint8_t>(text[i]); };
  const uint8_t first = byte(at);
  size_t length = first < 0x80                    ? 1
                  : first >= 0xC2 && first < 0xE0 ? 2
                  : first >= 0xE0 && first < 0xF0 ? 3
                  : first >= 0xF0 && first < 0xF5 ? 4
                                                  : 0;
  char32_t value = length == 1   ? first
                   : length == 2 ? first & 0x1F
                   : length == 3 ? first & 0x0F
                                 : first & 0x07;
  if (length == 0 || at + length > text.size()) {
    *point = 0xFFFD;
    return 1;
  }
  for (size_t i = 1; i < length; ++i) {
    if ((byte(at + i) & 0xC0) != 0x80) {
      *point = 0xFFFD;
      return 1;
    }
    value = value << 6 | (byte(at + i) & 0x3F);
  }
  const char32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
  if (value < least[length] || value > 0x10FFFF) {
    *point = 0xFFFD;
    return 1;
  }
  *point = value;
  return length;
}

bool IsSurrogate(char32_t point) {
  return point >= 0xD800 && point <= 0xDFFF;
}

void Hex4(std::string& out, char32_t unit) {
  char text[8];
  std::snprintf(text, sizeof text, "\\u%04X", static_cast<unsigned>(unit));
  out += text;
}

// Copies the bytes from `at` up to the first one `stops` (a run that needs no
// escaping goes in bulk); returns where that byte is, or the text's end.
template <typename Stops>
size_t CopyRun(std::string& out, const std::string& text, size_t at, Stops stops) {
  size_t end = at;
  while (end < text.size() && !stops(static_cast<uint8_t>(text[end]))) ++end;
  out.append(text, at, end - at);
  return end;
}

// A JSON string: exactly the text, every NUL, control character and lone
// surrogate as a \u escape, everything else as it is.
void JsonString(std::string& out, const std::string& text) {
  out += '"';
  for (size_t at = 0; at < text.size();) {
    at = CopyRun(out, text, at,
                 [](uint8_t c) { return c < 0x20 || c >= 0x80 || c == '"' || c == '\\'; });
    if (at == text.size()) break;
    char32_t point = 0;
    const size_t length = Decode(text, at, &point);
    if (point == '"' || point == '\\') {
      out += '\\';
      out += static_cast<char>(point);
    } else if (point == '\n') {
      out += "\\n";
    } else if (point == '\r') {
      out += "\\r";
    } else if (point == '\t') {
      out += "\\t";
    } else if (point < 0x20 || IsSurrogate(point) || (point == 0xFFFD && length == 1)) {
      Hex4(out, point);
    } else {
      out.append(text, at, length);
    }
    at += length;
  }
  out += '"';
}

// A text for CSV and text: a NUL as the lists show it, a lone surrogate (or
// a byte of no character) as U+FFFD; with `oneLine`, control characters as
// spaces.
std::string Plain(const std::string& text, bool oneLine) {
  std::string out;
  out.reserve(text.size());
  for (size_t at = 0; at < text.size();) {
    at = CopyRun(out, text, at, [&](uint8_t c) {
      return c == 0 || c >= 0x80 || (oneLine && (c < 0x20 || c == 0x7F));
    });
    if (at == text.size()) break;
    char32_t point = 0;
    const size_t length = Decode(text, at, &point);
    if (point == 0) {
      out += kNulMarkText;
    } else if (IsSurrogate(point) || (point == 0xFFFD && length == 1)) {
      out += kReplacement;
    } else if (oneLine && (point < 0x20 || point == 0x7F)) {
      out += ' ';
    } else {
      out.append(text, at, length);
    }
    at += length;
  }
  return out;
}

class JsonWriter {
 public:
  std::string out;

  void Key(const char* name) {
    Separate();
    JsonString(out, name);
    out += ": ";
    fresh_ = true;
  }
  void String(const std::string& text) {
    Separate();
    JsonString(out, text);
  }
  void Raw(const std::string& text) {
    Separate();
    out += text;
  }
  void Optional(const std::optional<std::string>& text) {
    if (text) {
      String(*text);
    } else {
      Raw("null");
    }
  }
  void Bool(bool value) { Raw(value ? "true" : "false"); }
  void Open(char bracket) {
    Separate();
    out += bracket;
    ++depth_;
    fresh_ = false;
    first_ = true;
  }
  void Close(char bracket) {
    --depth_;
    if (!first_) NewLine();
    out += bracket;
    first_ = false;
  }

 private:
  // A comma and a new line before every item but the first of its object or
  // array; nothing after a key.
  void Separate() {
    if (fresh_) {
      fresh_ = false;
      return;
    }
    if (!first_) out += ',';
    if (depth_ > 0) NewLine();
    first_ = false;
  }
  void NewLine() {
    out += '\n';
    out.append(static_cast<size_t>(depth_) * 2, ' ');
  }
  int depth_ = 0;
  bool fresh_ = false;
  bool first_ = true;
};

std::string Number(uint64_t value) {
  return std::to_string(value);
}

// The words of the window for a list: its panel's caption and its own.
const char* PanelWords(Panel panel) {
  switch (panel) {
    case Panel::CurrentUserButtons:
      return "Internet Explorer Toolbar Buttons, Current User";
    case Panel::AllUsersButtons:
      return "Internet Explorer Toolbar Buttons, All Users";
    case Panel::CurrentUserToolbars:
      return "Internet Explorer Toolbars, Current User";
    case Panel::AllUsersToolbars:
      return "Internet Explorer Toolbars, All Users";
    case Panel::MenuItems:
      return "Internet Explorer Context Menu Extensions";
    case Panel::EnabledObjects:
      return "Browser Helper Objects [BHOs], Enabled BHOs";
    case Panel::DisabledObjects:
      break;
  }
  return "Browser Helper Objects [BHOs], Disabled BHOs";
}

std::string OrEmpty(const std::optional<std::string>& text) {
  return text.value_or("");
}

std::string YesNo(bool value) {
  return value ? "true" : "false";
}

std::string DetailsLine(const ReportEntry& entry) {
  std::string line;
  for (const auto& [label, text] : entry.details) {
    line += (line.empty() ? "" : "; ") + label + ": " + text;
  }
  return line;
}

// The CSV columns: a name and the field of an entry.
struct Column {
  const char* name;
  std::string (*field)(const Report&, const ReportEntry&);
};

using R = const Report&;
using E = const ReportEntry&;
const Column kColumns[] = {
    {"computer", [](R r, E) { return r.machine.computer; }},
    {"kind", [](R, E e) { return e.kind; }},
    {"list", [](R, E e) { return e.list; }},
    {"view", [](R, E e) { return e.view; }},
    {"name", [](R, E e) { return e.name; }},
    {"shown", [](R, E e) { return e.shown; }},
    {"key", [](R, E e) { return e.key; }},
    {"value", [](R, E e) { return OrEmpty(e.value); }},
    {"written", [](R, E e) { return OrEmpty(e.written); }},
    {"details", [](R, E e) { return DetailsLine(e); }},
    {"status", [](R, E e) { return e.status; }},
    {"loads", [](R, E e) { return e.loads ? YesNo(*e.loads) : std::string(); }},
    {"file.registered", [](R, E e) { return e.file ? e.file->registered : ""; }},
    {"file.path", [](R, E e) { return e.file ? e.file->path : ""; }},
    {"file.kind", [](R, E e) { return e.file ? e.file->kind : ""; }},
    {"file.found", [](R, E e) { return e.file ? YesNo(e.file->found) : ""; }},
    {"file.size",
     [](R, E e) { return e.file && e.file->size ? Number(*e.file->size) : std::string(); }},
    {"file.signature", [](R, E e) { return e.file ? OrEmpty(e.file->signature) : ""; }},
    {"file.signer", [](R, E e) { return e.file ? OrEmpty(e.file->signer) : ""; }},
    {"file.trusted", [](R, E e) { return e.file ? YesNo(e.file->trusted) : ""; }},
    {"file.company", [](R, E e) { return e.file ? OrEmpty(e.file->company) : ""; }},
    {"file.description", [](R, E e) { return e.file ? OrEmpty(e.file->description) : ""; }},
    {"file.product", [](R, E e) { return e.file ? OrEmpty(e.file->product) : ""; }},
    {"file.version", [](R, E e) { return e.file ? OrEmpty(e.file->version) : ""; }},
};

// A CSV field: quoted where it holds a comma, a quote or a line break, its
// quotes doubled.
std::string CsvField(const std::string& text) {
  const std::string plain = Plain(text, false);
  if (plain.find_first_of(",\"\r\n") == std::string::npos) return plain;
  std::string quoted = "\"";
  for (char c : plain) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + "\"";
}

}  // namespace

ReportFormat FormatOfPath(const std::string& path, ReportFormat otherwise) {
  const auto endsWith = [&](const char* extension) {
    const std::string tail = extension;
    return path.size() >= tail.size() && UpperCase(path.substr(path.size() - tail.size())) == tail;
  };
  if (endsWith(".JSON")) return ReportFormat::Json;
  if (endsWith(".CSV")) return ReportFormat::Csv;
  if (endsWith(".TXT")) return ReportFormat::Text;
  return otherwise;
}

std::string ReportJson(const Report& report) {
  JsonWriter json;
  json.Open('{');
  json.Key("format");
  json.String("brovantine-report");
  json.Key("version");
  json.Raw("1");
  json.Key("program");
  json.Open('{');
  json.Key("name");
  json.String("Brovantine");
  json.Key("version");
  json.String(report.version);
  json.Close('}');
  json.Key("computer");
  json.String(report.machine.computer);
  json.Key("user");
  json.String(report.machine.user);
  json.Key("windows");
  json.String(report.machine.windows);
  json.Key("elevated");
  json.Bool(report.machine.elevated);
  json.Key("created");
  json.String(report.created);
  json.Key("entries");
  json.Open('[');
  for (const ReportEntry& e : report.entries) {
    json.Open('{');
    const std::pair<const char*, const std::string*> texts[] = {
        {"kind", &e.kind}, {"list", &e.list},   {"view", &e.view},
        {"name", &e.name}, {"shown", &e.shown}, {"key", &e.key}};
    for (const auto& [name, text] : texts) {
      json.Key(name);
      json.String(*text);
    }
    if (e.value) {
      json.Key("value");
      json.String(*e.value);
    }
    json.Key("written");
    json.Optional(e.written);
    json.Key("details");
    json.Open('{');
    for (const auto& [label, text] : e.details) {
      json.Key(label.c_str());
      json.String(text);
    }
    json.Close('}');
    json.Key("status");
    json.String(e.status);
    json.Key("loads");
    json.Raw(e.loads ? (*e.loads ? "true" : "false") : "null");
    json.Key("file");
    if (!e.file) {
      json.Raw("null");
    } else {
      const ReportFile& f = *e.file;
      json.Open('{');
      json.Key("registered");
      json.String(f.registered);
      json.Key("path");
      json.String(f.path);
      json.Key("kind");
      json.String(f.kind);
      json.Key("found");
      json.Bool(f.found);
      json.Key("size");
      json.Raw(f.size ? Number(*f.size) : "null");
      json.Key("signature");
      json.Optional(f.signature);
      json.Key("signer");
      json.Optional(f.signer);
      json.Key("trusted");
      json.Bool(f.trusted);
      const std::pair<const char*, const std::optional<std::string>*> version[] = {
          {"company", &f.company},
          {"description", &f.description},
          {"product", &f.product},
          {"version", &f.version}};
      for (const auto& [name, text] : version) {
        json.Key(name);
        json.Optional(*text);
      }
      json.Close('}');
    }
    json.Close('}');
  }
  json.Close(']');
  json.Close('}');
  return json.out + "\n";
}

std::string ReportCsv(const Report& report) {
  std::string out = kByteOrderMark;
  for (const Column& column : kColumns) {
    out += (&column == kColumns ? "" : ",") + std::string(column.name);
  }
  out += "\r\n";
  for (const ReportEntry& entry : report.entries) {
    for (const Column& column : kColumns) {
      if (&column != kColumns) out += ',';
      out += CsvField(column.field(report, entry));
    }
    out += "\r\n";
  }
  return out;
}

std::string ReportText(const Report& report) {
  std::string out;
  const auto line = [&](const std::string& label, const std::string& text) {
    out += label + Plain(text, true) + "\r\n";
  };
  line("Brovantine ", report.version);
  line("Computer: ", report.machine.computer);
  line("User: ", report.machine.user);
  line("Windows: ", report.machine.windows);
  line("Elevated: ", report.machine.elevated ? "yes" : "no");
  line("Created: ", report.created);
  line("Entries: ", std::to_string(report.entries.size()));
  for (const ReportEntry& e : report.entries) {
    out += "\r\n";
    line(std::string(PanelWords(e.panel)) + ": ", e.shown);
    line("  Key: ", e.key);
    if (e.value) line("  Value: ", *e.value);
    line("  Written: ", e.written.value_or("(the key cannot be opened)"));
    for (const auto& [label, text] : e.details) line("  " + label + ": ", text);
    line("  Status: ", e.status);
  }
  return out;
}

std::string WriteReport(const Report& report, ReportFormat format) {
  switch (format) {
    case ReportFormat::Json:
      return ReportJson(report);
    case ReportFormat::Csv:
      return ReportCsv(report);
    case ReportFormat::Text:
      break;
  }
  return ReportText(report);
}

}  // namespace brv
