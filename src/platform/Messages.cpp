#include "platform/Messages.h"

#include <algorithm>
#include <array>

#include "platform/Language.h"
#include "platform/Utf8Bytes.h"

namespace talvo {

namespace {

struct TTexts {
    TText Id;
    const char* Japanese;
    const char* English;
};

// In the order of TText.
constexpr TTexts Table[] = {
    {TText::NotAnInteger, "'%1' は整数ではありません", "'%1' is not an integer"},
    {TText::NotAReal, "'%1' は浮動小数点数ではありません", "'%1' is not a floating-point number"},
    {TText::FileNotFound, "ﾌｧｲﾙが見つかりません", "File not found"},
    {TText::PathNotFound, "ﾊﾟｽが見つかりません", "Path not found"},
    {TText::AccessDenied, "ﾌｧｲﾙ ｱｸｾｽが拒否されました", "File access denied"},
    {TText::TooManyOpenFiles, "ｵｰﾌﾟﾝされているﾌｧｲﾙが多すぎます", "Too many open files"},
    {TText::InOutError, "I/O ｴﾗｰ %1 (%2)", "I/O error %1 (%2)"},
    {TText::ReadBeyondEnd, "ﾌｧｲﾙの末尾以降を読み込みました", "Read beyond the end of the file"},
    {TText::CannotWrite, "%1 に書き込めません", "%1 cannot be written"},
    {TText::IntegerOverflow, "整数オーバーフロー", "Integer overflow"},
    {TText::DimensionExists, "Dimension Is Allready Exist", "Dimension Is Allready Exist"},
    {TText::InvalidIndex, "Invalid Index Value", "Invalid Index Value"},
    {TText::IndexOverRange, "%1-Index Is Over Range(%2)", "%1-Index Is Over Range(%2)"},
    {TText::AllocationFailed, "Memory Allocation Faild", "Memory Allocation Faild"},
    {TText::HeaderMissing, "ヘッダーファイルがみつかりません", "The header file is missing"},
    {TText::MeshFileMissing, "メッシュファイルがみつかりません", "The mesh data file is missing"},
    {TText::LineTooLong, "%1 バイトを超える行があります", "The line is longer than %1 bytes"},
    {TText::IsAFolder, "フォルダーです。地図ファイルではありません",
     "This is a folder, not a map file"},
    {TText::CellsTooWide, "ラスタのセルが %1 バイトです。読めるのは 1 バイトか 2 バイトのセルです",
     "The raster's cells are %1 bytes wide; Talvo reads cells of 1 or 2 bytes"},
    {TText::RasterTooLarge, "ラスタが大きすぎて読み込めません: %1 × %2 セル",
     "The raster is too large to load: %1 × %2 cells"},
    {TText::ArcHeaderShort, "アークの見出し行には値が 7 つ必要です",
     "An arc header holds seven values"},
    {TText::ArcCutShort, "アークの %1 点がそろう前にファイルが終わりました",
     "The file ends before the arc's %1 vertices"},
    {TText::CoordinatesInPairs, "座標は 2 つ一組で書かれていなければなりません",
     "Coordinates come in pairs"},
    {TText::ArcLineEmpty, "アークの行に値がありません", "An arc section line holds no value"},
    {TText::NoCp932, "この環境では CP932 の文字変換が使えません",
     "CP932 text conversion is not available on this system"},
    {TText::PictureTooLarge, "%1 × %2 画素の図は作れません",
     "A picture of %1 × %2 pixels cannot be made"},
    {TText::PictureNoMemory, "%1 × %2 画素の図を作るメモリが足りません",
     "There is not enough memory for a picture of %1 × %2 pixels"},
    {TText::PictureExtension, "図の保存は .bmp, .jpg, .jpeg, .png, .tif のいずれかです",
     "Pictures are saved as .bmp, .jpg, .jpeg, .png or .tif"},
    {TText::OutputIsInput, "%1 は読み込み中のファイル %2 です。何も書き込みませんでした",
     "%1 is %2, which is being read: nothing was written"},
    {TText::StepTooSmall, "3D のステップは 1 以上にしてください (%1)",
     "The 3D step must be 1 or more, not %1"},
    {TText::RegionTooSmall,
     "%1 × %2 セルの 3D 範囲はステップ %3 には小さすぎます。縦横それぞれ 2 点以上、幅と高さが %4 "
     "セル以上必要です",
     "The 3D region of %1 × %2 cells is too small for step %3: it needs at least 2 samples each "
     "way, a width and a height of %4 cells or more"},
    {TText::RegionOutside,
     "3D 範囲の点 (列 %1～%2、行 %3～%4) が地図 (%5 × %6 セル) の外に出ています",
     "The 3D region's samples (columns %1 to %2, rows %3 to %4) reach outside the map (%5 × %6 "
     "cells)"},
    {TText::NoCellSpacing,
     "この地図にはセルの間隔がありません (.Mem, .Sem, .Tem "
     "以外の名前の数値地図や、間隔の分からないラスタ)。3D "
     "では表示できません",
     "This map has no cell spacing (a numeric map named other than .Mem, .Sem or .Tem, or a raster "
     "whose cell size is unknown): its heights cannot be drawn in 3D"},
    {TText::OnlyTriangles, "メッシュに加えられるのは三角形だけです",
     "Only triangles can be added to a mesh"},
    {TText::FaceVertexMissing, "面が与えられていない頂点を参照しています",
     "A face refers to a vertex that was not given"},
    {TText::Usage, R"(使い方:
  talvo [FILE]                       ビューアを開く。FILE があれば読み込む
  talvo --info FILE                  FILE のヘッダーを "名前: 値" の行で出力する
  talvo --render FILE -o OUT         FILE をビューアと同じに描いて OUT に保存する (.bmp, .jpg, .png,
                                     .tif は座標付きの RGB GeoTIFF)
        [--layers ad,rv,lk,rd,hw,rw] 描くレイヤー ("" でなし。既定: 最後に保存した設定)
        [--ini PATH]                 使う設定ファイル (既定: ビューアの設定ファイル)
        [--no-world-file]            図の隣にワールドファイルと .aux.xml を書かない
        [--shade MODE]               陰影: ramp (既定), hillshade, multidirectional, combined,
                                     redrelief (設定ファイルの [Height] Shade の代わり)
        [--size WxH]                 地図を W × H ピクセル以内に縮めて描く (大きなラスタは概観から)
        [--region X,Y,W,H]           列 X、行 Y からの W × H セルだけを描く
  talvo --export FILE -o OUT.tif     標高 (Float32) か分類を Cloud Optimized GeoTIFF で書き出す
        [--sea VALUE]                海のセルを VALUE で書く (既定: データなし -9999)
        [--product P]                標高の代わりに hillshade, hillshade:multidirectional,
                                     hillshade:combined, hillshade:igor, slope, redrelief を書く
        [--azimuth A] [--altitude A] [-z Z]
                                     陰影の光の方位と高度、標高の倍率 (既定 315, 45, 1)
        [--compute-edges]            端とデータなしの隣も gdaldem -compute_edges のように計算する
        [--radius M]                 赤色立体地図の開度の半径 (メートル、既定: 10 セル)
  --crs EPSG:N                       --render と --export で地図の座標参照系の代わりに使う
  talvo --render|--export FILE... -o DIR/
                                     タイルごとに 1 つの出力 (.png か .tif) を DIR に書き出す
                                     (フォルダーは中の地図を探し、zip のタイルは DIR/ZIP/TILE)
        [--jobs N] [--force]         同時に処理するタイル数 (既定: 全コア)、検証済みも書き直す
        [--manifest M.jsonl]         タイルごとに 1 行の JSON。検証できる出力は書き直さない
        [--shard I/N] [--quiet]      N 個に分けた I 番目だけ処理する、進み具合を出さない
  talvo --verify MANIFEST            マニフェストの出力を調べ、違うものを挙げる
  talvo --render|--export --mosaic FILE... -o OUT
                                     基盤地図情報 DEM のタイルと zip をすべて一つの地図にする
        [--jobs N]                   --export は大きさによらず BigTIFF に書き、同時に読むタイル数
  talvo --mesh FILE --region X,Y,W,H -o OUT.obj
        [--step S] [--hscale H]      範囲 (最初の列 X、最初の行 Y、W × H セル) の 3D 地形を
        [--ini PATH]                 Wavefront OBJ と .mtl で保存する
        [--drape [--layers ...] [--shade MODE]]
                                     地図の図をその範囲だけ PNG に描いて地形に貼る
  talvo --at FILE LON,LAT            地点 (経度,緯度 か 列:行) のセルの位置と値を出力する
  talvo --at FILE --xy E,N           投影された地図の座標 (東距,北距) で与えた地点について同じ
  talvo --profile FILE --from LON,LAT --to LON,LAT [--to ...] [-o OUT.csv]
                                     点を結ぶ折れ線の断面の標高を CSV で出力する
                                     (地点は xy:東距,北距 か 列:行 でも与えられる)
  talvo --help                       この説明を表示する
  talvo --version                    版を表示する

FILE は数値地図メッシュ (*.Mem, *.Sem, *.Tem)、地球地図のヘッダー (EL*.hdr, LU*.hdr,
VG*.hdr)、30 秒メッシュ (*.bil と .hdr)、基盤地図情報 DEM のタイル (*.xml) かその zip (*.zip、
zip の zip も)、または GDAL の読むラスタ (*.tif, *.tiff, *.hgt, *.asc, *.dem, *.img, *.vrt) か
その 1 つだけの zip です。
ベクトルレイヤー (レイヤーコード + メッシュコード + ".e00") は地図の隣から読み込みます。
)",
     R"(Usage:
  talvo [FILE]                       open the viewer; load FILE when given
  talvo --info FILE                  print the header of FILE as "Name: value" lines
  talvo --render FILE -o OUT         draw FILE as the viewer would into OUT (.bmp, .jpg, .png;
                                     .tif: an RGB GeoTIFF with the map's georeference)
        [--layers ad,rv,lk,rd,hw,rw] layers to draw ("" for none; default: as last saved)
        [--ini PATH]                 the settings file to use (default: the viewer's)
        [--no-world-file]            write no world file and .aux.xml beside the picture
        [--shade MODE]               the shading: ramp (default), hillshade, multidirectional,
                                     combined or redrelief (in place of the settings' [Height] Shade)
        [--size WxH]                 fit the map into W × H pixels (a large raster from its overviews)
        [--region X,Y,W,H]           only W × H cells from column X, row Y
  talvo --export FILE -o OUT.tif     the heights (Float32) or classes as a Cloud Optimized GeoTIFF
        [--sea VALUE]                write the sea's cells as VALUE (default: no data, -9999)
        [--product P]                in place of the heights: hillshade, hillshade:multidirectional,
                                     hillshade:combined, hillshade:igor, slope or redrelief
        [--azimuth A] [--altitude A] [-z Z]
                                     a hillshade's light and exaggeration (default 315, 45, 1)
        [--compute-edges]            compute the edges and cells beside no data as gdaldem's
                                     -compute_edges does
        [--radius M]                 the red relief's openness radius in metres (default 10 cells)
  --crs EPSG:N                       with --render and --export: use it for the map's CRS
  talvo --render|--export FILE... -o DIR/
                                     one output per tile (.png or .tif) in DIR; folders are
                                     searched for maps, a zip's tiles go to DIR/ZIP/TILE
        [--jobs N] [--force]         tiles at once (default: every core); rewrite verified ones
        [--manifest M.jsonl]         one JSON line per tile; outputs that verify are kept
        [--shard I/N] [--quiet]      only the I-th of N parts; no progress
  talvo --verify MANIFEST            check the outputs of a manifest and list what differs
  talvo --render|--export --mosaic FILE... -o OUT
                                     every FG-GML DEM tile and zip given as one map
        [--jobs N]                   --export: a BigTIFF of any size, tiles read N at once
  talvo --mesh FILE --region X,Y,W,H -o OUT.obj
        [--step S] [--hscale H]      the 3D terrain of a region (first column X, first row Y,
        [--ini PATH]                 W × H cells) as a Wavefront OBJ with its .mtl
        [--drape [--layers ...] [--shade MODE]]
                                     the map's picture of the region in a .png, laid on it
  talvo --at FILE LON,LAT            print the cell at a point (LON,LAT or col:row) and its value
  talvo --at FILE --xy E,N           the same at a projected map's own easting and northing
  talvo --profile FILE --from LON,LAT --to LON,LAT [--to ...] [-o OUT.csv]
                                     the heights along a line through the points as CSV (a
                                     point may also be xy:E,N or col:row)
  talvo --help                       show this help
  talvo --version                    show the version

FILE is a numeric map mesh (*.Mem, *.Sem, *.Tem), a Global Map header (EL*.hdr, LU*.hdr,
VG*.hdr), a 30-arc-second raster (*.bil with its .hdr), an FG-GML DEM tile (*.xml) or a zip of
tiles (*.zip, or of zips of them), or a raster GDAL reads (*.tif, *.tiff, *.hgt, *.asc, *.dem,
*.img, *.vrt) or a zip of one.
Vector layers (layer code + mesh code + ".e00") are read from beside the map.
)"},
    {TText::Misuse, "talvo: %1", "talvo: %1"},
    {TText::UnknownLayer, "--layers に知らないレイヤー '%1' があります",
     "unknown layer '%1' in --layers"},
    {TText::NeedsValue, "%1 には値が必要です", "%1 needs a value"},
    {TText::Unexpected, "%2 の後に思いがけない %1 があります", "unexpected %1 after %2"},
    {TText::MeshNeeds, "--mesh には FILE、--region X,Y,W,H、-o OUT.obj が必要です",
     "--mesh needs a FILE, --region X,Y,W,H and -o OUT.obj"},
    {TText::RenderNeeds, "--render には FILE と -o OUT が必要です",
     "--render needs a FILE and -o OUT"},
    {TText::InfoNeedsOneFile, "--info には FILE を 1 つだけ与えてください",
     "--info takes exactly one FILE"},
    {TText::UnknownOption, "知らないオプション %1", "unknown option %1"},
    {TText::ViewerOpensOneFile, "ビューアが開くファイルは 1 つです", "the viewer opens one FILE"},
    {TText::OneCommand,
     "--info、--render、--export、--mesh、--at、--profile は 1 つだけ与えてください",
     "give one of --info, --render, --export, --mesh, --at and --profile"},
    {TText::TextureTooLarge,
     "この範囲の図は %1 × %2 ピクセルですが、この OpenGL が扱えるのは一辺 %3 ピクセルまでです",
     "the picture of this region is %1 × %2 pixels; OpenGL here takes at most %3 a side"},
    {TText::TerrainTooLarge,
     "この範囲は %1 点です。3D 表示は %2 点まで (Step を大きくしてください)",
     "this region has %1 samples; the 3D view takes at most %2 (choose a larger Step)"},
    {TText::HeightLimitRange, "%1 は %2 から %3 までの整数です: '%4'",
     "%1 must be a whole number from %2 to %3: '%4'"},
    {TText::OptionNeedsCommand, "このオプションはそれを使うコマンドと一緒に与えてください",
     "an option was given without the command that uses it"},
    {TText::NothingToDraw, "%1: この地図には描けるものがありません",
     "%1: the map holds nothing that can be drawn"},
    {TText::MeshNeedsObj, "%1: --mesh が書くのは名前が .obj で終わるファイルだけです",
     "%1: --mesh writes only files whose names end in .obj"},
    {TText::MeshNeedsHeights,
     "%1: 種類 %2 の地図には標高がありません。--mesh は 3D "
     "ビューが表示する地図だけを扱います",
     "%1: a map of kind %2 holds no heights; --mesh takes only the maps the 3D view shows"},
    {TText::RegionNeedsFour, "--region には数を 4 つ与えてください: X,Y,W,H",
     "--region takes four numbers: X,Y,W,H"},
    {TText::SizeNotUnderstood, "--size には 1 以上の整数 2 つを WxH で与えてください: '%1'",
     "--size takes two whole numbers of at least 1 as WxH: '%1'"},
    {TText::SizeNeedsOneMap, "--size と --region は 1 つの地図を描くときだけ使えます",
     "--size and --region draw one map, not a folder of tiles"},
    {TText::HeightScaleRange, "--hscale %1 は範囲外です。高さの倍率は ±3.4e38 以内です",
     "--hscale %1 is out of range: a height scale lies within ±3.4e38"},
    {TText::MeshTooManyCells,
     "3D 範囲は %1 × %2 点 (ステップ %3) で %4 点です。メッシュが持てるのは %5 点までです。"
     "ステップを大きくしてください",
     "The 3D region takes %1 × %2 samples (step %3), %4 in all; a mesh holds at most %5 "
     "samples: choose a larger step"},
    {TText::OptionNeedsNumber, "%1 には数を与えてください: '%2'", "%1 takes a number: '%2'"},
    {TText::ColoursNotHexadecimal,
     "%1: 16 進数でない色は黒で描きます:", "%1: colours that are not hexadecimal are drawn black:"},
    {TText::Drawing, "描画中 %1%", "Drawing %1%"},
    {TText::Counting, "セルを数えています %1%", "Counting cells %1%"},
    {TText::PictureNeedsSize,
     "%1 × %2 画素の図は一度に描ける大きさを超えています。--size WxH で小さく描いてください",
     "A picture of %1 × %2 pixels is more than Talvo draws at once: give --size WxH to draw it "
     "smaller"},
    {TText::Exporting, "書き出し中 %1%", "Exporting %1%"},
    {TText::CannotStartViewer, "talvo: %1 を起動できません: %2", "talvo: %1 cannot be started: %2"},
    {TText::ViewerNeedsDisplay,
     "talvo: ビューアには画面 (DISPLAY、WAYLAND_DISPLAY か QT_QPA_PLATFORM) が必要です。--info、"
     "--render、--export、--mesh、--at、--profile、--verify は画面なしで使えます",
     "talvo: the viewer needs a display (DISPLAY, WAYLAND_DISPLAY or QT_QPA_PLATFORM); --info, "
     "--render, --export, --mesh, --at, --profile and --verify do not"},
    {TText::ColoursDrawnBlack, "%1: 次の色は 16 進数でないため、設定し直すまで黒で描きます: %2",
     "%1: these colours are not hexadecimal and are drawn black until set again: %2"},
    {TText::NoOpenGLContext,
     "3D ビューはディスプレイから OpenGL のコンテキストを得られませんでした",
     "The 3D view could not get an OpenGL context from the display"},
    {TText::NeedsOpenGL33,
     "3D ビューには OpenGL 3.3 (コアプロファイル) が必要です。このディスプレイは OpenGL %1 です",
     "The 3D view needs OpenGL 3.3 (core profile); the display offers OpenGL %1"},
    {TText::ShadersNotBuilt, "3D ビューのシェーダーを作れませんでした:\n%1",
     "The 3D view's shaders could not be built:\n%1"},
    {TText::FgMarkupInList, "点の並びの中にマークアップがあります",
     "The tuple list holds markup where only points belong"},
    {TText::FgTwoLists, "gml:tupleList が 2 つ以上あります",
     "The document holds more than one gml:tupleList"},
    {TText::FgListTag,
     "点の並びを読めません: タグが基盤地図情報 DEM の書き方 (UTF-8, <gml:tupleList>) "
     "ではありません",
     "The tuple list cannot be read: its tag is not written as an FG-GML DEM writes it (UTF-8, "
     "<gml:tupleList>)"},
    {TText::FgFieldTwice, "%1 が 2 度あります", "%1 appears twice"},
    {TText::FgTextTooLong, "要素の文字列が %1 バイトを超えています",
     "An element's text is longer than %1 bytes"},
    {TText::FgNotWellFormed, "整形式の XML 文書ではありません: %1",
     "Not a well-formed XML document: %1"},
    {TText::FgFieldNumbers, "%1 には数が %2 個必要です。'%3' ではありません",
     "%1 must hold %2 numbers, not '%3'"},
    {TText::FgNoList, "gml:tupleList がありません。基盤地図情報 DEM ではありません",
     "The document holds no gml:tupleList: it is not an FG-GML DEM"},
    {TText::FgLacks, "基盤地図情報 DEM に %1 がありません", "The FG-GML DEM lacks %1"},
    {TText::FgOrder, "読めるのは +x-y の点の順だけです。gml:sequenceRule は '%1' です",
     "Only the +x-y point order is read; gml:sequenceRule gives '%1'"},
    {TText::FgNoArea, "gml:lowerCorner と gml:upperCorner が広さを囲んでいません",
     "gml:lowerCorner and gml:upperCorner enclose no area"},
    {TText::FgGridSize, "gml:low と gml:high は %1 × %2 点です。地図が持てるのは 1～%3 点です",
     "gml:low and gml:high give %1 × %2 points; a map holds 1 to %3"},
    {TText::FgStartOutside, "gml:startPoint が gml:low と gml:high の格子の外にあります",
     "gml:startPoint lies outside the grid of gml:low and gml:high"},
    {TText::FgNoMemory, "文書を読むメモリが残っていません",
     "No memory is left to read the document"},
    {TText::FgNotAPoint, "%1 は点ではありません: 種別、コンマ、10 進の値が必要です",
     "%1 is not a point: a type, a comma and a decimal value"},
    {TText::FgTooManyPoints, "点の並びが格子の %1 × %2 点より多くあります",
     "The tuple list holds more points than the grid's %1 × %2"},
    {TText::FgHeightBeyond, "%1 の標高は地図が持てる範囲を超えています",
     "The height of %1 lies beyond what a map holds"},
    {TText::ZipBomb,
     "アーカイブのエントリーを展開すると %1 GiB を超えます。zip 爆弾として読みません",
     "The archive's entries unpack to more than %1 GiB: it is refused as a zip bomb"},
    {TText::ZipNoTile,
     "アーカイブに基盤地図情報 DEM のタイル (.xml) も、GDAL で読むラスタもありません",
     "The archive holds no FG-GML DEM tile (.xml) and no raster GDAL reads"},
    {TText::ZipSpacings, "アーカイブに間隔の違うタイルがあります: これと %1",
     "The archive holds tiles of different spacings: this one and %1"},
    {TText::ZipDatums, "アーカイブに測地系の違うタイルがあります: %2 は %1、このタイルは %3 です",
     "The archive mixes datums: %2 is in %1, this tile in %3"},
    {TText::ZipMeshTwice, "メッシュ %1 が 2 度あります: ここと %2",
     "The mesh %1 is given twice: here and in %2"},
    {TText::ZipSpanTooLarge, "タイルを合わせた範囲が地図の持てるセル数 (%1) を超えます",
     "The tiles together span more cells than a map holds (%1)"},
    {TText::ZipCellsTooMany, "タイルを合わせたセル数が地図の持てる数 (%1) を超えます",
     "The tiles together hold more cells than a map holds (%1)"},
    {TText::GdalComplex, "バンド 1 は複素数です。標高ではありません",
     "Band 1 holds complex numbers, not heights"},
    {TText::GdalSize, "ラスタの %1 × %2 セルは地図に収まりません (1～%3 セル)",
     "The raster's %1 × %2 cells do not fit a map (1 to %3 cells)"},
    {TText::GdalTransformNaN, "ラスタのジオトランスフォームに数でない値があります",
     "The raster's geotransform holds a value that is not a number"},
    {TText::GdalRotated, "ラスタが回転しています。読めるのは北が上のラスタだけです",
     "The raster is rotated; Talvo reads only north-up rasters"},
    {TText::GdalNoCellSize, "ラスタのセルに正の幅か高さがありません",
     "The raster's cells have no positive width or no height"},
    {TText::GdalHeightBeyond, "行 %2、列 %3 (0 から) の標高 %1 m は地図が持てる範囲を超えています",
     "The height %1 m in row %2, column %3 (from 0) lies beyond what a map holds"},
    {TText::WindowOutsideMap, "%3 × %4 セル (列 %1、行 %2 から) は地図の中にありません",
     "The %3 × %4 cells from column %1, row %2 do not lie within the map"},
    {TText::WindowedPictureNotSaved,
     "この地図は大きすぎて一度に描けないので、図を 1 枚に保存できません。"
     "talvo --render FILE --size WxH -o OUT で縮めた図を書けます",
     "This map is too large to draw at once, so its picture cannot be saved whole; "
     "talvo --render FILE --size WxH -o OUT writes it reduced"},
    {TText::FileTooLarge,
     "ファイルが %1 MiB を超えています。1 つの文書として読める大きさを超えています",
     "The file is larger than %1 MiB, more than Talvo reads of one document"},
    {TText::GdalNotLoaded,
     "このファイルは GDAL で読みますが、GDAL を読み込めませんでした (%1)。Debian のパッケージ "
     "libgdal32 を入れてください",
     "This file is read through GDAL, which could not be loaded (%1). Install the Debian package "
     "libgdal32."},
    {TText::ReadoutLon, "経度", "Lon"},
    {TText::ReadoutLat, "緯度", "Lat"},
    {TText::ReadoutEasting, "東距", "Easting"},
    {TText::ReadoutNorthing, "北距", "Northing"},
    {TText::ReadoutCrs, "座標系", "CRS"},
    {TText::ReadoutCrsNone, "なし", "none"},
    {TText::ReadoutPixel, "ピクセル", "Pixel"},
    {TText::ReadoutLine, "ライン", "Line"},
    {TText::ReadoutCol, "列", "Col"},
    {TText::ReadoutRow, "行", "Row"},
    {TText::ReadoutHeight, "標高", "Height"},
    {TText::ReadoutClass, "分類", "Class"},
    {TText::ReadoutMeshCode, "メッシュコード", "MeshCode"},
    {TText::CellSea, "海", "sea"},
    {TText::CellNoData, "データなし", "no data"},
    {TText::CellNotRead, "未読", "not read"},
    {TText::PointNotUnderstood,
     "'%1' は地点ではありません: 経度,緯度、xy:東距,北距 か 列:行 で与えてください",
     "'%1' is not a point: give LON,LAT, xy:E,N or col:row"},
    {TText::PointOffMap, "地点 %1 は地図の外です", "The point %1 lies outside the map"},
    {TText::PointNotConverted,
     "経度緯度 %1 を地図の座標参照系に変換できません: 地図の座標は xy:東距,北距 で与えてください",
     "The longitude and latitude %1 do not convert to the map's CRS: give its own as xy:E,N"},
    {TText::AtNeeds, "--at には FILE と地点 (経度,緯度、--xy 東距,北距 か 列:行) が必要です",
     "--at needs a FILE and a point (LON,LAT, --xy E,N or col:row)"},
    {TText::ProfileNeeds, "--profile には FILE、--from 経度,緯度、--to 経度,緯度 が必要です",
     "--profile needs a FILE, --from LON,LAT and --to LON,LAT"},
    {TText::ProfileNeedsHeights, "%1 は標高の地図ではありません (%2)。断面図は描けません",
     "%1 is not a map of heights (%2): it has no profile"},
    {TText::SettingsNoKnownKey,
     "設定ファイルに Talvo の設定がありません (知っているセクションのキーが 1 つもありません)",
     "The settings file holds none of Talvo's settings (no key of a section Talvo knows)"},
    {TText::CannotWriteBecause, "%1 に書き込めません (%2)", "%1 cannot be written: %2"},
    {TText::NoSpaceLeft, "ディスクに空きがありません", "no space left on the device"},
    {TText::FolderReadOnly, "フォルダーが読み取り専用です", "the folder is read-only"},
    {TText::FileReadOnly, "ファイルが読み取り専用です", "the file is read-only"},
    {TText::NameTooLong, "名前が長すぎます", "the name is too long"},
    {TText::FolderMissing, "フォルダーがありません", "the folder does not exist"},
    {TText::TargetIsAFolder, "フォルダーです", "it is a folder"},
    {TText::NotAFolder, "フォルダーではありません", "not a folder"},
    {TText::FileSystemReadOnly, "ファイルシステムが読み取り専用です",
     "the file system is read-only"},
    {TText::PictureSideLimit, "%1 の図は 1 辺 %2 画素までです。この図は %3 × %4 画素です",
     "%1 allows at most %2 pixels a side; the picture is %3 × %4 pixels"},
    {TText::FgNotXml, "XML 文書ではありません: 先頭が '<' ではありません",
     "Not an XML document: it does not begin with '<'"},
    {TText::FgListTooShort, "点の並びが gml:low と gml:high の %1 × %2 点の半分にも足りません",
     "The tuple list cannot hold even half of the %1 × %2 points of gml:low and gml:high"},
    {TText::ZipSparse, "タイルが覆うのは地図の範囲の 1% 未満です。最も離れたタイルは %1 と %2 です",
     "The tiles cover less than 1 % of the map they span; the tiles farthest apart are %1 and %2"},
    {TText::ZipNotArchive, "zip アーカイブではありません", "Not a zip archive"},
    {TText::ZipEntrySize, "エントリーを展開した大きさがアーカイブの記載と違います",
     "The entry does not unpack to the size the archive declares"},
    {TText::GdalNotRaster,
     "GDAL で開くラスタ (GeoTIFF, SRTM HGT, ASCII グリッド, USGS DEM, Erdas Imagine, VRT) "
     "ではありません",
     "Not a raster Talvo opens through GDAL (GeoTIFF, SRTM HGT, ASCII grid, USGS DEM, Erdas "
     "Imagine, VRT)"},
    {TText::GdalNoBand, "ファイルにラスタのバンドがありません", "The file holds no raster band"},
    {TText::GdalRemoteSource,
     "ラスタが読む %1 はこのコンピューターのただのファイルではありません。ネットワークや GDAL "
     "の仮想ファイルシステムからは読みません",
     "The raster reads %1, which is not a plain file on this computer: Talvo reads nothing over "
     "the network or through GDAL's virtual file systems"},
    {TText::GdalRawSource, "ラスタが %1 を生のバイトとして読みます。VRT の生のバンドは読みません",
     "The raster reads %1 as raw bytes: Talvo does not read raw VRT bands"},
    {TText::GdalSourceUnreadable, "ラスタが読む %1 を開けません: %2",
     "The raster reads %1, which cannot be opened: %2"},
    {TText::GdalSourceNotRaster, "ラスタが読む %1 は GDAL で開くラスタではありません",
     "The raster reads %1, which is not a raster Talvo opens through GDAL"},
    {TText::GdalTooDeep, "VRT の入れ子が %1 段を超えています", "The VRTs nest more than %1 deep"},
    {TText::GdalDamaged, "GDAL がファイルを読めません: 壊れているか途中で切れています",
     "GDAL cannot read the file: it is damaged or cut short"},
    {TText::GdalNoMemory, "GDAL がファイルを読むメモリが足りません",
     "There is not enough memory for GDAL to read the file"},
    {TText::GdalUnsupported, "ラスタは GDAL が扱えない機能を使っています",
     "The raster uses a feature GDAL does not handle"},
    {TText::GdalFailed, "GDAL がファイルを読めません", "GDAL cannot read the file"},
    {TText::GdalUnit, "ラスタの座標の単位 %1 が正の有限な数ではありません",
     "The raster's coordinate unit %1 is not a positive finite number"},
    {TText::GdalBeyondMap, "ラスタの角かセルの大きさが地図の持てる範囲を超えています",
     "The raster's corners or cell size lie beyond what a map holds"},
    {TText::GdalBadCrs, "GDAL はこの座標参照系を知りません: %1",
     "GDAL does not know the coordinate reference system %1"},
    {TText::NothingToExport, "この地図には書き出せるセルがありません",
     "The map holds no cells to export"},
    {TText::ProductNeedsWholeMap,
     "標高から作る図は地図全体を一度に読みますが、この地図の %1 × %2 "
     "セルは一度に読める数を超えています",
     "A product of the heights reads the whole map at once, and this map's %1 × %2 cells are more "
     "than Talvo holds"},
    {TText::ExportNeeds, "--export には FILE と -o OUT.tif が必要です",
     "--export needs a FILE and -o OUT.tif"},
    {TText::ExportNeedsTif, "%1: --export が書くのは名前が .tif か .tiff で終わるファイルだけです",
     "%1: --export writes only files whose names end in .tif or .tiff"},
    {TText::SeaNeedsNumber, "--sea には数を与えてください: '%1'", "--sea takes a number: '%1'"},
    {TText::SeaBeyondCells, "--sea %1 は範囲外です。書き出すセルが持てるのは ±3.4e38 以内です",
     "--sea %1 is out of range: the exported cells hold values within ±3.4e38"},
    {TText::CrsNeedsEpsg, "--crs は EPSG:N の形で与えてください: '%1'",
     "--crs takes the form EPSG:N: '%1'"},
    {TText::ZipTileMissing, "zip にこのタイルがありません", "The zip holds no such tile"},
    {TText::BatchNeedsFolder,
     "複数の入力には -o DIR/ (タイルごとに 1 つの出力) か --mosaic (一つの地図) が必要です",
     "several inputs need -o DIR/ (one output per tile) or --mosaic (one map)"},
    {TText::BatchOptionNeedsFolder,
     "--jobs, --force, --manifest, --shard, --quiet は -o DIR/ と一緒に与えてください",
     "--jobs, --force, --manifest, --shard and --quiet go with -o DIR/"},
    {TText::JobsNotUnderstood, "--jobs の '%1' は 1 以上の整数ではありません",
     "--jobs '%1' is not a whole number of at least 1"},
    {TText::JobsCapped,
     "--jobs %1: このコンピューターで同時に進むのは %2 タイルまでです。%2 で進めます",
     "--jobs %1: this computer works on %2 tiles at once at most; going on with %2"},
    {TText::ShardNotUnderstood, "--shard の '%1' は I/N (1 ≤ I ≤ N) ではありません",
     "--shard '%1' is not I/N with 1 ≤ I ≤ N"},
    {TText::VerifyNeedsManifest, "--verify にはマニフェストを 1 つ与えてください",
     "--verify needs one MANIFEST"},
    {TText::OutputOfTwo,
     "出力 %1 は %2 の出力でもあります。同じ名前のタイルは別々の実行で書き出してください",
     "The output %1 is also that of %2: write tiles of the same name in separate runs"},
    {TText::TileFailed, "失敗: %1", "failed: %1"},
    {TText::TileWritten, "書き出し: %1 → %2", "written: %1 → %2"},
    {TText::TileSkipped, "検証済み: %1 → %2", "verified, kept: %1 → %2"},
    {TText::BatchProgress, "%1/%2 タイル  %3 タイル/秒  残り %4",
     "%1/%2 tiles  %3 tiles/s  %4 left"},
    {TText::BatchSummary, "%1 タイル: 書き出し %2、検証済み %3、失敗 %4",
     "%1 tiles: %2 written, %3 verified and kept, %4 failed"},
    {TText::ManifestLineTorn, "マニフェストの行が読めません", "The manifest's line cannot be read"},
    {TText::VerifyMissing, "%1: ありません", "%1: missing"},
    {TText::VerifySize, "%1: %2 バイトです。マニフェストでは %3 バイトです",
     "%1: %2 bytes, the manifest says %3"},
    {TText::VerifyHash, "%1: SHA-256 がマニフェストと違います",
     "%1: its SHA-256 differs from the manifest's"},
    {TText::VerifyFailedTile, "%1: 書き出せなかったタイルです: %2",
     "%1: the tile was not written: %2"},
    {TText::VerifyAllMatch, "%1 個の出力がすべてマニフェストと一致します",
     "all %1 outputs match the manifest"},
    {TText::MosaicNeedsFgGml,
     "--mosaic で一つの地図にできるのは基盤地図情報 DEM のタイルとその zip だけです",
     "--mosaic lays only FG-GML DEM tiles and zips of them into one map"},
    {TText::MosaicNeedsFile,
     "--mosaic には --render か --export と -o OUT (フォルダーではないファイル) が必要です",
     "--mosaic goes with --render or --export and -o OUT, a file, not a folder"},
    {TText::ManifestNotOurs, "Talvo の書いたマニフェストではありません。置き換えません",
     "The file is not a manifest Talvo writes: it is left as it is"},
    {TText::ManifestIsOutput, "マニフェスト %1 は %2 の出力です。何も書き込みませんでした",
     "The manifest %1 is the output of %2: nothing was written"},
    {TText::ManifestNotFile,
     "マニフェストは読み返して置き換えるので、通常のファイルにしてください: %1",
     "a manifest is read back and replaced, so it must be a regular file: %1"},
    {TText::ManifestEmpty, "マニフェストに行がありません", "The manifest holds no line"},
    {TText::OutputOutsideFolder, "出力 %1 が %2 の外にあります。書き出しません",
     "The output %1 lies outside %2: it is not written"},
    {TText::EntrySkipped, "%1 を飛ばしました: %2", "skipped %1: %2"},
    {TText::LinkLoop, "シンボリックリンクが循環しています", "a loop of symbolic links"},
    // Zips read without GDAL, packs of zips, datum labels and vintages of FG-GML tiles.
    {TText::ZipDamaged, "zip アーカイブのデータが壊れています",
     "The zip archive's data is damaged"},
    {TText::ZipUnsupported, "zip アーカイブの圧縮方式か暗号化に対応していません",
     "The zip archive's compression method or encryption is not supported"},
    {TText::ZipRasters,
     "アーカイブに基盤地図情報 DEM のタイルがなく、ラスタが %1 個あります。開けるのはラスタ 1 個の "
     "zip "
     "だけです",
     "The archive holds no FG-GML DEM tile and %1 rasters; a zip opens as a raster only when it "
     "holds one"},
    {TText::ZipOlderSetAside,
     "古い版のタイルを %1 個除きました。各メッシュは名前の日付が最も新しいタイルで描きます",
     "Older tiles set aside: %1; each mesh is laid from its tile whose name has the newest date"},
    {TText::TileChanged, "タイルが読んでいる間に変わりました",
     "The tile changed while it was read"},
    {TText::DatumUnnamed, "(srsName なし)", "(no srsName)"},
    // A .bil's CRS.
    {TText::PrjNotCrs, ".prj ファイルに GDAL の読める座標参照系がありません",
     "The .prj file names no coordinate reference system that GDAL reads"},
    {TText::UnknownProduct,
     "--product '%1' はありません: hillshade, hillshade:multidirectional, hillshade:combined, "
     "hillshade:igor, slope, redrelief のどれかです",
     "no product '%1': --product takes hillshade, hillshade:multidirectional, "
     "hillshade:combined, hillshade:igor, slope or redrelief"},
    {TText::ProductNeedsNumber, "%1 には数を与えてください: '%2'", "%1 takes a number: '%2'"},
    {TText::RadiusNeedsPositive, "--radius には正の数 (メートル) を与えてください: '%1'",
     "--radius takes a positive number of metres: '%1'"},
    {TText::OptionNeedsProduct, "このオプションは --export --product と一緒に与えてください",
     "this option goes with --export --product"},
    {TText::ReliefNeedsHeights, "--product は標高の地図にだけ使えます",
     "--product needs a map of heights"},
    {TText::ReliefNeedsCellSize, "この地図のセルには地上の大きさがありません",
     "The map's cells have no size on the ground"},
    {TText::UnknownShade,
     "--shade '%1' はありません: ramp, hillshade, multidirectional, combined, redrelief "
     "のどれかです",
     "no shading '%1': --shade takes ramp, hillshade, multidirectional, combined or redrelief"},
};

constexpr bool InIdOrder() {
    for (size_t I = 0; I < std::size(Table); ++I) {
        if (static_cast<size_t>(Table[I].Id) != I) {
            return false;
        }
    }
    return true;
}
static_assert(InIdOrder() && std::size(Table) == static_cast<size_t>(TText::UnknownShade) + 1,
              "the table lists every text, in the order of TText");

} // namespace

std::string Text(TText Id, std::initializer_list<std::string_view> Args) {
    const TLanguage Language = MessageLanguage(); // a few variables: messages are rare
    const TTexts& Entry = Table[static_cast<size_t>(Id)];
    const std::string_view Pattern =
        Language == TLanguage::English ? Entry.English : Entry.Japanese;
    std::string Result;
    for (size_t I = 0; I < Pattern.size(); ++I) {
        const size_t Arg = I + 1 < Pattern.size() ? static_cast<size_t>(Pattern[I + 1] - '1') : 9;
        if (Pattern[I] == '%' && Arg < Args.size()) {
            Result += Args.begin()[Arg];
            ++I;
        } else {
            Result += Pattern[I];
        }
    }
    return Result;
}

std::string TerminalText(std::string Text) {
    std::erase(Text, '\r');
    std::string Shown;
    size_t Start = 0;
    for (size_t Feed = Text.find('\n'); Feed != std::string::npos; Feed = Text.find('\n', Start)) {
        Shown += Printable(std::string_view(Text).substr(Start, Feed - Start)) + '\n';
        Start = Feed + 1;
    }
    return Shown + Printable(std::string_view(Text).substr(Start));
}

std::string Printable(std::string_view Value) {
    static constexpr char Hex[] = "0123456789ABCDEF";
    std::string Result;
    const auto Escape = [&](std::string_view Bytes) {
        for (const char C : Bytes) {
            const auto Byte = static_cast<unsigned char>(C);
            Result += {'\\', 'x', Hex[Byte >> 4], Hex[Byte & 15]};
        }
    };
    for (size_t At = 0; At < Value.size();) {
        const size_t Valid = Utf8CharLength(Value, At);
        const size_t Length = std::max<size_t>(Valid, 1);
        const std::string_view Char = Value.substr(At, Length);
        const auto Byte = static_cast<unsigned char>(Char[0]);
        // C1 controls (U+0080 to U+009F) start escape sequences on some terminals too.
        const bool Control =
            (Byte < 0x20 && Byte != '\t') || Byte == 0x7F ||
            (Length == 2 && Byte == 0xC2 && static_cast<unsigned char>(Char[1]) < 0xA0);
        if (Valid == 0 || Control) {
            Escape(Char);
        } else {
            Result.append(Char);
        }
        At += Length;
    }
    return Result;
}

} // namespace talvo
