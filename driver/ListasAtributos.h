#pragma once

#include "TValorMultiple.h"

#include <array>

// The ten attribute lists of a selection or of one graph window, in the order the window
// driver receives them. Each holds one row per variable (several for some graph kinds).
enum PosicionLista : int {
    LV_VALORES = 0,          // ValoresSeries (command 10001)
    LV_TIEMPOS = 1,          // TiemposSeries (10002)
    LV_UNIDADES = 2,         // UnidadesSeries (10003)
    LV_NOMBRES = 3,          // NombresSeries (10004)
    LV_OPCIONES = 4,         // OpcionesSeries (10013)
    LV_INTERVALOS = 5,       // IntervalosDatos (10014)
    LV_TIEMPOSGENERALES = 6, // TiemposGenerales (10002 asked with -1 as first key)
    LV_ADICIONALES = 7,      // ValoresAdicionales (10015)
    LV_OBJETOS = 8,          // ObjetosGrafica: first key, second key, data-driver handle[, level, interval]
    LV_DECIMALES = 9,        // DecimalesSeries (10021)
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
};

// Null value of every data array handed to a chart.
constexpr double kValorNulo = -9999.9;

struct ListasAtributos {
    std::array<TValorMultiple, kNumListas> listas;

    TValorMultiple& operator[](int posicion) { return listas[static_cast<size_t>(posicion)]; }
    const TValorMultiple& operator[](int posicion) const { return listas[static_cast<size_t>(posicion)]; }
};
