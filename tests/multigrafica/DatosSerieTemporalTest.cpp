#include "DatosSerieTemporal.h"
#include "TValorMultiple.h"
#include "TestEnvironment.h"

#include <gtest/gtest.h>

namespace {

TTiempo seg(int s) {
    return TTiempo(2026, 12, 1, 10, 0, s, -1);
}

// Seconds since 10:00 as the "serial date", so positions are easy to read in the tests.
double serial(const TTiempo& t) {
    return t.Minuto * 60.0 + t.Segundo;
}

struct Lists {
    TValorMultiple valores, tiempos, unidades, nombres, opciones, intervalos, decimales;

    void serie(const std::vector<int>& segundos, const std::vector<double>& v, const char* unidad,
               const char* nombre, double periodo = 1) {
        std::vector<TTiempo> t;
        for (int s : segundos)
            t.push_back(seg(s));
        tiempos.EntrarTiempos(t);
        valores.EntrarDoubles(v);
        unidades.EntrarTexto(unidad);
        nombres.EntrarTexto(nombre);
        opciones.EntrarDoubles({0, 0, periodo});
        intervalos.EntrarTiempos({t.front(), t.back()});
        decimales.EntrarEnteros({2});
    }
    DatosSerieTemporal datos() const {
        return DatosSerieTemporal(valores, tiempos, unidades, nombres, opciones, intervalos, decimales,
                                  serial);
    }
};

TEST(MultigraphicData, ShorterSeriesArePaddedWithTheNullValue) {
    Lists l;
    l.serie({1, 2, 3, 4}, {230, 231, 232, 233}, "V", "V1");
    l.serie({1, 2}, {10, 11}, "A", "I1");
    DatosSerieTemporal d = l.datos();
    ASSERT_EQ(d.NumSeries(), 2);
    ASSERT_EQ(d.NumPuntos(), 4);
    EXPECT_DOUBLE_EQ(d.Valor(1, 1), 11.0);
    EXPECT_DOUBLE_EQ(d.Valor(1, 2), -9999.9);
    EXPECT_DOUBLE_EQ(d.Valor(1, 3), -9999.9);
    EXPECT_DOUBLE_EQ(d.FechaSerie(0, 3), 4.0);
    // The alignment pads the shorter series to the common axis: its dates are the axis's and
    // only its values are null there.
    EXPECT_DOUBLE_EQ(d.FechaSerie(1, 1), 2.0);
    EXPECT_DOUBLE_EQ(d.FechaSerie(1, 3), 4.0);
    for (auto [serie, punto] : {std::pair{2, 0}, std::pair{0, -1}, std::pair{0, 4}})
        EXPECT_DOUBLE_EQ(d.FechaSerie(serie, punto), -9999.9);

    // What the chart is given, series-major: the common dates repeated for each series.
    auto valores = [&] {
        std::vector<double> v;
        for (int s = 0; s < d.NumSeries(); ++s)
            for (int p = 0; p < d.PuntosMostrados(); ++p)
                v.push_back(d.ValorMostrado(s, p));
        return v;
    };
    d.ElegirIntervalo(-1);
    EXPECT_EQ(d.FechasMostradas(), (std::vector<double>{1, 2, 3, 4, 1, 2, 3, 4}));
    EXPECT_EQ(valores(), (std::vector<double>{230, 231, 232, 233, 10, 11, -9999.9, -9999.9}));
    d.PonerRangos({Agrupacion::Intervalo{0, 0}, Agrupacion::Intervalo{1, 2}});
    d.ElegirIntervalo(1);
    EXPECT_EQ(d.FechasMostradas(), (std::vector<double>{2, 3, 2, 3}));
    EXPECT_EQ(valores(), (std::vector<double>{231, 232, 11, -9999.9}));
    // The extremes and the times shown are those of the interval.
    EXPECT_EQ(d.PuntosMostrados(), 2);
    EXPECT_DOUBLE_EQ(d.Maximo(0), 232.0);
    EXPECT_DOUBLE_EQ(d.Minimo(0), 231.0);
    EXPECT_DOUBLE_EQ(d.Minimo(1), 11.0); // the padding is no minimum
    EXPECT_EQ(d.TiempoMostrado(0), seg(2));
}

TEST(MultigraphicData, ShownPointsOnlyAreColouredAndReadNullsInTheBackColour) {
    Lists l;
    l.serie({1, 2, 3, 4}, {9, 1, -9999.9, 3}, "V", "V1");
    l.serie({1, 2, 3, 4}, {9, -9999.9, 5, 0.000001}, "V", "V2");
    DatosSerieTemporal d = l.datos();
    d.PonerRangos({Agrupacion::Intervalo{0, 0}, Agrupacion::Intervalo{1, 3}});
    d.ElegirIntervalo(1);
    EXPECT_EQ(d.ColoresPuntos({0x0000FF, 0x00FF00}, 0xFFFFFF),
              (std::vector<std::int32_t>{0x0000FF, 0xFFFFFF, 0x0000FF, 0xFFFFFF, 0x00FF00, 0x00FF00}));
    // The shown values are those of the interval, the noise near zero drawn as zero.
    const double esperados[2][3] = {{1, -9999.9, 3}, {-9999.9, 5, 0}};
    for (int s = 0; s < 2; ++s)
        for (int p = 0; p < 3; ++p)
            EXPECT_EQ(d.ValorMostrado(s, p), esperados[s][p]) << s << "," << p;
    EXPECT_EQ(d.ValorMostrado(0, 3), -9999.9) << "past the interval";
    EXPECT_EQ(d.ValorMostrado(2, 0), -9999.9) << "no such series";
}

} // namespace
