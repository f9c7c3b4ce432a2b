#pragma once

#include "model/MapHost.h"

namespace talvo::test {

// A window that asks nothing and shows nothing.
class TSilentHost : public TMapHost {
  public:
    void SetProgressMax(int32_t) override {}
    void Enable3D() override {}
    void RenderMap(const std::string&) override {}
};

} // namespace talvo::test
