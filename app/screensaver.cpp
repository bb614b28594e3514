#include "app/screensaver.h"

namespace morv {

// The animation is not built yet: the saver ends at once.
void run_screensaver() {}

}  // namespace morv
