#include "CanalesRMS.h"

#include "Contrato.h"

namespace CanalesRMS {

std::vector<bool> Presentes(const TValorMultiple& valores) {
    std::vector<bool> presentes(static_cast<size_t>(valores.Cuenta()), false);
    for (int fila = 0; fila < valores.Cuenta(); ++fila) {
        for (int i = 0; i < valores.Elementos(fila); ++i) {
            if (valores.Numero(fila, i) != kValorNulo) {
                presentes[static_cast<size_t>(fila)] = true;
                break;
            }
        }
    }
    return presentes;
}

std::vector<int> RanurasPresentes(const TValorMultiple& valores) {
    const std::vector<bool> presentes = Presentes(valores);
    std::vector<int> ranuras;
    for (size_t r = 0; r < presentes.size(); ++r) {
        if (presentes[r])
            ranuras.push_back(static_cast<int>(r));
    }
    return ranuras;
}

ListasAtributos SoloPresentes(const ListasAtributos& listas) {
    const std::vector<bool> presentes = Presentes(listas[LV_VALORES]);
    ListasAtributos r = listas;
    for (int lista :
         {LV_VALORES, LV_TIEMPOS, LV_UNIDADES, LV_NOMBRES, LV_OPCIONES, LV_INTERVALOS, LV_DECIMALES}) {
        const TValorMultiple& origen = listas[lista];
        TValorMultiple& destino = r[lista];
        destino.DeleteAll();
        for (int fila = 0; fila < origen.Cuenta(); ++fila) {
            if (fila < static_cast<int>(presentes.size()) && presentes[static_cast<size_t>(fila)])
                destino.CopiarFila(origen, fila);
        }
    }
    return r;
}

} // namespace CanalesRMS
