// The executable: the runtime comes up before the entry and goes down at exit.
#include <cstdlib>

#include "app/entry.h"
#include "runtime/runtime.h"

int main(int argc, char** argv) {
  zv::runtime_init();
  std::atexit(zv::runtime_exit);
  morv::morv_main(argc, argv);
  zv::end_program(0);
}
