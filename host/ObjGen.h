#pragma once

#include <cstdint>

// Reference-counted base of every object that crosses a module boundary.
//
// An object is born holding one reference, owned by whoever created it. IncRef adds one;
// DecRef drops one and answers non-zero when that was the last, after which the caller
// deletes the object. The object never deletes itself.
//
// Every object also has a 32-bit handle, unique for the life of the process. Rows of
// 32-bit integers (selections, data references) carry handles instead of pointers, so a
// stale reference resolves to nullptr instead of to freed memory.
class ObjGen {
public:
    ObjGen();
    ObjGen(const ObjGen&) = delete;
    ObjGen& operator=(const ObjGen&) = delete;
    virtual ~ObjGen();

    // The first four operations of the interface; drivers that do nothing here answer 0.
    virtual int Iniciar() { return 0; }
    virtual int Terminar() { return 0; }
    virtual int Activar() { return 0; }
    virtual int Desactivar() { return 0; }

    virtual const char* Alias() const { return ""; }
    virtual const char* Descripcion() const { return ""; }
    // Host-level setters; the graph driver uses the first for its subtitle.
    virtual void PonerAlias(const char* texto) {}
    virtual void PonerDescripcion(const char* texto) {}
    virtual int TomarString(char* buffer, int tamano) { return 0; }
    virtual int FechaArray(void* destino, int cuenta) { return 0; }

    virtual ObjGen* IncRef();
    virtual int DecRef();

    int Referencias() const { return m_referencias; }
    std::int32_t Manejador() const { return m_manejador; }

    // The live object behind a handle, or nullptr when it is gone or never existed.
    static ObjGen* DesdeManejador(std::int32_t manejador);
    // Number of live objects; tests use it to find leaks of host objects.
    static int ObjetosVivos();

private:
    int m_referencias = 1;
    std::int32_t m_manejador = 0;
};
