// velmark-cli as a user runs it: the command line, init.cfg, and the verbs against velmark-sim
// on a pseudo-terminal linked into the data folder.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>

#include "app/init_cfg.h"
#include "app_test_util.h"

namespace velmark {
namespace {

namespace fs = std::filesystem;
using apptest::BuiltProgram;
using apptest::ReadAll;
using apptest::TempDir;

using CliResult = apptest::ProgramRun;

CliResult RunCli(std::vector<std::string> args) {
  static TempDir scratch;  // the outputs' files
  return apptest::RunCli(std::move(args), scratch.path());
}

class Cli : public testing::Test {
 protected:
  void SetUp() override {
    if (!fs::exists(BuiltProgram("velmark-cli"))) GTEST_SKIP() << "velmark-cli is not built";
  }
  std::string Data() const { return data_.path().string(); }
  TempDir data_;
};

TEST_F(Cli, WrongCommandLinesGiveOneLineAndStatus2) {
  const std::vector<std::vector<std::string>> bad = {{},
                                                     {"frobnicate"},
                                                     {"ping", "--port", "ttyS0"},
                                                     {"ping", "--id", "33"},
                                                     {"read"},
                                                     {"raw"},
                                                     {"config"},
                                                     {"ping", "--bogus"},
                                                     {"--data"},
                                                     {"info", "extra"}};
  for (const auto& args : bad) {
    const CliResult r = RunCli(args);
    EXPECT_EQ(r.status, 2) << (args.empty() ? "" : args[0]);
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    EXPECT_EQ(r.err.rfind("velmark-cli: ", 0), 0u) << r.err;
  }
}

TEST_F(Cli, HelpNamesEveryVerbAndOption) {
  const CliResult r = RunCli({"help"});
  EXPECT_EQ(r.status, 0);
  for (const char* word : {"ports", "ping", "scan", "raw CMD", "info", "read FILE", "config",
                           "--port", "--rs485", "--usb", "--id", "--data", "Exit status"}) {
    EXPECT_NE(r.out.find(word), std::string::npos) << word;
  }
}

TEST_F(Cli, WithoutAPortItSaysHowToChooseOne) {
  const CliResult r = RunCli({"ping", "--data", Data()});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("give --port COMn"), std::string::npos) << r.err;
}

TEST_F(Cli, ConfigWritesInitCfgAndCarriesWhatTheFileHeld) {
  apptest::WriteAll(data_.path() / "init.cfg",
                    std::string("\x05\0\x02\0ab\0\0\x01\x02\x03\x04\x05\x06", 14));
  const CliResult r = RunCli({"config", "--port", "COM7", "--rs485", "--data", Data()});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(ReadAll(data_.path() / "init.cfg"),
            std::string("\x07\0\x02\0ab\x01\0\x01\x02\x03\x04\x05\x06", 14));
  // The saved port is the default; a missing port behind it is reported with its name.
  const CliResult ping = RunCli({"ping", "--usb", "--data", Data()});
  EXPECT_EQ(ping.status, 1);
  EXPECT_NE(ping.err.find("cannot open COM7"), std::string::npos) << ping.err;
}

class CliOnSim : public Cli {
 protected:
  void SetUp() override {
    Cli::SetUp();
    if (IsSkipped()) return;
    if (!fs::exists(BuiltProgram("velmark-sim"))) GTEST_SKIP() << "velmark-sim is not built";
    sim_ = std::make_unique<apptest::SimProcess>(data_.path() / "COM2",
                                                 std::vector<std::string>{"--usb"});
    ASSERT_TRUE(sim_->Ready());
    InitCfg cfg;
    cfg.ComPort = 2;
    ASSERT_EQ(WriteInitCfg(data_.path(), cfg), "");
  }
  std::unique_ptr<apptest::SimProcess> sim_;
};

TEST_F(CliOnSim, PingScanRawAndPorts) {
  CliResult r = RunCli({"ping", "--data", Data()});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "the USB unit on COM2 answered\n");
  r = RunCli({"scan", "--data", Data()});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "USB\n");
  r = RunCli({"raw", "0x22", "--data", Data()});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "F0 05 00 22 03 01 02 00 00 00 00 00 F7\n");
  r = RunCli({"ping", "--rs485", "--id", "4", "--data", Data()});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "velmark-cli: no answer from the unit with ID 4 on COM2\n");
  r = RunCli({"ports", "--data", Data()});
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("COM2\t" + (data_.path() / "COM2").string() + " (data folder)\topens"),
            std::string::npos)
      << r.out;
}

TEST_F(CliOnSim, InfoAndReadTakeTheWholeConfiguration) {
  CliResult r = RunCli({"info", "--data", Data()});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("Name:             \" VELMARK        \""), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("Firmware version: 3.1.2"), std::string::npos);
  EXPECT_NE(r.out.find("Current program:  \"Default         \""), std::string::npos);
  EXPECT_NE(r.out.find("  31  state 255  empty   \"Program Empty   \""), std::string::npos);
  const fs::path file = data_.path() / "unit.C44";
  r = RunCli({"read", file.string(), "--data", Data()});
  ASSERT_EQ(r.status, 0) << r.err;
  const std::string image = ReadAll(file);
  ASSERT_EQ(image.size(), 1651u);
  EXPECT_EQ(image.substr(768, 16), "Default         ") << "the parameters' program name";
  EXPECT_EQ(static_cast<unsigned char>(image[793]), 0xF0) << "the default mute mask";
}

// Program memories: a store shows in the list and can be recalled; an empty memory is refused
// before anything is sent; bad memories and names are command-line errors.
TEST_F(CliOnSim, StoreListAndRecallPrograms) {
  CliResult r = RunCli({"store", "3", "ABC", "--data", Data()});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "stored \"ABC             \" in memory 3\n");
  EXPECT_EQ(ReadAll(data_.path() / "Eeprom.txt").substr(0, 11), "1,44,0,0,\r\n");
  r = RunCli({"programs", "--data", Data()});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("03  in use  \"ABC             \"\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("04  empty   \"Program Empty   \"\n"), std::string::npos) << r.out;
  r = RunCli({"recall", "3", "--data", Data()});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "recalled \"ABC             \" from memory 3\n");
  struct Case {
    std::vector<std::string> args;
    int status;
    std::string err;
  };
  const Case cases[] = {
      {{"recall", "4"}, 1, "memory 4 is empty"},
      {{"recall", "33"}, 2, "a memory is 1..32, saw 33"},
      {{"store", "1", " "}, 2, "the name is empty"},
      {{"store", "1", "0123456789ABCDEFG"}, 2, "the name is over 16 characters"},
      {{"store", "1", "Caf\xC3\xA9"}, 2, "the name may hold only ASCII characters"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = c.args;
    args.insert(args.end(), {"--data", Data()});
    r = RunCli(args);
    EXPECT_EQ(r.status, c.status) << c.err;
    EXPECT_EQ(r.err, "velmark-cli: " + c.err + "\n");
  }
}

// Units that answer late, and units that send a block without their reply frame in front: the
// preset read from each is the unit's own, byte for byte; a unit that stops answering block
// reads gives a failure and no file.
TEST_F(Cli, ReadGivesTheUnitsBytesOrFailsAndWritesNothing) {
  if (!fs::exists(BuiltProgram("velmark-sim"))) GTEST_SKIP() << "velmark-sim is not built";
  struct Case {
    std::vector<std::string> sim;
    bool readable;
  };
  const std::vector<Case> cases = {
      {{"--usb", "--no-pacing"}, true},
      {{"--usb", "--latency-ms", "150"}, true},
      {{"--usb", "--latency-ms", "150", "--block-reply", "bare"}, true},
      {{"--usb", "--no-pacing", "--mute-cmd", "0x19"}, false},
  };
  std::string reference;
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const Case& c = cases[i];
    SCOPED_TRACE(i);
    TempDir data;
    apptest::SimProcess sim(data.path() / "COM2", c.sim);
    ASSERT_TRUE(sim.Ready());
    const fs::path file = data.path() / "unit.C44";
    const CliResult r =
        RunCli({"read", file.string(), "--port", "COM2", "--data", data.path().string()});
    if (!c.readable) {
      EXPECT_EQ(r.status, 1);
      EXPECT_FALSE(fs::exists(file)) << "no file from a read that did not complete";
      EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
      continue;
    }
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string image = ReadAll(file);
    ASSERT_EQ(image.size(), 1651u);
    if (reference.empty()) reference = image;
    EXPECT_EQ(image, reference) << "the same unit read at another latency or style";
    const CliResult info = RunCli({"info", "--port", "COM2", "--data", data.path().string()});
    EXPECT_EQ(info.status, 0) << info.err;
    EXPECT_NE(info.out.find("Current program:  \"Default         \""), std::string::npos);
  }
  EXPECT_EQ(reference.substr(768, 16), "Default         ");
}

// A preset written with load reads back with read byte for byte in the parameters, with the
// source of inputs A/B and the delay unit it carried; a file shorter than an image is refused
// and leaves the unit as it was.
TEST_F(Cli, LoadWritesThePresetThatReadGivesBack) {
  if (!fs::exists(BuiltProgram("velmark-sim"))) GTEST_SKIP() << "velmark-sim is not built";
  TempDir data;
  apptest::SimProcess sim(data.path() / "COM2", {"--usb", "--no-pacing"});
  ASSERT_TRUE(sim.Ready());
  const std::string dir = data.path().string();
  const auto run = [&](const std::string& verb, const fs::path& file) {
    return RunCli({verb, file.string(), "--port", "COM2", "--data", dir});
  };
  const fs::path original = data.path() / "unit.C44", back = data.path() / "back.C44";
  ASSERT_EQ(run("save", original).status, 0);
  std::string preset = ReadAll(original);
  ASSERT_EQ(preset.size(), 1651u);
  preset[1] = 0x18;                 // input A at -2 dB
  preset.replace(82, 6, "Stage1");  // input A's name
  preset[817] = static_cast<char>(preset[817] == 1 ? 2 : 1);
  preset[819] = static_cast<char>(preset[819] == 1 ? 0 : 1);
  const fs::path changed = data.path() / "show 1 Bühne.C44", short_file = data.path() / "short.C44";
  apptest::WriteAll(changed, preset);
  apptest::WriteAll(short_file, std::string(1650, '\xFF'));

  CliResult r = run("load", short_file);
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("is not a preset: 1650 bytes instead of 1651"), std::string::npos) << r.err;
  ASSERT_EQ(run("read", back).status, 0);
  EXPECT_EQ(ReadAll(back).substr(0, 800), ReadAll(original).substr(0, 800));

  r = run("load", changed);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.err.find("201/201"), std::string::npos) << r.err;
  ASSERT_EQ(run("read", back).status, 0);
  const std::string unit = ReadAll(back);
  EXPECT_EQ(unit.substr(0, 800), preset.substr(0, 800));
  EXPECT_EQ(unit[817], preset[817]);
  EXPECT_EQ(unit[819], preset[819]);
}

}  // namespace
}  // namespace velmark
