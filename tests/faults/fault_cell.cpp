#include "faults/fault_cell.h"

#include <algorithm>
#include <fstream>
#include <sstream>

#include "app/frm_connect1.h"
#include "app/frm_search_net.h"
#include "link/frames.h"
#include "link/rx_tx.h"

namespace velmark::faults {

namespace {

constexpr double kByteMs = 10'000.0 / 9600.0;  // one byte on the wire at 9600 baud, 8N1

// The messages a failure inside the operation may show (one of them, once). The first full
// read is not reported by the engine, but the link mask written when its window loads is.
std::vector<std::string> FailureTexts(Op op) {
  switch (op) {
    case Op::Connect:
      return {kDemoQuestion};
    case Op::Read:
      return {kReadIncompleteText, kLinkFailureText};
    default:
      return {kLinkFailureText};
  }
}

// The exchanges an operation makes, a presence test repeated on a port opened anew (the
// device behind the old handle had gone) counted once.
std::size_t Exchanges(const std::vector<Frame>& frames) {
  std::size_t n = 0;
  for (std::size_t i = 0; i < frames.size(); ++i) {
    n += !(i > 0 && frames[i][3] == CmdPing && frames[i] == frames[i - 1]);
  }
  return n;
}

bool OnlyPings(const std::vector<Frame>& frames) {
  return std::all_of(frames.begin(), frames.end(), [](const Frame& f) { return f[3] == CmdPing; });
}

bool Garbled(const fs::path& log) {
  std::ifstream in(log);
  for (std::string line; std::getline(in, line);) {
    if (line.find("garbled") != std::string::npos) return true;
  }
  return false;
}

void AddCode(std::vector<std::uint8_t>& codes, std::uint8_t code) {
  if (std::find(codes.begin(), codes.end(), code) == codes.end()) codes.push_back(code);
}

std::string Codes(const std::vector<std::uint8_t>& codes) {
  std::string out;
  for (std::uint8_t c : codes) out += std::to_string(c) + ',';
  return out;
}

std::vector<std::uint8_t> ParseCodes(const std::string& text) {
  std::vector<std::uint8_t> codes;
  std::stringstream in(text);
  for (std::string c; std::getline(in, c, ',');)
    codes.push_back(static_cast<std::uint8_t>(std::stoi(c)));
  return codes;
}

std::string Joined(const std::vector<std::string>& texts) {
  std::string out;
  for (const std::string& t : texts) out += (out.empty() ? "" : " | ") + t;
  return out;
}

std::vector<std::string> SimArgs(const CellPlan& plan, const fs::path& folder) {
  std::vector<std::string> args = plan.sim_args;
  args.insert(args.end(), {"--log", (folder / "traffic.log").string()});
  if (!plan.pacing) args.push_back("--no-pacing");
  args.insert(args.end(), {"--latency-ms", std::to_string(plan.latency_ms)});
  return args;
}

// What the user was told, against the rules; empty when it is right.
std::string CheckShown(const CellPlan& plan, Session& s, const std::vector<std::string>& shown,
                       const std::vector<Frame>& frames) {
  const std::vector<std::string> allowed = FailureTexts(plan.op);
  if (shown.size() > 1) return "more than one message: " + Joined(shown);
  if (!shown.empty() && std::find(allowed.begin(), allowed.end(), shown[0]) == allowed.end()) {
    return "wrong message: \"" + shown.front() + "\"";
  }
  if (plan.op == Op::Connect) return {};  // the search and the names fail silently
  const bool told = !shown.empty();
  const ProgramState& st = s.P().State();
  if (told) {
    if (!st.NeedsConnect[0]) return "told, but the unit is not marked for a reconnection";
    if (s.Row0().find("Off-line") == std::string::npos) {
      return "told, but the row reads " + s.Row0();
    }
    if (s.WindowOpen()) return "told, but the edit window is still open";
    return {};
  }
  // A unit that fails the presence test before its first read is silently not opened.
  if (plan.op == Op::Read && !s.WindowOpen() && OnlyPings(frames)) return {};
  // A presence test that met a vanished line tries once more on the port opened anew; when
  // that brings the unit back, the operation goes through and there is nothing to tell.
  const bool retried = Exchanges(frames) < frames.size();
  if (plan.forced && !(retried && s.WindowOpen())) return "a failure nobody was told about";
  if (st.NeedsConnect[0] || !s.WindowOpen()) return "the window closed without a word";
  return {};
}

// The double click that reconnects the unit, against a fault-free simulator on its saved
// memory. Empty when the window opened again with the unit's memory in the image.
std::string Reconnect(const CellPlan& plan, const fs::path& folder, Session& s, CellResult& r) {
  SimProcess clean(folder, {"--no-pacing"});
  if (!clean.Ready()) return "the fault-free simulator did not start";
  const std::size_t before = s.MessageCount();
  if (plan.op == Op::Connect && s.Row0().find("On-line") == std::string::npos) s.Connect();
  s.DoubleClickRow0();
  const std::vector<std::string> shown = s.MessagesSince(before);
  if (!s.WindowOpen())
    return "no reconnection: " + (shown.empty() ? "nothing shown" : Joined(shown));
  if (!shown.empty()) return "the reconnection showed " + Joined(shown);
  if (!clean.Stop()) return "the fault-free simulator did not end cleanly";
  const std::string diff =
      ImageDifference(s.P().State().DeviceImages[0], ReadUnitState(folder / "unit.state"));
  if (!diff.empty()) return "after the reconnection " + diff;
  r.afterwards = "reconnected, image = unit";
  return {};
}

std::string Evaluate(const CellPlan& plan, const fs::path& folder, Session& s, SimProcess& sim,
                     CellResult& r) {
  const std::size_t from = s.MessageCount();
  const std::size_t sent = s.FramesSent();
  const auto start = std::chrono::steady_clock::now();
  s.Run(plan.op);
  r.elapsed_ms = MsSince(start);
  const std::vector<Frame> frames = s.FramesSince(sent);
  r.exchanges = Exchanges(frames);
  for (const Frame& f : frames) AddCode(r.codes, f[3]);
  r.bound_ms = TimeBoundMs(frames, plan.latency_ms);
  const std::vector<std::string> shown = s.MessagesSince(from);
  r.shown = Joined(shown);
  if (r.elapsed_ms > r.bound_ms) return "took longer than its time-outs allow";
  // Garbled replies may change what is read next (a program memory that seems in use).
  const bool garble =
      std::find(plan.sim_args.begin(), plan.sim_args.end(), "--garble") != plan.sim_args.end();
  if (!garble && plan.baseline_exchanges && r.exchanges > *plan.baseline_exchanges) {
    return "more exchanges than on a fault-free line (" + std::to_string(r.exchanges) + ")";
  }
  if (s.Hp().messages.Pending() != 0) return "a question the operation asks was not asked";
  if (std::string bad = CheckShown(plan, s, shown, frames); !bad.empty()) return bad;
  if (!sim.Stop()) return "the simulator did not end cleanly";
  const bool read = plan.op != Op::Connect && s.P().State().ConfigRead[0];
  const std::string diff =
      read ? ImageDifference(s.P().State().DeviceImages[0], ReadUnitState(folder / "unit.state"))
           : "the unit was not read";
  if (diff.empty()) {
    r.afterwards = "image = unit";
    return {};
  }
  const bool marked = s.P().State().NeedsConnect[0] || plan.op == Op::Connect ||
                      (plan.op == Op::Read && !s.WindowOpen());
  if (!marked && garble && Garbled(folder / "traffic.log")) {
    // Nothing on the line tells a flipped data byte from a true one.
    r.limit = "a garbled data byte is taken as sent (the frames carry no checksum): " + diff;
    return {};
  }
  if (!marked) return "image differs without a reconnection mark: " + diff;
  return Reconnect(plan, folder, s, r);
}

}  // namespace

CellResult RunCell(const CellPlan& plan) {
  CellResult r;
  ScratchFolder folder;
  SimProcess sim(folder.Path(), SimArgs(plan, folder.Path()));
  if (!sim.Ready()) {
    r.reason = "velmark-sim did not start";
    return r;
  }
  Session s(folder.Path());
  std::string why;
  if (!s.Prepare(plan.op, why)) {
    // The ping's reply must be in within its time-out, whatever the unit's delay.
    if (plan.latency_ms + 2 * kFrameSize * kByteMs >= kPingTimeout.ms) {
      r.limit = "a unit answering " + std::to_string(plan.latency_ms) +
                " ms late is never found: the presence test waits " +
                std::to_string(kPingTimeout.ms) + " ms";
    } else {
      r.reason = "preparation failed: " + why;
    }
    return r;
  }
  if (!s.MessagesSince(0).empty()) {
    r.reason = "the preparation showed " + Joined(s.MessagesSince(0));
    return r;
  }
  r.before = s.FramesSent();
  for (const Frame& f : s.FramesSince(0)) AddCode(r.prep_codes, f[3]);
  r.reason = Evaluate(plan, folder.Path(), s, sim, r);
  r.pass = r.reason.empty() && r.limit.empty();
  return r;
}

// Tab-separated fields; texts never hold tabs or line ends.
std::string EncodeResult(const CellResult& r) {
  std::ostringstream out;
  out << (r.pass ? 1 : 0) << '\t' << r.elapsed_ms << '\t' << r.bound_ms << '\t' << r.before << '\t'
      << r.exchanges << '\t' << Codes(r.codes) << '\t' << Codes(r.prep_codes) << '\t' << r.shown
      << '\t' << r.afterwards << '\t' << r.reason << '\t' << r.limit;
  return out.str();
}

std::optional<CellResult> DecodeResult(const std::string& line) {
  std::vector<std::string> f;
  std::stringstream in(line);
  for (std::string field; std::getline(in, field, '\t');) f.push_back(field);
  while (f.size() < 11) f.emplace_back();
  CellResult r;
  try {
    r.pass = f[0] == "1";
    r.elapsed_ms = std::stod(f[1]);
    r.bound_ms = std::stod(f[2]);
    r.before = std::stoul(f[3]);
    r.exchanges = std::stoul(f[4]);
    r.codes = ParseCodes(f[5]);
    r.prep_codes = ParseCodes(f[6]);
  } catch (const std::exception&) {
    return std::nullopt;
  }
  r.shown = f[7];
  r.afterwards = f[8];
  r.reason = f[9];
  r.limit = f[10];
  return r;
}

}  // namespace velmark::faults
