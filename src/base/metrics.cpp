#include "base/metrics.h"

#include <cstdio>

namespace cn {
namespace {

std::string Number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.9g", value);
  return text;
}

std::string Braced(const std::string& labels, const std::string& more = {}) {
  std::string inside = labels;
  if (!more.empty()) inside += (inside.empty() ? "" : ",") + more;
  return inside.empty() ? std::string() : "{" + inside + "}";
}

}  // namespace

std::string Metrics::Label(std::string_view name, std::string_view value) {
  std::string text = std::string(name) + "=\"";
  for (const char c : value) {
    if (c == '\\' || c == '"') text += '\\';
    text += c == '\n' ? 'n' : c;
  }
  return text + "\"";
}

Metrics::Family& Metrics::FamilyOf(std::string_view name, std::string_view help, bool histogram) {
  auto found = families_.find(name);
  if (found == families_.end()) {
    found =
        families_.emplace(std::string(name), Family{std::string(help), histogram, {}, {}}).first;
  }
  return found->second;
}

void Metrics::Count(std::string_view name, std::string_view help, const std::string& labels) {
  const std::lock_guard lock(mutex_);
  ++FamilyOf(name, help, false).series[labels].count;
}

void Metrics::Observe(std::string_view name, std::string_view help, const std::string& labels,
                      double seconds) {
  const std::lock_guard lock(mutex_);
  Series& series = FamilyOf(name, help, true).series[labels];
  ++series.count;
  series.sum += seconds;
  for (std::size_t i = 0; i < kBuckets.size(); ++i) {
    if (seconds <= kBuckets[i]) ++series.buckets[i];
  }
}

void Metrics::Gauge(std::string_view name, std::string_view help, std::function<double()> read) {
  const std::lock_guard lock(mutex_);
  FamilyOf(name, help, false).gauge = std::move(read);
}

std::string Metrics::Render() const {
  const std::lock_guard lock(mutex_);
  std::string text;
  for (const auto& [name, family] : families_) {
    const char* type = family.gauge ? "gauge" : family.histogram ? "histogram" : "counter";
    text += "# HELP " + name + " " + family.help + "\n# TYPE " + name + " " + type + "\n";
    if (family.gauge) {
      text += name + " " + Number(family.gauge()) + "\n";
      continue;
    }
    for (const auto& [labels, series] : family.series) {
      if (!family.histogram) {
        text += name + Braced(labels) + " " + std::to_string(series.count) + "\n";
        continue;
      }
      for (std::size_t i = 0; i < kBuckets.size(); ++i) {
        text += name + "_bucket" + Braced(labels, Label("le", Number(kBuckets[i]))) + " " +
                std::to_string(series.buckets[i]) + "\n";
      }
      text += name + "_bucket" + Braced(labels, "le=\"+Inf\"") + " " +
              std::to_string(series.count) + "\n";
      text += name + "_sum" + Braced(labels) + " " + Number(series.sum) + "\n";
      text += name + "_count" + Braced(labels) + " " + std::to_string(series.count) + "\n";
    }
  }
  return text;
}

}  // namespace cn
