// The home screen as the device runs it: the real program started on generated sample devices.
//   <build>/bin/home_screen_bench --benchmark_repetitions=10 --benchmark_report_aggregates_only=true
// (Release build). Each run starts bookshelf.app with a script and reads back the start-up stages
// it logs (steady-clock microseconds, log level 5), the screen updates of its journal and its peak
// memory:
//  - FirstScreen/cached: start to the first complete screen, covers included, from the home-screen
//    cache file and the thumbnails of an earlier run; FirstScreen/uncached: the same without the
//    cache file (thumbnails kept). Counters break it down: exec (to main), upkeep (start-up
//    switches, self-check, state files), layout (frame and layout), frame (data, tiles, covers and
//    the first screen update); child_cpu_ms and child_faults are the program's CPU time and minor
//    page faults over the whole run (it quits right after the first screen).
//  - Steps: per page turn, per late cover, per store-block step, the screen area the e-ink panel
//    updates (pixels) and the turn's handling time.
//  - FirstScreen/100k: the same start on a library of 100 000 books, with its peak memory.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;

std::string BinDir() {
  return fs::read_symlink("/proc/self/exe").parent_path().string();
}

long long NowUs() {
  return std::chrono::duration_cast<std::chrono::microseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

struct Run {
  long long started_us = 0;
  std::map<std::string, long long> stages_us;
  long max_rss_kb = 0;
  double cpu_ms = 0;  // user and system time of the whole run
  long faults = 0;    // minor page faults of the whole run
  int status = -1;
};

// Runs a program of the build to its end with extra environment entries; standard error is kept
// for the stage marks.
Run Spawn(const std::string& program, const std::vector<std::string>& arguments,
          const std::vector<std::string>& environment) {
  std::vector<std::string> env;
  for (char** entry = environ; *entry != nullptr; ++entry) env.push_back(*entry);
  for (const std::string& entry : environment) env.push_back(entry);
  std::vector<char*> envp;
  for (std::string& entry : env) envp.push_back(entry.data());
  envp.push_back(nullptr);
  std::string path = BinDir() + "/" + program;
  std::vector<std::string> args = {path};
  args.insert(args.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  int pipe_fds[2];
  if (pipe(pipe_fds) != 0)
    std::abort();
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipe_fds[1], 2);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addclose(&actions, pipe_fds[0]);
  Run run;
  run.started_us = NowUs();
  pid_t pid = 0;
  if (posix_spawn(&pid, path.c_str(), &actions, nullptr, argv.data(), envp.data()) != 0)
    std::abort();
  posix_spawn_file_actions_destroy(&actions);
  close(pipe_fds[1]);
  std::string output;
  char buffer[65536];
  for (ssize_t got; (got = read(pipe_fds[0], buffer, sizeof buffer)) > 0;)
    output.append(buffer, static_cast<size_t>(got));
  close(pipe_fds[0]);
  struct rusage usage {};
  wait4(pid, &run.status, 0, &usage);
  run.max_rss_kb = usage.ru_maxrss;
  run.cpu_ms = (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000.0 +
               (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1000.0;
  run.faults = usage.ru_minflt;
  static const std::regex mark(R"(start-up stage \[([^\]]+)\] at \[(\d+)\] us)");
  for (std::sregex_iterator it(output.begin(), output.end(), mark), end; it != end; ++it)
    run.stages_us[(*it)[1]] = std::stoll((*it)[2]);
  return run;
}

// Sample devices made once per shape.
std::string Device(const std::string& name, const std::vector<std::string>& options) {
  static std::map<std::string, std::string> roots;
  std::string& root = roots[name];
  if (!root.empty())
    return root;
  root = (fs::temp_directory_path() / ("marrowleaf-home-bench-" + name)).string();
  fs::remove_all(root);
  std::vector<std::string> arguments = {"--root", root};
  arguments.insert(arguments.end(), options.begin(), options.end());
  if (Spawn("make-sample-device", arguments, {}).status != 0)
    std::abort();
  return root;
}

Run StartHome(const std::string& root, const std::string& script) {
  const std::string script_path = root + "/.sim/bench-script.txt";
  std::ofstream(script_path) << script;
  return Spawn("bookshelf.app", {},
               {"MARROWLEAF_ROOT=" + root, "MARROWLEAF_DISPLAY=headless",
                "MARROWLEAF_SCRIPT=" + script_path, "MARROWLEAF_LOG_LEVEL=5"});
}

double Ms(long long from_us, long long to_us) {
  return static_cast<double>(to_us - from_us) / 1000.0;
}

void FirstScreen(benchmark::State& state, const std::string& root, bool keep_cache) {
  StartHome(root, "idle\nquit\n");  // the cache file and the thumbnails of an earlier run
  std::map<std::string, double> totals;
  for (auto _ : state) {
    fs::remove(root + "/tmp/bookshelf.self.check");
    if (!keep_cache)
      fs::remove(root + "/mnt/ext1/system/cache/desktop/cache.dat");
    const Run run = StartHome(root, "quit\n");
    const auto& s = run.stages_us;
    if (run.status != 0 || s.count("first screen shown") == 0) {
      state.SkipWithError("the program did not show its first screen");
      break;
    }
    state.SetIterationTime(Ms(run.started_us, s.at("first screen shown")) / 1000.0);
    totals["exec_ms"] += Ms(run.started_us, s.at("main"));
    totals["upkeep_ms"] += Ms(s.at("main"), s.at("upkeep done"));
    totals["layout_ms"] += Ms(s.at("upkeep done"), s.at("layout loaded"));
    totals["frame_ms"] += Ms(s.at("layout loaded"), s.at("first screen shown"));
    totals["peak_rss_mb"] += static_cast<double>(run.max_rss_kb) / 1024.0;
    totals["child_cpu_ms"] += run.cpu_ms;
    totals["child_faults"] += static_cast<double>(run.faults);
  }
  for (const auto& [name, total] : totals)
    state.counters[name] = benchmark::Counter(total, benchmark::Counter::kAvgIterations);
}

void BM_FirstScreenCached(benchmark::State& state) {
  FirstScreen(state, Device("sample", {}), true);
}
void BM_FirstScreenUncached(benchmark::State& state) {
  FirstScreen(state, Device("sample", {}), false);
}
void BM_FirstScreen100k(benchmark::State& state) {
  FirstScreen(state, Device("100k", {"--books", "100000"}), true);
}
struct Update {
  int line = 0;  // the script line that caused it
  long long area = 0;
  std::string kind;
  long long since_line_ms = 0;  // from the journal's record of that script line to this update
};

// The screen updates of the last run's journal, each with the script line it followed.
std::vector<Update> JournalUpdates(const std::string& root) {
  std::ifstream journal(root + "/.sim/journal.jsonl");
  static const std::regex script(R"re("event":"script".*"line":(\d+))re");
  static const std::regex update(R"re("event":"update","h":(\d+),"kind":"(\w+)".*"w":(\d+))re");
  static const std::regex time(R"re("time_ms":(\d+))re");
  std::vector<Update> updates;
  int line = 0;
  long long line_ms = 0;
  for (std::string text; std::getline(journal, text);) {
    std::smatch match;
    long long now_ms = 0;
    if (std::regex_search(text, match, time))
      now_ms = std::stoll(match[1]);
    if (std::regex_search(text, match, script)) {
      line = std::stoi(match[1]);
      line_ms = now_ms;
    } else if (std::regex_search(text, match, update)) {
      updates.push_back(
          {line, std::stoll(match[1]) * std::stoll(match[3]), match[2], now_ms - line_ms});
    }
  }
  return updates;
}

// The e-ink cost of the home screen's steps: the area the panel updates per page turn, per cover
// that arrives after a turn and per store-block step (taps on the header's previous arrow). Each
// step is followed by "wait 0" and "idle": what the step drew itself comes before the wait's mark,
// what arrived later (covers) between it and the idle's mark.
void BM_StepAreas(benchmark::State& state) {
  const std::string root = Device("areas", {});
  std::ostringstream script;
  for (int turn = 0; turn < 4; ++turn) script << "key next\nwait 0\nidle\n";
  // The previous arrow of the store header sits at its left: 4% of the screen in, 3.5% down.
  for (int step = 0; step < 3; ++step) script << "tap 60 50\nwait 0\nidle\n";
  long long turn_area = 0;
  long long cover_area = 0;
  long long store_area = 0;
  long long flashes = 0;
  long long turn_ms = 0;  // key to the last update the turn itself made, summed over the turns
  for (auto _ : state) {
    std::map<int, long long> turn_end_ms;
    fs::remove_all(root + "/mnt/ext1/system/cache/desktop");
    fs::remove(root + "/mnt/ext1/system/cache/desktop.index");
    fs::remove(root + "/.sim/journal.jsonl");
    fs::remove(root + "/tmp/bookshelf.self.check");
    StartHome(root, script.str());
    for (const Update& update : JournalUpdates(root)) {
      if (update.kind == "full") {
        ++flashes;
        continue;
      }
      const bool turn = update.line >= 1 && update.line <= 12;
      const bool store = update.line >= 13 && update.line <= 21;
      const int phase = (update.line - 1) % 3;  // 0: the step, 1: what arrived after it
      if (turn && phase == 0) {
        turn_area += update.area;
        turn_end_ms[update.line] = std::max(turn_end_ms[update.line], update.since_line_ms);
      }
      if (turn && phase == 1)
        cover_area += update.area;
      if (store && phase == 0)
        store_area += update.area;
    }
    for (const auto& [line, ms] : turn_end_ms) turn_ms += ms;
  }
  const double runs = static_cast<double>(state.iterations());
  state.counters["turn_px"] = static_cast<double>(turn_area) / 4 / runs;
  state.counters["covers_px_per_turn"] = static_cast<double>(cover_area) / 4 / runs;
  state.counters["store_step_px"] = static_cast<double>(store_area) / 3 / runs;
  state.counters["flashes"] = static_cast<double>(flashes) / runs;
  state.counters["turn_ms"] = static_cast<double>(turn_ms) / 4 / runs;
}

BENCHMARK(BM_StepAreas)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_FirstScreenCached)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_FirstScreenUncached)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_FirstScreen100k)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
