#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

// Replaces a file the user keeps (INTERVALS.PVI, UMBRALES.PVI) so that at every instant a whole
// file is on disk: the new content goes to a temporary file beside it, is flushed and synced,
// and is then renamed over the old one. The old file is never truncated in place.
namespace FicheroAtomico {

// True when the new content is in place; on failure the old file is untouched and `error`
// (when given) says why.
bool Escribir(const QString& ruta, const QByteArray& contenido, QString* error = nullptr);

// Test hook: called after the temporary file is written and synced, before the rename.
void PonerAntesDeRenombrar(std::function<void()> gancho);

} // namespace FicheroAtomico
