#pragma once

#include "CListaEventos.h"
#include "EventosRegistrados.h"
#include "IntervalosDuracion.h"
#include "MuestrasTES.h"

#include <QString>

#include <array>
#include <vector>

class TValorMultiple;

// What the duration and TES windows compute from their lists and their event list, without a
// chart: the recorded events read from the attribute lists, the slot of every event among the
// recorded samples, and the points of the events-by-duration chart.

// The events of the data objects of an events window (values, times and four extra rows per
// object: duration, phase, average, previous), in time order and, at one instant, by phase.
std::vector<EventoRegistrado> LeerEventosDuracion(const TValorMultiple& valores, const TValorMultiple& tiempos,
                                                  const TValorMultiple& adicionales);

// The TES window's lists: per data object, the samples and their times, and six extra rows
// (sample count, extreme, duration, phase, average, previous) with the event starts in the
// general times. Events keep their recording order, so event k owns sample block k. A count that
// does not fit the samples leaves every event without samples, and `error` says why.
struct DatosTES {
    std::vector<EventoRegistrado> eventos;
    MuestrasRegistradas muestras;
};
DatosTES LeerDatosTES(const TValorMultiple& valores, const TValorMultiple& tiempos,
                      const TValorMultiple& adicionales, const TValorMultiple& tiemposGenerales,
                      QString* error = nullptr);

// The recorded sample an event is drawn at: the sample at the event's start whose recorded
// phase is the event's (any phase with `cualquierFase`); without a sample at that time, the last
// one before it (the first when none is before). -1 without samples.
int RanuraEvento(const std::vector<TTiempo>& tiempos, const std::vector<int>& fases, const CEvento& evento,
                 bool cualquierFase);

// The points of the events-by-duration chart: per phase series, one slot per recorded sample,
// x the position on the duration axis and y the extreme voltage, kSinPosicion where nothing is
// drawn; and the read-out columns of every slot.
struct PuntosDuracion {
    std::array<std::vector<double>, 3> x;
    std::array<std::vector<double>, 3> y;
    std::vector<double> duracion; // negated when the duration is a lower bound
    std::vector<double> fase;
    std::vector<double> medio;
    std::vector<double> previo;
    // Events of the current view with a position on the axis.
    int colocados = 0;
};
PuntosDuracion CalcularPuntosDuracion(const CListaEventos& lista, const std::vector<TTiempo>& tiempos,
                                      const std::vector<int>& fases, const ListaIntervalos& intervalos);
