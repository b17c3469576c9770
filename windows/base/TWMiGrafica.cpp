#include "TWMiGrafica.h"

#include "Textos.h"

namespace {

// Help context of the multigraphic window (F1).
constexpr int kContextoAyuda = 50;

} // namespace

QString TWMiGrafica::TituloVarias() const {
    return Texto(TXT_MULTIGRAPHIC);
}

int TWMiGrafica::ContextoAyuda() const {
    return kContextoAyuda;
}
