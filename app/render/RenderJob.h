#pragma once

#include <QString>
#include <QStringList>

// What a batch run is asked for besides the recordings.
struct BatchOptions {
    // The harmonics filter to apply to every window that has one (empty: none).
    QString filter;
    // Also print every graph through its window's own print path into one PDF.
    bool pdf = false;
};

// The headless main job: opens every variable of the given recordings (the demonstration
// recording when none is given) through the engine, saves each graph window as a PNG named
// after its caption, and writes an index of them. Returns the process exit code: 0 when
// every graph was written, non-zero with a message on standard error otherwise.
int renderRecordings(const QString& outputDirectory, const QStringList& files,
                     const BatchOptions& options = {});

// The batch compliance summary: opens every graph as the main job does and writes one JSON
// object whose "windows" array holds each window's own summary, in window order (the keys
// are listed in docs/report.md). Same exit codes as renderRecordings.
int reportRecordings(const QString& outputFile, const QStringList& files, const BatchOptions& options = {});
