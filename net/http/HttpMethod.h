#pragma once

#include <cstdint>

namespace nbt {

enum class HttpMethod : std::int32_t {
  HTTP_GET = 0,
  HTTP_POST = 1,
  HTTP_PUT = 2,
  HTTP_DELETE = 3,
};

}  // namespace nbt
