// velmark-sim: simulated VELMARK units on a pseudo-terminal, for trying and testing the program
// without hardware. See docs/simulator.md.

#include <algorithm>
#include <csignal>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "sim/pty_link.h"
#include "sim/pty_server.h"
#include "sim/sim_options.h"
#include "sim/state_file.h"
#include "sim/traffic_log.h"
#include "velmark_version.h"

namespace {

using namespace velmark;

// Set by SIGINT/SIGTERM/SIGHUP; a lock-free atomic is safe to write from a signal handler. The
// one piece of global state of the program, because a signal handler has no other way in.
std::atomic<bool> g_stop{false};

extern "C" void OnStopSignal(int /*signal*/) {
  g_stop = true;
}

void InstallStopHandlers() {
  struct sigaction action {};
  action.sa_handler = OnStopSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = 0;  // no SA_RESTART: a waiting poll() returns at once
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) sigaction(signal, &action, nullptr);
}

void SaveState(const SimOptions& options, const SimBus& bus) {
  if (options.state_file.empty()) return;
  if (const auto error = SaveUnitState(options.state_file, bus)) {
    std::cerr << "velmark-sim: warning: state not saved: " << *error << '\n';
  }
}

int Run(const SimOptions& options) {
  SimBus bus = BuildBus(options);
  if (!options.state_file.empty()) {
    const StateLoad load = LoadUnitState(options.state_file, bus);
    if (!load.warning.empty()) std::cerr << "velmark-sim: warning: " << load.warning << '\n';
  }
  TrafficLog log;
  if (!options.log_file.empty()) {
    log = TrafficLog(options.log_file);
    if (!log.IsOpen()) {
      std::cerr << "velmark-sim: cannot open the log " << options.log_file << '\n';
      return 1;
    }
  }
  PtyServer server;
  if (const auto error = server.Open()) {
    std::cerr << "velmark-sim: " << *error << '\n';
    return 1;
  }
  PtyLink link;
  if (!options.link.empty()) {
    if (const auto error = link.Point(options.link, server.SlavePath())) {
      std::cerr << "velmark-sim: " << *error << '\n';
      return 1;
    }
  }
  InstallStopHandlers();
  std::cout << ServingLine(options, server.SlavePath()) << std::endl;

  ServeConfig config;
  config.pacing = options.pacing;
  config.baud = options.baud;
  config.latency = std::chrono::milliseconds(options.latency_ms);
  config.hangup_after = options.hangup_after;
  config.log = options.log_file.empty() ? nullptr : &log;
  config.after_store = [&] { SaveState(options, bus); };
  config.after_hangup = [&](const std::string& slave_path) {
    if (!options.link.empty()) {
      if (const auto error = link.Point(options.link, slave_path)) {
        std::cerr << "velmark-sim: " << *error << '\n';
      }
    }
    std::cout << "velmark-sim: line hung up\n" << ServingLine(options, slave_path) << std::endl;
  };
  server.Serve(bus, config, g_stop);

  SaveState(options, bus);
  link.Remove();
  std::cerr << "velmark-sim: stopped\n";
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string_view> args(argv + 1, argv + argc);
  if (std::find(args.begin(), args.end(), "--version") != args.end()) {
    std::cout << "velmark-sim " << kVelmarkVersion << "\n";
    return 0;
  }
  const ParsedOptions parsed = ParseSimOptions(args);
  if (!parsed.options) {
    std::cerr << "velmark-sim: " << parsed.error << "\n\n" << SimUsage();
    return 2;
  }
  if (parsed.options->help) {
    std::cout << SimUsage();
    return 0;
  }
  return Run(*parsed.options);
}
