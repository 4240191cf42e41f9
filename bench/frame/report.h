// The table scripts/bench prints: the rows every bench command printed (statistics.h's CSV),
// gathered in one file, as one table of the scenarios' frame costs beside each other and a
// section for each of the other groups.
#pragma once

#include <istream>
#include <optional>
#include <string>
#include <vector>

namespace bench {

struct ReportRow {
  std::string group;
  std::string item;
  std::string variant;
  std::string statistic;
  double value = 0.0;
  std::string unit;
};

struct ReportInput {
  std::string title;  // the file's first line after "# ": where and when it was measured
  std::vector<ReportRow> rows;
};

// Reads a bench CSV: the "# " title line, the column names' line and the rows. Nothing, with
// *error naming the line, for a row that is not six cells with a number fifth.
std::optional<ReportInput> ReadReport(std::istream& in, std::string* error);

// The whole table. A figure no row gives is shown as "-"; a later row of the same group, item,
// variant and statistic replaces an earlier one.
std::string FormatReport(const ReportInput& input);

}  // namespace bench
