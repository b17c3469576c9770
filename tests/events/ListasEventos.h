#pragma once

// Shared by the events window tests: the lists a data driver delivers for one events window.

#include "ApoyoEventos.h"
#include "TiposGrafica.h"
#include "VentanaPrueba.h"

namespace apoyo {

// One recorded event; for a TES window also its samples' times (ms).
struct Ev {
    long long ms;
    double extremo, duracion, fase;
    std::vector<long long> muestras = {};
};

// The lists of an events window of kind `tipo` over one data object, levels 10 %, 90 %, 110 %,
// with an optional saved-view row. TES samples are valued 10 x (event + 1) + sample; the other
// windows' values are the events' extremes.
inline ListasAtributos Listas(int tipo, const std::vector<Ev>& eventos, ObjGen* datos,
                              std::vector<std::int32_t> objeto = {}) {
    const bool tes = tipo == TG_TES;
    std::vector<double> valores, cuentas, extremo, duracion, fase, medio, previo;
    std::vector<TTiempo> tiempos, inicios;
    for (size_t k = 0; k < eventos.size(); ++k) {
        const Ev& e = eventos[k];
        for (size_t s = 0; s < e.muestras.size(); ++s) {
            valores.push_back(10.0 * static_cast<double>(k + 1) + static_cast<double>(s));
            tiempos.push_back(A(e.muestras[s]));
        }
        cuentas.push_back(static_cast<double>(e.muestras.size()));
        extremo.push_back(e.extremo);
        duracion.push_back(e.duracion);
        fase.push_back(e.fase);
        medio.push_back(e.extremo + 1);
        previo.push_back(100);
        inicios.push_back(A(e.ms));
    }
    ListasAtributos l;
    l[LV_VALORES].EntrarDoubles(tes ? valores : extremo);
    const std::vector<TTiempo>& t = tes ? tiempos : inicios;
    l[LV_TIEMPOS].EntrarTiempos(t);
    l[LV_UNIDADES].EntrarTexto("%");
    l[LV_NOMBRES].EntrarTexto(tes ? "Event samples" : "Voltage events");
    l[LV_OPCIONES].EntrarDoubles({2, static_cast<double>(tipo), 0, 0, 0, 0, 100, 900, 1100, 0, 0, 0, 37271});
    if (!t.empty())
        l[LV_INTERVALOS].EntrarTiempos({t.front(), t.back()});
    l[LV_TIEMPOSGENERALES].EntrarTiempos(tes || t.empty() ? inicios
                                                          : std::vector<TTiempo>{t.front(), t.back()});
    l[LV_DECIMALES].EntrarEnteros({1});
    if (tes)
        l[LV_ADICIONALES].EntrarDoubles(cuentas);
    for (const auto* fila : tes ? std::vector{&extremo, &duracion, &fase, &medio, &previo}
                                : std::vector{&duracion, &fase, &medio, &previo})
        l[LV_ADICIONALES].EntrarDoubles(*fila);
    l[LV_OBJETOS].EntrarEnteros(objeto.empty() ? std::vector<std::int32_t>{1, tes ? 3 : 2, datos->Manejador()}
                                               : objeto);
    return l;
}

} // namespace apoyo
