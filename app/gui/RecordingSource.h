#pragma once

#include <QString>

#include <memory>

class DrivFlex;

// The open recording files as the main window sees them: one source driver to hand to the
// engine, opening by path and closing all at once.
class RecordingSource {
public:
    virtual ~RecordingSource() = default;

    // The source driver (page 0 lists the open files); valid until closeAll().
    virtual DrivFlex* driver() = 0;
    virtual int fileCount() const = 0;
    // Opens one file; on failure nothing changes and `error` says why.
    virtual bool open(const QString& path, QString* error) = 0;
    virtual void closeAll() = 0;
};

// Recording files read through the host's data library.
std::unique_ptr<RecordingSource> makeRecordingSource();
