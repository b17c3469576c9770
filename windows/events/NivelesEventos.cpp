#include "NivelesEventos.h"

#include "TValorMultiple.h"
#include "Textos.h"

#include <QLocale>

#include <algorithm>
#include <cmath>
#include <cstring>

NivelesInstrumento LeerNiveles(const TValorMultiple& registros, int fila) {
    const auto leer = [&](int elemento) {
        const double v = registros.Numero(fila, elemento);
        return v >= -2147483648.0 && v <= 2147483647.0 ? static_cast<int>(v) : 0;
    };
    return {leer(kElementoInterrupcion), leer(kElementoHueco), leer(kElementoSobretension)};
}

bool EscribirNiveles(TValorMultiple& registros, int fila, const NivelesInstrumento& niveles) {
    if (registros.Elementos(fila) <= kElementoSobretension)
        return false;
    const int tipo = registros.Tipo(fila);
    const int tamano = registros.TamanoElemento(fila);
    const bool enteros = tipo == TV_ENTERO && tamano == 4;
    if (!enteros && !(tipo == TV_DOUBLE && tamano == 8))
        return false;
    const int previa = registros.FilaActual();
    registros.Posicionar(fila);
    auto* bytes = static_cast<unsigned char*>(registros.DamePuntero());
    const int valores[] = {niveles.interrupcion, niveles.hueco, niveles.sobretension};
    for (int k = 0; k < 3; ++k) {
        unsigned char* destino =
            bytes + static_cast<size_t>(kElementoInterrupcion + k) * static_cast<size_t>(tamano);
        if (enteros) {
            const std::int32_t v = valores[k];
            std::memcpy(destino, &v, sizeof v);
        } else {
            const double v = valores[k];
            std::memcpy(destino, &v, sizeof v);
        }
    }
    registros.Posicionar(previa);
    return true;
}

bool NivelesIncompatibles(const TValorMultiple& registros) {
    if (registros.Cuenta() < 2)
        return false;
    const NivelesInstrumento primero = LeerNiveles(registros, 0);
    for (int f = 1; f < registros.Cuenta(); ++f) {
        if (!(LeerNiveles(registros, f) == primero))
            return true;
    }
    return false;
}

bool ComprobarNiveles(TValorMultiple& registros, const std::function<bool(TValorMultiple&)>& elegir) {
    if (registros.Cuenta() <= 1 || !NivelesIncompatibles(registros))
        return true;
    return elegir(registros);
}

bool ElegirNivelesDeRegistro(TValorMultiple& registros, int fila) {
    if (fila < 0 || fila >= registros.Cuenta())
        return false;
    return EscribirNiveles(registros, 0, LeerNiveles(registros, fila));
}

QString TextoNiveles(const NivelesInstrumento& n) {
    return QString::asprintf(CargarTexto(TXT_FMT_LEVELS), n.sobretension * 0.1, n.hueco * 0.1,
                             n.interrupcion * 0.1);
}

std::optional<int> NivelTecleado(const QString& texto, int minimo, int maximo) {
    bool ok = false;
    QString limpio = texto.trimmed();
    // Either decimal mark: the edits show "%.1f", users type what their keyboard gives.
    limpio.replace(QLatin1Char(','), QLatin1Char('.'));
    const double v = QLocale::c().toDouble(limpio, &ok);
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    // Tenths, truncated; the small margin keeps 0.1-steps that binary fractions miss
    // (95.3 x 10 = 952.9999...) on the value typed.
    const double decimas = std::trunc(v * 10.0 + (v >= 0 ? 1e-7 : -1e-7));
    return static_cast<int>(std::clamp(decimas, static_cast<double>(minimo), static_cast<double>(maximo)));
}
