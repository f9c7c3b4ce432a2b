#pragma once

namespace talvo {

enum class TLanguage { Japanese, English };

// The language of the program's texts, from the environment: the first non-empty of LC_ALL,
// LC_MESSAGES and LANG decides, unless it is a C or POSIX locale (Japanese, LANGUAGE ignored);
// otherwise the first entry of LANGUAGE, when set, overrides it. English for "en", "en_*",
// "en.*" and "en@*"; Japanese for everything else, the documented texts.
TLanguage MessageLanguage();

} // namespace talvo
