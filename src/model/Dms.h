#pragma once

namespace talvo {

// Angles in two notations: decimal degrees, and d.mmss… (degrees, then two digits of minutes and
// two of seconds after the point, then fractional seconds), the notation of numeric-map corners.

// Decimal degrees as d.mmss…, the seconds to a hundredth (the six decimals shown), carried into
// the minutes and degrees when they round to 60; a negative angle gives the negative of its
// absolute value's.
long double DegToDms(long double X);

// A d.mmss corner value as decimal degrees (36.3023 is 36°30'23").
double DmsToDegrees(double Dms);

} // namespace talvo
