#include "platform/host/headless/headless_host.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "platform/api/win32.h"
#include "tests/support/temp_folder.h"

namespace {

namespace headless = platform::host::headless;
namespace host = platform::host;
using Type = host::Event::Type;

std::vector<std::uint16_t> Picture(std::uint16_t colour, int width = 4, int height = 3) {
  return std::vector<std::uint16_t>(static_cast<std::size_t>(width) * height, colour);
}

std::vector<host::Event> DrainEvents() {
  std::vector<host::Event> events;
  host::Event event;
  while (host::PollEvent(event)) events.push_back(event);
  return events;
}

bool Same(const host::Event& a, const host::Event& b) {
  return a.type == b.type && a.virtualKey == b.virtualKey && a.repeat == b.repeat;
}

TEST(HeadlessHost, ClockMovesOnlyWhenTold) {
  headless::Reset({.startTick = 100});
  EXPECT_EQ(host::TickMilliseconds(), 100u);
  EXPECT_EQ(host::TickMilliseconds(), 100u);
  headless::AdvanceClock(5);
  const auto picture = Picture(0);
  host::Present(picture.data(), 4, 3, 8);
  EXPECT_EQ(host::TickMilliseconds(), 105u);
}

TEST(HeadlessHost, KeepsTheLatestPicturesWithTheirNumbers) {
  headless::Reset({.framesKept = 2});
  EXPECT_EQ(headless::LastFrame(), nullptr);
  // A padded picture: the row pitch is wider than the picture.
  std::vector<std::uint16_t> padded(6 * 3, 0xFFFF);
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 4; ++x) padded[static_cast<std::size_t>(y) * 6 + x] = 0x1234;
  }
  for (int i = 0; i < 3; ++i) host::Present(padded.data(), 4, 3, 12);
  EXPECT_EQ(headless::PresentedFrames(), 3u);
  ASSERT_EQ(headless::KeptFrames().size(), 2u);
  EXPECT_EQ(headless::KeptFrames()[0].number, 2u);
  const headless::Frame* last = headless::LastFrame();
  ASSERT_NE(last, nullptr);
  EXPECT_EQ(last->number, 3u);
  EXPECT_EQ(last->pixels, Picture(0x1234));

  const TempFolder folder;
  const std::string path = folder.File("frame.png");
  std::string error;
  EXPECT_TRUE(headless::WriteFramePng(*last, path, &error)) << error;
  EXPECT_GT(std::filesystem::file_size(path), 0u);
}

TEST(HeadlessHost, KeepsNoPictureWhenToldToKeepNone) {
  headless::Reset({.framesKept = 0});
  std::vector<std::uint16_t> picture(4 * 3, 0x1234);
  for (int i = 0; i < 2; ++i) host::Present(picture.data(), 4, 3, 8);
  EXPECT_EQ(headless::PresentedFrames(), 2u);
  EXPECT_TRUE(headless::KeptFrames().empty());
  EXPECT_EQ(headless::LastFrame(), nullptr);
}

TEST(HeadlessHost, ScheduledEventsComeDueWithTheirFrame) {
  headless::Reset();
  std::vector<std::uint64_t> observed;
  headless::SetPresentObserver([&](std::uint64_t frame) { observed.push_back(frame); });
  headless::ScheduleEvent(2, {Type::KeyDown, 'A', false});
  headless::ScheduleEvent(1, {Type::KeyDown, 'B', false});
  headless::ScheduleEvent(2, {Type::Close, 0, false});
  headless::ScheduleEvent(0, {Type::KeyDown, 'C', false});  // due at once
  EXPECT_EQ(DrainEvents().size(), 1u);

  const auto picture = Picture(0);
  host::Present(picture.data(), 4, 3, 8);
  auto events = DrainEvents();
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].virtualKey, 'B');
  host::Present(picture.data(), 4, 3, 8);
  events = DrainEvents();
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[0].virtualKey, 'A');
  EXPECT_EQ(events[1].type, Type::Close);
  EXPECT_EQ(observed, (std::vector<std::uint64_t>{1, 2}));
}

TEST(HeadlessHost, KeysArePassedOnAsTheSdlHostWould) {
  headless::Reset();
  headless::QueueKeyUp('Q');  // never down: dropped
  headless::QueueKeyDown('Q');
  headless::QueueKeyDown('Q');                       // held already: a repeat
  headless::QueueEvent({Type::KeyDown, 'W', true});  // a repeat of a key not down: a press
  headless::QueueKeyDown(VK_SPACE);
  headless::LoseFocus();
  headless::QueueKeyDown(VK_UP);  // after the focus loss: not released by it
  const std::vector<host::Event> expected = {
      {Type::KeyDown, 'Q', false},      {Type::KeyDown, 'Q', true},     {Type::KeyDown, 'W', false},
      {Type::KeyDown, VK_SPACE, false}, {Type::KeyUp, VK_SPACE, false}, {Type::KeyUp, 'Q', false},
      {Type::KeyUp, 'W', false},        {Type::KeyDown, VK_UP, false}};
  const auto events = DrainEvents();
  ASSERT_EQ(events.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_TRUE(Same(events[i], expected[i])) << i;
  }
}

TEST(HeadlessHost, WindowOpensHiddenAndCanBeRefused) {
  headless::Reset();
  std::string error;
  ASSERT_TRUE(host::OpenWindow("Title", 640, 480, &error));
  EXPECT_TRUE(host::WindowIsOpen());
  EXPECT_FALSE(headless::WindowVisible());
  host::SetWindowVisible(true);
  EXPECT_TRUE(headless::WindowVisible());
  EXPECT_EQ(headless::WindowTitle(), "Title");
  host::CloseWindow();
  EXPECT_FALSE(host::WindowIsOpen());

  headless::Reset({.displayAvailable = false});
  EXPECT_FALSE(host::OpenWindow("Title", 640, 480, &error));
  EXPECT_NE(error.find("no display"), std::string::npos);
}

}  // namespace
