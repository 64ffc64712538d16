#include <cmath>
#include <cstdio>
#include <string>
#include <string_view>

#include "edit_harness.h"
#include "fuzz_input.h"
#include "model/tables.h"
#include "ui/controls.h"

namespace velmark::fuzz {
namespace {

// A number formatted from NaN or infinity ("nan", "-inf") never belongs in a value box. Labels
// are left out: they also show channel names, which may hold any bytes.
bool ShowsNonNumber(std::string_view text) {
  for (std::string_view bad : {"nan", "inf"}) {
    if (text.find(bad) != std::string_view::npos) return true;
  }
  return false;
}

void CheckText(const ui::Control& c, const std::string& text) {
  if (!ShowsNonNumber(text)) return;
  std::fprintf(stderr, "%s shows \"%s\"\n", c.Address().c_str(), text.c_str());
  Violated("a text shows a number that is not one", __FILE__, __LINE__);
}

void CheckControl(const ui::Control& c) {
  using ui::ControlKind;
  switch (c.Kind()) {
    case ControlKind::Slider:
    case ControlKind::UpDown: {
      const auto& r = static_cast<const ui::RangeControl&>(c);
      FUZZ_CHECK(r.Min() <= r.Max());
      FUZZ_CHECK(r.Value() >= r.Min() && r.Value() <= r.Max());
      break;
    }
    case ControlKind::CheckBox: {
      const int v = static_cast<const ui::CheckBox&>(c).Value();
      FUZZ_CHECK(v == 0 || v == 1);
      break;
    }
    case ControlKind::ComboBox:
    case ControlKind::ListBox: {
      const auto& l = static_cast<const ui::ListControl&>(c);
      FUZZ_CHECK(l.ListIndex() >= -1 && l.ListIndex() < l.ListCount());
      break;
    }
    case ControlKind::TextBox:
      CheckText(c, static_cast<const ui::TextBox&>(c).Text());
      break;
    case ControlKind::ProgressBar: {
      const auto& p = static_cast<const ui::ProgressBar&>(c);
      FUZZ_CHECK(p.Value() >= 0 && p.Value() <= p.Max());
      break;
    }
    default:
      break;
  }
}

template <typename Array>
void CheckFinite(const Array& values) {
  for (double v : values) FUZZ_CHECK(std::isfinite(v));
}

void CheckRecord(const DeviceSettings& rec) {
  CheckFinite(rec.EqGain);
  CheckFinite(rec.EqFreq);
  CheckFinite(rec.EqQ);
  CheckFinite(rec.EqBandBypass);
  CheckFinite(rec.LevelGain);
  CheckFinite(rec.DelayCoarse);
  CheckFinite(rec.DelayFine);
  CheckFinite(rec.XoverFreq);
  CheckFinite(rec.XoverType);
  // Type codes and noise settings stay as the image holds them (the readers bound them); a
  // computed gain is always one the band can have.
  for (double g : rec.EqGain) FUZZ_CHECK(g >= -15.0 && g <= 15.0);
}

}  // namespace

void CheckEditWindow(const ui::Window& window, const ProgramState& st, int unit) {
  for (const ui::Control* c : window.Controls()) CheckControl(*c);
  CheckRecord(st.DeviceRecords[static_cast<std::size_t>(unit)]);
  FUZZ_CHECK(!st.SendSuppressed);
  FUZZ_CHECK(!st.UpdatingControls);
  FUZZ_CHECK(!st.DrawSuppressed);
}

}  // namespace velmark::fuzz
