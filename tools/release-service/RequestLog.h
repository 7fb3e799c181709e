#pragma once

#include <mutex>
#include <string>
#include <vector>

namespace release_service {

// One line per request answered, in that order:
// "METHOD URL range=RANGE status=CODE faults=NAMES".
class RequestLog {
 public:
  void Add(std::string line);
  void Clear();
  std::vector<std::string> Lines() const;

 private:
  mutable std::mutex mutex_;
  std::vector<std::string> lines_;
};

}  // namespace release_service
