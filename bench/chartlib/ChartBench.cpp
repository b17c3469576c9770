// Redraw, zoom and cursor costs of a large chart, each reported with its ratio to the same work
// done by a bare QCustomPlot program in this run (the floor). PLOTCORE_BENCH_POINTS sets the
// points per subset (a week at one second by default), so bench/e2e.sh can run the same
// benchmarks at the sizes it imports.

#include "ChartProperties.h"
#include "EnlaceGrafica.h"
#include "PEApi.h"

#include "BenchSupport.h"

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QLibrary>
#include <QMouseEvent>
#include <QWidget>
#include <benchmark/benchmark.h>
#include <qcustomplot.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kSubsets = 6;
constexpr int kWeek = 604800; // a week at one second
// More than this many points in all would not fit the int counts of the entry points.
constexpr long long kMaxTotalPoints = 1LL << 30;
int gPoints = kWeek; // points per subset, set once in main()
constexpr int kWidth = 1200;
constexpr int kHeight = 700;

struct Data {
    std::vector<double> x, y;
    Data() : x(static_cast<std::size_t>(kSubsets) * gPoints), y(x.size()) {
        const double start = 45383.0;
        for (int s = 0; s < kSubsets; ++s)
            for (int i = 0; i < gPoints; ++i) {
                const std::size_t k = static_cast<std::size_t>(s) * gPoints + i;
                x[k] = start + i / 86400.0;
                y[k] = 230 + 5 * std::sin(i / 43200.0 * M_PI + s) + ((i * 7919LL + s) % 13) * 0.1;
            }
    }
};

const Data& data() {
    static const Data d;
    return d;
}

// Seconds per iteration of each floor, filled as the floors run (they are registered first).
std::map<std::string, double>& floors() {
    static std::map<std::string, double> f;
    return f;
}

// The library bound as the engine binds it, loaded on first use.
const EnlaceGrafica& api() {
    static std::unique_ptr<QLibrary> library = EnlaceGrafica::CargarLibreria();
    static const EnlaceGrafica enlace(library.get());
    return enlace;
}

QImage render(QWidget* widget) {
    return widget->grab().toImage();
}

void report(benchmark::State& state, const std::string& floor, double seconds) {
    const auto it = floors().find(floor);
    if (it != floors().end() && it->second > 0)
        state.counters["ratio_to_floor"] = seconds / it->second;
}

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The engine's default line types for six series (thin, thick, medium, dash, dot, thin) and the
// pens the library draws them with.
const int kLineTypes[kSubsets] = {PELT_THIN, PELT_THICK, PELT_MEDIUM, PELT_DASH, PELT_DOT, PELT_THIN};

QPen floorPen(int subset) {
    switch (kLineTypes[subset]) {
    case PELT_THICK:
        return QPen(Qt::blue, 3.0);
    case PELT_MEDIUM:
        return QPen(Qt::blue, 2.0);
    case PELT_DASH:
        return QPen(Qt::blue, 1.0, Qt::DashLine);
    case PELT_DOT:
        return QPen(Qt::blue, 1.0, Qt::DotLine);
    default:
        return QPen(Qt::blue, 1.0);
    }
}

// The floor: the same graphs in a plain QCustomPlot, on two stacked axis rectangles sharing the
// time range as the library's are, with the same pens and shared, adaptively sampled data.
class BarePlot {
public:
    BarePlot() {
        m_plot.resize(kWidth, kHeight);
        m_plot.plotLayout()->clear();
        auto* group = new QCPMarginGroup(&m_plot);
        for (int k = 0; k < 2; ++k) {
            auto* rect = new QCPAxisRect(&m_plot);
            m_plot.plotLayout()->addElement(k, 0, rect);
            rect->setMarginGroup(QCP::msLeft | QCP::msRight, group);
            rect->axis(QCPAxis::atBottom)->setTicker(QSharedPointer<QCPAxisTickerDateTime>::create());
            rect->axis(QCPAxis::atBottom)->setTickLabels(k == 1);
            m_rects[k] = rect;
        }
    }
    void setData() {
        m_plot.clearGraphs();
        for (int s = 0; s < kSubsets; ++s) {
            auto container = QSharedPointer<QCPGraphDataContainer>::create();
            QVector<QCPGraphData> points(gPoints);
            for (int i = 0; i < gPoints; ++i) {
                const std::size_t k = static_cast<std::size_t>(s) * gPoints + i;
                points[i] = QCPGraphData(data().x[k], data().y[k]);
            }
            container->add(points, true);
            QCPAxisRect* rect = m_rects[s < kSubsets / 2 ? 0 : 1];
            QCPGraph* graph = m_plot.addGraph(rect->axis(QCPAxis::atBottom), rect->axis(QCPAxis::atLeft));
            graph->setData(container);
            graph->setAdaptiveSampling(true);
            graph->setPen(floorPen(s));
        }
        m_plot.rescaleAxes();
    }
    void zoom(double from, double to) {
        for (QCPAxisRect* rect : m_rects)
            rect->axis(QCPAxis::atBottom)->setRange(from, to);
        m_rects[0]->axis(QCPAxis::atLeft)->setRange(220, 240);
    }
    QCustomPlot& plot() { return m_plot; }

private:
    QCustomPlot m_plot;
    QCPAxisRect* m_rects[2] = {nullptr, nullptr};
};

// The chart's parent answers a cursor move as the engine's windows do: it writes the read-out
// for the new point and asks for the image again.
class EngineLikeParent : public QWidget {
public:
    HPE chart = nullptr;

protected:
    bool event(QEvent* e) override {
        if (e->type() != PENotifyEvent::kType)
            return QWidget::event(e);
        if (static_cast<PENotifyEvent*>(e)->code() == PEN_CURSORMOVED && chart != nullptr) {
            const int point = api().PEnget(chart, PEP_CURSORPOINT);
            const std::string table = "|Time: " + std::to_string(point) + "|Value: " +
                                      std::to_string(::data().y[static_cast<std::size_t>(point)]) + "|\t";
            api().PEszset(chart, PEP_CURSORTABLE, table.c_str());
            api().PEresetimage(chart, 0, 0);
        }
        return true;
    }
};

class LibraryChart {
public:
    LibraryChart() {
        m_parent.resize(kWidth, kHeight);
        PERect rect{0, 0, kWidth, kHeight};
        m_chart = api().PEcreate(304, 0, &rect, &m_parent, 1);
        m_parent.chart = m_chart;
        api().PEnset(m_chart, PEP_XSERIALDATES, 1);
        const int perAxis[] = {3, 3};
        api().PEvset(m_chart, PEP_SUBSETSPERAXIS, perAxis, 2);
        api().PEnset(m_chart, PEP_CURSORMODE, PECM_CROSS);
        api().PEvset(m_chart, PEP_LINETYPES, kLineTypes, kSubsets);
    }
    ~LibraryChart() { api().PEdestroy(m_chart); }
    void setData() {
        api().PEnset(m_chart, PEP_SUBSETS, kSubsets);
        api().PEnset(m_chart, PEP_POINTS, gPoints);
        api().PEvset(m_chart, PEP_XDATA, data().x.data(), static_cast<int>(data().x.size()));
        api().PEvset(m_chart, PEP_YDATA, data().y.data(), static_cast<int>(data().y.size()));
    }
    // A new data array of the same size, as a window sends when it steps to the next interval.
    void setFreshData() {
        api().PEvset(m_chart, PEP_YDATA, nullptr, 0);
        setData();
    }
    void redraw() {
        api().PEreinitialize(m_chart);
        api().PEresetimage(m_chart, 0, 0);
    }
    HPE chart() const { return m_chart; }
    void show() { m_parent.show(); }

private:
    EngineLikeParent m_parent;
    HPE m_chart = nullptr;
};

void BM_Floor_SetDataAndRender(benchmark::State& state) {
    BarePlot bare;
    double total = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        bare.setData();
        bare.plot().replot();
        benchmark::DoNotOptimize(render(&bare.plot()));
        total += secondsSince(start);
    }
    floors()["set"] = total / static_cast<double>(state.iterations());
}

void BM_Floor_Redraw(benchmark::State& state) {
    BarePlot bare;
    bare.setData();
    double total = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        bare.plot().replot();
        benchmark::DoNotOptimize(render(&bare.plot()));
        total += secondsSince(start);
    }
    floors()["redraw"] = total / static_cast<double>(state.iterations());
}

void BM_Floor_Zoom(benchmark::State& state) {
    BarePlot bare;
    bare.setData();
    const double start = data().x.front();
    double total = 0;
    int step = 0;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        const double from = start + (step++ % 6) * 0.5;
        bare.zoom(from, from + 0.25);
        bare.plot().replot();
        benchmark::DoNotOptimize(render(&bare.plot()));
        total += secondsSince(t0);
    }
    floors()["zoom"] = total / static_cast<double>(state.iterations());
}

void BM_Library_SetDataReinitializeAndRender(benchmark::State& state) {
    LibraryChart chart;
    double total = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        chart.setFreshData();
        chart.redraw();
        benchmark::DoNotOptimize(render(chart.chart()));
        total += secondsSince(start);
    }
    report(state, "set", total / static_cast<double>(state.iterations()));
}

void BM_Library_ReinitializeAndRender(benchmark::State& state) {
    LibraryChart chart;
    chart.setData();
    chart.redraw();
    double total = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        chart.redraw();
        benchmark::DoNotOptimize(render(chart.chart()));
        total += secondsSince(start);
    }
    report(state, "redraw", total / static_cast<double>(state.iterations()));
}

void BM_Library_ZoomReinitializeAndRender(benchmark::State& state) {
    LibraryChart chart;
    chart.setData();
    chart.redraw();
    const double start = data().x.front();
    double total = 0;
    int step = 0;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        const double from = start + (step++ % 6) * 0.5;
        const double extents[] = {from, from + 0.25, 220, 240};
        const int properties[] = {PEP_ZOOMXMIN, PEP_ZOOMXMAX, PEP_ZOOMYMIN, PEP_ZOOMYMAX};
        for (int i = 0; i < 4; ++i)
            api().PEvset(chart.chart(), properties[i], &extents[i], 1);
        api().PEnset(chart.chart(), PEP_ZOOMED, 1);
        chart.redraw();
        benchmark::DoNotOptimize(render(chart.chart()));
        total += secondsSince(t0);
    }
    report(state, "zoom", total / static_cast<double>(state.iterations()));
}

void BM_Library_CursorStepAndRender(benchmark::State& state) {
    LibraryChart chart;
    chart.setData();
    chart.redraw();
    double total = 0;
    int point = 0;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        api().PEnset(chart.chart(), PEP_CURSORPOINT, (point += 997) % gPoints);
        chart.redraw();
        benchmark::DoNotOptimize(render(chart.chart()));
        total += secondsSince(t0);
    }
    report(state, "redraw", total / static_cast<double>(state.iterations()));
}

// What a user's arrow key costs: the chart moves its cursor, the parent writes the read-out and
// asks for the image, and the widget is painted. The floor, timed in the same iterations, is the
// bare program's full redraw of the same graphs, which a cursor step must stay far under; each
// repetition reports its own ratio and the load average.
void BM_Library_CursorKeyAndPaint(benchmark::State& state) {
    BarePlot bare;
    bare.setData();
    LibraryChart chart;
    chart.setData();
    api().PEszset(chart.chart(), PEP_CURSORTABLE, "|Time: 0|Value: 0|\t");
    chart.redraw();
    // Shown, as on screen: grabbing a hidden widget sends it a resize event first, which costs
    // every grab a full redraw.
    bare.plot().show();
    chart.show();
    QCoreApplication::processEvents();
    int step = 0;
    bench::paired(
        state,
        [&] {
            bare.plot().replot();
            benchmark::DoNotOptimize(render(&bare.plot()));
        },
        [&] {
            // Right steps along, Left once in a while, so the cursor never runs off the data.
            QKeyEvent press(QEvent::KeyPress, (++step % 8 == 0) ? Qt::Key_Left : Qt::Key_Right,
                            Qt::NoModifier);
            QCoreApplication::sendEvent(chart.chart(), &press);
            benchmark::DoNotOptimize(render(chart.chart()));
        });
}

// Opening a chart until its first image: the widget made and shown, a week (or the size asked
// for) of data handed over, drawn and grabbed. The floor, in the same iterations, is the bare
// program doing the same with the same axis rectangles and pens. Each iteration starts from
// nothing: the last iteration's charts are destroyed, untimed.
void BM_Library_OpenToFirstImage(benchmark::State& state) {
    std::unique_ptr<BarePlot> bare;
    std::unique_ptr<LibraryChart> chart;
    bench::paired(
        state,
        [&] {
            bare.reset();
            chart.reset();
            QCoreApplication::processEvents();
        },
        [&] {
            bare = std::make_unique<BarePlot>();
            bare->plot().show();
            QCoreApplication::processEvents();
            bare->setData();
            bare->plot().replot();
            benchmark::DoNotOptimize(render(&bare->plot()));
        },
        [&] {
            chart = std::make_unique<LibraryChart>();
            chart->show();
            QCoreApplication::processEvents();
            chart->setData();
            chart->redraw();
            benchmark::DoNotOptimize(render(chart->chart()));
        });
}

// The rectangle a user drags to zoom: the middle quarter of the width, in the upper axis
// rectangle.
const QPoint kDragFrom(kWidth * 3 / 8, kHeight / 10);
const QPoint kDragTo(kWidth * 5 / 8, kHeight * 7 / 20);

void sendMouse(QWidget* widget, QEvent::Type type, const QPoint& at, Qt::MouseButtons buttons) {
    QMouseEvent event(type, QPointF(at), QPointF(widget->mapToGlobal(at)), Qt::LeftButton, buttons,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
}

// A zoom as the user makes it: press, drag and release on the chart, then the widget painted.
// The floor sets the bare program's upper axes to the same pixel rectangle and redraws. Both
// zoom out again before each iteration, untimed.
void BM_Library_DragZoomAndPaint(benchmark::State& state) {
    BarePlot bare;
    bare.setData();
    LibraryChart chart;
    chart.setData();
    chart.redraw();
    bare.plot().show();
    chart.show();
    QCoreApplication::processEvents();
    auto* widget = static_cast<QWidget*>(chart.chart());
    bench::paired(
        state,
        [&] {
            api().PEnset(chart.chart(), PEP_ZOOMED, 0);
            chart.redraw();
            bare.plot().rescaleAxes();
            bare.plot().replot();
            QCoreApplication::processEvents();
        },
        [&] {
            QCPAxisRect* rect = bare.plot().axisRect(0);
            QCPAxis* x = rect->axis(QCPAxis::atBottom);
            QCPAxis* y = rect->axis(QCPAxis::atLeft);
            const QCPRange xs(x->pixelToCoord(kDragFrom.x()), x->pixelToCoord(kDragTo.x()));
            const QCPRange ys(y->pixelToCoord(kDragTo.y()), y->pixelToCoord(kDragFrom.y()));
            for (QCPAxisRect* r : bare.plot().axisRects())
                r->axis(QCPAxis::atBottom)->setRange(xs.lower, xs.upper);
            y->setRange(ys.lower, ys.upper);
            bare.plot().replot();
            benchmark::DoNotOptimize(render(&bare.plot()));
        },
        [&] {
            sendMouse(widget, QEvent::MouseButtonPress, kDragFrom, Qt::LeftButton);
            sendMouse(widget, QEvent::MouseMove, (kDragFrom + kDragTo) / 2, Qt::LeftButton);
            sendMouse(widget, QEvent::MouseMove, kDragTo, Qt::LeftButton);
            sendMouse(widget, QEvent::MouseButtonRelease, kDragTo, Qt::NoButton);
            benchmark::DoNotOptimize(render(widget));
        });
}

// Iterations per repetition for a benchmark that takes `atWeek` at a week of points: fewer at
// larger sizes, so 16 weeks still runs in minutes; never fewer than one nor more than `atWeek`.
int iterationsFor(int atWeek) {
    const double scaled = static_cast<double>(atWeek) * kWeek / gPoints;
    return std::clamp(static_cast<int>(std::lround(scaled)), 1, atWeek);
}

void registerAll() {
    using benchmark::RegisterBenchmark;
    // Floors first: the library benchmarks read their figures. Five repetitions each; compare
    // the medians.
    const auto unpaired = [](const char* name, void (*fn)(benchmark::State&), int atWeek) {
        RegisterBenchmark(name, fn)
            ->Unit(benchmark::kMillisecond)
            ->Iterations(iterationsFor(atWeek))
            ->Repetitions(5);
    };
    unpaired("BM_Floor_SetDataAndRender", BM_Floor_SetDataAndRender, 3);
    unpaired("BM_Floor_Redraw", BM_Floor_Redraw, 10);
    unpaired("BM_Floor_Zoom", BM_Floor_Zoom, 10);
    unpaired("BM_Library_SetDataReinitializeAndRender", BM_Library_SetDataReinitializeAndRender, 3);
    unpaired("BM_Library_ReinitializeAndRender", BM_Library_ReinitializeAndRender, 10);
    unpaired("BM_Library_ZoomReinitializeAndRender", BM_Library_ZoomReinitializeAndRender, 10);
    unpaired("BM_Library_CursorStepAndRender", BM_Library_CursorStepAndRender, 10);
    // Paired with their floors in every iteration: each repetition reports its own ratio.
    const auto paired = [](const char* name, void (*fn)(benchmark::State&), int atWeek) {
        RegisterBenchmark(name, fn)
            ->Unit(benchmark::kMillisecond)
            ->Iterations(iterationsFor(atWeek))
            ->Repetitions(5)
            ->UseManualTime();
    };
    paired("BM_Library_CursorKeyAndPaint", BM_Library_CursorKeyAndPaint, 10);
    paired("BM_Library_OpenToFirstImage", BM_Library_OpenToFirstImage, 3);
    paired("BM_Library_DragZoomAndPaint", BM_Library_DragZoomAndPaint, 10);
}

// Points per subset from PLOTCORE_BENCH_POINTS; 0 when the value is not a usable count.
int pointsFromEnvironment() {
    const QByteArray text = qgetenv("PLOTCORE_BENCH_POINTS");
    if (text.isEmpty())
        return kWeek;
    bool ok = false;
    const long long n = text.toLongLong(&ok);
    if (!ok || n < 2 || n * kSubsets > kMaxTotalPoints)
        return 0;
    return static_cast<int>(n);
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    gPoints = pointsFromEnvironment();
    if (gPoints == 0) {
        std::fprintf(stderr,
                     "chartlib_bench: PLOTCORE_BENCH_POINTS must be a count of points from 2 to %lld\n",
                     kMaxTotalPoints / kSubsets);
        return 2;
    }
    std::fprintf(stderr, "chartlib_bench: %d subsets of %d points\n", kSubsets, gPoints);
    registerAll();
    if (!api().PEcreate) {
        std::fprintf(stderr, "chartlib_bench: cannot load %s\n", kChartingLibraryFile);
        return 1;
    }
    return bench::runAll(argc, argv);
}
