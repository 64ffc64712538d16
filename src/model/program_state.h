#pragma once
// The program's state in one object: every per-unit table (unit index 0..32), the current unit
// and channel, the device table and the flags that decide whether and how packets go out.
// Each test builds a fresh one; nothing of it lives in globals.

#include <array>
#include <memory>
#include <string>

#include "model/image.h"
#include "model/responses.h"
#include "model/settings.h"
#include "model/tables.h"

namespace velmark {

inline constexpr int kNoWindow = 255;  // WindowHandle of a unit without an open edit window
inline constexpr int kNoPage = 255;    // CurPage before the first page has been chosen
inline constexpr int kNoId = 255;      // Id of an empty device table slot

// One entry of the device table.
struct DeviceEntry {
  bool Online = false;      // the unit answered and may be addressed
  bool WindowOpen = false;  // its edit window is open
  int Id = kNoId;           // bus ID: 0 on USB, 1..32 on RS-485
  bool InUse = false;       // belongs to a found or demo unit
};

enum ConnectionKind { kUsb = 0, kRs485 = 1 };

struct ProgramState {
  ProgramState();

  template <typename T>
  using PerUnit = std::array<T, kUnitCount>;

  // ---- Per-unit tables.
  PerUnit<ParamImage> DeviceImages{};
  PerUnit<DeviceSettings> DeviceRecords{};
  PerUnit<int> CurChannel{};
  PerUnit<int> CurPage{};
  PerUnit<std::array<std::string, kChannelCount>> ChannelNames{};
  PerUnit<std::array<std::uint8_t, kChannelCount>> LinkFlag{};
  PerUnit<std::uint8_t> LinkMask{};
  PerUnit<DeviceEntry> DeviceTable{};
  PerUnit<std::string> DeviceName{};
  PerUnit<bool> NeedsConnect{};
  PerUnit<bool> ConfigRead{};
  PerUnit<bool> PingOk{};
  // The unit answered the search but not the name read: listed under the type name until a
  // complete read brings its own.
  PerUnit<bool> NameUnknown{};
  PerUnit<std::string> FirmwareVersion{};
  PerUnit<int> WindowHandle{};

  // Responses of a unit, allocated on first use.
  UnitResponses& Responses(int unit);
  bool HasResponses(int unit) const { return responses_[Checked(unit)] != nullptr; }

  // The unit and channel every builder works on.
  int CurUnit = 0;
  DeviceSettings& Rec() { return DeviceRecords[Checked(CurUnit)]; }
  ParamImage& Img() { return DeviceImages[Checked(CurUnit)]; }
  int Channel() const { return CurChannel[Checked(CurUnit)]; }

  // ---- Flags.
  bool DemoMode = false;          // no unit: nothing is ever sent
  bool LinkStarted = false;       // the unit search has begun
  bool SendSuppressed = false;    // rebuilding own state: sends report success, send nothing
  bool LinkIdle = false;          // no exchange in progress
  bool ReportLinkErrors = false;  // a failed exchange is reported and makes the unit off-line
  bool UpdatingControls = false;  // the program itself writes into controls
  bool DrawSuppressed = false;    // responses are recomputed without drawing curves
  bool UiBusy = false;            // a dialog or tool button is being handled: meters pause

  // ---- Drag state, shared by every knob and band marker of every edit window.
  bool Dragging = false;     // from mouse-down to mouse-up on a knob or a band marker
  double GrabY = 0;          // vertical mouse offset inside the knob at mouse-down
  bool MarkerMoved = false;  // the band marker moved during the current drag

  // ---- Connection settings and the device list.
  int ComPort = 0;  // "COM" + ComPort is the port opened
  int ConnectionType = kUsb;
  int SavedConnectionType = kUsb;
  bool SeveralDevices = false;
  int SingleDeviceId = 0;
  int LastDeviceIndex = -1;
  int OpenWindowCount = -1;  // open edit windows minus one
  bool DeviceListShown = false;
  bool DeviceListClosing = false;
  bool OpeningInProgress = false;
  int OpeningUnit = 0;
  std::string DeviceTypeName;
  std::string DefaultUnitName;

  // ---- Start-up settings.
  bool DecimalIsComma = false;
  double ScaleFactor = 1.0;
  std::string DefaultVersion;
  std::string ProgramVersion;
  std::string DataFolder;

  static int Checked(int unit);

 private:
  PerUnit<std::unique_ptr<UnitResponses>> responses_{};
};

}  // namespace velmark
