// The auto-lock for the length of a scope; does nothing for a null screen.
#pragma once

#include "gfx/core/auto_lock.h"

namespace zv {

class AutoLockScope {
 public:
  explicit AutoLockScope(GraphicsState* screen) : screen_(screen) {
    if (screen_) auto_lock(screen_);
  }
  ~AutoLockScope() {
    if (screen_) auto_unlock(screen_);
  }
  AutoLockScope(const AutoLockScope&) = delete;
  AutoLockScope& operator=(const AutoLockScope&) = delete;

 private:
  GraphicsState* screen_;
};

}  // namespace zv
