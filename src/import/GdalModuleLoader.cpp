#include "import/GdalModuleLoader.h"

#include <dlfcn.h>
#include <filesystem>
#include <mutex>
#include <string>

#include "platform/Errors.h"
#include "platform/ExecutablePath.h"
#include "platform/Messages.h"

namespace talvo {

namespace {

constexpr const char* ModuleName = "libtalvo_gdal.so";

// The module's table, or the reason it could not be had.
const TalvoGdalApi* Load(std::string& Reason) {
    const std::filesystem::path Program(ExecutableDir());
    for (const std::filesystem::path& Candidate :
         {Program / ModuleName, Program / ".." / "lib" / "talvo" / ModuleName}) {
        std::error_code Missing;
        if (!std::filesystem::exists(Candidate, Missing)) {
            continue;
        }
        // Never closed: GDAL keeps threads and drivers that outlive any one map.
        void* Module = dlopen(Candidate.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!Module) {
            Reason = dlerror();
            return nullptr;
        }
        auto Entry = reinterpret_cast<const TalvoGdalApi* (*)()>(dlsym(Module, "TalvoGdalModule"));
        const TalvoGdalApi* Api = Entry ? Entry() : nullptr;
        if (!Api || Api->Version != TalvoGdalApiVersion) {
            Reason = Candidate.string() + " is not this program's GDAL module";
            return nullptr;
        }
        return Api;
    }
    Reason = std::string(ModuleName) + " is not installed beside the program";
    return nullptr;
}

} // namespace

const TalvoGdalApi& GdalModule() {
    static std::mutex Mutex;
    static const TalvoGdalApi* Api = nullptr;
    std::lock_guard Lock(Mutex);
    if (!Api) {
        std::string Reason;
        Api = Load(Reason);
        if (!Api) {
            throw ETalvoError(Text(TText::GdalNotLoaded, {Reason}));
        }
    }
    return *Api;
}

} // namespace talvo
