// kestramon: the host application. Without a mode (or with recording files as arguments) it
// starts the main window. Command-line modes:
//   kestramon --make-demo DIR             writes the demonstration recording into DIR
//   kestramon --import-csv [--overwrite] FILE.csv OUT
//                                         turns a CSV of timestamped columns into a recording
//   kestramon --import-comtrade FILE.cfg [MORE.cfg ...] OUT
//                                         turns COMTRADE recordings (.cfg or .cff) into a recording
//   kestramon --render OUTDIR [--pdf] [--filter NAME] [FILES...]
//                                         renders every graph of the recordings (the demo when
//                                         none is given) to PNG files with an index
//   kestramon --report OUT.json [--filter NAME] [FILES...]
//                                         writes a summary of every graph window as JSON
// Batch modes never wait for a person: messages go to standard error with their default answer.

#include "ComtradeImport.h"
#include "CsvImport.h"
#include "DemoRecording.h"
#include "GuiApp.h"
#include "RecordingFile.h"
#include "RenderJob.h"
#include "UserInteraction.h"

#include <QApplication>
#include <QCoreApplication>

#include <cstdio>
#include <exception>
#include <new>
#include <string>
#include <vector>

namespace {

void printUsage() {
    std::fputs("Usage:\n"
               "  kestramon --make-demo DIR\n"
               "      Writes the one-week demonstration recording (S0010001.STD, S0010002.STD) into DIR.\n"
               "  kestramon --import-csv [--overwrite] FILE.csv OUT\n"
               "      Turns a CSV of timestamped columns into the recording OUT. An existing OUT that\n"
               "      is not a recording is replaced only with --overwrite.\n"
               "  kestramon --import-comtrade FILE.cfg [MORE.cfg ...] OUT\n"
               "      Turns COMTRADE recordings (.cfg with .dat, or .cff) into the recording OUT,\n"
               "      one record per file.\n"
               "  kestramon --render OUTDIR [--pdf] [--filter NAME] [FILES...]\n"
               "      Renders every graph of the recordings (the demonstration recording when none is\n"
               "      given) to PNG files in OUTDIR, with an index.html listing them.\n"
               "  kestramon --report OUT.json [--filter NAME] [FILES...]\n"
               "      Writes a summary of every graph window (caption, kind, series, intervals and\n"
               "      each family's figures) as one JSON object.\n"
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

// The options of --render and --report after their output argument, and the files.
bool batchArguments(int argc, char** argv, BatchOptions& options, QStringList& files) {
    for (int i = 3; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--pdf") {
            options.pdf = true;
        } else if (a == "--filter") {
            if (++i >= argc)
                return false;
            options.filter = QString::fromLocal8Bit(argv[i]);
        } else {
            files << QString::fromLocal8Bit(argv[i]);
        }
    }
    return true;
}

int run(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode.empty() || mode.rfind("--", 0) != 0)
        return runGui(argc, argv);
    host::BatchMode::enable();
    if ((mode == "--render" || mode == "--report") && argc >= 3) {
        QApplication app(argc, argv);
        BatchOptions options;
        QStringList files;
        if (!batchArguments(argc, argv, options, files)) {
            printUsage();
            return 1;
        }
        const QString out = QString::fromLocal8Bit(argv[2]);
        return mode == "--render" ? renderRecordings(out, files, options)
                                  : reportRecordings(out, files, options);
    }
    QCoreApplication app(argc, argv);
    if (mode == "--make-demo" && argc == 3)
        return makeDemo(argv[2]);
    if (mode == "--import-csv" && argc == 4)
        return recording::runCsvImport(argv[2], argv[3], false);
    if (mode == "--import-csv" && argc == 5 && std::string(argv[2]) == "--overwrite")
        return recording::runCsvImport(argv[3], argv[4], true);
    if (mode == "--import-comtrade" && argc >= 4)
        return comtrade::importCommand(std::vector<std::string>(argv + 2, argv + argc - 1), argv[argc - 1]);
    printUsage();
    return mode == "--help" ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    // Whatever escapes a mode (out of memory included) is reported with the file it concerns.
    const std::string mode = argc > 1 ? argv[1] : "";
    const char* subject = mode == "--import-csv" && argc >= 4 ? argv[argc - 2]
                          : argc > 2                          ? argv[2]
                                                              : "kestramon";
    try {
        return run(argc, argv);
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "kestramon: %s: out of memory\n", subject);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "kestramon: %s: %s\n", subject, e.what());
    } catch (...) {
        std::fprintf(stderr, "kestramon: %s: unexpected error\n", subject);
    }
    return 1;
}
