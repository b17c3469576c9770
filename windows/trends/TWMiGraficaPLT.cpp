#include "TWMiGraficaPLT.h"

#include "ChartProperties.h"
#include "TWFlicker.h"
#include "UserInteraction.h"

#include <QJsonArray>

namespace {

constexpr std::int32_t kBlanco = 0xFFFFFF;
constexpr std::int32_t kNegro = 0x000000;
constexpr int kLineaPunteada = 2;

} // namespace

TWMiGraficaPLT::TWMiGraficaPLT(QWidget* propietario, TDriverVentana* driver, ServidorMonitores* servidor,
                               ListasAtributos& listas, DrivFlex* fuente)
    : TWSerieTemporal(propietario, driver, servidor, listas, fuente), m_pst(listas),
      m_ajustes(CalculoPlt::LeerAjustes()) {
    CalcularPlts();
}

void TWMiGraficaPLT::CalcularPlts() {
    const TValorMultiple& valores = m_pst[LV_VALORES];
    const TValorMultiple& tiempos = m_pst[LV_TIEMPOS];
    const TValorMultiple& flags = m_pst[LV_ADICIONALES];
    const TValorMultiple& opciones = m_pst[LV_OPCIONES];
    const int n = CalculoPlt::ValoresPorVentana(m_ajustes.ventana, opciones.Numero(0, OPC_PERIODO));

    m_plt.clear();
    ListasAtributos conPlt = m_pst;
    conPlt[LV_VALORES].DeleteAll();
    for (int s = 0; s < valores.Cuenta(); ++s) {
        std::vector<double> pst(static_cast<size_t>(valores.Elementos(s)));
        for (size_t i = 0; i < pst.size(); ++i)
            pst[i] = valores.Numero(s, static_cast<int>(i));
        std::vector<std::uint8_t> bytes(static_cast<size_t>(s < flags.Cuenta() ? flags.Elementos(s) : 0));
        for (size_t i = 0; i < bytes.size(); ++i)
            bytes[i] = static_cast<std::uint8_t>(flags.Entero(s, static_cast<int>(i)));
        CalculoPlt::SeriePst serie;
        serie.pst = pst.data();
        serie.tiempos = tiempos.Tiempos(s);
        serie.flags = bytes.data();
        serie.numValores =
            serie.tiempos != nullptr ? std::min(static_cast<int>(pst.size()), tiempos.Elementos(s)) : 0;
        serie.numFlags = static_cast<int>(bytes.size());
        m_plt.push_back(CalculoPlt::CalcularSerie(serie, n, m_ajustes.ignorar, m_ajustes.ventana,
                                                  opciones.Entero(s, OPC_SELECTOR_FLAG)));
        // Values past the series' own times have no Plt either.
        std::vector<double> fila = m_plt.back().valores;
        fila.resize(pst.size(), kValorNulo);
        conPlt[LV_VALORES].EntrarDoubles(fila);
    }
    CambiarDatos(conPlt);
}

void TWMiGraficaPLT::ColorearPuntos() {
    TWSerieTemporal::ColorearPuntos();
    std::vector<double> alturas;
    std::vector<std::int32_t> ejes;
    std::vector<std::int32_t> tipos;
    std::vector<std::int32_t> colores;
    if (m_ajustes.maximo != -1) {
        alturas.push_back(m_ajustes.maximo * 0.001);
        ejes.push_back(0);
        tipos.push_back(kLineaPunteada);
        colores.push_back(ColorFondo == 0 ? kBlanco : kNegro);
    }
    Pe.ponerArray(PEP_HLINEY, alturas);
    Pe.ponerArray(PEP_HLINEAXIS, ejes);
    Pe.ponerArray(PEP_HLINETYPES, tipos);
    Pe.ponerArray(PEP_HLINECOLORS, colores);
}

void TWMiGraficaPLT::Propiedades() {
    TWFlicker dialogo(this, m_ajustes);
    if (host::DialogRunner::exec(dialogo) != QDialog::Accepted)
        return;
    m_ajustes = dialogo.Ajustes();
    CalcularPlts();
    PintarGrafica(nullptr);
}

TValorMultiple TWMiGraficaPLT::RegistrosLista() {
    // The table and export modules recompute the Plt with the window's settings.
    const TValorMultiple base = TWSerieTemporal::RegistrosLista();
    TValorMultiple registros;
    for (int i = 0; i < base.Cuenta(); ++i) {
        std::vector<std::int32_t> r;
        for (int k = 0; k < base.Elementos(i); ++k)
            r.push_back(base.Entero(i, k));
        r.insert(r.end(), {m_ajustes.maximo, m_ajustes.ventana, m_ajustes.ignorar});
        registros.EntrarEnteros(r);
    }
    return registros;
}

QJsonObject TWMiGraficaPLT::Describir() {
    QJsonObject r = TWSerieTemporal::Describir();
    r.insert(QStringLiteral("plt_window_s"), m_ajustes.ventana);
    const bool conMaximo = m_ajustes.maximo != -1;
    const double maximo = m_ajustes.maximo * 0.001;
    r.insert(QStringLiteral("plt_max"), conMaximo ? QJsonValue(maximo) : QJsonValue(QJsonValue::Null));
    QJsonArray validos;
    QJsonArray encima;
    for (const CalculoPlt::SeriePlt& s : m_plt) {
        validos.append(s.validos);
        int n = 0;
        for (double v : s.valores)
            n += conMaximo && v != kValorNulo && v > maximo ? 1 : 0;
        encima.append(n);
    }
    r.insert(QStringLiteral("plt_values"), validos);
    r.insert(QStringLiteral("plt_above_max"), encima);
    return r;
}
