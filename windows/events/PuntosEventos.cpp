#include "PuntosEventos.h"

#include "Contrato.h"
#include "TValorMultiple.h"

#include <algorithm>

namespace {

// The columns of list 8, four rows per data object in this order.
enum ColumnaAdicional { COL_DURACION = 0, COL_FASE, COL_MEDIO, COL_PREVIO, NUM_COLUMNAS };

double Celda(const TValorMultiple& lista, int fila, int indice) {
    if (fila < 0 || fila >= lista.Cuenta() || indice >= lista.Elementos(fila))
        return 0.0;
    return lista.Numero(fila, indice);
}

int FaseRegistrada(const EventoRegistrado& m) {
    return m.fase >= 0.0 && m.fase < 4.0 ? static_cast<int>(m.fase) : 0;
}

} // namespace

std::vector<EventoRegistrado> LeerMuestras(const TValorMultiple& valores, const TValorMultiple& tiempos,
                                           const TValorMultiple& adicionales) {
    std::vector<EventoRegistrado> muestras;
    const int objetos = std::min(valores.Cuenta(), tiempos.Cuenta());
    for (int o = 0; o < objetos; ++o) {
        const TTiempo* t = tiempos.Tiempos(o);
        if (t == nullptr)
            continue;
        const int n = tiempos.Elementos(o);
        const int base = o * NUM_COLUMNAS;
        for (int i = 0; i < n; ++i) {
            EventoRegistrado m;
            m.inicio = t[i];
            m.extremo = Celda(valores, o, i);
            m.duracion = Celda(adicionales, base + COL_DURACION, i);
            m.fase = Celda(adicionales, base + COL_FASE, i);
            m.medio = Celda(adicionales, base + COL_MEDIO, i);
            m.previo = Celda(adicionales, base + COL_PREVIO, i);
            muestras.push_back(m);
        }
    }
    return muestras;
}

int BuscarRanura(const std::vector<EventoRegistrado>& muestras, const CEvento& evento, bool trifasico) {
    const int n = static_cast<int>(muestras.size());
    if (n == 0)
        return -1;
    const TTiempo& inicio = evento.Inicio;
    int bajo = 0;
    int alto = n - 1;
    int hallada = -1;
    while (bajo <= alto) {
        const int medio = bajo + (alto - bajo) / 2;
        const TTiempo& t = muestras[static_cast<size_t>(medio)].inicio;
        if (t == inicio) {
            hallada = medio;
            break;
        }
        if (t < inicio)
            bajo = medio + 1;
        else
            alto = medio - 1;
    }
    if (hallada < 0) {
        // The interval closed between alto and bajo: the last sample not after the start.
        return std::clamp(alto, 0, n - 1);
    }
    // Samples of one instant come phase by phase: the found one's phase says how far back the
    // first of them is.
    const int atras = std::max(0, FaseRegistrada(muestras[static_cast<size_t>(hallada)]) - 1);
    const int primera = std::max(0, hallada - atras);
    for (int k = primera; k < std::min(n, primera + 3); ++k) {
        const EventoRegistrado& m = muestras[static_cast<size_t>(k)];
        if (!(m.inicio == inicio))
            continue;
        if (trifasico || FaseRegistrada(m) == evento.Fase)
            return k;
    }
    return hallada;
}

PuntosEventos CalcularPuntos(const CListaEventos& lista, const std::vector<EventoRegistrado>& muestras,
                             const std::function<double(const CEvento&)>& valor) {
    PuntosEventos p;
    p.numMuestras = static_cast<int>(muestras.size());
    const size_t n = muestras.size();
    p.valores.assign(3 * n, kValorNulo);
    p.eventos.assign(3 * n, -1);
    p.duracion.assign(n, 0.0);
    p.fase.assign(n, 0.0);
    p.medio.assign(n, 0.0);
    p.previo.assign(n, 0.0);
    for (size_t i = 0; i < n; ++i) {
        // Until an event lands there, the read-out shows what was recorded.
        const EventoRegistrado& m = muestras[i];
        p.duracion[i] = m.duracion;
        p.fase[i] = m.fase;
        p.medio[i] = m.medio;
        p.previo[i] = m.previo;
    }
    const int eventos = lista.NumeroEventos();
    for (int e = 0; e < eventos; ++e) {
        const CEvento* ev = lista.Evento(e);
        if (ev == nullptr)
            continue;
        const int ranura = BuscarRanura(muestras, *ev, lista.Trifasico);
        if (ranura < 0)
            continue;
        const int serie = lista.Trifasico ? 0 : std::clamp(static_cast<int>(ev->Fase) - 1, 0, 2);
        const size_t celda = static_cast<size_t>(serie) * n + static_cast<size_t>(ranura);
        p.valores[celda] = valor ? valor(*ev) : ev->ValorExtremo;
        p.eventos[celda] = e;
        const size_t r = static_cast<size_t>(ranura);
        p.duracion[r] = ev->DuracionExacta ? ev->Duracion : -ev->Duracion;
        p.fase[r] = ev->Fase;
        p.medio[r] = ev->ValorMedio;
        p.previo[r] = ev->ValorPrevio;
    }
    return p;
}

ConteoTipos ContarTipos(const CListaEventos& lista) {
    ConteoTipos c;
    for (int e = 0; e < lista.NumeroEventos(); ++e) {
        const CEvento* ev = lista.Evento(e);
        if (ev == nullptr)
            continue;
        if (ev->Tipo == kSobretension)
            ++c.sobretensiones;
        else if (ev->Tipo == kHueco)
            ++c.huecos;
        else if (ev->Tipo == kInterrupcion)
            ++c.interrupciones;
    }
    return c;
}

void AplicarVistas(CListaEventos& lista, const PropiedadesEventos& propiedades) {
    lista.PonerHisteresis(propiedades.Histeresis());
    if (propiedades.Compactar())
        lista.Compactar();
    else
        lista.Descompactar();
    if (propiedades.VerTrifasicos()) {
        lista.CalcularTrifasicos();
        lista.Trifasico = true;
    } else {
        lista.Trifasico = false;
    }
}

void CorregirUmbrales(PropiedadesEventos& p, const NivelesInstrumento& niveles) {
    if (p.Valor(EV_UMBRALS) < niveles.sobretension)
        p.PonerValor(EV_UMBRALS, niveles.sobretension);
    if (p.Valor(EV_UMBRALH) > niveles.hueco)
        p.PonerValor(EV_UMBRALH, niveles.hueco);
    if (p.Valor(EV_UMBRALI) > niveles.interrupcion)
        p.PonerValor(EV_UMBRALI, niveles.interrupcion);
    if (p.Valor(EV_UMBRALI) >= p.Valor(EV_UMBRALH))
        p.PonerValor(EV_UMBRALI, p.Valor(EV_UMBRALH) - 1);
}

QString EtiquetaUmbral(int decimas) {
    return QStringLiteral("|R%1%\t").arg(decimas * 0.1, 0, 'f', 1);
}
