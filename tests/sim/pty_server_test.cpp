// The serving loop over a real pseudo-terminal, run in a thread of the test.

#include <gtest/gtest.h>

#include <time.h>

#include <atomic>
#include <mutex>
#include <thread>

#include "pty_client.h"
#include "sim/pty_server.h"
#include "sim/sim_options.h"
#include "sim_test_util.h"

namespace velmark {
namespace {

using namespace std::chrono_literals;
using simtest::Data;
using simtest::RawClient;

std::vector<std::uint8_t> Bytes(const Frame& f) {
  return {f.begin(), f.end()};
}

const Frame kPing = BuildFrame(0, CmdPing, {});
const Frame kPingReply = BuildFrame(0, CmdPing, Data({0, 0, 0, 0, 0, 0, 0, 5}));

class ServedBus : public testing::Test {
 protected:
  void Start(SimOptions options, ServeConfig config = {}) {
    bus_ = std::make_unique<SimBus>(BuildBus(options));
    ASSERT_FALSE(server_.Open().has_value());
    config.pacing = options.pacing;
    config.hangup_after = options.hangup_after;
    config.after_hangup = [this](const std::string& path) {
      std::lock_guard lock(mutex_);
      new_path_ = path;
    };
    config_ = config;
    thread_ = std::thread([this] { server_.Serve(*bus_, config_, stop_); });
  }
  void StartWith(std::vector<std::string_view> args) {
    ParsedOptions parsed = ParseSimOptions(args);
    ASSERT_TRUE(parsed.options.has_value()) << parsed.error;
    Start(*parsed.options);
  }
  ~ServedBus() override {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
  }
  std::string NewPath() {
    std::lock_guard lock(mutex_);
    return new_path_;
  }

  std::unique_ptr<SimBus> bus_;
  PtyServer server_;
  ServeConfig config_;
  std::atomic<bool> stop_{false};
  std::thread thread_;
  std::mutex mutex_;
  std::string new_path_;
};

TEST_F(ServedBus, AnswersAPingAndABlockReadWithExactlyItsBytes) {
  StartWith({"--no-pacing"});
  RawClient client(server_.SlavePath());
  ASSERT_TRUE(client.IsOpen());
  EXPECT_EQ(client.Exchange(kPing), Bytes(kPingReply));

  const Frame read = BuildFrame(0, CmdReadBlock, Data({0, 0x03, 0x40, 0, 16}));
  const std::vector<std::uint8_t> got = client.Exchange(read, 13 + 16 + 1, 300);
  ASSERT_EQ(got.size(), 13u + 16u) << "the reply frame, the block and nothing else";
  EXPECT_EQ(std::vector<std::uint8_t>(got.begin(), got.begin() + 13), Bytes(read));
  EXPECT_EQ(std::string(got.begin() + 13, got.end()), "Default         ");
}

TEST_F(ServedBus, KeepsServingWhileTheProgramClosesAndReopensThePort) {
  StartWith({"--no-pacing"});
  for (int round = 0; round < 4; ++round) {
    RawClient client(server_.SlavePath());
    ASSERT_TRUE(client.IsOpen());
    if (round == 2)
      client.Write(std::vector<std::uint8_t>{0xF0, 0x05, 0x00});  // then goes away
    else
      EXPECT_EQ(client.Exchange(kPing), Bytes(kPingReply)) << "round " << round;
    std::this_thread::sleep_for(30ms);  // nobody holds the slave open for a while
  }
}

TEST_F(ServedBus, DoesNotSpinWhileNobodyHoldsThePort) {
  StartWith({"--no-pacing"});
  timespec before{}, after{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &before);
  std::this_thread::sleep_for(500ms);
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &after);
  const double cpu_s = (after.tv_sec - before.tv_sec) + (after.tv_nsec - before.tv_nsec) / 1e9;
  EXPECT_LT(cpu_s, 0.1);
  RawClient client(server_.SlavePath());
  EXPECT_EQ(client.Exchange(kPing), Bytes(kPingReply));
}

TEST_F(ServedBus, PacedPingTakesTheWireTime) {
  StartWith({});
  RawClient client(server_.SlavePath());
  client.Exchange(kPing);  // the first request may meet the server in its idle sleep
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(client.Exchange(kPing), Bytes(kPingReply));
  const auto ms =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start);
  EXPECT_GE(ms.count(), 27.0);  // 26 bytes × 1.04 ms + 2 ms
  EXPECT_LT(ms.count(), 100.0);
}

TEST_F(ServedBus, DropOne) {
  StartWith({"--no-pacing", "--drop", "1"});
  RawClient client(server_.SlavePath());
  EXPECT_TRUE(client.Exchange(kPing, 13, 150).empty());
}

TEST_F(ServedBus, GarbleOne) {
  StartWith({"--no-pacing", "--garble", "1", "--seed", "3"});
  RawClient client(server_.SlavePath());
  for (int i = 0; i < 5; ++i) {
    const std::vector<std::uint8_t> got = client.Exchange(kPing);
    ASSERT_EQ(got.size(), 13u);
    int differ = 0;
    for (int b = 0; b < 13; ++b) differ += got[b] != kPingReply[b];
    EXPECT_EQ(differ, 1);
  }
}

TEST_F(ServedBus, MuteOneCommand) {
  StartWith({"--no-pacing", "--mute-cmd", "0x12"});
  RawClient client(server_.SlavePath());
  EXPECT_TRUE(client.Exchange(BuildFrame(0, CmdStatusPoll, {}), 13, 150).empty());
  EXPECT_EQ(client.Exchange(BuildFrame(0, CmdStatusDone, {})).size(), 13u);
}

TEST_F(ServedBus, StallAfterN) {
  StartWith({"--no-pacing", "--stall-after", "3"});
  RawClient client(server_.SlavePath());
  for (int i = 0; i < 3; ++i) EXPECT_EQ(client.Exchange(kPing).size(), 13u);
  EXPECT_TRUE(client.Exchange(kPing, 13, 150).empty());
  EXPECT_FALSE(client.hung_up);
}

TEST_F(ServedBus, HangUpAfterNThenServeOnANewLine) {
  StartWith({"--no-pacing", "--hangup-after", "2"});
  const std::string first = server_.SlavePath();
  {
    RawClient client(first);
    EXPECT_EQ(client.Exchange(kPing).size(), 13u);
    EXPECT_EQ(client.Exchange(kPing).size(), 13u);
    EXPECT_TRUE(client.Exchange(kPing, 13, 300).empty());
    EXPECT_TRUE(client.hung_up);
  }
  std::string next;
  for (int i = 0; i < 100 && next.empty(); ++i) {
    next = NewPath();
    std::this_thread::sleep_for(5ms);
  }
  ASSERT_FALSE(next.empty());
  RawClient again(next);
  ASSERT_TRUE(again.IsOpen());
  EXPECT_EQ(again.Exchange(kPing), Bytes(kPingReply));
  EXPECT_EQ(again.Exchange(kPing), Bytes(kPingReply)) << "hangs up only once";
}

TEST_F(ServedBus, ResynchronisesAfterGarbage) {
  StartWith({"--no-pacing"});
  RawClient client(server_.SlavePath());
  client.Write(std::vector<std::uint8_t>{0x00, 0x42, 0xF7, 0xF0, 0x05});
  std::vector<std::uint8_t> stream(kPing.begin(), kPing.end());
  client.Write(stream);
  EXPECT_EQ(client.Read(13, 300), Bytes(kPingReply));
}

TEST_F(ServedBus, CallsBackAfterAStore) {
  std::atomic<int> stores{0};
  ServeConfig config;
  config.after_store = [&] { ++stores; };
  SimOptions options;
  options.pacing = false;
  Start(options, config);
  RawClient client(server_.SlavePath());
  client.Exchange(BuildFrame(0, CmdStoreProgram, Data({1})));
  client.Exchange(BuildFrame(0, CmdStoreProgram, Data({2})));
  client.Exchange(kPing);
  client.Exchange(BuildFrame(0, CmdGain, Data({1, 0, 0, 0, 0, 0, 0, 1})));
  EXPECT_EQ(stores, 2);
}

}  // namespace
}  // namespace velmark
