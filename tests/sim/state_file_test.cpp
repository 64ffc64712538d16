#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "sim/state_file.h"
#include "sim_test_util.h"

namespace velmark {
namespace {

namespace fs = std::filesystem;

class StateFile : public testing::Test {
 protected:
  StateFile() {
    dir_ =
        fs::temp_directory_path() / ("velmark-sim-state-" + std::to_string(::getpid()) + "-" +
                                     testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  ~StateFile() override { fs::remove_all(dir_); }

  static SimBus Bus() {
    const int ids[] = {3, 17};
    return SimBus::Rs485(ids);
  }
  static void Change(SimBus& bus) {
    simtest::Ask(bus, 17, CmdGain, simtest::Data({2, 0, 0, 0, 0, 0, 0, 99}));
    simtest::Ask(bus, 17, CmdStoreProgram, simtest::Data({4}));
    simtest::Ask(bus, 17, CmdLinkMask, simtest::Data({1, 0, 0, 0, 0, 0, 0, 0x30}));
    simtest::Ask(bus, 3, CmdSystemSetting, simtest::Data({3, 0, 0, 0, 0, 0, 0, 1}));
  }
  std::vector<char> Read() const {
    std::ifstream in(file(), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  void WriteRaw(const std::vector<char>& bytes) const {
    std::ofstream(file(), std::ios::binary | std::ios::trunc).write(bytes.data(), bytes.size());
  }
  fs::path file() const { return dir_ / "units.state"; }

  fs::path dir_;
};

TEST_F(StateFile, RoundTripRestoresMemoriesStatesAndLinkMask) {
  SimBus bus = Bus();
  Change(bus);
  ASSERT_FALSE(SaveUnitState(file(), bus).has_value());
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1)
      << "no temporary file is left";

  SimBus again = Bus();
  const StateLoad load = LoadUnitState(file(), again);
  EXPECT_EQ(load.restored, 2);
  EXPECT_TRUE(load.warning.empty());
  for (int id : {3, 17}) {
    EXPECT_EQ(simtest::Snapshot(*again.Find(id)), simtest::Snapshot(*bus.Find(id)));
    EXPECT_EQ(again.Find(id)->Memory().LinkMask(), bus.Find(id)->Memory().LinkMask());
  }
  EXPECT_EQ(again.Find(17)->Memory().ProgramState(4), 4);
}

TEST_F(StateFile, UnitsTheFileDoesNotHoldStayFresh) {
  SimBus bus = Bus();
  Change(bus);
  ASSERT_FALSE(SaveUnitState(file(), bus).has_value());
  const int ids[] = {17, 20};
  SimBus other = SimBus::Rs485(ids);
  EXPECT_EQ(LoadUnitState(file(), other).restored, 1);
  EXPECT_EQ(other.Find(17)->Memory().ProgramState(4), 4);
  EXPECT_EQ(simtest::Snapshot(*other.Find(20)), simtest::Snapshot(SimUnit(20)));
}

TEST_F(StateFile, MissingFileIsAFirstRun) {
  SimBus bus = Bus();
  const StateLoad load = LoadUnitState(file(), bus);
  EXPECT_EQ(load.restored, 0);
  EXPECT_TRUE(load.warning.empty());
}

TEST_F(StateFile, DamagedOrShortFilesGiveFreshUnitsAndAWarning) {
  SimBus saved = Bus();
  Change(saved);
  ASSERT_FALSE(SaveUnitState(file(), saved).has_value());
  const std::vector<char> good = Read();
  std::vector<std::vector<char>> bad = {
      {},   {good.begin(), good.begin() + 20},   {good.begin(), good.end() - 1}, good,
      good, std::vector<char>(good.size(), 'x'),
  };
  bad[3][5000] ^= 1;  // a flipped bit in a unit's memory
  bad[4][8] = 100;    // an absurd unit count
  for (const std::vector<char>& bytes : bad) {
    WriteRaw(bytes);
    SimBus bus = Bus();
    const StateLoad load = LoadUnitState(file(), bus);
    EXPECT_EQ(load.restored, 0);
    EXPECT_FALSE(load.warning.empty()) << bytes.size() << " bytes";
    EXPECT_EQ(simtest::Snapshot(*bus.Find(17)), simtest::Snapshot(SimUnit(17)));
  }
}

TEST_F(StateFile, SaveReportsAnUnwritablePlace) {
  EXPECT_TRUE(SaveUnitState(dir_ / "no-such-dir" / "units.state", Bus()).has_value());
}

}  // namespace
}  // namespace velmark
