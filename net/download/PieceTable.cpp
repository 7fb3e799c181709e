#include "net/download/PieceTable.h"

#include "net/download/PieceLayout.h"

namespace nbt {

PieceTable::PieceTable(std::uint32_t pieceCount) : count_(pieceCount), slots_(new PieceSlot[pieceCount]) {}

PieceSlot* PieceTable::ClaimPiece() {
  std::lock_guard guard(claimLock_);
  for (std::uint32_t index = 0; index < count_; ++index) {
    PieceSlot& slot = slots_[index];
    if (slot.state.load(std::memory_order_acquire) != PIECE_FREE) continue;
    slot.index = index;
    if (spareBuffers_.empty()) {
      // Only the first received bytes are ever read, so the buffer needs no zeroing.
      slot.buffer = std::make_unique_for_overwrite<std::uint8_t[]>(kPieceSize);
    } else {
      slot.buffer = std::move(spareBuffers_.back());
      spareBuffers_.pop_back();
    }
    slot.received = 0;
    ++piecesInMemory_;
    slot.state.store(PIECE_CLAIMED, std::memory_order_release);
    return &slot;
  }
  return nullptr;
}

void PieceTable::MarkReceived(PieceSlot& slot) {
  slot.state.store(PIECE_RECEIVED, std::memory_order_release);
}

void PieceTable::ReleasePiece(PieceSlot& slot) {
  slot.received = 0;
  GiveBack(std::move(slot.buffer));
  slot.state.store(PIECE_FREE, std::memory_order_release);
}

void PieceTable::MarkWritten(PieceSlot& slot) {
  GiveBack(std::move(slot.buffer));
  slot.state.store(PIECE_WRITTEN, std::memory_order_release);
}

bool PieceTable::WaitForRoom(std::uint32_t limit, Clock::time_point deadline) {
  std::unique_lock guard(claimLock_);
  return roomCondition_.wait_until(guard, deadline, [&] { return piecesInMemory_ < limit; });
}

void PieceTable::GiveBack(Buffer buffer) {
  {
    std::lock_guard guard(claimLock_);
    if (buffer) spareBuffers_.push_back(std::move(buffer));
    --piecesInMemory_;
  }
  roomCondition_.notify_one();
}

}  // namespace nbt
