// The OpenMP thread count that the 2-bit dot screens set in the host, without the library
// depending on an OpenMP runtime.
#ifndef KORVEL_IMAGE_HOST_OPENMP_H
#define KORVEL_IMAGE_HOST_OPENMP_H

// Sets the calling thread's OpenMP thread count for later parallel regions to `threads`, the
// way the 2-bit dot screens have always left it for their hosts, if the process has an OpenMP
// runtime loaded; does nothing otherwise.
void SetHostOpenMpThreads(int threads);

#endif
