#include "DatosArmonicos.h"

#include "Contrato.h"
#include "Registros.h"
#include "Textos.h"

#include <algorithm>
#include <cmath>

namespace armonicos {

namespace {

// Options of the 24-hour kinds: element 13 is the number of X values of a register.
constexpr int kOpcionNumX = 13;

double ValorFila(const TValorMultiple& lista, int fila, int indice) {
    if (fila >= lista.Cuenta() || indice >= lista.Elementos(fila))
        return kValorNulo;
    return lista.Numero(fila, indice);
}

} // namespace

bool Presente(const TValorMultiple& valores, int fila) {
    if (fila < 0 || fila >= valores.Cuenta())
        return false;
    const int n = valores.Elementos(fila);
    for (int i = 0; i < n; ++i) {
        if (valores.Numero(fila, i) != kValorNulo)
            return true;
    }
    return false;
}

DatosArmonicos::DatosArmonicos(ListasAtributos& listas, OrigenX origen) {
    const TValorMultiple& valores = listas[LV_VALORES];
    m_numPuntos = valores.Cuenta() > 0 ? std::max(0, valores.Elementos(0)) : 0;
    if (listas[LV_OPCIONES].Cuenta() > 0)
        m_metodo = static_cast<int>(listas[LV_OPCIONES].Numero(0, OPC_METODO));

    const int filas = std::min(valores.Cuenta(), kRanuras);
    for (int r = 0; r < filas; ++r) {
        if (!Presente(valores, r))
            continue;
        Canal c;
        c.ranura = r;
        if (r < listas[LV_NOMBRES].Cuenta())
            c.nombre = QString::fromStdString(listas[LV_NOMBRES].Texto(r));
        if (r < listas[LV_UNIDADES].Cuenta())
            c.unidad = QString::fromStdString(listas[LV_UNIDADES].Texto(r));
        if (r < listas[LV_DECIMALES].Cuenta() && listas[LV_DECIMALES].Elementos(r) > 0)
            c.decimales = static_cast<int>(listas[LV_DECIMALES].Numero(r, 0));
        m_canales.push_back(c);
        // Shorter lists are padded with the no-data value, so their missing points are not drawn.
        for (int i = 0; i < m_numPuntos; ++i)
            m_y.push_back(ValorFila(valores, r, i));
    }
    m_registros = registros::Leer(listas[LV_INTERVALOS], m_numPuntos);
    m_tiempos = registros::Tiempos(listas);
    LeerX(listas, origen);
}

void DatosArmonicos::LeerX(ListasAtributos& listas, OrigenX origen) {
    // Without an X value a point stands at its harmonic order, counting from 2.
    m_x.assign(static_cast<size_t>(m_numPuntos), 0.0);
    for (const auto& [a, b] : m_registros) {
        for (int p = a; p <= b; ++p)
            m_x[static_cast<size_t>(p)] = p - a + 2;
    }
    if (origen == OrigenX::Adicionales) {
        const TValorMultiple& extra = listas[LV_ADICIONALES];
        if (extra.Cuenta() == 0)
            return;
        const int n = std::min(extra.Elementos(0), m_numPuntos);
        for (int p = 0; p < n; ++p)
            m_x[static_cast<size_t>(p)] = extra.Numero(0, p);
        return;
    }
    const TValorMultiple& opciones = listas[LV_OPCIONES];
    if (opciones.Cuenta() == 0 || opciones.Elementos(0) <= kOpcionNumX)
        return;
    const int m = std::clamp(static_cast<int>(opciones.Numero(0, kOpcionNumX)), 0,
                             opciones.Elementos(0) - kOpcionNumX - 1);
    for (const auto& [a, b] : m_registros) {
        for (int j = 0; j < m && a + j <= b; ++j)
            m_x[static_cast<size_t>(a + j)] = opciones.Numero(0, kOpcionNumX + 1 + j);
    }
}

TTiempo DatosArmonicos::TiempoRegistro(int registro) const {
    if (registro < 0 || registro >= static_cast<int>(m_tiempos.size()))
        return TTiempo::Maximo();
    return m_tiempos[static_cast<size_t>(registro)];
}

std::vector<Eje> DatosArmonicos::Ejes() const {
    std::vector<Eje> ejes;
    for (size_t i = 0; i < m_canales.size(); ++i) {
        const QString& u = m_canales[i].unidad;
        if (i == 0 || u != m_canales[i - 1].unidad) {
            QString etiqueta = u;
            if (u.endsWith(QLatin1Char('V')))
                etiqueta = Texto(TXT_AXIS_VN);
            else if (u.endsWith(QLatin1Char('A')))
                etiqueta = Texto(TXT_AXIS_IN);
            ejes.push_back({etiqueta, 0});
        }
        ++ejes.back().series;
    }
    if (ejes.empty())
        ejes.push_back({QString(), 0});
    return ejes;
}

QString DatosArmonicos::Titulo(const QString& palabra) const {
    if (m_canales.size() == 1)
        return m_canales.front().nombre;
    if (m_canales.empty())
        return palabra;
    const QString& primero = m_canales.front().nombre;
    const qsizetype desde = primero.indexOf(QStringLiteral(" ("));
    return desde < 0 ? palabra : palabra + primero.mid(desde);
}

QString DatosArmonicos::Etiqueta(int serie) const {
    const QString& nombre = CanalDe(serie).nombre;
    const qsizetype hasta = nombre.indexOf(QStringLiteral(" ("));
    return hasta < 0 ? nombre : nombre.left(hasta);
}

std::vector<juicio::Serie> DatosArmonicos::SeriesJuicio(const TipoRanura& tipo) const {
    std::vector<juicio::Serie> series;
    for (int s = 0; s < NumSeries(); ++s) {
        const std::span<const double> valores(m_y.data() + Indice(s, 0), static_cast<size_t>(m_numPuntos));
        series.push_back({tipo(CanalDe(s).ranura), valores});
    }
    return series;
}

std::vector<int> DatosArmonicos::RegistrosMalos(const TipoRanura& tipo, const std::vector<double>& tension,
                                                const std::vector<double>& corriente) const {
    std::vector<int> malos;
    if (tension.empty() && corriente.empty())
        return malos;
    const std::vector<juicio::Serie> series = SeriesJuicio(tipo);
    for (size_t r = 0; r < m_registros.size(); ++r) {
        if (juicio::RegistroRompe(series, m_registros[r], tension, corriente))
            malos.push_back(static_cast<int>(r));
    }
    return malos;
}

QString EtiquetaOrden(int punto) {
    return QStringLiteral("|h%1").arg(punto + 2);
}

int DecimalesBanda(double ancho) {
    int n = 1;
    // Bounded: a width of zero or less would never be reached.
    while (n < 9 && std::pow(10.0, -n) > ancho)
        ++n;
    return n;
}

QString EtiquetaBanda(double x, double ancho) {
    const int d = DecimalesBanda(ancho);
    const QByteArray formato =
        QByteArray("|B%.") + QByteArray::number(d) + "f - %." + QByteArray::number(d) + "f V";
    return QString::asprintf(formato.constData(), x - ancho, x);
}

QString EtiquetaInterarmonico(int punto, int puntos) {
    // Beyond 40 points the labels would overlap: every other one is left blank.
    if (puntos > 40 && punto % 2 == 1)
        return QStringLiteral("|h");
    return QString::asprintf("|h%.1f", punto + 1.5);
}

int PuntosSobreThd(const std::vector<double>& valores, double limite) {
    return static_cast<int>(std::count_if(valores.begin(), valores.end(),
                                          [limite](double v) { return juicio::SuperaThd(v, limite); }));
}

} // namespace armonicos
