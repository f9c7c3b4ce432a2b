#include "ui/DxForm.h"

#include <QApplication>
#include <QCloseEvent>
#include <QImage>

namespace talvo {

namespace {

// Test.bmp and other textures through Qt's image reader.
std::optional<TTexture> ReadImage(const std::string& Path) {
    QImage Image;
    if (!Image.load(QString::fromStdString(Path))) {
        return std::nullopt;
    }
    Image = Image.convertToFormat(QImage::Format_RGB32);
    TTexture Texture{Image.width(), Image.height(), {}};
    Texture.Pixels.reserve(static_cast<size_t>(Image.width()) *
                           static_cast<size_t>(Image.height()));
    for (int Y = 0; Y < Image.height(); ++Y) {
        for (int X = 0; X < Image.width(); ++X) {
            const QRgb C = Image.pixel(X, Y);
            Texture.Pixels.push_back(qRed(C) | qGreen(C) << 8 | qBlue(C) << 16);
        }
    }
    return Texture;
}

std::optional<TViewScene::TKey> SceneKey(int Key) {
    switch (Key) {
    case Qt::Key_Left:
        return TViewScene::TKey::Left;
    case Qt::Key_Right:
        return TViewScene::TKey::Right;
    case Qt::Key_Up:
        return TViewScene::TKey::Up;
    case Qt::Key_Down:
        return TViewScene::TKey::Down;
    case Qt::Key_PageUp:
        return TViewScene::TKey::PageUp;
    case Qt::Key_PageDown:
        return TViewScene::TKey::PageDown;
    case Qt::Key_4:
        return TViewScene::TKey::Key4;
    case Qt::Key_6:
        return TViewScene::TKey::Key6;
    case Qt::Key_8:
        return TViewScene::TKey::Key8;
    case Qt::Key_2:
        return TViewScene::TKey::Key2;
    case Qt::Key_5:
        return TViewScene::TKey::Key5;
    case Qt::Key_Home:
        return TViewScene::TKey::Home;
    case Qt::Key_X:
        return TViewScene::TKey::X;
    case Qt::Key_L:
        return TViewScene::TKey::L;
    default:
        return std::nullopt;
    }
}

} // namespace

TD3DForm::TD3DForm(MapState& Map, const TIni& Settings, const THeightColourTable& Table,
                   TTerrainMesh& Terrain, TDialogs& Dialogs, QWidget* Parent)
    : TDXForm(Parent), DXDraw(new TDXDraw(ReadImage, this)), View(DXDraw->Renderer()), Map(Map),
      Settings(Settings), Table(Table), Terrain(Terrain), Dialogs(Dialogs) {
    setObjectName("D3DForm");
    setWindowTitle("3D View");
    resize(541, 367);
    DXDraw->setGeometry(rect());
    DXDraw->installEventFilter(this);
    DXDraw->setMouseTracking(false);
    DXDraw->OnInitialize = [this] { DXDrawInitialize(); };
    DXDraw->OnInitializeSurface = [this] { DXDrawInitializeSurface(); };
    DXDraw->OnFinalize = [this] { DXDrawFinalize(); };
    DXTimer.OnTimer = [this] { DXTimerTimer(); };
    setFocusPolicy(Qt::StrongFocus);
}

void TD3DForm::StartView(const T3DRegion& Region) {
    // A refused region leaves the view that is open, or nothing, as it was.
    try {
        CheckTerrainRegion(Map, Region);
    } catch (const std::exception& Error) {
        Dialogs.Error(this, Error.what());
        return;
    }
    DXDraw->Finalize();
    DXDraw->Initialize();
    Set3DRegion(Map.NumHeader, Region);
    show();
    raise();
    activateWindow();
    // The surface gets its OpenGL context when first shown: only now can it tell.
    if (const std::string Failure = DXDraw->Failure(); !Failure.empty()) {
        DXDraw->Finalize();
        hide();
        Dialogs.Error(this, Failure);
        return;
    }
    BuildAndRun();
}

void TD3DForm::BuildAndRun() {
    try {
        BuildTerrainMesh(DXDraw->Renderer(), *View.ModelFrame, Terrain, Map, Settings, Table);
    } catch (const std::exception& Error) {
        Dialogs.Error(this, Error.what());
        return;
    }
    DXTimer.SetEnabled(true);
    DXTimerTimer();
}

void TD3DForm::DXDrawInitialize() {
    View.Initialize(RenderQualityOf(Settings.Quality));
    DXDraw->Camera = View.Camera;
}

void TD3DForm::DXDrawInitializeSurface() {
    View.InitializeSurface(DXDraw->Hardware());
}

void TD3DForm::DXDrawFinalize() {
    DXTimer.SetEnabled(false);
    // The scene goes with the display: nothing may point into it any more.
    View.Camera = View.SpinFrame = View.ModelFrame = View.LightFrame = nullptr;
    View.MouseUp();
}

std::vector<std::pair<int, std::string>> TD3DForm::OverlayLines() const {
    return View.OverlayLines(DXTimer.FrameRate(), DXDraw->Hardware(), Map.NumHeader.CellSpacing,
                             Terrain.MeshFaceCount);
}

void TD3DForm::DXTimerTimer() {
    if (!DXDraw->CanDraw()) {
        return;
    }
    DXDraw->Render(OverlayVisible ? OverlayLines() : std::vector<std::pair<int, std::string>>{});
}

void TD3DForm::keyPressEvent(QKeyEvent* Event) {
    const int Key = Event->key();
    if (Key == Qt::Key_Escape) {
        close();
        return;
    }
    if ((Key == Qt::Key_Return || Key == Qt::Key_Enter) && (Event->modifiers() & Qt::AltModifier)) {
        SwitchDisplayMode();
        return;
    }
    if (Key == Qt::Key_I) {
        OverlayVisible = !OverlayVisible;
    } else if (std::optional<TViewScene::TKey> SceneKeyPressed = SceneKey(Key)) {
        if (View.ModelFrame) {
            View.KeyDown(*SceneKeyPressed);
        }
    }
    // Drawn at once too: frames may wait while the application is not in front.
    DXTimerTimer();
}

void TD3DForm::SwitchDisplayMode() {
    DXDraw->Finalize();
    if (DXDraw->FullScreen) {
        showNormal();
        RestorePlacement();
        DXDraw->FullScreen = false;
    } else {
        SavePlacement();
        showFullScreen();
        DXDraw->FullScreen = true;
    }
    DXDraw->Initialize();
    BuildAndRun();
}

bool TD3DForm::eventFilter(QObject* Watched, QEvent* Event) {
    if (Watched != DXDraw || !View.ModelFrame) {
        return false;
    }
    switch (Event->type()) {
    case QEvent::MouseButtonPress: {
        auto* Mouse = static_cast<QMouseEvent*>(Event);
        const QPoint At = Mouse->position().toPoint();
        View.MouseDown(Mouse->buttons() & Qt::LeftButton, Mouse->buttons() & Qt::RightButton,
                       At.x(), At.y());
        if (View.RotateDragging || View.DollyDragging) {
            DXDraw->setCursor(Qt::PointingHandCursor);
            DXDraw->grabMouse();
        }
        DXTimerTimer();
        return true;
    }
    case QEvent::MouseMove: {
        const QPoint At = static_cast<QMouseEvent*>(Event)->position().toPoint();
        View.MouseMove(At.x(), At.y());
        DXTimerTimer();
        return true;
    }
    case QEvent::MouseButtonRelease:
        View.MouseUp();
        DXDraw->unsetCursor();
        DXDraw->releaseMouse();
        return true;
    default:
        return false;
    }
}

void TD3DForm::resizeEvent(QResizeEvent* Event) {
    TDXForm::resizeEvent(Event);
    DXDraw->setGeometry(rect());
}

void TD3DForm::closeEvent(QCloseEvent* Event) {
    DXDraw->Finalize();
    Event->accept();
}

} // namespace talvo
