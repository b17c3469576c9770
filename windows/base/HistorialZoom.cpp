#include "HistorialZoom.h"

HistorialZoom::HistorialZoom() {
    // Users rarely nest more zooms than this; beyond it the list simply grows.
    m_registros.reserve(16);
}

void HistorialZoom::LimpiarZoom() {
    m_registros.clear();
}

void HistorialZoom::ApilarZoom(double xMin, double xMax, double yMin, double yMax) {
    auto registro = std::make_unique<RegistroZoom>();
    registro->xMin = xMin;
    registro->xMax = xMax;
    registro->yMin = yMin;
    registro->yMax = yMax;
    m_registros.push_back(std::move(registro));
}

bool HistorialZoom::DesapilarZoom(RegistroZoom& registro) {
    if (m_registros.empty())
        return false;
    m_registros.pop_back();
    if (!m_registros.empty())
        registro = *m_registros.back();
    return true;
}
