#pragma once

#include <cmath>

#include "model/LoadedMap.h"
#include "settings/ViewSettings.h"

constexpr int32_t BenchTileRows = 6000;
constexpr int32_t BenchTileCols = 4800;

// A 4800 × 6000 elevation raster (28.8 million cells, a 30-arc-second tile) of hills and
// valleys, lying from 100° to 140° E and 0° to 50° N.
inline talvo::TLoadedMap BenchTileMap() {
    constexpr int32_t Rows = BenchTileRows;
    constexpr int32_t Cols = BenchTileCols;
    talvo::TLoadedMap Map;
    talvo::InitLoadedMap(Map);
    talvo::TNum_HeaderRec& H = Map.NumHeader;
    H.MapKind = talvo::TMapKind::Bil;
    H.Columns = Cols;
    H.Rows = Rows;
    H.CellSpacing = 10000;
    H.WestLongitude = 100.0;
    H.EastLongitude = 140.0;
    H.NorthLatitude = 50.0;
    H.SouthLatitude = 0.0;
    Map.Georeference.Transform = talvo::TransformOfBounds(H);
    Map.NumData.RowLineGrid.ReDim(1, Rows, false);
    Map.NumData.HeightGrid.ReDim(Rows, Cols, false);
    for (int32_t R = 0; R < Rows; ++R) {
        Map.NumData.RowLineGrid.SetVal(0, R, R + 1);
        int32_t* Cells = Map.NumData.HeightGrid.RowData(R);
        for (int32_t C = 0; C < Cols; ++C) {
            const double Metres = 1400 + 900 * std::sin(R / 310.0) * std::cos(C / 270.0) +
                                  300 * std::sin(R / 23.0 + C / 41.0) - 200;
            Cells[C] = static_cast<int32_t>(Metres) * 10;
        }
    }
    Map.RowsRead = Rows;
    return Map;
}

// The palette the tile is drawn with: green lowlands to white peaks at 3000 m, with shading.
inline talvo::TViewSettings BenchTileSettings() {
    talvo::TViewSettings Settings;
    const int32_t Anchors[6] = {0x489456, 0x64BE96, 0x82D7E1, 0x5A96C8, 0x506E96, 0xF5F5F5};
    for (int I = 0; I < 6; ++I) {
        PaletteColour(Settings, static_cast<size_t>(I)) = Anchors[I];
    }
    Settings.Max = 3000;
    Settings.Pit = 60;
    Settings.ShadowKK = 64;
    return Settings;
}
