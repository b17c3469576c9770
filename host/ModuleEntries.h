#pragma once

// Signatures of the factories that run-time modules export with C linkage. The first integer
// argument of the engine's factories is ignored.

#include <cstdint>

class ObjGen;
class DrivFlex;
class ServidorMonitores;
class TValorMultiple;
class QWidget;

extern "C" {
// PlotCore.vlk
typedef DrivFlex* (*DameObjetoFn)(int, ServidorMonitores* servidor, DrivFlex* fuente);
typedef DrivFlex* (*DameObjeto1Fn)(int, ServidorMonitores* servidor, TValorMultiple* seleccion);
typedef DrivFlex* (*DameObjeto2Fn)(int, ServidorMonitores* servidor, DrivFlex* fuente,
                                   TValorMultiple* seleccion);

// ViewerSetup.vlk: mode -3 builds the graph selector over the source driver; mode 5 the graph
// configurator of the given window driver. `ventana` is the window that owns the dialog.
typedef ObjGen* (*ViewerSetupFn)(ServidorMonitores* servidor, QWidget* ventana, int modo, DrivFlex* driver);

// TableViewer.vlk and DataExport.vlk: one record of integers per data object shown.
typedef ObjGen* (*ModuloRegistrosFn)(int, ServidorMonitores* servidor, DrivFlex* fuente,
                                     TValorMultiple* registros);
}
