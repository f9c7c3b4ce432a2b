#pragma once

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QWidget>
#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/Document.h"
#include "model/CellReadout.h"
#include "model/MapViewRules.h"
#include "ui/Dialogs.h"
#include "ui/InfoWindow.h"
#include "ui/PictureView.h"
#include "ui/SelShape.h"
#include "ui/StatusBar.h"
#include "ui/Worker.h"

namespace talvo {

// "Map View": the picture in a scroll box and the button panel, a view of the document: it has
// maps opened and pictures drawn off its own thread, shows them, and writes the settings when it
// closes. Controls keep the names of the form's description; handlers keep theirs.
class TMapWindow : public QWidget {
    Q_OBJECT

  public:
    // Tells what the document's settings file held that could not be read, once the window is up.
    TMapWindow(TDocument& Document, TDialogs& Dialogs, QWidget* Parent = nullptr);
    ~TMapWindow() override;

    // The information window filled after every load.
    TInfoWindow* InfForm = nullptr;
    // Opens the palette dialog.
    std::function<void()> ShowPalette;
    // Starts the 3D view of a region.
    std::function<void(const TRegion&)> StartView;
    // Opens maps and draws their pictures off the window's thread.
    TWorker* Worker;
    // Draws the view of a map read by window off the window's thread, one request at a time.
    TWorker* ViewWorker;
    // Counts the cells of the map on show for the information window.
    TWorker* CountWorker;

    // The picture area, in place of a scroll box holding an image control.
    TPictureView* ScrollBox;
    TSelShape* SelShape;
    QProgressBar* pgrBar;
    QWidget* ButtonPanel;
    QLabel* lblMScale;
    QWidget* spnMScale;
    QToolButton *spnMScaleUp, *spnMScaleDown;
    QPushButton *btnLoad, *btnRedraw, *btnPal, *btnSave;
    // The Load button's arrow: the maps opened last (a right click on Load shows them too).
    QToolButton* btnRecent;
    QGroupBox* grp3D;
    QLabel *StepLabel, *HScaleLabel;
    QLineEdit *edtStp, *edtScl;
    QPushButton *btnSel, *btn3D;
    QGroupBox* grpVect;
    QCheckBox *chkAd, *chkRv, *chkLk, *chkRd, *chkHw, *chkRw;
    // Under the picture and the panel: the readout, the Profile toggle and the legend.
    TStatusBar* StatusBar;
    // Opens the profile of the line drawn through the cells of Line (fractional cells of the
    // picture), as far as it has been drawn.
    std::function<void(const QPolygonF& Line)> ShowProfile;

    // Handlers.
    void btnLoadClick();
    void btnRedrawClick();
    void btnPalClick();
    void btnSaveClick();
    void btnSelClick();
    void btn3DClick();
    void spnMScaleUpClick();
    void spnMScaleDownClick();
    void ApplyZoom();
    // A new zoom keeping the cell under Anchor (a point of the picture area) in its place.
    void ZoomAround(double NewScale, QPoint Anchor);
    // The largest zoom that shows the whole picture.
    void FitZoom();
    // The pointer moved to fractional cell Cell: the readout names the cell under it.
    void UpdateReadout(QPointF Cell);
    // The picture moved under a still pointer: the readout names the cell now under it, or
    // nothing off the picture; a cell Go to marked stays until the pointer moves.
    void RefreshReadout();
    // The scale bar for the zoom and the place at the view's centre.
    void UpdateScaleBar();
    // Go to (Ctrl+G): asks for a point as --at takes it, centres its cell, marks it and shows it
    // in the readout until the pointer moves.
    void GoTo();
    // Copy (Ctrl+C): the cell the readout names, as one tab-separated line.
    void CopyReadout();
    // A click of the line of a profile; Esc cancels it.
    void ProfileClick(QPointF At);
    void ProfileDoubleClick();
    void CancelProfileLine();
    void SelShapeMouseMove();
    // "Load..." for a path already chosen: a recent file or the command line's FILE.
    void LoadFile(const std::string& Path);
    // "Load..." for paths already chosen: one file as LoadFile; a folder, or several files, as
    // the mosaic of their FG-GML tiles (a multiple choice in the dialog, or a drop).
    void LoadFiles(const std::vector<std::string>& Paths);
    // Runs a handler; an error it raises goes to the error box.
    void Guarded(const std::function<void()>& Handler);

    TDocument& Document() { return FDocument; }
    // The picture on show, its zoom and the selection rectangle.
    TMapView& View() { return FDocument.View(); }
    const TMapView& View() const { return FDocument.View(); }

  signals:
    // The window has closed: the program ends.
    void Closed();
    // A new picture is on show.
    void PictureShown();

  protected:
    void closeEvent(QCloseEvent* Event) override;
    void resizeEvent(QResizeEvent* Event) override;
    void showEvent(QShowEvent* Event) override;
    bool eventFilter(QObject* Watched, QEvent* Event) override;
    void dragEnterEvent(QDragEnterEvent* Event) override;
    void dropEvent(QDropEvent* Event) override;

  private:
    void CreateControls();
    void TellStartProblems();
    void SaveOnClose();
    void ShowInfoWindow();
    // Reads the ticked layers not read yet and starts drawing the map; Load and Redraw stay off
    // until the picture is shown.
    void DrawMap();
    void OpeningFinished(std::optional<TOpenedMap> Opened, const std::string& Error);
    void DrawingFinished(std::optional<std::optional<TBitmap>> Drawn, const std::string& Error);
    // Runs Job on the worker with the progress bar moving, then Done on the window's thread.
    template <typename TResult>
    void StartWork(std::function<TResult(TProgress&)> Job,
                   void (TMapWindow::*Done)(std::optional<TResult>, const std::string&));
    void ShowPicture(TBitmap Picture);
    // A map read by window: the cells in view are drawn unless the picture on show, or the one
    // being drawn, holds them; a request the view has left is cancelled, and the next asked when
    // it ends.
    void RequestView();
    void ViewFinished(std::optional<std::optional<TBitmap>> Drawn, const std::string& Error,
                      const TViewRequest& Request);
    // Counts the cells of the map on show off the window's thread, for the information window.
    void CountCellsForInfo();
    // The map on show has a picture (a map read by window has its view's).
    bool MapShown() const;
    // The smallest zoom for the map on show in the picture area (LeastZoom).
    double LeastZoomHere() const;
    // The loaded map's folder, where the file dialogs open; "" before the first map.
    std::string MapFolder() const;

    TDocument& FDocument;
    TDialogs& Dialogs;
    std::string OpeningPath;
    bool RedrawBefore = false;
    bool Drawable = false;      // the map on show has a picture to draw
    bool InfoPlaced = false;    // the information window has been put in its place
    std::string StartMessage;   // what the settings file held that could not be read
    bool OnScreen = false;      // the window manager has put this window in its place
    bool InfoPending = false;   // the information window waits for this window's place
    std::string OverlayFailure; // why a ticked layer could not be read for the picture drawn
    std::array<QCheckBox*, OverlayLayerCount> LayerBoxes{};
    // Moves the progress bar while a map is read or a picture drawn.
    QTimer* ProgressTimer;
    // The cell of the picture on show at fractional cell Cell; nothing off it.
    std::optional<TGridCell> PictureCell(QPointF Cell) const;
    // Shows Cell in the readout, or nothing.
    void ShowReadout(std::optional<TGridCell> Cell);
    QPolygonF ProfileLine;                 // the cells clicked of a profile line being drawn
    std::optional<TGridCell> ReadoutCell;  // the cell the readout names
    bool ReadoutMarked = false;            // that cell is Go to's, until the pointer moves
    std::string LastPoint;                 // the point last gone to, offered again
    std::vector<std::string> RecentFiles;  // newest first, saved at close
    std::optional<TViewRequest> ViewAsked; // being drawn
    std::optional<TViewRequest> ViewDrawn; // on show
    std::string ViewFailure;               // why the last view could not be drawn, told once
    void ShowRecentMenu(QPoint At);
};

} // namespace talvo
