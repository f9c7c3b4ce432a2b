#include "platform/ValueSplit.h"

namespace talvo {

namespace {

bool IsSeparator(char C) {
    return static_cast<unsigned char>(C) <= ' ' || C == ',';
}
bool IsDigit(char C) {
    return C >= '0' && C <= '9';
}

} // namespace

std::vector<std::string> SplitValues(std::string_view Line, bool SignStartsValue) {
    std::vector<std::string> Values;
    size_t Pos = 0;
    while (Pos < Line.size()) {
        if (IsSeparator(Line[Pos])) {
            ++Pos;
            continue;
        }
        std::string Value;
        while (Pos < Line.size() && !IsSeparator(Line[Pos])) {
            const char C = Line[Pos];
            if (C == '"') {
                for (++Pos; Pos < Line.size(); ++Pos) {
                    if (Line[Pos] == '"') {
                        if (Pos + 1 < Line.size() && Line[Pos + 1] == '"') {
                            Value += '"';
                            ++Pos;
                            continue;
                        }
                        break;
                    }
                    Value += Line[Pos];
                }
                ++Pos;
                continue;
            }
            if (SignStartsValue && (C == '-' || C == '+') && !Value.empty() &&
                IsDigit(Value.back())) {
                break;
            }
            Value += C;
            ++Pos;
        }
        Values.push_back(std::move(Value));
    }
    return Values;
}

} // namespace talvo
