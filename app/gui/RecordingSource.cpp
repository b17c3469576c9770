#include "RecordingSource.h"

#include "DataDrivers.h"
#include "RecordingFile.h"

namespace {

class FileRecordingSource : public RecordingSource {
public:
    FileRecordingSource() : m_source(new recording::SourceDriver) {}
    ~FileRecordingSource() override { release(); }

    DrivFlex* driver() override { return m_source; }
    int fileCount() const override { return m_source->fileCount(); }

    bool open(const QString& path, QString* error) override {
        try {
            m_source->openFile(path.toStdString());
            return true;
        } catch (const std::exception& e) {
            if (error)
                *error = QString::fromStdString(e.what());
            return false;
        }
    }

    void closeAll() override {
        release();
        m_source = new recording::SourceDriver;
    }

private:
    void release() {
        if (m_source != nullptr && m_source->DecRef() != 0)
            delete m_source;
        m_source = nullptr;
    }

    recording::SourceDriver* m_source = nullptr;
};

} // namespace

std::unique_ptr<RecordingSource> makeRecordingSource() {
    return std::make_unique<FileRecordingSource>();
}
