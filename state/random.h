// The program's one source of chance: the draw of the next test question
// and the shuffle of the list. Seeded once per run from the clock at its
// first use, unless a test seeds it first to make the draws repeatable.
#pragma once

#include <cstdint>
#include <random>

namespace zl {

class RandomGenerator {
 public:
  // Makes the following draws repeatable.
  void seed(std::uint64_t value) {
    engine_.seed(value);
    seeded_ = true;
  }

  // A uniformly drawn integer from 0 to `max` inclusive; 0 when `max` < 1.
  std::int64_t uniform(std::int64_t max);

 private:
  std::mt19937_64 engine_;
  bool seeded_ = false;
};

}  // namespace zl
