#include "AjustesVEF.h"

#include "Contrato.h"
#include "SettingsStore.h"
#include "TValorMultiple.h"

#include <optional>

namespace AjustesVEF {

namespace {

constexpr std::int64_t Rgb(int r, int g, int b) {
    return r | (g << 8) | (b << 16);
}

// Unlike the appearance table, white comes last.
constexpr std::array<std::int64_t, 17> kColores = {
    Rgb(0, 0, 0),          Rgb(255, 0, 0),        Rgb(0, 255, 0),        Rgb(0, 0, 255),
    Rgb(0x50, 0x50, 0x50), Rgb(0x80, 0x80, 0x80), Rgb(0xC0, 0xC0, 0xC0), Rgb(255, 255, 0),
    Rgb(255, 0, 255),      Rgb(0, 255, 255),      Rgb(0x80, 0, 0x80),    Rgb(0, 0x80, 0),
    Rgb(0, 0x80, 0x80),    Rgb(0x80, 0x80, 0),    Rgb(0x80, 0, 0),       Rgb(0, 0, 0x80),
    Rgb(255, 255, 255),
};

struct Valor {
    const char* nombre;
    int defecto;
};

// In the order they are written on a new key.
constexpr Valor kValores[] = {
    {"VERS", 0},    {"TIPOLS", 0},    {"COLORLS", 1}, {"VERH", 0},          {"TIPOLH", 3},  {"COLORLH", 2},
    {"VERI", 0},    {"TIPOLI", 4},    {"COLORLI", 3}, {"RESALTAR1", 1},     {"COLORP1", 0}, {"RESALTAR2", 1},
    {"COLORP2", 1}, {"RESALTAR3", 1}, {"COLORP3", 2}, {"VERDURACIONES", 0},
};
// Written only on a key that already existed.
constexpr Valor kTiposPunto[] = {{"TIPOP1", -1}, {"TIPOP2", -1}, {"TIPOP3", -1}};
// Under the product key, and only when no saved view carries them.
constexpr Valor kGenerales[] = {{"COMPACTAR", 1}, {"HISTERESIS", 20}, {"VERTRIFASICOS", 0}};

int LeerValor(std::optional<host::SettingsKey>& clave, const Valor& v, bool escribir) {
    if (!clave)
        return v.defecto;
    const QString nombre = QString::fromLatin1(v.nombre);
    if (escribir)
        return clave->readIntWithDefault(nombre, v.defecto);
    return clave->readInt(nombre).value_or(v.defecto);
}

} // namespace

Ajustes Leer(const TValorMultiple& opciones, const TValorMultiple& objetos) {
    Ajustes a;
    bool nueva = false;
    std::optional<host::SettingsKey> clave =
        host::SettingsKey::openOrCreate(QStringLiteral("PROPIEDADESVEF"), &nueva);
    int leidos[std::size(kValores)] = {};
    for (size_t i = 0; i < std::size(kValores); ++i)
        leidos[i] = LeerValor(clave, kValores[i], true);
    const auto umbral = [&](Umbral& u, size_t primero) {
        u.ver = leidos[primero] != 0;
        u.tipo = leidos[primero + 1];
        u.color = leidos[primero + 2];
    };
    umbral(a.sobretension, 0);
    umbral(a.hueco, 3);
    umbral(a.interrupcion, 6);
    for (size_t f = 0; f < 3; ++f) {
        a.resaltar[f] = leidos[9 + 2 * f] != 0;
        a.colorFase[f] = leidos[10 + 2 * f];
        a.tipoPunto[f] = LeerValor(clave, kTiposPunto[f], !nueva);
    }
    a.verDuraciones = leidos[15] != 0;
    if (clave)
        clave->sync();

    const bool conVista = objetos.Cuenta() > 0 && objetos.Elementos(0) >= 4;
    std::optional<host::SettingsKey> producto = host::SettingsKey::openOrCreate();
    a.compactar = LeerValor(producto, kGenerales[0], !conVista);
    a.histeresis = LeerValor(producto, kGenerales[1], !conVista);
    a.verTrifasicos = LeerValor(producto, kGenerales[2], !conVista);
    if (producto)
        producto->sync();

    if (opciones.Cuenta() > 0) {
        a.sobretension.nivel = opciones.Entero(0, OPC_NIVEL_SOBRETENSION);
        a.hueco.nivel = opciones.Entero(0, OPC_NIVEL_HUECO);
        a.interrupcion.nivel = opciones.Entero(0, OPC_NIVEL_INTERRUPCION);
    }
    if (objetos.Cuenta() > 0 && objetos.Elementos(0) > 10) {
        a.sobretension.nivel = objetos.Entero(0, 5);
        a.hueco.nivel = objetos.Entero(0, 6);
        a.interrupcion.nivel = objetos.Entero(0, 7);
        a.sobretension.ver = objetos.Entero(0, 8) != 0;
        a.hueco.ver = objetos.Entero(0, 9) != 0;
        a.interrupcion.ver = objetos.Entero(0, 10) != 0;
    }
    return a;
}

std::int64_t Color(int indice) {
    if (indice < 0 || indice >= static_cast<int>(kColores.size()))
        return -1;
    return kColores[static_cast<size_t>(indice)];
}

} // namespace AjustesVEF
