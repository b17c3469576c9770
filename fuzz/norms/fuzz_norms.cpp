// Feeds arbitrary bytes to the norms file readers as if they were FILTROS.NRM, and checks
// what a reader promises: limits within their counts, values that a field can hold, and a
// rewritten file that still lists every record it kept.

#include "FicheroNormas.h"

#include <cstdint>
#include <cstdlib>

namespace {

void Exigir(bool condicion) {
    if (!condicion)
        std::abort();
}

// A number field holds at most 19 digits and points: nothing read can be negative or huge.
void ComprobarLimites(const normas::LimitesArmonicos& l, size_t maximo) {
    Exigir(l.valores.size() <= maximo);
    for (double v : l.valores)
        Exigir(v >= 0.0 && v < 1e20);
    Exigir(l.thd == normas::kSinLimite || (l.thd >= 0.0 && l.thd < 1e20));
}

void ComprobarEditor(const normas::LineaEditor& l) {
    Exigir(l.valores.size() <= static_cast<size_t>(normas::kMaxValoresEditor));
    Exigir(!l.hayThd || l.thd != normas::kCampoVacio);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t tam) {
    const QByteArray bruto(reinterpret_cast<const char*>(datos), static_cast<qsizetype>(tam));
    const QByteArray contenido = normas::Normalizar(bruto);
    Exigir(!contenido.contains('\r') && !contenido.contains('\x1a'));

    const normas::ListaNormas lista = normas::LeerNombres(contenido);
    size_t probados = 0;
    for (const normas::EntradaNorma& e : lista.entradas) {
        Exigir(!e.nombre.isEmpty() && e.nombre.size() <= normas::kLargoNombre);
        Exigir(normas::ExisteNombre(contenido, e.nombre));
        if (++probados > 8)
            continue;
        const normas::ResultadoUso uso = normas::CargarParaUso(contenido, e.nombre);
        ComprobarLimites(uso.filtro.tension, normas::kMaxValoresUso);
        ComprobarLimites(uso.filtro.corriente, normas::kMaxValoresUso);
        if (uso.ok)
            Exigir(uso.filtro.tension.thd >= 0.0 && uso.filtro.corriente.thd >= 0.0);
        const normas::ResultadoEditor editor = normas::CargarParaEditor(contenido, e.nombre);
        Exigir(editor.estado != normas::EstadoEditor::NoEncontrado);
        ComprobarEditor(editor.tension);
        ComprobarEditor(editor.corriente);
    }

    if (lista.completa && !lista.entradas.empty()) {
        // Replacing the first record keeps every record's name, in order.
        const QByteArray primero = lista.entradas.front().nombre;
        normas::RegistroTexto r;
        r.nombre = primero;
        r.thdTension = "8";
        r.tension = {"2,5", ""};
        const QByteArray nuevo = normas::EscribirRegistro(r);
        const QByteArray reescrito = normas::Reemplazar(contenido, primero, &nuevo);
        const normas::ListaNormas despues = normas::LeerNombres(reescrito);
        Exigir(despues.completa);
        Exigir(despues.entradas.size() == lista.entradas.size());
        for (size_t i = 1; i < despues.entradas.size(); ++i)
            Exigir(despues.entradas[i].nombre == lista.entradas[i].nombre);
        const normas::ResultadoUso leido = normas::CargarParaUso(reescrito, primero);
        Exigir(leido.ok && leido.filtro.tension.valores.size() == 2);
        // Removing it drops exactly the records of that name.
        const normas::ListaNormas sin = normas::LeerNombres(normas::Reemplazar(contenido, primero, nullptr));
        Exigir(sin.completa);
        for (const normas::EntradaNorma& e : sin.entradas)
            Exigir(e.nombre != primero);
    }
    return 0;
}
