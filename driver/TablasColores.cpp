#include "TablasColores.h"

#include "PEApi.h"

namespace {

constexpr std::uint32_t kFondo[kNumColoresFondo] = {
    peRGB(0x00, 0x00, 0x00), peRGB(0xFF, 0x00, 0x00), peRGB(0x00, 0xFF, 0x00), peRGB(0x00, 0x00, 0xFF),
    peRGB(0x50, 0x50, 0x50), peRGB(0x80, 0x80, 0x80), peRGB(0xC0, 0xC0, 0xC0), peRGB(0xFF, 0xFF, 0xFF),
    peRGB(0xFF, 0xFF, 0x00), peRGB(0xFF, 0x00, 0xFF), peRGB(0x00, 0xFF, 0xFF), peRGB(0x80, 0x00, 0x80),
    peRGB(0x00, 0x80, 0x00), peRGB(0x00, 0x80, 0x80), peRGB(0x80, 0x80, 0x00), peRGB(0x80, 0x00, 0x00),
    peRGB(0x00, 0x00, 0x80),
};

constexpr int kLineas[7] = {0, 5, 6, 1, 2, 3, 4};
constexpr int kMetodos[5] = {0, 17, 2, 1, 3};
constexpr int kCursores[4] = {2, 1, 3, 0};

} // namespace

const int kColoresSerieDefecto[12] = {3, 1, 12, 15, 14, 13, 11, 10, 5, 2, 4, 7};
const int kTiposLineaDefecto[12] = {0, 2, 1, 3, 4, 0, 2, 1, 3, 4, 0, 2};
const int kTiposPuntoDefecto[12] = {3, 5, 7, 9, 11, 2, 4, 3, 5, 7, 9, 11};

std::int64_t ColorFondo(int indice) {
    if (indice < 0 || indice >= kNumColoresFondo)
        return -1;
    return kFondo[indice];
}

std::int64_t ColorSerie(int indice) {
    if (indice < 0 || indice >= kNumColoresSerie)
        return -1;
    // Same table without dark grey (index 4 of the back colours).
    return kFondo[indice < 4 ? indice : indice + 1];
}

int TipoLineaGrafica(int opcion) {
    return opcion >= 0 && opcion < 7 ? kLineas[opcion] : -1;
}

int MetodoGrafica(int tipo) {
    return tipo >= 0 && tipo < 5 ? kMetodos[tipo] : -1;
}

int TipoDesdeMetodo(int metodo) {
    for (int i = 0; i < 5; ++i) {
        if (kMetodos[i] == metodo)
            return i;
    }
    return -1;
}

int ModoCursor(int opcion) {
    return opcion >= 0 && opcion < 4 ? kCursores[opcion] : -1;
}

int OpcionDesdeModoCursor(int modo) {
    for (int i = 0; i < 4; ++i) {
        if (kCursores[i] == modo)
            return i;
    }
    return -1;
}
