#include "Agrupacion.h"

#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <vector>

using namespace Agrupacion;

namespace {

TTiempo T(int y, int mo, int d, int h = 0, int mi = 0, int s = 0, int ms = -1) {
    return TTiempo(y, mo, d, h, mi, s, ms);
}

// Points every `pasoMinutos` from `inicio` for `cuantos` points.
std::vector<TTiempo> Serie(TTiempo inicio, int pasoMinutos, int cuantos) {
    std::vector<TTiempo> t;
    for (int i = 0; i < cuantos; ++i) {
        t.push_back(inicio);
        inicio.SumarSegundos(pasoMinutos * 60LL);
    }
    return t;
}

using Rangos = std::vector<Intervalo>;

} // namespace

TEST(CortarIntervalos, CutsAtCalendarBoundariesGapsAndBackwardSteps) {
    struct Caso {
        const char* que;
        int nivel;
        std::vector<TTiempo> t;
        Rangos esperado;
    };
    // clang-format off
    const Caso casos[] = {
        // 3 January 2026 is a Saturday; every six hours until Tuesday evening.
        {"weeks split at Monday", NIVEL_SEMANAS, Serie(T(2026, 1, 3), 360, 16), {{0, 7}, {8, 15}}},
        // Wednesday 7 to Saturday 17: the running weekday does not wrap, only the gap cuts; after
        // the gap the weekday is taken afresh, so Monday 19 still starts a week.
        {"gap of more than six days", NIVEL_SEMANAS,
         {T(2026, 1, 7, 10), T(2026, 1, 17, 10), T(2026, 1, 18, 9), T(2026, 1, 19, 8)}, {{0, 0}, {1, 2}, {3, 3}}},
        {"gap inside one week", NIVEL_SEMANAS, {T(2026, 1, 5), T(2026, 1, 11, 23, 59, 59), T(2026, 1, 12)}, {{0, 1}, {2, 2}}},
        {"week across the year end", NIVEL_SEMANAS, Serie(T(2025, 12, 29), 24 * 60, 8), {{0, 6}, {7, 7}}},
        {"dates going backwards", NIVEL_SEMANAS, {T(2026, 1, 8), T(2026, 1, 6), T(2026, 1, 7)}, {{0, 0}, {1, 2}}},
        {"month and year ends", NIVEL_MESES,
         {T(2024, 2, 28), T(2024, 2, 29, 23, 59, 59), T(2024, 3, 1), T(2024, 12, 31, 23, 59, 59, 999), T(2025, 1, 1)},
         {{0, 1}, {2, 2}, {3, 3}, {4, 4}}},
        {"same month of another year", NIVEL_MESES, {T(2025, 1, 10), T(2026, 1, 10), T(2026, 1, 20)}, {{0, 0}, {1, 2}}},
        {"hours across midnight, same hour next day", NIVEL_HORAS,
         {T(2026, 1, 31, 23), T(2026, 1, 31, 23, 59, 59), T(2026, 2, 1, 0), T(2026, 2, 1, 0, 30), T(2026, 2, 2, 0, 30)},
         {{0, 1}, {2, 3}, {4, 4}}},
    };
    // clang-format on
    for (const Caso& c : casos)
        EXPECT_EQ(CortarIntervalos(c.nivel, c.t.data(), static_cast<int>(c.t.size())), c.esperado) << c.que;
    for (int nivel = NIVEL_MESES; nivel <= NIVEL_HORAS; ++nivel) {
        EXPECT_TRUE(CortarIntervalos(nivel, nullptr, 0).empty());
        const TTiempo uno = T(2026, 5, 5);
        EXPECT_EQ(CortarIntervalos(nivel, &uno, 1), (Rangos{{0, 0}}));
    }
}

TEST(NivelesDeAgrupacion, GroupAndUngroupStepOneLevelOtherModesAreTheLevel) {
    // clang-format off
    const int casos[][3] = { // mode, current level, new level
        {MODO_DESAGRUPAR, NIVEL_MESES, NIVEL_SIN_AGRUPAR}, {MODO_DESAGRUPAR, NIVEL_SEMANAS, NIVEL_MESES},
        {MODO_DESAGRUPAR, NIVEL_DIAS, NIVEL_SEMANAS},      {MODO_DESAGRUPAR, NIVEL_HORAS, NIVEL_DIAS},
        {MODO_AGRUPAR, NIVEL_MESES, NIVEL_SEMANAS},        {MODO_AGRUPAR, NIVEL_SEMANAS, NIVEL_DIAS},
        {MODO_AGRUPAR, NIVEL_DIAS, NIVEL_HORAS},           {MODO_AGRUPAR, NIVEL_SIN_AGRUPAR, NIVEL_MESES},
        {MODO_AGRUPAR, NIVEL_DEFECTO, NIVEL_MESES},        {NIVEL_NO_DISPONIBLE, NIVEL_MESES, NIVEL_NO_DISPONIBLE},
    };
    // clang-format on
    for (const auto& c : casos)
        EXPECT_EQ(NuevoNivel(c[0], c[1]), c[2]) << c[0] << " " << c[1];
    for (int nivel = NIVEL_MESES; nivel <= NIVEL_DEFECTO; ++nivel)
        EXPECT_EQ(NuevoNivel(nivel, NIVEL_HORAS), nivel);
}

namespace {

// What regrouping around a cursor gives: the interval count, the current interval and the
// cursor's point inside it.
struct Esperado {
    int intervalos, actual, punto;
};

void Comprobar(const Agrupamiento& a, const Esperado& e) {
    EXPECT_EQ(a.numIntervalos, e.intervalos);
    EXPECT_EQ(a.intervaloActual, e.actual);
    EXPECT_EQ(a.puntoCursor, e.punto);
    if (e.intervalos == 1) {
        EXPECT_TRUE(a.rangos.empty());
    }
}

} // namespace

TEST(CursorAlReagrupar, TheIntervalHoldingTheCursorBecomesCurrentWithThePointInside) {
    // Three days from Monday 9 March 2026, one point every ten minutes, each at .500 s.
    std::vector<TTiempo> t = Serie(T(2026, 3, 9, 0, 0, 0, 500), 10, 3 * 144);
    auto con = [&](int nivel, std::optional<TTiempo> cursor) {
        return CalcularAgrupacion(nivel, t.data(), static_cast<int>(t.size()), nullptr, 0, 600,
                                  cursor ? &*cursor : nullptr);
    };
    struct Caso {
        int nivel;
        std::optional<TTiempo> cursor;
        Esperado e;
    };
    // clang-format off
    const Caso casos[] = {
        {NIVEL_DIAS, T(2026, 3, 10, 12, 0, 0, 501), {3, 1, 72}},
        {NIVEL_HORAS, T(2026, 3, 11, 5, 40, 0, 499), {72, 48 + 5, 4}},
        {NIVEL_MESES, T(2026, 3, 11, 5, 40, 0, -1), {1, 0, 288 + 34}},
        {NIVEL_DIAS, T(2026, 3, 11, 0, 10, 0, 502), {3, 2, -1}}, // two milliseconds apart: no point
        {NIVEL_DIAS, T(2026, 4, 1, 0, 0, 0, 500), {3, 0, -1}},   // outside the data
        {NIVEL_DIAS, std::nullopt, {3, 0, -1}},
        {NIVEL_SIN_AGRUPAR, T(2026, 3, 10, 0, 0, 0, -1), {1, 0, 144}},
    };
    // clang-format on
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nivel);
        const Agrupamiento a = con(c.nivel, c.cursor);
        Comprobar(a, c.e);
        EXPECT_EQ(a.conEspaciado, c.nivel == NIVEL_SIN_AGRUPAR);
        if (a.conEspaciado) {
            EXPECT_DOUBLE_EQ(a.espaciado, 600.5 / 86400.0);
        }
    }
    // The Sunday before makes two weeks.
    t.insert(t.begin(), T(2026, 3, 8, 23, 0, 0, 500));
    Comprobar(con(NIVEL_SEMANAS, T(2026, 3, 10)), {2, 1, 144});
    // An empty series is one empty interval at any level, valid or not.
    for (int nivel : {0, 1, 2, 3, 4, 5, 99, -10})
        Comprobar(CalcularAgrupacion(nivel, nullptr, 0, nullptr, 0, 1, &t[0]), {1, 0, -1});
}

TEST(EspaciadoSinAgrupar, NegativeZeroAndNaNPeriods) {
    // Negative: 23:59:59 as the day fraction, then the same formula with |s|.
    const double f = 86399.0 / 86400.0;
    EXPECT_DOUBLE_EQ(EspaciadoSinAgrupar(-4), f + f / 8.0);
    // A period of 0 is half a second, the formula's limit, never a division by zero.
    EXPECT_DOUBLE_EQ(EspaciadoSinAgrupar(0), 0.5 / 86400.0);
    EXPECT_DOUBLE_EQ(EspaciadoSinAgrupar(std::numeric_limits<double>::quiet_NaN()), 0.5 / 86400.0);
}

TEST(IntervalosDelDato, DeliveredPairsMatchInOrderAndPlaceTheCursor) {
    // Ten points one minute apart; point 4 is repeated (a recorder that wrote one time twice).
    std::vector<TTiempo> t = Serie(T(2026, 6, 1, 12), 1, 10);
    t.insert(t.begin() + 4, t[4]);
    auto M = [](int minuto) { return T(2026, 6, 1, 12, minuto); };
    struct Caso {
        std::vector<TTiempo> pares;
        std::optional<TTiempo> cursor;
        Rangos rangos;
        Esperado e;
    };
    // clang-format off
    const Caso casos[] = {
        // The second pair ends on the repeated time: the run's last point closes it. The third
        // pair's end is never met, so it closes at the last point.
        {{M(0), M(2), M(3), M(4), M(6), M(30)}, std::nullopt, {{0, 2}, {3, 5}, {7, 10}}, {3, 0, -1}},
        {{M(0), M(9)}, M(7), {}, {1, 0, 8}}, // one pair means no ranges
        {{M(0), M(2), M(3), M(9)}, T(2026, 6, 1, 12, 7, 0, 123), {{0, 2}, {3, 10}}, {2, 1, 5}},
        {{M(0), M(2), M(3), M(9)}, M(59), {{0, 2}, {3, 10}}, {2, 0, -1}},
    };
    // clang-format on
    for (const Caso& c : casos) {
        const Agrupamiento a =
            CalcularAgrupacion(NIVEL_DEFECTO, t.data(), static_cast<int>(t.size()), c.pares.data(),
                               static_cast<int>(c.pares.size()), 0, c.cursor ? &*c.cursor : nullptr);
        EXPECT_EQ(a.rangos, c.rangos);
        Comprobar(a, c.e);
    }
    // The scan waits for a start that is never met, so a later pair is not reached either.
    const std::vector<TTiempo> pares = {M(0), M(1), M(40), M(41), M(5), M(6)};
    EXPECT_EQ(IntervalosEntregados(t.data(), static_cast<int>(t.size()), pares.data(), 6), (Rangos{{0, 1}}));
}
