// The four windows together, under a window manager: stacking after a load and the end of the
// program. Run by tests/ui/with-window-manager.sh.
#include "ui/AppWindows.h"

#include <QSignalSpy>
#include <QTest>

#include "support/NumMapText.h"
#include "support/ScriptedDialogs.h"

namespace talvo {

class TAppWindowsTest : public QObject {
    Q_OBJECT

    struct TProgram {
        TProgram()
            : Document({test::WriteTempFile(
                            "app.ini", test::FileText(TALVO_SAMPLES_DIR "/jacksboro/Talvo.ini")),
                        false},
                       {}),
              Windows(Document, Dialogs) {
            Windows.MapForm.show();
        }
        void Open(const char* Name) {
            Dialogs.OpenAnswers.push_back({std::string(TALVO_SAMPLES_DIR "/jacksboro/") + Name});
            QTest::mouseClick(Windows.MapForm.btnLoad, Qt::LeftButton);
            QVERIFY(QTest::qWaitFor([this] { return !Windows.MapForm.Worker->Running(); }));
        }
        test::TScriptedDialogs Dialogs;
        TDocument Document;
        TAppWindows Windows;
    };

  private slots:
    void AfterALoadTheMainWindowIsInFront() {
        TProgram P;
        QVERIFY(QTest::qWaitForWindowActive(&P.Windows.MapForm));
        P.Open("533945.Mem");
        QVERIFY(P.Windows.InfForm.isVisible());
        QVERIFY(P.Windows.InfForm.parent() == nullptr); // its own window, not the map's
        QTRY_VERIFY(P.Windows.MapForm.isActiveWindow());
        QCOMPARE(QApplication::topLevelAt(P.Windows.MapForm.mapToGlobal(QPoint(300, 200))),
                 &P.Windows.MapForm);
    }

    // Nothing to redraw before a map; after a load the information window stands beside the
    // main one; a refusal of the 3D view, which is not shown, is told over the main window.
    void WindowsStandWhereTheyCanBeSeen() {
        TProgram P;
        QVERIFY(QTest::qWaitForWindowExposed(&P.Windows.MapForm));
        QVERIFY(!P.Windows.MapForm.btnRedraw->isEnabled());
        P.Open("533945.Mem");
        QVERIFY(QTest::qWaitForWindowExposed(&P.Windows.InfForm));
        QTRY_VERIFY(
            !P.Windows.InfForm.frameGeometry().intersects(P.Windows.MapForm.frameGeometry()));
        P.Windows.View3D.StartView({0, 0, 500, 50, 1, 1.0f});
        QCOMPARE(P.Dialogs.Errors.size(), size_t{1});
        QCOMPARE(P.Dialogs.Owners.back(), &P.Windows.MapForm);
    }

    // The picture of a new map reaches a 3D view that has shown nothing yet, or another map,
    // without a word: only a view draped with the same map's picture takes it.
    void ANewPictureLeavesOtherViewsAlone() {
        TProgram P;
        TViewSettings Settings = P.Document.Settings();
        Settings.Quality = "MAP";
        P.Document.SetSettings(Settings);
        P.Open("EL533945.hdr");
        QVERIFY(P.Dialogs.Errors.empty());
        QVERIFY(P.Windows.MapForm.View().Picture() != nullptr);
        QVERIFY(P.Windows.MapForm.btnRedraw->isEnabled());
        P.Windows.View3D.StartView({0, 0, 50, 50, 1, 1.0f});
        QVERIFY(QTest::qWaitForWindowExposed(&P.Windows.View3D));
        P.Open("533945.Mem");
        QVERIFY(P.Dialogs.Errors.empty());
    }

    void ThePaletteOpensCentredOnTheScreen() {
        TProgram P;
        QTest::mouseClick(P.Windows.MapForm.btnPal, Qt::LeftButton);
        QVERIFY(QTest::qWaitForWindowExposed(&P.Windows.PalForm));
        const QPoint Centre = P.Windows.MapForm.screen()->availableGeometry().center();
        QVERIFY((P.Windows.PalForm.geometry().center() - Centre).manhattanLength() < 40);
    }

    void ClosingTheMainWindowEndsTheProgramWithThe3DView() {
        TProgram P;
        P.Open("533945.Mem");
        QSignalSpy Finished(&P.Windows, &TAppWindows::Finished);
        P.Windows.View3D.StartView({0, 0, 50, 50, 1, 1.0f});
        QVERIFY(QTest::qWaitForWindowExposed(&P.Windows.View3D));
        QVERIFY(P.Windows.MapForm.close());
        QCOMPARE(Finished.count(), 1);
        QVERIFY(!P.Windows.View3D.isVisible());
        QVERIFY(!P.Windows.InfForm.isVisible());
    }
};

} // namespace talvo

QTEST_MAIN(talvo::TAppWindowsTest)
#include "AppWindowsTest.moc"
