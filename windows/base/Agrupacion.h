#pragma once

#include "TTiempo.h"

#include <QString>

#include <vector>

// Grouping levels of a time axis and the rules of the Group and Ungroup buttons. Plain code
// with no window, shared by the graph windows and the table and export modules.
namespace Agrupacion {

enum Nivel : int {
    NIVEL_MESES = 0,
    NIVEL_SEMANAS = 1,
    NIVEL_DIAS = 2,
    NIVEL_HORAS = 3,
    NIVEL_SIN_AGRUPAR = 4,
    NIVEL_DEFECTO = 5, // the intervals delivered with the data
    NIVEL_NO_DISPONIBLE = -10,
};

enum Modo : int {
    MODO_DESAGRUPAR = -1, // the Ungroup button
    MODO_AGRUPAR = -2,    // the Group button
};

// The level a mode leads to from the current level: Ungroup goes one coarser (and from
// months to no grouping), Group one finer (and from no grouping or the default to months);
// any other mode is the new level itself.
int NuevoNivel(int modo, int nivelActual);

struct EstadoBotones {
    bool agruparHabilitado = false;
    bool desagruparHabilitado = false;
    QString hintAgrupar;
    QString hintDesagrupar;
};

// Enabled states and hints of the Group and Ungroup buttons at a level.
EstadoBotones Botones(int nivel);

// Name of a level as the interval title shows it ("Months" ... "Hours", "Default").
QString NombreNivel(int nivel);

// First and last point index of an interval, both inclusive.
struct Intervalo {
    int primero = 0;
    int ultimo = 0;
    friend bool operator==(const Intervalo&, const Intervalo&) = default;
};

// Whether a point's time is the cursor's time: every field down to the second equal and the
// milliseconds at most 1 apart. A time without milliseconds (-1) matches any millisecond,
// because the chart's serial dates lose the millisecond on the way back.
bool MismoInstante(const TTiempo& a, const TTiempo& b);

// Cuts ordered point times into calendar months, weeks (Monday to Sunday), days or hours
// (levels 0 to 3). Any other level gives one interval holding every point. No points, no
// intervals.
std::vector<Intervalo> CortarIntervalos(int nivel, const TTiempo* tiempos, int numPuntos);

// The intervals delivered with the data: `pares` holds numTiempos times, (start, end) pairs.
// Each pair is matched in order during one scan of the points; a pair whose start is never
// met gets no interval, and the pair still open when the points end closes at the last one.
std::vector<Intervalo> IntervalosEntregados(const TTiempo* tiempos, int numPuntos, const TTiempo* pares,
                                            int numTiempos);

// Horizontal spacing of the ungrouped view, in days, from the recording period in seconds:
// the period plus half a second. A negative period stands for a whole day (23:59:59).
double EspaciadoSinAgrupar(double periodo);

// Everything a window needs after a regrouping.
struct Agrupamiento {
    // One entry per interval; empty when there are fewer than two, and the window then shows
    // the whole series as its one interval.
    std::vector<Intervalo> rangos;
    int numIntervalos = 1;
    // Interval holding the cursor's time; 0 when no interval holds it.
    int intervaloActual = 0;
    // Position inside the current interval of the point at the cursor's time; -1 when none.
    int puntoCursor = -1;
    // Chart spacing of the horizontal axis (days); set only at the no-grouping level.
    bool conEspaciado = false;
    double espaciado = 0.0;
};

// Regroups the first series' times at `nivel`. `intervalos` are the delivered (start, end)
// times used at the default level, `periodo` the recording period in seconds used at the
// no-grouping level, and `cursor` the time under the chart cursor (nullptr when there is
// none). Levels outside 0..5 are treated as no grouping.
Agrupamiento CalcularAgrupacion(int nivel, const TTiempo* tiempos, int numPuntos, const TTiempo* intervalos,
                                int numTiemposIntervalos, double periodo, const TTiempo* cursor);

} // namespace Agrupacion
