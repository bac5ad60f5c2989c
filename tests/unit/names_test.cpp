// The names the program derives from its own path: title, folder, start-up failure text.
#include <gtest/gtest.h>

#include "app/names.h"

namespace {

TEST(Names, TitleIsTheFileNameUpToItsFirstDotWithTheRestLowered)
{
    struct Case {
        const char* path;
        const char* title;
    };
    const Case cases[] = {
        {"C:\\Program Files\\HORALET.EXE", "Horalet"},
        {"C:\\dir\\MY.CLOCK.EXE", "My"},
        {"C:\\dir.with.dots\\Clock", "Clock"},
        {"horalet.exe", "horalet"},
        {"C:\\x\\A.exe", "A"},
        {"C:\\x\\.hidden.exe", ""},
        {"C:/forward/SLASH.EXE", "C:/forward/slash"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(c.title, TitleFromModulePath(c.path, AsciiLower));
    }
}

TEST(Names, FolderIsCutAfterTheLastBackslashOrColon)
{
    struct Case {
        const char* path;
        const char* folder;
    };
    const Case cases[] = {
        {"C:\\Horalet.exe", "C:\\"},
        {"C:\\Program Files\\Horalet\\Horalet.exe", "C:\\Program Files\\Horalet\\"},
        {"D:Horalet.exe", "D:"},
        {"\\\\server\\share\\Horalet.exe", "\\\\server\\share\\"},
        {"Horalet.exe", ""},
        {"C:/unix/style/Horalet.exe", "C:"},
        {"", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(c.folder, FolderOfPath(c.path));
    }
}

TEST(Names, StartupFailureTextAddsAPeriodOnlyWhereMissing)
{
    int here = 0;
    const std::string text = StartupFailureText("ResourceError", "Horalet.exe", &here, "Not enough timers available");
    EXPECT_EQ(0u, text.find("Exception ResourceError in module Horalet.exe at "));
    EXPECT_EQ(text.find(" at ") + 4 + 2 * sizeof(void*), text.find(".\n")) << "every digit of the address";
    EXPECT_NE(std::string::npos, text.find(".\nNot enough timers available."));
    EXPECT_EQ('.', text.back());

    const std::string dotted = StartupFailureText("K", "m.exe", nullptr, "done.");
    EXPECT_EQ("done.", dotted.substr(dotted.size() - 5));
    EXPECT_NE("..", dotted.substr(dotted.size() - 2));
    const std::string empty = StartupFailureText("K", "m.exe", nullptr, "");
    EXPECT_EQ('\n', empty.back());

    const std::string longName(100, 'n');
    const std::string cut = StartupFailureText("K", longName, nullptr, "m");
    EXPECT_NE(std::string::npos, cut.find(" " + std::string(63, 'n') + " at "));
    EXPECT_EQ(std::string::npos, cut.find(std::string(64, 'n')));
}

} // namespace
