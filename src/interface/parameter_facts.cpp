// The facts of a quality level and of a context's parameter folder, from the code that acts on
// them: the bucketing of the settings call, the tone-curve set-up's choice of a file curve and
// the composition of the files' paths.
#include <korvel/korvel_context.h>

#include <cstring>
#include <string>

#include "config/pass_param_file.h"
#include "config/tone_curve.h"
#include "interface/context.h"
#include "interface/globals.h"

namespace {

// Copies text into a field of `capacity` bytes; "" when it does not fit.
template <size_t capacity>
void CopyWhenItFits(const std::string& text, char (&field)[capacity]) {
  const bool fits = text.size() < capacity;
  std::memcpy(field, fits ? text.c_str() : "", fits ? text.size() + 1 : 1);
}

korvel_folder_origin OriginOf(ParameterFolderOrigin origin) {
  switch (origin) {
    case ParameterFolderOrigin::kOwn:
      return KORVEL_FOLDER_OWN;
    case ParameterFolderOrigin::kDataDirVariable:
      return KORVEL_FOLDER_DATA_DIR;
    case ParameterFolderOrigin::kBesideProgram:
      break;
  }
  return KORVEL_FOLDER_BESIDE_PROGRAM;
}

}  // namespace

korvel_status korvel_quality_describe(int level, korvel_quality_facts* facts) {
  if (facts == nullptr) return KORVEL_ERROR_NULL_BUFFER;
  if (facts->size != sizeof(korvel_quality_facts)) return KORVEL_ERROR_ARGUMENT;
  return Guarded([&] {
    korvel_quality_facts described{sizeof(korvel_quality_facts), BucketQualityLevel(level), 0, ""};
    described.reads_file_curve = ReadsFileCurve(described.level, false) ? 1 : 0;
    CopyWhenItFits(PassParamFileName(described.level), described.file_name);
    *facts = described;
    return KORVEL_OK;
  });
}

korvel_status korvel_context_describe_folder(const korvel_context* context,
                                             korvel_folder_facts* facts) {
  if (context == nullptr) return KORVEL_ERROR_NULL_CONTEXT;
  if (facts == nullptr) return KORVEL_ERROR_NULL_BUFFER;
  if (facts->size != sizeof(korvel_folder_facts)) return KORVEL_ERROR_ARGUMENT;
  return Guarded([&] {
    const ParameterFolder folder = ChooseParameterFolder(context->state.parameterFolder);
    korvel_folder_facts described{sizeof(korvel_folder_facts), OriginOf(folder.origin), ""};
    CopyWhenItFits(folder.path, described.folder);
    *facts = described;
    return KORVEL_OK;
  });
}
