// How fast we read and write to-do lists, and how much memory a loaded list holds, next to
// pugixml on the very same bytes. A measurement only: nothing here decides pass or fail.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <pugixml.hpp>
#include <string>
#include <vector>

#include "ToDoFileGenerator.h"
#include "xml/XmlReader.h"
#include "xml/XmlTree.h"
#include "xml/XmlWriter.h"

namespace {

using tasklane::xml::XmlElement;
using tasklane::xml::XmlError;
using tasklane::xml::XmlTree;

// One column count for every size, so that the figures of the sizes compare directly.
constexpr int kColumns = 5;

std::filesystem::path TempDir() {
  static const std::filesystem::path dir = [] {
    auto path = std::filesystem::temp_directory_path() / ("tasklane-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(path);
    return path;
  }();
  return dir;
}

struct Input {
  std::string bytes;
  std::u16string text;  // the bytes decoded, for reading from memory without the decoder
  std::filesystem::path file;
};

std::map<int, std::unique_ptr<Input>>& Inputs() {
  static std::map<int, std::unique_ptr<Input>> inputs;
  return inputs;
}

// Made once per size and kept: building 200 000 rows takes longer than reading them.
const Input& InputFor(int rows) {
  auto& slot = Inputs()[rows];
  if (!slot) {
    slot = std::make_unique<Input>();
    slot->bytes = tasklane::bench::MakeToDoFile(rows, kColumns);
    slot->text = tasklane::bench::WidenLatin1(slot->bytes);
    slot->file = TempDir() / ("todo-" + std::to_string(rows) + ".xml");
    std::ofstream(slot->file, std::ios::binary).write(slot->bytes.data(), static_cast<std::streamsize>(slot->bytes.size()));
  }
  return *slot;
}

// What the program does after loading: visit every cell of every row and read its text.
std::size_t WalkOurs(XmlTree& tree) {
  std::size_t total = 0;
  XmlElement* content = tree.Root().Items().ChildNamed(u"ToDoContent");
  if (content == nullptr) return 0;
  auto& rows = content->Items();
  for (int r = 0; r < rows.Count(); ++r) {
    auto& cells = rows.ChildAt(r).Items();
    for (int c = 0; c < cells.Count(); ++c) {
      total += cells.ChildAt(c).Value().size();
      benchmark::DoNotOptimize(total);
    }
  }
  return total;
}

std::size_t WalkPugi(const pugi::xml_document& doc) {
  std::size_t total = 0;
  for (pugi::xml_node row : doc.child("ToDoList").child("ToDoContent").children()) {
    for (pugi::xml_node cell : row.children()) {
      total += std::strlen(cell.child_value());
      benchmark::DoNotOptimize(total);
    }
  }
  return total;
}

struct StringWriter : pugi::xml_writer {
  std::string out;
  void write(const void* data, std::size_t size) override { out.append(static_cast<const char*>(data), size); }
};

// Heap in use, counting the large blocks malloc hands out with mmap as well.
std::size_t HeapInUse() {
  const struct mallinfo2 info = mallinfo2();
  return info.uordblks + info.hblkhd;
}

int Rows(const benchmark::State& state) { return static_cast<int>(state.range(0)); }

// Runs `body` over all iterations; a reader failure ends the benchmark with its message.
template <typename Body>
void Measure(benchmark::State& state, std::size_t bytesPerIteration, Body body) {
  try {
    for (auto _ : state) body();
  } catch (const XmlError& e) {
    state.SkipWithError(e.what());
    return;
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytesPerIteration));
}

void OursReadString(benchmark::State& state) {
  const Input& in = InputFor(Rows(state));
  Measure(state, in.bytes.size(), [&] {
    XmlTree tree;
    tree.LoadFromString(in.text);
    benchmark::DoNotOptimize(WalkOurs(tree));
  });
}

void OursReadBytes(benchmark::State& state) {
  const Input& in = InputFor(Rows(state));
  Measure(state, in.bytes.size(), [&] {
    XmlTree tree;
    tree.LoadFromBytes(in.bytes);
    benchmark::DoNotOptimize(WalkOurs(tree));
  });
}

void OursReadFile(benchmark::State& state) {
  const Input& in = InputFor(Rows(state));
  Measure(state, in.bytes.size(), [&] {
    XmlTree tree;
    tree.LoadFromFile(in.file);
    benchmark::DoNotOptimize(WalkOurs(tree));
  });
}

void OursWriteBytes(benchmark::State& state) {
  const Input& in = InputFor(Rows(state));
  XmlTree tree;
  tree.LoadFromBytes(in.bytes);
  std::size_t written = 0;
  Measure(state, 0, [&] {
    std::string out = tree.SaveToBytes();
    written = out.size();
    benchmark::DoNotOptimize(out.data());
  });
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * written));
}

void OursWriteFile(benchmark::State& state) {
  const Input& in = InputFor(Rows(state));
  const auto path = TempDir() / "ours-out.xml";
  XmlTree tree;
  tree.LoadFromBytes(in.bytes);
  Measure(state, 0, [&] { tree.SaveToFile(path); });
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * std::filesystem::file_size(path)));
}

// A file whose declarations switch the charset back and forth: decoding has to stay linear
// in the file's size, however often the charset changes.
void OursReadAlternatingDeclarations(benchmark::State& state) {
  const std::string bytes = tasklane::bench::MakeAlternatingDeclarationsFile(static_cast<int>(state.range(0)));
  Measure(state, bytes.size(), [&] {
    XmlTree tree;
    tree.LoadFromBytes(bytes);
    benchmark::DoNotOptimize(tree.Root().Items().Count());
  });
  state.counters["file_MB"] = static_cast<double>(bytes.size()) / 1e6;
  // Code units decoded per byte of the file: stays the same, however many declarations.
  XmlTree tree;
  tasklane::xml::XmlSource source(bytes);
  tasklane::xml::ReadTree(tree, source);
  state.counters["decoded_x_file"] = static_cast<double>(source.DecodedUnits()) / static_cast<double>(bytes.size());
}

// The column header of a wide list as saving streams it: each column takes the same time,
// however many there are.
void OursStreamColumnHeader(benchmark::State& state) {
  const int columns = static_cast<int>(state.range(0));
  std::size_t written = 0;
  for (auto _ : state) {
    written = 0;
    const tasklane::xml::ByteSink sink = [&](std::string_view bytes) { written += bytes.size(); };
    tasklane::xml::XmlStreamWriter out(sink);
    out.Open(u"ToDoList");
    out.Open(u"ColumnHeader");
    for (int col = 0; col < columns; ++col) {
      out.Open(u"Column");
      out.Leaf(u"ColumnCaption", u"Title");
      out.Leaf(u"ColumnWidth", u"64");
      out.Leaf(u"ColumnAlignment", u"LEFT");
      out.Close();
    }
    out.Finish();
  }
  state.counters["per_column"] = benchmark::Counter(
      static_cast<double>(columns), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * written));
}

void PugiReadBuffer(benchmark::State& state) {
  const Input& in = InputFor(Rows(state));
  Measure(state, in.bytes.size(), [&] {
    pugi::xml_document doc;
    if (!doc.load_buffer(in.bytes.data(), in.bytes.size(), pugi::parse_default)) state.SkipWithError("pugixml failed");
    benchmark::DoNotOptimize(WalkPugi(doc));
  });
}

void PugiReadFile(benchmark::State& state) {
  const Input& in = InputFor(Rows(state));
  Measure(state, in.bytes.size(), [&] {
    pugi::xml_document doc;
    if (!doc.load_file(in.file.c_str(), pugi::parse_default)) state.SkipWithError("pugixml failed");
    benchmark::DoNotOptimize(WalkPugi(doc));
  });
}

void PugiWriteBytes(benchmark::State& state) {
  const Input& in = InputFor(Rows(state));
  pugi::xml_document doc;
  doc.load_buffer(in.bytes.data(), in.bytes.size(), pugi::parse_default);
  std::size_t written = 0;
  Measure(state, 0, [&] {
    StringWriter writer;
    doc.save(writer, "  ", pugi::format_default);
    written = writer.out.size();
    benchmark::DoNotOptimize(writer.out.data());
  });
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * written));
}

void PugiWriteFile(benchmark::State& state) {
  const Input& in = InputFor(Rows(state));
  const auto path = TempDir() / "pugi-out.xml";
  pugi::xml_document doc;
  doc.load_buffer(in.bytes.data(), in.bytes.size(), pugi::parse_default);
  Measure(state, 0, [&] { doc.save_file(path.c_str(), "  ", pugi::format_default); });
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * std::filesystem::file_size(path)));
}

// The heap a loaded list keeps, against the size of its file. The text is decoded before
// the first count, so only what the tree itself holds is measured.
template <typename Load>
void MeasureMemory(benchmark::State& state, Load load) {
  const Input& in = InputFor(Rows(state));
  for (auto _ : state) {
    const std::size_t before = HeapInUse();
    auto held = load(in);
    const std::size_t after = HeapInUse();
    state.counters["mem_x_file"] = static_cast<double>(after - before) / static_cast<double>(in.bytes.size());
    state.counters["heap_MB"] = static_cast<double>(after - before) / 1e6;
    state.counters["file_MB"] = static_cast<double>(in.bytes.size()) / 1e6;
  }
}

void OursMemory(benchmark::State& state) {
  MeasureMemory(state, [](const Input& in) {
    auto tree = std::make_unique<XmlTree>();
    tree->LoadFromString(in.text);
    return tree;
  });
}

void PugiMemory(benchmark::State& state) {
  MeasureMemory(state, [](const Input& in) {
    auto doc = std::make_unique<pugi::xml_document>();
    doc->load_buffer(in.bytes.data(), in.bytes.size(), pugi::parse_default);
    return doc;
  });
}

void Sizes(benchmark::internal::Benchmark* b) {
  b->Arg(100)->Arg(10'000)->Arg(200'000)->Unit(benchmark::kMillisecond)->UseRealTime();
}

BENCHMARK(OursReadString)->Apply(Sizes);
BENCHMARK(PugiReadBuffer)->Apply(Sizes);
BENCHMARK(OursReadBytes)->Apply(Sizes);
BENCHMARK(OursReadFile)->Apply(Sizes);
BENCHMARK(PugiReadFile)->Apply(Sizes);
BENCHMARK(OursWriteBytes)->Apply(Sizes);
BENCHMARK(PugiWriteBytes)->Apply(Sizes);
BENCHMARK(OursWriteFile)->Apply(Sizes);
BENCHMARK(PugiWriteFile)->Apply(Sizes);
BENCHMARK(OursReadAlternatingDeclarations)
    ->Arg(10'000)->Arg(20'000)->Arg(40'000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(OursStreamColumnHeader)->Arg(10)->Arg(1'000)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(OursMemory)->Apply(Sizes)->Iterations(1);
BENCHMARK(PugiMemory)->Apply(Sizes)->Iterations(1);

// Prints as usual and keeps the figures, to set ours against pugixml's after the run.
class SummaryReporter : public benchmark::ConsoleReporter {
 public:
  SummaryReporter() : ConsoleReporter(OO_Tabular) {}

  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.run_type != Run::RT_Iteration || run.error_occurred || run.iterations == 0) continue;
      Figures& f = figures_[{std::stoi(run.run_name.args), run.run_name.function_name}];
      f.seconds += run.real_accumulated_time / static_cast<double>(run.iterations);
      if (auto it = run.counters.find("bytes_per_second"); it != run.counters.end()) f.bytesPerSecond += it->second;
      if (auto it = run.counters.find("mem_x_file"); it != run.counters.end()) f.memory += it->second;
      ++f.runs;
    }
  }

  void PrintSummary() const {
    std::printf("\nSummary, %d columns. MB/s = 10^6 bytes/s of each one's own text; "
                "time ratio = ours / pugixml (above 1: we are slower).\n", kColumns);
    std::printf("%-8s %-13s %12s %12s %8s\n", "rows", "operation", "ours", "pugixml", "ratio");
    for (const auto& [rows, input] : Inputs()) {
      Line(rows, "read string", "OursReadString", "PugiReadBuffer");
      Line(rows, "read bytes", "OursReadBytes", "PugiReadBuffer");
      Line(rows, "read file", "OursReadFile", "PugiReadFile");
      Line(rows, "write bytes", "OursWriteBytes", "PugiWriteBytes");
      Line(rows, "write file", "OursWriteFile", "PugiWriteFile");
      const Figures* ours = Find(rows, "OursMemory");
      const Figures* pugi = Find(rows, "PugiMemory");
      if (ours != nullptr) {
        const double o = ours->memory / ours->runs;
        const double p = pugi != nullptr ? pugi->memory / pugi->runs : 0;
        std::printf("%-8d %-13s %11.2fx %11.2fx %8.2f\n", rows, "mem_x_file", o, p, p > 0 ? o / p : 0.0);
      }
      std::printf("%-8d %-13s %10.2f MB\n", rows, "file size", static_cast<double>(input->bytes.size()) / 1e6);
    }
  }

 private:
  struct Figures {
    double seconds = 0, bytesPerSecond = 0, memory = 0;
    int runs = 0;
  };

  const Figures* Find(int rows, const std::string& name) const {
    auto it = figures_.find({rows, name});
    return it == figures_.end() ? nullptr : &it->second;
  }

  void Line(int rows, const char* label, const std::string& oursName, const std::string& pugiName) const {
    const Figures* ours = Find(rows, oursName);
    const Figures* pugi = Find(rows, pugiName);
    if (ours == nullptr || pugi == nullptr) return;
    std::printf("%-8d %-13s %7.1f MB/s %7.1f MB/s %8.2f\n", rows, label, ours->bytesPerSecond / ours->runs / 1e6,
                pugi->bytesPerSecond / pugi->runs / 1e6, (ours->seconds / ours->runs) / (pugi->seconds / pugi->runs));
  }

  std::map<std::pair<int, std::string>, Figures> figures_;
};

}  // namespace

int main(int argc, char** argv) {
  // Keep freed memory in the process, as a program that has run for a while does; otherwise
  // each iteration pays again for the kernel handing out fresh pages, which on a virtual
  // machine costs more than the parsing itself and varies from run to run.
  mallopt(M_TRIM_THRESHOLD, 1 << 30);
  mallopt(M_MMAP_THRESHOLD, 32 << 20);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  SummaryReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintSummary();
  benchmark::Shutdown();
  std::error_code ignored;
  std::filesystem::remove_all(TempDir(), ignored);
  return 0;
}
