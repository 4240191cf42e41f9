// Runs this program again as a fresh process, for measurements that need one (start-up time,
// first use of fonts).
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace bench {

// Runs this executable with `arguments`, in the current folder, and returns its standard output;
// false (with *error set) when it cannot be started or does not exit with status 0.
bool RunSelf(const std::vector<std::string>& arguments, std::string* output, std::string* error);

// The median, per "group,item,variant,statistic" key, of the CSV rows in several outputs,
// printed as rows again in the order the keys first appear.
void PrintMedianRows(const std::vector<std::string>& outputs);

// Runs this executable `runs` times, each with the arguments `arguments()` gives just before it
// starts, and prints the medians of their rows; false (with *error set) when a run fails.
bool PrintMedianOfRuns(int runs, const std::function<std::vector<std::string>()>& arguments,
                       std::string* error);

}  // namespace bench
