// Summaries of measured samples and the one CSV row format every bench command prints:
// group,item,variant,statistic,value,unit (scripts/bench gathers the rows into its table).
#pragma once

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace bench {

struct Summary {
  double median = 0.0;
  double p95 = 0.0;
  std::size_t count = 0;
};

// The median and the 95th percentile (nearest rank) of the samples; zeros for none.
inline Summary Summarise(std::vector<double> samples) {
  Summary summary;
  summary.count = samples.size();
  if (samples.empty()) return summary;
  std::sort(samples.begin(), samples.end());
  const std::size_t n = samples.size();
  summary.median = n % 2 == 1 ? samples[n / 2] : (samples[n / 2 - 1] + samples[n / 2]) / 2.0;
  const std::size_t rank = (95 * n + 99) / 100;  // ceil(0.95 n), at least 1
  summary.p95 = samples[std::max<std::size_t>(rank, 1) - 1];
  return summary;
}

inline void PrintRow(const std::string& group, const std::string& item, const std::string& variant,
                     const std::string& statistic, double value, const std::string& unit) {
  std::printf("%s,%s,%s,%s,%.6g,%s\n", group.c_str(), item.c_str(), variant.c_str(),
              statistic.c_str(), value, unit.c_str());
  std::fflush(stdout);
}

// Rows for the median and 95th percentile of per-frame seconds, in milliseconds, and the count.
inline void PrintFrameSummary(const std::string& group, const std::string& item,
                              const std::string& variant, const Summary& summary) {
  PrintRow(group, item, variant, "median", summary.median * 1e3, "ms");
  PrintRow(group, item, variant, "p95", summary.p95 * 1e3, "ms");
  PrintRow(group, item, variant, "frames", static_cast<double>(summary.count), "frames");
}

}  // namespace bench
