#pragma once

#include "TValor.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

class TTiempo;

// An ordered list of typed rows (element size, element count, type code, bytes); the
// attribute lists that travel between data drivers, the engine and the sibling modules.
//
// Assignment and copy are deep in meaning; the bytes of a row are shared between copies
// until one side writes through DamePuntero, so handing a week of one-second data from
// list to list costs no copy.
class TValorMultiple {
public:
    TValorMultiple() = default;
    TValorMultiple(const TValorMultiple&) = default;
    TValorMultiple& operator=(const TValorMultiple&) = default;
    TValorMultiple(TValorMultiple&&) noexcept = default;
    TValorMultiple& operator=(TValorMultiple&&) noexcept = default;
    ~TValorMultiple() = default;

    // Appends a row holding a copy of cuenta elements of tamanoElemento bytes read from
    // direccion (zeros when direccion is null). Returns the row's index.
    int EntrarValor(const void* direccion, int tamanoElemento, int cuenta, int tipo);
    int EntrarValor(const TValor& valor);
    // Appends a zero-filled row and returns its bytes for the caller to fill.
    void* EntrarBloque(int tamanoElemento, int cuenta, int tipo);
    // Appends a row whose bytes are left as allocated, for a caller that overwrites every one
    // of them: a large row is then written once instead of zero-filled first.
    void* EntrarBloqueSinCeros(int tamanoElemento, int cuenta, int tipo);
    // Appends row `fila` of another list, sharing its bytes.
    int CopiarFila(const TValorMultiple& origen, int fila);

    // Convenience writers for the common row types.
    int EntrarEnteros(const std::vector<std::int32_t>& valores);
    int EntrarDoubles(const std::vector<double>& valores);
    int EntrarTiempos(const std::vector<TTiempo>& valores);
    int EntrarTexto(const std::string& texto);

    int Cuenta() const { return static_cast<int>(m_filas.size()); }
    bool Vacia() const { return m_filas.empty(); }
    void DeleteAll();

    // Makes `fila` the current row; false (and no current row) when out of range.
    bool Posicionar(int fila);
    int FilaActual() const { return m_actual; }
    // The current row's bytes (nullptr without a current row). Writable: detaches a shared row.
    void* DamePuntero();
    void* DamePuntero(int& tamanoElemento, int& cuenta);
    // Element `indice` of the current row as a number (integers, bytes and doubles convert;
    // texts, times and out-of-range indexes give 0).
    double DameDouble(int indice) const;

    // Read access to any row without moving the current row.
    const void* Datos(int fila) const;
    int TamanoElemento(int fila) const;
    int Elementos(int fila) const;
    int Tipo(int fila) const;
    double Numero(int fila, int indice) const;
    std::int32_t Entero(int fila, int indice) const;
    std::string Texto(int fila) const;
    const TTiempo* Tiempos(int fila) const;      // nullptr unless the row holds times
    const double* Doubles(int fila) const;       // nullptr unless the row holds doubles
    const std::int32_t* Enteros(int fila) const; // nullptr unless the row holds integers

private:
    // Leaves new bytes uninitialised: whoever appends a row writes it (EntrarBloque zero-fills
    // explicitly).
    template <typename T> struct SinIniciar : std::allocator<T> {
        template <typename U> struct rebind { using other = SinIniciar<U>; };
        SinIniciar() = default;
        template <typename U> SinIniciar(const SinIniciar<U>&) noexcept {}
        template <typename U> void construct(U* p) noexcept { ::new (static_cast<void*>(p)) U; }
        template <typename U, typename... A> void construct(U* p, A&&... a) {
            ::new (static_cast<void*>(p)) U(std::forward<A>(a)...);
        }
    };
    using Bytes = std::vector<unsigned char, SinIniciar<unsigned char>>;
    struct Fila {
        int tamano = 0;
        int cuenta = 0;
        int tipo = TV_ENTERO;
        std::shared_ptr<Bytes> bytes;
    };
    void* NuevaFila(int tamanoElemento, int cuenta, int tipo, bool ceros);
    const Fila* fila(int indice) const;

    std::vector<Fila> m_filas;
    int m_actual = -1;
};
