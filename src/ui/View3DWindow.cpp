#include "ui/View3DWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QImage>
#include <QScopeGuard>
#include <QScreen>

#include "model/ScreenFit.h"
#include "platform/Errors.h"
#include "platform/Messages.h"
#include "render/DrapeTexture.h"
#include "view3d/TerrainLod.h"

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
    case Qt::Key_F:
        return TViewScene::TKey::F;
    default:
        return std::nullopt;
    }
}

} // namespace

TView3DWindow::TView3DWindow(const TDocument& Document, TDialogs& Dialogs, QWidget* Parent)
    : TFullScreenWindow(Parent), Scene(new TSceneView(ReadImage, this)), View(Scene->Renderer()),
      Document(Document), Dialogs(Dialogs), Map(Document.Map()) {
    InitTerrainMesh(FTerrain);
    setObjectName("D3DForm");
    setWindowTitle("3D View");
    resize(541, 367);
    Scene->setGeometry(rect());
    Scene->installEventFilter(this);
    Scene->setMouseTracking(false);
    Scene->OnInitialize = [this] { SceneInitialize(); };
    Scene->OnInitializeSurface = [this] { SceneInitializeSurface(); };
    Scene->OnFinalize = [this] { SceneFinalize(); };
    Scene->OnFrame = [this] { FrameStarts(); };
    Timer.OnTimer = [this] { TimerTick(); };
    setFocusPolicy(Qt::StrongFocus);
}

void TView3DWindow::StartView(const TRegion& Chosen) {
    // A refused region leaves the view that is open, or nothing, as it was.
    try {
        CheckTerrainRegion(*Document.Map(), Chosen);
    } catch (const std::exception& Error) {
        Dialogs.Error(isVisible() || !MessageOwner ? this : MessageOwner, Error.what());
        return;
    }
    Scene->Finalize();
    Scene->Initialize();
    Map = Document.Map();
    FRegion = Chosen;
    Covered = {};
    if (!Placed && MessageOwner) {
        // First shown over the main window, wholly on its screen.
        Placed = true;
        const QRect Owner = MessageOwner->frameGeometry();
        const QRect Area = MessageOwner->screen()->availableGeometry();
        const TScreenRect Fitted =
            FitOnScreens({Owner.center().x() - width() / 2, Owner.center().y() - height() / 2,
                          width(), height()},
                         {{Area.left(), Area.top(), Area.width(), Area.height()}});
        move(Fitted.Left, Fitted.Top);
    }
    show();
    raise();
    activateWindow();
    // The surface gets its OpenGL context when first shown: only now can it tell.
    if (const std::string Failure = Scene->Failure(); !Failure.empty()) {
        Scene->Finalize();
        hide();
        Dialogs.Error(this, Failure);
        return;
    }
    BuildAndRun();
}

std::optional<TBitmap> TView3DWindow::Drape() const {
    if (RenderQualityOf(Document.Settings().Quality) != TRenderQuality::Map) {
        return std::nullopt;
    }
    if (Document.Map()->Windows) {
        TProgress Drawing;
        return Document.ViewJob({Covered, Covered.Cols, Covered.Rows, 1})(Drawing);
    }
    const std::shared_ptr<const TBitmap>& Picture = Document.View().Picture();
    if (!Picture) {
        return std::nullopt;
    }
    return DrapeTexture(*Picture, *Map, FRegion);
}

void TView3DWindow::PictureChanged() {
    // Only a view draped with an earlier picture of the same map takes the new one.
    const bool Draped =
        Lod ? Lod->Texture != nullptr : Builder && Builder->Triangles().Texture != nullptr;
    if (!isVisible() || !Draped || Document.Map() != Map) {
        return;
    }
    const std::optional<TBitmap> Texture = Drape();
    if (!Texture) {
        return;
    }
    // The same map and region: the picture changes, the mesh and the camera stay.
    if (Lod) {
        Lod->Texture = DrapedTexture(*Texture);
    } else {
        Builder->SetTexture(DrapedTexture(*Texture));
    }
    Scene->Reupload();
}

void TView3DWindow::BuildAndRun() {
    Builder.reset();
    Lod.reset();
    try {
        const int64_t Samples = SampleCount(FRegion);
        if (Samples > MaxTerrainSamples) {
            throw ETalvoError(Text(TText::TerrainTooLarge,
                                   {std::to_string(Samples), std::to_string(MaxTerrainSamples)}));
        }
        // The draped picture has a pixel for every cell the region covers.
        const bool Draped = RenderQualityOf(Document.Settings().Quality) == TRenderQuality::Map;
        if (Draped && std::max(FRegion.SizeX, FRegion.SizeY) > Scene->MaxTextureSize()) {
            throw ETalvoError(Text(TText::TextureTooLarge,
                                   {std::to_string(FRegion.SizeX), std::to_string(FRegion.SizeY),
                                    std::to_string(Scene->MaxTextureSize())}));
        }
        std::optional<TBitmap> Texture;
        {
            // Of a map read by window, the region's cells and picture are read now.
            QApplication::setOverrideCursor(Qt::WaitCursor);
            const auto Restore = qScopeGuard([] { QApplication::restoreOverrideCursor(); });
            TProgress Unwatched;
            TTerrainCells Cells = TerrainCellsOf(Map, FRegion, Unwatched);
            Map = std::move(Cells.Map);
            FRegion = Cells.Region;
            Covered = Cells.Covered;
            Texture = Drape();
        }
        if (WantsLevelsOfDetail(FRegion)) {
            // Too many faces to draw whole: chunks whose detail follows the distance.
            CheckTerrainRegion(*Map, FRegion);
            Lod = BuildTerrainLod(*Map, FRegion, Document.Settings(), Document.ColourTable(),
                                  Texture ? &*Texture : nullptr);
            View.ModelFrame->CreateChild().AddVisual(Lod);
            FTerrain.MeshFaceCount =
                static_cast<uint32_t>(2 * int64_t{Lod->Rows - 1} * (Lod->Cols - 1));
        } else {
            Builder = BuildTerrainMesh(Scene->Renderer(), *View.ModelFrame, FTerrain, *Map, FRegion,
                                       Document.Settings(), Document.ColourTable(),
                                       Texture ? &*Texture : nullptr);
        }
        View.SetModelBox(TerrainBox(*Map, FRegion, Document.Settings()));
        if (Lod || Map != Document.Map()) {
            // Beyond the region the camera's start was made for, or samples a unit apart where
            // the start counts cells: the whole of it in view.
            View.FrameModel();
        }
    } catch (const std::exception& Error) {
        Dialogs.Error(this, Error.what());
        return;
    }
    Timer.SetEnabled(true);
    TimerTick();
}

void TView3DWindow::SceneInitialize() {
    View.Initialize(RenderQualityOf(Document.Settings().Quality));
    Scene->Camera = View.Camera;
}

void TView3DWindow::SceneInitializeSurface() {
    View.InitializeSurface(Scene->Hardware());
}

void TView3DWindow::SceneFinalize() {
    Timer.SetEnabled(false);
    // The scene goes with the display: nothing may point into it any more.
    View.Camera = View.SpinFrame = View.ModelFrame = View.LightFrame = nullptr;
    View.MouseUp();
    Pending = {};
}

std::vector<std::pair<int, std::string>> TView3DWindow::OverlayLines() const {
    // In chunks, the faces drawn: fewer far away.
    return View.OverlayLines(Timer.FrameRate(), Scene->Hardware(), Map->NumHeader.CellSpacing,
                             Lod ? static_cast<uint32_t>(Scene->TrianglesDrawn())
                                 : FTerrain.MeshFaceCount);
}

void TView3DWindow::TimerTick() {
    if (Scene->CanDraw()) {
        Scene->Render();
    }
}

void TView3DWindow::FrameStarts() {
    if (!View.ModelFrame) {
        return;
    }
    Pending.ApplyTo(View);
    Scene->BackClip = View.BackClip();
    Scene->SetLines(OverlayVisible ? OverlayLines() : std::vector<std::pair<int, std::string>>{});
}

void TView3DWindow::keyPressEvent(QKeyEvent* Event) {
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
            Pending.Key(*SceneKeyPressed);
        }
    }
    // Drawn at once too: frames may wait while the application is not in front. The keys pressed
    // before the frame comes are applied in it together.
    TimerTick();
}

void TView3DWindow::SwitchDisplayMode() {
    Scene->Finalize();
    if (Scene->FullScreen) {
        showNormal();
        RestorePlacement();
        Scene->FullScreen = false;
    } else {
        SavePlacement();
        showFullScreen();
        Scene->FullScreen = true;
    }
    Scene->Initialize();
    BuildAndRun();
}

bool TView3DWindow::eventFilter(QObject* Watched, QEvent* Event) {
    if (Watched != Scene || !View.ModelFrame) {
        return false;
    }
    switch (Event->type()) {
    case QEvent::MouseButtonPress: {
        auto* Mouse = static_cast<QMouseEvent*>(Event);
        const QPoint At = Mouse->position().toPoint();
        View.MouseDown(Mouse->buttons() & Qt::LeftButton, Mouse->buttons() & Qt::RightButton,
                       At.x(), At.y());
        if (View.RotateDragging || View.DollyDragging) {
            Scene->setCursor(Qt::PointingHandCursor);
            Scene->grabMouse();
        }
        TimerTick();
        return true;
    }
    case QEvent::MouseMove: {
        const QPoint At = static_cast<QMouseEvent*>(Event)->position().toPoint();
        Pending.Drag(At.x(), At.y());
        TimerTick();
        return true;
    }
    case QEvent::MouseButtonRelease:
        Pending.ApplyTo(View); // the drag ends where it came last
        View.MouseUp();
        Scene->unsetCursor();
        Scene->releaseMouse();
        return true;
    default:
        return false;
    }
}

void TView3DWindow::resizeEvent(QResizeEvent* Event) {
    TFullScreenWindow::resizeEvent(Event);
    Scene->setGeometry(rect());
}

void TView3DWindow::closeEvent(QCloseEvent* Event) {
    Scene->Finalize();
    Event->accept();
}

} // namespace talvo
