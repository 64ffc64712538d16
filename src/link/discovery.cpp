#include "link/discovery.h"

namespace velmark {
namespace {

void EnterFound(ProgramState& st, int id) {
  st.LastDeviceIndex += 1;
  DeviceEntry& e = st.DeviceTable[st.LastDeviceIndex];
  e.InUse = true;
  e.Online = true;
  e.WindowOpen = false;
  e.Id = id;
}

}  // namespace

std::string SearchingLabel(int id) {
  return "Searching device [ID:" + TwoDigitText(id) + "], please wait.....";
}

void ResetDeviceTable(ProgramState& st) {
  st.LastDeviceIndex = -1;
  for (int u = 0; u < kUnitCount; ++u) {
    st.NeedsConnect[u] = true;
    st.ConfigRead[u] = false;
    st.NameUnknown[u] = false;
    st.DeviceTable[u] = DeviceEntry{};
  }
}

bool SearchUnits(ProgramState& st, RxTx& link, ui::Clock& clock, ReadProgress& progress) {
  st.SendSuppressed = false;
  st.LinkStarted = true;
  st.DemoMode = false;
  bool found = false;
  SerialPort& port = link.Port();
  if (port.IsOpen()) port.Close();
  if (port.Open("COM" + std::to_string(st.ComPort), 9600) != SerialStatus::Ok) return false;

  if (st.ConnectionType == kUsb) {
    st.SingleDeviceId = 0;
    if (link.PingUnit(0)) {
      st.LastDeviceIndex = -1;
      EnterFound(st, 0);
      found = true;
    }
  } else if (st.SeveralDevices) {
    st.LastDeviceIndex = -1;
    for (int id = 1; id <= kMaxSearchId; ++id) {
      progress.ShowLabel(SearchingLabel(id));
      if (link.PingUnit(id)) {
        found = true;
        EnterFound(st, id);
      } else {
        clock.Sleep(kSearchPauseMs);
      }
    }
  } else if (link.PingUnit(st.SingleDeviceId)) {
    st.LastDeviceIndex = -1;
    EnterFound(st, st.SingleDeviceId);
    found = true;
  }
  return found;
}

std::string DeviceRowText(const ProgramState& st, int unit, bool online) {
  return DeviceRowText(st, unit, online, st.DeviceName[unit]);
}

std::string DeviceRowText(const ProgramState& st, int unit, bool online, const std::string& name) {
  const char* state = online ? " - On-line" : " - Off-line";
  if (st.ConnectionType == kUsb) return "USB - " + name + state;
  return "ID:" + TwoDigitText(st.DeviceTable[unit].Id) + " - " + name + state;
}

}  // namespace velmark
