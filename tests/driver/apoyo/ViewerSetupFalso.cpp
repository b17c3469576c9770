// A stand-in for the graph selector of the configuration module: it records the commands it
// receives and answers command 400 with the selection a test prepared (none: cancelled).

#include "Comando.h"
#include "DrivFlex.h"
#include "ServidorMonitores.h"
#include "TValorMultiple.h"

#include <string>
#include <vector>

namespace {

struct Estado {
    std::vector<std::int32_t> seleccion;
    std::string registro;
};

Estado& estado() {
    static Estado e;
    return e;
}

class DialogoFalso : public DrivFlex {
public:
    ~DialogoFalso() override { estado().registro += "destruido;"; }
    int Iniciar() override {
        estado().registro += "Iniciar;";
        return 0;
    }

protected:
    int AtenderComando(Comando* comando, TValorMultiple* respuesta, int, ObjGen*) override {
        estado().registro += std::to_string(comando->Numero());
        if (comando->NumParams() > 0)
            estado().registro += ":" + comando->Param(0).ComoTexto();
        estado().registro += ";";
        if (comando->Numero() == 400 && !estado().seleccion.empty() && respuesta != nullptr) {
            respuesta->EntrarEnteros(estado().seleccion);
            return 1;
        }
        return 0;
    }
};

} // namespace

#define EXPORTAR extern "C" __attribute__((visibility("default")))

EXPORTAR ObjGen* _DameObjeto(ServidorMonitores*, QWidget* ventana, int modo, DrivFlex*) {
    estado().registro += "modo " + std::to_string(modo) + (ventana ? " con ventana;" : ";");
    return new DialogoFalso;
}

EXPORTAR void FalsoViewerPreparar(const std::int32_t* seleccion, int cuenta) {
    estado().seleccion.assign(seleccion, seleccion + cuenta);
    estado().registro.clear();
}

EXPORTAR const char* FalsoViewerRegistro() {
    return estado().registro.c_str();
}
