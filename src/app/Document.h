#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/HeightExport.h"
#include "app/MapView.h"
#include "model/ElevationProfile.h"
#include "model/LoadedMap.h"
#include "model/OpenedMap.h"
#include "model/OverlaySet.h"
#include "model/Region.h"
#include "model/ViewRequest.h"
#include "platform/Bitmap.h"
#include "platform/Progress.h"
#include "render/FittedPicture.h"
#include "render/HeightColourTable.h"
#include "settings/SettingsFile.h"
#include "settings/ViewSettings.h"
#include "view3d/MeshBuilder.h"

namespace talvo {

// A load's job: reads the file on any thread and returns what it read.
using TOpenJob = std::function<TOpenedMap(TProgress& Progress)>;
// A drawing's job: the picture, or nothing when it was cancelled.
using TDrawJob = std::function<std::optional<TBitmap>(TProgress& Progress)>;

// How a load went: its outcome and, for a missing companion file, the message; what a load that
// went well still tells.
struct TLoadResult {
    TOpenOutcome Outcome = TOpenOutcome::Loaded;
    std::string Message;
    std::string Note;
};

// A drawing as it starts: its job, and why a ticked layer could not be read for it ("" when
// every one could); the picture is drawn without that layer.
struct TDrawing {
    TDrawJob Job;
    std::string OverlayFailure;
};

// What the viewer and the command line work on: the settings and the colour ramp made from them,
// the map on show, the layers read for it and the region chosen for 3D. Long work is handed out
// as jobs that hold their own references to what they read, so that they may run on a worker
// thread and outlive whoever started them; their results come back through Accept.
class TDocument {
  public:
    // Reads the settings of File once; on a first run the shipped palette. Settings that cannot be
    // read leave the shipped palette and the reason in SettingsUnreadable.
    TDocument(TSettingsFile File, std::string ShippedPalette);
    // No settings file: every setting at its default, as for reading a map's header.
    TDocument();

    const TSettingsFile& SettingsFile() const { return File; }
    // Why File could not be read ("" when it could), and the colour keys that were not
    // hexadecimal: they are black.
    const std::string& SettingsUnreadable() const { return Unreadable; }
    const std::vector<std::string>& BadColourKeys() const { return BadKeys; }
    // A value the settings file held at start-up beside the settings (a window's placement); ""
    // when it held none.
    std::string StartValue(const std::string& Section, const std::string& Key) const;

    const TViewSettings& Settings() const { return FSettings; }
    const THeightColourTable& ColourTable() const { return Table; }
    // New settings, and the ramp made from them; the next picture uses them.
    void SetSettings(const TViewSettings& Settings);
    // Writes Settings and Extra (window placements) to the settings file in one replacement, and
    // keeps them once written. Nothing changes when the file cannot be written.
    void SaveSettings(const TViewSettings& Settings, const std::vector<TExtraKey>& Extra = {});

    // The map on show: an empty one before the first load.
    std::shared_ptr<const TLoadedMap> Map() const { return FMap; }
    const TOverlaySet& Overlays() const { return *FOverlays; }

    // The job that opens Path; the map it makes starts from the one on show.
    TOpenJob OpenJob(std::string Path) const;
    // The job that opens what a user chose or dropped: one file as OpenJob does, or a folder or
    // several files as the mosaic of their FG-GML tiles (MosaicJob).
    TOpenJob OpenJob(std::vector<std::string> Paths) const;
    // The job that lays the FG-GML tiles of Inputs (tiles, zips and packs of them, and those found
    // in folders, LeftOut not taken from them) into one map; the entries of folders it skipped are
    // told in its note.
    TOpenJob MosaicJob(std::vector<std::string> Inputs,
                       std::vector<std::string> LeftOut = {}) const;
    // A finished load's map becomes the one on show, with no layer read yet; Crs, when given,
    // replaces the CRS the file names or its kind is published in.
    TLoadResult Accept(TOpenedMap Opened, const std::string& Crs = "");
    // Opens Path now, on this thread, and accepts it with Crs; failures are raised and leave the
    // map on show.
    TLoadResult Open(const std::string& Path, TProgress& Progress, const std::string& Crs = "");
    // Opens Path now as Open does, but a raster GDAL reads by window whatever its size: for
    // reading a few of its cells, which are then all that is read.
    TLoadResult OpenForCells(const std::string& Path, TProgress& Progress);
    // Opens the mosaic of Inputs now, as Open does a file; LeftOut (the file it is written to) is
    // never taken from a folder.
    TLoadResult OpenMosaic(const std::vector<std::string>& Inputs, TProgress& Progress,
                           const std::string& Crs = "",
                           const std::vector<std::string>& LeftOut = {});
    // Opens the tile Entry of the zip Zip ("" : the file Zip itself) as a map of its own, as a
    // batch takes tiles one by one.
    TLoadResult OpenTile(const std::string& Zip, const std::string& Entry, TProgress& Progress,
                         const std::string& Crs = "");

    // Reads the ticked layers not read yet, then hands out the job that draws the map on show
    // with the settings as they are now.
    TDrawing StartDrawing(const TLayerFlags& Layers);
    // The same for the picture Grid of the map on show: of a map read by window, its region's
    // cells read at that size (DrawWindowPicture); of a map held whole, the whole picture's pixel
    // nearest each pixel's centre. A picture of more than MaxGridCells pixels is refused.
    TDrawing StartDrawing(const TLayerFlags& Layers, const TPictureGrid& Grid);
    // The job that draws Request of the map on show, a map read by window, with the settings as
    // they are now (DrawWindowPicture).
    TDrawJob ViewJob(const TViewRequest& Request) const;

    // What the window shows of the map: the picture, its zoom and the selection rectangle.
    TMapView& View() { return FView; }
    const TMapView& View() const { return FView; }

    // The region chosen for the 3D view.
    const TRegion& Region() const { return FRegion; }
    void SetRegion(const TRegion& Region) { FRegion = Region; }

    // Every file the map on show was read from, and the settings file: outputs must not be one.
    std::vector<std::string> InputFiles() const;
    // Raises, naming Path, when it is one of InputFiles (by device and inode): before anything
    // is written, every output is checked so.
    void RefuseOverwriting(const std::string& Path) const;

    // Writes the cells of the map on show to Path as a Cloud Optimized GeoTIFF (ExportHeights).
    void Export(const THeightExport& Options, const std::string& Path, TProgress& Progress) const;
    // Writes Samples of the map on show to Path as CSV.
    void SaveProfile(const std::vector<TProfileSample>& Samples, const std::string& Path) const;
    // Writes Triangles to Path as a Wavefront OBJ file with its materials and, when they are
    // textured, its picture.
    void SaveMesh(const TTriangles& Triangles, const std::string& Path) const;

    // Saves Picture, the map on show's, at Path (the extension decides the format; .tif is an RGB
    // GeoTIFF that carries the map's georeference) and, with WorldFiles, where it lies beside it
    // (world file and CRS) when the map has a georeference and Path names a file. An output that
    // is an input is refused before anything is written.
    void SavePicture(const TBitmap& Picture, const std::string& Path, bool WorldFiles) const;
    // The same for the picture Grid of the map on show, placed where Grid's pixels lie.
    void SavePicture(const TBitmap& Picture, const std::string& Path, bool WorldFiles,
                     const TPictureGrid& Grid) const;

  private:
    // The map on show's picture, a pixel per cell, with Layers over it.
    TDrawing StartWholeDrawing(const TLayerFlags& Layers);

    TSettingsFile File;
    std::string Unreadable;
    std::vector<std::string> BadKeys;
    TProfileText StartProfile;
    TViewSettings FSettings;
    THeightColourTable Table{};
    std::shared_ptr<const TLoadedMap> FMap;
    std::shared_ptr<TOverlaySet> FOverlays = std::make_shared<TOverlaySet>();
    TMapView FView;
    TRegion FRegion;
};

} // namespace talvo
