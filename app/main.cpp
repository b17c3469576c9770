// kestramon: the host application. Without a mode (or with recording files as arguments) it
// starts the main window. Command-line modes:
//   kestramon --make-demo DIR             writes the demonstration recording into DIR
//   kestramon --import-csv FILE.csv OUT   turns a CSV of timestamped columns into a recording
//   kestramon --import-comtrade FILE.cfg [MORE.cfg ...] OUT
//                                         turns COMTRADE recordings (.cfg or .cff) into a recording
//   kestramon --render OUTDIR [FILES...]  renders every graph of the recordings (the demo when
//                                         none is given) to PNG files with an index

#include "ComtradeImport.h"
#include "CsvImport.h"
#include "DemoRecording.h"
#include "GuiApp.h"
#include "RecordingFile.h"
#include "RenderJob.h"

#include <QApplication>
#include <QCoreApplication>

#include <cstdio>
#include <string>
#include <vector>

namespace {

void printUsage() {
    std::fputs("Usage:\n"
               "  kestramon --make-demo DIR\n"
               "      Writes the one-week demonstration recording (S0010001.STD, S0010002.STD) into DIR.\n"
               "  kestramon --import-csv FILE.csv OUT\n"
               "      Turns a CSV of timestamped columns into the recording OUT.\n"
               "  kestramon --import-comtrade FILE.cfg [MORE.cfg ...] OUT\n"
               "      Turns COMTRADE recordings (.cfg with .dat, or .cff) into the recording OUT,\n"
               "      one record per file.\n"
               "  kestramon --render OUTDIR [FILES...]\n"
               "      Renders every graph of the recordings (the demonstration recording when none is\n"
               "      given) to PNG files in OUTDIR, with an index.html listing them.\n"
               "  kestramon [FILES...]\n"
               "      Opens the viewer (on the demonstration recording when no file is given).\n",
               stdout);
}

int makeDemo(const std::string& dir) {
    try {
        for (const std::string& path : recording::writeDemo(dir))
            std::printf("%s\n", path.c_str());
        return 0;
    } catch (const recording::RecordingError& e) {
        std::fprintf(stderr, "kestramon: %s\n", e.what());
        return 1;
    }
}

int importCsv(const std::string& csv, const std::string& out) {
    const recording::CsvResult result = recording::importCsvFile(csv);
    if (!result.problems.empty()) {
        // Nothing is written when a line cannot be read: a recording missing rows would look
        // complete.
        for (const recording::CsvProblem& p : result.problems)
            std::fprintf(stderr, "%s:%d: %s\n", csv.c_str(), p.line, p.message.c_str());
        std::fprintf(stderr, "kestramon: %zu line(s) could not be read; %s was not written\n",
                     result.problems.size(), out.c_str());
        return 2;
    }
    try {
        recording::RecordingFile::write(result.recording, out);
    } catch (const recording::RecordingError& e) {
        std::fprintf(stderr, "kestramon: %s\n", e.what());
        return 1;
    }
    std::printf("%s: %zu variable(s)\n", out.c_str(), result.recording.variables.size());
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode.empty() || mode.rfind("--", 0) != 0)
        return runGui(argc, argv);
    if (mode == "--render" && argc >= 3) {
        QApplication app(argc, argv);
        QStringList files;
        for (int i = 3; i < argc; ++i)
            files << QString::fromLocal8Bit(argv[i]);
        return renderRecordings(QString::fromLocal8Bit(argv[2]), files);
    }
    QCoreApplication app(argc, argv);
    if (mode == "--make-demo" && argc == 3)
        return makeDemo(argv[2]);
    if (mode == "--import-csv" && argc == 4)
        return importCsv(argv[2], argv[3]);
    if (mode == "--import-comtrade" && argc >= 4)
        return comtrade::importCommand(std::vector<std::string>(argv + 2, argv + argc - 1), argv[argc - 1]);
    printUsage();
    return mode == "--help" ? 0 : 1;
}
