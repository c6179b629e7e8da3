#pragma once
// Latencies counted in fixed memory, so that a long run (scripts/soak) measures the server's
// memory and not a list of every event it timed. Buckets are exact below 256 ns and then 128
// to each doubling: a percentile is within 0.4% of the timed value (the bucket's middle).

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>

namespace cn::bench {

class LatencyHistogram {
 public:
  void Record(double us) {
    const auto ns = static_cast<std::uint64_t>(std::llround(std::max(us, 0.0) * 1000));
    ++counts_[Bucket(std::min(ns, kLargest))];
    ++count_;
    max_us_ = std::max(max_us_, us);
  }
  void Add(const LatencyHistogram& other) {
    for (std::size_t i = 0; i < counts_.size(); ++i) counts_[i] += other.counts_[i];
    count_ += other.count_;
    max_us_ = std::max(max_us_, other.max_us_);
  }
  std::uint64_t count() const { return count_; }
  bool empty() const { return count_ == 0; }
  double max_us() const { return max_us_; }

  // The value below which p percent of the timed values lie (nearest rank), in microseconds.
  double Percentile(double p) const {
    if (count_ == 0) return 0;
    const auto rank = std::clamp<std::uint64_t>(
        static_cast<std::uint64_t>(std::ceil(p / 100.0 * static_cast<double>(count_))), 1, count_);
    std::uint64_t seen = 0;
    for (std::size_t i = 0; i < counts_.size(); ++i) {
      seen += counts_[i];
      if (seen >= rank) return std::min(Middle(i), max_us_ * 1000) / 1000;
    }
    return max_us_;
  }

 private:
  static constexpr int kExactBits = 8;  // values below 2^8 ns have a bucket each
  static constexpr int kSubBits = 7;    // then 2^7 buckets per doubling
  static constexpr std::uint64_t kLargest = (std::uint64_t{1} << 40) - 1;  // about 18 minutes
  static constexpr std::size_t kBuckets = (std::size_t{1} << kExactBits) + (40 - kExactBits) * (std::size_t{1} << kSubBits);

  static std::size_t Bucket(std::uint64_t ns) {
    if (ns < (std::uint64_t{1} << kExactBits)) return static_cast<std::size_t>(ns);
    const int shift = std::bit_width(ns) - 1 - kSubBits;  // >= 1
    const auto top = static_cast<std::size_t>(ns >> shift);  // 2^7 .. 2^8 - 1
    return (std::size_t{1} << kExactBits) + static_cast<std::size_t>(shift - 1) * (std::size_t{1} << kSubBits) +
           (top - (std::size_t{1} << kSubBits));
  }
  static double Middle(std::size_t bucket) {
    if (bucket < (std::size_t{1} << kExactBits)) return static_cast<double>(bucket);
    const std::size_t above = bucket - (std::size_t{1} << kExactBits);
    const int shift = static_cast<int>(above >> kSubBits) + 1;
    const double low = static_cast<double>(((above & ((1u << kSubBits) - 1)) + (1u << kSubBits))) * std::ldexp(1.0, shift);
    return low + std::ldexp(1.0, shift) / 2;
  }

  std::array<std::uint32_t, kBuckets> counts_{};
  std::uint64_t count_ = 0;
  double max_us_ = 0;
};

}  // namespace cn::bench
