#include "bench/frame/report.h"

#include <algorithm>
#include <cctype>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <sstream>
#include <tuple>

namespace bench {
namespace {

const char* const kScenarios[] = {"title", "countdown", "flight", "goal"};

std::string Format(const char* format, ...) {
  char text[256];
  va_list arguments;
  va_start(arguments, format);
  std::vsnprintf(text, sizeof text, format, arguments);
  va_end(arguments);
  return text;
}

class Figures {
 public:
  explicit Figures(const std::vector<ReportRow>& rows) {
    for (const ReportRow& row : rows) {
      values_[row.group + "|" + row.item + "|" + row.variant + "|" + row.statistic] = row.value;
    }
  }

  const double* Find(const std::string& key) const {
    const auto found = values_.find(key);
    return found == values_.end() ? nullptr : &found->second;
  }
  std::string Value(const std::string& key) const {
    const double* value = Find(key);
    return value ? Format("%.3f", *value) : "-";
  }
  // "median / p95" of a pair of statistics named `median` and `p95` after `prefix`.
  std::string Pair(const std::string& key, const char* median = "median",
                   const char* p95 = "p95") const {
    return Value(key + "|" + median) + " / " + Value(key + "|" + p95);
  }
  std::string Ratio(const std::string& numerator, const std::string& denominator) const {
    const double* a = Find(numerator);
    const double* b = Find(denominator);
    return a && b && *b > 0 ? Format("%.1fx", *a / *b) : "-";
  }

 private:
  std::map<std::string, double> values_;
};

// Compares names as version numbers: runs of digits by their value (raster/8 before raster/64).
bool NaturalLess(const std::string& a, const std::string& b) {
  std::size_t i = 0;
  std::size_t j = 0;
  while (i < a.size() && j < b.size()) {
    if (std::isdigit(static_cast<unsigned char>(a[i])) &&
        std::isdigit(static_cast<unsigned char>(b[j]))) {
      std::size_t endA = i;
      std::size_t endB = j;
      while (endA < a.size() && std::isdigit(static_cast<unsigned char>(a[endA]))) ++endA;
      while (endB < b.size() && std::isdigit(static_cast<unsigned char>(b[endB]))) ++endB;
      const unsigned long long numberA = std::strtoull(a.c_str() + i, nullptr, 10);
      const unsigned long long numberB = std::strtoull(b.c_str() + j, nullptr, 10);
      if (numberA != numberB) return numberA < numberB;
      i = endA;
      j = endB;
    } else {
      if (a[i] != b[j]) return a[i] < b[j];
      ++i;
      ++j;
    }
  }
  return a.size() - i < b.size() - j;
}

// Whether the text holds a size, WIDTHxHEIGHT: a digit, x, a digit.
bool NamesASize(const std::string& text) {
  for (std::size_t i = 1; i + 1 < text.size(); ++i) {
    if (text[i] == 'x' && std::isdigit(static_cast<unsigned char>(text[i - 1])) &&
        std::isdigit(static_cast<unsigned char>(text[i + 1]))) {
      return true;
    }
  }
  return false;
}

std::string Section(const std::vector<ReportRow>& rows, const char* heading,
                    const std::function<bool(const ReportRow&)>& wanted) {
  std::vector<const ReportRow*> chosen;
  for (const ReportRow& row : rows) {
    if (wanted(row)) chosen.push_back(&row);
  }
  std::stable_sort(chosen.begin(), chosen.end(), [](const ReportRow* a, const ReportRow* b) {
    if (a->item != b->item) return NaturalLess(a->item, b->item);
    // Then as the rows' text: variant, group, statistic.
    return std::tie(a->variant, a->group, a->statistic) <
           std::tie(b->variant, b->group, b->statistic);
  });
  std::string text = std::string(heading) + "\n";
  for (const ReportRow* row : chosen) {
    text += Format("  %-54s %-16s %12.4g %s\n", (row->item + " " + row->variant).c_str(),
                   row->statistic.c_str(), row->value, row->unit.c_str());
  }
  return text + "\n";
}

std::string ScenarioTable(const std::vector<ReportRow>& rows) {
  const Figures figures(rows);
  const char* const line =
      "%-10s %-15s %-12s %-12s %-15s %-15s %-15s %-15s %-15s %-10s %-10s %-10s %s\n";
  std::string text = Format(line, "scenario", "game opt", "window full", "window win", "game ref",
                            "playback opt", "playback ref", "llvmpipe 1thr", "llvmpipe dflt",
                            "lp1/opt", "ref/opt", "game ref/opt", "same pixels");
  for (const std::string scenario : kScenarios) {
    const double* differing =
        figures.Find("compare|" + scenario + "|optimised-reference|frames differing");
    const char* same = differing ? (*differing == 0 ? "yes" : "NO") : "-";
    text += Format(
        line, scenario.c_str(), figures.Pair("frame|" + scenario + "|optimised").c_str(),
        figures.Value("window|" + scenario + "|full screen|median").c_str(),
        figures.Value("window|" + scenario + "|window|median").c_str(),
        figures.Pair("frame|" + scenario + "|reference").c_str(),
        figures.Pair("playback|" + scenario + "|optimised").c_str(),
        figures.Pair("playback|" + scenario + "|reference").c_str(),
        figures.Pair("peer|" + scenario + "|llvmpipe-1-thread").c_str(),
        figures.Pair("peer|" + scenario + "|llvmpipe-default-threads", "wall median", "wall p95")
            .c_str(),
        figures
            .Ratio("peer|" + scenario + "|llvmpipe-1-thread|median",
                   "playback|" + scenario + "|optimised|median")
            .c_str(),
        figures
            .Ratio("playback|" + scenario + "|reference|median",
                   "playback|" + scenario + "|optimised|median")
            .c_str(),
        figures
            .Ratio("frame|" + scenario + "|reference|median",
                   "frame|" + scenario + "|optimised|median")
            .c_str(),
        same);
  }
  return text + "\n";
}

// Each run on several threads against the same run on one: how many times faster its median is,
// and how much more processor time all its threads take together (what the sharing costs).
std::string ThreadSpeedUps(const std::vector<ReportRow>& rows) {
  const Figures figures(rows);
  const std::string one = " 1 thread";
  std::string text;
  for (const ReportRow& row : rows) {
    if (row.group != "threads" || row.statistic != "median" || row.variant.ends_with(one)) {
      continue;
    }
    const std::size_t space = row.variant.rfind(' ', row.variant.size() - sizeof " threads");
    if (space == std::string::npos) continue;
    const std::string oneThread = row.variant.substr(0, space) + one;
    const std::string prefix = "threads|" + row.item + "|";
    const double* alone = figures.Find(prefix + oneThread + "|median");
    const double* aloneCpu = figures.Find(prefix + oneThread + "|all threads cpu");
    const double* allCpu = figures.Find(prefix + row.variant + "|all threads cpu");
    if (alone && row.value > 0) {
      text += Format("  %-54s %.2fx as fast as on one", (row.item + " " + row.variant).c_str(),
                     *alone / row.value);
      if (aloneCpu && allCpu && *aloneCpu > 0) {
        text += Format(", its threads' processor time %.2fx one's", *allCpu / *aloneCpu);
      }
      text += "\n";
    }
  }
  return text.empty() ? text : text + "\n";
}

}  // namespace

std::optional<ReportInput> ReadReport(std::istream& in, std::string* error) {
  ReportInput input;
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    if (line.empty() || line.rfind("group,", 0) == 0) continue;
    if (line[0] == '#') {
      if (input.title.empty()) input.title = line.substr(line.rfind("# ", 0) == 0 ? 2 : 1);
      continue;
    }
    std::vector<std::string> cells;
    std::stringstream stream(line);
    for (std::string cell; std::getline(stream, cell, ',');) cells.push_back(cell);
    if (line.back() == ',') cells.emplace_back();
    char* end = nullptr;
    const double value = cells.size() == 6 ? std::strtod(cells[4].c_str(), &end) : 0.0;
    if (cells.size() != 6 || cells[4].empty() || *end != '\0') {
      *error = "line " + std::to_string(number) + " is not a row of six cells with a number fifth";
      return std::nullopt;
    }
    input.rows.push_back({cells[0], cells[1], cells[2], cells[3], value, cells[5]});
  }
  return input;
}

std::string FormatReport(const ReportInput& input) {
  const std::vector<ReportRow>& rows = input.rows;
  std::string text = "Tirravel frame costs (" + input.title + ")\n\n";
  text +=
      "Milliseconds per frame, median / 95th percentile (processor time; llvmpipe with default\n"
      "threads: wall time). game = the whole game on the headless host; playback = the captured\n"
      "device calls of the same frames; ratios are of medians. window full / window win = the\n"
      "real game under Xvfb at 1920x1080, full screen / windowed: processor time of the whole\n"
      "process (all threads) per picture shown, median.\n";
  text += ScenarioTable(rows);
  text += Section(
      rows, "The whole game drawn at a render scale: ms per frame, one thread (processor time)",
      [](const ReportRow& row) { return row.group == "frame" && NamesASize(row.variant); });
  const bool baseline = std::any_of(rows.begin(), rows.end(), [](const ReportRow& row) {
    return row.variant == "optimised baseline";
  });
  if (baseline) {
    text += Section(rows, "This build beside the baseline build: ms per frame at 640x480, median",
                    [](const ReportRow& row) {
                      return row.group == "frame" && row.statistic == "median" &&
                             (row.variant == "optimised" || row.variant == "optimised baseline");
                    });
  }
  text += Section(rows, "The whole game on several drawing threads: ms per frame (wall time)",
                  [](const ReportRow& row) { return row.group == "threads"; });
  text += ThreadSpeedUps(rows);
  text += Section(rows, "Rasterizer scaling (processor time)",
                  [](const ReportRow& row) { return row.group == "raster"; });
  text += Section(rows, "Text: one DrawHudText call (first use: wall time; cached: processor time)",
                  [](const ReportRow& row) { return row.group == "text"; });
  text += Section(
      rows, "The real game's window: pictures shown per second",
      [](const ReportRow& row) { return row.group == "window" && row.statistic == "rate"; });
  text += Section(rows, "Start-up, memory, captures", [](const ReportRow& row) {
    return row.group == "startup" || row.group == "memory" || row.group == "capture" ||
           (row.group == "compare" && row.statistic.find("lit") != std::string::npos);
  });
  return text;
}

}  // namespace bench
