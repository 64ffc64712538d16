// velmark-crashkill: kills real writers of the program's files with SIGKILL and checks what is
// left. Three writers run against one simulated unit (velmark-sim --no-pacing on a
// pseudo-terminal): `velmark-cli config` (init.cfg), `velmark-cli save FILE` (a preset) and
// `velmark-cli store` (Eeprom.txt). Each is killed
//   - at every watched call of its file write, before and after the call (the kill shim),
//   - after every byte offset of its write, or offsets spread evenly when there are too many,
//   - at a random time of its run (fork, exec, sleep a random number of microseconds, SIGKILL).
// After each kill the file must hold the old bytes or the new bytes; a temporary file left by the
// kill must be gone after the next write, which must give the new bytes.
//
// velmark-crashkill --cli PATH --sim PATH --shim PATH [--runs N] [--seed S]
// Exit status 0 when nothing was torn and every leftover was cleaned, 1 otherwise, 2 on misuse.

#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;

namespace {

using Bytes = std::string;
using Env = std::vector<std::pair<std::string, std::string>>;

struct Writer {
  std::string label;              // for the table
  fs::path target;                // the file it replaces
  std::vector<std::string> argv;  // the command
  std::vector<std::string> keep;  // other names expected in the target's folder
  Bytes old_bytes, new_bytes;
};

struct Tally {
  int runs = 0, killed = 0, old_file = 0, new_file = 0, torn = 0, stray = 0, cleaned = 0;
};

Bytes ReadAll(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteAll(const fs::path& p, const Bytes& b) {
  std::ofstream(p, std::ios::binary | std::ios::trunc) << b;
}

// Starts `argv` with `env` added, output to /dev/null; the child's pid.
pid_t Spawn(const std::vector<std::string>& argv, const Env& env) {
  const pid_t pid = ::fork();
  if (pid != 0) return pid;
  for (const auto& [k, v] : env) ::setenv(k.c_str(), v.c_str(), 1);
  const int null = ::open("/dev/null", O_RDWR);
  ::dup2(null, 1);
  ::dup2(null, 2);
  std::vector<char*> args;
  for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  ::execv(args[0], args.data());
  ::_exit(127);
}

// Waits for the child; true when SIGKILL ended it.
bool Reap(pid_t pid, int* exit_code = nullptr) {
  int status = 0;
  ::waitpid(pid, &status, 0);
  if (exit_code) *exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
}

bool RunToEnd(const Writer& w, const Env& env = {}) {
  int code = 0;
  Reap(Spawn(w.argv, env), &code);
  return code == 0;
}

// Names in the target's folder that are neither the target nor expected there.
std::vector<std::string> Strays(const Writer& w) {
  std::vector<std::string> out;
  for (const auto& e : fs::directory_iterator(w.target.parent_path())) {
    const std::string name = e.path().filename().string();
    if (name != w.target.filename().string() &&
        std::find(w.keep.begin(), w.keep.end(), name) == w.keep.end()) {
      out.push_back(name);
    }
  }
  return out;
}

// A kill point: the shim's settings, or a delay in microseconds when `env` is empty.
struct Kill {
  std::string method;
  Env env;
  long delay_us = 0;
};

bool KillOnce(const Writer& w, const Kill& k) {
  const pid_t pid = Spawn(w.argv, k.env);
  if (!k.env.empty()) return Reap(pid);
  std::this_thread::sleep_for(std::chrono::microseconds(k.delay_us));
  ::kill(pid, SIGKILL);
  return Reap(pid);
}

// One run: old file in place, kill, judge, and when a temporary file was left, write again.
void RunOne(const Writer& w, const Kill& k, Tally& t) {
  WriteAll(w.target, w.old_bytes);
  ++t.runs;
  if (KillOnce(w, k)) ++t.killed;
  const Bytes now = ReadAll(w.target);
  if (now == w.old_bytes) {
    ++t.old_file;
  } else if (now == w.new_bytes) {
    ++t.new_file;
  } else {
    ++t.torn;
    std::fprintf(stderr, "TORN %s %s: %zu bytes\n", w.label.c_str(), k.method.c_str(), now.size());
  }
  if (Strays(w).empty()) return;
  ++t.stray;
  // The unit may still be waiting out the killed run's half frame: try the write three times.
  for (int i = 0; i < 3 && !RunToEnd(w); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  if (Strays(w).empty() && ReadAll(w.target) == w.new_bytes) {
    ++t.cleaned;
  } else {
    for (const auto& s : Strays(w))
      std::fprintf(stderr, "LEFT %s: %s\n", w.label.c_str(), s.c_str());
    for (const auto& s : Strays(w)) fs::remove(w.target.parent_path() / s);
  }
}

Env ShimEnv(const std::string& shim, const Writer& w) {
  return {{"LD_PRELOAD", shim}, {"VELMARK_KILL_DIR", w.target.parent_path().string()}};
}

// The shim's count of watched calls and bytes of one whole run.
std::pair<long, long> CountCalls(const Writer& w, const std::string& shim, const fs::path& work) {
  const fs::path report = work / "calls.txt";
  Env env = ShimEnv(shim, w);
  env.emplace_back("VELMARK_KILL_REPORT", report.string());
  WriteAll(w.target, w.old_bytes);
  RunToEnd(w, env);
  long calls = 0, bytes = 0;
  std::ifstream(report) >> calls >> bytes;
  return {calls, bytes};
}

long MedianRunUs(const Writer& w) {
  std::vector<long> us;
  for (int i = 0; i < 3; ++i) {
    WriteAll(w.target, w.old_bytes);
    const auto t0 = std::chrono::steady_clock::now();
    RunToEnd(w);
    us.push_back(static_cast<long>(
        std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - t0)
            .count()));
  }
  std::sort(us.begin(), us.end());
  return us[1];
}

// Every call before and after, then byte offsets (3/4 of what is left), then random times,
// `budget` kills in all.
std::vector<Kill> PlanKills(const Writer& w, const std::string& shim, const fs::path& work,
                            int budget, std::mt19937_64& rng) {
  const auto [calls, bytes] = CountCalls(w, shim, work);
  std::vector<Kill> plan;
  for (long n = 1; n <= calls && static_cast<int>(plan.size()) + 2 <= budget; ++n) {
    for (const char* when : {"before", "after"}) {
      Env env = ShimEnv(shim, w);
      env.emplace_back("VELMARK_KILL_STEP", std::to_string(n));
      env.emplace_back("VELMARK_KILL_WHEN", when);
      plan.push_back({"call", env});
    }
  }
  const long offsets =
      std::min<long>(bytes, std::max<long>(0, (budget - static_cast<long>(plan.size())) * 3 / 4));
  for (long i = 0; i < offsets; ++i) {
    Env env = ShimEnv(shim, w);
    env.emplace_back("VELMARK_KILL_BYTE", std::to_string(i * bytes / offsets));
    plan.push_back({"byte", env});
  }
  const long span = MedianRunUs(w) * 11 / 10;
  std::uniform_int_distribution<long> when(0, span);
  while (static_cast<int>(plan.size()) < budget) plan.push_back({"random", {}, when(rng)});
  std::printf("%-9s %ld watched calls, %ld bytes, a whole run %ld us\n", w.label.c_str(), calls,
              bytes, span * 10 / 11);
  return plan;
}

struct Args {
  std::string cli, sim, shim;
  int runs = 300;
  unsigned seed = 1;
};

bool ParseArgs(int argc, char** argv, Args& a) {
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string k = argv[i], v = argv[i + 1];
    if (k == "--cli")
      a.cli = v;
    else if (k == "--sim")
      a.sim = v;
    else if (k == "--shim")
      a.shim = v;
    else if (k == "--runs")
      a.runs = std::atoi(v.c_str());
    else if (k == "--seed")
      a.seed = static_cast<unsigned>(std::atol(v.c_str()));
    else
      return false;
  }
  return argc % 2 == 1 && !a.cli.empty() && !a.sim.empty() && !a.shim.empty() && a.runs >= 3 &&
         a.runs <= 1000000;
}

// The three writers and their old and new contents.
std::vector<Writer> MakeWriters(const Args& a, const fs::path& work) {
  const fs::path cfg = work / "cfg", unit = work / "unit", preset = work / "preset";
  for (const auto& d : {cfg, unit, preset}) fs::create_directories(d);
  std::vector<Writer> ws;
  ws.push_back({"init.cfg",
                cfg / "init.cfg",
                {a.cli, "config", "--data", cfg.string(), "--port", "COM2", "--rs485"},
                {},
                {},
                {}});
  ws.push_back({"Eeprom.txt",
                unit / "Eeprom.txt",
                {a.cli, "store", "1", "KILLED", "--data", unit.string()},
                {"COM1", "init.cfg"},
                {},
                {}});
  ws.push_back({"preset",
                preset / "show.pre",
                {a.cli, "save", (preset / "show.pre").string(), "--data", unit.string()},
                {},
                {},
                {}});
  // A store puts its name into the unit's image: the preset is read after the stores.
  // init.cfg's old content is another port; the others' old files are longer and different.
  RunToEnd({"",
            cfg / "init.cfg",
            {a.cli, "config", "--data", cfg.string(), "--port", "COM7", "--usb"},
            {},
            {},
            {}});
  ws[0].old_bytes = ReadAll(ws[0].target);
  RunToEnd({"",
            unit / "init.cfg",
            {a.cli, "config", "--data", unit.string(), "--port", "COM1", "--usb"},
            {},
            {},
            {}});
  for (Writer& w : ws) {
    if (w.old_bytes.empty()) w.old_bytes = Bytes(7000, 'o');
    RunToEnd(w);
    RunToEnd(w);
    w.new_bytes = ReadAll(w.target);
    if (w.label != "init.cfg")
      w.old_bytes = Bytes(w.new_bytes.rbegin(), w.new_bytes.rend()) + Bytes(97, 'o');
  }
  return ws;
}

pid_t StartSim(const Args& a, const fs::path& work) {
  const fs::path link = work / "unit" / "COM1";
  fs::create_directories(link.parent_path());
  const pid_t pid = Spawn({a.sim, "--usb", "--no-pacing", "--link", link.string(), "--state",
                           (work / "sim.state").string()},
                          {});
  for (int i = 0; i < 100 && !fs::exists(fs::symlink_status(link)); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return pid;
}

void PrintTable(const std::map<std::string, Tally>& rows) {
  std::printf("%-20s %6s %6s %6s %6s %5s %6s %8s\n", "file / kill point", "runs", "killed", "old",
              "new", "torn", "stray", "cleaned");
  Tally sum;
  for (const auto& [name, t] : rows) {
    std::printf("%-20s %6d %6d %6d %6d %5d %6d %8d\n", name.c_str(), t.runs, t.killed, t.old_file,
                t.new_file, t.torn, t.stray, t.cleaned);
    sum.runs += t.runs, sum.killed += t.killed, sum.old_file += t.old_file;
    sum.new_file += t.new_file, sum.torn += t.torn, sum.stray += t.stray, sum.cleaned += t.cleaned;
  }
  std::printf("%-20s %6d %6d %6d %6d %5d %6d %8d\n", "total", sum.runs, sum.killed, sum.old_file,
              sum.new_file, sum.torn, sum.stray, sum.cleaned);
}

}  // namespace

int main(int argc, char** argv) {
  Args a;
  if (!ParseArgs(argc, argv, a)) {
    std::fprintf(stderr,
                 "usage: velmark-crashkill --cli PATH --sim PATH --shim PATH [--runs N 3..1000000] "
                 "[--seed S]\n");
    return 2;
  }
  a.shim = fs::absolute(a.shim).string();
  std::string pattern = (fs::temp_directory_path() / "velmark-crash-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) return 2;
  const fs::path work = fs::canonical(pattern);
  const auto t0 = std::chrono::steady_clock::now();
  const pid_t sim = StartSim(a, work);
  std::mt19937_64 rng(a.seed);
  std::map<std::string, Tally> rows;
  std::vector<Writer> writers = MakeWriters(a, work);
  for (std::size_t i = 0; i < writers.size(); ++i) {
    const Writer& w = writers[i];
    const int budget = a.runs / 3 + (static_cast<int>(i) < a.runs % 3 ? 1 : 0);
    for (const Kill& k : PlanKills(w, a.shim, work, budget, rng))
      RunOne(w, k, rows[w.label + " " + k.method]);
  }
  ::kill(sim, SIGTERM);
  Reap(sim);
  PrintTable(rows);
  const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  bool ok = true;
  for (const auto& [name, t] : rows) ok = ok && t.torn == 0 && t.stray == t.cleaned;
  for (const Writer& w : writers) ok = ok && !w.new_bytes.empty() && w.new_bytes != w.old_bytes;
  std::printf("seed %u, %.1f s: %s\n", a.seed, s,
              ok ? "every file whole, nothing left behind" : "FAILED");
  fs::remove_all(work);
  return ok ? 0 : 1;
}
