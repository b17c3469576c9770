#pragma once

#include "TValor.h"

#include <vector>

// A numbered request sent to a driver through DrivFlex::ProgCom. Parameters travel in the
// order they were entered.
class Comando {
public:
    explicit Comando(int numero) : m_numero(numero) {}

    void EntrarParam(const TValor* valor) {
        if (valor != nullptr)
            m_params.push_back(*valor);
    }
    void EntrarParam(const TValor& valor) { m_params.push_back(valor); }

    int Numero() const { return m_numero; }
    int NumParams() const { return static_cast<int>(m_params.size()); }
    // Parameter i, or an empty value when there is none.
    const TValor& Param(int i) const;
    // Parameter i read as an integer; `porDefecto` when it is missing.
    std::int32_t ParamEntero(int i, std::int32_t porDefecto = -1) const;

private:
    int m_numero;
    std::vector<TValor> m_params;
};
