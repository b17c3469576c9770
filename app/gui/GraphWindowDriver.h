#pragma once

class DrivFlex;
class QWidget;

// The window driver of a graph window, holding a new reference the caller releases; nullptr
// when `window` is not a graph window or its driver is gone.
DrivFlex* driverOfGraphWindow(QWidget* window);
