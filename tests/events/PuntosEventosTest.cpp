#include "PuntosEventos.h"
#include "TValorMultiple.h"

#include <gtest/gtest.h>

namespace {

TTiempo A(long long ms) {
    TTiempo t(2026, 6, 10, 10, 0, 0, 0);
    t.SumarMilesimas(ms);
    return t;
}

// 0 ms to 1 s (50 %) and 1 s to 1 min (50 %).
const ListaIntervalos kDos = {{0, UNIDAD_MS, 1, UNIDAD_S, 50}, {1, UNIDAD_S, 1, UNIDAD_MIN, 50}};
const NivelesInstrumento kNiveles{100, 900, 1100};

struct Registro {
    long long ms;
    double extremo, duracion, fase;
};

// One data object of an events window: values, times and the four extra rows.
void Objeto(TValorMultiple& valores, TValorMultiple& tiempos, TValorMultiple& adicionales,
            const std::vector<Registro>& r) {
    std::vector<double> v, d, f, m, p;
    std::vector<TTiempo> t;
    for (const Registro& x : r) {
        v.push_back(x.extremo);
        t.push_back(A(x.ms));
        d.push_back(x.duracion);
        f.push_back(x.fase);
        m.push_back(x.extremo + 1);
        p.push_back(99);
    }
    valores.EntrarDoubles(v);
    tiempos.EntrarTiempos(t);
    for (const auto* fila : {&d, &f, &m, &p})
        adicionales.EntrarDoubles(*fila);
}

} // namespace

TEST(LeerEventosDuracion, ObjectsInAnyOrderGiveOneTimeOrderPhaseFirst) {
    TValorMultiple v, t, a;
    Objeto(v, t, a, {{5000, 80, 300, 2}, {5000, 81, 300, 1}});
    Objeto(v, t, a, {{0, 115, -40, 3}});
    const std::vector<EventoRegistrado> e = LeerEventosDuracion(v, t, a);
    ASSERT_EQ(e.size(), 3u);
    EXPECT_EQ(e[0].inicio, A(0));
    EXPECT_EQ(e[0].duracion, -40);
    EXPECT_EQ(e[0].fase, 3);
    // At one instant the lower phase comes first, whatever the recorded order.
    EXPECT_EQ(e[1].fase, 1);
    EXPECT_EQ(e[1].extremo, 81);
    EXPECT_EQ(e[1].medio, 82);
    EXPECT_EQ(e[1].previo, 99);
    EXPECT_EQ(e[2].fase, 2);
    // Extra rows shorter than the values read as zeros, never past their end.
    TValorMultiple v2, t2, a2;
    v2.EntrarDoubles({90, 91});
    t2.EntrarTiempos({A(0), A(10)});
    a2.EntrarDoubles({100});
    const std::vector<EventoRegistrado> corto = LeerEventosDuracion(v2, t2, a2);
    ASSERT_EQ(corto.size(), 2u);
    EXPECT_EQ(corto[1].duracion, 0);
    EXPECT_EQ(corto[1].fase, 0);
}

TEST(RanuraEvento, TheSampleOfTheEventsPhaseElseTheLastBefore) {
    const std::vector<TTiempo> t = {A(0), A(100), A(100), A(100), A(200)};
    const std::vector<int> f = {2, 1, 2, 3, 1};
    CEvento e;
    e.Inicio = A(100);
    e.Fase = 3;
    EXPECT_EQ(RanuraEvento(t, f, e, false), 3);
    e.Fase = 1;
    EXPECT_EQ(RanuraEvento(t, f, e, false), 1);
    // Any phase in the three-phase view: the first sample of the instant.
    e.Fase = 3;
    EXPECT_EQ(RanuraEvento(t, f, e, true), 1);
    // No sample at that time: the last one before it, or the first.
    e.Inicio = A(150);
    EXPECT_EQ(RanuraEvento(t, f, e, false), 3);
    e.Inicio = A(500);
    EXPECT_EQ(RanuraEvento(t, f, e, false), 4);
    e.Inicio = A(-10);
    EXPECT_EQ(RanuraEvento(t, f, e, false), 0);
    EXPECT_EQ(RanuraEvento({}, {}, e, false), -1);
}

TEST(CalcularPuntosDuracion, EventsPlacedInTheirIntervalsOnTheirPhase) {
    TValorMultiple v, t, a;
    Objeto(v, t, a,
           {{0, 80, 500, 1}, {0, 85, 1000, 2}, {5000, 115, 60000, 3}, {90000, 5, -200, 1}});
    const std::vector<EventoRegistrado> r = LeerEventosDuracion(v, t, a);
    CListaEventos l;
    ASSERT_EQ(CargarEventos(l, r, kNiveles), 0);
    std::vector<TTiempo> tiempos;
    std::vector<int> fases;
    for (const EventoRegistrado& e : r) {
        tiempos.push_back(e.inicio);
        fases.push_back(static_cast<int>(e.fase));
    }
    const PuntosDuracion p = CalcularPuntosDuracion(l, tiempos, fases, kDos);
    EXPECT_DOUBLE_EQ(p.x[0][0], 250);
    EXPECT_DOUBLE_EQ(p.y[0][0], 80);
    EXPECT_DOUBLE_EQ(p.x[1][1], 500);
    // One minute is not plotted: the longest event ends the last interval at its own end.
    EXPECT_EQ(p.x[2][2], kSinPosicion);
    EXPECT_EQ(p.y[2][2], kSinPosicion);
    EXPECT_DOUBLE_EQ(p.x[0][3], 100);
    EXPECT_EQ(p.colocados, 3);
    // Other phases hold nothing at a slot.
    EXPECT_EQ(p.x[1][0], kSinPosicion);
    EXPECT_EQ(p.x[2][0], kSinPosicion);
    // The read-out columns: a lower-bound duration negated, its phase, average and previous.
    EXPECT_DOUBLE_EQ(p.duracion[3], -200);
    EXPECT_DOUBLE_EQ(p.fase[3], 1);
    EXPECT_DOUBLE_EQ(p.medio[0], 81);
    EXPECT_DOUBLE_EQ(p.previo[0], 99);

    // Without intervals nothing is placed.
    EXPECT_EQ(CalcularPuntosDuracion(l, tiempos, fases, {}).colocados, 0);

    // The three-phase view draws on the first series only.
    l.CalcularTrifasicos();
    l.Trifasico = true;
    const PuntosDuracion tri = CalcularPuntosDuracion(l, tiempos, fases, kDos);
    for (size_t s = 0; s < tiempos.size(); ++s) {
        EXPECT_EQ(tri.x[1][s], kSinPosicion);
        EXPECT_EQ(tri.x[2][s], kSinPosicion);
    }
}

TEST(LeerDatosTES, BlocksFollowTheEventsAcrossDataObjects) {
    TValorMultiple v, t, a, g;
    // Object 1: two events of 2 and 1 samples, one sample beyond the counts; object 2: one event.
    v.EntrarDoubles({1, 2, 3, 4});
    t.EntrarTiempos({A(0), A(10), A(20), A(30)});
    for (const std::vector<double>& fila : std::vector<std::vector<double>>{
             {2, 1}, {80, 70}, {20, 10}, {1, 2}, {81, 71}, {99, 98}})
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
