#pragma once

#include "CalculoPlt.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimeEdit;

// "Configure Plt": the optional maximum drawn as a limit line, the length of the Plt window
// and whether flagged Pst values make a Plt invalid. On OK the settings are stored under
// FLICKER and can be read back with Ajustes().
class TWFlicker : public QDialog {
    Q_OBJECT

public:
    TWFlicker(QWidget* propietario, const CalculoPlt::Ajustes& ajustes);

    // getters:
    const CalculoPlt::Ajustes& Ajustes() const { return m_ajustes; }

    // Handlers.
    void CBMaximoPltClick();
    void BAceptarClick();

    QCheckBox* CBMaximoPlt = nullptr;
    QLineEdit* EMaximoPlt = nullptr;
    QLabel* LWindow = nullptr;
    QTimeEdit* DTWindow = nullptr;
    QCheckBox* CBDiscard = nullptr;
    QPushButton* BAceptar = nullptr;
    QPushButton* BCancelar = nullptr;

protected:
    // reimplemented virtual methods:
    void keyPressEvent(QKeyEvent* e) override;

private:
    CalculoPlt::Ajustes m_ajustes;
};
