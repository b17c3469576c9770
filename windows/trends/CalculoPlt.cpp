#include "CalculoPlt.h"

#include "Contrato.h"
#include "SettingsStore.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace CalculoPlt {

namespace {

const QString kClave = QStringLiteral("FLICKER");
const QString kMaximo = QStringLiteral("MAXIMO");
const QString kVentana = QStringLiteral("VENTANA");
const QString kIgnorar = QStringLiteral("IGNORAR");

// Seconds of a time counted from a fixed day; only differences are used.
double Segundos(const TTiempo& t) {
    return static_cast<double>(t.DiasDesdeEpoca()) * 86400.0 + t.Hora * 3600.0 + t.Minuto * 60.0 + t.Segundo +
           (t.Milesima > 0 ? t.Milesima / 1000.0 : 0.0);
}

// Bit 0 is an interruption, bad for every phase; bits 1 to 3 an event on phase 1 to 3.
bool Marcado(std::uint8_t flag, int selector) {
    return (flag & 0x01) != 0 || ((flag & 0x02) != 0 && selector == 0) ||
           ((flag & 0x04) != 0 && selector == 1) || ((flag & 0x08) != 0 && selector == 2);
}

} // namespace

Resultado CalcularPlt(int i, const SeriePst& s, int n, int ignorar, int ventana, int selector) {
    Resultado r;
    if (i < n - 1 || i < 0 || i >= s.numValores || s.pst == nullptr || s.tiempos == nullptr)
        return r;
    const double inicio = Segundos(s.tiempos[i]) - ventana;
    double suma = 0.0;
    int cuenta = 0;
    for (int j = i; j >= 0; --j) {
        const std::uint8_t flag = (s.flags != nullptr && j < s.numFlags) ? s.flags[j] : 0;
        if (ignorar == 1 && Marcado(flag, selector)) {
            r.estado = PLT_DESCARTADO;
            return r;
        }
        // A missing Pst (null or not a number) is no value: the window is then incomplete.
        const double v = s.pst[j];
        if (v != kValorNulo && std::isfinite(v)) {
            suma += v * v * v;
            ++cuenta;
        }
        if (j == 0 || inicio >= Segundos(s.tiempos[j - 1]))
            break;
    }
    if (cuenta == 0) {
        r.estado = PLT_INCOMPLETO;
        return r;
    }
    r.plt = std::cbrt(suma / cuenta);
    r.estado = cuenta == n ? PLT_VALIDO : PLT_INCOMPLETO;
    return r;
}

int ValoresPorVentana(int ventana, double periodo) {
    if (ventana <= 0 || !(periodo > 0.0))
        return 0;
    return static_cast<int>(ventana / periodo);
}

SeriePlt CalcularSerie(const SeriePst& serie, int n, int ignorar, int ventana, int selector) {
    SeriePlt r;
    r.valores.assign(static_cast<size_t>(std::max(0, serie.numValores)), kValorNulo);
    // Without a window length there is no Plt at all.
    if (n <= 0)
        return r;
    for (int i = 0; i < serie.numValores; ++i) {
        const Resultado p = CalcularPlt(i, serie, n, ignorar, ventana, selector);
        if (p.estado == PLT_VALIDO) {
            r.valores[static_cast<size_t>(i)] = p.plt;
            ++r.validos;
        }
    }
    return r;
}

Ajustes LeerAjustes() {
    Ajustes a;
    std::optional<host::SettingsKey> clave = host::SettingsKey::openOrCreate(kClave);
    if (!clave)
        return a;
    const Ajustes defecto;
    a.maximo = clave->readIntWithDefault(kMaximo, defecto.maximo);
    a.ventana = clave->readIntWithDefault(kVentana, defecto.ventana);
    a.ignorar = clave->readIntWithDefault(kIgnorar, defecto.ignorar);
    if (a.maximo < -1)
        a.maximo = defecto.maximo;
    if (a.ventana <= 0)
        a.ventana = defecto.ventana;
    a.ignorar = a.ignorar != 0 ? 1 : 0;
    return a;
}

void GuardarAjustes(const Ajustes& a) {
    std::optional<host::SettingsKey> clave = host::SettingsKey::openOrCreate(kClave);
    if (!clave)
        return;
    clave->writeInt(kMaximo, a.maximo);
    clave->writeInt(kVentana, a.ventana);
    clave->writeInt(kIgnorar, a.ignorar);
    clave->sync();
}

bool LeerMaximo(const QString& texto, int& milesimas) {
    int separadores = 0;
    int digitos = 0;
    for (QChar c : texto) {
        if (c == QLatin1Char('.') || c == QLatin1Char(','))
            ++separadores;
        else if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            ++digitos;
        else
            return false;
    }
    if (separadores > 1 || digitos == 0)
        return false;
    QString numero = texto;
    numero.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double v = numero.toDouble(&ok);
    if (!ok)
        return false;
    // 1.001 is 1000.999... in binary: the tolerance keeps what was typed.
    milesimas = static_cast<int>(v * 1000.0 + 1e-6);
    return true;
}

} // namespace CalculoPlt
