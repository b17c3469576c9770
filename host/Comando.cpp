#include "Comando.h"

const TValor& Comando::Param(int i) const {
    static const TValor vacio;
    if (i < 0 || i >= NumParams())
        return vacio;
    return m_params[static_cast<size_t>(i)];
}

std::int32_t Comando::ParamEntero(int i, std::int32_t porDefecto) const {
    if (i < 0 || i >= NumParams() || m_params[static_cast<size_t>(i)].Cuenta() < 1)
        return porDefecto;
    return m_params[static_cast<size_t>(i)].ComoEntero();
}
