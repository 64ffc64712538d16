// A writer killed before its rename leaves ".NAME.XXXXXX" next to NAME; the next write of NAME
// removes it, and nothing else: not a live writer's file, not other names, links or folders.

#include "app/stale_temporaries.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include <set>
#include <string>
#include <vector>

#include "app/atomic_file.h"
#include "link/temp_dir.h"

namespace velmark {
namespace {

using testing::TempDir;

enum class Kind { File, LockedFile, Folder, Link };

struct Entry {
  const char* name;
  Kind kind;
  bool removed;
};

const Entry kEntries[] = {
    {".Eeprom.txt.Ab12Cd", Kind::File, true},         // left by a killed writer
    {".Eeprom.txt.zZ09aa", Kind::File, true},         //
    {".Eeprom.txt.Qw34Er", Kind::LockedFile, false},  // a writer at work
    {".Eeprom.txt.Ty56Ui", Kind::Folder, false},
    {".Eeprom.txt.Op78As", Kind::Link, false},
    {".Eeprom.txt.Ab12C", Kind::File, false},  // one letter short
    {".Eeprom.txt.Ab12Cd.bak", Kind::File, false},
    {".Eeprom.txt.Ab-2Cd", Kind::File, false},  // mkstemp uses letters and digits only
    {"Eeprom.txt.Ab12Cd", Kind::File, false},
    {".init.cfg.Ab12Cd", Kind::File, false},  // another file's
    {"kept.txt", Kind::File, false},
};

TEST(StaleTemporaries, TheNextWriteRemovesOnlyWhatAKilledWriterOfThatFileLeft) {
  TempDir dir;
  const auto target = dir.Touch("kept.txt", "the link's target");
  std::vector<int> held;
  for (const Entry& e : kEntries) {
    const auto path = dir.path() / e.name;
    if (e.kind == Kind::Folder) std::filesystem::create_directory(path);
    if (e.kind == Kind::Link) dir.Link(e.name, target);
    if (e.kind == Kind::File) dir.Touch(e.name, "half a file");
    if (e.kind == Kind::LockedFile) {
      dir.Touch(e.name, "being written");
      held.push_back(::open(path.c_str(), O_RDONLY));
      ASSERT_EQ(::flock(held.back(), LOCK_EX), 0);
    }
  }
  dir.Touch("Eeprom.txt", "old");
  const std::vector<std::uint8_t> fresh{'n', 'e', 'w'};
  ASSERT_EQ(WriteFileAtomically(dir.path() / "Eeprom.txt", fresh), "");

  std::set<std::string> left;
  for (const auto& f : std::filesystem::directory_iterator(dir.path()))
    left.insert(f.path().filename().string());
  for (const Entry& e : kEntries) EXPECT_EQ(left.count(e.name), e.removed ? 0u : 1u) << e.name;
  EXPECT_EQ(left.size(), std::size(kEntries) - 2 + 1) << "the new Eeprom.txt and the kept ones";
  for (int fd : held) ::close(fd);
  // Once its writer is gone the file is abandoned too.
  EXPECT_EQ(RemoveStaleTemporaries(dir.path(), "Eeprom.txt"), 1);
}

}  // namespace
}  // namespace velmark
