// What every benchmark prints, and the timing helpers they share. Platform-free.
//
// A benchmark prints, besides free-form lines starting with '#':
//   measure <key> <value> <unit> | <what was measured>
//   ratio <key> <value> <relation> <target> | <how the ratio is formed>
// tools/bench.sh runs each program several times and takes the median of every measure and ratio by key.
// A ratio without a target prints "-" for relation and target.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace kqbench {

using Clock = std::chrono::steady_clock;

// Seconds taken by one call of f.
template <class F> double seconds(F&& f) {
  const auto start = Clock::now();
  f();
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// Makes the compiler treat the memory behind p as read and written, so that work producing it is kept.
inline void keep(const void* p) {
  asm volatile("" : : "r"(p) : "memory");
}

inline double median(std::vector<double> values) {
  if (values.empty())
    return 0.0;
  std::sort(values.begin(), values.end());
  const size_t mid = values.size() / 2;
  return values.size() % 2 != 0 ? values[mid] : (values[mid - 1] + values[mid]) / 2.0;
}

inline void measure(const char* key, double value, const char* unit, const char* what) {
  std::printf("measure %-34s %14.4g %-10s | %s\n", key, value, unit, what);
  std::fflush(stdout);
}

// relation: ">=" or "<=" (the ratio must be at least / at most target), or nullptr for no target.
inline void ratio(const char* key, double value, const char* relation, double target, const char* what) {
  if (relation == nullptr) {
    std::printf("ratio   %-34s %14.4g - - | %s\n", key, value, what);
  } else {
    const bool met = relation[0] == '>' ? value >= target : value <= target;
    std::printf("ratio   %-34s %14.4g %s %g | %s (target %s)\n", key, value, relation, target, what,
                met ? "met" : "MISSED");
  }
  std::fflush(stdout);
}

// A small deterministic generator (splitmix64): the same text in every run and on every platform.
class Random {
public:
  explicit Random(std::uint64_t seed) : state(seed) {}
  std::uint64_t next() {
    std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  // Uniform in [lo, hi].
  int between(int lo, int hi) {
    return lo + static_cast<int>(next() % static_cast<std::uint64_t>(hi - lo + 1));
  }

private:
  std::uint64_t state;
};

} // namespace kqbench
