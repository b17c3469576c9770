#pragma once

#include "TWArmonicos.h"

// The 24-hour window of one voltage phase: one register per day, its points labelled by
// harmonic order (kind 13) or by voltage band (kind 17). No filter.
class TWMiGraficaARMH24 : public TWArmonicos {
    Q_OBJECT

public:
    // The X values of a register come with the options row.
    TWMiGraficaARMH24(QWidget* propietario, TDriverVentana* driver, ServidorMonitores* servidor,
                      ListasAtributos& listas, DrivFlex* fuente);

protected:
    // reimplemented virtual methods:
    QString PalabraTitulo() const override;
    // Its single channel is named in the title; the read-out has no channel entries.
    QString EtiquetaCanal(int /*ranura*/) const override { return QString(); }
    bool ConFiltro() const override { return false; }
    void RotularPuntos(int primero, int ultimo) override;
};
