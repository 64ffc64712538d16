// A long session: the program connected to one in-process simulated unit, its edit window open
// with the meters polling every 80 ms on the manual clock, and a seeded random mix of edits.
// Memory is sampled as the session goes on; it must stay flat, and at the end the unit's
// memory must be exactly the program's image. The default run is half a simulated hour;
// VELMARK_SOAK_HOURS (up to 48) and VELMARK_SOAK_SEED make the long one (bash tools/dev soak).

#include <gtest/gtest.h>
#include <malloc.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <random>
#include <string>

#include "app/init_cfg.h"
#include "app/program.h"
#include "editor/level_meters.h"
#include "link/temp_dir.h"
#include "sim/sim_line.h"
#include "ui/headless.h"

#if defined(__SANITIZE_ADDRESS__)
#define VELMARK_SOAK_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VELMARK_SOAK_ASAN 1
#endif
#endif
#ifdef VELMARK_SOAK_ASAN
// The sanitizer run-time's own count; declared here as GCC ships no header for it.
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#elif __has_include(<valgrind/memcheck.h>)
#include <valgrind/memcheck.h>
#define VELMARK_SOAK_VALGRIND 1
#endif

namespace velmark {
namespace {

constexpr int kSystemBytes[] = {16, 17, 18, 33, 34, 35, 36};  // written by the window's switches
constexpr std::int64_t kHourMs = 3600 * 1000;
constexpr std::size_t kFlatSlack = 64 * 1024;  // allocator noise, not growth

double EnvNumber(const char* name, double fallback, double lo, double hi) {
  const char* text = std::getenv(name);
  if (text == nullptr) return fallback;
  char* end = nullptr;
  const double v = std::strtod(text, &end);
  return (end != text && *end == '\0' && v >= lo && v <= hi) ? v : fallback;
}

// Bytes the program holds on the heap: the sanitizer's count under ASan, memcheck's under
// valgrind (whose allocator the C library's statistics do not see).
std::size_t HeapInUse() {
#ifdef VELMARK_SOAK_ASAN
  return __sanitizer_get_current_allocated_bytes();
#else
#ifdef VELMARK_SOAK_VALGRIND
  if (RUNNING_ON_VALGRIND) {
    unsigned long leaked = 0, dubious = 0, reachable = 0, suppressed = 0;
    VALGRIND_DO_QUICK_LEAK_CHECK;
    VALGRIND_COUNT_LEAKS(leaked, dubious, reachable, suppressed);
    return leaked + dubious + reachable + suppressed;
  }
#endif
  const struct mallinfo2 m = ::mallinfo2();
  return m.uordblks + m.hblkhd;
#endif
}

long RssKib() {
  long pages = 0, resident = 0;
  std::ifstream("/proc/self/statm") >> pages >> resident;
  return resident * (::sysconf(_SC_PAGESIZE) / 1024);
}

class Session {
 public:
  explicit Session(std::uint64_t seed) : gen_(seed) {
    InitCfg cfg;
    cfg.ComPort = 1;
    WriteInitCfg(dir_.path(), cfg);
    auto line = std::make_unique<SimLine>(SimBus::Usb(seed));
    sim_ = line.get();
    ProgramOptions options;
    options.start_folder = dir_.path();
    options.make_probe_port = [] { return std::make_unique<SimLine>(SimBus::Usb()); };
    options.record_frames = false;  // as the desktop program runs
    program_ = std::make_unique<Program>(hp_.platform, std::move(line), std::move(options));
    hp_.messages.OnUnexpected = [](const ui::ShownMessage& m) { ADD_FAILURE() << m.text; };
    program_->Start();
    hp_.clock.Advance(2000);  // the splash window
    hp_.desktop.ModalDriver = [this](ui::Window&) { program_->SelPort().Command1(0).UserClick(); };
    program_->Main().ConnectionMode.UserChoose(kModeConnect);
    hp_.desktop.ModalDriver = nullptr;
    hp_.clock.Advance(400);  // the connection window's search, the device list's rows
    if (program_->State().NeedsConnect[0]) hp_.messages.Queue(ui::MsgAnswer::Yes);
    program_->SearchNet().MSFlexGrid1.UserDblClick(0);  // the full read, then the edit window
  }

  FrmKVRxxxA* Window() {
    FrmKVRxxxA* w = program_->ExistingEditWindow(0);
    return w != nullptr && w->Loaded() ? w : nullptr;
  }
  // One meter period; now and then (every 10 s on average) the user changes something.
  void Tick() {
    hp_.clock.Advance(kMeterPollMs);
    if (Pick(0, 124) == 0 && Window() != nullptr) {
      Edit(*Window());
      ++edits_;
    }
  }
  long TakePolls() {
    long n = 0;
    for (const Frame& f : sim_->Sent()) n += f[3] == CmdStatusPoll;
    sim_->ClearSent();
    return n;
  }
  long Edits() const { return edits_; }
  // Every page once, so that what the window builds on first use is there before measuring.
  void VisitEveryPage() {
    for (int page = 0; page < 10; ++page) {
      if (Window() != nullptr) Window()->ImgNameTab(page).UserClick();
      Tick();
    }
  }

  void ExpectUnitEqualsImage() {
    const UnitMemory& memory = sim_->Unit(0)->Memory();
    const ParamBytes params = memory.Params();
    const ParamImage& img = program_->State().DeviceImages[0];
    for (int a = 0; a < kParamBytes; ++a) ASSERT_EQ(params[a], img[a]) << "address " << a;
    for (int i : kSystemBytes) ASSERT_EQ(memory.System(i), img[SystemAddr(i)]) << "system " << i;
  }

 private:
  int Pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(gen_); }
  std::string Number(int lo, int hi) {
    return std::to_string(Pick(lo, hi)) + (Pick(0, 1) ? "." + std::to_string(Pick(0, 9)) : "");
  }
  void Type(ui::TextBox& box, const std::string& text) {
    box.SetSelection(0, static_cast<int>(box.Text().size()));
    box.UserType(text);
    box.UserKey(ui::kKeyEnter);
  }

  // A mix of the families a session touches most: pages, gains, mutes, polarity, equaliser.
  void Edit(FrmKVRxxxA& w) {
    const int page = program_->State().CurPage[0];
    if (Pick(0, 5) == 0) return w.ImgNameTab(Pick(0, 9)).UserClick();
    if (page == 8) {
      switch (Pick(0, 3)) {
        case 0:
          return Type(w.GainText(Pick(0, 9)), Number(-35, 15));
        case 1:
          return w.Slider1(Pick(0, 9)).UserSetValue(Pick(0, 300));
        case 2:
          return w.Check2(Pick(0, 7)).UserClick();
        default:
          return w.ImgMute(Pick(0, 7)).UserClick();
      }
    }
    if (page >= kChannelCount) return w.CheckSRout(Pick(0, 15)).UserClick();
    const int e = page < kInputCount ? Pick(0, 12) : Pick(13, 23);
    switch (Pick(0, 2)) {
      case 0:
        return Type(w.TxtEqGain(e), Number(-20, 20));
      case 1:
        return w.Slider2(e).UserSetValue(Pick(0, 60));
      default:
        return w.LblEQsByp(e).UserClick();
    }
  }

  testing::TempDir dir_;
  ui::HeadlessPlatform hp_;
  SimLine* sim_ = nullptr;
  std::unique_ptr<Program> program_;
  std::mt19937_64 gen_;
  long edits_ = 0;
};

TEST(Soak, MetersAndEditsForHoursKeepMemoryFlatAndTheUnitEqualToTheImage) {
  const double hours = EnvNumber("VELMARK_SOAK_HOURS", 0.5, 0.01, 48);
  const auto seed = static_cast<std::uint64_t>(EnvNumber("VELMARK_SOAK_SEED", 14, 0, 1e9));
  Session s(seed);
  ASSERT_NE(s.Window(), nullptr) << "the edit window did not open";
  s.VisitEveryPage();
  // A sample every simulated hour; a short run still takes eight.
  const int samples = std::max(8, static_cast<int>(hours));
  const long ticks_per_sample = static_cast<long>(hours * kHourMs / kMeterPollMs) / samples;
  std::size_t baseline = 0;
  long polls = 0;
  std::printf("soak: %.2f simulated h, seed %llu\n%8s %9s %7s %10s %8s\n", hours,
              static_cast<unsigned long long>(seed), "sim h", "polls", "edits", "heap KiB",
              "RSS KiB");
  for (int k = 1; k <= samples; ++k) {
    for (long t = 0; t < ticks_per_sample; ++t) s.Tick();
    polls += s.TakePolls();
    const std::size_t heap = HeapInUse();
    std::printf("%8.2f %9ld %7ld %10zu %8ld\n", hours * k / samples, polls, s.Edits(), heap / 1024,
                RssKib());
    if (k == 1) baseline = heap;
    EXPECT_LE(heap, baseline + kFlatSlack) << "the heap grew by " << (heap - baseline) << " bytes";
    ASSERT_NE(s.Window(), nullptr) << "the edit window closed";
  }
  // Every tick polled once; the ticks the edits took from the meters are few.
  EXPECT_GT(polls, ticks_per_sample * samples * 9 / 10);
  EXPECT_GT(s.Edits(), 0);
  s.ExpectUnitEqualsImage();
}

}  // namespace
}  // namespace velmark
