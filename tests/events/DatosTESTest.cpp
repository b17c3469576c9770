#include "DatosTES.h"
#include "TValorMultiple.h"

#include <gtest/gtest.h>

namespace {

TTiempo A(long long ms) {
    TTiempo t(2026, 6, 10, 10, 0, 0, 0);
    t.SumarMilesimas(ms);
    return t;
}

} // namespace

TEST(LeerDatosTES, BlocksFollowTheEventsAcrossDataObjects) {
    TValorMultiple v, t, a, g;
    // Object 1: two events of 2 and 1 samples, one sample beyond the counts; object 2: one event.
    v.EntrarDoubles({1, 2, 3, 4});
    t.EntrarTiempos({A(0), A(10), A(20), A(30)});
    for (const std::vector<double>& fila :
         std::vector<std::vector<double>>{{2, 1}, {80, 70}, {20, 10}, {1, 2}, {81, 71}, {99, 98}})
        a.EntrarDoubles(fila);
    g.EntrarTiempos({A(0), A(20)});
    v.EntrarDoubles({9});
    t.EntrarTiempos({A(1000)});
    for (const std::vector<double>& fila :
         std::vector<std::vector<double>>{{1}, {115}, {-5}, {3}, {114}, {100}})
        a.EntrarDoubles(fila);
    g.EntrarTiempos({A(1000)});
    QString error;
    const DatosTES d = LeerDatosTES(v, t, a, g, &error);
    EXPECT_TRUE(error.isEmpty()) << error.toStdString();
    ASSERT_EQ(d.eventos.size(), 3u);
    EXPECT_EQ(d.eventos[1].inicio, A(20));
    EXPECT_EQ(d.eventos[1].fase, 2);
    EXPECT_EQ(d.eventos[2].duracion, -5);
    ASSERT_EQ(d.muestras.bloques.size(), 3u);
    // The third event's block is the second object's sample, not the first object's leftover.
    const MuestrasRegistradas::Bloque b = d.muestras.bloques[2];
    ASSERT_EQ(b.cuenta, 1);
    EXPECT_EQ(d.muestras.valores[static_cast<size_t>(b.inicio)], 9);
    EXPECT_EQ(d.muestras.tiempos[static_cast<size_t>(b.inicio)], A(1000));
}

TEST(LeerDatosTES, CountsPastTheSamplesKeepTheEventsWithoutSamples) {
    TValorMultiple v, t, a, g;
    v.EntrarDoubles({1, 2});
    t.EntrarTiempos({A(0), A(10)});
    for (const std::vector<double>& fila :
         std::vector<std::vector<double>>{{2, 5}, {80, 70}, {20, 10}, {1, 2}, {81, 71}, {99, 98}})
        a.EntrarDoubles(fila);
    g.EntrarTiempos({A(0), A(20)});
    QString error;
    const DatosTES d = LeerDatosTES(v, t, a, g, &error);
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(d.eventos.size(), 2u);
    EXPECT_TRUE(d.muestras.bloques.empty());
    // A count that is not a whole number is refused too.
    TValorMultiple a2;
    for (const std::vector<double>& fila :
         std::vector<std::vector<double>>{{1.5, 0}, {80, 70}, {20, 10}, {1, 2}, {81, 71}, {99, 98}})
        a2.EntrarDoubles(fila);
    error.clear();
    EXPECT_TRUE(LeerDatosTES(v, t, a2, g, &error).muestras.bloques.empty());
    EXPECT_FALSE(error.isEmpty());
    // Events without their start times are not read.
    TValorMultiple g2;
    g2.EntrarTiempos({A(0)});
    EXPECT_EQ(LeerDatosTES(v, t, a, g2).eventos.size(), 1u);
}
