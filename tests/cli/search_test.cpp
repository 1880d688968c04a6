// End-to-end: the search for isomorphs finds every settled shape, gives the same files for any
// number of jobs, and stops at once when interrupted.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <sstream>
#include <thread>

#include "support/test_support.h"

namespace ostrel {
namespace {

std::string folder_bytes(const std::filesystem::path& folder) {
  std::string all;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (entry.path().extension() == ".ini") continue;
    all += entry.path().filename().string() + "\n" + test::read_file(entry.path());
  }
  return all;
}

TEST(Search, IsomorphsOfEveryShapeAndTheSameBytesForAnyJobs) {
  // Both pyramids out, both in, and one in and one out: the attempts after the first two settle
  // and so keep starting the classic way, each from its own random start.
  const auto search = [](const std::string& jobs) {
    auto run = std::make_unique<test::CliRun>(
        test::example_path("augmented_pentagrammic_prism.txt").string(),
        std::vector<std::string>{"--inflate", "none", "--isomorphs", "4", "--attempts", "40",
                                 "--seed", "1", "--jobs", jobs},
        "SOURCE_DATE_EPOCH=0");
    EXPECT_EQ(run->result.exit_code, 0) << run->result.err;
    return run;
  };
  const auto one = search("1");
  EXPECT_TRUE(std::filesystem::exists(one->file("augmented_pentagrammic_prism_isom3.off")));
  const auto two = search("2");
  EXPECT_EQ(folder_bytes(one->dir.path()), folder_bytes(two->dir.path()));
}

// A tower of decagon rings joined by triangles (an antiprism tower) or by squares (a prism
// tower, half as many faces), as an OFF file with its coordinates.
std::string tower_off(int rings, bool squares = false) {
  const int n = 10;
  const double pi = 3.14159265358979323846;
  const double radius = 1.0 / (2.0 * std::sin(pi / n));
  const int sides = squares ? n * (rings - 1) : 2 * n * (rings - 1);
  std::ostringstream off;
  off << "OFF\n" << rings * n << " " << 2 + sides << " 0\n";
  for (int r = 0; r < rings; ++r) {
    for (int k = 0; k < n; ++k) {
      const double a = 2.0 * pi * (k + (squares ? 0.0 : 0.5 * r)) / n;
      off << radius * std::cos(a) << " " << radius * std::sin(a) << " "
          << (squares ? 1.0 : 0.85) * r << "\n";
    }
  }
  off << n;
  for (int k = n - 1; k >= 0; --k) off << " " << k;
  off << "\n";
  for (int r = 0; r + 1 < rings; ++r) {
    for (int k = 0; k < n; ++k) {
      const int a = r * n + k, b = r * n + (k + 1) % n, c = a + n, d = b + n;
      if (squares) {
        off << "4 " << a << " " << b << " " << d << " " << c << "\n";
      } else {
        off << "3 " << a << " " << b << " " << c << "\n3 " << b << " " << d << " " << c << "\n";
      }
    }
  }
  off << n;
  for (int k = 0; k < n; ++k) off << " " << (rings - 1) * n + k;
  off << "\n";
  return off.str();
}

// A ring of eight cubes (32 squares) closes on itself: grown from one face it folds for many
// starts, and the robust start then lays it out instead of giving the attempt up.
TEST(Search, ARobustStartThatCannotGrowIsLaidOut) {
  test::TempDir dir;
  const auto input = dir.path() / "torus.txt";
  test::write_file(input,
                   "{1,2,3,4,-1,5,6,7,8,-1,5,1,4,6,-1,5,8,2,1,-1,4,3,9,10,-1,6,11,12,7,-1,\n"
                   "6,4,10,11,-1,7,12,9,3,-1,10,9,13,14,-1,11,15,16,12,-1,11,10,14,15,-1,\n"
                   "15,14,13,16,-1,2,17,18,3,-1,8,7,19,20,-1,8,20,17,2,-1,7,3,18,19,-1,\n"
                   "9,21,22,13,-1,12,16,23,24,-1,12,24,21,9,-1,16,13,22,23,-1,17,25,26,18,-1,\n"
                   "20,19,27,28,-1,28,27,26,25,-1,20,28,25,17,-1,18,26,29,21,-1,19,24,30,27,-1,\n"
                   "19,18,21,24,-1,27,30,29,26,-1,21,29,31,22,-1,24,23,32,30,-1,30,32,31,29,-1,\n"
                   "23,22,31,32,-1,}\n");
  test::CliRun run(input.string(), {"--inflate", "stress", "--attempts", "1", "--seed", "3"});
  EXPECT_EQ(run.result.exit_code, 0) << run.result.err;
}

TEST(Search, ARunThatWritesNothingSaysTheBestItReached) {
  // Cut short at 100 iterations, the classic attempts come near but do not settle.
  test::CliRun run(test::example_path("icosahedron.txt").string(),
                   {"--attempts", "2", "--set", "MaxIter=2", "--seed", "1"});
  EXPECT_EQ(run.result.exit_code, 1);
  EXPECT_TRUE(run.result.out.empty());
  EXPECT_NE(run.result.err.find("Error: No isomorph settled in 2 attempts; the best reached E 1.3e-09, "
                                "P 0 \u2014 the faces may not all be regular with unit edges; "
                                "--once writes the best attempt"),
            std::string::npos)
      << run.result.err;
}

// A robust start from random positions of a 1,000-vertex tower runs for a minute, and the global
// pre-stage of a 2,000-vertex prism tower (its hop table covering every vertex) for many seconds.
TEST(Search, InterruptDuringAStartEndsAt130AndWritesNothing) {
  for (const auto& [rings, inflate] : {std::pair{100, "stress"}, std::pair{200, "global"}}) {
    SCOPED_TRACE(inflate);
    test::TempDir dir;
    const auto input = dir.path() / "tower.off";
    test::write_file(input, tower_off(rings, rings == 200));
    const auto out = dir.path() / "out";
    std::filesystem::create_directories(out);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      const std::string in = input.string(), folder = out.string();
      const std::string ini = (dir.path() / "ostrel.ini").string();
      execl(OSTREL_CLI_PATH, OSTREL_CLI_PATH, "run", in.c_str(), "-o", folder.c_str(), "--ini",
            ini.c_str(), "-q", "--inflate", inflate, "--jobs", "1", "--seed", "1", "--set",
            "IgnoreCoordinates=1", static_cast<char*>(nullptr));
      _exit(127);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    kill(child, SIGINT);
    const auto sent = std::chrono::steady_clock::now();
    int status = 0;
    while (waitpid(child, &status, WNOHANG) == 0) {
      if (std::chrono::steady_clock::now() - sent > std::chrono::seconds(2)) {
        kill(child, SIGKILL);
        waitpid(child, &status, 0);
        FAIL() << "still running 2 s after SIGINT";
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 130);
    EXPECT_TRUE(std::filesystem::is_empty(out));
  }
}

}  // namespace
}  // namespace ostrel
