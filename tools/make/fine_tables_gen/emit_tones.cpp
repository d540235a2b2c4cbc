#include "emit_tones.h"

namespace {

void EmitTones(const char* name, const FineTones& tones, std::FILE* out) {
  std::fprintf(out, "const FineTones %s = {{\n", name);
  for (const FineNode& n : tones.nodes)
    std::fprintf(out, "    {%d, %d, %d, %d, %d, %d},\n", n.errorGain, n.ahead, n.belowBehind,
                 n.below, n.belowAhead, n.shake);
  std::fprintf(out, "}};\n");
}

}  // namespace

void EmitToneSource(const FineTones& oneBit, const FineTones& threeDrops, const char* provenance,
                    std::FILE* out) {
  std::fprintf(out, "%s", provenance);
  std::fprintf(out, "// Nodes at folded places 0, 1/16, .., 1/2 of the gap between two inks:\n");
  std::fprintf(out, "// {error gain, ahead, below behind, below, below ahead, shake}.\n");
  std::fprintf(out, "#include \"image/fine_screen_tones.h\"\n\n");
  EmitTones("kFineTonesOneBit", oneBit, out);
  std::fprintf(out, "\n");
  EmitTones("kFineTonesThreeDrops", threeDrops, out);
}
