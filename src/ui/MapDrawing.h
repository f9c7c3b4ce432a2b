#pragma once

#include <QObject>
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include "model/MapState.h"
#include "platform/Bitmap.h"
#include "platform/Progress.h"
#include "render/HeightColourTable.h"
#include "settings/ViewSettings.h"

namespace talvo {

// Draws the map's picture on a worker thread, one picture at a time, and tells the window's
// thread when it is done. The drawing uses copies of the settings and the colour ramp taken when
// it starts; the map itself is read as it is, so it must not change until Finished.
class TMapDrawing : public QObject {
    Q_OBJECT

  public:
    explicit TMapDrawing(QObject* Parent = nullptr);
    // Cancels a drawing that still runs and waits for it.
    ~TMapDrawing() override;

    // Starts drawing Map with its ticked layers. Ignored while a drawing runs.
    void Start(const MapState& Map, const TIni& Settings, const THeightColourTable& Table);
    // From Start until Finished has been sent.
    bool Running() const { return FRunning; }
    // Asks the drawing to stop: Finished follows soon, with no picture.
    void Cancel();
    // Cancels and waits for the worker thread to end; Finished is not sent any more.
    void Stop();
    // Rows drawn out of rows to draw, readable at any time.
    const TProgress& Progress() const { return *FProgress; }

    // After Finished: the picture, or nothing when the drawing was cancelled or failed.
    std::optional<TBitmap> TakePicture() { return std::exchange(Picture, std::nullopt); }
    // After Finished: why the drawing failed; empty when it did not.
    const std::string& Error() const { return FError; }

  signals:
    void Finished();

  private:
    std::unique_ptr<TProgress> FProgress = std::make_unique<TProgress>();
    std::optional<TBitmap> Picture;
    std::string FError;
    bool FRunning = false;
    // Counts the drawings started and stopped, so that a stopped one's news is not passed on.
    uint64_t Drawings = 0;
    std::jthread Worker;
};

} // namespace talvo
