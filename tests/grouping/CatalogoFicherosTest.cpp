#include "CatalogoFicheros.h"

#include "FakeDrivers.h"
#include "ListasAtributos.h"
#include "TTiempo.h"
#include "TValorMultiple.h"

#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

namespace {

TTiempo S(int segundo) {
    return fakes::T(2026, 1, 1, 0, 0, segundo);
}

// The nine attribute lists in catalogue slot order, filled one variable at a time.
struct Listas {
    std::array<TValorMultiple, CatalogoFicheros::kNumRanuras> l;

    void Conectar(CatalogoFicheros& c) {
        for (int r = 0; r < CatalogoFicheros::kNumRanuras - 1; ++r)
            c.PonerLista(r, &l[static_cast<size_t>(r)]);
    }
    // One variable: `filas` rows of values (each its own numbers) over the given seconds.
    void Variable(const std::string& nombre, int codigo, int tipo, const std::vector<int>& segundos,
                  double base) {
        using C = CatalogoFicheros;
        std::vector<TTiempo> t;
        for (int s : segundos)
            t.push_back(S(s));
        for (int k = 0; k < C::FilasPorVariable(codigo, tipo, C::R_VALORES); ++k) {
            std::vector<double> v;
            for (size_t i = 0; i < segundos.size(); ++i)
                v.push_back(base + 10.0 * k + static_cast<double>(i));
            l[C::R_VALORES].EntrarDoubles(v);
        }
        for (int k = 0; k < C::FilasPorVariable(codigo, tipo, C::R_TIEMPOS); ++k)
            l[C::R_TIEMPOS].EntrarTiempos(t);
        l[C::R_TIEMPOSGENERALES].EntrarTiempos(t);
        for (int k = 0; k < C::FilasPorVariable(codigo, tipo, C::R_UNIDADES); ++k)
            l[C::R_UNIDADES].EntrarTexto("V");
        for (int k = 0; k < C::FilasPorVariable(codigo, tipo, C::R_NOMBRES); ++k)
            l[C::R_NOMBRES].EntrarTexto(nombre);
        std::vector<double> opciones(13, 0.0);
        opciones[OPC_TIPO] = tipo;
        opciones[OPC_CODIGO] = codigo;
        for (int k = 0; k < C::FilasPorVariable(codigo, tipo, C::R_OPCIONES); ++k)
            l[C::R_OPCIONES].EntrarDoubles(opciones);
        for (int k = 0; k < C::FilasPorVariable(codigo, tipo, C::R_INTERVALOS); ++k)
            l[C::R_INTERVALOS].EntrarTiempos({t.front(), t.back()});
        for (int k = 0; k < C::FilasPorVariable(codigo, tipo, C::R_ADICIONALES); ++k)
            l[C::R_ADICIONALES].EntrarDoubles({base + k});
        for (int k = 0; k < C::FilasPorVariable(codigo, tipo, C::R_DECIMALES); ++k)
            l[C::R_DECIMALES].EntrarEnteros({2});
    }
    std::vector<double> Valores(int fila) const {
        const TValorMultiple& v = l[CatalogoFicheros::R_VALORES];
        const double* p = v.Doubles(fila);
        return p == nullptr ? std::vector<double>() : std::vector<double>(p, p + v.Elementos(fila));
    }
};

// A source whose files each have their own data driver, and the lists the catalogue joins.
struct Escena {
    // A file of the source with a data driver of the given object kind.
    fakes::DataDriver* Abrir(const std::string& fichero, int tipo = 7) {
        fakes::DataDriver& d = datos.emplace_back();
        d.PonerTipoObjeto(tipo);
        fuente.add(&d, fichero);
        return &d;
    }

    std::deque<fakes::DataDriver> datos;
    fakes::SourceDriver fuente;
    Listas listas;
    std::int32_t primerDriver = 0;

    // Selects one variable (keys 5, 7) in each file, the later file first, and catalogues. The
    // second may have other keys, another driver kind or be the first file again.
    std::unique_ptr<CatalogoFicheros> DosFicheros(const std::string& a, const std::string& b,
                                                  DrivFlex* origen = nullptr, int clave2b = 7,
                                                  int tipoB = 7) {
        fakes::DataDriver* da = Abrir(a);
        fakes::DataDriver* db = b.empty() ? da : Abrir(b, tipoB);
        primerDriver = da->Manejador();
        auto c = std::make_unique<CatalogoFicheros>(origen);
        c->AnadirVariable(5, 7, da->Manejador());
        c->AnadirVariable(5, clave2b, db->Manejador());
        listas.Variable("Vrms", 0, 0, {20, 21, 22}, 200);
        listas.Variable("Vrms", 0, 0, {10, 11}, 100);
        listas.Conectar(*c);
        c->Catalogar(true);
        return c;
    }
};

class Catalogo : public ::testing::Test, protected Escena {};

} // namespace

TEST(NombresDeFichero, TwelveAndTwentySixCharacterFormsAndTheirFamilies) {
    const std::string largo = "123456789B_recording_1.STD";
    // clang-format off
    const std::pair<std::string, bool> casos[] = {
        {"S1230001.STD", true}, {"M1239876.WAT", true}, {"SABC0001.EVQ", true}, {"SABC0001.STP", true},
        {"SABC0001.H24", true}, {largo, true},
        {"X1230001.STD", false},  // first character
        {"S123A001.STD", false},  // digits 5 to 8
        {"S1230001.TXT", false},  // extension
        {"S12300011.STD", false}, // 13 characters
        {"", false}, {"123456789C_recording_1.STD", false}, {"123x56789B_recording_1.STD", false},
    };
    // clang-format on
    for (const auto& [nombre, valido] : casos)
        EXPECT_EQ(CatalogoFicheros::NombreValido(nombre), valido) << nombre;
    EXPECT_EQ(CatalogoFicheros::ClaveFamilia("S1230001.STD"), "123");
    EXPECT_EQ(CatalogoFicheros::ClaveFamilia(largo), "123456789B");
    EXPECT_EQ(CatalogoFicheros::ClaveFamilia("other.std"), "other.std");
}

// Harmonics carry one row of X values for the whole variable, as the distribution takes it; a
// larger count would shift the extra rows of every variable after it.
TEST(FilasPorVariable, HarmonicsHaveOneExtraRowAndTimeSeriesNone) {
    using C = CatalogoFicheros;
    for (int codigo : {37268, 37293, 38000})
        EXPECT_EQ(C::FilasPorVariable(codigo, 3, C::R_ADICIONALES), 1) << codigo;
    for (int tipo : {0, 1, 4, 5, 13, 20})
        EXPECT_EQ(C::FilasPorVariable(37267, tipo, C::R_ADICIONALES), 0) << tipo;
}

TEST(CatalogoUnion, OnlyOneVariableOfWellNamedFilesOfOneFamilyAndDriverKindJoinsThroughTheSource) {
    struct Caso {
        const char* a;
        const char* b; // empty: the first file again
        bool conFuente;
        bool unidos;
        int clave2b = 7, tipoB = 7;
    };
    // clang-format off
    const Caso casos[] = {
        {"S1230002.STD", "S1230001.STD", true, true},    // two files of one recording join
        {"M1230002.STD", "S1230001.STD", true, true},    // M and S files of one family too
        {"S1240002.STD", "S1230001.STD", true, false},   // another family
        {"S1230002.STD", "S1230001.STD", false, false},  // no source driver to ask
        {"S1230002.STD", "", true, false},               // the same file twice
        {"S1230002.STD", "S1230001.STD", true, false, 8},    // other keys
        {"S1230002.STD", "S1230001.STD", true, false, 7, 8}, // another driver kind
    };
    // clang-format on
    for (const Caso& caso : casos) {
        SCOPED_TRACE(std::string(caso.a) + " " + caso.b + " " + std::to_string(caso.clave2b) + " " +
                     std::to_string(caso.tipoB));
        Escena e;
        auto c =
            e.DosFicheros(caso.a, caso.b, caso.conFuente ? &e.fuente : nullptr, caso.clave2b, caso.tipoB);
        if (caso.unidos) {
            ASSERT_EQ(c->NumEntradas(), 1);
            EXPECT_EQ(std::tuple(c->Clave1(0), c->Clave2(0)), std::tuple(5, 7));
            // The representative is the first selected entry, whatever the time order, and the
            // references handed out by 306 were all given back.
            EXPECT_EQ(c->Driver(0), e.primerDriver);
            for (const fakes::DataDriver& d : e.datos)
                EXPECT_EQ(d.Referencias(), 1);
            ASSERT_EQ(e.listas.l[CatalogoFicheros::R_VALORES].Cuenta(), 1);
            EXPECT_EQ(e.listas.Valores(0), (std::vector<double>{100, 101, 200, 201, 202}));
            EXPECT_EQ(e.listas.l[CatalogoFicheros::R_TIEMPOS].Tiempos(0)[4], S(22));
            // Intervals run across both files; the name is the first member's with the family.
            EXPECT_EQ(e.listas.l[CatalogoFicheros::R_INTERVALOS].Elementos(0), 4);
            EXPECT_EQ(e.listas.l[CatalogoFicheros::R_NOMBRES].Texto(0), "Vrms (123)");
        } else {
            EXPECT_EQ(c->NumEntradas(), 2);
            // The lists stay as they were delivered.
            EXPECT_EQ(e.listas.l[CatalogoFicheros::R_VALORES].Cuenta(), 2);
            EXPECT_EQ(e.listas.Valores(0), (std::vector<double>{200, 201, 202}));
            EXPECT_EQ(e.listas.Valores(1), (std::vector<double>{100, 101}));
        }
    }
}

TEST_F(Catalogo, MultiRowVariablesJoinRowByRowAndKeepOthersInPlace) {
    // A waveform variable of code 37267 (6 value rows, 12 additional rows) in two files,
    // with a one-row variable of another recording between them.
    fakes::DataDriver* a = Abrir("S1230001.STD");
    fakes::DataDriver* otra = Abrir("S9990001.STD");
    fakes::DataDriver* b = Abrir("S1230002.STD");
    CatalogoFicheros c(&fuente);
    c.AnadirVariable(1, 2, a->Manejador());
    c.AnadirVariable(3, 4, otra->Manejador());
    c.AnadirVariable(1, 2, b->Manejador());
    listas.Variable("V1", 37267, 3, {0, 1}, 100);
    listas.Variable("X", 0, 3, {0}, 500);
    listas.Variable("V1", 37267, 3, {5}, 300);
    listas.Conectar(c);
    c.Catalogar(false);
    // Without representatives the entries stay as added.
    EXPECT_EQ(c.NumEntradas(), 3);
    ASSERT_EQ(listas.l[CatalogoFicheros::R_VALORES].Cuenta(), 7);
    EXPECT_EQ(listas.Valores(0), (std::vector<double>{100, 101, 300}));
    EXPECT_EQ(listas.Valores(1), (std::vector<double>{110, 111, 310}));
    EXPECT_EQ(listas.Valores(5), (std::vector<double>{150, 151, 350}));
    EXPECT_EQ(listas.Valores(6), (std::vector<double>{500}));
    const TValorMultiple& adicionales = listas.l[CatalogoFicheros::R_ADICIONALES];
    ASSERT_EQ(adicionales.Cuenta(), 12);
    EXPECT_EQ(adicionales.Elementos(11), 2);
    EXPECT_DOUBLE_EQ(adicionales.Numero(11, 1), 311);
    EXPECT_EQ(listas.l[CatalogoFicheros::R_TIEMPOSGENERALES].Cuenta(), 2);
    // Multi-row codes name the family first.
    EXPECT_EQ(listas.l[CatalogoFicheros::R_NOMBRES].Texto(0), "123 V1");
    EXPECT_EQ(listas.l[CatalogoFicheros::R_NOMBRES].Texto(6), "X");
}

TEST(AlinearSeries, ShortValueRowsAndRowsWithoutTimesGiveNulls) {
    TValorMultiple t, v, i;
    t.EntrarTiempos({S(1), S(2)});
    t.EntrarTexto("not times");
    v.EntrarDoubles({7});
    EXPECT_EQ(CatalogoFicheros::AlinearSeries(t, v, i), 2);
    EXPECT_EQ(std::vector<double>(v.Doubles(0), v.Doubles(0) + 2), (std::vector<double>{7, kValorNulo}));
    EXPECT_EQ(std::vector<double>(v.Doubles(1), v.Doubles(1) + 2),
              (std::vector<double>{kValorNulo, kValorNulo}));
}

namespace {
std::vector<TTiempo> Fronteras(const std::vector<TTiempo>& a, const std::vector<TTiempo>& b) {
    TValorMultiple t, v, i;
    t.EntrarTiempos({S(1), S(2), S(3)});
    t.EntrarTiempos({S(2), S(3), S(4)});
    v.EntrarDoubles({1, 2, 3});
    v.EntrarDoubles({1, 2, 3});
    i.EntrarTiempos(a);
    i.EntrarTiempos(b);
    CatalogoFicheros::AlinearSeries(t, v, i);
    EXPECT_EQ(i.Cuenta(), 2);
    EXPECT_EQ(i.Elementos(0), i.Elementos(1));
    const TTiempo* p = i.Tiempos(0);
    return p == nullptr ? std::vector<TTiempo>() : std::vector<TTiempo>(p, p + i.Elementos(0));
}
} // namespace

TEST(AlinearSeries, IntervalBoundariesOfTwoSeriesMerge) {
    // A: [1, 3], B: [2, 4]. B's start closes A's interval one step early; B's end, met with no
    // interval open, opens one at the step after the previous end.
    EXPECT_EQ(Fronteras({S(1), S(3)}, {S(2), S(4)}),
              (std::vector<TTiempo>{S(1), S(1), S(2), S(3), S(4), S(4)}));
    // 2 ends A's interval and starts B's: the merged list spans both.
    EXPECT_EQ(Fronteras({S(1), S(2)}, {S(2), S(4)}), (std::vector<TTiempo>{S(1), S(4)}));
    // Equal intervals in both series give that interval once.
    EXPECT_EQ(Fronteras({S(2), S(3)}, {S(2), S(3)}), (std::vector<TTiempo>{S(2), S(3)}));
    // A start left open closes at the last step.
    EXPECT_EQ(Fronteras({S(2), S(9)}, {}), (std::vector<TTiempo>{S(2), S(4)}));
}
