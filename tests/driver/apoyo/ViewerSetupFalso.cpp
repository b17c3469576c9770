// A stand-in for the graph selector of the configuration module: it records the commands it
// receives and selects nothing, as a cancelled dialog does.

#include "Comando.h"
#include "DrivFlex.h"
#include "ServidorMonitores.h"
#include "TValorMultiple.h"

#include <string>

namespace {

std::string& registro() {
    static std::string r;
    return r;
}

class DialogoFalso : public DrivFlex {
public:
    ~DialogoFalso() override { registro() += "destruido;"; }
    int Iniciar() override {
        registro() += "Iniciar;";
        return 0;
    }

protected:
    int AtenderComando(Comando* comando, TValorMultiple*, int, ObjGen*) override {
        registro() += std::to_string(comando->Numero());
        if (comando->NumParams() > 0)
            registro() += ":" + comando->Param(0).ComoTexto();
        registro() += ";";
        return 0;
    }
};

} // namespace

#define EXPORTAR extern "C" __attribute__((visibility("default")))

EXPORTAR ObjGen* _DameObjeto(ServidorMonitores*, QWidget* ventana, int modo, DrivFlex*) {
    registro() += "modo " + std::to_string(modo) + (ventana ? " con ventana;" : ";");
    return new DialogoFalso;
}

EXPORTAR void FalsoViewerPreparar() {
    registro().clear();
}

EXPORTAR const char* FalsoViewerRegistro() {
    return registro().c_str();
}
