#pragma once

#include "CListaEventos.h"
#include "EventosRegistrados.h"
#include "PropiedadesEventos.h"

#include <functional>
#include <vector>

class TValorMultiple;

// What the events windows draw, computed without a window: the recorded events of the window's
// lists, the sample each event of the current view is drawn at, and the per-sample values of the
// three phase series and of the read-out.

// The recorded events of the data objects, in list order: per data object one row of extreme
// voltages (list 1) and one of start times (list 2), and four rows of list 8 cycling through
// duration, phase, average and previous voltage. A row shorter than its times leaves the missing
// columns at 0; rows without times give no events.
std::vector<EventoRegistrado> LeerMuestras(const TValorMultiple& valores, const TValorMultiple& tiempos,
                                           const TValorMultiple& adicionales);

// The sample an event is drawn at. Bisection over the sample times for one at the event's start;
// from there back to the first sample of that instant (by its recorded phase) and on to the first
// of it and the two following whose phase is the event's (any phase with `trifasico`) and whose
// time is the start. Without a sample at that time: the last sample before it. -1 without samples.
int BuscarRanura(const std::vector<EventoRegistrado>& muestras, const CEvento& evento, bool trifasico);

// The three phase series and the read-out columns, one slot per sample.
struct PuntosEventos {
    int numMuestras = 0;
    // Series-major, 3 x numMuestras: the value drawn, -9999.9 where a phase has no event.
    std::vector<double> valores;
    // Per series slot: the index in the current view of the event drawn there, -1 for none.
    std::vector<int> eventos;
    // Per sample: duration in ms (negated when not exact), phase, average and previous voltage.
    std::vector<double> duracion;
    std::vector<double> fase;
    std::vector<double> medio;
    std::vector<double> previo;

    double Valor(int serie, int muestra) const {
        return valores[static_cast<size_t>(serie) * static_cast<size_t>(numMuestras) +
                       static_cast<size_t>(muestra)];
    }
    int Evento(int serie, int muestra) const {
        return eventos[static_cast<size_t>(serie) * static_cast<size_t>(numMuestras) +
                       static_cast<size_t>(muestra)];
    }
};

// Places every event of the list's current view on its sample: its phase's series (the first in
// three-phase mode) gets `valor(evento)` (its extreme when `valor` is empty); the read-out
// columns get its figures. A later event on the same slot replaces an earlier one.
PuntosEventos CalcularPuntos(const CListaEventos& lista, const std::vector<EventoRegistrado>& muestras,
                             const std::function<double(const CEvento&)>& valor = {});

// Events of the current view by kind.
struct ConteoTipos {
    int sobretensiones = 0;
    int huecos = 0;
    int interrupciones = 0;
};
ConteoTipos ContarTipos(const CListaEventos& lista);

// Re-derives the list's views from the raw events as the settings say: hysteresis, compaction,
// then the three-phase view when it is to be shown.
void AplicarVistas(CListaEventos& lista, const PropiedadesEventos& propiedades);

// Thresholds as an accepted dialog keeps them, against the instrument's levels: overvoltage not
// below its level, sag and interruption not above theirs, and the interruption threshold below
// the sag threshold (one tenth under it otherwise).
void CorregirUmbrales(PropiedadesEventos& propiedades, const NivelesInstrumento& niveles);

// The label of a threshold line: right of the line, one decimal and a percent sign ("|R90.0%\t").
QString EtiquetaUmbral(int decimas);
