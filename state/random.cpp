#include "state/random.h"

#include <chrono>

namespace zl {

std::int64_t RandomGenerator::uniform(std::int64_t max) {
  if (!seeded_) seed(static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count()));
  if (max < 1) return 0;
  return std::uniform_int_distribution<std::int64_t>(0, max)(engine_);
}

}  // namespace zl
