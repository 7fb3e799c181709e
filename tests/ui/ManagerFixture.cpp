#include "tests/ui/ManagerFixture.h"

namespace test {

ManagerTest::ManagerTest() {
  Vellum::CPaintManagerUI::ReleaseSharedRegistries();
  manager_ = std::make_unique<Vellum::CPaintManagerUI>(fonts_);
}

ManagerTest::~ManagerTest() {
  manager_.reset();
  Vellum::CPaintManagerUI::ReleaseSharedRegistries();
}

}  // namespace test
