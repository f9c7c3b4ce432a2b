#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace talvo {

// Every text the core and the command line show a person, each in Japanese (the program's
// documented texts, the default) and in English (under English locales).
enum class TText {
    // Conversions and files, as the runtime words them.
    NotAnInteger,
    NotAReal,
    FileNotFound,
    PathNotFound,
    AccessDenied,
    TooManyOpenFiles,
    InOutError,
    ReadBeyondEnd,
    CannotWrite,
    IntegerOverflow,
    // The grid containers' own texts.
    DimensionExists,
    InvalidIndex,
    IndexOverRange,
    AllocationFailed,
    // Reading maps.
    HeaderMissing,
    MeshFileMissing,
    LineTooLong,
    IsAFolder,
    CellsTooWide,
    RasterTooLarge,
    ArcHeaderShort,
    ArcCutShort,
    CoordinatesInPairs,
    ArcLineEmpty,
    NoCp932,
    // Pictures and other outputs.
    PictureTooLarge,
    PictureNoMemory,
    PictureExtension,
    OutputIsInput,
    // The 3D region and mesh.
    StepTooSmall,
    RegionTooSmall,
    RegionOutside,
    NoCellSpacing,
    OnlyTriangles,
    FaceVertexMissing,
    // The command line.
    Usage,
    Misuse,
    UnknownLayer,
    NeedsValue,
    Unexpected,
    MeshNeeds,
    RenderNeeds,
    InfoNeedsOneFile,
    UnknownOption,
    ViewerOpensOneFile,
    OneCommand,
    TextureTooLarge,
    TerrainTooLarge,
    HeightLimitRange,
    OptionNeedsCommand,
    NothingToDraw,
    MeshNeedsObj,
    MeshNeedsHeights,
    RegionNeedsFour,
    HeightScaleRange,
    ColoursNotHexadecimal,
    Drawing,
    CannotStartViewer,
    ViewerNeedsDisplay,
    // The windows' messages.
    ColoursDrawnBlack,
    NoOpenGLContext,
    NeedsOpenGL33,
    ShadersNotBuilt,
    // FG-GML DEM tiles, their zips and GDAL rasters.
    FgMarkupInList,
    FgTwoLists,
    FgListTag,
    FgFieldTwice,
    FgTextTooLong,
    FgNotWellFormed,
    FgFieldNumbers,
    FgNoList,
    FgLacks,
    FgOrder,
    FgNoArea,
    FgGridSize,
    FgStartOutside,
    FgNoMemory,
    FgNotAPoint,
    FgTooManyPoints,
    FgHeightBeyond,
    ZipBomb,
    ZipNoTile,
    ZipSpacings,
    ZipDatums,
    ZipMeshTwice,
    ZipSpanTooLarge,
    ZipCellsTooMany,
    GdalComplex,
    GdalSize,
    GdalTransformNaN,
    GdalRotated,
    GdalNoCellSize,
    GdalHeightBeyond,
    FileTooLarge,
    GdalNotLoaded,
    // The readout of a cell and the elevation profile.
    ReadoutLon,
    ReadoutLat,
    ReadoutEasting,
    ReadoutNorthing,
    ReadoutCrs,
    ReadoutCol,
    ReadoutRow,
    ReadoutHeight,
    ReadoutClass,
    ReadoutMeshCode,
    CellSea,
    CellNoData,
    CellNotRead,
    PointNotUnderstood,
    PointOffMap,
    AtNeeds,
    ProfileNeeds,
    ProfileNeedsHeights,
    // Settings files.
    SettingsNoKnownKey,
    // Why a file could not be written.
    CannotWriteBecause,
    NoSpaceLeft,
    FolderReadOnly,
    FileReadOnly,
    NameTooLong,
    FolderMissing,
    TargetIsAFolder,
    PictureSideLimit,
    // Documents, tiles and rasters that cannot fill what they declare or that reach out.
    FgNotXml,
    FgListTooShort,
    ZipSparse,
    ZipNotArchive,
    ZipEntrySize,
    GdalNotRaster,
    GdalNoBand,
    GdalRemoteSource,
    GdalRawSource,
    GdalSourceUnreadable,
    GdalSourceNotRaster,
    GdalTooDeep,
    GdalDamaged,
    GdalNoMemory,
    GdalUnsupported,
    GdalFailed,
    GdalUnit,
    GdalBeyondMap,
    GdalBadCrs,
    // Exporting cells.
    NothingToExport,
    ExportNeeds,
    ExportNeedsTif,
    SeaNeedsNumber,
    CrsNeedsEpsg,
    // Batches of many tiles, their manifests and shards.
    ZipTileMissing,
    BatchNeedsFolder,
    BatchOptionNeedsFolder,
    JobsNotUnderstood,
    ShardNotUnderstood,
    VerifyNeedsManifest,
    OutputOfTwo,
    TileFailed,
    TileWritten,
    TileSkipped,
    BatchProgress,
    BatchSummary,
    ManifestLineTorn,
    VerifyMissing,
    VerifySize,
    VerifyHash,
    VerifyFailedTile,
    VerifyAllMatch,
    MosaicNeedsFgGml,
    MosaicNeedsFile,
    // Zips read without GDAL, packs of zips, datum labels and vintages of FG-GML tiles.
    ZipDamaged,
    ZipUnsupported,
    ZipRasters,
    ZipOlderSetAside,
    DatumUnnamed,
    // A .bil's CRS.
    PrjNotCrs,
};

// Id's text in the language of this run (MessageLanguage), "%1" … "%9" replaced by Args, so
// that each language may put them in its own order.
std::string Text(TText Id, std::initializer_list<std::string_view> Args = {});

// A message box's text for a terminal or a line of a log: its line breaks as plain line feeds.
std::string TerminalText(std::string Text);

// Value as a message quotes it: control bytes but the tab written as \xHH, since a NUL would end
// the whole message (the file's name after it included) and others would move the terminal's
// cursor; a tab is a blank of the fields it quotes.
std::string Printable(std::string_view Value);

} // namespace talvo
