#include "report/save.h"

#include <chrono>
#include <memory>
#include <mutex>

#include "report/formats.h"
#include "report/report.h"

namespace brv {

struct ReportTask {
  std::string path;
  ReportFormat format = ReportFormat::Text;
  std::string version;
  Machine machine;
  Now now;
  std::unique_ptr<ReportBuilder> builder;  // made by the first slice
  // Once the file is being written, a cancel comes too late: it is saved.
  std::mutex mutex;
  bool cancelled = false;
  bool writing = false;
};

namespace {

// A slice of the work ends after this long, or at the end of an entry whose
// file took longer, so that the bar moves on.
constexpr auto kSlice = std::chrono::milliseconds(50);

void Progress(Form1& form, const ReportTask& task) {
  form.StatusBar1->SetText("Writing the report: " + std::to_string(task.builder->Done()) + " of " +
                           std::to_string(task.builder->Count()) + " entries");
}

// Runs the next slice on the report runner; its result, back on the
// window's thread, shows the progress and starts the next one. The last
// slice writes the file and its result says so. A cancelled task's results
// are not used.
void NextSlice(Form1& form, std::shared_ptr<ReportTask> task) {
  Registry* registry = form.registry;
  Files* files = form.files;
  Form1* window = &form;
  form.reportRunner->Run([=]() -> std::function<void()> {
    bool more = true;
    if (!task->builder) {
      // The first slice lists the entries: the bar can then count them.
      task->builder = std::make_unique<ReportBuilder>(*registry, *files, task->version,
                                                      task->machine, task->now);
    } else {
      const auto end = std::chrono::steady_clock::now() + kSlice;
      while (more && std::chrono::steady_clock::now() < end) more = task->builder->Step();
    }
    if (more) {
      return [window, task] {
        if (window->report != task) return;
        Progress(*window, *task);
        NextSlice(*window, task);
      };
    }
    const std::string bytes = WriteReport(task->builder->Result(), task->format);
    {
      std::lock_guard<std::mutex> lock(task->mutex);
      if (task->cancelled) return [] {};
      task->writing = true;
    }
    // Written here, off the window's thread: the file is flushed to the disk.
    const long r = files->WriteWhole(task->path, bytes);
    return [window, task, r] {
      Form1& form = *window;
      if (form.report != task) return;
      form.report.reset();
      form.StatusBar1->SetText(r == 0 ? "Report saved: " + task->path
                                      : "Report not saved: " + form.desktop->ErrorText(r));
    };
  });
}

std::string SuggestedName(const Machine& machine, const Now& now) {
  return "Brovantine-" + machine.computer + "-" + FileNameTime(now.local) + ".txt";
}

}  // namespace

void SaveReport(Form1& form, const std::string& version) {
  if (CancelReport(form)) return;
  auto task = std::make_shared<ReportTask>();
  task->version = version;
  task->machine = form.desktop->ThisMachine();
  task->now = form.desktop->TimeNow();
  const SaveDialog dialog{
      kReportTitle,
      {{"Text (*.txt)", "*.txt"}, {"JSON (*.json)", "*.json"}, {"CSV (*.csv)", "*.csv"}},
      SuggestedName(task->machine, task->now),
      "txt"};
  size_t type = 0;
  if (!form.desktop->AskSavePath(dialog, &task->path, &type)) return;
  const ReportFormat byType[] = {ReportFormat::Text, ReportFormat::Json, ReportFormat::Csv};
  task->format = FormatOfPath(task->path, byType[type < 3 ? type : 0]);
  form.report = task;
  form.StatusBar1->SetText("Writing the report: 0 entries");
  NextSlice(form, task);
}

bool CancelReport(Form1& form) {
  if (!form.report) return false;
  {
    std::lock_guard<std::mutex> lock(form.report->mutex);
    if (form.report->writing) return true;
    form.report->cancelled = true;
  }
  form.report.reset();
  form.reportRunner->Cancel();
  form.StatusBar1->SetText("Report not saved: cancelled");
  return true;
}

}  // namespace brv
