// velmark-cli dump and diff as a user runs them: preset files good and bad, a unit on
// velmark-sim against the file read from it, and diff as git's diff driver.

#include <fcntl.h>
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "app/app_test_util.h"
#include "report_images.h"

namespace velmark::testing {
namespace {

namespace fs = std::filesystem;
using apptest::BuiltProgram;
using apptest::ReadAll;
using apptest::TempDir;
using apptest::WriteAll;

using Outcome = apptest::ProgramRun;
using apptest::RunProgram;

std::string Bytes(const ParamImage& img) {
  return std::string(img.begin(), img.end());
}

class ReportCli : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!fs::exists(BuiltProgram("velmark-cli"))) GTEST_SKIP() << "velmark-cli is not built";
  }
  Outcome Cli(std::vector<std::string> args) {
    args.insert(args.begin(), BuiltProgram("velmark-cli").string());
    args.insert(args.end(), {"--data", dir_.path().string()});
    return RunProgram(args, dir_.path());
  }
  std::string File(const std::string& name, const std::string& bytes) {
    const fs::path path = dir_.path() / name;
    WriteAll(path, bytes);
    return path.string();
  }
  TempDir dir_;
};

TEST_F(ReportCli, FilesThatAreNoPresetGiveOneLineAndAStatus) {
  const std::string good = File("good.C44", Bytes(DefaultReportImage()));
  fs::create_directory(dir_.path() / "folder.C44");
  const std::string folder = (dir_.path() / "folder.C44").string();
  const std::string missing = (dir_.path() / "missing.C44").string();
  struct Case {
    std::string path, error;
  };
  const Case cases[] = {
      {missing, "no such file: " + missing},
      {folder, "cannot read " + folder},
      {File("empty.C44", ""), "empty.C44 is not a preset: 0 bytes instead of 1651"},
      {File("short.C44", "12345"), "short.C44 is not a preset: 5 bytes instead of 1651"},
      {File("cut.C44", Bytes(DefaultReportImage()).substr(0, 1650)),
       "cut.C44 is not a preset: 1650 bytes instead of 1651"},
  };
  for (const Case& c : cases) {
    for (const auto& [args, status] : std::vector<std::pair<std::vector<std::string>, int>>{
             {{"dump", c.path}, 1}, {{"diff", good, c.path}, 2}, {{"diff", c.path, good}, 2}}) {
      const Outcome r = Cli(args);
      EXPECT_EQ(r.status, status) << args[0] << " " << c.path;
      EXPECT_EQ(r.out, "");
      EXPECT_EQ(r.err.rfind("velmark-cli: ", 0), 0u) << r.err;
      EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
      EXPECT_NE(r.err.find(c.error), std::string::npos) << r.err;
    }
  }
}

// Any 1651 bytes decode, and a longer file is read by its start as the program reads it.
TEST_F(ReportCli, AnyWholeImageDumps) {
  std::string noise(1651, '\0');
  for (std::size_t i = 0; i < noise.size(); ++i) noise[i] = static_cast<char>((i * 151 + 7) % 256);
  for (const std::string& bytes : {noise, noise + "trailing bytes"}) {
    const Outcome r = Cli({"dump", File("noise.C44", bytes), "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(nlohmann::json::parse(r.out)["parameters"].size(), 708u);
  }
}

TEST_F(ReportCli, DiffOfFilesExitsByWhetherTheyDiffer) {
  ParamImage changed = EveryTypeImage();
  changed[EqBandAddr[BandOf(5, 2)] + 4] = 28;  // -1 dB
  const std::string a = File("a.C44", Bytes(EveryTypeImage()));
  const std::string same = File("same.C44", Bytes(EveryTypeImage()));
  const std::string b = File("b.C44", Bytes(changed));
  Outcome r = Cli({"diff", a, same});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "");
  r = Cli({"diff", a, b});
  EXPECT_EQ(r.status, 1) << r.err;
  EXPECT_EQ(r.out, "Out 2 EQ band 3 gain: +11 dB \u2192 -1 dB\n");
  r = Cli({"diff", a, b, "--json"});
  EXPECT_EQ(r.status, 1) << r.err;
  EXPECT_EQ(nlohmann::json::parse(r.out)["differences"][0]["b"]["value"], -1);
  r = Cli({"diff", a});
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("diff takes two sources"), std::string::npos) << r.err;
}

// The unit, read as `read` reads it, equals the file read from it; a file changed by one byte
// differs from it by one parameter.
TEST_F(ReportCli, UnitAgainstTheFileReadFromIt) {
  if (!fs::exists(BuiltProgram("velmark-sim"))) GTEST_SKIP() << "velmark-sim is not built";
  apptest::SimProcess sim(dir_.path() / "COM2", {"--usb", "--no-pacing"});
  ASSERT_TRUE(sim.Ready());
  const std::string file = (dir_.path() / "unit.C44").string();
  ASSERT_EQ(Cli({"read", file, "--port", "COM2"}).status, 0);
  Outcome r = Cli({"diff", "COM2", file});
  EXPECT_EQ(r.status, 0) << r.out << r.err;
  std::string bytes = ReadAll(file);
  bytes[LevelAddr[0] + 1] = static_cast<char>(280 % 256);  // word 300 → 280: -2 dB
  WriteAll(file, bytes);
  r = Cli({"diff", file, "COM2"});
  EXPECT_EQ(r.status, 1) << r.err;
  EXPECT_EQ(r.out, "In A gain: -2 dB \u2192 0 dB\n");
  r = Cli({"dump", "--port", "COM2", "--json"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(nlohmann::json::parse(r.out)["source"], "the USB unit on COM2");
  for (const auto& [word, error] : std::vector<std::pair<std::string, std::string>>{
           {"COM5", "cannot open COM5"},
           {"COM2:33", "COM2:33: an RS-485 unit is COMn:ID with an ID 1..32"}}) {
    r = Cli({"diff", word, file});
    EXPECT_EQ(r.status, 2) << word;
    EXPECT_NE(r.err.find(error), std::string::npos) << r.err;
  }
}

// git calls its diff command with path, old file, hex, mode, new file, hex, mode; a new file's
// old side is /dev/null.
TEST_F(ReportCli, GitDiffShowsParametersThroughTheDriver) {
  const fs::path repo = dir_.path() / "repo";
  fs::create_directory(repo);
  const auto git = [&](std::vector<std::string> args) {
    args.insert(
        args.begin(),
        {"git", "-C", repo.string(), "-c", "user.name=t", "-c", "user.email=t@t", "-c",
         "diff.velmark.command=" + BuiltProgram("velmark-cli").string() + " diff --git-driver"});
    return RunProgram(args, dir_.path());
  };
  if (git({"init", "-q"}).status != 0) GTEST_SKIP() << "no git";
  WriteAll(repo / ".gitattributes", "*.C44 diff=velmark\n");
  WriteAll(repo / "show.C44", Bytes(DefaultReportImage()));
  ASSERT_EQ(git({"add", "."}).status, 0);
  ASSERT_EQ(git({"commit", "-qm", "show"}).status, 0);
  ParamImage changed = DefaultReportImage();
  changed[MuteMaskAddr] = 0x00;  // outputs sounding
  WriteAll(repo / "show.C44", Bytes(changed));
  const Outcome r = git({"diff"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out,
            "diff --velmark a/show.C44 b/show.C44\n"
            "Out 1 mute: on \u2192 off\nOut 2 mute: on \u2192 off\n"
            "Out 3 mute: on \u2192 off\nOut 4 mute: on \u2192 off\n");
  WriteAll(repo / "new.C44", Bytes(changed));
  ASSERT_EQ(git({"add", "new.C44"}).status, 0);
  const Outcome added = git({"diff", "--cached"});
  EXPECT_EQ(added.status, 0) << added.err;
  EXPECT_NE(added.out.find("Program name: (none) \u2192 Default\n"), std::string::npos)
      << added.out;
}

}  // namespace
}  // namespace velmark::testing
