#include "PuntosEventos.h"

#include "TValorMultiple.h"

#include <algorithm>

namespace {

constexpr int kFilasDuracion = 4;
constexpr int kFilasTES = 6;

// Element i of a row, 0 past its end.
double Numero(const TValorMultiple& lista, int fila, int i) {
    return fila < lista.Cuenta() && i < lista.Elementos(fila) ? lista.Numero(fila, i) : 0.0;
}

} // namespace

std::vector<EventoRegistrado> LeerEventosDuracion(const TValorMultiple& valores, const TValorMultiple& tiempos,
                                                  const TValorMultiple& adicionales) {
    std::vector<EventoRegistrado> eventos;
    for (int o = 0; o < valores.Cuenta() && o < tiempos.Cuenta(); ++o) {
        const TTiempo* t = tiempos.Tiempos(o);
        if (t == nullptr)
            continue;
        const int n = std::min(valores.Elementos(o), tiempos.Elementos(o));
        const int base = kFilasDuracion * o;
        for (int i = 0; i < n; ++i) {
            EventoRegistrado e;
            e.inicio = t[i];
            e.extremo = valores.Numero(o, i);
            e.duracion = Numero(adicionales, base, i);
            e.fase = Numero(adicionales, base + 1, i);
            e.medio = Numero(adicionales, base + 2, i);
            e.previo = Numero(adicionales, base + 3, i);
            eventos.push_back(e);
        }
    }
    // Data objects of one window cover separate times but may come in any order.
    std::stable_sort(eventos.begin(), eventos.end(), [](const EventoRegistrado& a, const EventoRegistrado& b) {
        return a.inicio < b.inicio || (a.inicio == b.inicio && a.fase < b.fase);
    });
    return eventos;
}

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
                *error = QStringLiteral("data object %1: the sample counts add up to %2 but %3 samples are recorded")
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

int RanuraEvento(const std::vector<TTiempo>& tiempos, const std::vector<int>& fases, const CEvento& evento,
                 bool cualquierFase) {
    if (tiempos.empty())
        return -1;
    const auto primero = std::lower_bound(tiempos.begin(), tiempos.end(), evento.Inicio);
    const int lo = static_cast<int>(primero - tiempos.begin());
    if (primero == tiempos.end() || *primero != evento.Inicio)
        return std::max(0, lo - 1);
    // The samples of one instant: the one of the event's phase, else the first.
    for (int i = lo; i < static_cast<int>(tiempos.size()) && tiempos[static_cast<size_t>(i)] == evento.Inicio;
         ++i) {
        if (cualquierFase || (static_cast<size_t>(i) < fases.size() && fases[static_cast<size_t>(i)] == evento.Fase))
            return i;
    }
    return lo;
}

PuntosDuracion CalcularPuntosDuracion(const CListaEventos& lista, const std::vector<TTiempo>& tiempos,
                                      const std::vector<int>& fases, const ListaIntervalos& intervalos) {
    PuntosDuracion p;
    const size_t n = tiempos.size();
    for (size_t f = 0; f < 3; ++f) {
        p.x[f].assign(n, kSinPosicion);
        p.y[f].assign(n, kSinPosicion);
    }
    p.duracion.assign(n, 0.0);
    p.fase.assign(n, 0.0);
    p.medio.assign(n, 0.0);
    p.previo.assign(n, 0.0);
    const double maxima = lista.DameDuracionMaximaVista();
    for (int k = 0; k < lista.NumeroEventos(); ++k) {
        const CEvento* e = lista.Evento(k);
        if (e == nullptr)
            continue;
        const int ranura = RanuraEvento(tiempos, fases, *e, lista.Trifasico);
        if (ranura < 0)
            continue;
        const size_t r = static_cast<size_t>(ranura);
        const size_t serie = lista.Trifasico ? 0 : static_cast<size_t>(std::clamp<int>(e->Fase, 1, 3) - 1);
        const double x = PosicionDuracion(e->Duracion, maxima, intervalos);
        p.x[serie][r] = x;
        p.y[serie][r] = x == kSinPosicion ? kSinPosicion : e->ValorExtremo;
        p.duracion[r] = e->DuracionExacta ? e->Duracion : -e->Duracion;
        p.fase[r] = e->Fase;
        p.medio[r] = e->ValorMedio;
        p.previo[r] = e->ValorPrevio;
        if (x != kSinPosicion)
            ++p.colocados;
    }
    return p;
}
