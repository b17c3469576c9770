#include "ApoyoNormas.h"
#include "Contrato.h"
#include "TGestionNormasDlg.h"
#include "TWMiGraficaARM.h"
#include "TWMiGraficaARMAN.h"
#include "TWMiGraficaARMH24.h"
#include "TWMiGraficaTHD.h"
#include "TiposGrafica.h"
#include "VentanaPrueba.h"

#include <QAction>
#include <QJsonArray>

// The harmonics and THD windows opened through the engine: the judging and labels are tested
// without a window; here, that each window wires them to its chart and its steps.

namespace {

constexpr double N = kValorNulo;
constexpr std::int32_t kAmarillo = 65535;

// One harmonics variable of `registros` registers of `puntos` points: slot rows as given
// (values of every register one after another), orders 2, 3, ... as X values.
ListasAtributos espectro(int tipo, const std::vector<std::vector<double>>& ranuras, int registros, int puntos,
                         ObjGen* datos, std::vector<std::int32_t> objeto = {}, std::vector<double> xs = {}) {
    ListasAtributos l;
    std::vector<double> pares;
    std::vector<double> orden;
    std::vector<TTiempo> tiempos;
    for (int r = 0; r < registros; ++r) {
        pares.insert(pares.end(), {double(r * puntos), double(r * puntos + puntos - 1)});
        TTiempo t(2026, 12, 1, 10, 0, 0, -1);
        t.SumarSegundos(600 * r);
        tiempos.push_back(t);
        for (int k = 0; k < puntos; ++k)
            orden.push_back(xs.empty() ? k + 2 : xs[static_cast<size_t>(k)]);
    }
    std::vector<double> opciones{1, double(tipo), 600, 0, 0, 0, 0, 0, 0, 0, 0, 0, 37268};
    if (tipo == TG_ARMH24 || tipo == TG_ARMH24_BANDAS) {
        opciones.push_back(puntos);
        opciones.insert(opciones.end(), orden.begin(), orden.begin() + puntos);
    }
    for (size_t s = 0; s < ranuras.size(); ++s) {
        l[LV_VALORES].EntrarDoubles(ranuras[s]);
        l[LV_TIEMPOS].EntrarTiempos(std::vector<TTiempo>(ranuras[s].size(), tiempos.front()));
        l[LV_UNIDADES].EntrarTexto(s < 3 ? "%V" : "%A");
        l[LV_NOMBRES].EntrarTexto((s < 3 ? "V" : "I") + std::to_string(s % 3 + 1) + " (Harmonics)");
        l[LV_OPCIONES].EntrarDoubles(opciones);
        l[LV_INTERVALOS].EntrarDoubles(s == 0 ? pares : std::vector<double>{});
        l[LV_DECIMALES].EntrarDoubles({2});
    }
    l[LV_TIEMPOSGENERALES].EntrarTiempos(tiempos);
    if (tipo != TG_ARMH24 && tipo != TG_ARMH24_BANDAS)
        l[LV_ADICIONALES].EntrarDoubles(orden);
    l[LV_OBJETOS].EntrarEnteros(objeto.empty() ? std::vector<std::int32_t>{1, 1, datos->Manejador()}
                                               : objeto);
    return l;
}

// Three registers of four points; V1 breaks a 1 % limit at order 3 in register 1 only, I1
// reaches its 5 % limit exactly in register 2 (not bad).
std::vector<std::vector<double>> tresRegistros() {
    return {{0.5, 0.9, 0.2, 0.1, 0.5, 1.5, 0.2, 0.1, 0.5, 0.9, 0.2, 0.1},
            std::vector<double>(12, N),
            {0.4, 0.8, 0.000001, 0.1, 0.4, 0.8, 0.2, 0.1, 0.4, 0.8, 0.2, 0.1},
            {4, 2, 1, 1, 4, 2, 1, 1, 5, 2, 1, 1}};
}

// One THD variable: slot rows of ten-minute values from 1 December 2026 10:00.
ListasAtributos thd(const std::vector<std::vector<double>>& ranuras, ObjGen* datos) {
    ListasAtributos l;
    std::vector<TTiempo> t;
    for (size_t i = 0; i < ranuras.front().size(); ++i) {
        t.emplace_back(2026, 12, 1, 10, 0, 0, -1);
        t.back().SumarSegundos(600 * static_cast<int>(i));
    }
    for (size_t s = 0; s < ranuras.size(); ++s) {
        l[LV_VALORES].EntrarDoubles(ranuras[s]);
        l[LV_TIEMPOS].EntrarTiempos(t);
        l[LV_UNIDADES].EntrarTexto(s < 3 ? "%V" : "%A");
        l[LV_NOMBRES].EntrarTexto((s < 3 ? "V" : "I") + std::to_string(s % 3 + 1) + " (THD)");
        l[LV_OPCIONES].EntrarDoubles({0, double(TG_THD), 600, 0, 0, 0, 0, 0, 0, 0, 0, 0, 37270});
        l[LV_INTERVALOS].EntrarTiempos({t.front(), t.back()});
        l[LV_DECIMALES].EntrarDoubles({2});
        l[LV_OBJETOS].EntrarEnteros({1, 1, datos->Manejador()});
    }
    l[LV_TIEMPOSGENERALES].EntrarTiempos({t.front(), t.back()});
    return l;
}

} // namespace

class HarmonicsWindow : public testsupport::VentanaPrueba {
protected:
    void SetUp() override {
        VentanaPrueba::SetUp();
        // Voltage: THD 8 %, 2 % at order 2, 1 % at order 3; current: THD 20 %, 5 % at order 2.
        apoyo::Escribir("Test filter\n1,8,2,1\n1,20,5\nWide\n1,8,90,90,90,90,90\n1,20,90\n");
    }
};

TEST_F(HarmonicsWindow, OpensOnTheFirstRegisterAndAFilterMarksLimitsAndHighlightsValuesAboveThem) {
    auto* w = abrir<TWMiGraficaARM>(espectro(TG_ARM, tresRegistros(), 3, 4, datos));
    EXPECT_EQ(texto(w, PEP_MULTISUBTITLES), QStringLiteral("V1\tV3\tI1"));
    EXPECT_EQ(enteros(w, PEP_SUBSETSPERAXIS), (std::vector<std::int32_t>{2, 1}));
    const std::vector<double> y = doubles(w, PEP_YDATA);
    ASSERT_EQ(y.size(), 12u);
    EXPECT_DOUBLE_EQ(y[6], 0.0); // below 1e-5: drawn as 0
    w->NextClick();
    EXPECT_EQ(w->RegistroMostrado(), 1);
    EXPECT_DOUBLE_EQ(doubles(w, PEP_YDATA)[1], 1.5);

    w->PreviousClick();
    ASSERT_EQ(w->RegistroMostrado(), 0);
    ASSERT_EQ(w->AplicarFiltro(QStringLiteral("Test filter")), 1);
    // Applied by name, the window moves to the first register the filter finds bad.
    EXPECT_EQ(w->RegistroMostrado(), 1);
    const std::vector<std::int32_t> c = enteros(w, PEP_POINTCOLORS);
    ASSERT_EQ(c.size(), 12u);
    EXPECT_EQ((std::vector<std::int32_t>{c[0], c[1]}),
              (std::vector<std::int32_t>{enteros(w, PEP_SUBSETCOLORS)[0], kAmarillo}));
    // Marks half an order wide at each limit, each on its kind's axis.
    EXPECT_EQ(doubles(w, PEP_GANNOTX), (std::vector<double>{1.75, 2.25, 2.75, 3.25, 1.75, 2.25}));
    EXPECT_EQ(doubles(w, PEP_GANNOTY), (std::vector<double>{2, 2, 1, 1, 5, 5}));
    EXPECT_EQ(enteros(w, PEP_GANNOTAXIS), (std::vector<std::int32_t>{0, 0, 0, 0, 1, 1}));
    EXPECT_EQ(w->Describir().value(QStringLiteral("registers_breaking_filter")).toArray(), QJsonArray{1});
}

TEST_F(HarmonicsWindow, OnlyBadRegistersAreSteppedOrTheWindowSaysThereAreNone) {
    auto* w = abrir<TWMiGraficaARM>(
        espectro(TG_ARM, tresRegistros(), 3, 4, datos, {1, 1, datos->Manejador(), 4, 99}));
    ASSERT_EQ(w->RegistroMostrado(), 2) << "the saved view's register, held to the data";
    w->DameNormas()->SetVerSoloMalos(true);
    testsupport::Messages::clear();
    ASSERT_EQ(w->AplicarFiltro(QStringLiteral("Wide")), 1);
    EXPECT_EQ(apoyo::UnicoMensaje(), QStringLiteral("There aren't any bad register"));
    EXPECT_EQ(w->Visibles(), (std::vector<int>{0, 1, 2}));
    ASSERT_EQ(w->AplicarFiltro(QStringLiteral("Test filter")), 1);
    EXPECT_EQ(w->Visibles(), std::vector<int>{1});
    EXPECT_EQ(w->RegistroMostrado(), 1);
    EXPECT_FALSE(w->Accion(QStringLiteral("Next"))->isEnabled());
    // An unknown filter changes nothing.
    const std::vector<double> marcas = doubles(w, PEP_GANNOTX);
    EXPECT_EQ(w->AplicarFiltro(QStringLiteral("No such filter")), 0);
    EXPECT_EQ(doubles(w, PEP_GANNOTX), marcas);
}

TEST_F(HarmonicsWindow, CurrentHarmonicsJudgeEverySlotAsCurrentAndDailyOnesTakeNoFilter) {
    auto* w = abrir<TWMiGraficaARMAN>(espectro(
        TG_ARMAN, {{6, 1, 1, 1}, {1, 1, 1, 1}, std::vector<double>(4, N), {9, 1, 1, 1}}, 1, 4, datos));
    // The 5 % current limit, not the 2 % voltage one, judges slots 0 to 2.
    ASSERT_EQ(w->AplicarFiltro(QStringLiteral("Test filter")), 1);
    const std::vector<std::int32_t> c = enteros(w, PEP_POINTCOLORS);
    EXPECT_EQ(c[0], kAmarillo);
    EXPECT_NE(c[4], kAmarillo);

    auto* bandas = abrir<TWMiGraficaARMH24>(
        espectro(TG_ARMH24_BANDAS, {{10, 80, 10}}, 1, 3, datos, {}, {209, 211, 213}));
    EXPECT_TRUE(texto(bandas, PEP_VLINELABELS).startsWith(QStringLiteral("|B207.0 - 209.0 V\t")));
    EXPECT_EQ(bandas->AplicarFiltro(QStringLiteral("Test filter")), -1);
}

TEST_F(HarmonicsWindow, ThdLimitLinesOnTheirAxesHighlightAndNoneRemovesThem) {
    const std::vector<double> ausente(4, N);
    auto* w = abrir<TWMiGraficaTHD>(thd({{4, 8, 9, 5}, ausente, ausente, {10, 30, 20, 10}}, datos));
    ASSERT_EQ(w->AplicarFiltro(QStringLiteral("Test filter")), 1);
    EXPECT_EQ(doubles(w, PEP_HLINEY), (std::vector<double>{8, 20}));
    EXPECT_EQ(enteros(w, PEP_HLINEAXIS), (std::vector<std::int32_t>{0, 1}));
    const std::vector<std::int32_t> subsets = enteros(w, PEP_SUBSETCOLORS);
    const std::vector<std::int32_t> c = enteros(w, PEP_POINTCOLORS);
    ASSERT_EQ(c.size(), 8u);
    EXPECT_EQ((std::vector<std::int32_t>{c[1], c[2], c[5]}),
              (std::vector<std::int32_t>{subsets[0], kAmarillo, kAmarillo}));
    EXPECT_EQ(w->Describir().value(QStringLiteral("points_above_thd_limit")).toInt(), 2);
    ASSERT_EQ(w->AplicarFiltro(QString()), 1);
    EXPECT_TRUE(doubles(w, PEP_HLINEY).empty());
    EXPECT_EQ(enteros(w, PEP_POINTCOLORS)[2], subsets[0]);
}
