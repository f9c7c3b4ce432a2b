#include "ui/ProfileWindow.h"

#include <QChart>
#include <QChartView>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLineSeries>
#include <QMouseEvent>
#include <QScatterSeries>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>
#include <cmath>
#include <filesystem>

namespace talvo {

TProfileWindow::TProfileWindow(TDocument& Document, TDialogs& Dialogs, QWidget* Parent)
    : QWidget(Parent, Qt::Window), FDocument(Document), Dialogs(Dialogs) {
    setObjectName("ProfileForm");
    setWindowTitle(tr("断面図"));
    resize(640, 360);
    Chart = new QChart;
    Chart->legend()->hide();
    ChartView = new QChartView(Chart, this);
    ChartView->setObjectName("ProfileChart");
    ChartView->setRenderHint(QPainter::Antialiasing);
    Summary = new QLabel(this);
    Summary->setObjectName("lblProfileSummary");
    PointerReadout = new QLabel(this);
    PointerReadout->setObjectName("lblProfilePointer");
    // The pointer is followed anywhere over the plot, not only on its line.
    ChartView->viewport()->setMouseTracking(true);
    ChartView->viewport()->installEventFilter(this);
    btnSaveCsv = new QPushButton(tr("CSV 保存..."), this);
    btnSaveCsv->setObjectName("btnSaveCsv");
    auto* Bottom = new QHBoxLayout;
    Bottom->addWidget(Summary, 1);
    Bottom->addWidget(btnSaveCsv);
    auto* Column = new QVBoxLayout(this);
    Column->addWidget(ChartView, 1);
    Column->addWidget(PointerReadout);
    Column->addLayout(Bottom);
    Sampler = new TWorker(this);
    Marker = new QScatterSeries;
    Marker->setMarkerSize(9);
    Marker->setColor(Qt::magenta);
    connect(btnSaveCsv, &QPushButton::clicked, this, [this] {
        try {
            btnSaveCsvClick();
        } catch (const std::exception& Error) {
            this->Dialogs.Error(this, Error.what());
        }
    });
}

void TProfileWindow::ShowProfile(const QPolygonF& Line) {
    const std::shared_ptr<const TLoadedMap> Taken = FDocument.Map();
    std::vector<TGridCell> Cells;
    for (const QPointF& Point : Line) {
        const std::optional<TGridCell> Cell = CellAtGrid(*Taken, Point.x(), Point.y());
        if (!Cell) {
            return;
        }
        Cells.push_back(*Cell);
    }
    // A line still being read gives way to this one.
    Sampler->Stop();
    if (!Taken->Windows) {
        ShowSamples(Taken, SampleProfileThroughCells(*Taken, Cells));
        return;
    }
    // The cells of a map read by window are read off the window's thread.
    Sampler->Run<std::vector<TProfileSample>>(
        [Taken, Cells](TProgress& Progress) {
            return SampleProfileThroughCells(*Taken, Cells, Progress);
        },
        [this, Taken](std::optional<std::vector<TProfileSample>> Samples,
                      const std::string& Error) {
            if (!Error.empty()) {
                Dialogs.Error(this, Error);
            } else if (Samples) {
                ShowSamples(Taken, std::move(*Samples));
            }
        });
}

void TProfileWindow::ShowSamples(std::shared_ptr<const TLoadedMap> Taken,
                                 std::vector<TProfileSample> Samples) {
    Map = std::move(Taken);
    FSamples = std::move(Samples);
    // A new chart's series and axes; the marker is kept across profiles.
    if (Marker->chart()) {
        Chart->removeSeries(Marker);
    }
    Chart->removeAllSeries();
    for (QAbstractAxis* Axis : Chart->axes()) {
        Chart->removeAxis(Axis);
        delete Axis;
    }
    const TProfileSummary Figures = SummariseProfile(FSamples);
    DistanceUnit = Figures.Length > 10000.0 ? 1000.0 : 1.0;
    auto* Distance = new QValueAxis;
    Distance->setTitleText(DistanceUnit > 1.0 ? tr("距離 (km)") : tr("距離 (m)"));
    Distance->setLabelFormat(DistanceUnit > 1.0 ? "%.1f" : "%.0f");
    auto* Height = new QValueAxis;
    Height->setTitleText(tr("標高 (m)"));
    Height->setLabelFormat("%.0f");
    Chart->addAxis(Distance, Qt::AlignBottom);
    Chart->addAxis(Height, Qt::AlignLeft);
    // One line per run of heights: sea and no data break it.
    QLineSeries* Run = nullptr;
    for (const TProfileSample& Sample : FSamples) {
        if (!Sample.Value.Metres) {
            Run = nullptr;
            continue;
        }
        if (!Run) {
            Run = new QLineSeries;
            Run->setColor(QColor(0x20, 0x60, 0xa0));
            Chart->addSeries(Run);
            Run->attachAxis(Distance);
            Run->attachAxis(Height);
        }
        Run->append(Sample.Distance / DistanceUnit, *Sample.Value.Metres);
    }
    Chart->addSeries(Marker);
    Marker->attachAxis(Distance);
    Marker->attachAxis(Height);
    Marker->clear();
    PointerReadout->clear();
    Distance->setRange(0, std::max(Figures.Length, 1.0) / DistanceUnit);
    if (Figures.Min) {
        const double Margin = std::max((*Figures.Max - *Figures.Min) * 0.05, 1.0);
        Height->setRange(*Figures.Min - Margin, *Figures.Max + Margin);
        Height->applyNiceNumbers();
    }
    Distance->applyNiceNumbers();
    auto Metres = [this](std::optional<double> Value) {
        return Value ? QString::fromStdString(HeightText(*Map, *Value)) : QStringLiteral("-");
    };
    Summary->setText(tr("%1 点  長さ %2 m  最低 %3 m  最高 %4 m  登り %5 m  下り %6 m")
                         .arg(FSamples.size())
                         .arg(Figures.Length, 0, 'f', 0)
                         .arg(Metres(Figures.Min), Metres(Figures.Max))
                         .arg(Figures.Ascent, 0, 'f', 1)
                         .arg(Figures.Descent, 0, 'f', 1));
    show();
    raise();
}

void TProfileWindow::closeEvent(QCloseEvent* Event) {
    Sampler->Stop();
    QWidget::closeEvent(Event);
    emit Closed();
}

void TProfileWindow::Mark(size_t Sample) {
    Marker->clear();
    if (FSamples[Sample].Value.Metres) {
        Marker->append(FSamples[Sample].Distance / DistanceUnit, *FSamples[Sample].Value.Metres);
    }
}

void TProfileWindow::PointAt(double Distance) {
    const auto Nearest =
        std::min_element(FSamples.begin(), FSamples.end(), [&](const auto& A, const auto& B) {
            return std::abs(A.Distance - Distance) < std::abs(B.Distance - Distance);
        });
    const auto Index = static_cast<size_t>(Nearest - FSamples.begin());
    Mark(Index);
    const TProfileSample& Sample = FSamples[Index];
    const QString Along = DistanceUnit > 1.0
                              ? QString("%1 km").arg(Sample.Distance / 1000.0, 0, 'f', 2)
                              : QString("%1 m").arg(Sample.Distance, 0, 'f', 0);
    const QString Height =
        Sample.Value.Metres ? QString::fromStdString(HeightText(*Map, *Sample.Value.Metres)) + " m"
                            : QStringLiteral("-");
    PointerReadout->setText(tr("距離 %1  標高 %2").arg(Along, Height));
    emit SampleHovered(QPointF(Sample.Cell.Col + 0.5, Sample.Cell.Line + 0.5));
}

bool TProfileWindow::eventFilter(QObject* Watched, QEvent* Event) {
    if (Watched == ChartView->viewport() && Event->type() == QEvent::MouseMove &&
        !FSamples.empty()) {
        const QPoint At = static_cast<QMouseEvent*>(Event)->position().toPoint();
        const QPointF InChart = Chart->mapFromScene(ChartView->mapToScene(At));
        if (Chart->plotArea().contains(InChart)) {
            PointAt(Chart->mapToValue(InChart, Marker).x() * DistanceUnit);
        }
    }
    return QWidget::eventFilter(Watched, Event);
}

void TProfileWindow::MarkNearest(QPointF Cell) {
    if (FSamples.empty() || !isVisible()) {
        return;
    }
    const auto Nearest =
        std::min_element(FSamples.begin(), FSamples.end(), [&](const auto& A, const auto& B) {
            return std::hypot(A.Cell.Col + 0.5 - Cell.x(), A.Cell.Line + 0.5 - Cell.y()) <
                   std::hypot(B.Cell.Col + 0.5 - Cell.x(), B.Cell.Line + 0.5 - Cell.y());
        });
    Mark(static_cast<size_t>(Nearest - FSamples.begin()));
}

void TProfileWindow::btnSaveCsvClick() {
    if (FSamples.empty()) {
        return;
    }
    const std::string& MapFile = Map->NumHeader.MapFileName;
    const std::optional<std::string> Path = Dialogs.SaveCsvFile(
        this,
        MapFile.empty() ? std::string() : std::filesystem::path(MapFile).parent_path().string());
    if (!Path) {
        return;
    }
    FDocument.SaveProfile(FSamples, *Path);
}

} // namespace talvo
