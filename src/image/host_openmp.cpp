// The 2-bit dot screens promise their hosts to leave the OpenMP thread count of the calling
// thread at 2. The library has no parallel region of its own, so it does not link an OpenMP
// runtime (which would load one into every host, and a second one into a host built with
// another compiler's runtime). Instead the setting is made through the runtime the host has
// already loaded, found by name among the process's loaded objects: a host without OpenMP
// has no such setting, and then there is nothing to change.
#include "image/host_openmp.h"

#include <dlfcn.h>

namespace {

using SetNumThreads = void (*)(int);

SetNumThreads HostSetNumThreads() {
  // Looked up on every call: the host may load its OpenMP runtime after its first screen.
  void* symbol = dlsym(RTLD_DEFAULT, "omp_set_num_threads");
  return reinterpret_cast<SetNumThreads>(symbol);
}

}  // namespace

void SetHostOpenMpThreads(int threads) {
  if (const SetNumThreads set = HostSetNumThreads()) set(threads);
}
