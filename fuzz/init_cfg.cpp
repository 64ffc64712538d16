// The init.cfg reader on any file content: the record decoded from the bytes, the same bytes
// read as the data folder's init.cfg by the port window at start-up (a whole program over the
// headless platform), and the file the program writes back afterwards.
//
// The program is built once per process and reused: building it took most of each input's
// time. Before each input it reads a complete first-run file, so that the fields a short or
// damaged input leaves alone hold the first-run defaults, as in a fresh program.

#include <cstddef>
#include <cstdint>
#include <memory>

#include "app/init_cfg.h"
#include "app/program.h"
#include "fuzz_input.h"
#include "sim/sim_line.h"
#include "temp_folder.h"
#include "ui/headless.h"

namespace {

using namespace velmark;

fuzz::TempFolder& Folder() {
  static fuzz::TempFolder folder;
  return folder;
}

// The record straight from the bytes: a complete one encodes back to the bytes it came from.
InitCfg DecodeAndCheck(std::span<const std::uint8_t> bytes, InitCfgStatus& status) {
  InitCfg cfg;
  status = DecodeInitCfg(bytes, cfg);
  if (status == InitCfgStatus::Complete) {
    const auto again = EncodeInitCfg(cfg);
    FUZZ_CHECK(again.size() <= bytes.size());
    FUZZ_CHECK(std::equal(again.begin(), again.end(), bytes.begin()));
  }
  return cfg;
}

struct Rig {
  Rig() {
    options.start_folder = Folder().Path();
    program =
        std::make_unique<Program>(hp.platform, std::make_unique<SimLine>(SimBus::Usb()), options);
    program->Start();
    hp.clock.Advance(2000);
  }
  // What a fresh program holds before it reads the data folder's file.
  void Reset() {
    const auto first_run = EncodeInitCfg(InitCfg{});
    FUZZ_CHECK(fuzz::WriteFileBytes(Folder().Path() / kInitCfgName, fuzz::AsText(first_run)));
    FUZZ_CHECK(program->ReadConfig() == InitCfgStatus::Complete);
  }
  ui::HeadlessPlatform hp;
  ProgramOptions options;
  std::unique_ptr<Program> program;
};

// The port window reads init.cfg when it loads; it must show an entry of its lists whatever
// the file said, and the program's rewrite of the file must keep what it carried as read.
void ThroughPortWindow(Rig& rig, const InitCfg& decoded, InitCfgStatus status) {
  Program& program = *rig.program;
  bool shown = false;
  rig.hp.desktop.ModalDriver = [&](ui::Window&) {
    FrmSelPort& w = program.SelPort();
    shown = true;
    FUZZ_CHECK(w.Combo1.ListIndex() >= 0 && w.Combo1.ListIndex() < w.Combo1.ListCount());
    FUZZ_CHECK(w.Combo2.ListIndex() >= 0 && w.Combo2.ListIndex() < w.Combo2.ListCount());
    FUZZ_CHECK(w.Option2(kUsb).Value() != w.Option2(kRs485).Value());
    w.Command1(1).UserClick();  // Exit
  };
  program.Main().ConnectionMode.UserChoose(kModeConnect);
  rig.hp.desktop.ModalDriver = nullptr;
  FUZZ_CHECK(shown);
  const ProgramState& st = program.State();
  FUZZ_CHECK(st.ComPort >= 0 && st.ComPort <= kComListCount);
  if (!program.WriteConfig().empty()) return;  // a full disk is not this target's concern
  InitCfg written;
  FUZZ_CHECK(ReadInitCfg(Folder().Path(), written) == InitCfgStatus::Complete);
  if (status == InitCfgStatus::Complete) {
    FUZZ_CHECK(written.Text == decoded.Text);
    FUZZ_CHECK(written.Trailing == decoded.Trailing);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static Rig rig;
  rig.Reset();
  fuzz::FuzzInput in(data, size);
  const auto bytes = in.Rest();
  InitCfgStatus status;
  const InitCfg decoded = DecodeAndCheck(bytes, status);
  if (!fuzz::WriteFileBytes(Folder().Path() / kInitCfgName, fuzz::AsText(bytes))) return 0;
  // The file, read as the program reads it, gives the same record as the bytes.
  InitCfg read;
  FUZZ_CHECK(ReadInitCfg(Folder().Path(), read) == status);
  FUZZ_CHECK(read == decoded);
  ThroughPortWindow(rig, decoded, status);
  return 0;
}
