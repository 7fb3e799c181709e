#pragma once

#include <optional>
#include <string>

namespace test {

// Sets an environment variable for the object's life (programs started meanwhile inherit it) and
// then puts back what was there before.
class ScopedVariable {
 public:
  ScopedVariable(const char* name, const std::string& value);
  ScopedVariable(const ScopedVariable&) = delete;
  ScopedVariable& operator=(const ScopedVariable&) = delete;
  ~ScopedVariable();

 private:
  std::string name_;
  std::optional<std::string> previous_;
};

}  // namespace test
