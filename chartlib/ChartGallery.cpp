// chart-gallery OUTDIR: loads the charting library by file name, as the engine does, and renders
// representative charts to PNG files so their look can be checked by eye.

#include "ChartProperties.h"
#include "EnlaceGrafica.h"
#include "PEApi.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QLibrary>
#include <QMouseEvent>
#include <QPainter>
#include <QPicture>
#include <QWidget>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr double kNull = -9999.9;

EnlaceGrafica api;

double serial(int year, int month, int day, int hour = 0, int minute = 0, int second = 0, int ms = 0) {
    PETM tm{year - 1900, month, day, hour, minute, second, ms};
    double value = 0;
    api.PEcreateserialdate(&value, &tm, 2);
    return value;
}

void setD(HPE chart, int property, const std::vector<double>& values) {
    api.PEvset(chart, property, values.data(), static_cast<int>(values.size()));
}
void setI(HPE chart, int property, const std::vector<int>& values) {
    api.PEvset(chart, property, values.data(), static_cast<int>(values.size()));
}
void setD1(HPE chart, int property, double value) {
    api.PEvset(chart, property, &value, 1);
}
// `subsets` series of `points` points each, their times serial dates or plain numbers.
void setData(HPE chart, int subsets, int points, const std::vector<double>& x, const std::vector<double>& y,
             bool serialDates) {
    api.PEnset(chart, PEP_SUBSETS, subsets);
    api.PEnset(chart, PEP_POINTS, points);
    setD(chart, PEP_XDATA, x);
    setD(chart, PEP_YDATA, y);
    if (serialDates)
        api.PEnset(chart, PEP_XSERIALDATES, 1);
}
void setT(HPE chart, int property, const std::vector<std::string>& texts) {
    std::vector<const char*> pointers;
    for (const auto& t : texts)
        pointers.push_back(t.c_str());
    api.PEvset(chart, property, pointers.data(), static_cast<int>(pointers.size()));
}

// The series colours of the engine's 16-colour table, in the default order.
const std::vector<int> kColours = {
    static_cast<int>(peRGB(0, 0, 255)),   static_cast<int>(peRGB(255, 0, 0)),
    static_cast<int>(peRGB(0, 128, 0)),   static_cast<int>(peRGB(0, 0, 128)),
    static_cast<int>(peRGB(128, 128, 0)), static_cast<int>(peRGB(0, 128, 128)),
    static_cast<int>(peRGB(128, 0, 128)), static_cast<int>(peRGB(0, 255, 255))};

class Gallery {
public:
    explicit Gallery(QString dir) : m_dir(std::move(dir)) { m_parent.resize(900, 560); }

    HPE begin(int width = 900, int height = 520) {
        PERect rect{0, 0, width, height};
        HPE chart = api.PEcreate(304, 0, &rect, &m_parent, 1);
        api.PEnset(chart, PEP_NULLX, 0);
        setD1(chart, PEP_NULLX, kNull);
        setD1(chart, PEP_NULLY, kNull);
        return chart;
    }

    bool finish(HPE chart, const char* name, bool reinitialize = true) {
        if (reinitialize) {
            api.PEreinitialize(chart);
            api.PEresetimage(chart, 0, 0);
        }
        const QString path = this->path(name);
        const bool ok = api.PEsavetofile(chart, path.toUtf8().constData(), 1) == 1;
        std::printf("%s %s\n", ok ? "wrote" : "FAILED", qPrintable(path));
        api.PEdestroy(chart);
        return ok;
    }

    QString path(const char* name) const {
        return QDir(m_dir).filePath(QString::fromLatin1(name) + QStringLiteral(".png"));
    }
    QWidget* parent() { return &m_parent; }

private:
    QString m_dir;
    QWidget m_parent;
};

bool stackedAxes(Gallery& g) {
    HPE c = g.begin();
    const int n = 1440;
    std::vector<double> x, y;
    const double day = serial(2024, 3, 14);
    for (int s = 0; s < 4; ++s)
        for (int i = 0; i < n; ++i) {
            x.push_back(day + i / 1440.0);
            const double t = i / 1440.0 * 2 * M_PI;
            if (s < 2)
                y.push_back(230 + 4 * std::sin(t + s) + (s == 0 && i == 700 ? -25 : 0));
            else if (s == 2)
                y.push_back(40 + 15 * std::sin(2 * t));
            else
                y.push_back(50 + 0.05 * std::sin(9 * t));
        }
    setData(c, 4, n, x, y, true);
    setI(c, PEP_SUBSETSPERAXIS, {2, 1, 1});
    setD(c, PEP_AXISSHARES, {0.5, 0.25, 0.25});
    const char* units[] = {"V", "A", "Hz"};
    for (int a = 0; a < 3; ++a) {
        api.PEnset(c, PEP_WORKINGAXIS, a);
        api.PEszset(c, PEP_YAXISLABEL, units[a]);
        api.PEnset(c, PEP_PLOTMETHOD, a == 1 ? 17 : 0);
    }
    setI(c, PEP_SUBSETCOLORS, {kColours[0], kColours[1], kColours[2], kColours[6]});
    setI(c, PEP_LINETYPES, {0, 5, 0, 1});
    setI(c, PEP_POINTTYPES, {3, 5, 7, 9});
    api.PEszset(c, PEP_MAINTITLE, "MULTIGRAPHIC");
    api.PEszset(c, PEP_SUBTITLE, "Days (1/3)");
    api.PEszset(c, PEP_MULTISUBTITLES, "V1 (V)\tV2 (V)\tI1 (A)\tFreq (Hz)");
    api.PEszset(c, PEP_XAXISLABEL, "Date of sample");
    return g.finish(c, "01-stacked-axes-date");
}

bool barsWithLimits(Gallery& g) {
    HPE c = g.begin();
    const int n = 40;
    std::vector<double> x, y;
    std::vector<int> colours;
    std::vector<double> limits;
    for (int h = 0; h < n; ++h)
        limits.push_back(h == 0 ? 2.5 : (h % 2 == 0 ? 2.0 : 5.0 / std::sqrt(h + 1.0)));
    for (int s = 0; s < 3; ++s)
        for (int h = 0; h < n; ++h) {
            x.push_back(h + 1);
            const double v = h == 0 ? 3.0 : (h % 2 == 0 ? 0.3 : 6.0 / (h + 1)) * (1 + 0.25 * s);
            y.push_back(v);
            colours.push_back(v > limits[h] ? static_cast<int>(peRGB(255, 0, 255)) : kColours[s]);
        }
    setData(c, 3, n, x, y, false);
    api.PEnset(c, PEP_WORKINGAXIS, 0);
    api.PEnset(c, PEP_PLOTMETHOD, 1);
    api.PEszset(c, PEP_YAXISLABEL, "%Vn");
    setI(c, PEP_SUBSETCOLORS, {kColours[0], kColours[1], kColours[2]});
    setI(c, PEP_POINTCOLORS, colours);
    // Limits as short segments centred on each order, as the harmonics window draws them.
    std::vector<double> gx, gy;
    std::vector<int> gt, gc;
    for (int h = 0; h < n; ++h) {
        gx.insert(gx.end(), {h + 1 - 0.25, h + 1 + 0.25});
        gy.insert(gy.end(), {limits[h], limits[h]});
        gt.insert(gt.end(), {38, 45});
        gc.insert(gc.end(), {0, 0});
    }
    setD(c, PEP_GANNOTX, gx);
    setD(c, PEP_GANNOTY, gy);
    setI(c, PEP_GANNOTTYPES, gt);
    setI(c, PEP_GANNOTCOLORS, gc);
    setD(c, PEP_HLINEY, {8.0});
    setI(c, PEP_HLINEAXIS, {0});
    setI(c, PEP_HLINETYPES, {2});
    setI(c, PEP_HLINECOLORS, {0});
    setT(c, PEP_HLINELABELS, {"THD limit 8%"});
    api.PEszset(c, PEP_MAINTITLE, "HARMONICS (V)");
    api.PEszset(c, PEP_SUBTITLE, "EN 50160");
    api.PEszset(c, PEP_MULTISUBTITLES, "V1\tV2\tV3");
    api.PEszset(c, PEP_TABLETITLE, "|14/03/2024 10:00:00.000|\t");
    api.PEszset(c, PEP_XAXISLABEL, "Harmonic order");
    return g.finish(c, "02-bars-highlight-limits");
}

bool iticCurves(Gallery& g) {
    HPE c = g.begin();
    const std::vector<double> dx = {0.0005, 0.004, 0.015, 0.04, 0.3, 0.8, 2.5, 12, 60, 400, 3000, 0.01, 0.2};
    const std::vector<double> dy = {180, 125, 60, 75, 65, 85, 78, 95, 105, 89, 108, 40, 112};
    setData(c, 1, static_cast<int>(dx.size()), dx, dy, false);
    api.PEnset(c, PEP_FORCEDMETHOD, 2);
    api.PEnset(c, PEP_XLOGSCALE, 1);
    setI(c, PEP_SUBSETCOLORS, {kColours[1]});
    setI(c, PEP_POINTTYPES, {5});
    const std::vector<std::pair<double, double>> lower = {{0.02, 0}, {0.02, 70}, {0.5, 70},  {0.5, 80},
                                                          {10, 80},  {10, 90},   {10000, 90}};
    const std::vector<std::pair<double, double>> upper = {
        {0.0001, 500}, {0.001, 200}, {0.003, 140}, {0.003, 120}, {0.5, 120}, {0.5, 110}, {10000, 110}};
    std::vector<double> gx, gy;
    std::vector<int> gt, gc;
    for (const auto* line : {&lower, &upper})
        for (std::size_t i = 0; i < line->size(); ++i) {
            gx.push_back((*line)[i].first);
            gy.push_back((*line)[i].second);
            gt.push_back(i == 0 ? 38 : 45);
            gc.push_back(0);
        }
    setD(c, PEP_GANNOTX, gx);
    setD(c, PEP_GANNOTY, gy);
    setI(c, PEP_GANNOTTYPES, gt);
    setI(c, PEP_GANNOTCOLORS, gc);
    api.PEszset(c, PEP_MAINTITLE, "ITIC/CBEMA");
    api.PEszset(c, PEP_XAXISLABEL, "Duration (s)");
    api.PEnset(c, PEP_WORKINGAXIS, 0);
    api.PEszset(c, PEP_YAXISLABEL, "% Vn");
    api.PEszset(c, PEP_CURSORTABLE, "|Duration (Seconds)|\tPrevious (% Vn): 100.0|Average (% Vn): 60.0\t");
    setD1(c, PEP_GRAPHSHARE, 0.88);
    return g.finish(c, "03-log-duration-itic");
}

bool onePoint(Gallery& g) {
    HPE c = g.begin(600, 400);
    const double t = serial(2024, 2, 29, 12, 30, 15, 250);
    setData(c, 3, 1, {t, t, t}, {229.5, 231.2, 230.4}, true);
    api.PEnset(c, PEP_FORCEDMETHOD, 4);
    setI(c, PEP_SUBSETCOLORS, {kColours[0], kColours[1], kColours[2]});
    setI(c, PEP_POINTTYPES, {3, 5, 7});
    api.PEszset(c, PEP_MAINTITLE, "GRAPHIC RMS");
    api.PEszset(c, PEP_MULTISUBTITLES, "V1\tV2\tV3");
    api.PEszset(c, PEP_XAXISLABEL, "Date of sample (29/02/2024 12:30:15.250)");
    return g.finish(c, "04-one-point");
}

bool gaps(Gallery& g) {
    HPE c = g.begin();
    const int n = 300;
    std::vector<double> x, y;
    const double start = serial(2024, 5, 1);
    for (int s = 0; s < 2; ++s)
        for (int i = 0; i < n; ++i) {
            // Second series: a recording pause from 100 to 140 (no samples, a gap in time).
            const double minutes = i < 100 || s == 0 ? i * 10.0 : i * 10.0 + 600;
            x.push_back(start + minutes / 1440.0);
            double v = 50 + 20 * std::sin(i / 20.0 + s);
            if (s == 0 && i >= 60 && i < 80)
                v = kNull; // missing values
            if (s == 1 && i >= 250)
                v = kNull; // a shorter series padded with nulls
            y.push_back(v);
        }
    setData(c, 2, n, x, y, true);
    setD1(c, PEP_MAXGAP, (600.0 + 0.5) / 86400.0 * 2);
    setI(c, PEP_SUBSETCOLORS, {kColours[0], kColours[1]});
    setI(c, PEP_LINETYPES, {5, 5});
    api.PEszset(c, PEP_MAINTITLE, "GAPS: null values and a recording pause");
    api.PEszset(c, PEP_MULTISUBTITLES, "P (kW)\tQ (kvar)");
    return g.finish(c, "05-gaps");
}

bool darkAnnotations(Gallery& g) {
    HPE c = g.begin();
    const int n = 60;
    std::vector<double> x, y;
    const double start = serial(2023, 11, 2);
    for (int s = 0; s < 3; ++s)
        for (int i = 0; i < n; ++i) {
            x.push_back(start + i * 0.9 + s * 0.2);
            y.push_back(i % 7 == s ? 80 + 10 * s : (i % 11 == s ? 112 + s : kNull));
        }
    setData(c, 3, n, x, y, true);
    api.PEnset(c, PEP_FORCEDMETHOD, 2);
    const int white = static_cast<int>(peRGB(255, 255, 255));
    api.PEnset(c, PEP_DESKCOLOR, 0);
    api.PEnset(c, PEP_GRAPHBACKCOLOR, 0);
    api.PEnset(c, PEP_TEXTCOLOR, white);
    setI(c, PEP_SUBSETCOLORS,
         {static_cast<int>(peRGB(255, 255, 0)), static_cast<int>(peRGB(0, 255, 255)),
          static_cast<int>(peRGB(255, 0, 255))});
    setI(c, PEP_POINTTYPES, {9, 5, 11});
    setD(c, PEP_HLINEY, {110.0, 90.0, 10.0});
    setI(c, PEP_HLINEAXIS, {0, 0, 0});
    setI(c, PEP_HLINETYPES, {1, 2, 3});
    setI(c, PEP_HLINECOLORS, {white, white, white});
    setT(c, PEP_HLINELABELS, {"|R110.0%\t", "|R90.0%\t", "|R10.0%\t"});
    api.PEszset(c, PEP_RIGHTMARGIN, "xxxxxxx");
    setD(c, PEP_VLINEX, {start + 20, start + 40});
    setI(c, PEP_VLINETYPES, {6, 6});
    setI(c, PEP_VLINECOLORS, {white, white});
    setT(c, PEP_VLINELABELS, {"|tStart", "|tEnd"});
    setI(c, PEP_LABELSUBSETS, {-1, -1, -1});
    api.PEszset(c, PEP_MAINTITLE, "EVENTS HISTORIC");
    api.PEszset(c, PEP_MULTISUBTITLES, "Phase 1\tPhase 2\tPhase 3");
    return g.finish(c, "06-dark-annotations");
}

bool readoutWithCursor(Gallery& g) {
    HPE c = g.begin();
    const int n = 288;
    std::vector<double> x, y;
    const double start = serial(2024, 1, 8);
    for (int s = 0; s < 2; ++s)
        for (int i = 0; i < n; ++i) {
            x.push_back(start + i / 288.0);
            y.push_back(s == 0 ? 0.95 + 0.03 * std::sin(i / 30.0) : 0.9 + 0.05 * std::cos(i / 25.0));
        }
    setData(c, 2, n, x, y, true);
    setI(c, PEP_SUBSETCOLORS, {kColours[0], kColours[1]});
    api.PEnset(c, PEP_CURSORMODE, 2);
    api.PEnset(c, PEP_CURSORSUBSET, 1);
    api.PEnset(c, PEP_CURSORPOINT, 150);
    api.PEszset(c, PEP_MAINTITLE, "POWER FACTOR");
    api.PEszset(c, PEP_MULTISUBTITLES, "PF1\tPF2");
    api.PEszset(c, PEP_CURSORTABLE,
                "Act : 0.87|Maximum : 0.95|Minimum : 0.85\tAct : 08/01/2024 12:30:00.000|From : "
                "08/01/2024 00:00:00.000|To : 08/01/2024 23:55:00.000\t | Selected Variable: PF2 | "
                "\t | | \t");
    setD1(c, PEP_GRAPHSHARE, 0.91);
    return g.finish(c, "07-readout-cursor");
}

bool waveformMilliseconds(Gallery& g) {
    HPE c = g.begin();
    const int n = 256;
    std::vector<double> x, y;
    const double start = serial(2024, 6, 1, 8, 15, 2, 100);
    for (int s = 0; s < 3; ++s)
        for (int i = 0; i < n; ++i) {
            x.push_back(start + i * (0.16 / 86400.0 / n));
            y.push_back(325 * std::sin(2 * M_PI * 50 * i * 0.16 / n - s * 2 * M_PI / 3));
        }
    setData(c, 3, n, x, y, true);
    setI(c, PEP_SUBSETCOLORS, {kColours[0], kColours[1], kColours[2]});
    setD(c, PEP_VLINEX, {x[n / 3], x[2 * n / 3]});
    setI(c, PEP_VLINETYPES, {6, 6});
    setI(c, PEP_VLINECOLORS, {0, 0});
    api.PEnset(c, PEP_CURSORMODE, 1);
    api.PEnset(c, PEP_CURSORPOINT, 40);
    api.PEszset(c, PEP_MAINTITLE, "WAVEFORM");
    api.PEszset(c, PEP_TABLETITLE, "|01/06/2024 08:15:02.100   THD V1 2.1 %|\t");
    return g.finish(c, "08-waveform-ms");
}

bool monthsTrend(Gallery& g) {
    HPE c = g.begin();
    const int n = 24 * 120;
    std::vector<double> x, y;
    const double start = serial(2023, 12, 1);
    for (int i = 0; i < n; ++i) {
        x.push_back(start + i / 24.0);
        y.push_back(1.0 + 0.4 * std::sin(i / 300.0) + 0.1 * std::sin(i * 0.7));
    }
    setData(c, 1, n, x, y, true);
    api.PEnset(c, PEP_WORKINGAXIS, 0);
    api.PEnset(c, PEP_PLOTMETHOD, 3);
    setI(c, PEP_SUBSETCOLORS, {kColours[5]});
    setD(c, PEP_HLINEY, {1.0});
    setI(c, PEP_HLINEAXIS, {0});
    setI(c, PEP_HLINETYPES, {2});
    setI(c, PEP_HLINECOLORS, {0});
    api.PEszset(c, PEP_MAINTITLE, "FLICKER Plt (four months, area)");
    return g.finish(c, "09-months-area");
}

bool durationAxis(Gallery& g) {
    HPE c = g.begin();
    const std::vector<double> bounds = {0, 250, 500, 750, 1000};
    const std::vector<std::string> labels = {"|h[0.01\t", "|h1.00) [1.00\t", "|h10.00) [10.00\t",
                                             "|h60.00) [60.00\t", "|h180.00)\t"};
    std::vector<double> x, y;
    for (int i = 0; i < 30; ++i) {
        x.push_back(20 + i * 32.5);
        y.push_back(i % 3 == 0 ? 60 + i : 112 - (i % 5));
    }
    setData(c, 1, 30, x, y, false);
    api.PEnset(c, PEP_FORCEDMETHOD, 2);
    setI(c, PEP_POINTTYPES, {7});
    setI(c, PEP_SUBSETCOLORS, {kColours[3]});
    const int green = static_cast<int>(peRGB(10, 100, 10));
    setD(c, PEP_VLINEX, bounds);
    setI(c, PEP_VLINETYPES, std::vector<int>(bounds.size(), 2));
    setI(c, PEP_VLINECOLORS, std::vector<int>(bounds.size(), green));
    setT(c, PEP_VLINELABELS, labels);
    api.PEszset(c, PEP_MAINTITLE, "EVENTS DURATION");
    api.PEszset(c, PEP_XAXISLABEL, "Duration (s)");
    return g.finish(c, "10-duration-intervals");
}

bool bandLabels(Gallery& g) {
    HPE c = g.begin();
    const int n = 20;
    std::vector<double> x, y;
    std::vector<double> vx;
    std::vector<std::string> labels;
    std::vector<int> types;
    for (int i = 0; i < n; ++i) {
        const double upper = 0.25 * (i + 1);
        x.push_back(upper);
        y.push_back(std::exp(-0.2 * i) * 40);
        vx.push_back(upper);
        char text[64];
        std::snprintf(text, sizeof text, "|B%.2f - %.2f V", upper - 0.25, upper);
        labels.emplace_back(text);
        types.push_back(7);
    }
    setData(c, 1, n, x, y, false);
    api.PEnset(c, PEP_WORKINGAXIS, 0);
    api.PEnset(c, PEP_PLOTMETHOD, 1);
    setD(c, PEP_VLINEX, vx);
    setI(c, PEP_VLINETYPES, types);
    setT(c, PEP_VLINELABELS, labels);
    api.PEszset(c, PEP_BOTTOMMARGIN, "xxxxxxxxxx");
    api.PEnset(c, PEP_XLABELSIZE, 80);
    api.PEszset(c, PEP_MAINTITLE, "HARMONICS 24H (bands)");
    return g.finish(c, "11-band-labels");
}

bool weekOfSeconds(Gallery& g) {
    HPE c = g.begin();
    const int n = 604800;
    const int subsets = 6;
    std::vector<double> x(static_cast<std::size_t>(n) * subsets), y(x.size());
    std::vector<int> colours(x.size());
    const double start = serial(2024, 4, 1);
    for (int s = 0; s < subsets; ++s)
        for (int i = 0; i < n; ++i) {
            const std::size_t k = static_cast<std::size_t>(s) * n + i;
            x[k] = start + i / 86400.0;
            y[k] = (s < 3 ? 230 : 20) + (s < 3 ? 5 : 8) * std::sin(i / 43200.0 * M_PI + s) +
                   ((i * 7919LL + s) % 13) * 0.1;
            if (s == 0 && i == 300000)
                y[k] = 180; // a one-second dip that must stay visible
            colours[k] = kColours[s];
        }
    setData(c, subsets, n, x, y, false);
    setI(c, PEP_POINTCOLORS, colours);
    api.PEnset(c, PEP_XSERIALDATES, 1);
    setI(c, PEP_SUBSETSPERAXIS, {3, 3});
    api.PEnset(c, PEP_WORKINGAXIS, 0);
    api.PEszset(c, PEP_YAXISLABEL, "V");
    api.PEnset(c, PEP_WORKINGAXIS, 1);
    api.PEszset(c, PEP_YAXISLABEL, "A");
    setI(c, PEP_SUBSETCOLORS, std::vector<int>(kColours.begin(), kColours.begin() + subsets));
    api.PEszset(c, PEP_MAINTITLE, "GRAPHIC RMS (one week at one second)");
    api.PEszset(c, PEP_MULTISUBTITLES, "V1\tV2\tV3\tI1\tI2\tI3");
    return g.finish(c, "12-week-of-seconds");
}

// A trend of two stacked axes that the later pictures reuse.
HPE voltsAndAmps(Gallery& g, int width = 900, int height = 520) {
    HPE c = g.begin(width, height);
    const int n = 720;
    std::vector<double> x, y;
    const double start = serial(2024, 3, 14);
    for (int s = 0; s < 2; ++s)
        for (int i = 0; i < n; ++i) {
            x.push_back(start + i / 720.0);
            y.push_back(s == 0 ? 230 + 4 * std::sin(i / 60.0) : 40 + 15 * std::sin(i / 90.0));
        }
    setData(c, 2, n, x, y, true);
    setI(c, PEP_SUBSETSPERAXIS, {1, 1});
    const char* units[] = {"V", "A"};
    for (int a = 0; a < 2; ++a) {
        api.PEnset(c, PEP_WORKINGAXIS, a);
        api.PEszset(c, PEP_YAXISLABEL, units[a]);
    }
    setI(c, PEP_SUBSETCOLORS, {kColours[0], kColours[1]});
    setI(c, PEP_LINETYPES, {PELT_THIN, PELT_THICK});
    api.PEszset(c, PEP_MULTISUBTITLES, "V1 (V)\tI1 (A)");
    return c;
}

// The page a print makes: the chart's picture played at 84 % of a landscape page inside 8 %
// margins, the target given in the picture's units as the engine gives it.
bool printedPage(Gallery& g) {
    HPE c = voltsAndAmps(g);
    api.PEszset(c, PEP_MAINTITLE, "PRINTED PAGE (8 % margins, page edge in grey)");
    api.PEnset(c, PEP_CURSORMODE, PECM_CROSS);
    api.PEnset(c, PEP_CURSORSUBSET, 0);
    api.PEnset(c, PEP_CURSORPOINT, 300);
    api.PEnset(c, PEP_MARKSIZE, 25);
    setD1(c, PEP_MARKX, serial(2024, 3, 14) + 300 / 720.0);
    setD1(c, PEP_MARKY, 230 + 4 * std::sin(5.0));
    api.PEreinitialize(c);
    // A4 landscape at 150 dots per inch.
    const int dpi = 150;
    QImage page(1754, 1240, QImage::Format_RGB32);
    page.setDotsPerMeterX(qRound(dpi / 0.0254));
    page.setDotsPerMeterY(qRound(dpi / 0.0254));
    page.fill(Qt::white);
    const double scale = static_cast<double>(QPicture().logicalDpiX()) / dpi;
    const int w = static_cast<int>(page.width() * scale);
    const int h = static_cast<int>(page.height() * scale);
    const PERect target{w * 8 / 100, h * 8 / 100, w * 8 / 100 + w * 84 / 100, h * 8 / 100 + h * 84 / 100};
    api.PEresetimageEx(c, &target);
    QPainter painter(&page);
    if (const QPicture* picture = api.PEgetmeta(c))
        painter.drawPicture(0, 0, *picture);
    painter.setPen(QPen(Qt::gray, 3));
    painter.drawRect(page.rect().adjusted(1, 1, -2, -2));
    painter.end();
    api.PEdestroy(c);
    const QString path = g.path("13-print-page");
    const bool ok = page.save(path, "PNG");
    std::printf("%s %s\n", ok ? "wrote" : "FAILED", qPrintable(path));
    return ok;
}

// Zoomed, then "Zoom out": the flag alone, as the window sets it, shows the whole day again.
bool zoomOut(Gallery& g) {
    HPE c = voltsAndAmps(g);
    api.PEszset(c, PEP_MAINTITLE, "ZOOM OUT (the whole day again, without re-initialising)");
    const double start = serial(2024, 3, 14);
    setD1(c, PEP_ZOOMXMIN, start + 0.4);
    setD1(c, PEP_ZOOMXMAX, start + 0.5);
    setD1(c, PEP_ZOOMYMIN, 229);
    setD1(c, PEP_ZOOMYMAX, 231);
    api.PEnset(c, PEP_ZOOMED, 1);
    api.PEreinitialize(c);
    api.PEresetimage(c, 0, 0);
    api.PEnset(c, PEP_ZOOMED, 0);
    return g.finish(c, "14-zoom-out", false);
}

void dragOn(QWidget* chart, QPoint from, QPoint to) {
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(from), chart->mapToGlobal(QPointF(from)),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(chart, &press);
    QMouseEvent move(QEvent::MouseMove, QPointF(to), chart->mapToGlobal(QPointF(to)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(chart, &move);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(to), chart->mapToGlobal(QPointF(to)),
                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(chart, &release);
}

// A zoom on the V axis, then one on the A axis, then "Last zoom": the V axis keeps its zoom and
// the A axis is whole again.
bool stackedZoomUndo(Gallery& g) {
    HPE c = voltsAndAmps(g);
    api.PEszset(c, PEP_MAINTITLE, "LAST ZOOM ON STACKED AXES (V zoomed, A restored)");
    // Mouse events reach shown widgets only.
    g.parent()->show();
    c->show();
    api.PEreinitialize(c);
    api.PEresetimage(c, 0, 0);
    auto extents = [&] {
        std::vector<double> r(4);
        const int p[4] = {PEP_ZOOMXMIN, PEP_ZOOMXMAX, PEP_ZOOMYMIN, PEP_ZOOMYMAX};
        for (int i = 0; i < 4; ++i)
            api.PEvget(c, p[i], &r[i], 1);
        return r;
    };
    const int w = c->width();
    const int h = c->height();
    dragOn(c, QPoint(w * 3 / 10, h * 22 / 100), QPoint(w * 7 / 10, h * 42 / 100));
    const std::vector<double> first = extents();
    dragOn(c, QPoint(w * 4 / 10, h * 62 / 100), QPoint(w * 6 / 10, h * 80 / 100));
    setD1(c, PEP_ZOOMYMIN, first[2]);
    setD1(c, PEP_ZOOMYMAX, first[3]);
    setD1(c, PEP_ZOOMXMIN, first[0]);
    setD1(c, PEP_ZOOMXMAX, first[1]);
    return g.finish(c, "15-stacked-zoom-undo");
}

// A ten-second series aligned with a one-second one: nulls between its points, each still shown.
bool sparseSeries(Gallery& g) {
    HPE c = g.begin();
    const int n = 600;
    std::vector<double> x, y;
    const double start = serial(2024, 7, 2, 14);
    for (int s = 0; s < 2; ++s)
        for (int i = 0; i < n; ++i) {
            x.push_back(start + i / 86400.0);
            const double v = 230 + 3 * std::sin(i / 50.0);
            y.push_back(s == 0 ? v + 0.4 * std::sin(i * 1.7) : (i % 10 == 0 ? v + 2 : kNull));
        }
    setData(c, 2, n, x, y, true);
    setI(c, PEP_SUBSETCOLORS, {kColours[0], kColours[1]});
    setI(c, PEP_POINTTYPES, {PEPT_SOLIDDOT, PEPT_SOLIDSQUARE});
    api.PEszset(c, PEP_MAINTITLE, "ONE IN TEN (line mode: the sparse series keeps its points)");
    api.PEszset(c, PEP_MULTISUBTITLES, "V1 1 s (V)\tV1 10 s (V)");
    return g.finish(c, "16-sparse-series");
}

// THD of about 2 % against limits of 5 % and 8 %: the lines stretch the axis to show.
bool limitsBeyondData(Gallery& g) {
    HPE c = g.begin();
    const int n = 288;
    std::vector<double> x, y;
    const double start = serial(2024, 1, 8);
    for (int s = 0; s < 2; ++s)
        for (int i = 0; i < n; ++i) {
            x.push_back(start + i / 288.0);
            y.push_back(s == 0 ? 1.8 + 0.4 * std::sin(i / 30.0) : 9 + 3 * std::sin(i / 40.0));
        }
    setData(c, 2, n, x, y, true);
    setI(c, PEP_SUBSETSPERAXIS, {1, 1});
    setI(c, PEP_SUBSETCOLORS, {kColours[0], kColours[1]});
    setD(c, PEP_HLINEY, {8.0, 20.0});
    setI(c, PEP_HLINEAXIS, {0, 1});
    setI(c, PEP_HLINETYPES, {PELT_DOT, PELT_DOT});
    setI(c, PEP_HLINECOLORS, {0, 0});
    setT(c, PEP_HLINELABELS, {"|R8.0%\t|R20.0%\t"});
    api.PEszset(c, PEP_RIGHTMARGIN, "xxxxxxx");
    api.PEszset(c, PEP_MAINTITLE, "TOTAL HARMONIC DISTORSION (limits above the data)");
    api.PEszset(c, PEP_MULTISUBTITLES, "THD V1 (%)\tTHD I1 (%)");
    return g.finish(c, "17-limits-beyond-data");
}

// Built small, then maximised: the window only resizes; ticks follow the new lengths and the
// short axes show their bottom and top values.
bool ticksAfterResize(Gallery& g) {
    HPE c = g.begin(320, 220);
    const int n = 2880;
    std::vector<double> x, y;
    const double start = serial(2024, 9, 30);
    for (int s = 0; s < 4; ++s)
        for (int i = 0; i < n; ++i) {
            x.push_back(start + i / 1440.0);
            const double t = i / 1440.0 * 2 * M_PI;
            y.push_back(s == 0   ? 230 + 5 * std::sin(t)
                        : s == 1 ? 40 + 10 * std::sin(t)
                        : s == 2 ? 49.99 + 0.02 * std::sin(3 * t)
                                 : 0.9 + 0.05 * std::cos(t));
        }
    setData(c, 4, n, x, y, true);
    setI(c, PEP_SUBSETSPERAXIS, {1, 1, 1, 1});
    setD(c, PEP_AXISSHARES, {0.55, 0.25, 0.1, 0.1});
    const char* units[] = {"V", "A", "Hz", "PF"};
    for (int a = 0; a < 4; ++a) {
        api.PEnset(c, PEP_WORKINGAXIS, a);
        api.PEszset(c, PEP_YAXISLABEL, units[a]);
    }
    setI(c, PEP_SUBSETCOLORS, {kColours[0], kColours[1], kColours[2], kColours[6]});
    api.PEszset(c, PEP_MAINTITLE, "AFTER A MAXIMISE (ticks for the new size, short axes show both ends)");
    api.PEreinitialize(c);
    api.PEresetimage(c, 0, 0);
    c->resize(900, 560);
    return g.finish(c, "18-ticks-after-resize", false);
}

bool legendWrap(Gallery& g) {
    HPE c = g.begin();
    const int subsets = 12;
    const int n = 100;
    std::vector<double> x, y;
    std::string names;
    std::vector<int> colours;
    for (int s = 0; s < subsets; ++s) {
        for (int i = 0; i < n; ++i) {
            x.push_back(i);
            y.push_back(s * 3 + std::sin(i / 10.0 + s));
        }
        names += "Phase voltage " + std::to_string(s + 1) + " (V)\t";
        colours.push_back(kColours[s % kColours.size()]);
    }
    setData(c, subsets, n, x, y, false);
    setI(c, PEP_SUBSETCOLORS, colours);
    setI(c, PEP_LABELSUBSETS, std::vector<int>(subsets, -1));
    api.PEszset(c, PEP_MAINTITLE, "TWELVE SERIES (the legend wraps)");
    api.PEszset(c, PEP_MULTISUBTITLES, names.c_str());
    return g.finish(c, "19-legend-wrap");
}

// Points above the limit in the highlight colour: the line around them too.
bool lineStretches(Gallery& g) {
    HPE c = g.begin();
    const int n = 400;
    std::vector<double> x, y;
    std::vector<int> colours;
    const double start = serial(2024, 2, 5);
    const int highlight = static_cast<int>(peRGB(255, 0, 255));
    for (int s = 0; s < 2; ++s)
        for (int i = 0; i < n; ++i) {
            x.push_back(start + i / 96.0);
            const double v = 4 + 2.5 * std::sin(i / 25.0 + s) + 0.4 * std::sin(i * 0.9);
            y.push_back(v);
            colours.push_back(v > 6 ? highlight : kColours[s]);
        }
    setData(c, 2, n, x, y, false);
    setI(c, PEP_POINTCOLORS, colours);
    api.PEnset(c, PEP_XSERIALDATES, 1);
    setI(c, PEP_SUBSETCOLORS, {kColours[0], kColours[1]});
    setI(c, PEP_LINETYPES, {PELT_MEDIUM, PELT_MEDIUM});
    setD(c, PEP_HLINEY, {6.0});
    setI(c, PEP_HLINETYPES, {PELT_DOT});
    setI(c, PEP_HLINECOLORS, {0});
    api.PEszset(c, PEP_MAINTITLE, "THD HIGHLIGHT (stretches of line above 6 % in magenta)");
    api.PEszset(c, PEP_MULTISUBTITLES, "THD V1 (%)\tTHD V2 (%)");
    return g.finish(c, "20-line-point-colours");
}

// One event's samples with its start and end: both labels in one text, each placed by its code.
bool tabSeparatedLabels(Gallery& g) {
    HPE c = g.begin();
    const int n = 400;
    std::vector<double> x, y;
    const double start = serial(2024, 6, 1, 8, 15, 2, 100);
    for (int s = 0; s < 3; ++s)
        for (int i = 0; i < n; ++i) {
            x.push_back(start + i * 0.02 / 86400.0);
            const double dip = i > 120 && i < 260 ? 0.55 : 1.0;
            y.push_back(s == 0 ? 100 * dip + std::sin(i * 0.3) : (i % 3 == s ? 99 + s : kNull));
        }
    setData(c, 3, n, x, y, false);
    setD1(c, PEP_NULLY, kNull);
    api.PEnset(c, PEP_XSERIALDATES, 1);
    setI(c, PEP_SUBSETCOLORS, {kColours[0], kColours[1], kColours[2]});
    const int green = static_cast<int>(peRGB(10, 100, 10));
    setD(c, PEP_VLINEX, {x[120], x[260]});
    setI(c, PEP_VLINETYPES, {PELT_DOT, PELT_DOT});
    setI(c, PEP_VLINECOLORS, {green, green});
    setT(c, PEP_VLINELABELS, {"|t01/06/2024 08:15:04.500\t|b01/06/2024 08:15:07.300\t"});
    setD(c, PEP_HLINEY, {90.0, 10.0});
    setI(c, PEP_HLINETYPES, {PELT_DASH, PELT_DASHDOT});
    setI(c, PEP_HLINECOLORS, {kColours[4], kColours[4]});
    setT(c, PEP_HLINELABELS, {"|R90.0%\t|R10.0%\t"});
    api.PEszset(c, PEP_RIGHTMARGIN, "xxxxxxx");
    api.PEszset(c, PEP_MAINTITLE, "EVENT SAMPLES (labels from one tab-separated text)");
    api.PEszset(c, PEP_MULTISUBTITLES, "Phase 1\tPhase 2\tPhase 3");
    return g.finish(c, "21-tab-separated-labels");
}

// Duration segments on the second axis; a curve far above the data stretches nothing.
bool annotationsOnAnyAxis(Gallery& g) {
    HPE c = voltsAndAmps(g);
    const double start = serial(2024, 3, 14);
    std::vector<double> gx, gy;
    std::vector<int> gt, gc, ga;
    for (int k = 0; k < 6; ++k) {
        const double at = start + 0.1 + k * 0.15;
        gx.insert(gx.end(), {at, at + 0.06});
        gy.insert(gy.end(), {30.0 + 4 * k, 30.0 + 4 * k});
        gt.insert(gt.end(), {PEGA_STARTPOLYLINE, PEGA_CONTINUEPOLYLINE});
        gc.insert(gc.end(), {kColours[6], kColours[6]});
        ga.insert(ga.end(), {1, 1});
    }
    // A curve at 500 A on the same axis would squash the data if it stretched the scale.
    gx.insert(gx.end(), {start, start + 1});
    gy.insert(gy.end(), {500, 500});
    gt.insert(gt.end(), {PEGA_STARTPOLYLINE, PEGA_CONTINUEPOLYLINE});
    gc.insert(gc.end(), {0, 0});
    ga.insert(ga.end(), {1, 1});
    setD(c, PEP_GANNOTX, gx);
    setD(c, PEP_GANNOTY, gy);
    setI(c, PEP_GANNOTTYPES, gt);
    setI(c, PEP_GANNOTCOLORS, gc);
    setI(c, PEP_GANNOTAXIS, ga);
    api.PEszset(c, PEP_MAINTITLE, "GRAPH ANNOTATIONS ON THE SECOND AXIS (purple segments)");
    return g.finish(c, "22-annotations-any-axis");
}

// Power factors drawn folded (t = 1 - v, -1 - v) and labelled with the factors they stand for.
bool foldedScale(Gallery& g) {
    HPE c = g.begin();
    const int n = 288;
    std::vector<double> x, y;
    const double start = serial(2024, 1, 8);
    for (int s = 0; s < 2; ++s)
        for (int i = 0; i < n; ++i) {
            x.push_back(start + i / 288.0);
            const double v = s == 0 ? 0.96 + 0.03 * std::sin(i / 30.0) : -0.97 + 0.02 * std::cos(i / 25.0);
            y.push_back(v >= 0 ? 1 - v : -1 - v);
        }
    setData(c, 2, n, x, y, true);
    setI(c, PEP_SUBSETCOLORS, {kColours[0], kColours[1]});
    std::vector<double> ticks;
    std::vector<std::string> labels;
    for (int i = -6; i <= 6; ++i) {
        const double t = i * 0.01;
        ticks.push_back(t);
        char text[16];
        std::snprintf(text, sizeof text, "%.4f", t >= 0 ? 1 - t : -1 - t);
        labels.emplace_back(text);
    }
    api.PEnset(c, PEP_WORKINGAXIS, 0);
    setD(c, PEP_YTICKVALUES, ticks);
    setT(c, PEP_YTICKLABELS, labels);
    api.PEszset(c, PEP_YAXISLABEL, "PF");
    api.PEszset(c, PEP_MAINTITLE, "POWER FACTOR (folded scale, ticks labelled with the factors)");
    api.PEszset(c, PEP_MULTISUBTITLES, "PF1 (inductive)\tPF2 (capacitive)");
    return g.finish(c, "23-folded-scale-labels");
}

bool logDecades(Gallery& g) {
    HPE c = g.begin();
    std::vector<double> x, y;
    for (int i = 0; i < 40; ++i) {
        x.push_back(0.0002 * std::pow(10.0, i / 5.0));
        y.push_back(60 + 50 * std::fabs(std::sin(i * 0.7)));
    }
    setData(c, 1, static_cast<int>(x.size()), x, y, false);
    api.PEnset(c, PEP_XLOGSCALE, 1);
    api.PEnset(c, PEP_FORCEDMETHOD, PEMF_POINTS);
    setI(c, PEP_POINTTYPES, {PEPT_SOLIDDIAMOND});
    setI(c, PEP_SUBSETCOLORS, {kColours[3]});
    api.PEszset(c, PEP_XAXISLABEL, "Duration (s)");
    api.PEszset(c, PEP_MAINTITLE, "LOGARITHMIC DURATION (a tick on every decade)");
    return g.finish(c, "24-log-every-decade");
}

bool areaFromZero(Gallery& g) {
    HPE c = g.begin();
    const int n = 24 * 14;
    std::vector<double> x, y;
    const double start = serial(2024, 4, 1);
    for (int i = 0; i < n; ++i) {
        x.push_back(start + i / 24.0);
        y.push_back(0.8 + 0.25 * std::sin(i / 20.0) + 0.05 * std::sin(i * 0.9));
    }
    setData(c, 1, n, x, y, true);
    api.PEnset(c, PEP_WORKINGAXIS, 0);
    api.PEnset(c, PEP_PLOTMETHOD, PEMD_AREA);
    setI(c, PEP_SUBSETCOLORS, {kColours[5]});
    api.PEszset(c, PEP_MAINTITLE, "FLICKER Plt (area down to zero)");
    return g.finish(c, "25-area-from-zero");
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: chart-gallery OUTDIR\n");
        return 2;
    }
    const QString dir = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(dir)) {
        std::fprintf(stderr, "chart-gallery: cannot create %s\n", argv[1]);
        return 1;
    }
    QString error;
    auto library = EnlaceGrafica::CargarLibreria(&error);
    if (library)
        api = EnlaceGrafica(library.get());
    if (!library || api.Vacio() || !api.PEcreate || !api.PEsavetofile || !api.PEgetmeta) {
        std::fprintf(stderr, "chart-gallery: cannot use %s: %s\n", kChartingLibraryFile,
                     library ? "an entry point is missing" : qPrintable(error));
        return 1;
    }
    Gallery gallery(dir);
    bool ok = true;
    for (auto* chart :
         {stackedAxes,        barsWithLimits,       iticCurves,           onePoint,    gaps,
          darkAnnotations,    readoutWithCursor,    waveformMilliseconds, monthsTrend, durationAxis,
          bandLabels,         weekOfSeconds,        printedPage,          zoomOut,     stackedZoomUndo,
          sparseSeries,       limitsBeyondData,     ticksAfterResize,     legendWrap,  lineStretches,
          tabSeparatedLabels, annotationsOnAnyAxis, foldedScale,          logDecades,  areaFromZero})
        ok = chart(gallery) && ok;
    return ok ? 0 : 1;
}
