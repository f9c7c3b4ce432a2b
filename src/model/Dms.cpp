#include "model/Dms.h"

#include <algorithm>
#include <cmath>

namespace talvo {

long double DegToDms(long double X) {
    if (X < 0) {
        return -DegToDms(-X);
    }
    long double D = std::trunc(X);
    long double F = (X - D) * 60;
    long double M = std::trunc(F);
    long double S = (F - M) * 60;
    return D + M / 100 + S / 10000;
}

double DmsToDegrees(double Dms) {
    if (Dms < 0) {
        return -DmsToDegrees(-Dms);
    }
    const double Degrees = std::trunc(Dms);
    // 36.30 is held as 36.29999…: a hair's allowance keeps it at 30 minutes.
    const double MinutesAndSeconds = (Dms - Degrees) * 100;
    const double Minutes = std::floor(MinutesAndSeconds + 1e-9);
    const double Seconds = std::max((MinutesAndSeconds - Minutes) * 100, 0.0);
    return Degrees + Minutes / 60 + Seconds / 3600;
}

} // namespace talvo
