// Exploring the picture through the real widgets: the readout under the pointer, zoom about the
// pointer and the centre, and a profile drawn by clicks and saved as CSV.
#include <QChart>
#include <QChartView>
#include <QClipboard>
#include <QGuiApplication>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>
#include <filesystem>

#include "app/GeoTiffOutput.h"
#include "support/NumMapText.h"
#include "support/ScopedEnv.h"
#include "support/ScriptedDialogs.h"
#include "ui/MapWindow.h"
#include "ui/ProfileWindow.h"

namespace talvo {

class TExploreTest : public QObject {
    Q_OBJECT

    // The main window on the Global Map elevation sample (403 × 344 cells), and its profile
    // window wired as the program wires them.
    struct TWindow {
        explicit TWindow(const std::string& Recent = "",
                         const std::string& MapPath = TALVO_SAMPLES_DIR "/jacksboro/EL533945.hdr")
            : Document({test::WriteTempFile(
                            "explore.ini",
                            test::FileText(TALVO_SAMPLES_DIR "/jacksboro/Talvo.ini") + Recent),
                        false},
                       ""),
              Form(Document, Dialogs), Profile(Document, Dialogs) {
            Form.ShowProfile = [this](const QPolygonF& Line) { Profile.ShowProfile(Line); };
            Form.show();
            Dialogs.OpenAnswers.push_back({MapPath});
            QTest::mouseClick(Form.btnLoad, Qt::LeftButton);
            Loaded = QTest::qWaitFor(
                [this] { return !Form.Worker->Running() && Form.View().Picture(); }, 20000);
        }
        QWidget* Picture() { return Form.ScrollBox->viewport(); }
        // Where the picture's first pixel lies in the view: inside it when the picture is
        // shorter, and centred.
        QPoint Origin() {
            return -QPoint(Form.ScrollBox->horizontalScrollBar()->value(),
                           Form.ScrollBox->verticalScrollBar()->value());
        }
        QString Readout() { return Form.StatusBar->Readout->text(); }
        void Zoom(int Clicks) {
            for (int K = 0; K < std::abs(Clicks); ++K) {
                QTest::mouseClick(Clicks > 0 ? Form.spnMScaleUp : Form.spnMScaleDown,
                                  Qt::LeftButton);
            }
        }
        test::TScriptedDialogs Dialogs;
        TDocument Document;
        TMapWindow Form;
        TProfileWindow Profile;
        bool Loaded = false;
    };

    test::TScopedEnv English{"LC_ALL", "en_US.UTF-8"};

    // A move of the pointer over Widget to At, told to the widget alone: the real pointer is
    // shared with the windows of the tests running beside this one.
    static void MoveOver(QWidget* Widget, QPoint At, Qt::MouseButtons Held = Qt::NoButton) {
        QMouseEvent Move(QEvent::MouseMove, At, Widget->mapToGlobal(At), Qt::NoButton, Held,
                         Qt::NoModifier);
        QCoreApplication::sendEvent(Widget, &Move);
    }

  private slots:
    void TheReadoutFollowsThePointerAtEveryZoom_data() {
        QTest::addColumn<int>("ZoomClicks");
        QTest::addColumn<QPoint>("Pixel");
        QTest::addColumn<QString>("Expected");
        // Cell (0, 0) holds 483 m, cell (402, 343) 272 m (the last column and row); pixels of
        // the picture, which lies centred at x 1. QTest takes the point (0, 0) for the widget's
        // centre.
        QTest::newRow("x2 first") << 1 << QPoint(1, 1)
                                  << "Lon: -84.413333 84°24′48.0″W   Lat: 36.732500 36°43′57.0″N\n"
                                     "Col: 0   Row: 0   Height: 483   MeshCode: 533945";
        QTest::newRow("x1 last") << 0 << QPoint(402, 343) << "Col: 402   Row: 343   Height: 272";
        QTest::newRow("x1 off the map") << 0 << QPoint(410, 100) << "";
        QTest::newRow("x8 first") << 3 << QPoint(7, 7) << "Col: 0   Row: 0   Height: 483";
        QTest::newRow("x8 next") << 3 << QPoint(8, 15) << "Col: 1   Row: 1   Height:";
    }
    void TheReadoutFollowsThePointerAtEveryZoom() {
        QFETCH(int, ZoomClicks);
        QFETCH(QPoint, Pixel);
        QFETCH(QString, Expected);
        TWindow W;
        QVERIFY(W.Loaded);
        W.Zoom(ZoomClicks);
        W.Form.ScrollBox->horizontalScrollBar()->setValue(0);
        W.Form.ScrollBox->verticalScrollBar()->setValue(0);
        MoveOver(W.Picture(), Pixel + W.Origin());
        QTRY_VERIFY2(Expected.isEmpty() ? W.Readout().isEmpty() : W.Readout().contains(Expected),
                     qPrintable(W.Readout()));
        if (!Expected.isEmpty()) {
            QEvent Leave(QEvent::Leave);
            QCoreApplication::sendEvent(W.Picture(), &Leave);
            QVERIFY(W.Readout().isEmpty());
        }
    }

    void CtrlWheelZoomsAboutTheCellUnderThePointer() {
        TWindow W;
        QVERIFY(W.Loaded);
        W.Zoom(1); // x 2: the picture scrolls
        const QPoint At(301, 207);
        const QPointF Before = W.Form.ScrollBox->CellAt(At);
        // Down to x 2: at x 1 the whole map is in view and nothing scrolls.
        for (int Notches : {1, 1, -1, -1}) {
            QWheelEvent Wheel(At, W.Picture()->mapToGlobal(At), {}, {0, 120 * Notches},
                              Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
            QCoreApplication::sendEvent(W.Picture(), &Wheel);
            const QPointF After = W.Form.ScrollBox->CellAt(At);
            QCOMPARE(std::floor(After.x()), std::floor(Before.x()));
            QCOMPARE(std::floor(After.y()), std::floor(Before.y()));
        }
        QCOMPARE(W.Form.lblMScale->text(), QString("x 2"));
    }

    // The whole map fits the view at x 1 and x 1/2: it lies centred, and Ctrl+wheel keeps the
    // cell under the pointer there at every step, whether the picture fits or not.
    void CtrlWheelKeepsTheCellWhenThePictureFitsTheView() {
        TWindow W;
        QVERIFY(W.Loaded);
        const QSize View = W.Picture()->size();
        QCOMPARE(W.Origin(), QPoint((View.width() - 403) / 2, (View.height() - 344) / 2));
        const QPoint At = W.Origin() + QPoint(10, 12);
        MoveOver(W.Picture(), At);
        for (int Notches : {1, 1, 1, -1, -1, -1}) {
            QWheelEvent Wheel(At, W.Picture()->mapToGlobal(At), {}, {0, 120 * Notches},
                              Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
            QCoreApplication::sendEvent(W.Picture(), &Wheel);
            QVERIFY2(W.Readout().contains("Col: 10   Row: 12   "),
                     qPrintable(W.Form.lblMScale->text() + " " + W.Readout()));
        }
        QCOMPARE(W.Form.lblMScale->text(), QString("x 1"));
    }

    // The readout names the cell under a still pointer whenever the picture moves under it, and
    // nothing when the pointer is off the picture; 0 without a map does nothing.
    void TheReadoutFollowsThePictureUnderAStillPointer() {
        TWindow W;
        QVERIFY(W.Loaded);
        const QPoint At = W.Origin() + QPoint(100, 80);
        MoveOver(W.Picture(), At);
        QVERIFY2(W.Readout().contains("Col: 100   Row: 80   "), qPrintable(W.Readout()));
        W.Zoom(1); // about the centre: another cell comes under the pointer
        const QPointF Under = W.Form.ScrollBox->CellAt(At);
        QVERIFY2(W.Readout().contains(QString("Col: %1   Row: %2   ")
                                          .arg(std::floor(Under.x()))
                                          .arg(std::floor(Under.y()))),
                 qPrintable(W.Readout()));
        W.Form.ScrollBox->horizontalScrollBar()->setValue(0);
        W.Form.ScrollBox->verticalScrollBar()->setValue(0);
        QVERIFY2(
            W.Readout().contains(QString("Col: %1   Row: %2   ").arg(At.x() / 2).arg(At.y() / 2)),
            qPrintable(W.Readout()));
        QTest::keyClick(W.Picture(), Qt::Key_0); // fit: centred again
        QVERIFY2(W.Readout().contains("Col: 100   Row: 80   "), qPrintable(W.Readout()));
        MoveOver(W.Picture(), W.Origin() - QPoint(5, 5)); // beside the picture
        QVERIFY(W.Readout().isEmpty());

        test::TScriptedDialogs Dialogs;
        TDocument Empty({test::WriteTempFile("empty.ini", ""), false}, "");
        TMapWindow Unloaded(Empty, Dialogs);
        Unloaded.show();
        QTest::keyClick(Unloaded.ScrollBox->viewport(), Qt::Key_0);
        QCOMPARE(Unloaded.lblMScale->text(), QString("x 1"));
    }

    // Go to takes a point as --at does, centres its cell and shows it until the pointer moves;
    // Copy puts the cell the readout names on the clipboard as --at's values.
    void GoToMarksACellAndCopyTakesTheReadout() {
        TWindow W;
        QVERIFY(W.Loaded);
        W.Zoom(2);
        const QPoint Still = W.Picture()->rect().center() + QPoint(40, 30);
        MoveOver(W.Picture(), Still);
        W.Dialogs.PointAnswer = "300:250";
        QTest::keyClick(&W.Form, Qt::Key_G, Qt::ControlModifier);
        const QPointF Centre = W.Form.ScrollBox->CellAt(W.Picture()->rect().center());
        QCOMPARE(QPoint(int(Centre.x()), int(Centre.y())), QPoint(300, 250));
        W.Zoom(-1); // the picture moves; the cell gone to stays in the readout
        QVERIFY2(W.Readout().contains("Col: 300   Row: 250   Height: 275"),
                 qPrintable(W.Readout()));
        QTest::keyClick(&W.Form, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(),
                 QString("-84.163334\t36.524167\t300\t250\t275"));

        MoveOver(W.Picture(), W.Origin() + QPoint(200, 160)); // x 2: cell 100, 80
        QVERIFY2(W.Readout().contains("Col: 100   Row: 80   "), qPrintable(W.Readout()));
        W.Form.StatusBar->CopyAction->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(),
                 QString("-84.330000\t36.665834\t100\t80\t648"));

        W.Dialogs.PointAnswer = "-84.25,36.6"; // a longitude and latitude, as --at takes them
        W.Form.StatusBar->GoToAction->trigger();
        QVERIFY2(W.Readout().contains("Col: 196   Row: 159   "), qPrintable(W.Readout()));
        W.Dialogs.PointAnswer = "500:10";
        W.Form.StatusBar->GoToAction->trigger();
        QCOMPARE(W.Dialogs.Errors.size(), size_t{1});
        QVERIFY(W.Dialogs.Errors.front().starts_with("The point 500:10 lies outside the map"));
    }

    // On a projected map a point in degrees is a longitude and latitude on WGS 84, and the map's
    // own easting and northing follow xy:; the readout gives both.
    void GoToTakesLongitudeAndLatitudeOnAProjectedMap() {
        // 40 × 30 cells of 1 km in UTM zone 54, from 480 km east and 4000 km north.
        const std::string Path = test::WriteTempFile("utm54.tif", "");
        TalvoGdalRasterOut Raster{};
        Raster.Width = 40;
        Raster.Height = 30;
        Raster.Bands = 1;
        Raster.CellType = TalvoGdalFloat32;
        Raster.Overview = "AVERAGE";
        TGeoreference Place;
        Place.Crs = "EPSG:32654";
        Place.Transform = {480000, 1000, 0, 4000000, 0, -1000};
        TProgress Unwatched;
        WriteGeoTiff(
            Raster,
            [](int32_t, int32_t Row, int32_t Col, int32_t Cols, void* Cells) {
                for (int32_t C = 0; C < Cols; ++C) {
                    static_cast<float*>(Cells)[C] = static_cast<float>(Row * 100 + Col + C);
                }
            },
            Place, Path, Unwatched);
        TWindow W("", Path);
        QVERIFY(W.Loaded);
        W.Dialogs.PointAnswer = "141.06,36.1"; // 505400.8 E, 3995041.7 N
        QTest::keyClick(&W.Form, Qt::Key_G, Qt::ControlModifier);
        QVERIFY2(W.Dialogs.Errors.empty(),
                 W.Dialogs.Errors.empty() ? "" : W.Dialogs.Errors.front().c_str());
        QVERIFY2(W.Readout().contains("Lon: 141.061105 141°03′40.0″E   Lat: 36.104132 "
                                      "36°06′14.9″N   Easting: 505500.00   Northing: 3995500.00   "
                                      "CRS: EPSG:32654\nCol: 25   Row: 4   Height: 425.0"),
                 qPrintable(W.Readout()));
        W.Dialogs.PointAnswer = "xy:480500,3999500";
        W.Form.StatusBar->GoToAction->trigger();
        QVERIFY2(W.Readout().startsWith("Lon: 140.783257 140°46′59.7″E   Lat: 36.140014 "),
                 qPrintable(W.Readout()));
        QVERIFY2(W.Readout().contains("Easting: 480500.00   Northing: 3999500.00"),
                 qPrintable(W.Readout()));
        QTest::keyClick(&W.Form, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), QString("140.783257\t36.140014\t0\t0\t0.0"));
    }

    void ZoomButtonsKeepTheCentreCellAndDragsAndKeysPan() {
        TWindow W;
        QVERIFY(W.Loaded);
        W.Zoom(2);
        W.Form.ScrollBox->horizontalScrollBar()->setValue(517);
        W.Form.ScrollBox->verticalScrollBar()->setValue(301);
        const QPoint Centre = W.Picture()->rect().center();
        const QPointF Before = W.Form.ScrollBox->CellAt(Centre);
        for (int Clicks : {1, -1, -1}) {
            W.Zoom(Clicks);
            const QPointF After = W.Form.ScrollBox->CellAt(Centre);
            QCOMPARE(std::floor(After.x()), std::floor(Before.x()));
            QCOMPARE(std::floor(After.y()), std::floor(Before.y()));
        }
        QCOMPARE(W.Form.lblMScale->text(), QString("x 2"));
        // A middle drag pans: the cell under the pointer follows it.
        const QPointF Held = W.Form.ScrollBox->CellAt(QPoint(200, 200));
        QTest::mousePress(W.Picture(), Qt::MiddleButton, {}, QPoint(200, 200));
        MoveOver(W.Picture(), QPoint(150, 170), Qt::MiddleButton);
        QTest::mouseRelease(W.Picture(), Qt::MiddleButton, {}, QPoint(150, 170));
        QCOMPARE(W.Form.ScrollBox->CellAt(QPoint(150, 170)), Held);
        // The arrow keys pan.
        W.Form.ScrollBox->setFocus();
        const int Across = W.Form.ScrollBox->horizontalScrollBar()->value();
        QTest::keyClick(W.Form.ScrollBox, Qt::Key_Right);
        QCOMPARE(W.Form.ScrollBox->horizontalScrollBar()->value(), Across + 32);
        QTest::keyClick(W.Picture(), Qt::Key_0);
        QCOMPARE(W.Form.lblMScale->text(), QString("x 1")); // 403 × 344 fits 480 × 435 at x 1
    }

    void AProfileDrawnByClicksIsSampledAndSaved() {
        TWindow W;
        QVERIFY(W.Loaded);
        QVERIFY(W.Form.StatusBar->ProfileButton->isEnabled());
        QTest::mouseClick(W.Form.StatusBar->ProfileButton, Qt::LeftButton);
        QTest::mouseClick(W.Picture(), Qt::LeftButton, {}, W.Origin() + QPoint(10, 20));
        MoveOver(W.Picture(), W.Origin() + QPoint(60, 40));
        QVERIFY(!W.Profile.isVisible());
        QTest::mouseClick(W.Picture(), Qt::LeftButton, {}, W.Origin() + QPoint(110, 60));
        QVERIFY(W.Profile.isVisible());
        const std::vector<TProfileSample>& Samples = W.Profile.Samples();
        QCOMPARE(Samples.size(), size_t{101});
        QCOMPARE(Samples.front().Cell.Col, 10);
        QCOMPARE(Samples.front().Cell.Row, 20);
        QCOMPARE(Samples.back().Cell.Col, 110);
        QCOMPARE(Samples.back().Cell.Row, 60);
        QVERIFY(W.Profile.Summary->text().startsWith("101 "));
        // The plot's pointer follows the mouse anywhere over the plot, off the line too.
        QChart* Chart = W.Profile.ChartView->chart();
        const QRectF Plot = Chart->plotArea();
        MoveOver(W.Profile.ChartView->viewport(),
                 W.Profile.ChartView->mapFromScene(
                     Chart->mapToScene(Plot.center().x(), Plot.top() + 2)));
        QVERIFY(W.Profile.PointerReadout->text().endsWith(" m"));

        const std::string Csv = test::WriteTempFile("profile.csv", "");
        std::filesystem::remove(Csv);
        W.Dialogs.CsvAnswer = Csv;
        QTest::mouseClick(W.Profile.btnSaveCsv, Qt::LeftButton);
        QVERIFY(W.Dialogs.Errors.empty());
        // The cells clicked, centre to centre, as the command line's --profile 10:20 110:60.
        const TLoadedMap& Map = *W.Document.Map();
        QCOMPARE(test::FileText(Csv),
                 ProfileCsv(Map, SampleProfileBetweenCells(Map, *CellOfRow(Map, 10, 20),
                                                           *CellOfRow(Map, 110, 60))));
        // Never over the map it was read from.
        W.Dialogs.CsvAnswer = TALVO_SAMPLES_DIR "/jacksboro/EL533945";
        QTest::mouseClick(W.Profile.btnSaveCsv, Qt::LeftButton);
        QCOMPARE(W.Dialogs.Errors.size(), size_t{1});

        // A double click (a click, then the button down and up again, as Qt tells it) adds the
        // last point and ends the line; the next click starts another.
        const QPoint Last = W.Origin() + QPoint(150, 100);
        QTest::mouseClick(W.Picture(), Qt::LeftButton, {}, Last);
        QTest::mouseDClick(W.Picture(), Qt::LeftButton, {}, Last);
        QTest::mouseRelease(W.Picture(), Qt::LeftButton, {}, Last);
        QTest::mouseClick(W.Picture(), Qt::LeftButton, {}, W.Origin() + QPoint(5, 5));
        QCOMPARE(ProfileCsv(Map, W.Profile.Samples()),
                 ProfileCsv(Map, SampleProfileThroughCells(Map, {*CellOfRow(Map, 10, 20),
                                                                 *CellOfRow(Map, 110, 60),
                                                                 *CellOfRow(Map, 150, 100)})));
    }

    void TheMapsOpenedLastAreKeptWithoutTheMissingOnes() {
        const std::string Map = TALVO_SAMPLES_DIR "/jacksboro/EL533945.hdr";
        const std::string Other = TALVO_SAMPLES_DIR "/jacksboro/533945.Mem";
        TWindow W("\r\n[Recent]\r\nFile1=/gone/map.Mem\r\nFile2=" + Other + "\r\n");
        QVERIFY(W.Loaded);
        W.Form.close();
        const std::string Saved = test::FileText(W.Document.SettingsFile().Path);
        QVERIFY2(Saved.find("File1=" + Map + "\r\nFile2=" + Other + "\r\nFile3=\r\n") !=
                     std::string::npos,
                 Saved.c_str());
    }
};

} // namespace talvo

QTEST_MAIN(talvo::TExploreTest)
#include "ExploreTest.moc"
