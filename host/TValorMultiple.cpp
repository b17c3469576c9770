#include "TValorMultiple.h"

#include "TTiempo.h"

#include <cmath>
#include <cstring>

int TValorMultiple::EntrarValor(const void* direccion, int tamanoElemento, int cuenta, int tipo) {
    void* destino = NuevaFila(tamanoElemento, cuenta, tipo, direccion == nullptr);
    const Fila& f = m_filas.back();
    const size_t bytes = static_cast<size_t>(f.tamano) * static_cast<size_t>(f.cuenta);
    // An empty row has no bytes to copy (and may have no buffer at all).
    if (direccion != nullptr && destino != nullptr && bytes > 0)
        std::memcpy(destino, direccion, bytes);
    return Cuenta() - 1;
}

int TValorMultiple::EntrarValor(const TValor& valor) {
    return EntrarValor(valor.Datos(), valor.TamanoElemento(), valor.Cuenta(), valor.Tipo());
}

void* TValorMultiple::EntrarBloque(int tamanoElemento, int cuenta, int tipo) {
    return NuevaFila(tamanoElemento, cuenta, tipo, true);
}

void* TValorMultiple::EntrarBloqueSinCeros(int tamanoElemento, int cuenta, int tipo) {
    return NuevaFila(tamanoElemento, cuenta, tipo, false);
}

void* TValorMultiple::NuevaFila(int tamanoElemento, int cuenta, int tipo, bool ceros) {
    Fila f;
    f.tamano = tamanoElemento > 0 ? tamanoElemento : 0;
    f.cuenta = cuenta > 0 ? cuenta : 0;
    f.tipo = tipo;
    const size_t bytes = static_cast<size_t>(f.tamano) * static_cast<size_t>(f.cuenta);
    f.bytes = ceros ? std::make_shared<Bytes>(bytes, static_cast<unsigned char>(0))
                    : std::make_shared<Bytes>(bytes);
    m_filas.push_back(std::move(f));
    return m_filas.back().bytes->data();
}

int TValorMultiple::CopiarFila(const TValorMultiple& origen, int indice) {
    const Fila* f = origen.fila(indice);
    if (f == nullptr)
        return -1;
    m_filas.push_back(*f);
    return Cuenta() - 1;
}

int TValorMultiple::EntrarEnteros(const std::vector<std::int32_t>& v) {
    return EntrarValor(v.data(), 4, static_cast<int>(v.size()), TV_ENTERO);
}

int TValorMultiple::EntrarDoubles(const std::vector<double>& v) {
    return EntrarValor(v.data(), 8, static_cast<int>(v.size()), TV_DOUBLE);
}

int TValorMultiple::EntrarTiempos(const std::vector<TTiempo>& v) {
    return EntrarValor(v.data(), static_cast<int>(sizeof(TTiempo)), static_cast<int>(v.size()), TV_TIEMPO);
}

int TValorMultiple::EntrarTexto(const std::string& texto) {
    return EntrarValor(texto.c_str(), 1, static_cast<int>(texto.size()) + 1, TV_TEXTO);
}

void TValorMultiple::DeleteAll() {
    m_filas.clear();
    m_actual = -1;
}

bool TValorMultiple::Posicionar(int indice) {
    m_actual = (indice >= 0 && indice < Cuenta()) ? indice : -1;
    return m_actual >= 0;
}

void* TValorMultiple::DamePuntero() {
    if (m_actual < 0)
        return nullptr;
    Fila& f = m_filas[static_cast<size_t>(m_actual)];
    if (f.bytes.use_count() > 1)
        f.bytes = std::make_shared<Bytes>(*f.bytes);
    return f.bytes->data();
}

void* TValorMultiple::DamePuntero(int& tamanoElemento, int& cuenta) {
    if (m_actual < 0) {
        tamanoElemento = 0;
        cuenta = 0;
        return nullptr;
    }
    tamanoElemento = m_filas[static_cast<size_t>(m_actual)].tamano;
    cuenta = m_filas[static_cast<size_t>(m_actual)].cuenta;
    return DamePuntero();
}

double TValorMultiple::DameDouble(int indice) const {
    return Numero(m_actual, indice);
}

const TValorMultiple::Fila* TValorMultiple::fila(int indice) const {
    if (indice < 0 || indice >= Cuenta())
        return nullptr;
    return &m_filas[static_cast<size_t>(indice)];
}

const void* TValorMultiple::Datos(int indice) const {
    const Fila* f = fila(indice);
    return f ? f->bytes->data() : nullptr;
}

int TValorMultiple::TamanoElemento(int indice) const {
    const Fila* f = fila(indice);
    return f ? f->tamano : 0;
}

int TValorMultiple::Elementos(int indice) const {
    const Fila* f = fila(indice);
    return f ? f->cuenta : 0;
}

int TValorMultiple::Tipo(int indice) const {
    const Fila* f = fila(indice);
    return f ? f->tipo : -1;
}

double TValorMultiple::Numero(int indiceFila, int indice) const {
    const Fila* f = fila(indiceFila);
    if (f == nullptr || indice < 0 || indice >= f->cuenta)
        return 0.0;
    const unsigned char* p = f->bytes->data() + static_cast<size_t>(indice) * static_cast<size_t>(f->tamano);
    if (f->tipo == TV_DOUBLE && f->tamano == 8) {
        double v;
        std::memcpy(&v, p, 8);
        return v;
    }
    if (f->tipo == TV_ENTERO && f->tamano == 4) {
        std::int32_t v;
        std::memcpy(&v, p, 4);
        return v;
    }
    if (f->tipo == TV_BYTE && f->tamano == 1)
        return *p;
    return 0.0;
}

std::int32_t TValorMultiple::Entero(int indiceFila, int indice) const {
    // Truncation as the drivers expect; values a 32-bit integer cannot hold give 0.
    const double v = Numero(indiceFila, indice);
    if (!(v > -2147483649.0 && v < 2147483648.0))
        return 0;
    return static_cast<std::int32_t>(v);
}

std::string TValorMultiple::Texto(int indice) const {
    const Fila* f = fila(indice);
    if (f == nullptr || f->tipo != TV_TEXTO || f->bytes->empty())
        return {};
    const char* p = reinterpret_cast<const char*>(f->bytes->data());
    return std::string(p, strnlen(p, f->bytes->size()));
}

const TTiempo* TValorMultiple::Tiempos(int indice) const {
    const Fila* f = fila(indice);
    if (f == nullptr || f->tipo != TV_TIEMPO || f->tamano != static_cast<int>(sizeof(TTiempo)))
        return nullptr;
    return reinterpret_cast<const TTiempo*>(f->bytes->data());
}

const double* TValorMultiple::Doubles(int indice) const {
    const Fila* f = fila(indice);
    if (f == nullptr || f->tipo != TV_DOUBLE || f->tamano != 8)
        return nullptr;
    return reinterpret_cast<const double*>(f->bytes->data());
}

const std::int32_t* TValorMultiple::Enteros(int indice) const {
    const Fila* f = fila(indice);
    if (f == nullptr || f->tipo != TV_ENTERO || f->tamano != 4)
        return nullptr;
    return reinterpret_cast<const std::int32_t*>(f->bytes->data());
}
