#pragma once

// Numbers of the module's string table. Numbers that the host, the sibling modules or saved
// settings rely on (0, 300, 400, 20000-20003, 40001-40003, 45000-45002, 50000, 50025, 50026)
// are fixed; the others are grouped by subsystem:
//   50030-50199 driver pages and services      51000-51199 generic graph window
//   52000-52199 multigraphic window, grouping, print-range dialog
//   53000-53999 harmonics    54000-54999 trends, waveforms and flicker
//   55000-55999 events and disturbances        56000-56099 colour names
enum NumeroTexto : int {
    TXT_MODULO = 0,
    TXT_ERROR = 300,
    TXT_WARNING = 400,

    TXT_CTX_TWMIGRAFICA = 20000,
    TXT_CTX_CONFIGURAR = 20001,
    TXT_CTX_LANZARVIEWER = 20002,
    TXT_CTX_TGRAFICA = 20003,

    TXT_NO_ELEMENTOS = 40001,
    TXT_DEMASIADOS_EJES = 40002,
    TXT_GRAPH_SELECTOR = 40003,

    TXT_FALLA_LIBRERIA = 45000,
    TXT_NO_CREA_GRAFICA = 45001,
    TXT_FALLA_VIEWERSETUP = 45002,

    // Driver pages.
    TXT_DESCRIPTION = 50000,
    TXT_LINE_COLOR = 50025,
    TXT_TYPE_LINE = 50026,
    TXT_PAG_GENERAL = 50030,
    TXT_PAG_OUTPUTS,
    TXT_PAG_COLORS,
    TXT_PAG_LINETYPES,
    TXT_SUBTITLE,
    TXT_TITLE,
    TXT_GROUP_BY_PROP,
    TXT_MONTHS,
    TXT_WEEKS,
    TXT_DAYS,
    TXT_HOURS,
    TXT_NO_GROUP,
    TXT_DEFAULT,
    TXT_LARGE_STEP,
    TXT_TYPE,
    TXT_LINE,
    TXT_LINE_POINTS,
    TXT_POINTS,
    TXT_BARS,
    TXT_AREA,
    TXT_CURSOR,
    TXT_DATA_CROSS,
    TXT_VERTICAL_LINE,
    TXT_DATA_SQUARE,
    TXT_NO_CURSOR,
    TXT_SEE_LEGEND,
    TXT_TRUE,
    TXT_FALSE,
    TXT_DESK_COLOR,
    TXT_BACK_COLOR,
    TXT_TEXT_COLOR,
    TXT_MAIN_FONT,
    TXT_SUBTITLE_FONT,
    TXT_LABEL_FONT,
    TXT_LT_THIN,
    TXT_LT_MEDIUM,
    TXT_LT_SOLID,
    TXT_LT_DASHED,
    TXT_LT_DOTTED,
    TXT_LT_DASHDOT,
    TXT_LT_DASHDOTDOT,
    TXT_SRV_IMPRIMIR = 50100,
    TXT_SRV_IMPRIMIR_DESC,
    TXT_SRV_CIERRE,
    TXT_SRV_CIERRE_DESC,
    TXT_FMT_SERIE_PROP,

    // Generic graph window.
    TXT_HINT_PROPERTIES = 51000,
    TXT_HINT_LIST,
    TXT_HINT_EXPORT_TXT,
    TXT_HINT_EXPORT_BMP,
    TXT_HINT_CLIPBOARD,
    TXT_HINT_SETUP,
    TXT_HINT_PREVIOUS,
    TXT_HINT_NEXT,
    TXT_HINT_ZOOMOUT,
    TXT_HINT_LASTZOOM,
    TXT_FMT_FAST_BACK,
    TXT_FAST_BACK,
    TXT_FMT_FAST_FORWARD,
    TXT_FAST_FORWARD,
    TXT_MENU_ZOOMOUT,
    TXT_MENU_LASTZOOM,
    TXT_MENU_CONFIGURE,
    TXT_MENU_CLIPBOARD,
    TXT_MENU_EXPORT_BMP,
    TXT_MENU_PRINT,
    TXT_MENU_SEE_TOOLBAR,
    TXT_MENU_LIST,
    TXT_MENU_EXPORT_TXT,
    TXT_MENU_PROPERTIES,
    TXT_FMT_GROUP_HINT,
    TXT_DIVIDE_BY,
    TXT_GROUP_BY,
    TXT_FILE_EXISTS,

    // Multigraphic window, grouping and the print-range dialog.
    TXT_MULTIGRAPHIC = 52000,
    TXT_FMT_INTERVAL_TITLE,
    TXT_DATE_OF_SAMPLE,
    TXT_ACT,
    TXT_SEPARADOR_VALOR,
    TXT_MAXIMUM,
    TXT_MINIMUM,
    TXT_FROM,
    TXT_TO,
    TXT_SELECTED_VARIABLE,
    TXT_GRAPH_CONFIGURATOR,
    TXT_OK,
    TXT_CANCEL,
    TXT_BEGINING_DATE,
    TXT_ENDING_DATE,
    TXT_BEGINING_TIME,
    TXT_ENDING_TIME,
    TXT_REG,
    TXT_INVALID_ENTRANCE,
    TXT_BAD_MARGINS,
    TXT_OUT_OF_RANGE,

    // Colour names: 17 back colours, then the 16 series colours share the same names.
    TXT_COLOR_0 = 56000,
};

#include <QString>

// The text of a string-table entry, or an empty text for a number that has none.
const char* CargarTexto(int numero);
QString Texto(int numero);
// The 17 colour names of the back-colour table, index 0 to 16.
const char* NombreColor(int indice);
