// A stand-in for PlotCore.vlk: records the factory calls and returns empty selection drivers.

#include "FakeEngine.h"

#include "DrivFlex.h"
#include "ServidorMonitores.h"
#include "TValorMultiple.h"
#include "VTXExcepcion.h"

#include <QWidget>

namespace {

FakeEngineState& state() {
    static FakeEngineState s;
    return s;
}

DrivFlex* answer() {
    if (state().raise) {
        state().raise = false;
        VTXExcepcion::LanzarExcepcion(state().title.c_str(), state().code, state().message.c_str(),
                                      state().context.c_str());
    }
    for (int i = 0; i < state().windowsToShow && state().server != nullptr; ++i) {
        auto* graph = new QWidget;
        graph->setAttribute(Qt::WA_DeleteOnClose);
        state().server->MostrarVentana(graph);
    }
    return new DrivFlex;
}

} // namespace

extern "C" {

__attribute__((visibility("default"))) FakeEngineState* fakeEngineState() {
    return &state();
}

__attribute__((visibility("default"))) DrivFlex* _DameObjeto(int, ServidorMonitores* server,
                                                             DrivFlex* source) {
    ++state().selectorCalls;
    state().server = server;
    state().source = source;
    return answer();
}

__attribute__((visibility("default"))) DrivFlex* _DameObjeto2(int, ServidorMonitores* server,
                                                              DrivFlex* source, TValorMultiple* selection) {
    ++state().listCalls;
    state().server = server;
    state().source = source;
    state().selection.clear();
    for (int r = 0; selection && r < selection->Cuenta(); ++r) {
        const std::int32_t* row = selection->Enteros(r);
        state().selection.emplace_back(row, row + selection->Elementos(r));
    }
    return answer();
}
}
