// The three factories the host looks up by name in PlotCore.vlk.

#include "ModuleEntries.h"

#include <new>

extern "C" {

__attribute__((visibility("default"))) DrivFlex* _DameObjeto(int, ServidorMonitores*, DrivFlex*) {
    return nullptr;
}

__attribute__((visibility("default"))) DrivFlex* _DameObjeto1(int, ServidorMonitores*, TValorMultiple*) {
    return nullptr;
}

__attribute__((visibility("default"))) DrivFlex* _DameObjeto2(int, ServidorMonitores*, DrivFlex*,
                                                              TValorMultiple*) {
    return nullptr;
}
}
