#pragma once

#include "DrivFlex.h"
#include "TValorMultiple.h"

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

class Comando;

namespace fakes {

// One command as a driver received it.
struct Recibido {
    std::int32_t receptor; // handle of the driver that received it
    int numero;
    std::vector<int> params;
    bool paramsEnteros; // every parameter was one 32-bit integer (size 4, count 1, type 0)
    bool conRespuesta;  // a result list was given
    int modo;
    bool conOrigen;
};

// Every command received by any fake driver, in order, across drivers.
std::vector<Recibido>& Registro();

// A data driver. By default 10022 answers the keys unchanged (as doubles) and every attribute
// command answers one row of integers {number, first key, second key}, so a test can tell
// which request filled which row. A test replaces the answer of any command.
class FakeDatos : public DrivFlex {
public:
    using Respuesta = std::function<void(const Comando&, TValorMultiple&)>;

    FakeDatos();
    ~FakeDatos() override;

    void Responder(int numero, Respuesta respuesta) { m_respuestas[numero] = std::move(respuesta); }
    // Answers nothing at all to the command.
    void Callar(int numero);
    static int Vivos() { return s_vivos; }

protected:
    int AtenderComando(Comando* comando, TValorMultiple* respuesta, int modo, ObjGen* origen) override;

private:
    std::map<int, Respuesta> m_respuestas;
    static int s_vivos;
};

// The source driver: 306 with an index answers a row whose first integer is the handle of
// that data driver, after taking a reference for the receiver as the host does. Page 0 lists
// the data files, one property per driver, named after its file.
class FakeFuente : public DrivFlex {
public:
    FakeFuente();
    int Anadir(FakeDatos* datos, const std::string& fichero);
    // The next 306 for `indice` hands over the creator's reference instead of taking a new one,
    // and the source forgets that driver, as a host that keeps no reference of its own would.
    void Ceder(int indice) { m_ceder.push_back(indice); }

protected:
    int AtenderComando(Comando* comando, TValorMultiple* respuesta, int modo, ObjGen* origen) override;

private:
    void RehacerPagina();
    std::vector<FakeDatos*> m_datos;
    std::vector<std::string> m_ficheros;
    std::vector<int> m_ceder;
};

} // namespace fakes
