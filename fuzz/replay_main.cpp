// Runs a fuzz target without libFuzzer, so that the ordinary builds keep every corpus file and
// every crash found as a regression test: each file named (a folder: each file in it, in name
// order), then --mutations N inputs made from them by seeded mutations (--seed S), each at most
// --max-len bytes. A violated invariant or a sanitizer report ends the run, as in the fuzzer.
//
//   fuzz_replay_<target> [--mutations N] [--seed S] [--max-len L] [--last-input FILE] PATH...

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

struct Options {
  long mutations = 0;
  std::uint64_t seed = 1;
  std::size_t max_len = 4096;
  fs::path last_input;  // each mutated input is written here before it runs (to keep a crash)
  std::vector<fs::path> paths;
};

bool ParseOptions(int argc, char** argv, Options& o) {
  for (int i = 1; i < argc; ++i) {
    const std::string word = argv[i];
    const bool has_value = i + 1 < argc;
    if (word == "--mutations" && has_value) {
      o.mutations = std::strtol(argv[++i], nullptr, 10);
    } else if (word == "--seed" && has_value) {
      o.seed = std::strtoull(argv[++i], nullptr, 10);
    } else if (word == "--max-len" && has_value) {
      o.max_len = std::strtoul(argv[++i], nullptr, 10);
    } else if (word == "--last-input" && has_value) {
      o.last_input = argv[++i];
    } else if (word.rfind("--", 0) == 0) {
      return false;
    } else {
      o.paths.emplace_back(word);
    }
  }
  return o.mutations >= 0 && o.max_len > 0;
}

Bytes ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<Bytes> LoadCorpus(const std::vector<fs::path>& paths) {
  std::vector<fs::path> files;
  for (const fs::path& p : paths) {
    if (!fs::is_directory(p)) {
      files.push_back(p);
      continue;
    }
    std::vector<fs::path> inside;
    for (const auto& entry : fs::directory_iterator(p)) {
      if (entry.is_regular_file()) inside.push_back(entry.path());
    }
    std::sort(inside.begin(), inside.end());
    files.insert(files.end(), inside.begin(), inside.end());
  }
  std::vector<Bytes> corpus;
  for (const fs::path& f : files) corpus.push_back(ReadFile(f));
  return corpus;
}

// One of the edits libFuzzer's own mutator makes most often.
void MutateOnce(Bytes& b, const std::vector<Bytes>& corpus, std::mt19937_64& gen) {
  auto pick = [&gen](std::size_t n) { return n == 0 ? 0 : static_cast<std::size_t>(gen() % n); };
  switch (gen() % 6) {
    case 0:  // flip a bit
      if (!b.empty()) b[pick(b.size())] ^= static_cast<std::uint8_t>(1u << (gen() % 8));
      break;
    case 1:  // an interesting byte
      if (!b.empty()) {
        static constexpr std::uint8_t kBytes[] = {0, 1, 2, 0x7F, 0x80, 0xF0, 0x05, 0xF7, 0xFF};
        b[pick(b.size())] = kBytes[pick(std::size(kBytes))];
      }
      break;
    case 2:  // insert a few random bytes
      b.insert(b.begin() + static_cast<long>(pick(b.size() + 1)), 1 + pick(8),
               static_cast<std::uint8_t>(gen()));
      break;
    case 3:  // erase a range
      if (!b.empty()) {
        const std::size_t at = pick(b.size());
        b.erase(b.begin() + static_cast<long>(at),
                b.begin() + static_cast<long>(at + std::min(b.size() - at, 1 + pick(16))));
      }
      break;
    case 4:  // cut the end off
      b.resize(pick(b.size() + 1));
      break;
    default: {  // splice in part of another input
      const Bytes& other = corpus[pick(corpus.size())];
      if (other.empty()) break;
      const std::size_t from = pick(other.size());
      const std::size_t len = std::min(other.size() - from, 1 + pick(64));
      b.insert(b.begin() + static_cast<long>(pick(b.size() + 1)),
               other.begin() + static_cast<long>(from),
               other.begin() + static_cast<long>(from + len));
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  Options o;
  if (!ParseOptions(argc, argv, o)) {
    std::fprintf(stderr, "usage: %s [--mutations N] [--seed S] [--max-len L] PATH...\n", argv[0]);
    return 2;
  }
  std::vector<Bytes> corpus = LoadCorpus(o.paths);
  for (const Bytes& b : corpus) LLVMFuzzerTestOneInput(b.data(), b.size());
  if (corpus.empty()) corpus.emplace_back();
  std::mt19937_64 gen(o.seed);
  for (long i = 0; i < o.mutations; ++i) {
    Bytes b = corpus[static_cast<std::size_t>(gen() % corpus.size())];
    for (int edits = 1 + static_cast<int>(gen() % 4); edits > 0; --edits)
      MutateOnce(b, corpus, gen);
    if (b.size() > o.max_len) b.resize(o.max_len);
    if (!o.last_input.empty()) {
      std::ofstream(o.last_input, std::ios::binary | std::ios::trunc)
          .write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
    }
    LLVMFuzzerTestOneInput(b.data(), b.size());
  }
  std::printf("%zu inputs and %ld mutations ran\n", corpus.size(), o.mutations);
  return 0;
}
