#pragma once

#include "ObjGen.h"
#include "Tabla.h"

#include <memory>
#include <string>
#include <vector>

class Comando;
class TValorMultiple;

// Base of every driver: property pages for the host's property editor, registered services
// and numbered commands.
//
// ProgCom routes a command whose number is a registered service to EjecutarServicio; any
// other command goes to AtenderComando, which data drivers override to append their answer
// rows to the given list.
class DrivFlex : public ObjGen {
public:
    // Texts read through GetPropertyText fit in a buffer of this many characters.
    static constexpr int kTextoPropiedad = 256;

    struct Servicio {
        int numero = 0;
        std::string nombre;
        std::string descripcion;
        int marca1 = 0;
        int marca2 = 0;
    };

    DrivFlex();
    ~DrivFlex() override;

    // Adds a page, taking ownership; returns its index.
    int AddTabla(Tabla* tabla);
    // Destroys page `indice`; later pages move down by one.
    void DeleteTabla(int indice);
    Tabla* DameTabla(int indice) const;
    void EntrarServicio(int numero, const char* nombre, const char* descripcion, int marca1, int marca2);
    const Servicio* DameServicio(int numero) const;
    const std::vector<Servicio>& Servicios() const { return m_servicios; }
    // The object-kind word; drivers of the same kind of file share it.
    int TipoObjeto() const { return m_tipoObjeto; }
    void PonerTipoObjeto(int tipo) { m_tipoObjeto = tipo; }

    // Page model, as read by the host's property editor. Out-of-range indexes give 0, an
    // empty text, false or -1.
    virtual int GetPagesNumber();
    virtual int GetPropertyNumber(int pagina);
    virtual const char* GetPageName(int pagina);
    virtual int GetPageCat(int pagina);
    virtual bool GetPageVisibility(int pagina);
    virtual const char* GetPropertyName(int pagina, int propiedad);
    virtual int GetPropertyAcces(int pagina, int propiedad);
    virtual int GetPropertyControl(int pagina, int propiedad);
    virtual int GetPropertyRange(int pagina, int propiedad, int* minimo, int* maximo);
    virtual void SetPropertyText(int pagina, int propiedad, const char* texto) {}
    // `buffer` holds kTextoPropiedad characters.
    virtual void GetPropertyText(int pagina, int propiedad, char* buffer);
    virtual void SetPropertyValue(int pagina, int propiedad, int valor) {}
    virtual void GetPropertyValue(int pagina, int propiedad, int* valor);
    virtual int GetPropertyOptionsNumber(int pagina, int propiedad);
    virtual const char* GetPropertyOption(int pagina, int propiedad, int opcion);

    virtual int Comand(int, int, int) { return 0; }
    virtual int ProgCom(Comando* comando, TValorMultiple* respuesta, int modo, ObjGen* origen);

    virtual int RegistrarServicios() { return 0; }
    virtual void* DameImMenu() { return nullptr; }
    virtual void* DameImPanelNorm() { return nullptr; }
    virtual void* DameImPanelAct() { return nullptr; }
    virtual void* DameIcono() { return nullptr; }
    virtual void* DameCursor() { return nullptr; }
    virtual void LoadFromFile(const char* fichero) {}
    virtual void SaveToFile(const char* fichero) {}
    virtual void GuardarPropiedades() {}
    virtual void RestaurarPropiedades() {}
    virtual int EditarPropiedades(int accion, int* resultado);
    virtual int EjecutarServicio(int numero) { return 0; }

protected:
    // Commands that are not registered services. Answers are appended to `respuesta`;
    // the return value is the number of rows appended, or -1 for an unknown command.
    virtual int AtenderComando(Comando* comando, TValorMultiple* respuesta, int modo, ObjGen* origen) {
        return -1;
    }

    const Tabla::Propiedad* propiedad(int pagina, int propiedad) const;

private:
    std::vector<std::unique_ptr<Tabla>> m_tablas;
    std::vector<Servicio> m_servicios;
    int m_tipoObjeto = 0;
};
