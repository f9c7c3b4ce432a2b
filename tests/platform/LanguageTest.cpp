#include "platform/Language.h"

#include <array>
#include <cstdlib>
#include <gtest/gtest.h>
#include <optional>
#include <string>

namespace talvo {
namespace {

constexpr std::array<const char*, 4> Names = {"LC_ALL", "LC_MESSAGES", "LANG", "LANGUAGE"};

struct TCase {
    std::array<const char*, 4> Values; // in the order of Names; nullptr: unset
    TLanguage Expected;
};

constexpr TLanguage Ja = TLanguage::Japanese;
constexpr TLanguage En = TLanguage::English;

const TCase Cases[] = {
    {{nullptr, nullptr, nullptr, nullptr}, Ja},
    {{nullptr, nullptr, "en_US.UTF-8", nullptr}, En},
    {{nullptr, nullptr, "C.UTF-8", nullptr}, Ja},
    {{nullptr, nullptr, "C", "en"}, Ja},
    {{nullptr, nullptr, "POSIX", "en_GB"}, Ja},
    {{nullptr, "C", "en_US.UTF-8", nullptr}, Ja},
    {{nullptr, nullptr, "ja_JP.UTF-8", nullptr}, Ja},
    {{nullptr, nullptr, "de_DE.UTF-8", nullptr}, Ja},
    {{nullptr, nullptr, "ja_JP.UTF-8", "en_GB:ja"}, En},
    {{nullptr, nullptr, "en_US.UTF-8", "ja:en"}, Ja},
    {{nullptr, nullptr, "en_US.UTF-8", ""}, En},
    {{"ja_JP.UTF-8", "en_US.UTF-8", "en_US.UTF-8", nullptr}, Ja},
    {{"", "en_GB.UTF-8", "ja_JP.UTF-8", nullptr}, En},
    {{nullptr, nullptr, nullptr, "en"}, En},
    {{nullptr, nullptr, "en", nullptr}, En},
    {{nullptr, nullptr, "en.UTF-8", nullptr}, En},
    {{nullptr, nullptr, "en@quot", nullptr}, En},
    {{nullptr, nullptr, "eng", nullptr}, Ja},
    {{nullptr, nullptr, "e", nullptr}, Ja},
};

void Set(const char* Name, const char* Value) {
    if (Value) {
        setenv(Name, Value, 1);
    } else {
        unsetenv(Name);
    }
}

std::string Shown(const std::array<const char*, 4>& Values) {
    std::string Text;
    for (size_t I = 0; I < Names.size(); ++I) {
        Text += std::string(Names[I]) + "=" + (Values[I] ? Values[I] : "(unset)") + " ";
    }
    return Text;
}

// The cases change the four variables; the test's own environment comes back afterwards.
class MessageLanguageTest : public testing::Test {
  protected:
    void SetUp() override {
        for (size_t I = 0; I < Names.size(); ++I) {
            if (const char* Value = std::getenv(Names[I])) {
                Saved[I] = Value;
            }
        }
    }
    void TearDown() override {
        for (size_t I = 0; I < Names.size(); ++I) {
            Set(Names[I], Saved[I] ? Saved[I]->c_str() : nullptr);
        }
    }

    std::array<std::optional<std::string>, 4> Saved;
};

TEST_F(MessageLanguageTest, FollowsTheLocaleVariables) {
    for (const TCase& Case : Cases) {
        for (size_t I = 0; I < Names.size(); ++I) {
            Set(Names[I], Case.Values[I]);
        }
        EXPECT_EQ(MessageLanguage(), Case.Expected) << Shown(Case.Values);
    }
}

} // namespace
} // namespace talvo
