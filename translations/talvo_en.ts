<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>talvo::TInfoWindow</name>
    <message>
        <source>メッシュコード</source>
        <translation>Mesh code</translation>
    </message>
    <message>
        <source>原図の縮尺</source>
        <translation>Source map scale</translation>
    </message>
    <message>
        <source>原図測量年紀</source>
        <translation>Source survey year</translation>
    </message>
    <message>
        <source>原図修正年紀</source>
        <translation>Source revision year</translation>
    </message>
    <message>
        <source>数値化年紀</source>
        <translation>Year digitized</translation>
    </message>
    <message>
        <source>東西方向の点数</source>
        <translation>Points east-west</translation>
    </message>
    <message>
        <source>南北方向の点数</source>
        <translation>Points north-south</translation>
    </message>
    <message>
        <source>メッシュ左下の緯度</source>
        <translation>SW corner latitude</translation>
    </message>
    <message>
        <source>メッシュ左下の経度</source>
        <translation>SW corner longitude</translation>
    </message>
    <message>
        <source>メッシュ右上の緯度</source>
        <translation>NE corner latitude</translation>
    </message>
    <message>
        <source>メッシュ右上の経度</source>
        <translation>NE corner longitude</translation>
    </message>
    <message>
        <source>図葉面数</source>
        <translation>Number of sheets</translation>
    </message>
    <message>
        <source>図名1</source>
        <translation>Sheet name 1</translation>
    </message>
    <message>
        <source>位置フラグ1</source>
        <translation>Position flag 1</translation>
    </message>
    <message>
        <source>図名2</source>
        <translation>Sheet name 2</translation>
    </message>
    <message>
        <source>位置フラグ2</source>
        <translation>Position flag 2</translation>
    </message>
    <message>
        <source>図名3</source>
        <translation>Sheet name 3</translation>
    </message>
    <message>
        <source>位置フラグ3</source>
        <translation>Position flag 3</translation>
    </message>
    <message>
        <source>図名4</source>
        <translation>Sheet name 4</translation>
    </message>
    <message>
        <source>位置フラグ4</source>
        <translation>Position flag 4</translation>
    </message>
    <message>
        <source>記録レコード数</source>
        <translation>Record count</translation>
    </message>
    <message>
        <source>コメント</source>
        <translation>Comment</translation>
    </message>
    <message>
        <source>レコード１のフラグ</source>
        <translation>Flags of record 1</translation>
    </message>
    <message>
        <source>セルの集計</source>
        <translation>Counts</translation>
    </message>
</context>
<context>
    <name>talvo::TLegend</name>
    <message>
        <source>海</source>
        <translation>sea</translation>
    </message>
    <message>
        <source>データなし</source>
        <translation>no data</translation>
    </message>
    <message>
        <source>Min 未満</source>
        <translation>below Min</translation>
    </message>
    <message>
        <source>Max 超</source>
        <translation>above Max</translation>
    </message>
</context>
<context>
    <name>talvo::TMapWindow</name>
    <message>
        <source>行政界</source>
        <translation>Boundaries</translation>
    </message>
    <message>
        <source>河川</source>
        <translation>Rivers</translation>
    </message>
    <message>
        <source>湖沼</source>
        <translation>Lakes</translation>
    </message>
    <message>
        <source>一般道</source>
        <translation>Roads</translation>
    </message>
    <message>
        <source>高速道</source>
        <translation>Expressways</translation>
    </message>
    <message>
        <source>鉄道</source>
        <translation>Railways</translation>
    </message>
    <message>
        <source>地図を開く (Ctrl+O)</source>
        <translation>Open a map (Ctrl+O)</translation>
    </message>
    <message>
        <source>描き直す (F5)</source>
        <translation>Draw again (F5)</translation>
    </message>
    <message>
        <source>図を保存する (Ctrl+S)</source>
        <translation>Save the picture (Ctrl+S)</translation>
    </message>
    <message>
        <source>拡大 (Ctrl++、+)</source>
        <translation>Zoom in (Ctrl++, +)</translation>
    </message>
    <message>
        <source>縮小 (Ctrl+-、-)</source>
        <translation>Zoom out (Ctrl+-, -)</translation>
    </message>
    <message>
        <source>全体を表示: 0 か Ctrl+0</source>
        <translation>Whole map: 0 or Ctrl+0</translation>
    </message>
    <message>
        <source>最近開いた地図</source>
        <translation>Maps opened last</translation>
    </message>
    <message>
        <source>3D で見る範囲の矩形を出す (S)</source>
        <translation>Show the rectangle of the region to see in 3D (S)</translation>
    </message>
    <message>
        <source>矩形の範囲を 3D で見る (D)</source>
        <translation>See the rectangle&apos;s region in 3D (D)</translation>
    </message>
</context>
<context>
    <name>talvo::TPaletteDialog</name>
    <message>
        <source>行政界</source>
        <translation>Administrative
boundaries</translation>
    </message>
    <message>
        <source>水文(河川）</source>
        <translation>Hydrography (rivers)</translation>
    </message>
    <message>
        <source>水文(湖沼）</source>
        <translation>Hydrography (lakes)</translation>
    </message>
    <message>
        <source>交通網(一般道路）</source>
        <translation>Transport (roads)</translation>
    </message>
    <message>
        <source>交通網(高速道路）</source>
        <translation>Transport (expressways)</translation>
    </message>
    <message>
        <source>交通網 (鉄道）</source>
        <translation>Transport (railways)</translation>
    </message>
    <message>
        <source>標高</source>
        <translation>Elevation</translation>
    </message>
    <message>
        <source>土地利用</source>
        <translation>Land use</translation>
    </message>
    <message>
        <source>植生</source>
        <translation>Vegetation</translation>
    </message>
    <message>
        <source>ベクトルデータ</source>
        <translation>Vector data</translation>
    </message>
    <message>
        <source>3D設定</source>
        <translation>3D</translation>
    </message>
    <message>
        <source>コード</source>
        <translation>Code</translation>
    </message>
    <message>
        <source>レンダリング品質</source>
        <translation>Rendering quality</translation>
    </message>
    <message>
        <source>海の深さを無視</source>
        <translation>Ignore sea depth</translation>
    </message>
</context>
<context>
    <name>talvo::TProfileWindow</name>
    <message>
        <source>断面図</source>
        <translation>Profile</translation>
    </message>
    <message>
        <source>CSV 保存...</source>
        <translation>Save CSV...</translation>
    </message>
    <message>
        <source>距離 (m)</source>
        <translation>Distance (m)</translation>
    </message>
    <message>
        <source>距離 (km)</source>
        <translation>Distance (km)</translation>
    </message>
    <message>
        <source>距離 %1  標高 %2</source>
        <translation>Distance %1  Height %2</translation>
    </message>
    <message>
        <source>標高 (m)</source>
        <translation>Height (m)</translation>
    </message>
    <message>
        <source>%1 点  長さ %2 m  最低 %3 m  最高 %4 m  登り %5 m  下り %6 m</source>
        <translation>%1 samples  length %2 m  lowest %3 m  highest %4 m  ascent %5 m  descent %6 m</translation>
    </message>
</context>
<context>
    <name>talvo::TQtDialogs</name>
    <message>
        <source>すべて|*.Mem;*.Sem;*.Tem;EL*.hdr;Lu*.hdr;Vg*.hdr;*.bil;*.xml;*.zip;*.tif;*.tiff;*.hgt;*.asc;*.dem;*.img;*.vrt|50m地図 (*.Mem)|*.Mem|250m地図 (*.Sem)|*.Sem|1Km地図 (*.Tem)|*.Tem|地球地図 標高 (El*.hdr)|EL*.hdr|地球地図 土地利用 (Lu*.hdr)|Lu*.hdr|地球地図 植生 (Vg*.hdr)|Vg*.hdr|USCG 30秒メッシュ (*.bil)|*.Bil|基盤地図情報 数値標高モデル FG-GML|*.xml;*.zip|GeoTIFF ほか GDAL のラスター|*.tif;*.tiff;*.hgt;*.asc;*.dem;*.img;*.vrt</source>
        <extracomment>&quot;Description|patterns&quot; pairs; the patterns stay as they are.</extracomment>
        <translation>All|*.Mem;*.Sem;*.Tem;EL*.hdr;Lu*.hdr;Vg*.hdr;*.bil;*.xml;*.zip;*.tif;*.tiff;*.hgt;*.asc;*.dem;*.img;*.vrt|50 m map (*.Mem)|*.Mem|250 m map (*.Sem)|*.Sem|1 km map (*.Tem)|*.Tem|Global Map elevation (El*.hdr)|EL*.hdr|Global Map land use (Lu*.hdr)|Lu*.hdr|Global Map vegetation (Vg*.hdr)|Vg*.hdr|USCG 30-second mesh (*.bil)|*.Bil|FG-GML digital elevation model|*.xml;*.zip|GeoTIFF and other GDAL rasters|*.tif;*.tiff;*.hgt;*.asc;*.dem;*.img;*.vrt</translation>
    </message>
    <message>
        <source>移動</source>
        <translation>Go to</translation>
    </message>
    <message>
        <source>地点 (経度,緯度、xy:東距,北距 か 列:行):</source>
        <translation>Point (LON,LAT, xy:E,N or col:row):</translation>
    </message>
</context>
<context>
    <name>talvo::TStatusBar</name>
    <message>
        <source>断面図</source>
        <translation>Profile</translation>
    </message>
    <message>
        <source>地図の上に線を引いて断面図を描く (P。クリック、移動、クリック。Esc で取り消し)</source>
        <translation>Draw a line over the map for its elevation profile (P; click, move, click; Esc cancels)</translation>
    </message>
    <message>
        <source>凡例</source>
        <translation>Legend</translation>
    </message>
    <message>
        <source>移動...</source>
        <translation>Go to...</translation>
    </message>
    <message>
        <source>読み取りをコピー</source>
        <translation>Copy readout</translation>
    </message>
    <message>
        <source>陰影</source>
        <translation>Shading</translation>
    </message>
</context>
</TS>
