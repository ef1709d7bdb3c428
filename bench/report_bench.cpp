// The report from the command line: every entry of the four panels (no
// files), set against what the window does for the same entries (its four
// fills, then each entry selected: its boxes and its verdict); and the
// report of entries naming signed 1 MB files, each file checked once.
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "base/text.h"
#include "bench/bench.h"
#include "catalogue/bhos.h"
#include "catalogue/context_menus.h"
#include "catalogue/toolbar_buttons.h"
#include "catalogue/toolbars.h"
#include "report/command_line.h"
#include "report/formats.h"
#include "report/report.h"

namespace brv::bench {

namespace {

const char kOut[] = "C:\\brv-bench-report.json";

// A desktop that answers what a report asks of it.
class QuietDesktop : public Desktop {
 public:
  MsgAnswer MsgBox(const std::string&, const std::string&, MsgButtons, MsgIcon) override {
    return MsgAnswer::Ok;
  }
  bool SetClipboardText(const std::string&) override { return false; }
  void ShellOpen(const std::string&, const std::string&) override {}
  long StartProgram(const std::string&, const std::vector<std::string>&) override { return 0; }
  long ShowFileInFolder(const std::string&) override { return 0; }
  long ShowFileProperties(const std::string&) override { return 0; }
  std::string ErrorText(long code) override { return "error " + std::to_string(code); }
  std::string ProgramPath() override { return ""; }
  Machine ThisMachine() override { return {"BENCH", "BENCH\\user", "10.0.19045", false}; }
  Now TimeNow() override { return {134412985310000000, 134412985310000000}; }
  bool AskSavePath(const SaveDialog&, std::string*, size_t*) override { return false; }
};

void SetText(Registry& registry, RootKey root, const std::string& path, const std::string& name,
             const std::string& text) {
  std::unique_ptr<RegKey> key;
  if (registry.CreateKey(root, path, &key) == kErrorSuccess) {
    key->SetValue(name, RegData{kRegSz, Utf8ToUtf16LeBytes(text, true)});
  }
}

// Each list of the window selected entry by entry, as a user's clicks do.
void SelectEach(Form1& form) {
  static const struct {
    ListBox* Form1::*list;
    void (*click)(Form1&);
  } kLists[] = {{&Form1::List1, List1_Click}, {&Form1::List2, List2_Click},
                {&Form1::List3, List3_Click}, {&Form1::List4, List4_Click},
                {&Form1::List5, List5_Click}, {&Form1::List6, List6_Click},
                {&Form1::List7, List7_Click}};
  for (const auto& entry : kLists) {
    ListBox& list = *(form.*entry.list);
    for (int i = 0; i < list.ListCount(); ++i) {
      list.SetListIndex(i);
      entry.click(form);
    }
  }
}

}  // namespace

BRV_BENCH(report_command_line) {
  QuietDesktop desktop;
  for (size_t size : env.sizes) {
    env.reset();
    Registry& registry = *env.registry;
    // A quarter each: the user's buttons (with a text), the user's toolbars,
    // context menus, helper objects (half disabled).
    const size_t quarter = size / 4;
    for (size_t i = 0; i < quarter; ++i) {
      SetText(registry, kCurrentUser, std::string(kExtensionsPath) + "\\" + Identifier(i),
              "ButtonText", "Button " + std::to_string(i));
    }
    SeedValues(registry, kCurrentUser, kUserToolbarsPath, quarter, Identifier);
    SeedKeys(registry, kCurrentUser, kMenuExtPath, quarter,
             [](size_t i) { return "&Menu " + std::to_string(i); });
    SeedKeys(registry, kLocalMachine, kBhoPath, size - 3 * quarter,
             [](size_t i) { return (i % 2 ? " " : "") + Identifier(i); });
    Form1& form = *env.form;
    Console quiet{[](const std::string&) { return true; }, [](const std::string&) { return true; }};
    int exit = -1;
    const Timings t = Compare(
        [&] {
          exit =
              RunArguments({Action::Report, kOut}, registry, *form.files, desktop, "bench", quiet);
        },
        [&] {
          Refresh_Click(form);
          SelectEach(form);
        },
        3);
    Report(
        exit == 0 ? "report /report PATH.json vs the fills and every selection" : "report FAILED",
        size, t.work, t.floor);
    // Its parts: the model, the JSON, the write (the window writes on its
    // own thread).
    brv::Report model;
    const double build = Time([&] {
      model = BuildReport(registry, *form.files, "bench", desktop.ThisMachine(), desktop.TimeNow());
    });
    std::string bytes;
    const double write = Time([&] { bytes = ReportJson(model); });
    const double save = Time([&] { form.files->WriteWhole(kOut, bytes); });
    std::printf("  model %.1f ms, JSON %.1f ms (%.1f MB), written whole %.1f ms\n", build * 1e3,
                write * 1e3, bytes.size() / 1e6, save * 1e3);
    if (env.peakMemory)
      std::printf("  peak memory of the process: %.1f MB\n", env.peakMemory() / 1e6);
  }
}

// 20 entries naming 20 distinct signed 1 MB files, and 1,000 more naming one
// of them: each file is checked once.
BRV_BENCH(report_files_checked_once) {
  env.reset();
  Files& files = *env.form->files;
  const char* folder = std::getenv("BRV_BENCH_SAMPLES");
  std::string bytes(1000000, '\0');
  std::string at = "C:";
  if (folder) {
    at = folder;
    std::unique_ptr<FileData> data;
    const std::string signedFile = at + "\\signed-1mb.dll";
    if (files.Open(signedFile, &data) != 0 ||
        !data->Read(0, static_cast<size_t>(data->Size()), &bytes)) {
      std::printf("report files: no %s (scripts/bench.sh makes it)\n", signedFile.c_str());
      return;
    }
  }
  Registry& registry = *env.registry;
  for (size_t i = 0; i < 1020; ++i) {
    const std::string file = at + "\\bench-copy-" + std::to_string(i < 20 ? i : 1) + ".dll";
    if (i < 20) files.WriteWhole(file, bytes);
    std::unique_ptr<RegKey> key;
    registry.CreateKey(kLocalMachine, std::string(kBhoPath) + "\\" + Identifier(i), &key);
    SetText(registry, kClassesRoot, "CLSID\\" + Identifier(i) + "\\InprocServer32", "", file);
  }
  QuietDesktop desktop;
  size_t checks = 0, valid = 0;
  const double took = Time(
      [&] {
        ReportBuilder builder(registry, files, "bench", desktop.ThisMachine(), desktop.TimeNow());
        while (builder.Step()) {
        }
        checks = builder.Checks();
        valid = 0;
        for (const ReportEntry& entry : builder.Result().entries) {
          valid += entry.file && entry.file->signature == std::string("valid");
        }
      },
      1);
  std::printf(
      "report of 1020 entries naming 20 distinct 1 MB files: %.1f ms, %zu file checks, %zu "
      "entries with a valid signature\n",
      took * 1e3, checks, valid);
}

}  // namespace brv::bench
