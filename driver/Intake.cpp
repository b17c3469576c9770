#include "Intake.h"

#include "CatalogoFicheros.h"
#include "Comando.h"
#include "Contrato.h"
#include "DrivFlex.h"

#include <cmath>

namespace {

// A first key of -1 asks for the times of the whole measurement instead of the variable's.
constexpr int kClaveNinguna = -1;

// Each parameter is a TValor over one 32-bit integer; Comando copies it when entered.
void Enviar(DrivFlex* receptor, int numero, std::initializer_list<int> parametros,
            TValorMultiple& respuesta) {
    Comando comando(numero);
    for (int p : parametros) {
        const TValor valor(&p, 4, 1, TV_ENTERO);
        comando.EntrarParam(&valor);
    }
    receptor->ProgCom(&comando, &respuesta, 0, nullptr);
}

DrivFlex* DriverDe(std::int32_t manejador) {
    return dynamic_cast<DrivFlex*>(ObjGen::DesdeManejador(manejador));
}

void Liberar(ObjGen* objeto) {
    if (objeto->DecRef() != 0)
        delete objeto;
}

// First `n` numbers of an answer, read across its rows in order; false when it holds fewer.
bool Numeros(const TValorMultiple& respuesta, int n, std::vector<double>& numeros) {
    numeros.clear();
    for (int fila = 0; fila < respuesta.Cuenta() && static_cast<int>(numeros.size()) < n; ++fila) {
        if (respuesta.Tipo(fila) != TV_ENTERO && respuesta.Tipo(fila) != TV_DOUBLE)
            continue;
        for (int i = 0; i < respuesta.Elementos(fila) && static_cast<int>(numeros.size()) < n; ++i)
            numeros.push_back(respuesta.Numero(fila, i));
    }
    return static_cast<int>(numeros.size()) == n;
}

// Truncation towards zero; a number no key can hold becomes "no key".
int ComoClave(double v) {
    if (!std::isfinite(v) || v <= -2147483649.0 || v >= 2147483648.0)
        return kClaveNinguna;
    return static_cast<int>(v);
}

// The integers of a selection row, or an empty vector when it is not a row of at least
// first key, second key and data driver.
std::vector<std::int32_t> FilaSeleccion(const TValorMultiple& seleccion, int fila) {
    const std::int32_t* p = seleccion.Enteros(fila);
    const int n = seleccion.Elementos(fila);
    if (p == nullptr || n < 3)
        return {};
    return std::vector<std::int32_t>(p, p + n);
}

void Catalogar(CatalogoFicheros& catalogo, ListasAtributos& listas, std::vector<int>& entradasPorVariable) {
    catalogo.PonerLista(CatalogoFicheros::R_VALORES, &listas[LV_VALORES]);
    catalogo.PonerLista(CatalogoFicheros::R_TIEMPOS, &listas[LV_TIEMPOS]);
    catalogo.PonerLista(CatalogoFicheros::R_TIEMPOSGENERALES, &listas[LV_TIEMPOSGENERALES]);
    catalogo.PonerLista(CatalogoFicheros::R_UNIDADES, &listas[LV_UNIDADES]);
    catalogo.PonerLista(CatalogoFicheros::R_NOMBRES, &listas[LV_NOMBRES]);
    catalogo.PonerLista(CatalogoFicheros::R_OPCIONES, &listas[LV_OPCIONES]);
    catalogo.PonerLista(CatalogoFicheros::R_INTERVALOS, &listas[LV_INTERVALOS]);
    catalogo.PonerLista(CatalogoFicheros::R_ADICIONALES, &listas[LV_ADICIONALES]);
    catalogo.PonerLista(CatalogoFicheros::R_DECIMALES, &listas[LV_DECIMALES]);
    catalogo.Catalogar(true);

    std::vector<Intake::Referencia> representantes;
    for (int i = 0; i < catalogo.NumEntradas(); ++i)
        representantes.push_back({catalogo.Clave1(i), catalogo.Clave2(i), catalogo.Driver(i)});
    entradasPorVariable = Intake::EntradasPorRepresentante(representantes, listas[LV_OBJETOS]);
}

} // namespace

namespace Intake {

void PedirAtributos(DrivFlex* datos, int clave1, int clave2, ListasAtributos& listas) {
    if (datos == nullptr)
        return;
    Enviar(datos, CMD_VALORES, {clave1, clave2}, listas[LV_VALORES]);
    Enviar(datos, CMD_TIEMPOS, {clave1, clave2}, listas[LV_TIEMPOS]);
    Enviar(datos, CMD_TIEMPOS, {kClaveNinguna, clave2}, listas[LV_TIEMPOSGENERALES]);
    Enviar(datos, CMD_UNIDADES, {clave1, clave2}, listas[LV_UNIDADES]);
    Enviar(datos, CMD_NOMBRES, {clave1, clave2}, listas[LV_NOMBRES]);
    Enviar(datos, CMD_OPCIONES, {clave1, clave2}, listas[LV_OPCIONES]);
    Enviar(datos, CMD_INTERVALOS, {clave1, clave2}, listas[LV_INTERVALOS]);
    Enviar(datos, CMD_ADICIONALES, {clave1, clave2}, listas[LV_ADICIONALES]);
    Enviar(datos, CMD_DECIMALES, {clave1, clave2}, listas[LV_DECIMALES]);
}

void IngresoDialogo(DrivFlex* fuente, const TValorMultiple& resultado, ListasAtributos& listas,
                    std::vector<int>& entradasPorVariable) {
    entradasPorVariable.clear();
    const std::int32_t* bloque = resultado.Enteros(0);
    if (fuente == nullptr || bloque == nullptr)
        return;
    // Three integers per variable; an incomplete last triple is not a variable.
    const int variables = resultado.Elementos(0) / 3;

    CatalogoFicheros catalogo(fuente);
    TValorMultiple respuesta;
    for (int v = 0; v < variables; ++v) {
        const int indice = bloque[3 * v];
        const int clave1 = bloque[3 * v + 1];
        const int clave2 = bloque[3 * v + 2];
        respuesta.DeleteAll();
        Enviar(fuente, CMD_DRIVER_DATOS, {indice}, respuesta);
        // The answer carries a reference the source driver took for us.
        const std::int32_t manejador = respuesta.Enteros(0) != nullptr ? respuesta.Entero(0, 0) : 0;
        ObjGen* objeto = ObjGen::DesdeManejador(manejador);
        DrivFlex* datos = dynamic_cast<DrivFlex*>(objeto);
        if (datos == nullptr) {
            if (objeto != nullptr)
                Liberar(objeto);
            continue;
        }
        listas[LV_OBJETOS].EntrarEnteros({clave1, clave2, manejador});
        catalogo.AnadirVariable(clave1, clave2, manejador);
        PedirAtributos(datos, clave1, clave2, listas);
        Liberar(datos);
    }
    Catalogar(catalogo, listas, entradasPorVariable);
}

void IngresoLista(TValorMultiple& seleccion, ListasAtributos& listas, std::vector<int>& entradasPorVariable) {
    entradasPorVariable.clear();
    TValorMultiple respuesta;
    std::vector<double> claves;
    for (int fila = 0; fila < seleccion.Cuenta(); ++fila) {
        if (FilaSeleccion(seleccion, fila).empty())
            continue;
        DrivFlex* datos = DriverDe(seleccion.Entero(fila, 2));
        if (datos == nullptr)
            continue;
        respuesta.DeleteAll();
        Enviar(datos, CMD_TRADUCIR_CLAVES, {seleccion.Entero(fila, 0), seleccion.Entero(fila, 1)}, respuesta);
        // A driver that does not translate keys answers nothing: its keys stay as they were.
        if (Numeros(respuesta, 2, claves)) {
            seleccion.Posicionar(fila);
            auto* enteros = static_cast<std::int32_t*>(seleccion.DamePuntero());
            enteros[0] = ComoClave(claves[0]);
            enteros[1] = ComoClave(claves[1]);
        }
        const int clave1 = seleccion.Entero(fila, 0);
        const int clave2 = seleccion.Entero(fila, 1);
        if (clave1 == kClaveNinguna || clave2 == kClaveNinguna)
            continue;
        listas[LV_OBJETOS].CopiarFila(seleccion, fila);
        PedirAtributos(datos, clave1, clave2, listas);
        entradasPorVariable.push_back(1);
    }
}

void IngresoCatalogado(DrivFlex* fuente, const TValorMultiple& seleccion, ListasAtributos& listas,
                       std::vector<int>& entradasPorVariable) {
    entradasPorVariable.clear();
    CatalogoFicheros catalogo(fuente);
    for (int fila = 0; fila < seleccion.Cuenta(); ++fila) {
        const std::vector<std::int32_t> enteros = FilaSeleccion(seleccion, fila);
        if (enteros.empty() || enteros[0] == kClaveNinguna || enteros[1] == kClaveNinguna)
            continue;
        DrivFlex* datos = DriverDe(enteros[2]);
        if (datos == nullptr)
            continue;
        listas[LV_OBJETOS].EntrarEnteros(enteros);
        catalogo.AnadirVariable(enteros[0], enteros[1], enteros[2]);
        PedirAtributos(datos, enteros[0], enteros[1], listas);
    }
    Catalogar(catalogo, listas, entradasPorVariable);
}

std::vector<int> EntradasPorRepresentante(const std::vector<Referencia>& representantes,
                                          const TValorMultiple& objetos) {
    std::vector<int> inicios(representantes.size(), -1);
    int desde = 0;
    for (size_t r = 0; r < representantes.size(); ++r) {
        for (int fila = desde; fila < objetos.Cuenta(); ++fila) {
            if (objetos.Elementos(fila) >= 3 && objetos.Entero(fila, 0) == representantes[r].clave1 &&
                objetos.Entero(fila, 1) == representantes[r].clave2 &&
                objetos.Entero(fila, 2) == representantes[r].driver) {
                inicios[r] = fila;
                desde = fila + 1;
                break;
            }
        }
    }
    // Each variable owns the rows up to the next variable's first row; one that was not found
    // owns none, so the others keep their rows.
    std::vector<int> cuentas(representantes.size(), 0);
    for (size_t r = 0; r < inicios.size(); ++r) {
        if (inicios[r] < 0)
            continue;
        int fin = objetos.Cuenta();
        for (size_t s = r + 1; s < inicios.size(); ++s) {
            if (inicios[s] >= 0) {
                fin = inicios[s];
                break;
            }
        }
        cuentas[r] = fin - inicios[r];
    }
    return cuentas;
}

} // namespace Intake
