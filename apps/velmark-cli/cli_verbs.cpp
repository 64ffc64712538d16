#include "cli_verbs.h"

#include <chrono>
#include <cstdio>
#include <iostream>
#include <thread>

#include "app/atomic_file.h"
#include "app/init_cfg.h"
#include "cli_dump.h"
#include "cli_presets.h"
#include "cli_programs.h"
#include "cli_response.h"
#include "link/discovery.h"
#include "link/port_naming.h"
#include "link/posix_serial_port.h"
#include "link/rx_tx.h"
#include "link/unit_reader.h"

namespace velmark::cli {
namespace {

// Failures of the link are never shown as boxes here: the verbs report them themselves.
class NoMessages final : public ui::MessageBoxService {
 public:
  ui::MsgAnswer Show(const std::string&, const std::string&, ui::MsgIcon,
                     ui::MsgButtons buttons) override {
    return buttons == ui::MsgButtons::YesNo ? ui::MsgAnswer::No : ui::MsgAnswer::Ok;
  }
};

class SteadyClock final : public ui::Clock {
 public:
  std::int64_t NowMs() const override {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
  }
  void Sleep(int ms) override { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }
};

int Fail(const std::string& line) {
  std::cerr << "velmark-cli: " << line << "\n";
  return kExitFailed;
}

std::string Hex(std::span<const std::uint8_t> bytes) {
  std::string out;
  char buf[4];
  for (std::uint8_t b : bytes) {
    std::snprintf(buf, sizeof buf, "%s%02X", out.empty() ? "" : " ", b);
    out += buf;
  }
  return out;
}

// A name as it is stored, with bytes outside printable ASCII shown as \xNN.
std::string Quoted(const std::string& s) {
  std::string out = "\"";
  char buf[8];
  for (unsigned char c : s) {
    if (c >= 32 && c < 127 && c != '"' && c != '\\') {
      out += static_cast<char>(c);
    } else {
      std::snprintf(buf, sizeof buf, "\\x%02X", c);
      out += buf;
    }
  }
  return out + "\"";
}

// The line as the program would use it: port, connection type and unit 0 at the bus ID.
struct Session {
  explicit Session(const CliOptions& o) : port(o.data), link(st, port, messages) {}
  ProgramState st;
  PosixSerialPort port;
  NoMessages messages;
  RxTx link;
  std::string port_name;
};

// Fills in port, type and ID from the options and init.cfg; the error text when one is missing.
std::string Prepare(const CliOptions& o, Session& s, bool needs_id) {
  InitCfg cfg;
  ReadInitCfg(o.data, cfg);
  const int com = o.port ? *o.port : cfg.ComPort;
  if (com <= 0) {
    return "no port chosen: give --port COMn, or save one with 'velmark-cli config --port COMn'"
           " ('velmark-cli ports' lists them)";
  }
  s.st.ComPort = com;
  s.port_name = "COM" + std::to_string(com);
  s.st.ConnectionType = o.rs485.value_or(cfg.SavedConnectionType == kRs485) ? kRs485 : kUsb;
  int id = 0;
  if (s.st.ConnectionType == kRs485 && needs_id) {
    if (!o.id) return "an RS-485 unit needs --id N (1..32)";
    id = *o.id;
  }
  s.st.LinkStarted = true;
  s.st.DeviceTable[0] = DeviceEntry{true, false, id, true};
  s.st.LastDeviceIndex = 0;
  if (s.port.Init(13, 32) != SerialStatus::Ok ||
      s.port.Open(s.port_name, 9600) != SerialStatus::Ok) {
    return "cannot open " + s.port_name + ": " + s.port.LastErrorText();
  }
  return {};
}

std::string UnitText(const Session& s) {
  const int id = s.st.DeviceTable[0].Id;
  return (s.st.ConnectionType == kUsb ? std::string("the USB unit")
                                      : "the unit with ID " + std::to_string(id)) +
         " on " + s.port_name;
}

int Ports(const CliOptions& o) {
  const auto ports = ListPorts(o.data, 40);
  if (ports.empty()) std::cout << "no serial ports\n";
  for (const PortInfo& p : ports) {
    PosixSerialPort port(o.data);
    const std::string name = "COM" + std::to_string(p.number);
    const SerialStatus s = port.Open(name, 9600);
    std::cout << name << "\t" << p.device_path << (p.from_data_folder ? " (data folder)" : "")
              << "\t" << (s == SerialStatus::Ok ? "opens" : "cannot open: " + port.LastErrorText())
              << "\n";
    port.Close();
  }
  return kExitOk;
}

int Ping(Session& s) {
  if (!s.link.PingUnit(s.st.DeviceTable[0].Id)) return Fail("no answer from " + UnitText(s));
  std::cout << UnitText(s) << " answered\n";
  return kExitOk;
}

struct NoProgress : ReadProgress {};

int Scan(Session& s) {
  s.st.SeveralDevices = true;
  SteadyClock clock;
  NoProgress progress;
  ResetDeviceTable(s.st);
  if (!SearchUnits(s.st, s.link, clock, progress))
    return Fail("no unit answered on " + s.port_name);
  for (int u = 0; u <= s.st.LastDeviceIndex; ++u) {
    std::cout << (s.st.ConnectionType == kUsb ? "USB"
                                              : "ID " + TwoDigitText(s.st.DeviceTable[u].Id))
              << "\n";
  }
  return kExitOk;
}

int Raw(const CliOptions& o, Session& s) {
  std::array<std::uint8_t, 9> bytes{};
  for (std::size_t i = 0; i < o.args.size(); ++i) {
    auto b = ParseByte(o.args[i]);
    if (!b) {
      std::cerr << "velmark-cli: not a byte: " << o.args[i] << "\n";
      return kExitUsage;
    }
    bytes[i] = *b;
  }
  const std::uint8_t cmd = bytes[0];
  FrameData data{};
  std::copy(bytes.begin() + 1, bytes.end(), data.begin());
  Frame frame = BuildFrame(static_cast<std::uint8_t>(s.st.DeviceTable[0].Id), cmd, data);
  const Timeout t = cmd == CmdPing ? kPingTimeout : CommandTimeout(cmd);
  const bool awaits_reply = cmd != CmdRelease;
  std::cerr << "-> " << Hex(frame) << "\n";
  if (s.port.Transact(frame, t.ms, awaits_reply, false, t.count) != SerialStatus::Ok) {
    return Fail("no reply from " + UnitText(s) + ": " + s.port.LastErrorText());
  }
  if (awaits_reply) std::cout << Hex(frame) << "\n";
  return kExitOk;
}

// The unit read as the program reads it: the name at connection, then the whole configuration.
// Empty when it was read, else the error line.
std::string ReadWholeError(Session& s) {
  if (!s.link.PingUnit(s.st.DeviceTable[0].Id)) return "no answer from " + UnitText(s);
  NoProgress progress;
  if (!ReadUnitName(s.st, s.link, 0) || !ReadUnitConfig(s.st, s.link, 0, progress)) {
    return UnitText(s) + " stopped answering during the read: " + s.port.LastErrorText();
  }
  return {};
}

int ReadWhole(Session& s) {
  const std::string error = ReadWholeError(s);
  return error.empty() ? kExitOk : Fail(error);
}

int Info(Session& s) {
  if (int rc = ReadWhole(s); rc != kExitOk) return rc;
  const DeviceSettings& rec = s.st.DeviceRecords[0];
  char mask[8];
  std::snprintf(mask, sizeof mask, "0x%02X", s.st.LinkMask[0]);
  std::cout << "Unit:             " << UnitText(s) << "\n"
            << "Name:             " << Quoted(s.st.DeviceName[0]) << "\n"
            << "Firmware version: " << s.st.FirmwareVersion[0] << "\n"
            << "Current program:  " << Quoted(rec.CurrentProgramName) << "\n"
            << "Link mask:        " << mask << "\n"
            << "Input sources:    " << InputSourceNames.at(std::min<int>(rec.InputSourceAB, 2))
            << " / " << InputSourceNames.at(std::min<int>(rec.InputSourceCD, 2)) << "\n"
            << "Delay unit:       " << (rec.DelayUnit == 1 ? "m" : "ms") << "\n"
            << "Panel lock:       " << (rec.LockOn == 1.0 ? "on" : "off")
            << ", password: " << (rec.PasswordOn == 1.0 ? "on" : "off") << "\n"
            << "Programs:\n";
  for (int k = 0; k < kProgramCount; ++k) {
    const int state = static_cast<int>(rec.ProgramSlot[k]);
    std::cout << "  " << (k < 10 ? " " : "") << k << "  state " << state << "  "
              << (state < kProgramInUseBelow ? "in use  " : "empty   ")
              << Quoted(rec.ProgramName[k]) << "\n";
  }
  return kExitOk;
}

int Read(const CliOptions& o, Session& s) {
  if (int rc = ReadWhole(s); rc != kExitOk) return rc;
  const ParamImage& img = s.st.DeviceImages[0];
  if (auto error = WriteFileAtomically(o.args[0], img); !error.empty()) return Fail(error);
  std::cout << "wrote " << img.size() << " bytes to " << o.args[0] << "\n";
  return kExitOk;
}

int Config(const CliOptions& o) {
  InitCfg cfg;
  ReadInitCfg(o.data, cfg);  // text and trailing fields are carried
  cfg.ComPort = static_cast<std::int16_t>(*o.port);
  if (o.rs485) cfg.SavedConnectionType = *o.rs485 ? kRs485 : kUsb;
  if (auto error = WriteInitCfg(o.data, cfg); !error.empty()) return Fail(error);
  std::cout << (o.data / kInitCfgName).string() << ": COM" << cfg.ComPort << ", "
            << (cfg.SavedConnectionType == kRs485 ? "RS485" : "USB") << "\n";
  return kExitOk;
}

}  // namespace

std::string ReadUnitImage(const CliOptions& o, ParamImage& image, std::string& unit_text) {
  Session s(o);
  if (auto error = Prepare(o, s, true); !error.empty()) return error;
  unit_text = UnitText(s);
  if (auto error = ReadWholeError(s); !error.empty()) return error;
  image = s.st.DeviceImages[0];
  return {};
}

int RunVerb(const CliOptions& o) {
  if (o.verb == "help") {
    std::cout << kCliHelp;
    return kExitOk;
  }
  if (o.verb == "ports") return Ports(o);
  if (o.verb == "config") return Config(o);
  if (o.verb == "response") return ResponseVerb(o);
  if (o.verb == "dump" || o.verb == "diff") return ReportVerb(o);
  Session s(o);
  const bool needs_id = o.verb != "scan";
  if (auto error = Prepare(o, s, needs_id); !error.empty()) return Fail(error);
  if (o.verb == "ping") return Ping(s);
  if (o.verb == "scan") return Scan(s);
  if (o.verb == "raw") return Raw(o, s);
  if (o.verb == "info") return Info(s);
  if (o.verb == "load") return LoadPresetFile(o, s.st, s.link, UnitText(s));
  if (o.verb == "save") return Read(o, s);
  if (o.verb == "store") return StoreVerb(o, s.st, s.link);
  if (o.verb == "recall") return RecallVerb(o, s.st, s.link);
  if (o.verb == "programs") return ProgramsVerb(o, s.st, s.link);
  return Read(o, s);
}

}  // namespace velmark::cli
