#include "GraphWindowDriver.h"

#include "TGrafica.h"
#include "TWGraficaGenerica.h"

// The graph windows live in the engine module, which the host does not link: the check goes
// by class name through the meta-object system and the call through the virtual table.
DrivFlex* driverOfGraphWindow(QWidget* window) {
    if (window == nullptr || !window->inherits("TWGraficaGenerica"))
        return nullptr;
    return static_cast<TWGraficaGenerica*>(window)->DameDriver();
}
