#include "TWMiGraficaED.h"

#include "ChartProperties.h"
#include "TWConfigurarED.h"
#include "Textos.h"
#include "UserInteraction.h"

#include <QJsonArray>

namespace {

constexpr std::int32_t kColorLimites = 0x0A640A;

} // namespace

TWMiGraficaED::TWMiGraficaED(QWidget* propietario, TDriverVentana* driver, ServidorMonitores* servidor,
                             ListasAtributos& listas, DrivFlex* fuente)
    : TWEventos(propietario, driver, servidor, listas, fuente, TipoPropiedades::ED) {}

void TWMiGraficaED::ConstruirEjes() {
    // Durations are not dates: the axis runs over the interval shares, 0 to 1000.
    Pe.ponerEntero(PEP_XSERIALDATES, 0);
    Pe.ponerEntero(PEP_MANUALXSCALE, 1);
    Pe.ponerDouble(PEP_MANUALXMIN, 0.0);
    Pe.ponerDouble(PEP_MANUALXMAX, kAnchoEje);
    Pe.ponerTexto(PEP_XAXISLABEL, Texto(TXT_ED_AXIS_DURATION));
}

void TWMiGraficaED::PuntosIntervalo(int primero, int ultimo, std::vector<double>& x, std::vector<double>& y) {
    std::optional<ListaIntervalos> leidos = CargarIntervalos();
    m_intervalos = leidos ? std::move(*leidos) : ListaIntervalos{};
    const double maxima = m_eventos.DameDuracionMaximaVista();
    const int puntos = std::max(0, ultimo - primero + 1);
    x.assign(static_cast<size_t>(3 * puntos), kValorNulo);
    y.assign(static_cast<size_t>(3 * puntos), kValorNulo);
    for (int s = 0; s < 3; ++s) {
        for (int p = 0; p < puntos; ++p) {
            const CEvento* e = m_eventos.Evento(m_puntos.Evento(s, primero + p));
            if (e == nullptr)
                continue;
            const double posicion = PosicionDuracion(e->Duracion, maxima, m_intervalos);
            if (posicion == kSinPosicion)
                continue;
            const size_t i = static_cast<size_t>(s) * static_cast<size_t>(puntos) + static_cast<size_t>(p);
            x[i] = posicion;
            y[i] = m_puntos.Valor(s, primero + p);
        }
    }
}

void TWMiGraficaED::Anotaciones() {
    std::vector<double> posiciones;
    std::vector<std::int32_t> tipos;
    std::vector<std::int32_t> colores;
    QStringList etiquetas;
    for (const LimiteEje& l : LimitesEje(m_intervalos, m_eventos.DameDuracionMaximaVista())) {
        posiciones.push_back(l.posicion);
        tipos.push_back(PELT_DOT);
        colores.push_back(kColorLimites);
        etiquetas << l.etiqueta;
    }
    Pe.ponerArray(PEP_VLINEX, posiciones);
    Pe.ponerArray(PEP_VLINETYPES, tipos);
    Pe.ponerArray(PEP_VLINECOLORS, colores);
    Pe.ponerTextos(PEP_VLINELABELS, etiquetas);
}

int TWMiGraficaED::EventosColocados() const {
    const double maxima = m_eventos.DameDuracionMaximaVista();
    int colocados = 0;
    for (int k = 0; k < m_eventos.NumeroEventos(); ++k) {
        if (PosicionDuracion(m_eventos.Evento(k)->Duracion, maxima, m_intervalos) != kSinPosicion)
            ++colocados;
    }
    return colocados;
}

QString TWMiGraficaED::TextoCursor() {
    const QString cabecera = QString::asprintf(CargarTexto(TXT_ED_FMT_READOUT_HEADER),
                                               CargarTexto(TXT_ED_DURATION), CargarTexto(TXT_UNIT_SECONDS));
    // Only a point that is drawn has a read-out.
    const int m = MuestraCursor();
    const Agrupacion::Intervalo r = RangoMostrado();
    const int serie = std::clamp(Pe.dameEntero(PEP_CURSORSUBSET), 0, 2);
    const size_t i = static_cast<size_t>(serie) * static_cast<size_t>(std::max(0, r.ultimo - r.primero + 1)) +
                     static_cast<size_t>(m - r.primero);
    if (m < 0 || i >= m_x.size() || m_x[i] == kValorNulo)
        return cabecera;
    return cabecera + TWEventos::TextoCursor();
}

bool TWMiGraficaED::EjecutarDialogo(PropiedadesEventos& propiedades) {
    TWConfigurarED dialogo(propiedades, m_niveles, this);
    if (host::DialogRunner::exec(dialogo) != QDialog::Accepted)
        return false;
    propiedades = dialogo.Resultado();
    return true;
}

void TWMiGraficaED::Propiedades() {
    // Changed intervals alone redraw too: the record may be the same.
    PropiedadesEventos nuevas = m_propiedades;
    if (EjecutarDialogo(nuevas))
        AplicarPropiedades(nuevas);
}

void TWMiGraficaED::EscribirUmbrales() {
    QString error;
    if (!GuardarUmbrales(m_propiedades.Umbrales(), &error))
        host::MessageService::show(
            this, Texto(TXT_ERROR),
            Texto(TXT_FILE_WRITE_FAILED).arg(QString::fromLatin1(kFicheroUmbrales), error),
            host::MessageIcon::Error);
}

void TWMiGraficaED::Lista() {
    EscribirUmbrales();
    TWEventos::Lista();
}

void TWMiGraficaED::ExportarTXT() {
    EscribirUmbrales();
    TWEventos::ExportarTXT();
}

QJsonObject TWMiGraficaED::Describir() {
    QJsonObject r = TWEventos::Describir();
    // The duration intervals as read take the key; the count of time intervals moves aside.
    r.insert(QStringLiteral("time_intervals"), NumIntervalos);
    QJsonArray intervalos;
    for (const Intervalo& i : m_intervalos) {
        QJsonObject o;
        o.insert(QStringLiteral("from_ms"), i.DesdeMs());
        o.insert(QStringLiteral("to_ms"), i.HastaMs());
        o.insert(QStringLiteral("share"), i.porcentaje);
        intervalos.append(o);
    }
    r.insert(QStringLiteral("intervals"), intervalos);
    r.insert(QStringLiteral("events_placed"), EventosColocados());
    return r;
}
