#include "cli_dump.h"

#include <iostream>

#include "cli_source.h"
#include "cli_verbs.h"
#include "report/parameters.h"
#include "report/report_diff.h"
#include "report/report_json.h"
#include "report/report_text.h"

namespace velmark::cli {
namespace {

constexpr int kDiffDifferent = 1, kDiffError = 2;

// git runs a diff command with "path old-file old-hex old-mode new-file new-hex new-mode",
// two words more (new path, similarity) for a rename, and the path alone for an unmerged
// file. A side that does not exist is /dev/null.
constexpr std::size_t kGitUnmerged = 1, kGitArgs = 7, kGitRenameArgs = 9;
constexpr const char* kGitNoFile = "/dev/null";

struct Side {
  ParameterList params;
  std::string name;
  std::string error;
};

Side Load(const CliOptions& o, const std::string& word, bool may_be_absent) {
  if (may_be_absent && word == kGitNoFile) return {{}, word, {}};
  const LoadedSource src = LoadSource(o, word);
  if (!src.error.empty()) return {{}, src.name, src.error};
  return {ImageParameters(src.image), src.name, {}};
}

int Fail(int status, const std::string& line) {
  std::cerr << "velmark-cli: " << line << "\n";
  return status;
}

int Dump(const CliOptions& o) {
  const Side s = Load(o, o.args.empty() ? std::string() : o.args[0], false);
  if (!s.error.empty()) return Fail(kExitFailed, s.error);
  std::cout << (o.json ? DumpJson(s.params, s.name) : DumpText(s.params));
  return kExitOk;
}

int Diff(const CliOptions& o, const std::string& a_word, const std::string& b_word) {
  const Side a = Load(o, a_word, o.git_driver);
  if (!a.error.empty()) return Fail(kDiffError, a.error);
  const Side b = Load(o, b_word, o.git_driver);
  if (!b.error.empty()) return Fail(kDiffError, b.error);
  const std::vector<Difference> diff = DiffParameters(a.params, b.params);
  std::cout << (o.json ? DiffJson(diff, a.name, b.name) : DiffText(diff));
  return diff.empty() ? kExitOk : kDiffDifferent;
}

// As git's diff driver: a header naming the file, then the differences. git stops at a
// command that exits non-zero, so a difference is status 0 here; an error is still 2.
int GitDiff(const CliOptions& o) {
  const std::string& path = o.args[0];
  if (o.args.size() == kGitUnmerged) {
    std::cout << "* Unmerged path " << path << "\n";
    return kExitOk;
  }
  const std::string& to = o.args.size() == kGitRenameArgs ? o.args[7] : path;
  if (!o.json) std::cout << "diff --velmark a/" << path << " b/" << to << "\n";
  const int status = Diff(o, o.args[1], o.args[4]);
  return status == kDiffDifferent ? kExitOk : status;
}

}  // namespace

std::string CheckReportArgs(const CliOptions& o) {
  const std::size_t n = o.args.size();
  if (o.verb == "dump") {
    if (o.git_driver) return "--git-driver is for diff only";
    return n <= 1 ? "" : "dump takes one SOURCE";
  }
  if (o.git_driver) {
    return n == kGitUnmerged || n == kGitArgs || n == kGitRenameArgs
               ? ""
               : "diff --git-driver takes the 1, 7 or 9 arguments git gives a diff command";
  }
  return n == 2 ? "" : "diff takes two sources, A and B";
}

int ReportVerb(const CliOptions& o) {
  if (o.verb == "dump") return Dump(o);
  if (o.git_driver) return GitDiff(o);
  return Diff(o, o.args[0], o.args[1]);
}

}  // namespace velmark::cli
