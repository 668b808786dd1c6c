// The whole Linux program with a large list: how long until its window shows, how much memory
// it holds once loaded, and how long closing (save, then exit) takes, each beside its floor
// measured in the same run on the same file:
//   start-up  pugixml loading the file and visiting every text
//   memory    the file's size
//   closing   writing the file's bytes to a new file and syncing it (as dd conv=fsync does)
// A measurement only: it prints figures and decides nothing.
//
//   program_bench PROGRAM [ROWS] [RUNS]
// starts its own Xvfb; PROGRAM is the built tasklane.
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <pugixml.hpp>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "ToDoFileGenerator.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

pid_t Spawn(std::vector<std::string> argv, const std::vector<std::string>& extraEnvironment,
            const fs::path& folder = {}) {
  std::vector<std::string> environment;
  for (char** entry = environ; *entry; ++entry) environment.emplace_back(*entry);
  environment.insert(environment.end(), extraEnvironment.begin(), extraEnvironment.end());
  std::vector<char*> args;
  for (std::string& text : argv) args.push_back(text.data());
  args.push_back(nullptr);
  std::vector<char*> env;
  for (std::string& text : environment) env.push_back(text.data());
  env.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (!folder.empty()) posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  pid_t pid = -1;
  const int error = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), env.data());
  posix_spawn_file_actions_destroy(&actions);
  if (error != 0) throw std::runtime_error("cannot start " + argv[0]);
  return pid;
}

// Xvfb on a display number it picks itself.
struct VirtualDisplay {
  pid_t pid = -1;
  std::string name;
  VirtualDisplay() {
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) throw std::runtime_error("pipe");
    pid = Spawn({"Xvfb", "-displayfd", std::to_string(pipeEnds[1]), "-screen", "0", "1280x800x24", "-nolisten", "tcp"},
                {});
    close(pipeEnds[1]);
    char buffer[16] = {};
    const ssize_t length = read(pipeEnds[0], buffer, sizeof buffer - 1);
    close(pipeEnds[0]);
    if (length <= 0) throw std::runtime_error("no X server");
    name = ":" + std::string(buffer, static_cast<std::size_t>(length - (buffer[length - 1] == '\n')));
  }
  ~VirtualDisplay() {
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
  }
};

long ResidentKiB(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string key;
  while (status >> key) {
    if (key == "VmRSS:") {
      long kib = 0;
      status >> kib;
      return kib;
    }
  }
  return -1;
}

struct ProgramRun {
  double startSeconds = 0;
  double residentMB = 0;
  double closeSeconds = 0;
};

// One start of the program in `folder`: the time until the first top-level window maps, the
// resident memory a moment later, and the time from SIGTERM until the program has ended.
ProgramRun RunProgram(const fs::path& program, const fs::path& folder, const std::string& display) {
  xcb_connection_t* x = xcb_connect(display.c_str(), nullptr);
  if (xcb_connection_has_error(x)) throw std::runtime_error("cannot reach " + display);
  xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(x)).data;
  const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
  xcb_change_window_attributes(x, screen->root, XCB_CW_EVENT_MASK, &mask);
  xcb_flush(x);

  ProgramRun run;
  const Clock::time_point started = Clock::now();
  const pid_t pid = Spawn({program.string()}, {"QT_QPA_PLATFORM=xcb", "DISPLAY=" + display}, folder);
  for (;;) {
    xcb_generic_event_t* event = xcb_wait_for_event(x);
    if (!event) throw std::runtime_error("the X connection broke");
    const bool mapped = (event->response_type & 0x7F) == XCB_MAP_NOTIFY;
    std::free(event);
    if (mapped) break;
  }
  run.startSeconds = SecondsSince(started);
  xcb_disconnect(x);

  std::this_thread::sleep_for(std::chrono::seconds(1));
  run.residentMB = ResidentKiB(pid) / 1024.0;
  const Clock::time_point closing = Clock::now();
  kill(pid, SIGTERM);
  int status = 0;
  waitpid(pid, &status, 0);
  run.closeSeconds = SecondsSince(closing);
  if (!WIFEXITED(status)) throw std::runtime_error("the program did not end by itself");
  return run;
}

// The reading floor: pugixml's load of the file, then every text visited.
double PugixmlSeconds(const fs::path& file) {
  const Clock::time_point started = Clock::now();
  pugi::xml_document document;
  if (!document.load_file(file.c_str())) throw std::runtime_error("pugixml cannot read the list");
  std::size_t characters = 0;
  for (pugi::xml_node row : document.child("ToDoList").child("ToDoContent").children()) {
    for (pugi::xml_node text : row.children()) characters += std::char_traits<char>::length(text.child_value());
  }
  const double seconds = SecondsSince(started);
  if (characters == 0) throw std::runtime_error("no texts");
  return seconds;
}

// The writing floor: the same bytes into a new file, synced to the disk.
double WriteSeconds(const std::string& bytes, const fs::path& file) {
  const Clock::time_point started = Clock::now();
  const int fd = open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (fd < 0) throw std::runtime_error("cannot write " + file.string());
  for (std::size_t done = 0; done < bytes.size();) {
    const ssize_t written = write(fd, bytes.data() + done, bytes.size() - done);
    if (written <= 0) throw std::runtime_error("write failed");
    done += static_cast<std::size_t>(written);
  }
  fsync(fd);
  close(fd);
  const double seconds = SecondsSince(started);
  fs::remove(file);
  return seconds;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: program_bench PROGRAM [ROWS] [RUNS]\n");
    return 2;
  }
  const fs::path program = fs::absolute(argv[1]);
  const int rows = argc > 2 ? std::atoi(argv[2]) : 200000;
  const int runs = argc > 3 ? std::max(std::atoi(argv[3]), 1) : 3;
  try {
    const fs::path folder = fs::temp_directory_path() / ("tasklane-program-bench-" + std::to_string(getpid()));
    fs::create_directories(folder);
    fs::copy_file(program, folder / "tasklane", fs::copy_options::overwrite_existing);
    const std::string bytes = tasklane::bench::MakeToDoFile(rows, 5);
    const fs::path list = folder / "ToDoList.xml";
    VirtualDisplay display;

    std::vector<double> start, resident, closing, reading, writing;
    for (int run = 0; run < runs; ++run) {
      std::ofstream(list, std::ios::binary | std::ios::trunc).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
      reading.push_back(PugixmlSeconds(list));
      writing.push_back(WriteSeconds(bytes, folder / "floor.xml"));
      const ProgramRun measured = RunProgram(folder / "tasklane", folder, display.name);
      start.push_back(measured.startSeconds);
      resident.push_back(measured.residentMB);
      closing.push_back(measured.closeSeconds);
      if (fs::file_size(list) < bytes.size() / 2) throw std::runtime_error("the list was not saved whole");
    }
    fs::remove_all(folder);

    const double fileMB = static_cast<double>(bytes.size()) / (1024.0 * 1024.0);
    std::printf("%d rows x 5 columns, %.1f MB, median of %d runs\n", rows, fileMB, runs);
    std::printf("%-30s %10s %10s %7s %6s\n", "", "program", "floor", "ratio", "goal");
    std::printf("%-30s %9.3fs %9.3fs %6.2fx %5s\n", "start-up until the window shows", Median(start),
                Median(reading), Median(start) / Median(reading), "2x");
    std::printf("%-30s %8.0fMB %8.0fMB %6.2fx %5s\n", "resident memory once loaded", Median(resident), fileMB,
                Median(resident) / fileMB, "3x");
    std::printf("%-30s %9.3fs %9.3fs %6.2fx %5s\n", "closing (save, then exit)", Median(closing), Median(writing),
                Median(closing) / Median(writing), "3x");
  } catch (const std::exception& error) {
    std::fprintf(stderr, "program_bench: %s\n", error.what());
    return 1;
  }
  return 0;
}
