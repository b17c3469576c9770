#include "FormasOnda.h"

#include "Contrato.h"
#include "LecturaCursor.h"
#include "Registros.h"
#include "SettingsStore.h"
#include "Textos.h"

#include <algorithm>
#include <cmath>

namespace formaonda {

namespace {

constexpr int kDecimalesPorDefecto = 2;
// Above this many decimals the figures are noise; a wrong registry value reads as the default.
constexpr int kMaxDecimales = 9;

} // namespace

QString EtiquetaCanal(int canal, bool conAnalogico) {
    if (conAnalogico && canal >= 3)
        return Texto(TXT_LABEL_AN).trimmed();
    return QString::asprintf(CargarTexto(TXT_FMT_PHASE), (canal % 3 + 3) % 3 + 1).trimmed();
}

LineasReferencia Lineas(int primero, int ultimo, std::uint32_t colorFondo) {
    LineasReferencia l;
    const int n = ultimo - primero;
    l.x = {static_cast<double>(2 * n / 3), static_cast<double>(n / 3)};
    const auto color = static_cast<std::int32_t>(colorFondo == kNegro ? kBlanco : kNegro);
    l.colores = {color, color};
    return l;
}

FormatoDistorsion FormatoDistorsion::Leer() {
    FormatoDistorsion f;
    bool nueva = false;
    if (auto clave = host::SettingsKey::openOrCreate(QString(), &nueva)) {
        if (nueva) {
            clave->writeInt(QStringLiteral("UNIDADDISTORSION"), 0);
            clave->writeInt(QStringLiteral("DECIMALESDISTORSION"), 0);
        } else {
            f.unidad = clave->readIntWithDefault(QStringLiteral("UNIDADDISTORSION"), 0);
            f.decimales = clave->readIntWithDefault(QStringLiteral("DECIMALESDISTORSION"), 0);
        }
    }
    return f;
}

QString FormatoDistorsion::Numero(double porcentaje) const {
    const int d = decimales > 0 && decimales <= kMaxDecimales + 1 ? decimales - 1 : kDecimalesPorDefecto;
    // No figure: the read-out's "?" alone, without a unit.
    if (porcentaje == kValorNulo || !std::isfinite(porcentaje))
        return LecturaCursor::FormatearNumero(kValorNulo, d);
    if (unidad == 1) {
        const double pu = porcentaje == kValorNulo ? kValorNulo : porcentaje / 100.0;
        // Per unit needs two more decimals to say as much as the percentage.
        return LecturaCursor::FormatearNumero(pu, d + 2);
    }
    return LecturaCursor::FormatearNumero(porcentaje, d) + QStringLiteral(" %");
}

DatosFormaOnda::DatosFormaOnda(const ListasAtributos& listas) {
    const TValorMultiple& valores = listas[LV_VALORES];
    m_numPuntos = valores.Cuenta() > 0 ? std::max(0, valores.Elementos(0)) : 0;
    for (int fila = 0; fila < valores.Cuenta(); ++fila) {
        // A row shorter than the first is padded with missing samples; a longer one cut.
        std::vector<double> v(static_cast<size_t>(m_numPuntos), kValorNulo);
        const int n = std::min(valores.Elementos(fila), m_numPuntos);
        bool alguno = false;
        for (int i = 0; i < n; ++i) {
            const double x = valores.Numero(fila, i);
            v[static_cast<size_t>(i)] = std::isfinite(x) ? x : kValorNulo;
            alguno = alguno || v[static_cast<size_t>(i)] != kValorNulo;
        }
        if (!alguno)
            continue;
        Canal c;
        c.fila = fila;
        if (fila < listas[LV_NOMBRES].Cuenta())
            c.nombre = QString::fromStdString(listas[LV_NOMBRES].Texto(fila));
        if (fila < listas[LV_UNIDADES].Cuenta())
            c.unidad = QString::fromStdString(listas[LV_UNIDADES].Texto(fila));
        if (fila < listas[LV_DECIMALES].Cuenta() && listas[LV_DECIMALES].Elementos(fila) > 0)
            c.decimales = std::clamp(static_cast<int>(listas[LV_DECIMALES].Numero(fila, 0)), 0, 15);
        m_canales.push_back(c);
        m_valores.push_back(std::move(v));
    }

    m_registros = registros::Leer(listas[LV_INTERVALOS], m_numPuntos);
    m_tiempos = registros::Tiempos(listas);
    m_tiempos.resize(m_registros.size());

    const TValorMultiple& extra = listas[LV_ADICIONALES];
    for (int f = 0; f < extra.Cuenta(); ++f) {
        std::vector<double> fila(static_cast<size_t>(std::max(0, extra.Elementos(f))));
        for (size_t i = 0; i < fila.size(); ++i)
            fila[i] = extra.Numero(f, static_cast<int>(i));
        m_figuras.push_back(std::move(fila));
    }
}

double DatosFormaOnda::Valor(int serie, int punto) const {
    if (serie < 0 || serie >= NumCanales() || punto < 0 || punto >= m_numPuntos)
        return kValorNulo;
    return m_valores[static_cast<size_t>(serie)][static_cast<size_t>(punto)];
}

TTiempo DatosFormaOnda::TiempoRegistro(int registro) const {
    if (registro < 0 || registro >= static_cast<int>(m_tiempos.size()))
        return TTiempo();
    return m_tiempos[static_cast<size_t>(registro)];
}

double DatosFormaOnda::Figura(int fila, int registro) const {
    if (fila < 0 || fila >= static_cast<int>(m_figuras.size()) || registro < 0 ||
        registro >= static_cast<int>(m_figuras[static_cast<size_t>(fila)].size()))
        return kValorNulo;
    const double v = m_figuras[static_cast<size_t>(fila)][static_cast<size_t>(registro)];
    return std::isfinite(v) ? v : kValorNulo;
}

double DatosFormaOnda::Thd(int serie, int registro) const {
    return serie < 0 || serie >= NumCanales() ? kValorNulo : Figura(2 * CanalDe(serie).fila, registro);
}

double DatosFormaOnda::D(int serie, int registro) const {
    return serie < 0 || serie >= NumCanales() ? kValorNulo : Figura(2 * CanalDe(serie).fila + 1, registro);
}

std::array<QStringList, 2> DatosFormaOnda::TextosDistorsion(int registro, bool conAnalogico,
                                                            const FormatoDistorsion& formato) const {
    std::array<QStringList, 2> grupos;
    for (int s = 0; s < NumCanales(); ++s) {
        const int fila = CanalDe(s).fila;
        grupos[fila < 3 ? 0 : 1] << EtiquetaCanal(fila, conAnalogico) + QStringLiteral(" ") +
                                        Texto(TXT_THD_READOUT) + formato.Numero(Thd(s, registro)) +
                                        QStringLiteral(" ") + Texto(TXT_D_READOUT) +
                                        formato.Numero(D(s, registro));
    }
    return grupos;
}

QString DatosFormaOnda::TituloRegistro(int registro, bool conAnalogico,
                                       const FormatoDistorsion& formato) const {
    QString titulo = QStringLiteral("|") + QString::fromStdString(TiempoRegistro(registro).Texto(' ', '.')) +
                     QStringLiteral("|\t");
    for (const QStringList& grupo : TextosDistorsion(registro, conAnalogico, formato)) {
        if (!grupo.isEmpty())
            titulo += QStringLiteral("|") + grupo.join(QLatin1Char('|')) + QStringLiteral("|\t");
    }
    return titulo;
}

} // namespace formaonda
