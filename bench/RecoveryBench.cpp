// What the recovery journal costs the user-interface thread: one change recorded and flushed
// to the disk, in a three-row and in a 200 000-row list, and a start that applies a journal of
// 10 000 changes, set against the same start without one. The files are real, in a
// temporary folder; the window is the scripted one.
#include <benchmark/benchmark.h>

#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "ToDoFileGenerator.h"
#include "mainwindow/RecoveryJournal.h"
#include "mainwindow/ToDoUnit.h"
#include "support/ScriptedPlatform.h"

namespace {

namespace fs = std::filesystem;
using tasklane::mainwindow::TToDoForm;
using tasklane::testing::ScriptedPlatform;

void WriteFile(const fs::path& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

std::unique_ptr<TToDoForm> Start(ScriptedPlatform& platform) {
  auto form = std::make_unique<TToDoForm>(platform, true);
  form->FormCreate();
  platform.ShowWindow(tasklane::platform::WindowShow::Show);
  platform.RunTimers(10);
  return form;
}

// A list of `rows` task rows in five columns, as the program saves it.
std::string PutList(ScriptedPlatform& platform, int rows) {
  const std::string list = tasklane::bench::MakeToDoFile(rows, 5);
  WriteFile(platform.Folder() / "ToDoList.xml", list);
  return list;
}

// A keystroke's change to a cell in the middle of the list, then the flush its timer makes.
void ChangeThenFlush(benchmark::State& state) {
  ScriptedPlatform platform;
  const int rows = static_cast<int>(state.range(0));
  PutList(platform, rows);
  const std::unique_ptr<TToDoForm> form = Start(platform);
  const int row = rows / 2 + 1;
  std::u16string text = u"call the plumber";
  for (auto _ : state) {
    text.back() = text.back() == u'r' ? u's' : u'r';
    form->ToDoGrid.SetCell(1, row, text);
    platform.TickTimer(TToDoForm::recoveryTimerId);
  }
  state.counters["journal_bytes_per_change"] =
      static_cast<double>(fs::file_size(platform.Folder() / "ToDoList.xml.recovery")) / static_cast<double>(state.iterations());
}

// 10 000 row changes spread over the list, each a record of its own.
std::string JournalOf(const std::string& list, int rows) {
  std::string journal = tasklane::mainwindow::JournalHeader(tasklane::mainwindow::FingerprintOf(list));
  const std::vector<std::u16string> texts = {u"High", u"a task typed in again", u"10min", u"", u"later"};
  std::vector<std::u16string_view> cells(texts.begin(), texts.end());
  for (int change = 0; change < 10'000; ++change) {
    journal += tasklane::mainwindow::RowRecord(1 + (change * 7919) % rows, cells);
  }
  return journal;
}

// From the window's creation until it shows, with or without a journal to apply (the second
// argument): the difference is what recovering costs.
void StartUp(benchmark::State& state) {
  ScriptedPlatform platform;
  const int rows = static_cast<int>(state.range(0));
  const std::string list = PutList(platform, rows);
  const std::string journal = state.range(1) ? JournalOf(list, rows) : std::string();
  const fs::path journalFile = platform.Folder() / "ToDoList.xml.recovery";
  for (auto _ : state) {
    state.PauseTiming();
    if (!journal.empty()) WriteFile(journalFile, journal);
    state.ResumeTiming();
    std::unique_ptr<TToDoForm> form = Start(platform);
    state.PauseTiming();
    form.reset();  // as a crash ends it: the list is not saved
    state.ResumeTiming();
  }
}

BENCHMARK(ChangeThenFlush)->Arg(3)->Arg(200'000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(StartUp)->Args({3, 0})->Args({3, 1})->Args({200'000, 0})->Args({200'000, 1})
    ->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

}  // namespace

BENCHMARK_MAIN();
