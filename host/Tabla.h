#pragma once

#include <string>
#include <vector>

// One property page of a driver: a name, a category, a visibility flag and a fixed number of
// named properties, each with an optional list of option texts. Drivers subclass it per page.
class Tabla {
public:
    struct Propiedad {
        std::string nombre;
        int acceso = 0;
        int control = 0;
        int tipo = 0;
        int rangoMinimo = 0;
        int rangoMaximo = 0;
        int defecto = 0;
        std::vector<std::string> opciones;
    };

    Tabla() = default;
    virtual ~Tabla() = default;

    // Declares the page: name, number of properties, category and visibility.
    void EntrarPagina(const char* nombre, int numPropiedades, int categoria, bool visible);
    // (Re)defines property `indice`; entering it again replaces name and options.
    // Indexes outside the page are ignored.
    void EntrarPropiedad(int indice, int acceso, int control, int tipo, const char* nombre, int rangoMinimo,
                         int rangoMaximo, int defecto, int numOpciones, const char* const* opciones);
    // Forgets the page's properties and name.
    void EliminarPagina();
    void SetVisible(bool visible) { m_visible = visible; }

    const std::string& Nombre() const { return m_nombre; }
    int Categoria() const { return m_categoria; }
    bool Visible() const { return m_visible; }
    int NumPropiedades() const { return static_cast<int>(m_propiedades.size()); }
    // nullptr for an index outside the page.
    const Propiedad* DamePropiedad(int indice) const;

private:
    std::string m_nombre;
    int m_categoria = 0;
    bool m_visible = true;
    std::vector<Propiedad> m_propiedades;
};
