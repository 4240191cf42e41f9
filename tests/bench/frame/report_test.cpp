// The bench's table from the rows of a run: the figures land in their scenario's columns, missing
// ones show as "-", sections sort their items as numbers, and a bad row is refused by its line.
#include <gtest/gtest.h>

#include <sstream>

#include "bench/frame/report.h"

namespace {

std::optional<bench::ReportInput> Read(const std::string& text, std::string* error) {
  std::istringstream in(text);
  return bench::ReadReport(in, error);
}

std::string LineStartingWith(const std::string& text, const std::string& start) {
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (line.rfind(start, 0) == 0) return line;
  }
  return "";
}

TEST(BenchReport, FiguresLandInTheirColumnsAndSectionsSortAsNumbers) {
  std::string error;
  const auto input = Read(
      "# commit abc, 2 CPUs\n"
      "group,item,variant,statistic,value,unit\n"
      "frame,title,optimised,median,2,ms\n"
      "frame,title,optimised,p95,3.5,ms\n"
      "frame,title,reference,median,7,ms\n"
      "frame,title,reference,median,9,ms\n"
      "compare,title,optimised-reference,frames differing,0,frames\n"
      "compare,goal,optimised-reference,frames differing,2,frames\n"
      "raster,coverage/64,cpu,rate,1.5,Mpixels/s\n"
      "raster,coverage/8,cpu,rate,12.25,Mpixels/s\n"
      "window,title,full screen,median,4,ms per picture\n"
      "window,title,full screen,rate,60,pictures/s\n"
      "threads,flight,optimised 1440x1080 1 thread,median,9,ms\n"
      "threads,flight,optimised 1440x1080 2 threads,median,5,ms\n"
      "threads,flight,optimised 1440x1080 1 thread,all threads cpu,8,ms\n"
      "threads,flight,optimised 1440x1080 2 threads,all threads cpu,8.4,ms\n"
      "threads,title,optimised 2880x2160 2 threads,median,7,ms\n",
      &error);
  ASSERT_TRUE(input) << error;
  EXPECT_EQ(input->title, "commit abc, 2 CPUs");
  const std::string table = bench::FormatReport(*input);
  EXPECT_EQ(table.rfind("Tirravel frame costs (commit abc, 2 CPUs)\n", 0), 0u);

  std::istringstream title(LineStartingWith(table, "title "));
  std::vector<std::string> words;
  for (std::string word; title >> word;) words.push_back(word);
  // title, game opt (median / p95), window full, window win, game ref (the later row), ...
  ASSERT_GE(words.size(), 13u);
  EXPECT_EQ(
      std::vector<std::string>(words.begin(), words.begin() + 9),
      (std::vector<std::string>{"title", "2.000", "/", "3.500", "4.000", "-", "9.000", "/", "-"}));
  EXPECT_EQ(words.back(), "yes");
  EXPECT_EQ(words[words.size() - 2], "4.5x") << "game ref/opt, of medians";
  EXPECT_EQ(LineStartingWith(table, "goal ").substr(LineStartingWith(table, "goal ").size() - 2),
            "NO");
  EXPECT_EQ(LineStartingWith(table, "countdown ").back(), '-');

  const std::size_t small = table.find("coverage/8 cpu");
  const std::size_t large = table.find("coverage/64 cpu");
  ASSERT_NE(small, std::string::npos);
  EXPECT_LT(small, large);
  EXPECT_NE(table.find("12.25 Mpixels/s"), std::string::npos);
  EXPECT_NE(table.find("60 pictures/s"), std::string::npos);
  EXPECT_EQ(table.find("ms per picture"), std::string::npos) << "only the window's rates listed";
  EXPECT_NE(table.find("flight optimised 1440x1080 2 threads"), std::string::npos);
  const std::size_t speedUp =
      table.find("1.80x as fast as on one, its threads' processor time 1.05x one's");
  EXPECT_NE(speedUp, std::string::npos);
  EXPECT_EQ(table.find("as fast", speedUp + 8), std::string::npos)
      << "no speed-up without a run on one thread";
}

TEST(BenchReport, ARowThatIsNotSixCellsWithANumberIsRefusedByItsLine) {
  for (const char* bad : {"frame,title,optimised,median,fast,ms\n", "frame,title,median,2,ms\n",
                          "frame,title,optimised,median,,ms\n"}) {
    std::string error;
    EXPECT_FALSE(Read(std::string("# t\nframe,goal,optimised,median,1,ms\n") + bad, &error)) << bad;
    EXPECT_NE(error.find("line 3"), std::string::npos) << error;
  }
}

}  // namespace
