#include "TWMiGraficaEH.h"

#include "ChartProperties.h"
#include "Contrato.h"
#include "Textos.h"
#include "UserInteraction.h"

#include <QCheckBox>
#include <QVBoxLayout>

namespace {

// Milliseconds in the chart's date unit (days).
constexpr double kDiasPorMilisegundo = 1.1574074074074074e-08;

} // namespace

TWConfigurarEH::TWConfigurarEH(const PropiedadesEventos& propiedades, const NivelesInstrumento& niveles,
                               QWidget* padre)
    : TWConfigurarEventos(propiedades, niveles, padre) {
    setObjectName(QStringLiteral("TWConfigurarEH"));
    setWindowTitle(Texto(TXT_EH_CAPTION));
    VerDuraciones = new QCheckBox(Texto(TXT_EH_SEE_DURATIONS), this);
    VerDuraciones->setObjectName(QStringLiteral("VerDuraciones"));
    VerDuraciones->setChecked(propiedades.VerDuraciones());
    Extra()->addWidget(VerDuraciones);
}

void TWConfigurarEH::LeerExtra(PropiedadesEventos& p) const {
    p.PonerValor(EV_NUM_COMUNES, VerDuraciones->isChecked() ? 1 : 0);
}

TWMiGraficaEH::TWMiGraficaEH(QWidget* propietario, TDriverVentana* driver, ServidorMonitores* servidor,
                             ListasAtributos& listas, DrivFlex* fuente)
    : TWEventos(propietario, driver, servidor, listas, fuente, TipoPropiedades::EH) {}

bool TWMiGraficaEH::EjecutarDialogo(PropiedadesEventos& propiedades) {
    TWConfigurarEH dialogo(propiedades, m_niveles, this);
    if (host::DialogRunner::exec(dialogo) != QDialog::Accepted)
        return false;
    propiedades = dialogo.Resultado();
    return true;
}

void TWMiGraficaEH::ConstruirEjes() {
    Pe.ponerEntero(PEP_XSERIALDATES, 1);
    m_fechas.clear();
    m_fechas.reserve(m_tiempos.size());
    for (const TTiempo& t : m_tiempos)
        m_fechas.push_back(FechaSerie(t));
}

void TWMiGraficaEH::PuntosIntervalo(int primero, int ultimo, std::vector<double>& x, std::vector<double>& y) {
    for (int s = 0; s < NumSeries; ++s) {
        for (int i = primero; i <= ultimo; ++i) {
            x.push_back(m_fechas[static_cast<size_t>(i)]);
            y.push_back(m_puntos.Valor(s, i));
        }
    }
}

std::vector<TWMiGraficaEH::Segmento> TWMiGraficaEH::Segmentos() const {
    std::vector<Segmento> r;
    if (!m_propiedades.VerDuraciones())
        return r;
    const Agrupacion::Intervalo rango = RangoMostrado();
    for (int s = 0; s < NumSeries; ++s) {
        const std::int32_t color =
            static_cast<std::int32_t>(ColorPaleta(m_propiedades.Valor(CampoColorPunto(s))));
        for (int i = rango.primero; i <= rango.ultimo; ++i) {
            const CEvento* e = m_eventos.Evento(m_puntos.Evento(s, i));
            if (e == nullptr || m_puntos.Valor(s, i) == kValorNulo)
                continue;
            const double desde = m_fechas[static_cast<size_t>(i)];
            r.push_back({desde, desde + e->Duracion * kDiasPorMilisegundo, m_puntos.Valor(s, i), color});
        }
    }
    return r;
}

void TWMiGraficaEH::Anotaciones() {
    std::vector<double> x;
    std::vector<double> y;
    std::vector<std::int32_t> tipos;
    std::vector<std::int32_t> colores;
    for (const Segmento& s : Segmentos()) {
        x.insert(x.end(), {s.desde, s.hasta});
        y.insert(y.end(), {s.valor, s.valor});
        tipos.insert(tipos.end(), {PEGA_STARTPOLYLINE, PEGA_CONTINUEPOLYLINE});
        colores.insert(colores.end(), {s.color, s.color});
    }
    Pe.ponerArray(PEP_GANNOTX, x);
    Pe.ponerArray(PEP_GANNOTY, y);
    Pe.ponerArray(PEP_GANNOTTYPES, tipos);
    Pe.ponerArray(PEP_GANNOTCOLORS, colores);
}
