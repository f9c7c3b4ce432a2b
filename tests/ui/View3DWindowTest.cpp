// The 3D view window on a real OpenGL surface (Mesa under Xvfb), driven by keys and the mouse.
#include "ui/View3DWindow.h"

#include <QDir>
#include <QImage>
#include <QTest>
#include <filesystem>

#include "platform/Messages.h"
#include "support/NumMapText.h"
#include "support/ScriptedDialogs.h"

namespace talvo {

class TView3DWindowTest : public QObject {
    Q_OBJECT

    // The 50 m sample map (CellSpacing 500) and a 3D window over it.
    struct TView {
        explicit TView(const std::string& Quality = "GOURAUD") {
            TProgress Unwatched;
            Document.Open(TALVO_SAMPLES_DIR "/jacksboro/533945.Mem", Unwatched);
            TViewSettings Settings;
            Settings.Min = 0;
            Settings.Max = 1200;
            Settings.Pit = 24;
            for (int I = 0; I < 6; ++I) {
                PaletteColour(Settings, static_cast<size_t>(I)) = 0x2050A0 + 0x101010 * I;
            }
            Settings.Quality = Quality;
            Document.SetSettings(Settings);
        }
        void Start() {
            Form.StartView({0, 0, 100, 100, 1, 3});
            QVERIFY(QTest::qWaitForWindowExposed(&Form));
        }
        QImage Frame() {
            Form.TimerTick();
            return Form.Scene->grabFramebuffer();
        }
        glm::vec3 CameraAt() const { return Form.View.Camera->GetPosition(&Form.View.Scene()); }

        TDocument Document;
        test::TScriptedDialogs Dialogs;
        TView3DWindow Form{Document, Dialogs};
    };

    static int LitPixels(const QImage& Image) {
        int Count = 0;
        for (int Y = 0; Y < Image.height(); Y += 2) {
            for (int X = 0; X < Image.width(); X += 2) {
                Count += (Image.pixel(X, Y) & 0xFFFFFF) != 0;
            }
        }
        return Count;
    }

    static void Key(QWidget* Form, Qt::Key Pressed, int Times = 1) {
        for (int I = 0; I < Times; ++I) {
            QTest::keyClick(Form, Pressed);
        }
    }

  private slots:
    void OverlayRightAfterStart() {
        TView V;
        V.Start();
        QCOMPARE(V.Form.windowTitle(), QString("3D View"));
        QVERIFY(V.Form.Timer.Enabled());
        auto Lines = V.Form.OverlayLines();
        QCOMPARE(Lines.size(), size_t{15});
        QCOMPARE(Lines[14].second, std::string("F: whole region"));
        QCOMPARE(Lines[1].second, std::string("Device: Software"));
        QCOMPARE(Lines[4].second, std::string("Pos:Z=-10000"));
        QCOMPARE(Lines[5].second, std::string("Roll =0.00"));
        QCOMPARE(Lines[6].second, std::string("Pitch=0.00"));
        QCOMPARE(Lines[7].second, "Faces=" + std::to_string(2 * 99 * 99));
        QCOMPARE(Lines[9].second, std::string("Yor:Y=1"));
        QCOMPARE(Lines[13].second, std::string("Zor:Z=1"));
    }

    void KeysMoveTheCameraAndTheModel() {
        TView V;
        V.Start();
        Key(&V.Form, Qt::Key_PageUp, 3);
        Key(&V.Form, Qt::Key_5);
        V.Frame(); // the keys pressed since the last frame, applied in this one
        QCOMPARE(V.CameraAt().y, 30.0f);
        glm::vec3 Direction, Up;
        V.Form.View.Camera->GetOrientation(&V.Form.View.Scene(), Direction, Up);
        QVERIFY(Up.y > 0.9f);
        Key(&V.Form, Qt::Key_Right);
        Key(&V.Form, Qt::Key_Up);
        Key(&V.Form, Qt::Key_Home);
        V.Frame();
        V.Form.View.ModelFrame->GetOrientation(&V.Form.View.Scene(), Direction, Up);
        QVERIFY(std::abs(Direction.z - 1) < 1e-4f);
        QVERIFY(!V.Form.OverlayVisible);
        Key(&V.Form, Qt::Key_I);
        QVERIFY(V.Form.OverlayVisible);
        Key(&V.Form, Qt::Key_I);
        QVERIFY(!V.Form.OverlayVisible);
        const glm::vec3 Light = V.Form.View.LightFrame->GetPosition(&V.Form.View.Scene());
        Key(&V.Form, Qt::Key_L, 72);
        V.Frame();
        const glm::vec3 Round = V.Form.View.LightFrame->GetPosition(&V.Form.View.Scene());
        QVERIFY(glm::length(Round - Light) < 0.05f);

        Key(&V.Form, Qt::Key_Escape);
        QVERIFY(!V.Form.isVisible());
        QVERIFY(!V.Form.Timer.Enabled());
        V.Start(); // "3D Draw" again: a fresh scene
        QCOMPARE(V.CameraAt(), glm::vec3(0, 0, -200));
    }

    void MouseDragsTurnAndDolly() {
        TView V;
        V.Start();
        QWidget* Surface = V.Form.Scene;
        QTest::mousePress(Surface, Qt::LeftButton, {}, {100, 100});
        QTest::mouseMove(Surface, {120, 100});
        QTest::mouseRelease(Surface, Qt::LeftButton, {}, {120, 100});
        glm::vec3 Direction, Up;
        V.Form.View.SpinFrame->GetOrientation(&V.Form.View.Scene(), Direction, Up);
        QVERIFY(std::abs(std::atan2(Direction.x, Direction.z) + 3.14159265f / 6) < 1e-3f);
        QVERIFY(!V.Form.View.RotateDragging);

        QTest::mousePress(Surface, Qt::RightButton, {}, {50, 50});
        QTest::mouseMove(Surface, {50, 70});
        QTest::mouseRelease(Surface, Qt::RightButton, {}, {50, 70});
        QCOMPARE(V.CameraAt().z, -180.0f);
    }

    void EveryQualityDrawsTheTerrain() {
        QImage Gouraud;
        for (const char* Quality : {"GOURAUD", "WIREFRAME", "UNLITFLAT", "FLAT", "PHONG"}) {
            TView V(Quality);
            V.Start();
            Key(&V.Form, Qt::Key_PageUp, 8);
            Key(&V.Form, Qt::Key_5);
            const QImage Frame = V.Frame();
            QVERIFY2(LitPixels(Frame) > 1000, Quality);
            if (std::string(Quality) == "GOURAUD") {
                Gouraud = Frame;
            } else {
                QVERIFY2(Frame != Gouraud, Quality);
            }
        }
    }

    // "MAP" lays the picture on the terrain unlit, and takes a new picture without a restart.
    void MapLaysThePictureOnTheTerrain() {
        TView V("MAP");
        auto Fill = [&V](int32_t Colour) {
            TBitmap Picture(200, 200);
            for (int32_t Y = 0; Y < 200; ++Y) {
                std::fill_n(Picture.Row(Y), 200, Colour);
            }
            V.Document.View().ShowPicture(std::move(Picture), V.Document.Map());
        };
        auto Count = [](const QImage& Frame, QRgb Colour) {
            int Found = 0;
            for (int Y = 0; Y < Frame.height(); Y += 2) {
                for (int X = 0; X < Frame.width(); X += 2) {
                    Found += (Frame.pixel(X, Y) & 0xFFFFFF) == (Colour & 0xFFFFFF);
                }
            }
            return Found;
        };
        Fill(0x00FF00); // green, as 0x00BBGGRR
        V.Start();
        Key(&V.Form, Qt::Key_PageUp, 8);
        Key(&V.Form, Qt::Key_5);
        QVERIFY(Count(V.Frame(), qRgb(0, 255, 0)) > 1000); // one shade: no light on it
        Fill(0x0000FF);                                    // red
        V.Form.PictureChanged();
        const QImage Red = V.Frame();
        QVERIFY(Count(Red, qRgb(255, 0, 0)) > 1000);
        QCOMPARE(Count(Red, qRgb(0, 255, 0)), 0);
    }

    void MappingShowsTestBmp() {
        const std::string Folder =
            std::filesystem::path(test::WriteTempFile("x", "")).parent_path();
        QImage Checks(64, 64, QImage::Format_RGB32);
        for (int Y = 0; Y < 64; ++Y) {
            for (int X = 0; X < 64; ++X) {
                Checks.setPixel(X, Y, ((X / 8 + Y / 8) % 2) ? qRgb(255, 0, 0) : qRgb(0, 0, 255));
            }
        }
        QVERIFY(Checks.save(QString::fromStdString(Folder + "/Test.bmp")));
        const QString Before = QDir::currentPath();
        QDir::setCurrent(QString::fromStdString(Folder));
        TView V("MAPPING");
        V.Start();
        Key(&V.Form, Qt::Key_PageUp, 8);
        Key(&V.Form, Qt::Key_5);
        const QImage Frame = V.Frame();
        QDir::setCurrent(Before);
        QVERIFY(V.Form.Terrain().MeshTexture != nullptr);
        int Blue = 0, Red = 0;
        for (int Y = 0; Y < Frame.height(); Y += 2) {
            for (int X = 0; X < Frame.width(); X += 2) {
                const QRgb C = Frame.pixel(X, Y);
                Blue += qBlue(C) > 2 * qRed(C) + 20;
                Red += qRed(C) > 2 * qBlue(C) + 20;
            }
        }
        QVERIFY(Blue > 200 && Red > 200); // the checks of the texture, not the plain colour
    }

    void FullScreenAndBack() {
        TView V;
        V.Start();
        Key(&V.Form, Qt::Key_PageUp);
        QTest::keyClick(&V.Form, Qt::Key_Return, Qt::AltModifier);
        QVERIFY(V.Form.Scene->FullScreen);
        QCOMPARE(V.CameraAt(), glm::vec3(0, 0, -200)); // a fresh scene
        QVERIFY(V.Form.Timer.Enabled());
        QTest::keyClick(&V.Form, Qt::Key_Return, Qt::AltModifier);
        QVERIFY(!V.Form.Scene->FullScreen);
        QVERIFY(V.Form.Timer.Enabled());
    }

    // Step 0, one sample wide, outside the 200 × 200 map: nothing opens, and an open view stays
    // as it was.
    void ABadRegionIsReportedAndNothingRuns() {
        const TRegion Refused[] = {
            {0, 0, 100, 100, 0, 3}, {0, 0, 1, 100, 1, 3}, {150, 150, 100, 100, 1, 3}};
        TView V;
        V.Form.StartView(Refused[2]);
        QCOMPARE(V.Dialogs.Errors.size(), size_t{1});
        QVERIFY(!V.Form.Timer.Enabled());
        QVERIFY(!V.Form.isVisible());
        QCOMPARE(V.Form.Region().Step, 0);

        V.Start();
        Key(&V.Form, Qt::Key_PageUp, 8);
        Key(&V.Form, Qt::Key_5);
        const QImage Before = V.Frame();
        const glm::vec3 At = V.CameraAt();
        for (const TRegion& Region : Refused) {
            V.Form.StartView(Region);
            QVERIFY(V.Form.Timer.Enabled());
            QCOMPARE(V.CameraAt(), At);
            QCOMPARE(V.Form.Region().SizeX, 100);
            QVERIFY(V.Frame() == Before);
        }
        QCOMPARE(V.Dialogs.Errors.size(), size_t{4});
        QCOMPARE(V.Dialogs.Errors[2], Text(TText::RegionTooSmall, {"1", "100", "1", "2"}));
    }

    // Run by ctest on displays without OpenGL 3.3: Mesa offering 3.0 only, and no OpenGL at all.
    void WithoutOpenGL33TheViewSaysSo() {
        if (!qEnvironmentVariableIsSet("MESA_GL_VERSION_OVERRIDE") &&
            !qEnvironmentVariableIsSet("QT_XCB_GL_INTEGRATION")) {
            QSKIP("run by the ctests ui_View3DWindow_OpenGL30 and ui_View3DWindow_NoOpenGL");
        }
        TView V;
        for (int Start = 0; Start < 2; ++Start) {
            V.Form.StartView({0, 0, 100, 100, 1, 3});
            QCOMPARE(V.Dialogs.Errors.size(), size_t(Start + 1));
            QVERIFY(V.Dialogs.Errors.back().find("OpenGL") != std::string::npos);
            QVERIFY(!V.Form.isVisible());
            QVERIFY(!V.Form.Timer.Enabled());
        }
        V.Form.Scene->grabFramebuffer(); // paints without calling into an empty function table
        QTest::qWait(100);               // and the window system's events pass
    }
};

} // namespace talvo

QTEST_MAIN(talvo::TView3DWindowTest)
#include "View3DWindowTest.moc"
