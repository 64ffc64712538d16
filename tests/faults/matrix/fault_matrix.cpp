// fault_matrix: every user operation against velmark-sim with each of its faults, one cell at a
// time, each cell in a child process of its own (a crash or a hang ends the cell, not the run).
//
//   fault_matrix [--fast] [--doc FILE]
//
// --fast runs the cells CI runs: no wire pacing, a hang-up in the middle of every operation and
// a few time-outs. --doc rewrites the table and its figures between the fault-matrix markers of
// FILE (docs/reliability.md). The exit status is 0 when every cell passed.

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "faults/fault_cell.h"
#include "link/frames.h"

namespace {

using namespace velmark;
using namespace velmark::faults;

constexpr const char* kBegin = "<!-- fault-matrix:begin -->";
constexpr const char* kEnd = "<!-- fault-matrix:end -->";

struct Cell {
  CellPlan plan;
  CellResult result;
};

// Runs the cell in a child process in a process group of its own (with its simulators), and
// ends the group when it is not done within `watchdog_s`.
CellResult RunInChild(const CellPlan& plan, int watchdog_s) {
  CellResult r;
  int out[2];
  if (::pipe(out) != 0) {
    r.reason = "no pipe";
    return r;
  }
  std::fflush(nullptr);
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::setpgid(0, 0);
    ::close(out[0]);
    const std::string line = EncodeResult(RunCell(plan)) + "\n";
    if (::write(out[1], line.data(), line.size()) < 0) ::_exit(2);
    ::_exit(0);
  }
  ::setpgid(pid, pid);
  ::close(out[1]);
  std::string line;
  const auto start = std::chrono::steady_clock::now();
  bool hung = false;
  for (char c = 0; line.empty() || line.back() != '\n';) {
    if (MsSince(start) > watchdog_s * 1000.0) {
      hung = true;
      break;
    }
    pollfd p{out[0], POLLIN, 0};
    if (::poll(&p, 1, 100) <= 0) continue;
    if (::read(out[0], &c, 1) != 1) break;
    line += c;
  }
  ::close(out[0]);
  if (hung) ::kill(-pid, SIGKILL);
  int status = 0;
  ::waitpid(pid, &status, 0);
  if (hung) {
    r.reason = "hang: no result within " + std::to_string(watchdog_s) + " s";
  } else if (WIFSIGNALED(status)) {
    r.reason = "crash: signal " + std::to_string(WTERMSIG(status));
  } else if (auto decoded = DecodeResult(line.empty() ? line : line.substr(0, line.size() - 1))) {
    r = *decoded;
  } else {
    r.reason = "no result from the cell (exit status " + std::to_string(WEXITSTATUS(status)) + ")";
  }
  return r;
}

std::string Hex(std::uint8_t code) {
  char text[8];
  std::snprintf(text, sizeof text, "0x%02X", code);
  return text;
}

CellPlan MakePlan(Op op, std::string fault, std::vector<std::string> args, bool pacing,
                  bool forced) {
  CellPlan s;
  s.op = op;
  s.fault = std::move(fault);
  s.sim_args = std::move(args);
  s.pacing = pacing;
  s.forced = forced;
  return s;
}

// The faults of one operation, aimed from what its fault-free run sent.
std::vector<CellPlan> FaultCells(Op op, const CellResult& base, bool fast) {
  std::vector<CellPlan> cells;
  const std::string pre = std::to_string(base.before);
  const std::size_t n = base.exchanges;
  const auto aim = [&](const char* kind, std::size_t k) {
    const std::string at = std::to_string(base.before + k);
    return MakePlan(op, std::string(kind) + " @" + std::to_string(k + 1) + "/" + std::to_string(n),
                    {std::string("--") + kind + "-after", at}, !fast, true);
  };
  if (n == 0) return cells;
  cells.push_back(aim("hangup", n / 2));
  if (fast) {
    if (op == Op::Edit || op == Op::Meters) cells.push_back(aim("stall", 0));
    if (op == Op::EqFlat) {
      cells.push_back(MakePlan(
          op, "drop 0.3", {"--drop", "0.3", "--faults-after", pre, "--seed", "3"}, false, false));
    }
    return cells;
  }
  cells.pop_back();
  // The first, the middle and the last exchange of the operation.
  std::vector<std::size_t> at = {0, n / 2, n - 1};
  at.erase(std::unique(at.begin(), at.end()), at.end());
  for (const char* kind : {"hangup", "stall"}) {
    for (std::size_t k : at) cells.push_back(aim(kind, k));
  }
  for (const char* p : {"0.05", "0.3"}) {
    cells.push_back(MakePlan(op, std::string("drop ") + p,
                             {"--drop", p, "--faults-after", pre, "--seed", "7"}, true, false));
    cells.push_back(MakePlan(op, std::string("garble ") + p,
                             {"--garble", p, "--faults-after", pre, "--seed", "7"}, true, false));
  }
  for (std::uint8_t code : base.codes) {
    // A command the preparation needs cannot be muted without stopping it first.
    if (std::find(base.prep_codes.begin(), base.prep_codes.end(), code) != base.prep_codes.end()) {
      continue;
    }
    cells.push_back(
        MakePlan(op, "mute " + Hex(code), {"--mute-cmd", std::to_string(code)}, true, true));
  }
  for (int ms : {0, 50, 150, 400}) {
    CellPlan s = MakePlan(op, "latency " + std::to_string(ms) + " ms", {}, true, false);
    s.latency_ms = ms;
    cells.push_back(s);
  }
  return cells;
}

bool Failed(const CellResult& r) {
  return !r.pass && r.limit.empty();
}

std::string Verdict(const CellResult& r) {
  if (r.pass) return "pass";
  if (!r.limit.empty()) return "limit: " + r.limit;
  return "**FAIL**: " + r.reason;
}

// "19 cells: 17 passed, 1 at a limit of the line, 1 failed, 10 s"
std::string Figures(const std::vector<Cell>& cells, double total_s) {
  std::size_t passed = 0, limits = 0, failed = 0;
  for (const Cell& c : cells) {
    passed += c.result.pass;
    failed += Failed(c.result);
    limits += !c.result.pass && !Failed(c.result);
  }
  return std::to_string(cells.size()) + " cells: " + std::to_string(passed) + " passed, " +
         std::to_string(limits) + " at a limit of the line, " + std::to_string(failed) +
         " failed, " + std::to_string(static_cast<long>(total_s)) + " s in all";
}

std::string Row(const Cell& c) {
  std::ostringstream row;
  const CellResult& r = c.result;
  row << "| " << OpName(c.plan.op) << " | " << c.plan.fault << " | " << Verdict(r) << " | "
      << static_cast<long>(r.elapsed_ms) << " | " << static_cast<long>(r.bound_ms) << " | "
      << r.exchanges << " | " << (r.shown.empty() ? "—" : "\"" + r.shown + "\"") << " | "
      << (r.afterwards.empty() ? "—" : r.afterwards) << " |";
  return row.str();
}

std::string Table(const std::vector<Cell>& cells, bool fast, double total_s) {
  std::ostringstream t;
  t << kBegin << "\n\n";
  t << "`fault_matrix" << (fast ? " --fast" : "") << "`: " << Figures(cells, total_s) << ".\n\n";
  t << "| Operation | Fault | Result | Time (ms) | Bound (ms) | Exchanges | Shown | Afterwards |\n";
  t << "|---|---|---|---:|---:|---:|---|---|\n";
  for (const Cell& c : cells) t << Row(c) << "\n";
  t << "\n" << kEnd;
  return t.str();
}

// Replaces what stands between the markers of `doc` (or adds a section at its end).
bool WriteDoc(const std::string& doc, const std::string& table) {
  std::ifstream in(doc, std::ios::binary);
  std::stringstream whole;
  whole << in.rdbuf();
  std::string text = whole.str();
  const auto b = text.find(kBegin);
  const auto e = text.find(kEnd);
  if (b != std::string::npos && e != std::string::npos && e > b) {
    text.replace(b, e + std::string(kEnd).size() - b, table);
  } else {
    text += "\n## Fault matrix\n\n" + table + "\n";
  }
  const std::string temp = doc + ".tmp";
  std::ofstream(temp, std::ios::binary) << text;
  return std::rename(temp.c_str(), doc.c_str()) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  bool fast = false;
  std::string doc;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--fast") {
      fast = true;
    } else if (a == "--doc" && i + 1 < argc) {
      doc = argv[++i];
    } else {
      std::cerr << "usage: fault_matrix [--fast] [--doc FILE]\n";
      return 2;
    }
  }
  ::signal(SIGPIPE, SIG_IGN);
  const int watchdog_s = fast ? 60 : 240;
  const auto start = std::chrono::steady_clock::now();
  std::vector<Cell> cells;
  const auto run = [&](CellPlan plan) {
    Cell c{plan, RunInChild(plan, watchdog_s)};
    std::cout << Row(c) << std::endl;
    cells.push_back(c);
    return c.result;
  };
  for (Op op : kAllOps) {
    const CellResult base = run(MakePlan(op, "none", {}, !fast, false));
    for (CellPlan s : FaultCells(op, base, fast)) {
      s.baseline_exchanges = base.exchanges;
      run(s);
    }
  }
  const double total_s = MsSince(start) / 1000.0;
  const std::string table = Table(cells, fast, total_s);
  std::size_t failed = 0;
  for (const Cell& c : cells) failed += Failed(c.result);
  std::cout << Figures(cells, total_s) << "\n";
  if (!doc.empty() && !WriteDoc(doc, table)) {
    std::cerr << "fault_matrix: cannot write " << doc << "\n";
    return 2;
  }
  return failed == 0 ? 0 : 1;
}
