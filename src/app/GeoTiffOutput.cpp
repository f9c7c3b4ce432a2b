#include "app/GeoTiffOutput.h"

#include <algorithm>
#include <cerrno>
#include <exception>
#include <filesystem>
#include <fstream>
#include <vector>

#include "import/GdalFailure.h"
#include "import/GdalModuleLoader.h"
#include "platform/AtomicFile.h"
#include "platform/Errors.h"
#include "platform/FileErrors.h"
#include "platform/Messages.h"

namespace talvo {

namespace {

// What GDAL calls back while it writes. An exception of either call (ECancelled among them) is
// kept and raised once GDAL has returned: none may pass through GDAL.
struct TWriteCalls {
    const TRowFill* Fill;
    const TBlockFill* FillBlock;
    TProgress& Progress;
    std::exception_ptr Raised;
};

int FillRow(void* Data, int32_t Band, int32_t Row, int32_t Col, int32_t Cols, void* Cells) {
    auto& Calls = *static_cast<TWriteCalls*>(Data);
    try {
        Calls.Progress.StopIfCancelled();
        (*Calls.Fill)(Band, Row, Col, Cols, Cells);
        return 1;
    } catch (...) {
        Calls.Raised = std::current_exception();
        return 0;
    }
}

int FillBlock(void* Data, int32_t Col, int32_t Row, int32_t Cols, int32_t Rows, void* Cells) {
    auto& Calls = *static_cast<TWriteCalls*>(Data);
    try {
        Calls.Progress.StopIfCancelled();
        return (*Calls.FillBlock)(Col, Row, Cols, Rows, Cells) ? 1 : -1;
    } catch (...) {
        Calls.Raised = std::current_exception();
        return 0;
    }
}

int ShowProgress(double Complete, const char*, void* Data) {
    auto& Calls = *static_cast<TWriteCalls*>(Data);
    try {
        TProgress& Progress = Calls.Progress;
        const auto Done = static_cast<int64_t>(Complete * static_cast<double>(Progress.Total()));
        if (Done > Progress.Done()) {
            Progress.Advance(Done - Progress.Done());
        }
        Progress.StopIfCancelled();
        return 1;
    } catch (...) {
        Calls.Raised = std::current_exception();
        return 0;
    }
}

// Raster made by GDAL, with Make (the module's call that writes it), in the empty file Into,
// which stands for Path.
template <typename TMake>
void MakeGeoTiff(TMake Make, const std::string& Into, const std::string& Path, TWriteCalls& Calls) {
    TalvoGdalFailure Failure{};
    if (Make(Into.c_str(), &Failure)) {
        return;
    }
    if (Calls.Raised) {
        std::rethrow_exception(Calls.Raised);
    }
    if (Failure.Problem == TalvoGdalNotWritten) {
        throw EInOutError(
            Text(TText::CannotWriteBecause,
                 {Path, WriteFailureReason(Failure.Errno != 0 ? Failure.Errno : EIO)}));
    }
    throw Placed(ETalvoError(GdalFailureText(Failure)), Path);
}

// Raster, laid where Place says, made by Make as a GeoTIFF at Path whole or not at all; Calls are
// what GDAL calls back meanwhile.
template <typename TMake>
void WriteWith(TMake Make, const TalvoGdalRasterOut& Raster, const TGeoreference& Place,
               const std::string& Path, TWriteCalls& Calls) {
    TalvoGdalRasterOut Out = Raster;
    std::copy(Place.Transform.begin(), Place.Transform.end(), Out.Transform);
    Out.Crs = Place.Crs.c_str();
    std::vector<TalvoGdalGcp> Gcps;
    for (const TGroundControlPoint& Point : Place.Gcps) {
        Gcps.push_back({Point.Pixel, Point.Line, Point.X, Point.Y, Point.Z});
    }
    Out.GcpCount = static_cast<int64_t>(Gcps.size());
    Out.Gcps = Gcps.data();
    Out.GcpCrs = Place.GcpCrs.c_str();
    Out.FillRow = FillRow;
    Out.FillData = &Calls;
    const auto MakeOut = [&](const char* Into, TalvoGdalFailure* Failure) {
        return Make(Out, Into, Failure);
    };
    Calls.Progress.Start(Raster.Height);
    TAtomicFile File(Path);
    if (!File.TemporaryPath().empty()) {
        MakeGeoTiff(MakeOut, File.TemporaryPath(), Path, Calls);
    } else {
        // A device or a pipe cannot be written at random: GDAL makes the file in the temporary
        // folder, never put in place there, and its bytes follow.
        TAtomicFile Staging((std::filesystem::temp_directory_path() / "talvo.tif").string());
        MakeGeoTiff(MakeOut, Staging.TemporaryPath(), Path, Calls);
        std::ifstream Made(Staging.TemporaryPath(), std::ios::binary);
        std::vector<char> Chunk(size_t{1} << 20);
        while (Made.read(Chunk.data(), static_cast<std::streamsize>(Chunk.size())) ||
               Made.gcount() > 0) {
            File.Write(Chunk.data(), static_cast<size_t>(Made.gcount()));
        }
        if (Made.bad()) {
            throw EInOutError(Text(TText::CannotWrite, {Path}));
        }
    }
    File.Commit();
}

} // namespace

void WriteGeoTiff(const TalvoGdalRasterOut& Raster, const TRowFill& Fill,
                  const TGeoreference& Place, const std::string& Path, TProgress& Progress) {
    TWriteCalls Calls{&Fill, nullptr, Progress, nullptr};
    WriteWith(
        [&](const TalvoGdalRasterOut& Out, const char* Into, TalvoGdalFailure* Failure) {
            return GdalModule().WriteGeoTiff(&Out, Into, ShowProgress, &Calls, Failure);
        },
        Raster, Place, Path, Calls);
}

void WriteSparseGeoTiff(const TalvoGdalRasterOut& Raster, const TBlockFill& Fill,
                        const TGeoreference& Place, const std::string& Path, TProgress& Progress,
                        int64_t CacheBytes, int32_t Threads) {
    TWriteCalls Calls{nullptr, &Fill, Progress, nullptr};
    WriteWith(
        [&](const TalvoGdalRasterOut& Out, const char* Into, TalvoGdalFailure* Failure) {
            return GdalModule().WriteSparseGeoTiff(&Out, FillBlock, &Calls, Into, CacheBytes,
                                                   Threads, ShowProgress, &Calls, Failure);
        },
        Raster, Place, Path, Calls);
}

void WritePictureGeoTiff(const TBitmap& Picture, const TGeoreference& Place,
                         const std::string& Path) {
    TalvoGdalRasterOut Raster{};
    Raster.Width = Picture.Width();
    Raster.Height = Picture.Height();
    Raster.Bands = 3;
    Raster.CellType = TalvoGdalByte;
    Raster.Overview = "AVERAGE";
    TProgress Unwatched;
    WriteGeoTiff(
        Raster,
        [&Picture](int32_t Band, int32_t Y, int32_t X, int32_t Cols, void* Cells) {
            // Colour values are 0x00BBGGRR: red in the lowest byte.
            const int32_t* Row = Picture.Row(Y) + X;
            std::transform(Row, Row + Cols, static_cast<unsigned char*>(Cells),
                           [Band](int32_t Colour) {
                               return static_cast<unsigned char>(Colour >> (8 * (Band - 1)));
                           });
        },
        Place, Path, Unwatched);
}

} // namespace talvo
