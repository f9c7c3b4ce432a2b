#include "platform/Language.h"

#include <cstdlib>
#include <string_view>

namespace talvo {

namespace {

// An unset variable counts as empty, as gettext takes it.
std::string_view Variable(const char* Name) {
    const char* Value = std::getenv(Name);
    return Value ? Value : "";
}

bool IsCLocale(std::string_view Locale) {
    return Locale == "C" || Locale == "POSIX" || Locale.starts_with("C.");
}

bool IsEnglish(std::string_view Name) {
    return Name.starts_with("en") &&
           (Name.size() == 2 || std::string_view("_.@").find(Name[2]) != std::string_view::npos);
}

} // namespace

TLanguage MessageLanguage() {
    std::string_view Locale;
    for (const char* Name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        Locale = Variable(Name);
        if (!Locale.empty()) {
            break;
        }
    }
    if (IsCLocale(Locale)) {
        return TLanguage::Japanese;
    }
    const std::string_view Languages = Variable("LANGUAGE");
    const std::string_view Chosen =
        Languages.empty() ? Locale : Languages.substr(0, Languages.find(':'));
    return IsEnglish(Chosen) ? TLanguage::English : TLanguage::Japanese;
}

} // namespace talvo
