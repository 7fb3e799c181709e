#include "net/curl/AppendToString.h"

#include <new>
#include <stdexcept>
#include <string>

namespace nbt {

std::size_t AppendToString(char* data, std::size_t size, std::size_t count, void* target) {
  constexpr auto kRefused = static_cast<std::size_t>(-1);
  if (target == nullptr || data == nullptr) return kRefused;
  const std::size_t bytes = size * count;
  try {
    static_cast<std::string*>(target)->append(data, bytes);
  } catch (const std::bad_alloc&) {
    return kRefused;
  } catch (const std::length_error&) {
    return kRefused;
  }
  return bytes;
}

}  // namespace nbt
