#include "ui/MapWindow.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QMimeData>
#include <QScreen>
#include <QScrollBar>
#include <QShortcut>
#include <QTimer>
#include <QWindow>
#include <filesystem>

#include "app/RecentFiles.h"
#include "model/CellReadout.h"
#include "model/MapInfo.h"
#include "model/MapViewRules.h"
#include "model/PointText.h"
#include "model/ScaleBar.h"
#include "model/ScreenFit.h"
#include "platform/Errors.h"
#include "platform/Messages.h"
#include "platform/PictureFiles.h"
#include "platform/SameFile.h"
#include "platform/TextConvert.h"
#include "ui/WindowPlacement.h"

namespace talvo {

namespace {

QPushButton* Button(const char* Name, const char* Caption, QWidget* Parent, QRect Geometry) {
    auto* Result = new QPushButton(Caption, Parent);
    Result->setObjectName(Name);
    Result->setGeometry(Geometry);
    return Result;
}

QLineEdit* Edit(const char* Name, const char* Text, QWidget* Parent) {
    auto* Result = new QLineEdit(Text, Parent);
    Result->setObjectName(Name);
    return Result;
}

QLabel* Label(const char* Name, const char* Caption, QWidget* Parent) {
    auto* Result = new QLabel(QString::fromUtf8(Caption), Parent);
    Result->setObjectName(Name);
    return Result;
}

constexpr int PanelWidth = 125;
constexpr int GaugeHeight = 28;

} // namespace

TMapWindow::TMapWindow(TDocument& Document, TDialogs& Dialogs, QWidget* Parent)
    : QWidget(Parent), FDocument(Document), Dialogs(Dialogs) {
    setObjectName("MapForm");
    setWindowTitle("Map View");
    // The documented client area, and the status bar below it.
    resize(605, 435 + TStatusBar::BarHeight);
    setMinimumSize(PanelWidth + 160, 435 + TStatusBar::BarHeight); // the panel stays in view
    setAcceptDrops(true);
    CreateControls();
    RestorePlacement(*this, FDocument.StartValue("Bounds", PlacementKey(*this)));
    RecentFiles = StartRecentFiles(FDocument);
    for (size_t Layer = 0; Layer < LayerBoxes.size(); ++Layer) {
        LayerBoxes[Layer]->setChecked(FDocument.Settings().GmpChk[Layer]);
    }
    TellStartProblems();
}

TMapWindow::~TMapWindow() {
    Worker->Stop(); // its result would come to a window that is gone
    ViewWorker->Stop();
    CountWorker->Stop();
}

void TMapWindow::CreateControls() {
    ScrollBox = new TPictureView(this);
    ScrollBox->setObjectName("ScrollBox");

    // The rectangle lives on the visible area: it does not scroll with the map.
    SelShape = new TSelShape(ScrollBox->viewport());
    SelShape->setGeometry(72, 64, 65, 65);
    SelShape->hide();
    pgrBar = new QProgressBar(ScrollBox);
    pgrBar->setObjectName("pgrBar");
    pgrBar->setTextVisible(false);
    pgrBar->setValue(0);
    pgrBar->setStyleSheet("QProgressBar::chunk { background: red; }");
    pgrBar->hide();

    ButtonPanel = new QWidget(this);
    ButtonPanel->setObjectName("Panel1");
    lblMScale = Label("lblMScale", "x 1", ButtonPanel);
    lblMScale->move(56, 160);
    spnMScale = new QWidget(ButtonPanel);
    spnMScale->setObjectName("spnMScale");
    spnMScale->setGeometry(32, 155, 15, 25);
    spnMScaleUp = new QToolButton(spnMScale);
    spnMScaleUp->setArrowType(Qt::UpArrow);
    spnMScaleUp->setGeometry(0, 0, 15, 12);
    spnMScaleDown = new QToolButton(spnMScale);
    spnMScaleDown->setArrowType(Qt::DownArrow);
    spnMScaleDown->setGeometry(0, 13, 15, 12);
    btnLoad = Button("btnLoad", "Load...", ButtonPanel, {22, 16, 75, 25});
    btnRecent = new QToolButton(ButtonPanel);
    btnRecent->setObjectName("btnRecent");
    btnRecent->setArrowType(Qt::DownArrow);
    btnRecent->setGeometry(98, 16, 15, 25);
    btnLoad->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(btnRecent, &QToolButton::clicked, this,
            [this] { ShowRecentMenu(btnRecent->mapToGlobal(QPoint(0, btnRecent->height()))); });
    connect(btnLoad, &QWidget::customContextMenuRequested, this,
            [this](QPoint At) { ShowRecentMenu(btnLoad->mapToGlobal(At)); });
    btnRedraw = Button("btnRedraw", "Redraw", ButtonPanel, {22, 48, 75, 25});
    btnRedraw->setEnabled(false);
    btnPal = Button("btnPal", "Palette...", ButtonPanel, {22, 80, 75, 25});
    btnSave = Button("btnSave", "Save Pic...", ButtonPanel, {22, 109, 75, 25});
    btnSave->setEnabled(false);

    grp3D = new QGroupBox(ButtonPanel);
    grp3D->setObjectName("grp3D");
    grp3D->setGeometry(3, 184, 121, 129);
    grp3D->setEnabled(false);
    StepLabel = Label("Label4", "Step", grp3D);
    StepLabel->move(36, 18);
    edtStp = Edit("edtStp", "1", grp3D);
    edtStp->setGeometry(72, 10, 41, 21);
    HScaleLabel = Label("Label6", "H-Scale", grp3D);
    HScaleLabel->move(14, 42);
    edtScl = Edit("edtScl", "1", grp3D);
    edtScl->setGeometry(72, 34, 41, 21);
    btnSel = Button("btnSel", "Select", grp3D, {22, 64, 83, 25});
    btn3D = Button("btn3D", "3D Draw", grp3D, {24, 96, 81, 25});
    btn3D->setEnabled(false);

    grpVect = new QGroupBox(ButtonPanel);
    grpVect->setObjectName("grpVect");
    grpVect->setGeometry(3, 313, 118, 121);
    const char* Names[] = {"chkAd", "chkRv", "chkLk", "chkRd", "chkHw", "chkRw"};
    const char* Captions[] = {QT_TRANSLATE_NOOP("talvo::TMapWindow", "行政界"),
                              QT_TRANSLATE_NOOP("talvo::TMapWindow", "河川"),
                              QT_TRANSLATE_NOOP("talvo::TMapWindow", "湖沼"),
                              QT_TRANSLATE_NOOP("talvo::TMapWindow", "一般道"),
                              QT_TRANSLATE_NOOP("talvo::TMapWindow", "高速道"),
                              QT_TRANSLATE_NOOP("talvo::TMapWindow", "鉄道")};
    for (size_t Layer = 0; Layer < LayerBoxes.size(); ++Layer) {
        auto* Box = new QCheckBox(tr(Captions[Layer]), ButtonPanel);
        Box->setObjectName(Names[Layer]);
        Box->setGeometry(8, 328 + 16 * static_cast<int>(Layer), 97, 17);
        LayerBoxes[Layer] = Box;
    }
    chkAd = LayerBoxes[0];
    chkRv = LayerBoxes[1];
    chkLk = LayerBoxes[2];
    chkRd = LayerBoxes[3];
    chkHw = LayerBoxes[4];
    chkRw = LayerBoxes[5];
    for (size_t Layer = 0; Layer < LayerBoxes.size(); ++Layer) {
        connect(LayerBoxes[Layer], &QCheckBox::toggled, this, [this, Layer](bool Checked) {
            TViewSettings Settings = FDocument.Settings();
            Settings.GmpChk[Layer] = Checked;
            FDocument.SetSettings(Settings);
        });
    }

    StatusBar = new TStatusBar(this);
    StatusBar->ProfileButton->setEnabled(false); // until a map of heights is shown
    StatusBar->Shade = FDocument.Settings().Shade;
    connect(StatusBar, &TStatusBar::ShadeChosen, this, [this](int Mode) {
        TViewSettings Settings = FDocument.Settings();
        Settings.Shade = static_cast<TShadeMode>(Mode);
        StatusBar->Shade = Settings.Shade;
        FDocument.SetSettings(Settings);
        if (btnRedraw->isEnabled()) {
            btnRedrawClick();
        }
    });
    connect(ScrollBox, &TPictureView::PointerMoved, this, &TMapWindow::UpdateReadout);
    connect(ScrollBox, &TPictureView::PointerLeft, this, &TMapWindow::RefreshReadout);
    connect(ScrollBox, &TPictureView::PictureMoved, this, &TMapWindow::RefreshReadout);
    connect(ScrollBox, &TPictureView::PictureMoved, this, &TMapWindow::UpdateScaleBar);
    connect(ScrollBox, &TPictureView::Clicked, this, &TMapWindow::ProfileClick);
    connect(ScrollBox, &TPictureView::DoubleClicked, this, &TMapWindow::ProfileDoubleClick);
    connect(ScrollBox, &TPictureView::WheelZoom, this, [this](int Steps, QPoint At) {
        double Scale = View().Zoom();
        for (int Step = 0; Step < std::abs(Steps); ++Step) {
            Scale = Steps > 0 ? ZoomIn(Scale) : ZoomOut(Scale, LeastZoomHere());
        }
        ZoomAround(Scale, At);
    });
    connect(StatusBar->ProfileButton, &QToolButton::toggled, this, [this] {
        CancelProfileLine();
        ScrollBox->SetLeftButtonPans(!View().Selecting() && !StatusBar->ProfileButton->isChecked());
    });

    Worker = new TWorker(this);
    ViewWorker = new TWorker(this);
    CountWorker = new TWorker(this);
    connect(ScrollBox, &TPictureView::PictureMoved, this, &TMapWindow::RequestView);
    ProgressTimer = new QTimer(this);
    ProgressTimer->setInterval(40);
    connect(ProgressTimer, &QTimer::timeout, this, [this] {
        const TProgress& Progress = (Worker->Running() ? Worker : ViewWorker)->Progress();
        pgrBar->setMaximum(static_cast<int>(Progress.Total()));
        pgrBar->setValue(static_cast<int>(Progress.Done()));
    });

    auto Bind = [this](auto* Sender, auto Signal, void (TMapWindow::*Handler)()) {
        connect(Sender, Signal, this,
                [this, Handler] { Guarded([this, Handler] { (this->*Handler)(); }); });
    };
    Bind(btnLoad, &QPushButton::clicked, &TMapWindow::btnLoadClick);
    Bind(btnRedraw, &QPushButton::clicked, &TMapWindow::btnRedrawClick);
    Bind(btnPal, &QPushButton::clicked, &TMapWindow::btnPalClick);
    Bind(btnSave, &QPushButton::clicked, &TMapWindow::btnSaveClick);
    Bind(btnSel, &QPushButton::clicked, &TMapWindow::btnSelClick);
    Bind(btn3D, &QPushButton::clicked, &TMapWindow::btn3DClick);
    Bind(spnMScaleUp, &QToolButton::clicked, &TMapWindow::spnMScaleUpClick);
    Bind(spnMScaleDown, &QToolButton::clicked, &TMapWindow::spnMScaleDownClick);
    Bind(SelShape, &TSelShape::MouseMoved, &TMapWindow::SelShapeMouseMove);

    // Keyboard access to what the buttons do; a disabled button ignores its shortcut.
    auto Shortcut = [this](QKeySequence Keys, QAbstractButton* Target) {
        connect(new QShortcut(Keys, this), &QShortcut::activated, Target, &QAbstractButton::click);
    };
    Shortcut(QKeySequence::Open, btnLoad);
    Shortcut(QKeySequence::Refresh, btnRedraw);
    Shortcut(QKeySequence::Save, btnSave);
    Shortcut(QKeySequence::ZoomIn, spnMScaleUp);
    Shortcut(QKeySequence::ZoomOut, spnMScaleDown);
    for (const char* Keys : {"+", "="}) {
        Shortcut(QKeySequence(Keys), spnMScaleUp);
    }
    Shortcut(QKeySequence("-"), spnMScaleDown);
    Shortcut(QKeySequence("P"), StatusBar->ProfileButton);
    Shortcut(QKeySequence("S"), btnSel);
    Shortcut(QKeySequence("D"), btn3D);
    for (const char* Keys : {"0", "Ctrl+0"}) {
        connect(new QShortcut(QKeySequence(Keys), this), &QShortcut::activated, this,
                &TMapWindow::FitZoom);
    }
    addAction(StatusBar->GoToAction);
    addAction(StatusBar->CopyAction);
    connect(StatusBar->GoToAction, &QAction::triggered, this,
            [this] { Guarded([this] { GoTo(); }); });
    connect(StatusBar->CopyAction, &QAction::triggered, this, &TMapWindow::CopyReadout);
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this,
            &TMapWindow::CancelProfileLine);
    btnLoad->setToolTip(tr("地図を開く (Ctrl+O)"));
    btnRecent->setToolTip(tr("最近開いた地図"));
    btnRedraw->setToolTip(tr("描き直す (F5)"));
    btnSave->setToolTip(tr("図を保存する (Ctrl+S)"));
    spnMScaleUp->setToolTip(tr("拡大 (Ctrl++、+)"));
    spnMScaleDown->setToolTip(tr("縮小 (Ctrl+-、-)"));
    lblMScale->setToolTip(tr("全体を表示: 0 か Ctrl+0"));
    btnSel->setToolTip(tr("3D で見る範囲の矩形を出す (S)"));
    btn3D->setToolTip(tr("矩形の範囲を 3D で見る (D)"));
}

void TMapWindow::TellStartProblems() {
    View().SetZoom(1.0);
    View().SetSelecting(false);
    std::string Message = FDocument.SettingsUnreadable();
    if (!FDocument.BadColourKeys().empty()) {
        std::string Keys;
        for (const std::string& Key : FDocument.BadColourKeys()) {
            Keys += (Keys.empty() ? "" : ", ") + Key;
        }
        Message += (Message.empty() ? "" : "\n\n") +
                   Text(TText::ColoursDrawnBlack, {FDocument.SettingsFile().Path, Keys});
    }
    // Told once the window is on the screen, so that the box stands over it.
    StartMessage = Message;
}

void TMapWindow::ShowInfoWindow() {
    InfoPending = !OnScreen;
    if (InfoPending) {
        return;
    }
    if (!InfoPlaced) {
        // Where the user last left it; the first time, beside this window, so that neither
        // covers the other.
        InfoPlaced = true;
        const std::string Saved = FDocument.StartValue("Bounds", PlacementKey(*InfForm));
        if (!Saved.empty()) {
            RestorePlacement(*InfForm, Saved);
        } else {
            const QRect Main = frameGeometry();
            InfForm->adjustSize(); // its layout gives its size
            // Its frame is not known before it is shown: take this window's.
            const QSize Frame = InfForm->size() + (frameGeometry().size() - size());
            const TScreenRect Place =
                PlaceBeside({Main.left(), Main.top(), Main.width(), Main.height()}, Frame.width(),
                            Frame.height(), ScreenAreas());
            InfForm->move(Place.Left, Place.Top);
        }
    }
    InfForm->show();
}

void TMapWindow::SaveOnClose() {
    try {
        std::vector<TExtraKey> Placements = RecentFileKeys(RecentFiles);
        Placements.push_back(PlacementOf(*this));
        if (InfoPlaced) {
            Placements.push_back(PlacementOf(*InfForm));
        }
        FDocument.SaveSettings(FDocument.Settings(), Placements);
    } catch (const std::exception& Error) {
        // The window closes all the same: keeping it open would not make the file writable.
        Dialogs.Error(this, Error.what());
    }
}

void TMapWindow::Guarded(const std::function<void()>& Handler) {
    try {
        Handler();
    } catch (const std::exception& Error) {
        Dialogs.Error(this, Error.what());
    }
}

void TMapWindow::btnLoadClick() {
    if (std::vector<std::string> Paths = Dialogs.OpenMapFiles(this, MapFolder()); !Paths.empty()) {
        LoadFiles(Paths);
    }
}

void TMapWindow::ShowRecentMenu(QPoint At) {
    if (!btnLoad->isEnabled() || RecentFiles.empty()) {
        return;
    }
    QMenu Menu(this);
    Menu.setObjectName("mnuRecent");
    for (const std::string& Path : RecentFiles) {
        connect(Menu.addAction(QString::fromStdString(Path)), &QAction::triggered, this,
                [this, Path] { Guarded([this, &Path] { LoadFile(Path); }); });
    }
    Menu.exec(At);
}

void TMapWindow::LoadFile(const std::string& Path) {
    LoadFiles({Path});
}

void TMapWindow::LoadFiles(const std::vector<std::string>& Paths) {
    if (Worker->Running() || Paths.empty()) {
        return;
    }
    View().SetZoom(1.0);
    ApplyZoom();
    RedrawBefore = btnRedraw->isEnabled();
    btnLoad->setEnabled(false);
    btnRedraw->setEnabled(false);
    View().SetSelecting(true);
    btnSelClick();
    // The file is read off the window's thread; the map on show stays until it has been read.
    // Several files are named by their folder: they and the tiles beside them are one region.
    OpeningPath = Paths.size() == 1 ? Paths.front()
                                    : std::filesystem::path(Paths.front()).parent_path().string();
    StartWork(FDocument.OpenJob(Paths), &TMapWindow::OpeningFinished);
}

template <typename TResult>
void TMapWindow::StartWork(std::function<TResult(TProgress&)> Job,
                           void (TMapWindow::*Done)(std::optional<TResult>, const std::string&)) {
    pgrBar->setValue(0);
    pgrBar->setVisible(true);
    pgrBar->raise();
    Worker->Run<TResult>(std::move(Job),
                         [this, Done](std::optional<TResult> Result, const std::string& Error) {
                             ProgressTimer->stop();
                             pgrBar->setVisible(false);
                             Guarded([&] { (this->*Done)(std::move(Result), Error); });
                         });
    ProgressTimer->start();
}

void TMapWindow::OpeningFinished(std::optional<TOpenedMap> Opened, const std::string& Error) {
    if (!Opened) {
        // The previous map, its picture and the controls stay as they were; a recent file that
        // is gone leaves the list as its message is shown.
        if (!std::filesystem::exists(OpeningPath)) {
            std::erase(RecentFiles, OpeningPath);
        }
        btnLoad->setEnabled(true);
        btnRedraw->setEnabled(RedrawBefore);
        if (!Error.empty()) {
            Dialogs.Error(this, Error);
        }
        return;
    }
    ViewWorker->Cancel(); // a view of the map that goes
    const TLoadResult Loaded = FDocument.Accept(std::move(*Opened));
    RecentFiles = WithRecentFile(std::move(RecentFiles), OpeningPath);
    const TLoadedMap& Map = *FDocument.Map();
    // A map larger than the picture area opens whole in view, a smaller one at x 1.
    const QSize Visible = ScrollBox->maximumViewportSize();
    const double Fitting =
        FittingZoom(Map.NumHeader.Columns, Map.NumHeader.Rows, Visible.width(), Visible.height());
    View().SetZoom(std::min(1.0, Fitting), LeastZoomHere());
    Drawable = Loaded.Outcome == TOpenOutcome::Loaded;
    CancelProfileLine();
    ScrollBox->SetGoneTo(std::nullopt);
    ReadoutMarked = false;
    StatusBar->ProfileButton->setEnabled(Drawable && KindTraits(Map.NumHeader.MapKind).Colouring ==
                                                         TColouring::Elevation);
    switch (Loaded.Outcome) {
    case TOpenOutcome::Loaded:
        // Without a cell spacing there is no height to scale: nothing to show in 3D.
        grp3D->setEnabled(KindTraits(Map.NumHeader.MapKind).ShownIn3D &&
                          Map.NumHeader.CellSpacing > 0);
        if (Map.Windows) {
            ScrollBox->SetWindowedMap(QSize(Map.NumHeader.Columns, Map.NumHeader.Rows));
            View().ShowWindowedMap(FDocument.Map());
            ViewDrawn.reset();
            ApplyZoom();
        }
        DrawMap();
        break;
    case TOpenOutcome::HeaderOnly:
        break;
    case TOpenOutcome::CompanionMissing:
        Dialogs.Message(this, Loaded.Message);
        btnSel->setEnabled(false);
        btnRedraw->setEnabled(false);
        grp3D->setEnabled(false);
        break;
    }
    if (InfForm) {
        FillMapInfo(*InfForm, Map);
        ShowInfoWindow();
        CountCellsForInfo();
    }
    raise();
    activateWindow();
    btnSave->setEnabled(MapShown());
    if (!Worker->Running()) {
        btnRedraw->setEnabled(Drawable);
        btnLoad->setEnabled(true);
    }
    if (IsMapLoaded(Map.NumHeader.MapKind)) {
        btnSel->setEnabled(true); // a missing companion file turned it off
    }
    setWindowTitle(QString::fromStdString("Map View  " + OpeningPath));
}

void TMapWindow::btnRedrawClick() {
    if (!Worker->Running()) {
        DrawMap();
    }
}

void TMapWindow::DrawMap() {
    if (FDocument.Map()->Windows) {
        // Drawn anew with the settings as they are now.
        ViewDrawn.reset();
        ScrollBox->SetPictureVisible(true);
        StatusBar->Legend->SetRamp(FDocument.ColourTable(), FDocument.Settings());
        RequestView();
        return;
    }
    btnLoad->setEnabled(false);
    btnRedraw->setEnabled(false);
    ScrollBox->SetPictureVisible(false);
    // The drawing takes the map, the settings and the ramp as they are now; the palette dialog
    // may change them meanwhile for the next picture. A layer file that cannot be read is told
    // once the picture is shown, drawn without it.
    TDrawing Drawing = FDocument.StartDrawing(FDocument.Settings().GmpChk);
    OverlayFailure = Drawing.OverlayFailure;
    StartWork(std::move(Drawing.Job), &TMapWindow::DrawingFinished);
}

void TMapWindow::DrawingFinished(std::optional<std::optional<TBitmap>> Drawn,
                                 const std::string& Error) {
    if (Drawn && *Drawn) {
        ShowPicture(std::move(**Drawn));
    }
    ScrollBox->SetPictureVisible(true);
    btnLoad->setEnabled(true);
    btnRedraw->setEnabled(true);
    btnSave->setEnabled(MapShown());
    ApplyZoom(); // the new picture came at its natural size
    StatusBar->Legend->SetRamp(FDocument.ColourTable(), FDocument.Settings());
    for (const std::string& Failure : {std::exchange(OverlayFailure, {}), Error}) {
        if (!Failure.empty()) {
            Dialogs.Error(this, Failure);
        }
    }
}

void TMapWindow::btnPalClick() {
    if (ShowPalette) {
        ShowPalette();
    }
}

void TMapWindow::btnSaveClick() {
    if (FDocument.Map()->Windows) {
        Dialogs.Message(this, Text(TText::WindowedPictureNotSaved));
        return;
    }
    if (!View().Picture()) {
        return;
    }
    std::optional<std::pair<std::string, int>> Chosen = Dialogs.SavePictureFile(this, MapFolder());
    if (!Chosen) {
        return;
    }
    const std::string Name = SaveName(Chosen->first, Chosen->second);
    // With where it lies, for other GIS programs; any other extension is refused with a message.
    FDocument.SavePicture(*View().Picture(), Name, true);
}

std::string TMapWindow::MapFolder() const {
    const std::string& Map = FDocument.Map()->NumHeader.MapFileName;
    return Map.empty() ? std::string() : std::filesystem::path(Map).parent_path().string();
}

void TMapWindow::btnSelClick() {
    const bool Selecting = !View().Selecting();
    View().SetSelecting(Selecting);
    ScrollBox->SetLeftButtonPans(!Selecting && !StatusBar->ProfileButton->isChecked());
    SelShape->setVisible(Selecting);
    btn3D->setEnabled(Selecting);
    if (Selecting) {
        // The rectangle may reach the last pixel of the visible area, or of a smaller picture.
        const QSize Client = ScrollBox->viewport()->size();
        const TSelectionBounds Bounds =
            View().PlaceSelection(*FDocument.Map(), Client.width(), Client.height(),
                                  std::max(0, -ScrollBox->horizontalScrollBar()->value()),
                                  std::max(0, -ScrollBox->verticalScrollBar()->value()));
        const TSelRect& Rect = View().Selection();
        SelShape->setGeometry(Rect.Left, Rect.Top, Rect.Width, Rect.Height);
        SelShape->MaxRight = Bounds.MaxRight;
        SelShape->MaxBottom = Bounds.MaxBottom;
    }
}

void TMapWindow::btn3DClick() {
    const TRegion Region =
        View().SelectedRegion(*FDocument.Map(), ScrollBox->horizontalScrollBar()->value(),
                              ScrollBox->verticalScrollBar()->value(), edtStp->text().toStdString(),
                              edtScl->text().toStdString());
    FDocument.SetRegion(Region);
    if (StartView) {
        StartView(Region);
    }
}

void TMapWindow::spnMScaleUpClick() {
    ZoomAround(ZoomIn(View().Zoom()), ScrollBox->viewport()->rect().center());
    ScrollBox->Settle();
}

void TMapWindow::spnMScaleDownClick() {
    ZoomAround(ZoomOut(View().Zoom(), LeastZoomHere()), ScrollBox->viewport()->rect().center());
    ScrollBox->Settle();
}

void TMapWindow::ZoomAround(double NewScale, QPoint Anchor) {
    View().SetZoom(NewScale, LeastZoomHere());
    ScrollBox->ZoomAbout(View().Zoom(), Anchor);
    ApplyZoom();
}

void TMapWindow::FitZoom() {
    if (!MapShown()) {
        return;
    }
    const TNum_HeaderRec& H = FDocument.Map()->NumHeader;
    const QSize Visible = ScrollBox->maximumViewportSize();
    ZoomAround(FittingZoom(H.Columns, H.Rows, Visible.width(), Visible.height()),
               ScrollBox->viewport()->rect().center());
    ScrollBox->Settle();
}

void TMapWindow::UpdateReadout(QPointF Cell) {
    if (!ProfileLine.isEmpty()) {
        ScrollBox->SetOverlayLine(QPolygonF(ProfileLine) << Cell);
    }
    ReadoutMarked = false;
    ShowReadout(PictureCell(Cell));
}

std::optional<TGridCell> TMapWindow::PictureCell(QPointF Cell) const {
    if (!MapShown() || !ScrollBox->PictureVisible()) {
        return std::nullopt;
    }
    return CellAtGrid(*FDocument.Map(), Cell.x(), Cell.y());
}

void TMapWindow::RefreshReadout() {
    if (ReadoutMarked) {
        return;
    }
    const std::optional<QPoint> Pointer = ScrollBox->Pointer();
    ShowReadout(Pointer ? PictureCell(ScrollBox->CellAt(*Pointer)) : std::nullopt);
}

void TMapWindow::UpdateScaleBar() {
    const TLoadedMap& Map = *FDocument.Map();
    if (!MapShown() || !IsMapLoaded(Map.NumHeader.MapKind)) {
        ScrollBox->SetScaleBar(std::nullopt);
        return;
    }
    // Measured where the view's centre lies, brought onto the map.
    const QPointF Centre = ScrollBox->CellAt(ScrollBox->viewport()->rect().center());
    const std::optional<TScaleBar> Bar =
        ScaleBarAt(Map, std::clamp(Centre.x(), 0.0, double(Map.NumHeader.Columns)),
                   std::clamp(Centre.y(), 0.0, double(Map.NumHeader.Rows)), View().Zoom(), 120);
    ScrollBox->SetScaleBar(
        Bar ? std::optional(std::pair(Bar->Pixels, QString::fromStdString(Bar->Text)))
            : std::nullopt);
}

void TMapWindow::GoTo() {
    if (!MapShown()) {
        return;
    }
    const std::optional<std::string> Point = Dialogs.AskPoint(this, LastPoint);
    if (!Point || Point->empty()) {
        return;
    }
    LastPoint = *Point;
    const TGridCell Cell = CellOfPointText(*FDocument.Map(), *Point);
    const QPointF Centre(Cell.Col + 0.5, Cell.Line + 0.5);
    ScrollBox->SetGoneTo(Centre);
    ReadoutMarked = true;
    ShowReadout(Cell);
    ScrollBox->CentreOn(Centre);
}

void TMapWindow::CopyReadout() {
    if (ReadoutCell) {
        QGuiApplication::clipboard()->setText(
            QString::fromStdString(ReadoutCopy(*FDocument.Map(), *ReadoutCell)));
    }
}

void TMapWindow::ShowReadout(std::optional<TGridCell> Cell) {
    ReadoutCell = Cell;
    if (!Cell) {
        StatusBar->Readout->clear();
        return;
    }
    // Where the cell is on one line, what it holds on the next: one line would not fit.
    const TLoadedMap& Map = *FDocument.Map();
    std::string Holds;
    try {
        Holds = ReadoutLine(CellFields(Map, *Cell));
    } catch (const std::exception& Failure) {
        Holds = Failure.what(); // the cell of a map read by window could not be read
    }
    StatusBar->Readout->setText(
        QString::fromStdString(ReadoutLine(PlaceFields(Map, *Cell)) + "\n" + Holds));
}

void TMapWindow::ProfileClick(QPointF At) {
    const TLoadedMap& Map = *FDocument.Map();
    const std::optional<TGridCell> Clicked = CellAtGrid(Map, At.x(), At.y());
    if (!StatusBar->ProfileButton->isChecked() || !MapShown() || !Clicked) {
        return;
    }
    // The profile runs through the centres of the cells clicked, as the line shows it; each
    // click from the second on shows it as far as it goes.
    const QPointF Cell(Clicked->Col + 0.5, Clicked->Line + 0.5);
    if (ProfileLine.isEmpty()) {
        ScrollBox->SetMarker(std::nullopt); // the last profile's sample goes with it
    }
    ProfileLine << Cell;
    ScrollBox->SetOverlayLine(ProfileLine);
    if (ProfileLine.size() > 1 && ShowProfile) {
        ShowProfile(ProfileLine);
    }
}

void TMapWindow::ProfileDoubleClick() {
    // The double click's first click added its cell: the line ends there, and stays on show.
    if (std::exchange(ProfileLine, {}).size() < 2) {
        CancelProfileLine();
    }
}

void TMapWindow::CancelProfileLine() {
    ProfileLine.clear();
    ScrollBox->SetOverlayLine({});
    ScrollBox->SetMarker(std::nullopt);
}

void TMapWindow::ApplyZoom() {
    lblMScale->setText(QString::fromStdString(ZoomLabel(View().Zoom())));
    lblMScale->adjustSize();
    ScrollBox->SetScale(View().Zoom());
    View().SetSelecting(!View().Selecting());
    btnSelClick();
}

void TMapWindow::SelShapeMouseMove() {
    View().SetSelection({SelShape->x(), SelShape->y(), SelShape->width(), SelShape->height()});
}

void TMapWindow::ShowPicture(TBitmap Picture) {
    ScrollBox->SetPicture(nullptr); // the picture on show goes now, not after the new one came
    View().ShowPicture(std::move(Picture), FDocument.Map());
    ScrollBox->SetPicture(View().Picture().get());
    emit PictureShown();
}

void TMapWindow::CountCellsForInfo() {
    // The count of the map before, if it still runs, is stopped: its map has gone.
    CountWorker->Stop();
    const std::shared_ptr<const TLoadedMap> Map = FDocument.Map();
    CountWorker->Run<std::string>(
        [Map](TProgress& Progress) { return CountsLine(CountCells(*Map, Progress)); },
        [this](std::optional<std::string> Line, const std::string& Error) {
            InfForm->Value("Counts")->setText(QString::fromStdString(Line ? *Line : Error));
        });
}

bool TMapWindow::MapShown() const {
    return View().Picture() != nullptr || FDocument.Map()->Windows != nullptr;
}

double TMapWindow::LeastZoomHere() const {
    const TNum_HeaderRec& H = FDocument.Map()->NumHeader;
    const QSize Visible = ScrollBox->maximumViewportSize();
    return LeastZoom(H.Columns, H.Rows, Visible.width(), Visible.height());
}

void TMapWindow::RequestView() {
    const std::shared_ptr<const TLoadedMap> Map = FDocument.Map();
    if (!Map->Windows || !ScrollBox->PictureVisible() || !isVisible()) {
        return;
    }
    const TNum_HeaderRec& H = Map->NumHeader;
    const TViewArea Area = ScrollBox->Area();
    const std::optional<TViewRequest> Seen = ViewRequest(H.Columns, H.Rows, Area, 0);
    if (!Seen || (ViewDrawn && CoversRequest(*ViewDrawn, *Seen)) ||
        (ViewAsked && CoversRequest(*ViewAsked, *Seen))) {
        return;
    }
    if (ViewWorker->Running()) {
        ViewWorker->Cancel(); // overtaken: its end asks for this view
        return;
    }
    const TViewRequest Wanted = *ViewRequest(H.Columns, H.Rows, Area, ViewMargin);
    ViewAsked = Wanted;
    if (!Worker->Running()) {
        pgrBar->setValue(0);
        pgrBar->setVisible(true);
        pgrBar->raise();
        ProgressTimer->start();
    }
    ViewWorker->Run<std::optional<TBitmap>>(
        FDocument.ViewJob(Wanted),
        [this, Map, Wanted](std::optional<std::optional<TBitmap>> Drawn, const std::string& Error) {
            ViewAsked.reset();
            if (!Worker->Running()) {
                ProgressTimer->stop();
                pgrBar->setVisible(false);
            }
            // A view of a map that has gone is dropped.
            if (Map == FDocument.Map()) {
                Guarded([&] { ViewFinished(std::move(Drawn), Error, Wanted); });
            }
            RequestView(); // the view, or the map, may have changed meanwhile
        });
}

void TMapWindow::ViewFinished(std::optional<std::optional<TBitmap>> Drawn, const std::string& Error,
                              const TViewRequest& Request) {
    if (Drawn && *Drawn) {
        ScrollBox->ShowViewPicture(std::make_shared<const TBitmap>(std::move(**Drawn)), Request);
        ViewDrawn = Request;
        ViewFailure.clear();
        emit PictureShown();
    }
    if (!Error.empty()) {
        // Not asked again until the view moves; the same failure is told once.
        ViewDrawn = Request;
        if (std::exchange(ViewFailure, Error) != Error) {
            Dialogs.Error(this, Error);
        }
    }
}

void TMapWindow::closeEvent(QCloseEvent* Event) {
    Worker->Stop(); // a map or a picture nobody will see
    // A read of a view or of counts under way is cancelled, not waited for: the window goes
    // now, and the read is waited for only when the window is destroyed.
    ViewWorker->Cancel();
    CountWorker->Cancel();
    ProgressTimer->stop();
    SaveOnClose();
    if (InfForm) {
        InfForm->hide();
    }
    Event->accept();
    emit Closed();
}

void TMapWindow::showEvent(QShowEvent* Event) {
    QWidget::showEvent(Event);
    RequestView(); // a map read by window opened before the window was shown
    if (!OnScreen && windowHandle()) {
        windowHandle()->installEventFilter(this);
    }
}

bool TMapWindow::eventFilter(QObject* Watched, QEvent* Event) {
    // Once the window manager has put this window on the screen, what waited for its place:
    // a message to stand over it, the information window to stand beside it.
    if (Watched == windowHandle() && Event->type() == QEvent::Expose &&
        windowHandle()->isExposed() && !OnScreen) {
        OnScreen = true;
        windowHandle()->removeEventFilter(this);
        QTimer::singleShot(0, this, [this] {
            if (InfoPending) {
                ShowInfoWindow();
                raise();
                activateWindow();
            }
            if (!StartMessage.empty()) {
                Dialogs.Message(this, std::exchange(StartMessage, {}));
            }
        });
    }
    return QWidget::eventFilter(Watched, Event);
}

void TMapWindow::resizeEvent(QResizeEvent* Event) {
    QWidget::resizeEvent(Event);
    const int Above = height() - TStatusBar::BarHeight;
    ScrollBox->setGeometry(0, 0, width() - PanelWidth, Above);
    ButtonPanel->setGeometry(width() - PanelWidth, 0, PanelWidth, Above);
    StatusBar->setGeometry(0, Above, width(), TStatusBar::BarHeight);
    pgrBar->setGeometry(0, ScrollBox->height() - GaugeHeight, ScrollBox->width(), GaugeHeight);
    ScrollBox->Settle();
}

void TMapWindow::dragEnterEvent(QDragEnterEvent* Event) {
    if (Event->mimeData()->hasUrls() && Event->mimeData()->urls().front().isLocalFile() &&
        btnLoad->isEnabled()) {
        Event->acceptProposedAction();
    }
}

void TMapWindow::dropEvent(QDropEvent* Event) {
    std::vector<std::string> Paths;
    for (const QUrl& Url : Event->mimeData()->urls()) {
        if (Url.isLocalFile()) {
            Paths.push_back(Url.toLocalFile().toStdString());
        }
    }
    Event->acceptProposedAction();
    // Loaded after the drop has finished, so that the file manager is not kept waiting.
    QTimer::singleShot(0, this, [this, Paths] { Guarded([this, &Paths] { LoadFiles(Paths); }); });
}

} // namespace talvo
