// velmark-cli response as a user runs it: the files it writes for a preset, and the command
// lines and presets it refuses, each with one line and its exit status.

#include <fcntl.h>
#include <gtest/gtest.h>

#include <sstream>

#include "app_test_util.h"
#include "model/defaults.h"

namespace velmark {
namespace {

namespace fs = std::filesystem;
using apptest::BuiltProgram;
using apptest::ReadAll;
using apptest::TempDir;

using CliRun = apptest::ProgramRun;

// Runs velmark-cli in `dir`, its output in two files there.
CliRun RunCli(const fs::path& dir, std::vector<std::string> args) {
  return apptest::RunCli(std::move(args), dir, dir);
}

// Lines of a CSV file that are not comments.
std::vector<std::string> DataLines(const fs::path& file) {
  std::istringstream in(ReadAll(file));
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line[0] != '*') lines.push_back(line);
  }
  return lines;
}

class CliResponseTest : public ::testing::Test {
 protected:
  // The factory image with input A's 1 kHz bell at +6 dB, Q 1.4.
  CliResponseTest() {
    std::string bytes(kImageSize, '\0');  // the factory parameters, the rest zero
    std::copy(DefaultImage.begin(), DefaultImage.end(), bytes.begin());
    const int a = EqBandAddr[BandOf(0, 7)];
    bytes[a + 3] = 22;
    bytes[a + 4] = 42;
    apptest::WriteAll(dir.path() / "show.C44", bytes);
    apptest::WriteAll(dir.path() / "short.C44", bytes.substr(0, 800));
  }
  TempDir dir;
};

TEST_F(CliResponseTest, AllChannelsGoToOneFilePerChannel) {
  const CliRun r = RunCli(dir.path(), {"response", "show.C44", "--all", "--csv", "r.csv"});
  ASSERT_EQ(r.status, 0) << r.err;
  for (const char* tab : {"A", "B", "C", "D", "1", "2", "3", "4"}) {
    SCOPED_TRACE(tab);
    const auto lines = DataLines(dir.path() / (std::string("r-") + tab + ".csv"));
    ASSERT_EQ(lines.size(), static_cast<std::size_t>(kGridPoints));
    EXPECT_EQ(lines.front().rfind("20 ", 0), 0u);
  }
  const auto a = DataLines(dir.path() / "r-A.csv");
  EXPECT_NE(std::find(a.begin(), a.end(), "1000 6.0000"), a.end());
  EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 8);
}

TEST_F(CliResponseTest, OneOutputWithAnInputIsOneFile) {
  const CliRun own =
      RunCli(dir.path(), {"response", "show.C44", "--channel", "1", "--csv", "o.csv"});
  const CliRun with = RunCli(dir.path(), {"response", "show.C44", "--channel", "1", "--with-input",
                                          "a", "--csv", "w.csv"});
  ASSERT_EQ(own.status, 0) << own.err;
  ASSERT_EQ(with.status, 0) << with.err;
  const auto o = DataLines(dir.path() / "o.csv"), w = DataLines(dir.path() / "w.csv");
  ASSERT_EQ(o.size(), w.size());
  const auto at =
      std::find_if(o.begin(), o.end(), [](auto& l) { return l.rfind("1000 ", 0) == 0; });
  ASSERT_NE(at, o.end());
  const std::size_t i = static_cast<std::size_t>(at - o.begin());
  EXPECT_NEAR(std::stod(w[i].substr(5)) - std::stod(o[i].substr(5)), 6.0, 0.0002);
  EXPECT_FALSE(fs::exists(dir.path() / "w-1.csv"));
}

// Pictures come from a build with Qt; a build without says so and writes nothing.
TEST_F(CliResponseTest, PicturesAreWrittenOrRefusedInOneLine) {
  const struct {
    const char* option;
    const char* file;
    std::string magic;
  } cases[] = {{"--png", "g.png", "\x89PNG"}, {"--svg", "g.svg", "<?xml"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.option);
    const CliRun r =
        RunCli(dir.path(), {"response", "show.C44", "--channel", "B", c.option, c.file});
    if (r.status == 0) {
      EXPECT_EQ(ReadAll(dir.path() / c.file).rfind(c.magic, 0), 0u);
      EXPECT_EQ(r.err, "");
    } else {
      EXPECT_EQ(r.status, 1);
      EXPECT_NE(r.err.find("without Qt"), std::string::npos) << r.err;
      EXPECT_FALSE(fs::exists(dir.path() / c.file));
    }
  }
}

TEST_F(CliResponseTest, WrongCommandLinesAndBadPresetsFailInOneLine) {
  const struct {
    std::vector<std::string> args;
    int status;
    std::string says;
  } cases[] = {
      {{"response", "show.C44"}, 2, "one of --csv"},
      {{"response", "show.C44", "--csv", "a", "--png", "b"}, 2, "one of --csv"},
      {{"response", "show.C44", "--channel", "E", "--csv", "a"}, 2, "--channel needs"},
      {{"response", "show.C44", "--channel", "A", "--all", "--csv", "a"}, 2, "exclude"},
      {{"response", "show.C44", "--with-input", "1", "--csv", "a"}, 2, "--with-input needs"},
      {{"response", "show.C44", "--channel", "A", "--with-input", "B", "--csv", "a"}, 2, "output"},
      {{"response", "show.C44", "x.C44", "--csv", "a"}, 2, "one SOURCE"},
      {{"response", "show.C44", "--csv"}, 2, "--csv needs"},
      {{"ping", "--csv", "a"}, 2, "response only"},
      {{"response", "short.C44", "--csv", "a.csv"}, 1, "short.C44"},
      {{"response", "none.C44", "--csv", "a.csv"}, 1, "none.C44"},
      {{"response", "show.C44", "--channel", "A", "--csv", "no/such/a.csv"}, 1, "no/such/a.csv"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args.back());
    const CliRun r = RunCli(dir.path(), c.args);
    EXPECT_EQ(r.status, c.status) << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
  }
  EXPECT_FALSE(fs::exists(dir.path() / "a.csv"));
}

}  // namespace
}  // namespace velmark
