#include "TWArmonicos.h"

#include "ChartProperties.h"
#include "Contrato.h"
#include "FiltroArmonicos.h"
#include "LecturaCursor.h"
#include "SettingsStore.h"
#include "TGestionNormasDlg.h"
#include "Textos.h"

#include <QAction>
#include <QJsonArray>

#include <algorithm>
#include <cmath>

namespace {

// Help context of the harmonics windows (F1).
constexpr int kContextoAyuda = 55;
// Graph annotation types: a polyline starts, then continues.
constexpr int kInicioLinea = 38;
constexpr int kSigueLinea = 45;
// A limit mark spans half an order, centred on its point.
constexpr double kMedioAncho = 0.25;
// Vertical line type that draws only its label.
constexpr int kSoloEtiqueta = 7;

// 0 asks for the formatter's default (the series' own decimals); n > 0 for n - 1 decimals.
int LeerDecimales(host::SettingsKey& clave, bool nueva, const char* nombre) {
    const QString valor = QString::fromLatin1(nombre);
    if (nueva) {
        clave.writeInt(valor, 0);
        return 0;
    }
    return clave.readIntWithDefault(valor, 0);
}

} // namespace

TWArmonicos::TWArmonicos(QWidget* propietario, TDriverVentana* driver, ServidorMonitores* servidor,
                         ListasAtributos& listas, DrivFlex* fuente, armonicos::OrigenX origenX)
    : TWRegistro(propietario, driver, servidor, listas, fuente) {
    m_datos = std::make_unique<armonicos::DatosArmonicos>(listas, origenX);
    NumSeries = m_datos->NumSeries();
    NumPuntos = m_datos->NumPuntos();
    PonerRegistros(m_datos->Registros());

    bool nueva = false;
    if (auto clave = host::SettingsKey::openOrCreate(QString(), &nueva)) {
        m_decimalesV = LeerDecimales(*clave, nueva, "DECIMALESV");
        m_decimalesA = LeerDecimales(*clave, nueva, "DECIMALESA");
    }
}

TWArmonicos::~TWArmonicos() = default;

void TWArmonicos::Construir() {
    if (ConFiltro()) {
        NormasDLG = filtro::CrearNormas(this, true);
        filtro::RotularBoton(MegaConfig, megaconfigurar1);
    }
    PonerDimensiones();
    std::vector<std::pair<QString, int>> ejes;
    for (const armonicos::Eje& e : m_datos->Ejes())
        ejes.emplace_back(e.etiqueta, e.series);
    NumEjes = PonerEjes(ejes, m_datos->Metodo());
}

void TWArmonicos::Cargar() {
    QStringList etiquetas;
    for (int s = 0; s < NumSeries; ++s)
        etiquetas << m_datos->Etiqueta(s);
    PonerTitulos(m_datos->Titulo(PalabraTitulo()), etiquetas);
    // The filter is chosen by the user (or a batch run); a hidden button offers none.
    MegaConfig->setVisible(BotonFiltro());
    megaconfigurar1->setVisible(BotonFiltro());
}

void TWArmonicos::MostrarRegistro(int registro) {
    if (registro < 0 || registro >= NumRegistros())
        return;
    const int primero = Registro(registro).first;
    const auto [a, b] = CargarMuestras(registro, [this, primero](int s, int j) {
        double y = m_datos->Y(s, primero + j);
        if (y != kValorNulo && std::fabs(y) < armonicos::kCasiCero)
            y = 0.0;
        return std::pair{m_datos->X(s, primero + j), y};
    });
    PonerHoraRegistro(m_datos->TiempoRegistro(registro));
    RotularPuntos(a, b);
    ColorearPuntos();
}

void TWArmonicos::ColorearPuntos() {
    const int puntos = m_puntosMostrados;
    std::vector<std::int32_t> subsets(static_cast<size_t>(NumSeries));
    if (NumSeries > 0)
        Pe.PEvget(Grafica, PEP_SUBSETCOLORS, subsets.data(), NumSeries);
    // No-data points keep the colour they had (the back colour when new).
    std::vector<std::int32_t> colores(m_y.size(), static_cast<std::int32_t>(ColorFondo));
    const int tenia = Pe.PEvget(Grafica, PEP_POINTCOLORS, nullptr, 0);
    if (tenia == static_cast<int>(colores.size()) && tenia > 0)
        Pe.PEvget(Grafica, PEP_POINTCOLORS, colores.data(), tenia);
    const auto fondo = static_cast<std::int32_t>(ColorFondo);
    for (int s = 0; s < NumSeries; ++s) {
        const size_t base = static_cast<size_t>(s) * static_cast<size_t>(puntos);
        for (int j = 0; j < puntos; ++j) {
            if (m_y[base + static_cast<size_t>(j)] == kValorNulo)
                continue;
            const bool trasHueco = j > 0 && m_y[base + static_cast<size_t>(j) - 1] == kValorNulo &&
                                   colores[base + static_cast<size_t>(j) - 1] == fondo;
            colores[base + static_cast<size_t>(j)] = trasHueco ? fondo : subsets[static_cast<size_t>(s)];
        }
    }
    if (m_limites.Aplicado()) {
        for (juicio::RegistroLimites* r : {&*m_limites.tension, &*m_limites.corriente}) {
            // A filter longer than the register judges only the points there are.
            if (r->Numero() > puntos)
                r->limites.resize(static_cast<size_t>(std::max(0, puntos)));
        }
        for (int s = 0; s < NumSeries; ++s) {
            const juicio::RegistroLimites& r = m_limites.De(TipoCanal(m_datos->CanalDe(s).ranura));
            if (!r.resaltar)
                continue;
            const size_t base = static_cast<size_t>(s) * static_cast<size_t>(puntos);
            std::vector<int> propios(colores.begin() + static_cast<std::ptrdiff_t>(base),
                                     colores.begin() +
                                         static_cast<std::ptrdiff_t>(base + static_cast<size_t>(puntos)));
            juicio::ColorearPuntos(std::span<const double>(m_y.data() + base, static_cast<size_t>(puntos)),
                                   r.limites, subsets[static_cast<size_t>(s)], r.colorResaltado, propios);
            std::copy(propios.begin(), propios.end(), colores.begin() + static_cast<std::ptrdiff_t>(base));
        }
    }
    Pe.ponerArray(PEP_POINTCOLORS, colores);
    MarcarLimites();
}

void TWArmonicos::MarcarLimites() {
    std::vector<double> gx;
    std::vector<double> gy;
    std::vector<std::int32_t> tipos;
    std::vector<std::int32_t> colores;
    std::vector<std::int32_t> ejes;
    if (m_limites.Aplicado() && NumSeries > 0 && m_puntosMostrados > 0) {
        // The axis of every series: consecutive series fill the axes in order.
        std::vector<int> ejeDe;
        int eje = 0;
        for (const armonicos::Eje& e : m_datos->Ejes()) {
            ejeDe.insert(ejeDe.end(), static_cast<size_t>(e.series), eje);
            ++eje;
        }
        for (const juicio::RegistroLimites* r : {&*m_limites.tension, &*m_limites.corriente}) {
            // The largest value measured on the present channels of this kind, and the first
            // series of the kind on each axis, where its marks go.
            double maximo = -kMinimoInicial;
            std::vector<int> primeras;
            for (int s = 0; s < NumSeries; ++s) {
                if (TipoCanal(m_datos->CanalDe(s).ranura) != r->tipo)
                    continue;
                if (primeras.empty() ||
                    ejeDe[static_cast<size_t>(primeras.back())] != ejeDe[static_cast<size_t>(s)])
                    primeras.push_back(s);
                maximo = std::max(maximo, m_maximos[static_cast<size_t>(s)]);
            }
            for (int primera : primeras) {
                for (int j = 0; j < r->Numero(); ++j) {
                    const double x =
                        m_x[static_cast<size_t>(primera) * static_cast<size_t>(m_puntosMostrados) +
                            static_cast<size_t>(j)];
                    const double y = r->limites[static_cast<size_t>(j)];
                    const int color = juicio::ColorLineaLimite(y, maximo, static_cast<int>(ColorFondo));
                    gx.insert(gx.end(), {x - kMedioAncho, x + kMedioAncho});
                    gy.insert(gy.end(), {y, y});
                    tipos.insert(tipos.end(), {kInicioLinea, kSigueLinea});
                    colores.insert(colores.end(), {color, color});
                    ejes.insert(ejes.end(), 2, ejeDe[static_cast<size_t>(primera)]);
                }
            }
        }
    }
    Pe.ponerArray(PEP_GANNOTX, gx);
    Pe.ponerArray(PEP_GANNOTY, gy);
    Pe.ponerArray(PEP_GANNOTTYPES, tipos);
    Pe.ponerArray(PEP_GANNOTCOLORS, colores);
    Pe.ponerArray(PEP_GANNOTAXIS, ejes);
}

void TWArmonicos::PonerEtiquetasPuntos(const std::vector<double>& x, const QStringList& etiquetas) {
    std::vector<QByteArray> textos;
    std::vector<const char*> punteros;
    for (const QString& e : etiquetas)
        textos.push_back(e.toUtf8());
    for (const QByteArray& t : textos)
        punteros.push_back(t.constData());
    Pe.ponerArray(PEP_VLINEX, x);
    Pe.PEvset(Grafica, PEP_VLINELABELS, punteros.data(), static_cast<int>(punteros.size()));
    Pe.ponerArray(PEP_VLINETYPES, std::vector<std::int32_t>(x.size(), kSoloEtiqueta));
}

int TWArmonicos::DecimalesDe(int serie) const {
    const int registro =
        TipoCanal(m_datos->CanalDe(serie).ranura) == juicio::Tipo::Tension ? m_decimalesV : m_decimalesA;
    return registro > 0 ? registro - 1 : m_datos->CanalDe(serie).decimales;
}

QString TWArmonicos::EtiquetaCanal(int ranura) const {
    return Texto(ranura < 3 ? TXT_LABEL_VN : TXT_LABEL_IN) +
           QString::asprintf(CargarTexto(TXT_FMT_PHASE), ranura % 3 + 1);
}

QString TWArmonicos::TextoCursor() {
    int serie = 0;
    int punto = 0;
    if (!PosicionCursor(serie, punto))
        return QString();
    const auto orden = [](double x) { return QString::number(x, 'g', 6); };
    const auto [menorX, mayorX] = std::minmax_element(m_x.begin(), m_x.end());
    LecturaCursor::Lectura l = LecturaMuestra(serie, punto);
    l.decimales = DecimalesDe(serie);
    l.unidad = m_datos->CanalDe(serie).unidad;
    l.fecha = orden(m_x[Indice(serie, punto)]);
    l.desde = orden(*menorX);
    l.hasta = orden(*mayorX);
    l.nombreVariable = m_datos->Etiqueta(serie);
    QString texto = LecturaCursor::Texto(l);

    // The value of every channel at the cursor's point: currents first, then voltages.
    for (const bool corriente : {true, false}) {
        QStringList entradas;
        for (int s = 0; s < NumSeries; ++s) {
            const armonicos::Canal& c = m_datos->CanalDe(s);
            const QString etiqueta = EtiquetaCanal(c.ranura);
            if ((c.ranura >= 3) != corriente || etiqueta.isEmpty())
                continue;
            entradas << QStringLiteral(" ") + etiqueta +
                            LecturaCursor::FormatearNumero(m_y[Indice(s, punto)], DecimalesDe(s)) +
                            QStringLiteral(" (") + c.unidad + QStringLiteral(")");
        }
        if (!entradas.isEmpty())
            texto += entradas.join(QLatin1Char('|')) + QStringLiteral("   \t");
    }
    return texto + QStringLiteral(" | | \t");
}

void TWArmonicos::PonerLectura() {
    Pe.ponerTexto(PEP_CURSORTABLE, TextoCursor());
}

void TWArmonicos::Propiedades() {
    // The filter runs only where its button shows; elsewhere the operation does nothing.
    if (NormasDLG == nullptr || !BotonFiltro())
        return;
    if (!NormasDLG->Execute(this))
        return;
    TomarFiltro();
}

int TWArmonicos::AplicarFiltro(const QString& nombre) {
    return filtro::AplicarPorNombre(NormasDLG, nombre, [this] {
        TomarFiltro();
        // A run without a person shows what the filter found: the first register it breaks.
        const std::vector<int> malos = RegistrosMalos();
        const auto primero =
            std::find(Visibles().begin(), Visibles().end(), malos.empty() ? -1 : malos.front());
        if (primero != Visibles().end() &&
            !std::binary_search(malos.begin(), malos.end(), RegistroMostrado())) {
            IntervaloActual = static_cast<int>(primero - Visibles().begin());
            ActualizarBotonesIntervalo();
            MostrarIntervalo();
        }
    });
}

void TWArmonicos::TomarFiltro() {
    m_limites.Tomar(*NormasDLG);
    if (NormasDLG->GetVerSoloMalos() &&
        (m_limites.tension->Numero() > 0 || m_limites.corriente->Numero() > 0)) {
        const std::vector<int> malos = RegistrosMalos();
        VerSoloMalos([&malos](int r) { return std::binary_search(malos.begin(), malos.end(), r); });
    } else {
        VerTodos();
    }
    Pe.ponerTexto(PEP_SUBTITLE, NormasDLG->GetNormaSeleccionada());
    MostrarIntervalo();
}

std::vector<int> TWArmonicos::RegistrosMalos() const {
    if (!m_limites.Aplicado())
        return {};
    // Judged on the limits as the filter gives them, not as a short register trimmed them.
    return m_datos->RegistrosMalos([this](int ranura) { return TipoCanal(ranura); },
                                   NormasDLG->Limites(juicio::Tipo::Tension).limites,
                                   NormasDLG->Limites(juicio::Tipo::Corriente).limites);
}

QJsonObject TWArmonicos::Describir() {
    QJsonObject r = TWRegistro::Describir();
    r.insert(QStringLiteral("filter"),
             NormasDLG != nullptr && m_limites.Aplicado() ? NormasDLG->GetNormaSeleccionada() : QString());
    QJsonArray malos;
    for (int i : RegistrosMalos())
        malos.append(i);
    r.insert(QStringLiteral("registers_breaking_filter"), malos);
    return r;
}

int TWArmonicos::ContextoAyuda() const {
    return kContextoAyuda;
}

QString TWArmonicos::NombreSerie(int serie) const {
    return m_datos->CanalDe(serie).nombre;
}

QString TWArmonicos::UnidadSerie(int serie) const {
    return m_datos->CanalDe(serie).unidad;
}
