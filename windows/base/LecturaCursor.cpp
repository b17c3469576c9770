#include "LecturaCursor.h"

#include "Contrato.h"
#include "Textos.h"

#include <cmath>
#include <cstdio>

namespace LecturaCursor {
namespace {

constexpr double kFueraDeEscala = 1.23456789e13;

QString conUnidad(const QString& numero, const QString& unidad) {
    if (unidad.isEmpty() || unidad.startsWith(QLatin1Char('?')))
        return numero;
    return numero + QStringLiteral(" (") + unidad + QLatin1Char(')');
}

QString celda(int etiqueta, const QString& valor) {
    return ::Texto(etiqueta) + ::Texto(TXT_SEPARADOR_VALOR) + valor;
}

} // namespace

QString FormatearNumero(double valor, int decimales) {
    if (std::isnan(valor) || valor == kValorNulo || valor >= kFueraDeEscala || valor <= -kFueraDeEscala)
        return QStringLiteral("?");
    int d = 0;
    if (decimales >= 0 && decimales <= 8)
        d = decimales;
    else if (decimales >= 9 && decimales <= 15)
        d = 9;
    // The C library's formatting, so ties round as every other number the system prints.
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*f", d, valor);
    return QString::fromLatin1(buffer);
}

QString FormatearFecha(const TTiempo& fecha, int periodoMinimo, bool cierraPeriodo) {
    if (periodoMinimo == 604800) {
        TTiempo dia = fecha;
        dia.Hora = 0;
        dia.Minuto = 0;
        dia.Segundo = 0;
        dia.Milesima = -1;
        // A value that closes its period belongs to the week of the day before.
        if (cierraPeriodo)
            dia.SumarSegundos(-86400);
        TTiempo lunes = dia;
        lunes.SumarSegundos(-86400LL * lunes.DiaSemana());
        return QString::asprintf("(%d) %02d/%02d/%04d", lunes.ObtenerNumeroSemana(), fecha.Dia, fecha.Mes,
                                 fecha.Anio);
    }
    if (periodoMinimo == 86400)
        return QString::asprintf("%02d/%02d/%04d", fecha.Dia, fecha.Mes, fecha.Anio);
    return QString::fromStdString(fecha.Texto(' ', '.'));
}

QString Texto(const Lectura& l, int* filas) {
    const QString sep = QStringLiteral("|");
    const QString fin = QStringLiteral("\t");
    // Assembled from the bottom row upwards, each row put in front of those already built.
    QString texto = QStringLiteral(" | | ") + fin;
    int n = 1;
    if (l.mostrarVariable) {
        texto = QStringLiteral(" | ") + ::Texto(TXT_SELECTED_VARIABLE) + l.nombreVariable +
                QStringLiteral(" | ") + fin + texto;
        ++n;
    }
    texto =
        celda(TXT_ACT, l.fecha) + sep + celda(TXT_FROM, l.desde) + sep + celda(TXT_TO, l.hasta) + fin + texto;
    texto = celda(TXT_ACT, conUnidad(FormatearNumero(l.valor, l.decimales), l.unidad)) + sep +
            celda(TXT_MAXIMUM, conUnidad(FormatearNumero(l.maximo, l.decimales), l.unidad)) + sep +
            celda(TXT_MINIMUM, conUnidad(FormatearNumero(l.minimo, l.decimales), l.unidad)) + fin + texto;
    n += 2;
    if (filas)
        *filas = n;
    return texto;
}

bool MismoEje(const QString& a, const QString& b) {
    if (a.size() > 1 && b.size() > 1 && a.startsWith(QLatin1Char('%')) && b.startsWith(QLatin1Char('%')))
        return a.at(1) == b.at(1);
    return a == b;
}

QString EtiquetaEje(const QString& unidad) {
    if (unidad.startsWith(QLatin1Char('?')))
        return QString();
    if (unidad.startsWith(QLatin1Char('%')))
        return unidad.left(2);
    return unidad;
}

} // namespace LecturaCursor
