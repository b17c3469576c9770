#include "CurvasTolerancia.h"

namespace {

constexpr double kNoDibujado = -9999.9;

bool DentroITIC(double v, double d) {
    if (d <= 0.02)
        return v <= 120.0;
    if (d <= 0.5)
        return v >= 70.0 && v <= 120.0;
    if (d <= 10.0)
        return v >= 80.0 && v <= 110.0;
    return v >= 90.0 && v <= 110.0;
}

// SEMI F47 only bounds sags: there is no upper limit.
bool DentroSEMIF47(double v, double d) {
    if (d <= 0.02)
        return true;
    if (d <= 0.2)
        return v > 50.0;
    if (d <= 0.5)
        return v > 70.0;
    if (d <= 10.0)
        return v > 80.0;
    return v > 90.0;
}

} // namespace

bool DentroDeCurva(int curva, double valor, double segundos) {
    switch (curva) {
    case CURVA_ITIC:
        return DentroITIC(valor, segundos);
    case CURVA_SEMIF47:
        return DentroSEMIF47(valor, segundos);
    default:
        return true;
    }
}

double JuzgarEvento(double valor, double segundos, int curva, bool verOk, bool verNoOk) {
    if (verOk && verNoOk)
        return valor;
    if (!verOk && !verNoOk)
        return kNoDibujado;
    if (curva != CURVA_ITIC && curva != CURVA_SEMIF47)
        return valor;
    const bool ok = DentroDeCurva(curva, valor, segundos);
    return (ok && verOk) || (!ok && verNoOk) ? valor : kNoDibujado;
}

std::vector<PuntoCurva> PuntosCurva(int curva) {
    switch (curva) {
    case CURVA_ITIC:
        return {// lower boundary
                {0.02, 0, true},
                {0.02, 70, false},
                {0.5, 70, false},
                {0.5, 80, false},
                {10, 80, false},
                {10, 90, false},
                {10000, 90, false},
                // upper boundary
                {0.0001, 500, true},
                {0.001, 200, false},
                {0.003, 140, false},
                {0.003, 120, false},
                {0.5, 120, false},
                {0.5, 110, false},
                {10000, 110, false}};
    case CURVA_SEMIF47:
        return {{0.02, 0, true},  {0.02, 50, false}, {0.2, 50, false}, {0.2, 70, false},  {0.5, 70, false},
                {0.5, 80, false}, {10, 80, false},   {10, 90, false},  {10000, 90, false}};
    default:
        return {};
    }
}
