#include "DemoRecording.h"
#include "AppTestSupport.h"
#include "TTiempo.h"

#include <QByteArray>
#include <QtGlobal>

#include <gtest/gtest.h>

#include <filesystem>

using namespace recording;

TEST(DemoRecording, ADamagedCachedCopyIsWrittenAgainButAFileOfTheUserIsNot) {
    const QByteArray cache = qgetenv("XDG_CACHE_HOME");
    qputenv("XDG_CACHE_HOME", QByteArray::fromStdString(apptest::freshFolder("cache")));
    const std::vector<std::string> first = defaultRecordings();
    ASSERT_EQ(2u, first.size());
    apptest::writeBytes(first[1], "damaged");
    const std::vector<std::string> third = defaultRecordings();
    EXPECT_GT(std::filesystem::file_size(third[1]), 1000u);
    qputenv("XDG_CACHE_HOME", cache);

    // Outside the cache a file in the way that is not a recording is neither replaced nor
    // half joined.
    const std::string dir = apptest::freshFolder("demo-in-the-way");
    apptest::writeBytes(dir + "/" + DemoFiles::kSecond, "my own notes");
    try {
        writeDemo(dir);
        ADD_FAILURE() << "the demo was written over a file of the user";
    } catch (const RecordingError& e) {
        EXPECT_NE(std::string::npos, std::string(e.what()).find("is not a recording")) << e.what();
    }
    EXPECT_EQ("my own notes", apptest::fileBytes(dir + "/" + DemoFiles::kSecond));
    EXPECT_EQ(std::vector<std::string>{DemoFiles::kSecond}, apptest::folderListing(dir))
        << "no first part without its second";
    // The cache folder is ours, so there the file in the way is replaced.
    EXPECT_EQ(2u, writeDemo(dir, true).size());
}
