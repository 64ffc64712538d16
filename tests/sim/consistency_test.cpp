// A long random run of valid parameter packets, sent to the simulated unit and applied by a
// plain image writer of this test; afterwards the unit's parameters must equal the writer's
// image byte for byte. The writer states the layout on its own terms (88-byte channel blocks and
// offsets inside them), so it also checks the address tables the unit uses.

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "model/defaults.h"
#include "sim/sim_line.h"
#include "sim/sim_random.h"
#include "sim_test_util.h"

namespace velmark {
namespace {

using Image = std::array<std::uint8_t, 800>;

// Where things are, from the channel block layout: inputs and outputs own 88 bytes each.
struct Layout {
  static int Block(int ch) { return 88 * ch; }
  static int Level(int ch) { return Block(ch) + (ch < 4 ? 0 : 8); }
  static int Delay(int ch) { return Block(ch) + (ch < 4 ? 2 : 5); }
  static int Gate(int ch) { return Block(ch) + 5; }
  static int Comp(int ch) { return Block(ch) + (ch < 4 ? 9 : 10); }
  static int Lim(int ch) { return Block(ch) + 16; }
  static int Xover(int ch, int f) { return Block(ch) + 19 + 3 * f; }
  static int Band(int ch, int k) { return Block(ch) + (ch < 4 ? 15 : 25) + 5 * k; }
  static int BandWord(int ch) { return Block(ch) + 80; }
  static int Name(int ch) { return Block(ch) + 82; }
  static int InRoute(int out) { return Block(4 + out); }
  static int OutRoute(int phys) { return 704 + 16 * phys; }
};

class Writer {
 public:
  explicit Writer(const Image& start) : img_(start) {}
  const Image& Bytes() const { return img_; }

  void Put(int addr, std::initializer_list<std::uint8_t> bytes) {
    for (std::uint8_t b : bytes) img_[addr++] = b;
  }
  void Bit(int addr, int ch, bool on) {
    img_[addr] =
        static_cast<std::uint8_t>(on ? (img_[addr] | (1 << ch)) : (img_[addr] & ~(1 << ch)));
  }
  void BandOff(int ch, int k, bool off) {
    int w = img_[Layout::BandWord(ch)] * 256 + img_[Layout::BandWord(ch) + 1];
    w = off ? (w | (1 << k)) : (w & ~(1 << k));
    Put(Layout::BandWord(ch), {static_cast<std::uint8_t>(w >> 8), static_cast<std::uint8_t>(w)});
  }

 private:
  Image img_;
};

struct Packet {
  std::uint8_t cmd;
  FrameData d;
};

std::uint8_t B(SimRandom& r, int n) {
  return static_cast<std::uint8_t>(r.Below(n));
}

// One random user change: the packet the program sends, and the same change in the writer.
Packet RandomChange(SimRandom& r, Writer& w) {
  const int ch = B(r, 8), in = B(r, 4), out = 4 + B(r, 4);
  const std::uint8_t x = B(r, 256), y = B(r, 256), z = B(r, 256), flag = B(r, 2);
  switch (r.Below(14)) {
    case 0:
      w.Put(Layout::Level(ch), {x, y});
      return {CmdGain, simtest::Data({ch, 0, 0, 0, 0, 0, x, y})};
    case 1:
      w.Put(Layout::Delay(ch), {x, y, z});
      return {CmdDelay, simtest::Data({ch, 0, 0, 0, 0, x, y, z})};
    case 2:
      w.Bit(792, ch, flag);
      return {CmdPolarity, simtest::Data({ch, 0, 0, 0, 0, 0, 0, flag})};
    case 3:
      w.Bit(793, ch, flag);
      return {CmdMute, simtest::Data({ch, 0, 0, 0, 0, 0, 0, flag})};
    case 4: {
      const int f = B(r, 2);
      w.Put(Layout::Xover(out, f), {x, y, z});
      return {CmdCrossover, simtest::Data({out, f, 0, 0, 0, x, y, z})};
    }
    case 5: {
      const int k = B(r, ch < 4 ? 13 : 11);
      const std::uint8_t type = B(r, 17), q = B(r, 101), gain = B(r, 61);
      w.Put(Layout::Band(ch, k), {type, x, y, q, gain});
      w.BandOff(ch, k, flag);
      return {CmdEqBand, simtest::Data({ch, k, flag, type, x, y, q, gain})};
    }
    case 6:
      w.Bit(794, ch, flag);
      return {CmdEqBypass, simtest::Data({ch, 0, 0, 0, 0, 0, 0, flag})};
    case 7: {
      const int sel = B(r, 4);
      const int c = Layout::Comp(ch);
      if (sel == 0) w.Bit(795, ch, flag);
      if (sel == 1) w.Put(c, {x, y, z});
      if (sel == 2) w.Put(c + 3, {y, z});
      if (sel == 3) w.Put(c + 5, {z});
      return {CmdCompressor, simtest::Data({ch, sel, 0, 0, 0, sel == 1 ? x : 0,
                                            sel == 2 || sel == 1 ? y : 0, sel == 0 ? flag : z})};
    }
    case 8:
      if (flag) {
        w.Put(Layout::Lim(out), {x, y, z});
        return {CmdLimiter, simtest::Data({out, 0xFF, 0, 0, 0, x, y, z})};
      }
      w.Bit(796, out, z & 1);
      return {CmdLimiter, simtest::Data({out, 0, 0, 0, 0, 0, 0, z & 1})};
    case 9:
      w.Put(Layout::Gate(in), {flag, x, y, z});
      return {CmdNoiseGate, simtest::Data({in, 0, 0, 0, flag, x, y, z})};
    case 10: {
      const std::uint8_t mask = B(r, 16), l0 = B(r, 31), l3 = B(r, 31);
      w.Put(Layout::InRoute(out - 4), {mask, l0, x, y, l3});
      return {CmdInputRouting, simtest::Data({out, in, 0xFF, mask, l0, x, y, l3})};
    }
    case 11: {
      const std::uint8_t mask = B(r, 16), l0 = B(r, 31), l3 = B(r, 31);
      w.Put(Layout::OutRoute(out - 4), {mask, l0, x, y, l3});
      return {CmdOutputRouting, simtest::Data({out, in, 0xFF, mask, l0, x, y, l3})};
    }
    case 12: {
      const std::uint8_t a = 'A' + B(r, 26), b = 'a' + B(r, 26);
      w.Put(Layout::Name(ch), {' ', a, b, x, ' ', z});
      return {CmdChannelName, simtest::Data({ch, 0, ' ', a, b, x, ' ', z})};
    }
    default: {
      const int slot = B(r, 2);
      w.Put(784 + 2 * slot, {x, y});
      return {CmdAuxGain, simtest::Data({4 * slot, 0, 0, 0, 0, 0, x, y})};
    }
  }
}

TEST(Consistency, UnitMemoryFollowsTheImageByteForByte) {
  SimLine line(SimBus::Usb(3));
  ASSERT_EQ(line.Open("COM3", 9600), SerialStatus::Ok);
  Image start{};
  std::copy(DefaultImage.begin(), DefaultImage.end(), start.begin());
  Writer writer(start);
  SimRandom random(4242);
  for (int i = 0; i < 5000; ++i) {
    const Packet packet = RandomChange(random, writer);
    Frame frame = BuildFrame(0, packet.cmd, packet.d);
    ASSERT_EQ(line.Transact(frame, 3000, true, false, 1), SerialStatus::Ok) << "packet " << i;
  }
  const ParamBytes unit = line.Unit(0)->Memory().Params();
  for (int a = 0; a < 800; ++a) ASSERT_EQ(unit[a], writer.Bytes()[a]) << "image address " << a;
}

}  // namespace
}  // namespace velmark
