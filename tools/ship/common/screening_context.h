// A screening context of the library, set up for one ink: its quality level and, when the ink
// has one, its own tone curve.
#ifndef KORVEL_TOOL_SCREENING_CONTEXT_H
#define KORVEL_TOOL_SCREENING_CONTEXT_H

#include <korvel/korvel_context.h>

#include <memory>
#include <string>

#include "ink_settings.h"

struct ContextDeleter {
  void operator()(korvel_context* context) const { korvel_context_destroy(context); }
};
using Context = std::unique_ptr<korvel_context, ContextDeleter>;

// Throws ToolError "<what>: <the library's message>" unless status is KORVEL_OK.
void Require(korvel_status status, const std::string& what);

Context ContextFor(const InkSettings& settings);

// The path of the parameter file of the context's quality level as the library composes it
// ("" when it composes none), and the library's verdict on that file.
struct ParameterFileCheck {
  std::string path;
  korvel_status verdict;
};
ParameterFileCheck CheckParameterFile(korvel_context* context);

// The folder of the parameter files the library looks in by itself (for a context of no folder
// of its own) and why that one; the folder is "" when the library cannot tell it.
korvel_folder_facts UsualParameterFolder();

// What the library makes of a quality level: its bucket, whether it reads a file curve and the
// name of its parameter file.
korvel_quality_facts QualityFacts(int level);

#endif
