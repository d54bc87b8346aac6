// Loads and unloads the library as a driver does, to measure what a cycle
// leaves behind (run it under valgrind --leak-check=full). Each cycle may ask
// a device through a queue of the machine profile, so that the SNMP layer is
// set up and torn down every time.
//
//   load_unload LIBRARY CYCLES [QUEUE]
#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>

namespace {

using QueueQuery = int (*)(const char* queueName, const char* variant, void* queue);

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: load_unload LIBRARY CYCLES [QUEUE]\n");
    return 2;
  }
  const long cycles = std::strtol(argv[2], nullptr, 10);
  const char* queue = argc > 3 ? argv[3] : nullptr;
  int answer = 0;
  for (long cycle = 0; cycle < cycles; ++cycle) {
    void* library = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
      std::fprintf(stderr, "load_unload: %s\n", dlerror());
      return 1;
    }
    if (queue != nullptr) {
      auto query = reinterpret_cast<QueueQuery>(dlsym(library, "IsDeptCodeEnforced"));
      if (query == nullptr) {
        std::fprintf(stderr, "load_unload: no IsDeptCodeEnforced\n");
        dlclose(library);
        return 1;
      }
      answer = query(queue, "0", nullptr);
    }
    dlclose(library);
  }
  std::printf("%ld cycles, last answer %d\n", cycles, answer);
  return 0;
}
