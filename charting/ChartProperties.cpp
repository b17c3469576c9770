#include "ChartProperties.h"

#include <algorithm>
#include <array>

namespace {

using T = PETipoPropiedad;

// Kept sorted by number: peBuscarPropiedad searches it by bisection.
constexpr PEInfoPropiedad kTabla[] = {
    {PEP_MAINTITLE, T::Text, "MainTitle", "main title, top centre"},
    {PEP_SUBTITLE, T::Text, "SubTitle", "subtitle under the main title (interval title)"},
    {PEP_SUBSETS, T::Int, "Subsets", "number of subsets (series)"},
    {PEP_POINTS, T::Int, "Points", "points per subset"},
    {PEP_MULTISUBTITLES, T::Text, "MultiSubTitles",
     "subset names separated by tabs: a legend line in subset colours"},
    {PEP_2155, T::Int, "P2155", "stored only"},
    {PEP_2165, T::Int, "P2165", "stored only"},
    {PEP_2170, T::Int, "P2170", "stored only"},
    {PEP_2180, T::Int, "P2180", "stored only"},
    {PEP_SUBSETCOLORS, T::IntArray, "SubsetColors", "colour of each subset (0x00BBGGRR)"},
    {PEP_2240, T::Int, "P2240", "stored only"},
    {PEP_DESKCOLOR, T::Int, "DeskColor", "colour around the graph (0x00BBGGRR)"},
    {PEP_TEXTCOLOR, T::Int, "TextColor", "colour of every text, axis and tick (0x00BBGGRR)"},
    {PEP_2335, T::Int, "P2335", "stored only"},
    {PEP_GRAPHBACKCOLOR, T::Int, "GraphBackColor", "colour of the plotting area (0x00BBGGRR)"},
    {PEP_2435, T::Int, "P2435", "stored only"},
    {PEP_MAINTITLEFONT, T::Text, "MainTitleFont", "font family of the main title"},
    {PEP_SUBTITLEFONT, T::Text, "SubTitleFont", "font family of the subtitle and the legend line"},
    {PEP_LABELFONT, T::Text, "LabelFont", "font family of axis labels, ticks, annotations and tables"},
    {PEP_2600, T::Int, "P2600", "stored only"},
    {PEP_2605, T::Int, "P2605", "stored only"},
    {PEP_LASTKEY, T::Int, "LastKey",
     "virtual-key code of the last key pressed (F1 112, letters upper-case ASCII)"},
    {PEP_CURSORMODE, T::Int, "CursorMode", "0 none, 1 vertical line, 2 cross, 3 square"},
    {PEP_CURSORSUBSET, T::Int, "CursorSubset", "subset under the cursor"},
    {PEP_CURSORPOINT, T::Int, "CursorPoint", "point under the cursor"},
    {PEP_2620, T::Int, "P2620", "stored only"},
    {PEP_2622, T::Int, "P2622", "stored only"},
    {PEP_2623, T::Int, "P2623", "stored only"},
    {PEP_LABELSUBSETS, T::IntArray, "LabelSubsets",
     "-1 per subset: legend line shows line and marker samples"},
    {PEP_TABLETITLE, T::Text, "TableTitle", "table above the graph: cells split by '|', rows ended by a tab"},
    {PEP_CURSORTABLE, T::Text, "CursorTable",
     "read-out table under the graph: cells split by '|', rows ended by a tab"},
    {PEP_2632, T::Int, "P2632", "stored only"},
    {PEP_GRAPHSHARE, T::Double, "GraphShare",
     "share of the height given to the graph when a read-out table is shown"},
    {PEP_XAXISLABEL, T::Text, "XAxisLabel", "label of the horizontal axis"},
    {PEP_SUBSETSPERAXIS, T::IntArray, "SubsetsPerAxis",
     "consecutive subsets drawn on each vertical axis, top first"},
    {PEP_HLINEAXIS, T::IntArray, "HorzLineAxis", "vertical axis of each horizontal line annotation"},
    {PEP_YAXISLABEL, T::Text, "YAxisLabel", "label of the working axis", true},
    {PEP_WORKINGAXIS, T::Int, "WorkingAxis", "axis that per-axis properties address"},
    {PEP_AXISSHARES, T::DoubleArray, "AxisShares", "share of the graph height of each vertical axis"},
    {PEP_XDATA, T::DoubleArray, "XData", "x of every point, subset-major (serial dates when 3111 = 1)"},
    {PEP_YDATA, T::DoubleArray, "YData", "y of every point, subset-major"},
    {PEP_3016, T::Int, "P3016", "stored only"},
    {PEP_3017, T::Int, "P3017", "stored only"},
    {PEP_3018, T::Int, "P3018", "stored only"},
    {PEP_FORCEDMETHOD, T::Int, "ForcedMethod", "0 per-axis method; 2 points only; 4 large points"},
    {PEP_3032, T::Int, "P3032", "stored only"},
    {PEP_3045, T::Int, "P3045", "stored only, per axis", true},
    {PEP_3046, T::Int, "P3046", "stored only"},
    {PEP_RIGHTMARGIN, T::Text, "RightMargin", "sample text whose width is kept free right of the graph"},
    {PEP_3055, T::Int, "P3055", "stored only"},
    {PEP_BOTTOMMARGIN, T::Text, "BottomMargin", "sample text whose width is kept free under the x axis"},
    {PEP_3057, T::Int, "P3057", "stored only"},
    {PEP_3060, T::Int, "P3060", "stored only"},
    {PEP_3064, T::Int, "P3064", "stored only"},
    {PEP_3069, T::Int, "P3069", "stored only"},
    {PEP_PLOTMETHOD, T::Int, "PlottingMethod",
     "method of the working axis: 0 line, 1 bars, 2 points, 3 area, 17 line with points", true},
    {PEP_3100, T::Int, "P3100", "stored only"},
    {PEP_XSERIALDATES, T::Int, "XSerialDates", "1: x values are serial dates, date/time axis"},
    {PEP_3205, T::Int, "P3205", "stored only"},
    {PEP_3210, T::Int, "P3210", "stored only"},
    {PEP_MAXGAP, T::Double, "MaxGap", "largest x distance joined by a line; 0 joins every point"},
    {PEP_HLINEY, T::DoubleArray, "HorzLineY", "y of each horizontal line annotation"},
    {PEP_HLINELABELS, T::TextArray, "HorzLineLabels", "label of each horizontal line ('|R' right end)"},
    {PEP_HLINETYPES, T::IntArray, "HorzLineTypes", "line type of each horizontal line"},
    {PEP_HLINECOLORS, T::IntArray, "HorzLineColors", "colour of each horizontal line"},
    {PEP_VLINEX, T::DoubleArray, "VertLineX", "x of each vertical line annotation"},
    {PEP_VLINELABELS, T::TextArray, "VertLineLabels", "label of each vertical line ('|h', '|t', '|b', '|B')"},
    {PEP_VLINETYPES, T::IntArray, "VertLineTypes", "line type of each vertical line; 7 label only"},
    {PEP_VLINECOLORS, T::IntArray, "VertLineColors", "colour of each vertical line"},
    {PEP_3223, T::Int, "P3223", "stored only"},
    {PEP_3226, T::Int, "P3226", "stored only"},
    {PEP_3227, T::Int, "P3227", "stored only"},
    {PEP_3231, T::Int, "P3231", "stored only"},
    {PEP_3232, T::Int, "P3232", "stored only"},
    {PEP_3233, T::Int, "P3233", "stored only"},
    {PEP_3234, T::Int, "P3234", "stored only"},
    {PEP_MARKSHAPE, T::Int, "MarkShape", "shape of the printed cursor mark: 0 ring, other values a dot"},
    {PEP_YLABELSIZE, T::Int, "YLabelSize", "size of the vertical axis tick labels, percent of normal"},
    {PEP_TABLETEXTSIZE, T::Int, "TableTextSize", "size of the table texts, percent of normal"},
    {PEP_XLABELSIZE, T::Int, "XLabelSize", "size of the horizontal axis tick labels, percent of normal"},
    {PEP_MARKSIZE, T::Int, "MarkSize", "size in pixels of the printed cursor mark; 0 hides it"},
    {PEP_ZOOMXMIN, T::Double, "ZoomMinX", "zoom window, left"},
    {PEP_ZOOMXMAX, T::Double, "ZoomMaxX", "zoom window, right"},
    {PEP_POINTCOLORS, T::IntArray, "PointColors",
     "colour of every point, subset-major (markers, bars and the line around the point)"},
    {PEP_NULLX, T::Double, "NullDataValueX", "x value meaning 'no point'"},
    {PEP_3269, T::Int, "P3269", "stored only"},
    {PEP_POINTTYPES, T::IntArray, "SubsetPointTypes",
     "marker of each subset, 0 plus to 11 solid down triangle"},
    {PEP_LINETYPES, T::IntArray, "SubsetLineTypes", "line type of each subset, 0 thin to 6 thick"},
    {PEP_3282, T::Int, "P3282", "stored only"},
    {PEP_ZOOMED, T::Int, "Zoomed", "non-zero while zoomed; 0 unzooms, 1 zooms to the extents"},
    {PEP_ZOOMYMIN, T::Double, "ZoomMinY", "zoom window, bottom"},
    {PEP_ZOOMYMAX, T::Double, "ZoomMaxY", "zoom window, top"},
    {PEP_3290, T::Int, "P3290", "stored only"},
    {PEP_MARKX, T::Double, "MarkX", "x of the printed cursor mark"},
    {PEP_MARKY, T::Double, "MarkY", "y of the printed cursor mark"},
    {PEP_GANNOTX, T::DoubleArray, "GraphAnnotationX", "x of each graph annotation"},
    {PEP_GANNOTY, T::DoubleArray, "GraphAnnotationY", "y of each graph annotation"},
    {PEP_GANNOTTYPES, T::IntArray, "GraphAnnotationTypes", "38 starts a polyline, 45 continues it"},
    {PEP_GANNOTCOLORS, T::IntArray, "GraphAnnotationColors", "colour of each graph annotation"},
    {PEP_3416, T::Int, "P3416", "stored only"},
    {PEP_3642, T::Int, "P3642", "stored only"},
    {PEP_3652, T::Int, "P3652", "stored only"},
    {PEP_NULLY, T::Double, "NullDataValueY", "y value meaning 'no point'"},
    {PEP_XLOGSCALE, T::Int, "XLogScale", "1: logarithmic horizontal axis"},
    {PEP_MANUALXSCALE, T::Int, "ManualXScale", "1: horizontal range fixed to 3702..3703"},
    {PEP_MANUALXMIN, T::Double, "ManualMinX", "left end of the fixed horizontal range"},
    {PEP_MANUALXMAX, T::Double, "ManualMaxX", "right end of the fixed horizontal range"},
    {PEP_MANUALYSCALE, T::Int, "ManualYScale", "1: range of the working axis fixed to 3705..3706", true},
    {PEP_MANUALYMIN, T::Double, "ManualMinY", "bottom of the fixed range of the working axis", true},
    {PEP_MANUALYMAX, T::Double, "ManualMaxY", "top of the fixed range of the working axis", true},
    {PEP_YLOGSCALE, T::Int, "YLogScale", "1: logarithmic working axis", true},
    {PEP_GANNOTAXIS, T::IntArray, "GraphAnnotationAxis",
     "vertical axis of each graph annotation (default 0)"},
    {PEP_YTICKVALUES, T::DoubleArray, "YTickValues", "ticks of the working axis at exactly these values",
     true},
    {PEP_YTICKLABELS, T::TextArray, "YTickLabels", "label of each tick of 3709 on the working axis", true},
    {PEP_YHIDETICKS, T::Int, "YHideTicks", "1: the working axis shows no ticks, tick labels or grid", true},
};

constexpr bool ordenada() {
    for (std::size_t i = 1; i < std::size(kTabla); ++i)
        if (kTabla[i - 1].numero >= kTabla[i].numero)
            return false;
    return true;
}
static_assert(ordenada(), "the property table must stay sorted by number");

} // namespace

std::span<const PEInfoPropiedad> peTablaPropiedades() {
    return kTabla;
}

const PEInfoPropiedad* peBuscarPropiedad(int numero) {
    const auto* it = std::lower_bound(std::begin(kTabla), std::end(kTabla), numero,
                                      [](const PEInfoPropiedad& p, int n) { return p.numero < n; });
    return (it != std::end(kTabla) && it->numero == numero) ? it : nullptr;
}
