#include "platform/host/sdl/wayland_buffers.h"

#include <SDL_syswm.h>
#include <poll.h>
#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>

#include <array>
#include <cstring>

namespace platform::host::sdl {
namespace {

// Three buffers: one on the screen, one the compositor may still be reading, one to draw into.
constexpr std::size_t kBufferCount = 3;

struct Buffer {
  wl_buffer* buffer = nullptr;
  std::uint8_t* pixels = nullptr;
  int width = 0;
  int height = 0;
  std::size_t bytes = 0;
  bool withCompositor = false;  // attached and not yet released
};

void Released(void* data, wl_buffer*) {
  static_cast<Buffer*>(data)->withCompositor = false;
}
const wl_buffer_listener kBufferListener{Released};

void Destroy(Buffer& buffer) {
  if (buffer.buffer) wl_buffer_destroy(buffer.buffer);
  if (buffer.pixels) munmap(buffer.pixels, buffer.bytes);
  buffer = Buffer{};
}

}  // namespace

// The host's own queue on SDL's connection, so that the buffers' events wait for the host
// rather than run inside SDL's event handling.
struct WaylandBuffers::Connection {
  wl_display* display = nullptr;
  wl_surface* surface = nullptr;
  wl_event_queue* queue = nullptr;
  wl_display* displayOnQueue = nullptr;  // a wrapper of the display whose objects use `queue`
  wl_registry* registry = nullptr;
  wl_shm* shm = nullptr;
  std::array<Buffer, kBufferCount> buffers;
  Buffer* acquired = nullptr;

  ~Connection() {
    for (Buffer& buffer : buffers) Destroy(buffer);
    if (shm) wl_shm_destroy(shm);
    if (registry) wl_registry_destroy(registry);
    if (displayOnQueue) wl_proxy_wrapper_destroy(displayOnQueue);
    if (queue) wl_event_queue_destroy(queue);
  }

  // Takes in what the compositor sent without waiting for more: released buffers.
  void TakeEvents() {
    while (wl_display_prepare_read_queue(display, queue) != 0) {
      wl_display_dispatch_queue_pending(display, queue);
    }
    wl_display_flush(display);
    pollfd readable{wl_display_get_fd(display), POLLIN, 0};
    if (poll(&readable, 1, 0) > 0) {
      wl_display_read_events(display);
    } else {
      wl_display_cancel_read(display);
    }
    wl_display_dispatch_queue_pending(display, queue);
  }

  bool Make(Buffer& buffer, int width, int height) {
    const int pitch = width * 4;
    const std::size_t bytes = static_cast<std::size_t>(pitch) * static_cast<std::size_t>(height);
    const int file = memfd_create("tirravel-picture", MFD_CLOEXEC);
    if (file < 0) return false;
    void* memory = MAP_FAILED;
    if (ftruncate(file, static_cast<off_t>(bytes)) == 0) {
      memory = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_SHARED, file, 0);
    }
    if (memory == MAP_FAILED) {
      close(file);
      return false;
    }
    wl_shm_pool* pool = wl_shm_create_pool(shm, file, static_cast<std::int32_t>(bytes));
    buffer.buffer =
        wl_shm_pool_create_buffer(pool, 0, width, height, pitch, WL_SHM_FORMAT_XRGB8888);
    wl_shm_pool_destroy(pool);
    close(file);
    buffer.pixels = static_cast<std::uint8_t*>(memory);
    buffer.width = width;
    buffer.height = height;
    buffer.bytes = bytes;
    buffer.withCompositor = false;
    if (!buffer.buffer) {
      Destroy(buffer);
      return false;
    }
    wl_buffer_add_listener(buffer.buffer, &kBufferListener, &buffer);
    return true;
  }

  // The compositor's globals: only its shared memory is wanted.
  static void Announced(void* data, wl_registry* registry, std::uint32_t name,
                        const char* interface, std::uint32_t) {
    auto* connection = static_cast<Connection*>(data);
    if (!connection->shm && std::strcmp(interface, wl_shm_interface.name) == 0) {
      connection->shm =
          static_cast<wl_shm*>(wl_registry_bind(registry, name, &wl_shm_interface, 1));
    }
  }
  static void Withdrawn(void*, wl_registry*, std::uint32_t) {}
  static constexpr wl_registry_listener kRegistryListener{Announced, Withdrawn};
};

WaylandBuffers::WaylandBuffers() = default;
WaylandBuffers::~WaylandBuffers() = default;
WaylandBuffers::WaylandBuffers(WaylandBuffers&&) noexcept = default;
WaylandBuffers& WaylandBuffers::operator=(WaylandBuffers&&) noexcept = default;

bool WaylandBuffers::Start(SDL_Window* window) {
  Stop();
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!window || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_WAYLAND ||
      !info.info.wl.display || !info.info.wl.surface) {
    return false;
  }
  auto connection = std::make_unique<Connection>();
  connection->display = info.info.wl.display;
  connection->surface = info.info.wl.surface;
  connection->queue = wl_display_create_queue(connection->display);
  connection->displayOnQueue =
      static_cast<wl_display*>(wl_proxy_create_wrapper(connection->display));
  if (!connection->queue || !connection->displayOnQueue) return false;
  wl_proxy_set_queue(reinterpret_cast<wl_proxy*>(connection->displayOnQueue), connection->queue);
  connection->registry = wl_display_get_registry(connection->displayOnQueue);
  if (!connection->registry) return false;
  wl_registry_add_listener(connection->registry, &Connection::kRegistryListener, connection.get());
  if (wl_display_roundtrip_queue(connection->display, connection->queue) < 0 || !connection->shm) {
    return false;
  }
  connection_ = std::move(connection);
  return true;
}

void WaylandBuffers::Stop() {
  connection_.reset();
}

bool WaylandBuffers::Started() const {
  return connection_ != nullptr;
}

BufferPixels WaylandBuffers::Acquire(int width, int height) {
  if (!connection_ || width <= 0 || height <= 0) return {};
  Connection& connection = *connection_;
  connection.TakeEvents();
  connection.acquired = nullptr;
  Buffer* unused = nullptr;
  for (Buffer& buffer : connection.buffers) {
    if (buffer.buffer && (buffer.width != width || buffer.height != height)) Destroy(buffer);
    if (!buffer.buffer) {
      if (!unused) unused = &buffer;
    } else if (!buffer.withCompositor) {
      connection.acquired = &buffer;
      break;
    }
  }
  if (!connection.acquired && unused && connection.Make(*unused, width, height)) {
    connection.acquired = unused;
  }
  if (!connection.acquired) return {};
  return {connection.acquired->pixels, width, height, width * 4};
}

bool WaylandBuffers::Show(const SDL_Rect& changed) {
  if (!connection_ || !connection_->acquired) return false;
  Connection& connection = *connection_;
  Buffer& buffer = *connection.acquired;
  connection.acquired = nullptr;
  wl_surface_attach(connection.surface, buffer.buffer, 0, 0);
  wl_surface_damage(connection.surface, changed.x, changed.y, changed.w, changed.h);
  wl_surface_commit(connection.surface);
  buffer.withCompositor = true;
  return wl_display_flush(connection.display) >= 0;
}

void WaylandBuffers::Clear() {
  if (!connection_) return;
  for (Buffer& buffer : connection_->buffers) Destroy(buffer);
  connection_->acquired = nullptr;
}

}  // namespace platform::host::sdl
