// The three factories the host looks up by name in PlotCore.vlk. Each returns a new selection
// driver, or null when it cannot be allocated; errors raised while building leave as the host's
// exception.

#include "ModuleEntries.h"
#include "TGrafica.h"

#include <new>

extern "C" {

__attribute__((visibility("default"))) DrivFlex* _DameObjeto(int, ServidorMonitores* servidor,
                                                             DrivFlex* fuente) {
    return new (std::nothrow) TGrafica(servidor, fuente);
}

__attribute__((visibility("default"))) DrivFlex* _DameObjeto1(int, ServidorMonitores* servidor,
                                                              TValorMultiple* seleccion) {
    return new (std::nothrow) TGrafica(servidor, seleccion);
}

__attribute__((visibility("default"))) DrivFlex* _DameObjeto2(int, ServidorMonitores* servidor,
                                                              DrivFlex* fuente, TValorMultiple* seleccion) {
    return new (std::nothrow) TGrafica(servidor, fuente, seleccion);
}
}
