#include "Perturbaciones.h"

#include "Contrato.h"
#include "Registros.h"
#include "SettingsStore.h"

#include <algorithm>
#include <cmath>

namespace perturbaciones {

namespace {

// pi / 1000: the angle, in radians, that one sample of the trigger's unit stands for per hertz.
constexpr double kPiMilesimas = 0.0031415926535897933;
// Registry values are 32-bit: a colour is its 0x00BBGGRR value.
constexpr std::uint32_t kMascaraColor = 0x00FFFFFF;

const QString kClave = QStringLiteral("PERTURBACIONES");

bool Nulo(double x) {
    return x == kValorNulo || !std::isfinite(x);
}

} // namespace

void LeerRegistro(Filtro& filtro) {
    const Filtro defecto;
    bool nueva = false;
    auto clave = host::SettingsKey::openOrCreate(kClave, &nueva);
    if (!clave)
        return;
    if (nueva) {
        EscribirRegistro(defecto);
        filtro.ColorTrigger = defecto.ColorTrigger;
        filtro.ColorPorcentaje = defecto.ColorPorcentaje;
        filtro.Frecuencia = defecto.Frecuencia;
        filtro.Ciclos = defecto.Ciclos;
        return;
    }
    filtro.ColorTrigger = static_cast<std::uint32_t>(clave->readIntWithDefault(
                              QStringLiteral("COLORT"), static_cast<qint32>(defecto.ColorTrigger))) &
                          kMascaraColor;
    filtro.ColorPorcentaje = static_cast<std::uint32_t>(clave->readIntWithDefault(
                                 QStringLiteral("COLORP"), static_cast<qint32>(defecto.ColorPorcentaje))) &
                             kMascaraColor;
    const int f = clave->readIntWithDefault(QStringLiteral("FRECUENCIA"), defecto.Frecuencia);
    filtro.Frecuencia = f == 50 || f == 60 ? f : defecto.Frecuencia;
    const int c = clave->readIntWithDefault(QStringLiteral("CICLOS"), defecto.Ciclos);
    filtro.Ciclos = c == 0 || c == 1 ? c : defecto.Ciclos;
}

void EscribirRegistro(const Filtro& filtro) {
    auto clave = host::SettingsKey::openOrCreate(kClave);
    if (!clave)
        return;
    clave->writeInt(QStringLiteral("COLORT"), static_cast<qint32>(filtro.ColorTrigger & kMascaraColor));
    clave->writeInt(QStringLiteral("COLORP"), static_cast<qint32>(filtro.ColorPorcentaje & kMascaraColor));
    clave->writeInt(QStringLiteral("FRECUENCIA"), filtro.Frecuencia);
    clave->writeInt(QStringLiteral("CICLOS"), filtro.Ciclos);
}

Umbrales UmbralesDe(const Filtro& filtro, double vref) {
    Umbrales u;
    const double pico = std::sqrt(2.0) * vref;
    u.A = 0.01 * pico * filtro.Porcentaje;
    u.B = pico * std::sin(filtro.Frecuencia * kPiMilesimas) * filtro.Trigger;
    return u;
}

int VentanaHueco(const Filtro& filtro) {
    if (filtro.Frecuencia <= 0)
        return 0;
    return (filtro.Ciclos == 1 ? 2000 : 1000) / filtro.Frecuencia;
}

int MuestrasMarca(const Filtro& filtro) {
    return filtro.Ciclos == 1 ? kMuestrasMarcaCiclo : kMuestrasMarcaSemiciclo;
}

bool RegistroMalo(const Filtro& filtro, double vref, std::span<const std::span<const double>> series,
                  int primero, int ultimo) {
    // Without a reference there is no limit to judge against.
    if (!(vref > 0))
        return false;
    const Umbrales u = UmbralesDe(filtro, vref);
    const int ventana = VentanaHueco(filtro);
    for (std::span<const double> s : series) {
        const int fin = std::min(ultimo, static_cast<int>(s.size()) - 1);
        if (primero < 0 || fin < primero)
            continue;
        if (filtro.VerPorcentaje) {
            int cuenta = 0;
            for (int i = primero; i <= fin; ++i) {
                const double x = s[static_cast<size_t>(i)];
                if (!Nulo(x) && -u.A < x && x < u.A) {
                    ++cuenta;
                    continue;
                }
                if (cuenta >= ventana && cuenta > 0)
                    return true;
                cuenta = 0;
            }
            if (cuenta >= ventana && cuenta > 0)
                return true;
        }
        if (filtro.VerTrigger) {
            for (int i = primero + 1; i <= fin; ++i) {
                const double a = s[static_cast<size_t>(i - 1)];
                const double b = s[static_cast<size_t>(i)];
                if (!Nulo(a) && !Nulo(b) && std::fabs(b - a) >= u.B)
                    return true;
            }
        }
    }
    return false;
}

std::vector<std::int32_t> ColoresMarcas(const Filtro& filtro, double vref, std::span<const double> muestras,
                                        std::int32_t colorSerie) {
    std::vector<std::int32_t> colores(muestras.size(), colorSerie);
    if (!(vref > 0))
        return colores;
    const Umbrales u = UmbralesDe(filtro, vref);
    if (filtro.VerPorcentaje) {
        const size_t minimo = static_cast<size_t>(MuestrasMarca(filtro));
        size_t inicio = 0;
        for (size_t i = 0; i <= muestras.size(); ++i) {
            const bool dentro =
                i < muestras.size() && !Nulo(muestras[i]) && -u.A < muestras[i] && muestras[i] < u.A;
            if (dentro)
                continue;
            if (i - inicio >= minimo)
                std::fill(colores.begin() + static_cast<std::ptrdiff_t>(inicio),
                          colores.begin() + static_cast<std::ptrdiff_t>(i),
                          static_cast<std::int32_t>(filtro.ColorPorcentaje));
            inicio = i + 1;
        }
    }
    if (filtro.VerTrigger) {
        for (size_t i = 1; i < muestras.size(); ++i) {
            if (!Nulo(muestras[i - 1]) && !Nulo(muestras[i]) &&
                std::fabs(muestras[i] - muestras[i - 1]) >= u.B)
                colores[i] = static_cast<std::int32_t>(filtro.ColorTrigger);
        }
    }
    return colores;
}

std::array<double, kElementosFiltro> ObjetoFiltro(const Filtro& f) {
    return {kEtiquetaFiltro,
            static_cast<double>(f.VerTrigger),
            f.Trigger,
            static_cast<double>(f.ColorTrigger),
            static_cast<double>(f.Frecuencia),
            static_cast<double>(f.VerPorcentaje),
            f.Porcentaje,
            static_cast<double>(f.ColorPorcentaje),
            static_cast<double>(f.Ciclos),
            static_cast<double>(f.VerMalos)};
}

bool FiltroDeObjeto(std::span<const double> o, Filtro& filtro) {
    if (o.size() != kElementosFiltro || o[0] != kEtiquetaFiltro)
        return false;
    for (double x : o) {
        if (!std::isfinite(x))
            return false;
    }
    const auto color = [](double x) {
        return x >= 0 && x <= kMascaraColor ? static_cast<std::uint32_t>(x) : 0u;
    };
    Filtro f = filtro;
    f.VerTrigger = o[1] != 0 ? 1 : 0;
    f.Trigger = o[2];
    f.ColorTrigger = color(o[3]);
    f.Frecuencia = o[4] == 60 ? 60 : 50;
    f.VerPorcentaje = o[5] != 0 ? 1 : 0;
    f.Porcentaje = o[6];
    f.ColorPorcentaje = color(o[7]);
    f.Ciclos = o[8] == 0 ? 0 : 1;
    f.VerMalos = o[9] != 0 ? 1 : 0;
    filtro = f;
    return true;
}

namespace {

bool Numero(const QString& texto, double& valor) {
    bool ok = false;
    valor = texto.trimmed().toDouble(&ok);
    return ok && std::isfinite(valor) && std::fabs(valor) < 1e9;
}

} // namespace

bool PosicionTrigger(const QString& texto, int& posicion) {
    double v = 0;
    if (!Numero(texto, v))
        return false;
    // Tenths typed as "1.2" are 12: rounded to the tenth first so binary fractions do not lose one.
    posicion = static_cast<int>(std::trunc(std::round(v * 1000.0) / 100.0));
    return true;
}

bool PosicionPorcentaje(const QString& texto, int& posicion) {
    double v = 0;
    if (!Numero(texto, v))
        return false;
    posicion = static_cast<int>(std::trunc(v));
    return true;
}

int MinimoTrigger(double menorTrigger) {
    if (!std::isfinite(menorTrigger) || menorTrigger >= kSinTrigger)
        return kTriggerMinimo;
    return std::clamp(static_cast<int>(std::lround(menorTrigger * 10.0)), kTriggerMinimo, kTriggerMaximo);
}

DatosPerturbaciones::DatosPerturbaciones(const ListasAtributos& listas) {
    const TValorMultiple& valores = listas[LV_VALORES];
    m_numPuntos = valores.Cuenta() > 0 ? std::max(0, valores.Elementos(0)) : 0;
    for (int fila = 0; fila < valores.Cuenta(); ++fila) {
        std::vector<double> v(static_cast<size_t>(m_numPuntos), kValorNulo);
        const int n = std::min(valores.Elementos(fila), m_numPuntos);
        for (int i = 0; i < n; ++i) {
            const double x = valores.Numero(fila, i);
            v[static_cast<size_t>(i)] = std::isfinite(x) ? x : kValorNulo;
        }
        m_series.push_back(std::move(v));
        m_nombres.push_back(fila < listas[LV_NOMBRES].Cuenta()
                                ? QString::fromStdString(listas[LV_NOMBRES].Texto(fila))
                                : QString());
        m_unidades.push_back(fila < listas[LV_UNIDADES].Cuenta()
                                 ? QString::fromStdString(listas[LV_UNIDADES].Texto(fila))
                                 : QString());
        int d = 1;
        if (fila < listas[LV_DECIMALES].Cuenta() && listas[LV_DECIMALES].Elementos(fila) > 0)
            d = std::clamp(static_cast<int>(listas[LV_DECIMALES].Numero(fila, 0)), 0, 15);
        m_decimales.push_back(d);
    }
    // Every phase shares the registers of the first.
    m_registros = registros::Leer(listas[LV_INTERVALOS], m_numPuntos, true);
    m_tiempos = registros::Tiempos(listas);
    const TValorMultiple& extra = listas[LV_ADICIONALES];
    const auto columna = [&extra](int fila, std::vector<double>& destino) {
        if (fila >= extra.Cuenta())
            return;
        for (int i = 0; i < extra.Elementos(fila); ++i)
            destino.push_back(extra.Numero(fila, i));
    };
    columna(0, m_vref);
    columna(1, m_triggers);
}

TTiempo DatosPerturbaciones::TiempoRegistro(int registro) const {
    if (registro < 0 || registro >= static_cast<int>(m_tiempos.size()))
        return TTiempo();
    return m_tiempos[static_cast<size_t>(registro)];
}

double DatosPerturbaciones::Vref(int registro) const {
    if (registro < 0 || registro >= static_cast<int>(m_vref.size()))
        return 0.0;
    const double v = m_vref[static_cast<size_t>(registro)];
    return std::isfinite(v) && v != kValorNulo ? v : 0.0;
}

double DatosPerturbaciones::MenorTrigger() const {
    double menor = kSinTrigger;
    for (double t : m_triggers) {
        if (std::isfinite(t) && t != kValorNulo)
            menor = std::min(menor, t);
    }
    return menor;
}

bool DatosPerturbaciones::Malo(const Filtro& filtro, int registro) const {
    if (registro < 0 || registro >= static_cast<int>(m_registros.size()))
        return false;
    std::vector<std::span<const double>> series;
    for (const std::vector<double>& s : m_series)
        series.emplace_back(s);
    const auto [a, b] = m_registros[static_cast<size_t>(registro)];
    return RegistroMalo(filtro, Vref(registro), series, a, b);
}

std::vector<int> DatosPerturbaciones::Malos(const Filtro& filtro) const {
    std::vector<int> r;
    for (int i = 0; i < static_cast<int>(m_registros.size()); ++i) {
        if (Malo(filtro, i))
            r.push_back(i);
    }
    return r;
}

} // namespace perturbaciones
