#include "CatalogoFicheros.h"
#include "Contrato.h"
#include "TTiempo.h"
#include "TValorMultiple.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <tuple>
#include <vector>

// The alignment against an outer join written the plain way (a sorted map of every time), on
// many random sets of series: staggered gaps, times that differ only in their milliseconds,
// series without points, value rows shorter than their times.

namespace {

using Orden = std::tuple<int, int, int, int, int, int, int>;

Orden OrdenDe(const TTiempo& t) {
    return {t.Anio, t.Mes, t.Dia, t.Hora, t.Minuto, t.Segundo, t.Milesima};
}

struct Caso {
    std::vector<std::vector<TTiempo>> tiempos;
    std::vector<std::vector<double>> valores;
};

Caso Aleatorio(std::mt19937& azar) {
    Caso c;
    const int series = std::uniform_int_distribution<int>(2, 7)(azar);
    std::uniform_real_distribution<double> uno(0, 1);
    for (int s = 0; s < series; ++s) {
        std::vector<TTiempo> t;
        std::vector<double> v;
        // One series in ten has no points at all.
        const double presencia = uno(azar) < 0.1 ? 0.0 : uno(azar);
        for (int k = 0; k < 400; ++k) {
            if (uno(azar) > presencia)
                continue;
            // Some instants carry milliseconds, some do not: -1 and 0 are different times, so
            // at some seconds the series disagree only in their milliseconds.
            const int ms = k % 13 == 0 ? (s % 2 == 0 ? -1 : 0) : (k % 11 == 0 ? 500 : -1);
            t.push_back(TTiempo(2026, 3, 1 + k / 200, 10, (k / 60) % 60, k % 60, ms));
            v.push_back(s * 1000.0 + k);
        }
        // Now and then a values row shorter than its times.
        if (!v.empty() && uno(azar) < 0.2)
            v.resize(v.size() / 2);
        c.tiempos.push_back(std::move(t));
        c.valores.push_back(std::move(v));
    }
    return c;
}

} // namespace

TEST(AlinearSeriesMerge, AgreesWithAnOuterJoinOnRandomSeries) {
    std::mt19937 azar(20261206);
    for (int ronda = 0; ronda < 60; ++ronda) {
        const Caso c = Aleatorio(azar);
        std::map<Orden, std::vector<double>> esperado;
        std::map<Orden, TTiempo> instantes;
        const size_t n = c.tiempos.size();
        for (size_t s = 0; s < n; ++s)
            for (size_t k = 0; k < c.tiempos[s].size(); ++k) {
                auto& fila = esperado.try_emplace(OrdenDe(c.tiempos[s][k]), n, kValorNulo).first->second;
                fila[s] = k < c.valores[s].size() ? c.valores[s][k] : kValorNulo;
                instantes.emplace(OrdenDe(c.tiempos[s][k]), c.tiempos[s][k]);
            }

        TValorMultiple t, v, i;
        for (size_t s = 0; s < n; ++s) {
            t.EntrarTiempos(c.tiempos[s]);
            v.EntrarDoubles(c.valores[s]);
        }
        if (esperado.empty())
            continue;
        const int cuenta = CatalogoFicheros::AlinearSeries(t, v, i);
        ASSERT_EQ(cuenta, static_cast<int>(esperado.size())) << "round " << ronda;
        ASSERT_EQ(t.Cuenta(), static_cast<int>(n));
        ASSERT_EQ(v.Cuenta(), static_cast<int>(n));
        // No incoming intervals: one empty boundary row per series.
        ASSERT_EQ(i.Cuenta(), static_cast<int>(n));
        for (int s = 0; s < static_cast<int>(n); ++s) {
            EXPECT_EQ(t.Tipo(s), TV_TIEMPO);
            EXPECT_EQ(v.Tipo(s), TV_DOUBLE);
            EXPECT_EQ(i.Elementos(s), 0);
        }
        int k = 0;
        for (const auto& [orden, fila] : esperado) {
            for (size_t s = 0; s < n; ++s) {
                ASSERT_EQ(t.Elementos(static_cast<int>(s)), cuenta);
                EXPECT_EQ(OrdenDe(t.Tiempos(static_cast<int>(s))[k]), orden)
                    << "round " << ronda << " step " << k;
                EXPECT_EQ(v.Doubles(static_cast<int>(s))[k], fila[s])
                    << "round " << ronda << " series " << s << " step " << k;
            }
            ++k;
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
