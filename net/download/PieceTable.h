#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

namespace nbt {

// A piece's way through a download. Each step belongs to one thread, so the state is the only
// field two threads read at once; the buffer and the count change hands with it.
//
//   state           entered by                        left by
//   PIECE_FREE      the table, a worker giving up     ClaimPiece (a worker, under the claim lock)
//   PIECE_CLAIMED   ClaimPiece                        the worker: RECEIVED when the answer holds the
//                                                     piece, FREE when it fails or is stopped
//   PIECE_RECEIVED  the worker                        the writer, once the bytes are in the file
//   PIECE_WRITTEN   the writer                        (final; its buffer is gone)
enum PieceState : std::uint8_t {
  PIECE_FREE = 0,
  PIECE_CLAIMED = 1,
  PIECE_RECEIVED = 2,
  PIECE_WRITTEN = 3,
};

struct PieceSlot {
  std::unique_ptr<std::uint8_t[]> buffer;  // kPieceSize bytes from claim until written
  std::atomic<PieceState> state{PIECE_FREE};
  std::uint32_t index = 0;
  std::uint32_t received = 0;  // bytes in the buffer
};

// The slots of one download, one per piece, and the buffers of the pieces in memory.
class PieceTable {
 public:
  using Clock = std::chrono::steady_clock;

  explicit PieceTable(std::uint32_t pieceCount);
  PieceTable(const PieceTable&) = delete;
  PieceTable& operator=(const PieceTable&) = delete;

  std::uint32_t Count() const { return count_; }
  PieceSlot& operator[](std::uint32_t index) { return slots_[index]; }

  // The lowest free piece, now claimed with a buffer; null when no piece is free.
  PieceSlot* ClaimPiece();
  // A claimed piece whose answer holds all of its bytes.
  void MarkReceived(PieceSlot& slot);
  // A claimed piece goes back to free; its buffer goes back to the table.
  void ReleasePiece(PieceSlot& slot);
  // A received piece whose bytes are in the file; its buffer goes back to the table.
  void MarkWritten(PieceSlot& slot);

  // Waits until fewer than limit pieces (claimed or received) hold a buffer, or until the
  // deadline; true when there is room. A disk slower than the line then holds the transfers back
  // instead of piling received pieces up in memory.
  bool WaitForRoom(std::uint32_t limit, Clock::time_point deadline);

 private:
  using Buffer = std::unique_ptr<std::uint8_t[]>;
  void GiveBack(Buffer buffer);

  std::uint32_t count_;
  std::unique_ptr<PieceSlot[]> slots_;
  std::mutex claimLock_;
  std::condition_variable roomCondition_;
  std::uint32_t piecesInMemory_ = 0;  // guarded by claimLock_
  // Buffers that pieces are done with, for the next claims: a download allocates only as many
  // buffers as it has pieces in memory at once. Guarded by claimLock_.
  std::vector<Buffer> spareBuffers_;
};

}  // namespace nbt
