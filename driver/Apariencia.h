#pragma once

#include "SettingsStore.h"

#include <QString>

#include <array>
#include <optional>
#include <string>
#include <vector>

// The graph appearance preferences shared by every graph window: series colours and line
// types, desk, background and text colours, and the three fonts. They live as 32-bit values
// in the product key; every value name and default of them is here.
namespace Apariencia {

constexpr int kMaxSeries = 12;
// Font names are kept in 56-byte entries, zero included.
constexpr int kLargoNombreFuente = 55;
// The installed-font list stops here.
constexpr int kMaxFuentes = 2048;

inline const QString kDeskColor = QStringLiteral("Desk Color");
inline const QString kBackColor = QStringLiteral("Back Color");
inline const QString kTextColor = QStringLiteral("Text Color");
inline const QString kMainFont = QStringLiteral("Main Font");
inline const QString kSubtitleFont = QStringLiteral("Subtitle Font");
inline const QString kLabelFont = QStringLiteral("Label Font");
// The large step of the fast navigation buttons.
inline const QString kPasos = QStringLiteral("PASOS");
constexpr int kPasosDefecto = 10;

// "Color1".."Color12" and "Tipo1".."Tipo12"; `serie` counts from 0.
QString NombreColorSerie(int serie);
QString NombreTipoLinea(int serie);

enum Fuente : int { FUENTE_PRINCIPAL = 0, FUENTE_SUBTITULO = 1, FUENTE_ETIQUETAS = 2 };

struct Preferencias {
    std::array<int, kMaxSeries> colores{};
    std::array<int, kMaxSeries> tipos{};
    int escritorio = 7;
    int fondo = 7;
    int texto = 0;
    // -1 until resolved against the installed fonts.
    std::array<int, 3> fuentes{-1, -1, -1};
};

Preferencias Defecto();

// Opens (creating when missing) the product key into `clave` and reads every preference.
// A newly created key gets every default written; otherwise each value is read and written
// back, the default standing in for a missing, mistyped or out-of-range value. Font indexes
// at or past `numFuentes` count as out of range. When the store cannot be opened `clave`
// stays empty and the defaults are returned.
Preferencias Leer(std::optional<host::SettingsKey>& clave, int numFuentes);

// When any index is -1: all three take the first font named ARIAL, else the first named
// TIMES NEW ROMAN (case-insensitive), else 0.
void ResolverFuentes(std::array<int, 3>& fuentes, const std::vector<std::string>& lista);

// The platform's scalable font families, at most kMaxFuentes, each cut to kLargoNombreFuente.
std::vector<std::string> FuentesInstaladas();

// The large step stored under PASOS: 0..999 (at most three digits), else the default,
// which is then written.
int LeerPasos();
void GuardarPasos(int pasos);

} // namespace Apariencia
