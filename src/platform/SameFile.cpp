#include "platform/SameFile.h"

#include <sys/stat.h>

#include "platform/Errors.h"
#include "platform/Messages.h"

namespace talvo {

bool SameFile(const std::string& A, const std::string& B) {
    struct stat First {
    }, Second{};
    return ::stat(A.c_str(), &First) == 0 && ::stat(B.c_str(), &Second) == 0 &&
           First.st_dev == Second.st_dev && First.st_ino == Second.st_ino;
}

void RefuseOverwritingInput(const std::string& Output, const std::vector<std::string>& Inputs) {
    for (const std::string& Input : Inputs) {
        if (SameFile(Output, Input)) {
            throw ETalvoError(Text(TText::OutputIsInput, {Output, Input}));
        }
    }
}

} // namespace talvo
