#include "JuicioArmonicos.h"

#include <algorithm>

namespace juicio {

std::vector<double> RegistroLimites::ComoArray() const {
    std::vector<double> a;
    a.reserve(5 + limites.size());
    a.push_back(static_cast<double>(tipo));
    a.push_back(resaltar ? 1.0 : 0.0);
    a.push_back(static_cast<double>(colorResaltado));
    a.push_back(static_cast<double>(limites.size()));
    a.push_back(thd);
    a.insert(a.end(), limites.begin(), limites.end());
    return a;
}

bool SerieRompe(std::span<const double> valores, Registro registro, std::span<const double> limites) {
    const auto [primero, ultimo] = registro;
    if (primero < 0 || ultimo < primero || valores.empty())
        return false;
    const size_t ultimoValido = std::min(static_cast<size_t>(ultimo), valores.size() - 1);
    for (size_t j = 0; j < limites.size(); ++j) {
        const size_t punto = static_cast<size_t>(primero) + j;
        if (punto > ultimoValido)
            break;
        if (limites[j] < valores[punto])
            return true;
    }
    return false;
}

bool RegistroRompe(std::span<const Serie> series, Registro registro, std::span<const double> limitesTension,
                   std::span<const double> limitesCorriente) {
    return std::any_of(series.begin(), series.end(), [&](const Serie& s) {
        return SerieRompe(s.valores, registro, s.tipo == Tipo::Tension ? limitesTension : limitesCorriente);
    });
}

Visibles RecalcularVisibles(std::span<const Serie> series, std::span<const Registro> registros,
                            bool verSoloMalos, std::span<const double> limitesTension,
                            std::span<const double> limitesCorriente, std::vector<int> anteriores) {
    Visibles v;
    const bool hayLimites = !limitesTension.empty() || !limitesCorriente.empty();
    for (size_t i = 0; i < registros.size(); ++i) {
        if (!verSoloMalos || !hayLimites ||
            RegistroRompe(series, registros[i], limitesTension, limitesCorriente))
            v.indices.push_back(static_cast<int>(i));
    }
    if (verSoloMalos && hayLimites && v.indices.empty()) {
        v.ningunoMalo = true;
        v.indices = std::move(anteriores);
    }
    return v;
}

int AjustarActual(int actual, int numVisibles) {
    return std::clamp(actual, 0, std::max(0, numVisibles - 1));
}

void ColorearPuntos(std::span<const double> valoresRegistro, std::span<const double> limites, int colorSerie,
                    int colorResaltado, std::span<int> colores) {
    const size_t n = std::min({valoresRegistro.size(), limites.size(), colores.size()});
    for (size_t j = 0; j < n; ++j) {
        if (colores[j] == kColorBlanco)
            continue;
        colores[j] = valoresRegistro[j] > limites[j] ? colorResaltado : colorSerie;
    }
}

int ColorLineaLimite(double limite, double maximoMedido, int colorFondo) {
    if (limite > maximoMedido)
        return colorFondo;
    return colorFondo == kColorNegro ? kColorBlanco : kColorNegro;
}

bool SuperaThd(double valor, double limite) {
    return limite != normas::kSinLimite && valor > limite;
}

} // namespace juicio
