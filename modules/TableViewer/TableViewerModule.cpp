// Entry point of TableViewer.vlk, looked up by name.

#include "DataTableWindow.h"
#include "ModuleEntries.h"
#include "ObjGen.h"
#include "ServidorMonitores.h"
#include "UserInteraction.h"

#include <type_traits>

extern "C" {

// Opens a table of the records' data. The window keeps its own copy of the data, so it stays
// open after the caller releases the returned object.
__attribute__((visibility("default"))) ObjGen* _DameObjeto2(int, ServidorMonitores* servidor, DrivFlex*,
                                                            TValorMultiple* registros) {
    DataTableWindow* window = nullptr;
    {
        // Filling the table of a long recording takes as long as reading it.
        host::WaitCursor wait;
        window = new DataTableWindow(RecordData::load(registros));
    }
    if (servidor != nullptr)
        servidor->MostrarVentana(window);
    else
        window->show();
    return new ObjGen;
}
}

static_assert(std::is_same_v<decltype(&_DameObjeto2), ModuloRegistrosFn>);
