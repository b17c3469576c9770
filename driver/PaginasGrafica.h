#pragma once

#include "Tabla.h"

#include <string>
#include <vector>

// The four property pages of a window driver, in page order. Names and options come from the
// string table.

// Page 0: description, subtitle, title, group-by mode, large step.
class TPaginaGeneral : public Tabla {
public:
    enum Propiedad : int { DESCRIPCION = 0, SUBTITULO, TITULO, AGRUPAR, PASO_GRANDE, kNumPropiedades };
    TPaginaGeneral();
    // For graph kinds without grouping: "Group by" stays, with no options.
    void QuitarOpcionesAgrupar();
};

// Page 1: plotting type, cursor, legend, three colours and three fonts. The event kinds do
// not offer a plotting type; their page starts at "Cursor".
class TPaginaSalidas : public Tabla {
public:
    enum Propiedad : int {
        TIPO = 0,
        CURSOR,
        LEYENDA,
        COLOR_ESCRITORIO,
        COLOR_FONDO,
        COLOR_TEXTO,
        FUENTE_PRINCIPAL,
        FUENTE_SUBTITULO,
        FUENTE_ETIQUETAS,
        kNumPropiedades
    };
    explicit TPaginaSalidas(std::vector<std::string> fuentes);

    // getters:
    const std::vector<std::string>& Fuentes() const { return m_fuentes; }
    // Name of font `indice`, or an empty text outside the list.
    const char* NombreFuente(int indice) const;

    // setters:
    // Rebuilds the page without "Type".
    void QuitarTipo();

private:
    void Construir(bool conTipo);
    std::vector<std::string> m_fuentes;
};

// Page 2: one colour per plotted series.
class TPaginaColores : public Tabla {
public:
    TPaginaColores();
    // Re-enters the page with one "Line color n" property per series.
    void PonerSeries(int numSeries);
};

// Page 3: one line type per plotted series.
class TPaginaTiposLinea : public Tabla {
public:
    TPaginaTiposLinea();
    void PonerSeries(int numSeries);
};
