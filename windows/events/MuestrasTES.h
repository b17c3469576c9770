#pragma once

#include "CListaEventos.h"

#include <QString>

#include <array>
#include <optional>
#include <utility>
#include <vector>

// The samples recorded around every event, as the recording hands them: all samples one after
// another, cut into one block per recorded event by the per-event sample counts.
struct MuestrasRegistradas {
    struct Bloque {
        int inicio = 0;
        int cuenta = 0;
    };
    std::vector<TTiempo> tiempos;
    std::vector<double> valores;
    std::vector<Bloque> bloques; // by recording order (`CEvento::Registro`)
};

// Cuts the samples by the counts. A count that is negative, not a whole number, or that runs
// past the samples makes the recording malformed: nothing is returned and `error` says which
// event.
std::optional<MuestrasRegistradas> CortarMuestras(const std::vector<double>& cuentas,
                                                  std::vector<TTiempo> tiempos, std::vector<double> valores,
                                                  QString* error = nullptr);

// One point of the three phase series; kSinMuestra where a phase has no sample at that instant.
inline constexpr double kSinMuestra = -9999.9;
struct InstanteTES {
    TTiempo tiempo;
    std::array<double, 3> valores{kSinMuestra, kSinMuestra, kSinMuestra};
};

// The samples of one event, gathered from the raw events it is made of and merged in time
// order (the lower phase first on equal times). Equal consecutive times share an instant, at
// most three samples to one instant.
std::vector<InstanteTES> MuestrasEvento(const CEvento& evento, const CListaEventos& lista,
                                        const MuestrasRegistradas& muestras);

// The points of every event of the current view one after another, with each event's range
// (first point, number of points): the window's intervals.
struct PuntosTES {
    std::vector<InstanteTES> instantes;
    std::vector<std::pair<int, int>> rangos;
};
PuntosTES ConstruirPuntosTES(const CListaEventos& lista, const MuestrasRegistradas& muestras);

// The label of the start and end markers: the start at the top, the end at the bottom.
QString EtiquetaMarcadores(const CEvento& evento);
