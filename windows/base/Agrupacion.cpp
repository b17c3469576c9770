#include "Agrupacion.h"

#include "Textos.h"

namespace Agrupacion {

int NuevoNivel(int modo, int nivelActual) {
    if (modo == MODO_DESAGRUPAR)
        return nivelActual == NIVEL_MESES ? NIVEL_SIN_AGRUPAR : nivelActual - 1;
    if (modo == MODO_AGRUPAR)
        return nivelActual < NIVEL_SIN_AGRUPAR ? nivelActual + 1 : NIVEL_MESES;
    return modo;
}

QString NombreNivel(int nivel) {
    switch (nivel) {
    case NIVEL_MESES:
        return Texto(TXT_MONTHS);
    case NIVEL_SEMANAS:
        return Texto(TXT_WEEKS);
    case NIVEL_DIAS:
        return Texto(TXT_DAYS);
    case NIVEL_HORAS:
        return Texto(TXT_HOURS);
    case NIVEL_DEFECTO:
        return Texto(TXT_DEFAULT);
    default:
        return QString();
    }
}

EstadoBotones Botones(int nivel) {
    EstadoBotones e;
    if (nivel == NIVEL_NO_DISPONIBLE)
        return e;
    e.agruparHabilitado = nivel != NIVEL_HORAS;
    e.desagruparHabilitado = nivel != NIVEL_SIN_AGRUPAR && nivel != NIVEL_DEFECTO;

    // Group divides into the next finer level; from no grouping (or the default) it starts
    // again at months.
    const int masFino = (nivel == NIVEL_SIN_AGRUPAR || nivel == NIVEL_DEFECTO) ? NIVEL_MESES : nivel + 1;
    if (e.agruparHabilitado)
        e.hintAgrupar = QString::asprintf(CargarTexto(TXT_FMT_GROUP_HINT), CargarTexto(TXT_DIVIDE_BY),
                                          NombreNivel(masFino).toUtf8().constData());
    if (e.desagruparHabilitado) {
        if (nivel == NIVEL_MESES)
            e.hintDesagrupar = Texto(TXT_NO_GROUP);
        else
            e.hintDesagrupar = QString::asprintf(CargarTexto(TXT_FMT_GROUP_HINT), CargarTexto(TXT_GROUP_BY),
                                                 NombreNivel(nivel - 1).toUtf8().constData());
    }
    return e;
}

} // namespace Agrupacion
