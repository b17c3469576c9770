#include "EscalaFP.h"

#include "Contrato.h"

#include <algorithm>
#include <cmath>

namespace EscalaFP {

namespace {

constexpr std::int32_t Rgb(int r, int g, int b) {
    return static_cast<std::int32_t>(r | (g << 8) | (b << 16));
}
constexpr std::int32_t kColorLinea = Rgb(10, 100, 10);
constexpr std::int32_t kColorCero = Rgb(100, 50, 50);
constexpr int kLineaPunteada = 2;
constexpr int kLineaFina = 0;

// A series with no value keeps its extremes at the reset values, +-12345678900000.
bool Centinela(double v) {
    return std::fabs(v) >= 1.2345678e13;
}

Linea LineaEn(double t) {
    Linea l;
    l.valor = t;
    l.tipo = kLineaPunteada;
    l.color = kColorLinea;
    // Beyond 1 the drawn value stands for no power factor.
    if (t <= 1.0)
        l.etiqueta = QString::number(Desplegar(t), 'f', 4);
    return l;
}

} // namespace

double Plegar(double v) {
    if (v == kValorNulo || !std::isfinite(v) || Centinela(v))
        return v;
    return v >= 0.0 ? 1.0 - v : -1.0 - v;
}

double Desplegar(double t) {
    if (t == kValorNulo || !std::isfinite(t) || Centinela(t))
        return t;
    return t >= 0.0 ? 1.0 - t : -1.0 - t;
}

ListasAtributos Plegadas(const ListasAtributos& listas) {
    ListasAtributos r = listas;
    TValorMultiple& valores = r[LV_VALORES];
    valores.DeleteAll();
    const TValorMultiple& origen = listas[LV_VALORES];
    for (int fila = 0; fila < origen.Cuenta(); ++fila) {
        std::vector<double> v(static_cast<size_t>(origen.Elementos(fila)));
        for (size_t i = 0; i < v.size(); ++i)
            v[i] = Plegar(origen.Numero(fila, static_cast<int>(i)));
        valores.EntrarDoubles(v);
    }
    TValorMultiple& unidades = r[LV_UNIDADES];
    unidades.DeleteAll();
    for (int fila = 0; fila < origen.Cuenta(); ++fila)
        unidades.EntrarTexto(std::string());
    return r;
}

bool Rango(const std::vector<double>& minimos, const std::vector<double>& maximos, double& a, double& b) {
    bool hay = false;
    for (size_t s = 0; s < minimos.size() && s < maximos.size(); ++s) {
        if (Centinela(minimos[s]) || Centinela(maximos[s]))
            continue;
        a = hay ? std::min(a, minimos[s]) : minimos[s];
        b = hay ? std::max(b, maximos[s]) : maximos[s];
        hay = true;
    }
    return hay;
}

std::vector<Linea> Lineas(double a, double b) {
    std::vector<Linea> lineas;
    if (!std::isfinite(a) || !std::isfinite(b) || !(b > a))
        return lineas;
    const double s = 0.1 * (b - a);
    if (a > 0.0 || b < 0.0) {
        for (int i = 0; i <= 10; ++i)
            lineas.push_back(LineaEn(a + i * s));
        return lineas;
    }
    // Steps are counted, not accumulated, so the last line lands on the range's end.
    const double tolerancia = s * 1e-9;
    for (int k = 1; - k * s >= a - tolerancia; ++k)
        lineas.push_back(LineaEn(-k * s));
    Linea cero = LineaEn(0.0);
    cero.tipo = kLineaFina;
    cero.color = kColorCero;
    lineas.push_back(cero);
    for (int k = 1; k * s <= b + tolerancia; ++k)
        lineas.push_back(LineaEn(k * s));
    return lineas;
}

} // namespace EscalaFP
