#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "model/MapKind.h"
#include "platform/Language.h"

namespace talvo {

// A land-use or vegetation class as the palette dialog names it: its code and its name in each
// language, with a line break where the dialog wraps it.
struct TClassName {
    int32_t Code;
    const char* Japanese;
    const char* English;
};

std::span<const TClassName> LandUseClasses();
std::span<const TClassName> VegetationClasses();

// The name as the dialog shows it in Language.
std::string WrappedClassName(const TClassName& Class, TLanguage Language);

// The name of the class a cell of Code belongs to (the class at or below it, as its colour), on
// one line; "" when Colouring has no classes or Code is in none of them.
std::string ClassNameOf(TColouring Colouring, int32_t Code, TLanguage Language);

} // namespace talvo
