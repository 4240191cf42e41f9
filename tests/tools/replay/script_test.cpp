// The replay script and the command line: what is accepted, and the one-line errors for what is
// not, with the script's line number.
#include <gtest/gtest.h>

#include "tools/replay/options.h"
#include "tools/replay/replay_step.h"
#include "tools/replay/script.h"

namespace {

using replay::MessageKey;
using replay::ParseScript;
using replay::PolledKey;
using replay::ScriptCommand;

replay::PolledKeys Keys(std::initializer_list<PolledKey> keys) {
  replay::PolledKeys set;
  for (const PolledKey key : keys) set.set(static_cast<std::size_t>(key));
  return set;
}

std::string ErrorOf(const std::string& text) {
  std::string error;
  EXPECT_FALSE(ParseScript(text, &error).has_value()) << text;
  return error;
}

TEST(ReplayScript, ReadsCommandsSkippingCommentsAndBlankLines) {
  const auto script = ParseScript(
      "# a race\n"
      "\n"
      "frames 10 16\r\n"
      "  frames\t2 0 up  shift space # keys in any order\n"
      "message z\n"
      "   # only a comment\n"
      "frames 1 4294967295 left right left\n"
      "message escape\n"
      "message f12",
      nullptr);
  ASSERT_TRUE(script.has_value());
  const auto& commands = script->commands;
  ASSERT_EQ(commands.size(), 6u);
  EXPECT_EQ(commands[0].line, 3);
  EXPECT_EQ(commands[0].frameCount, 10u);
  EXPECT_EQ(commands[0].milliseconds, 16u);
  EXPECT_TRUE(commands[0].keys.none());
  EXPECT_EQ(commands[1].keys, Keys({PolledKey::Up, PolledKey::Space, PolledKey::Shift}));
  EXPECT_EQ(commands[1].milliseconds, 0u);
  EXPECT_EQ(commands[2].kind, ScriptCommand::Kind::Message);
  EXPECT_EQ(commands[2].message, MessageKey::Z);
  EXPECT_EQ(commands[3].milliseconds, 4294967295u);
  EXPECT_EQ(commands[3].keys, Keys({PolledKey::Left, PolledKey::Right}));
  EXPECT_EQ(commands[4].message, MessageKey::Escape);
  EXPECT_EQ(commands[5].line, 9);
  EXPECT_EQ(commands[5].message, MessageKey::F12);
  EXPECT_EQ(script->TotalFrames(), 13u);
}

TEST(ReplayScript, AnEmptyScriptHasNoFrames) {
  const auto script = ParseScript("# nothing\n\n", nullptr);
  ASSERT_TRUE(script.has_value());
  EXPECT_EQ(script->TotalFrames(), 0u);
}

TEST(ReplayScript, MistakesNameTheLineAndWhatIsWrong) {
  EXPECT_EQ(ErrorOf("frames 1 16\n\nfly 3\n"), "3: unknown command 'fly' (frames or message)");
  EXPECT_EQ(ErrorOf("frames 1 16 upp"), "1: unknown key 'upp' (up, left, right, space, shift)");
  EXPECT_EQ(ErrorOf("frames 1 16 Up"), "1: unknown key 'Up' (up, left, right, space, shift)");
  EXPECT_EQ(ErrorOf("frames 1 16 z"), "1: unknown key 'z' (up, left, right, space, shift)");
  EXPECT_EQ(ErrorOf("message up"), "1: unknown message key 'up' (z, escape, f12)");
  EXPECT_EQ(ErrorOf("message"), "1: message needs exactly one key: message KEY");
  EXPECT_EQ(ErrorOf("message z z"), "1: message needs exactly one key: message KEY");
  EXPECT_EQ(ErrorOf("frames 10"), "1: frames needs a count and milliseconds: frames N MS [KEY...]");
}

TEST(ReplayScript, NumbersAreWholeAndInRange) {
  const std::string count = "bad frame count '";
  const std::string ms = "bad milliseconds '";
  EXPECT_EQ(ErrorOf("frames 0 16"), "1: " + count + "0' (a whole number from 1)");
  EXPECT_EQ(ErrorOf("frames -1 16"), "1: " + count + "-1' (a whole number from 1)");
  EXPECT_EQ(ErrorOf("frames +1 16"), "1: " + count + "+1' (a whole number from 1)");
  EXPECT_EQ(ErrorOf("frames 1.5 16"), "1: " + count + "1.5' (a whole number from 1)");
  EXPECT_EQ(ErrorOf("frames 4294967296 16"), "1: " + count + "4294967296' (a whole number from 1)");
  const std::string range = "' (a whole number from 0 to 4294967295)";
  EXPECT_EQ(ErrorOf("frames 1 16ms"), "1: " + ms + "16ms" + range);
  EXPECT_EQ(ErrorOf("frames 1 -16"), "1: " + ms + "-16" + range);
  EXPECT_EQ(ErrorOf("frames 1 4294967296"), "1: " + ms + "4294967296" + range);
  EXPECT_EQ(ErrorOf("frames 1 99999999999999999999999"),
            "1: " + ms + "99999999999999999999999" + range);
}

TEST(ReplayScript, TheCursorGivesOneStepPerFrameWithTheMessagesBeforeIt) {
  const auto script = ParseScript(
      "message z\nframes 2 16 up\nmessage z\nmessage f12\n"
      "frames 1 0\nmessage escape\n",
      nullptr);
  ASSERT_TRUE(script.has_value());
  replay::ScriptCursor cursor(*script);
  const replay::ReplayStep first = cursor.Next();
  EXPECT_EQ(first.messages, std::vector<MessageKey>{MessageKey::Z});
  ASSERT_TRUE(first.frame.has_value());
  EXPECT_EQ(first.frame->keys, Keys({PolledKey::Up}));
  EXPECT_EQ(first.frame->milliseconds, 16u);
  const replay::ReplayStep second = cursor.Next();
  EXPECT_TRUE(second.messages.empty());
  ASSERT_TRUE(second.frame.has_value());
  const replay::ReplayStep third = cursor.Next();
  EXPECT_EQ(third.messages, (std::vector<MessageKey>{MessageKey::Z, MessageKey::F12}));
  ASSERT_TRUE(third.frame.has_value());
  EXPECT_TRUE(third.frame->keys.none());
  EXPECT_EQ(third.frame->milliseconds, 0u);
  const replay::ReplayStep ending = cursor.Next();
  EXPECT_EQ(ending.messages, std::vector<MessageKey>{MessageKey::Escape});
  EXPECT_FALSE(ending.frame.has_value());
  EXPECT_FALSE(cursor.Next().frame.has_value());
}

std::optional<replay::ReplayOptions> Options(std::vector<const char*> arguments,
                                             std::string* error = nullptr) {
  return replay::ParseOptions(static_cast<int>(arguments.size()), arguments.data(), error);
}

TEST(ReplayOptions, ReadsTheScriptTraceAndPictures) {
  const auto options =
      Options({"race.replay", "--png", "out", "--trace", "t.csv", "--frames", "200,1,50"});
  ASSERT_TRUE(options.has_value());
  EXPECT_EQ(options->script, "race.replay");
  EXPECT_EQ(options->trace, "t.csv");
  EXPECT_EQ(options->pngFolder, "out");
  EXPECT_EQ(options->pictures.mode, replay::PictureSelection::Mode::Listed);
  EXPECT_EQ(options->pictures.frames, (std::set<std::uint64_t>{1, 50, 200}));
  EXPECT_TRUE(options->pictures.Wants(50));
  EXPECT_FALSE(options->pictures.Wants(51));
  EXPECT_EQ(options->display.picturesPerSecond, 60);
  EXPECT_EQ(Options({"a.replay", "--rate", "144"})->display.picturesPerSecond, 144);

  const auto all = Options({"a.replay", "--png", "out", "--frames", "all"});
  ASSERT_TRUE(all.has_value());
  EXPECT_TRUE(all->pictures.Wants(12345));

  // Without --frames only the last frame's picture is written, after the run.
  const auto last = Options({"a.replay", "--png", "out"});
  ASSERT_TRUE(last.has_value());
  EXPECT_EQ(last->pictures.mode, replay::PictureSelection::Mode::Last);
  EXPECT_FALSE(last->pictures.Wants(1));
}

TEST(ReplayOptions, RefusesWhatItCannotDo) {
  std::string error;
  EXPECT_FALSE(Options({}, &error));
  EXPECT_EQ(error, "no script given");
  EXPECT_FALSE(Options({"a.replay", "b.replay"}, &error));
  EXPECT_EQ(error, "more than one script given: b.replay");
  EXPECT_FALSE(Options({"a.replay", "--fast"}, &error));
  EXPECT_EQ(error, "unknown option --fast");
  EXPECT_FALSE(Options({"a.replay", "--trace"}, &error));
  EXPECT_EQ(error, "--trace needs a value");
  EXPECT_FALSE(Options({"a.replay", "--png", ""}, &error));
  EXPECT_EQ(error, "--png needs a value");
  for (const char* rate : {"0", "1001", "60.5", "display", ""}) {
    EXPECT_FALSE(Options({"a.replay", "--rate", rate}, &error)) << rate;
  }
  EXPECT_EQ(error, "--rate needs a value");
  EXPECT_FALSE(Options({"a.replay", "--rate", "display"}, &error));
  EXPECT_EQ(error, "bad --rate 'display' (pictures a second, a whole number from 1 to 1000)");
  EXPECT_FALSE(Options({"a.replay", "--frames", "1"}, &error));
  EXPECT_EQ(error, "--frames needs --png");
  for (const char* list : {"0", "1,,2", "1,", ",1", "a", "-3", "1 2", "ALL"}) {
    EXPECT_FALSE(Options({"a.replay", "--png", "p", "--frames", list}, &error)) << list;
    EXPECT_EQ(error, std::string("bad --frames '") + list +
                         "' (frame numbers from 1 with commas, or all)");
  }
}

}  // namespace
