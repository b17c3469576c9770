#pragma once

#include <span>

// Graph kinds (TipoGrafica, index 1 of a variable's options row) and everything the engine,
// the catalogue, the recordings and the tests need to know about each, in one table.
enum TipoGrafica : int {
    TG_MULTIGRAFICA = 0,
    TG_FP = 1,
    TG_FO = 2,
    TG_ARM = 3,
    TG_THD = 4,
    TG_RMS = 5,
    TG_PER = 6,
    TG_EH = 10,
    TG_ED = 11,
    TG_ARMH24 = 13,
    TG_PLT = 14,
    TG_FOAN = 15,
    TG_ARMAN = 16,
    TG_ARMH24_BANDAS = 17,
    TG_TES = 18,
    TG_CBEMA = 19,
    TG_VEF = 20,
    TG_IARM = 21,
};

// How the distribution sorts a kind's variables into windows.
enum class ReglaReparto {
    Multigrafica,   // up to 12 series and 6 units a window; own-window flag honoured
    PorVariable,    // one window per variable
    TodasEnUna,     // every variable of the kind in one window
    Perturbaciones, // one window per data driver and disturbance code
    RangoTiempo,    // non-overlapping time ranges share a window, the rest go alone
    Emparejado,     // variables with the same time range go in pairs
};

// The window family a kind belongs to.
enum class FamiliaGrafica {
    SerieTemporal, // values against time, cut into intervals and regrouped
    Registro,      // one register or record per interval, no grouping
    Eventos,       // voltage events
};

// How many series a window driver counts.
enum class ReglaSeries {
    Escritas,      // the series written on the pages: min(rows of ValoresSeries, 12)
    Tres,          // the three phases
    FilasOpciones, // one per OpcionesSeries row
};

struct RasgosTipo {
    TipoGrafica tipo;
    const char* clase; // window class
    ReglaReparto reparto;
    FamiliaGrafica familia;
    // Rows each variable takes from lists 1-6 and 10, and at most how many extra rows of list 8.
    int filas;
    int extras;
    // The driver offers grouping (page 0, property 3) and reads the saved level.
    bool agrupable;
    // Events kinds: no plotting type, no series pages.
    bool eventos;
    int leyenda; // default of the legend property
    int cursor;  // default cursor option
    ReglaSeries series;
    // The data contract: the type of the IntervalosDatos rows and of the extra rows
    // (TV_... codes of TValor) and whether the catalogue carries additional rows at all.
    int tipoIntervalos;
    int tipoExtras;
    bool conAdicionales;
};

// The row of a kind, or nullptr for a kind without a window (7, 8, 9, 12, above 21, negative).
const RasgosTipo* Rasgos(int tipo);
// Every kind with a window, in code order.
std::span<const RasgosTipo> TodosLosTipos();
