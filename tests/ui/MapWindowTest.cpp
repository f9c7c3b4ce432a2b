// The main window and the information window, driven through their real widgets.
#include "ui/MapWindow.h"

#include <QElapsedTimer>
#include <QMimeData>
#include <QProcess>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <deque>
#include <filesystem>
#include <fstream>
#include <sys/inotify.h>
#include <tuple>
#include <unistd.h>

#include "import/E00Reader.h"
#include "import/OpenMap.h"
#include "render/MapPicture.h"
#include "render/WindowPicture.h"
#include "support/FgGmlText.h"
#include "support/NumMapText.h"
#include "support/ScriptedDialogs.h"
#include "ui/ProfileWindow.h"

namespace talvo {

class TMapWindowTest : public QObject {
    Q_OBJECT

    std::string Sample(const char* Name) {
        return std::string(TALVO_SAMPLES_DIR "/jacksboro/") + Name;
    }
    std::string Folder() {
        return std::filesystem::path(test::WriteTempFile("anchor", "")).parent_path().string();
    }

    // A window on its own settings file, with the information window beside it.
    struct TWindow {
        explicit TWindow(const std::string& Ini, const std::string& Shipped = {})
            : Document({Ini, false}, Shipped), Form(Document, Dialogs) {
            Form.InfForm = &Info;
            Form.show();
        }
        // Loads Path by "Load..." and waits for its picture.
        void Open(const std::string& Path) {
            Dialogs.OpenAnswers.push_back({Path});
            QTest::mouseClick(Form.btnLoad, Qt::LeftButton);
            WaitForPicture();
        }
        void Redraw() {
            QTest::mouseClick(Form.btnRedraw, Qt::LeftButton);
            WaitForPicture();
        }
        bool WaitForPicture() {
            return QTest::qWaitFor([this] { return !Form.Worker->Running(); }, 20000);
        }
        test::TScriptedDialogs Dialogs;
        TDocument Document;
        TMapWindow Form;
        TInfoWindow Info;
    };

    static bool SamePicture(const TBitmap& A, const TBitmap& B) {
        if (A.Width() != B.Width() || A.Height() != B.Height()) {
            return false;
        }
        for (int32_t Y = 0; Y < A.Height(); ++Y) {
            if (!std::equal(A.Row(Y), A.Row(Y) + A.Width(), B.Row(Y))) {
                return false;
            }
        }
        return true;
    }

    // Whether the window shows the elevation sample as the document draws it with its settings,
    // boundaries ticked as the sample palette ticks them.
    bool ShowsTheSample(TWindow& W) {
        const TLoadedMap Map = OpenMap(Sample("EL533945.hdr")).Map;
        TLayerFlags Layers{};
        Layers[0] = true;
        TOverlaySet Overlays;
        LoadOverlays(Overlays, Map, Layers);
        TProgress Progress;
        const std::optional<TBitmap> Picture = DrawMapPicture(
            Map, Overlays, W.Document.Settings(), W.Document.ColourTable(), Layers, Progress);
        return Picture && W.Form.View().Picture() &&
               SamePicture(*W.Form.View().Picture(), *Picture);
    }

    // Whether the picture area shows, where the map lies, the picture of the cells in view and
    // the margin about them as DrawWindowPicture draws them, once the window has drawn its view.
    bool ShowsItsView(TWindow& W) {
        TMapWindow& F = W.Form;
        if (!QTest::qWaitFor([&] { return !F.ViewWorker->Running(); }, 20000)) {
            return false;
        }
        const TLoadedMap& Map = *W.Document.Map();
        const TViewArea Area = F.ScrollBox->Area();
        const std::optional<TViewRequest> Request =
            ViewRequest(Map.NumHeader.Columns, Map.NumHeader.Rows, Area, ViewMargin);
        TProgress Progress;
        const std::optional<TBitmap> Picture =
            DrawWindowPicture(Map, Request->Window, Request->Cols, Request->Rows,
                              W.Document.Settings(), W.Document.ColourTable(), Progress);
        const QImage Shown = F.ScrollBox->viewport()->grab().toImage();
        const QSize Extent = F.ScrollBox->ShownSize();
        // The scale bar covers the lowest pixels.
        for (int Y = 0; Y < Shown.height() - 40; ++Y) {
            for (int X = 0; X < Shown.width(); ++X) {
                const int At[] = {X + Area.ScrollX, Y + Area.ScrollY};
                if (At[0] < 0 || At[1] < 0 || At[0] >= Extent.width() || At[1] >= Extent.height()) {
                    continue;
                }
                const auto PixelOf = [&](int Along, int32_t First) {
                    const auto Cell = static_cast<int32_t>(std::floor(Along / Area.Zoom));
                    return (Cell - First) / Request->CellsPerPixel;
                };
                const int32_t Colour = Picture->Row(
                    PixelOf(At[1], Request->Window.Row))[PixelOf(At[0], Request->Window.Col)];
                if (Shown.pixel(X, Y) !=
                    qRgb(Colour & 0xFF, (Colour >> 8) & 0xFF, (Colour >> 16) & 0xFF)) {
                    return false;
                }
            }
        }
        return true;
    }

    std::string PaletteCopy(const char* Name) {
        return test::WriteTempFile(Name, test::FileText(Sample("Talvo.ini")));
    }

  private slots:
    void StartsWithEveryControlInItsPlace() {
        TWindow W(test::WriteTempFile("start.ini", ""));
        TMapWindow& F = W.Form;
        QCOMPARE(F.windowTitle(), QString("Map View"));
        QVERIFY(F.btnLoad->isEnabled());
        QVERIFY(!F.btnRedraw->isEnabled());
        QVERIFY(F.btnPal->isEnabled());
        QVERIFY(!F.btnSave->isEnabled());
        QVERIFY(!F.grp3D->isEnabled());
        QVERIFY(!F.btn3D->isEnabled());
        QVERIFY(F.btnSel->isEnabledTo(F.grp3D)); // enabled itself, inside the disabled group
        QVERIFY(!F.SelShape->isVisible());
        QVERIFY(!F.pgrBar->isVisible());
        QCOMPARE(F.lblMScale->text(), QString("x 1"));
        QCOMPARE(F.btnLoad->text(), QString("Load..."));
        QCOMPARE(F.btnSave->text(), QString("Save Pic..."));
        QCOMPARE(F.btn3D->text(), QString("3D Draw"));
        QCOMPARE(F.chkAd->text(), QString::fromUtf8("行政界"));
        QCOMPARE(F.chkRw->text(), QString::fromUtf8("鉄道"));
        QCOMPARE(F.View().Selection().Left, 5);
        QCOMPARE(F.View().Selection().Width, 100);
        QCOMPARE(F.edtStp->text(), QString("1"));
        QVERIFY(!F.chkAd->isChecked()); // an empty settings file ticks nothing
        QCOMPARE(F.View().Zoom(), 1.0);
        QVERIFY(!F.View().Selecting());
        QCOMPARE(W.Document.Settings().Max, 5000);
        QCOMPARE(W.Info.windowTitle(), QString("Map Infomation"));
        QCOMPARE(W.Info.Value("MeshCode")->text(), QString("MeshCode"));
    }

    void LoadsMapsAndShowsTheirHeader() {
        TWindow W(PaletteCopy("load.ini"));
        TMapWindow& F = W.Form;
        W.Open(Sample("533945.Mem"));
        QVERIFY(W.Dialogs.Errors.empty());
        QCOMPARE(F.windowTitle(), QString::fromStdString("Map View  " + Sample("533945.Mem")));
        QVERIFY(F.btnRedraw->isEnabled() && F.btnSave->isEnabled() && F.btnLoad->isEnabled());
        QVERIFY(F.grp3D->isEnabled());
        QCOMPARE(F.ScrollBox->ShownSize(), QSize(200, 200));
        QVERIFY(W.Info.isVisible());
        QCOMPARE(W.Info.Value("Ido_WS")->text(), QString("36.302300")); // as stored
        QCOMPARE(W.Info.Value("Zu_name1")->text(), QString::fromUtf8("ジャックスボロ"));
        QCOMPARE(W.Info.Value("RecCnt")->text(), QString("200"));

        W.Open(Sample("EL533945.hdr"));
        QVERIFY(F.grp3D->isEnabled());
        QCOMPARE(W.Info.Value("Ido_WS")->text(), QString("36.264650")); // degrees → d.mmss
        QCOMPARE(W.Info.Value("Org_Scale")->text(), QString("0"));
        W.Open(Sample("LU533945.hdr"));
        QVERIFY(!F.grp3D->isEnabled());
        QCOMPARE(F.ScrollBox->ShownSize(), QSize(403, 344));
    }

    void ThePictureShownIsTheRenderersPicture() {
        TWindow W(PaletteCopy("same.ini"));
        W.Open(Sample("EL533945.hdr"));
        QVERIFY(ShowsTheSample(W));
    }

    // The status bar's "Shading" redraws the map with the relief chosen, as --shade draws it.
    void AShadingChosenRedrawsThePicture() {
        TWindow W(PaletteCopy("shade.ini"));
        W.Open(Sample("EL533945.hdr"));
        emit W.Form.StatusBar->ShadeChosen(static_cast<int>(TShadeMode::Multidirectional));
        QVERIFY(W.WaitForPicture());
        QCOMPARE(W.Document.Settings().Shade, TShadeMode::Multidirectional);
        QVERIFY(ShowsTheSample(W));
    }

    void DrawsWhileTheWindowStaysResponsive() {
        TWindow W(PaletteCopy("busy.ini"));
        TMapWindow& F = W.Form;
        // 20 million cells: long enough to watch the window while it draws.
        const std::string Data =
            test::WriteTempFile("busy.bil", std::string(2 * 5000 * 4000, '\1'));
        test::WriteTempFile("busy.hdr", "NBITS 16\nNCOLS 5000\nNROWS 4000\n");
        W.Dialogs.OpenAnswers.push_back({Data});
        QTest::mouseClick(F.btnLoad, Qt::LeftButton);
        QVERIFY(F.Worker->Running());
        QVERIFY(!F.btnLoad->isEnabled() && !F.btnRedraw->isEnabled());
        int Ticks = 0;
        bool SawProgress = false;
        QTimer Tick;
        connect(&Tick, &QTimer::timeout, [&] {
            ++Ticks;
            SawProgress = SawProgress || F.pgrBar->isVisible();
        });
        Tick.start(1);
        QVERIFY(W.WaitForPicture());
        QVERIFY(Ticks > 0); // the event loop ran meanwhile
        QVERIFY(SawProgress);
        QCOMPARE(F.Worker->Progress().Done(), int64_t{4000});
        QVERIFY(F.btnLoad->isEnabled() && F.btnRedraw->isEnabled() && F.btnSave->isEnabled());
        QVERIFY(!F.pgrBar->isVisible());
        QCOMPARE(F.ScrollBox->ShownSize(), QSize(312, 250)); // larger than the view: fitted
    }

    // A GeoTIFF of 144 million cells without overviews takes seconds to read, here for its first
    // view (it opens by its header): the window shows it coming, and closing the window cancels
    // the read instead of waiting for its end.
    void ClosingDuringALongOpenEndsAtOnce() {
        const std::string Tif = Folder() + "/long-open.tif";
        QCOMPARE(QProcess::execute("gdal_create", {"-q",      "-of",
                                                   "GTiff",   "-outsize",
                                                   "12000",   "12000",
                                                   "-ot",     "Int16",
                                                   "-burn",   "100",
                                                   "-co",     "TILED=YES",
                                                   "-co",     "COMPRESS=DEFLATE",
                                                   "-a_srs",  "EPSG:4326",
                                                   "-a_ullr", "139",
                                                   "36",      "140",
                                                   "35",      QString::fromStdString(Tif)}),
                 0);
        TWindow W(PaletteCopy("long.ini"));
        TMapWindow& F = W.Form;
        W.Dialogs.OpenAnswers.push_back({Tif});
        QTest::mouseClick(F.btnLoad, Qt::LeftButton);
        QVERIFY(F.pgrBar->isVisible());
        QTRY_VERIFY(F.pgrBar->value() > 0);
        const int Early = F.pgrBar->value();
        QTRY_VERIFY(F.pgrBar->value() > Early);
        QVERIFY(F.pgrBar->value() < F.pgrBar->maximum());
        QVERIFY(F.ViewWorker->Running());

        QSignalSpy Closed(&F, &TMapWindow::Closed);
        QElapsedTimer Clock;
        Clock.start();
        QVERIFY(F.close());
        const qint64 Took = Clock.elapsed();
        QCOMPARE(Closed.count(), 1);
        QVERIFY(!F.Worker->Running());
        QVERIFY2(Took <= 500, qPrintable(QString("closing took %1 ms").arg(Took)));
        std::filesystem::remove(Tif);
    }

    void AFailedLoadKeepsThePreviousPicture() {
        TWindow W(PaletteCopy("fail.ini"));
        TMapWindow& F = W.Form;
        W.Open(Sample("533945.Mem"));
        const QImage Before = F.ScrollBox->viewport()->grab().toImage();
        const std::string Empty = test::WriteTempFile("empty.Mem", "");
        W.Open(Empty);
        QCOMPARE(W.Dialogs.Errors,
                 std::vector<std::string>{"'' は整数ではありません\n" + Empty + ":1"});
        QVERIFY(F.btnLoad->isEnabled());
        QVERIFY(F.ScrollBox->PictureVisible());
        QCOMPARE(F.ScrollBox->viewport()->grab().toImage(), Before);
        QCOMPARE(F.ScrollBox->ShownSize(), QSize(200, 200));
        QVERIFY(F.btnRedraw->isEnabled()); // the previous map stays too
        QVERIFY(F.btnSave->isEnabled());
        QVERIFY(F.grp3D->isEnabled());
        QCOMPARE(F.windowTitle(), QString::fromStdString("Map View  " + Sample("533945.Mem")));
    }

    void AMissingCompanionIsToldAndTheNextLoadRecovers() {
        TWindow W(PaletteCopy("missing.ini"));
        TMapWindow& F = W.Form;
        const std::string Alone = test::WriteTempFile("alone.bil", "");
        W.Open(Alone);
        QCOMPARE(W.Dialogs.Messages.size(), size_t{1});
        QVERIFY(W.Dialogs.Messages[0].starts_with("ヘッダーファイルがみつかりません"));
        QVERIFY(!F.btnSel->isEnabled());
        QVERIFY(!F.grp3D->isEnabled());
        QVERIFY(F.btnLoad->isEnabled());
        W.Open(Sample("EL533945.hdr"));
        QVERIFY(F.btnSel->isEnabled());
        QVERIFY(F.grp3D->isEnabled());
    }

    void ABadLayerFileIsToldAndThePictureStillComes() {
        TWindow W(PaletteCopy("layer.ini")); // the sample palette ticks the boundaries
        TMapWindow& F = W.Form;
        // A folder of its own: the broken layer must not lie beside the other tests' maps.
        std::filesystem::create_directories(Folder() + "/layer");
        const std::string Map =
            test::WriteTempFile("layer/EL533945.hdr", test::FileText(Sample("EL533945.hdr")));
        test::WriteTempFile("layer/EL533945", test::FileText(Sample("EL533945")));
        const std::string Layer =
            test::WriteTempFile("layer/ad533945.e00", "ARC\n1 1 0 0 0 0 2\n1 x\n");
        W.Open(Map);
        QCOMPARE(W.Dialogs.Errors.size(), size_t{1});
        QVERIFY(W.Dialogs.Errors[0].ends_with("\n" + Layer + ":3"));
        QVERIFY(F.View().Picture());
        QCOMPARE(F.ScrollBox->ShownSize(), QSize(403, 344));
        QVERIFY(F.btnLoad->isEnabled() && F.btnRedraw->isEnabled());
        QCOMPARE(F.windowTitle(), QString::fromStdString("Map View  " + Map));
    }

    // An FG-GML DEM tile by "Load...", an ASCII grid (read through GDAL) dropped on the window.
    void OpensFgGmlAndGdalRastersByLoadAndByDrop() {
        TWindow W(PaletteCopy("dem.ini"));
        TMapWindow& F = W.Form;
        test::TFgGmlText Tile;
        Tile.Tuples = test::FgGmlPoints({"12.35", "-9999.", "7"});
        W.Open(test::WriteTempFile("tile.xml", test::FormatFgGml(Tile)));
        QVERIFY(W.Dialogs.Errors.empty());
        QCOMPARE(F.ScrollBox->ShownSize(), QSize(3, 2));
        QVERIFY(F.grp3D->isEnabled());
        QCOMPARE(W.Info.Value("MeshCode")->text(), QString("533945"));
        QCOMPARE(W.Info.Value("Ido_WS")->text(), QString("36.300000"));
        QCOMPARE(W.Info.Value("Comment")->text(), QString());

        const std::string Grid = test::WriteTempFile(
            "grid.asc", "ncols 4\nnrows 2\nxllcorner 139\nyllcorner 35\ncellsize 0.25\n"
                        "NODATA_value -9999\n1 2 3 4\n5 6 -9999 8.5\n");
        QMimeData Files;
        Files.setUrls({QUrl::fromLocalFile(QString::fromStdString(Grid))});
        QDragEnterEvent Enter({10, 10}, Qt::CopyAction, &Files, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&F, &Enter);
        QVERIFY(Enter.isAccepted());
        QDropEvent Drop(QPointF(10, 10), Qt::CopyAction, &Files, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&F, &Drop);
        QVERIFY(QTest::qWaitFor([&] { return W.Info.Value("Comment")->text() == "AAIGrid"; }));
        QVERIFY(W.WaitForPicture());
        QVERIFY(W.Dialogs.Errors.empty());
        QCOMPARE(F.ScrollBox->ShownSize(), QSize(4, 2));
        QVERIFY(F.grp3D->isEnabled());
        QCOMPARE(W.Info.Value("Kei_EN")->text(), QString("140.000000"));
    }

    // A raster too large to hold (9000 × 8000 cells laid over the sample's heights) opens whole
    // in view, below 1/8, and shows the cells in view drawn from the map read by window.
    void ALargeRasterOpensWholeInViewAndShowsTheCellsInView() {
        TWindow W(PaletteCopy("large.ini"));
        TMapWindow& F = W.Form;
        W.Open(test::WriteTempFile(
            "large.vrt", "<VRTDataset rasterXSize='9000' rasterYSize='8000'><SRS>EPSG:4326</SRS>"
                         "<GeoTransform>-84.5, 0.0001, 0, 36.8, 0, -0.0001</GeoTransform>"
                         "<VRTRasterBand dataType='Int16' band='1'><NoDataValue>-9999</NoDataValue>"
                         "<SimpleSource><SourceFilename>" +
                             Sample("jacksboro.tif") +
                             "</SourceFilename><SourceBand>1</SourceBand>"
                             "<SrcRect xOff='0' yOff='0' xSize='403' ySize='344'/>"
                             "<DstRect xOff='0' yOff='0' xSize='9000' ySize='8000'/></SimpleSource>"
                             "</VRTRasterBand></VRTDataset>"));
        QVERIFY(W.Dialogs.Errors.empty());
        QCOMPARE(F.lblMScale->text(), QString("1/32"));
        QCOMPARE(F.ScrollBox->ShownSize(), QSize(281, 250));
        // Smaller than the picture area, centred in it; its terrain can be shown in 3D.
        const QSize Area = F.ScrollBox->viewport()->size();
        QCOMPARE(F.ScrollBox->horizontalScrollBar()->value(), (281 - Area.width()) / 2);
        QCOMPARE(F.ScrollBox->verticalScrollBar()->value(), (250 - Area.height()) / 2);
        QVERIFY(F.grp3D->isEnabled());
        QVERIFY(ShowsItsView(W));
        QTest::mouseClick(F.spnMScaleUp, Qt::LeftButton);
        QTest::mouseClick(F.spnMScaleUp, Qt::LeftButton);
        QTest::mouseClick(F.spnMScaleUp, Qt::LeftButton);
        QCOMPARE(F.lblMScale->text(), QString("1/4"));
        QVERIFY(ShowsItsView(W));
        // A profile across it is read off the window's thread: the samples the core reads.
        TProfileWindow Profile(W.Document, W.Dialogs);
        Profile.ShowProfile({QPointF(100.5, 200.5), QPointF(4000.5, 7000.5)});
        QVERIFY(QTest::qWaitFor([&] { return !Profile.Samples().empty(); }, 20000));
        const TLoadedMap& Map = *W.Document.Map();
        const std::vector<TProfileSample> Read = SampleProfileThroughCells(
            Map, {*CellAtGrid(Map, 100, 200), *CellAtGrid(Map, 4000, 7000)});
        QCOMPARE(Profile.Samples().size(), Read.size());
        for (size_t K = 0; K < Read.size(); ++K) {
            QCOMPARE(Profile.Samples()[K].Value.Text, Read[K].Value.Text);
        }
    }

    void SeveralTilesOrAFolderOpenAsOneMap() {
        TWindow W(PaletteCopy("mosaic.ini"));
        TMapWindow& F = W.Form;
        const std::filesystem::path Region = Folder() + "/region";
        std::filesystem::create_directories(Region);
        std::vector<std::string> Tiles;
        for (const auto& [Mesh, West, East] : {std::tuple{"53394501", "-84.5", "-84.4875"},
                                               std::tuple{"53394502", "-84.4875", "-84.475"}}) {
            test::TFgGmlText Tile;
            Tile.Mesh = Mesh;
            Tile.Lower = std::string("36.5 ") + West;
            Tile.Upper = std::string("36.5083333333 ") + East;
            Tile.Tuples = test::FgGmlPoints({"1", "2", "3", "4", "5", "6"});
            Tiles.push_back((Region / (std::string(Mesh) + ".xml")).string());
            std::ofstream(Tiles.back()) << test::FormatFgGml(Tile);
        }
        // Chosen together in the dialog, and dropped as their folder: the same map of 6 × 2.
        W.Dialogs.OpenAnswers.push_back(Tiles);
        QTest::mouseClick(F.btnLoad, Qt::LeftButton);
        QVERIFY(W.WaitForPicture());
        QVERIFY(W.Dialogs.Errors.empty());
        QCOMPARE(F.ScrollBox->ShownSize(), QSize(6, 2));
        W.Open(Sample("533945.Mem"));
        QCOMPARE(F.ScrollBox->ShownSize(), QSize(200, 200));
        QMimeData Dropped;
        Dropped.setUrls({QUrl::fromLocalFile(QString::fromStdString(Region.string()))});
        QDragEnterEvent Enter({10, 10}, Qt::CopyAction, &Dropped, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&F, &Enter);
        QDropEvent Drop(QPointF(10, 10), Qt::CopyAction, &Dropped, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&F, &Drop);
        QVERIFY(QTest::qWaitFor([&] { return F.ScrollBox->ShownSize() == QSize(6, 2); }));
        QVERIFY(W.WaitForPicture());
        QVERIFY(W.Dialogs.Errors.empty());
        QCOMPARE(F.windowTitle(), QString::fromStdString("Map View  " + Region.string()));
    }

    void ZoomShowsCellsAsSharpBlocks() {
        TWindow W(PaletteCopy("zoom.ini"));
        TMapWindow& F = W.Form;
        W.Open(Sample("533945.Mem"));
        QTest::mouseClick(F.spnMScaleDown, Qt::LeftButton);
        QTest::mouseClick(F.spnMScaleDown, Qt::LeftButton);
        QCOMPARE(F.lblMScale->text(), QString("1/4"));
        QCOMPARE(F.ScrollBox->ShownSize(), QSize(50, 50));
        for (int I = 0; I < 6; ++I) {
            QTest::mouseClick(F.spnMScaleUp, Qt::LeftButton);
        }
        QCOMPARE(F.lblMScale->text(), QString("x 8"));
        QCOMPARE(F.ScrollBox->ShownSize(), QSize(1600, 1600));
        QVERIFY(F.ScrollBox->horizontalScrollBar()->maximum() > 0);
        // Scrolled to cell (30, 20): every cell an 8 × 8 block of its own colour.
        F.ScrollBox->horizontalScrollBar()->setValue(240);
        F.ScrollBox->verticalScrollBar()->setValue(160);
        const QImage Shown = F.ScrollBox->viewport()->grab().toImage();
        for (int Y = 0; Y < 64; ++Y) {
            for (int X = 0; X < 64; ++X) {
                const int32_t Cell = F.View().Picture()->Pixel(30 + X / 8, 20 + Y / 8);
                QCOMPARE(Shown.pixel(X, Y),
                         qRgb(Cell & 0xFF, (Cell >> 8) & 0xFF, (Cell >> 16) & 0xFF));
            }
        }
        // The selection may reach the last pixel of the visible area.
        QTest::mouseClick(F.btnSel, Qt::LeftButton);
        QCOMPARE(F.SelShape->MaxRight, F.ScrollBox->viewport()->width());
        QCOMPARE(F.SelShape->MaxBottom, F.ScrollBox->viewport()->height());
        QTest::mouseClick(F.btnSel, Qt::LeftButton);
        W.Redraw();
        QCOMPARE(F.ScrollBox->ShownSize(), QSize(1600, 1600)); // redraw keeps the zoom
        W.Open(Sample("533945.Mem"));
        QCOMPARE(F.lblMScale->text(), QString("x 1"));

        std::string Tiny = test::FormatNumMap({{1, 2, 3}, {4, 5, 6}, {7, 8, 9}});
        W.Open(test::WriteTempFile("tiny.Mem", Tiny));
        for (int I = 0; I < 3; ++I) {
            QTest::mouseClick(F.spnMScaleDown, Qt::LeftButton);
        }
        QCOMPARE(F.ScrollBox->ShownSize(), QSize(0, 0));
    }

    void SelectToggles() {
        TWindow W(PaletteCopy("select.ini"));
        TMapWindow& F = W.Form;
        W.Open(Sample("533945.Mem"));
        // The 200 × 200 picture lies centred: the rectangle starts at its corner.
        const QPoint Origin(-F.ScrollBox->horizontalScrollBar()->value(),
                            -F.ScrollBox->verticalScrollBar()->value());
        QCOMPARE(Origin, QPoint((F.ScrollBox->viewport()->width() - 200) / 2,
                                (F.ScrollBox->viewport()->height() - 200) / 2));
        QTest::mouseClick(F.btnSel, Qt::LeftButton);
        QVERIFY(F.SelShape->isVisible());
        QCOMPARE(F.SelShape->geometry(), QRect(Origin, QSize(100, 50)));
        QVERIFY(F.btn3D->isEnabled());
        QCOMPARE(F.SelShape->MaxRight, Origin.x() + 200);
        QTest::mouseClick(F.btnSel, Qt::LeftButton);
        QVERIFY(!F.SelShape->isVisible());
        QVERIFY(!F.btn3D->isEnabled());

        F.View().SetSelection({Origin.x() + 300, Origin.y() + 5, 100, 50});
        QTest::mouseClick(F.btnSel, Qt::LeftButton);
        QCOMPARE(F.SelShape->x(), Origin.x()); // beyond the 200-pixel picture
        F.edtStp->setText("x");
        QTest::mouseClick(F.btn3D, Qt::LeftButton);
        QCOMPARE(W.Dialogs.Errors, std::vector<std::string>{"'x' は整数ではありません"});
    }

    void SavesPicturesByTheirExtensionInAnyCase() {
        TWindow W(PaletteCopy("save.ini"));
        TMapWindow& F = W.Form;
        W.Open(Sample("533945.Mem"));
        const std::string Base = Folder() + "/saved";
        const std::pair<std::string, const char*> Saves[] = {{Base, "saved.bmp"},
                                                             {Base + ".JPG", "saved.JPG"},
                                                             {Base + ".jpeg", "saved.jpeg"},
                                                             {Base + ".Png", "saved.Png"}};
        for (int Filter = 1; Filter <= 3; ++Filter) {
            W.Dialogs.SaveAnswer = std::make_pair(Base + "-" + std::to_string(Filter), Filter);
            QTest::mouseClick(F.btnSave, Qt::LeftButton);
        }
        QVERIFY(std::filesystem::exists(Base + "-2.jpg") &&
                std::filesystem::exists(Base + "-3.png"));
        QCOMPARE(std::filesystem::file_size(Base + "-1.bmp"), uintmax_t{54 + 600 * 200});
        for (const auto& [Chosen, Written] : Saves) {
            W.Dialogs.SaveAnswer = std::make_pair(Chosen, 1);
            QTest::mouseClick(F.btnSave, Qt::LeftButton);
            QVERIFY(std::filesystem::exists(Folder() + "/" + Written));
        }
        QVERIFY(W.Dialogs.Errors.empty());
        QCOMPARE(W.Dialogs.OpenedIn, std::string(TALVO_SAMPLES_DIR "/jacksboro"));
        // Any other extension: told, nothing written.
        W.Dialogs.SaveAnswer = std::make_pair(Base + ".txt", 1);
        QTest::mouseClick(F.btnSave, Qt::LeftButton);
        QCOMPARE(W.Dialogs.Errors.size(), size_t{1});
        QVERIFY(!std::filesystem::exists(Base + ".txt"));
        W.Dialogs.Errors.clear();

        // The map itself, through a link with a picture's name: refused, the map untouched.
        const std::string Map =
            test::WriteTempFile("own.Mem", test::FileText(Sample("533945.Mem")));
        W.Open(Map);
        std::filesystem::remove(Base + "-link.bmp");
        std::filesystem::create_symlink(Map, Base + "-link.bmp");
        W.Dialogs.SaveAnswer = std::make_pair(Base + "-link.bmp", 1);
        QTest::mouseClick(F.btnSave, Qt::LeftButton);
        QCOMPARE(W.Dialogs.Errors.size(), size_t{1});
        QVERIFY(test::FileText(Map) == test::FileText(Sample("533945.Mem")));
    }

    void SettingsAreWrittenOnCloseAndRestored() {
        const std::string Ini = PaletteCopy("close.ini");
        {
            // Every finished write takes the file's place by a rename: count them.
            const int Watch = inotify_init1(IN_NONBLOCK);
            QVERIFY(Watch >= 0);
            inotify_add_watch(Watch, std::filesystem::path(Ini).parent_path().c_str(), IN_MOVED_TO);
            {
                TWindow W(Ini);
                W.Form.chkRv->setChecked(true);
                W.Form.chkAd->setChecked(false);
                W.Form.close();
            }
            int Renames = 0;
            alignas(inotify_event) char Events[4096];
            for (ssize_t Got; (Got = read(Watch, Events, sizeof Events)) > 0;) {
                for (char* At = Events; At < Events + Got;) {
                    const auto* Event = reinterpret_cast<const inotify_event*>(At);
                    Renames += Event->len > 0 && std::string(Event->name) == "close.ini";
                    At += sizeof(inotify_event) + Event->len;
                }
            }
            ::close(Watch);
            QCOMPARE(Renames, 1);
        }
        TWindow Again(Ini);
        QVERIFY(Again.Form.chkRv->isChecked());
        QVERIFY(!Again.Form.chkAd->isChecked());
        QCOMPARE(Again.Document.Settings().Pit, 24); // (1200 - 0) / 50

        // A file that cannot be written is reported, and the window closes all the same.
        TWindow Stuck(test::WriteTempFile("plain", "") + "/Talvo.ini");
        QVERIFY(Stuck.Form.close());
        QCOMPARE(Stuck.Dialogs.Errors.size(), size_t{1});
    }

    void SettingsThatCannotBeReadAreToldThenTheShippedPaletteIsUsed() {
        // A folder where the settings file should be: it is there, but cannot be read.
        const std::string Folder = test::WriteTempFile("anchor", "");
        const std::string Unreadable =
            std::filesystem::path(Folder).parent_path().string() + "/unreadable.ini";
        std::filesystem::create_directories(Unreadable);
        TWindow W(Unreadable, Sample("Talvo.ini"));
        QTRY_COMPARE(W.Dialogs.Messages.size(), size_t{1});
        QVERIFY(W.Dialogs.Messages[0].find(Unreadable) != std::string::npos);
        QCOMPARE(W.Document.Settings().Max, 1200); // the shipped palette's

        // A file that holds none of the settings: told, then the shipped palette.
        const std::string Empty = test::WriteTempFile("says-nothing.ini", "");
        TWindow Nothing(Empty, Sample("Talvo.ini"));
        QTRY_COMPARE(Nothing.Dialogs.Messages.size(), size_t{1});
        QVERIFY(Nothing.Dialogs.Messages[0].find(Empty) != std::string::npos);
        QCOMPARE(Nothing.Document.Settings().Max, 1200);

        // A first run: no file, the shipped palette, nothing to tell.
        TWindow First(Folder + ".missing.ini", Sample("Talvo.ini"));
        QTest::qWait(20);
        QVERIFY(First.Dialogs.Messages.empty());
        QCOMPARE(First.Document.Settings().Max, 1200);
    }

    void BadColoursAreNamedOnceAfterStartUp() {
        TWindow W(test::WriteTempFile("bad.ini", "[Palette]\nSea=blue\nSet0=00FF00\n"));
        QVERIFY(W.Dialogs.Messages.empty());
        QTRY_COMPARE(W.Dialogs.Messages.size(), size_t{1});
        QVERIFY(W.Dialogs.Messages[0].find("Palette/Sea") != std::string::npos);
        QCOMPARE(PaletteColour(W.Document.Settings(), 0), 0x00FF00);
    }
};

} // namespace talvo

QTEST_MAIN(talvo::TMapWindowTest)
#include "MapWindowTest.moc"
