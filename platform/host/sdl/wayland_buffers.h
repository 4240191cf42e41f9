// The window-surface path on a Wayland display. SDL 2 has no framebuffer of its own there: its
// window surface is a texture drawn by OpenGL, which on a CPU rasterizer costs several times what
// the host's own scaling does. So the host hands the compositor shared-memory buffers itself, on
// the window's Wayland surface, and draws into them as into the window's surface elsewhere.
// Private to platform/host/sdl/.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <memory>

namespace platform::host::sdl {

// Memory a picture is drawn into: XRGB8888, `pitch` bytes a row.
struct BufferPixels {
  std::uint8_t* pixels = nullptr;
  int width = 0;
  int height = 0;
  int pitch = 0;
};

class WaylandBuffers {
 public:
  WaylandBuffers();
  ~WaylandBuffers();
  WaylandBuffers(WaylandBuffers&&) noexcept;
  WaylandBuffers& operator=(WaylandBuffers&&) noexcept;

  // Starts on the window's Wayland surface; false where the window is not on a Wayland display
  // or the compositor offers no shared memory.
  bool Start(SDL_Window* window);
  // Gives every buffer back; the surface keeps the last picture until something else is shown.
  void Stop();
  bool Started() const;

  // A buffer of the size, black where nothing was drawn into it yet, or none (pixels null)
  // while the compositor still holds every buffer of that size.
  BufferPixels Acquire(int width, int height);
  // Shows the buffer Acquire gave, telling the compositor only `changed` is new.
  bool Show(const SDL_Rect& changed);
  // Gives back the buffers, so that the next ones start black (the picture moved).
  void Clear();

 private:
  struct Connection;
  std::unique_ptr<Connection> connection_;
};

}  // namespace platform::host::sdl
