#include "display/x11/x11_surface.h"

#include <sys/ipc.h>
#include <sys/shm.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <cstdlib>

#include "display/host/x11/x11_host.h"
#include "platform/memory.h"

namespace zv {

namespace {

// Attaching fails on a server on another machine; the error arrives asynchronously.
bool create_shared(X11Surface* s, Display* d, Visual* visual, int depth, int32_t width, int32_t height) {
  // The blitters write this machine's byte order, which the server must share to read it directly.
  if (!XShmQueryExtension(d) || ImageByteOrder(d) != LSBFirst) return false;
  s->image = XShmCreateImage(d, visual, static_cast<unsigned>(depth), ZPixmap, nullptr, &s->shm,
                             static_cast<unsigned>(width), static_cast<unsigned>(height));
  if (!s->image) return false;
  size_t bytes = static_cast<size_t>(s->image->bytes_per_line) * static_cast<size_t>(height);
  s->shm.shmid = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
  if (s->shm.shmid >= 0) {
    s->shm.shmaddr = static_cast<char*>(shmat(s->shm.shmid, nullptr, 0));
    if (s->shm.shmaddr == reinterpret_cast<char*>(-1)) s->shm.shmaddr = nullptr;
  }
  if (s->shm.shmaddr) {
    s->image->data = s->shm.shmaddr;
    s->shm.readOnly = False;
    x11_take_error();
    XShmAttach(d, &s->shm);
    XSync(d, False);
    s->uses_shm = x11_take_error() == 0;
  }
  // Once both sides are attached, removal waits for the last detach.
  if (s->shm.shmid >= 0) shmctl(s->shm.shmid, IPC_RMID, nullptr);
  if (s->uses_shm) return true;
  if (s->shm.shmaddr) shmdt(s->shm.shmaddr);
  s->image->data = nullptr;
  XDestroyImage(s->image);
  s->image = nullptr;
  s->shm = XShmSegmentInfo{};
  return false;
}

bool create_plain(X11Surface* s, Display* d, Visual* visual, int depth, int32_t width, int32_t height) {
  s->image = XCreateImage(d, visual, static_cast<unsigned>(depth), ZPixmap, 0, nullptr, static_cast<unsigned>(width),
                          static_cast<unsigned>(height), 32, 0);
  if (!s->image) return false;
  s->image->byte_order = LSBFirst;  // Xlib reorders for the server as needed
  s->image->data = static_cast<char*>(platform::mem_calloc(static_cast<size_t>(height), static_cast<size_t>(s->image->bytes_per_line)));
  if (s->image->data) return true;
  XDestroyImage(s->image);
  s->image = nullptr;
  return false;
}

}  // namespace

bool surface_create(X11Surface* s, Display* d, Visual* visual, int depth, Drawable target, int32_t width,
                    int32_t height) {
  *s = X11Surface{};
  if (width <= 0 || height <= 0) return false;
  if (!create_shared(s, d, visual, depth, width, height) && !create_plain(s, d, visual, depth, width, height)) {
    return false;
  }
  s->gc = XCreateGC(d, target, 0, nullptr);
  return true;
}

void surface_destroy(X11Surface* s, Display* d) {
  if (s->gc) XFreeGC(d, s->gc);
  if (s->image) {
    if (s->uses_shm) {
      XShmDetach(d, &s->shm);
      XSync(d, False);
      shmdt(s->shm.shmaddr);
      s->image->data = nullptr;
    }
    XDestroyImage(s->image);  // frees the plain image's data too
  }
  *s = X11Surface{};
}

void surface_put_area(X11Surface* s, Display* d, Drawable target, int32_t x, int32_t y, int32_t width,
                      int32_t height, bool last) {
  if (!s->image) return;
  x = std::max(x, 0);
  y = std::max(y, 0);
  width = std::min(width, s->image->width - x);
  height = std::min(height, s->image->height - y);
  if (width > 0 && height > 0) {
    const unsigned w = static_cast<unsigned>(width), h = static_cast<unsigned>(height);
    if (s->uses_shm) {
      XShmPutImage(d, target, s->gc, s->image, x, y, x, y, w, h, last ? True : False);
      s->pending = NextRequest(d) - 1;
    } else {
      // The plain image's bytes are in the request already: it may be written again at once.
      XPutImage(d, target, s->gc, s->image, x, y, x, y, w, h);
    }
  }
  if (last) XFlush(d);
}

void surface_wait(X11Surface* s, Display* d) {
  if (!s->pending) return;
  // Request numbers wrap; the difference says which came first. Reading what has arrived
  // (without waiting) brings the server's report in.
  auto taken = [&] { return static_cast<long>(LastKnownRequestProcessed(d) - s->pending) >= 0; };
  if (!taken()) XEventsQueued(d, QueuedAfterReading);
  if (!taken()) XSync(d, False);
  s->pending = 0;
}

void surface_put(X11Surface* s, Display* d, Drawable target, int32_t top, int32_t rows) {
  if (!s->image || rows <= 0) return;
  surface_put_area(s, d, target, 0, top, s->image->width, rows, true);
  XSync(d, False);
  s->pending = 0;
}

}  // namespace zv
