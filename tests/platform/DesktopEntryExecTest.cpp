#include "platform/posix/DesktopEntryExec.h"

#include <gtest/gtest.h>

namespace {

using platform::posix::ExecOfProgram;
using platform::posix::ProgramOfExec;

TEST(DesktopEntryExecTest, QuotesOnlyWhereTheRulesAskAndReadsItBack) {
  struct Case {
    const char* path;
    const char* exec;
  };
  const Case cases[] = {
      {"/home/u/.local/share/lumogame/lumogc_launcher.exe", "/home/u/.local/share/lumogame/lumogc_launcher.exe"},
      {"/home/u/My Games/lumogame/lumogc_launcher.exe", "\"/home/u/My Games/lumogame/lumogc_launcher.exe\""},
      {"/home/u/游戏/lumogame.exe", "/home/u/游戏/lumogame.exe"},
      {"/a \"b\"/c", "\"/a \\\"b\\\"/c\""},
      {"/a$b/`c`/d\\e", "\"/a\\$b/\\`c\\`/d\\\\e\""},
      {"/it's/(here)", "\"/it's/(here)\""},
      {"/100%/x", "/100%%/x"},
      {"/100% sure/x", "\"/100%% sure/x\""},
      {"/line\nbreak", "\"/line\nbreak\""},
  };
  for (const auto& [path, exec] : cases) {
    EXPECT_EQ(ExecOfProgram(path), exec) << path;
    EXPECT_EQ(ProgramOfExec(exec), path) << exec;
  }
}

TEST(DesktopEntryExecTest, AnythingElseIsNotAPlainProgramPath) {
  const char* cases[] = {
      "",
      "\"\"",
      "/opt/launcher --minimized",
      "\"/opt/launcher\" --minimized",
      "/opt/launcher %U",
      "\"/opt/a b/launcher %f\"",
      "\"/opt/unterminated",
      "/opt/a\\ b",
      "\"/opt/a\\x\"",
      "\"/opt/a\" \"b\"",
      "env A=1 /opt/launcher",
      "/opt/launcher;rm",
  };
  for (const char* exec : cases) EXPECT_FALSE(ProgramOfExec(exec)) << exec;
}

}  // namespace
