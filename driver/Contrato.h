#pragma once

// The numbers the engine, the host application, the data drivers and the sibling modules must
// agree on. Every module reads them from here; none keeps a private copy.

// Commands a data driver answers (Comando numbers), asked by the intake and the modules.
enum ComandoDatos : int {
    CMD_VALORES = 10001,     // ValoresSeries
    CMD_TIEMPOS = 10002,     // TiemposSeries; with -1 as first key, TiemposGenerales
    CMD_UNIDADES = 10003,    // UnidadesSeries
    CMD_NOMBRES = 10004,     // NombresSeries
    CMD_OPCIONES = 10013,    // OpcionesSeries
    CMD_INTERVALOS = 10014,  // IntervalosDatos
    CMD_ADICIONALES = 10015, // ValoresAdicionales
    CMD_DECIMALES = 10021,   // DecimalesSeries
    CMD_TRADUCIR_CLAVES = 10022,
    CMD_ENUMERAR = 10100,   // a data driver's variables: keys, kind, code, name, unit
    CMD_DRIVER_DATOS = 306, // the source driver hands out a file's data driver
    CMD_EJECUTAR = 400,     // runs a sibling module's dialog
    CMD_TITULO = 402,       // a sibling module's dialog caption
};

// Services a window driver offers the host, and the one a window sends it on closing.
enum ServicioDriver : int {
    SRV_IMPRIMIR = 800,
    SRV_CIERRE = 1234,
};

// Category of the source driver's page listing the open recording files.
constexpr int kCategoriaFicheros = 4;
// Kind word of a window driver (DrivFlex::PonerTipoObjeto).
constexpr int kTipoObjetoGrafica = 5;

// The ten attribute lists of a selection or of one graph window, in the order the window
// driver receives them (0-based: position 1 of the constructor is LV_VALORES).
enum PosicionLista : int {
    LV_VALORES = 0,          // ValoresSeries (CMD_VALORES)
    LV_TIEMPOS = 1,          // TiemposSeries
    LV_UNIDADES = 2,         // UnidadesSeries
    LV_NOMBRES = 3,          // NombresSeries
    LV_OPCIONES = 4,         // OpcionesSeries
    LV_INTERVALOS = 5,       // IntervalosDatos
    LV_TIEMPOSGENERALES = 6, // TiemposGenerales (CMD_TIEMPOS asked with -1 as first key)
    LV_ADICIONALES = 7,      // ValoresAdicionales
    LV_OBJETOS = 8,          // ObjetosGrafica: first key, second key, data-driver handle[, level, interval]
    LV_DECIMALES = 9,        // DecimalesSeries
    kNumListas = 10
};

// Indexes of the numbers of an OpcionesSeries row (a row of doubles).
enum IndiceOpcion : int {
    OPC_METODO = 0,             // plotting method of every axis
    OPC_TIPO = 1,               // TipoGrafica
    OPC_PERIODO = 2,            // recording period, seconds
    OPC_VENTANA_PROPIA = 3,     // kind 0: 1 puts the variable in a window of its own
    OPC_NIVEL_INTERRUPCION = 6, // instrument levels, tenths of a percent of nominal
    OPC_NIVEL_HUECO = 7,
    OPC_NIVEL_SOBRETENSION = 8,
    OPC_CIERRA_PERIODO = 10, // non-zero: a weekly value closes its period (read-out dates)
    OPC_SELECTOR_FLAG = 11,  // flicker: which flag bit marks a bad value
    OPC_CODIGO = 12,         // variable code
    kNumOpciones = 13
};

// Positions of an ObjetosGrafica row.
enum IndiceObjeto : int {
    OBJ_CLAVE1 = 0,
    OBJ_CLAVE2 = 1,
    OBJ_DRIVER = 2,
    OBJ_NIVEL = 3,     // grouping level to restore (optional)
    OBJ_INTERVALO = 4, // interval or register index to restore (optional)
};

// Null value of every data array handed to a chart: a missing value.
constexpr double kValorNulo = -9999.9;

// Chart object kind of every graph window and the serial-date mode of its time axis.
constexpr int kObjetoGrafica = 304;
constexpr int kModoFechaSerie = 2;

// Codes of the host exception the engine raises.
enum CodigoExcepcion : int {
    EXC_MODULO = 11,    // a sibling module or the charting library is missing
    EXC_GRAFICA = 1000, // a charting entry point is missing when a window is created
};

// Key codes a chart reports with its key notification.
constexpr int kTeclaF1 = 112;
constexpr int kTeclaZ = 90;
