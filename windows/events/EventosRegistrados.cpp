#include "EventosRegistrados.h"

#include <cmath>

namespace {

// The phase number as an integer; anything that is not 1, 2 or 3 gives 0.
int Fase(double recorded) {
    if (!(recorded >= 0.0 && recorded < 4.0))
        return 0;
    return static_cast<int>(recorded);
}

} // namespace

int CargarEventos(CListaEventos& lista, const std::vector<EventoRegistrado>& eventos,
                  const NivelesInstrumento& niveles) {
    int rechazados = 0;
    for (const EventoRegistrado& r : eventos) {
        const Clasificacion c = ClasificarEvento(r.duracion, r.extremo, niveles.interrupcion, niveles.hueco,
                                                 niveles.sobretension);
        if (!lista.AnadirEvento(r.inicio, c.Duracion, Fase(r.fase), c.Tipo, r.previo, r.medio, r.extremo,
                                c.DuracionExacta))
            ++rechazados;
    }
    return rechazados;
}
