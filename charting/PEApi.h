#pragma once

// Entry points of the charting library module ("Pegrp32c" with the platform's shared-library
// suffix). The engine loads the module by file name and looks each entry up by name, so the
// library can be replaced without rebuilding the engine. See docs/charting.md.

#include <QEvent>

#include <cstdint>

class QWidget;
class QPicture;
class QPrinter;

// A chart is a widget; its handle is the widget's address.
using HPE = QWidget*;

struct PERect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// Broken-down time for the serial-date conversions. The year is counted from 1900.
struct PETM {
    int nYear = 0;
    int nMonth = 0;
    int nDay = 0;
    int nHour = 0;
    int nMinute = 0;
    int nSecond = 0;
    int nMilliSecond = 0;
};

// Chart colours are 32-bit 0x00BBGGRR values, the form the colour tables and settings use.
constexpr std::uint32_t peRGB(int r, int g, int b) {
    return static_cast<std::uint32_t>(r & 0xFF) | (static_cast<std::uint32_t>(g & 0xFF) << 8) |
           (static_cast<std::uint32_t>(b & 0xFF) << 16);
}

// The chart tells its parent window what the user did by posting this event (one type for all
// notifications); the code is one of the PEN_ numbers of ChartProperties.h.
class PENotifyEvent : public QEvent {
public:
    static constexpr QEvent::Type kType = static_cast<QEvent::Type>(QEvent::User + 953);
    PENotifyEvent(HPE chart, int code) : QEvent(kType), m_chart(chart), m_code(code) {}
    HPE chart() const { return m_chart; }
    int code() const { return m_code; }

private:
    HPE m_chart;
    int m_code;
};

extern "C" {
// Object type 304 is the graph; `rect` is in the parent's coordinates.
typedef HPE (*PEcreateFn)(int objectType, unsigned style, const PERect* rect, QWidget* parent, int id);
typedef int (*PEdestroyFn)(HPE chart);
// Integer properties.
typedef int (*PEnsetFn)(HPE chart, int property, int value);
typedef int (*PEngetFn)(HPE chart, int property);
// Text properties (UTF-8). PEszget copies at most bufferSize - 1 characters and a zero.
typedef int (*PEszsetFn)(HPE chart, int property, const char* text);
typedef int (*PEszgetFn)(HPE chart, int property, char* buffer, int bufferSize);
// Array properties and scalar numbers: the element type is the property's (double, 32-bit
// integer, or `const char*` for text arrays); a scalar number is an array of one. PEvget copies
// at most `capacity` elements and returns the property's element count (buffer may be null).
typedef int (*PEvsetFn)(HPE chart, int property, const void* data, int count);
typedef int (*PEvgetFn)(HPE chart, int property, void* buffer, int capacity);
typedef int (*PEvsetcellFn)(HPE chart, int property, int cell, const void* value);
typedef int (*PEvgetcellFn)(HPE chart, int property, int cell, void* value);
// Two-index cell: (subset, point) of a per-point array.
typedef int (*PEvgetcellExFn)(HPE chart, int property, int subset, int point, void* value);
// Rebuilds the scene from the stored properties; PEresetimage redraws it.
typedef int (*PEreinitializeFn)(HPE chart);
typedef int (*PEresetimageFn)(HPE chart, int width, int height);
// Sets the rectangle (device units) into which the next PEgetmeta renders the chart.
typedef int (*PEresetimageExFn)(HPE chart, const PERect* target);
// A picture of the chart at that rectangle; owned by the chart, valid until the next call.
typedef const QPicture* (*PEgetmetaFn)(HPE chart);
// Prints one page on `printer` (the default printer when null); 1 when printed.
typedef int (*PEprintgraphFn)(HPE chart, QPrinter* printer, int landscape);
// Runs the print dialog for the chart and prints on acceptance; 1 when printed.
typedef int (*PElaunchprintdialogFn)(HPE chart, int fullPage, QWidget* parent);
// Writes the chart as it is shown: format 0 BMP, 1 PNG. 1 on success.
typedef int (*PEsavetofileFn)(HPE chart, const char* path, int format);
typedef int (*PEstorepartialFn)(HPE chart, int partial);
// Serial dates, mode 2: days since 1899-12-30 00:00 as a double (see docs/charting.md).
typedef int (*PEcreateserialdateFn)(double* serial, const PETM* tm, int mode);
typedef int (*PEdecipherserialdateFn)(const double* serial, PETM* tm, int mode);
}

// The name of the charting library module, without the platform suffix.
constexpr const char* kChartingLibrary = "Pegrp32c";
// The file the engine loads: the name with the platform's module suffix.
#if defined(_WIN32)
constexpr const char* kChartingLibraryFile = "Pegrp32c.dll";
#else
constexpr const char* kChartingLibraryFile = "Pegrp32c.so";
#endif
