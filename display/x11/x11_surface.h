// The image the X11 driver converts into and sends to the window: in shared memory
// when the server offers it (nothing goes through the socket), else a plain image.
#pragma once

#include <X11/Xlib.h>
#include <X11/extensions/XShm.h>

#include <cstdint>

namespace zv {

struct X11Surface {
  XImage* image;
  XShmSegmentInfo shm;
  bool uses_shm;
  GC gc;
  unsigned long pending;  // request number of the last shared-memory put not known to be taken, or 0
};

// An image of the visual's format, width x height pixels; false when none can be made.
bool surface_create(X11Surface* surface, Display* display, Visual* visual, int depth, Drawable target, int32_t width,
                    int32_t height);
void surface_destroy(X11Surface* surface, Display* display);
// Sends rows top..top+rows-1 of the image to the same rows of the target, and waits
// until the server has taken them, so the image may be written again at once.
void surface_put(X11Surface* surface, Display* display, Drawable target, int32_t top, int32_t rows);
// Sends the area of the image at x, y to the same place of the target without waiting.
// The last area of a batch asks the server to report when it has taken the image; the
// report arrives with the window's events, which the event pump reads and drops.
void surface_put_area(X11Surface* surface, Display* display, Drawable target, int32_t x, int32_t y, int32_t width,
                      int32_t height, bool last);
// Before the image is written again: waits for the server only when it has not yet
// reported taking what was sent (usually it has, by the next update).
void surface_wait(X11Surface* surface, Display* display);

}  // namespace zv
