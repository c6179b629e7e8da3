#pragma once
// Counters and latency histograms an operator scrapes, kept by name and labels and
// written in the Prometheus text format. Safe to use from every thread.

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <string_view>

namespace cn {

class Metrics {
 public:
  // Upper bounds of the latency buckets, in seconds.
  static constexpr std::array<double, 10> kBuckets = {0.0005, 0.001, 0.0025, 0.005, 0.01,
                                                      0.025,  0.05,  0.1,    0.5,   2.5};

  // `labels` is the text between the braces, for example command="X"; Label() quotes a value.
  void Count(std::string_view name, std::string_view help, const std::string& labels);
  void Observe(std::string_view name, std::string_view help, const std::string& labels,
               double seconds);
  // A value read when scraped (sessions open, connections in use).
  void Gauge(std::string_view name, std::string_view help, std::function<double()> read);

  std::string Render() const;

  static std::string Label(std::string_view name, std::string_view value);

 private:
  struct Series {
    std::uint64_t count = 0;
    double sum = 0;
    std::array<std::uint64_t, kBuckets.size()> buckets{};
  };
  struct Family {
    std::string help;
    bool histogram = false;
    std::map<std::string, Series> series;
    std::function<double()> gauge;
  };
  Family& FamilyOf(std::string_view name, std::string_view help, bool histogram);

  mutable std::mutex mutex_;
  std::map<std::string, Family, std::less<>> families_;
};

}  // namespace cn
