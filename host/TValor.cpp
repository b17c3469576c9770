#include "TValor.h"

TValor::TValor(const void* direccion, int tamanoElemento, int cuenta, int tipo)
    : m_tamano(tamanoElemento > 0 ? tamanoElemento : 0), m_cuenta(cuenta > 0 ? cuenta : 0), m_tipo(tipo) {
    const size_t bytes = static_cast<size_t>(m_tamano) * static_cast<size_t>(m_cuenta);
    if (direccion != nullptr && bytes > 0) {
        const auto* p = static_cast<const unsigned char*>(direccion);
        m_bytes.assign(p, p + bytes);
    } else {
        m_bytes.assign(bytes, 0);
    }
}

TValor TValor::Texto(const char* texto) {
    const char* t = texto ? texto : "";
    return TValor(t, 1, static_cast<int>(std::strlen(t)) + 1, TV_TEXTO);
}

std::int32_t TValor::ComoEntero(int indice) const {
    if (indice < 0 || indice >= m_cuenta)
        return 0;
    if (m_tipo == TV_ENTERO && m_tamano == 4) {
        std::int32_t v;
        std::memcpy(&v, m_bytes.data() + indice * 4, 4);
        return v;
    }
    if (m_tipo == TV_DOUBLE && m_tamano == 8) {
        double v;
        std::memcpy(&v, m_bytes.data() + indice * 8, 8);
        return static_cast<std::int32_t>(v);
    }
    return 0;
}

std::string TValor::ComoTexto() const {
    if (m_tipo != TV_TEXTO || m_bytes.empty())
        return {};
    // Stop at the first zero: a block may be longer than its text.
    const char* p = reinterpret_cast<const char*>(m_bytes.data());
    return std::string(p, strnlen(p, m_bytes.size()));
}
