#pragma once

#include "CListaEventos.h"
#include "NivelesEventos.h"

#include <vector>

// One event as the recording delivers it, before classification.
struct EventoRegistrado {
    TTiempo inicio;
    double extremo = 0.0;  // voltage of the event's phase, % of nominal
    double duracion = 0.0; // ms; negative when the instrument recorded a lower bound
    double fase = 0.0;     // phase number as recorded
    double medio = 0.0;
    double previo = 0.0;
};

// Classifies every recorded event against the levels and adds it to the raw list, in recording
// order (so each raw event's `Registro` is its position in `eventos`). Returns the number of
// events refused because their phase is not 1, 2 or 3.
int CargarEventos(CListaEventos& lista, const std::vector<EventoRegistrado>& eventos,
                  const NivelesInstrumento& niveles);
