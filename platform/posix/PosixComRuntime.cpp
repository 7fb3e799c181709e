#include "platform/ComRuntime.h"

namespace platform {
namespace {

class NoComRuntime final : public ComRuntime {
 public:
  bool Initialize() override { return true; }
  void Uninitialize() override {}
};

}  // namespace

ComRuntime& SystemComRuntime() {
  static NoComRuntime runtime;
  return runtime;
}

}  // namespace platform
