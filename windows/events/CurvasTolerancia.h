#pragma once

#include <vector>

// The power-quality tolerance curves events are judged against: the number stored in "CURVA".
enum CurvaTolerancia : int { CURVA_CBEMA = 0, CURVA_ITIC = 1, CURVA_SEMIF47 = 2 };

// Whether an event of extreme voltage `valor` (% of nominal) lasting `segundos` lies within the
// curve's tolerance. A duration equal to a band limit belongs to the band below it. CBEMA and
// unknown curve numbers judge nothing: every event is within.
bool DentroDeCurva(int curva, double valor, double segundos);

// The value to plot for an event, or -9999.9 when the OK / not-OK filter hides it.
double JuzgarEvento(double valor, double segundos, int curva, bool verOk, bool verNoOk);

// One vertex of a curve as drawn: duration in seconds, voltage in % of nominal. A polyline
// starts at a vertex marked `inicio` and runs through the following ones.
struct PuntoCurva {
    double segundos;
    double valor;
    bool inicio;
};
// The vertices the window draws for a curve (ITIC 14, SEMI F47 9, CBEMA none). The drawn ITIC
// upper boundary rises above 120 % below 3 ms; the judgement does not follow it there.
std::vector<PuntoCurva> PuntosCurva(int curva);
