#pragma once

class DrivFlex;

// What a graph window may ask of its window driver, and no more: the window never sees the
// driver's class, so the windows do not depend on the driver. On closing, the window sends
// the driver's close service through the host interface (DrivFlex::ProgCom).
class TDriverVentana {
public:
    virtual ~TDriverVentana() = default;

    // The user chose a grouping level (0..5) in the window: the driver keeps it as its
    // property and asks the window to regroup when it changed.
    virtual void PedirNivel(int nivel) = 0;
    // The grouping level the driver keeps; outside 0..5 when it keeps none.
    virtual int NivelGuardado() = 0;
    // The driver as the host and the sibling modules know it.
    virtual DrivFlex* ComoDrivFlex() = 0;
};
