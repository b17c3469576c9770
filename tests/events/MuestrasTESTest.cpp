#include "MuestrasTES.h"

#include <gtest/gtest.h>

namespace {

TTiempo A(long long ms) {
    TTiempo t(2026, 6, 10, 10, 0, 0, 0);
    t.SumarMilesimas(ms);
    return t;
}

constexpr double kNo = kSinMuestra;

// A recording built event by event: each event's samples at the given offsets (ms), values
// 100 * (event + 1) + sample number.
struct Grabacion {
    std::vector<double> cuentas;
    std::vector<TTiempo> tiempos;
    std::vector<double> valores;
    void Evento(const std::vector<long long>& offsets) {
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
};

using Valores = std::array<double, 3>;

} // namespace

TEST(MuestrasTES, EqualTimesAcrossPhasesShareOneInstantLowerPhaseFirst) {
    // Three raw events at one instant, recorded phase 3 first; samples every 10 ms.
    CListaEventos l;
    Grabacion g;
    for (int fase : {3, 1, 2}) {
        ASSERT_TRUE(l.AnadirEvento(A(0), 30, fase, kHueco, 100, 80, 80, true));
        g.Evento({0, 10, 20});
    }
    l.EnlazarEventosBrutos();
    const MuestrasRegistradas m = g.Cortar();
    const auto inst = MuestrasEvento(*l.Evento(0), l, m);
    ASSERT_EQ(inst.size(), 3u);
    // Recorded event 0 is phase 3 (values 100..), event 1 phase 1 (200..), event 2 phase 2 (300..).
    EXPECT_EQ(inst[0].tiempo, A(0));
    EXPECT_EQ(inst[0].valores, (Valores{200, 300, 100}));
    EXPECT_EQ(inst[2].tiempo, A(20));
    EXPECT_EQ(inst[2].valores, (Valores{202, 302, 102}));
}

TEST(MuestrasTES, SamplesOfOnePhaseLeaveTheOthersEmpty) {
    CListaEventos l;
    Grabacion g;
    ASSERT_TRUE(l.AnadirEvento(A(0), 30, 2, kHueco, 100, 80, 80, true));
    g.Evento({0, 5, 10});
    ASSERT_TRUE(l.AnadirEvento(A(5000), 30, 1, kHueco, 100, 80, 80, true));
    g.Evento({5000, 5005});
    l.EnlazarEventosBrutos();
    const auto inst = MuestrasEvento(*l.Evento(0), l, g.Cortar());
    ASSERT_EQ(inst.size(), 3u);
    EXPECT_EQ(inst[1].valores, (Valores{kNo, 101, kNo}));
}

TEST(MuestrasTES, AFourthSampleAtOneInstantStartsANewInstant) {
    // Two recorded events on phase 1 with samples at the same times, plus phases 2 and 3.
    CListaEventos l;
    Grabacion g;
    for (int fase : {1, 1, 2, 3}) {
        ASSERT_TRUE(l.AnadirEvento(A(0), 20, fase, kHueco, 100, 80, 80, true));
        g.Evento({0, 10});
    }
    l.EnlazarEventosBrutos();
    const auto inst = MuestrasEvento(*l.Evento(0), l, g.Cortar());
    // Per time: phase 1, phase 1, phase 2 fill one instant; phase 3 starts the next.
    ASSERT_EQ(inst.size(), 4u);
    EXPECT_EQ(inst[0].tiempo, A(0));
    EXPECT_EQ(inst[1].tiempo, A(0));
    EXPECT_EQ(inst[0].valores[1], 300);
    EXPECT_NE(inst[0].valores[0], kNo);
    EXPECT_EQ(inst[0].valores[2], kNo);
    EXPECT_EQ(inst[1].valores, (Valores{kNo, kNo, 400}));
    EXPECT_EQ(inst[3].valores, (Valores{kNo, kNo, 401}));
}

TEST(MuestrasTES, CompactedEventGathersTheSamplesOfBothRawEvents) {
    CListaEventos l;
    Grabacion g;
    ASSERT_TRUE(l.AnadirEvento(A(0), 100, 1, kHueco, 100, 80, 80, true));
    g.Evento({-20, 0, 50, 100});
    ASSERT_TRUE(l.AnadirEvento(A(150), 100, 1, kHueco, 100, 70, 70, true));
    g.Evento({130, 150, 200, 250});
    ASSERT_TRUE(l.AnadirEvento(A(9000), 100, 1, kHueco, 100, 70, 70, true));
    g.Evento({9000});
    l.EnlazarEventosBrutos();
    const MuestrasRegistradas m = g.Cortar();
    EXPECT_EQ(MuestrasEvento(*l.Evento(0), l, m).size(), 4u); // uncompacted: its own samples

    l.PonerHisteresis(100);
    l.Compactar();
    ASSERT_EQ(l.NumeroEventos(), 2);
    const auto inst = MuestrasEvento(*l.Evento(0), l, m);
    ASSERT_EQ(inst.size(), 8u);
    for (size_t k = 1; k < inst.size(); ++k)
        EXPECT_LT(inst[k - 1].tiempo, inst[k].tiempo);
    EXPECT_EQ(inst[3].valores[0], 103);
    EXPECT_EQ(inst[4].valores[0], 200);
    EXPECT_EQ(inst[4].tiempo, A(130));

    const PuntosTES p = ConstruirPuntosTES(l, m);
    EXPECT_EQ(p.rangos, (std::vector<std::pair<int, int>>{{0, 8}, {8, 1}}));
    EXPECT_EQ(p.instantes[8].valores[0], 300);
}

TEST(MuestrasTES, ThreePhaseEventGathersEveryPhase) {
    CListaEventos l;
    Grabacion g;
    for (int fase : {1, 2, 3}) {
        ASSERT_TRUE(l.AnadirEvento(A(fase * 10), 500, fase, kInterrupcion, 100, 2, 2, true));
        g.Evento({fase * 10LL, fase * 10LL + 100});
    }
    l.EnlazarEventosBrutos();
    l.CalcularTrifasicos();
    l.Trifasico = true;
    ASSERT_EQ(l.NumeroEventos(), 1);
    const auto inst = MuestrasEvento(*l.Evento(0), l, g.Cortar());
    ASSERT_EQ(inst.size(), 6u);
    EXPECT_EQ(inst[0].valores, (Valores{100, kNo, kNo}));
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
    EXPECT_FALSE(CortarMuestras({-1}, t, v).has_value());
    EXPECT_FALSE(CortarMuestras({1.5}, t, v).has_value());
    EXPECT_FALSE(CortarMuestras({std::nan("")}, t, v).has_value());
    EXPECT_FALSE(CortarMuestras({1e300}, t, v).has_value());
    // Fewer values than times: only what both hold counts.
    EXPECT_FALSE(CortarMuestras({5}, t, std::vector<double>(4, 1.0)).has_value());
}

TEST(MuestrasTES, EventWithoutSamplesOrWithAStaleRecordHasNoPoints) {
    CListaEventos l;
    ASSERT_TRUE(l.AnadirEvento(A(0), 10, 1, kHueco, 100, 80, 80, true));
    ASSERT_TRUE(l.AnadirEvento(A(100), 10, 1, kHueco, 100, 80, 80, true));
    const auto m = CortarMuestras({0}, {}, {}); // the second event has no block at all
    ASSERT_TRUE(m.has_value());
    EXPECT_TRUE(MuestrasEvento(*l.Evento(0), l, *m).empty());
    EXPECT_TRUE(MuestrasEvento(*l.Evento(1), l, *m).empty());
}

TEST(EtiquetaMarcadores, StartAtTheTopEndAtTheBottom) {
    CEvento e;
    e.Inicio = TTiempo(2026, 6, 10, 23, 59, 59, 900);
    e.Duracion = 250.7; // whole milliseconds count
    EXPECT_EQ(EtiquetaMarcadores(e),
              QStringLiteral("|t10.06.2026 23:59:59.900\t|b11.06.2026 00:00:00.150\t"));
}
