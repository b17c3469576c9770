#include "MuestrasTES.h"

#include "Textos.h"

#include <algorithm>
#include <cmath>

std::optional<MuestrasRegistradas> CortarMuestras(const std::vector<double>& cuentas,
                                                  std::vector<TTiempo> tiempos, std::vector<double> valores,
                                                  QString* error) {
    MuestrasRegistradas m;
    const double total = static_cast<double>(std::min(tiempos.size(), valores.size()));
    double inicio = 0.0;
    m.bloques.reserve(cuentas.size());
    for (size_t k = 0; k < cuentas.size(); ++k) {
        const double c = cuentas[k];
        if (!(c >= 0.0 && c == std::floor(c) && inicio + c <= total)) {
            if (error != nullptr)
                *error = QStringLiteral("event %1: sample count %2 does not fit the %3 samples recorded")
                             .arg(k + 1)
                             .arg(c)
                             .arg(total);
            return std::nullopt;
        }
        m.bloques.push_back({static_cast<int>(inicio), static_cast<int>(c)});
        inicio += c;
    }
    m.tiempos = std::move(tiempos);
    m.valores = std::move(valores);
    return m;
}

std::vector<InstanteTES> MuestrasEvento(const CEvento& evento, const CListaEventos& lista,
                                        const MuestrasRegistradas& muestras) {
    struct Cursor {
        int fase;
        int siguiente;
        int fin;
    };
    // Blocks in raw order, so that on equal times and phases the earlier event comes first.
    std::vector<std::int32_t> indices = evento.Indices;
    std::sort(indices.begin(), indices.end());
    std::vector<Cursor> cursores;
    size_t total = 0;
    for (const std::int32_t i : indices) {
        const CEvento* bruto = lista.Evento(i, true);
        if (bruto == nullptr || bruto->Registro < 0 ||
            bruto->Registro >= static_cast<std::int32_t>(muestras.bloques.size()))
            continue;
        const MuestrasRegistradas::Bloque& b = muestras.bloques[static_cast<size_t>(bruto->Registro)];
        if (b.cuenta > 0) {
            cursores.push_back({bruto->Fase, b.inicio, b.inicio + b.cuenta});
            total += static_cast<size_t>(b.cuenta);
        }
    }
    std::vector<InstanteTES> instantes;
    instantes.reserve(total);
    int enInstante = 0;
    while (true) {
        Cursor* elegido = nullptr;
        for (Cursor& c : cursores) {
            if (c.siguiente == c.fin)
                continue;
            if (elegido == nullptr)
                elegido = &c;
            else {
                const TTiempo& t = muestras.tiempos[static_cast<size_t>(c.siguiente)];
                const TTiempo& te = muestras.tiempos[static_cast<size_t>(elegido->siguiente)];
                if (t < te || (t == te && c.fase < elegido->fase))
                    elegido = &c;
            }
        }
        if (elegido == nullptr)
            break;
        const size_t s = static_cast<size_t>(elegido->siguiente++);
        const TTiempo& t = muestras.tiempos[s];
        if (instantes.empty() || instantes.back().tiempo != t || enInstante == 3) {
            instantes.push_back(InstanteTES{t, {kSinMuestra, kSinMuestra, kSinMuestra}});
            enInstante = 0;
        }
        ++enInstante;
        // Two samples of one phase at one instant (overlapping blocks of one phase) are the
        // same sample recorded twice: the first is kept.
        double& destino = instantes.back().valores[static_cast<size_t>(elegido->fase - 1)];
        if (destino == kSinMuestra)
            destino = muestras.valores[s];
    }
    return instantes;
}

PuntosTES ConstruirPuntosTES(const CListaEventos& lista, const MuestrasRegistradas& muestras) {
    PuntosTES p;
    const int n = lista.NumeroEventos();
    p.rangos.reserve(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        std::vector<InstanteTES> de = MuestrasEvento(*lista.Evento(i), lista, muestras);
        p.rangos.emplace_back(static_cast<int>(p.instantes.size()), static_cast<int>(de.size()));
        p.instantes.insert(p.instantes.end(), de.begin(), de.end());
    }
    return p;
}

QString EtiquetaMarcadores(const CEvento& evento) {
    char inicio[48];
    char fin[48];
    evento.Inicio.ObtTexto(inicio, ' ', '.');
    FinEvento(evento).ObtTexto(fin, ' ', '.');
    return QString::asprintf(CargarTexto(TXT_FMT_TES_MARKERS), inicio, fin);
}
