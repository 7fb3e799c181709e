#include "net/download/PieceTransfer.h"

#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "net/download/PieceLayout.h"
#include "net/download/PieceTable.h"
#include "net/download/RangeAnswer.h"
#include "net/download/StatusCell.h"

namespace nbt {
namespace {

// Where the piece writer puts an answer's bytes.
struct PieceSink {
  PieceSlot* slot = nullptr;
  const StatusCell* status = nullptr;
  std::uint32_t expected = 0;  // bytes the piece holds
  std::uint64_t offered = 0;   // bytes of body received so far
};

// libcurl's write callback. Returning less than offered ends the transfer: on a stop request,
// and as soon as the answer carries more than the piece (a server that ignores the range would
// otherwise send the whole file to every piece).
size_t PieceWriter(char* data, size_t size, size_t count, void* userdata) {
  auto* sink = static_cast<PieceSink*>(userdata);
  if (sink == nullptr || sink->slot == nullptr || data == nullptr) return 0;
  if (!sink->status->IsDownloading()) return 0;
  const size_t bytes = size * count;
  sink->offered += bytes;
  if (sink->offered > sink->expected) return 0;
  PieceSlot& slot = *sink->slot;
  std::memcpy(slot.buffer.get() + slot.received, data, bytes);
  slot.received += static_cast<std::uint32_t>(bytes);
  return bytes;
}

std::optional<std::string_view> ContentRangeOf(CURL* easy) {
  curl_header* header = nullptr;
  if (curl_easy_header(easy, "Content-Range", 0, CURLH_HEADER, -1, &header) != CURLHE_OK || header == nullptr) {
    return std::nullopt;
  }
  return std::string_view(header->value);
}

PieceAttempt::Outcome OutcomeOf(RangeVerdict verdict) {
  switch (verdict) {
    case RangeVerdict::Accepted:
      return PieceAttempt::Received;
    case RangeVerdict::BadStatus:
      return PieceAttempt::BadStatus;
    case RangeVerdict::WrongRange:
      return PieceAttempt::WrongRange;
    case RangeVerdict::WrongLength:
      break;
  }
  return PieceAttempt::ShortAnswer;
}

}  // namespace

PieceAttempt PieceTransfer::Fetch(PieceSlot& slot, std::uint32_t fileSize) {
  CURL* easy = handle_.get();
  PieceSink sink{&slot, &status_, PieceLength(slot.index, fileSize), 0};
  slot.received = 0;
  const std::string range = RangeText(slot.index);
  curl_easy_setopt(easy, CURLOPT_RANGE, range.c_str());
  curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, PieceWriter);
  curl_easy_setopt(easy, CURLOPT_WRITEDATA, &sink);

  PieceAttempt attempt;
  attempt.result = curl_easy_perform(easy);
  curl_easy_setopt(easy, CURLOPT_WRITEDATA, nullptr);
  if (!status_.IsDownloading()) {
    attempt.outcome = PieceAttempt::Ended;
    return attempt;
  }
  // A transfer the writer cut short for carrying too much is still judged by what it began to send.
  const bool overflowed = sink.offered > sink.expected;
  if (attempt.result != CURLE_OK && !(attempt.result == CURLE_WRITE_ERROR && overflowed)) {
    attempt.outcome = PieceAttempt::TransferFailed;
    return attempt;
  }
  curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &attempt.responseCode);
  const RangeAnswer answer{attempt.responseCode, ContentRangeOf(easy), sink.offered};
  attempt.outcome = OutcomeOf(CheckRangeAnswer(answer, slot.index, fileSize));
  return attempt;
}

}  // namespace nbt
