#include "render/FittedPicture.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace talvo {

namespace {

// The first of Cells cells under each of Pixels pixels' centres, From the first cell.
std::vector<int32_t> NearestCells(int32_t From, int32_t Cells, int32_t Pixels) {
    std::vector<int32_t> Nearest(static_cast<size_t>(Pixels));
    const double PerPixel = static_cast<double>(Cells) / Pixels;
    for (int32_t Pixel = 0; Pixel < Pixels; ++Pixel) {
        const auto Cell = static_cast<int32_t>((Pixel + 0.5) * PerPixel);
        Nearest[static_cast<size_t>(Pixel)] = From + std::min(Cell, Cells - 1);
    }
    return Nearest;
}

} // namespace

TPictureGrid WholePicture(const TNum_HeaderRec& Header) {
    return {{0, 0, Header.Columns, Header.Rows}, Header.Columns, Header.Rows};
}

TPictureGrid FitPicture(const TCellWindow& Region, int32_t MaxCols, int32_t MaxRows) {
    const double Scale = std::min(static_cast<double>(MaxCols) / Region.Cols,
                                  static_cast<double>(MaxRows) / Region.Rows);
    auto Pixels = [Scale](int32_t Cells, int32_t Most) {
        return static_cast<int32_t>(
            std::clamp(std::llround(Cells * Scale), 1LL, static_cast<long long>(Most)));
    };
    return {Region, Pixels(Region.Cols, MaxCols), Pixels(Region.Rows, MaxRows)};
}

TGeoreference PictureGeoreference(const TGeoreference& Place, const TPictureGrid& Grid) {
    TGeoreference Picture = Place;
    const TCellWindow& R = Grid.Region;
    const double Across = static_cast<double>(R.Cols) / Grid.Cols;
    const double Down = static_cast<double>(R.Rows) / Grid.Rows;
    const std::array<double, 6>& T = Place.Transform;
    if (T != std::array<double, 6>{}) {
        Picture.Transform = {T[0] + T[1] * R.Col + T[2] * R.Row, T[1] * Across, T[2] * Down,
                             T[3] + T[4] * R.Col + T[5] * R.Row, T[4] * Across, T[5] * Down};
    }
    for (TGroundControlPoint& Point : Picture.Gcps) {
        Point.Pixel = (Point.Pixel - R.Col) / Across;
        Point.Line = (Point.Line - R.Row) / Down;
    }
    return Picture;
}

TBitmap NearestPixels(const TBitmap& Picture, const TPictureGrid& Grid) {
    const TCellWindow& R = Grid.Region;
    const std::vector<int32_t> Cols = NearestCells(R.Col, R.Cols, Grid.Cols);
    const std::vector<int32_t> Rows = NearestCells(R.Row, R.Rows, Grid.Rows);
    TBitmap Fitted(Grid.Cols, Grid.Rows, TBitmap::TStart::Unfilled);
    for (int32_t Y = 0; Y < Grid.Rows; ++Y) {
        int32_t* To = Fitted.Row(Y);
        for (int32_t X = 0; X < Grid.Cols; ++X) {
            To[X] = Picture.Pixel(Cols[static_cast<size_t>(X)], Rows[static_cast<size_t>(Y)]);
        }
    }
    return Fitted;
}

} // namespace talvo
