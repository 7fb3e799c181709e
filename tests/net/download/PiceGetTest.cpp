#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "tests/net/download/DownloaderFixture.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/TempHome.h"

namespace downloader_test {
namespace {

using namespace std::chrono_literals;

using PiceGetTest = DownloaderServiceTest;

struct ToolRun {
  int status = -1;
  std::string output;
};

ToolRun RunPiceGet(const std::vector<std::string>& arguments) {
  test::ChildProcess child(PICE_GET_PATH, arguments);
  ToolRun run;
  run.status = child.Wait();
  for (const auto& line : child.Lines()) run.output += line + "\n";
  return run;
}

TEST_F(PiceGetTest, DownloadsOneUrlToOneFileAndPrintsWhatItTook) {
  const ToolRun run = RunPiceGet({"--cacert", service_->CaFile(), Url("package.bin"), Target("package.bin").string()});
  EXPECT_EQ(run.status, 0);
  EXPECT_TRUE(std::regex_match(run.output, std::regex("bytes=2500000 seconds=[0-9]+\\.[0-9]{3} status=FINISHED\n")))
      << run.output;
  EXPECT_EQ(test::ReadFile(Target("package.bin")), Content("package.bin"));
}

TEST_F(PiceGetTest, ExitsWithOneWhenTheDownloadFails) {
  const ToolRun run = RunPiceGet({Url("missing.bin", Scheme::Http), Target("missing.bin").string()});
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(run.output.ends_with("status=FAILED\n")) << run.output;
}

TEST_F(PiceGetTest, RefusesAnIncompleteCommandLine) {
  EXPECT_EQ(RunPiceGet({Url("package.bin")}).status, 2);
  EXPECT_EQ(RunPiceGet({"--cacert", service_->CaFile(), Url("package.bin")}).status, 2);
}

}  // namespace
}  // namespace downloader_test
