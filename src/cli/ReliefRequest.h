#pragma once

#include <optional>

#include "cli/Request.h"
#include "render/ReliefProducts.h"
#include "settings/ShadeMode.h"

namespace talvo {

// --product and the options that shape it as the product's options; nothing without --product. A
// name or a value that is none raises EMisuse.
std::optional<TReliefOptions> ReliefOptionsOf(const TRequest& Request);

// --shade's shading; nothing without --shade. A name that is none raises EMisuse.
std::optional<TShadeMode> ShadeOf(const TRequest& Request);

} // namespace talvo
