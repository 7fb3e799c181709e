#pragma once

#include <curl/curl.h>

#include <cstdint>

#include "net/download/DownloadHandle.h"

namespace nbt {

class StatusCell;
struct PieceSlot;

struct PieceAttempt {
  enum Outcome {
    Received,        // the slot holds exactly the piece's bytes
    TransferFailed,  // libcurl gave up: worth another attempt
    ShortAnswer,     // the right range with too few (or too many) bytes: worth another attempt
    BadStatus,       // neither 200 nor 206
    WrongRange,      // the server answered with other bytes than the piece's
    Ended,           // the download left DOWNLOADING during the attempt
  };
  Outcome outcome = TransferFailed;
  CURLcode result = CURLE_OK;
  long responseCode = 0;
};

// The ranged transfers of one piece thread. The handle is kept from piece to piece, so the
// connection (and its TLS session) is reused.
class PieceTransfer {
 public:
  PieceTransfer(DownloadHandle handle, const StatusCell& status) : handle_(std::move(handle)), status_(status) {}

  // One attempt at fetching slot's piece of a file of fileSize bytes into the slot's buffer.
  PieceAttempt Fetch(PieceSlot& slot, std::uint32_t fileSize);

 private:
  DownloadHandle handle_;
  const StatusCell& status_;
};

}  // namespace nbt
