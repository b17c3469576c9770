#pragma once

// Shared by the harmonics window tests: a window opened through the engine on the real
// charting library, the chart's properties read back, and a norms file in the test's host
// directory.

#include "ApoyoNormas.h"
#include "VentanaPrueba.h"

namespace apoyo {

using testsupport::ObjetoDatos;
class VentanaArmonicos : public testsupport::VentanaPrueba {};

} // namespace apoyo
