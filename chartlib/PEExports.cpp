// The C entry points of the charting library. Every entry checks its chart handle against the
// charts alive in this module, so a stale or foreign handle fails cleanly instead of crashing.

#include "ChartWidget.h"
#include "PEApi.h"
#include "SerialDate.h"

#include <QPointer>

#include <algorithm>
#include <cstring>
#include <unordered_set>

namespace {

using chartlib::ChartWidget;

// Object type of the graph chart, the only kind this library makes.
constexpr int kGraphObject = 304;
// Serial dates in days since 1899-12-30, the only mode the engine uses.
constexpr int kSerialMode = 2;

std::unordered_set<const QWidget*>& liveCharts() {
    static std::unordered_set<const QWidget*> charts;
    return charts;
}

ChartWidget* chartOf(HPE handle) {
    if (handle == nullptr || liveCharts().count(handle) == 0)
        return nullptr;
    return static_cast<ChartWidget*>(handle);
}

} // namespace

extern "C" {

Q_DECL_EXPORT HPE PEcreate(int objectType, unsigned, const PERect* rect, QWidget* parent, int) {
    if (objectType != kGraphObject)
        return nullptr;
    auto* chart = new ChartWidget(parent);
    liveCharts().insert(chart);
    // The parent may delete the chart without PEdestroy (closing a window frees its children).
    QObject::connect(chart, &QObject::destroyed, [chart] { liveCharts().erase(chart); });
    if (rect != nullptr && rect->right > rect->left && rect->bottom > rect->top)
        chart->setGeometry(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top);
    else
        chart->resize(640, 400);
    if (parent != nullptr && parent->isVisible())
        chart->show();
    return chart;
}

Q_DECL_EXPORT int PEdestroy(HPE handle) {
    ChartWidget* chart = chartOf(handle);
    if (chart == nullptr)
        return 0;
    liveCharts().erase(chart);
    delete chart;
    return 1;
}

Q_DECL_EXPORT int PEnset(HPE handle, int property, int value) {
    ChartWidget* chart = chartOf(handle);
    if (chart == nullptr)
        return 0;
    if (chart->properties().setInteger(property, value))
        chart->propertyChanged(property);
    return 1;
}

Q_DECL_EXPORT int PEnget(HPE handle, int property) {
    ChartWidget* chart = chartOf(handle);
    return chart == nullptr ? 0 : chart->properties().integer(property, 0);
}

Q_DECL_EXPORT int PEszset(HPE handle, int property, const char* text) {
    ChartWidget* chart = chartOf(handle);
    if (chart == nullptr)
        return 0;
    const PETipoPropiedad type = chart->properties().typeOf(property, PETipoPropiedad::Text);
    if (type != PETipoPropiedad::Text && type != PETipoPropiedad::TextArray)
        return 0;
    chart->properties().setText(property, text);
    return 1;
}

Q_DECL_EXPORT int PEszget(HPE handle, int property, char* buffer, int bufferSize) {
    ChartWidget* chart = chartOf(handle);
    if (chart == nullptr)
        return 0;
    const std::string text = chart->properties().text(property);
    if (buffer != nullptr && bufferSize > 0) {
        const std::size_t n = std::min(text.size(), static_cast<std::size_t>(bufferSize - 1));
        std::memcpy(buffer, text.data(), n);
        buffer[n] = '\0';
    }
    return static_cast<int>(text.size());
}

Q_DECL_EXPORT int PEvset(HPE handle, int property, const void* data, int count) {
    ChartWidget* chart = chartOf(handle);
    if (chart == nullptr || count < 0 || (count > 0 && data == nullptr))
        return 0;
    chart->properties().setArray(property, data, count);
    return 1;
}

Q_DECL_EXPORT int PEvget(HPE handle, int property, void* buffer, int capacity) {
    ChartWidget* chart = chartOf(handle);
    return chart == nullptr ? 0 : chart->properties().getArray(property, buffer, capacity);
}

Q_DECL_EXPORT int PEvsetcell(HPE handle, int property, int cell, const void* value) {
    ChartWidget* chart = chartOf(handle);
    return chart != nullptr && chart->properties().setCell(property, cell, value) ? 1 : 0;
}

Q_DECL_EXPORT int PEvgetcell(HPE handle, int property, int cell, void* value) {
    ChartWidget* chart = chartOf(handle);
    return chart != nullptr && chart->properties().getCell(property, cell, value) ? 1 : 0;
}

Q_DECL_EXPORT int PEvgetcellEx(HPE handle, int property, int subset, int point, void* value) {
    ChartWidget* chart = chartOf(handle);
    if (chart == nullptr || subset < 0 || point < 0)
        return 0;
    const long long cell =
        static_cast<long long>(subset) * std::max(0, chart->properties().integer(PEP_POINTS)) + point;
    if (cell > std::numeric_limits<int>::max())
        return 0;
    return chart->properties().getCell(property, static_cast<int>(cell), value) ? 1 : 0;
}

Q_DECL_EXPORT int PEreinitialize(HPE handle) {
    ChartWidget* chart = chartOf(handle);
    if (chart == nullptr)
        return 0;
    chart->reinitialize();
    return 1;
}

Q_DECL_EXPORT int PEresetimage(HPE handle, int, int) {
    ChartWidget* chart = chartOf(handle);
    if (chart == nullptr)
        return 0;
    chart->resetImage();
    return 1;
}

Q_DECL_EXPORT int PEresetimageEx(HPE handle, const PERect* target) {
    ChartWidget* chart = chartOf(handle);
    if (chart == nullptr || target == nullptr || target->right <= target->left ||
        target->bottom <= target->top)
        return 0;
    chart->setMetaTarget(
        QRect(QPoint(target->left, target->top), QPoint(target->right - 1, target->bottom - 1)));
    return 1;
}

Q_DECL_EXPORT const QPicture* PEgetmeta(HPE handle) {
    ChartWidget* chart = chartOf(handle);
    return chart == nullptr ? nullptr : chart->meta();
}

Q_DECL_EXPORT int PEprintgraph(HPE handle, QPrinter* printer, int landscape) {
    ChartWidget* chart = chartOf(handle);
    return chart != nullptr && chart->print(printer, landscape != 0) ? 1 : 0;
}

Q_DECL_EXPORT int PElaunchprintdialog(HPE handle, int fullPage, QWidget* parent) {
    ChartWidget* chart = chartOf(handle);
    return chart != nullptr && chart->launchPrintDialog(fullPage != 0, parent) ? 1 : 0;
}

Q_DECL_EXPORT int PEsavetofile(HPE handle, const char* path, int format) {
    ChartWidget* chart = chartOf(handle);
    if (chart == nullptr || path == nullptr || *path == '\0')
        return 0;
    return chart->saveToFile(QString::fromUtf8(path), format) ? 1 : 0;
}

Q_DECL_EXPORT int PEstorepartial(HPE handle, int partial) {
    ChartWidget* chart = chartOf(handle);
    if (chart == nullptr)
        return 0;
    // Partial storing only matters to a library that keeps its own image; remembered for readers.
    chart->setProperty("storePartial", partial);
    return 1;
}

Q_DECL_EXPORT int PEcreateserialdate(double* serial, const PETM* tm, int mode) {
    if (serial == nullptr || tm == nullptr || mode != kSerialMode)
        return 0;
    std::int64_t millis = 0;
    if (!chartlib::toSerialMillis(*tm, &millis))
        return 0;
    *serial = chartlib::serialFromMillis(millis);
    return 1;
}

Q_DECL_EXPORT int PEdecipherserialdate(const double* serial, PETM* tm, int mode) {
    if (serial == nullptr || tm == nullptr || mode != kSerialMode)
        return 0;
    std::int64_t millis = 0;
    PETM result;
    if (!chartlib::millisFromSerial(*serial, &millis) || !chartlib::fromSerialMillis(millis, &result))
        return 0;
    *tm = result;
    return 1;
}

} // extern "C"

// The exported definitions must keep the signatures the engine resolves them with.
static_assert(std::is_same_v<decltype(&PEcreate), PEcreateFn>);
static_assert(std::is_same_v<decltype(&PEdestroy), PEdestroyFn>);
static_assert(std::is_same_v<decltype(&PEnset), PEnsetFn>);
static_assert(std::is_same_v<decltype(&PEnget), PEngetFn>);
static_assert(std::is_same_v<decltype(&PEszset), PEszsetFn>);
static_assert(std::is_same_v<decltype(&PEszget), PEszgetFn>);
static_assert(std::is_same_v<decltype(&PEvset), PEvsetFn>);
static_assert(std::is_same_v<decltype(&PEvget), PEvgetFn>);
static_assert(std::is_same_v<decltype(&PEvsetcell), PEvsetcellFn>);
static_assert(std::is_same_v<decltype(&PEvgetcell), PEvgetcellFn>);
static_assert(std::is_same_v<decltype(&PEvgetcellEx), PEvgetcellExFn>);
static_assert(std::is_same_v<decltype(&PEreinitialize), PEreinitializeFn>);
static_assert(std::is_same_v<decltype(&PEresetimage), PEresetimageFn>);
static_assert(std::is_same_v<decltype(&PEresetimageEx), PEresetimageExFn>);
static_assert(std::is_same_v<decltype(&PEgetmeta), PEgetmetaFn>);
static_assert(std::is_same_v<decltype(&PEprintgraph), PEprintgraphFn>);
static_assert(std::is_same_v<decltype(&PElaunchprintdialog), PElaunchprintdialogFn>);
static_assert(std::is_same_v<decltype(&PEsavetofile), PEsavetofileFn>);
static_assert(std::is_same_v<decltype(&PEstorepartial), PEstorepartialFn>);
static_assert(std::is_same_v<decltype(&PEcreateserialdate), PEcreateserialdateFn>);
static_assert(std::is_same_v<decltype(&PEdecipherserialdate), PEdecipherserialdateFn>);
