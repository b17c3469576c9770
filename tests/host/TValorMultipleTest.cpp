#include "TValorMultiple.h"
#include "Comando.h"
#include "TTiempo.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>

namespace {

TEST(TValorMultipleRows, KeepTypeSizeCountAndOrderConvertTheCurrentRowAndRefuseOtherTypes) {
    TValorMultiple lista;
    const std::int32_t enteros[3] = {7, -1, 42};
    EXPECT_EQ(lista.EntrarValor(enteros, 4, 3, TV_ENTERO), 0);
    EXPECT_EQ(lista.EntrarTexto("V1 (V)"), 1);
    EXPECT_EQ(lista.EntrarDoubles({230.5, -9999.9}), 2);
    EXPECT_EQ(lista.EntrarTiempos({TTiempo(2026, 1, 1, 0, 0, 0, -1)}), 3);

    ASSERT_EQ(lista.Cuenta(), 4);
    EXPECT_EQ(lista.Elementos(0), 3);
    EXPECT_EQ(lista.TamanoElemento(3), 14);
    EXPECT_EQ(lista.Texto(1), "V1 (V)");
    EXPECT_EQ(lista.Elementos(1), 7); // length + terminating zero
    EXPECT_EQ(lista.Tiempos(3)[0], TTiempo(2026, 1, 1, 0, 0, 0, -1));
    // The current row converts numbers.
    ASSERT_TRUE(lista.Posicionar(0));
    EXPECT_DOUBLE_EQ(lista.DameDouble(2), 42.0);
    ASSERT_TRUE(lista.Posicionar(2));
    int tam = 0, cuenta = 0;
    const double* d = static_cast<const double*>(lista.DamePuntero(tam, cuenta));
    EXPECT_EQ(tam, 8);
    EXPECT_EQ(cuenta, 2);
    EXPECT_DOUBLE_EQ(d[1], -9999.9);
    EXPECT_DOUBLE_EQ(lista.DameDouble(5), 0.0); // past the row
    EXPECT_FALSE(lista.Posicionar(4));
    EXPECT_EQ(lista.DamePuntero(), nullptr);
    // Typed accessors refuse other types; integers that do not fit read as zero.
    EXPECT_EQ(lista.Doubles(0), nullptr);
    EXPECT_EQ(lista.Enteros(1), nullptr);
    EXPECT_EQ(lista.Texto(0), "");
    EXPECT_EQ(lista.Datos(7), nullptr);
    EXPECT_EQ(lista.Tipo(-1), -1);
    TValorMultiple numeros;
    numeros.EntrarDoubles({3.9, -3.9, 1e12, std::nan("")});
    EXPECT_EQ(numeros.Entero(0, 0), 3);
    EXPECT_EQ(numeros.Entero(0, 1), -3);
    EXPECT_EQ(numeros.Entero(0, 2), 0);
    EXPECT_EQ(numeros.Entero(0, 3), 0);
}

TEST(TValorMultipleCopies, AssignmentIsDeepCopyingAMissingRowFailsAndDeleteAllForgetsTheCurrentRow) {
    TValorMultiple a;
    a.EntrarDoubles({1.0, 2.0});
    TValorMultiple b;
    b = a;
    ASSERT_TRUE(b.Posicionar(0));
    static_cast<double*>(b.DamePuntero())[0] = 99.0;
    EXPECT_DOUBLE_EQ(a.Numero(0, 0), 1.0);
    EXPECT_DOUBLE_EQ(b.Numero(0, 0), 99.0);

    ASSERT_TRUE(a.Posicionar(0));
    static_cast<double*>(a.DamePuntero())[1] = -5.0;
    EXPECT_DOUBLE_EQ(b.Numero(0, 1), 2.0);

    TValorMultiple c;
    EXPECT_EQ(c.CopiarFila(a, 3), -1);
    TValorMultiple e;
    e.EntrarEnteros({1});
    e.Posicionar(0);
    e.DeleteAll();
    EXPECT_EQ(e.Cuenta(), 0);
    EXPECT_EQ(e.FilaActual(), -1);
    EXPECT_EQ(e.DamePuntero(), nullptr);
}

TEST(TValorMultipleRows, BlocksAreZeroFilledEvenOnReusedMemoryAndRawBlocksKeepWhatIsWritten) {
    // Rows whose bytes are left as allocated must not make the zero-filled ones less so: the
    // memory a freed raw row leaves behind is handed to the next rows of its size.
    constexpr int kCuenta = 8192;
    for (int vuelta = 0; vuelta < 4; ++vuelta) {
        {
            TValorMultiple basura;
            auto* p = static_cast<unsigned char*>(basura.EntrarBloqueSinCeros(8, kCuenta, TV_DOUBLE));
            std::fill(p, p + 8 * kCuenta, static_cast<unsigned char>(0xAB));
        }
        TValorMultiple lista;
        const auto* ceros = static_cast<const unsigned char*>(lista.EntrarBloque(8, kCuenta, TV_DOUBLE));
        EXPECT_TRUE(std::all_of(ceros, ceros + 8 * kCuenta, [](unsigned char b) { return b == 0; }));
        lista.EntrarValor(nullptr, 8, kCuenta, TV_DOUBLE);
        const auto* nulos = static_cast<const unsigned char*>(lista.Datos(1));
        EXPECT_TRUE(std::all_of(nulos, nulos + 8 * kCuenta, [](unsigned char b) { return b == 0; }));
    }
    TValorMultiple lista;
    auto* d = static_cast<double*>(lista.EntrarBloqueSinCeros(8, 3, TV_DOUBLE));
    d[0] = 1.5;
    d[1] = -2;
    d[2] = 4e9;
    EXPECT_DOUBLE_EQ(lista.Numero(0, 2), 4e9);
    EXPECT_EQ(lista.EntrarBloqueSinCeros(8, 0, TV_DOUBLE), lista.Datos(1));
    EXPECT_EQ(lista.Elementos(1), 0);
}

TEST(TValorParameters, CopyTheirBytesAtConstruction) {
    std::int32_t v = 10022;
    TValor valor(&v, 4, 1, TV_ENTERO);
    v = 0;
    EXPECT_EQ(valor.ComoEntero(), 10022);
    EXPECT_EQ(TValor::Texto(nullptr).Cuenta(), 1);

    Comando c(10001);
    c.EntrarParam(TValor::Entero(3));
    const TValor segundo = TValor::Entero(-1);
    c.EntrarParam(&segundo);
    c.EntrarParam(nullptr);
    ASSERT_EQ(c.NumParams(), 2);
    EXPECT_EQ(c.ParamEntero(0), 3);
    EXPECT_EQ(c.ParamEntero(1), -1);
    EXPECT_EQ(c.ParamEntero(2, 77), 77);
    EXPECT_EQ(c.Param(5).Cuenta(), 0);
}

} // namespace
