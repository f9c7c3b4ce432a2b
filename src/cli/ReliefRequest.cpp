#include "cli/ReliefRequest.h"

#include <charconv>
#include <cmath>

#include "platform/Messages.h"

namespace talvo {

namespace {

// Given, the value of the option Name, as a finite number.
double NumberOf(const std::string& Name, const std::string& Given) {
    double Value = 0.0;
    const char* End = Given.data() + Given.size();
    const auto [Stop, Error] = std::from_chars(Given.data(), End, Value);
    if (Given.empty() || Error != std::errc() || Stop != End || !std::isfinite(Value)) {
        throw EMisuse(Text(TText::ProductNeedsNumber, {Name, Given}));
    }
    return Value;
}

} // namespace

std::optional<TReliefOptions> ReliefOptionsOf(const TRequest& Request) {
    if (Request.Product.empty()) {
        return std::nullopt;
    }
    const std::optional<TReliefProduct> Product = ReliefProductNamed(Request.Product);
    if (!Product) {
        throw EMisuse(Text(TText::UnknownProduct, {Request.Product}));
    }
    TReliefOptions Options;
    Options.Product = *Product;
    Options.Shading = {NumberOf("--azimuth", Request.Azimuth),
                       NumberOf("--altitude", Request.Altitude), NumberOf("-z", Request.Z)};
    Options.ComputeEdges = Request.ComputeEdges;
    if (Request.Radius) {
        const double Radius = NumberOf("--radius", *Request.Radius);
        if (!(Radius > 0.0)) {
            throw EMisuse(Text(TText::RadiusNeedsPositive, {*Request.Radius}));
        }
        Options.Radius = Radius;
    }
    return Options;
}

std::optional<TShadeMode> ShadeOf(const TRequest& Request) {
    if (Request.Shade.empty()) {
        return std::nullopt;
    }
    const std::optional<TShadeMode> Mode = ShadeModeNamed(Request.Shade);
    if (!Mode) {
        throw EMisuse(Text(TText::UnknownShade, {Request.Shade}));
    }
    return Mode;
}

} // namespace talvo
