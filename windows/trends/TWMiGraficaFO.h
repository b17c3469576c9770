#pragma once

#include "FormasOnda.h"
#include "TWRegistro.h"

#include <memory>
#include <vector>

// The waveform window: the samples of every channel of one record at a time, voltages and
// currents on axes of their own, two reference lines at a third and two thirds of the record,
// the record's time and distortion figures above the graph. Stepping through the records keeps
// the zoom window, so the same stretch of every record can be compared. Printing chooses the
// records and puts one on each page.
class TWMiGraficaFO : public TWRegistro {
    Q_OBJECT

public:
    TWMiGraficaFO(QWidget* propietario, TDriverVentana* driver, ServidorMonitores* servidor,
                  ListasAtributos& listas, DrivFlex* fuente);
    ~TWMiGraficaFO() override;

    // reimplemented virtual methods:
    void MostrarIntervalo() override;
    QJsonObject Describir() override;

    // getters:
    const formaonda::DatosFormaOnda& Datos() const { return *m_datos; }
    const formaonda::FormatoDistorsion& Formato() const { return m_formato; }
    // The label of shown series `serie` ("F1:" ... or "An:").
    QString Etiqueta(int serie) const;
    // The cursor read-out of the record shown.
    QString TextoCursor();

protected:
    // The window with a further channel labels channels from 3 on "An:".
    virtual bool ConAnalogico() const { return false; }
    virtual int TituloVentana() const;

    // reimplemented virtual methods:
    void Construir() override;
    void Cargar() override;
    void MostrarRegistro(int registro) override;
    void PonerLectura() override;
    void ImprimirPaginas(QPrinter& impresora) override;
    QString NombreSerie(int serie) const override;
    QString UnidadSerie(int serie) const override;

private:
    void PonerLineasReferencia(int primero, int ultimo);

    std::unique_ptr<formaonda::DatosFormaOnda> m_datos;
    formaonda::FormatoDistorsion m_formato;
};
