#include "TWMiGraficaRMS.h"

#include "CanalesRMS.h"
#include "ChartProperties.h"
#include "Textos.h"

namespace {

// An analyser's variable takes one data reference per channel slot.
constexpr int kRanuras = 6;

} // namespace

TWMiGraficaRMS::TWMiGraficaRMS(QWidget* propietario, TDriverVentana* driver, ServidorMonitores* servidor,
                               ListasAtributos& listas, DrivFlex* fuente)
    : TWSerieTemporal(propietario, driver, servidor, CanalesRMS::SoloPresentes(listas), fuente),
      m_ranuras(CanalesRMS::RanurasPresentes(listas[LV_VALORES])) {}

void TWMiGraficaRMS::Construir() {
    TWSerieTemporal::Construir();
    // Chart behaviour of the trend windows beyond the common settings.
    const int enteros[][2] = {{PEP_3642, 3}, {PEP_2605, 1}, {PEP_3231, 1}, {PEP_3232, 1}, {PEP_3290, 1},
                              {PEP_3223, 1}, {PEP_3227, 1}, {PEP_3226, 1}, {PEP_3416, 1}};
    for (const auto& p : enteros)
        Pe.ponerEntero(p[0], p[1]);
}

QString TWMiGraficaRMS::TituloVarias() const {
    return Texto(TXT_GRAPHIC_RMS);
}

bool TWMiGraficaRMS::SeguirCursor(int nivel) const {
    return nivel != Agrupacion::NIVEL_SIN_AGRUPAR;
}

TValorMultiple TWMiGraficaRMS::RegistrosLista() {
    // The table and export modules read the whole analyser from its first slot.
    const TValorMultiple todos = TWSerieTemporal::RegistrosLista();
    TValorMultiple registros;
    for (int i = 0; i < todos.Cuenta() / kRanuras; ++i)
        registros.CopiarFila(todos, i);
    return registros;
}
