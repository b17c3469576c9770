#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class DrivFlex;
class TValorMultiple;

// Joins a variable chosen in several data files of one recording into one variable whose
// rows run across those files in time order, and puts time series on one common time axis.
class CatalogoFicheros {
public:
    // Slots of the attribute lists the catalogue rewrites.
    enum Ranura : int {
        R_VALORES = 0,
        R_TIEMPOS = 1,
        R_TIEMPOSGENERALES = 2,
        R_UNIDADES = 3,
        R_NOMBRES = 4,
        R_OPCIONES = 5,
        R_INTERVALOS = 6,
        R_ADICIONALES = 7,
        R_DECIMALES = 8,
        R_VACIA = 9,
        kNumRanuras = 10
    };

    explicit CatalogoFicheros(DrivFlex* fuente);
    ~CatalogoFicheros();
    CatalogoFicheros(const CatalogoFicheros&) = delete;
    CatalogoFicheros& operator=(const CatalogoFicheros&) = delete;

    // `driver` is the data driver's handle (ObjGen::Manejador()).
    void AnadirVariable(int clave1, int clave2, std::int32_t driver);
    void PonerLista(int ranura, TValorMultiple* lista);
    void Catalogar(bool conservarRepresentantes);

    int NumEntradas() const;
    int Clave1(int entrada) const;
    int Clave2(int entrada) const;
    std::int32_t Driver(int entrada) const;

    // Puts every series on one time axis with kValorNulo where a series has no value; rewrites
    // the three lists and returns the number of points per series.
    static int AlinearSeries(TValorMultiple& tiempos, TValorMultiple& valores, TValorMultiple& intervalos);

    // Data file names: whether a name takes part, and its family key.
    static bool NombreValido(const std::string& nombre);
    static std::string ClaveFamilia(const std::string& nombre);
    // Rows a variable occupies in a slot, from its variable code and graph kind.
    static int FilasPorVariable(int codigo, int tipoGrafica, int ranura);

private:
    struct Datos;
    std::unique_ptr<Datos> d;
};
