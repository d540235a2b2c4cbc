// The generator is built without the tables it writes, so the library's built-in set is not
// there to be had: every screen the generator runs is given the trial set it judges. A path that
// still reaches for the built-in set stops the program instead of judging something else.
#include <cstdio>
#include <cstdlib>

#include "image/error_diffusion_tables.h"

const ErrorDiffusionTables& BuiltInErrorDiffusionTables() {
  std::fprintf(stderr,
               "ed_tables_gen: a screen asked for the built-in tables, which the generator is "
               "built without; pass it the trial set\n");
  std::abort();
}
