#include <gtest/gtest.h>

#include <set>
#include <string>

#include "net/download/PieceLayout.h"
#include "net/download/PieceTable.h"
#include "net/download/RangeAnswer.h"

namespace {

using nbt::RangeAnswer;
using nbt::RangeVerdict;

constexpr std::uint32_t kMiB = 1u << 20;

TEST(PieceLayoutTest, CountsPiecesAndTheLastPiece) {
  struct Case {
    std::uint32_t fileSize, pieceCount, lastPieceSize;
  };
  const Case cases[] = {
      {1, 1, 1},
      {kMiB - 1, 1, kMiB - 1},
      {kMiB, 1, 0},
      {kMiB + 1, 2, 1},
      {2'097'152, 2, 0},
      {2'500'000, 3, 402'848},
      {0x7fffffffu, 2048, kMiB - 1},
  };
  for (const auto& c : cases) {
    const auto layout = nbt::LayoutFor(c.fileSize);
    EXPECT_EQ(layout.pieceCount, c.pieceCount) << c.fileSize;
    EXPECT_EQ(layout.pieceSize, kMiB) << c.fileSize;
    EXPECT_EQ(layout.lastPieceSize, c.lastPieceSize) << c.fileSize;
  }
}

TEST(PieceLayoutTest, RangesCoverWholePiecesAndPieceLengthsTheFile) {
  EXPECT_EQ(nbt::RangeText(0), "0-1048575");
  EXPECT_EQ(nbt::RangeText(1), "1048576-2097151");
  EXPECT_EQ(nbt::RangeText(2), "2097152-3145727");
  EXPECT_EQ(nbt::RangeText(2047), "2146435072-2147483647");
  EXPECT_EQ(nbt::PieceLength(0, 2'500'000), kMiB);
  EXPECT_EQ(nbt::PieceLength(2, 2'500'000), 402'848u);
  EXPECT_EQ(nbt::PieceLength(1, 2'097'152), kMiB);
  EXPECT_EQ(nbt::PieceLength(2, 2'097'152), 0u);
}

TEST(ContentRangeTest, ReadsOnlyWellFormedRanges) {
  const auto range = nbt::ParseContentRange("bytes 1048576-2097151/2500000");
  ASSERT_TRUE(range);
  EXPECT_EQ(range->first, 1048576u);
  EXPECT_EQ(range->last, 2097151u);
  EXPECT_EQ(range->total, 2500000u);
  EXPECT_FALSE(nbt::ParseContentRange("bytes 0-9/*")->total);
  for (const char* bad : {"", "bytes", "bytes */100", "bytes 5-4/100", "bytes 0-99/99", "items 0-9/10", "bytes 0-9",
                          "bytes -9/10", "bytes 0-x/10", "bytes 0-9/1x"}) {
    EXPECT_FALSE(nbt::ParseContentRange(bad)) << bad;
  }
}

TEST(RangeAnswerTest, AcceptsOnlyTheBytesOfThePiece) {
  struct Case {
    const char* what;
    RangeAnswer answer;
    std::uint32_t index;
    std::uint32_t fileSize;
    RangeVerdict verdict;
  };
  const Case cases[] = {
      {"first piece", {206, "bytes 0-1048575/2500000", kMiB}, 0, 2'500'000, RangeVerdict::Accepted},
      {"short last piece", {206, "bytes 2097152-2499999/2500000", 402'848}, 2, 2'500'000, RangeVerdict::Accepted},
      {"unknown total", {206, "bytes 1048576-2097151/*", kMiB}, 1, 2'500'000, RangeVerdict::Accepted},
      {"whole small file", {200, std::nullopt, 1000}, 0, 1000, RangeVerdict::Accepted},
      {"whole file of one full piece", {200, std::nullopt, kMiB}, 0, kMiB, RangeVerdict::Accepted},
      {"range ignored", {200, std::nullopt, kMiB + 1}, 0, 2'500'000, RangeVerdict::WrongRange},
      {"range ignored, later piece", {200, std::nullopt, kMiB + 1}, 1, 2'500'000, RangeVerdict::WrongRange},
      {"other range", {206, "bytes 0-1048575/2500000", kMiB}, 1, 2'500'000, RangeVerdict::WrongRange},
      {"range cut short", {206, "bytes 0-1000/2500000", 1001}, 0, 2'500'000, RangeVerdict::WrongLength},
      {"range cut short, unknown total", {206, "bytes 1048576-1048577/*", 2}, 1, 2'500'000, RangeVerdict::WrongLength},
      {"range starting later", {206, "bytes 1-1048575/2500000", kMiB - 1}, 0, 2'500'000, RangeVerdict::WrongRange},
      {"range reaching further",
       {206, "bytes 2097152-2500000/2500001", 402'849},
       2,
       2'500'000,
       RangeVerdict::WrongRange},
      {"file grew", {206, "bytes 2097152-3145727/3500000", kMiB}, 2, 2'500'000, RangeVerdict::WrongRange},
      {"file shrank", {206, "bytes 2097152-2399999/2400000", 302'848}, 2, 2'500'000, RangeVerdict::WrongRange},
      {"other total", {206, "bytes 0-1048575/3000000", kMiB}, 0, 2'500'000, RangeVerdict::WrongRange},
      {"no content range", {206, std::nullopt, kMiB}, 0, 2'500'000, RangeVerdict::WrongRange},
      {"garbled content range", {206, "bytes=0-1048575", kMiB}, 0, 2'500'000, RangeVerdict::WrongRange},
      {"short body", {206, "bytes 0-1048575/2500000", 1000}, 0, 2'500'000, RangeVerdict::WrongLength},
      {"long body", {206, "bytes 0-1048575/2500000", kMiB + 1}, 0, 2'500'000, RangeVerdict::WrongLength},
      {"short whole file", {200, std::nullopt, 999}, 0, 1000, RangeVerdict::WrongLength},
      {"not found", {404, std::nullopt, 10}, 0, 2'500'000, RangeVerdict::BadStatus},
      {"not satisfiable", {416, "bytes */2500000", 0}, 3, 2'500'000, RangeVerdict::BadStatus},
      {"redirect not followed", {302, std::nullopt, 0}, 0, 2'500'000, RangeVerdict::BadStatus},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(nbt::CheckRangeAnswer(c.answer, c.index, c.fileSize), c.verdict) << c.what;
  }
}

TEST(PieceTableTest, ClaimsTheLowestFreePieceAndTakesBackGivenUpOnes) {
  nbt::PieceTable table(3);
  nbt::PieceSlot* first = table.ClaimPiece();
  nbt::PieceSlot* second = table.ClaimPiece();
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(first->index, 0u);
  EXPECT_EQ(second->index, 1u);
  EXPECT_EQ(first->state.load(), nbt::PIECE_CLAIMED);
  ASSERT_TRUE(first->buffer);

  table.ReleasePiece(*first);
  EXPECT_EQ(first->state.load(), nbt::PIECE_FREE);
  EXPECT_FALSE(first->buffer);
  EXPECT_EQ(table.ClaimPiece()->index, 0u);
  EXPECT_EQ(table.ClaimPiece()->index, 2u);
  EXPECT_EQ(table.ClaimPiece(), nullptr);

  table.MarkReceived(*second);
  EXPECT_EQ(second->state.load(), nbt::PIECE_RECEIVED);
  table.MarkWritten(*second);
  EXPECT_EQ(second->state.load(), nbt::PIECE_WRITTEN);
  EXPECT_FALSE(second->buffer);
}

TEST(PieceTableTest, BoundsThePiecesInMemoryAndReusesTheirBuffers) {
  nbt::PieceTable table(4);
  const auto now = nbt::PieceTable::Clock::now;
  EXPECT_TRUE(table.WaitForRoom(2, now()));
  nbt::PieceSlot* first = table.ClaimPiece();
  nbt::PieceSlot* second = table.ClaimPiece();
  const std::uint8_t* firstBuffer = first->buffer.get();
  EXPECT_FALSE(table.WaitForRoom(2, now()));

  table.MarkReceived(*first);
  EXPECT_FALSE(table.WaitForRoom(2, now())) << "a received piece still holds its buffer";
  table.MarkWritten(*first);
  EXPECT_TRUE(table.WaitForRoom(2, now()));
  // The written piece's buffer serves the next claim.
  EXPECT_EQ(table.ClaimPiece()->buffer.get(), firstBuffer);
  table.ReleasePiece(*second);
  EXPECT_TRUE(table.WaitForRoom(2, now()));
}

}  // namespace
