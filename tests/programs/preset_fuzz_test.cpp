// Files of every length 0..4000 with seeded random content, loaded with the Load button against
// a port that records what goes out: no load faults, a file holding less than a whole image
// sends nothing, and whatever a whole image sends comes from the file.

#include <gtest/gtest.h>

#include <random>

#include "preset_fixture.h"
#include "programs/preset_upload.h"

namespace velmark::testing {
namespace {

constexpr std::size_t kLongestFile = 4000;

// The frames of a loaded file: 200 writes carrying its bytes 0..799, the apply, the decode's
// link mask, then source A/B (a source above 2 decodes as 0) and the file's delay unit.
void ExpectFramesFromFile(const std::vector<Frame>& frames, const std::string& file) {
  const auto byte = [&](int i) { return static_cast<std::uint8_t>(file[i]); };
  ASSERT_EQ(frames.size(), 204u);
  for (int k = 0; k < kPresetWriteCount; ++k) {
    ASSERT_EQ(frames[k][3], CmdWriteMemory);
    for (int i = 0; i < 4; ++i) ASSERT_EQ(frames[k][8 + i], byte(4 * k + i)) << "write " << k;
  }
  EXPECT_EQ(frames[200][3], CmdApplyImage);
  EXPECT_EQ(frames[201][3], CmdLinkMask);
  const std::uint8_t source = byte(InputSourceAddr(0)) > 2 ? 0 : byte(InputSourceAddr(0));
  EXPECT_EQ(frames[202], BuildFrame(0, CmdInputSource, {0, 0, 0, 0, 0, 0, 0, source}));
  EXPECT_EQ(frames[203][3], CmdSystemSetting);
  EXPECT_EQ(frames[203][11], byte(kDelayUnitAddr));
}

TEST_F(PresetTest, RandomFilesOfEveryLengthSendOnlyWhatAWholeImageHolds) {
  std::mt19937 gen(20240611);
  std::uniform_int_distribution<int> any_byte(0, 255);
  const fs::path file = File("fuzz.C44");
  hp.messages.OnUnexpected = nullptr;  // the refusals of short files are counted below
  int refused = 0;
  for (std::size_t n = 0; n <= kLongestFile; ++n) {
    SCOPED_TRACE(n);
    std::string bytes(n, '\0');
    for (auto& c : bytes) c = static_cast<char>(any_byte(gen));
    apptest::WriteAll(file, bytes);
    port.calls.clear();
    const std::size_t shown = hp.messages.Shown().size();
    ASSERT_NO_THROW(Load(file.string()));
    refused += static_cast<int>(hp.messages.Shown().size() - shown);
    if (n < kPresetFileSize) {
      ASSERT_TRUE(port.calls.empty());
    } else {
      ExpectFramesFromFile(Sent(), bytes);
      if (HasFatalFailure()) return;
    }
  }
  EXPECT_EQ(refused, static_cast<int>(kPresetFileSize - kPresetIgnoredBelow));
}

}  // namespace
}  // namespace velmark::testing
