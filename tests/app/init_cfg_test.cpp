// init.cfg: the record layout, what a short or damaged file leaves alone, atomic replacement,
// and a long seeded run of random files through the reader.

#include "app/init_cfg.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <iterator>
#include <random>
#include <vector>

#include "app/atomic_file.h"

#include "app_test_util.h"

namespace velmark {
namespace {

using apptest::ReadAll;
using apptest::TempDir;
using apptest::WriteAll;
using Bytes = std::vector<std::uint8_t>;

std::string Str(const Bytes& b) {
  return std::string(b.begin(), b.end());
}

TEST(InitCfg, EmptyTextGivesTheTwelveByteRecord) {
  InitCfg cfg;
  cfg.ComPort = 3;
  cfg.SavedConnectionType = 1;
  EXPECT_EQ(EncodeInitCfg(cfg), (Bytes{3, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0}));
}

TEST(InitCfg, TextAndTrailingBytesAreCarriedAsRead) {
  const Bytes file = {0xFF, 0xFF, 3, 0, 'a', 0, 0xC3, 1, 0, 9, 8, 7, 6, 5, 4};
  InitCfg cfg;
  EXPECT_EQ(DecodeInitCfg(file, cfg), InitCfgStatus::Complete);
  EXPECT_EQ(cfg.ComPort, -1);
  EXPECT_EQ(cfg.Text, std::string("a\0\xC3", 3));
  EXPECT_EQ(cfg.SavedConnectionType, 1);
  EXPECT_EQ(cfg.Trailing, (std::array<std::uint8_t, 6>{9, 8, 7, 6, 5, 4}));
  EXPECT_EQ(EncodeInitCfg(cfg), file);
}

// Fields a file does not hold keep the values they had before the read.
TEST(InitCfg, ShortTruncatedAndDamagedFilesKeepWhatTheyLack) {
  InitCfg before;
  before.ComPort = 7;
  before.Text = "keep";
  before.SavedConnectionType = 1;
  before.Trailing = {1, 2, 3, 4, 5, 6};
  struct Case {
    const char* what;
    Bytes file;
    InitCfgStatus status;
    InitCfg expected;
  };
  auto with = [&](auto change) {
    InitCfg c = before;
    change(c);
    return c;
  };
  const Case cases[] = {
      {"empty", {}, InitCfgStatus::Partial, before},
      {"one byte", {9}, InitCfgStatus::Partial, before},
      {"port only", {9, 0}, InitCfgStatus::Partial, with([](InitCfg& c) { c.ComPort = 9; })},
      {"length cut", {9, 0, 0}, InitCfgStatus::Partial, with([](InitCfg& c) { c.ComPort = 9; })},
      {"negative length", {9, 0, 0xFE, 0xFF, 1, 0}, InitCfgStatus::Damaged, with([](InitCfg& c) {
         c.ComPort = 9;
       })},
      {"length past the end", {9, 0, 0xFF, 0x7F, 'x'}, InitCfgStatus::Damaged, with([](InitCfg& c) {
         c.ComPort = 9;
       })},
      {"text, no type", {9, 0, 1, 0, 'x'}, InitCfgStatus::Partial, with([](InitCfg& c) {
         c.ComPort = 9, c.Text = "x";
       })},
      {"half a trailing field",
       {9, 0, 0, 0, 0, 0, 0xAA, 0xBB, 0xCC},
       InitCfgStatus::Partial,
       with([](InitCfg& c) {
         c.ComPort = 9, c.Text = "", c.SavedConnectionType = 0;
         c.Trailing[0] = 0xAA, c.Trailing[1] = 0xBB;
       })},
  };
  for (const Case& c : cases) {
    InitCfg cfg = before;
    EXPECT_EQ(DecodeInitCfg(c.file, cfg), c.status) << c.what;
    EXPECT_EQ(cfg, c.expected) << c.what;
  }
}

TEST(InitCfg, AMissingFileIsCreatedEmptyAndLeavesTheFirstRunDefaults) {
  TempDir dir;
  InitCfg cfg;
  EXPECT_EQ(ReadInitCfg(dir.path(), cfg), InitCfgStatus::Created);
  EXPECT_EQ(cfg, InitCfg{});
  ASSERT_TRUE(std::filesystem::exists(dir.path() / "init.cfg"));
  EXPECT_EQ(std::filesystem::file_size(dir.path() / "init.cfg"), 0u);
  EXPECT_EQ(ReadInitCfg(dir.path(), cfg), InitCfgStatus::Partial);
}

TEST(InitCfg, AFolderThatCannotBeWrittenReportsInsteadOfCrashing) {
  if (::geteuid() == 0) GTEST_SKIP() << "root writes everywhere";
  TempDir dir;
  ::chmod(dir.path().c_str(), 0500);
  InitCfg cfg;
  EXPECT_EQ(ReadInitCfg(dir.path(), cfg), InitCfgStatus::Missing);
  EXPECT_NE(WriteInitCfg(dir.path(), cfg).find("cannot create a temporary file"),
            std::string::npos);
}

// The file is replaced by a rename: a reader that opened the old one still reads it whole, and
// the new one is readable by everyone, whatever the creating mode of the temporary file.
TEST(AtomicFile, AReaderKeepsTheOldFileAndTheNewOneIsWorldReadable) {
  TempDir dir;
  const auto file = dir.path() / "Eeprom.txt";
  WriteAll(file, std::string(4000, 'o'));
  std::ifstream reader(file, std::ios::binary);
  const mode_t old_mask = ::umask(022);
  const std::vector<std::uint8_t> fresh(100, 'n');
  ASSERT_EQ(WriteFileAtomically(file, fresh), "");
  ::umask(old_mask);
  const std::string seen{std::istreambuf_iterator<char>(reader), std::istreambuf_iterator<char>()};
  EXPECT_EQ(seen, std::string(4000, 'o')) << "the old file was written over in place";
  EXPECT_EQ(ReadAll(file), std::string(100, 'n'));
  struct stat info {};
  ASSERT_EQ(::stat(file.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0644u);
}

TEST(InitCfg, WriteReplacesTheFileWholeAndLeavesNoTemporaryBehind) {
  TempDir dir;
  WriteAll(dir.path() / "init.cfg", std::string(5000, 'z'));
  InitCfg cfg;
  cfg.ComPort = 12;
  cfg.Text = "abc";
  ASSERT_EQ(WriteInitCfg(dir.path(), cfg), "");
  EXPECT_EQ(ReadAll(dir.path() / "init.cfg"), Str(EncodeInitCfg(cfg)));
  int entries = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path())) ++entries;
  EXPECT_EQ(entries, 1);
  InitCfg back;
  EXPECT_EQ(ReadInitCfg(dir.path(), back), InitCfgStatus::Complete);
  EXPECT_EQ(back, cfg);
}

TEST(InitCfg, AHugeFileIsReadOnlyAsFarAsARecordReaches) {
  TempDir dir;
  std::string big(4u << 20, '\x7F');  // length field 0x7F7F: 32639 bytes of text
  WriteAll(dir.path() / "init.cfg", big);
  InitCfg cfg;
  EXPECT_EQ(ReadInitCfg(dir.path(), cfg), InitCfgStatus::Complete);
  EXPECT_EQ(cfg.Text.size(), 0x7F7Fu);
  EXPECT_EQ(cfg.SavedConnectionType, 0x7F7F);
}

TEST(InitCfg, AFolderNamedLikeTheFileIsUnreadable) {
  TempDir dir;
  std::filesystem::create_directory(dir.path() / "init.cfg");
  InitCfg cfg;
  cfg.ComPort = 4;
  EXPECT_EQ(ReadInitCfg(dir.path(), cfg), InitCfgStatus::Unreadable);
  EXPECT_EQ(cfg.ComPort, 4);
}

// Random files, mostly of plausible length, many built around a valid record: the reader never
// fails, never takes more text than the file holds, and a complete read encodes back to the
// file's record.
TEST(InitCfg, SeededRandomFilesNeverBreakTheReader) {
  std::mt19937 rng(20261209);
  std::uniform_int_distribution<int> byte(0, 255);
  for (int round = 0; round < 200000; ++round) {
    Bytes file;
    if (round % 3 == 0) {
      InitCfg valid;
      valid.ComPort = static_cast<std::int16_t>(byte(rng) - 128);
      valid.Text = std::string(static_cast<std::size_t>(byte(rng) % 40), 'q');
      file = EncodeInitCfg(valid);
      file.resize(static_cast<std::size_t>(byte(rng)) % (file.size() + 4), 0x41);
      if (!file.empty() && byte(rng) < 128) file[byte(rng) % file.size()] ^= 0xFF;
    } else {
      file.resize(static_cast<std::size_t>(byte(rng) % 64));
      for (auto& b : file) b = static_cast<std::uint8_t>(byte(rng));
    }
    InitCfg cfg;
    const InitCfgStatus status = DecodeInitCfg(file, cfg);
    ASSERT_LE(cfg.Text.size() + 4, std::max<std::size_t>(file.size(), 4)) << "round " << round;
    if (status == InitCfgStatus::Complete) {
      const Bytes again = EncodeInitCfg(cfg);
      ASSERT_EQ(again, Bytes(file.begin(), file.begin() + again.size())) << "round " << round;
    }
  }
}

}  // namespace
}  // namespace velmark
