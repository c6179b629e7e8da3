#include "base/metrics.h"

#include <gtest/gtest.h>

namespace cn {
namespace {

// What a Prometheus scrape reads: cumulative buckets, sum and count per label set, counters
// with escaped label values, and gauges read at the scrape.
TEST(Metrics, RendersCumulativeHistogramsCountersAndGauges) {
  Metrics metrics;
  const std::string read_admin = Metrics::Label("command", "KivoGIUWR.CoverNote.ReadAdmin");
  metrics.Observe("cmd_seconds", "Commands", read_admin, 0.0003);
  metrics.Observe("cmd_seconds", "Commands", read_admin, 0.3);
  metrics.Count("refused_total", "Refused", Metrics::Label("user", "a\"b"));
  metrics.Count("refused_total", "Refused", Metrics::Label("user", "a\"b"));
  int sessions = 3;
  metrics.Gauge("sessions_open", "Sessions", [&sessions] { return sessions; });
  sessions = 5;
  const std::string text = metrics.Render();
  for (const char* line : {
           "# TYPE cmd_seconds histogram\n",
           "cmd_seconds_bucket{command=\"KivoGIUWR.CoverNote.ReadAdmin\",le=\"0.0005\"} 1\n",
           "cmd_seconds_bucket{command=\"KivoGIUWR.CoverNote.ReadAdmin\",le=\"0.1\"} 1\n",
           "cmd_seconds_bucket{command=\"KivoGIUWR.CoverNote.ReadAdmin\",le=\"0.5\"} 2\n",
           "cmd_seconds_bucket{command=\"KivoGIUWR.CoverNote.ReadAdmin\",le=\"+Inf\"} 2\n",
           "cmd_seconds_sum{command=\"KivoGIUWR.CoverNote.ReadAdmin\"} 0.3003\n",
           "cmd_seconds_count{command=\"KivoGIUWR.CoverNote.ReadAdmin\"} 2\n",
           "# TYPE refused_total counter\nrefused_total{user=\"a\\\"b\"} 2\n",
           "# TYPE sessions_open gauge\nsessions_open 5\n",
       }) {
    EXPECT_NE(text.find(line), std::string::npos) << line << "in\n" << text;
  }
}

}  // namespace
}  // namespace cn
