#include "TWMiGraficaTHD.h"
#include "ApoyoNormas.h"
#include "Contrato.h"
#include "TGestionNormasDlg.h"
#include "TWFiltrosNormas.h"
#include "TiposGrafica.h"
#include "VentanaPrueba.h"

#include <QCheckBox>
#include <QTableWidget>

namespace {

constexpr double N = kValorNulo;
constexpr std::int32_t kAmarillo = 65535;

// One THD variable: six slot rows of ten-minute values from 1 December 2026 10:00.
ListasAtributos thd(const std::vector<std::vector<double>>& ranuras, ObjGen* datos) {
    ListasAtributos l;
    std::vector<TTiempo> t;
    for (size_t i = 0; i < ranuras.front().size(); ++i) {
        TTiempo x(2026, 12, 1, 10, 0, 0, -1);
        x.SumarSegundos(600 * static_cast<int>(i));
        t.push_back(x);
    }
    for (size_t s = 0; s < ranuras.size(); ++s) {
        l[LV_VALORES].EntrarDoubles(ranuras[s]);
        l[LV_TIEMPOS].EntrarTiempos(t);
        l[LV_UNIDADES].EntrarTexto(s < 3 ? "%V" : "%A");
        l[LV_NOMBRES].EntrarTexto((s < 3 ? "V" : "I") + std::to_string(s % 3 + 1) + " (THD)");
        l[LV_OPCIONES].EntrarDoubles({0, double(TG_THD), 600, 0, 0, 0, 0, 0, 0, 0, 0, 0, 37270});
        l[LV_INTERVALOS].EntrarTiempos({t.front(), t.back()});
        l[LV_DECIMALES].EntrarDoubles({2});
    }
    l[LV_TIEMPOSGENERALES].EntrarTiempos({t.front(), t.back()});
    for (size_t s = 0; s < ranuras.size(); ++s)
        l[LV_OBJETOS].EntrarEnteros({1, 1, datos->Manejador()});
    return l;
}

const std::vector<double> kAusente(4, N);

} // namespace

class ThdWindow : public testsupport::VentanaPrueba {
protected:
    void SetUp() override {
        VentanaPrueba::SetUp();
        apoyo::Escribir("Limits\n1,5,2\n1,20,5\n");
    }
};

TEST_F(ThdWindow, LimitLinesOnTheirAxesOnlyValuesAboveHighlightedAndNoneRemovesThem) {
    auto* w = abrir<TWMiGraficaTHD>(thd({{4, 5, 6, 5}, kAusente, kAusente, {10, 30, 20, 10}}, datos));
    ASSERT_EQ(w->AplicarFiltro(QStringLiteral("Limits")), 1);
    EXPECT_EQ(doubles(w, PEP_HLINEY), (std::vector<double>{5, 20}));
    EXPECT_EQ(enteros(w, PEP_HLINEAXIS), (std::vector<std::int32_t>{0, 1}));
    // 5 equals its limit; 20 is the current limit itself.
    const std::vector<std::int32_t> subsets = enteros(w, PEP_SUBSETCOLORS);
    const std::vector<std::int32_t> c = enteros(w, PEP_POINTCOLORS);
    ASSERT_EQ(c.size(), 8u);
    EXPECT_EQ((std::vector<std::int32_t>{c[0], c[1], c[2], c[5], c[6]}),
              (std::vector<std::int32_t>{subsets[0], subsets[0], kAmarillo, kAmarillo, subsets[1]}));
    EXPECT_EQ(w->Describir().value(QStringLiteral("points_above_thd_limit")).toInt(), 2);

    // "None" removes the lines and the highlight.
    ASSERT_EQ(w->AplicarFiltro(QString()), 1);
    EXPECT_TRUE(doubles(w, PEP_HLINEY).empty());
    EXPECT_EQ(enteros(w, PEP_POINTCOLORS)[2], subsets[0]);
}
