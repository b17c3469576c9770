#include "AppTestSupport.h"
#include "CatalogoFicheros.h"
#include "DataDrivers.h"
#include "FakeDrivers.h"
#include "ListasAtributos.h"
#include "TTiempo.h"

#include <gtest/gtest.h>

using namespace recording;

// The demo files as the engine's catalogue sees them.
TEST(DemoCatalogue, TheRmsVariableOfBothFilesJoinsIntoOneWeek) {
    SourceDriver source;
    for (const std::string& path : apptest::demoFiles())
        source.openFile(path);
    ListasAtributos listas;
    CatalogoFicheros catalogue(&source);
    // The later file first: the catalogue orders the members by time.
    for (int f : {1, 0}) {
        RecordingDriver* d = source.driver(f);
        catalogue.AnadirVariable(5, 1, d->Manejador());
        const std::pair<int, int> commands[] = {
            {10001, LV_VALORES},    {10002, LV_TIEMPOS},     {-10002, LV_TIEMPOSGENERALES},
            {10003, LV_UNIDADES},   {10004, LV_NOMBRES},     {10013, LV_OPCIONES},
            {10014, LV_INTERVALOS}, {10015, LV_ADICIONALES}, {10021, LV_DECIMALES}};
        for (auto [command, lista] : commands) {
            const TValorMultiple answer =
                fakes::send(*d, command < 0 ? -command : command, {command < 0 ? -1 : 5, 1});
            for (int r = 0; r < answer.Cuenta(); ++r)
                listas[lista].CopiarFila(answer, r);
        }
    }
    const int slots[] = {LV_VALORES,  LV_TIEMPOS,    LV_TIEMPOSGENERALES, LV_UNIDADES, LV_NOMBRES,
                         LV_OPCIONES, LV_INTERVALOS, LV_ADICIONALES,      LV_DECIMALES};
    for (int s = 0; s < 9; ++s)
        catalogue.PonerLista(s, &listas[slots[s]]);
    catalogue.Catalogar(true);
    ASSERT_EQ(1, catalogue.NumEntradas());
    ASSERT_EQ(6, listas[LV_VALORES].Cuenta());
    EXPECT_EQ(7 * 86400, listas[LV_VALORES].Elementos(0));
    const TTiempo* t = listas[LV_TIEMPOS].Tiempos(0);
    ASSERT_NE(nullptr, t);
    EXPECT_EQ(TTiempo(2026, 11, 30, 0, 0, 0, -1), t[0]);
    EXPECT_EQ(TTiempo(2026, 12, 6, 23, 59, 59, -1), t[7 * 86400 - 1]);
}
