#pragma once

#include <QString>

#include <functional>
#include <optional>

class TValorMultiple;

// The instrument's levels that classify events, in tenths of a percent of nominal.
struct NivelesInstrumento {
    int interrupcion = 0;
    int hueco = 0;
    int sobretension = 0;
    friend bool operator==(const NivelesInstrumento&, const NivelesInstrumento&) = default;
};

// Elements of a data object's level record (its options row) that hold the levels.
inline constexpr int kElementoInterrupcion = 6;
inline constexpr int kElementoHueco = 7;
inline constexpr int kElementoSobretension = 8;

// Ranges of the level edits: what a typed level is held to.
inline constexpr int kMinSobretension = 1001;
inline constexpr int kMaxSobretension = 2000;
inline constexpr int kMinHueco = 10;
inline constexpr int kMaxHueco = 999;
inline constexpr int kMinInterrupcion = 0;
inline constexpr int kMaxInterrupcion = 500;

// The levels of record `fila` (0 for elements a short or missing record lacks).
NivelesInstrumento LeerNiveles(const TValorMultiple& registros, int fila);
// Writes the levels into record `fila`; false when it is not a record of at least nine numbers.
bool EscribirNiveles(TValorMultiple& registros, int fila, const NivelesInstrumento& niveles);

// True when any record's levels differ from the first record's.
bool NivelesIncompatibles(const TValorMultiple& registros);

// Before an events window opens: with more than one record whose levels disagree, `elegir`
// asks the user (it runs the levels dialog, which writes the chosen levels into the first
// record) and returns false on cancel. Returns whether the window is to be opened.
bool ComprobarNiveles(TValorMultiple& registros, const std::function<bool(TValorMultiple&)>& elegir);

// The dialog's OK with the list chosen: record `fila`'s levels are copied into the first record.
bool ElegirNivelesDeRegistro(TValorMultiple& registros, int fila);

// The list item of a record: overvoltage, sag and interruption with one decimal.
QString TextoNiveles(const NivelesInstrumento& niveles);
// A level typed in percent with one decimal, as stored: "95.5" gives 955 (tenths, truncated),
// held to [minimo, maximo]. Nothing when the text is not a number.
std::optional<int> NivelTecleado(const QString& texto, int minimo, int maximo);
