#pragma once

#include <QStringList>

// The headless main job: opens every variable of the given recordings (the demonstration
// recording when none is given) through the engine, saves each graph window as a PNG named
// after its caption, and writes an index of them. Returns the process exit code: 0 when
// every graph was written, non-zero with a message on standard error otherwise.
int renderRecordings(const QString& outputDirectory, const QStringList& files);
