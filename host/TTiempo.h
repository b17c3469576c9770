#pragma once

#include <cstdint>
#include <string>

// A time stamp as the recorders write it: seven signed 16-bit fields, 14 bytes, in this
// order. A millisecond of -1 means the time carries no milliseconds. 32767 in every field
// is the largest time (TTiempo::Maximo()).
//
// Comparison is field by field, year first. Arithmetic carries through seconds, minutes,
// hours, days (with the length of each month, leap years included), months and years.
class TTiempo {
public:
    std::int16_t Anio = 0;
    std::int16_t Mes = 0;
    std::int16_t Dia = 0;
    std::int16_t Hora = 0;
    std::int16_t Minuto = 0;
    std::int16_t Segundo = 0;
    std::int16_t Milesima = -1;

    TTiempo() = default;
    TTiempo(int anio, int mes, int dia, int hora, int minuto, int segundo, int milesima);

    static TTiempo Maximo();
    static TTiempo Minimo(); // -32768 in every field

    friend bool operator==(const TTiempo& a, const TTiempo& b) { return a.Comparar(b) == 0; }
    friend bool operator!=(const TTiempo& a, const TTiempo& b) { return a.Comparar(b) != 0; }
    friend bool operator<(const TTiempo& a, const TTiempo& b) { return a.Comparar(b) < 0; }
    friend bool operator<=(const TTiempo& a, const TTiempo& b) { return a.Comparar(b) <= 0; }
    friend bool operator>(const TTiempo& a, const TTiempo& b) { return a.Comparar(b) > 0; }
    friend bool operator>=(const TTiempo& a, const TTiempo& b) { return a.Comparar(b) >= 0; }

    // Field-wise difference: every field of this time becomes this field minus the other's.
    // No carries: the result is a set of differences, not a time.
    TTiempo& Restar(const TTiempo& otro);
    TTiempo& SumarSegundos(long long segundos);
    TTiempo& RestarSegundos(long long segundos);
    // Keeps "no milliseconds" (-1) as 0 once milliseconds are added.
    TTiempo& SumarMilesimas(long long milesimas);

    static int ObtenerDiasMes(int mes, int anio);
    static bool EsBisiesto(int anio);
    // ISO 8601 week number (1..53) of this time's date: weeks start on Monday and week 1 is
    // the week that holds the year's first Thursday.
    int ObtenerNumeroSemana() const;
    // Day of the week, Monday 0 to Sunday 6.
    int DiaSemana() const;
    // Days since 1 January 1970 of this time's date (negative before).
    long long DiasDesdeEpoca() const;

    // Writes "DD<sep>MM<sep>YYYY<fechaHora>HH:MM:SS" and ".mmm" when there are
    // milliseconds. The last three arguments are reserved by the interface and ignored.
    // Returns the number of characters written (the buffer must hold 48).
    int ObtTexto(char* buffer, char separadorFechaHora, char separadorFecha, int = 0, int = 0,
                 int = -1) const;
    std::string Texto(char separadorFechaHora = ' ', char separadorFecha = '.') const;

private:
    int Comparar(const TTiempo& otro) const;
};

static_assert(sizeof(TTiempo) == 14, "TTiempo is stored as 14 bytes in value rows and files");
