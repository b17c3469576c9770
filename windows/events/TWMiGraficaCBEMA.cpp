#include "TWMiGraficaCBEMA.h"

#include "ChartProperties.h"
#include "Contrato.h"
#include "CurvasTolerancia.h"
#include "Textos.h"
#include "UserInteraction.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QJsonObject>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {

// Fields after the three common settings of the curves record.
int CampoCurva(const PropiedadesEventos& p) {
    return p.CampoVerTrifasicos() + 1;
}

// Voltages below this are drawn on a scale that still shows the curves' knees.
constexpr double kVoltajeMinimoEscala = 160.0;

} // namespace

TWConfigurarCBEMA::TWConfigurarCBEMA(const PropiedadesEventos& propiedades, const NivelesInstrumento& niveles,
                                     QWidget* padre)
    : TWConfigurarEventos(propiedades, niveles, padre) {
    setObjectName(QStringLiteral("TWConfigurarCBEMA"));
    setWindowTitle(Texto(TXT_CB_CAPTION));
    Compactar->setText(Texto(TXT_CB_COMPACT));
    GBCurves = new QGroupBox(Texto(TXT_CB_CURVES), this);
    GBCurves->setObjectName(QStringLiteral("GBCurves"));
    auto* l = new QVBoxLayout(GBCurves);
    RBCBEMA = new QRadioButton(Texto(TXT_CB_CBEMA), GBCurves);
    RBCBEMA->setObjectName(QStringLiteral("RBCBEMA"));
    RBITIC = new QRadioButton(Texto(TXT_CB_ITIC), GBCurves);
    RBITIC->setObjectName(QStringLiteral("RBITIC"));
    RBSEMIF47 = new QRadioButton(Texto(TXT_CB_SEMIF47), GBCurves);
    RBSEMIF47->setObjectName(QStringLiteral("RBSEMIF47"));
    CBVerOk = new QCheckBox(Texto(TXT_CB_SEE_OK), GBCurves);
    CBVerOk->setObjectName(QStringLiteral("CBVerOk"));
    CBVerNoOk = new QCheckBox(Texto(TXT_CB_SEE_NOT_OK), GBCurves);
    CBVerNoOk->setObjectName(QStringLiteral("CBVerNoOk"));
    // The plain CBEMA curve is kept for stored settings only: it is never offered.
    RBCBEMA->setVisible(false);
    for (QWidget* w :
         {static_cast<QWidget*>(RBCBEMA), static_cast<QWidget*>(RBITIC), static_cast<QWidget*>(RBSEMIF47),
          static_cast<QWidget*>(CBVerOk), static_cast<QWidget*>(CBVerNoOk)})
        l->addWidget(w);
    Extra()->addWidget(GBCurves);

    switch (propiedades.Curva()) {
    case CURVA_CBEMA:
        RBCBEMA->setChecked(true);
        break;
    case CURVA_SEMIF47:
        RBSEMIF47->setChecked(true);
        break;
    default:
        RBITIC->setChecked(true);
        break;
    }
    CBVerOk->setChecked(propiedades.VerOk());
    CBVerNoOk->setChecked(propiedades.VerNoOk());
}

void TWConfigurarCBEMA::LeerExtra(PropiedadesEventos& p) const {
    const int curva =
        RBCBEMA->isChecked() ? CURVA_CBEMA : (RBSEMIF47->isChecked() ? CURVA_SEMIF47 : CURVA_ITIC);
    p.PonerValor(CampoCurva(p), curva);
    p.PonerValor(CampoCurva(p) + 1, CBVerOk->isChecked() ? 1 : 0);
    p.PonerValor(CampoCurva(p) + 2, CBVerNoOk->isChecked() ? 1 : 0);
}

TWMiGraficaCBEMA::TWMiGraficaCBEMA(QWidget* propietario, TDriverVentana* driver, ServidorMonitores* servidor,
                                   ListasAtributos& listas, DrivFlex* fuente)
    : TWEventos(propietario, driver, servidor, listas, fuente, TipoPropiedades::CBEMA) {}

bool TWMiGraficaCBEMA::EjecutarDialogo(PropiedadesEventos& propiedades) {
    TWConfigurarCBEMA dialogo(propiedades, m_niveles, this);
    if (host::DialogRunner::exec(dialogo) != QDialog::Accepted)
        return false;
    propiedades = dialogo.Resultado();
    return true;
}

void TWMiGraficaCBEMA::ConstruirEjes() {
    Pe.ponerEntero(PEP_XSERIALDATES, 0);
    Pe.ponerEntero(PEP_XLOGSCALE, 1);
    Pe.ponerEntero(PEP_MANUALXSCALE, 1);
    Pe.ponerDouble(PEP_MANUALXMIN, kDuracionMinima);
    Pe.ponerDouble(PEP_MANUALXMAX, kDuracionMaxima);
    Pe.ponerTexto(PEP_XAXISLABEL, Texto(TXT_CB_AXIS_DURATION));
}

double TWMiGraficaCBEMA::ValorPunto(const CEvento& e) const {
    // Three-phase events are shown whatever the OK / not-OK filter says.
    if (m_eventos.Trifasico)
        return e.ValorExtremo;
    return JuzgarEvento(e.ValorExtremo, e.Duracion * 0.001, m_propiedades.Curva(), m_propiedades.VerOk(),
                        m_propiedades.VerNoOk());
}

void TWMiGraficaCBEMA::PuntosIntervalo(int primero, int ultimo, std::vector<double>& x,
                                       std::vector<double>& y) {
    for (int s = 0; s < NumSeries; ++s) {
        for (int i = primero; i <= ultimo; ++i) {
            const CEvento* e = m_eventos.Evento(m_puntos.Evento(s, i));
            x.push_back(e != nullptr ? std::max(kDuracionMinima, e->Duracion * 0.001) : kDuracionMinima);
            y.push_back(m_puntos.Valor(s, i));
        }
    }
}

void TWMiGraficaCBEMA::Anotaciones() {
    std::vector<double> x;
    std::vector<double> y;
    std::vector<std::int32_t> tipos;
    std::vector<std::int32_t> colores;
    const std::int32_t color = ColorFondo == 0 ? 0xFFFFFF : 0x000000;
    for (const PuntoCurva& p : PuntosCurva(m_propiedades.Curva())) {
        x.push_back(p.segundos);
        y.push_back(p.valor);
        tipos.push_back(p.inicio ? PEGA_STARTPOLYLINE : PEGA_CONTINUEPOLYLINE);
        colores.push_back(color);
    }
    Pe.ponerArray(PEP_GANNOTX, x);
    Pe.ponerArray(PEP_GANNOTY, y);
    Pe.ponerArray(PEP_GANNOTTYPES, tipos);
    Pe.ponerArray(PEP_GANNOTCOLORS, colores);
    Pe.ponerEntero(PEP_FORCEDMETHOD, PEMF_POINTS);

    // Voltages from 0, where the curves start, up to above every event and threshold line.
    double maximo = kVoltajeMinimoEscala;
    for (const EventoRegistrado& m : m_muestras) {
        if (std::isfinite(m.extremo))
            maximo = std::max(maximo, m.extremo * 1.05);
    }
    for (const int ver : {EV_VERS, EV_VERH, EV_VERI}) {
        if (m_propiedades.Valor(ver) != 0)
            maximo = std::max(maximo, m_propiedades.Valor(ver + 1) * 0.1 * 1.05);
    }
    Pe.ponerEntero(PEP_WORKINGAXIS, 0);
    Pe.ponerEntero(PEP_MANUALYSCALE, 1);
    Pe.ponerDouble(PEP_MANUALYMIN, 0.0);
    Pe.ponerDouble(PEP_MANUALYMAX, maximo);
}

QString TWMiGraficaCBEMA::TextoCursor() {
    const QString lectura = TWEventos::TextoCursor();
    if (lectura.isEmpty())
        return lectura;
    return QStringLiteral("|%1 (%2)|\t").arg(Texto(TXT_CB_DURATION), Texto(TXT_UNIT_SECONDS)) + lectura;
}

QJsonObject TWMiGraficaCBEMA::Describir() {
    QJsonObject r = TWEventos::Describir();
    const int curva = m_propiedades.Curva();
    r.insert(QStringLiteral("curve"), curva);
    int ok = 0;
    int noOk = 0;
    for (int i = 0; i < m_eventos.NumeroEventos(); ++i) {
        const CEvento* e = m_eventos.Evento(i);
        if (e == nullptr)
            continue;
        (DentroDeCurva(curva, e->ValorExtremo, e->Duracion * 0.001) ? ok : noOk)++;
    }
    r.insert(QStringLiteral("ok"), ok);
    r.insert(QStringLiteral("not_ok"), noOk);
    return r;
}
