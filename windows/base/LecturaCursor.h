#pragma once

#include "TTiempo.h"

#include <QString>

// Texts of the cursor read-out shared by the time-series graph windows: the number
// formatter, the date forms and the read-out table (cells separated by "|", every row ended
// by a tab).
namespace LecturaCursor {

// "?" for the null value, for magnitudes of 1.23456789e13 or more and for NaN; otherwise the
// value with 0 to 8 decimals as asked, 9 decimals for 9 to 15, none for any other count.
QString FormatearNumero(double valor, int decimales);

// A date as the read-out writes it for the smallest recording period of the series shown:
// weekly data "(week) dd/mm/yyyy" (ISO week of the Monday that starts the date's week, or of
// the day before when the value closes its period), daily data "dd/mm/yyyy", anything else
// the time's own text form.
QString FormatearFecha(const TTiempo& fecha, int periodoMinimo, bool cierraPeriodo);

struct Lectura {
    double valor = 0.0;
    double maximo = 0.0;
    double minimo = 0.0;
    int decimales = 0;
    QString unidad;
    QString fecha;
    QString desde;
    QString hasta;
    // With several series and a visible cursor the read-out names the series under it.
    bool mostrarVariable = false;
    QString nombreVariable;
};

// The read-out table; `filas` receives its number of rows (3, or 4 with the variable row).
QString Texto(const Lectura& lectura, int* filas = nullptr);

// Whether two units share a vertical axis: both longer than one character, starting with
// "%" and equal in their second character, or else equal text.
bool MismoEje(const QString& a, const QString& b);
// The label of an axis for a unit: empty for a unit starting with "?", the first two
// characters for one starting with "%", else the unit itself.
QString EtiquetaEje(const QString& unidad);

} // namespace LecturaCursor
