#pragma once

#include <cstdlib>
#include <optional>
#include <string>

namespace talvo::test {

// Sets an environment variable (or, with no value, removes it) for one scope.
class TScopedEnv {
  public:
    TScopedEnv(const char* Name, const char* Value) : Name(Name) {
        if (const char* Old = std::getenv(Name)) {
            Saved = Old;
        }
        Value ? ::setenv(Name, Value, 1) : ::unsetenv(Name);
    }
    ~TScopedEnv() { Saved ? ::setenv(Name, Saved->c_str(), 1) : ::unsetenv(Name); }
    TScopedEnv(const TScopedEnv&) = delete;
    TScopedEnv& operator=(const TScopedEnv&) = delete;

  private:
    const char* Name;
    std::optional<std::string> Saved;
};

} // namespace talvo::test
