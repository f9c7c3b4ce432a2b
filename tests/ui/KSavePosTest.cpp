// Window placement kept in the settings file.
#include "ui/KSavePos.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTest>

#include "platform/ProfileFile.h"
#include "support/NumMapText.h"

namespace talvo {

class TKSavePosTest : public QObject {
    Q_OBJECT

    // A form named MapForm with its placement component, as the main window has it.
    struct TForm {
        explicit TForm(const std::string& Ini, bool SaveBounds = true) : Pos(&Widget, Ini) {
            Widget.setObjectName("MapForm");
            Widget.setGeometry(100, 100, 300, 200);
            Pos.SaveBounds = SaveBounds;
            Pos.Loaded();
        }
        QWidget Widget;
        TKSavePosIni Pos;
    };

    static std::string Line(const std::string& Ini) {
        return GetPrivateProfileString("Bounds", "MapForm.Bounds", "", Ini);
    }

  private slots:
    void MaximisedComesBackMaximisedWithItsNormalBounds() {
        const std::string Ini = test::WriteTempFile("max.ini", "");
        {
            TForm Form(Ini);
            Form.Widget.setGeometry(40, 50, 320, 240);
            Form.Widget.setWindowState(Qt::WindowMaximized);
        }
        QCOMPARE(Line(Ini), std::string("2,-1,-1,-1,-1,40,50,360,290"));
        TForm Again(Ini);
        QVERIFY(Again.Widget.windowState() & Qt::WindowMaximized);
        QCOMPARE(Again.Widget.geometry(), QRect(40, 50, 320, 240));
    }

    void MinimisedComesBackNormal() {
        const std::string Ini = test::WriteTempFile(
            "min.ini", "[Bounds]\r\nMapForm.Bounds=1,-1,-1,-1,-1,10,20,410,320\r\n");
        TForm Form(Ini);
        QCOMPARE(Form.Widget.windowState(), Qt::WindowNoState);
        QCOMPARE(Form.Widget.geometry(), QRect(10, 20, 400, 300));
    }

    void OddLinesChangeNothingOrOnlyWhatTheyCan() {
        TForm Eight(test::WriteTempFile("eight.ini", "[Bounds]\nMapForm.Bounds=0,1,2,3,4,5,6,7\n"),
                    true);
        QCOMPARE(Eight.Widget.geometry(), QRect(100, 100, 300, 200));
        TForm Spaced(test::WriteTempFile(
            "spaced.ini", "[Bounds]\nMapForm.Bounds=0, -1, -1, -1, -1, 10, 20, 410, 320\n"));
        QCOMPARE(Spaced.Widget.geometry(), QRect(10, 20, 400, 300));
        TForm State(test::WriteTempFile("state.ini",
                                        "[Bounds]\nMapForm.Bounds=x,-1,-1,-1,-1,10,20,410,320\n"));
        QCOMPARE(State.Widget.windowState(), Qt::WindowNoState);
        QCOMPARE(State.Widget.geometry(), QRect(10, 20, 400, 300));
    }

    void APlacementOffEveryScreenComesBackInView() {
        const QRect Screen = QGuiApplication::primaryScreen()->availableGeometry();
        for (const char* Line :
             {"0,-1,-1,-1,-1,30000,30000,30300,30200", "0,-1,-1,-1,-1,-5000,10,-4700,210",
              "0,-1,-1,-1,-1,0,0,90000,90000"}) {
            const std::string Ini = test::WriteTempFile(
                "off.ini", "[Bounds]\nMapForm.Bounds=" + std::string(Line) + "\n");
            TForm Form(Ini);
            QVERIFY2(Screen.contains(Form.Widget.geometry()), Line);
        }
    }

    void WithoutSaveBoundsOnlyAnExplicitSaveWrites() {
        const std::string Ini = test::WriteTempFile(
            "off.ini", "[Bounds]\nMapForm.Bounds=0,-1,-1,-1,-1,10,20,410,320\n");
        {
            TForm Form(Ini, false);
            QCOMPARE(Form.Widget.geometry(), QRect(100, 100, 300, 200)); // nothing read
            Form.Widget.setGeometry(1, 2, 300, 200);
        }
        QCOMPARE(Line(Ini), std::string("0,-1,-1,-1,-1,10,20,410,320")); // nothing written
        TForm Explicit(Ini, false);
        Explicit.Pos.SaveFormBounds();
        QCOMPARE(Line(Ini), std::string("0,-1,-1,-1,-1,100,100,400,300"));
    }
};

} // namespace talvo

QTEST_MAIN(talvo::TKSavePosTest)
#include "KSavePosTest.moc"
