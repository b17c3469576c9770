#include "MuestrasTES.h"
#include "ApoyoEventos.h"
#include "DatosTES.h"
#include "TValorMultiple.h"

#include <gtest/gtest.h>

namespace {

using apoyo::A;

constexpr double kNo = kSinMuestra;

// The six extra rows of a TES data object: counts, extreme, duration, phase, average, previous.
void Adicionales(TValorMultiple& a, const std::vector<std::vector<double>>& filas) {
    for (const std::vector<double>& f : filas)
        a.EntrarDoubles(f);
}

// A recording built event by event: each raw event with its samples at the given offsets (ms),
// valued 100 * (event + 1) + sample number.
struct Grabacion {
    CListaEventos l;
    std::vector<double> cuentas;
    std::vector<TTiempo> tiempos;
    std::vector<double> valores;
    void Evento(long long ms, double duracion, int fase, const std::vector<long long>& offsets,
                unsigned char tipo = kHueco) {
        ASSERT_TRUE(l.AnadirEvento(A(ms), duracion, fase, tipo, 100, 80, 80, true));
        const double base = 100.0 * static_cast<double>(cuentas.size() + 1);
        cuentas.push_back(static_cast<double>(offsets.size()));
        for (size_t k = 0; k < offsets.size(); ++k) {
            tiempos.push_back(A(offsets[k]));
            valores.push_back(base + static_cast<double>(k));
        }
    }
    MuestrasRegistradas Cortar() const {
        auto m = CortarMuestras(cuentas, tiempos, valores);
        EXPECT_TRUE(m.has_value());
        return m.value_or(MuestrasRegistradas{});
    }
    // The instants of the current view's first event, with the raw events linked.
    std::vector<InstanteTES> Primero() {
        l.EnlazarEventosBrutos();
        return MuestrasEvento(*l.Evento(0), l, Cortar());
    }
};

using Valores = std::array<double, 3>;

} // namespace

TEST(MuestrasTES, EqualTimesAcrossPhasesShareOneInstantUntilAPhaseRepeats) {
    // Three raw events at one instant, recorded phase 3 first; samples every 10 ms.
    Grabacion g;
    for (int fase : {3, 1, 2})
        g.Evento(0, 30, fase, {0, 10, 20});
    const auto inst = g.Primero();
    ASSERT_EQ(inst.size(), 3u);
    // Recorded event 0 is phase 3 (values 100..), event 1 phase 1 (200..), event 2 phase 2 (300..).
    EXPECT_EQ(inst[2].tiempo, A(20));
    EXPECT_EQ(inst[2].valores, (Valores{202, 302, 102}));

    // Two recorded events on phase 1 with samples at the same times, plus phases 2 and 3: per
    // time, phase 1, phase 1, phase 2 fill one instant; phase 3 starts the next.
    Grabacion h;
    for (int fase : {1, 1, 2, 3})
        h.Evento(0, 20, fase, {0, 10});
    const auto cuatro = h.Primero();
    ASSERT_EQ(cuatro.size(), 4u);
    EXPECT_EQ(cuatro[1].tiempo, A(0));
    EXPECT_EQ(cuatro[0].valores[1], 300);
    EXPECT_NE(cuatro[0].valores[0], kNo);
    EXPECT_EQ(cuatro[0].valores[2], kNo);
    EXPECT_EQ(cuatro[1].valores, (Valores{kNo, kNo, 400}));
    EXPECT_EQ(cuatro[3].valores, (Valores{kNo, kNo, 401}));
}

TEST(MuestrasTES, CompactedEventGathersTheSamplesOfBothRawEvents) {
    Grabacion g;
    g.Evento(0, 100, 1, {-20, 0, 50, 100});
    g.Evento(150, 100, 1, {130, 150, 200, 250});
    g.Evento(9000, 100, 1, {9000});
    CListaEventos& l = g.l;
    const MuestrasRegistradas m = g.Cortar();
    l.PonerHisteresis(100);
    l.Compactar();
    ASSERT_EQ(l.NumeroEventos(), 2);
    const auto inst = MuestrasEvento(*l.Evento(0), l, m);
    ASSERT_EQ(inst.size(), 8u);
    EXPECT_EQ(inst[4].valores[0], 200);
    EXPECT_EQ(inst[4].tiempo, A(130));

    const PuntosTES p = ConstruirPuntosTES(l, m);
    EXPECT_EQ(p.rangos, (std::vector<std::pair<int, int>>{{0, 8}, {8, 1}}));
    EXPECT_EQ(p.instantes[8].valores[0], 300);
}

TEST(MuestrasTES, ThreePhaseEventGathersEveryPhase) {
    Grabacion g;
    for (int fase : {1, 2, 3})
        g.Evento(fase * 10, 500, fase, {fase * 10LL, fase * 10LL + 100}, kInterrupcion);
    g.l.EnlazarEventosBrutos();
    g.l.CalcularTrifasicos();
    g.l.Trifasico = true;
    ASSERT_EQ(g.l.NumeroEventos(), 1);
    const auto inst = MuestrasEvento(*g.l.Evento(0), g.l, g.Cortar());
    ASSERT_EQ(inst.size(), 6u);
    EXPECT_EQ(inst[5].valores, (Valores{kNo, kNo, 301}));
}

TEST(CortarMuestras, MalformedCountsAreRefused) {
    const std::vector<TTiempo> t(5, A(0));
    const std::vector<double> v(5, 1.0);
    QString error;
    EXPECT_TRUE(CortarMuestras({2, 3}, t, v).has_value());
    EXPECT_TRUE(CortarMuestras({2, 0, 1}, t, v).has_value()); // samples left over are unused
    EXPECT_FALSE(CortarMuestras({2, 4}, t, v, &error).has_value());
    EXPECT_TRUE(error.contains(QStringLiteral("event 2")));
    for (double mala : {-1.0, 1.5, std::nan(""), 1e300})
        EXPECT_FALSE(CortarMuestras({mala}, t, v).has_value()) << mala;
    // Fewer values than times: only what both hold counts.
    EXPECT_FALSE(CortarMuestras({5}, t, std::vector<double>(4, 1.0)).has_value());
}

TEST(MuestrasTES, EventWithoutSamplesOrWithAStaleRecordHasNoPoints) {
    Grabacion g;
    g.Evento(0, 10, 1, {});
    g.Evento(100, 10, 1, {});
    const auto m = CortarMuestras({0}, {}, {}); // the second event has no block at all
    ASSERT_TRUE(m.has_value());
    EXPECT_TRUE(MuestrasEvento(*g.l.Evento(0), g.l, *m).empty());
    EXPECT_TRUE(MuestrasEvento(*g.l.Evento(1), g.l, *m).empty());
}

TEST(LeerDatosTES, BlocksFollowTheEventsAcrossDataObjects) {
    TValorMultiple v, t, a, g;
    // Object 1: two events of 2 and 1 samples, one sample beyond the counts; object 2: one event.
    v.EntrarDoubles({1, 2, 3, 4});
    t.EntrarTiempos({A(0), A(10), A(20), A(30)});
    Adicionales(a, {{2, 1}, {80, 70}, {20, 10}, {1, 2}, {81, 71}, {99, 98}});
    g.EntrarTiempos({A(0), A(20)});
    v.EntrarDoubles({9});
    t.EntrarTiempos({A(1000)});
    Adicionales(a, {{1}, {115}, {-5}, {3}, {114}, {100}});
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
    // Events without their start times are not read.
    TValorMultiple g2;
    g2.EntrarTiempos({A(0)});
    EXPECT_EQ(LeerDatosTES(v, t, a, g2).eventos.size(), 1u);
}
