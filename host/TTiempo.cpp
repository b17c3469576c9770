#include "TTiempo.h"

#include <cstdio>

namespace {
constexpr int kMonthDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

// Days from 1970-01-01 to the given civil date (proleptic Gregorian calendar).
long long daysFromCivil(long long y, int m, int d) {
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const long long yoe = y - era * 400;
    const long long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void civilFromDays(long long z, int& y, int& m, int& d) {
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const long long doe = z - era * 146097;
    const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long long mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(yoe + era * 400 + (m <= 2));
}

long long floorDiv(long long a, long long b) {
    long long q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0)))
        --q;
    return q;
}
} // namespace

TTiempo::TTiempo(int anio, int mes, int dia, int hora, int minuto, int segundo, int milesima)
    : Anio(static_cast<std::int16_t>(anio)), Mes(static_cast<std::int16_t>(mes)),
      Dia(static_cast<std::int16_t>(dia)), Hora(static_cast<std::int16_t>(hora)),
      Minuto(static_cast<std::int16_t>(minuto)), Segundo(static_cast<std::int16_t>(segundo)),
      Milesima(static_cast<std::int16_t>(milesima)) {}

TTiempo TTiempo::Maximo() {
    return TTiempo(32767, 32767, 32767, 32767, 32767, 32767, 32767);
}

TTiempo TTiempo::Minimo() {
    return TTiempo(-32768, -32768, -32768, -32768, -32768, -32768, -32768);
}

int TTiempo::Comparar(const TTiempo& o) const {
    const std::int16_t a[7] = {Anio, Mes, Dia, Hora, Minuto, Segundo, Milesima};
    const std::int16_t b[7] = {o.Anio, o.Mes, o.Dia, o.Hora, o.Minuto, o.Segundo, o.Milesima};
    for (int i = 0; i < 7; ++i) {
        if (a[i] != b[i])
            return a[i] < b[i] ? -1 : 1;
    }
    return 0;
}

TTiempo& TTiempo::Restar(const TTiempo& o) {
    Anio = static_cast<std::int16_t>(Anio - o.Anio);
    Mes = static_cast<std::int16_t>(Mes - o.Mes);
    Dia = static_cast<std::int16_t>(Dia - o.Dia);
    Hora = static_cast<std::int16_t>(Hora - o.Hora);
    Minuto = static_cast<std::int16_t>(Minuto - o.Minuto);
    Segundo = static_cast<std::int16_t>(Segundo - o.Segundo);
    Milesima = static_cast<std::int16_t>(Milesima - o.Milesima);
    return *this;
}

bool TTiempo::EsBisiesto(int anio) {
    return (anio % 4 == 0 && anio % 100 != 0) || anio % 400 == 0;
}

int TTiempo::ObtenerDiasMes(int mes, int anio) {
    if (mes < 1 || mes > 12)
        return 0;
    return mes == 2 && EsBisiesto(anio) ? 29 : kMonthDays[mes - 1];
}

long long TTiempo::DiasDesdeEpoca() const {
    return daysFromCivil(Anio, Mes, Dia);
}

TTiempo& TTiempo::SumarSegundos(long long segundos) {
    // Work in whole seconds from the epoch; the calendar conversion does every carry,
    // across month ends, leap days and year ends, in both directions.
    long long total = DiasDesdeEpoca() * 86400 + Hora * 3600LL + Minuto * 60LL + Segundo + segundos;
    const long long days = floorDiv(total, 86400);
    long long rest = total - days * 86400;
    int y = 0, m = 0, d = 0;
    civilFromDays(days, y, m, d);
    Anio = static_cast<std::int16_t>(y);
    Mes = static_cast<std::int16_t>(m);
    Dia = static_cast<std::int16_t>(d);
    Hora = static_cast<std::int16_t>(rest / 3600);
    rest %= 3600;
    Minuto = static_cast<std::int16_t>(rest / 60);
    Segundo = static_cast<std::int16_t>(rest % 60);
    return *this;
}

TTiempo& TTiempo::RestarSegundos(long long segundos) {
    return SumarSegundos(-segundos);
}

TTiempo& TTiempo::SumarMilesimas(long long milesimas) {
    const long long ms = (Milesima < 0 ? 0 : Milesima) + milesimas;
    const long long carry = floorDiv(ms, 1000);
    Milesima = static_cast<std::int16_t>(ms - carry * 1000);
    if (carry != 0)
        SumarSegundos(carry);
    return *this;
}

int TTiempo::DiaSemana() const {
    // 1970-01-01 was a Thursday (3 with Monday 0).
    const long long days = DiasDesdeEpoca();
    return static_cast<int>(((days % 7) + 7 + 3) % 7);
}

int TTiempo::ObtenerNumeroSemana() const {
    // The ISO week of a date is the week of the Thursday in the same Monday-Sunday week.
    const long long thursday = DiasDesdeEpoca() - DiaSemana() + 3;
    int y = 0, m = 0, d = 0;
    civilFromDays(thursday, y, m, d);
    const long long firstOfYear = daysFromCivil(y, 1, 1);
    return static_cast<int>((thursday - firstOfYear) / 7 + 1);
}

int TTiempo::ObtTexto(char* buffer, char separadorFechaHora, char separadorFecha, int, int, int) const {
    int n = std::snprintf(buffer, 48, "%02d%c%02d%c%04d%c%02d:%02d:%02d", Dia, separadorFecha, Mes,
                          separadorFecha, Anio, separadorFechaHora, Hora, Minuto, Segundo);
    if (Milesima != -1 && n > 0 && n < 43)
        n += std::snprintf(buffer + n, 48 - n, ".%03d", Milesima);
    return n;
}

std::string TTiempo::Texto(char separadorFechaHora, char separadorFecha) const {
    char buffer[64];
    ObtTexto(buffer, separadorFechaHora, separadorFecha);
    return buffer;
}
