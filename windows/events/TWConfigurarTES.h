#pragma once

#include "PropiedadesEventos.h"

#include <QDialog>

#include <array>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;

// Properties of the TES window: compaction with its hysteresis, the three-phase view and the
// colour of each painted phase. OK stores them and the window starts again from the first event.
class TWConfigurarTES : public QDialog {
public:
    TWConfigurarTES(const PropiedadesEventos& propiedades, QWidget* padre = nullptr);

    // The record as the controls leave it (meaningful after OK).
    const PropiedadesEventos& Propiedades() const { return m_propiedades; }

    // controls:
    QCheckBox* Compactar;
    QLabel* LHisteresis;
    QSpinBox* Histeresis; // edit and up-down in one
    QCheckBox* CBTrifasicos;
    std::array<QCheckBox*, 3> ResaltarFase{};
    std::array<QComboBox*, 3> ColorFase{};
    QPushButton* Aceptar;
    QPushButton* Cancelar;

    // Handlers.
    void CompactarClick();
    void ResaltarFaseClick(int fase);
    void AceptarClick();

private:
    PropiedadesEventos m_propiedades;
};
