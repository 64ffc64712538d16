// The desktop start's data folder: which folder the environment names, and making it.

#include "app/data_home.h"

#include <gtest/gtest.h>

#include "app_test_util.h"

namespace velmark {
namespace {

namespace fs = std::filesystem;
using apptest::TempDir;
using apptest::WriteAll;

struct FindCase {
  const char* xdg;
  const char* home;
  const char* folder;  // empty: an error is expected
};

TEST(DataHome, FollowsXdgDataHomeElseHome) {
  const FindCase cases[] = {
      {"/srv/data", "/home/ann", "/srv/data/velmark"},
      {"/srv/data/", "/home/ann", "/srv/data/velmark"},
      {nullptr, "/home/ann", "/home/ann/.local/share/velmark"},
      {"", "/home/ann", "/home/ann/.local/share/velmark"},
      {"data", "/home/ann", "/home/ann/.local/share/velmark"},  // relative: ignored
      {"./data", "/home/ann/", "/home/ann/.local/share/velmark"},
      {"/srv/data", nullptr, "/srv/data/velmark"},
      {nullptr, nullptr, ""},
      {"data", "ann", ""},
      {"", "", ""},
  };
  for (const FindCase& c : cases) {
    SCOPED_TRACE(std::string(c.xdg ? c.xdg : "(unset)") + " / " + (c.home ? c.home : "(unset)"));
    const DataHome found = FindDataHome(c.xdg, c.home);
    EXPECT_EQ(found.folder, fs::path(c.folder));
    EXPECT_EQ(found.error.empty(), c.folder[0] != '\0') << found.error;
  }
}

TEST(DataHome, CreatesAMissingFolderOnceAndOwnerOnly) {
  TempDir tmp;
  const fs::path folder = tmp.path() / "a" / "b" / kDataHomeName;
  ASSERT_EQ(CreateDataHome(folder), "");
  EXPECT_TRUE(fs::is_directory(folder));
  EXPECT_EQ(fs::status(folder).permissions(), fs::perms::owner_all);
  WriteAll(folder / "init.cfg", "kept");
  EXPECT_EQ(CreateDataHome(folder), "");  // a second start finds it and leaves it alone
  EXPECT_EQ(apptest::ReadAll(folder / "init.cfg"), "kept");
}

TEST(DataHome, AFileInTheWayIsAClearError) {
  TempDir tmp;
  WriteAll(tmp.path() / "share", "not a folder");
  const struct {
    fs::path folder;
    const char* says;
  } cases[] = {
      {tmp.path() / "share", "is not a folder"},
      {tmp.path() / "share" / kDataHomeName, "cannot be created"},
  };
  for (const auto& c : cases) {
    const std::string error = CreateDataHome(c.folder);
    EXPECT_NE(error.find(c.folder.string()), std::string::npos) << error;
    EXPECT_NE(error.find(c.says), std::string::npos) << error;
  }
}

TEST(DataHome, PrepareMakesTheFolderTheEnvironmentNames) {
  TempDir tmp;
  const char* saved = std::getenv("XDG_DATA_HOME");
  const std::string restore = saved ? saved : "";
  ::setenv("XDG_DATA_HOME", tmp.path().c_str(), 1);
  const DataHome made = PrepareDataHome();
  ::setenv("XDG_DATA_HOME", (tmp.path() / "f").c_str(), 1);
  WriteAll(tmp.path() / "f", "");
  const DataHome refused = PrepareDataHome();
  saved ? ::setenv("XDG_DATA_HOME", restore.c_str(), 1) : ::unsetenv("XDG_DATA_HOME");

  EXPECT_EQ(made.folder, tmp.path() / kDataHomeName);
  EXPECT_TRUE(fs::is_directory(made.folder)) << made.error;
  EXPECT_TRUE(refused.folder.empty());
  EXPECT_NE(refused.error.find("cannot be created"), std::string::npos) << refused.error;
}

}  // namespace
}  // namespace velmark
