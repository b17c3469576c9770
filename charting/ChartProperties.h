#pragma once

// Every chart property number the engine sets or reads, with its type and role. One named
// constant per number; call sites never use bare numbers. docs/charting.md lists the same
// table for readers.

#include <span>

enum PEPropiedad : int {
    PEP_MAINTITLE = 2105,      // text: main title
    PEP_SUBTITLE = 2110,       // text: subtitle (interval title)
    PEP_SUBSETS = 2115,        // int: number of subsets (series)
    PEP_POINTS = 2120,         // int: points per subset
    PEP_MULTISUBTITLES = 2125, // text: subset names separated by tabs, shown as a legend line
    PEP_2155 = 2155,
    PEP_2165 = 2165,
    PEP_2170 = 2170,
    PEP_2180 = 2180,
    PEP_SUBSETCOLORS = 2190, // int array: colour of each subset (0x00BBGGRR)
    PEP_2240 = 2240,
    PEP_DESKCOLOR = 2320, // int: colour around the graph
    PEP_TEXTCOLOR = 2325, // int: colour of every text
    PEP_2335 = 2335,
    PEP_GRAPHBACKCOLOR = 2340, // int: colour of the plotting area
    PEP_2435 = 2435,
    PEP_MAINTITLEFONT = 2445, // text: font family of the main title
    PEP_SUBTITLEFONT = 2485,  // text: font family of subtitles
    PEP_LABELFONT = 2525,     // text: font family of axis labels, ticks and tables
    PEP_2600 = 2600,
    PEP_2605 = 2605,
    PEP_LASTKEY = 2612,      // int: key code of the last key pressed in the chart
    PEP_CURSORMODE = 2617,   // int: 0 none, 1 vertical line, 2 cross, 3 square
    PEP_CURSORSUBSET = 2618, // int: subset under the cursor
    PEP_CURSORPOINT = 2619,  // int: point under the cursor
    PEP_2620 = 2620,
    PEP_2622 = 2622,
    PEP_2623 = 2623,
    PEP_LABELSUBSETS = 2624, // int array: -1 per subset: the legend line shows each subset's
                             //      line and marker sample before its name; empty: names only
    PEP_TABLETITLE = 2630,   // text: one-row table above the graph ("|" cells, tab rows)
    PEP_CURSORTABLE = 2631,  // text: read-out table ("|" between cells, tab ends a row)
    PEP_2632 = 2632,
    PEP_GRAPHSHARE = 2634,     // double: share of the chart height given to the graph
    PEP_XAXISLABEL = 3000,     // text: label of the horizontal axis
    PEP_SUBSETSPERAXIS = 3001, // int array: consecutive subsets drawn on each vertical axis
    PEP_HLINEAXIS = 3003,      // int array: vertical axis of each horizontal line annotation
    PEP_YAXISLABEL = 3005,     // text: label of the working axis (PEP_WORKINGAXIS)
    PEP_WORKINGAXIS = 3006,    // int: axis that per-axis properties address
    PEP_AXISSHARES = 3007,     // double array: share of the height of each vertical axis
    PEP_XDATA = 3013,          // double array: x of every point, subset-major (serial dates)
    PEP_YDATA = 3014,          // double array: y of every point, subset-major
    PEP_3016 = 3016,
    PEP_3017 = 3017,
    PEP_3018 = 3018,
    PEP_FORCEDMETHOD = 3029, // int: 0 per-axis method; 2 points; 4 large points (one-point charts)
    PEP_3032 = 3032,
    PEP_3045 = 3045,
    PEP_3046 = 3046,
    PEP_RIGHTMARGIN = 3052, // text: sample text whose width is kept free right of the graph
    PEP_3055 = 3055,
    PEP_BOTTOMMARGIN = 3056, // text: sample text whose width is kept free under the x axis
    PEP_3057 = 3057,
    PEP_3060 = 3060,
    PEP_3064 = 3064,
    PEP_3069 = 3069,
    PEP_PLOTMETHOD = 3090, // int: plotting method of the working axis: 0 line, 1 bars,
                           //      2 points, 3 area, 17 line with points
    PEP_3100 = 3100,
    PEP_XSERIALDATES = 3111, // int: 1 when PEP_XDATA holds serial dates (date/time axis)
    PEP_3205 = 3205,
    PEP_3210 = 3210,
    PEP_MAXGAP = 3212,      // double: consecutive points further apart (x units) are not joined
    PEP_HLINEY = 3213,      // double array: y of each horizontal line annotation
    PEP_HLINELABELS = 3214, // text array: label of each horizontal line annotation
    PEP_HLINETYPES = 3216,  // int array: line type of each horizontal line annotation
    PEP_HLINECOLORS = 3217, // int array: colour of each horizontal line annotation
    PEP_VLINEX = 3218,      // double array: x of each vertical line annotation
    PEP_VLINELABELS = 3219, // text array: label of each vertical line annotation
    PEP_VLINETYPES = 3221,  // int array: line type of each vertical line (7: label only)
    PEP_VLINECOLORS = 3222, // int array: colour of each vertical line annotation
    PEP_3223 = 3223,
    PEP_3226 = 3226,
    PEP_3227 = 3227,
    PEP_3231 = 3231,
    PEP_3232 = 3232,
    PEP_3233 = 3233,
    PEP_3234 = 3234,
    PEP_MARKSHAPE = 3236,     // int: shape of the printed cursor mark: 0 ring, anything else a dot
    PEP_YLABELSIZE = 3242,    // int: size of the vertical axis tick labels, percent of normal
    PEP_TABLETEXTSIZE = 3243, // int: size of the table texts, percent of normal
    PEP_XLABELSIZE = 3244,    // int: size of the horizontal axis labels, percent of normal
    PEP_MARKSIZE = 3246,      // int: size of the printed cursor mark; 0 hides it
    PEP_ZOOMXMIN = 3248,      // double: zoom window, left
    PEP_ZOOMXMAX = 3249,      // double: zoom window, right
    PEP_POINTCOLORS = 3258,   // int array: colour of every point, subset-major
    PEP_NULLX = 3268,         // double: x value meaning "no point"
    PEP_3269 = 3269,
    PEP_POINTTYPES = 3270, // int array: marker of each subset (0 plus ... 11 solid down triangle)
    PEP_LINETYPES = 3271,  // int array: line type of each subset (0 thin, 1 dash, 2 dot,
                           //      3 dash-dot, 4 dash-dot-dot, 5 medium, 6 thick)
    PEP_3282 = 3282,
    PEP_ZOOMED = 3283,   // int: non-zero while zoomed; 0 unzooms, 1 zooms to the extents
    PEP_ZOOMYMIN = 3284, // double: zoom window, bottom
    PEP_ZOOMYMAX = 3285, // double: zoom window, top
    PEP_3290 = 3290,
    PEP_MARKX = 3291,        // double: x of the printed cursor mark
    PEP_MARKY = 3292,        // double: y of the printed cursor mark
    PEP_GANNOTX = 3330,      // double array: x of each graph annotation
    PEP_GANNOTY = 3331,      // double array: y of each graph annotation
    PEP_GANNOTTYPES = 3332,  // int array: 38 starts a polyline, 45 continues it
    PEP_GANNOTCOLORS = 3333, // int array: colour of each graph annotation
    PEP_3416 = 3416,
    PEP_3642 = 3642,
    PEP_3652 = 3652,
    PEP_NULLY = 3656, // double: y value meaning "no point"

    // Library extensions (numbers from 3700 up are ours): axis scales a window may fix.
    PEP_XLOGSCALE = 3700,    // int: 1 draws the horizontal axis on a logarithmic scale
    PEP_MANUALXSCALE = 3701, // int: 1 fixes the horizontal range to PEP_MANUALXMIN..PEP_MANUALXMAX
    PEP_MANUALXMIN = 3702,   // double: left end of the fixed horizontal range
    PEP_MANUALXMAX = 3703,   // double: right end of the fixed horizontal range
    PEP_MANUALYSCALE = 3704, // int, per working axis: 1 fixes its range to the two below
    PEP_MANUALYMIN = 3705,   // double, per working axis: bottom of the fixed range
    PEP_MANUALYMAX = 3706,   // double, per working axis: top of the fixed range
    PEP_YLOGSCALE = 3707,    // int, per working axis: 1 draws it on a logarithmic scale
    PEP_GANNOTAXIS = 3708,   // int array: vertical axis of each graph annotation (default 0)
    PEP_YTICKVALUES = 3709,  // double array, per working axis: ticks at exactly these values
    PEP_YTICKLABELS = 3710,  // text array, per working axis: the label of each of those ticks
    PEP_YHIDETICKS = 3711,   // int, per working axis: 1 hides its ticks, tick labels and grid
};

// Plotting method of a vertical axis (PEP_PLOTMETHOD).
enum PEMetodoDibujo : int {
    PEMD_LINE = 0,
    PEMD_BARS = 1,
    PEMD_POINTS = 2,
    PEMD_AREA = 3,
    PEMD_LINEWITHPOINTS = 17,
};

// Method that overrides every axis's (PEP_FORCEDMETHOD).
enum PEMetodoForzado : int {
    PEMF_PERAXIS = 0,     // each axis draws with its own PEP_PLOTMETHOD
    PEMF_POINTS = 2,      // points only
    PEMF_LARGEPOINTS = 4, // large points, for charts of one point per subset
};

// Line types of subsets (PEP_LINETYPES) and of line annotations (PEP_HLINETYPES,
// PEP_VLINETYPES).
enum PETipoLinea : int {
    PELT_THIN = 0,
    PELT_DASH = 1,
    PELT_DOT = 2,
    PELT_DASHDOT = 3,
    PELT_DASHDOTDOT = 4,
    PELT_MEDIUM = 5,
    PELT_THICK = 6,
    PELT_LABELONLY = 7, // vertical lines only: the label without the line
};

// Point types of subsets (PEP_POINTTYPES).
enum PETipoPunto : int {
    PEPT_PLUS = 0,
    PEPT_CROSS = 1,
    PEPT_DOT = 2,
    PEPT_SOLIDDOT = 3,
    PEPT_SQUARE = 4,
    PEPT_SOLIDSQUARE = 5,
    PEPT_DIAMOND = 6,
    PEPT_SOLIDDIAMOND = 7,
    PEPT_UPTRIANGLE = 8,
    PEPT_SOLIDUPTRIANGLE = 9,
    PEPT_DOWNTRIANGLE = 10,
    PEPT_SOLIDDOWNTRIANGLE = 11,
};

// Types of graph annotations (PEP_GANNOTTYPES).
enum PETipoAnotacion : int {
    PEGA_DOT = 0,               // any type other than the two below marks a single point
    PEGA_STARTPOLYLINE = 38,    // starts a polyline at this point
    PEGA_CONTINUEPOLYLINE = 45, // continues the current polyline to this point
};

// Cursor modes (PEP_CURSORMODE).
enum PEModoCursor : int {
    PECM_NONE = 0,
    PECM_VERTICALLINE = 1,
    PECM_CROSS = 2,
    PECM_SQUARE = 3,
};

// Placement codes that start an annotation label ("|" followed by the code), as in "|R90.0%".
enum PEColocacionEtiqueta : char {
    PELP_XAXIS = 'h',     // vertical line: on the horizontal axis, in place of its tick labels
    PELP_TOP = 't',       // vertical line: at the top of the graph, beside the line
    PELP_BOTTOM = 'b',    // vertical line: at the bottom of the graph, beside the line
    PELP_RIGHT = 'R',     // horizontal line: right of its right end, in the margin of PEP_RIGHTMARGIN
    PELP_UNDERAXIS = 'B', // vertical line: under the horizontal axis, written upwards
};

// Notification codes posted to the chart's parent as PENotifyEvent.
enum PENotificacion : int {
    PEN_CURSORMOVED = 3953,
    PEN_3956 = 3956,
    PEN_3957 = 3957,
    PEN_ZOOMDONE = 3966,
    PEN_RIGHTCLICK = 3968,
    PEN_KEY = 3976,
};

enum class PETipoPropiedad { Int, Double, Text, DoubleArray, IntArray, TextArray };

struct PEInfoPropiedad {
    int numero;
    PETipoPropiedad tipo;
    const char* nombre;
    const char* papel;
    // Set per vertical axis: the value addresses the axis selected by PEP_WORKINGAXIS.
    bool porEje = false;
};

std::span<const PEInfoPropiedad> peTablaPropiedades();
// nullptr for a number that is not in the table.
const PEInfoPropiedad* peBuscarPropiedad(int numero);
