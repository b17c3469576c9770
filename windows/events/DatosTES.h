#pragma once

#include "EventosRegistrados.h"
#include "MuestrasTES.h"

#include <QString>

#include <vector>

class TValorMultiple;

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
