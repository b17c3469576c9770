#pragma once

// Shared by the events tests: times of a recording and the files in the test's host directory.

#include "HostDirectory.h"
#include "TTiempo.h"

#include <QFile>

#include <gtest/gtest.h>

namespace apoyo {

// 10:00:00 on 10 June 2026 plus `ms` milliseconds.
inline TTiempo A(long long ms) {
    return TTiempo(2026, 6, 10, 10, 0, 0, 0).SumarMilesimas(ms);
}

inline QString Ruta(const char* fichero) {
    return host::HostDirectory::resolveData(QString::fromLatin1(fichero));
}

inline QByteArray Contenido(const char* fichero) {
    QFile f(Ruta(fichero));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

inline void Poner(const char* fichero, const QByteArray& texto) {
    QFile f(Ruta(fichero));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(texto);
}

} // namespace apoyo
