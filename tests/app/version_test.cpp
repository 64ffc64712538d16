// What the man pages are made from: --help and --version of the installed command-line
// programs print to standard output and end with status 0.

#include <gtest/gtest.h>
#include <stdio.h>
#include <sys/wait.h>

#include <string>

#include "app_test_util.h"
#include "model/tables.h"

namespace velmark {
namespace {

struct Output {
  int status = -1;
  std::string out;
};

Output RunForOutput(const std::string& command) {
  Output r;
  FILE* pipe = ::popen((command + " 2>/dev/null").c_str(), "r");
  if (pipe == nullptr) return r;
  char buf[4096];
  for (size_t n; (n = std::fread(buf, 1, sizeof buf, pipe)) > 0;) r.out.append(buf, n);
  const int wait_status = ::pclose(pipe);
  r.status = WIFEXITED(wait_status) ? WEXITSTATUS(wait_status) : -1;
  return r;
}

TEST(ProgramVersion, HelpAndVersionGoToStandardOutput) {
  const std::string version(kProgramVersion);
  const struct {
    const char* program;
    const char* args;
    std::string starts;
  } cases[] = {
      {"velmark-cli", "--version", "velmark-cli " + version + "\n"},
      {"velmark-cli", "ping --version", "velmark-cli " + version + "\n"},
      {"velmark-cli", "--help", "Usage: velmark-cli VERB"},
      {"velmark-sim", "--version", "velmark-sim " + version + "\n"},
      {"velmark-sim", "--help", "Usage: velmark-sim [options]"},
  };
  for (const auto& c : cases) {
    const auto program = apptest::BuiltProgram(c.program);
    if (!std::filesystem::exists(program)) GTEST_SKIP() << c.program << " is not built";
    const Output r = RunForOutput(program.string() + " " + c.args);
    EXPECT_EQ(r.status, 0) << c.program << " " << c.args;
    EXPECT_EQ(r.out.substr(0, c.starts.size()), c.starts) << c.program << " " << c.args;
  }
}

}  // namespace
}  // namespace velmark
