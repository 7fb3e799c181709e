#include "net/download/DownloadWaits.h"

namespace nbt {
namespace {

class NominalWaits final : public DownloadWaits {
 public:
  std::chrono::milliseconds Length(DownloadWait, std::chrono::milliseconds nominal) override { return nominal; }
};

}  // namespace

std::shared_ptr<DownloadWaits> RealDownloadWaits() {
  static const auto waits = std::make_shared<NominalWaits>();
  return waits;
}

}  // namespace nbt
