#include "DatosSerieTemporal.h"

#include "Agrupacion.h"
#include "CatalogoFicheros.h"
#include "LecturaCursor.h"
#include "TValorMultiple.h"
#include "Textos.h"

#include <algorithm>
#include <cmath>

namespace {

// Option indexes of an OpcionesSeries row.
constexpr int kOpcionMetodo = 0;
constexpr int kOpcionPeriodo = 2;

std::vector<TTiempo> tiemposDeFila(const TValorMultiple& lista, int fila) {
    const TTiempo* t = lista.Tiempos(fila);
    if (t == nullptr)
        return {};
    return std::vector<TTiempo>(t, t + lista.Elementos(fila));
}

} // namespace

DatosSerieTemporal::DatosSerieTemporal(const TValorMultiple& valores, const TValorMultiple& tiempos,
                                       const TValorMultiple& unidades, const TValorMultiple& nombres,
                                       const TValorMultiple& opciones, const TValorMultiple& intervalos,
                                       const TValorMultiple& decimales, const ConversorFecha& conversor)
    : m_filasTiempos(std::make_unique<TValorMultiple>(tiempos)),
      m_filasValores(std::make_unique<TValorMultiple>(valores)), m_conversor(conversor) {
    m_numSeries = valores.Cuenta();
    // The copies share the rows' bytes; the alignment replaces only the rows it has to.
    TValorMultiple& t = *m_filasTiempos;
    TValorMultiple& v = *m_filasValores;
    TValorMultiple iv = intervalos;
    m_numPuntos = m_numSeries > 0 ? CatalogoFicheros::AlinearSeries(t, v, iv) : 0;
    if (m_numPuntos < 0)
        m_numPuntos = 0;

    const size_t n = static_cast<size_t>(m_numPuntos);
    const TTiempo* primeros = t.Cuenta() > 0 ? t.Tiempos(0) : nullptr;
    if (primeros != nullptr && static_cast<size_t>(t.Elementos(0)) >= n) {
        m_tiempos = primeros;
    } else {
        m_tiemposPropios = tiemposDeFila(t, 0);
        m_tiemposPropios.resize(n, m_tiemposPropios.empty() ? TTiempo() : m_tiemposPropios.back());
        m_tiempos = m_tiemposPropios.data();
    }
    m_intervalos = tiemposDeFila(iv, 0);

    for (int s = 0; s < m_numSeries; ++s) {
        // A series shorter than the common axis is null in the slots past its end.
        const size_t propios = std::min(n, static_cast<size_t>(std::max(0, v.Elementos(s))));
        m_propios.push_back(propios);
        const double* d = v.Doubles(s);
        if (d == nullptr && propios > 0) {
            std::vector<double>& copia = m_convertidas.emplace_back(propios);
            for (size_t i = 0; i < propios; ++i)
                copia[i] = v.Numero(s, static_cast<int>(i));
            d = copia.data();
        }
        m_series.push_back(d);
    }

    for (int s = 0; s < m_numSeries; ++s) {
        m_unidades.push_back(QString::fromStdString(unidades.Texto(s)));
        m_nombres.push_back(QString::fromStdString(nombres.Texto(s)));
        m_decimales.push_back(decimales.Cuenta() > s ? decimales.Entero(s, 0) : 0);
        std::vector<double> op;
        for (int k = 0; k < opciones.Elementos(s); ++k)
            op.push_back(opciones.Numero(s, k));
        m_opciones.push_back(std::move(op));
    }
    m_metodo = static_cast<int>(Opcion(0, kOpcionMetodo));
    m_periodo = static_cast<int>(Opcion(0, kOpcionPeriodo));
    m_periodoMinimo = m_periodo;
    for (int s = 1; s < m_numSeries; ++s)
        m_periodoMinimo = std::min(m_periodoMinimo, static_cast<int>(Opcion(s, kOpcionPeriodo)));
    reiniciarExtremos();
}

DatosSerieTemporal::DatosSerieTemporal(DatosSerieTemporal&&) noexcept = default;
DatosSerieTemporal::~DatosSerieTemporal() = default;

double DatosSerieTemporal::Valor(int serie, int punto) const {
    if (serie < 0 || serie >= m_numSeries || punto < 0 ||
        static_cast<size_t>(punto) >= m_propios[static_cast<size_t>(serie)])
        return kValorNulo;
    return m_series[static_cast<size_t>(serie)][punto];
}

double DatosSerieTemporal::FechaSerie(int serie, int punto) const {
    if (serie < 0 || serie >= m_numSeries || punto < 0 ||
        static_cast<size_t>(punto) >= m_propios[static_cast<size_t>(serie)])
        return kValorNulo;
    return fecha(static_cast<size_t>(punto));
}

int DatosSerieTemporal::Decimales(int serie) const {
    if (serie < 0 || serie >= static_cast<int>(m_decimales.size()))
        return 0;
    return m_decimales[static_cast<size_t>(serie)];
}

double DatosSerieTemporal::Opcion(int serie, int indice) const {
    if (serie < 0 || serie >= static_cast<int>(m_opciones.size()))
        return 0.0;
    const std::vector<double>& op = m_opciones[static_cast<size_t>(serie)];
    if (indice < 0 || indice >= static_cast<int>(op.size()))
        return 0.0;
    return op[static_cast<size_t>(indice)];
}

std::vector<DatosSerieTemporal::Eje> DatosSerieTemporal::Ejes(bool unidadExacta) const {
    std::vector<Eje> ejes;
    for (int s = 0; s < m_numSeries; ++s) {
        const QString& u = m_unidades[static_cast<size_t>(s)];
        const QString& anterior = m_unidades[static_cast<size_t>(s > 0 ? s - 1 : 0)];
        const bool mismo = unidadExacta ? u == anterior : LecturaCursor::MismoEje(u, anterior);
        // The chart holds at most twelve axes; further units stay on the last one.
        if ((s > 0 && mismo) || ejes.size() == 12) {
            ++ejes.back().series;
            continue;
        }
        ejes.push_back(Eje{LecturaCursor::EtiquetaEje(u), 1});
    }
    // A chart always has an axis, even with nothing to draw on it.
    if (ejes.empty())
        ejes.push_back(Eje{});
    return ejes;
}

std::pair<int, int> DatosSerieTemporal::Rango(int intervalo) const {
    if (intervalo >= 0 && intervalo < static_cast<int>(m_rangos.size()))
        return {m_rangos[static_cast<size_t>(intervalo)].primero,
                m_rangos[static_cast<size_t>(intervalo)].ultimo};
    return {0, m_numPuntos - 1};
}

void DatosSerieTemporal::reiniciarExtremos() {
    m_minimos.assign(static_cast<size_t>(m_numSeries), kMinimoInicial);
    m_maximos.assign(static_cast<size_t>(m_numSeries), kMaximoInicial);
    m_primera = TTiempo::Maximo();
    m_ultima = TTiempo::Minimo();
}

void DatosSerieTemporal::ElegirIntervalo(int intervalo) {
    auto [primero, ultimo] = Rango(intervalo);
    primero = std::clamp(primero, 0, std::max(0, m_numPuntos - 1));
    ultimo = std::clamp(ultimo, primero - 1, m_numPuntos - 1);
    const size_t puntos = static_cast<size_t>(std::max(0, ultimo - primero + 1));
    m_primerMostrado = primero;
    m_puntosMostrados = static_cast<int>(puntos);
    reiniciarExtremos();
    for (int s = 0; s < m_numSeries; ++s) {
        double minimo = kMinimoInicial;
        double maximo = kMaximoInicial;
        for (size_t i = 0; i < puntos; ++i) {
            const double v = ValorMostrado(s, static_cast<int>(i));
            if (v != kValorNulo) {
                minimo = std::min(minimo, v);
                maximo = std::max(maximo, v);
            }
        }
        m_minimos[static_cast<size_t>(s)] = minimo;
        m_maximos[static_cast<size_t>(s)] = maximo;
    }
    if (puntos > 0) {
        m_primera = m_tiempos[static_cast<size_t>(primero)];
        m_ultima = m_tiempos[static_cast<size_t>(ultimo)];
    }
}

double DatosSerieTemporal::fecha(size_t punto) const {
    return m_conversor ? m_conversor(m_tiempos[punto]) : 0.0;
}

std::vector<double> DatosSerieTemporal::FechasMostradas() const {
    // The dates are converted once, for the first series, and copied for the others.
    const size_t puntos = static_cast<size_t>(m_puntosMostrados);
    const size_t primero = static_cast<size_t>(m_primerMostrado);
    std::vector<double> fechas(puntos * static_cast<size_t>(m_numSeries));
    for (size_t i = 0; i < puntos && m_numSeries > 0; ++i)
        fechas[i] = fecha(primero + i);
    for (int s = m_numSeries - 1; s >= 0; --s) {
        const size_t propios = m_propios[static_cast<size_t>(s)];
        double* destino = fechas.data() + static_cast<size_t>(s) * puntos;
        for (size_t i = 0; i < puntos; ++i)
            destino[i] = primero + i < propios ? fechas[i] : kValorNulo;
    }
    return fechas;
}

TTiempo DatosSerieTemporal::TiempoMostrado(int punto) const {
    const int i = m_primerMostrado + std::clamp(punto, 0, std::max(0, m_puntosMostrados - 1));
    if (i < 0 || i >= m_numPuntos)
        return TTiempo();
    return m_tiempos[static_cast<size_t>(i)];
}

double DatosSerieTemporal::comoSeMuestra(double v) {
    // Noise around zero is shown as zero.
    return v != kValorNulo && std::fabs(v) < 0.00001 ? 0.0 : v;
}

double DatosSerieTemporal::ValorMostrado(int serie, int punto) const {
    if (serie < 0 || serie >= m_numSeries || punto < 0 || punto >= m_puntosMostrados)
        return kValorNulo;
    return comoSeMuestra(Valor(serie, m_primerMostrado + punto));
}

std::vector<std::int32_t> DatosSerieTemporal::ColoresPuntos(const std::vector<std::int32_t>& coloresSerie,
                                                            std::int32_t colorFondo) const {
    const size_t puntos = static_cast<size_t>(m_puntosMostrados);
    std::vector<std::int32_t> colores(puntos * static_cast<size_t>(m_numSeries), colorFondo);
    for (int s = 0; s < m_numSeries; ++s) {
        const std::int32_t c =
            s < static_cast<int>(coloresSerie.size()) ? coloresSerie[static_cast<size_t>(s)] : 0;
        for (size_t i = 0; i < puntos; ++i)
            if (Valor(s, m_primerMostrado + static_cast<int>(i)) != kValorNulo)
                colores[static_cast<size_t>(s) * puntos + i] = c;
    }
    return colores;
}

QString DatosSerieTemporal::TituloPrincipal(const QString& tituloVarias) const {
    if (m_numSeries == 1)
        return m_nombres.front();
    return tituloVarias;
}

QString DatosSerieTemporal::Subtitulos() const {
    QStringList nombres;
    for (const QString& n : m_nombres)
        nombres << n;
    return nombres.join(QLatin1Char('\t'));
}

QString DatosSerieTemporal::TituloIntervalo(int nivel, int intervalo, int numIntervalos) {
    if (numIntervalos <= 1)
        return QString();
    const QString nombre =
        Agrupacion::NombreNivel(nivel == Agrupacion::NIVEL_SIN_AGRUPAR ? Agrupacion::NIVEL_DEFECTO : nivel);
    return QString::asprintf(CargarTexto(TXT_FMT_INTERVAL_TITLE), nombre.toUtf8().constData(), intervalo + 1,
                             numIntervalos);
}

QString DatosSerieTemporal::EtiquetaX() const {
    QString etiqueta = Texto(TXT_DATE_OF_SAMPLE);
    if (m_puntosMostrados == 1 || m_numPuntos == 1)
        etiqueta += QStringLiteral(" (") + QString::fromStdString(TiempoMostrado(0).Texto(' ', '.')) +
                    QLatin1Char(')');
    return etiqueta;
}
