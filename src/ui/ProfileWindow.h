#pragma once

#include <QLabel>
#include <QPointF>
#include <QPolygonF>
#include <QPushButton>
#include <QWidget>
#include <memory>
#include <vector>

#include "app/Document.h"
#include "model/ElevationProfile.h"
#include "ui/Dialogs.h"
#include "ui/Worker.h"

class QChart;
class QChartView;
class QScatterSeries;

namespace talvo {

// "Profile": height against distance along a line drawn over the picture, with its lowest and
// highest heights, total ascent and descent, and Save CSV. Sea and cells without data are gaps.
// The sample under the pointer is marked here and on the map, and the reverse.
class TProfileWindow : public QWidget {
    Q_OBJECT

  public:
    TProfileWindow(TDocument& Document, TDialogs& Dialogs, QWidget* Parent = nullptr);

    // Samples the map on show along the line through the centres of the cells of Line
    // (fractional cells of the picture) and shows it; nothing when one is off the map. The cells
    // of a map read by window are read off the window's thread, and shown when they are in.
    void ShowProfile(const QPolygonF& Line);
    // Marks the sample nearest the cell Cell of the picture (the pointer over the map).
    void MarkNearest(QPointF Cell);
    void btnSaveCsvClick();

    const std::vector<TProfileSample>& Samples() const { return FSamples; }

    QChartView* ChartView;
    QLabel* Summary;
    // The distance and height of the sample under the pointer on the plot.
    QLabel* PointerReadout;
    QPushButton* btnSaveCsv;

  signals:
    // The pointer is over sample Cell's place on the plot (picture cells, the cell's centre).
    void SampleHovered(QPointF Cell);
    // The window has closed: its line goes from the map.
    void Closed();

  protected:
    void closeEvent(QCloseEvent* Event) override;
    bool eventFilter(QObject* Watched, QEvent* Event) override;

  private:
    // Shows Samples of the map Taken.
    void ShowSamples(std::shared_ptr<const TLoadedMap> Taken, std::vector<TProfileSample> Samples);
    void Mark(size_t Sample);
    // Marks the sample nearest Distance (in the plot's unit) and names it, here and on the map.
    void PointAt(double Distance);

    TDocument& FDocument;
    TDialogs& Dialogs;
    std::shared_ptr<const TLoadedMap> Map; // the map the samples were taken from
    std::vector<TProfileSample> FSamples;
    TWorker* Sampler; // reads the cells of a map read by window
    QChart* Chart;
    QScatterSeries* Marker;
    // Metres in a unit of the distance axis: kilometres for lines longer than 10 km.
    double DistanceUnit = 1.0;
};

} // namespace talvo
