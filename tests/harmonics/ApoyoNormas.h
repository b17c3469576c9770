#pragma once

// Shared by the dialog tests: the norms file in the test's host directory.

#include "FicheroNormas.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QString>

#include <gtest/gtest.h>

namespace apoyo {

inline QString Fichero() {
    return QString::fromLatin1(normas::kNombreFicheroDefecto);
}

inline void Escribir(const QByteArray& datos) {
    QFile f(QDir(testsupport::dataDirectory()).filePath(Fichero()));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(datos);
}

inline QByteArray Leer() {
    QFile f(QDir(testsupport::dataDirectory()).filePath(Fichero()));
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray("<missing>");
    return f.readAll();
}

inline void CopiarIncluidas() {
    QFile f(QStringLiteral(NORMAS_INCLUIDAS));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    Escribir(f.readAll());
}

// The one message shown since the last call; its text, or a note of how many there were.
inline QString UnicoMensaje() {
    auto& m = testsupport::Messages::shown();
    if (m.size() != 1)
        return QStringLiteral("%1 messages").arg(m.size());
    const QString texto = m.front().text;
    testsupport::Messages::clear();
    return texto;
}

} // namespace apoyo
