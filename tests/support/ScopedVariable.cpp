#include "tests/support/ScopedVariable.h"

#include <cstdlib>

namespace test {

ScopedVariable::ScopedVariable(const char* name, const std::string& value) : name_(name) {
  if (const char* previous = std::getenv(name)) previous_ = previous;
  ::setenv(name, value.c_str(), 1);
}

ScopedVariable::~ScopedVariable() {
  if (previous_) {
    ::setenv(name_.c_str(), previous_->c_str(), 1);
  } else {
    ::unsetenv(name_.c_str());
  }
}

}  // namespace test
