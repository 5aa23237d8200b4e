// The bytes of sweeps that scripts already rely on: each sweep's size and
// FNV-1a hash as the runner wrote them before its output code was reworked.
// A change here breaks every comparison against older CSV files.
#include <gtest/gtest.h>

#include <cstdio>

#include "travenel/batch/Batch.h"
#include "travenel/batch/Run.h"
#include "slurp.h"

namespace travenel {

namespace {

std::uint64_t Fnv1a(const std::string& bytes) {
  std::uint64_t h = 0xcbf29ce484222325u;
  for (unsigned char c : bytes) h = (h ^ c) * 0x100000001b3u;
  return h;
}

std::string Sweep(const std::vector<std::string>& args) {
  std::atomic<bool> cancel{false};
  std::FILE* out = std::tmpfile();
  std::FILE* err = std::tmpfile();
  EXPECT_EQ(RunBatch(args, out, err, RunSetup, cancel, 2, false), kExitOk);
  std::fclose(err);
  return Slurp(out);
}

struct GoldenCase {
  std::vector<std::string> args;
  std::size_t size;
  std::uint64_t hash;
};

class GoldenSweeps : public ::testing::TestWithParam<GoldenCase> {};

TEST_P(GoldenSweeps, WriteTheBytesTheyAlwaysWrote) {
  const std::string out = Sweep(GetParam().args);
  EXPECT_EQ(out.size(), GetParam().size);
  EXPECT_EQ(Fnv1a(out), GetParam().hash);
}

INSTANTIATE_TEST_SUITE_P(
    BatchSweep, GoldenSweeps,
    ::testing::Values(
        // Empty worlds, full ones, crowded ones; thresholds below 0 and above 100;
        // seeds up to the last one.
        GoldenCase{{"--agents", "0,1,37,500,1600,1601", "--threshold", "-1,0,50,74,100,101",
                    "--repeats", "2", "--seed", "4294967290", "--summary"},
                   2050,
                   0xc24009b1c33b73d5u},
        GoldenCase{{"--agents", "5,300", "--threshold", "50,80", "--steps", "6", "--repeats", "2",
                    "--seed", "7"},
                   792,
                   0xe5d5300bfbe511c9u},
        GoldenCase{{"--agents", "100:2000:950", "--threshold", "60:90:15", "--repeats", "3"},
                   47272,
                   0xb1958d9994ebca0du},
        GoldenCase{{"--agents", "500,1000", "--threshold", "60,74", "--repeats", "2", "--summary"},
                   244,
                   0xc046774ffb1d5d5eu},
        GoldenCase{{"--agents", "3000", "--threshold", "90:10:-40", "--seed", "123456789",
                    "--steps", "250"},
                   23045,
                   0x36b633673841b12fu}));

}  // namespace

}  // namespace travenel
