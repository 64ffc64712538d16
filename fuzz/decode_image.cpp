// DecodeImage over any 1651 bytes, into a real edit window with its controls: the bytes of the
// input are the unit's image (an input shorter than an image keeps the default bytes after its
// end). One more input byte past the image picks the channel page shown before the decode, so
// that both the input and the output layouts are refreshed from damaged bytes, and one more the
// page turned to after the decode.
//
// The window stays open from one input to the next (see OpenedWindow): the page is chosen on
// the configuration the last input left, and the decode overwrites every control from the
// image.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "commands/decode_image.h"
#include "edit_harness.h"
#include "fuzz_input.h"
#include "model/image.h"
#include "support/scripted_port.h"

namespace {

using namespace velmark;

// The unit echoes every request, from the window's first load on.
struct EchoingPort : testing::ScriptedPort {
  EchoingPort() {
    responder = [](Frame&) { return SerialStatus::Ok; };
  }
};

EchoingPort& Port() {
  static EchoingPort port;
  return port;
}

fuzz::OpenedWindow& TheWindow() {
  static fuzz::OpenedWindow window(Port(), false, "");
  return window;
}

void DecodeOne(fuzz::FuzzInput& in) {
  fuzz::OpenedWindow& r = TheWindow();
  r.Reset();
  Port().calls.clear();
  fuzz::EditHarness& h = r.h;
  FrmKVRxxxA& w = r.w;
  // The input over the image the window was opened on: the same bytes whatever came before.
  ParamImage given = r.Opened();
  const auto image = in.Bytes(kImageSize);
  std::copy(image.begin(), image.end(), given.begin());
  // The page is chosen while the window still shows the configuration before, as a user would
  // before loading a file.
  w.SetPageTab(in.Byte() % 10);
  h.st.DeviceImages[0] = given;
  h.st.SendSuppressed = true;
  DecodeImage(h.core);
  fuzz::CheckEditWindow(w, h.st, 0);
  // Then the user turns to another page, which refreshes it from the decoded image.
  w.SetPageTab(in.Byte() % 10);
  fuzz::CheckEditWindow(w, h.st, 0);
  // Of what the unit holds, the decoder keeps every byte but an input source above 2 (A/B or
  // C/D), which becomes 0; the host area after it is the program's own.
  const ParamImage& now = h.st.DeviceImages[0];
  for (std::size_t a = 0; a < static_cast<std::size_t>(kHostAreaStart); ++a) {
    if (now[a] == given[a]) continue;
    const bool source =
        static_cast<int>(a) == kInputSourceAddr || static_cast<int>(a) == kInputSourceAddr + 1;
    if (source && given[a] > 2 && now[a] == 0) continue;
    std::fprintf(stderr, "image byte %zu: %d became %d\n", a, given[a], now[a]);
    fuzz::Violated("the decoder rewrote an image byte", __FILE__, __LINE__);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::FuzzInput in(data, size);
  DecodeOne(in);
  return 0;
}
