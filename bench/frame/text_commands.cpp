// The cost of the text overlay: one DrawHudText call at the heights the game uses, on a 640 × 480
// RGB 565 surface, the first time (fonts found, realised, glyphs rendered) and cached.
#include <cstdio>
#include <cstring>

#include "bench/frame/child_process.h"
#include "bench/frame/commands.h"
#include "bench/frame/game_run.h"
#include "bench/frame/statistics.h"
#include "platform/api/ddraw.h"
#include "record/game_globals.h"
#include "record/screen_texts.h"
#include "render/hud_text.h"

namespace bench {
namespace {

constexpr int kTextRuns = 7;       // fresh processes, for the first-use figures
constexpr int kCachedCalls = 400;  // calls per height once cached

// A DirectDraw object and a 640 × 480 RGB 565 surface standing in for the back buffer.
class TextSurface {
 public:
  bool Create() {
    IDirectDraw* first = nullptr;
    if (DirectDrawCreate(nullptr, &first, nullptr) != DD_OK) return false;
    first->QueryInterface(IID_IDirectDraw2, reinterpret_cast<LPVOID*>(&directDraw_));
    first->Release();
    const HWND window = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(0x7e91a8));
    if (!directDraw_ || directDraw_->SetCooperativeLevel(window, DDSCL_NORMAL) != DD_OK) {
      return false;
    }
    DDSURFACEDESC description;
    std::memset(&description, 0, sizeof description);
    description.dwSize = DDSURFACEDESC_SIZE;
    description.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
    description.dwWidth = 640;
    description.dwHeight = 480;
    description.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY;
    description.ddpfPixelFormat = {DDPIXELFORMAT_SIZE, DDPF_RGB, 0, 16, 0xF800, 0x07E0, 0x001F, 0};
    if (directDraw_->CreateSurface(&description, &surface_, nullptr) != DD_OK) return false;
    return surface_->QueryInterface(IID_IDirectDrawSurface3,
                                    reinterpret_cast<LPVOID*>(&globals.backBuffer)) == DD_OK;
  }
  ~TextSurface() {
    if (globals.backBuffer) globals.backBuffer->Release();
    globals.backBuffer = nullptr;
    if (surface_) surface_->Release();
    if (directDraw_) directDraw_->Release();
  }

 private:
  IDirectDraw2* directDraw_ = nullptr;
  IDirectDrawSurface* surface_ = nullptr;
};

// Milliseconds of wall time one call takes.
double TimeCall(const char* text, int height) {
  const double start = WallSeconds();
  DrawHudText(text, height, 20, 100, 255, 180, 0, 0);
  return (WallSeconds() - start) * 1e3;
}

}  // namespace

int TextCommand(const Arguments& arguments) {
  if (!arguments.empty()) return Fail("text takes no arguments");
  std::string error;
  const auto childArguments = [] { return std::vector<std::string>{"text-child"}; };
  return PrintMedianOfRuns(kTextRuns, childArguments, &error) ? 0 : Fail(error);
}

int TextChildCommand(const Arguments&) {
  TextSurface surface;
  if (!surface.Create()) return Fail("no surface to draw text on");
  // The process's first text finds the faces through fontconfig and opens them.
  PrintRow("text", "first text of the process", "height 50", "first use",
           TimeCall(kTextSpeedFormat, 50), "ms");
  struct Case {
    int height;
    const char* text;
    const char* name;
  };
  const Case cases[] = {{30, kTextGiveUpHint, "give-up hint"},
                        {80, "TIME      35", "result time"},
                        {200, kTextCountStart, "START"}};
  for (const Case& c : cases) {
    const std::string variant = "height " + std::to_string(c.height) + " " + c.name;
    PrintRow("text", "DrawHudText", variant, "first use", TimeCall(c.text, c.height), "ms");
    std::vector<double> cached;
    for (int call = 0; call < kCachedCalls; ++call) {
      const double start = ThreadCpuSeconds();
      DrawHudText(c.text, c.height, 20, 100, 255, 180, 0, 0);
      cached.push_back(ThreadCpuSeconds() - start);
    }
    PrintRow("text", "DrawHudText", variant, "cached", Summarise(cached).median * 1e3, "ms");
  }
  return 0;
}

}  // namespace bench
