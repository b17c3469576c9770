#pragma once

#include <QString>

// Grouping levels of a time axis and the rules of the Group and Ungroup buttons. Plain code
// with no window, shared by the graph windows and the table and export modules.
namespace Agrupacion {

enum Nivel : int {
    NIVEL_MESES = 0,
    NIVEL_SEMANAS = 1,
    NIVEL_DIAS = 2,
    NIVEL_HORAS = 3,
    NIVEL_SIN_AGRUPAR = 4,
    NIVEL_DEFECTO = 5, // the intervals delivered with the data
    NIVEL_NO_DISPONIBLE = -10,
};

enum Modo : int {
    MODO_DESAGRUPAR = -1, // the Ungroup button
    MODO_AGRUPAR = -2,    // the Group button
};

// The level a mode leads to from the current level: Ungroup goes one coarser (and from
// months to no grouping), Group one finer (and from no grouping or the default to months);
// any other mode is the new level itself.
int NuevoNivel(int modo, int nivelActual);

struct EstadoBotones {
    bool agruparHabilitado = false;
    bool desagruparHabilitado = false;
    QString hintAgrupar;
    QString hintDesagrupar;
};

// Enabled states and hints of the Group and Ungroup buttons at a level.
EstadoBotones Botones(int nivel);

// Name of a level as the interval title shows it ("Months" ... "Hours", "Default").
QString NombreNivel(int nivel);

} // namespace Agrupacion
