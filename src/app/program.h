#pragma once
// The whole program without a toolkit: its state, the serial line (recorded for scenarios and
// tests), the transaction engine, the builder context and every window. A front end hands it a
// platform and a serial port, calls Start, and ends when the program asks it to.

#include <array>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "app/frm_connect1.h"
#include "app/frm_search_net.h"
#include "app/frm_sel_port.h"
#include "app/frm_splash.h"
#include "app/frm_version.h"
#include "app/init_cfg.h"
#include "app/mdi_frm_main.h"
#include "channels/frm_copy_out.h"
#include "channels/frm_edit_label.h"
#include "commands/core.h"
#include "editor/frm_kvr.h"
#include "editor/frm_password.h"
#include "link/recording_serial_port.h"
#include "link/rx_tx.h"
#include "model/program_state.h"
#include "programs/frm_read.h"
#include "programs/frm_store.h"
#include "views/frm_view_graph.h"

namespace velmark {

struct ProgramOptions {
  // The current directory at start-up: the data folder of init.cfg, presets and Eeprom.txt.
  std::filesystem::path start_folder;
  // A new port instance for the port window's probing; none gives a port that never opens.
  std::function<std::unique_ptr<SerialPort>()> make_probe_port;
  // The device behind COM n ("COM3 = /dev/ttyUSB0"), shown beside the port list; none: nothing.
  std::function<std::string(int com)> describe_port;
  // Keep every frame sent (Line().Sent()) for scenarios and tests; the desktop program does not,
  // so that a long session's memory stays flat.
  bool record_frames = true;
};

class Program final : public EditWindowSource, public LinkObserver {
 public:
  Program(ui::Platform& platform, std::unique_ptr<SerialPort> line, ProgramOptions options);
  ~Program() override;
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  // Shows the splash window; the rest follows from its timer.
  void Start();

  // The program asked to end: exit confirmed, or a fatal start-up error.
  bool Ended() const { return ended_; }
  int ExitCode() const { return exit_code_; }
  // Told once when the program ends (a toolkit ends its event loop here).
  std::function<void(int exit_code)> OnEnd;
  void End(int exit_code);

  ui::Platform& Platform() { return platform_; }
  ProgramState& State() { return st_; }
  RxTx& Link() { return link_; }
  RecordingSerialPort& Line() { return recording_; }
  Core& GetCore() { return core_; }
  const std::filesystem::path& StartFolder() const { return options_.start_folder; }
  std::filesystem::path DataFolder() const;

  frmSplash& Splash() { return splash_; }
  MDIFrmMain& Main() { return main_; }
  FrmSelPort& SelPort() { return sel_port_; }
  FrmConnect1& Connect() { return connect_; }
  FrmSearchNet& SearchNet() { return search_net_; }
  FrmVersion& Version() { return version_; }
  FrmStore& Store() { return store_; }
  FrmRead& Read() { return read_; }
  FrmPassword& Password() { return password_; }
  FrmViewGraph& ViewGraph() { return view_graph_; }
  FrmCopyOut& CopyOut() { return copy_out_; }
  FrmEditLabel& EditLabel() { return edit_label_; }
  // The unit's edit window, created on first use and reused.
  FrmKVRxxxA& EditWindowOf(int unit);
  // The unit's edit window if it was ever created.
  FrmKVRxxxA* ExistingEditWindow(int unit);

  // The port window, then (unless it was left with Exit) the connection window.
  void ConnectSequence();
  // Shows the version window of CurUnit modally.
  void ShowVersion();
  // Shows the store or the recall window of CurUnit modally.
  void ShowStore();
  void ShowRecall();
  // Shows the password window of CurUnit modally in lock (0) or change (1) mode.
  void ShowPassword(int mode);
  // Shows the response overview of CurUnit modally.
  void ShowViewAll();
  // Shows the copy window of CurUnit modally: 0 inputs, 1 outputs.
  void ShowCopy(int mode);
  // Shows the name window of CurUnit modally.
  void ShowNames();

  // init.cfg of the data folder into ComPort and SavedConnectionType (fields the file lacks
  // keep their values), and back. A settings file that could not be written is not read
  // again until a write succeeds: the values in memory are the ones chosen.
  InitCfgStatus ReadConfig();
  std::string WriteConfig();
  const InitCfg& Config() const { return config_; }

  std::unique_ptr<SerialPort> MakeProbePort();
  std::string DescribePort(int com) const;

  // EditWindowSource.
  EditControls& EditControlsOf(int unit) override { return EditWindowOf(unit); }
  // LinkObserver.
  void WriteDeviceRow(int unit, const std::string& text) override;
  void UnloadEditWindow(int unit) override;

 private:
  ui::Platform& platform_;
  ProgramOptions options_;
  ProgramState st_;
  std::unique_ptr<SerialPort> line_;
  RecordingSerialPort recording_;
  RxTx link_;
  Core core_;
  InitCfg config_;
  bool config_unsaved_ = false;
  bool ended_ = false;
  int exit_code_ = 0;
  // Windows last: they go first, while everything they use still exists.
  frmSplash splash_;
  MDIFrmMain main_;
  FrmSelPort sel_port_;
  FrmConnect1 connect_;
  FrmSearchNet search_net_;
  FrmVersion version_;
  FrmStore store_;
  FrmRead read_;
  FrmPassword password_;
  FrmCopyOut copy_out_;
  FrmEditLabel edit_label_;
  FrmViewGraph view_graph_;
  std::array<std::unique_ptr<FrmKVRxxxA>, kUnitCount> edit_windows_{};
};

}  // namespace velmark
