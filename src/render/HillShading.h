#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <utility>

#include "render/ReliefInput.h"
#include "render/ReliefLines.h"

// The shadings and the slope of gdaldem (GDAL's apps/gdaldem_lib.cpp), from Horn's gradient, with
// the same formulas and the same 1 to 255 scale, so that the pictures compare cell for cell; the
// values are computed in double precision with an exact square root where gdaldem approximates
// one (the difference is below a thousandth of a grey level).
namespace talvo {

// Where the light comes from and how heights are exaggerated, as gdaldem's -az, -alt and -z.
struct TShading {
    double Azimuth = 315.0; // degrees clockwise from north
    double Altitude = 45.0; // degrees above the horizon
    double Z = 1.0;
};

// The rise of the ground per metre westward (X) and northward (Y), as gdaldem signs them.
struct TGradient {
    double X = 0.0;
    double Y = 0.0;
};

// What Horn's gradient divides by on a line of cells of one size, as multipliers.
struct THornScale {
    explicit THornScale(TCellSize Size) : West(1 / (8 * Size.East)), North(1 / (8 * Size.North)) {}
    double West;
    double North;
};

// Horn's (1981) gradient: each side's three heights weighted 1, 2, 1 over eight cell widths.
inline TGradient HornGradient(const TWindow& W, THornScale Scale) {
    const auto H = [&W](int K) { return static_cast<double>(W[static_cast<size_t>(K)]); };
    return {((H(0) + 2 * H(3) + H(6)) - (H(2) + 2 * H(5) + H(8))) * Scale.West,
            ((H(0) + 2 * H(1) + H(2)) - (H(6) + 2 * H(7) + H(8))) * Scale.North};
}

constexpr double RadiansPerDegree = std::numbers::pi / 180.0;

inline double SlopeDegrees(TGradient G) {
    return std::atan(std::hypot(G.X, G.Y)) / RadiansPerDegree;
}

// The light's constants, worked out once for every cell.
class THillShader {
  public:
    explicit THillShader(const TShading& Shading)
        : SinAltitude(std::sin(Shading.Altitude * RadiansPerDegree)),
          CosAltitudeZ(std::cos(Shading.Altitude * RadiansPerDegree) * Shading.Z),
          CosAzimuth(std::cos(Shading.Azimuth * RadiansPerDegree)),
          SinAzimuth(std::sin(Shading.Azimuth * RadiansPerDegree)),
          Azimuth(Shading.Azimuth * RadiansPerDegree), SquareZ(Shading.Z * Shading.Z),
          Z(Shading.Z) {}

    // The cosine of the angle between the light and the ground's normal.
    double Incidence(TGradient G) const {
        return (SinAltitude - (G.Y * CosAzimuth - G.X * SinAzimuth) * CosAltitudeZ) /
               std::sqrt(1 + SquareZ * (G.X * G.X + G.Y * G.Y));
    }

    // gdaldem hillshade: 1 + 254 × the incidence, 1 where the light does not reach.
    double Hillshade(TGradient G) const {
        const double Cosine = Incidence(G);
        return Cosine <= 0.0 ? 1.0 : 1.0 + 254.0 * Cosine;
    }

    // gdaldem -multidirectional (Mark, 1992, USGS open file 92-422): the shades of lights at 225°,
    // 270°, 315° and 360° weighted by sin² of the aspect's angle to each; the azimuth is not used.
    double Multidirectional(TGradient G) const {
        const double XX = G.X * G.X;
        const double YY = G.Y * G.Y;
        const double Both = XX + YY;
        if (Both == 0.0) {
            return 1.0 + 254.0 * SinAltitude;
        }
        const double Diagonal = std::cos(225.0 * RadiansPerDegree) * CosAltitudeZ;
        const auto Lit = [](double V) { return std::max(V, 0.0); };
        const double From225 = Lit(SinAltitude + (G.X - G.Y) * Diagonal);
        const double From270 = Lit(SinAltitude - G.X * CosAltitudeZ);
        const double From315 = Lit(SinAltitude + (G.X + G.Y) * Diagonal);
        const double From360 = Lit(SinAltitude - G.Y * CosAltitudeZ);
        const double Weight225 = 0.5 * Both - G.X * G.Y;
        const double Weighted =
            Weight225 * From225 + XX * From270 + (Both - Weight225) * From315 + YY * From360;
        return 1.0 + 127.0 * Weighted / Both / std::sqrt(1 + SquareZ * Both);
    }

    // gdaldem -combined: the hillshade's angle darkened by the slope.
    double Combined(TGradient G) const {
        const double Steep = SquareZ * (G.X * G.X + G.Y * G.Y);
        const double Angle = std::acos(std::clamp(Incidence(G), -1.0, 1.0));
        const double Shade =
            1 - Angle * std::atan(std::sqrt(Steep)) * 4 / (std::numbers::pi * std::numbers::pi);
        return Shade <= 0.0 ? 1.0 : 1.0 + 254.0 * Shade;
    }

    // gdaldem -igor (Igor Karlovits' shading): slopes facing away from the light darkened in
    // proportion to their steepness, no shadow on a flat; the altitude is not used.
    double Igor(TGradient G) const {
        const double Steepness = std::atan(std::hypot(G.X, G.Y) * Z) / RadiansPerDegree / 90.0;
        const double Aspect = std::atan2(-G.Y, G.X);
        const double Away = AngleBetween(Aspect, 1.5 * std::numbers::pi - Azimuth);
        return 255.0 * (1.0 - Steepness * (1.0 - Away / std::numbers::pi));
    }

    // Hillshade and Multidirectional of cells First to Last - 1 of a line whose every window is
    // whole, as bytes rounded to nearest: cell Col's window is columns Col to Col + 2 of Above,
    // Here and Below. The same formulas in single precision and without a branch, so that the
    // compiler shades several cells at once; they stay within a hundredth of a grey level of the
    // double-precision ones.
    void HillshadeLine(const float* Above, const float* Here, const float* Below, int32_t First,
                       int32_t Last, THornScale Scale, uint8_t* Out) const {
        const auto SinAlt = static_cast<float>(SinAltitude);
        const auto CosAz = static_cast<float>(CosAzimuth * CosAltitudeZ);
        const auto SinAz = static_cast<float>(SinAzimuth * CosAltitudeZ);
        const auto SqZ = static_cast<float>(SquareZ);
        const auto West = static_cast<float>(Scale.West);
        const auto North = static_cast<float>(Scale.North);
        for (int32_t Col = First; Col < Last; ++Col) {
            const float X = Gradient(Above, Here, Below, Col, West).first;
            const float Y = Gradient(Above, Here, Below, Col, North).second;
            const float Cosine =
                (SinAlt - (Y * CosAz - X * SinAz)) / std::sqrt(1 + SqZ * (X * X + Y * Y));
            Out[Col] = RoundedShade(Cosine <= 0.0F ? 1.0F : 1.0F + 254.0F * Cosine);
        }
    }

    void MultidirectionalLine(const float* Above, const float* Here, const float* Below,
                              int32_t First, int32_t Last, THornScale Scale, uint8_t* Out) const {
        const auto SinAlt = static_cast<float>(SinAltitude);
        const auto CosAltZ = static_cast<float>(CosAltitudeZ);
        const auto Diagonal = static_cast<float>(std::cos(225.0 * RadiansPerDegree) * CosAltitudeZ);
        const auto SqZ = static_cast<float>(SquareZ);
        const auto West = static_cast<float>(Scale.West);
        const auto North = static_cast<float>(Scale.North);
        const float Flat = 1.0F + 254.0F * SinAlt;
        for (int32_t Col = First; Col < Last; ++Col) {
            const float X = Gradient(Above, Here, Below, Col, West).first;
            const float Y = Gradient(Above, Here, Below, Col, North).second;
            const float XX = X * X;
            const float YY = Y * Y;
            const float Both = XX + YY;
            const float From225 = std::max(SinAlt + (X - Y) * Diagonal, 0.0F);
            const float From270 = std::max(SinAlt - X * CosAltZ, 0.0F);
            const float From315 = std::max(SinAlt + (X + Y) * Diagonal, 0.0F);
            const float From360 = std::max(SinAlt - Y * CosAltZ, 0.0F);
            const float Weight225 = 0.5F * Both - X * Y;
            const float Weighted =
                Weight225 * From225 + XX * From270 + (Both - Weight225) * From315 + YY * From360;
            const float Divisor = (Both > 0.0F ? Both : 1.0F) * std::sqrt(1 + SqZ * Both);
            Out[Col] = RoundedShade(Both > 0.0F ? 1.0F + 127.0F * Weighted / Divisor : Flat);
        }
    }

  private:
    // Horn's gradient of cell Col of a whole line (the westward rise times West, the northward
    // times North), as HornGradient gives it.
    static std::pair<float, float> Gradient(const float* A, const float* B, const float* C,
                                            int32_t Col, float Scale) {
        return {((A[Col] + 2 * B[Col] + C[Col]) - (A[Col + 2] + 2 * B[Col + 2] + C[Col + 2])) *
                    Scale,
                ((A[Col] + 2 * A[Col + 1] + A[Col + 2]) - (C[Col] + 2 * C[Col + 1] + C[Col + 2])) *
                    Scale};
    }

    // A shade of 1 or more into a byte, rounded to nearest as ShadeByte rounds it.
    static uint8_t RoundedShade(float Shade) {
        return static_cast<uint8_t>(static_cast<int32_t>(std::min(Shade, 255.0F) + 0.5F));
    }

    // The angle between two directions, from 0 to π.
    static double AngleBetween(double A, double B) {
        constexpr double Turn = 2 * std::numbers::pi;
        const auto Normal = [](double V) {
            V = std::fmod(V, Turn);
            return V < 0 ? V + Turn : V;
        };
        const double Difference = std::abs(Normal(A) - Normal(B));
        return Difference > std::numbers::pi ? Turn - Difference : Difference;
    }

    double SinAltitude;
    double CosAltitudeZ;
    double CosAzimuth;
    double SinAzimuth;
    double Azimuth;
    double SquareZ;
    double Z;
};

} // namespace talvo
