#include "app/demo_units.h"

#include "commands/defaults_ops.h"

namespace velmark {

void CreateDemoUnits(ProgramState& st) {
  const bool several = st.ConnectionType == kRs485 && st.SeveralDevices;
  const int count = several ? kDemoUnitCount : 1;
  const int first_id = st.ConnectionType == kUsb ? 0 : 1;
  for (int u = 0; u < count; ++u) {
    DeviceEntry& e = st.DeviceTable[u];
    e.InUse = true;
    e.Online = false;
    e.WindowOpen = false;
    e.Id = first_id + u;
    if (several) st.DeviceName[u] = st.DefaultUnitName;
    LoadFactoryPreset(st, u);
    st.LastDeviceIndex = u;
  }
}

}  // namespace velmark
