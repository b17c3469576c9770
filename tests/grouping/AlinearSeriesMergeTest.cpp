#include "CatalogoFicheros.h"
#include "Contrato.h"
#include "TTiempo.h"
#include "TValorMultiple.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

namespace {

using Orden = std::tuple<int, int, int, int, int, int, int>;

Orden OrdenDe(const TTiempo& t) {
    return {t.Anio, t.Mes, t.Dia, t.Hora, t.Minuto, t.Segundo, t.Milesima};
}

} // namespace

// An outer join of staggered series: a time without milliseconds is not the same instant as
// one at .000, a later day sorts after an earlier hour, and series without points or with
// values rows shorter than their times give nulls.
TEST(AlinearSeriesMerge, StaggeredSeriesJoinOnEveryTimeAnyOfThemHas) {
    auto P = [](int dia, int segundo, int ms) { return TTiempo(2026, 3, dia, 10, 0, segundo, ms); };
    const std::vector<TTiempo> esperados = {P(1, 0, -1), P(1, 0, 0), P(1, 1, -1), P(1, 2, 500), P(2, 0, -1)};
    TValorMultiple t, v, i;
    t.EntrarTiempos({P(1, 0, -1), P(1, 1, -1), P(2, 0, -1)});
    v.EntrarDoubles({10, 11, 12});
    t.EntrarTiempos({P(1, 0, 0), P(1, 1, -1), P(1, 2, 500)});
    v.EntrarDoubles({20, 21});
    t.EntrarTiempos({});
    v.EntrarDoubles({});
    ASSERT_EQ(CatalogoFicheros::AlinearSeries(t, v, i), 5);
    const double n = kValorNulo;
    const std::vector<std::vector<double>> valores = {{10, n, 11, n, 12}, {n, 20, 21, n, n}, {n, n, n, n, n}};
    ASSERT_EQ(t.Cuenta(), 3);
    ASSERT_EQ(i.Cuenta(), 3);
    for (int s = 0; s < 3; ++s) {
        ASSERT_EQ(t.Elementos(s), 5);
        EXPECT_EQ(v.Tipo(s), TV_DOUBLE);
        EXPECT_EQ(i.Elementos(s), 0);
        for (int k = 0; k < 5; ++k) {
            EXPECT_EQ(OrdenDe(t.Tiempos(s)[k]), OrdenDe(esperados[static_cast<size_t>(k)])) << s << " " << k;
            EXPECT_EQ(v.Doubles(s)[k], valores[static_cast<size_t>(s)][static_cast<size_t>(k)])
                << s << " " << k;
        }
    }
}

TEST(AlinearSeriesMerge, SeriesOnOneAxisKeepTheirRowsAndAgreeWithTheFullMerge) {
    std::vector<TTiempo> pasos;
    for (int k = 0; k < 6; ++k)
        pasos.push_back(TTiempo(2026, 3, 1, 10, 0, k, -1));
    // Two series deliver intervals that merge into one list of boundaries.
    auto preparar = [&](TValorMultiple& t, TValorMultiple& v, TValorMultiple& i, bool enteros) {
        for (int s = 0; s < 3; ++s) {
            t.EntrarTiempos(pasos);
            if (enteros && s == 2)
                v.EntrarEnteros({1, 2, 3, 4, 5, 6}); // not doubles: the rows are rewritten
            else
                v.EntrarDoubles({1, 2, 3, 4, 5, 6});
        }
        i.EntrarTiempos({pasos[0], pasos[2]});
        i.EntrarTiempos({pasos[3], pasos[5]});
    };
    TValorMultiple t, v, i, tLento, vLento, iLento;
    preparar(t, v, i, false);
    preparar(tLento, vLento, iLento, true);
    const double* propia = v.Doubles(1);
    ASSERT_EQ(CatalogoFicheros::AlinearSeries(t, v, i), 6);
    ASSERT_EQ(CatalogoFicheros::AlinearSeries(tLento, vLento, iLento), 6);
    EXPECT_EQ(v.Doubles(1), propia);
    ASSERT_EQ(i.Cuenta(), 3);
    ASSERT_EQ(iLento.Cuenta(), 3);
    for (int s = 0; s < 3; ++s) {
        ASSERT_EQ(t.Elementos(s), 6);
        ASSERT_EQ(i.Elementos(s), iLento.Elementos(s));
        for (int k = 0; k < 6; ++k) {
            EXPECT_EQ(OrdenDe(t.Tiempos(s)[k]), OrdenDe(tLento.Tiempos(s)[k]));
            EXPECT_EQ(v.Doubles(s)[k], vLento.Doubles(s)[k]);
        }
        for (int k = 0; k < i.Elementos(s); ++k)
            EXPECT_EQ(OrdenDe(i.Tiempos(s)[k]), OrdenDe(iLento.Tiempos(s)[k]));
    }
    EXPECT_EQ(i.Elementos(0), 4);
}
