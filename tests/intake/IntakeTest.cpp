#include "Intake.h"

#include "Comando.h"
#include "FakeDrivers.h"
#include "Reparto.h"
#include "TTiempo.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using fakes::DataDriver;
using fakes::received;
using fakes::SourceDriver;

struct Esperado {
    std::int32_t receptor;
    int numero;
    std::vector<int> params;
};

// The nine attribute requests of one variable, in the order they must go out.
std::vector<Esperado> Atributos(std::int32_t receptor, int k1, int k2) {
    return {{receptor, 10001, {k1, k2}}, {receptor, 10002, {k1, k2}}, {receptor, 10002, {-1, k2}},
            {receptor, 10003, {k1, k2}}, {receptor, 10004, {k1, k2}}, {receptor, 10013, {k1, k2}},
            {receptor, 10014, {k1, k2}}, {receptor, 10015, {k1, k2}}, {receptor, 10021, {k1, k2}}};
}

void Juntar(std::vector<Esperado>& a, const std::vector<Esperado>& b) {
    a.insert(a.end(), b.begin(), b.end());
}

void ComprobarRegistro(const std::vector<Esperado>& esperado, size_t desde = 0) {
    const auto& r = received();
    ASSERT_GE(r.size(), desde + esperado.size());
    for (size_t i = 0; i < esperado.size(); ++i) {
        const auto& c = r[desde + i];
        EXPECT_EQ(c.receiver, esperado[i].receptor) << "command " << i;
        EXPECT_EQ(c.number, esperado[i].numero) << "command " << i;
        EXPECT_EQ(c.params, esperado[i].params) << "command " << i << " (" << c.number << ")";
        EXPECT_TRUE(c.intParams) << "command " << i;
        EXPECT_TRUE(c.withAnswer) << "command " << i;
        EXPECT_EQ(c.mode, 0);
        EXPECT_FALSE(c.withOrigin);
    }
}

class IntakeTest : public ::testing::Test {
protected:
    void SetUp() override { received().clear(); }

    DataDriver d1, d2;
    ListasAtributos listas;
    std::vector<int> entradas;
};

TEST_F(IntakeTest, VariableListAsksInOrderOneVariableAfterTheOtherAndFillsEachList) {
    TValorMultiple seleccion;
    seleccion.EntrarEnteros({5, 6, d1.Manejador()});
    seleccion.EntrarEnteros({7, 8, d2.Manejador()});
    Intake::IngresoLista(seleccion, listas, entradas);

    std::vector<Esperado> esperado{{d1.Manejador(), 10022, {5, 6}}};
    Juntar(esperado, Atributos(d1.Manejador(), 5, 6));
    esperado.push_back({d2.Manejador(), 10022, {7, 8}});
    Juntar(esperado, Atributos(d2.Manejador(), 7, 8));
    ComprobarRegistro(esperado);
    EXPECT_EQ(received().size(), esperado.size());
    EXPECT_EQ(entradas, (std::vector<int>{1, 1}));

    const std::pair<int, int> comandoDeLista[] = {
        {LV_VALORES, 10001},          {LV_TIEMPOS, 10002},     {LV_UNIDADES, 10003},
        {LV_NOMBRES, 10004},          {LV_OPCIONES, 10013},    {LV_INTERVALOS, 10014},
        {LV_TIEMPOSGENERALES, 10002}, {LV_ADICIONALES, 10015}, {LV_DECIMALES, 10021}};
    for (auto [lista, comando] : comandoDeLista) {
        ASSERT_EQ(listas[lista].Cuenta(), 2) << lista;
        EXPECT_EQ(listas[lista].Entero(0, 0), comando) << lista;
        EXPECT_EQ(listas[lista].Entero(1, 2), 8) << lista;
    }
    EXPECT_EQ(listas[LV_TIEMPOSGENERALES].Entero(0, 1), -1);
    EXPECT_EQ(listas[LV_TIEMPOS].Entero(0, 1), 5);
    ASSERT_EQ(listas[LV_OBJETOS].Cuenta(), 2);
    EXPECT_EQ(listas[LV_OBJETOS].Entero(1, 2), d2.Manejador());
}

TEST_F(IntakeTest, TranslatedKeysAreTruncatedWrittenBackAndUsed) {
    d1.answer(10022, [](const Comando&, TValorMultiple& r) { r.EntrarDoubles({12.9, -3.7}); });
    TValorMultiple seleccion;
    seleccion.EntrarEnteros({5, 6, d1.Manejador(), 2, 4});
    Intake::IngresoLista(seleccion, listas, entradas);

    EXPECT_EQ(seleccion.Entero(0, 0), 12);
    EXPECT_EQ(seleccion.Entero(0, 1), -3);
    ComprobarRegistro(Atributos(d1.Manejador(), 12, -3), 1);
    // The whole row goes to the data references, the grouping level and interval included.
    ASSERT_EQ(listas[LV_OBJETOS].Cuenta(), 1);
    EXPECT_EQ(listas[LV_OBJETOS].Elementos(0), 5);
    EXPECT_EQ(listas[LV_OBJETOS].Entero(0, 0), 12);
    EXPECT_EQ(listas[LV_OBJETOS].Entero(0, 3), 2);
}

TEST_F(IntakeTest, RowRefusedByItsDataDriverIsSkippedAndHoldsMinusOne) {
    d1.answer(10022, [](const Comando&, TValorMultiple& r) { r.EntrarDoubles({-1.0, -1.0}); });
    d2.answer(10022, [](const Comando& c, TValorMultiple& r) { r.EntrarEnteros({c.ParamEntero(0), -1}); });
    DataDriver d3;
    TValorMultiple seleccion;
    seleccion.EntrarEnteros({5, 6, d1.Manejador()});
    seleccion.EntrarEnteros({7, 8, d2.Manejador()});
    seleccion.EntrarEnteros({9, 10, d3.Manejador()});
    Intake::IngresoLista(seleccion, listas, entradas);

    EXPECT_EQ(seleccion.Entero(0, 0), -1);
    EXPECT_EQ(seleccion.Entero(0, 1), -1);
    EXPECT_EQ(seleccion.Entero(1, 0), 7);
    EXPECT_EQ(seleccion.Entero(1, 1), -1);
    std::vector<Esperado> esperado{
        {d1.Manejador(), 10022, {5, 6}}, {d2.Manejador(), 10022, {7, 8}}, {d3.Manejador(), 10022, {9, 10}}};
    Juntar(esperado, Atributos(d3.Manejador(), 9, 10));
    ComprobarRegistro(esperado);
    EXPECT_EQ(received().size(), esperado.size());
    ASSERT_EQ(listas[LV_OBJETOS].Cuenta(), 1);
    EXPECT_EQ(listas[LV_OBJETOS].Entero(0, 2), d3.Manejador());
}

TEST_F(IntakeTest, SilentDriversKeepTheirKeysAndLeaveListsShorter) {
    d1.silence(10022);
    d1.silence(10001);
    d1.answer(10015, [](const Comando&, TValorMultiple& r) { r.EntrarTexto("huge"); });
    d1.answer(10022, [](const Comando&, TValorMultiple& r) { r.EntrarDoubles({1e20}); });
    TValorMultiple seleccion;
    seleccion.EntrarEnteros({5, 6, d1.Manejador()});
    Intake::IngresoLista(seleccion, listas, entradas);
    EXPECT_EQ(seleccion.Entero(0, 0), 5);
    EXPECT_EQ(seleccion.Entero(0, 1), 6);
    EXPECT_EQ(listas[LV_VALORES].Cuenta(), 0);
    EXPECT_EQ(listas[LV_ADICIONALES].Texto(0), "huge");
    EXPECT_EQ(entradas, std::vector<int>{1});
}

TEST_F(IntakeTest, MalformedSelectionRowsAreSkippedWithoutRequests) {
    std::int32_t perdido;
    {
        DataDriver efimero;
        perdido = efimero.Manejador();
    }
    TValorMultiple seleccion;
    seleccion.EntrarEnteros({5, 6});
    seleccion.EntrarDoubles({5, 6, double(d1.Manejador())});
    seleccion.EntrarEnteros({5, 6, perdido});
    Intake::IngresoLista(seleccion, listas, entradas);
    EXPECT_TRUE(received().empty());
    EXPECT_TRUE(entradas.empty());
}

class IntakeFuenteTest : public IntakeTest {
protected:
    SourceDriver fuente;
};

TEST_F(IntakeFuenteTest, DialogResultOfSevenIntegersTakesTwoVariablesInOrder) {
    fuente.add(&d1, "first.dat");
    fuente.add(&d2, "second.dat");
    TValorMultiple resultado;
    resultado.EntrarEnteros({1, 3, 4, 0, 1, 2, 99});
    Intake::IngresoDialogo(&fuente, resultado, listas, entradas);

    std::vector<Esperado> esperado{{fuente.Manejador(), 306, {1}}};
    Juntar(esperado, Atributos(d2.Manejador(), 3, 4));
    esperado.push_back({fuente.Manejador(), 306, {0}});
    Juntar(esperado, Atributos(d1.Manejador(), 1, 2));
    ComprobarRegistro(esperado);
    // Nothing is asked for the seventh integer, whatever the catalogue asks afterwards.
    for (size_t i = esperado.size(); i < received().size(); ++i)
        EXPECT_NE(received()[i].params, std::vector<int>{99});

    ASSERT_EQ(listas[LV_OBJETOS].Cuenta(), 2);
    EXPECT_EQ(listas[LV_OBJETOS].Entero(0, 2), d2.Manejador());
    EXPECT_EQ(listas[LV_OBJETOS].Entero(1, 2), d1.Manejador());
    // Each data driver went back to its own reference count.
    EXPECT_EQ(d1.Referencias(), 1);
    EXPECT_EQ(d2.Referencias(), 1);
}

TEST_F(IntakeFuenteTest, DataDriverHandedOverWithItsLastReferenceIsDestroyedAndBadResultsTakeNothing) {
    fuente.add(new DataDriver, "only.dat");
    const int vivos = DataDriver::alive();
    fuente.handOver(0);
    TValorMultiple resultado;
    resultado.EntrarEnteros({0, 1, 2});
    Intake::IngresoDialogo(&fuente, resultado, listas, entradas);
    EXPECT_EQ(DataDriver::alive(), vivos - 1);
    EXPECT_EQ(listas[LV_VALORES].Cuenta(), 1);

    // An unknown file index, an empty result or no source take nothing more.
    TValorMultiple desconocido;
    desconocido.EntrarEnteros({4, 1, 2});
    Intake::IngresoDialogo(&fuente, desconocido, listas, entradas);
    EXPECT_TRUE(entradas.empty());
    Intake::IngresoDialogo(&fuente, TValorMultiple(), listas, entradas);
    Intake::IngresoDialogo(nullptr, resultado, listas, entradas);
    EXPECT_EQ(listas[LV_VALORES].Cuenta(), 1);
    EXPECT_EQ(listas[LV_OBJETOS].Cuenta(), 1);
}

// A data driver of one file of a recording: one variable of code 1 and graph kind 0 whose
// values are `valor` on January days `desde` to `desde + 1`.
void Recording(DataDriver& d, int desde, double valor) {
    const std::vector<TTiempo> tiempos{TTiempo(2024, 1, desde, 0, 0, 0, -1),
                                       TTiempo(2024, 1, desde + 1, 0, 0, 0, -1)};
    d.answer(10001, [=](const Comando&, TValorMultiple& r) { r.EntrarDoubles({valor, valor}); });
    d.answer(10002, [=](const Comando&, TValorMultiple& r) { r.EntrarTiempos(tiempos); });
    d.answer(10003, [](const Comando&, TValorMultiple& r) { r.EntrarTexto("V"); });
    d.answer(10004, [](const Comando&, TValorMultiple& r) { r.EntrarTexto("Urms"); });
    d.answer(10013, [](const Comando&, TValorMultiple& r) {
        std::vector<double> o(13, 0.0);
        o[OPC_CODIGO] = 1;
        r.EntrarDoubles(o);
    });
    d.answer(10014, [=](const Comando&, TValorMultiple& r) { r.EntrarTiempos(tiempos); });
    d.silence(10015);
    d.answer(10021, [](const Comando&, TValorMultiple& r) { r.EntrarEnteros({2}); });
}

TEST_F(IntakeFuenteTest, CatalogueJoinsFilesOfOneRecordingAndCountsTheirReferences) {
    DataDriver otro;
    Recording(d1, 10, 2.0); // the later file, chosen first
    Recording(d2, 1, 1.0);
    Recording(otro, 1, 7.0);
    fuente.add(&d1, "S0010002.STD");
    fuente.add(&d2, "S0010001.STD");
    fuente.add(&otro, "S0020001.STD");
    TValorMultiple seleccion;
    seleccion.EntrarEnteros({1, 2, d1.Manejador()});
    seleccion.EntrarEnteros({-1, 2, d2.Manejador()});
    seleccion.EntrarEnteros({3, -1, d2.Manejador()});
    seleccion.EntrarEnteros({1, 2, d2.Manejador(), 3});
    seleccion.EntrarEnteros({1, 2, otro.Manejador()});
    Intake::IngresoCatalogado(&fuente, seleccion, listas, entradas);

    for (const auto& c : received())
        EXPECT_FALSE(c.number == 10001 && (c.params[0] == -1 || c.params[1] == -1)) << "a row without keys";
    ASSERT_EQ(listas[LV_OBJETOS].Cuenta(), 3);
    EXPECT_EQ(listas[LV_OBJETOS].Elementos(1), 4);
    EXPECT_EQ(entradas, (std::vector<int>{2, 1}));
    ASSERT_EQ(listas[LV_VALORES].Cuenta(), 2);
    ASSERT_EQ(listas[LV_VALORES].Elementos(0), 4);
    EXPECT_EQ(listas[LV_VALORES].Numero(0, 0), 1.0);
    EXPECT_EQ(listas[LV_VALORES].Numero(0, 3), 2.0);
    EXPECT_EQ(listas[LV_VALORES].Numero(1, 0), 7.0);

    // The joined variable takes both of its data references into its window.
    std::vector<int> objetosPorVentana;
    Reparto::RepartirGraficas(listas, entradas, nullptr, [&](int, ListasAtributos& ventana) {
        objetosPorVentana.push_back(ventana[LV_OBJETOS].Cuenta());
        EXPECT_EQ(ventana[LV_NOMBRES].Cuenta(), 2);
    });
    EXPECT_EQ(objetosPorVentana, std::vector<int>{3});
}

TEST(EntradasPorRepresentanteTest, EachOwnsTheRowsUpToTheNextFoundOne) {
    TValorMultiple objetos;
    for (const std::vector<std::int32_t>& fila : std::vector<std::vector<std::int32_t>>{
             {1, 2, 50}, {1, 2, 51, 4}, {1, 2, 52}, {3, 4}, {1, 2, 50}, {3, 4, 50}})
        objetos.EntrarEnteros(fila);
    const std::vector<Intake::Referencia> rep{{1, 2, 50}, {9, 9, 9}, {1, 2, 50}, {3, 4, 50}};
    EXPECT_EQ(Intake::EntradasPorRepresentante(rep, objetos), (std::vector<int>{4, 0, 1, 1}));
    EXPECT_TRUE(Intake::EntradasPorRepresentante({}, objetos).empty());
}

} // namespace
