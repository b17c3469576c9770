#include "TWRegistro.h"

#include "Agrupacion.h"
#include "ChartProperties.h"
#include "Textos.h"
#include "UserInteraction.h"

#include <QAction>

#include <algorithm>
#include <numeric>

TWRegistro::TWRegistro(QWidget* propietario, TDriverVentana* driver, ServidorMonitores* servidor,
                       ListasAtributos& listas, DrivFlex* fuente)
    : TWGraficaGenerica(propietario, driver, servidor, fuente) {
    // Registers are not regrouped in time.
    ActualizarBotonesAgrupar(Agrupacion::NIVEL_NO_DISPONIBLE, Agrupacion::NIVEL_NO_DISPONIBLE);
    TomarReferencias(listas[LV_OBJETOS]);
}

void TWRegistro::PonerRegistros(std::vector<std::pair<int, int>> registros) {
    m_registros = std::move(registros);
    VerTodos();
}

void TWRegistro::VerTodos() {
    m_visibles.resize(m_registros.size());
    std::iota(m_visibles.begin(), m_visibles.end(), 0);
    NumIntervalos = static_cast<int>(m_visibles.size());
    UltimoIntervalo = NumIntervalos - 1;
    IntervaloActual = std::clamp(IntervaloActual, 0, std::max(0, UltimoIntervalo));
    ActualizarBotonesIntervalo();
}

bool TWRegistro::VerSoloMalos(const std::function<bool(int)>& malo) {
    std::vector<int> malos;
    for (int r = 0; r < NumRegistros(); ++r) {
        if (malo(r))
            malos.push_back(r);
    }
    if (malos.empty()) {
        host::MessageService::show(this, Texto(TXT_WARNING), Texto(TXT_NO_BAD_REGISTER),
                                   host::MessageIcon::Warning);
        return false;
    }
    m_visibles = std::move(malos);
    NumIntervalos = static_cast<int>(m_visibles.size());
    UltimoIntervalo = NumIntervalos - 1;
    IntervaloActual = std::min(IntervaloActual, UltimoIntervalo);
    ActualizarBotonesIntervalo();
    return true;
}

int TWRegistro::RegistroMostrado() const {
    if (IntervaloActual < 0 || IntervaloActual >= static_cast<int>(m_visibles.size()))
        return 0;
    return m_visibles[static_cast<size_t>(IntervaloActual)];
}

void TWRegistro::RestaurarVista() {
    // The saved view's fifth integer is the register to start on.
    int registro = 0;
    if (ObjetosGrafica.Cuenta() > 0 && ObjetosGrafica.Elementos(0) > OBJ_INTERVALO)
        registro = ObjetosGrafica.Entero(0, OBJ_INTERVALO);
    IntervaloActual = std::clamp(registro, 0, std::max(0, NumIntervalos - 1));
    MostrarIntervalo();
}

void TWRegistro::MostrarIntervalo() {
    if (m_visibles.empty())
        return;
    host::WaitCursor espera;
    Ocupado = true;
    MostrarRegistro(RegistroMostrado());
    Pe.ponerEntero(PEP_ZOOMED, 0);
    ActualizarBotonesZoom(false, false);
    PonerLectura();
    Ocupado = false;
    PonerHintsRegistro();
    Redibujar();
}

void TWRegistro::PintarGrafica(const std::int32_t* colores) {
    if (colores != nullptr && NumSeries > 0)
        Pe.PEvset(Grafica, PEP_SUBSETCOLORS, colores, NumSeries);
    if (m_visibles.empty())
        return;
    // The zoom window stays: the user compares registers at the same scale.
    Ocupado = true;
    MostrarRegistro(RegistroMostrado());
    PonerLectura();
    Ocupado = false;
    Redibujar();
}

TValorMultiple TWRegistro::RegistrosLista() {
    TValorMultiple registros;
    for (int i = 0; i < ObjetosGrafica.Cuenta(); ++i)
        registros.EntrarEnteros({ObjetosGrafica.Entero(i, OBJ_CLAVE1), ObjetosGrafica.Entero(i, OBJ_CLAVE2),
                                 ObjetosGrafica.Entero(i, OBJ_DRIVER), Agrupacion::NIVEL_SIN_AGRUPAR,
                                 RegistroMostrado()});
    return registros;
}

QJsonObject TWRegistro::Describir() {
    QJsonObject r = TWGraficaGenerica::Describir();
    r.insert(QStringLiteral("registers"), NumRegistros());
    r.insert(QStringLiteral("shown_register"), RegistroMostrado());
    return r;
}
