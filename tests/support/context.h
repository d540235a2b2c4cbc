// Contexts owned by the tests: destroyed when they go out of scope.
#ifndef KORVEL_TESTS_SUPPORT_CONTEXT_H
#define KORVEL_TESTS_SUPPORT_CONTEXT_H

#include <korvel/korvel_context.h>

#include <memory>

namespace test {

struct DestroyContext {
  void operator()(korvel_context* context) const { korvel_context_destroy(context); }
};
using Context = std::unique_ptr<korvel_context, DestroyContext>;

// A new context at the quality level.
inline Context NewContext(int quality) {
  korvel_context* context = nullptr;
  korvel_context_create(&context);
  korvel_context_set_quality(context, quality);
  return Context(context);
}

}  // namespace test

#endif
