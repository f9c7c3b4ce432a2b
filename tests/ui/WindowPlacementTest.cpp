// Window placement as the settings file keeps it.
#include "ui/WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTest>

namespace talvo {

class TWindowPlacementTest : public QObject {
    Q_OBJECT

    // A window named as the main window is, where a new one would be, restored from Line.
    struct TWindow {
        explicit TWindow(std::string_view Line) {
            Widget.setObjectName("MapForm");
            Widget.setGeometry(100, 100, 300, 200);
            RestorePlacement(Widget, Line);
        }
        QWidget Widget;
    };

  private slots:
    void MaximisedComesBackMaximisedWithItsNormalBounds() {
        std::string Saved;
        {
            TWindow Window("");
            Window.Widget.setGeometry(40, 50, 320, 240);
            Window.Widget.setWindowState(Qt::WindowMaximized);
            const TExtraKey Key = PlacementOf(Window.Widget);
            QCOMPARE(Key.Section, std::string("Bounds"));
            QCOMPARE(Key.Key, std::string("MapForm.Bounds"));
            Saved = Key.Value;
        }
        QCOMPARE(Saved, std::string("2,-1,-1,-1,-1,40,50,360,290"));
        TWindow Again(Saved);
        QVERIFY(Again.Widget.windowState() & Qt::WindowMaximized);
        QCOMPARE(Again.Widget.geometry(), QRect(40, 50, 320, 240));
    }

    void MinimisedComesBackNormal() {
        TWindow Window("1,-1,-1,-1,-1,10,20,410,320");
        QCOMPARE(Window.Widget.windowState(), Qt::WindowNoState);
        QCOMPARE(Window.Widget.geometry(), QRect(10, 20, 400, 300));
    }

    void OddLinesChangeNothingOrOnlyWhatTheyCan() {
        TWindow Eight("0,1,2,3,4,5,6,7");
        QCOMPARE(Eight.Widget.geometry(), QRect(100, 100, 300, 200));
        TWindow Spaced("0, -1, -1, -1, -1, 10, 20, 410, 320");
        QCOMPARE(Spaced.Widget.geometry(), QRect(10, 20, 400, 300));
        TWindow State("x,-1,-1,-1,-1,10,20,410,320");
        QCOMPARE(State.Widget.windowState(), Qt::WindowNoState);
        QCOMPARE(State.Widget.geometry(), QRect(10, 20, 400, 300));
    }

    void APlacementOffEveryScreenComesBackInView() {
        const QRect Screen = QGuiApplication::primaryScreen()->availableGeometry();
        for (const char* Line :
             {"0,-1,-1,-1,-1,30000,30000,30300,30200", "0,-1,-1,-1,-1,-5000,10,-4700,210",
              "0,-1,-1,-1,-1,0,0,90000,90000"}) {
            TWindow Window(Line);
            QVERIFY2(Screen.contains(Window.Widget.geometry()), Line);
        }
    }
};

} // namespace talvo

QTEST_MAIN(talvo::TWindowPlacementTest)
#include "WindowPlacementTest.moc"
