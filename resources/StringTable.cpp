#include "Textos.h"

#include <algorithm>
#include <iterator>

namespace {

struct Entrada {
    int numero;
    const char* texto;
};

// Kept sorted by number: looked up by binary search. The texts are the system's own,
// spelling included, since users and saved exports know them that way.
constexpr Entrada kTabla[] = {
    {TXT_MODULO, "PlotCore"},
    {TXT_ERROR, "Error"},
    {TXT_WARNING, "Warning"},
    {TXT_CTX_TWMIGRAFICA, "TWMiGraphic (constructer)"},
    {TXT_CTX_CONFIGURAR, "configurar1Click(TObject*)"},
    {TXT_CTX_LANZARVIEWER, "LanzarViewerVARM(TVM*,DF*,SM*)"},
    {TXT_CTX_TGRAFICA, "TGrafica(ServidorMonitores*,DrivFlex*)"},
    {TXT_NO_ELEMENTOS, "There are not open elements to show"},
    {TXT_DEMASIADOS_EJES,
     "It was exceeded maximum number of axis\nIt will distribute data in so many graphics as to be wanting"},
    {TXT_GRAPH_SELECTOR, "Graph Selector"},
    {TXT_FALLA_LIBRERIA, "Imposible making a graphic: It fails Pegrap32.dll"},
    {TXT_NO_CREA_GRAFICA, "I can not create a graphic"},
    {TXT_FALLA_VIEWERSETUP, "Imposible configure: It fails ViewerSetup.dll"},

    {TXT_DESCRIPTION, "Description"},
    {TXT_LINE_COLOR, "Line color"},
    {TXT_TYPE_LINE, "Type line"},
    {TXT_PAG_GENERAL, "General"},
    {TXT_PAG_OUTPUTS, "Outputs"},
    {TXT_PAG_COLORS, "Colors"},
    {TXT_PAG_LINETYPES, "Line Types"},
    {TXT_SUBTITLE, "Subtitle"},
    {TXT_TITLE, "Title"},
    {TXT_GROUP_BY_PROP, "Group by"},
    {TXT_MONTHS, "Months"},
    {TXT_WEEKS, "Weeks"},
    {TXT_DAYS, "Days"},
    {TXT_HOURS, "Hours"},
    {TXT_NO_GROUP, "No group"},
    {TXT_DEFAULT, "Default"},
    {TXT_LARGE_STEP, "Large step"},
    {TXT_TYPE, "Type"},
    {TXT_LINE, "Line"},
    {TXT_LINE_POINTS, "Line with points"},
    {TXT_POINTS, "Points"},
    {TXT_BARS, "Bars"},
    {TXT_AREA, "Area"},
    {TXT_CURSOR, "Cursor"},
    {TXT_DATA_CROSS, "Data cross"},
    {TXT_VERTICAL_LINE, "Vertical line"},
    {TXT_DATA_SQUARE, "Data square"},
    {TXT_NO_CURSOR, "No cursor"},
    {TXT_SEE_LEGEND, "See legend annotations"},
    {TXT_TRUE, "true"},
    {TXT_FALSE, "false"},
    {TXT_DESK_COLOR, "Desk color"},
    {TXT_BACK_COLOR, "Background color"},
    {TXT_TEXT_COLOR, "Text color"},
    {TXT_MAIN_FONT, "Main font"},
    {TXT_SUBTITLE_FONT, "Subtitle font"},
    {TXT_LABEL_FONT, "Label font"},
    {TXT_LT_THIN, "Thin"},
    {TXT_LT_MEDIUM, "Medium"},
    {TXT_LT_SOLID, "Solid"},
    {TXT_LT_DASHED, "Dashed"},
    {TXT_LT_DOTTED, "Dotted"},
    {TXT_LT_DASHDOT, "Dash-Dot"},
    {TXT_LT_DASHDOTDOT, "Dash-Dot-Dot"},
    {TXT_SRV_IMPRIMIR, "Imprimir"},
    {TXT_SRV_IMPRIMIR_DESC, "Nos Imprime la grafica"},
    {TXT_SRV_CIERRE, "Aviso de que la pantalla del viewer se cierra"},
    {TXT_SRV_CIERRE_DESC,
     "Nos transmite por encuesta el telegrama delimitando la respuesta con un caracter final"},
    {TXT_FMT_SERIE_PROP, "%s %d"},

    {TXT_HINT_PROPERTIES, "Properties"},
    {TXT_HINT_LIST, "List"},
    {TXT_HINT_EXPORT_TXT, "Export to TXT"},
    {TXT_HINT_EXPORT_BMP, "Export to BMP"},
    {TXT_HINT_CLIPBOARD, "Export to clipboard"},
    {TXT_HINT_SETUP, "Setup"},
    {TXT_HINT_PREVIOUS, "Previous interval"},
    {TXT_HINT_NEXT, "Next interval"},
    {TXT_HINT_ZOOMOUT, "Zoom out"},
    {TXT_HINT_LASTZOOM, "Last zoom"},
    {TXT_FMT_FAST_BACK, "%s (-%d)"},
    {TXT_FAST_BACK, "Fast go back"},
    {TXT_FMT_FAST_FORWARD, "%s (+%d)"},
    {TXT_FAST_FORWARD, "Fast go forward"},
    {TXT_MENU_ZOOMOUT, "&Zoom out"},
    {TXT_MENU_LASTZOOM, "&Last zoom"},
    {TXT_MENU_CONFIGURE, "&Configure"},
    {TXT_MENU_CLIPBOARD, "Clip&board"},
    {TXT_MENU_EXPORT_BMP, "&Export to BMP"},
    {TXT_MENU_PRINT, "&Print"},
    {TXT_MENU_SEE_TOOLBAR, "&See Toolbar"},
    {TXT_MENU_LIST, "Lis&t"},
    {TXT_MENU_EXPORT_TXT, "&Export to TXT"},
    {TXT_MENU_PROPERTIES, "&Properties"},
    {TXT_FMT_GROUP_HINT, "%s %s"},
    {TXT_DIVIDE_BY, "Divide by"},
    {TXT_GROUP_BY, "Group by"},
    {TXT_FILE_EXISTS, "File already exists\nDo tou want to replace it?"},

    {TXT_MULTIGRAPHIC, "MULTIGRAPHIC"},
    {TXT_FMT_INTERVAL_TITLE, "%s (%d/%d)"},
    {TXT_DATE_OF_SAMPLE, "Date of sample"},
    {TXT_ACT, "Act"},
    {TXT_SEPARADOR_VALOR, " : "},
    {TXT_MAXIMUM, "Maximum"},
    {TXT_MINIMUM, "Minimum"},
    {TXT_FROM, "From"},
    {TXT_TO, "To"},
    {TXT_SELECTED_VARIABLE, "Selected Variable: "},
    {TXT_GRAPH_CONFIGURATOR, "Graph Configurator"},
    {TXT_OK, "&OK"},
    {TXT_CANCEL, "&Cancel"},
    {TXT_BEGINING_DATE, "Begining Date"},
    {TXT_ENDING_DATE, "Ending Date"},
    {TXT_BEGINING_TIME, "Begining Time"},
    {TXT_ENDING_TIME, "Ending Time"},
    {TXT_REG, "Reg"},
    {TXT_INVALID_ENTRANCE, "Invalid entrance"},
    {TXT_BAD_MARGINS, "Margins are bad defined ot the interval have not samples"},
    {TXT_OUT_OF_RANGE, "Value out of range"},
    {TXT_FMT_REGISTER_HINT, "%s (%d/%d)"},
    {TXT_NO_BAD_REGISTER, "There aren't any bad register"},

    {TXT_GRAPHIC_RMS, "GRAPHIC RMS"},
    {TXT_CONFIGURE_PLT, "Configure Plt"},
    {TXT_MAXIMUM_PLT, "Maximum Plt"},
    {TXT_PLT_WINDOW, "Plt window"},
    {TXT_DISCARD_BAD_PLT, "Discard bad Plt"},
    {TXT_EMPTY_FIELDS, "There are empty fields"},
    {TXT_MAX_PLT_NUMBER, "Maximum Plt must be a number"},

    {TXT_COLOR_0 + 0, "Negro"},
    {TXT_COLOR_0 + 1, "Rojo"},
    {TXT_COLOR_0 + 2, "Verde"},
    {TXT_COLOR_0 + 3, "Azul"},
    {TXT_COLOR_0 + 4, "Gris oscuro"},
    {TXT_COLOR_0 + 5, "Gris"},
    {TXT_COLOR_0 + 6, "Gris claro"},
    {TXT_COLOR_0 + 7, "Blanco"},
    {TXT_COLOR_0 + 8, "Amarillo"},
    {TXT_COLOR_0 + 9, "Morado"},
    {TXT_COLOR_0 + 10, "Azul claro"},
    {TXT_COLOR_0 + 11, "Morado oscuro"},
    {TXT_COLOR_0 + 12, "Verde oscuro"},
    {TXT_COLOR_0 + 13, "Azul claro oscuro"},
    {TXT_COLOR_0 + 14, "Amarillo oscuro"},
    {TXT_COLOR_0 + 15, "Rojo oscuro"},
    {TXT_COLOR_0 + 16, "Azul oscuro"},

    {TXT_HG_VARIABLE, "Variable"},
    {TXT_HG_KIND, "Kind"},
    {TXT_HG_UNIT, "Unit"},
    {TXT_HG_SELECT_ALL, "Select &all"},
    {TXT_HG_SELECT_NONE, "Select &none"},
    {TXT_HG_KIND_NONE, "No graph"},
    {TXT_HG_KIND_MULTI, "Multigraphic"},
    {TXT_HG_KIND_FP, "Power factor"},
    {TXT_HG_KIND_FO, "Waveform"},
    {TXT_HG_KIND_ARM, "Voltage harmonics"},
    {TXT_HG_KIND_THD, "THD"},
    {TXT_HG_KIND_RMS, "RMS"},
    {TXT_HG_KIND_PER, "Disturbances"},
    {TXT_HG_KIND_EH, "Events historic"},
    {TXT_HG_KIND_ED, "Events duration"},
    {TXT_HG_KIND_H24, "Harmonics 24 h"},
    {TXT_HG_KIND_PLT, "Flicker (Plt)"},
    {TXT_HG_KIND_ARMAN, "Current harmonics"},
    {TXT_HG_KIND_TES, "TES"},
    {TXT_HG_KIND_CBEMA, "Event curves"},
    {TXT_HG_KIND_VEF, "Event RMS"},
    {TXT_HG_KIND_IARM, "Interharmonics"},
    {TXT_HG_SELECTED_COUNT, "%1 of %2 variables selected"},
    {TXT_TV_TIME, "Time"},
    {TXT_TV_CAPTION, "Data table: %1"},
    {TXT_TV_ROWS, "%1 rows"},
    {TXT_DE_CAPTION, "Export data"},
    {TXT_DE_FILTER, "CSV files (*.csv);;All files (*)"},
    {TXT_DE_WRITE_FAILED, "The file %1 could not be written:\n%2"},
    {TXT_APP_TITLE, "KESTRAMON"},
    {TXT_APP_MENU_FILE, "&File"},
    {TXT_APP_OPEN, "&Open recording files..."},
    {TXT_APP_RECENT, "&Recent files"},
    {TXT_APP_CLOSE, "&Close recordings"},
    {TXT_APP_EXIT, "E&xit"},
    {TXT_APP_MENU_GRAPHS, "&Graphs"},
    {TXT_APP_SELECTOR, "Graph &Selector..."},
    {TXT_APP_OPEN_ALL, "Open &all"},
    {TXT_APP_MENU_WINDOW, "&Window"},
    {TXT_APP_TILE, "&Tile"},
    {TXT_APP_CASCADE, "&Cascade"},
    {TXT_APP_PROPERTIES, "Properties"},
    {TXT_APP_PRINT, "&Print"},
    {TXT_APP_OPEN_FILTER,
     "Recordings (*.STD *.EVQ *.STP *.H24 *.WAT *.std *.evq *.stp *.h24 *.wat);;All files (*)"},
    {TXT_APP_MODULE_MISSING, "The module %1 could not be loaded:\n%2"},
    {TXT_APP_ENTRY_MISSING, "The module %1 has no entry point %2."},
    {TXT_APP_EXCEPTION_FMT, "%1\n\nCode: %2\nContext: %3"},
    {TXT_APP_NO_FILES, "There are no open recording files."},
    {TXT_APP_OPEN_FAILED, "The file %1 could not be opened:\n%2"},
    {TXT_APP_NO_WINDOW, "No graph window is active."},
    {TXT_APP_RECORDINGS, "%1 recording files open"},
    {TXT_APP_NO_GRAPHS, "No graph window was opened."},
};

constexpr bool ordenada() {
    for (size_t i = 1; i < std::size(kTabla); ++i) {
        if (kTabla[i - 1].numero >= kTabla[i].numero)
            return false;
    }
    return true;
}
static_assert(ordenada(), "string table entries must be sorted by number, without duplicates");

} // namespace

const char* CargarTexto(int numero) {
    const auto* it = std::lower_bound(std::begin(kTabla), std::end(kTabla), numero,
                                      [](const Entrada& e, int n) { return e.numero < n; });
    if (it == std::end(kTabla) || it->numero != numero)
        return "";
    return it->texto;
}

QString Texto(int numero) {
    return QString::fromUtf8(CargarTexto(numero));
}

const char* NombreColor(int indice) {
    if (indice < 0 || indice > 16)
        return "";
    return CargarTexto(TXT_COLOR_0 + indice);
}
