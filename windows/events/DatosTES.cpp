#include "DatosTES.h"

#include "TValorMultiple.h"

#include <algorithm>

namespace {

constexpr int kFilasTES = 6;

// Element i of a row, 0 past its end.
double Numero(const TValorMultiple& lista, int fila, int i) {
    return fila < lista.Cuenta() && i < lista.Elementos(fila) ? lista.Numero(fila, i) : 0.0;
}

} // namespace

DatosTES LeerDatosTES(const TValorMultiple& valores, const TValorMultiple& tiempos,
                      const TValorMultiple& adicionales, const TValorMultiple& tiemposGenerales,
                      QString* error) {
    DatosTES d;
    std::vector<double> cuentas;
    std::vector<TTiempo> todosTiempos;
    std::vector<double> todosValores;
    bool valido = true;
    for (int o = 0; o < valores.Cuenta() && o < tiempos.Cuenta(); ++o) {
        const TTiempo* t = tiempos.Tiempos(o);
        const int n = t == nullptr ? 0 : std::min(valores.Elementos(o), tiempos.Elementos(o));
        // The counts of one object address its own samples only.
        double usadas = 0.0;
        const int base = kFilasTES * o;
        const TTiempo* inicios = o < tiemposGenerales.Cuenta() ? tiemposGenerales.Tiempos(o) : nullptr;
        const int numInicios = inicios == nullptr ? 0 : tiemposGenerales.Elementos(o);
        const int numEventos = base < adicionales.Cuenta() ? adicionales.Elementos(base) : 0;
        for (int k = 0; k < numEventos; ++k) {
            EventoRegistrado e;
            // Without its start the event cannot be placed in time.
            if (k >= numInicios)
                break;
            e.inicio = inicios[k];
            e.extremo = Numero(adicionales, base + 1, k);
            e.duracion = Numero(adicionales, base + 2, k);
            e.fase = Numero(adicionales, base + 3, k);
            e.medio = Numero(adicionales, base + 4, k);
            e.previo = Numero(adicionales, base + 5, k);
            d.eventos.push_back(e);
            const double c = adicionales.Numero(base, k);
            cuentas.push_back(c);
            usadas += c >= 0.0 ? c : 0.0;
        }
        if (usadas > n) {
            // Counts running past this object's samples would read the next object's.
            if (valido && error != nullptr)
                *error = QStringLiteral(
                             "data object %1: the sample counts add up to %2 but %3 samples are recorded")
                             .arg(o + 1)
                             .arg(usadas)
                             .arg(n);
            valido = false;
            continue;
        }
        // Samples beyond the counts belong to no event.
        for (int i = 0; i < static_cast<int>(usadas); ++i) {
            todosTiempos.push_back(t[i]);
            todosValores.push_back(valores.Numero(o, i));
        }
    }
    if (valido) {
        std::optional<MuestrasRegistradas> m =
            CortarMuestras(cuentas, std::move(todosTiempos), std::move(todosValores), error);
        if (m)
            d.muestras = std::move(*m);
    }
    return d;
}
