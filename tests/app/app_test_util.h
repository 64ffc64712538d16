#pragma once
// Helpers of the application tests: scratch folders, and velmark-sim started as a child
// process on a pseudo-terminal linked into a data folder.

#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

namespace velmark::apptest {

namespace fs = std::filesystem;

class TempDir {
 public:
  TempDir() {
    std::string pattern = (fs::temp_directory_path() / "velmark-app-XXXXXX").string();
    if (::mkdtemp(pattern.data()) != nullptr) path_ = pattern;
  }
  ~TempDir() {
    std::error_code ec;
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

inline std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteAll(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// Beside the test program: <build>/tests/test_app and <build>/apps/<name>.
inline fs::path BuiltProgram(const std::string& name) {
  return fs::read_symlink("/proc/self/exe").parent_path().parent_path() / "apps" / name;
}

// How a program run ended: its exit status (-1 when it did not exit) and what it wrote.
struct ProgramRun {
  int status = -1;
  std::string out, err;
};

// Runs argv[0] (a path, or a name looked up in PATH) with stdout and stderr going to files in
// `scratch`, so that neither can fill a pipe; in `cwd` when one is given.
inline ProgramRun RunProgram(std::vector<std::string> argv, const fs::path& scratch,
                             const fs::path& cwd = {}) {
  const fs::path out = scratch / ".stdout", err = scratch / ".stderr";
  std::vector<char*> args;
  for (auto& a : argv) args.push_back(a.data());
  args.push_back(nullptr);
  const pid_t pid = ::fork();
  if (pid == 0) {
    if (!cwd.empty() && ::chdir(cwd.c_str()) != 0) ::_exit(126);
    ::dup2(::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), 1);
    ::dup2(::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), 2);
    ::execvp(args[0], args.data());
    ::_exit(127);
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadAll(out), ReadAll(err)};
}

// velmark-cli with `args`, run in `cwd` when one is given.
inline ProgramRun RunCli(std::vector<std::string> args, const fs::path& scratch,
                         const fs::path& cwd = {}) {
  args.insert(args.begin(), BuiltProgram("velmark-cli").string());
  return RunProgram(std::move(args), scratch, cwd);
}

// velmark-sim serving until destroyed; `Ready` once its link exists.
class SimProcess {
 public:
  SimProcess(const fs::path& link, std::vector<std::string> args) : link_(link) {
    const std::string binary = BuiltProgram("velmark-sim").string();
    args.insert(args.begin(), {binary, "--link", link.string()});
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_ = ::fork();
    if (pid_ == 0) {
      std::freopen("/dev/null", "w", stdout);
      ::execv(binary.c_str(), argv.data());
      ::_exit(127);
    }
    for (int i = 0; i < 300 && !Ready(); ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  }
  ~SimProcess() {
    if (pid_ > 0) {
      ::kill(pid_, SIGTERM);
      ::waitpid(pid_, nullptr, 0);
    }
  }
  SimProcess(const SimProcess&) = delete;
  SimProcess& operator=(const SimProcess&) = delete;
  bool Ready() const { return fs::is_symlink(link_); }

 private:
  fs::path link_;
  pid_t pid_ = -1;
};

}  // namespace velmark::apptest
