// The intervals file reader on arbitrary bytes. Whatever it accepts must write back to the same
// list, and the list must go through everything the duration axis computes from it.
#include "IntervalosDuracion.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray texto(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    std::optional<ListaIntervalos> lista = LeerIntervalos(texto);
    if (!lista)
        return 0;
    if (lista->empty() || LeerIntervalos(FormatearIntervalos(*lista)) != lista)
        std::abort();
    const double maxima = lista->back().HastaMs() * 0.5;
    for (const Intervalo& i : *lista) {
        const double p = PosicionDuracion(i.DesdeMs(), maxima, *lista);
        if (p != kSinPosicion && p < 0.0)
            std::abort();
    }
    if (LimitesEje(*lista, maxima).size() != lista->size() + 1)
        std::abort();
    ValidarIntervalos(*lista);
    ListaIntervalos copia = *lista;
    if (ReescalarPorcentajes(copia)) {
        long long suma = 0;
        for (const Intervalo& i : copia)
            suma += i.porcentaje;
        if (suma != 100)
            std::abort();
    }
    return 0;
}
