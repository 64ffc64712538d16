#pragma once
// Preset files through the edit window's Load and Save: the edit windows over a port that
// answers every request, a scratch data folder, and the frames a load sends.

#include <optional>
#include <string>
#include <vector>

#include "app/app_test_util.h"
#include "editor/edit_window_fixture.h"
#include "programs/preset_file.h"
#include "programs/preset_image.h"

namespace velmark::testing {

namespace fs = std::filesystem;

class PresetTest : public EditWindowTest {
 protected:
  PresetTest() : w(Open(0)) {
    st.DataFolder = data.path().string();
    st.DeviceTypeName = " VELMARK ";
    port.calls.clear();
  }

  // Loads `path` (nothing: the dialog is cancelled) with the Load button.
  void Load(std::optional<std::string> path) {
    hp.files.Queue(std::move(path));
    w.ImageBtn(0).UserClick();
  }
  void Save(const std::string& path) {
    hp.files.Queue(path);
    w.ImageBtn(1).UserClick();
  }

  std::vector<Frame> Sent() const {
    std::vector<Frame> out;
    for (const TransactCall& c : port.calls) out.push_back(c.frame);
    return out;
  }
  std::vector<Frame> SentOf(std::uint8_t command) const {
    std::vector<Frame> out;
    for (const TransactCall& c : port.calls) {
      if (c.frame[3] == command) out.push_back(c.frame);
    }
    return out;
  }
  fs::path File(const std::string& name) const { return data.path() / name; }

  apptest::TempDir data;
  FrmKVRxxxA& w;
};

// Bytes of length n, each from a seeded sequence, as a file's content.
inline std::string PatternBytes(std::size_t n, unsigned seed) {
  std::string s(n, '\0');
  unsigned x = seed * 2654435761u + 1;
  for (auto& c : s) {
    x = x * 1103515245u + 12345u;
    c = static_cast<char>((x >> 16) & 0xFF);
  }
  return s;
}

}  // namespace velmark::testing
