#pragma once

#include "Perturbaciones.h"

#include <QDialog>
#include <QWidget>

#include <functional>

class QCheckBox;
class QColorDialog;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QToolButton;

// The up-down beside an edit: a position within a range, stepped by its two arrows; every
// step writes the edit's text in the form the owner gives.
class TUpDown : public QWidget {
    Q_OBJECT
public:
    TUpDown(QWidget* padre, QLineEdit* asociado, int minimo, int maximo, int posicion);

    int Min() const { return m_minimo; }
    int Max() const { return m_maximo; }
    int Position() const { return m_posicion; }
    void SetRange(int minimo, int maximo);
    void SetPosition(int posicion);
    // How the edit shows a position ("%d" unless given).
    void SetFormato(std::function<QString(int)> formato) { m_formato = std::move(formato); }
    void Arriba() { SetPosition(m_posicion + 1); }
    void Abajo() { SetPosition(m_posicion - 1); }

    QToolButton* BArriba;
    QToolButton* BAbajo;

private:
    QLineEdit* m_asociado;
    int m_minimo;
    int m_maximo;
    int m_posicion;
    std::function<QString(int)> m_formato;
};

// The disturbance filter: the voltage-drop criterion (percentage of nominal, one cycle or half
// a cycle), the ramp criterion (the trigger, at 50 or 60 Hz), the colour each paints with, and
// whether only the bad registers are stepped through. It edits the window's filter in place:
// OK writes it and the registry values, Cancel keeps it but clears a trigger left at its floor.
class TWPerturbaciones : public QDialog {
    Q_OBJECT
public:
    // `menorTrigger`: the smallest default trigger of the window's registers, the trigger's floor.
    TWPerturbaciones(QWidget* padre, perturbaciones::Filtro& filtro, double menorTrigger);

    // controls:
    QGroupBox* VLow;
    QLabel* LPorcentaje;
    QLineEdit* EPorcentaje;
    TUpDown* UpDownPorcentaje;
    QLabel* LColorPorcentaje;
    QPushButton* PColorPorcentaje;
    QGroupBox* RGCiclos;
    QRadioButton* RBCiclos;
    QRadioButton* RBSemiciclos;
    QCheckBox* CBVerPorcentaje;
    QGroupBox* Rampa;
    QLabel* LTrigger;
    QLineEdit* ETrigger;
    TUpDown* UpDownTrigger;
    QLabel* LColorTrigger;
    QPushButton* PColorTrigger;
    QGroupBox* RGFrecuencia;
    QRadioButton* RB50;
    QRadioButton* RB60;
    QCheckBox* CBVerTrigger;
    QCheckBox* CBVerMalos;
    QPushButton* BAceptar;
    QPushButton* BCancelar;
    QColorDialog* ColorDialog1;

    // Colours the panels show (0x00BBGGRR).
    std::uint32_t ColorPanelTrigger() const { return m_colorTrigger; }
    std::uint32_t ColorPanelPorcentaje() const { return m_colorPorcentaje; }

    void BAceptarClick();
    void BCancelarClick();
    void PColorPorcentajeClick();
    void PColorTriggerClick();

protected:
    // reimplemented virtual methods:
    void reject() override;

private:
    void PintarPaneles();

    perturbaciones::Filtro& m_filtro;
    std::uint32_t m_colorTrigger;
    std::uint32_t m_colorPorcentaje;
    bool m_cerrando = false;
};
