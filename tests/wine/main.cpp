// Entry of the in-process tests: one application object for the whole run, as in the program.
#include <windows.h>

#include <gtest/gtest.h>

#include "app/application.h"
#include "clock/localetime.h"

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    ReadTimeTextSettings();
    TApplication application;
    Application = &application;
    const int result = RUN_ALL_TESTS();
    Application = nullptr;
    return result;
}
