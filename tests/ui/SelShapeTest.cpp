// The selection rectangle dragged with real mouse events, alone and in the main window.
#include "ui/SelShape.h"

#include <QApplication>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTest>

#include "support/NumMapText.h"
#include "support/ScriptedDialogs.h"
#include "ui/MapWindow.h"

namespace talvo {

class TSelShapeTest : public QObject {
    Q_OBJECT

    // A pointer move with no button held. QTest warps the real pointer for these, and the
    // server reports that later; the event itself is what the control reacts to.
    static void Hover(QWidget* Shape, QPoint At) {
        QMouseEvent Move(QEvent::MouseMove, At, Shape->mapToGlobal(At), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(Shape, &Move);
    }

    // Hovers at From, presses, moves to To and releases, as a hand on the mouse would.
    static void Drag(QWidget* Shape, QPoint From, QPoint To) {
        Hover(Shape, From);
        QTest::mousePress(Shape, Qt::LeftButton, {}, From);
        QTest::mouseMove(Shape, To);
        QTest::mouseRelease(Shape, Qt::LeftButton, {}, To);
    }

  private slots:
    void DraggingMovesAndResizesWithinTheLimits() {
        QWidget Parent;
        Parent.resize(300, 200);
        TSelShape Shape(&Parent);
        Shape.setGeometry(50, 50, 65, 65);
        Shape.MaxRight = 200;
        Parent.show();
        QVERIFY(QTest::qWaitForWindowExposed(&Parent));

        Drag(&Shape, {30, 30}, {40, 35}); // inside: moves
        QCOMPARE(Shape.geometry(), QRect(60, 55, 65, 65));
        QVERIFY(!Shape.Dragging);
        Drag(&Shape, {30, 30}, {230, 30}); // stops at MaxRight
        QCOMPARE(Shape.x() + Shape.width(), 200);
        Drag(&Shape, {62, 30}, {72, 30}); // right edge: grows up to the limit only
        QCOMPARE(Shape.width(), 65);
        Drag(&Shape, {2, 30}, {-20, 30}); // left edge: grows to the left
        QCOMPARE(Shape.geometry().left(), 113);
        QCOMPARE(Shape.width(), 87);
        QCOMPARE(Shape.cursor().shape(), Qt::SizeHorCursor);

        Shape.SelOption = ResizeX | ResizeY;
        const QRect Before = Shape.geometry();
        Drag(&Shape, {40, 30}, {10, 10}); // no moving allowed
        QCOMPARE(Shape.geometry(), Before);
    }

    void TheMainWindowFollowsTheRectangle() {
        test::TScriptedDialogs Dialogs;
        TDocument Document({test::WriteTempFile("sel.ini", ""), false}, "");
        TMapWindow Form(Document, Dialogs);
        Form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&Form));
        Dialogs.OpenAnswers.push_back({std::string(TALVO_SAMPLES_DIR) + "/jacksboro/EL533945.hdr"});
        QTest::mouseClick(Form.btnLoad, Qt::LeftButton);
        QVERIFY(QTest::qWaitFor([&] { return !Form.Worker->Running(); }));
        QTest::mouseClick(Form.btnSel, Qt::LeftButton);
        QVERIFY(Form.SelShape->isVisible());
        // It starts at the corner of the picture, which lies centred.
        const QPoint Start = Form.SelShape->pos();
        QCOMPARE(Start, QPoint(-Form.ScrollBox->horizontalScrollBar()->value(),
                               -Form.ScrollBox->verticalScrollBar()->value()));
        Drag(Form.SelShape, {50, 25}, {70, 45});
        QCOMPARE(Form.SelShape->geometry(), QRect(Start + QPoint(20, 20), QSize(100, 50)));
        Hover(Form.SelShape, {51, 26}); // the view takes the bounds of each move
        const TSelRect& Kept = Form.View().Selection();
        QCOMPARE(QRect(Kept.Left, Kept.Top, Kept.Width, Kept.Height),
                 QRect(Start + QPoint(20, 20), QSize(100, 50)));
    }
};

} // namespace talvo

QTEST_MAIN(talvo::TSelShapeTest)
#include "SelShapeTest.moc"
