// The image error-diffusion screen run straight on a grey image with the identity tone curve,
// with the built-in tables or a trial set, restarting or not.
#ifndef KORVEL_TOOLS_QUALITY_ERROR_DIFFUSION_RUN_H
#define KORVEL_TOOLS_QUALITY_ERROR_DIFFUSION_RUN_H

#include "image/error_diffusion_kernel.h"
#include "quality_metrics.h"

namespace quality {

GreyImage ScreenErrorDiffusion(
    const GreyImage& image, const ErrorDiffusionTables& tables = BuiltInErrorDiffusionTables(),
    ImageErrorDiffusion::Restarts restarts = ImageErrorDiffusion::Restarts::kFromTables);

}  // namespace quality

#endif
