#include "CListaEventos.h"

#include <algorithm>
#include <cmath>

namespace {

// Whole milliseconds of a duration. Out-of-range values (a corrupt recording) are held to a
// range the time arithmetic can carry instead of overflowing the conversion.
long long MilesimasEnteras(double duracion) {
    constexpr double kLimite = 1e15;
    if (std::isnan(duracion))
        return 0;
    return static_cast<long long>(std::clamp(duracion, -kLimite, kLimite));
}

TTiempo MasMilesimas(TTiempo t, long long milesimas) {
    t.SumarMilesimas(milesimas);
    return t;
}

// A time without milliseconds (-1) counts as millisecond 0 in differences.
TTiempo ConMilesimas(TTiempo t) {
    if (t.Milesima < 0)
        t.Milesima = 0;
    return t;
}

// b - a in milliseconds, from the field-wise difference. A trap: a month counts 31 days and the
// year is left out, so a gap across the end of a shorter month comes out up to three days long,
// and one across a year end comes out negative. Merged durations depend on it.
double DiferenciaMilesimas(const TTiempo& b, const TTiempo& a) {
    TTiempo d = ConMilesimas(b);
    d.Restar(ConMilesimas(a));
    return d.Milesima + 1000.0 * d.Segundo + 60000.0 * d.Minuto + 3600000.0 * d.Hora + 86400000.0 * d.Dia +
           2678400000.0 * d.Mes;
}

// Milliseconds counted from 1998 on a calendar of 31-day months and 372-day years: only
// compared with times counted the same way, so the scale need not be the real one.
double MilesimasDesde1998(const TTiempo& t) {
    const TTiempo c = ConMilesimas(t);
    return (c.Anio - 1998) * 32140800000.0 + c.Mes * 2678400000.0 + c.Dia * 86400000.0 + c.Hora * 3600000.0 +
           c.Minuto * 60000.0 + c.Segundo * 1000.0 + c.Milesima;
}

double MediaPonderada(const CEvento& a, const CEvento& b) {
    const double suma = a.Duracion + b.Duracion;
    if (suma == 0.0)
        return (a.ValorMedio + b.ValorMedio) / 2.0;
    return (a.ValorMedio * a.Duracion + b.ValorMedio * b.Duracion) / suma;
}

void AcumularExtremo(CEvento& a, const CEvento& b) {
    if (b.Tipo != kSobretension) {
        if (a.ValorExtremo > b.ValorExtremo)
            a.ValorExtremo = b.ValorExtremo;
    } else if (a.ValorExtremo < b.ValorExtremo) {
        a.ValorExtremo = b.ValorExtremo;
    }
}

bool EsTipo(unsigned char tipo) {
    return tipo == kSobretension || tipo == kHueco || tipo == kInterrupcion;
}

// "After" in the order of every view: later start, or the same start and a higher phase.
bool Despues(const CEvento& a, const CEvento& b) {
    return a.Inicio > b.Inicio || (a.Inicio == b.Inicio && a.Fase > b.Fase);
}

int PosicionInsercion(const CListaEventos::Vista& vista, const CEvento& nuevo) {
    const int n = static_cast<int>(vista.size());
    // Recorders write in time order: most events go after the last one, where the search below
    // would also end, without its probes across the whole list.
    if (n == 0 || Despues(nuevo, *vista.back()))
        return n;
    int bajo = 0;
    int alto = n - 1;
    while (bajo != alto) {
        const int medio = bajo + (alto - bajo) / 2;
        const CEvento& sondeo = *vista[static_cast<size_t>(medio)];
        if (Despues(sondeo, nuevo))
            alto = medio;
        else if (Despues(nuevo, sondeo))
            bajo = medio + 1;
        else
            return medio;
    }
    int posicion = bajo;
    while (posicion < n && Despues(nuevo, *vista[static_cast<size_t>(posicion)]))
        ++posicion;
    return posicion;
}

// A three-phase accumulator takes an event: the start never moves; an interruption ends with
// the first phase to recover, the other kinds with the last.
void AcumularTrifasico(CEvento& acumulado, const CEvento& entrante, bool esInterrupcion) {
    if (acumulado.Vacio()) {
        acumulado = entrante;
        return;
    }
    acumulado.ValorMedio = MediaPonderada(acumulado, entrante);
    const double inicio = MilesimasDesde1998(acumulado.Inicio);
    const double finAcumulado = inicio + acumulado.Duracion;
    const double finEntrante = MilesimasDesde1998(entrante.Inicio) + entrante.Duracion;
    const double fin =
        esInterrupcion ? std::min(finAcumulado, finEntrante) : std::max(finAcumulado, finEntrante);
    acumulado.Duracion = fin - inicio;
    AcumularExtremo(acumulado, entrante);
    acumulado.Tipo = entrante.Tipo;
    acumulado.DuracionExacta = entrante.DuracionExacta;
    acumulado.AnadirIndices(entrante.Indices);
}

// Compaction: an empty accumulator takes the event; otherwise overvoltages merge with
// overvoltages, sags and interruptions with each other (an interruption wins the kind).
bool IntentarFusion(CEvento& acumulado, const CEvento& evento, int histeresis) {
    if (acumulado.Vacio()) {
        acumulado = evento;
        return true;
    }
    if (evento.Tipo == kSobretension) {
        if (acumulado.Tipo != kSobretension || !Fusionar(acumulado, evento, histeresis))
            return false;
        Acumular(acumulado, evento);
        return true;
    }
    if (acumulado.Tipo == kSobretension || !Fusionar(acumulado, evento, histeresis))
        return false;
    const bool interrupcion = acumulado.Tipo == kInterrupcion || evento.Tipo == kInterrupcion;
    Acumular(acumulado, evento);
    acumulado.Tipo = interrupcion ? kInterrupcion : kHueco;
    return true;
}

} // namespace

void CEvento::AnadirIndice(std::int32_t indice) {
    if (std::find(Indices.begin(), Indices.end(), indice) == Indices.end())
        Indices.push_back(indice);
}

void CEvento::AnadirIndices(const std::vector<std::int32_t>& otros) {
    for (const std::int32_t i : otros)
        AnadirIndice(i);
}

Clasificacion ClasificarEvento(double duracion, double valor, int nivelInterrupcion, int nivelHueco,
                               int nivelSobretension) {
    Clasificacion c;
    c.DuracionExacta = !(duracion < 0.0);
    c.Duracion = duracion < 0.0 ? -duracion : duracion;
    const double li = nivelInterrupcion * 0.1;
    const double lh = nivelHueco * 0.1;
    const double ls = nivelSobretension * 0.1;
    if (valor >= ls) {
        c.Tipo = kSobretension;
    } else if (valor < li) {
        c.Tipo = kInterrupcion;
    } else if (valor <= lh) {
        c.Tipo = kHueco;
    } else {
        // Between the sag and overvoltage levels: the kind of the nearest level.
        const double ds = std::fabs(valor - ls);
        const double di = std::fabs(valor - li);
        const double dh = std::fabs(valor - lh);
        if (ds <= di && ds <= dh)
            c.Tipo = kSobretension;
        else if (dh <= di && dh <= ds)
            c.Tipo = kHueco;
        else
            c.Tipo = kInterrupcion;
    }
    return c;
}

TTiempo FinEvento(const CEvento& evento) {
    return MasMilesimas(evento.Inicio, MilesimasEnteras(evento.Duracion));
}

bool Fusionar(CEvento& a, const CEvento& b, int histeresis) {
    const long long duracion = MilesimasEnteras(a.Duracion);
    if (MasMilesimas(a.Inicio, duracion + histeresis) < b.Inicio)
        return false;
    const TTiempo fin = MasMilesimas(a.Inicio, duracion);
    if (fin <= b.Inicio)
        a.Duracion += DiferenciaMilesimas(b.Inicio, fin);
    else
        a.Duracion = DiferenciaMilesimas(b.Inicio, a.Inicio);
    return true;
}

void Acumular(CEvento& a, const CEvento& b) {
    a.ValorMedio = MediaPonderada(a, b);
    a.Duracion += b.Duracion;
    AcumularExtremo(a, b);
    a.DuracionExacta = b.DuracionExacta;
}

void CListaEventos::Extremos::Reiniciar() {
    minima.fill(kMinimoInicial);
    maxima.fill(kMaximoInicial);
}

void CListaEventos::Extremos::Actualizar(int fase, double duracion) {
    if (fase < 1 || fase > 3)
        return;
    const size_t i = static_cast<size_t>(fase - 1);
    minima[i] = std::min(minima[i], duracion);
    maxima[i] = std::max(maxima[i], duracion);
}

CListaEventos::CListaEventos() {
    m_extremosBrutos.Reiniciar();
    m_extremosCompactados.Reiniciar();
    m_extremosTrifasicos.Reiniciar();
}

CListaEventos::Vista& CListaEventos::vista(Destino destino) {
    switch (destino) {
    case Destino::Compactados:
        return EventosCompactados;
    case Destino::Trifasicos:
        return EventosTrifasicos;
    case Destino::Brutos:
        break;
    }
    return Eventos;
}

const CListaEventos::Vista& CListaEventos::DameVista(Destino destino) const {
    return const_cast<CListaEventos*>(this)->vista(destino);
}

const CListaEventos::Vista& CListaEventos::vistaActual() const {
    if (Trifasico)
        return EventosTrifasicos;
    return Compactado ? EventosCompactados : Eventos;
}

CListaEventos::Extremos& CListaEventos::extremos(Destino destino) {
    switch (destino) {
    case Destino::Compactados:
        return m_extremosCompactados;
    case Destino::Trifasicos:
        return m_extremosTrifasicos;
    case Destino::Brutos:
        break;
    }
    return m_extremosBrutos;
}

const CListaEventos::Extremos& CListaEventos::extremosActuales() const {
    if (Trifasico)
        return m_extremosTrifasicos;
    return Compactado ? m_extremosCompactados : m_extremosBrutos;
}

int CListaEventos::NumeroEventos() const {
    return static_cast<int>(vistaActual().size());
}

const CEvento* CListaEventos::Evento(int indice, bool soloBrutos) const {
    const Vista& v = soloBrutos ? Eventos : vistaActual();
    if (indice < 0 || indice >= static_cast<int>(v.size()))
        return nullptr;
    return v[static_cast<size_t>(indice)].get();
}

CEvento CListaEventos::DameEvento(int indice, bool soloBrutos) const {
    const CEvento* e = Evento(indice, soloBrutos);
    return e != nullptr ? *e : CEvento{};
}

double CListaEventos::DameDuracionMinima(int fase) const {
    if (Trifasico)
        return m_extremosTrifasicos.minima[0];
    if (fase < 0 || fase > 2)
        return kMinimoInicial;
    return extremosActuales().minima[static_cast<size_t>(fase)];
}

double CListaEventos::DameDuracionMaxima(int fase) const {
    if (Trifasico)
        return m_extremosTrifasicos.maxima[0];
    if (fase < 0 || fase > 2)
        return kMaximoInicial;
    return extremosActuales().maxima[static_cast<size_t>(fase)];
}

double CListaEventos::DameDuracionMaximaVista() const {
    if (Trifasico)
        return m_extremosTrifasicos.maxima[0];
    const Extremos& e = extremosActuales();
    return *std::max_element(e.maxima.begin(), e.maxima.end());
}

bool CListaEventos::AnadirEvento(const TTiempo& inicio, double duracion, int fase, unsigned char tipo,
                                 double previo, double medio, double extremo, bool exacta) {
    if (fase < 1 || fase > 3 || !EsTipo(tipo)) {
        ++m_registrados;
        return false;
    }
    CEvento e;
    e.Inicio = inicio;
    e.Duracion = duracion;
    e.Fase = static_cast<std::int8_t>(fase);
    e.Tipo = tipo;
    e.ValorPrevio = previo;
    e.ValorMedio = medio;
    e.ValorExtremo = extremo;
    e.DuracionExacta = exacta;
    e.Registro = m_registrados++;
    return InsertarEvento(Destino::Brutos, e);
}

bool CListaEventos::InsertarEvento(Destino destino, const CEvento& evento) {
    if (evento.Fase < 1 || evento.Fase > 3 || !EsTipo(evento.Tipo))
        return false;
    Vista& v = vista(destino);
    const int posicion = PosicionInsercion(v, evento);
    v.insert(v.begin() + posicion, std::make_unique<CEvento>(evento));
    CEvento& insertado = *v[static_cast<size_t>(posicion)];
    if (destino == Destino::Brutos) {
        // A recorded event that lands before others moves them up by one: every index that
        // names them must follow, or a later compaction would point at the wrong samples.
        if (posicion + 1 < static_cast<int>(v.size())) {
            for (Vista* w : {&Eventos, &EventosCompactados, &EventosTrifasicos}) {
                for (auto& e : *w) {
                    if (e.get() == &insertado)
                        continue;
                    for (std::int32_t& i : e->Indices) {
                        if (i >= posicion)
                            ++i;
                    }
                }
            }
        }
        insertado.AnadirIndice(posicion);
    } else {
        Enlazar(insertado);
    }
    extremos(destino).Actualizar(destino == Destino::Trifasicos ? 1 : insertado.Fase, insertado.Duracion);
    return true;
}

void CListaEventos::Enlazar(CEvento& evento) const {
    if (evento.Indices.empty())
        return;
    const TTiempo fin = FinEvento(evento);
    const long long desde = std::max<long long>(0, static_cast<long long>(evento.Indices.front()) - 3);
    for (size_t j = static_cast<size_t>(desde); j < Eventos.size(); ++j) {
        const CEvento& bruto = *Eventos[j];
        if (bruto.Inicio >= fin)
            break;
        if (FinEvento(bruto) > evento.Inicio)
            evento.AnadirIndice(static_cast<std::int32_t>(j));
    }
}

void CListaEventos::EnlazarEventosBrutos() {
    for (size_t p = 0; p < Eventos.size(); ++p) {
        CEvento& e = *Eventos[p];
        e.Indices.clear();
        e.AnadirIndice(static_cast<std::int32_t>(p));
        Enlazar(e);
    }
}

void CListaEventos::Vaciar(Destino destino) {
    vista(destino).clear();
    extremos(destino).Reiniciar();
}

void CListaEventos::PonerHisteresis(int milisegundos) {
    if (milisegundos == Histeresis)
        return;
    Histeresis = milisegundos;
    if (Compactado)
        Descompactar();
}

bool CListaEventos::Compactar() {
    if (Compactado)
        return true;
    Compactado = true;
    Vaciar(Destino::Compactados);
    // One accumulator per phase for overvoltages and one for sags and interruptions.
    std::array<CEvento, 3> sobretensiones;
    std::array<CEvento, 3> huecos;
    for (size_t i = 0; i < Eventos.size(); ++i) {
        const CEvento& r = *Eventos[i];
        const size_t f = static_cast<size_t>(r.Fase - 1);
        CEvento& acumulado = r.Tipo == kSobretension ? sobretensiones[f] : huecos[f];
        if (!IntentarFusion(acumulado, r, Histeresis)) {
            InsertarEvento(Destino::Compactados, acumulado);
            acumulado = r;
        }
        acumulado.AnadirIndice(static_cast<std::int32_t>(i));
    }
    for (const auto* grupo : {&sobretensiones, &huecos}) {
        for (const CEvento& a : *grupo) {
            if (!a.Vacio())
                InsertarEvento(Destino::Compactados, a);
        }
    }
    return true;
}

bool CListaEventos::Descompactar() {
    if (Compactado) {
        Vaciar(Destino::Compactados);
        Compactado = false;
    }
    return true;
}

bool CListaEventos::EliminarEvento(Destino destino, int indice) {
    Vista& v = vista(destino);
    if (indice < 0 || indice >= static_cast<int>(v.size()))
        return false;
    v.erase(v.begin() + indice);
    return true;
}

bool CListaEventos::CalcularTrifasicos() {
    Vaciar(Destino::Trifasicos);
    const Vista& fuente = Compactado ? EventosCompactados : Eventos;
    std::array<CEvento, 3> fases; // the running event of each phase
    CEvento s3, h3, i3;
    const auto cuantas = [&fases](unsigned char tipo) {
        return std::count_if(fases.begin(), fases.end(), [tipo](const CEvento& e) { return e.Tipo == tipo; });
    };
    const auto cerrar = [this](CEvento& acumulado) {
        InsertarEvento(Destino::Trifasicos, acumulado);
        acumulado = CEvento{};
    };
    for (const auto& puntero : fuente) {
        const CEvento& r = *puntero;
        const size_t f = static_cast<size_t>(r.Fase - 1);
        // Phase events that have ended by the time this one starts are dropped; the event's
        // own phase is extended to its start when it continues the same kind.
        for (size_t k = 0; k < fases.size(); ++k) {
            CEvento& p = fases[k];
            if (p.Vacio())
                continue;
            if (k == f) {
                if (p.Tipo != r.Tipo || !Fusionar(p, r, 0))
                    p = CEvento{};
            } else {
                CEvento copia = p;
                if (!Fusionar(copia, r, 0))
                    p = CEvento{};
            }
        }
        if (cuantas(kSobretension) == 0 && !s3.Vacio())
            cerrar(s3);
        if (cuantas(kHueco) == 0 && !h3.Vacio())
            cerrar(h3);
        if (cuantas(kInterrupcion) == 0 && !h3.Vacio() && h3.Tipo == kInterrupcion)
            cerrar(h3);
        if (cuantas(kInterrupcion) < 3 && !i3.Vacio())
            cerrar(i3);

        CEvento& propia = fases[f];
        if (propia.Vacio())
            propia = r;
        else
            Acumular(propia, r);
        propia.AnadirIndices(r.Indices);

        if (r.Tipo == kHueco) {
            AcumularTrifasico(h3, r, false);
        } else if (r.Tipo == kSobretension) {
            AcumularTrifasico(s3, r, false);
        } else if (cuantas(kInterrupcion) == 3 && i3.Vacio()) {
            // A three-phase interruption lasts while all phases are out: from the latest
            // start to the earliest end.
            if (fases[0].Inicio < fases[1].Inicio) {
                i3 = fases[1];
                AcumularTrifasico(i3, fases[0], true);
            } else {
                i3 = fases[0];
                AcumularTrifasico(i3, fases[1], true);
            }
            if (i3.Inicio < fases[2].Inicio) {
                const CEvento anterior = i3;
                i3 = fases[2];
                AcumularTrifasico(i3, anterior, true);
            } else {
                AcumularTrifasico(i3, fases[2], true);
            }
        } else if (!i3.Vacio()) {
            AcumularTrifasico(i3, r, true);
        }
    }
    for (CEvento* a : {&s3, &h3, &i3}) {
        if (!a->Vacio())
            InsertarEvento(Destino::Trifasicos, *a);
    }
    DepurarTrifasicos();
    // The clean-up cuts and removes events: the extremes are those of what is left.
    m_extremosTrifasicos.Reiniciar();
    for (const auto& e : EventosTrifasicos)
        m_extremosTrifasicos.Actualizar(1, e->Duracion);
    return true;
}

void CListaEventos::DepurarTrifasicos() {
    Vista& e = EventosTrifasicos;
    const auto hay = [&e](int j) { return j >= 0 && j + 1 < static_cast<int>(e.size()); };
    const auto tipo = [&e](int j) { return e[static_cast<size_t>(j)]->Tipo; };
    for (int j = 0; j < static_cast<int>(e.size()) - 1; ++j) {
        // A sag that runs into an interruption ends where the interruption starts.
        if (tipo(j) == kHueco && tipo(j + 1) == kInterrupcion) {
            CEvento& hueco = *e[static_cast<size_t>(j)];
            Fusionar(hueco, *e[static_cast<size_t>(j + 1)], 0);
            if (hueco.Duracion == 0.0) {
                EliminarEvento(Destino::Trifasicos, j);
                --j;
            }
        }
        // A sag that starts with an interruption is part of it.
        if (hay(j) && tipo(j) == kInterrupcion && tipo(j + 1) == kHueco) {
            CEvento copia = *e[static_cast<size_t>(j + 1)];
            Fusionar(copia, *e[static_cast<size_t>(j)], 0);
            if (copia.Duracion == 0.0) {
                EliminarEvento(Destino::Trifasicos, j + 1);
                --j;
            }
        }
        // Of two overlapping sags the first stays, unless both start together.
        if (hay(j) && tipo(j) == kHueco && tipo(j + 1) == kHueco) {
            CEvento copia = *e[static_cast<size_t>(j)];
            if (Fusionar(copia, *e[static_cast<size_t>(j + 1)], 0)) {
                EliminarEvento(Destino::Trifasicos, copia.Duracion == 0.0 ? j : j + 1);
                --j;
            }
        }
    }
}
