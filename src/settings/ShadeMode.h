#pragma once

#include <optional>
#include <string_view>

namespace talvo {

// How a picture of heights is shaded: the documented ramp, lightened or darkened by the rise from
// each cell's western neighbour, or the plain ramp multiplied by a relief of gdaldem's or the red
// relief image map.
enum class TShadeMode { Ramp, Hillshade, Multidirectional, Combined, RedRelief };

// "ramp", "hillshade", "multidirectional", "combined" or "redrelief", as the settings file and
// --shade name them; nothing for another text.
std::optional<TShadeMode> ShadeModeNamed(std::string_view Name);
std::string_view ShadeModeName(TShadeMode Mode);

} // namespace talvo
