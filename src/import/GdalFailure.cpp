#include "import/GdalFailure.h"

#include <cerrno>

#include "platform/FileErrors.h"
#include "platform/Messages.h"

namespace talvo {

std::string GdalFailureText(const TalvoGdalFailure& Failure) {
    const std::string Detail = Printable(Failure.Detail);
    switch (Failure.Problem) {
    case TalvoGdalNotRaster:
        return Text(TText::GdalNotRaster);
    case TalvoGdalNoBand:
        return Text(TText::GdalNoBand);
    case TalvoGdalRemoteSource:
        return Text(TText::GdalRemoteSource, {Detail});
    case TalvoGdalRawSource:
        return Text(TText::GdalRawSource, {Detail});
    case TalvoGdalSourceUnreadable:
        return Text(TText::GdalSourceUnreadable,
                    {Detail, InOutError(Failure.Errno != 0 ? Failure.Errno : EIO).what()});
    case TalvoGdalSourceNotRaster:
        return Text(TText::GdalSourceNotRaster, {Detail});
    case TalvoGdalTooDeep:
        return Text(TText::GdalTooDeep, {std::to_string(TalvoGdalMaxNesting)});
    case TalvoGdalDamaged:
        return Text(TText::GdalDamaged);
    case TalvoGdalNoMemory:
        return Text(TText::GdalNoMemory);
    case TalvoGdalUnsupported:
        return Text(TText::GdalUnsupported);
    case TalvoGdalBadCrs:
        return Text(TText::GdalBadCrs, {Detail});
    default:
        return Text(TText::GdalFailed);
    }
}

} // namespace talvo
