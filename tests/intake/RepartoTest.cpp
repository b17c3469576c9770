#include "Reparto.h"

#include "FakeDrivers.h"
#include "TestEnvironment.h"
#include "Textos.h"

#include <QDialog>

#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

// One selected variable as the intake would leave it in the ten lists.
struct Var {
    int tipo = 0;
    std::string unidad = "V";
    int filas = 1;  // rows in lists 1-6 and 10
    int extras = 0; // rows it appended to list 8 (0 appends an empty row when `vacia`)
    bool vacia = false;
    int dias[2] = {1, 2}; // first and last day of January of its times
    int codigo = 0;
    int propia = 0;
    std::int32_t driver = 1;
    int niveles[3] = {100, 900, 1100};
    int objetos = 1; // rows of list 9
};

class Seleccion {
public:
    // Adds a variable named "v<n>"; every row it owns carries the name so windows can be read.
    Seleccion& Anadir(const Var& v) {
        const std::string nombre = "v" + std::to_string(m_n++);
        for (int f = 0; f < v.filas; ++f) {
            const std::string fila = v.filas > 1 ? nombre + "." + std::to_string(f) : nombre;
            listas[LV_VALORES].EntrarDoubles({1.0, 2.0});
            listas[LV_TIEMPOS].EntrarTiempos({fakes::T(2024, 1, v.dias[0]), fakes::T(2024, 1, v.dias[1])});
            listas[LV_UNIDADES].EntrarTexto(v.unidad);
            listas[LV_NOMBRES].EntrarTexto(fila);
            std::vector<double> opciones(13, 0.0);
            opciones[OPC_TIPO] = v.tipo;
            opciones[OPC_VENTANA_PROPIA] = v.propia;
            opciones[OPC_NIVEL_INTERRUPCION] = v.niveles[0];
            opciones[OPC_NIVEL_HUECO] = v.niveles[1];
            opciones[OPC_NIVEL_SOBRETENSION] = v.niveles[2];
            opciones[OPC_CODIGO] = v.codigo;
            listas[LV_OPCIONES].EntrarDoubles(opciones);
            listas[LV_INTERVALOS].EntrarTexto(fila);
            listas[LV_DECIMALES].EntrarTexto(fila);
        }
        listas[LV_TIEMPOSGENERALES].EntrarTexto(nombre);
        for (int e = 0; e < v.extras; ++e)
            listas[LV_ADICIONALES].EntrarTexto(nombre + "+" + std::to_string(e));
        if (v.vacia)
            listas[LV_ADICIONALES].EntrarValor(nullptr, 8, 0, TV_DOUBLE);
        for (int o = 0; o < v.objetos; ++o)
            listas[LV_OBJETOS].EntrarEnteros({m_n - 1, o, v.driver});
        entradas.push_back(v.objetos);
        return *this;
    }
    Seleccion& Anadir(const Var& v, int veces) {
        for (int i = 0; i < veces; ++i)
            Anadir(v);
        return *this;
    }

    ListasAtributos listas;
    std::vector<int> entradas;

private:
    int m_n = 0;
};

struct Ventana {
    int tipo;
    ListasAtributos listas;

    std::vector<std::string> Textos(int lista) const {
        std::vector<std::string> t;
        for (int f = 0; f < listas[lista].Cuenta(); ++f)
            t.push_back(listas[lista].Texto(f));
        return t;
    }
    std::vector<std::string> Nombres() const { return Textos(LV_NOMBRES); }
};

using Nombres = std::vector<std::string>;

class RepartoTest : public ::testing::Test {
protected:
    void TearDown() override { Reparto::PonerDialogoNiveles({}); }

    std::vector<Ventana> Repartir(const Seleccion& s) {
        std::vector<Ventana> ventanas;
        Reparto::RepartirGraficas(s.listas, s.entradas, nullptr, [&](int tipo, ListasAtributos& listas) {
            ventanas.push_back({tipo, listas});
        });
        return ventanas;
    }
};

// Each window must hold exactly its variables' rows: every row of lists 1-6 and 10, their extra
// rows up to an empty one, one general-times row each and their data references; a variable
// that is skipped or moved takes all of its rows with it.
TEST_F(RepartoTest, VariablesShareWindowsByKindUnitDriverCodeAndTimeRange) {
    struct Esperada {
        int tipo;
        std::vector<int> vars;
    };
    struct Escenario {
        const char* que;
        std::vector<Var> vars;
        std::vector<Esperada> ventanas;
        int avisos = 0;              // "too many axes" warnings
        int dialogo = -1;            // the levels dialog's answer (0 cancels); -1: the default one
        std::vector<int> filas = {}; // the option rows of each levels dialog shown
    };
    auto unidades = [](std::vector<const char*> u) {
        std::vector<Var> v;
        for (const char* x : u)
            v.push_back(Var{.unidad = x});
        return v;
    };
    const std::vector<int> seis = {0, 1, 2, 3, 4, 5};
    // clang-format off
    const Escenario escenarios[] = {
        // Percent units share an axis when their second characters agree; a lone "%" is plain text.
        {"a seventh axis starts a second window", unidades({"V", "A", "W", "Hz", "var", "VA", "%"}), {{0, seis}, {0, {6}}}, 1},
        {"%Vn and %Vx share", unidades({"%Vn", "%Vx", "A", "W", "Hz", "var", "VA"}), {{0, {0, 1, 2, 3, 4, 5, 6}}}},
        {"%Vn and %In do not", unidades({"%Vn", "%In", "A", "W", "Hz", "var", "VA"}), {{0, seis}, {0, {6}}}, 1},
        {"% and %V do not", unidades({"%", "%V", "A", "W", "Hz", "var", "VA"}), {{0, seis}, {0, {6}}}, 1},
        {"own window opens at once", {Var{}, Var{.propia = 1}, Var{}}, {{0, {1}}, {0, {0, 2}}}},
        {"per-variable kinds take their rows and extra rows",
         {Var{.tipo = 3, .filas = 6, .extras = 1}, Var{.tipo = 2, .filas = 6, .extras = 12}, Var{.tipo = 5, .filas = 6}, Var{.tipo = 13}},
         {{3, {0}}, {2, {1}}, {5, {2}}, {13, {3}}}},
        {"extra rows stop at an empty row",
         {Var{.tipo = 2, .filas = 6, .extras = 2, .vacia = true}, Var{.tipo = 3, .filas = 6, .extras = 1}}, {{2, {0}}, {3, {1}}}},
        {"data references follow the entries",
         {Var{.objetos = 2}, Var{.tipo = 5, .filas = 6, .objetos = 3}, Var{.objetos = 1}}, {{5, {1}}, {0, {0, 2}}}},
        {"collected kinds share one window each",
         {Var{.tipo = 1}, Var{.tipo = 14, .extras = 1}, Var{.tipo = 1}, Var{.tipo = 14, .extras = 1}}, {{1, {0, 2}}, {14, {1, 3}}}},
        {"disturbances of two data drivers",
         {Var{.tipo = 6, .extras = 2, .driver = 11}, Var{.tipo = 6, .extras = 2, .driver = 22}, Var{.tipo = 6, .extras = 2, .driver = 11}},
         {{6, {0, 2}}, {6, {1}}}},
        {"disturbance code 37273 apart from its driver's others",
         {Var{.tipo = 6, .codigo = 37274, .driver = 11}, Var{.tipo = 6, .codigo = 37273, .driver = 11},
          Var{.tipo = 6, .codigo = 37275, .driver = 11}, Var{.tipo = 6, .codigo = 37273, .driver = 11}},
         {{6, {0, 2}}, {6, {1, 3}}}},
        {"ranges apart share a window earlier first, an overlap goes alone",
         {Var{.tipo = 18, .extras = 6, .dias = {10, 20}}, Var{.tipo = 18, .extras = 6, .dias = {1, 5}}, Var{.tipo = 18, .extras = 6, .dias = {3, 12}}},
         {{18, {1, 0}}, {18, {2}}}},
        {"touching ranges overlap (after)", {Var{.tipo = 10, .dias = {1, 5}}, Var{.tipo = 10, .dias = {5, 9}}}, {{10, {0}}, {10, {1}}}},
        {"event kinds group their ranges separately in their order",
         {Var{.tipo = 19}, Var{.tipo = 10}, Var{.tipo = 11}, Var{.tipo = 10, .dias = {3, 4}}}, {{10, {1, 3}}, {11, {2}}, {19, {0}}}},
        {"range pairing joins the second with the first", {Var{.tipo = 20}, Var{.tipo = 20}, Var{.tipo = 20}}, {{20, {1, 0}}, {20, {2}}}},
        {"range pairing needs both ends, leftovers keep their order",
         {Var{.tipo = 20, .dias = {1, 5}}, Var{.tipo = 20, .dias = {1, 6}}, Var{.tipo = 20, .dias = {2, 6}}, Var{.tipo = 20, .dias = {1, 6}}},
         {{20, {3, 1}}, {20, {0}}, {20, {2}}}},
        {"kinds without a window class", {Var{.tipo = 7}, Var{.tipo = 12}}, {}},
        {"a skipped variable keeps its rows", {Var{.tipo = 9, .objetos = 2}, Var{.tipo = 13, .objetos = 1}}, {{13, {1}}}},
        {"a cancelled levels dialog skips only the shared window",
         {Var{.tipo = 10, .dias = {1, 2}}, Var{.tipo = 10, .dias = {3, 4}, .niveles = {50, 900, 1100}},
          Var{.tipo = 10, .dias = {1, 4}, .niveles = {70, 800, 1200}}, Var{.tipo = 5, .filas = 6}},
         {{5, {3}}, {10, {2}}}, 0, 0, {2}},
        {"the levels dialog runs only for differing levels of several rows",
         {Var{.tipo = 19, .dias = {1, 2}}, Var{.tipo = 19, .dias = {3, 4}}, Var{.tipo = 11}}, {{11, {2}}, {19, {0, 1}}}, 0, 0, {}},
        {"per-variable windows first, then collections in their order",
         {Var{.tipo = 20}, Var{.tipo = 18}, Var{.tipo = 19}, Var{.tipo = 11}, Var{.tipo = 10}, Var{.tipo = 6}, Var{.tipo = 14},
          Var{.tipo = 1}, Var{.tipo = 0}, Var{.tipo = 3, .filas = 6}, Var{.tipo = 21, .filas = 6}, Var{.tipo = 16, .filas = 6},
          Var{.tipo = 15, .filas = 6}, Var{.tipo = 17}, Var{.tipo = 4, .filas = 6}},
         {{3, {9}}, {21, {10}}, {16, {11}}, {15, {12}}, {17, {13}}, {4, {14}}, {0, {8}}, {1, {7}}, {14, {6}}, {6, {5}},
          {10, {4}}, {11, {3}}, {19, {2}}, {18, {1}}, {20, {0}}}},
    };
    // clang-format on
    for (const Escenario& e : escenarios) {
        SCOPED_TRACE(e.que);
        testsupport::Messages::clear();
        std::vector<int> filas;
        if (e.dialogo >= 0) {
            Reparto::PonerDialogoNiveles([&](TValorMultiple& opciones, QWidget*) {
                filas.push_back(opciones.Cuenta());
                return e.dialogo == 1;
            });
        }
        Seleccion s;
        for (const Var& v : e.vars)
            s.Anadir(v);
        const auto v = Repartir(s);
        Reparto::PonerDialogoNiveles({});
        EXPECT_EQ(filas, e.filas);
        ASSERT_EQ(v.size(), e.ventanas.size());
        for (size_t w = 0; w < v.size(); ++w) {
            Nombres filas, generales, adicionales;
            std::vector<int> objetos;
            for (int i : e.ventanas[w].vars) {
                const Var& var = e.vars[static_cast<size_t>(i)];
                const std::string n = "v" + std::to_string(i);
                for (int f = 0; f < var.filas; ++f)
                    filas.push_back(var.filas > 1 ? n + "." + std::to_string(f) : n);
                generales.push_back(n);
                for (int x = 0; x < var.extras; ++x)
                    adicionales.push_back(n + "+" + std::to_string(x));
                objetos.insert(objetos.end(), static_cast<size_t>(var.objetos), i);
            }
            SCOPED_TRACE(w);
            EXPECT_EQ(v[w].tipo, e.ventanas[w].tipo);
            for (int l : {LV_VALORES, LV_TIEMPOS, LV_UNIDADES, LV_OPCIONES, LV_INTERVALOS, LV_DECIMALES})
                EXPECT_EQ(v[w].listas[l].Cuenta(), static_cast<int>(filas.size())) << l;
            EXPECT_EQ(v[w].Nombres(), filas);
            EXPECT_EQ(v[w].Textos(LV_DECIMALES), filas);
            EXPECT_EQ(v[w].Textos(LV_TIEMPOSGENERALES), generales);
            EXPECT_EQ(v[w].Textos(LV_ADICIONALES), adicionales);
            std::vector<int> reales;
            for (int f = 0; f < v[w].listas[LV_OBJETOS].Cuenta(); ++f)
                reales.push_back(v[w].listas[LV_OBJETOS].Entero(f, 0));
            EXPECT_EQ(reales, objetos);
        }
        EXPECT_EQ(testsupport::Messages::count(Texto(TXT_DEMASIADOS_EJES)), e.avisos);
        EXPECT_EQ(testsupport::Messages::shown().size(), static_cast<size_t>(e.avisos));
    }
}

TEST_F(RepartoTest, VariablesOfOneUnitGoTwelveToAWindowBeyondSixtyFourWindowsWithoutMessage) {
    Seleccion s;
    s.Anadir(Var{}, 12 * 70 + 1);
    const auto v = Repartir(s);
    ASSERT_EQ(v.size(), 71u);
    EXPECT_EQ(v[0].tipo, 0);
    EXPECT_EQ(v[0].Nombres().size(), 12u);
    EXPECT_EQ(v[0].Nombres().back(), "v11");
    EXPECT_EQ(v[70].Nombres(), Nombres{"v840"});
    EXPECT_TRUE(testsupport::Messages::shown().empty());
}

TEST_F(RepartoTest, EntryCountsThatDoNotFitAreBoundedAndMalformedOptionsRowsSkipped) {
    Seleccion s;
    s.Anadir(Var{.objetos = 2}).Anadir(Var{.tipo = 5, .filas = 6, .objetos = 3}).Anadir(Var{.objetos = 1});
    // A caller that counted nothing gives each variable one data reference.
    s.entradas.clear();
    const auto sinCuentas = Repartir(s);
    ASSERT_EQ(sinCuentas.size(), 2u);
    ASSERT_EQ(sinCuentas[0].listas[LV_OBJETOS].Cuenta(), 1);
    EXPECT_EQ(sinCuentas[0].listas[LV_OBJETOS].Entero(0, 1), 1);

    // Counts beyond the list give the variable what is left and the others nothing.
    s.entradas = {INT32_MAX, INT32_MAX, -5};
    const auto desmedidas = Repartir(s);
    ASSERT_EQ(desmedidas.size(), 2u);
    EXPECT_EQ(desmedidas[0].listas[LV_OBJETOS].Cuenta(), 0);
    EXPECT_EQ(desmedidas[1].listas[LV_OBJETOS].Cuenta(), 6);

    // Malformed options rows are skipped without a message.
    Seleccion m;
    m.Anadir(Var{.tipo = 13});
    m.listas[LV_OPCIONES].EntrarDoubles({0.0});
    m.listas[LV_OPCIONES].EntrarDoubles({0.0, std::nan("")});
    m.listas[LV_OPCIONES].EntrarTexto("5");
    m.listas[LV_OPCIONES].EntrarDoubles({0.0, 1e300});
    const auto v = Repartir(m);
    ASSERT_EQ(v.size(), 1u);
    EXPECT_EQ(v[0].tipo, 13);
    EXPECT_TRUE(testsupport::Messages::shown().empty());
}

TEST_F(RepartoTest, LevelsDialogMayRewriteTheFirstRecordBeforeTheWindowOpens) {
    Reparto::PonerDialogoNiveles([](TValorMultiple& opciones, QWidget*) {
        opciones.Posicionar(0);
        static_cast<double*>(opciones.DamePuntero())[OPC_NIVEL_HUECO] = 955;
        return true;
    });
    Seleccion s;
    s.Anadir(Var{.tipo = 18, .dias = {1, 2}}).Anadir(Var{.tipo = 18, .dias = {3, 4}, .niveles = {1, 2, 3}});
    const auto v = Repartir(s);
    ASSERT_EQ(v.size(), 1u);
    EXPECT_EQ(v[0].listas[LV_OPCIONES].Entero(0, OPC_NIVEL_HUECO), 955);
    // The selection's own rows are not written through the window's copy.
    EXPECT_EQ(s.listas[LV_OPCIONES].Entero(0, OPC_NIVEL_HUECO), 900);
}

TEST_F(RepartoTest, ErrorRaisedByWindowCreationLeavesTheDistribution) {
    Seleccion s;
    s.Anadir(Var{.tipo = 13}).Anadir(Var{.tipo = 13});
    int llamadas = 0;
    auto crear = [&](int, ListasAtributos&) {
        ++llamadas;
        throw std::runtime_error("no chart");
    };
    EXPECT_THROW(Reparto::RepartirGraficas(s.listas, s.entradas, nullptr, crear), std::runtime_error);
    EXPECT_EQ(llamadas, 1);
}

TEST(NivelesTest, IncompatibleOnlyWhenALevelDiffersFromTheFirstRecordAndTheDialogDecides) {
    std::vector<double> fila(13, 0.0);
    fila[OPC_NIVEL_INTERRUPCION] = 100;
    fila[OPC_NIVEL_HUECO] = 900;
    fila[OPC_NIVEL_SOBRETENSION] = 1100;
    EXPECT_FALSE(Reparto::NivelesIncompatibles(TValorMultiple()));
    for (int indice : {OPC_NIVEL_INTERRUPCION, OPC_NIVEL_HUECO, OPC_NIVEL_SOBRETENSION}) {
        TValorMultiple opciones;
        opciones.EntrarDoubles(fila);
        std::vector<double> otra = fila;
        otra[OPC_TIPO] = 10;
        otra[OPC_CODIGO] = 5;
        opciones.EntrarDoubles(otra);
        EXPECT_FALSE(Reparto::NivelesIncompatibles(opciones));
        otra[indice] += 1;
        opciones.EntrarDoubles(otra);
        EXPECT_TRUE(Reparto::NivelesIncompatibles(opciones)) << indice;
    }
    TValorMultiple opciones;
    opciones.EntrarDoubles(fila);
    fila[OPC_NIVEL_HUECO] = 1;
    opciones.EntrarDoubles(fila);
    // Without a dialog of its own the distribution runs the levels dialog: cancelled, the window
    // stays closed; accepted, it opens.
    EXPECT_FALSE(Reparto::ComprobarNiveles(opciones, nullptr));
    EXPECT_EQ(testsupport::Dialogs::runs(), 1);
    testsupport::Dialogs::handleNext([](QDialog&) { return static_cast<int>(QDialog::Accepted); });
    EXPECT_TRUE(Reparto::ComprobarNiveles(opciones, nullptr));
    EXPECT_EQ(testsupport::Dialogs::runs(), 2);
}

} // namespace
