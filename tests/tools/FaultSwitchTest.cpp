#include "tools/release-service/FaultSwitch.h"

#include <gtest/gtest.h>

#include "tools/release-service/ByteRange.h"
#include "tools/release-service/FaultBoard.h"

namespace {

using release_service::ByteRange;
using release_service::Fault;
using release_service::FaultBoard;
using release_service::ParseFaultSwitch;
using release_service::RequestFacts;
using release_service::TargetKind;

TEST(FaultSwitchTest, SwitchesReadBackInTheirOwnForm) {
  const char* cases[] = {
      "version0:status=500",
      "version2:no-rel-ver",
      "version1:url=https://127.0.0.1:1/elsewhere",
      "manifest:status=404,method=HEAD",
      "package:reset=1000,first=1048576,count=2",
      "file:lumogame-setup-1.0.0.bin:stall",
      "package:head-length=4294967296",
      "telemetry:timeout",
      "version0:redirect=6",
  };
  for (const char* text : cases) {
    const auto parsed = ParseFaultSwitch(text);
    ASSERT_TRUE(parsed.fault) << text << ": " << parsed.error;
    EXPECT_EQ(FormatFaultSwitch(*parsed.fault), text);
  }
}

TEST(FaultSwitchTest, MalformedSwitchesAreRefusedWithAReason) {
  const char* cases[] = {
      "",
      "status=500",           // no target
      "version3:status=500",  // no such endpoint
      "version0:teapot",      // no such fault
      "version0:status",      // needs a value
      "version0:status=99",   // not a status
      "version0:status=abc",
      "version0:timeout=5",      // takes no value
      "manifest:invalid-json",   // version faults only
      "telemetry:ignore-range",  // file faults only
      "package:reset,count=0",
      "package:reset,method=PUT",
      "package:reset,sometimes=1",
      "package:reset,count",
      "file::reset",
  };
  for (const char* text : cases) {
    const auto parsed = ParseFaultSwitch(text);
    EXPECT_FALSE(parsed.fault) << text;
    EXPECT_FALSE(parsed.error.empty()) << text;
  }
}

RequestFacts FileRequest(const std::string& name, const std::string& method, std::optional<std::int64_t> first) {
  RequestFacts facts;
  facts.kind = TargetKind::File;
  facts.fileName = name;
  facts.method = method;
  facts.hasRange = first.has_value();
  facts.rangeFirst = first;
  return facts;
}

TEST(FaultBoardTest, SwitchesApplyOnlyWhereTheyCanAndAreUsedUpByCount) {
  FaultBoard board;
  board.Add({*ParseFaultSwitch("package:reset,count=1").fault, *ParseFaultSwitch("package:ignore-range").fault,
             *ParseFaultSwitch("manifest:status=404,method=HEAD").fault,
             *ParseFaultSwitch("package:cut,first=1048576").fault});

  // A HEAD has no body to reset, and no range to ignore: nothing is used up.
  EXPECT_EQ(board.Take(FileRequest("setup.bin", "HEAD", std::nullopt)).Names(), "-");
  EXPECT_EQ(board.Take(FileRequest("latest.yml", "GET", std::nullopt)).Names(), "-");
  EXPECT_EQ(board.Take(FileRequest("latest.yml", "HEAD", std::nullopt)).Names(), "status");
  EXPECT_EQ(board.Take(FileRequest("setup.bin", "GET", 0)).Names(), "reset,ignore-range");
  EXPECT_EQ(board.Take(FileRequest("setup.bin", "GET", 0)).Names(), "ignore-range");
  EXPECT_EQ(board.Take(FileRequest("setup.bin", "GET", 1048576)).Names(), "cut,ignore-range");
  EXPECT_EQ(board.List().size(), 3u);
}

TEST(ByteRangeTest, RangesAreCutToTheFile) {
  struct Case {
    const char* header;
    ByteRange::Kind kind;
    std::int64_t first;
    std::int64_t last;
  };
  constexpr std::int64_t kSize = 2'500'000;
  const Case cases[] = {
      {"bytes=0-1048575", ByteRange::Kind::Part, 0, 1048575},
      {"bytes=2097152-3145727", ByteRange::Kind::Part, 2097152, kSize - 1},
      {"bytes=2499999-", ByteRange::Kind::Part, kSize - 1, kSize - 1},
      {"bytes=-10", ByteRange::Kind::Part, kSize - 10, kSize - 1},
      {"bytes=2500000-2500010", ByteRange::Kind::Unsatisfiable, 0, 0},
      {"bytes=0-1,5-9", ByteRange::Kind::Whole, 0, 0},
      {"items=0-1", ByteRange::Kind::Whole, 0, 0},
  };
  for (const auto& c : cases) {
    const ByteRange range = release_service::ReadByteRange(c.header, kSize);
    EXPECT_EQ(range.kind, c.kind) << c.header;
    if (range.kind != ByteRange::Kind::Part) continue;
    EXPECT_EQ(range.first, c.first) << c.header;
    EXPECT_EQ(range.last, c.last) << c.header;
  }
}

}  // namespace
