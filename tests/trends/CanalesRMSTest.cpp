#include "CanalesRMS.h"
#include "Contrato.h"
#include "TTiempo.h"
#include "TestEnvironment.h"

#include <gtest/gtest.h>

namespace {

constexpr double N = kValorNulo;

// Six channel slots; `valores` per slot.
ListasAtributos ranuras(const std::vector<std::vector<double>>& valores) {
    ListasAtributos l;
    const char* nombres[] = {"V1", "V2", "V3", "I1", "I2", "I3"};
    for (size_t s = 0; s < valores.size(); ++s) {
        l[LV_VALORES].EntrarDoubles(valores[s]);
        l[LV_TIEMPOS].EntrarTiempos(
            std::vector<TTiempo>(valores[s].size(), TTiempo(2026, 12, 1, 0, 0, 0, -1)));
        l[LV_UNIDADES].EntrarTexto(s < 3 ? "V" : "A");
        l[LV_NOMBRES].EntrarTexto(nombres[s]);
        l[LV_OPCIONES].EntrarDoubles({0, 5, 1});
        l[LV_INTERVALOS].EntrarTiempos(
            {TTiempo(2026, 12, 1, 0, 0, 0, -1), TTiempo(2026, 12, 1, 0, 0, 1, -1)});
        l[LV_DECIMALES].EntrarEnteros({static_cast<int>(s)});
        l[LV_OBJETOS].EntrarEnteros({1, static_cast<int>(s), 99});
    }
    return l;
}

} // namespace

// Which slots the window draws, in slot order, is the window's test.
TEST(CanalesRMS, ASlotIsPresentWithOneValueThatIsNotNullAndOnlyPresentOnesAreKept) {
    const ListasAtributos l = ranuras({{N, N}, {N, 230}, {}, {0.0, N}, {N, N}, {N}});
    EXPECT_EQ(CanalesRMS::Presentes(l[LV_VALORES]),
              (std::vector<bool>{false, true, false, true, false, false}));
    const ListasAtributos p = CanalesRMS::SoloPresentes(l);
    for (int lista : {LV_VALORES, LV_TIEMPOS, LV_OPCIONES, LV_INTERVALOS, LV_DECIMALES, LV_NOMBRES})
        EXPECT_EQ(p[lista].Cuenta(), 2) << lista;
    EXPECT_EQ(p[LV_OBJETOS].Cuenta(), 6) << "the data references stay whole";
    EXPECT_EQ(CanalesRMS::SoloPresentes(ListasAtributos{})[LV_VALORES].Cuenta(), 0);
}
