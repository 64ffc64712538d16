#include "link/port_naming.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "link/temp_dir.h"

namespace velmark {
namespace {

using testing::TempDir;

// A machine with two USB adapters that have persistent ids (one more just unplugged), a third
// adapter without one, real and placeholder UARTs, an ARM UART and a CDC-ACM modem.
class FakeMachine : public ::testing::Test {
 protected:
  void SetUp() override {
    machine_.Link("dev/serial/by-id/usb-Prolific_PL2303-if00-port0", "../../ttyUSB1");
    machine_.Link("dev/serial/by-id/usb-FTDI_FT232R_A1B2-if00-port0", "../../ttyUSB0");
    machine_.Link("dev/serial/by-id/usb-Gone_Adapter-if00-port0", "../../ttyUSB7");
    Tty("ttyUSB0", true, "");
    Tty("ttyUSB1", true, "");
    Tty("ttyUSB2", true, "");
    Tty("ttyS0", true, "4\n");
    Tty("ttyS1", true, "0\n");  // placeholder: no UART behind it
    Tty("ttyS2", true, "4\n");
    Tty("ttyS10", true, "4\n");
    Tty("ttyS3", false, "");  // node without a device in sysfs
    Tty("ttyAMA0", true, "91\n");
    Tty("ttyACM0", true, "");
    Tty("ttyS01", true, "4\n");                            // not a name the kernel gives
    Tty("tty0", true, "");                                 // a virtual console, not a serial family
    machine_.Touch("sys/class/tty/ttyUSB9/device/.keep");  // sysfs entry without a node
  }

  void Tty(const std::string& name, bool has_device, const std::string& type) {
    machine_.Touch("dev/" + name);
    if (has_device) {
      machine_.Touch("sys/class/tty/" + name + "/device/.keep");
    }
    if (!type.empty()) {
      machine_.Touch("sys/class/tty/" + name + "/type", type);
    }
  }

  std::string Dev(const std::string& relative) const { return (Roots().dev / relative).string(); }
  DeviceRoots Roots() const { return {machine_.path() / "dev", machine_.path() / "sys"}; }

  TempDir machine_;
  TempDir data_;
};

TEST_F(FakeMachine, PortsAreByIdThenUartFamiliesInNumberOrder) {
  const std::vector<std::string> expected{
      Dev("serial/by-id/usb-FTDI_FT232R_A1B2-if00-port0"),
      Dev("serial/by-id/usb-Prolific_PL2303-if00-port0"),
      Dev("ttyS0"),
      Dev("ttyS2"),
      Dev("ttyS10"),
      Dev("ttyAMA0"),
      Dev("ttyUSB2"),  // ttyUSB0 and ttyUSB1 were already listed through their ids
      Dev("ttyACM0"),
  };
  EXPECT_EQ(MachinePorts(Roots()), expected);
}

TEST_F(FakeMachine, ComNamesResolveToThePortAtTheirPosition) {
  struct Case {
    const char* name;
    std::optional<std::string> path;
  };
  const Case cases[] = {
      {"COM1", Dev("serial/by-id/usb-FTDI_FT232R_A1B2-if00-port0")},
      {"com2", Dev("serial/by-id/usb-Prolific_PL2303-if00-port0")},
      {"COM3", Dev("ttyS0")},
      {"COM8", Dev("ttyACM0")},
      {"COM9", std::nullopt},
      {"COM0", std::nullopt},
      {"COM255", std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ResolvePortName(c.name, data_.path(), Roots()), c.path) << c.name;
  }
}

TEST_F(FakeMachine, DataFolderEntryWinsEvenWhenItsTargetIsMissing) {
  data_.Link("COM2", "/dev/pts/velmark-missing");
  data_.Link("COM12", "/dev/pts/7");
  EXPECT_EQ(ResolvePortName("COM2", data_.path(), Roots()), (data_.path() / "COM2").string());
  EXPECT_EQ(ResolvePortName("COM12", data_.path(), Roots()), (data_.path() / "COM12").string());
  EXPECT_EQ(ResolvePortName("COM3", data_.path(), Roots()), Dev("ttyS0"));
  // The data folder takes the name, not a place: COM3 is still the third machine port.
  EXPECT_EQ(ResolvePortName("COM1", "", Roots()),
            Dev("serial/by-id/usb-FTDI_FT232R_A1B2-if00-port0"));
}

TEST_F(FakeMachine, ListPortsMergesDataFolderAndMachineUpToMax) {
  data_.Link("COM2", "/dev/pts/7");
  data_.Link("COM12", "/dev/pts/8");
  data_.Link("COM41", "/dev/pts/9");  // beyond the default maximum
  std::vector<int> numbers;
  std::vector<int> own;
  for (const PortInfo& port : ListPorts(data_.path(), 40, Roots())) {
    numbers.push_back(port.number);
    if (port.from_data_folder) {
      own.push_back(port.number);
      EXPECT_EQ(port.device_path, (data_.path() / ("COM" + std::to_string(port.number))).string());
    }
  }
  EXPECT_EQ(numbers, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 12}));
  EXPECT_EQ(own, (std::vector<int>{2, 12}));

  const std::vector<PortInfo> first = ListPorts(data_.path(), 3, Roots());
  ASSERT_EQ(first.size(), 3u);
  EXPECT_EQ(first[2].number, 3);
  EXPECT_EQ(first[2].device_path, Dev("ttyS0"));
  EXPECT_FALSE(first[2].from_data_folder);
}

TEST(PortNaming, MachineWithoutSerialPortsHasNone) {
  TempDir empty;
  const DeviceRoots roots{empty.path() / "dev", empty.path() / "sys"};
  EXPECT_TRUE(MachinePorts(roots).empty());
  EXPECT_EQ(ResolvePortName("COM1", empty.path(), roots), std::nullopt);
  EXPECT_TRUE(ListPorts(empty.path(), 40, roots).empty());
}

TEST(PortNaming, ParseComName) {
  struct Case {
    const char* name;
    std::optional<int> number;
  };
  const Case cases[] = {
      {"COM1", 1},
      {"COM3", 3},
      {"com12", 12},
      {"Com255", 255},
      {"COM0", std::nullopt},
      {"COM256", std::nullopt},
      {"COM03", std::nullopt},
      {"COM", std::nullopt},
      {"COM-1", std::nullopt},
      {"COM+1", std::nullopt},
      {"COM1x", std::nullopt},
      {" COM1", std::nullopt},
      {"LPT1", std::nullopt},
      {"", std::nullopt},
      {"COM1000", std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ParseComName(c.name), c.number) << '"' << c.name << '"';
  }
}

}  // namespace
}  // namespace velmark
