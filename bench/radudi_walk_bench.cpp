// The start-up walk for RADUDI against `find ROOT -xdev -iname RADUDI` on the
// same generated tree of 101,110 folders (10 x 10 x 10 x 100), side by side.
// Both run on a warm cache; compare their real times.
//
//   build/radudi_walk_bench [--benchmark_repetitions=5]

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/folder_walk.hpp"

extern char** environ;

namespace {

namespace fs = std::filesystem;

// The generated tree, made once and removed when the program ends.
class Tree {
 public:
  Tree() {
    char pattern[] = "/tmp/k2v-radudi-bench-XXXXXX";
    if (!::mkdtemp(pattern)) std::abort();
    root_ = pattern;
    std::string path;
    for (int a = 0; a < 10; ++a) {
      for (int b = 0; b < 10; ++b) {
        for (int c = 0; c < 10; ++c) {
          std::string base = root_ + "/d" + std::to_string(a) + "/e" + std::to_string(b) + "/f" + std::to_string(c);
          fs::create_directories(base);
          for (int d = 0; d < 100; ++d) ::mkdir((base + "/g" + std::to_string(d)).c_str(), 0755);
        }
      }
    }
    // Two folders that qualify, deep in the walk, so that neither side stops early.
    for (const char* where : {"/d5/e5/f5/g50/RADUDI", "/d9/e9/f9/g99/radudi"}) {
      fs::create_directories(root_ + where);
      std::FILE* f = std::fopen((root_ + where + "/kishitu.txt").c_str(), "wb");
      std::fputs("pattern\n", f);
      std::fclose(f);
    }
  }
  ~Tree() {
    std::error_code ec;
    fs::remove_all(root_, ec);
  }
  const std::string& root() const { return root_; }

 private:
  std::string root_;
};

const Tree& TheTree() {
  static const Tree tree;
  return tree;
}

void BM_SearchRadudiTree(benchmark::State& state) {
  const std::string root = TheTree().root();
  for (auto _ : state) {
    std::vector<std::string> candidates;
    k2v::SearchFolderTree(root + "/RADUDI", candidates, "kishitu.txt", [](const std::string&) { return true; });
    if (candidates.size() != 2) state.SkipWithError("the walk did not find both folders");
    benchmark::DoNotOptimize(candidates);
  }
}
BENCHMARK(BM_SearchRadudiTree)->Unit(benchmark::kMillisecond)->UseRealTime()->MinWarmUpTime(0.5);

void BM_FindXdevIname(benchmark::State& state) {
  const std::string root = TheTree().root();
  std::vector<std::string> args = {"find", root, "-xdev", "-iname", "RADUDI"};
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  for (auto _ : state) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    if (posix_spawnp(&pid, "find", &actions, nullptr, argv.data(), environ) != 0) {
      state.SkipWithError("find could not be started");
      break;
    }
    int status = 0;
    waitpid(pid, &status, 0);
    posix_spawn_file_actions_destroy(&actions);
  }
}
BENCHMARK(BM_FindXdevIname)->Unit(benchmark::kMillisecond)->UseRealTime()->MinWarmUpTime(0.5);

}  // namespace

BENCHMARK_MAIN();
