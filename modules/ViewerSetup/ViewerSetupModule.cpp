// Entry point of ViewerSetup.vlk, looked up by name.

#include "ModuleEntries.h"
#include "ViewerSetupObjects.h"

#include <type_traits>

namespace {
constexpr int kModeSelector = -3;
constexpr int kModeConfigurator = 5;
} // namespace

extern "C" {

__attribute__((visibility("default"))) ObjGen* _DameObjeto(ServidorMonitores*, QWidget* ventana, int modo,
                                                           DrivFlex* driver) {
    switch (modo) {
    case kModeSelector:
        return new GraphSelectorObject(ventana, driver);
    case kModeConfigurator:
        return new GraphConfiguratorObject(ventana, driver);
    default:
        return nullptr;
    }
}
}

// Keeps the exported signature in step with the host's declaration.
static_assert(std::is_same_v<decltype(&_DameObjeto), ViewerSetupFn>);
