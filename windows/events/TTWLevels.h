#pragma once

#include "NivelesEventos.h"

#include <QDialog>

class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QWidget;
class TValorMultiple;

// Asks which instrument levels an events window is to use when its data objects carry different
// ones: one of the recorded sets, or a new set typed by the user. The choice is written into the
// first level record when the caller applies it after OK.
class TTWLevels : public QDialog {
public:
    TTWLevels(TValorMultiple& registros, QWidget* padre = nullptr);

    // Writes the choice into the first record (after the dialog returned OK).
    bool Aplicar();

    // controls:
    QRadioButton* RBLevels;
    QComboBox* CBLevels;
    QRadioButton* RBNewLevel;
    QLabel* LSobretension;
    QDoubleSpinBox* USobretension;
    QLabel* LHueco;
    QDoubleSpinBox* UHueco;
    QLabel* LInterrupcion;
    QDoubleSpinBox* UInterrupcion;
    QPushButton* BSalir;

private:
    void CargarNiveles(const NivelesInstrumento& niveles);
    void RBLevelsClick();
    void CBLevelsChange(int indice);

    TValorMultiple& m_registros;
};

// The levels check of the distribution: with more than one record whose levels differ, runs the
// dialog (a run without a person takes OK with the first record's levels). False when the user
// cancelled: the window is not to be opened.
bool ComprobarNivelesConDialogo(TValorMultiple& registros, QWidget* padre);
