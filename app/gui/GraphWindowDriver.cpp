#include "GraphWindowDriver.h"

#include "DrivFlex.h"

#include <QVariant>
#include <QWidget>

// The graph windows live in the engine module, which the host does not link: a graph window
// carries its driver's handle as the property "driverHandle", and a handle whose driver is
// gone resolves to nothing.
DrivFlex* driverOfGraphWindow(QWidget* window) {
    if (window == nullptr)
        return nullptr;
    const QVariant handle = window->property("driverHandle");
    if (!handle.isValid())
        return nullptr;
    auto* driver = dynamic_cast<DrivFlex*>(ObjGen::DesdeManejador(handle.toInt()));
    if (driver != nullptr)
        driver->IncRef();
    return driver;
}
